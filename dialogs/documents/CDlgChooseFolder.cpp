#include "dialogs/documents/CDlgChooseFolder.h"

#include "dialogs/documents/DocumentRow.h"
#include "dialogs/documents/DocumentUnlock.h"
#include "dialogs/documents/FolderListForm.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CMainFrame.h"
#include "monitor/MonitorPause.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/FileHelpers.h"
#include "store/PathHelpers.h"
#include "ui/CFileOpNameMappings.h"
#include "ui/DocumentIcons.h"
#include "ui/KickIdle.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TimeFunctions.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/shell/FileOperation.h"

#include <string>

BEGIN_MESSAGE_MAP(CDlgChooseFolder, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CDlgChooseFolder::OnKickIdle)
    ON_UPDATE_COMMAND_UI(IDOK, &CDlgChooseFolder::OnUpdateOK)
    ON_BN_CLICKED(IDC_BROWSE, &CDlgChooseFolder::OnBrowse)
END_MESSAGE_MAP()

namespace {

constexpr int MAX_DESCRIPTION = 259;

} // namespace

CDlgChooseFolder::CDlgChooseFolder(UINT nIDCaption, CDocumentRec* pDocument, CWnd* pParent)
    : CDialog(IDD_CHOOSE_FOLDER, pParent)
    , m_pDocument(pDocument)
    , m_nIDCaption(nIDCaption)
{
    m_pDocument->GetFullPath(m_strName);
    m_strTarget = m_pDocument->GetDirectoryPath(TRUE);
}

CDlgChooseFolder::~CDlgChooseFolder() = default;

void CDlgChooseFolder::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BROWSE, m_browse);
    DDX_Text(pDX, IDC_NEW_NAME, m_strNewName);
    DDX_Text(pDX, IDC_TARGET_PATH, m_strTarget);
    DDX_Text(pDX, IDC_COPY_DESCRIPTION, m_strDescription);
    DDV_MaxChars(pDX, m_strDescription, MAX_DESCRIPTION);
}

BOOL CDlgChooseFolder::OnInitDialog()
{
    const int nUnlock = UnlockDocument(*m_pDocument, this, m_strPassword);
    if (nUnlock != UNLOCK_OPEN && nUnlock != UNLOCK_UNPROTECTED) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    CString strPrefix;
    strPrefix.LoadString(IDS_COPY_NAME_PREFIX);
    m_strNewName = strPrefix + m_strName;
    m_pDocument->GetNameWithLocation(m_strDescription);
    CDialog::OnInitDialog();
    ShowDocumentRow(*this, GetDocumentIcon(*m_pDocument), DocumentDisplayPath(*m_pDocument));
    CString strCaption;
    strCaption.LoadString(m_nIDCaption);
    SetWindowText(strCaption);
    return TRUE;
}

LRESULT CDlgChooseFolder::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}

void CDlgChooseFolder::OnUpdateOK(CCmdUI* pCmdUI)
{
    CString strName;
    GetDlgItemText(IDC_NEW_NAME, strName);
    // A name with a "\" would put the copy outside the chosen folder.
    pCmdUI->Enable(!strName.IsEmpty() && strName != m_strName && IsValidFileName(strName) && strName.Find('\\') < 0);
}

void CDlgChooseFolder::OnOK()
{
    if (!UpdateData(TRUE) || !CheckTarget() || !CheckName() || !CopyFile() || !UnprotectCopy())
        return;
    if (!m_bRemovable)
        CatalogCopy();
    EndDialog(IDOK);
}

