#include "shared/unitMyLog.h"

#include <windows.h>

#include <atomic>

#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/package_names.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "shared/log_lines.h"

TMyLog* MyLog = nullptr;

namespace {

void ReportToEventLog(std::wstring_view text) {
    ScopedEventSource source(RegisterEventSourceW(nullptr, L"Velmora-Holter"));
    if (!source) return;
    const std::wstring message(text);
    LPCWSTR strings[] = {message.c_str()};
    ReportEventW(source.get(), EVENTLOG_INFORMATION_TYPE, 0, 0, nullptr, 1, 0, strings, nullptr);
}

std::atomic<EventLogSink> event_log_sink{ReportToEventLog};

// First character of a regional setting, as the user chose it.
wchar_t RegionalCharacter(LCTYPE type, wchar_t fallback) {
    wchar_t buffer[16];
    return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 16) > 1 ? buffer[0] : fallback;
}

std::wstring EntryLineNow(std::wstring_view message) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LogStamp stamp{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    return LogEntryLine(stamp, RegionalCharacter(LOCALE_SDATE, L'/'), RegionalCharacter(LOCALE_STIME, L':'),
                        message);
}

// The file's text, or an empty ANSI text when there is no such file.
// Raises Error when it exists but cannot be read.
TextFileContent ReadLogFile(std::wstring_view path) {
    if (!FileExists(path)) return {L"", TextEncoding::Ansi};
    return ReadTextFile(path);
}

}  // namespace

void SetEventLogSink(EventLogSink sink) {
    event_log_sink = sink ? sink : ReportToEventLog;
}

TMyLog::TMyLog() : LogFileName(JoinPath(ModuleFolder(), kLogFile)), List(Load(LogFileName)) {}

TMyLog::LogLines TMyLog::Load(std::wstring_view path) {
    try {
        TextFileContent file = ReadLogFile(path);
        return {SplitLines(file.text), file.encoding, true};
    } catch (const Error&) {
        return {{}, TextEncoding::Ansi, false};
    }
}

// The lock also guards the names and lists against a message written by
// another thread at the same moment.
void TMyLog::SetLogFileName(std::wstring_view value) {
    LogLines lines = Load(value);
    std::lock_guard guard(Lock);
    LogFileName = value;
    LogMaxSize = 1000;
    List = std::move(lines);
}

void TMyLog::SetAddLogFileName(std::wstring_view value) {
    LogLines lines = Load(value);
    std::lock_guard guard(Lock);
    AddLogFilename = value;
    AddList = std::move(lines);
}

void TMyLog::Add(LogLines& log, std::wstring_view path, std::wstring_view message) {
    AddNewest(log.lines, EntryLineNow(message), static_cast<size_t>(LogMaxSize));
    if (!log.loaded) {
        // Lines kept since then are newer than any in the file.
        TextFileContent file = ReadLogFile(path);
        AddOlder(log.lines, SplitLines(file.text), static_cast<size_t>(LogMaxSize));
        log.encoding = file.encoding;
        log.loaded = true;
    }
    WriteTextFileAtomically(path, JoinLines(log.lines), log.encoding);
}

void TMyLog::AddMessage(std::wstring_view Message, bool OnlyAddLogfile) {
    {
        std::lock_guard guard(Lock);
        if (!OnlyAddLogfile) Add(List, LogFileName, Message);
        if (!AddLogFilename.empty()) Add(*AddList, AddLogFilename, Message);
    }
    // Outside the lock: registering an event source can be slow.
    event_log_sink.load()(Message);
}

void TMyLog::AddByteArray(std::wstring_view Message, const TLogBytes& BA) {
    AddMessage(std::wstring(Message) + HexDump(BA), false);
}
