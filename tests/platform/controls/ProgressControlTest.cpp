#include "platform/controls/ProgressControl.h"

#include "platform/gdi/SysColors.h"
#include "tests/platform/controls/CommonControlTestSupport.h"

namespace {

class ProgressControlTest : public CommonControlTest {
protected:
    HWND CreateProgress() { return CreateControl(PROGRESS_CLASS, "", 0, 0, 0, 200, 16, 11); }
};

TEST_F(ProgressControlTest, RangesReturnTheOldOneAndClampThePosition)
{
    HWND hProgress = CreateProgress();
    EXPECT_EQ(SendMessage(hProgress, PBM_SETRANGE, 0, MAKELPARAM(0, 2000)), MAKELONG(0, 100));
    EXPECT_EQ(SendMessage(hProgress, PBM_SETPOS, 1500, 0), 0);
    EXPECT_EQ(SendMessage(hProgress, PBM_SETRANGE, 0, MAKELPARAM(0, 1000)), MAKELONG(0, 2000));
    EXPECT_EQ(SendMessage(hProgress, PBM_GETPOS, 0, 0), 1000);

    // A 32-bit range past what 16 bits hold.
    SendMessage(hProgress, PBM_SETRANGE32, 0, 3000000);
    SendMessage(hProgress, PBM_SETPOS, 2500000, 0);
    EXPECT_EQ(SendMessage(hProgress, PBM_GETPOS, 0, 0), 2500000);
    PBRANGE range {};
    EXPECT_EQ(SendMessage(hProgress, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range)), 3000000);
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(SendMessage(hProgress, PBM_DELTAPOS, static_cast<WPARAM>(-3000000), 0), 2500000);
    EXPECT_EQ(SendMessage(hProgress, PBM_GETPOS, 0, 0), 0);
}

TEST_F(ProgressControlTest, StepsAddTheStepAndStopAtTheMaximum)
{
    HWND hProgress = CreateProgress();
    SendMessage(hProgress, PBM_SETRANGE, 0, MAKELPARAM(0, 25));
    EXPECT_EQ(SendMessage(hProgress, PBM_SETSTEP, 1, 0), 10);
    EXPECT_EQ(SendMessage(hProgress, PBM_STEPIT, 0, 0), 0);
    EXPECT_EQ(SendMessage(hProgress, PBM_SETSTEP, 10, 0), 1);
    EXPECT_EQ(SendMessage(hProgress, PBM_STEPIT, 0, 0), 1);
    EXPECT_EQ(SendMessage(hProgress, PBM_STEPIT, 0, 0), 11);
    EXPECT_EQ(SendMessage(hProgress, PBM_STEPIT, 0, 0), 21);
    EXPECT_EQ(SendMessage(hProgress, PBM_GETPOS, 0, 0), 25);
}

TEST_F(ProgressControlTest, EmptyRangeDrawsAnEmptyBar)
{
    HWND hProgress = CreateProgress();
    SendMessage(hProgress, PBM_SETPOS, 50, 0);
    PumpUntilIdle();
    EXPECT_EQ(WindowPixel(hProgress, 20, 8), GetSysColor(COLOR_HIGHLIGHT));

    SendMessage(hProgress, PBM_SETRANGE, 0, MAKELPARAM(0, 0));
    SendMessage(hProgress, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessage(hProgress, PBM_GETPOS, 0, 0), 0);
    PumpUntilIdle();
    EXPECT_EQ(WindowPixel(hProgress, 20, 8), GetSysColor(COLOR_BTNFACE));
}

} // namespace
