#include "ui/CZoomWnd.h"

#include "platform/base/MulDiv.h"
#include "platform/base/ResourceModule.h"
#include "platform/controls/StaticControl.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/Rects.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <cstring>

BEGIN_MESSAGE_MAP(CZoomWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// Positions at or below this show the start, at or above END_POSITION the end.
constexpr int START_POSITION = 2;
constexpr int END_POSITION = 98;
// Line steps move the picture by a percent, at least out of the ends' dead zones.
constexpr int LINE_STEP = 1;
// The colour that stands for "transparent" in the resource module's pictures.
constexpr COLORREF RESOURCE_TRANSPARENT_COLOUR = RGB(255, 0, 255);

// A position with the dead zones at both ends snapped to 0 and 100.
int SnapPosition(int nPosition)
{
    if (nPosition < START_POSITION)
        return 0;
    if (nPosition > END_POSITION)
        return 100;
    return nPosition;
}

// How much of a size of nPicture pixels a visible percent shows.
int VisiblePercent(int nClient, int nDest)
{
    return nDest < 1 ? 100 : MulDiv(nClient, 100, nDest);
}

// The offset of a part of nPart out of nWhole at a position in percent.
int OffsetAt(int nWhole, int nPart, int nPosition)
{
    if (nPosition <= START_POSITION)
        return 0;
    if (nPosition >= END_POSITION)
        return nWhole - nPart;
    return MulDiv(nWhole - nPart, nPosition, 100);
}

// The bytes between a packed DIB's header and its pixels.
size_t DibColorTableSize(const BITMAPINFOHEADER& header)
{
    constexpr DWORD BITFIELDS = 3;
    size_t nColours = header.biClrUsed;
    if (header.biBitCount <= 8) {
        const size_t nMax = size_t { 1 } << header.biBitCount;
        nColours = nColours == 0 || nColours > nMax ? nMax : nColours;
    }
    const size_t nMasks = header.biCompression == BITFIELDS ? 3 : 0;
    return (nColours + nMasks) * sizeof(DWORD);
}

} // namespace

CZoomWnd::CZoomWnd()
    : m_dwKind(SS_BITMAP)
    , m_cxVScroll(GetSystemMetrics(SM_CXVSCROLL))
    , m_cyHScroll(GetSystemMetrics(SM_CYHSCROLL))
{
}

CZoomWnd::~CZoomWnd()
{
    FreePicture();
    if (GetSafeHwnd())
        DestroyWindow();
    if (m_ppOwnerSlot && *m_ppOwnerSlot == this)
        *m_ppOwnerSlot = nullptr;
}

/* What to show. */

void CZoomWnd::SetPicturePath(LPCTSTR pszPath, int nType)
{
    m_strPath = pszPath ? pszPath : "";
    m_nType = nType;
}

void CZoomWnd::SetBitmapResource(UINT nID)
{
    m_nType = TYPE_BITMAP_RESOURCE;
    m_nResourceID = nID;
}

void CZoomWnd::SetPackedDib(const BITMAPINFOHEADER* pDib)
{
    m_pDib = pDib;
}

BOOL CZoomWnd::SetImage()
{
    m_dwKind = SS_BITMAP;
    switch (m_nType) {
    case TYPE_BITMAP_FILE:
    case TYPE_BITMAP_RESOURCE:
        if (!LoadPictureResource())
            LoadDecodedPicture();
        break;
    case TYPE_ICON:
    case TYPE_CURSOR:
        m_dwKind = SS_ICON;
        LoadPictureResource();
        break;
    case TYPE_METAFILE:
        // No reader for enhanced metafiles: the window stays without a picture.
        m_dwKind = SS_ENHMETAFILE;
        FreePicture();
        break;
    default:
        if (m_pDib) {
            FreePicture();
            m_picture = { m_pDib->biWidth, std::abs(m_pDib->biHeight) };
        } else if (!LoadPictureResource()) {
            LoadDecodedPicture();
        }
        break;
    }
    return m_hPicture != nullptr || (m_pDib && m_picture.cx > 0);
}

BOOL CZoomWnd::LoadPictureResource()
{
    FreePicture();
    if (!m_strPath.IsEmpty()) {
        const UINT nImageType = m_nType == TYPE_ICON ? IMAGE_ICON
            : m_nType == TYPE_CURSOR                 ? IMAGE_CURSOR
                                                     : IMAGE_BITMAP;
        m_hPicture = LoadImage(nullptr, m_strPath, nImageType, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        m_nHandleType = nImageType;
    } else if (m_nResourceID != 0) {
        m_hPicture = LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(static_cast<WORD>(m_nResourceID)));
        m_nHandleType = IMAGE_BITMAP;
    }
    if (m_hPicture && m_dwKind == SS_BITMAP) {
        BITMAP bm {};
        if (GetObject(m_hPicture, sizeof(bm), &bm) && bm.bmWidth > 0 && bm.bmHeight > 0)
            m_picture = { bm.bmWidth, bm.bmHeight };
    }
    return m_hPicture != nullptr;
}

