// The whole installation pass without a window: the sequence driven through
// a view that answers on its own, with a clock on every progress line.
#pragma once

#include <string>

// Runs the installation from the folder of installerExe (the installer in
// its package folder, which also gives the string table) into installFolder
// (as the folder field gives it, with or without its trailing "\"; it and
// its "Settings" are created first, as the folder page does) with the
// driver step off, every question answered Yes and the installation
// record kept or not (keepRecord), writing the setup log into the user's
// temporary folder as the wizard does. Prints to
// stdout, one "name value" pair a line: pass_seconds, the working set before
// and the peak working set after (bytes), then a "mark" line per progress
// event (seconds since the start, the peak working set so far in MiB, the
// event) and a "logmark" line per setup-log event (seconds since the start,
// the event). Raises the sequence's Error, or Error "Cannot load ..." for
// the installer.
void RunHeadlessPass(const std::wstring& installerExe, const std::wstring& installFolder, bool keepRecord);
