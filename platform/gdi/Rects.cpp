#include "platform/gdi/Rects.h"

#include <algorithm>

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom)
{
    if (!lprc)
        return FALSE;
    *lprc = RECT { xLeft, yTop, xRight, yBottom };
    return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc)
{
    return SetRect(lprc, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc)
{
    if (!lprcDst || !lprcSrc)
        return FALSE;
    *lprcDst = *lprcSrc;
    return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy)
{
    if (!lprc)
        return FALSE;
    lprc->left -= dx;
    lprc->right += dx;
    lprc->top -= dy;
    lprc->bottom += dy;
    return TRUE;
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy)
{
    if (!lprc)
        return FALSE;
    lprc->left += dx;
    lprc->right += dx;
    lprc->top += dy;
    lprc->bottom += dy;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* lprc)
{
    return !lprc || lprc->right <= lprc->left || lprc->bottom <= lprc->top;
}

BOOL EqualRect(const RECT* lprc1, const RECT* lprc2)
{
    if (!lprc1 || !lprc2)
        return FALSE;
    return lprc1->left == lprc2->left && lprc1->top == lprc2->top && lprc1->right == lprc2->right
        && lprc1->bottom == lprc2->bottom;
}

BOOL PtInRect(const RECT* lprc, POINT pt)
{
    return lprc && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2)
{
    if (!lprcDst || !lprcSrc1 || !lprcSrc2)
        return FALSE;
    RECT rc { std::max(lprcSrc1->left, lprcSrc2->left), std::max(lprcSrc1->top, lprcSrc2->top),
        std::min(lprcSrc1->right, lprcSrc2->right), std::min(lprcSrc1->bottom, lprcSrc2->bottom) };
    if (IsRectEmpty(&rc)) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    *lprcDst = rc;
    return TRUE;
}

BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2)
{
    if (!lprcDst || !lprcSrc1 || !lprcSrc2)
        return FALSE;
    bool bEmpty1 = IsRectEmpty(lprcSrc1);
    bool bEmpty2 = IsRectEmpty(lprcSrc2);
    if (bEmpty1 && bEmpty2) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    if (bEmpty1 || bEmpty2) {
        *lprcDst = bEmpty1 ? *lprcSrc2 : *lprcSrc1;
        return TRUE;
    }
    *lprcDst = RECT { std::min(lprcSrc1->left, lprcSrc2->left), std::min(lprcSrc1->top, lprcSrc2->top),
        std::max(lprcSrc1->right, lprcSrc2->right), std::max(lprcSrc1->bottom, lprcSrc2->bottom) };
    return TRUE;
}

BOOL SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2)
{
    if (!lprcDst || !lprcSrc1 || !lprcSrc2)
        return FALSE;
    RECT rc = *lprcSrc1;
    RECT rcCommon;
    if (IntersectRect(&rcCommon, lprcSrc1, lprcSrc2)) {
        bool bFullWidth = rcCommon.left == rc.left && rcCommon.right == rc.right;
        bool bFullHeight = rcCommon.top == rc.top && rcCommon.bottom == rc.bottom;
        if (bFullWidth && rcCommon.top == rc.top)
            rc.top = rcCommon.bottom;
        else if (bFullWidth && rcCommon.bottom == rc.bottom)
            rc.bottom = rcCommon.top;
        else if (bFullHeight && rcCommon.left == rc.left)
            rc.left = rcCommon.right;
        else if (bFullHeight && rcCommon.right == rc.right)
            rc.right = rcCommon.left;
    }
    if (IsRectEmpty(&rc)) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    *lprcDst = rc;
    return TRUE;
}
