#include "platform/framework/CDialog.h"

#include "platform/controls/EditControl.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <gtest/gtest.h>

// A class-library dialog over the standard controls, filled and read by data
// exchange and closed by keys through its modal loop.

namespace {

constexpr int ID_NAME = 100, ID_NOTES = 101;

DialogControlTemplate Control(const char* pszClass, int nId, DWORD dwStyle, SHORT y)
{
    return { static_cast<DWORD>(nId), dwStyle | WS_CHILD | WS_VISIBLE, 0, 7, y, 150, 12, pszClass, "" };
}

// A name and a multi-line description, exchanged as texts; it counts the
// description's EN_CHANGE notifications, as a page marks itself modified.
class CDlgDescription : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDlgDescription(CWnd* pParent)
    {
        m_template.dwStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
        m_template.cx = 180;
        m_template.cy = 100;
        m_template.nPointSize = 8;
        m_template.strFaceName = "MS Shell Dlg";
        m_template.controls = { Control("Edit", ID_NAME, ES_AUTOHSCROLL | WS_TABSTOP, 7),
            Control("Edit", ID_NOTES, ES_MULTILINE | WS_TABSTOP, 25),
            Control("Button", IDOK, 0x0001 /* BS_DEFPUSHBUTTON */ | WS_TABSTOP, 70),
            Control("Button", IDCANCEL, WS_TABSTOP, 85) };
        InitModalIndirect(&m_template, pParent);
    }

    CString m_strName;
    CString m_strNotes;
    int m_nNotesChanges { 0 };

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, ID_NAME, m_strName);
        DDX_Text(pDX, ID_NOTES, m_strNotes);
    }
    void OnNotesChange() { ++m_nNotesChanges; }

private:
    DialogTemplate m_template;
};

BEGIN_MESSAGE_MAP(CDlgDescription, CDialog)
    ON_EN_CHANGE(ID_NOTES, &CDlgDescription::OnNotesChange)
END_MESSAGE_MAP()

// Focuses the description and presses Enter; posts Cancel after the key, which
// ends the dialog should Enter have stayed in the description.
void PressEnterInTheDescription(HWND hDlg)
{
    SetFocus(GetDlgItem(hDlg, ID_NOTES));
    InjectKeyEvent(VK_RETURN, TRUE);
    InjectKeyEvent(VK_RETURN, FALSE);
    PostMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
}

class CDialogControlsTest : public WindowTest { };

}

TEST_F(CDialogControlsTest, EnterInTheDescriptionEndsTheDialogWithEveryTextWhole)
{
    CWnd wndOwner;
    wndOwner.Attach(CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400));
    CDlgDescription dlg(&wndOwner);
    dlg.m_strName = "two\r\nlines";
    dlg.m_strNotes = "first\r\nsecond";
    SetThreadModalDialogHook(PressEnterInTheDescription);
    const INT_PTR nResult = dlg.DoModal();
    SetThreadModalDialogHook(nullptr);
    wndOwner.DestroyWindow();
    EXPECT_EQ(nResult, IDOK);
    EXPECT_STREQ(dlg.m_strName, "two\r\nlines");
    EXPECT_STREQ(dlg.m_strNotes, "first\r\nsecond");
    EXPECT_EQ(dlg.m_nNotesChanges, 0) << "filling the description made it look changed";
}
