// Where the program's dialogs appear and what stays over them, with the
// program's own dialogs installed as its entry installs them: a modal dialog
// opens in the middle of the window it belongs to, and the tip of a toolbar
// button goes when one comes over the window.

#include "tests/frame/AppTestFixture.h"

#include "dialogs/CDialogPrompts.h"
#include "resources/ResourceIds.h"

#include "platform/controls/ToolTipControl.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CToolBar.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace {

class DialogPlacementTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_dialogs.emplace();
        WriteCatalog();
        // The start offers the document types the catalog does not keep yet.
        m_driver.OnNextDialog([](HWND hDlg) { ::EndDialog(hDlg, IDCANCEL); });
        ASSERT_TRUE(Start());
    }
    void TearDown() override
    {
        Stop();
        m_dialogs.reset();
        AppTest::TearDown();
    }

    // The rectangle of the modal dialog that command nID opens, closed again.
    CRect DialogRectOf(UINT nID)
    {
        CRect rcDialog;
        m_driver.OnNextDialog([&rcDialog](HWND hDlg) {
            ::GetWindowRect(hDlg, &rcDialog);
            ::EndDialog(hDlg, IDCANCEL);
        });
        Command(nID);
        return rcDialog;
    }

    // A tip on show, of any tooltip control of the program; null for none.
    static HWND ShownTip()
    {
        HWND hShown = nullptr;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND hWnd, LPARAM lParam) {
                char szClass[64] {};
                ::GetClassName(hWnd, szClass, sizeof(szClass));
                if (std::string_view(szClass) == TOOLTIPS_CLASS && ::IsWindowVisible(hWnd)) {
                    *reinterpret_cast<HWND*>(lParam) = hWnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&hShown));
        return hShown;
    }

    std::optional<CDialogPrompts> m_dialogs;
};

} // namespace

TEST_F(DialogPlacementTest, AModalDialogOpensInTheMiddleOfTheMainWindow)
{
    MainFrame()->MoveWindow(200, 150, 900, 700);
    CRect rcMain;
    MainFrame()->GetWindowRect(&rcMain);
    const CRect rcDialog = DialogRectOf(ID_APP_ABOUT);
    ASSERT_GT(rcDialog.Width(), 0);
    EXPECT_NEAR(rcDialog.left + rcDialog.right, rcMain.left + rcMain.right, 2);
    EXPECT_NEAR(rcDialog.top + rcDialog.bottom, rcMain.top + rcMain.bottom, 2);
}

TEST_F(DialogPlacementTest, AToolbarTipGoesWhenAModalDialogComesOverTheWindow)
{
    CToolBar& toolBar = MainFrame()->GetToolBar();
    CRect rcButton;
    toolBar.GetItemRect(toolBar.CommandToIndex(ID_VIEW_PREVIEW), &rcButton);
    ASSERT_TRUE(m_driver.Hover(toolBar.GetSafeHwnd(), rcButton.left + 4, rcButton.top + 4));
    m_driver.Advance(::GetDoubleClickTime() + 10);
    ASSERT_NE(ShownTip(), nullptr) << "the button's tip shows";

    HWND hTipOverDialog = nullptr;
    m_driver.OnNextDialog([this, &hTipOverDialog](HWND hDlg) {
        m_driver.Advance(200);
        hTipOverDialog = ShownTip();
        ::EndDialog(hDlg, IDCANCEL);
    });
    Command(ID_APP_ABOUT);
    EXPECT_EQ(hTipOverDialog, nullptr);
}
