#include "dialogs/setup/CInstalacaoOrgInicial.h"

#include "dialogs/setup/CInstalacaoComputerUsage.h"
#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"

#include "platform/base/TextFunctions.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDataExchange.h"

#include <algorithm>
#include <set>
#include <string_view>

// clang-format off
BEGIN_MESSAGE_MAP(CInstalacaoOrgInicial, CInstPropPage)
    ON_MESSAGE(WM_KICKIDLE, &CInstalacaoOrgInicial::OnKickIdle)
    ON_BN_CLICKED(IDC_SETUP_ADD, &CInstalacaoOrgInicial::OnAdd)
    ON_BN_CLICKED(IDC_SETUP_RENAME, &CInstalacaoOrgInicial::OnRename)
    ON_BN_CLICKED(IDC_SETUP_REMOVE, &CInstalacaoOrgInicial::OnRemove)
    ON_UPDATE_COMMAND_UI(IDC_SETUP_ADD, &CInstalacaoOrgInicial::OnUpdateSelected)
    ON_UPDATE_COMMAND_UI(IDC_SETUP_RENAME, &CInstalacaoOrgInicial::OnUpdateSelected)
    ON_UPDATE_COMMAND_UI(IDC_SETUP_REMOVE, &CInstalacaoOrgInicial::OnUpdateRemove)
    ON_NOTIFY(TVN_DELETEITEM, IDC_SETUP_TREE, &CInstalacaoOrgInicial::OnTreeDeleteItem)
END_MESSAGE_MAP()
// clang-format on

namespace {

// Images of IDB_NODE_TREE.
constexpr int IMAGE_GROUP = 2;
constexpr int IMAGE_OWN_BRANCH = 6;
constexpr int IMAGE_USAGE_BRANCH = 8;

// A name as a group takes it: at most COrgTreeCtrl::NAME_LENGTH characters.
CString GroupName(const CString& strName)
{
    const std::string_view text(strName, strName.GetLength());
    std::size_t nPos = 0;
    for (int nChars = 0; nChars < COrgTreeCtrl::NAME_LENGTH && nPos < text.size(); ++nChars)
        nPos += Utf8CharLength(text, nPos);
    return CString(text.data(), static_cast<int>(nPos));
}

} // namespace

CInstalacaoOrgInicial::CInstalacaoOrgInicial()
    : CInstPropPage(IDD_SETUP_ORGANISATION)
{
    SetPageInfo(IDB_SETUP_ORGANISATION, PSWIZB_BACK | PSWIZB_NEXT);
    m_tree.SetRenameCheck([this](HTREEITEM hItem, const CString& strCurrent, const CString& strProposed) {
        return CheckRename(hItem, strCurrent, strProposed);
    });
}

void CInstalacaoOrgInicial::DoDataExchange(CDataExchange* pDX)
{
    CInstPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_TREE, m_tree);
}

BOOL CInstalacaoOrgInicial::OnInitDialog()
{
    CInstPropPage::OnInitDialog();
    m_images.Create(IDB_NODE_TREE, 16, 1, RGB(255, 0, 255));
    m_tree.SetImageList(&m_images, TVSIL_NORMAL);
    return TRUE;
}

/***************************** Keeping the tree in step *****************************/

BOOL CInstalacaoOrgInicial::OnSetActive()
{
    AdjustUsageBranch();
    AdjustOwnBranch();
    if (HTREEITEM hFirst = m_tree.GetRootItem()) {
        m_tree.SelectSetFirstVisible(hFirst);
        m_tree.SelectItem(hFirst);
    }
    const CInstalacaoComputerUsage& usage = GetSheet().GetUsagePage();
    const BOOL bBoth = usage.IsUsageChecked() && usage.IsOwnNamesChecked();
    m_tree.ModifyStyle(bBoth ? 0 : TVS_LINESATROOT, bBoth ? TVS_LINESATROOT : 0);
    return CInstPropPage::OnSetActive();
}

void CInstalacaoOrgInicial::AdjustUsageBranch()
{
    const CInstalacaoComputerUsage& usage = GetSheet().GetUsagePage();
    if (!usage.IsUsageChecked()) {
        if (m_hUsageBranch)
            m_tree.DeleteSubtree(m_hUsageBranch);
        m_strShownUsage.Empty();
        return;
    }
    const CString strChosen = usage.GetChosenUsage();
    if (m_hUsageBranch && strChosen.CompareNoCase(m_strShownUsage) == 0)
        return;
    if (m_hUsageBranch)
        m_tree.DeleteSubtree(m_hUsageBranch);
    m_strShownUsage = strChosen;
    m_hUsageBranch = m_tree.InsertNode(nullptr, GetResString(IDS_USAGE_BRANCH), IMAGE_USAGE_BRANCH);
    const auto& entries = GetSheet().GetUsageProfiles().entries;
    if (const auto it = entries.find(strChosen); it != entries.end()) {
        for (const CString& strItem : it->second) {
            const CString strName = GroupName(CString(strItem).Trim());
            if (!strName.IsEmpty() && !m_tree.FindChild(m_hUsageBranch, strName))
                m_tree.InsertNode(m_hUsageBranch, strName, IMAGE_GROUP);
        }
    }
    m_tree.Expand(m_hUsageBranch, TVE_EXPAND);
}

CString CInstalacaoOrgInicial::OwnNameLabel(const CString& strName)
{
    const CString strSuffix = GetResString(IDS_OWN_NAME_SUFFIX);
    if (CString(GetResString(IDS_LANGUAGE_NAME)) == "Ingles")
        return GroupName(strName + " " + strSuffix);
    return GroupName(strSuffix + " " + strName);
}

