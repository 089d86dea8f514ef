// A program's dialog end to end: a template from a compiled resource script,
// run modally, filled in by the test driver as a user would, read back
// through data exchange, and its picture compared with a reference.

#include "platform/framework/CDialog.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/StaticControl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Pictures.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowClass.h"
#include "tests/platform/sample/SampleIds.h"
#include "tests/platform/sample/SampleSupport.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr LPCTSTR STATES[] = { "Draft", "Final", "Archived" };
constexpr LPCTSTR FOLDERS[] = { "Inbox", "Reports", "Letters" };

class CDlgDocumentProperties : public CDialog {
public:
    CDlgDocumentProperties()
        : CDialog(IDD_DOCUMENT_PROPERTIES)
    {
    }

    CString m_strTitle { "Annual report" };
    int m_nReadOnly { BST_UNCHECKED };
    int m_nKind { 1 };
    CString m_strState { "Final" };
    int m_nFolder { 0 };

protected:
    BOOL OnInitDialog() override
    {
        for (LPCTSTR lpszState : STATES)
            ::SendDlgItemMessage(m_hWnd, IDC_STATE, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszState));
        for (LPCTSTR lpszFolder : FOLDERS)
            ::SendDlgItemMessage(m_hWnd, IDC_FOLDER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszFolder));
        return CDialog::OnInitDialog();
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_TITLE, m_strTitle);
        DDV_MaxChars(pDX, m_strTitle, 40);
        DDX_Check(pDX, IDC_READ_ONLY, m_nReadOnly);
        DDX_Radio(pDX, IDC_KIND_LETTER, m_nKind);
        DDX_LBString(pDX, IDC_STATE, m_strState);
        DDX_CBIndex(pDX, IDC_FOLDER, m_nFolder);
    }
};

// The icon that the dialog's SS_ICON control shows; NULL when it has none.
HICON ShownIcon(HWND hDlg)
{
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[16] {};
        GetClassName(hChild, szClass, sizeof(szClass));
        if (std::string_view(szClass) == "Static" && (GetWindowLongPtr(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(SendMessage(hChild, STM_GETICON, 0, 0));
    }
    return nullptr;
}

// The middle of a control, in its client coordinates.
POINT Middle(HWND hWnd)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    return POINT { rc.right / 2, rc.bottom / 2 };
}

// The sample's resource module, compiled from sample.rc into a temporary
// folder and made the current resource module.
class SampleDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hModule = LoadSampleModule("sample.rc", m_folder);
        ASSERT_NE(m_hModule, nullptr);
        m_hPrevious = AfxGetResourceHandle();
        AfxSetResourceHandle(m_hModule);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(m_hPrevious);
        if (m_hModule)
            FreeLibrary(m_hModule);
    }

    // Compares the window's picture, frame included, with the reference.
    void ExpectPictureMatches(HWND hWnd, const char* pszReference)
    {
        if (std::optional<std::string> mismatch = PictureMismatch(CaptureWindowImage(hWnd), pszReference, m_folder))
            ADD_FAILURE() << *mismatch;
    }

    TempFolder m_folder;
    HMODULE m_hModule { nullptr };
    HINSTANCE m_hPrevious { nullptr };
};

}

TEST_F(SampleDialogTest, ValuesTypedAndClickedComeBackThroughDataExchangeOnOk)
{
    CTestDriver driver;
    CDlgDocumentProperties dlg;
    bool bShownAsLoaded = false;
    driver.OnNextDialog([&](HWND hDlg) {
        HWND hTitle = GetDlgItem(hDlg, IDC_TITLE);
        bShownAsLoaded = CTestDriver::Text(hTitle) == "Annual report" && GetFocus() == hTitle
            && CTestDriver::IsChecked(GetDlgItem(hDlg, IDC_KIND_INVOICE))
            && SendDlgItemMessage(hDlg, IDC_STATE, LB_GETCURSEL, 0, 0) == 1
            && SendDlgItemMessage(hDlg, IDC_FOLDER, CB_GETCURSEL, 0, 0) == 0 && ShownIcon(hDlg) != nullptr;
        // The title is selected on entry, so typing replaces it.
        driver.TypeText("Quarterly report");
        HWND hReadOnly = GetDlgItem(hDlg, IDC_READ_ONLY);
        driver.Click(hReadOnly, Middle(hReadOnly).x, Middle(hReadOnly).y);
        HWND hOther = GetDlgItem(hDlg, IDC_KIND_OTHER);
        driver.Click(hOther, Middle(hOther).x, Middle(hOther).y);
        HWND hState = GetDlgItem(hDlg, IDC_STATE);
        RECT rcItem {};
        SendMessage(hState, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rcItem));
        driver.Click(hState, rcItem.left + 5, (rcItem.top + rcItem.bottom) / 2);
        // A drop-down list takes the arrow keys without opening.
        HWND hFolder = GetDlgItem(hDlg, IDC_FOLDER);
        SetFocus(hFolder);
        driver.PressKey(VK_DOWN);
        driver.Pump();
        ExpectPictureMatches(hDlg, "document_properties.png");
        HWND hOk = GetDlgItem(hDlg, IDOK);
        driver.Click(hOk, Middle(hOk).x, Middle(hOk).y);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(bShownAsLoaded) << "the members went into the controls before the user saw them";
    EXPECT_STREQ(dlg.m_strTitle, "Quarterly report");
    EXPECT_EQ(dlg.m_nReadOnly, BST_CHECKED);
    EXPECT_EQ(dlg.m_nKind, 2);
    EXPECT_STREQ(dlg.m_strState, "Archived");
    EXPECT_EQ(dlg.m_nFolder, 1);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST_F(SampleDialogTest, EscapeLeavesTheMembersAsTheyWere)
{
    CTestDriver driver;
    CDlgDocumentProperties dlg;
    driver.OnNextDialog([&](HWND hDlg) {
        driver.TypeText("Scratch");
        HWND hReadOnly = GetDlgItem(hDlg, IDC_READ_ONLY);
        driver.Click(hReadOnly, Middle(hReadOnly).x, Middle(hReadOnly).y);
        driver.PressKey(VK_ESCAPE);
    });
    ASSERT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_strTitle, "Annual report");
    EXPECT_EQ(dlg.m_nReadOnly, BST_UNCHECKED);
    EXPECT_EQ(dlg.m_nKind, 1);
    EXPECT_STREQ(dlg.m_strState, "Final");
}

TEST_F(SampleDialogTest, TheTitleTakesNoMoreThanItsCheckAllows)
{
    CTestDriver driver;
    CDlgDocumentProperties dlg;
    driver.OnNextDialog([&](HWND hDlg) {
        // Loading the check limits the edit, so the user cannot type past it.
        driver.TypeText("A title of far more than forty characters in all");
        HWND hOk = GetDlgItem(hDlg, IDOK);
        driver.Click(hOk, Middle(hOk).x, Middle(hOk).y);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_strTitle, "A title of far more than forty character");
}
