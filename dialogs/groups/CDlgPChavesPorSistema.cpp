#include "dialogs/groups/CDlgPChavesPorSistema.h"

#include "dialogs/groups/KeywordRows.h"
#include "dialogs/groups/KeywordSheetMessages.h"
#include "resources/ResourceIds.h"

#include "platform/controls/ListViewControl.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"

// clang-format off
BEGIN_MESSAGE_MAP(CDlgPChavesPorSistema, CPropertyPage)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_KICKIDLE, &CDlgPChavesPorSistema::OnKickIdle)
    ON_NOTIFY(TVN_SELCHANGED, IDC_SHEET_SYSTEM_TREE, &CDlgPChavesPorSistema::OnTreeSelChanged)
    ON_COMMAND(ID_KEYWORD_DELETE, &CDlgPChavesPorSistema::OnDelete)
    ON_UPDATE_COMMAND_UI(ID_KEYWORD_DELETE, &CDlgPChavesPorSistema::OnUpdateDelete)
    ON_COMMAND(ID_KEYWORD_EDIT, &CDlgPChavesPorSistema::OnEdit)
END_MESSAGE_MAP()
// clang-format on

IMPLEMENT_DYNCREATE(CDlgPChavesPorSistema, CPropertyPage)

CDlgPChavesPorSistema::CDlgPChavesPorSistema()
    : CPropertyPage(IDD_KEYWORDS_OF_SYSTEM)
{
    m_psp.dwFlags &= ~PSP_HASHELP;
}

void CDlgPChavesPorSistema::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SHEET_WORD_LIST, m_list);
    DDX_Control(pDX, IDC_SHEET_SYSTEM_TREE, m_tree);
}

BOOL CDlgPChavesPorSistema::OnInitDialog()
{
    const BOOL bResult = CPropertyPage::OnInitDialog();
    m_tree.InitImageList();
    m_list.InitColumn();
    m_tree.FillFromRoot(m_pCatalog);
    return bResult;
}

BOOL CDlgPChavesPorSistema::OnSetActive()
{
    FillList(m_tree.GetSelectedItem());
    return CPropertyPage::OnSetActive();
}

BOOL CDlgPChavesPorSistema::OnKillActive()
{
    SyncItem(m_tree.GetSelectedItem());
    return CPropertyPage::OnKillActive();
}

void CDlgPChavesPorSistema::OnOK()
{
    m_tree.SaveModified();
    CPropertyPage::OnOK();
}

void CDlgPChavesPorSistema::OnDestroy()
{
    m_bDestroyed = TRUE;
    CPropertyPage::OnDestroy();
}

LRESULT CDlgPChavesPorSistema::OnKickIdle(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    return 0;
}

void CDlgPChavesPorSistema::OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bDestroyed)
        return;
    const auto* pChange = reinterpret_cast<const NMTREEVIEW*>(pNMHDR);
    SyncItem(pChange->itemOld.hItem);
    FillList(pChange->itemNew.hItem);
}

void CDlgPChavesPorSistema::OnDelete()
{
    m_list.DeleteSelected();
}

void CDlgPChavesPorSistema::OnUpdateDelete(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanDeleteKeywordRows(m_list));
}

void CDlgPChavesPorSistema::OnEdit()
{
    EditKeywordRow(m_list);
}

void CDlgPChavesPorSistema::FillList(HTREEITEM hItem)
{
    const CKeywordTreeItem* pRecord = hItem != nullptr ? m_tree.GetItemRecord(hItem) : nullptr;
    m_list.FillFromArray(pRecord != nullptr ? pRecord->pKeywords.get() : nullptr);
}

void CDlgPChavesPorSistema::SyncItem(HTREEITEM hItem)
{
    CKeywordTreeItem* pRecord = hItem != nullptr ? m_tree.GetItemRecord(hItem) : nullptr;
    if (pRecord == nullptr)
        return;
    EndKeywordEdit(m_list);
    if (pRecord->pKeywords == nullptr && m_list.GetItemCount() <= 1)
        return;
    auto pKeywords = std::make_unique<CStringArray>();
    if (pRecord->pKeywords != nullptr)
        pKeywords->Copy(*pRecord->pKeywords);
    CWnd* pSheet = GetParent();
    BOOL bChanged = FALSE;
    for (INT_PTR i = pKeywords->GetSize() - 1; i >= 0; --i) {
        LVFINDINFO find {};
        find.flags = LVFI_STRING;
        find.psz = pKeywords->GetAt(i);
        const int nRow = m_list.FindItem(&find, -1);
        if (nRow >= 0) {
            m_list.DeleteItem(nRow);
            continue;
        }
        pSheet->SendMessage(g_nMsgKeywordRemoved, reinterpret_cast<WPARAM>(static_cast<LPCTSTR>(pKeywords->GetAt(i))),
            reinterpret_cast<LPARAM>(pRecord->pNode.get()));
        pKeywords->RemoveAt(i);
        bChanged = TRUE;
    }
    for (const CString& strText : GetKeywordRows(m_list)) {
        pSheet->SendMessage(g_nMsgKeywordAdded, reinterpret_cast<WPARAM>(static_cast<LPCTSTR>(strText)),
            reinterpret_cast<LPARAM>(pRecord->pNode.get()));
        pKeywords->Add(strText);
        bChanged = TRUE;
    }
    if (bChanged) {
        pRecord->pKeywords = std::move(pKeywords);
        pRecord->bModified = TRUE;
    }
}
