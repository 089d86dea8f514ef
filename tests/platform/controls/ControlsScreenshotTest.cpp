#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/controls/StaticControl.h"

#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/ControlTestSupport.h"
#include "tests/support/TempFolder.h"

#include <filesystem>

namespace {

class ControlsScreenshotTest : public ControlTest { };

// Every kind of static and button in one window, saved as a picture and
// checked at points whose colour the classic look fixes.
TEST_F(ControlsScreenshotTest, EachControlPaintsItsClassicLook)
{
    CreateControl("Static", "Left &label", SS_LEFT, 10, 10, 120, 16, 100);
    CreateControl("Static", "Centred", SS_CENTER, 140, 10, 120, 16, 101);
    CreateControl("Static", "Right", SS_RIGHT, 270, 10, 120, 16, 102);
    CreateControl("Static", "", SS_BLACKRECT, 10, 35, 20, 20, 103);
    CreateControl("Static", "", SS_GRAYRECT, 40, 35, 20, 20, 104);
    CreateControl("Static", "", SS_ETCHEDFRAME, 70, 35, 20, 20, 105);
    CreateControl("Static", "Disabled", SS_LEFT | WS_DISABLED, 100, 35, 100, 16, 106);
    HWND hPush = CreateControl("Button", "Push", BS_PUSHBUTTON, 10, 70, 80, 24, 110);
    CreateControl("Button", "Default", BS_DEFPUSHBUTTON, 100, 70, 80, 24, 111);
    HWND hCheck = CreateControl("Button", "Check", BS_AUTOCHECKBOX, 10, 105, 100, 20, 112);
    HWND hThree = CreateControl("Button", "Three", BS_AUTO3STATE, 120, 105, 100, 20, 113);
    HWND hRadio = CreateControl("Button", "Radio", BS_AUTORADIOBUTTON, 230, 105, 100, 20, 114);
    CreateControl("Button", "Group", BS_GROUPBOX, 10, 140, 200, 80, 115);
    CreateControl("Button", "Inside", BS_PUSHBUTTON, 30, 170, 80, 24, 116);
    HWND hEdit = CreateControl("Edit", "Edit text", ES_AUTOHSCROLL | ES_NOHIDESEL, 230, 140, 150, 20, 117);
    CreateControl("Edit", "Multi-line edit that wraps its words", ES_MULTILINE, 230, 170, 150, 50, 118);
    HWND hBar = CreateControl("ScrollBar", "", SBS_HORZ, 10, 240, 200, 16, 119);
    CreateControl("ScrollBar", "", SBS_VERT, 370, 10, 16, 120, 120);
    HWND hList = CreateControl("ListBox", "", WS_BORDER | WS_VSCROLL, 230, 230, 100, 60, 121);
    HWND hCombo = CreateControl("ComboBox", "", CBS_DROPDOWNLIST, 10, 265, 120, 100, 122);
    for (LPCSTR lpsz : { "First", "Second", "Third", "Fourth", "Fifth" }) {
        SendMessage(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpsz));
        SendMessage(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpsz));
    }
    SendMessage(hList, LB_SETCURSEL, 1, 0);
    SendMessage(hCombo, CB_SETCURSEL, 2, 0);
    SendMessage(hEdit, EM_SETSEL, 0, 4);
    SendMessage(hBar, SBM_SETPOS, 50, TRUE);
    SendMessage(hCheck, BM_SETCHECK, BST_CHECKED, 0);
    SendMessage(hThree, BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessage(hRadio, BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(hPush);
    PumpUntilIdle();

    TempFolder folder;
    std::filesystem::path path = folder / "controls.png";
    ASSERT_TRUE(SaveWindowScreenshot(m_hParent, path.string().c_str()));
    EXPECT_GT(std::filesystem::file_size(path), 0u);

    CCapturedImage image(CaptureWindowImage(m_hParent));
    EXPECT_EQ(image.At(15, 40), GetSysColor(COLOR_3DDKSHADOW));    // black rectangle
    EXPECT_EQ(image.At(45, 40), GetSysColor(COLOR_3DSHADOW));      // grey rectangle
    EXPECT_EQ(image.At(10, 70), GetSysColor(COLOR_3DLIGHT));       // push button's raised edge
    EXPECT_EQ(image.At(100, 70), GetSysColor(COLOR_WINDOWFRAME));  // default button's dark frame
    EXPECT_EQ(image.At(13, 108), GetSysColor(COLOR_3DSHADOW));     // check box's sunken edge
    EXPECT_EQ(image.At(14, 111), GetSysColor(COLOR_WINDOW));       // ... and its white inside
    EXPECT_EQ(image.At(40, 180), GetSysColor(COLOR_BTNFACE));      // a button inside the group box
    EXPECT_EQ(image.At(80, 82), GetSysColor(COLOR_BTNFACE));       // push button's face
    EXPECT_EQ(image.At(13, 243), GetSysColor(COLOR_BTNFACE));      // the scroll bar's left arrow
    EXPECT_EQ(image.At(209 - 3, 243), GetSysColor(COLOR_BTNFACE)); // ... and its right arrow
    EXPECT_EQ(image.At(300, 254), GetSysColor(COLOR_HIGHLIGHT));   // the list box's selected item
    ASSERT_NE(hPush, nullptr);
}

} // namespace
