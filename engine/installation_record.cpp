#include "engine/installation_record.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

#include "base/file_system.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "engine/record_format.h"

namespace {

// The run's elevation ("yes", "no", "unknown", as the setup log says it) in
// the record's language.
std::wstring ElevationText(const std::wstring& elevated) {
    if (elevated == L"yes") return L"да";
    if (elevated == L"no") return L"нет";
    return L"неизвестно";
}

// Text as HTML shows it: the characters that would be markup escaped.
std::wstring HtmlText(const std::wstring& text) {
    static const std::pair<wchar_t, const wchar_t*> kEntities[] = {
        {L'&', L"&amp;"}, {L'<', L"&lt;"}, {L'>', L"&gt;"}, {L'"', L"&quot;"}};
    std::wstring html;
    for (const wchar_t c : text) {
        const auto* entity =
            std::find_if(std::begin(kEntities), std::end(kEntities), [c](const auto& e) { return e.first == c; });
        if (entity != std::end(kEntities))
            html += entity->second;
        else
            html += c;
    }
    return html;
}

std::wstring DigestText(const FileHash& hash) {
    return hash.error.empty() ? FromUtf8(HexText(hash.digest)) : std::wstring(kRecordNone);
}

}  // namespace

InstallationRecord::InstallationRecord(std::wstring installFolder) : installFolder_(std::move(installFolder)) {
    hasher_.emplace();
}

void InstallationRecord::AddCopy(const std::wstring& source, const std::wstring& installed) {
    hasher_->Add(source);
    entries_.push_back({Kind::Copied, installed, {}, queued_++, {}, {}, {}, false});
}

void InstallationRecord::AddWritten(const std::wstring& installed) {
    Entry written{Kind::Written, installed, {}, 0, HashFileAt(algorithm_, installed, buffer_), {}, {}, false};
    if (!hasher_) {
        written.copy = written.source;
        written.verdict =
            written.source.error.empty() ? L"OK" : L"установленный файл не прочитан: " + written.source.error;
    }
    for (Entry& entry : entries_)
        if (SameFileName(entry.installed, written.installed)) {
            entry = std::move(written);
            return;
        }
    entries_.push_back(std::move(written));
}

void InstallationRecord::AddLeftOut(const std::wstring& installed, const std::wstring& why) {
    entries_.push_back({Kind::LeftOut, installed, why, 0, {}, {}, {}, false});
}

RecordVerification InstallationRecord::Verify() {
    // The copies are read back while the second thread finishes the sources.
    for (Entry& entry : entries_)
        if (entry.kind != Kind::LeftOut) entry.copy = HashFileAt(algorithm_, entry.installed, buffer_);
    const std::deque<FileHash> sources = hasher_->Finish();
    hasher_.reset();
    std::string().swap(buffer_);

    RecordVerification outcome;
    for (Entry& entry : entries_) {
        if (entry.kind == Kind::LeftOut) {
            entry.verdict = entry.why;
            continue;
        }
        if (entry.kind == Kind::Copied) entry.source = sources.at(entry.sourceIndex);
        ++outcome.verified;
        std::wstring why;
        if (!entry.source.error.empty())
            why = L"исходный файл не прочитан: " + entry.source.error;
        else if (!entry.copy.error.empty())
            why = L"установленный файл не прочитан: " + entry.copy.error;
        else if (entry.copy.size != entry.source.size || entry.copy.digest != entry.source.digest)
            why = L"ОТЛИЧАЕТСЯ";
        entry.verdict = why.empty() ? L"OK" : why;
        if (why.empty()) continue;
        ++outcome.different;
        outcome.differences.push_back(entry.installed + L": " + why);
    }
    return outcome;
}

int InstallationRecord::NoteUpdate(const std::wstring& update, const std::vector<std::wstring>& added) {
    int marked = 0;
    std::string buffer;
    for (Entry& entry : entries_) {
        if (entry.kind == Kind::LeftOut || entry.verdict != L"OK") continue;
        const FileHash now = HashFileAt(algorithm_, entry.installed, buffer);
        if (now.error.empty() && now.size == entry.copy.size && now.digest == entry.copy.digest) continue;
        entry.verdict =
            (now.error.empty() ? L"изменён обновлением " : L"удалён или не прочитан после обновления ") + update;
        entry.byUpdate = true;
        ++marked;
    }
    for (const std::wstring& path : added) {
        const std::wstring why = L"добавлен обновлением " + update;
        entries_.push_back({Kind::LeftOut, path, why, 0, {}, {}, why, true});
    }
    return marked;
}

uint64_t InstallationRecord::InstalledBytes() const {
    uint64_t bytes = 0;
    for (const Entry& entry : entries_)
        if (entry.kind != Kind::LeftOut && entry.copy.error.empty() &&
            Relative(entry.installed) != entry.installed)
            bytes += entry.copy.size;
    return bytes;
}

std::wstring InstallationRecord::Relative(const std::wstring& path) const {
    // A path inside the install folder, named from it.
    const std::wstring folder = WithTrailingBackslash(installFolder_);
    if (path.size() > folder.size() && SameFileName(std::wstring_view(path).substr(0, folder.size()), folder))
        return path.substr(folder.size());
    return path;
}