BOOL CZoomWnd::LoadDecodedPicture()
{
    FreePicture();
    if (m_strPath.IsEmpty())
        return FALSE;
    HBITMAP hbm = LoadPictureFile(m_strPath);
    BITMAP bm {};
    if (!hbm || !GetObject(hbm, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
        if (hbm)
            DeleteObject(hbm);
        return FALSE;
    }
    m_hPicture = hbm;
    m_nHandleType = IMAGE_BITMAP;
    m_picture = { bm.bmWidth, bm.bmHeight };
    return TRUE;
}

void CZoomWnd::FreePicture()
{
    if (m_hPicture) {
        if (m_nHandleType == IMAGE_ICON)
            DestroyIcon(static_cast<HICON>(m_hPicture));
        else if (m_nHandleType == IMAGE_CURSOR)
            DestroyCursor(static_cast<HCURSOR>(m_hPicture));
        else
            DeleteObject(m_hPicture);
        m_hPicture = nullptr;
    }
    m_picture = {};
}

/* How to show it. */

void CZoomWnd::SetPositions(int nHorizontal, int nVertical)
{
    m_nPosX = std::clamp(nHorizontal, 0, 100);
    m_nPosY = std::clamp(nVertical, 0, 100);
}

BOOL CZoomWnd::Create(CWnd* pParent)
{
    if (GetSafeHwnd())
        return TRUE;
    return CWnd::Create("STATIC", "", m_dwKind | WS_CHILD | WS_VISIBLE, m_client, pParent, 0);
}

void CZoomWnd::RecalcLayout(const RECT& client)
{
    const DWORD dwStyle = GetSafeHwnd() ? GetStyle() : 0;
    m_layout = Layout(client, (dwStyle & WS_HSCROLL) != 0, (dwStyle & WS_VSCROLL) != 0);
    m_nZoom = m_layout.nZoom;
}

CZoomWnd::CLayout CZoomWnd::Layout(const RECT& client, BOOL bHasHorizontalBar, BOOL bHasVerticalBar) const
{
    CLayout layout;
    layout.client = client;
    layout.sourceSize = m_picture;
    int cx = client.right - client.left;
    int cy = client.bottom - client.top;
    const bool bFit = m_nRequestedZoom < MIN_ZOOM;
    layout.nZoom = bFit ? 100 : m_nRequestedZoom;
    layout.destSize = { MulDiv(m_picture.cx, layout.nZoom, 100), MulDiv(m_picture.cy, layout.nZoom, 100) };

    // First as if no bar were shown.
    const int cxWhole = cx + (bHasVerticalBar ? m_cxVScroll : 0);
    const int cyWhole = cy + (bHasHorizontalBar ? m_cyHScroll : 0);
    int nVisibleX = VisiblePercent(cxWhole, layout.destSize.cx);
    int nVisibleY = VisiblePercent(cyWhole, layout.destSize.cy);
    if (nVisibleX < 100 || nVisibleY < 100) {
        if (bFit) {
            layout.nZoom = std::min(nVisibleX, nVisibleY);
            layout.destSize = { MulDiv(m_picture.cx, layout.nZoom, 100), MulDiv(m_picture.cy, layout.nZoom, 100) };
            cx = cxWhole;
            cy = cyWhole;
        } else {
            // A fixed zoom that does not fit: bars take their room.
            nVisibleX = VisiblePercent(cx, layout.destSize.cx);
            nVisibleY = VisiblePercent(cy, layout.destSize.cy);
            if (nVisibleX < 100 && !bHasHorizontalBar) {
                cy -= m_cyHScroll;
                nVisibleY = VisiblePercent(cy, layout.destSize.cy);
            }
            if (nVisibleY < 100 && !bHasVerticalBar) {
                cx -= m_cxVScroll;
                nVisibleX = VisiblePercent(cx, layout.destSize.cx);
            }
            if (nVisibleX < 100) {
                layout.destSize.cx = cx;
                layout.sourceSize.cx = MulDiv(m_picture.cx, nVisibleX, 100);
            }
            if (nVisibleY < 100) {
                layout.destSize.cy = cy;
                layout.sourceSize.cy = MulDiv(m_picture.cy, nVisibleY, 100);
            }
        }
    } else {
        cx = cxWhole;
        cy = cyWhole;
    }

    layout.source = { OffsetAt(m_picture.cx, layout.sourceSize.cx, m_nPosX),
        OffsetAt(m_picture.cy, layout.sourceSize.cy, m_nPosY) };
    layout.dest = { client.left + OffsetAt(cx, layout.destSize.cx, m_nPosX),
        client.top + OffsetAt(cy, layout.destSize.cy, m_nPosY) };
    layout.bNeedsHorizontalBar = m_picture.cx - layout.sourceSize.cx > 1;
    layout.bNeedsVerticalBar = m_picture.cy - layout.sourceSize.cy > 1;
    return layout;
}

void CZoomWnd::UpdateScrollBars(const CLayout& layout)
{
    // Only what changes is set: a bar redrawn from the paint would paint again, without end.
    const auto Update = [this](int nBar, BOOL bNeeded, int nPicture, int nSource, int nOffset) {
        const DWORD dwBarStyle = nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
        if (((GetStyle() & dwBarStyle) != 0) != (bNeeded != FALSE))
            ShowScrollBar(nBar, bNeeded);
        if (!bNeeded)
            return;
        SCROLLINFO info {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        SCROLLINFO current = info;
        if (GetScrollInfo(nBar, &current) && current.nMin == 0 && current.nMax == nPicture
            && current.nPage == static_cast<UINT>(nSource) && current.nPos == nOffset)
            return;
        info.nMax = nPicture;
        info.nPage = static_cast<UINT>(nSource);
        info.nPos = nOffset;
        SetScrollInfo(nBar, &info, TRUE);
    };
    Update(SB_HORZ, layout.bNeedsHorizontalBar, m_picture.cx, layout.sourceSize.cx, layout.source.x);
    Update(SB_VERT, layout.bNeedsVerticalBar, m_picture.cy, layout.sourceSize.cy, layout.source.y);
}

std::vector<BYTE> CZoomWnd::CopyToClipboard(int cx, int cy)
{
    std::vector<BYTE> dib;
    if (cx <= 0 || cy <= 0 || (m_picture.cx <= 0 && !m_hPicture))
        return dib;
    const CLayout layout = Layout(RECT { 0, 0, cx, cy }, FALSE, FALSE);
    HDC hScreen = ::GetDC(nullptr);
    CDC memory;
    memory.Attach(CreateCompatibleDC(hScreen));
    HBITMAP hbm = CreateCompatibleBitmap(hScreen, cx, cy);
    if (hbm) {
        HGDIOBJ hOld = SelectObject(memory.GetSafeHdc(), hbm);
        Draw(memory, layout);
        SelectObject(memory.GetSafeHdc(), hOld);
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dib.resize(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(cx) * static_cast<size_t>(cy) * 4);
        if (GetDIBits(
                hScreen, hbm, 0, static_cast<UINT>(cy), dib.data() + sizeof(BITMAPINFOHEADER), &info, DIB_RGB_COLORS)
            != cy)
            dib.clear();
        else
            std::memcpy(dib.data(), &info.bmiHeader, sizeof(BITMAPINFOHEADER));
        DeleteObject(hbm);
    }
    DeleteDC(memory.Detach());
    ::ReleaseDC(nullptr, hScreen);
    return dib;
}

/* Messages. */

void CZoomWnd::OnPaint()
{
    CPaintDC dc(this);
    RECT client {};
    GetClientRect(&client);
    RecalcLayout(client);
    UpdateScrollBars(m_layout);
    // Showing or hiding a bar resized the client area: lay out the new one.
    RECT after {};
    GetClientRect(&after);
    if (!EqualRect(&after, &client))
        RecalcLayout(after);
    dc.IntersectClipRect(&after);
    Draw(dc, m_layout);
}

void CZoomWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout(RECT { 0, 0, cx, cy });
}

void CZoomWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* /*pScrollBar*/)
{
    m_nPosX = ScrollPosition(m_nPosX, nSBCode, nPos, m_picture.cx, m_layout.sourceSize.cx);
    Invalidate();
}

void CZoomWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* /*pScrollBar*/)
{
    m_nPosY = ScrollPosition(m_nPosY, nSBCode, nPos, m_picture.cy, m_layout.sourceSize.cy);
    Invalidate();
}

BOOL CZoomWnd::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

void CZoomWnd::OnDestroy()
{
    if (m_ppOwnerSlot && *m_ppOwnerSlot == this)
        *m_ppOwnerSlot = nullptr;
    CWnd::OnDestroy();
}

/* Helpers. */

int CZoomWnd::ScrollPosition(int nPosition, UINT nSBCode, UINT nThumb, int nPicture, int nSource) const
{
    // Without a picture, or in a direction where all of it shows, nothing moves.
    if ((!m_hPicture && !m_pDib) || nSource <= 1 || nPicture - nSource <= 1)
        return 0;
    const int nPage = MulDiv(nSource, 100, nPicture);
    switch (nSBCode) {
    case SB_LINELEFT:
        // From the end's dead zone a step must reach a position that moves.
        nPosition = nPosition >= END_POSITION ? END_POSITION - LINE_STEP : nPosition - LINE_STEP;
        break;
    case SB_LINERIGHT:
        nPosition = nPosition <= START_POSITION ? START_POSITION + LINE_STEP : nPosition + LINE_STEP;
        break;
    case SB_PAGELEFT:
        nPosition -= nPage;
        break;
    case SB_PAGERIGHT:
        nPosition += nPage;
        break;
    case SB_LEFT:
        nPosition = 0;
        break;
    case SB_RIGHT:
        nPosition = 100;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        // The bar's range is the picture: its free part maps onto 0 to 100.
        nPosition = nPicture > nSource ? MulDiv(static_cast<int>(nThumb), 100, nPicture - nSource) : 0;
        break;
    default:
        return nPosition;
    }
    return SnapPosition(std::clamp(nPosition, 0, 100));
}

