#include "dialogs/groups/CDlgSistemasPorPChave.h"

#include "dialogs/groups/KeywordSheetMessages.h"
#include "resources/ResourceIds.h"
#include "ui/CPopupFolderPicker.h"

#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"

#include <memory>

// clang-format off
BEGIN_MESSAGE_MAP(CDlgSistemasPorPChave, CPropertyPage)
    ON_MESSAGE(WM_KICKIDLE, &CDlgSistemasPorPChave::OnKickIdle)
    ON_LBN_SELCHANGE(IDC_SHEET_WORD_LIST, &CDlgSistemasPorPChave::OnKeywordSelChange)
    ON_BN_CLICKED(IDC_SYSTEM_ADD, &CDlgSistemasPorPChave::OnAdd)
    ON_BN_CLICKED(IDC_SYSTEM_REPLACE, &CDlgSistemasPorPChave::OnReplace)
    ON_BN_CLICKED(IDC_SYSTEM_DELETE, &CDlgSistemasPorPChave::OnDelete)
    ON_UPDATE_COMMAND_UI(IDC_SYSTEM_REPLACE, &CDlgSistemasPorPChave::OnUpdateSelectedSystems)
    ON_UPDATE_COMMAND_UI(IDC_SYSTEM_DELETE, &CDlgSistemasPorPChave::OnUpdateSelectedSystems)
END_MESSAGE_MAP()
// clang-format on

IMPLEMENT_DYNCREATE(CDlgSistemasPorPChave, CPropertyPage)

CDlgSistemasPorPChave::CDlgSistemasPorPChave()
    : CPropertyPage(IDD_SYSTEMS_OF_KEYWORD)
{
    m_psp.dwFlags &= ~PSP_HASHELP;
}

void CDlgSistemasPorPChave::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SHEET_WORD_LIST, m_keywords);
    DDX_Control(pDX, IDC_SHEET_SYSTEM_LIST, m_systems);
    DDX_Control(pDX, IDC_SYSTEM_REPLACE, m_replace);
    DDX_Control(pDX, IDC_SYSTEM_ADD, m_add);
}

BOOL CDlgSistemasPorPChave::OnInitDialog()
{
    const BOOL bResult = CPropertyPage::OnInitDialog();
    m_keywords.FillFromCatalog(m_pCatalog);
    m_keywords.SetCurSel(0);
    m_nShown = 0;
    return bResult;
}

BOOL CDlgSistemasPorPChave::OnSetActive()
{
    const int nSelected = m_keywords.GetCurSel();
    if (nSelected >= 0)
        ShowRow(nSelected);
    else if (m_keywords.GetCount() > 0)
        ShowRow(0);
    return CPropertyPage::OnSetActive();
}

BOOL CDlgSistemasPorPChave::OnKillActive()
{
    SyncRow(m_keywords.GetCurSel());
    return CPropertyPage::OnKillActive();
}

LRESULT CDlgSistemasPorPChave::OnKickIdle(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    return 0;
}

void CDlgSistemasPorPChave::OnKeywordSelChange()
{
    const int nSelected = m_keywords.GetCurSel();
    if (nSelected == m_nShown)
        return;
    SyncRow(m_nShown);
    ShowRow(nSelected);
}

void CDlgSistemasPorPChave::ShowRow(int nRow)
{
    m_nShown = nRow;
    m_systems.ResetContent();
    const CSystemArray* pSystems = nRow >= 0 ? m_keywords.GetSystems(nRow) : nullptr;
    if (pSystems == nullptr)
        return;
    for (int i = 0; i < pSystems->GetSize(); ++i)
        m_systems.AddRecord(pSystems->GetAt(i)->Clone());
}

void CDlgSistemasPorPChave::SyncRow(int nRow)
{
    if (nRow < 0 || nRow >= m_keywords.GetCount())
        return;
    CString strKeyword;
    m_keywords.GetText(nRow, strKeyword);
    CSystemArray* pSystems = m_keywords.GetSystems(nRow);
    if (pSystems == nullptr && m_systems.GetCount() == 0)
        return;
    std::unique_ptr<CSystemArray> pNew;
    if (pSystems == nullptr) {
        pNew = std::make_unique<CSystemArray>(CSystemListBox::SYSTEMS_GROW_BY);
        pSystems = pNew.get();
    }
    CWnd* pSheet = GetParent();
    const auto keyword = reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strKeyword));
    for (int i = pSystems->GetSize() - 1; i >= 0; --i) {
        const int nListed = m_systems.FindItemByData(pSystems->GetAt(i)->GetRef());
        if (nListed >= 0) {
            m_systems.DeleteString(nListed);
            continue;
        }
        pSheet->SendMessage(g_nMsgSystemRemoved, reinterpret_cast<WPARAM>(pSystems->GetAt(i)), keyword);
        pSystems->RemoveAt(i);
    }
    for (int nListed = 0; nListed < m_systems.GetCount(); ++nListed) {
        const auto* pNode = static_cast<const CNodeRec*>(m_systems.GetRecord(nListed));
        pSheet->SendMessage(g_nMsgSystemAdded, reinterpret_cast<WPARAM>(pNode), keyword);
        pSystems->Add(pNode->Clone());
    }
    if (pNew != nullptr)
        m_keywords.SetSystems(nRow, pNew.release());
}

void CDlgSistemasPorPChave::OnAdd()
{
    AddSystem(PickSystem(m_add));
}

void CDlgSistemasPorPChave::OnReplace()
{
    CNodeRec* pNode = PickSystem(m_replace);
    if (pNode == nullptr)
        return;
    m_systems.DeleteSelected();
    if (m_systems.GetCount() == 0)
        m_add.EnableWindow(TRUE);
    AddSystem(pNode);
}

void CDlgSistemasPorPChave::OnDelete()
{
    m_systems.DeleteSelected();
    if (m_systems.GetCount() == 0)
        m_add.EnableWindow(TRUE);
}

void CDlgSistemasPorPChave::OnUpdateSelectedSystems(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_systems.GetSelCount() > 0);
}

void CDlgSistemasPorPChave::AddSystem(CNodeRec* pNode)
{
    std::unique_ptr<CNodeRec> pChosen(pNode);
    if (pChosen == nullptr || m_systems.FindItemByData(pChosen->GetRef()) >= 0)
        return;
    m_systems.AddRecord(pChosen.release());
}

CNodeRec* CDlgSistemasPorPChave::PickSystem(CHotButton& button)
{
    if (m_bBusy)
        return nullptr;
    m_bBusy = TRUE;
    CNodeRec* pChosen = nullptr;
    if (m_popup.GetSafeHwnd() != nullptr || m_popup.Create(this)) {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog));
        m_popup.GetSisList().FillItems(pRoot.get(), FALSE, FALSE, FALSE);
        pChosen = static_cast<CNodeRec*>(TrackPopupUnderButton(m_popup, button));
    }
    m_bBusy = FALSE;
    return pChosen;
}
