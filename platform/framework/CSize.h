#pragma once

#include "platform/base/WinTypes.h"

// A width and height with the class library's constructors.
struct CSize : SIZE {
    CSize()
        : SIZE { 0, 0 }
    {
    }
    CSize(int initCX, int initCY)
        : SIZE { initCX, initCY }
    {
    }
    bool operator==(const CSize& other) const { return cx == other.cx && cy == other.cy; }
};
