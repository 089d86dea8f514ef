#include "ui/CPopupCtrl.h"

#include "platform/framework/MessageMap.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Input.h"
#include "platform/window/WindowClass.h"
#include "ui/CPopupWnd.h"
#include "ui/DropTargets.h"
#include "ui/ListBoxGeometry.h"
#include "ui/PopupHitTable.h"

const UINT g_nMsgPopupSelChanged = RegisterWindowMessage("PPM SelChanged");
const UINT g_nMsgPopupInit = RegisterWindowMessage("PPM InitPopup");
const UINT g_nMsgPopupChildDestroy = RegisterWindowMessage("PPM PopupFilhoDestroy");
const UINT g_nMsgPopupChildDestroyDrag = RegisterWindowMessage("PPM PopupFilhoDestroyDrag");
const UINT g_nMsgPopupChildEnter = RegisterWindowMessage("PPM PopupFilhoEnter");

IMPLEMENT_DYNAMIC(CPopupCtrl, CListBoxNT)

BEGIN_MESSAGE_MAP(CPopupCtrl, CListBoxNT)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_REGISTERED_MESSAGE(g_nMsgPopupChildDestroy, &CPopupCtrl::OnPopupChildDestroy)
    ON_REGISTERED_MESSAGE(g_nMsgPopupChildDestroyDrag, &CPopupCtrl::OnPopupChildDestroyDrag)
    ON_REGISTERED_MESSAGE(g_nMsgPopupChildEnter, &CPopupCtrl::OnPopupChildEnter)
END_MESSAGE_MAP()

namespace {

POINT CursorPos()
{
    POINT cursor {};
    GetCursorPos(&cursor);
    return cursor;
}

} // namespace

CPopupCtrl::CPopupCtrl() = default;

CPopupCtrl::~CPopupCtrl()
{
    // A list deleted while its window lives (a member of a host window being
    // deleted) still takes its child along and leaves the tables.
    if (GetSafeHwnd())
        DestroyWindow();
    delete m_pChild;
}

/* Items. */

int CPopupCtrl::AddItem(LPCSTR pszText, DWORD nData, BOOL bHasChild, BOOL bEnabled)
{
    const int nIndex = AddString(pszText);
    if (nIndex < 0)
        return nIndex;
    auto* pRecord = new CRecord;
    pRecord->nFlags = (bHasChild ? FLAG_HAS_CHILD : 0) | (bEnabled ? FLAG_ENABLED : 0);
    pRecord->nData = nData;
    return SetItemDataPtr(nIndex, static_cast<CListItemRecord*>(pRecord));
}

CPopupCtrl::CRecord* CPopupCtrl::Record(int nIndex) const
{
    return dynamic_cast<CRecord*>(GetRecord(nIndex));
}

DWORD CPopupCtrl::GetItemValue(int nIndex) const
{
    const CRecord* pRecord = Record(nIndex);
    return pRecord ? pRecord->nData : 0;
}

BOOL CPopupCtrl::ItemHasChild(int nIndex) const
{
    const CRecord* pRecord = Record(nIndex);
    return pRecord && (pRecord->nFlags & FLAG_HAS_CHILD) != 0;
}

void CPopupCtrl::ClearItemChild(int nIndex)
{
    if (CRecord* pRecord = Record(nIndex))
        pRecord->nFlags &= ~FLAG_HAS_CHILD;
}

void CPopupCtrl::SetItemEnabled(int nIndex, BOOL bEnabled)
{
    if (CRecord* pRecord = Record(nIndex))
        pRecord->nFlags = bEnabled ? pRecord->nFlags | FLAG_ENABLED : pRecord->nFlags & ~FLAG_ENABLED;
}

BOOL CPopupCtrl::IsItemEnabled(int nIndex) const
{
    const CRecord* pRecord = Record(nIndex);
    return pRecord && (pRecord->nFlags & FLAG_ENABLED) != 0;
}

/* Opening and closing. */

void CPopupCtrl::AttachHost(CPopupWnd* pHost, CWnd* pParent)
{
    m_pHost = pHost;
    m_pParent = pParent;
    m_bHasParent = pParent && pParent->IsKindOf(RUNTIME_CLASS(CPopupCtrl));
}

void CPopupCtrl::Open(int nMode, const RECT* pParentItemRect)
{
    RegisterPopupHitWindow(this, TRUE);
    InitPlacement(pParentItemRect);
    SetMode(nMode);
}

