#include "tests/kit/recording_view.h"
#include "base/strings.h"

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

bool RecordingView::AskYesNo(const Asking& asking) {
    events.push_back(L"ask: " + asking.text);
    askedCaptions.push_back(asking.captions);
    askedDefaults.push_back(asking.byDefault);
    return asking.question == Question::ConnectDriver ? driverAnswer : answer;
}

void RecordingView::ShowErrorBox(std::wstring_view text) {
    events.push_back(L"error box: " + std::wstring(text));
}

InstallRequest TestRequest(const std::wstring& folder, const std::wstring& linkName) {
    InstallRequest request;
    request.installFolder = WithoutTrailingBackslash(folder);
    request.driver = true;
    request.shortcut = {L"Shell.exe",
                        L"Комплекс суточного мониторирования электрокардиограмм \"" + linkName + L"\"", linkName};
    return request;
}

void RunRecorded(RecordingView& view, const InstallRequest& request, std::wstring_view installerFolder,
                 FileCopy copy) {
    view.outcome = RunInstallation(view, request, WithoutTrailingBackslash(installerFolder), {.copy = copy});
    if (view.outcome != InstallOutcome::EndedEarly) view.events.push_back(L"completed");
}
