#include "dialogs/documents/CDlgDocumentProperties.h"

#include "catalog/CPendingDocs.h"
#include "dialogs/documents/DocumentRow.h"
#include "frame/AppMessages.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CLogFile.h"
#include "store/DocumentBackup.h"
#include "store/PathHelpers.h"
#include "ui/CGroupPopupWnd.h"
#include "ui/CPopupFolderPicker.h"
#include "ui/CUiHostServices.h"
#include "ui/ChildPropertySheet.h"
#include "ui/DocumentIcons.h"

#include "platform/base/CFileException.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"

#include <cstring>

BEGIN_MESSAGE_MAP(CDlgDocumentProperties, CDialog)
    ON_BN_CLICKED(IDC_GROUPS_BUTTON, &CDlgDocumentProperties::OnGroups)
END_MESSAGE_MAP()

namespace {

// The pending entry's flags for a path, 0 when it is not pending.
DWORD PendingFlags(const CString& strPath)
{
    CUiHostServices* pHost = GetUiHostServices();
    CPendingDocs* pPending = pHost != nullptr ? pHost->GetPendingDocs() : nullptr;
    const int nEntry = pPending != nullptr ? pPending->FindEntry(strPath) : -1;
    return nEntry >= 0 ? pPending->GetEntry(nEntry).dwFlags : 0;
}

// Copies a text into an information field, cut at a character boundary.
template<size_t N> void SetField(char (&field)[N], const CString& strText)
{
    Utf8CopyToField(field, N, strText, FieldEnd::NulTerminated);
}

} // namespace

CDlgDocumentProperties::CDlgDocumentProperties(CDocumentRec* pDocument, BOOL bRecycle, CWnd* pParent)
    : CDialog(IDD_DOCUMENT_PROPERTIES, pParent)
    , m_pDocument(pDocument)
    , m_strPath(DocumentDisplayPath(*pDocument))
    , m_bRecycle(bRecycle)
{
    CorrectPasswordFromHeader();
    m_sheet.m_general.SetDocument(m_pDocument, m_bRecycle);
    m_sheet.m_attributes.SetDocument(std::unique_ptr<CDocumentRec>(m_pDocument->Clone()), m_strPath, m_bRecycle);
    m_sheet.m_sizeDate.SetDocument(m_pDocument, m_bRecycle);
}

CDlgDocumentProperties::~CDlgDocumentProperties() = default;

std::unique_ptr<CDocumentRec> CDlgDocumentProperties::DetachMovedDocument()
{
    return std::move(m_pMoved);
}

void CDlgDocumentProperties::CorrectPasswordFromHeader()
{
    if (m_pDocument->IsMail() || !m_pDocument->IsProtected())
        return;
    const CString strFile = m_pDocument->GetFilePath();
    // A file open from the catalog lacks its protection on purpose: its
    // record keeps the password the file gets back.
    if ((PendingFlags(strFile) & CPendingDocs::FLAG_UNPROTECTED) != 0)
        return;
    CString strHeader;
    try {
        ReadProtectedFileHeader(strFile, strHeader);
    } catch (CFileException* pException) {
        pException->Delete();
        return;
    }
    CDocumentInfo info {};
    if (m_pDocument->GetInfo(&info) == nullptr || strHeader == info.szPassword)
        return;
    if (strHeader.GetLength() >= static_cast<int>(sizeof(info.szPassword))) {
        archivora::g_log.Printf("Properties: the header password of %s does not fit its record; kept as it was\n",
            static_cast<LPCTSTR>(strFile));
        return;
    }
    SetField(info.szPassword, strHeader);
    if (!m_pDocument->UpdateInfo(info))
        return;
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(g_nMsgReread, 0, 0);
}

void CDlgDocumentProperties::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NODE_PATH, m_nodePath);
    DDX_Control(pDX, IDC_GROUPS_BUTTON, m_groups);
    DDX_Text(pDX, IDC_DOCUMENT_PATH, m_strPath);
}

