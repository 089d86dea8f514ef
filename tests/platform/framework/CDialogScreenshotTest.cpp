#include "platform/framework/CDialog.h"

#include "platform/base/PathMap.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Pictures.h"
#include "platform/window/Paint.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/TestData.h"

#include <cstdlib>

namespace {

DialogControlTemplate Control(const char* pszClass, int nId, DWORD dwStyle, const char* pszText, SHORT x, SHORT y,
    SHORT cx, SHORT cy)
{
    return { static_cast<DWORD>(nId), dwStyle | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, pszClass, pszText };
}

// A dialog of the standard controls: label and edit, check box, radio group,
// list box, drop-down list, OK and Cancel.
DialogTemplate SampleTemplate()
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | WS_VISIBLE;
    dialog.cx = 200;
    dialog.cy = 130;
    dialog.nPointSize = 8;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.strCaption = "Document Properties";
    dialog.controls = { Control("Static", 100, 0, "&Title:", 7, 9, 30, 8),
        Control("Edit", 101, WS_BORDER | WS_TABSTOP, "Annual report", 40, 7, 100, 12),
        Control("Button", 102, BS_AUTOCHECKBOX | WS_TABSTOP, "&Read only", 7, 26, 70, 10),
        Control("Button", 103, BS_GROUPBOX, "Kind", 7, 40, 70, 50),
        Control("Button", 104, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "&Letter", 13, 52, 55, 10),
        Control("Button", 105, BS_AUTORADIOBUTTON, "&Invoice", 13, 64, 55, 10),
        Control("Button", 106, BS_AUTORADIOBUTTON, "&Other", 13, 76, 55, 10),
        Control("ListBox", 107, WS_BORDER | WS_VSCROLL | WS_TABSTOP | WS_GROUP, "", 85, 26, 55, 64),
        Control("ComboBox", 108, CBS_DROPDOWNLIST | WS_TABSTOP, "", 7, 96, 70, 60),
        Control("Button", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK", 146, 7, 50, 14),
        Control("Button", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 146, 24, 50, 14) };
    return dialog;
}

int ChannelDistance(COLORREF a, COLORREF b)
{
    return std::max({ std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
        std::abs(GetBValue(a) - GetBValue(b)) });
}

}

TEST(CDialogScreenshotTest, DialogMatchesItsReferencePicture)
{
    CDialog dlg;
    DialogTemplate dialog = SampleTemplate();
    ASSERT_TRUE(dlg.CreateIndirect(&dialog));
    HWND hDlg = dlg.GetSafeHwnd();
    for (LPCSTR lpsz : { "Draft", "Final", "Archived" }) {
        SendDlgItemMessage(hDlg, 107, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpsz));
        SendDlgItemMessage(hDlg, 108, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpsz));
    }
    SendDlgItemMessage(hDlg, 107, LB_SETCURSEL, 1, 0);
    SendDlgItemMessage(hDlg, 108, CB_SETCURSEL, 0, 0);
    CheckDlgButton(hDlg, 102, BST_CHECKED);
    CheckRadioButton(hDlg, 104, 106, 105);
    PumpUntilIdle();

    std::filesystem::path reference = SourceRoot() / "tests/platform/framework/data/dialog.png";
    CCapturedImage actual(CaptureWindowImage(hDlg));
    HBITMAP hbmReference = LoadPictureFile(ProgramPathFromHostPath(reference.string()).c_str());
    ASSERT_NE(hbmReference, nullptr) << reference;
    BITMAP bm {};
    GetObject(hbmReference, sizeof(bm), &bm);
    CCapturedImage expected(hbmReference);
    RECT rc {};
    GetWindowRect(hDlg, &rc);
    ASSERT_EQ(bm.bmWidth, rc.right - rc.left);
    ASSERT_EQ(bm.bmHeight, rc.bottom - rc.top);
    // Small differences in anti-aliased text are allowed; a control drawn wrong or moved is not.
    int nDiffering = 0;
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x)
            nDiffering += ChannelDistance(actual.At(x, y), expected.At(x, y)) > 48;
    EXPECT_LE(nDiffering, bm.bmWidth * bm.bmHeight / 200);
    dlg.DestroyWindow();
}
