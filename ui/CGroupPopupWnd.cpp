#include "ui/CGroupPopupWnd.h"

CGroupPopupWnd::CGroupPopupWnd()
    : CPopupWnd("GroupPopupWnd")
{
}
