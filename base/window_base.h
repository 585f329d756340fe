// WindowBase<T>: what every window of the program shares. The class of T is
// registered once, with its result checked; the T object is attached to its
// window on WM_NCCREATE (through lpCreateParams and GWLP_USERDATA) and
// detached on WM_NCDESTROY; every message goes to T::HandleMessage, and an
// exception raised there goes to the program's error report (callback_guard.h)
// instead of crossing the window procedure.
//
// T provides, reachable from WindowBase<T> (a friend declaration will do):
//   static WindowClass Class(HINSTANCE instance);
//   LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
#pragma once

#include <windows.h>

#include <string_view>

#include "base/callback_guard.h"

// What a window class needs beyond its window procedure.
struct WindowClass {
    const wchar_t* name = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

// Registers the class in instance unless it is registered already. Raises
// Error "Cannot register the window class "<name>". <system text>" when the
// system refuses.
void RegisterWindowClassOnce(HINSTANCE instance, const WindowClass& cls, WNDPROC proc);

// Where and how a window is created.
struct WindowShape {
    DWORD exStyle = 0;
    const wchar_t* title = L"";
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
    int id = 0;  // child-window id; 0 for top-level windows
};

// Creates a window of a registered class with param as its lpCreateParams.
// Raises Error "Cannot create <what>. <system text>" when it cannot be made.
HWND CreateWindowOrRaise(HINSTANCE instance, const wchar_t* className, const WindowShape& shape, void* param,
                         std::wstring_view what);

// Creates a visible child control of a system class (a button, an edit, a
// label, ...) in shape.parent's module, WS_CHILD and WS_VISIBLE added to
// shape.style, and gives it font unless that is null. Raises Error as
// CreateWindowOrRaise does.
HWND CreateChildControl(const wchar_t* className, WindowShape shape, HFONT font, std::wstring_view what);

// The program's own module: its resources, and the instance its windows are
// registered in.
HINSTANCE ProgramModule();

template <class T>
class WindowBase {
public:
    HWND Handle() const { return hwnd_; }

    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

protected:
    WindowBase() = default;
    // A window still alive when its object goes (an error unwound its
    // owner) is destroyed without reaching the object any more.
    ~WindowBase() {
        if (hwnd_ && IsWindow(hwnd_)) {
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            DestroyWindow(hwnd_);
        }
    }

    // Registers T's class once and creates its window with this object
    // attached. Raises Error as CreateWindowOrRaise does.
    void CreateAttached(HINSTANCE instance, const WindowShape& shape, std::wstring_view what) {
        const WindowClass cls = T::Class(instance);
        RegisterWindowClassOnce(instance, cls, WindowProc);
        CreateWindowOrRaise(instance, cls.name, shape, static_cast<T*>(this), what);
    }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        T* self = nullptr;
        if (msg == WM_NCCREATE) {
            self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            static_cast<WindowBase*>(self)->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        const LRESULT result = GuardCallback<LRESULT>(0, [&] { return self->HandleMessage(msg, wp, lp); });
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            static_cast<WindowBase*>(self)->hwnd_ = nullptr;
        }
        return result;
    }
};
