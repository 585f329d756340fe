#include <gtest/gtest.h>

#include "app/brand.h"
#include "app/resources_access.h"
#include "base/error.h"

namespace {

HINSTANCE Self() {
    return GetModuleHandleW(nullptr);
}

TEST(LoadResString, ReadsTheEntriesTheInstallerUses) {
    EXPECT_EQ(LoadResString(Self(), 0), L"Holter");
    EXPECT_EQ(LoadResString(Self(), 1), L"Velmora - Холтер");
    EXPECT_EQ(LoadResString(Self(), 2), L"Комплекс суточного мониторирования электрокардиограмм");
    EXPECT_EQ(LoadResString(Self(), 3), L"21");
    EXPECT_EQ(LoadResString(Self(), 4), L"Shell.exe");
    for (int id = 5; id <= 21; ++id) EXPECT_FALSE(LoadResString(Self(), id).empty()) << id;
    EXPECT_EQ(LoadResString(Self(), 22), L"");
}

TEST(LoadResString, CutsLongEntriesTo254Characters) {
    const std::wstring text = LoadResString(Self(), 100);
    ASSERT_EQ(text.size(), 254u);
    EXPECT_EQ(text.substr(0, 12), L"012345678901");
}

TEST(LoadPngResource, GivesOpaquePicturesOfTheDocumentedSizes) {
    struct {
        const wchar_t* name;
        int width, height;
    } const pictures[] = {
        {L"BACKGROUND", 128, 128}, {L"MAIN", 958, 472},      {L"LOGO", 72, 70},   {L"TITLE_PNL_L", 22, 100},
        {L"TITLE_PNL_R", 22, 100}, {L"TITLE_PNL_M", 1, 100}, {L"TITLE", 500, 66},
    };
    for (const auto& p : pictures) {
        Bitmap bitmap;
        LoadPngResource(bitmap, p.name);
        EXPECT_EQ(bitmap.width, p.width) << testing::PrintToString(std::wstring(p.name));
        EXPECT_EQ(bitmap.height, p.height);
        for (uint32_t pixel : bitmap.pixels) ASSERT_EQ(pixel >> 24, 0xFFu);
    }
    Bitmap title;
    LoadPngResource(title, L"TITLE");
    EXPECT_EQ(title.at(0, 0), 0xFFECECEBu);  // RGB(236, 236, 235)
}

TEST(LoadPngResource, BrokenOrMissingPictureRaisesAndLeavesTheBitmap) {
    for (const wchar_t* name : {L"TRUNCATED", L"NOT_A_PNG", L"NO_SUCH_PICTURE"}) {
        Bitmap bitmap(3, 2, 0xFF123456u);
        EXPECT_THROW(LoadPngResource(bitmap, name), Error) << testing::PrintToString(std::wstring(name));
        EXPECT_EQ(bitmap.width, 3);
        EXPECT_EQ(bitmap.pixels[5], 0xFF123456u);
    }
}

TEST(IsAlternativeBrand, MatchesTheBrandWordInAnyCaseOnly) {
    struct {
        const wchar_t* name;
        bool alternative;
    } const cases[] = {
        {L"Ortanis", true},   {L"ORTANIS", true},           {L"oRtAnIs", true}, {L"Ortanis ", false},
        {L" Ortanis", false}, {L"Velmora - Холтер", false}, {L"", false},       {L"Ortanis - Холтер", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsAlternativeBrand(c.name), c.alternative) << testing::PrintToString(std::wstring(c.name));
}

}  // namespace
