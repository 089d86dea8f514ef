#include "platform/framework/CDialog.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWinApp.h"
#include "platform/window/Focus.h"
#include "tests/platform/window/DialogTestSupport.h"

#include <functional>

namespace {

constexpr int ID_NAME = 100, ID_COUNT = 101, ID_CHECK = 102, ID_RADIO1 = 103, ID_RADIO2 = 104, ID_RADIO3 = 105;

DialogControlTemplate Control(const char* pszClass, int nId, DWORD dwStyle, SHORT y)
{
    return { static_cast<DWORD>(nId), dwStyle | WS_VISIBLE, 0, 7, y, 100, 12, pszClass, "" };
}

// An edit for a name, an edit for a count, a check box and a radio group, OK and Cancel.
DialogTemplate SampleTemplate()
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    dialog.cx = 180;
    dialog.cy = 120;
    dialog.nPointSize = 8;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.strCaption = "Sample";
    dialog.controls = { Control(TEST_EDIT, ID_NAME, WS_TABSTOP | WS_GROUP, 7),
        Control(TEST_EDIT, ID_COUNT, WS_TABSTOP | WS_GROUP, 22),
        Control(TEST_BUTTON, ID_CHECK, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 37),
        Control(TEST_BUTTON, ID_RADIO1, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 52),
        Control(TEST_BUTTON, ID_RADIO2, BS_AUTORADIOBUTTON, 64),
        Control(TEST_BUTTON, ID_RADIO3, BS_AUTORADIOBUTTON, 76),
        Control(TEST_BUTTON, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 95),
        Control(TEST_BUTTON, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 95) };
    return dialog;
}

class CDlgSample : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDlgSample(CWnd* pParent)
    {
        m_template = SampleTemplate();
        InitModalIndirect(&m_template, pParent);
    }

    CString m_strName { "Alpha" };
    int m_nCount { 5 };
    int m_nCheck { BST_CHECKED };
    int m_nRadio { 2 };
    CWnd m_wndCheck;
    // Answers WM_KICKIDLE: TRUE asks for more idle time.
    std::function<BOOL(CDlgSample*, LONG)> onKickIdle;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, ID_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 8);
        DDX_Text(pDX, ID_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 1, 99);
        DDX_Check(pDX, ID_CHECK, m_nCheck);
        DDX_Radio(pDX, ID_RADIO1, m_nRadio);
        DDX_Control(pDX, ID_CHECK, m_wndCheck);
    }
    LRESULT OnKickIdle(WPARAM, LPARAM lParam) { return onKickIdle ? onKickIdle(this, static_cast<LONG>(lParam)) : 0; }

private:
    DialogTemplate m_template;
};

BEGIN_MESSAGE_MAP(CDlgSample, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CDlgSample::OnKickIdle)
END_MESSAGE_MAP()

// The script the modal dialog hook runs, and what it saw in message boxes.
thread_local std::function<void(HWND)> t_script;
thread_local std::vector<std::string> t_boxTexts;
thread_local std::vector<std::string> t_boxCaptions;
thread_local std::vector<HWND> t_boxOwners;

void RunScript(HWND hDlg)
{
    if (GetDlgItem(hDlg, MESSAGEBOX_TEXT_ID)) {
        char szText[256] {};
        GetDlgItemText(hDlg, MESSAGEBOX_TEXT_ID, szText, sizeof(szText));
        t_boxTexts.emplace_back(szText);
        GetWindowText(hDlg, szText, sizeof(szText));
        t_boxCaptions.emplace_back(szText);
        t_boxOwners.push_back(GetWindow(hDlg, GW_OWNER));
        EndDialog(hDlg, IDOK);
        return;
    }
    if (t_script)
        t_script(hDlg);
}

class CDialogTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        RegisterTestControls();
        m_wndOwner.Attach(CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400));
        SetThreadModalDialogHook(RunScript);
    }
    void TearDown() override
    {
        SetThreadModalDialogHook(nullptr);
        t_script = nullptr;
        m_wndOwner.DestroyWindow();
        WindowTest::TearDown();
    }

    static std::string Text(HWND hDlg, int nId)
    {
        char szText[64] {};
        GetDlgItemText(hDlg, nId, szText, sizeof(szText));
        return szText;
    }

    CWnd m_wndOwner;
};

}

