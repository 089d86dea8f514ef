#include "dialogs/groups/CGroupPropertiesKeywords.h"

#include "dialogs/groups/GroupNodes.h"
#include "dialogs/groups/KeywordRows.h"
#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"

#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"

// clang-format off
BEGIN_MESSAGE_MAP(CGroupKeywordsPage, CPropertyPage)
    ON_MESSAGE(WM_KICKIDLE, &CGroupKeywordsPage::OnKickIdle)
    ON_COMMAND(ID_KEYWORD_DELETE, &CGroupKeywordsPage::OnDelete)
    ON_UPDATE_COMMAND_UI(ID_KEYWORD_DELETE, &CGroupKeywordsPage::OnUpdateDelete)
    ON_COMMAND(ID_KEYWORD_EDIT, &CGroupKeywordsPage::OnEdit)
END_MESSAGE_MAP()
// clang-format on

IMPLEMENT_DYNAMIC(CGroupKeywordsPage, CPropertyPage)
IMPLEMENT_DYNCREATE(CGroupPropertiesKeywords, CGroupKeywordsPage)
IMPLEMENT_DYNCREATE(CGroupInstKeywords, CGroupKeywordsPage)

CGroupKeywordsPage::CGroupKeywordsPage(UINT nIDTemplate)
    : CPropertyPage(nIDTemplate)
{
}

BOOL CGroupKeywordsPage::OnKillActive()
{
    EndKeywordEdit(m_list);
    return CPropertyPage::OnKillActive();
}

void CGroupKeywordsPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GROUP_KEYWORD_LIST, m_list);
}

LRESULT CGroupKeywordsPage::OnKickIdle(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    return 0;
}

void CGroupKeywordsPage::OnDelete()
{
    m_list.DeleteSelected();
}

void CGroupKeywordsPage::OnUpdateDelete(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanDeleteKeywordRows(m_list));
}

void CGroupKeywordsPage::OnEdit()
{
    EditKeywordRow(m_list);
}

/* The properties page. */

CGroupPropertiesKeywords::CGroupPropertiesKeywords()
    : CGroupKeywordsPage(IDD_GROUP_KEYWORDS)
{
}

void CGroupPropertiesKeywords::LoadFromNode(const CNodeRec* pNode)
{
    if (pNode != nullptr && IsFixedGroupNode(*pNode)) {
        m_list.EnableWindow(FALSE);
        return;
    }
    m_list.InitColumn();
    if (pNode != nullptr)
        m_list.FillFromList(pNode->GetKeywords());
    UpdateData(FALSE);
}

BOOL CGroupPropertiesKeywords::StoreToNode(CNodeRec* pNode)
{
    EndKeywordEdit(m_list);
    return StoreNodeKeywords(*pNode, GetKeywordRows(m_list));
}

/* The set-up wizard's page. */

CGroupInstKeywords::CGroupInstKeywords()
    : CGroupKeywordsPage(IDD_GROUP_INST_KEYWORDS)
{
}

BOOL CGroupInstKeywords::OnInitDialog()
{
    const BOOL bResult = CGroupKeywordsPage::OnInitDialog();
    m_list.InitColumn();
    return bResult;
}

void CGroupInstKeywords::SetKeywords(const CStringArray& keywords)
{
    if (keywords.GetSize() > 0)
        m_list.FillFromArray(&keywords);
    UpdateData(FALSE);
}

void CGroupInstKeywords::GetKeywords(CStringArray& keywords)
{
    EndKeywordEdit(m_list);
    keywords.RemoveAll();
    for (const CString& strText : GetKeywordRows(m_list))
        keywords.Add(strText);
    for (int nRow = m_list.GetItemCount() - 1; nRow >= 1; --nRow)
        m_list.DeleteItem(nRow);
}
