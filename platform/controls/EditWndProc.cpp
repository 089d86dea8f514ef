#include "platform/controls/EditControl.h"

#include "platform/controls/EditInternal.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <cstring>

namespace {

// The text a control is created with is its text from the start.
std::unique_ptr<CControlState> NewEditState(HWND, const CREATESTRUCT* pcs)
{
    auto pState = std::make_unique<CEditState>();
    if (pcs && pcs->lpszName && !IS_INTRESOURCE(pcs->lpszName))
        pState->strText = pcs->lpszName;
    return pState;
}

// A new text, kept whole (line breaks included): the selection, scrolling,
// the modified flag and undo start afresh. Only a single-line control tells
// its parent, so that a page whose multi-line fields are filled when it opens
// does not look changed.
LRESULT OnSetText(HWND hWnd, LPCSTR lpszText)
{
    CEditState* pState = EditState(hWnd);
    pState->strText = lpszText ? lpszText : "";
    pState->nAnchor = pState->nCaret = 0;
    pState->nScrollX = pState->nTopLine = 0;
    pState->bModified = false;
    pState->bCanUndo = false;
    pState->bTyping = false;
    if (!(EditStyle(hWnd) & ES_MULTILINE)) {
        Changed(hWnd);
        return TRUE;
    }
    ScrollToCaret(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnGetText(HWND hWnd, WPARAM nSize, LPSTR pszBuffer)
{
    const CEditState* pState = EditState(hWnd);
    if (!pszBuffer || nSize == 0)
        return 0;
    const size_t nCopy = CharBoundary(pState->strText, std::min<size_t>(nSize - 1, pState->strText.size()));
    std::memcpy(pszBuffer, pState->strText.data(), nCopy);
    pszBuffer[nCopy] = '\0';
    return static_cast<LRESULT>(nCopy);
}

// What the control takes of the keys a dialog would use. A multi-line control
// takes every key, except that in a dialog Enter presses the default button
// unless ES_WANTRETURN, and Tab and Esc move on and cancel as they do
// elsewhere in the dialog; pMsg is the key the dialog asks about, if any.
LRESULT DialogCode(HWND hWnd, const MSG* pMsg)
{
    const LRESULT nCode = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    const DWORD dwStyle = EditStyle(hWnd);
    if (!(dwStyle & ES_MULTILINE))
        return nCode;
    if (pMsg && pMsg->message == WM_KEYDOWN) {
        const WPARAM nKey = pMsg->wParam;
        if ((nKey == VK_RETURN && !(dwStyle & ES_WANTRETURN)) || nKey == VK_TAB || nKey == VK_ESCAPE)
            return nCode;
    }
    return nCode | DLGC_WANTALLKEYS;
}

// The control owns the caret while it has the focus.
void OnFocus(HWND hWnd, bool bFocus)
{
    CEditState* pState = EditState(hWnd);
    if (bFocus) {
        pState->bFocus = true;
        MakeCaret(hWnd);
    } else {
        DropCaret(hWnd);
        pState->bFocus = false;
    }
    InvalidateRect(hWnd, nullptr, FALSE);
    NotifyParent(hWnd, bFocus ? EN_SETFOCUS : EN_KILLFOCUS);
}

} // namespace

LRESULT CALLBACK EditWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewEditState, PaintEdit, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult)) {
        // A new font makes a caret of its line height.
        if (uMsg == WM_SETFONT && EditState(hWnd) && EditState(hWnd)->bFocus)
            MakeCaret(hWnd);
        return lResult;
    }
    if (HandleEditTextMessage(hWnd, uMsg, wParam, lParam, &lResult)
        || HandleEditLineMessage(hWnd, uMsg, wParam, lParam, &lResult))
        return lResult;
    if (HandleEditInput(hWnd, uMsg, wParam, lParam))
        return 0;
    switch (uMsg) {
    case WM_DESTROY:
        if (EditState(hWnd)->bFocus)
            DropCaret(hWnd);
        EditState(hWnd)->bFocus = false;
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_GETDLGCODE:
        return DialogCode(hWnd, reinterpret_cast<const MSG*>(lParam));
    case WM_SETTEXT:
        return OnSetText(hWnd, reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT:
        return OnGetText(hWnd, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(EditState(hWnd)->strText.size());
    case WM_SIZE:
    case WM_ENABLE:
    case WM_STYLECHANGED:
        InvalidateRect(hWnd, nullptr, TRUE);
        PlaceCaret(hWnd);
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocus(hWnd, uMsg == WM_SETFOCUS);
        return 0;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
