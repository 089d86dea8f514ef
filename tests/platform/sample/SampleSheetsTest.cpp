// Property sheets, a wizard and a sheet inside a dialog as a program builds
// them from compiled templates, worked by the test driver as a user would:
// pages changed by their tabs, an up-down, a date picked from its calendar, a
// value the class library refuses, a wizard that skips a page, Tab walking in
// and out of a sheet inside a dialog, and an animation on the clock. Their
// pictures are compared with references checked by eye.

#include "platform/framework/CAnimateCtrl.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CProgressCtrl.h"
#include "platform/framework/CPropertySheet.h"
#include "platform/framework/CTabCtrl.h"

#include "platform/base/ResourceModule.h"
#include "platform/controls/DateTimePicker.h"
#include "platform/controls/UpDownControl.h"
#include "platform/framework/CDataExchange.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"
#include "tests/platform/sample/SampleSupport.h"
#include "tests/platform/sample/SheetsIds.h"
#include "ui/ChildPropertySheet.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// The pages' apply passes, in order.
std::vector<std::string>& Applied()
{
    static std::vector<std::string> applied;
    return applied;
}

/***** The preferences sheet *****/

class CGeneralPage : public CPropertyPage {
public:
    CGeneralPage()
        : CPropertyPage(IDD_PAGE_GENERAL)
    {
    }

    int m_nCopies { 2 };

protected:
    BOOL OnInitDialog() override
    {
        SendDlgItemMessage(IDC_COPIES_SPIN, UDM_SETRANGE, 0, MAKELONG(99, 1));
        return CPropertyPage::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_COPIES, m_nCopies);
        DDV_MinMaxInt(pDX, m_nCopies, 1, 99);
    }
    BOOL OnApply() override
    {
        Applied().push_back("General");
        return CPropertyPage::OnApply();
    }
};

class CDatesPage : public CPropertyPage {
public:
    CDatesPage()
        : CPropertyPage(IDD_PAGE_DATES)
    {
    }

    SYSTEMTIME m_expires { 2023, 6, 0, 30, 12, 0, 0, 0 };

protected:
    BOOL OnInitDialog() override
    {
        const SYSTEMTIME range[2] = { { 1990, 1, 0, 1, 0, 0, 0, 0 }, { 2030, 12, 0, 31, 23, 59, 59, 0 } };
        SendDlgItemMessage(IDC_EXPIRES, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
        SendDlgItemMessage(IDC_EXPIRES, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&m_expires));
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnApply() override
    {
        Applied().push_back("Dates");
        SendDlgItemMessage(IDC_EXPIRES, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&m_expires));
        return CPropertyPage::OnApply();
    }
};

// A tab control of its own: the two orientations, each with its mnemonic.
class CLayoutPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    CLayoutPage()
        : CPropertyPage(IDD_PAGE_LAYOUT)
    {
    }

    int m_nOrientation { 0 };

protected:
    BOOL OnInitDialog() override
    {
        CPropertyPage::OnInitDialog();
        m_tabs.SubclassDlgItem(IDC_ORIENTATION, this);
        m_tabs.InsertItem(0, "&Portrait");
        m_tabs.InsertItem(1, "L&andscape");
        m_tabs.SetCurSel(m_nOrientation);
        ShowOrientation();
        return TRUE;
    }
    void OnOrientationChange(NMHDR*, LRESULT*)
    {
        m_nOrientation = m_tabs.GetCurSel();
        ShowOrientation();
    }
    BOOL OnApply() override
    {
        Applied().push_back("Layout");
        return CPropertyPage::OnApply();
    }

private:
    void ShowOrientation()
    {
        SetDlgItemText(IDC_ORIENTATION_TEXT, m_nOrientation ? "Pages lie on their side." : "Pages stand upright.");
    }

    CTabCtrl m_tabs;
};

// clang-format off
BEGIN_MESSAGE_MAP(CLayoutPage, CPropertyPage)
    ON_NOTIFY(TCN_SELCHANGE, IDC_ORIENTATION, &CLayoutPage::OnOrientationChange)
END_MESSAGE_MAP()
// clang-format on