BOOL CDlgChooseFolder::CheckTarget()
{
    const DWORD dwFolder = CheckFolder(m_strTarget, FOLDER_WRITABLE | FOLDER_REMOVABLE | FOLDER_LONG_NAMES);
    UINT nMessage = 0;
    if ((dwFolder & FOLDER_UNUSABLE) != 0)
        nMessage = IDS_DEFAULT_FOLDER_MISSING;
    else if ((dwFolder & FOLDER_WRITABLE) == 0)
        nMessage = IDS_DEFAULT_FOLDER_READ_ONLY;
    else if ((dwFolder & FOLDER_MISSING) != 0)
        nMessage = IDS_COPY_FOLDER_MISSING;
    if (nMessage != 0) {
        AfxMessageBox(nMessage, MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(IDC_TARGET_PATH));
        return FALSE;
    }
    m_bRemovable = (dwFolder & FOLDER_REMOVABLE) != 0;
    return !m_bRemovable || AfxMessageBox(IDS_COPY_TO_REMOVABLE, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

BOOL CDlgChooseFolder::CheckName()
{
    CString strBase, strExtension, strSourceBase, strSourceExtension;
    SplitFileName(m_strNewName, strBase, strExtension);
    SplitFileName(m_strName, strSourceBase, strSourceExtension);
    if (strExtension.IsEmpty() && m_strNewName.Find('.') < 0) {
        if (!strSourceExtension.IsEmpty())
            m_strNewName += "." + strSourceExtension;
        return TRUE;
    }
    return strExtension.CompareNoCase(strSourceExtension) == 0
        || AfxMessageBox(IDS_COPY_OTHER_EXTENSION, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

BOOL CDlgChooseFolder::CopyFile()
{
    const std::string strFrom = std::string(m_pDocument->GetFilePath()) + '\0';
    const CString strTo = AddBackslash(m_strTarget) + m_strNewName;
    CWnd* pMainWnd = AfxGetMainWnd();
    SHFILEOPSTRUCT operation {};
    operation.hwnd = pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : GetSafeHwnd();
    operation.wFunc = FO_COPY;
    operation.pFrom = strFrom.c_str();
    operation.pTo = strTo;
    operation.fFlags = FOF_WANTMAPPINGHANDLE | FOF_ALLOWUNDO;
    int nResult = 0;
    {
        // The copy is the program's own doing: the new-document monitor does not report it.
        CArchivoraApp* pApp = GetArchivoraApp();
        CMainFrame* pFrame = pApp != nullptr ? pApp->GetMainFrame() : nullptr;
        const CMonitorPause pause(pFrame != nullptr ? &pFrame->GetMonitor() : nullptr);
        nResult = SHFileOperation(&operation);
    }
    if (nResult != 0 || operation.fAnyOperationsAborted)
        return FALSE;
    m_strCopyPath = strTo;
    CFileOpNameMappings mappings(operation.hNameMappings);
    if (const SHNAMEMAPPINGW* pMapping = mappings.GetFirst()) {
        mappings.GetNewPath(pMapping, m_strCopyPath);
        CString strFolder;
        SplitPath(m_strCopyPath, strFolder, m_strNewName);
        m_strTarget = strFolder;
    }
    return TRUE;
}

BOOL CDlgChooseFolder::UnprotectCopy()
{
    if (m_strPassword.IsEmpty() || m_pDocument->IsMail())
        return TRUE;
    const int nResult = ProtectFile(m_strCopyPath, "", m_strPassword);
    if (nResult != PROTECT_OK && nResult != PROTECT_NOT_PROTECTED) {
        ReportProtectError(m_strNewName, nResult);
        // A protected copy under a new name helps nobody: it goes again.
        (void)DeleteFile(m_strCopyPath);
        return FALSE;
    }
    // The copy gets back the attributes the original had before it was protected.
    CDocumentInfo info {};
    if (m_pDocument->GetInfo(&info) != nullptr)
        (void)SetFileAttributes(m_strCopyPath, info.dwAttributes != 0 ? info.dwAttributes : FILE_ATTRIBUTE_NORMAL);
    return TRUE;
}

void CDlgChooseFolder::CatalogCopy()
{
    CCatalog* pCatalog = m_pDocument->GetCatalog();
    // An entry left at the copy's path (its file was gone) gives way to the copy.
    if (std::unique_ptr<CDocumentRec> pOld(pCatalog->FindPath(m_strCopyPath)); pOld != nullptr)
        std::unique_ptr<CDocumentRec>(pOld->Clone())->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE);
    CDocumentInfo info {};
    info.wType = DOCUMENT_FILE;
    Utf8CopyToField(info.szName, sizeof(info.szName), m_strNewName, FieldEnd::NulTerminated);
    Utf8CopyToField(info.szDescription, sizeof(info.szDescription), m_strDescription, FieldEnd::NulTerminated);
    // One unit after now, carried into the high half.
    GetSystemTimeAsFileTime(&info.ftCatalogTime);
    if (++info.ftCatalogTime.dwLowDateTime == 0)
        ++info.ftCatalogTime.dwHighDateTime;
    m_pCopy.reset(pCatalog->FindOrAddDocument(AddBackslash(m_strTarget), m_strNewName, &info));
    if (m_pCopy == nullptr)
        return;
    for (const auto& pNode : m_pDocument->GetLinkedNodes()) {
        const CRecordRef ref = pNode->GetRef();
        const bool bServiceNode = CNodeRec::IsFixedNodeRef(ref)
            && (ref.nBlock == CNodeRec::EXPIRING_NODE_BLOCK || ref.nBlock == CNodeRec::FAVOURITES_NODE_BLOCK);
        if (!bServiceNode)
            pNode->AddDocument(m_pCopy.get());
    }
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->SendMessage(g_nMsgRedo, 0, 0);
}

void CDlgChooseFolder::OnBrowse()
{
    CString strFolder;
    if (m_picker.Pick(m_browse, strFolder))
        SetDlgItemText(IDC_TARGET_PATH, ListFolderForm(strFolder));
}
