#include "dialogs/groups/CSystemKeywordsPropSheet.h"

#include "dialogs/groups/KeywordSheetMessages.h"
#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "ui/KickIdle.h"

#include "platform/framework/AfxMessages.h"
#include "platform/framework/CRect.h"
#include "platform/framework/MessageMap.h"

// clang-format off
BEGIN_MESSAGE_MAP(CSystemKeywordsPropSheet, CPropertySheet)
    ON_MESSAGE(WM_KICKIDLE, &CSystemKeywordsPropSheet::OnKickIdle)
    ON_REGISTERED_MESSAGE(g_nMsgKeywordRemoved, &CSystemKeywordsPropSheet::OnKeywordRemoved)
    ON_REGISTERED_MESSAGE(g_nMsgKeywordAdded, &CSystemKeywordsPropSheet::OnKeywordAdded)
    ON_REGISTERED_MESSAGE(g_nMsgSystemRemoved, &CSystemKeywordsPropSheet::OnSystemRemoved)
    ON_REGISTERED_MESSAGE(g_nMsgSystemAdded, &CSystemKeywordsPropSheet::OnSystemAdded)
END_MESSAGE_MAP()
// clang-format on

namespace {

LPCTSTR KeywordOf(WPARAM wParam)
{
    return reinterpret_cast<LPCTSTR>(wParam);
}
LPCTSTR KeywordOf(LPARAM lParam)
{
    return reinterpret_cast<LPCTSTR>(lParam);
}
const CNodeRec& SystemOf(WPARAM wParam)
{
    return *reinterpret_cast<const CNodeRec*>(wParam);
}
const CNodeRec& SystemOf(LPARAM lParam)
{
    return *reinterpret_cast<const CNodeRec*>(lParam);
}

} // namespace

CSystemKeywordsPropSheet::CSystemKeywordsPropSheet(CCatalog* pCatalog, CWnd* pParent)
    : CPropertySheet(IDS_KEYWORD_SHEET, pParent)
{
    RegisterKeywordSheetMessages();
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    m_keywordsOfSystem.SetCatalog(pCatalog);
    m_systemsOfKeyword.SetCatalog(pCatalog);
    AddPage(&m_keywordsOfSystem);
    AddPage(&m_systemsOfKeyword);
}

BOOL CSystemKeywordsPropSheet::OnInitDialog()
{
    const BOOL bResult = CPropertySheet::OnInitDialog();
    SetActivePage(1);
    SetActivePage(0);
    if (CWnd* pHelp = GetDlgItem(IDHELP))
        pHelp->ShowWindow(SW_HIDE);
    CentreButtons();
    return bResult;
}

void CSystemKeywordsPropSheet::CentreButtons()
{
    CWnd* pOK = GetDlgItem(IDOK);
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    if (pOK == nullptr || pCancel == nullptr)
        return;
    CRect rcClient, rcOK, rcCancel;
    GetClientRect(&rcClient);
    pOK->GetWindowRect(&rcOK);
    pCancel->GetWindowRect(&rcCancel);
    ScreenToClient(&rcOK);
    ScreenToClient(&rcCancel);
    const int nOffset = (rcClient.Width() - (rcCancel.right - rcOK.left)) / 2;
    pOK->MoveWindow(nOffset, rcOK.top, rcOK.Width(), rcOK.Height());
    pCancel->MoveWindow(rcClient.Width() - nOffset - rcOK.Width(), rcCancel.top, rcOK.Width(), rcCancel.Height());
}

LRESULT CSystemKeywordsPropSheet::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}

LRESULT CSystemKeywordsPropSheet::OnKeywordRemoved(WPARAM wParam, LPARAM lParam)
{
    m_systemsOfKeyword.GetKeywordList().RemoveSystemFromKeyword(KeywordOf(wParam), SystemOf(lParam));
    return 0;
}

LRESULT CSystemKeywordsPropSheet::OnKeywordAdded(WPARAM wParam, LPARAM lParam)
{
    m_systemsOfKeyword.GetKeywordList().AddSystemToKeyword(KeywordOf(wParam), SystemOf(lParam));
    return 0;
}

LRESULT CSystemKeywordsPropSheet::OnSystemRemoved(WPARAM wParam, LPARAM lParam)
{
    m_keywordsOfSystem.GetTree().RemoveKeywordFromSystem(SystemOf(wParam), KeywordOf(lParam));
    return 0;
}

LRESULT CSystemKeywordsPropSheet::OnSystemAdded(WPARAM wParam, LPARAM lParam)
{
    m_keywordsOfSystem.GetTree().AddKeywordToSystem(SystemOf(wParam), KeywordOf(lParam));
    return 0;
}
