#include "platform/controls/EditInternal.h"

#include "platform/controls/EditClipboard.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <utility>

namespace {

void SaveUndo(CEditState& state)
{
    state.strUndoText = state.strText;
    state.nUndoAnchor = state.nAnchor;
    state.nUndoCaret = state.nCaret;
    state.bCanUndo = true;
}

// The user's text as the style accepts it: digits only with ES_NUMBER (an
// empty result refuses it), the case changed, single lines cut at a line break.
std::string FilterInput(HWND hWnd, std::string strInput)
{
    const DWORD dwStyle = EditStyle(hWnd);
    if (!(dwStyle & ES_MULTILINE)) {
        size_t nBreak = strInput.find_first_of("\r\n");
        if (nBreak != std::string::npos)
            strInput.resize(nBreak);
    }
    if (dwStyle & ES_NUMBER) {
        for (char ch : strInput) {
            if (ch < '0' || ch > '9')
                return std::string();
        }
    }
    for (char& ch : strInput) {
        if ((dwStyle & ES_UPPERCASE) && ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
        else if ((dwStyle & ES_LOWERCASE) && ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    }
    return strInput;
}

std::string SelectedText(const CEditState& state)
{
    return state.strText.substr(state.SelStart(), state.SelEnd() - state.SelStart());
}

} // namespace

void Changed(HWND hWnd)
{
    ScrollToCaret(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
    NotifyParent(hWnd, EN_UPDATE);
    if (IsWindow(hWnd))
        NotifyParent(hWnd, EN_CHANGE);
}

void SetSelection(HWND hWnd, size_t nAnchor, size_t nCaret, bool bScroll)
{
    CEditState* pState = EditState(hWnd);
    pState->nAnchor = CharBoundary(pState->strText, nAnchor);
    pState->nCaret = CharBoundary(pState->strText, nCaret);
    pState->bTyping = false;
    if (bScroll)
        ScrollToCaret(hWnd);
    else
        PlaceCaret(hWnd);
    InvalidateRect(hWnd, nullptr, FALSE);
}

void ReplaceSelection(HWND hWnd, std::string strInput, EEditChange eChange, bool bUser)
{
    CEditState* pState = EditState(hWnd);
    if (bUser) {
        if (EditStyle(hWnd) & ES_READONLY)
            return;
        strInput = FilterInput(hWnd, std::move(strInput));
    }
    const size_t nStart = pState->SelStart();
    const size_t nEnd = pState->SelEnd();
    const size_t nKept = pState->strText.size() - (nEnd - nStart);
    bool bCut = false;
    if (nKept + strInput.size() > pState->nLimit) {
        size_t nRoom = pState->nLimit > nKept ? pState->nLimit - nKept : 0;
        strInput.resize(CharBoundary(strInput, nRoom));
        bCut = true;
    }
    if (strInput.empty() && nStart == nEnd) {
        if (bCut)
            NotifyParent(hWnd, EN_MAXTEXT);
        return;
    }
    if (eChange == EEditChange::Final)
        pState->bCanUndo = false;
    else if (eChange == EEditChange::Undoable || !pState->bTyping)
        SaveUndo(*pState);
    pState->strText.replace(nStart, nEnd - nStart, strInput);
    pState->nAnchor = pState->nCaret = nStart + strInput.size();
    pState->bTyping = eChange == EEditChange::Typing;
    pState->bModified = true;
    Changed(hWnd);
    if (bCut && IsWindow(hWnd))
        NotifyParent(hWnd, EN_MAXTEXT);
}

void Undo(HWND hWnd)
{
    CEditState* pState = EditState(hWnd);
    if (!pState->bCanUndo)
        return;
    std::swap(pState->strText, pState->strUndoText);
    std::swap(pState->nAnchor, pState->nUndoAnchor);
    std::swap(pState->nCaret, pState->nUndoCaret);
    pState->bTyping = false;
    pState->bModified = true;
    Changed(hWnd);
}

void Copy(HWND hWnd)
{
    const CEditState* pState = EditState(hWnd);
    if ((EditStyle(hWnd) & ES_PASSWORD) || pState->nAnchor == pState->nCaret)
        return;
    SetEditClipboardText(hWnd, SelectedText(*pState));
}

void Paste(HWND hWnd)
{
    if (std::optional<std::string> text = GetEditClipboardText(hWnd))
        ReplaceSelection(hWnd, *text, EEditChange::Undoable, true);
}

void Clear(HWND hWnd)
{
    const CEditState* pState = EditState(hWnd);
    if (pState->nAnchor != pState->nCaret)
        ReplaceSelection(hWnd, std::string(), EEditChange::Undoable, true);
}
