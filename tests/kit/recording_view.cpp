#include "tests/kit/recording_view.h"

std::wstring RecordingView::ResourceString(int entry) {
    switch (entry) {
        case IDS_PRODUCT_NAME:
            return linkName;
        case IDS_PRODUCT_DESCRIPTION:
            return L"Комплекс суточного мониторирования электрокардиограмм";
        case IDS_MAIN_PROGRAM:
            return L"Shell.exe";
    }
    return L"";
}

void RecordingView::ShowProgressPage() {
    lines.clear();
    events.push_back(L"progress page");
}

int RecordingView::AddLine(std::wstring_view text) {
    lines.emplace_back(text);
    busyAtLine.push_back(busy);
    return static_cast<int>(lines.size()) - 1;
}

void RecordingView::AppendToLine(int index, std::wstring_view text) {
    lines.at(static_cast<size_t>(index)) += text;
}

void RecordingView::SetBusy(bool on) {
    busy = on;
    events.push_back(on ? L"busy" : L"not busy");
}

bool RecordingView::AskYesNo(std::wstring_view question, YesNoCaptions captions) {
    events.push_back(L"ask: " + std::wstring(question));
    askedCaptions.push_back(captions);
    return question == kDriverQuestion ? driverAnswer : answer;
}

void RecordingView::ShowErrorBox(std::wstring_view text) {
    events.push_back(L"error box: " + std::wstring(text));
}

void RecordingView::EnableExit() {
    events.push_back(L"exit enabled");
}

bool RecordingView::OfferLargeFonts() {
    if (smallFonts) events.push_back(L"large-font page");
    return smallFonts;
}

void RecordingView::CloseWindow() {
    events.push_back(L"close");
}
