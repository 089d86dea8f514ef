#include "ui/CMFCXListMenu.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Input.h"
#include "ui/AppPalette.h"
#include "ui/DrawDisabledImage.h"
#include "ui/ListBoxGeometry.h"

IMPLEMENT_DYNAMIC(CMFCXListMenu, CListBoxNT)

BEGIN_MESSAGE_MAP(CMFCXListMenu, CListBoxNT)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

/* Colours, palette-relative. */
constexpr COLORREF BACKGROUND = PALETTERGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF FRAME_LIGHT = PALETTERGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF FRAME_DARK = PALETTERGB(0x80, 0x80, 0x80);
constexpr COLORREF TEXT = PALETTERGB(0, 0, 0);

/* Item layout. */
constexpr int ITEM_INSET = 2;
constexpr int ICON_TOP = 6;
constexpr int TEXT_GAP = 6;
constexpr int FRAME_OUTSET = 3;
constexpr int PRESSED_SHIFT = 2;

} // namespace

CMFCXListMenu::CMFCXListMenu() = default;

CMFCXListMenu::~CMFCXListMenu() = default;

/* Items. */

int CMFCXListMenu::AddItem(LPCSTR pszText, DWORD nImage, DWORD nData, DWORD bEnabled)
{
    const int nItem = AddString(pszText);
    if (nItem < 0)
        return nItem;
    auto* pRecord = new CRecord;
    pRecord->nImage = nImage;
    pRecord->nData = nData;
    pRecord->bEnabled = bEnabled;
    return SetItemDataPtr(nItem, static_cast<CListItemRecord*>(pRecord));
}

BOOL CMFCXListMenu::CreateImageList(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    auto pImages = std::make_unique<CImageList>();
    if (!pImages->Create(nBitmapID, cx, nGrow, crMask))
        return FALSE;
    m_pImages = std::move(pImages);
    return TRUE;
}

const CMFCXListMenu::CRecord* CMFCXListMenu::Record(int nItem) const
{
    return dynamic_cast<const CRecord*>(GetRecord(nItem));
}

DWORD CMFCXListMenu::GetItemImage(int nItem) const
{
    const CRecord* pRecord = Record(nItem);
    return pRecord ? pRecord->nImage : static_cast<DWORD>(-1);
}

void CMFCXListMenu::SetItemImage(int nItem, DWORD nImage)
{
    if (auto* pRecord = dynamic_cast<CRecord*>(GetRecord(nItem)))
        pRecord->nImage = nImage;
}

DWORD CMFCXListMenu::GetItemValue(int nItem) const
{
    const CRecord* pRecord = Record(nItem);
    return pRecord ? pRecord->nData : 0;
}

BOOL CMFCXListMenu::IsItemEnabled(int nItem) const
{
    const CRecord* pRecord = Record(nItem);
    return pRecord && pRecord->bEnabled;
}

/* The hot item. */

int CMFCXListMenu::GetHotItem() const
{
    int nItem = -1;
    return GetSelItems(1, &nItem) == 1 ? nItem : -1;
}

void CMFCXListMenu::SetHotItem(int nItem)
{
    const int nOld = GetHotItem();
    if (nItem != -1)
        SetSel(nItem, TRUE);
    if (nOld != -1 && nOld != nItem) {
        SetSel(nOld, FALSE);
        RECT rect {};
        if (GetItemRect(nOld, &rect) != LB_ERR)
            InvalidateRect(&rect, TRUE);
    }
}

void CMFCXListMenu::HotTrack(int nItem)
{
    const int nOld = GetHotItem();
    if (nItem == nOld)
        return;
    SetHotItem(nItem);
    OnHotItemChanged(nOld, nItem);
}

void CMFCXListMenu::ChooseItem(int nItem)
{
    KillTimer(TIMER_HOVER);
    if (nItem != -1) {
        m_bPressed = TRUE;
        SetHotItem(nItem);
        OnChoose();
    }
    SetHotItem(-1);
    m_bPressed = FALSE;
}

int CMFCXListMenu::ChoosableItemAt(CPoint point)
{
    const int nItem = GetListBoxItemFromPoint(this, point.x, point.y);
    return nItem != -1 && IsItemEnabled(nItem) ? nItem : -1;
}

/* Mouse. */

