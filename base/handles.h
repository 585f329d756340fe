// Move-only owners for the Win32 handle kinds the program uses. Each one
// treats both NULL and INVALID_HANDLE_VALUE as empty and keeps the thread's
// last-error value intact when it closes, so a caller can read GetLastError()
// after a failed call even when owners go out of scope in between.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class ScopedOwner {
public:
    using Handle = typename Traits::Handle;

    ScopedOwner() = default;
    explicit ScopedOwner(Handle h) : h_(h) {}
    ScopedOwner(ScopedOwner&& other) noexcept : h_(other.release()) {}
    ScopedOwner& operator=(ScopedOwner&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ScopedOwner(const ScopedOwner&) = delete;
    ScopedOwner& operator=(const ScopedOwner&) = delete;
    ~ScopedOwner() { reset(); }

    Handle get() const { return h_; }
    bool valid() const { return Traits::IsValid(h_); }
    explicit operator bool() const { return valid(); }

    Handle release() { return std::exchange(h_, Traits::Empty()); }
    void reset(Handle h = Traits::Empty()) {
        if (Traits::IsValid(h_)) {
            const DWORD last_error = GetLastError();
            Traits::Close(h_);
            SetLastError(last_error);
        }
        h_ = h;
    }
    // For APIs that return a handle through an out parameter.
    Handle* receive() {
        reset();
        return &h_;
    }

private:
    Handle h_ = Traits::Empty();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
using ScopedHandle = ScopedOwner<KernelHandleTraits>;

// Memory the system allocated with LocalAlloc for the caller (security
// descriptors, formatted messages).
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { LocalFree(h); }
};
using ScopedLocalMemory = ScopedOwner<LocalMemoryTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};
using ScopedFindHandle = ScopedOwner<FindHandleTraits>;

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};
using ScopedRegKey = ScopedOwner<RegKeyTraits>;

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { FreeLibrary(h); }
};
using ScopedModule = ScopedOwner<ModuleTraits>;

struct EventSourceTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeregisterEventSource(h); }
};
using ScopedEventSource = ScopedOwner<EventSourceTraits>;

template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};
using ScopedBitmap = ScopedOwner<GdiObjectTraits<HBITMAP>>;
using ScopedFont = ScopedOwner<GdiObjectTraits<HFONT>>;
using ScopedBrush = ScopedOwner<GdiObjectTraits<HBRUSH>>;

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteDC(h); }
};
using ScopedMemoryDc = ScopedOwner<MemoryDcTraits>;

// A window the program created; destroying it destroys its children too.
struct WindowTraits {
    using Handle = HWND;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DestroyWindow(h); }
};
using ScopedWindow = ScopedOwner<WindowTraits>;

// A hook set with SetWindowsHookExW.
struct HookTraits {
    using Handle = HHOOK;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { UnhookWindowsHookEx(h); }
};
using ScopedHook = ScopedOwner<HookTraits>;

// A device context obtained with GetDC, released with ReleaseDC.
class ScopedGetDc {
public:
    explicit ScopedGetDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedGetDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    ScopedGetDc(const ScopedGetDc&) = delete;
    ScopedGetDc& operator=(const ScopedGetDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Selects a GDI object into a DC for the scope and restores the previous one.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelect() { SelectObject(dc_, previous_); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Pairs CoInitialize (or OleInitialize) with its uninitialisation on every
// path. Like the API itself it counts: a thread that already has COM gets
// one more reference.
template <typename Traits>
class ScopedApartment {
public:
    ScopedApartment() : hr_(Traits::Initialize()) {}
    ~ScopedApartment() {
        if (SUCCEEDED(hr_)) Traits::Uninitialize();
    }
    ScopedApartment(const ScopedApartment&) = delete;
    ScopedApartment& operator=(const ScopedApartment&) = delete;
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

struct ComApartmentTraits {
    static HRESULT Initialize() { return CoInitialize(nullptr); }
    static void Uninitialize() { CoUninitialize(); }
};
using ScopedCoInitialize = ScopedApartment<ComApartmentTraits>;

// OLE on top of COM: the folder dialog and drag and drop need it.
struct OleApartmentTraits {
    static HRESULT Initialize() { return OleInitialize(nullptr); }
    static void Uninitialize() { OleUninitialize(); }
};
using ScopedOleInitialize = ScopedApartment<OleApartmentTraits>;
