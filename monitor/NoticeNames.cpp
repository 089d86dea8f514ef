#include "monitor/NoticeNames.h"

#include "ui/PathAbbreviation.h"

CString GetShortDisplayName(const CNewDocNotice& notice, HDC hdc, const RECT* pRect)
{
    return AbbreviatePath(notice.GetDisplayName(), hdc, pRect);
}
