// The package's own message window: a stay-on-top window with a word-wrapped
// text, "OK" (and "Отмена"), and a countdown row that closes the window by
// itself unless the user stops it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/handles.h"
#include "base/window_base.h"
#include "shared/button_glyph.h"

enum TMessageType : uint8_t {
    mtMessage = 0,  // "OK" only
    mtDialog = 1,   // "OK" and "Отмена"
};

class TFMessageform : public WindowBase<TFMessageform> {
public:
    // Creates the window hidden, without owner. Raises Error when the window
    // or its button pictures cannot be made.
    TFMessageform();
    // The window goes before the fonts and pictures it uses.
    ~TFMessageform();

    // The time after which the window closes as if "Отмена" was pressed;
    // 20 s unless set.
    void SetStopPeriod(unsigned milliseconds) { stopPeriodMs_ = milliseconds; }

    // Shows Text (a CR starts a new line) titled CaptionText. Modal: with the
    // buttons of tip and the countdown; every other window of the thread is
    // disabled until the window closes; true only when "OK" closed it.
    // Not modal: no buttons, no countdown, returns false at once and stays
    // until closed or destroyed.
    bool Showmes(std::wstring_view Text, TMessageType tip, std::wstring_view CaptionText, bool smodal);

private:
    friend class WindowBase<TFMessageform>;
    static WindowClass Class(HINSTANCE instance);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void FormShow();
    void RunModal();
    void StayUpTimerTimer();
    void btnStopClick();
    void CloseWith(bool result);
    void Close();

    uint64_t tt = 0;  // tick count when the window was shown
    TMessageType FMessageTtype = mtMessage;
    std::wstring FMessageText;
    std::wstring FCaptionText;
    bool FShowResult = false;
    bool Fsmodal = false;

    HWND lblMessage = nullptr, btnCancel = nullptr, btnOK = nullptr;
    HWND btnStop = nullptr, lblClose = nullptr, lblSec = nullptr;
    ScopedFont messageFont_, controlFont_;
    ScopedImageList okGlyph_, cancelGlyph_;
    unsigned stopPeriodMs_;
    bool closed_ = false;
};

// Shows Text in a new modal message window (see Showmes) and releases it.
// Seconds 0 keeps the 20-second countdown, else the window closes after
// Seconds. True only when "OK" was pressed. Raises Error before any window
// exists when Seconds lies outside 0 … 2147483, or when the window cannot
// be made.
bool ShowTimedMessage(std::wstring_view Text, TMessageType MsgType, std::wstring_view Caption, int Seconds);