void CPopupCtrl::Close(BOOL bChosen)
{
    CloseChild();
    RegisterPopupHitWindow(this, FALSE);
    CWnd* pParent = m_bHasParent ? m_pParent : nullptr;
    m_pHost->DestroyWindow();
    // The parent deletes this list's host window with this list in it.
    if (pParent)
        pParent->SendMessage(g_nMsgPopupChildDestroy, bChosen ? 1 : 0, 0);
}

void CPopupCtrl::OpenForDrag(const RECT* pParentItemRect)
{
    RegisterDropTarget(this, TRUE);
    InitPlacement(pParentItemRect);
    m_bNear = TRUE;
    SetTimer(TIMER_POLL_DRAG, POLL_MS, nullptr);
}

void CPopupCtrl::CloseForDrag()
{
    CloseChildForDrag();
    RegisterDropTarget(this, FALSE);
    CWnd* pParent = m_bHasParent ? m_pParent : nullptr;
    m_pHost->DestroyWindow();
    if (pParent)
        pParent->SendMessage(g_nMsgPopupChildDestroyDrag, 0, 0);
}

void CPopupCtrl::InitPlacement(const RECT* pParentItemRect)
{
    const CPopupCtrl* pRoot = this;
    while (pRoot->m_bHasParent)
        pRoot = static_cast<const CPopupCtrl*>(pRoot->m_pParent);
    if (pRoot->m_pParent && pRoot->m_pParent->GetSafeHwnd())
        pRoot->m_pParent->SendMessage(g_nMsgPopupInit, 0, reinterpret_cast<LPARAM>(this));
    m_rcParentItem = pParentItemRect ? *pParentItemRect : RECT {};
    m_pHost->GetWindowRect(&m_rcPopup);
}

void CPopupCtrl::SetMode(int nMode)
{
    m_nMode = nMode;
    if (nMode != MODE_MOUSE) {
        KillTimer(TIMER_POLL);
        KillTimer(TIMER_CLOSE);
        KillTimer(TIMER_OPEN_CHILD);
        m_bNear = m_bInside = TRUE;
        TellParent(g_nMsgPopupChildEnter, 0);
        return;
    }
    const POINT cursor = CursorPos();
    RECT rcList {};
    GetWindowRect(&rcList);
    if (PtInRect(&rcList, cursor)) {
        m_bNear = m_bInside = TRUE;
    } else if (!IsCursorNear(cursor)) {
        m_bNear = m_bInside = FALSE;
        if (!m_pChild)
            SetTimer(TIMER_CLOSE, CLOSE_DELAY_MS, nullptr);
    } else {
        m_bNear = TRUE;
        m_bInside = FALSE;
        if (!m_pChild)
            SetTimer(TIMER_POLL, POLL_MS, nullptr);
    }
}

BOOL CPopupCtrl::PlaceChild(int nIndex, RECT* pItemRect)
{
    m_pChild = CreateChildPopup(nIndex);
    if (!m_pChild)
        return FALSE;
    POINT origin {};
    GetItemScreenRect(nIndex, &origin, pItemRect);
    m_pChild->FitOnScreen(&origin, pItemRect);
    return TRUE;
}

BOOL CPopupCtrl::OpenChild(int nIndex, int nMode)
{
    RECT rcItem {};
    if (!PlaceChild(nIndex, &rcItem))
        return FALSE;
    m_pChild->GetPopupCtrl()->Open(nMode, &rcItem);
    return TRUE;
}

BOOL CPopupCtrl::OpenChildForDrag(int nIndex)
{
    RECT rcItem {};
    if (!PlaceChild(nIndex, &rcItem))
        return FALSE;
    m_pChild->SetDragMode(TRUE);
    m_pChild->GetPopupCtrl()->OpenForDrag(&rcItem);
    return TRUE;
}

void CPopupCtrl::CloseChild()
{
    if (m_pChild)
        m_pChild->GetPopupCtrl()->Close(FALSE);
}

void CPopupCtrl::CloseChildForDrag()
{
    if (m_pChild)
        m_pChild->GetPopupCtrl()->CloseForDrag();
}

void CPopupCtrl::GetItemScreenRect(int nIndex, POINT* pOrigin, RECT* pRect)
{
    if (GetItemRect(nIndex, pRect) == LB_ERR)
        GetItemRect(GetTopIndex(), pRect);
    ClientToScreen(pRect);
    pOrigin->x = pRect->left < m_rcParentItem.left ? pRect->left : pRect->right - 4;
    pOrigin->y = pRect->top + 2;
}

BOOL CPopupCtrl::IsCursorNear(POINT cursor) const
{
    return PtInRect(&m_rcPopup, cursor) || PtInRect(&m_rcParentItem, cursor);
}

