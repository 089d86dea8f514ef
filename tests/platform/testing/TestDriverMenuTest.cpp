#include "platform/testing/TestDriver.h"

#include "platform/controls/StandardControls.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Messages.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <vector>

namespace {

// An owner window and a menu: Open, a separator, Save, a More submenu (Inner,
// Deeper) and Print, which the owner disables on WM_INITMENUPOPUP as a
// program's update-UI would.
class TestDriverMenuTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(RegisterStandardControls());
        m_hOwner = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 50, 50, 300, 200);
        SetActiveWindow(m_hOwner);
        SetFocus(m_hOwner);
        m_driver.Pump();

        m_hSub = CreatePopupMenu();
        AppendMenu(m_hSub, MF_STRING, 21, "&Inner");
        AppendMenu(m_hSub, MF_STRING, 22, "&Deeper");
        m_hMenu = CreatePopupMenu();
        AppendMenu(m_hMenu, MF_STRING, 1, "&Open");
        AppendMenu(m_hMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenu(m_hMenu, MF_STRING, 2, "&Save");
        AppendMenu(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(m_hSub), "&More");
        AppendMenu(m_hMenu, MF_STRING, 3, "&Print");

        MessageLog::Instance().handler = [this](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM, LRESULT*) {
            if (hWnd == m_hOwner && uMsg == WM_INITMENUPOPUP)
                EnableMenuItem(reinterpret_cast<HMENU>(wParam), 3, MF_BYCOMMAND | MF_GRAYED);
            return false;
        };
        MessageLog::Instance().Take();
    }
    void TearDown() override
    {
        MessageLog::Instance().handler = nullptr;
        DestroyMenu(m_hMenu);
        DestroyWindow(m_hOwner);
        WindowTest::TearDown();
    }

    int Track(UINT uFlags) { return TrackPopupMenu(m_hMenu, uFlags, 60, 60, 0, m_hOwner, nullptr); }

    // The messages of this kind the owner has received, by the low word of wParam.
    std::vector<WORD> Received(UINT uMsg)
    {
        m_driver.Pump();
        std::vector<WORD> ids;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.hWnd == m_hOwner && message.uMsg == uMsg)
                ids.push_back(LOWORD(message.wParam));
        }
        return ids;
    }

    CTestDriver m_driver;
    HWND m_hOwner { nullptr };
    HMENU m_hMenu { nullptr };
    HMENU m_hSub { nullptr };
};

} // namespace

TEST_F(TestDriverMenuTest, ReturnCmdReturnsTheChosenCommandAndPostsNothing)
{
    m_driver.ChooseNextMenuCommand(2);
    EXPECT_EQ(Track(TPM_RETURNCMD | TPM_RIGHTBUTTON), 2);
    EXPECT_TRUE(Received(WM_COMMAND).empty());
    // The choice was shown to the owner as the user's selection.
    m_driver.ChooseNextMenuCommand(1);
    EXPECT_EQ(Track(TPM_RETURNCMD), 1);
    std::vector<WORD> selected = Received(WM_MENUSELECT);
    ASSERT_GE(selected.size(), 2u);
    EXPECT_EQ(selected[selected.size() - 2], 1) << "the item, then the close";
}

TEST_F(TestDriverMenuTest, WithoutReturnCmdTheChosenCommandIsPosted)
{
    m_driver.ChooseNextMenuCommand(1);
    EXPECT_EQ(Track(0), TRUE);
    EXPECT_EQ(Received(WM_COMMAND), (std::vector<WORD> { 1 }));
}

TEST_F(TestDriverMenuTest, CommandsInSubmenusAreReachedByOpeningThem)
{
    m_driver.ChooseNextMenuCommand(22);
    EXPECT_EQ(Track(TPM_RETURNCMD), 22);
    // The submenu opened on the way, so its owner could update it first.
    EXPECT_EQ(Received(WM_INITMENUPOPUP).size(), 2u);
}

TEST_F(TestDriverMenuTest, DisabledMissingAndDismissedChoicesEndWithoutACommand)
{
    m_driver.ChooseNextMenuCommand(3); // disabled by the owner as the menu opened
    m_driver.ChooseNextMenuCommand(99);
    m_driver.DismissNextMenu();
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    EXPECT_EQ(Track(0), TRUE);
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    EXPECT_TRUE(Received(WM_COMMAND).empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TestDriverMenuTest, MenuAnswersAreQueuedApartFromDialogAnswers)
{
    m_driver.AnswerNextMessageBox(IDNO);
    m_driver.ChooseNextMenuCommand(2);
    EXPECT_EQ(Track(TPM_RETURNCMD), 2);
    EXPECT_EQ(MessageBox(m_hOwner, "Really?", "Archivora", MB_YESNO), IDNO);
}
