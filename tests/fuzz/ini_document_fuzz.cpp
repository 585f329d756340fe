// Reading what the INI document wrote gives the same document, and writing it
// again gives the same text: settings files survive any number of
// installations unchanged apart from the keys the installer sets.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/utf8.h"
#include "engine/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    IniDocument document = IniDocument::Parse(text);
    const std::wstring written = document.Serialize();
    const IniDocument reread = IniDocument::Parse(written);
    if (!(reread == document) || reread.Serialize() != written) std::abort();

    document.SetInteger(L"options", L"FilterType", 0);
    document.SetValue(L"Common", L"Disk", L"I");
    const IniDocument changed = IniDocument::Parse(document.Serialize());
    if (!(changed == document) || changed.Value(L"OPTIONS", L"filtertype") != L"0" ||
        changed.Value(L"common", L"disk") != L"I")
        std::abort();
    return 0;
}