void CMFCXListMenu::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    const int nItem = ChoosableItemAt(point);
    m_lastPoint = point;
    if (nItem != -1 && GetCapture() != this)
        SetTimer(TIMER_HOVER, HOVER_CHECK_MS, nullptr);
    HotTrack(nItem);
}

void CMFCXListMenu::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    KillTimer(TIMER_HOVER);
    SetCapture();
    m_bPressed = TRUE;
    SetHotItem(GetHotItem());
    const int nHot = GetHotItem();
    RECT rect {};
    if (nHot != -1 && GetItemRect(nHot, &rect) != LB_ERR)
        InvalidateRect(&rect, TRUE);
}

void CMFCXListMenu::OnLButtonUp(UINT /*nFlags*/, CPoint point)
{
    const int nItem = ChoosableItemAt(point);
    HotTrack(nItem);
    if (GetCapture() == this)
        ReleaseCapture();
    if (m_bPressed && nItem != -1) {
        OnChoose();
        SetHotItem(-1);
    }
    m_bPressed = FALSE;
}

void CMFCXListMenu::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_HOVER) {
        CListBoxNT::OnTimer(nIDEvent);
        return;
    }
    RECT window {};
    GetWindowRect(&window);
    POINT cursor {};
    GetCursorPos(&cursor);
    if (!PtInRect(&window, cursor)) {
        KillTimer(TIMER_HOVER);
        HotTrack(-1);
    }
}

/* Drawing. */

BOOL CMFCXListMenu::OnEraseBkgnd(CDC* pDC)
{
    RealizeAppPalette(pDC);
    RECT client {};
    GetClientRect(&client);
    pDC->FillSolidRect(&client, BACKGROUND);
    return TRUE;
}

void CMFCXListMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    // A memory DC measures as the list's own, without making the frame's surface before it has its size.
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* pOldFont = dc.SelectObject(GetFont());
    RECT client {};
    GetClientRect(&client);
    RECT text { 0, 0, client.right - 2 * ITEM_INSET, 0 };
    const int nItem = static_cast<int>(lpMeasureItemStruct->itemID);
    CString strText;
    if (nItem >= 0 && nItem < GetCount())
        GetText(nItem, strText);
    dc.DrawText(strText, &text, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    dc.SelectObject(pOldFont);
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(text.bottom - text.top + ITEM_EXTRA_HEIGHT);
}

void CMFCXListMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const auto nItem = static_cast<int>(lpDrawItemStruct->itemID);
    const CRecord* pRecord = Record(nItem);
    if (!pDC || !pRecord)
        return;
    RECT work = lpDrawItemStruct->rcItem;
    InflateRect(&work, -ITEM_INSET, -ITEM_INSET);
    RECT icon { work.left + (work.right - work.left - ICON_SIZE) / 2, work.top + ICON_TOP, 0, 0 };
    icon.right = icon.left + ICON_SIZE;
    icon.bottom = icon.top + ICON_SIZE;
    RECT text { work.left, icon.bottom + TEXT_GAP, work.right, work.bottom };

    RealizeAppPalette(pDC);
    pDC->SetTextColor(TEXT);
    pDC->SetBkMode(TRANSPARENT);
    const UINT nAction = lpDrawItemStruct->itemAction;
    const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    bool bDrawAll = (nAction & ODA_DRAWENTIRE) != 0;
    if (bSelected && (nAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        pDC->FillSolidRect(&work, BACKGROUND);
        if (m_bPressed)
            OffsetRect(&icon, PRESSED_SHIFT, PRESSED_SHIFT);
        RECT frame = icon;
        InflateRect(&frame, FRAME_OUTSET, FRAME_OUTSET);
        pDC->Draw3dRect(&frame, m_bPressed ? FRAME_DARK : FRAME_LIGHT, m_bPressed ? FRAME_LIGHT : FRAME_DARK);
        bDrawAll = true;
    } else if (!bSelected && (nAction & ODA_SELECT)) {
        pDC->FillSolidRect(&work, BACKGROUND);
        bDrawAll = true;
    }
    if (bDrawAll) {
        if (m_pImages)
            m_pImages->Draw(pDC, static_cast<int>(pRecord->nImage), POINT { icon.left, icon.top }, ILD_TRANSPARENT);
        CString strText;
        GetText(nItem, strText);
        pDC->DrawText(strText, &text, DT_CENTER | DT_WORDBREAK);
    }
    if (!pRecord->bEnabled)
        DrawDisabledImage(pDC, work, BACKGROUND, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_GRAYTEXT));
}
