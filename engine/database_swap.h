// Replacing the clinic's database with the package's copy so that the
// database's name always holds a whole database: the clinic's own until the
// package's copy is complete and on the disk, then the new one in a single
// step. A power cut, a full disk or a killed installer never leave a
// truncated database under the live name.
#pragma once

#include <string>
#include <string_view>

#include "base/result.h"
#include "engine/file_ops.h"
#include "engine/local_date_time.h"

// Raises Error "Cannot create file "<live>". <system text>" when the
// database at live exists and cannot be replaced: another program holds it
// against writing or deletion, or it is read-only. A reader that allows both
// passes, as does a missing database.
void CheckDatabaseReplaceable(std::wstring_view live);

// The outcome of ReplaceDatabase.
struct DatabaseSwap {
    Result<> copied;          // a failure: the copy or its flush failed and live is as it was
    std::wstring backupName;  // the old database's new name in live's folder; empty when there was none
};

// The name (in live's folder) of the newest "<live name>.*.bak" the swap
// left there; empty when there is none.
std::wstring NewestDatabaseBackup(std::wstring_view live);

// The temporary file in live's folder that the package's copy streams into
// before it takes the live name.
std::wstring DatabaseCopyInProgress(std::wstring_view live);

// Copies source with copy (CopyFileWithDate: content and modification time)
// into DatabaseCopyInProgress(live), flushes it, then puts it in place: an
// existing database at live moves to DatabaseBackupName(now) in the same
// folder (ReplaceFileW; a swap that stops half-way with the old database
// moved aside is finished by moving the new copy in, or else gives the old
// database its name back). copied carries the failure of the copy or of the
// flush, with its call's code; the caller logs it. On every failure,
// returned or raised, the temporary file is removed and the database at live
// is untouched. Raises the errors of copy (source missing or held, temporary
// file not creatable) and Error "Cannot create file "<live>". <system text>"
// when the swap itself fails (then the setup log already names the cause);
// when the old database could not get its name back either, the error's
// text ends with a line naming the file that holds it.
DatabaseSwap ReplaceDatabase(std::wstring_view source, std::wstring_view live, const LocalDateTime& now,
                             FileCopy copy);
