// Sets the logical resolution that installers started from now on see
// (HKCU\Control Panel\Desktop LogPixels), and puts the old value back.
#pragma once

#include <windows.h>

#include <stdexcept>

class ScreenDpiForNewProcesses {
public:
    explicit ScreenDpiForNewProcesses(DWORD dpi) {
        DWORD size = sizeof(previous_);
        had_ = RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &previous_, &size) ==
               ERROR_SUCCESS;
        Set(dpi);
    }
    ~ScreenDpiForNewProcesses() {
        if (had_) {
            Set(previous_);
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
        }
    }
    ScreenDpiForNewProcesses(const ScreenDpiForNewProcesses&) = delete;
    ScreenDpiForNewProcesses& operator=(const ScreenDpiForNewProcesses&) = delete;

private:
    static constexpr wchar_t kKey[] = L"Control Panel\\Desktop";
    static constexpr wchar_t kValue[] = L"LogPixels";

    static void Set(DWORD dpi) {
        if (RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &dpi, sizeof(dpi)) != ERROR_SUCCESS)
            throw std::runtime_error("cannot set LogPixels");
    }

    DWORD previous_ = 0;
    bool had_ = false;
};