TEST_F(CDialogTest, DataGoesIntoTheControlsAndComesBackOnOk)
{
    CDlgSample dlg(&m_wndOwner);
    std::string strShownName, strShownCount;
    UINT nShownRadio3 = 0;
    bool bOwnerDisabled = false;
    t_script = [&](HWND hDlg) {
        strShownName = Text(hDlg, ID_NAME);
        strShownCount = Text(hDlg, ID_COUNT);
        nShownRadio3 = IsDlgButtonChecked(hDlg, ID_RADIO3);
        bOwnerDisabled = !m_wndOwner.IsWindowEnabled();
        SetDlgItemText(hDlg, ID_NAME, "Beta");
        SetDlgItemText(hDlg, ID_COUNT, " 42");
        CheckDlgButton(hDlg, ID_CHECK, BST_UNCHECKED);
        CheckRadioButton(hDlg, ID_RADIO1, ID_RADIO3, ID_RADIO1);
        PressKey(VK_RETURN);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(strShownName, "Alpha");
    EXPECT_EQ(strShownCount, "5");
    EXPECT_EQ(nShownRadio3, BST_CHECKED);
    EXPECT_TRUE(bOwnerDisabled);
    EXPECT_TRUE(m_wndOwner.IsWindowEnabled());
    EXPECT_STREQ(dlg.m_strName, "Beta");
    EXPECT_EQ(dlg.m_nCount, 42);
    EXPECT_EQ(dlg.m_nCheck, BST_UNCHECKED);
    EXPECT_EQ(dlg.m_nRadio, 0);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr) << "the window is gone after DoModal";
    EXPECT_TRUE(t_boxTexts.empty());
}

TEST_F(CDialogTest, AModalDialogHasTheKeysWhileOpenAndHandsThemBackToItsOwner)
{
    CDlgSample dlg(&m_wndOwner);
    HWND hActive = nullptr;
    int nFocusId = 0;
    t_script = [&](HWND hDlg) {
        hActive = GetActiveWindow();
        nFocusId = GetDlgCtrlID(GetFocus());
        EndDialog(hDlg, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_NE(hActive, nullptr);
    EXPECT_NE(hActive, m_wndOwner.GetSafeHwnd());
    EXPECT_EQ(nFocusId, ID_NAME);
    EXPECT_EQ(GetActiveWindow(), m_wndOwner.GetSafeHwnd());
    EXPECT_EQ(GetFocus(), m_wndOwner.GetSafeHwnd());

    // A dialog with nothing to focus holds the keys itself.
    DialogTemplate labelOnly = SampleTemplate();
    labelOnly.controls = { Control(TEST_LABEL, 1, 0, 7) };
    CDialog bare;
    bare.InitModalIndirect(&labelOnly, &m_wndOwner);
    HWND hFocus = nullptr;
    t_script = [&](HWND hDlg) {
        hFocus = GetFocus() == hDlg ? hDlg : nullptr;
        EndDialog(hDlg, IDOK);
    };
    EXPECT_EQ(bare.DoModal(), IDOK);
    EXPECT_NE(hFocus, nullptr);
    EXPECT_EQ(GetFocus(), m_wndOwner.GetSafeHwnd());
}

TEST_F(CDialogTest, ValidationFailureTellsTheUserAndPutsTheFocusBack)
{
    struct Case {
        const char* pszName;
        const char* pszCount;
        const char* pszMessage;
        int nFocusId;
        int nCountAfter; // a value that was read stays read even when its check fails
    };
    for (const Case& c : { Case { "Beta", "abc", "Please enter an integer.", ID_COUNT, 5 },
             Case { "Beta", "100", "Please enter an integer between 1 and 99.", ID_COUNT, 100 },
             Case { "Much too long", "3", "Please enter no more than 8 characters.", ID_NAME, 5 } }) {
        t_boxTexts.clear();
        CDlgSample dlg(&m_wndOwner);
        int nFocusAfter = 0;
        dlg.onKickIdle = [&](CDlgSample* pDlg, LONG) {
            // Idle after the failed OK: note where the focus is and give up.
            if (!t_boxTexts.empty()) {
                nFocusAfter = GetDlgCtrlID(GetFocus());
                pDlg->EndDialog(IDCANCEL);
            }
            return FALSE;
        };
        t_script = [&](HWND hDlg) {
            SetDlgItemText(hDlg, ID_NAME, c.pszName);
            SetDlgItemText(hDlg, ID_COUNT, c.pszCount);
            SetFocus(GetDlgItem(hDlg, IDOK));
            PressKey(VK_RETURN);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.pszCount;
        EXPECT_EQ(t_boxTexts, std::vector<std::string> { c.pszMessage });
        EXPECT_EQ(nFocusAfter, c.nFocusId) << c.pszMessage;
        EXPECT_EQ(dlg.m_nCount, c.nCountAfter) << c.pszMessage;
        EXPECT_EQ(dlg.m_nCheck, BST_CHECKED) << "controls after the failure are not read";
    }
}

TEST_F(CDialogTest, KickIdleCountsUpWhileAskedAndRestartsAfterAMessage)
{
    CDlgSample dlg(&m_wndOwner);
    std::vector<LONG> counts;
    dlg.onKickIdle = [&](CDlgSample* pDlg, LONG lCount) {
        counts.push_back(lCount);
        if (lCount < 2)
            return TRUE;
        bool bFirstRound = counts.size() == 3;
        pDlg->PostMessage(bFirstRound ? WM_USER + 1 : WM_COMMAND, bFirstRound ? 0 : IDCANCEL);
        return FALSE;
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(counts, (std::vector<LONG> { 0, 1, 2, 0, 1, 2 }));
    int nEnterIdle = 0;
    for (const LoggedMessage& message : MessageLog::Instance().Take())
        nEnterIdle += message.hWnd == m_wndOwner.GetSafeHwnd() && message.uMsg == WM_ENTERIDLE;
    EXPECT_EQ(nEnterIdle, 2) << "once per idle period, at count 0";
}

TEST_F(CDialogTest, ModelessDialogTakesItsKeysThroughPreTranslateMessage)
{
    CDlgSample dlg(&m_wndOwner);
    DialogTemplate dialog = SampleTemplate();
    dialog.dwStyle |= WS_VISIBLE;
    ASSERT_TRUE(dlg.CreateIndirect(&dialog, &m_wndOwner));
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()), &dlg);
    EXPECT_EQ(dlg.m_wndCheck.GetSafeHwnd(), GetDlgItem(dlg.GetSafeHwnd(), ID_CHECK)) << "DDX_Control subclassed it";
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_NAME);
    PressKey(VK_TAB);
    MSG msg {};
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!CWnd::WalkPreTranslateTree(dlg.GetSafeHwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_COUNT);
    dlg.GotoDlgCtrl(dlg.GetDlgItem(ID_RADIO1));
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_RADIO1);
    dlg.NextDlgCtrl();
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK);
    dlg.SetDefID(IDCANCEL);
    EXPECT_EQ(dlg.GetDefID(), static_cast<DWORD>(MAKELONG(IDCANCEL, DC_HASDEFID)));
    // A modeless dialog's OK only hides it.
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_TRUE(IsWindow(dlg.GetSafeHwnd()));
    EXPECT_FALSE(dlg.IsWindowVisible());
    dlg.DestroyWindow();
}

