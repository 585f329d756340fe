#include "engine/shortcut_name.h"

#include <gtest/gtest.h>

#include "base/utf8.h"

namespace {

TEST(ShortcutFileName, ReplacesTheExtensionAndKeepsTheLastComponent) {
    const struct {
        const wchar_t* linkName;
        const wchar_t* target;
        const wchar_t* fileName;
    } cases[] = {
        {L"Velmora - Холтер", L"C:\\Holter\\Shell.exe", L"Velmora - Холтер.lnk"},
        {L"Tool 2.5", L"C:\\Holter\\Shell.exe", L"Tool 2.lnk"},
        {L"Tools\\Sub\\Tool", L"C:\\Holter\\Shell.exe", L"Tool.lnk"},
        {L"C:\\x.y\\Tool", L"", L"Tool.lnk"},
        {L"a/b.c/Tool.txt", L"", L"Tool.lnk"},
        {L"", L"C:\\Holter\\Shell.exe", L"Shell.lnk"},
        {L"", L"C:Shell.exe", L"Shell.lnk"},
        {L"", L"Shell", L"Shell.lnk"},
        {L"", L"C:\\Holter.d\\Shell", L"Shell.lnk"},
        {L"", L"", L".lnk"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortcutFileName(c.linkName, c.target), c.fileName)
            << ToUtf8(c.linkName) << " / " << ToUtf8(c.target);
    }
}

}  // namespace
