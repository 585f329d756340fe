#include "bench/step_floors.h"

#include <windows.h>

#include <msxml2.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <chrono>
#include <cstdio>

#include "base/com_values.h"
#include "base/error.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "engine/msxml_classes.h"

using Microsoft::WRL::ComPtr;

namespace {

void Check(HRESULT hr, const wchar_t* what) {
    if (FAILED(hr)) throw Error(std::wstring(what) + L": " + SystemErrorText(static_cast<DWORD>(hr)));
}

// The update script's start: the same flags as the installer's starter.
void StartCommandProcessor() {
    wchar_t line[] = L"cmd.exe /c exit";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &info)) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot start cmd.exe. " + SystemErrorText(code));
    }
    ScopedHandle process(info.hProcess);
    ScopedHandle thread(info.hThread);
    WaitForSingleObject(process.get(), INFINITE);
}

void SaveSmallDocument(const std::wstring& file) {
    ComPtr<IXMLDOMDocument2> document;
    Check(CoCreateInstance(kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER, kDomDocument2Interface,
                           reinterpret_cast<void**>(document.GetAddressOf())),
          L"MSXML");
    ScopedBstr text(L"<ROOT><Version>1</Version><Level>010124</Level></ROOT>");
    VARIANT_BOOL loaded = VARIANT_FALSE;
    Check(document->loadXML(text.get(), &loaded), L"loadXML");
    ScopedVariant target(file);
    Check(document->save(target.get()), L"save");
}

void SaveShellLink(const std::wstring& file) {
    ComPtr<IShellLinkW> link;
    Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                           reinterpret_cast<void**>(link.GetAddressOf())),
          L"ShellLink");
    Check(link->SetPath(L"C:\\windows\\notepad.exe"), L"SetPath");
    ComPtr<IPersistFile> persist;
    Check(link.As(&persist), L"IPersistFile");
    Check(persist->Save(file.c_str(), FALSE), L"Save");
}

template <typename Step>
void Time(const char* figure, Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    std::printf("%s %.4f\n", figure,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

}  // namespace

void TimeStepFloors(const std::wstring& folder) {
    // COM is ready before the pass starts, as in the wizard.
    ScopedCoInitialize com;
    Time("floor_script_seconds", StartCommandProcessor);
    Time("floor_level_seconds", [&] { SaveSmallDocument(JoinPath(folder, L"floor.xml")); });
    Time("floor_link_seconds", [&] { SaveShellLink(JoinPath(folder, L"floor.lnk")); });
}
