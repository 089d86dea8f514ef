#include "platform/controls/EditInternal.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

void PaintEdit(HWND hWnd, HDC hdc)
{
    const CEditState* pState = EditState(hWnd);
    const DWORD dwStyle = EditStyle(hWnd);
    const bool bGrey = (dwStyle & ES_READONLY) || !IsWindowEnabled(hWnd);
    HBRUSH hBrush
        = bGrey ? PrepareControlDC(hWnd, hdc, WM_CTLCOLORSTATIC) : PrepareControlDC(hWnd, hdc, WM_CTLCOLOREDIT);
    if (!IsWindowEnabled(hWnd))
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, hBrush);

    const int nLineHeight = LineHeight(hdc);
    const bool bShowSel = pState->bFocus || (dwStyle & ES_NOHIDESEL);
    const size_t nSelStart = pState->SelStart();
    const size_t nSelEnd = pState->SelEnd();
    std::vector<CEditLine> lines = Lines(hWnd, hdc);
    SetBkMode(hdc, TRANSPARENT);
    for (size_t i = static_cast<size_t>(pState->nTopLine); i < lines.size(); ++i) {
        const int y = (static_cast<int>(i) - pState->nTopLine) * nLineHeight;
        if (y >= rcClient.bottom)
            break;
        const CEditLine& line = lines[i];
        const int x = LineLeft(hWnd, hdc, line);
        std::string shown = Shown(hWnd, pState->strText.substr(line.nStart, line.nLength));
        TextOut(hdc, x, y, shown.c_str(), static_cast<int>(shown.size()));
        const size_t nFrom = std::max(nSelStart, line.nStart);
        const size_t nTo = std::min(nSelEnd, line.nStart + line.nLength);
        if (!bShowSel || nFrom >= nTo)
            continue;
        // The selected part again, in the highlight colours.
        const int xFrom = x + TextWidth(hWnd, hdc, pState->strText.substr(line.nStart, nFrom - line.nStart));
        std::string selected = Shown(hWnd, pState->strText.substr(nFrom, nTo - nFrom));
        RECT rcSel { xFrom, y, xFrom + TextWidth(hWnd, hdc, pState->strText.substr(nFrom, nTo - nFrom)),
            y + nLineHeight };
        FillRect(hdc, &rcSel, GetSysColorBrush(COLOR_HIGHLIGHT));
        COLORREF crOld = SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        TextOut(hdc, xFrom, y, selected.c_str(), static_cast<int>(selected.size()));
        SetTextColor(hdc, crOld);
    }
}
