#include "ui/CSisPopupWnd.h"

CSisPopupWnd::CSisPopupWnd()
    : CPopupWnd("SisPopupWnd")
{
}
