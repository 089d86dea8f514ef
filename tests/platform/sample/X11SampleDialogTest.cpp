// The sample dialog in a real X window: its modal loop is fed only by the X
// server's events, which a second thread causes by clicking and typing
// through XTEST; the values come back through data exchange as in the
// headless test, and the server's picture of it matches the same reference.

#include "tests/platform/sample/SampleDialogSupport.h"

#include "platform/testing/TestX11Session.h"
#include "platform/testing/XTestInput.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/TestData.h"
#include "tests/support/WaitUntil.h"

#include <X11/keysym.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace {

// The visible dialog of the template's caption, or NULL.
HWND FindSampleDialog()
{
    HWND hDlg = FindWindow(WC_DIALOG, "Document Properties");
    return hDlg && IsWindowVisible(hDlg) ? hDlg : nullptr;
}

// The screen point at the middle of a control, or of one of a list box's items.
POINT ScreenMiddle(HWND hControl)
{
    POINT pt = Middle(hControl);
    ClientToScreen(hControl, &pt);
    return pt;
}

class X11SampleDialogTest : public SampleDialogFixture {
protected:
    void SetUp() override
    {
        SampleDialogFixture::SetUp();
        ASSERT_TRUE(m_x11.IsOpen()) << m_x11.Failure();
    }

    CTestX11Session m_x11;
};

}

TEST_F(X11SampleDialogTest, ValuesTypedAndClickedOnTheServerComeBackThroughDataExchange)
{
    CDlgDocumentProperties dlg;
    HBITMAP hbmPicture = nullptr;
    std::atomic<bool> bUserDone { false };
    std::thread user([&] {
        CXTestInput input(m_x11.Name());
        HWND hDlg = nullptr;
        if (!input.IsOpen() || !WaitUntil([&] { return (hDlg = FindSampleDialog()) != nullptr; }))
            return;
        unsigned long nWindow = m_x11.Display().WindowOf(hDlg);
        auto showsTitle = [&] {
            char szTitle[64] {};
            GetWindowText(GetDlgItem(hDlg, IDC_TITLE), szTitle, sizeof(szTitle));
            return std::string_view(szTitle) == "Annual report";
        };
        if (!WaitUntil(showsTitle))
            return;
        // Keys go to the window under the pointer on a server without a window manager.
        input.MoveTo(ScreenMiddle(GetDlgItem(hDlg, IDC_TITLE)));
        input.TypeText("Quarterly report");
        input.Click(ScreenMiddle(GetDlgItem(hDlg, IDC_READ_ONLY)));
        input.Click(ScreenMiddle(GetDlgItem(hDlg, IDC_KIND_OTHER)));
        HWND hState = GetDlgItem(hDlg, IDC_STATE);
        RECT rcItem {};
        SendMessage(hState, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rcItem));
        POINT ptItem { rcItem.left + 5, (rcItem.top + rcItem.bottom) / 2 };
        ClientToScreen(hState, &ptItem);
        input.Click(ptItem);
        // Tab moves on to the folders, whose list takes the arrow keys without opening.
        input.TapKey(XK_Tab);
        input.TapKey(XK_Down);
        HWND hFolder = GetDlgItem(hDlg, IDC_FOLDER);
        WaitUntil([&] { return SendMessage(hFolder, CB_GETCURSEL, 0, 0) == 1; });
        // The picture the server shows, once the last change has reached it:
        // taken again until it matches (the last one is what the test checks).
        const std::filesystem::path reference = SourceRoot() / "tests/platform/sample/document_properties.png";
        WaitUntil([&] {
            input.Sync();
            HBITMAP hbm = input.CaptureWindow(nWindow);
            return hbm && !PictureDifference(hbm, reference);
        });
        hbmPicture = input.CaptureWindow(nWindow);
        input.Click(ScreenMiddle(GetDlgItem(hDlg, IDOK)));
        bUserDone = true;
    });
    INT_PTR nResult = dlg.DoModal();
    user.join();
    ASSERT_TRUE(bUserDone) << "the dialog never showed on the server";
    EXPECT_EQ(nResult, IDOK);
    EXPECT_STREQ(dlg.m_strTitle, "Quarterly report");
    EXPECT_EQ(dlg.m_nReadOnly, BST_CHECKED);
    EXPECT_EQ(dlg.m_nKind, 2);
    EXPECT_STREQ(dlg.m_strState, "Archived");
    EXPECT_EQ(dlg.m_nFolder, 1);
    ASSERT_NE(hbmPicture, nullptr);
    ExpectPictureMatches(hbmPicture, "document_properties.png");
}
