#include "frame/CArqListView.h"

#include "frame/AppMessages.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/CRect.h"

IMPLEMENT_DYNCREATE(CArqListView, CPaneView)

// clang-format off
BEGIN_MESSAGE_MAP(CArqListView, CPaneView)
    ON_NOTIFY(LVN_ITEMCHANGED, CArqListView::LIST_ID, &CArqListView::OnItemChanged)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr DWORD LIST_STYLE = 0x50000001; // a visible child in the report view
constexpr int NAME_COLUMN_WIDTH = 240;

} // namespace

BOOL CArqListView::CreateControl()
{
    if (!m_list.Create(LIST_STYLE, CRect(0, 0, 0, 0), this, LIST_ID))
        return FALSE;
    m_list.InsertColumn(0, "Name", LVCFMT_LEFT, NAME_COLUMN_WIDTH);
    return TRUE;
}

void CArqListView::Fill(const CNodeRec* pNode)
{
    m_list.DeleteAllItems();
    if (!pNode)
        return;
    int nRow = 0;
    for (const auto& pDocument : pNode->GetDocuments()) {
        CString strName;
        pDocument->GetFullPath(strName);
        m_list.InsertItem(nRow++, strName);
    }
}

void CArqListView::OnItemChanged(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pChange = reinterpret_cast<const NMLISTVIEW*>(pNotify);
    if ((pChange->uChanged & LVIF_STATE) && (pChange->uNewState & LVIS_FOCUSED) && !(pChange->uOldState & LVIS_FOCUSED))
        SendToFrame(g_nMsgItemChanged, 0, pChange->iItem + 1);
}
