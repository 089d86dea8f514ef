#pragma once

#include "platform/base/WinTypes.h"

// A point with the class library's constructors.
struct CPoint : POINT {
    CPoint()
        : POINT { 0, 0 }
    {
    }
    CPoint(int initX, int initY)
        : POINT { initX, initY }
    {
    }
    CPoint(POINT initPt)
        : POINT(initPt)
    {
    }
    // The signed coordinates packed in a mouse message's lParam.
    explicit CPoint(LPARAM dwPoint)
        : POINT { static_cast<short>(LOWORD(dwPoint)), static_cast<short>(HIWORD(dwPoint)) }
    {
    }
    bool operator==(const CPoint& other) const { return x == other.x && y == other.y; }
};
