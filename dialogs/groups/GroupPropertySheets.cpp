#include "dialogs/groups/GroupPropertySheets.h"

#include "ui/KickIdle.h"

#include "platform/framework/AfxMessages.h"
#include "platform/framework/MessageMap.h"

// clang-format off
BEGIN_MESSAGE_MAP(CGroupSheet, CPropertySheet)
    ON_MESSAGE(WM_KICKIDLE, &CGroupSheet::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

IMPLEMENT_DYNAMIC(CGroupSheet, CPropertySheet)
IMPLEMENT_DYNCREATE(CPropertySheetGrupos, CGroupSheet)
IMPLEMENT_DYNCREATE(CPropertySheetPalavrasChaves, CGroupSheet)
IMPLEMENT_DYNCREATE(CPropertySheetInstGrupos, CGroupSheet)

BOOL CGroupSheet::UpdateActivePage()
{
    CPropertyPage* pActive = GetActivePage();
    return pActive == nullptr || pActive->UpdateData(TRUE);
}

void CGroupSheet::MakeEveryPage()
{
    for (int nPage = GetPageCount() - 1; nPage >= 0; --nPage)
        SetActivePage(nPage);
}

LRESULT CGroupSheet::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}

/* The five pages of a group. */

CPropertySheetGrupos::CPropertySheetGrupos()
{
    AddPage(&m_general);
    AddPage(&m_keywords);
    AddPage(&m_search);
    AddPage(&m_folders);
    AddPage(&m_messages);
}

void CPropertySheetGrupos::LoadFromNode(const CNodeRec* pNode)
{
    MakeEveryPage();
    m_general.LoadFromNode(pNode);
    m_keywords.LoadFromNode(pNode);
    m_search.LoadFromNode(pNode);
    m_folders.LoadFromNode(pNode);
    m_messages.LoadFromNode(pNode);
}

BOOL CPropertySheetGrupos::StoreToNode(CNodeRec* pNode)
{
    return m_general.StoreToNode(pNode) && m_keywords.StoreToNode(pNode) && m_search.StoreToNode(pNode)
        && m_folders.StoreToNode(pNode) && m_messages.StoreToNode(pNode);
}

/* A group's keywords and search. */

CPropertySheetPalavrasChaves::CPropertySheetPalavrasChaves()
{
    AddPage(&m_keywords);
    AddPage(&m_search);
}

void CPropertySheetPalavrasChaves::LoadFromNode(const CNodeRec* pNode)
{
    MakeEveryPage();
    m_keywords.LoadFromNode(pNode);
    m_search.LoadFromNode(pNode);
}

BOOL CPropertySheetPalavrasChaves::StoreToNode(CNodeRec* pNode)
{
    return m_keywords.StoreToNode(pNode) && m_search.StoreToNode(pNode);
}

/* The set-up wizard's group values. */

CPropertySheetInstGrupos::CPropertySheetInstGrupos()
{
    AddPage(&m_keywords);
    AddPage(&m_search);
    AddPage(&m_folders);
}

void CPropertySheetInstGrupos::Load(const CStringArray& keywords, BYTE bSearchMask, const CStringArray& folders)
{
    MakeEveryPage();
    m_keywords.SetKeywords(keywords);
    m_search.SetMask(bSearchMask);
    m_folders.SetFolders(folders);
}

void CPropertySheetInstGrupos::Store(CStringArray& keywords, BYTE& bSearchMask, CStringArray& folders)
{
    m_keywords.GetKeywords(keywords);
    bSearchMask = m_search.GetMask();
    m_folders.GetFolders(folders);
}
