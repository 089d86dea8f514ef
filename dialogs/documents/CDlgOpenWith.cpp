#include "dialogs/documents/CDlgOpenWith.h"

#include "dialogs/documents/DocumentRow.h"
#include "resources/ResourceIds.h"
#include "ui/CStartMenuIndex.h"
#include "ui/DocumentIcons.h"
#include "ui/KickIdle.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/CRect.h"
#include "platform/framework/MessageMap.h"

BEGIN_MESSAGE_MAP(CDlgOpenWith, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CDlgOpenWith::OnKickIdle)
    ON_UPDATE_COMMAND_UI(IDOK, &CDlgOpenWith::OnUpdateOK)
END_MESSAGE_MAP()

CDlgOpenWith::CDlgOpenWith(const CDocumentRec* pDocument, CWnd* pParent)
    : CDialog(IDD_OPEN_WITH, pParent)
    , m_pDocument(pDocument)
{
}

void CDlgOpenWith::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRAM_LIST, m_programs);
}

BOOL CDlgOpenWith::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowDocumentRow(*this, GetDocumentIcon(*m_pDocument), DocumentDisplayPath(*m_pDocument));
    CRect rcList;
    m_programs.GetClientRect(&rcList);
    m_programs.InsertColumn(0, "", LVCFMT_LEFT, rcList.Width());
    CStartMenuIndex& index = GetStartMenuIndex();
    index.Build();
    for (int i = 0; i < index.GetCount(); ++i) {
        const int nItem = m_programs.InsertItem(i, index.GetEntry(i).strName);
        m_programs.SetItemData(nItem, static_cast<DWORD_PTR>(i));
    }
    return TRUE;
}

LRESULT CDlgOpenWith::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}

void CDlgOpenWith::OnUpdateOK(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_programs.GetNextItem(-1, LVNI_SELECTED) >= 0);
}

void CDlgOpenWith::OnOK()
{
    const int nItem = m_programs.GetNextItem(-1, LVNI_SELECTED);
    if (nItem < 0)
        return;
    m_strProgram = GetStartMenuIndex().GetEntry(static_cast<int>(m_programs.GetItemData(nItem))).strProgram;
    CDialog::OnOK();
}