void CInstalacaoOrgInicial::AdjustOwnBranch()
{
    const CInstalacaoComputerUsage& usage = GetSheet().GetUsagePage();
    if (!usage.IsOwnNamesChecked()) {
        if (m_hOwnBranch)
            m_tree.DeleteSubtree(m_hOwnBranch);
        m_ownNameItems.clear();
        return;
    }
    if (!m_hOwnBranch) {
        m_hOwnBranch = m_tree.InsertNode(nullptr, GetResString(IDS_OWN_NAMES_BRANCH), IMAGE_OWN_BRANCH);
        for (const CString& strHead : GetSheet().GetUsageProfiles().heads) {
            const CString strName = GroupName(CString(strHead).Trim());
            if (!strName.IsEmpty() && !m_tree.FindChild(m_hOwnBranch, strName))
                m_tree.InsertNode(m_hOwnBranch, strName, IMAGE_GROUP);
        }
        m_tree.Expand(m_hOwnBranch, TVE_EXPAND);
    }
    const std::vector<CString> names = usage.GetOwnNames();
    for (const CString& strName : names) {
        if (m_ownNameItems.contains(strName))
            continue;
        const CString strLabel = OwnNameLabel(strName);
        HTREEITEM hItem = m_tree.FindChild(m_hOwnBranch, strLabel);
        m_ownNameItems[strName] = hItem ? hItem : m_tree.InsertNode(m_hOwnBranch, strLabel, IMAGE_GROUP);
    }
    // Names no longer listed give up their groups, unless a listed name in
    // another case shares the group. The map is settled before any deletion,
    // whose notice edits the map again.
    std::set<HTREEITEM> gone;
    std::erase_if(m_ownNameItems, [&names, &gone](const auto& entry) {
        if (std::find(names.begin(), names.end(), entry.first) != names.end())
            return false;
        gone.insert(entry.second);
        return true;
    });
    for (const auto& entry : m_ownNameItems)
        gone.erase(entry.second);
    for (HTREEITEM hItem : gone)
        m_tree.DeleteSubtree(hItem);
}

void CInstalacaoOrgInicial::OnTreeDeleteItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    // Whoever deletes an item (the Delete key, an edit that ends, this page),
    // the page never keeps its handle.
    HTREEITEM hItem = reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemOld.hItem;
    std::erase_if(m_ownNameItems, [hItem](const auto& entry) { return entry.second == hItem; });
    if (hItem == m_hUsageBranch)
        m_hUsageBranch = nullptr;
    if (hItem == m_hOwnBranch)
        m_hOwnBranch = nullptr;
    *pResult = 0;
}

BOOL CInstalacaoOrgInicial::CheckRename(HTREEITEM hItem, const CString& strCurrent, const CString& strProposed)
{
    const UINT nOtherBranch = hItem == m_hUsageBranch ? IDS_OWN_NAMES_BRANCH
        : hItem == m_hOwnBranch                       ? IDS_USAGE_BRANCH
                                                      : 0;
    if (nOtherBranch == 0 || strProposed.CompareNoCase(CString(GetResString(nOtherBranch)).Trim()) != 0)
        return TRUE;
    CString strMessage;
    const CString strFormat = GetResString(IDS_BRANCH_NAME_TAKEN);
    strMessage.Format(strFormat, static_cast<LPCTSTR>(strCurrent), static_cast<LPCTSTR>(strProposed));
    AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
    return FALSE;
}

LRESULT CInstalacaoOrgInicial::OnWizardBack()
{
    std::vector<CString> names;
    for (const auto& entry : m_ownNameItems)
        names.push_back(entry.first);
    GetSheet().GetUsagePage().SetOwnNames(names);
    return CInstPropPage::OnWizardBack();
}

/***************************** Buttons *****************************/

void CInstalacaoOrgInicial::OnAdd()
{
    if (HTREEITEM hSelected = m_tree.GetSelectedItem())
        m_tree.AddNewChild(hSelected);
}

void CInstalacaoOrgInicial::OnRename()
{
    if (HTREEITEM hSelected = m_tree.GetSelectedItem())
        m_tree.EditLabel(hSelected);
}

void CInstalacaoOrgInicial::OnRemove()
{
    HTREEITEM hSelected = m_tree.GetSelectedItem();
    if (hSelected && m_tree.GetParentItem(hSelected))
        m_tree.DeleteSubtree(hSelected);
}

void CInstalacaoOrgInicial::OnUpdateSelected(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_tree.GetSelectedItem() != nullptr);
}

void CInstalacaoOrgInicial::OnUpdateRemove(CCmdUI* pCmdUI)
{
    HTREEITEM hSelected = m_tree.GetSelectedItem();
    pCmdUI->Enable(hSelected && m_tree.GetParentItem(hSelected));
}

/***************************** Finish *****************************/

void CInstalacaoOrgInicial::BuildOrgItems(std::unique_ptr<COrgItem>& pCustom, std::unique_ptr<COrgItem>& pUsage)
{
    pCustom = m_hOwnBranch ? BuildItem(m_hOwnBranch) : nullptr;
    pUsage = m_hUsageBranch ? BuildItem(m_hUsageBranch) : nullptr;
}

std::unique_ptr<COrgItem> CInstalacaoOrgInicial::BuildItem(HTREEITEM hItem)
{
    auto pItem = std::make_unique<COrgItem>();
    pItem->strName = m_tree.GetItemText(hItem);
    m_tree.GetKeywords(hItem, pItem->keywords);
    m_tree.GetFolders(hItem, pItem->folders);
    pItem->wSearchMask = m_tree.GetSearchMask(hItem);
    for (HTREEITEM hChild = m_tree.GetChildItem(hItem); hChild; hChild = m_tree.GetNextSiblingItem(hChild))
        pItem->children.push_back(BuildItem(hChild));
    return pItem;
}
