#include "dialogs/documents/CDlgFindFiles.h"

#include "catalog/FolderDocumentSearch.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/MessageMap.h"

#include <memory>

BEGIN_MESSAGE_MAP(CDlgFindFiles, CDialog)
    ON_WM_SHOWWINDOW()
    ON_BN_CLICKED(IDC_FIND_FILES_FIND, &CDlgFindFiles::OnFindNow)
    ON_BN_CLICKED(IDC_FIND_FILES_NEW_FOLDER, &CDlgFindFiles::OnNewFolder)
END_MESSAGE_MAP()

CDlgFindFiles::CDlgFindFiles(LPCTSTR pszFolder, CCatalog* pCatalog, CWnd* pParent)
    : CDialog(IDD_FIND_FILES, pParent)
    , m_pCatalog(pCatalog)
    , m_pParentWnd(pParent)
    , m_strStartFolder(pszFolder)
{
}

BOOL CDlgFindFiles::CreateHidden()
{
    return Create(IDD_FIND_FILES, m_pParentWnd);
}

void CDlgFindFiles::ShowFinder()
{
    ShowWindow(SW_SHOW);
    SetForegroundWindow();
}

BOOL CDlgFindFiles::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_FIND_FILES_LIST, this);
    CRect rcList;
    m_list.GetClientRect(&rcList);
    const int cxName = rcList.Width() * 2 / 5;
    m_list.InsertColumn(0, CString(MAKEINTRESOURCE(IDS_FIND_FILES_NAME)), LVCFMT_LEFT, cxName);
    m_list.InsertColumn(1, CString(MAKEINTRESOURCE(IDS_FIND_FILES_FOLDER)), LVCFMT_LEFT, rcList.Width() - cxName);
    SetDlgItemText(IDC_FIND_FILES_FOLDER, m_strStartFolder);
    return TRUE;
}

void CDlgFindFiles::SetStartFolder(LPCTSTR pszFolder)
{
    m_strStartFolder = pszFolder;
    if (::IsWindow(GetSafeHwnd())) {
        SetDlgItemText(IDC_FIND_FILES_FOLDER, m_strStartFolder);
        Refresh();
    }
}

void CDlgFindFiles::OnCatalogChanged(CCatalog* pCatalog)
{
    m_pCatalog = pCatalog;
    if (!::IsWindow(GetSafeHwnd()))
        return;
    if (IsWindowVisible())
        Refresh();
    else
        m_bRefreshPending = TRUE;
}

void CDlgFindFiles::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CDialog::OnShowWindow(bShow, nStatus);
    if (bShow && m_bRefreshPending) {
        m_bRefreshPending = FALSE;
        Refresh();
    }
}

void CDlgFindFiles::OnNewFolder()
{
    CString strFolder;
    GetDlgItemText(IDC_FIND_FILES_FOLDER, strFolder);
    // The path goes as typed: host folders may differ by case alone.
    if (GetFramePrompts().NewFolder(strFolder.Trim()) == 1)
        Refresh();
}

void CDlgFindFiles::Refresh()
{
    if (m_bSearched) {
        RunSearch();
        return;
    }
    m_list.DeleteAllItems();
    m_found.clear();
    SetDlgItemText(IDC_FIND_FILES_COUNT, _T(""));
}

void CDlgFindFiles::RunSearch()
{
    CFolderSearchQuery query;
    GetDlgItemText(IDC_FIND_FILES_WORDS, query.strWords);
    GetDlgItemText(IDC_FIND_FILES_FOLDER, query.strFolder);
    query.bContents = IsDlgButtonChecked(IDC_FIND_FILES_CONTENTS) == BST_CHECKED;
    CWaitCursor wait;
    m_list.DeleteAllItems();
    m_found = m_pCatalog ? FindDocumentsInFolder(*m_pCatalog, query) : std::vector<CRecordRef>();
    m_bSearched = TRUE;
    m_list.SetRedraw(FALSE);
    int nRow = 0;
    for (const CRecordRef& ref : m_found) {
        const auto pDocument = std::make_unique<CDocumentRec>(m_pCatalog, ref.nBlock, ref.nSlot);
        CString strName;
        pDocument->GetFullPath(strName);
        const int nItem = m_list.InsertItem(nRow++, strName);
        m_list.SetItemText(nItem, 1, pDocument->GetDirectoryPath(TRUE));
    }
    m_list.SetRedraw(TRUE);
    CString strCount;
    strCount.Format(CString(MAKEINTRESOURCE(IDS_FIND_FILES_COUNT)), static_cast<int>(m_found.size()));
    SetDlgItemText(IDC_FIND_FILES_COUNT, strCount);
}