void CZoomWnd::Draw(CDC& dc, const CLayout& layout) const
{
    const RECT& client = layout.client;
    const RECT dest { layout.dest.x, layout.dest.y, layout.dest.x + layout.destSize.cx,
        layout.dest.y + layout.destSize.cy };
    const RECT margins[] = {
        { client.left, client.top, client.right, std::max(client.top, dest.top) },
        { client.left, std::min(client.bottom, dest.bottom), client.right, client.bottom },
        { client.left, dest.top, dest.left, dest.bottom },
        { dest.right, dest.top, client.right, dest.bottom },
    };
    for (const RECT& margin : margins) {
        if (IsRectEmpty(&margin))
            continue;
        if (m_crBackground == RGB(0, 0, 0) || m_crBackground == RGB(255, 255, 255))
            dc.PatBlt(margin.left, margin.top, margin.right - margin.left, margin.bottom - margin.top,
                m_crBackground == 0 ? BLACKNESS : WHITENESS);
        else
            dc.FillSolidRect(&margin, m_crBackground);
    }
    const int nOldMode = dc.SetStretchBltMode(HALFTONE);
    if (m_pDib && !m_hPicture && m_picture.cx > 0) {
        const auto* pInfo = reinterpret_cast<const BITMAPINFO*>(m_pDib);
        const BYTE* pBits = reinterpret_cast<const BYTE*>(m_pDib) + m_pDib->biSize + DibColorTableSize(*m_pDib);
        // DIB rows run bottom-up: the source's top is measured from the bottom.
        const int ySource
            = m_pDib->biHeight < 0 ? layout.source.y : m_picture.cy - layout.source.y - layout.sourceSize.cy;
        StretchDIBits(dc.GetSafeHdc(), dest.left, dest.top, layout.destSize.cx, layout.destSize.cy, layout.source.x,
            ySource, layout.sourceSize.cx, layout.sourceSize.cy, pBits, pInfo, DIB_RGB_COLORS, SRCCOPY);
    } else if (m_hPicture && m_dwKind == SS_BITMAP) {
        CDC memory;
        memory.Attach(CreateCompatibleDC(dc.GetSafeHdc()));
        HGDIOBJ hOld = SelectObject(memory.GetSafeHdc(), m_hPicture);
        if (m_nType == TYPE_BITMAP_RESOURCE) {
            // The resource module's pictures show the background where they are transparent.
            dc.FillSolidRect(&dest, m_crBackground);
            TransparentBlt(dc.GetSafeHdc(), dest.left, dest.top, layout.destSize.cx, layout.destSize.cy,
                memory.GetSafeHdc(), layout.source.x, layout.source.y, layout.sourceSize.cx, layout.sourceSize.cy,
                RESOURCE_TRANSPARENT_COLOUR);
        } else {
            dc.StretchBlt(dest.left, dest.top, layout.destSize.cx, layout.destSize.cy, &memory, layout.source.x,
                layout.source.y, layout.sourceSize.cx, layout.sourceSize.cy, SRCCOPY);
        }
        SelectObject(memory.GetSafeHdc(), hOld);
        DeleteDC(memory.Detach());
    } else if (m_hPicture && m_dwKind == SS_ICON) {
        dc.DrawIcon(layout.source.x, layout.source.y, static_cast<HICON>(m_hPicture));
    }
    dc.SetStretchBltMode(nOldMode);
}
