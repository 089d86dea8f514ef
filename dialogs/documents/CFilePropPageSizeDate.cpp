#include "dialogs/documents/CFilePropPageSizeDate.h"

#include "dialogs/documents/DocumentRow.h"
#include "dialogs/documents/FormatFileSize.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"

#include "platform/base/CFile.h"
#include "platform/base/CTime.h"

IMPLEMENT_DYNCREATE(CFilePropPageSizeDate, CPropertyPage)

namespace {

// The date-time and date forms of the page.
constexpr char TIME_FORMAT[] = "%#c";
constexpr char DATE_FORMAT[] = "%#x";

CString FormatTime(LONGLONG tTime, const char* pszFormat)
{
    return tTime > 0 ? CTime(static_cast<time_t>(tTime)).Format(pszFormat) : CString();
}

} // namespace

CFilePropPageSizeDate::CFilePropPageSizeDate()
    : CPropertyPage(IDD_FILE_SIZE_DATE)
{
}

void CFilePropPageSizeDate::SetDocument(CDocumentRec* pDocument, BOOL bRecycle)
{
    m_pDocument = pDocument;
    m_bRecycle = bRecycle;
}

void CFilePropPageSizeDate::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_COPY_NAME, m_strCopyName);
    DDX_Text(pDX, IDC_SIZE, m_strSize);
    DDX_Text(pDX, IDC_ACCESSED, m_strAccessed);
    DDX_Text(pDX, IDC_CREATED, m_strCreated);
    DDX_Text(pDX, IDC_MODIFIED, m_strModified);
}

BOOL CFilePropPageSizeDate::OnInitDialog()
{
    if (!m_pDocument->IsMail())
        m_strCopyName = m_pDocument->GetCopyName();
    const BOOL bShown = m_bRecycle ? ReadRecycledCopy() : ReadDocument();
    CPropertyPage::OnInitDialog();
    if (!bShown) {
        DisableLabels();
        return TRUE;
    }
    if (m_bRecycle) {
        CString strKept;
        strKept.LoadString(IDS_KEPT_COPY_LABEL);
        SetDlgItemText(IDC_MODIFIED_LABEL, strKept);
        GetDlgItem(IDC_ACCESSED_LABEL)->ShowWindow(SW_HIDE);
    } else if (m_pDocument->IsMail()) {
        GetDlgItem(IDC_ACCESSED_LABEL)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_MODIFIED_LABEL)->ShowWindow(SW_HIDE);
    }
    return TRUE;
}

BOOL CFilePropPageSizeDate::ReadRecycledCopy()
{
    const CString strPath = DocumentDisplayPath(*m_pDocument);
    if (strPath.IsEmpty() || strPath[0] == '\\')
        return FALSE;
    CString strFolder;
    strFolder.LoadString(IDS_RECYCLE_FOLDER_NAME);
    CFileStatus status {};
    if (!CFile::GetStatus(strPath.Left(3) + strFolder + "\\" + m_strCopyName, status))
        return FALSE;
    m_strCreated = status.m_ctime.Format(TIME_FORMAT);
    m_strModified = status.m_mtime.Format(TIME_FORMAT);
    m_strSize = FormatFileSize(static_cast<std::int64_t>(status.m_size));
    return TRUE;
}

BOOL CFilePropPageSizeDate::ReadDocument()
{
    if (!m_pDocument->IsMail())
        m_pDocument->RefreshState();
    const int nState = m_pDocument->GetExpiryState(FALSE);
    if (nState == EXPIRY_MAIL_DELETED || nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE)
        return FALSE;
    const CDocumentState& state = m_pDocument->LoadState();
    if (!m_pDocument->IsMail()) {
        m_strModified = FormatTime(state.tModified, TIME_FORMAT);
        m_strAccessed = FormatTime(state.tAccessed, DATE_FORMAT);
    }
    if (state.nSize >= 0)
        m_strSize = FormatFileSize(state.nSize);
    m_strCreated = FormatTime(state.tCreated, TIME_FORMAT);
    return TRUE;
}

void CFilePropPageSizeDate::DisableLabels()
{
    for (int nId : { IDC_SIZE_LABEL, IDC_CREATED_LABEL, IDC_MODIFIED_LABEL, IDC_ACCESSED_LABEL })
        GetDlgItem(nId)->EnableWindow(FALSE);
}
