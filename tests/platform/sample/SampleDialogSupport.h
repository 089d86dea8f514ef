#pragma once

// The sample dialog shared by its headless and X tests: the dialog class with
// its data exchange, the fixture that compiles its resource module, and the
// comparison of a picture of it with the reference.

#include "platform/framework/CDialog.h"

#include "platform/base/ResourceModule.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/StaticControl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Pictures.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowClass.h"
#include "tests/platform/sample/SampleIds.h"
#include "tests/platform/sample/SampleSupport.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

inline constexpr LPCTSTR STATES[] = { "Draft", "Final", "Archived" };
inline constexpr LPCTSTR FOLDERS[] = { "Inbox", "Reports", "Letters" };

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
inline HICON ShownIcon(HWND hDlg)
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
inline POINT Middle(HWND hWnd)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    return POINT { rc.right / 2, rc.bottom / 2 };
}

// The sample's resource module, compiled from sample.rc into a temporary
// folder and made the current resource module.
class SampleDialogFixture : public SampleModuleTest {
protected:
    SampleDialogFixture()
        : SampleModuleTest("sample.rc")
    {
    }
};
