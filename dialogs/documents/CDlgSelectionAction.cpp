#include "dialogs/documents/CDlgSelectionAction.h"

#include "catalog/CCatalogPrompts.h"
#include "dialogs/documents/CDlgConfirmOperation.h"
#include "resources/ResourceIds.h"

#include "platform/controls/StaticControl.h"
#include "platform/gdi/Icons.h"

CDlgSelectionAction::CDlgSelectionAction(int nKind, LPCTSTR pszText, BOOL bWarn, CWnd* pParent)
    : CDialog(IDD_SELECTION_ACTION, pParent)
    , m_nKind(nKind)
    , m_strText(pszText)
    , m_bWarn(bWarn)
{
}

BOOL CDlgSelectionAction::OnInitDialog()
{
    if (m_bWarn) {
        CDlgConfirmOperation warning(GetParent());
        if (warning.DoModal() != IDOK) {
            EndDialog(IDCANCEL);
            return TRUE;
        }
    }
    CDialog::OnInitDialog();
    UINT nCaption = IDS_SELECTION_NODE;
    if (m_nKind == CCatalogPrompts::SELECTION_ITEM || m_nKind == CCatalogPrompts::SELECTION_REMOVABLE_ITEM)
        nCaption = IDS_SELECTION_ITEM;
    else if (m_nKind == CCatalogPrompts::SELECTION_ITEMS || m_nKind == CCatalogPrompts::SELECTION_REMOVABLE_ITEMS)
        nCaption = IDS_SELECTION_ITEMS;
    CString strCaption;
    strCaption.LoadString(nCaption);
    SetWindowText(strCaption);
    SetDlgItemText(IDC_SELECTION_TEXT, m_strText);
    // Entries for the recycle bin show the question, entries deleted for good the warning.
    const BOOL bForGood = m_nKind >= CCatalogPrompts::SELECTION_REMOVABLE_ITEM;
    const int nShown = bForGood ? IDC_SELECTION_FOR_GOOD : IDC_SELECTION_TO_BIN;
    const int nHidden = bForGood ? IDC_SELECTION_TO_BIN : IDC_SELECTION_FOR_GOOD;
    SendDlgItemMessage(
        nShown, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, bForGood ? IDI_WARNING : IDI_QUESTION)), 0);
    GetDlgItem(nHidden)->ShowWindow(SW_HIDE);
    return TRUE;
}