void CPopupCtrl::CheckCursorOutside(POINT cursor, UINT_PTR nTimerId)
{
    const BOOL bNear = IsCursorNear(cursor);
    if (!bNear && m_bNear) {
        m_bNear = FALSE;
        SetTimer(nTimerId, CLOSE_DELAY_MS, nullptr);
    } else if (bNear && !m_bNear) {
        m_bNear = TRUE;
        KillTimer(nTimerId);
    }
}

void CPopupCtrl::TellParent(UINT nMessage, WPARAM wParam)
{
    if (m_bHasParent)
        m_pParent->SendMessage(nMessage, wParam, 0);
}

/* Selection and the mouse. */

int CPopupCtrl::SelectItem(int nIndex)
{
    const int nResult = SetCurSel(nIndex);
    if (nResult != LB_ERR && m_pHost)
        m_pHost->SendMessage(g_nMsgPopupSelChanged, nIndex, 0);
    return nResult;
}

void* CPopupCtrl::GetItemResult(int /*nIndex*/)
{
    return nullptr;
}

void* CPopupCtrl::ChooseHotItem()
{
    const int nIndex = GetCurSel();
    const bool bEnabled = nIndex != LB_ERR && IsItemEnabled(nIndex);
    void* pResult = bEnabled ? GetItemResult(nIndex) : nullptr;
    if (!pResult && bEnabled && ItemHasChild(nIndex)) {
        if (m_nOpenChildItem != nIndex)
            OpenSelectedChild(FALSE);
        return nullptr;
    }
    OnMouseLeave();
    Close(TRUE);
    return pResult;
}

void CPopupCtrl::Enter(UINT_PTR nPollTimer, UINT_PTR nCloseTimer)
{
    KillTimer(nPollTimer);
    KillTimer(nCloseTimer);
    m_bNear = m_bInside = TRUE;
    TellParent(g_nMsgPopupChildEnter, 0);
}

void CPopupCtrl::HoverAt(int x, int y, UINT_PTR nOpenTimer)
{
    const int nItem = GetListBoxItemFromPoint(this, x, y);
    if (nItem != GetCurSel()) {
        SelectItem(nItem);
        SetTimer(nOpenTimer, HOVER_DELAY_MS, nullptr);
    }
}

void CPopupCtrl::Leave(UINT_PTR nOpenTimer, UINT_PTR nPollTimer)
{
    SelectItem(-1);
    KillTimer(nOpenTimer);
    if (!m_pChild)
        SetTimer(nPollTimer, POLL_MS, nullptr);
    m_bInside = FALSE;
}

void CPopupCtrl::OnMouseEnter()
{
    Enter(TIMER_POLL, TIMER_CLOSE);
}

void CPopupCtrl::OnMouseMove(UINT /*nFlags*/, int x, int y)
{
    HoverAt(x, y, TIMER_OPEN_CHILD);
}

void CPopupCtrl::OnMouseLeave()
{
    Leave(TIMER_OPEN_CHILD, TIMER_POLL);
}

BOOL CPopupCtrl::OnRightClick()
{
    OnMouseLeave();
    Close(TRUE);
    return TRUE;
}

CPopupWnd* CPopupCtrl::CreateChildPopup(int /*nIndex*/)
{
    return nullptr;
}

/* Keys. */

void CPopupCtrl::OnKeyDown(UINT nVirtualKey)
{
    const int nSelected = GetCurSel();
    const int nCount = GetCount();
    switch (nVirtualKey) {
    case VK_ESCAPE:
        Close(FALSE);
        break;
    case VK_LEFT:
        if (m_bHasParent)
            Close(FALSE);
        break;
    case VK_UP:
        SelectItem((nSelected <= 0 ? nCount : nSelected) - 1);
        break;
    case VK_DOWN:
        SelectItem(nSelected < 0 || nSelected >= nCount - 1 ? 0 : nSelected + 1);
        break;
    case VK_RIGHT:
        if (nSelected != LB_ERR)
            SetTimer(TIMER_OPEN_CHILD, SOON_MS, nullptr);
        else
            SelectItem(0);
        break;
    default:
        break;
    }
}

/* Dragging. */

int CPopupCtrl::EndDragMode(CKadDragObj* /*pPayload*/, int /*nEffect*/)
{
    OnDragLeave();
    CloseForDrag();
    return 0;
}

void CPopupCtrl::OnDragEnter()
{
    Enter(TIMER_POLL_DRAG, TIMER_CLOSE_DRAG);
}

