#include "platform/window/MessageBox.h"

#include "platform/base/WinError.h"
#include "platform/window/Focus.h"
#include "tests/platform/window/DialogTestSupport.h"

#include <string>

namespace {

// What the modal hook found in the message box it answered.
struct SeenBox {
    std::string strCaption;
    std::string strText;
    int nFocusId { 0 };
    std::vector<int> buttons;
    bool bOwnerEnabled { true };
};
thread_local SeenBox t_seen;
thread_local std::vector<std::pair<UINT, UINT>> t_keys; // the keys the hook presses, with their modifier
thread_local HWND t_hOwner = nullptr;

void AnswerByScript(HWND hDlg)
{
    char szText[256] {};
    GetWindowText(hDlg, szText, sizeof(szText));
    t_seen.strCaption = szText;
    GetDlgItemText(hDlg, MESSAGEBOX_TEXT_ID, szText, sizeof(szText));
    t_seen.strText = szText;
    t_seen.nFocusId = GetDlgCtrlID(GetFocus());
    for (HWND hCtl = GetWindow(hDlg, GW_CHILD); hCtl; hCtl = GetWindow(hCtl, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(hCtl) != MESSAGEBOX_TEXT_ID)
            t_seen.buttons.push_back(GetDlgCtrlID(hCtl));
    }
    t_seen.bOwnerEnabled = IsWindowEnabled(t_hOwner);
    for (auto [nKey, nModifier] : t_keys)
        PressKey(nKey, nModifier);
}

class MessageBoxTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // The window layer's tests run below the standard controls: a stand-in "Button".
        RegisterTestControl("Button", TestButtonProc);
        t_hOwner = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400);
        SetThreadModalDialogHook(AnswerByScript);
    }
    void TearDown() override
    {
        SetThreadModalDialogHook(nullptr);
        DestroyWindow(t_hOwner);
        WindowTest::TearDown();
    }

    // Shows a box answered by pressing `keys`.
    static int Show(UINT uType, std::vector<std::pair<UINT, UINT>> keys, LPCSTR lpszCaption = "Caption")
    {
        t_seen = {};
        t_keys = std::move(keys);
        return MessageBox(t_hOwner, "Delete the selected documents?", lpszCaption, uType);
    }
};

}

TEST_F(MessageBoxTest, ShowsTextButtonsAndDefaultAndReturnsThePressedButton)
{
    EXPECT_EQ(Show(MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, { { VK_RETURN, 0 } }), IDNO);
    EXPECT_EQ(t_seen.strCaption, "Caption");
    EXPECT_EQ(t_seen.strText, "Delete the selected documents?");
    EXPECT_EQ(t_seen.buttons, (std::vector<int> { IDYES, IDNO, IDCANCEL }));
    EXPECT_EQ(t_seen.nFocusId, IDNO);
    EXPECT_FALSE(t_seen.bOwnerEnabled);
    EXPECT_TRUE(IsWindowEnabled(t_hOwner));

    EXPECT_EQ(Show(MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, { { VK_RETURN, 0 } }), IDIGNORE);
    EXPECT_EQ(t_seen.buttons, (std::vector<int> { IDABORT, IDRETRY, IDIGNORE }));
    EXPECT_EQ(Show(MB_RETRYCANCEL, { { 'R', VK_MENU } }), IDRETRY) << "mnemonic";
    EXPECT_EQ(Show(MB_OKCANCEL, { { VK_TAB, 0 }, { VK_RETURN, 0 } }, nullptr), IDOK)
        << "keys go to the focus of their time: both to OK";
    EXPECT_EQ(t_seen.strCaption, "Error");
}

TEST_F(MessageBoxTest, EscapeCancelsOnlyWhereThereIsACancelOrALoneOk)
{
    EXPECT_EQ(Show(MB_OK | MB_ICONINFORMATION, { { VK_ESCAPE, 0 } }), IDOK);
    EXPECT_EQ(Show(MB_OKCANCEL | MB_ICONEXCLAMATION, { { VK_ESCAPE, 0 } }), IDCANCEL);
    EXPECT_EQ(Show(MB_YESNO | MB_ICONSTOP, { { VK_ESCAPE, 0 }, { 'Y', 0 } }), IDYES)
        << "Escape does nothing in a Yes/No box";
}

TEST_F(MessageBoxTest, UnknownButtonSetIsRefused)
{
    SetLastError(0);
    EXPECT_EQ(MessageBox(t_hOwner, "x", "y", 0x0000000E), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(IsWindowEnabled(t_hOwner));
}

TEST(MessageBeepTest, BeepsAreCountedWithTheirType)
{
    ULONG nBefore = GetMessageBeepCount();
    EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
    EXPECT_TRUE(MessageBeep(MB_ICONHAND));
    EXPECT_EQ(GetMessageBeepCount(), nBefore + 2);
    EXPECT_EQ(GetLastMessageBeepType(), MB_ICONHAND);
}