void InstallationRecord::ForEachLine(const RecordHeader& header, const LineSink& line) const {
    line(Line::Title, {std::wstring(kRecordTitle)});
    const std::pair<std::wstring_view, std::wstring> fields[] = {
        {L"Версия программы установки", header.installerVersion},
        {kRecordReleaseLevel, header.releaseLevel},
        {L"Дистрибутив", header.installerFolder},
        {kRecordInstallFolder, header.installFolder},
        {L"Windows", header.windowsVersion},
        {L"Пользователь", header.user},
        {L"Права администратора", ElevationText(header.elevated)},
        {L"Начало", DateTimeText(header.started)},
        {L"Окончание", DateTimeText(header.ended)},
        {kRecordShortcut, header.shortcut.empty() ? std::wstring(kRecordNone) : header.shortcut},
    };
    for (const auto& [label, value] : fields) line(Line::HeaderField, {std::wstring(label), value});
    line(Line::ColumnNames, {std::wstring(kRecordFileColumn), L"Размер", L"SHA-256 дистрибутива",
                             L"SHA-256 установленного файла", L"Итог"});
    for (const Entry& entry : entries_) {
        const bool hashed = entry.kind != Kind::LeftOut;
        line(!hashed                                    ? Line::FileLeftOut
             : entry.verdict == L"OK" || entry.byUpdate ? Line::File
                                                        : Line::FileDiffers,
             {Relative(entry.installed), hashed ? std::to_wstring(entry.source.size) : std::wstring(kRecordNone),
              hashed ? DigestText(entry.source) : std::wstring(kRecordNone),
              hashed ? DigestText(entry.copy) : std::wstring(kRecordNone), entry.verdict});
    }
}

std::string InstallationRecord::FileBytes(const RecordHeader& header) const {
    // Built line by line in UTF-8, about 200 bytes a line reserved at once:
    // the record of a few thousand files is held once, never as wide text
    // beside its encoded copy nor twice while it grows.
    std::string bytes = "\xEF\xBB\xBF";
    bytes.reserve(2048 + entries_.size() * 200);
    ForEachLine(header, [&bytes](Line kind, std::initializer_list<std::wstring> fields) {
        if (kind == Line::ColumnNames) bytes += "\r\n";
        const wchar_t* between = kind == Line::HeaderField ? L": " : L"\t";
        std::wstring text;
        for (const std::wstring& field : fields) text += (&field == fields.begin() ? L"" : between) + field;
        bytes += ToUtf8(text) + "\r\n";
    });
    return bytes;
}

std::string InstallationRecord::PageBytes(const RecordHeader& header) const {
    // The verdict comes right after the file's name, and each digest breaks
    // within its column (lines of 32 characters where there is room): the
    // verdict is what a reader looks for first, and so it stays in view on
    // a 1024 pixel screen and on a portrait A4 page at a size that reads
    // without a magnifier.
    std::string bytes =
        "<!DOCTYPE html>\r\n<html lang=\"ru\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
        "<style>\r\n@page { size: A4 portrait; margin: 12mm; }\r\nbody { font: 10pt sans-serif; }\r\n"
        "table { border-collapse: collapse; margin-bottom: 1em; }\r\n"
        "th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; vertical-align: top; }\r\n"
        "td.hash { font: 8pt monospace; width: 32ch; word-break: break-all; }\r\n"
        "tr.bad td { background: #fdd; font-weight: bold; }\r\ntr.left td { color: #555; font-style: italic; }\r\n"
        "@media print { body { font-size: 9pt; } thead { display: table-header-group; }\r\n"
        "tr { break-inside: avoid; } }\r\n</style>\r\n";
    bytes.reserve(4096 + entries_.size() * 300);
    // The file's fields in the page's order: name, verdict, size, digests.
    static constexpr size_t kFileColumns[] = {0, 4, 1, 2, 3};
    const auto cells = [](const char* cell, std::initializer_list<std::wstring> fields) {
        std::string row;
        // Five fields are a file's, or the column names.
        const bool fileColumns = fields.size() == std::size(kFileColumns);
        for (size_t i = 0; i < fields.size(); ++i) {
            const size_t column = fileColumns ? kFileColumns[i] : i;
            // The two digests (the style sets only their data cells smaller).
            const bool hash = fileColumns && (column == 2 || column == 3);
            row += std::string("<") + cell + (hash ? " class=\"hash\">" : ">") +
                   ToUtf8(HtmlText(*(fields.begin() + column))) + "</" + cell + ">";
        }
        return row;
    };
    ForEachLine(header, [&](Line kind, std::initializer_list<std::wstring> fields) {
        switch (kind) {
            case Line::Title: {
                const std::string title = ToUtf8(HtmlText(*fields.begin()));
                bytes +=
                    "<title>" + title + "</title>\r\n</head>\r\n<body>\r\n<h1>" + title + "</h1>\r\n<table>\r\n";
                return;
            }
            case Line::HeaderField:
                bytes +=
                    "<tr>" + cells("th", {*fields.begin()}) + cells("td", {*(fields.begin() + 1)}) + "</tr>\r\n";
                return;
            case Line::ColumnNames:
                bytes += "</table>\r\n<table>\r\n<thead><tr>" + cells("th", fields) + "</tr></thead>\r\n";
                return;
            case Line::File:
            case Line::FileLeftOut:
            case Line::FileDiffers:
                bytes += std::string(kind == Line::File          ? "<tr>"
                                     : kind == Line::FileLeftOut ? "<tr class=\"left\">"
                                                                 : "<tr class=\"bad\">") +
                         cells("td", fields) + "</tr>\r\n";
                return;
        }
    });
    return bytes + "</table>\r\n</body>\r\n</html>\r\n";
}

std::wstring RecordFileName(const LocalDateTime& when, const wchar_t* extension, const wchar_t* kind) {
    wchar_t name[64];
    swprintf(name, 64, L"VelmoraSetup %ls %04d-%02d-%02d %02d-%02d-%02d.%ls", kind, when.year, when.month,
             when.day, when.hour, when.minute, when.second, extension);
    return name;
}