// Alt and a page's mnemonic letter shows that page, as the program's sheets do.
class CPreferencesSheet : public CPropertySheet {
public:
    CPreferencesSheet()
        : CPropertySheet("Preferences")
    {
        m_psh.dwFlags |= PSH_NOAPPLYNOW;
        AddPage(&m_general);
        AddPage(&m_dates);
        AddPage(&m_layout);
    }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        CWnd* pTabs = GetTabControl();
        if (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam >= 33 && pTabs) {
            const std::string strMnemonic { '&', static_cast<char>(pMsg->wParam) };
            for (int i = 0; i < GetPageCount(); ++i) {
                char szText[79] {};
                TCITEM item { TCIF_TEXT, 0, 0, szText, sizeof(szText), 0, 0 };
                pTabs->SendMessage(TCM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                if (std::string(szText).find(strMnemonic) != std::string::npos) {
                    SetActivePage(i);
                    return TRUE;
                }
            }
        }
        return CPropertySheet::PreTranslateMessage(pMsg);
    }

    CGeneralPage m_general;
    CDatesPage m_dates;
    CLayoutPage m_layout;
};

/***** The wizard *****/

class CWizardPage : public CPropertyPage {
public:
    CWizardPage(UINT nIDTemplate, DWORD dwButtons)
        : CPropertyPage(nIDTemplate)
        , m_dwButtons(dwButtons)
    {
    }

protected:
    BOOL OnSetActive() override
    {
        static_cast<CPropertySheet*>(GetParent())->SetWizardButtons(m_dwButtons);
        return CPropertyPage::OnSetActive();
    }

private:
    DWORD m_dwButtons;
};

class CSetupWizard;

// Quick setup goes straight to the last page: the page changes pages itself
// and answers -1.
class CKindPage : public CWizardPage {
public:
    explicit CKindPage(CSetupWizard* pWizard)
        : CWizardPage(IDD_WIZARD_KIND, PSWIZB_BACK | PSWIZB_NEXT)
        , m_pWizard(pWizard)
    {
    }

    int m_nKind { 1 };

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Radio(pDX, IDC_QUICK, m_nKind); }
    LRESULT OnWizardNext() override;

private:
    CSetupWizard* m_pWizard;
};

// Back goes to the kind page when quick setup skipped the folder page: the
// answer names the page's template.
class CDonePage : public CWizardPage {
public:
    explicit CDonePage(const CKindPage* pKind)
        : CWizardPage(IDD_WIZARD_DONE, PSWIZB_BACK | PSWIZB_FINISH)
        , m_pKind(pKind)
    {
    }

protected:
    LRESULT OnWizardBack() override { return m_pKind->m_nKind == 0 ? IDD_WIZARD_KIND : 0; }

private:
    const CKindPage* m_pKind;
};

class CSetupWizard : public CPropertySheet {
public:
    CSetupWizard()
        : CPropertySheet("Catalog Setup")
    {
        m_psh.dwFlags |= PSH_WIZARD;
        AddPage(&m_welcome);
        AddPage(&m_kind);
        AddPage(&m_folder);
        AddPage(&m_done);
    }

    CWizardPage m_welcome { IDD_WIZARD_WELCOME, PSWIZB_NEXT };
    CKindPage m_kind { this };
    CWizardPage m_folder { IDD_WIZARD_FOLDER, PSWIZB_BACK | PSWIZB_NEXT };
    CDonePage m_done { &m_kind };
};

LRESULT CKindPage::OnWizardNext()
{
    if (!UpdateData(TRUE))
        return -1;
    if (m_nKind != 0)
        return 0;
    m_pWizard->SetActivePage(&m_pWizard->m_done);
    return -1;
}

/***** A dialog with a sheet inside *****/

class CHostDialog : public CDialog {
public:
    CHostDialog()
        : CDialog(IDD_HOST)
    {
        m_sheet.AddPage(&m_details);
        m_sheet.AddPage(&m_notes);
    }

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CreateChildPropertySheet(this, &m_sheet, WS_CHILD | WS_VISIBLE, 0);
        PlaceChildPropertySheet(this, &m_sheet, IDC_PLACEHOLDER);
        return TRUE;
    }

