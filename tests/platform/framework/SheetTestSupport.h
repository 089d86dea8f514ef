#pragma once

// Pages and sheets for the property sheet tests: pages with one number field
// (1..99) that log what the sheet asks of them, a sheet that runs a step of
// the test each time its modal loop goes idle, and the message box answers.

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CPropertySheet.h"
#include "tests/platform/window/DialogTestSupport.h"

#include <functional>
#include <string>
#include <vector>

constexpr int ID_VALUE = 100;

// What the pages were asked, as "<page> <event>", and the message boxes shown, as "box <text>".
inline std::vector<std::string>& SheetLog()
{
    static std::vector<std::string> log;
    return log;
}

// A page template: a label with a mnemonic and an edit.
inline DialogTemplate NumberPageTemplate(const char* pszLabel)
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | DS_SETFONT;
    dialog.cx = 120;
    dialog.cy = 40;
    dialog.strCaption = pszLabel; // the page's tab text
    dialog.nPointSize = 8;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.controls = { { static_cast<DWORD>(-1), WS_VISIBLE, 0, 7, 7, 40, 10, TEST_LABEL, pszLabel },
        { ID_VALUE, WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, 50, 7, 60, 12, TEST_EDIT, "" } };
    return dialog;
}

class CNumberPage : public CPropertyPage {
public:
    CNumberPage(const char* pszName, UINT nIDTemplate)
        : CPropertyPage(nIDTemplate)
        , m_strName(pszName)
        , m_template(NumberPageTemplate((std::string("&") + pszName).c_str()))
    {
        m_psp.dwFlags |= PSP_DLGINDIRECT;
        m_psp.pResource = &m_template;
    }

    int m_nValue { 5 };
    DWORD m_dwWizardButtons { 0 }; // posted on activation when nonzero
    bool m_bRefuseActivation { false };
    bool m_bRefuseApply { false };
    bool m_bRefuseCancel { false };
    bool m_bRefuseFinish { false };
    std::function<LRESULT()> onWizardNext;
    LRESULT m_nBackAnswer { 0 };

    // Before the page is made: its field is no tab stop, so the page has none.
    void DropTabStop() { m_template.controls.back().dwStyle &= ~WS_TABSTOP; }

    BOOL OnInitDialog() override
    {
        Log("init");
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override
    {
        Log("setactive");
        if (m_dwWizardButtons)
            GetParent()->PostMessage(PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(m_dwWizardButtons));
        return CPropertyPage::OnSetActive() && !m_bRefuseActivation;
    }
    BOOL OnKillActive() override
    {
        Log("killactive");
        return CPropertyPage::OnKillActive();
    }
    BOOL OnApply() override
    {
        Log("apply");
        return !m_bRefuseApply && CPropertyPage::OnApply();
    }
    void OnReset() override { Log("reset"); }
    BOOL OnQueryCancel() override
    {
        Log("querycancel");
        return !m_bRefuseCancel;
    }
    LRESULT OnWizardNext() override
    {
        Log("next");
        return onWizardNext ? onWizardNext() : 0;
    }
    LRESULT OnWizardBack() override
    {
        Log("back");
        return m_nBackAnswer;
    }
    BOOL OnWizardFinish() override
    {
        Log("finish");
        return !m_bRefuseFinish;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, ID_VALUE, m_nValue);
        DDV_MinMaxInt(pDX, m_nValue, 1, 99);
    }

private:
    void Log(const char* pszEvent) { SheetLog().push_back(m_strName + " " + pszEvent); }

    std::string m_strName;
    DialogTemplate m_template;
};

// A sheet whose idle handler runs the test's steps, one per idle pass.
class CScriptedSheet : public CPropertySheet {
    DECLARE_MESSAGE_MAP()

public:
    explicit CScriptedSheet(CWnd* pParent)
        : CPropertySheet("Sheet", pParent)
    {
    }

    std::vector<std::function<void(CScriptedSheet*)>> steps;
    size_t m_nStep { 0 };
    std::vector<WPARAM> kickIdleSources;

    HWND Item(int nId) const { return ::GetDlgItem(m_hWnd, nId); }
    HWND PageItem(int nId) const { return ::GetDlgItem(GetActivePage()->GetSafeHwnd(), nId); }

protected:
    LRESULT OnKickIdle(WPARAM wParam, LPARAM)
    {
        kickIdleSources.push_back(wParam);
        if (m_nStep < steps.size())
            steps[m_nStep++](this);
        else
            EndDialog(IDABORT); // the steps should have closed the sheet
        return FALSE;
    }
};

// Answers message boxes with OK and notes their texts.
inline void AnswerMessageBoxes(HWND hDlg)
{
    if (!::GetDlgItem(hDlg, MESSAGEBOX_TEXT_ID))
        return;
    char szText[256] {};
    ::GetDlgItemText(hDlg, MESSAGEBOX_TEXT_ID, szText, sizeof(szText));
    SheetLog().push_back(std::string("box ") + szText);
    ::EndDialog(hDlg, IDOK);
}

class SheetTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        RegisterTestControls();
        m_wndOwner.Attach(CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400));
        SetThreadModalDialogHook(AnswerMessageBoxes);
        SheetLog().clear();
    }
    void TearDown() override
    {
        SetThreadModalDialogHook(nullptr);
        m_wndOwner.DestroyWindow();
        WindowTest::TearDown();
    }

    static std::vector<std::string> TakeLog() { return std::exchange(SheetLog(), {}); }
    static bool IsShown(HWND hWnd) { return hWnd && (::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_VISIBLE); }

    CWnd m_wndOwner;
};
