// The release-information file "ReleaseInfo" of the updater: an XML
// document whose ROOT element holds the format Version (1) and the Level of
// the update package applied last.
#pragma once

#include <msxml2.h>
#include <windows.h>

#include <string_view>

// Sets one property of the parser that loads the file, before the load
// (SetParserProperty; a test can put in one that records what the load
// asks of the parser and reads it back where the platform keeps it).
using ParserPropertySetter = HRESULT (*)(IXMLDOMDocument2* document, std::wstring_view name, const VARIANT& value);

// IXMLDOMDocument2::setProperty: the parser's own answer.
HRESULT SetParserProperty(IXMLDOMDocument2* document, std::wstring_view name, const VARIANT& value);

// Writes level as the text of ROOT's Level element in folder's "ReleaseInfo",
// leaving the rest of the document as the XML DOM keeps it. The file is
// loaded without resolving external entities and with white space preserved,
// and replaced through a temporary file, so a failed save leaves the old file
// whole. Loading costs bounded time and memory: a file over 16 MiB, one with
// a document type declaration (the entity expansions of a hostile file need
// one) and, where the parser supports the limit, one nested deeper than 256
// elements are refused. COM is initialised for the call. Raises Error
// "Release info file does not exist" when the file is missing; every other
// failure raises "Cannot get release information, error: " followed by its
// description: "unknown release file version" when the Version is missing or
// not 1, the integer error for a Version that is not a number, "the file is
// not a well-formed XML document or goes beyond the parser's limits" with the
// parser's reason in brackets, "the file has a document type declaration",
// the read error of a file over the size bound, or the failure of the DOM,
// the missing element or the save (among them a parser that refuses
// ProhibitDTD).
void SetReleaseLevel(std::wstring_view folder, std::wstring_view level,
                     ParserPropertySetter setProperty = SetParserProperty);
