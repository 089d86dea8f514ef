#pragma once

#include "platform/base/WinTypes.h"

// A rectangle with the class library's constructors and measures.
struct CRect : RECT {
    CRect()
        : RECT { 0, 0, 0, 0 }
    {
    }
    CRect(int l, int t, int r, int b)
        : RECT { l, t, r, b }
    {
    }
    CRect(const RECT& rc)
        : RECT(rc)
    {
    }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};
