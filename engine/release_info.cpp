#include "engine/release_info.h"

#include <msxml2.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "base/com_values.h"
#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/integer_text.h"
#include "base/package_names.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "engine/msxml_classes.h"

using Microsoft::WRL::ComPtr;

namespace {

void Check(HRESULT hr) {
    if (FAILED(hr)) throw Error(SystemErrorText(static_cast<DWORD>(hr)));
}

// Bounds on what the parser takes in, so a damaged or hostile file costs a
// bounded time and memory: the file's size (read here, so the parser never
// sees more), no DTD at all, which shuts out entity expansion ("billion
// laughs") and external entities, and the element depth. The updater's file
// has no DTD and a depth of three.
constexpr unsigned long long kMaxReleaseInfoBytes = 16ull << 20;
constexpr LONG kMaxElementDepth = 256;

void BoundParser(IXMLDOMDocument2* document, ParserPropertySetter setProperty) {
    VARIANT yes = {};
    yes.vt = VT_BOOL;
    yes.boolVal = VARIANT_TRUE;
    Check(setProperty(document, L"ProhibitDTD", yes));
    // Known to MSXML 3 (since SP4) and 6; a parser that refuses them keeps
    // its own depth limit, and the size is bounded by the read.
    VARIANT depth = {};
    depth.vt = VT_I4;
    depth.lVal = kMaxElementDepth;
    setProperty(document, L"MaxElementDepth", depth);
    VARIANT kilobytes = {};
    kilobytes.vt = VT_I4;
    kilobytes.lVal = static_cast<LONG>(kMaxReleaseInfoBytes / 1024);
    setProperty(document, L"MaxXMLSize", kilobytes);
}

// A stream over the file's bytes for the parser.
ComPtr<IStream> StreamOf(const std::vector<unsigned char>& bytes) {
    ComPtr<IStream> stream;
    Check(CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    ULONG written = 0;
    Check(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written));  // within the size bound
    Check(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr));
    return stream;
}

ComPtr<IXMLDOMDocument2> LoadDocument(const std::wstring& file, ParserPropertySetter setProperty) {
    const ComPtr<IStream> source = StreamOf(ReadWholeFile(file, kMaxReleaseInfoBytes));
    ComPtr<IXMLDOMDocument2> document;
    Check(CoCreateInstance(kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER, kDomDocument2Interface,
                           reinterpret_cast<void**>(document.GetAddressOf())));
    Check(document->put_async(VARIANT_FALSE));
    // No external entity or DTD is fetched, and the indentation stays.
    Check(document->put_resolveExternals(VARIANT_FALSE));
    Check(document->put_preserveWhiteSpace(VARIANT_TRUE));
    BoundParser(document.Get(), setProperty);
    ScopedVariant from(source.Get());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    // A parser that stops at one of its limits may answer with a failure
    // code rather than a false result: either way the parser's reason, when
    // it gives one, says more than the code's system text.
    if (FAILED(document->load(from.get(), &loaded)) || loaded != VARIANT_TRUE) {
        ComPtr<IXMLDOMParseError> parseError;
        ScopedBstr reason;
        if (SUCCEEDED(document->get_parseError(&parseError)) && parseError)
            parseError->get_reason(reason.receive());
        const std::wstring text = TrimControl(reason.text());
        const std::wstring failure =
            L"the file is not a well-formed XML document or goes beyond the parser's limits";
        throw Error(text.empty() ? failure : failure + L" (" + text + L")");
    }
    // Also where the parser took a document type in spite of ProhibitDTD
    // (Wine's msxml3 ignores it): such a file is refused all the same.
    ComPtr<IXMLDOMDocumentType> documentType;
    Check(document->get_doctype(&documentType));
    if (documentType) throw Error(L"the file has a document type declaration");
    return document;
}

ComPtr<IXMLDOMNode> SelectNode(IXMLDOMNode* from, std::wstring_view path) {
    ComPtr<IXMLDOMNode> node;
    ScopedBstr query(path);
    Check(from->selectSingleNode(query.get(), &node));
    return node;
}

int32_t VersionOf(IXMLDOMNode* root) {
    const ComPtr<IXMLDOMNode> version = SelectNode(root, L"Version");
    if (!version) return 0;
    ScopedVariant value;
    Check(version->get_nodeTypedValue(&value.get()));
    Check(VariantChangeType(&value.get(), &value.get(), 0, VT_BSTR));
    return ParseInteger(std::wstring_view(value.get().bstrVal, SysStringLen(value.get().bstrVal)));
}

// The document's bytes as the DOM writes them for a file.
std::string Serialize(IXMLDOMDocument2* document) {
    ComPtr<IStream> stream;
    Check(CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    ScopedVariant target(stream.Get());
    Check(document->save(target.get()));
    HGLOBAL memory = nullptr;
    Check(GetHGlobalFromStream(stream.Get(), &memory));
    STATSTG stat = {};
    Check(stream->Stat(&stat, STATFLAG_NONAME));
    const auto* bytes = static_cast<const char*>(GlobalLock(memory));
    if (!bytes) throw Error(SystemErrorText(GetLastError()));
    std::string data(bytes, static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return data;
}

void WriteLevel(const std::wstring& file, std::wstring_view level, ParserPropertySetter setProperty) {
    const ComPtr<IXMLDOMDocument2> document = LoadDocument(file, setProperty);
    ComPtr<IXMLDOMElement> top;
    Check(document->get_documentElement(&top));
    if (!top) throw Error(L"the document has no top-level element");
    const ComPtr<IXMLDOMNode> root = SelectNode(top.Get(), L"/ROOT");
    if (!root) throw Error(L"the top-level element is not ROOT");
    if (VersionOf(root.Get()) != 1) throw Error(L"unknown release file version");
    const ComPtr<IXMLDOMNode> levelNode = SelectNode(root.Get(), L"Level");
    if (!levelNode) throw Error(L"ROOT has no Level element");
    ScopedVariant value(level);
    Check(levelNode->put_nodeTypedValue(value.get()));
    const std::string data = Serialize(document.Get());
    WriteWholeFileAtomically(file, data.data(), data.size());
}

}  // namespace

HRESULT SetParserProperty(IXMLDOMDocument2* document, std::wstring_view name, const VARIANT& value) {
    ScopedBstr property(name);
    return document->setProperty(property.get(), value);
}

void SetReleaseLevel(std::wstring_view folder, std::wstring_view level, ParserPropertySetter setProperty) {
    ScopedCoInitialize com;
    const std::wstring file = JoinPath(folder, kReleaseInfoFile);
    if (!FileExists(file)) throw Error(L"Release info file does not exist");
    try {
        WriteLevel(file, level, setProperty);
    } catch (const Error& e) {
        throw Error(L"Cannot get release information, error: " + e.text());
    }
}
