// Owners of the two COM value kinds the program hands to COM objects: a
// VARIANT and a BSTR, each released on every path.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>
#include <string_view>

// A VARIANT cleared on every path.
class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&v_); }
    explicit ScopedVariant(std::wstring_view text) : ScopedVariant() {
        v_.vt = VT_BSTR;
        v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    explicit ScopedVariant(IUnknown* object) : ScopedVariant() {
        v_.vt = VT_UNKNOWN;
        v_.punkVal = object;
        object->AddRef();
    }
    ~ScopedVariant() { VariantClear(&v_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    VARIANT& get() { return v_; }

private:
    VARIANT v_;
};

// A BSTR freed on every path.
class ScopedBstr {
public:
    ScopedBstr() = default;
    explicit ScopedBstr(std::wstring_view text)
        : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~ScopedBstr() { SysFreeString(s_); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    BSTR get() const { return s_; }
    BSTR* receive() {
        SysFreeString(s_);
        s_ = nullptr;
        return &s_;
    }
    std::wstring text() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }

private:
    BSTR s_ = nullptr;
};