TEST_F(CDialogTest, AfxMessageBoxUsesTheApplicationNameAndStringResources)
{
    CWinApp app("Organizer");
    EXPECT_EQ(AfxMessageBox("Saved."), IDOK);
    EXPECT_EQ(m_wndOwner.MessageBox("Owned.", "Own caption"), IDOK);
    EXPECT_EQ(t_boxTexts, (std::vector<std::string> { "Saved.", "Owned." }));
    EXPECT_EQ(t_boxCaptions, (std::vector<std::string> { "Organizer", "Own caption" }));
}

TEST_F(CDialogTest, AMessageBoxAskedFromAModalDialogBelongsToItWhicheverWindowIsActive)
{
    t_boxOwners.clear();
    CWinApp app("Organizer");
    app.m_pMainWnd = &m_wndOwner;
    CDlgSample dlg(&m_wndOwner);
    HWND hDialog = nullptr;
    bool bOwnerDisabledAfterTheBox = false;
    t_script = [&](HWND hDlg) {
        hDialog = hDlg;
        // The desktop has left the main window active.
        SetActiveWindow(m_wndOwner.GetSafeHwnd());
        AfxMessageBox("Sure?");
        bOwnerDisabledAfterTheBox = !m_wndOwner.IsWindowEnabled();
        EndDialog(hDlg, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    app.m_pMainWnd = nullptr;
    ASSERT_EQ(t_boxOwners.size(), 1u);
    EXPECT_EQ(t_boxOwners[0], hDialog);
    EXPECT_TRUE(bOwnerDisabledAfterTheBox) << "the modal dialog still holds the main window";
    EXPECT_TRUE(m_wndOwner.IsWindowEnabled());
}

TEST_F(CDialogTest, MissingTemplateFailsDoModal)
{
    CDialog dlg(4321, &m_wndOwner);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(m_wndOwner.IsWindowEnabled());
    EXPECT_FALSE(dlg.Create(4321, &m_wndOwner));
}
