// The installation pass through the real installer: its wizard walked by a
// second process, as a user would, with the installer beside its package.
#pragma once

#include <string>

// Starts exe (the installer, lying in its package folder), walks to the
// options page with installFolder (with its trailing "\") typed in,
// dismisses the driver warning, starts the installation, answers the driver
// question No and waits until "Выход" is enabled. Prints
// "installer_pass_seconds" (from the click on "Начать установку" until
// then) and "installer_peak_working_set" (bytes, as the installer process
// reports it). With a releaseFile it then prints "holding" and waits until
// that file exists (at most a minute), so the installer's memory can be read
// from the outside. Then it answers the final question Yes, or closes the
// window where the large-font page came instead, and waits for the
// installer to end. Throws std::runtime_error when a page, box or the end
// does not come.
void RunInstallerPass(const std::wstring& exe, const std::wstring& installFolder, const std::wstring& releaseFile);