private:
    CPropertyPage m_details { IDD_HOST_DETAILS };
    CPropertyPage m_notes { IDD_HOST_NOTES };
    CPropertySheet m_sheet;
};

/***** The fixture *****/

class SampleSheetsTest : public SampleModuleTest {
protected:
    SampleSheetsTest()
        : SampleModuleTest("sheets.rc")
    {
    }
    void SetUp() override
    {
        Applied().clear();
        SampleModuleTest::SetUp();
    }

    void ExpectPictureMatches(HWND hWnd, const char* pszReference)
    {
        SampleModuleTest::ExpectPictureMatches(CaptureWindowImage(hWnd), pszReference);
    }
    static HWND CurrentPage(HWND hSheet)
    {
        return reinterpret_cast<HWND>(SendMessage(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    static int CurrentIndex(HWND hSheet)
    {
        return static_cast<int>(SendMessage(hSheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(CurrentPage(hSheet)), 0));
    }
    static HWND PageItem(HWND hSheet, int nId) { return GetDlgItem(CurrentPage(hSheet), nId); }

    CTestDriver m_driver;
};

} // namespace

TEST_F(SampleSheetsTest, PreferencesAreEditedOnThreePagesAndAppliedInOrder)
{
    CPreferencesSheet sheet;
    std::string strRefusal;
    int nPageAfterRefusal = -1;
    CDialogScript script;
    script
        .Then([&](HWND hSheet) {
            // The up-down's upper arrow steps the copies from 2 to 3.
            HWND hSpin = PageItem(hSheet, IDC_COPIES_SPIN);
            RECT rc {};
            GetClientRect(hSpin, &rc);
            m_driver.Click(hSpin, rc.right / 2, 2);
            ExpectPictureMatches(hSheet, "sheet_general.png");
        })
        .SelectPage(1)
        .Then([&](HWND hSheet) {
            HWND hPicker = PageItem(hSheet, IDC_EXPIRES);
            SetFocus(hPicker);
            m_driver.PressKey(VK_F4);
            auto hCalendar = reinterpret_cast<HWND>(SendMessage(hPicker, DTM_GETMONTHCAL, 0, 0));
            ASSERT_NE(hCalendar, nullptr);
            ExpectPictureMatches(hCalendar, "sheet_calendar.png");
            m_driver.PressKey(VK_ESCAPE);
        })
        .SetDate(IDC_EXPIRES, { 2024, 3, 0, 15, 0, 0, 0, 0 })
        .Then([&](HWND hSheet) {
            m_driver.PressKey('L', CTestDriver::ALT);
            EXPECT_EQ(CurrentIndex(hSheet), 2) << "Alt+L shows the page whose tab reads \"&Layout\"";
            m_driver.ClickTab(PageItem(hSheet, IDC_ORIENTATION), 1);
            ExpectPictureMatches(hSheet, "sheet_layout.png");
        })
        .SelectPage(0)
        .SetText(IDC_COPIES, "150")
        .Then([&](HWND hSheet) {
            // The class library refuses the value and the page stays.
            m_driver.OnNextDialog([&](HWND hBox) {
                for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
                    strRefusal += CTestDriver::Text(hChild);
                EndDialog(hBox, IDOK);
            });
            m_driver.ClickTab(reinterpret_cast<HWND>(SendMessage(hSheet, PSM_GETTABCONTROL, 0, 0)), 2);
            nPageAfterRefusal = CurrentIndex(hSheet);
        })
        .SetText(IDC_COPIES, "12")
        .Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(m_driver.ScriptErrors().empty()) << m_driver.ScriptErrors().front();
    EXPECT_NE(strRefusal.find("between 1 and 99"), std::string::npos) << strRefusal;
    EXPECT_EQ(nPageAfterRefusal, 0);
    EXPECT_EQ(Applied(), (std::vector<std::string> { "General", "Dates", "Layout" }));
    EXPECT_EQ(sheet.m_general.m_nCopies, 12);
    EXPECT_EQ(sheet.m_dates.m_expires.wDay, 15);
    EXPECT_EQ(sheet.m_dates.m_expires.wMonth, 3);
    EXPECT_EQ(sheet.m_dates.m_expires.wYear, 2024);
    EXPECT_EQ(sheet.m_dates.m_expires.wHour, 12) << "the time of day stays";
    EXPECT_EQ(sheet.m_layout.m_nOrientation, 1);
}

TEST_F(SampleSheetsTest, QuickSetupSkipsTheFolderPageAndFinishes)
{
    CSetupWizard wizard;
    std::vector<int> pagesSeen;
    CDialogScript script;
    const auto Seen = [&](HWND hSheet) { pagesSeen.push_back(CurrentIndex(hSheet)); };
    script.Then(Seen)
        .Press(ID_WIZNEXT)
        .Then([&](HWND hSheet) {
            Seen(hSheet);
            ExpectPictureMatches(hSheet, "wizard_kind.png");
        })
        .Check(IDC_QUICK)
        .Press(ID_WIZNEXT)
        .Then(Seen)
        .Press(ID_WIZBACK)
        .Then(Seen)
        .Press(ID_WIZNEXT)
        .Then([&](HWND hSheet) {
            Seen(hSheet);
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(hSheet, ID_WIZNEXT)));
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(hSheet, ID_WIZFINISH)));
        })
        .Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(script));
    EXPECT_EQ(wizard.DoModal(), ID_WIZFINISH);
    EXPECT_TRUE(m_driver.ScriptErrors().empty()) << m_driver.ScriptErrors().front();
    EXPECT_EQ(pagesSeen, (std::vector<int> { 0, 1, 3, 1, 3 })) << "the folder page was skipped both ways";
    EXPECT_EQ(wizard.GetPage(2)->GetSafeHwnd(), nullptr) << "never made";
}

