// The file and folder operations of the installation engine. Each reports
// failure in its own fixed way (nothing, a Boolean, or an Error), which the
// installation sequence relies on.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

// Creates exactly this folder when it does not exist (a link to a folder
// counts as existing). Missing parents are not created; a failure only goes
// into the setup log.
void EnsureDirectory(std::wstring_view folder);

// Appends the path of every subfolder of folder except ".", "..",
// "WithOutAnswer" (exact case) and hidden or system entries, in the
// platform's enumeration order. Junctions and symbolic links are passed over
// (the setup log names them). A missing folder adds nothing. Never fails.
void ListSubfolders(std::wstring_view folder, std::vector<std::wstring>& list);

// What a tree copy did not do, beside the files it copied.
struct TreeCopy {
    int notCopied = 0;        // files that could not be copied
    int kept = 0;             // destination files kept because they are read-only or hidden
    int linksPassedOver = 0;  // junctions and symbolic links in the source or the destination
    int foldersUnread = 0;    // folders whose listing failed: what lay behind the failure is missing

    TreeCopy& operator+=(const TreeCopy& other);
};

// What became of one file of a tree copy.
enum class TreeFileOutcome {
    Copied,
    Kept,        // the destination's read-only or hidden file stays as it was
    NotCopied,   // the copy failed; the setup log says why
    PassedOver,  // a junction or symbolic link, in the source or in the way
};

// Told about each file (or passed-over link) of a tree copy as it is done.
using TreeFileSink =
    std::function<void(const std::wstring& source, const std::wstring& destination, TreeFileOutcome outcome)>;

// Copies the tree source into destination: destination and missing parents
// are created, every file is copied with CopyFileW (replacing, attributes and
// time carried over), non-hidden, non-system subfolders are copied depth
// first. Junctions and symbolic links below source or destination are never
// entered nor written through: a link in the source is passed over, a link in
// the destination is passed over and the files that would go through it are
// not copied. A destination file that the platform refuses to replace because
// it is read-only or hidden keeps its old content. Returns the counts; each
// file not copied, kept or passed over, and each folder not read, is named in
// the setup log with the system's error text. When given, onFile hears of
// every file right after its copy. Raises Error "Unable to create directory"
// for an empty destination.
TreeCopy CopyFolderTree(std::wstring_view source, std::wstring_view destination, const TreeFileSink& onFile = {});

// Copies one file by streaming it in 1 MiB blocks, both files held without
// sharing; the copy is a plain new file carrying the source's last-write time
// rounded to the DOS two-second step. Raises Error
// "Cannot open file "<source>". <system text>" or
// "Cannot create file "<destination>". <system text>" when a file cannot be
// opened or created; returns a failure with the failing call's code for a
// read, write or size error during the copy (the destination keeps what was
// written), success otherwise.
Result<> CopyFileWithDate(std::wstring_view source, std::wstring_view destination);

// A copy of one file as CopyFileWithDate makes it; the deployment takes one,
// so that a test can put in a copy that fails.
using FileCopy = Result<> (*)(std::wstring_view source, std::wstring_view destination);

// Sets (true) or clears (false) the read-only attribute of file, keeping its
// other attributes. A missing file or a refused change only goes into the
// setup log.
void SetReadOnly(std::wstring_view file, bool readOnly);

// Whether the shell's copy may talk to a person.
enum class ShellCopyUi {
    Shown,  // the shell's progress, questions (replace a file, merge a folder) and error messages
    None,   // nothing shown: every question answered Yes, errors only in the result and the setup log
};

// Copies the folder source through the shell's own file operation so that
// destination ends up holding source's files and subfolders: a missing
// destination is made as a copy of source, an existing one gets source's
// content merged into it (never a nested destination\name). With
// ShellCopyUi::Shown the shell shows its progress, questions and error
// messages; with None it shows nothing and answers every question Yes.
// Afterwards every file of source (hidden and system subfolders and links
// aside) whose copy is missing or differs in size or last-write time is named
// in the setup log ("Not copied by the shell: <path>"). A failure when the
// operation failed (with the shell's own code in its text), when the user
// cancelled it (ERROR_CANCELLED), when a file was not copied (with their
// count), and for a path of MAX_PATH characters or more, which the shell
// cannot take (ERROR_FILENAME_EXCED_RANGE; then nothing is shown or copied).
Result<> ShellCopyFolder(std::wstring_view source, std::wstring_view destination, ShellCopyUi ui);
