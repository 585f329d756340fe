// The installation record a clinic files: every file the installation
// wrote or kept, with the SHA-256 of the distributed file and of the
// installed copy read back after the pass, and a verdict per file.
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "engine/local_date_time.h"
#include "engine/source_hasher.h"

// What the record's header says about the run.
struct RecordHeader {
    std::wstring installerVersion;
    std::wstring releaseLevel;
    std::wstring installerFolder;
    std::wstring installFolder;
    std::wstring windowsVersion;
    std::wstring user;
    std::wstring elevated;  // "yes", "no" or "unknown"
    LocalDateTime started;
    LocalDateTime ended;
    std::wstring shortcut;  // the desktop shortcut's full path; empty when none was made
};

// The outcome of the read-back.
struct RecordVerification {
    int verified = 0;                       // files read back and compared
    int different = 0;                      // of them, not the distributed bytes (or unreadable)
    std::vector<std::wstring> differences;  // "<path>: <why>", one per difference
};

class InstallationRecord {
public:
    // Starts hashing on the second thread. Raises Error when SHA-256 is not
    // available.
    explicit InstallationRecord(std::wstring installFolder);

    // A file copied from source to installed; the source is hashed on the
    // second thread from now on.
    void AddCopy(const std::wstring& source, const std::wstring& installed);
    // A file the installation wrote itself, hashed now as written; a file
    // listed before as copied becomes a written one. After Verify it counts
    // as verified as written.
    void AddWritten(const std::wstring& installed);
    // A file the installation did not write, with why (the record's verdict
    // for it).
    void AddLeftOut(const std::wstring& installed, const std::wstring& why);

    // Reads every installed copy back, compares it with its source and
    // returns the verdicts. Call once, when the copies are made and before
    // anything (the update script) may change them: it proves the copy.
    RecordVerification Verify();
    // After Verify, once the update script has run: each file read back
    // before it that now has other bytes or is gone is marked as changed or
    // removed by update, and each of added (files the script made) is listed
    // as added by it. They are the update's doing, not differences. Returns
    // how many files of the installation it changed or removed.
    int NoteUpdate(const std::wstring& update, const std::vector<std::wstring>& added);

    // The record as its file holds it: UTF-8 with a byte-order mark, CR LF
    // lines, the header, then one tab-separated line per file. After Verify.
    std::string FileBytes(const RecordHeader& header) const;
    // The same as a page to print (UTF-8 HTML): the header and one table
    // row per file, the files that differ and those left out marked. After
    // Verify.
    std::string PageBytes(const RecordHeader& header) const;
    // The bytes of the installed files read back in the install folder
    // (fonts left out). After Verify.
    uint64_t InstalledBytes() const;

private:
    enum class Kind { Copied, Written, LeftOut };
    struct Entry {
        Kind kind;
        std::wstring installed;
        std::wstring why;        // left out: the reason
        size_t sourceIndex = 0;  // copied: the hasher's result
        FileHash source;         // copied: after Verify; written: as written
        FileHash copy;           // after Verify
        std::wstring verdict;    // after Verify
        bool byUpdate = false;   // changed, removed or added by the update script
    };

    // What a line of the record holds, for its two renderings.
    enum class Line { Title, HeaderField, ColumnNames, File, FileLeftOut, FileDiffers };
    using LineSink = std::function<void(Line, std::initializer_list<std::wstring> fields)>;
    // The record's lines in their order: the title, a label and a value per
    // header field, the column names, five fields per file.
    void ForEachLine(const RecordHeader& header, const LineSink& line) const;

    std::wstring Relative(const std::wstring& path) const;

    const std::wstring installFolder_;
    const Sha256Algorithm algorithm_;
    std::optional<SourceHasher> hasher_;
    size_t queued_ = 0;
    // A deque grows by blocks: no moment holds every entry twice.
    std::deque<Entry> entries_;
    std::string buffer_;  // the read-back's, released after Verify
};

// The file name of a record of kind ("record" for the installation's,
// "removal" for a removal's) for a run started at when:
// "VelmoraSetup <kind> YYYY-MM-DD HH-MM-SS.<extension>".
std::wstring RecordFileName(const LocalDateTime& when, const wchar_t* extension, const wchar_t* kind = L"record");