TEST_F(SampleSheetsTest, TabWalksIntoTheSheetInsideTheDialogAndOutAgain)
{
    CHostDialog dlg;
    std::vector<int> focusIds;
    m_driver.OnNextDialog([&](HWND hDlg) {
        m_driver.Pump();
        ExpectPictureMatches(hDlg, "host_sheet.png");
        for (int i = 0; i < 6; ++i) {
            focusIds.push_back(GetDlgCtrlID(GetFocus()));
            m_driver.PressKey(VK_TAB);
        }
        // Ctrl+Tab inside the sheet changes its page, the focus following
        // into it; Shift+Tab walks back out.
        m_driver.PressKey(VK_TAB);
        m_driver.PressKey(VK_TAB, CTestDriver::CONTROL);
        focusIds.push_back(GetDlgCtrlID(GetFocus()));
        m_driver.PressKey(VK_TAB, CTestDriver::SHIFT);
        focusIds.push_back(GetDlgCtrlID(GetFocus()));
        EndDialog(hDlg, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    // Name, the page's edit, the sheet's tabs, Refresh, OK, Cancel, and round again.
    const int nTabs = 0x3020;
    EXPECT_EQ(focusIds,
        (std::vector<int> {
            IDC_HOST_NAME, IDC_DETAILS, nTabs, IDC_HOST_REFRESH, IDOK, IDCANCEL, IDC_NOTES, IDC_HOST_NAME }));
}

TEST_F(SampleSheetsTest, TheAnimationMovesOnWithTheClock)
{
    CDialog dlg(IDD_COPYING);
    m_driver.OnNextDialog([&](HWND hDlg) {
        CAnimateCtrl animation;
        animation.Attach(GetDlgItem(hDlg, IDC_ANIMATION));
        CProgressCtrl progress;
        progress.Attach(GetDlgItem(hDlg, IDC_PROGRESS));
        EXPECT_TRUE(animation.Open(IDR_RING));
        EXPECT_TRUE(animation.Play(0, static_cast<UINT>(-1), static_cast<UINT>(-1)));
        progress.SetRange(0, 12);
        progress.SetStep(1);
        const char* const pictures[] = { "copying_0.png", "copying_1.png", "copying_2.png" };
        for (const char* pszPicture : pictures) {
            m_driver.Pump();
            ExpectPictureMatches(hDlg, pszPicture);
            for (int i = 0; i < 3; ++i)
                progress.StepIt();
            m_driver.Advance(300);
        }
        animation.Detach();
        progress.Detach();
        EndDialog(hDlg, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}