BOOL CDlgDocumentProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowDocumentRow(*this, GetDocumentIcon(*m_pDocument), m_strPath);
    CreateChildPropertySheet(this, &m_sheet, WS_CHILD | WS_VISIBLE, 0);
    PlaceChildPropertySheet(this, &m_sheet, IDC_SHEET_PLACEHOLDER);
    CNodeRecArray nodes;
    if (m_pDocument->CountNodeLinks(FALSE) == 1) {
        for (auto& pNode : m_pDocument->GetLinkedNodes()) {
            if (!CNodeRec::IsFixedNodeRef(pNode->GetRef()) || pNode->GetRef().nBlock > CNodeRec::FAVOURITES_NODE_BLOCK)
                nodes.push_back(std::move(pNode));
        }
    }
    const BOOL bOneGroup = nodes.size() == 1;
    if (bOneGroup)
        m_nodePath.SetNode(nodes.front().get());
    m_nodePath.ShowWindow(bOneGroup ? SW_SHOW : SW_HIDE);
    m_groups.ShowWindow(bOneGroup ? SW_HIDE : SW_SHOW);
    return TRUE;
}

void CDlgDocumentProperties::OnOK()
{
    if (m_bRecycle) {
        CDialog::OnOK();
        return;
    }
    if (CPropertyPage* pActive = m_sheet.GetActivePage(); pActive != nullptr && !pActive->UpdateData(TRUE))
        return;
    GotoDlgCtrl(GetDlgItem(IDOK));
    const CFilePropPageGeneral& general = m_sheet.m_general;
    if (!MoveIfRelocated(general.m_strLocation))
        return;
    const CDocumentAttributes attributes = m_sheet.m_attributes.GetAttributes();
    const LONG nOldExpiry = m_pDocument->GetExpiry() > 0 ? m_pDocument->GetExpiry() : 0;

    // The password first, on the file and the record together, so the
    // information written next holds the password now in force.
    if (attributes.strPassword != m_pDocument->GetPassword())
        ChangePassword(attributes.strPassword);

    CDocumentInfo info {};
    if (m_pDocument->GetInfo(&info) == nullptr)
        return;
    SetField(info.szDescription, general.m_strDescription);
    SetField(info.szSecondary, general.IsMail() ? general.m_strComboText : general.m_strSecondary);
    info.nExpiry = static_cast<LONG>(attributes.nExpiry);
    if (!m_pDocument->IsMail())
        info.nVersion = attributes.nVersion;
    info.dwOpenAction = attributes.dwOpenAction;
    if (!m_pDocument->UpdateInfo(info))
        return;

    if (general.m_bFavorite != m_pDocument->IsUnderTopNode2()) {
        std::unique_ptr<CNodeRec> pFavorites(CNodeRec::NewTopNodeRec2(m_pDocument->GetCatalog()));
        if (pFavorites != nullptr) {
            if (general.m_bFavorite)
                pFavorites->AddDocument(m_pDocument);
            else
                pFavorites->DeleteLinks(m_pDocument);
        }
    }
    if (info.nExpiry != nOldExpiry)
        m_bChanged = TRUE;
    CDialog::OnOK();
}

BOOL CDlgDocumentProperties::MoveIfRelocated(const CString& strLocation)
{
    if (m_pDocument->IsMail())
        return TRUE;
    CString strCurrent;
    m_pDocument->GetLabel(strCurrent);
    const CString strTarget = AddBackslash(strLocation);
    if (strTarget.CompareNoCase(AddBackslash(strCurrent)) == 0)
        return TRUE;
    CDocumentRec* pMoved = MoveDocumentFiles(m_pDocument, strTarget);
    if (pMoved == nullptr) {
        m_sheet.SetActivePage(&m_sheet.m_general);
        return FALSE;
    }
    m_pMoved.reset(pMoved);
    m_pDocument = pMoved;
    m_strPath = DocumentDisplayPath(*m_pDocument);
    m_bChanged = TRUE;
    return TRUE;
}

void CDlgDocumentProperties::ChangePassword(const CString& strNew)
{
    const CString strOld = m_pDocument->GetPassword();
    CUiHostServices* pHost = GetUiHostServices();
    CPendingDocs* pPending = pHost != nullptr ? pHost->GetPendingDocs() : nullptr;
    const int nResult = pPending != nullptr ? pPending->ChangeProtection(*m_pDocument, strNew)
                                            : m_pDocument->ChangeProtection(strNew, strOld);
    // An unprotected file losing a password it did not have is no failure.
    if (nResult != PROTECT_OK && !(nResult == PROTECT_NOT_PROTECTED && strNew.IsEmpty()))
        ReportProtectError(m_pDocument->GetFilePath(), nResult);
}

void CDlgDocumentProperties::OnGroups()
{
    if (m_bBusy)
        return;
    m_bBusy = TRUE;
    CGroupPopupWnd popup;
    if (popup.Create(this)) {
        popup.GetGroupList().FillGroups(m_pDocument);
        TrackPopupUnderButton(popup, m_groups);
    }
    m_bBusy = FALSE;
}
