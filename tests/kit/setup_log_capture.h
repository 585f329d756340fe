// Reading setup logs back in tests: the events of a log file, the logs a
// run left in a folder, and the setup log of one test, opened in a folder
// of its own for as long as the object lives.
#pragma once

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "base/setup_log.h"
#include "base/utf8.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

// The events of the log file at path, without their times, one per line.
inline std::vector<std::wstring> SetupLogEvents(const std::wstring& path) {
    std::wstring text = FromUtf8(ReadFileBytes(path));
    if (!text.empty() && text[0] == L'\xFEFF') text.erase(0, 1);
    std::vector<std::wstring> events;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = text.substr(start, end - start);
        // "YYYY-MM-DD HH:MM:SS.mmm  " comes first.
        events.push_back(line.size() >= 25 ? line.substr(25) : line);
        start = end + 2;
    }
    return events;
}

// The setup logs in folder (with its trailing "\"), by file name.
inline std::set<std::wstring> SetupLogsIn(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((folder + L"VelmoraSetup *.log").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.insert(entry.cFileName);
    while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

// The first event that starts with prefix; empty when none does.
inline std::wstring FindEvent(const std::vector<std::wstring>& events, const std::wstring& prefix) {
    for (const std::wstring& event : events)
        if (event.rfind(prefix, 0) == 0) return event;
    return L"";
}

// The first of expected that events do not hold in that order (other events
// may come between, and each event meets one expectation only); empty when
// events hold them all.
inline std::wstring FirstEventMissingInOrder(const std::vector<std::wstring>& events,
                                             const std::vector<std::wstring>& expected) {
    auto next = events.begin();
    for (const std::wstring& event : expected) {
        next = std::find(next, events.end(), event);
        if (next == events.end()) return event;
        ++next;
    }
    return L"";
}

class SetupLogCapture {
public:
    SetupLogCapture() = default;
    ~SetupLogCapture() { setup_log::Close(); }
    SetupLogCapture(const SetupLogCapture&) = delete;
    SetupLogCapture& operator=(const SetupLogCapture&) = delete;

    std::vector<std::wstring> Events() const { return SetupLogEvents(path_); }
    std::wstring Find(const std::wstring& prefix) const { return FindEvent(Events(), prefix); }
    // The last event that starts with prefix; empty when none does.
    std::wstring FindLast(const std::wstring& prefix = L"") const {
        const std::vector<std::wstring> events = Events();
        for (auto event = events.rbegin(); event != events.rend(); ++event)
            if (event->rfind(prefix, 0) == 0) return *event;
        return L"";
    }
    bool Has(const std::wstring& prefix) const { return !Find(prefix).empty(); }
    // The whole log as text, for failure messages.
    std::string Dump() const { return ReadFileBytes(path_); }

private:
    static std::wstring OpenIn(const TempFolder& folder) {
        setup_log::Open(folder.path());
        return setup_log::Path();
    }

    TempFolder folder_;
    std::wstring path_ = OpenIn(folder_);
};
