// The package's shared log: a text file with the newest entry on top and at
// most 1000 lines, an optional additional log file kept the same way, and a
// copy of every message in the system's application event log. Safe to call
// from several threads.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_encoding.h"

// The block that AddByteArray dumps, always whole.
using TLogBytes = std::array<unsigned char, 32768>;

// Receives the event-log copy of each message. The default writes an
// information entry of the source "Velmora-Holter" into the application
// event log and ignores its failures; tests put a recorder here. nullptr
// restores the default.
using EventLogSink = void (*)(std::wstring_view text);
void SetEventLogSink(EventLogSink sink);

class TMyLog {
public:
    // The main log is "TestHolter.log" in the running executable's folder;
    // its lines are loaded when it exists. There is no additional log. A
    // file that exists but cannot be read is read again by the next
    // message, which fails until it can be read, so its lines are never
    // overwritten unseen. Never fails.
    TMyLog();
    TMyLog(const TMyLog&) = delete;
    TMyLog& operator=(const TMyLog&) = delete;

    // Switches the main log to the file value: the lines held for the old
    // file are dropped and those of value loaded when it exists (a missing
    // file starts empty and is created by the next message). Never fails.
    void SetLogFileName(std::wstring_view value);

    // Switches the additional log to the file value the same way; an empty
    // value switches the additional log off. Never fails.
    void SetAddLogFileName(std::wstring_view value);

    // Puts the entry "DD/MM/YYYY HH:NN:SS: Message" (the user's date and time
    // separators) on top of the main log unless OnlyAddLogfile, and on top
    // of the additional log when there is one; each file is rewritten whole,
    // cut to 1000 lines, in the encoding it was read in (the ANSI code page
    // for files without a byte-order mark and for new files). Then copies
    // Message to the event-log sink. When a file cannot be written, Error
    // ("Cannot create file ...") is raised, the entry stays in memory for
    // the next write, the files after it are left alone and no event-log
    // copy is made; a file whose lines could not be loaded before is read
    // first and fails the same way with its read error.
    void AddMessage(std::wstring_view Message, bool OnlyAddLogfile);

    // AddMessage of Message followed directly by the dump of all of BA: two
    // upper-case hexadecimal digits and a blank per byte. Fails as
    // AddMessage.
    void AddByteArray(std::wstring_view Message, const TLogBytes& BA);

    // Free for the programs that use the log; the log itself never reads it.
    std::uint8_t LogType = 0;

private:
    // One log file's lines in memory and the encoding they are written in.
    struct LogLines {
        std::vector<std::wstring> lines;  // index 0 = newest
        TextEncoding encoding = TextEncoding::Ansi;
        bool loaded = true;  // false while the file's own lines could not be read
    };
    static LogLines Load(std::wstring_view path);
    void Add(LogLines& log, std::wstring_view path, std::wstring_view message);

    std::mutex Lock;
    std::wstring LogFileName;
    std::wstring AddLogFilename;
    std::int32_t LogMaxSize = 1000;
    LogLines List;
    std::optional<LogLines> AddList;  // created by the first SetAddLogFileName
};

// The program's log, created first of the shared units at start-up.
extern TMyLog* MyLog;
