#include "platform/controls/EditInternal.h"

#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <cstring>

namespace {

LRESULT GetLine(HWND hWnd, WPARAM nLine, LPARAM lParam)
{
    if (!lParam)
        return 0;
    const CEditState* pState = EditState(hWnd);
    CControlMeasureDC dc(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, dc.Get());
    if (nLine >= lines.size())
        return 0;
    WORD nSize = 0;
    std::memcpy(&nSize, reinterpret_cast<void*>(lParam), sizeof(nSize));
    size_t nCopy = std::min<size_t>(nSize, lines[nLine].nLength);
    std::memcpy(reinterpret_cast<void*>(lParam), pState->strText.data() + lines[nLine].nStart, nCopy);
    return static_cast<LRESULT>(nCopy);
}

LRESULT GetSel(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const CEditState* pState = EditState(hWnd);
    auto nStart = static_cast<DWORD>(pState->SelStart());
    auto nEnd = static_cast<DWORD>(pState->SelEnd());
    if (wParam)
        *reinterpret_cast<DWORD*>(wParam) = nStart;
    if (lParam)
        *reinterpret_cast<DWORD*>(lParam) = nEnd;
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(
        static_cast<WORD>(std::min<DWORD>(nStart, 0xFFFF)), static_cast<WORD>(std::min<DWORD>(nEnd, 0xFFFF)))));
}

void SetSel(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const CEditState* pState = EditState(hWnd);
    const auto nStart = static_cast<int>(static_cast<INT_PTR>(wParam));
    const auto nEnd = static_cast<int>(lParam);
    const size_t nSize = pState->strText.size();
    if (nStart == -1) {
        SetSelection(hWnd, pState->nCaret, pState->nCaret);
        return;
    }
    size_t nAnchor = std::min<size_t>(static_cast<size_t>(std::max(nStart, 0)), nSize);
    size_t nCaret = nEnd < 0 ? nSize : std::min<size_t>(static_cast<size_t>(nEnd), nSize);
    // A multi-line text stays where it is (EM_SCROLLCARET scrolls), so that a
    // dialog selecting all of a long text as the focus comes shows its start.
    SetSelection(hWnd, nAnchor, nCaret, !(EditStyle(hWnd) & ES_MULTILINE));
}

LRESULT LineIndex(HWND hWnd, WPARAM wParam)
{
    const CEditState* pState = EditState(hWnd);
    CControlMeasureDC dc(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, dc.Get());
    const auto nLine = static_cast<int>(static_cast<INT_PTR>(wParam));
    if (nLine < 0)
        return static_cast<LRESULT>(lines[LineOf(lines, pState->nCaret)].nStart);
    return static_cast<size_t>(nLine) < lines.size() ? static_cast<LRESULT>(lines[static_cast<size_t>(nLine)].nStart)
                                                     : -1;
}

LRESULT LineFromChar(HWND hWnd, WPARAM wParam)
{
    const CEditState* pState = EditState(hWnd);
    CControlMeasureDC dc(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, dc.Get());
    const auto nPos = static_cast<INT_PTR>(wParam);
    return static_cast<LRESULT>(LineOf(lines, nPos < 0 ? pState->SelStart() : static_cast<size_t>(nPos)));
}

LRESULT LineLength(HWND hWnd, WPARAM wParam)
{
    const CEditState* pState = EditState(hWnd);
    CControlMeasureDC dc(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, dc.Get());
    const auto nPos = static_cast<INT_PTR>(wParam);
    if (nPos < 0) {
        // The characters of the selection's lines that are not selected.
        const CEditLine& first = lines[LineOf(lines, pState->SelStart())];
        const CEditLine& last = lines[LineOf(lines, pState->SelEnd())];
        return static_cast<LRESULT>(
            (pState->SelStart() - first.nStart) + (last.nStart + last.nLength - pState->SelEnd()));
    }
    return static_cast<LRESULT>(lines[LineOf(lines, static_cast<size_t>(nPos))].nLength);
}

// Sets or clears a style flag and shows the control again.
void SetStyleFlag(HWND hWnd, DWORD dwFlag, bool bSet)
{
    const DWORD dwStyle = EditStyle(hWnd);
    SetWindowLongPtr(hWnd, GWL_STYLE, static_cast<LONG_PTR>(bSet ? (dwStyle | dwFlag) : (dwStyle & ~dwFlag)));
    InvalidateRect(hWnd, nullptr, TRUE);
}

LRESULT PackPoint(POINT pt)
{
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y))));
}

