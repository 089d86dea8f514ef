#include "dialogs/documents/CDlgFindFiles.h"

#include "catalog/FolderDocumentSearch.h"
#include "frame/CArchivoraApp.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/MessageMap.h"

BEGIN_MESSAGE_MAP(CDlgFindFiles, CDialog)
    ON_WM_SHOWWINDOW()
    ON_BN_CLICKED(IDC_FIND_FILES_FIND, &CDlgFindFiles::OnFindNow)
    ON_BN_CLICKED(IDC_FIND_FILES_NEW_FOLDER, &CDlgFindFiles::OnNewFolder)
    ON_COMMAND(ID_DOC_OPEN, &CDlgFindFiles::OnOpenDocument)
END_MESSAGE_MAP()

namespace {

// The list's columns: title and share of the list's width in percent.
struct FoundColumn {
    UINT nTitleID;
    int nPercent;
    int nFormat;
};
constexpr FoundColumn FOUND_COLUMNS[] = {
    { IDS_SHELL_LIST_NAME, 28, LVCFMT_LEFT },
    { IDS_SHELL_LIST_FOLDER, 30, LVCFMT_LEFT },
    { IDS_SHELL_LIST_SIZE, 12, LVCFMT_RIGHT },
    { IDS_SHELL_LIST_MODIFIED, 29, LVCFMT_LEFT },
};

} // namespace

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
    m_list.Initialize();
    m_list.SetSystemImageList(LVSIL_SMALL);
    CRect rcList;
    m_list.GetClientRect(&rcList);
    int nColumn = 0;
    for (const FoundColumn& column : FOUND_COLUMNS) {
        m_list.InsertColumn(nColumn++, rcList.Width() * column.nPercent / 100, column.nTitleID, FALSE, GRID_COLUMN_TEXT,
            column.nFormat);
    }
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
    m_list.ClearItems();
    m_found.clear();
    SetDlgItemText(IDC_FIND_FILES_COUNT, _T(""));
}

void CDlgFindFiles::OnOpenDocument()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    const int nRow = m_list.GetNextItem(-1, LVNI_FOCUSED);
    if (!pApp || !m_pCatalog || nRow < 0 || nRow >= static_cast<int>(m_found.size()))
        return;
    const CRecordRef ref = m_found[static_cast<size_t>(nRow)];
    CDocumentRec document(m_pCatalog, ref.nBlock, ref.nSlot);
    if (document.IsValid())
        (void)pApp->OpenItem(document, this); // an opening that fails has said why
}

void CDlgFindFiles::RunSearch()
{
    CFolderSearchQuery query;
    GetDlgItemText(IDC_FIND_FILES_WORDS, query.strWords);
    GetDlgItemText(IDC_FIND_FILES_FOLDER, query.strFolder);
    query.bContents = IsDlgButtonChecked(IDC_FIND_FILES_CONTENTS) == BST_CHECKED;
    CWaitCursor wait;
    m_list.SetRedraw(FALSE);
    m_list.ClearItems();
    m_found.clear();
    m_bSearched = TRUE;
    // A catalogued file that is no longer on disk is not listed: there is nothing to drag.
    const std::vector<CRecordRef> found
        = m_pCatalog ? FindDocumentsInFolder(*m_pCatalog, query) : std::vector<CRecordRef>();
    for (const CRecordRef& ref : found) {
        const CString strPath = CDocumentRec(m_pCatalog, ref.nBlock, ref.nSlot).GetFilePath();
        if (m_list.InsertPath(m_list.GetItemCount(), strPath) >= 0)
            m_found.push_back(ref);
    }
    m_list.RecalcLayout();
    m_list.SetRedraw(TRUE);
    CString strCount;
    strCount.Format(CString(MAKEINTRESOURCE(IDS_FIND_FILES_COUNT)), static_cast<int>(m_found.size()));
    SetDlgItemText(IDC_FIND_FILES_COUNT, strCount);
}
