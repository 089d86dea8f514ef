#include "ui/CNodeButton.h"

#include "platform/base/CString.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "ui/NodePath.h"

BEGIN_MESSAGE_MAP(CNodeButton, CButton)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CNodeButton::CNodeButton() = default;

CNodeButton::~CNodeButton() = default;

void CNodeButton::SetNode(const CNodeRec* pNode)
{
    m_pNode.reset(pNode ? pNode->Clone() : nullptr);
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

void CNodeButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    RECT rect = lpDrawItemStruct->rcItem;
    if (!m_pNode) {
        CString strText;
        strText.LoadString(IDS_NODE_BUTTON_EMPTY);
        pDC->TextOut(rect.left, rect.top, strText);
        return;
    }
    DrawNodePath(m_pNode.get(), pDC->GetSafeHdc(), &rect);
    RECT window {};
    GetWindowRect(&window);
    const int nNeeded = rect.right - lpDrawItemStruct->rcItem.right;
    if (nNeeded > 0) {
        // Grow to the right by what the path needs, in the parent's coordinates.
        GetParent()->ScreenToClient(&window);
        SetWindowPos(nullptr, window.left, window.top, window.right - window.left + nNeeded, window.bottom - window.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(SW_HIDE);
        ShowWindow(SW_SHOW);
        CBrush* pBlack = CBrush::FromHandle(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        pDC->FrameRect(&lpDrawItemStruct->rcItem, pBlack);
    }
}

void CNodeButton::OnDestroy()
{
    m_pNode.reset();
    CButton::OnDestroy();
}
