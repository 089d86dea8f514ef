#include "dialogs/setup/CInstalacaoFolder.h"

#include "dialogs/setup/CInstalacaoDocumentos.h"
#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "dialogs/setup/NoticeLook.h"
#include "resources/ResourceIds.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/gdi/SysColors.h"

namespace {

// The controls shown with a filled tree; the empty tree shows the other two.
constexpr UINT FILLED_TREE_CONTROLS[] = { IDC_SETUP_FOLDER_TREE, IDC_SETUP_FOLDERS_TEXT1, IDC_SETUP_FOLDERS_TEXT2,
    IDC_SETUP_FOLDERS_LABEL, IDC_SETUP_LEGEND1, IDC_SETUP_LEGEND2, IDC_SETUP_LEGEND3, IDC_SETUP_PICTURE2,
    IDC_SETUP_PICTURE3, IDC_SETUP_PICTURE4 };
constexpr UINT EMPTY_TREE_CONTROLS[] = { IDC_SETUP_PICTURE1, IDC_SETUP_FOLDERS_EMPTY };

// The legend's images of IDB_CHECK_STATES, whose image n shows check state n + 1.
constexpr int IMAGE_CHECKED = CCheckTreeCtrl::STATE_CHECKED - 1;
constexpr int IMAGE_PART = CCheckTreeCtrl::STATE_CHECKED_PARTLY - 1;
constexpr int IMAGE_LEFT_OUT = CCheckTreeCtrl::STATE_EXCLUDED - 1;

BOOL SameKeys(const CMapStringToPtr& map1, const CMapStringToPtr& map2)
{
    if (map1.GetCount() != map2.GetCount())
        return FALSE;
    for (POSITION pos = map2.GetStartPosition(); pos;) {
        CString strKey;
        void* pValue = nullptr;
        map2.GetNextAssoc(pos, strKey, pValue);
        if (!map1.Lookup(strKey, pValue))
            return FALSE;
    }
    return TRUE;
}

} // namespace

CInstalacaoFolder::CInstalacaoFolder()
    : CInstPropPage(IDD_SETUP_FOLDERS)
{
    SetPageInfo(IDB_SETUP_FOLDERS, PSWIZB_BACK | PSWIZB_NEXT);
}

void CInstalacaoFolder::DoDataExchange(CDataExchange* pDX)
{
    CInstPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_FOLDER_TREE, m_tree);
    DDX_Control(pDX, IDC_SETUP_FOLDERS_EMPTY, m_emptyLabel);
    DDX_Control(pDX, IDC_SETUP_FOLDERS_LABEL, m_label);
    DDX_Control(pDX, IDC_SETUP_PICTURE1, m_emptyPicture);
    DDX_Control(pDX, IDC_SETUP_PICTURE3, m_legendChecked);
    DDX_Control(pDX, IDC_SETUP_PICTURE2, m_legendPart);
    DDX_Control(pDX, IDC_SETUP_PICTURE4, m_legendLeftOut);
}

BOOL CInstalacaoFolder::OnInitDialog()
{
    CInstPropPage::OnInitDialog();
    m_tree.InitImageLists();
    m_emptyLabel.SetTextColor(RGB(0, 0, 126));
    m_label.SetFontBold(TRUE);
    SetSmallPicture(m_emptyPicture, IDB_BACKUP_INFO_PICTURE);
    m_legendImages.Create(IDB_CHECK_STATES, 16, 1, RGB(255, 0, 255));
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
    m_legendChecked.SetImages(&m_legendImages, IMAGE_CHECKED, crFace);
    m_legendPart.SetImages(&m_legendImages, IMAGE_PART, crFace);
    m_legendLeftOut.SetImages(&m_legendImages, IMAGE_LEFT_OUT, crFace);
    return TRUE;
}

BOOL CInstalacaoFolder::PrepareTree()
{
    CInstalacaoPropertySheet& sheet = GetSheet();
    const int nMode = sheet.GetLocationMode();
    BOOL bRefill = m_bFillFailed || nMode != m_nLastMode;
    CMapStringToPtr* pNewExtensions = nullptr;
    const std::set<CString> chosen = sheet.GetDocumentsPage().GetChosenExtensions();
    if (chosen != m_extensions) {
        m_extensions = chosen;
        m_extensionMap.RemoveAll();
        for (const CString& strExtension : m_extensions)
            m_extensionMap.SetAt(strExtension.Mid(1), nullptr);
        pNewExtensions = &m_extensionMap;
        bRefill = TRUE;
    }
    if (nMode != CInstExplorerTreeCtrl::MODE_LOCAL) {
        CMapStringToPtr roots;
        sheet.GetLocationRoots(roots);
        if (!SameKeys(roots, m_roots)) {
            m_roots.RemoveAll();
            for (POSITION pos = roots.GetStartPosition(); pos;) {
                CString strKey;
                void* pValue = nullptr;
                roots.GetNextAssoc(pos, strKey, pValue);
                m_roots.SetAt(strKey, pValue);
            }
            bRefill = TRUE;
        }
    }
    if (!bRefill)
        return TRUE;
    m_nLastMode = nMode;
    m_tree.SetServedWindow(&sheet);
    m_bFilling = TRUE;
    const BOOL bFilled = m_tree.Fill(nMode, pNewExtensions, m_roots);
    m_bFilling = FALSE;
    m_tree.SetServedWindow(nullptr);
    if (!bFilled) {
        m_bFillFailed = TRUE;
        return FALSE;
    }
    m_bFillFailed = FALSE;
    if (HTREEITEM hFirst = m_tree.GetRootItem()) {
        m_tree.SelectSetFirstVisible(hFirst);
        m_tree.SelectItem(hFirst);
    }
    return TRUE;
}

BOOL CInstalacaoFolder::OnSetActive()
{
    const BOOL bFilled = m_tree.IsInserted();
    for (UINT nID : FILLED_TREE_CONTROLS)
        GetDlgItem(nID)->ShowWindow(bFilled ? SW_SHOW : SW_HIDE);
    for (UINT nID : EMPTY_TREE_CONTROLS)
        GetDlgItem(nID)->ShowWindow(bFilled ? SW_HIDE : SW_SHOW);
    return CInstPropPage::OnSetActive();
}

DWORD CInstalacaoFolder::GetWizardButtons() const
{
    return m_tree.IsInserted() ? CInstPropPage::GetWizardButtons() : PSWIZB_BACK;
}

LRESULT CInstalacaoFolder::OnWizardBack()
{
    return IDD_SETUP_MODE;
}

LRESULT CInstalacaoFolder::OnWizardNext()
{
    CMapStringToPtr checked;
    m_tree.CollectState3Paths(checked);
    if (checked.GetCount() == 0) {
        AfxMessageBox(IDS_NO_FOLDER_CHECKED, MB_ICONEXCLAMATION);
        return -1;
    }
    return IDD_SETUP_FINAL;
}