// The editing commands: clipboard and undo.
BOOL HandleCommand(HWND hWnd, UINT uMsg, LRESULT* plResult)
{
    *plResult = 0;
    switch (uMsg) {
    case WM_CUT:
        Copy(hWnd);
        if (!(EditStyle(hWnd) & ES_PASSWORD))
            Clear(hWnd);
        return TRUE;
    case WM_COPY:
        Copy(hWnd);
        return TRUE;
    case WM_PASTE:
        Paste(hWnd);
        return TRUE;
    case WM_CLEAR:
        Clear(hWnd);
        return TRUE;
    case WM_UNDO:
    case EM_UNDO:
        *plResult = EditState(hWnd)->bCanUndo ? TRUE : FALSE;
        Undo(hWnd);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

BOOL HandleEditTextMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    CEditState* pState = EditState(hWnd);
    if (HandleCommand(hWnd, uMsg, plResult))
        return TRUE;
    *plResult = 0;
    switch (uMsg) {
    case EM_CANUNDO:
        *plResult = pState->bCanUndo;
        return TRUE;
    case EM_EMPTYUNDOBUFFER:
        pState->bCanUndo = false;
        return TRUE;
    case EM_GETSEL:
        *plResult = GetSel(hWnd, wParam, lParam);
        return TRUE;
    case EM_SETSEL:
        SetSel(hWnd, wParam, lParam);
        return TRUE;
    case EM_REPLACESEL:
        ReplaceSelection(hWnd, lParam ? reinterpret_cast<LPCSTR>(lParam) : "",
            wParam ? EEditChange::Undoable : EEditChange::Final, false);
        return TRUE;
    case EM_GETMODIFY:
        *plResult = pState->bModified;
        return TRUE;
    case EM_SETMODIFY:
        pState->bModified = wParam != 0;
        return TRUE;
    case EM_LIMITTEXT:
        pState->nLimit = wParam == 0 ? EDIT_MAX_LIMIT : static_cast<size_t>(wParam);
        return TRUE;
    case EM_GETLIMITTEXT:
        *plResult = static_cast<LRESULT>(pState->nLimit);
        return TRUE;
    case EM_SETPASSWORDCHAR:
        pState->chPassword = static_cast<char>(wParam);
        SetStyleFlag(hWnd, ES_PASSWORD, wParam != 0);
        return TRUE;
    case EM_GETPASSWORDCHAR:
        *plResult = (EditStyle(hWnd) & ES_PASSWORD) ? static_cast<unsigned char>(pState->chPassword) : 0;
        return TRUE;
    case EM_SETREADONLY:
        SetStyleFlag(hWnd, ES_READONLY, wParam != 0);
        *plResult = TRUE;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL HandleEditLineMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    const CEditState* pState = EditState(hWnd);
    *plResult = 0;
    switch (uMsg) {
    case EM_GETLINECOUNT:
        *plResult = static_cast<LRESULT>(Lines(hWnd, CControlMeasureDC(hWnd).Get()).size());
        return TRUE;
    case EM_LINEINDEX:
        *plResult = LineIndex(hWnd, wParam);
        return TRUE;
    case EM_LINEFROMCHAR:
        *plResult = LineFromChar(hWnd, wParam);
        return TRUE;
    case EM_LINELENGTH:
        *plResult = LineLength(hWnd, wParam);
        return TRUE;
    case EM_GETLINE:
        *plResult = GetLine(hWnd, wParam, lParam);
        return TRUE;
    case EM_GETFIRSTVISIBLELINE:
        *plResult = pState->nTopLine;
        return TRUE;
    case EM_LINESCROLL:
        *plResult = LineScroll(hWnd, wParam, lParam);
        return TRUE;
    case EM_SCROLLCARET:
        ScrollToCaret(hWnd);
        InvalidateRect(hWnd, nullptr, FALSE);
        *plResult = TRUE;
        return TRUE;
    case EM_GETRECT:
        if (lParam)
            *reinterpret_cast<LPRECT>(lParam) = FormatRect(hWnd);
        return TRUE;
    case EM_SETMARGINS:
        SetMargins(hWnd, wParam, lParam);
        return TRUE;
    case EM_GETMARGINS:
        *plResult = static_cast<LRESULT>(static_cast<DWORD>(
            MAKELONG(static_cast<WORD>(pState->nLeftMargin), static_cast<WORD>(pState->nRightMargin))));
        return TRUE;
    case EM_POSFROMCHAR: {
        CControlMeasureDC dc(hWnd);
        *plResult = PackPoint(PointOfPos(hWnd, dc.Get(), CharBoundary(pState->strText, static_cast<size_t>(wParam))));
        return TRUE;
    }
    case EM_CHARFROMPOS: {
        CControlMeasureDC dc(hWnd);
        const size_t nPos = PosOfPoint(hWnd, dc.Get(), MousePointOf(lParam));
        const size_t nLine = LineOf(Lines(hWnd, dc.Get()), nPos);
        *plResult
            = static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(nPos), static_cast<WORD>(nLine))));
        return TRUE;
    }
    default:
        return FALSE;
    }
}