int CPopupCtrl::OnDragOver(CKadDragObj* /*pPayload*/, UINT /*nKeyState*/, int x, int y)
{
    HoverAt(x, y, TIMER_OPEN_CHILD_DRAG);
    return DROPEFFECT_NONE;
}

void CPopupCtrl::OnDragLeave()
{
    Leave(TIMER_OPEN_CHILD_DRAG, TIMER_POLL_DRAG);
}

DROPEFFECT CPopupCtrl::DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y)
{
    return static_cast<DROPEFFECT>(OnDragOver(pPayload, nKeyState, x, y));
}

BOOL CPopupCtrl::DropTake(CKadDragObj* pPayload, DROPEFFECT effect)
{
    return EndDragMode(pPayload, static_cast<int>(effect)) != 0;
}

/* Handlers. */

int CPopupCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    m_nMode = MODE_MOUSE;
    m_pParent = nullptr;
    m_bHasParent = m_bInside = FALSE;
    m_nOpenChildItem = -1;
    return CListBoxNT::OnCreate(lpCreateStruct);
}

void CPopupCtrl::OnDestroy()
{
    for (UINT_PTR nTimer = TIMER_CLOSE; nTimer <= TIMER_POLL_DRAG; ++nTimer)
        KillTimer(nTimer);
    // A list destroyed with its host by anyone else takes its open child
    // along and leaves the tables too.
    ForgetChild();
    RegisterPopupHitWindow(this, FALSE);
    RegisterDropTarget(this, FALSE);
    CListBoxNT::OnDestroy();
}

void CPopupCtrl::OpenSelectedChild(BOOL bForDrag)
{
    KillTimer(bForDrag ? TIMER_OPEN_CHILD_DRAG : TIMER_OPEN_CHILD);
    const int nIndex = GetCurSel();
    if (nIndex == LB_ERR || !IsItemEnabled(nIndex) || !ItemHasChild(nIndex))
        return;
    if (bForDrag)
        CloseChildForDrag();
    else
        CloseChild();
    m_nOpenChildItem = nIndex;
    if (!(bForDrag ? OpenChildForDrag(nIndex) : OpenChild(nIndex, m_nMode))) {
        SelectItem(nIndex);
        m_nOpenChildItem = -1;
    }
}

void CPopupCtrl::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_CLOSE:
        KillTimer(TIMER_CLOSE);
        Close(FALSE);
        break;
    case TIMER_CLOSE_DRAG:
        KillTimer(TIMER_CLOSE_DRAG);
        CloseForDrag();
        break;
    case TIMER_OPEN_CHILD:
        OpenSelectedChild(FALSE);
        break;
    case TIMER_OPEN_CHILD_DRAG:
        OpenSelectedChild(TRUE);
        break;
    case TIMER_POLL:
        CheckCursorOutside(CursorPos(), TIMER_CLOSE);
        break;
    case TIMER_POLL_DRAG:
        if (!g_dragSource)
            SetTimer(TIMER_CLOSE_DRAG, SOON_MS, nullptr);
        else
            CheckCursorOutside(CursorPos(), TIMER_CLOSE_DRAG);
        break;
    default:
        CListBoxNT::OnTimer(nIDEvent);
        break;
    }
}

void CPopupCtrl::ForgetChild()
{
    delete m_pChild;
    m_pChild = nullptr;
    m_nOpenChildItem = -1;
}

LRESULT CPopupCtrl::OnPopupChildDestroy(WPARAM wParam, LPARAM /*lParam*/)
{
    ForgetChild();
    if (wParam == 1) {
        Close(TRUE);
        return 0;
    }
    if (m_bInside)
        return 0;
    if (!IsCursorNear(CursorPos())) {
        SetTimer(TIMER_CLOSE, SOON_MS, nullptr);
    } else {
        m_bNear = TRUE;
        SelectItem(-1);
        SetTimer(TIMER_POLL, POLL_MS, nullptr);
    }
    return 0;
}

LRESULT CPopupCtrl::OnPopupChildDestroyDrag(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    ForgetChild();
    if (g_dragSource && m_bInside)
        return 0;
    if (g_dragSource && IsCursorNear(CursorPos())) {
        m_bNear = TRUE;
        SelectItem(-1);
        SetTimer(TIMER_POLL_DRAG, POLL_MS, nullptr);
    } else {
        SetTimer(TIMER_CLOSE_DRAG, SOON_MS, nullptr);
    }
    return 0;
}

LRESULT CPopupCtrl::OnPopupChildEnter(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (GetCurSel() != m_nOpenChildItem)
        SelectItem(m_nOpenChildItem);
    TellParent(g_nMsgPopupChildEnter, 0);
    return 0;
}
