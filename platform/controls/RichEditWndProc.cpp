#include "platform/controls/RichEditInternal.h"

#include "platform/base/TextFunctions.h"
#include "platform/window/Caret.h"
#include "platform/window/Dialog.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

constexpr LONG EXLIMIT_ZERO = 65536; // the limit EM_EXLIMITTEXT 0 sets

std::unique_ptr<CControlState> NewRichEditState(HWND, const CREATESTRUCT* pcs)
{
    auto pState = std::make_unique<CRichEditState>();
    pState->bScrollBar = (pcs->style & WS_VSCROLL) != 0;
    pState->formats.push_back(CRichFormat { "Arial", 200, false, true, 0 });
    return pState;
}

LRESULT OnGetText(const CRichEditState& state, WPARAM cbBuffer, LPSTR pszBuffer)
{
    if (!pszBuffer || cbBuffer == 0)
        return 0;
    const std::string strText = RichOutputText(state, 0, state.Length());
    const size_t nCopy = Utf8PrefixLength(strText.c_str(), cbBuffer - 1);
    std::memcpy(pszBuffer, strText.data(), nCopy);
    pszBuffer[nCopy] = '\0';
    return static_cast<LRESULT>(nCopy);
}

LRESULT OnGetSelText(const CRichEditState& state, LPSTR pszBuffer)
{
    if (!pszBuffer)
        return 0;
    const std::string strText = RichOutputText(state, state.SelMin(), state.SelMax());
    std::memcpy(pszBuffer, strText.c_str(), strText.size() + 1);
    return static_cast<LRESULT>(strText.size());
}

LRESULT OnExSetSel(HWND hWnd, const CHARRANGE* pRange)
{
    CRichEditState& state = *RichEditState(hWnd);
    if (pRange) {
        if (pRange->cpMin < 0) {
            SetRichSelection(hWnd, state.cpCaret, state.cpCaret);
        } else {
            const LONG cpMax = pRange->cpMax < 0 ? state.Length() : pRange->cpMax;
            SetRichSelection(hWnd, pRange->cpMin, cpMax);
        }
        if (!state.bHideSelection) {
            state.bCaretIntoView = true;
            InvalidateRect(hWnd, nullptr, FALSE);
        }
    }
    return state.SelMax();
}

void OnFocus(HWND hWnd, bool bFocus)
{
    CRichEditState& state = *RichEditState(hWnd);
    state.bFocus = bFocus;
    if (bFocus)
        MakeRichCaret(hWnd);
    else
        DropRichCaret(hWnd);
    if (state.cpAnchor != state.cpCaret)
        InvalidateRect(hWnd, nullptr, FALSE);
}

const CHARFORMAT* CharFormatOf(LPARAM lParam)
{
    const auto* pcf = reinterpret_cast<const CHARFORMAT*>(lParam);
    return pcf && pcf->cbSize >= sizeof(CHARFORMAT) ? pcf : nullptr;
}

LRESULT HandleRichEditMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CRichEditState& state = *RichEditState(hWnd);
    switch (uMsg) {
    case WM_SETTEXT: {
        const std::u32string text = RichInputText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        ReplaceRange(hWnd, 0, state.Length(), text, state.iDefault);
        SetRichSelection(hWnd, 0, 0);
        state.nTopLine = 0;
        state.bCaretIntoView = false;
        return TRUE;
    }
    case WM_GETTEXT:
        return OnGetText(state, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return state.Length();
    case WM_COPY:
        CopyRichSelection(hWnd);
        return 0;
    case EM_REPLACESEL:
        ReplaceRange(hWnd, state.SelMin(), state.SelMax(),
            RichInputText(lParam ? reinterpret_cast<LPCSTR>(lParam) : ""), ReplacementFormat(state));
        PlaceRichCaret(hWnd);
        return 0;
    case EM_EXSETSEL:
        return OnExSetSel(hWnd, reinterpret_cast<const CHARRANGE*>(lParam));
    case EM_EXGETSEL:
        if (auto* pRange = reinterpret_cast<CHARRANGE*>(lParam))
            *pRange = CHARRANGE { state.SelMin(), state.SelMax() };
        return 0;
    case EM_GETSELTEXT:
        return OnGetSelText(state, reinterpret_cast<LPSTR>(lParam));
    case EM_HIDESELECTION:
        if (state.bHideSelection != (wParam != 0)) {
            state.bHideSelection = wParam != 0;
            InvalidateRect(hWnd, nullptr, FALSE);
        }
        return 0;
    case EM_SETCHARFORMAT:
        if (const CHARFORMAT* pcf = CharFormatOf(lParam))
            return SetCharFormat(hWnd, wParam, *pcf);
        return FALSE;
    case EM_GETCHARFORMAT: {
        auto* pcf = const_cast<CHARFORMAT*>(CharFormatOf(lParam));
        return pcf ? GetCharFormat(state, wParam, pcf) : 0;
    }
    case EM_FINDTEXTEX:
        if (auto* pFind = reinterpret_cast<FINDTEXTEX*>(lParam))
            return FindRichText(state, wParam, pFind);
        return -1;
    case EM_EXLIMITTEXT:
        state.nLimit = lParam > 0 ? static_cast<LONG>(std::min<LPARAM>(lParam, 0x7FFFFFFE)) : EXLIMIT_ZERO;
        return 0;
    case EM_SETREADONLY: {
        const auto dwStyle = static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
        SetWindowLongPtr(
            hWnd, GWL_STYLE, static_cast<LONG_PTR>(wParam ? dwStyle | ES_READONLY : dwStyle & ~ES_READONLY));
        return TRUE;
    }
    case EM_LINESCROLL:
        EnsureRichLayout(hWnd);
        SetRichTopLine(hWnd, state.nTopLine + static_cast<int>(lParam));
        return TRUE;
    case EM_SCROLLCARET:
        state.bCaretIntoView = true;
        EnsureRichLayout(hWnd);
        PlaceRichCaret(hWnd);
        return 0;
    case EM_GETFIRSTVISIBLELINE:
        EnsureRichLayout(hWnd);
        return state.nTopLine;
    case EM_GETLINECOUNT:
        EnsureRichLayout(hWnd);
        return static_cast<LRESULT>(state.lines.size());
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocus(hWnd, uMsg == WM_SETFOCUS);
        return 0;
    case WM_SIZE:
        InvalidateRect(hWnd, nullptr, FALSE);
        if (state.bFocus)
            PlaceRichCaret(hWnd);
        return 0;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK RichEditWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewRichEditState, PaintRichEdit, false };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    if (HandleRichEditInput(hWnd, uMsg, wParam, lParam))
        return 0;
    return HandleRichEditMessage(hWnd, uMsg, wParam, lParam);
}

BOOL RegisterRichEditClass()
{
    static std::mutex s_mutex;
    static bool s_bRegistered = false;
    std::lock_guard lock(s_mutex);
    if (s_bRegistered)
        return TRUE;
    WNDCLASS wc {};
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = RichEditWndProc;
    wc.cbWndExtra = CONTROL_EXTRA_BYTES;
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.lpszClassName = RICHEDIT_CLASS;
    s_bRegistered = RegisterClass(&wc) != 0;
    return s_bRegistered ? TRUE : FALSE;
}
