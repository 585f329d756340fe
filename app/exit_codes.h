// The exit codes of the setup, in the manner of Windows Installer's and the
// system's own error codes, so deployment tools understand them. An
// interactive run ends with 0 whatever happened on screen, except for the
// two refusals at start (another installation running, a bad switch).
#pragma once

namespace exit_code {

inline constexpr int kDone = 0;                  // ERROR_SUCCESS
inline constexpr int kBadSwitch = 87;            // ERROR_INVALID_PARAMETER
inline constexpr int kNoRoom = 112;              // ERROR_DISK_FULL: the preflight refused, nothing written
inline constexpr int kStepsFailed = 299;         // ERROR_PARTIAL_COPY: ran to its end, some steps failed
inline constexpr int kNeedsAdministrator = 740;  // ERROR_ELEVATION_REQUIRED: the preflight refused
inline constexpr int kRestartNeeded = 3010;      // ERROR_SUCCESS_REBOOT_REQUIRED: done, the driver needs a restart
inline constexpr int kFailed = 1603;             // ERROR_INSTALL_FAILURE: an error ended the installation
inline constexpr int kNotInstalled = 1605;       // ERROR_UNKNOWN_PRODUCT: no readable record to remove by
inline constexpr int kAlreadyRunning = 1618;     // ERROR_INSTALL_ALREADY_RUNNING

}  // namespace exit_code
