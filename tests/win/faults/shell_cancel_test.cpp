// The user cancels the shell's copy of the driver folder: the shell asks
// before replacing a file of an earlier installation, and "Отмена" is
// pressed (by a thread of the test, as the main thread sits in the shell's
// operation). The copy reports failure, the earlier files stay, and the
// installation goes on.
#include <windows.h>

#include <atomic>
#include <thread>

#include "engine/file_ops.h"
#include "tests/kit/own_box.h"
#include "tests/win/faults/fault_fixture.h"

namespace faults {
namespace {

// Presses Cancel in the first dialog box this process shows while it lives.
class ShellBoxCanceller {
public:
    ShellBoxCanceller() : thread_([this] { Watch(); }) {}
    ~ShellBoxCanceller() { Stop(); }
    ShellBoxCanceller(const ShellBoxCanceller&) = delete;
    ShellBoxCanceller& operator=(const ShellBoxCanceller&) = delete;

    // Stops watching; afterwards the title of the box cancelled ("" when none).
    const std::wstring& Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return title_;
    }

private:
    void Watch() {
        while (!stop_) {
            if (const HWND box = FindOwnVisibleBox()) {
                wchar_t title[256] = {};
                GetWindowTextW(box, title, 256);
                title_ = title;
                PostMessageW(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
                return;
            }
            Sleep(20);
        }
    }

    std::atomic<bool> stop_{false};
    std::wstring title_;
    std::thread thread_;
};

class ShellCancel : public FaultTest {
protected:
    // The driver files of earlier installations: the copy merges into the
    // existing folder and meets its file there; the nested folder that
    // re-runs of earlier releases left holds one too.
    void PlaceEarlierDriver() {
        for (const wchar_t* folder : {L"FTDIDriverInstall\\", L"FTDIDriverInstall\\FTDIDriverInstall\\"}) {
            MakeFolder(install_ + folder);
            WriteFileBytes(install_ + folder + L"ftdibus.inf", "the earlier driver");
        }
    }
    void ExpectEarlierDriver() const {
        for (const wchar_t* folder : {L"FTDIDriverInstall\\", L"FTDIDriverInstall\\FTDIDriverInstall\\"})
            EXPECT_EQ(ReadFileBytes(install_ + folder + L"ftdibus.inf"), "the earlier driver");
    }
};

TEST_F(ShellCancel, CancelledCopyFailsAndKeepsTheEarlierFiles) {
    Build();
    PlaceEarlierDriver();
    ShellBoxCanceller canceller;
    const Result<> copied =
        ShellCopyFolder(package_ + L"FTDIDriverInstall", install_ + L"FTDIDriverInstall", ShellCopyUi::Shown);
    EXPECT_FALSE(copied);
    // The shell's own code when it reports the cancel, else the cancel itself.
    EXPECT_TRUE(copied.code() == ERROR_CANCELLED ||
                copied.action().find(L": the shell's code ") != std::wstring::npos)
        << ToUtf8(copied.action()) << ": error " << copied.code();
    EXPECT_FALSE(canceller.Stop().empty()) << "the shell asked nothing";
    ExpectEarlierDriver();
}

TEST_F(ShellCancel, CancelledDriverCopyLetsTheInstallationGoOn) {
    Build();
    PlaceEarlierDriver();
    ShellBoxCanceller canceller;
    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_FALSE(canceller.Stop().empty()) << "the shell asked nothing";
    // The earlier driver folder holds no copy of the distribution's driver
    // installer: the distribution's own runs.
    EXPECT_EQ(Lines(), DeploymentLines(Database::KeptAside) + kDriverLines + kReadBackLines);
    EXPECT_TRUE(PathExists(package_ + L"FTDIDriverInstall\\FTDIDriverInstall.done"));
    EXPECT_EQ(view_.events, kEventsOfAWholeRun);
    ExpectEarlierDriver();
    ExpectNothingLost(Database::KeptAside);
}

}  // namespace
}  // namespace faults
