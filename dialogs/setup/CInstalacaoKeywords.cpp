#include "dialogs/setup/CInstalacaoKeywords.h"

#include "dialogs/setup/CInstalacaoOrgInicial.h"
#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "resources/ResourceIds.h"
#include "ui/ChildPropertySheet.h"
#include "ui/KickIdle.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CDataExchange.h"

// clang-format off
BEGIN_MESSAGE_MAP(CInstalacaoKeywords, CInstPropPage)
    ON_MESSAGE(WM_KICKIDLE, &CInstalacaoKeywords::OnKickIdleWithGroup)
    ON_NOTIFY(TVN_SELCHANGED, IDC_SETUP_TREE, &CInstalacaoKeywords::OnSelChanged)
END_MESSAGE_MAP()
// clang-format on

CInstalacaoKeywords::CInstalacaoKeywords()
    : CInstPropPage(IDD_SETUP_KEYWORDS)
{
    SetPageInfo(IDB_SETUP_KEYWORDS, PSWIZB_BACK | PSWIZB_NEXT);
}

void CInstalacaoKeywords::DoDataExchange(CDataExchange* pDX)
{
    CInstPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_TREE, m_mirror);
    DDX_Control(pDX, IDC_SETUP_NODE_NAME, m_name);
}

BOOL CInstalacaoKeywords::OnInitDialog()
{
    CInstPropPage::OnInitDialog();
    m_images.Create(IDB_NODE_TREE, 16, 1, RGB(255, 0, 255));
    m_mirror.SetImageList(&m_images, TVSIL_NORMAL);
    m_name.SetFontBold(TRUE);
    CreateChildPropertySheet(this, &m_groupSheet, WS_CHILD | WS_VISIBLE, 0);
    PlaceChildPropertySheet(this, &m_groupSheet, IDC_SHEET_PLACEHOLDER);
    return TRUE;
}

BOOL CInstalacaoKeywords::OnSetActive()
{
    m_hShown = nullptr;
    m_mirror.Mirror(GetSheet().GetOrganisationPage().GetTree());
    HTREEITEM hFirst = m_mirror.GetRootItem();
    if (hFirst && m_mirror.GetChildItem(hFirst))
        hFirst = m_mirror.GetChildItem(hFirst);
    HTREEITEM hSelect = m_mirror.FindMirrorOf(m_hRemembered);
    if (!hSelect) {
        hSelect = hFirst;
        m_hRemembered = m_mirror.GetSourceItem(hFirst);
    }
    if (hSelect) {
        m_mirror.SelectItem(hSelect);
        m_mirror.EnsureVisible(hSelect);
    }
    ShowName(hSelect);
    LoadGroup(hSelect);
    m_mirror.SetFocus();
    return CInstPropPage::OnSetActive();
}

LRESULT CInstalacaoKeywords::OnKickIdleWithGroup(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}

void CInstalacaoKeywords::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    HTREEITEM hNew = reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemNew.hItem;
    ShowName(hNew);
    // Filling the mirror selects items before the page shows any group.
    if (m_hShown) {
        StoreGroup(m_hShown);
        LoadGroup(hNew);
    }
    *pResult = 0;
}

void CInstalacaoKeywords::StoreGroup(HTREEITEM hItem)
{
    HTREEITEM hSource = hItem ? m_mirror.GetSourceItem(hItem) : nullptr;
    CStringArray keywords;
    CStringArray folders;
    BYTE bMask = 0;
    m_groupSheet.Store(keywords, bMask, folders);
    if (!hSource)
        return;
    COrgTreeCtrl& tree = GetSheet().GetOrganisationPage().GetTree();
    tree.SetKeywords(hSource, keywords);
    tree.SetFolders(hSource, folders);
    // The pages show the low byte; the rest of the mask stays as it was.
    tree.SetSearchMask(hSource, static_cast<WORD>((tree.GetSearchMask(hSource) & 0xFF00) | bMask));
}

void CInstalacaoKeywords::LoadGroup(HTREEITEM hItem)
{
    m_hShown = hItem;
    HTREEITEM hSource = hItem ? m_mirror.GetSourceItem(hItem) : nullptr;
    COrgTreeCtrl& tree = GetSheet().GetOrganisationPage().GetTree();
    CStringArray keywords;
    CStringArray folders;
    WORD wMask = COrgNode::NEW_SEARCH_MASK;
    if (hSource) {
        tree.GetKeywords(hSource, keywords);
        tree.GetFolders(hSource, folders);
        wMask = tree.GetSearchMask(hSource);
    }
    m_groupSheet.Load(keywords, static_cast<BYTE>(wMask & 0xFF), folders);
}

void CInstalacaoKeywords::ShowName(HTREEITEM hItem)
{
    m_name.SetText(hItem ? m_mirror.GetItemText(hItem) : CString());
}

LRESULT CInstalacaoKeywords::OnWizardBack()
{
    StoreGroup(m_hShown);
    m_hRemembered = m_mirror.GetSourceItem(m_mirror.GetSelectedItem());
    return CInstPropPage::OnWizardBack();
}

LRESULT CInstalacaoKeywords::OnWizardNext()
{
    StoreGroup(m_hShown);
    if (!m_mirror.AnyNodeHasCriteria()
        && AfxMessageBox(IDS_NO_CRITERIA, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) {
        LoadGroup(m_hShown);
        return -1;
    }
    m_hRemembered = m_mirror.GetSourceItem(m_mirror.GetSelectedItem());
    return IDD_SETUP_FINAL;
}
