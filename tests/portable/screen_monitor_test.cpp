#include <gtest/gtest.h>

#include <stdexcept>

#include "shared/ScreenMonitorManager.h"

namespace {

ScreenSnapshot TwoMonitors() {
    ScreenSnapshot s;
    s.monitors = {{0, 0, 1920, 1080, 96}, {1920, -200, 1280, 1024, 144}};
    s.workAreaWidth = 1920;
    s.workAreaHeight = 1040;  // task bar below
    s.screenWidth = 1920;
    s.screenHeight = 1080;
    s.pixelsPerInch = 120;
    s.cursor = crHourGlass;
    return s;
}

class ScreenManager : public testing::Test {
protected:
    void TearDown() override { myScreen.reset(); }
};

TEST_F(ScreenManager, CreationRecordsThePrimaryScreen) {
    myScreen = std::make_unique<TmyScreen>(TwoMonitors(), nullptr);
    EXPECT_EQ(myScreen->MonitorCount, 2);
    EXPECT_EQ(myScreen->Width, 1920);
    EXPECT_EQ(myScreen->Height, 1080);
    EXPECT_EQ(myScreen->WorkAreaWidth, 1920);
    EXPECT_EQ(myScreen->WorkAreaHeight, 1040);
    EXPECT_EQ(myScreen->PixelsPerInch, 120);
    EXPECT_EQ(myScreen->Cursor(), crHourGlass);
    EXPECT_EQ(myScreen->Monitornumber, 0);
    EXPECT_EQ(myScreen->ScaleKoef, 0.0);
}

TEST_F(ScreenManager, SelectMonitorTakesFullBoundsAndScaleOrFallsBack) {
    struct {
        uint8_t asked;
        int selected, width, height;
        double scale;
    } const cases[] = {
        {0, 0, 1920, 1080, 1.0},  // the task bar is not subtracted
        {1, 1, 1280, 1024, 1.5},
        {2, 0, 1920, 1080, 1.0},
        {255, 0, 1920, 1080, 1.0},
    };
    for (const auto& c : cases) {
        myScreen = std::make_unique<TmyScreen>(TwoMonitors(), nullptr);
        SelectMonitor(c.asked);
        EXPECT_EQ(myScreen->Monitornumber, c.selected) << int(c.asked);
        EXPECT_EQ(myScreen->Width, c.width);
        EXPECT_EQ(myScreen->WorkAreaWidth, c.width);
        EXPECT_EQ(myScreen->Height, c.height);
        EXPECT_EQ(myScreen->WorkAreaHeight, c.height);
        EXPECT_DOUBLE_EQ(myScreen->ScaleKoef, c.scale);
        EXPECT_EQ(myScreen->MonitorCount, 2);
        EXPECT_EQ(myScreen->PixelsPerInch, 120);  // not refreshed
    }
}

TEST_F(ScreenManager, CursorKeepsValueWhenTheScreenRefusesIt) {
    int applied = 0;
    myScreen = std::make_unique<TmyScreen>(TwoMonitors(), [&](int16_t c) {
        applied = c;
        throw std::runtime_error("refused");
    });
    myScreen->SetCursor(crDefault);
    EXPECT_EQ(myScreen->Cursor(), crDefault);
    EXPECT_EQ(applied, crDefault);
}

}  // namespace
