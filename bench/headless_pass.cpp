#include "bench/headless_pass.h"

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/install_session.h"
#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/message_pump.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "base/utf8.h"

namespace {

using Clock = std::chrono::steady_clock;

PROCESS_MEMORY_COUNTERS MemoryCounters() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

// Answers like a user who accepts everything; remembers when each progress
// event happened.
class AutomaticView : public InstallView {
public:
    explicit AutomaticView(Clock::time_point start) : start_(start) {}

    void ShowProgressPage() override { Mark(L"progress page"); }
    int AddLine(std::wstring_view text) override {
        lines_.emplace_back(text);
        Mark(text);
        return static_cast<int>(lines_.size()) - 1;
    }
    void AppendToLine(int index, std::wstring_view text) override {
        std::wstring& line = lines_.at(static_cast<size_t>(index));
        line += text;
        Mark(line);
    }
    void Refresh() override { ProcessPendingMessages(); }
    void RepaintLog() override {}
    void SetBusy(bool busy) override { Mark(busy ? L"busy" : L"not busy"); }
    void HoldSession(std::wstring_view) override {}
    bool AskYesNo(const Asking& asking) override {
        Mark(asking.text);
        return true;
    }
    void ShowErrorBox(std::wstring_view text) override { Mark(text); }
    // Nobody watches the benchmark: the shell answers its own questions.
    ShellCopyUi ShellUi() const override { return ShellCopyUi::None; }
    // The window enables "Выход" once the installation has completed.
    void MarkCompleted() { Mark(L"exit enabled"); }

    void Print() const {
        for (const Event& e : marks_)
            std::printf("mark %.4f %.3f %s\n", e.seconds, e.peakMiB, ToUtf8(e.what).c_str());
    }

private:
    struct Event {
        double seconds;
        double peakMiB;  // peak working set so far
        std::wstring what;
    };

    void Mark(std::wstring_view what) {
        const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
        marks_.push_back({seconds, MemoryCounters().PeakWorkingSetSize / 1048576.0, std::wstring(what)});
    }

    Clock::time_point start_;
    std::vector<std::wstring> lines_;
    std::vector<Event> marks_;
};

int MillisecondsOfDay(const SYSTEMTIME& t) {
    return ((t.wHour * 60 + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds;
}

// Prints each line of the pass's setup log as "logmark <seconds since start>
// <event>": the log's millisecond stamps show where the steps that add no
// progress line begin and end.
void PrintLogMarks(const std::wstring& log, const SYSTEMTIME& start) {
    const std::vector<unsigned char> bytes = ReadWholeFile(log);
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    for (std::string line; std::getline(lines, line);) {
        int hour, minute, second, millisecond;
        // "YYYY-MM-DD HH:MM:SS.mmm  event"
        if (line.size() < 25 ||
            std::sscanf(line.c_str() + 11, "%d:%d:%d.%d", &hour, &minute, &second, &millisecond) != 4)
            continue;
        if (line.back() == '\r') line.pop_back();
        int since = ((hour * 60 + minute) * 60 + second) * 1000 + millisecond - MillisecondsOfDay(start);
        if (since < 0) since += 24 * 3600 * 1000;
        std::printf("logmark %.3f %s\n", since / 1000.0, line.c_str() + 25);
    }
}

}  // namespace

void RunHeadlessPass(const std::wstring& installerExe, const std::wstring& installFolder, bool keepRecord) {
    // The installer's own string table names the shortcut's target and texts.
    ScopedModule installer(LoadLibraryExW(installerExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!installer) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot load \"" + installerExe + L"\". " + SystemErrorText(code));
    }
    // The shortcut step needs COM on this thread, as the wizard has it.
    ScopedCoInitialize com;
    // The defaults (the modern runtime, no driver) as the installer's own
    // string table names them; the shortcut too.
    const InstallSession session(installer.get(), {.installFolder = installFolder}, FolderOf(installerExe),
                                 installerExe);

    // The setup log as the wizard keeps it, in the user's temporary folder.
    setup_log::Open();
    CreateInstallFolders(installFolder);
    const PROCESS_MEMORY_COUNTERS before = MemoryCounters();
    SYSTEMTIME localStart;
    GetLocalTime(&localStart);
    const Clock::time_point start = Clock::now();
    AutomaticView view(start);
    if (session.Install(view, {.keepRecord = keepRecord}) != SessionEnd::EndedEarly) view.MarkCompleted();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const PROCESS_MEMORY_COUNTERS after = MemoryCounters();

    std::printf("pass_seconds %.4f\n", seconds);
    std::printf("working_set_before %lu\n", static_cast<unsigned long>(before.WorkingSetSize));
    std::printf("peak_working_set %lu\n", static_cast<unsigned long>(after.PeakWorkingSetSize));
    view.Print();
    const std::wstring log = setup_log::Path();
    setup_log::Close();
    if (!log.empty()) PrintLogMarks(log, localStart);
}
