#include "platform/controls/LabelEditor.h"

#include "platform/controls/EditControl.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"

namespace {

constexpr const char* LABEL_EDITOR_PROP = "LabelEditor";

// What an editor keeps on itself as a window property, from creation to WM_NCDESTROY.
struct CLabelEditor {
    WNDPROC pfnEditProc { nullptr }; // the edit control's own procedure
    LABELEDITEND fnEnd { nullptr };  // nullptr once released
};

LRESULT CALLBACK LabelEditorProc(HWND hEdit, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pEditor = static_cast<CLabelEditor*>(GetProp(hEdit, LABEL_EDITOR_PROP));
    if (!pEditor)
        return EditWndProc(hEdit, uMsg, wParam, lParam);
    const WNDPROC pfnEditProc = pEditor->pfnEditProc;
    const LABELEDITEND fnEnd = pEditor->fnEnd;
    HWND hControl = GetParent(hEdit);
    switch (uMsg) {
    case WM_GETDLGCODE:
        return (fnEnd ? DLGC_WANTALLKEYS : 0) | CallWindowProc(pfnEditProc, hEdit, uMsg, wParam, lParam);
    case WM_KEYDOWN:
        if (fnEnd && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
            fnEnd(hControl, wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (fnEnd && (wParam == '\r' || wParam == 0x1B))
            return 0;
        break;
    case WM_KILLFOCUS: {
        const LRESULT lResult = CallWindowProc(pfnEditProc, hEdit, uMsg, wParam, lParam);
        if (fnEnd)
            fnEnd(hControl, true);
        return lResult;
    }
    case WM_NCDESTROY:
        SetWindowLongPtr(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnEditProc));
        RemoveProp(hEdit, LABEL_EDITOR_PROP);
        delete pEditor;
        return CallWindowProc(pfnEditProc, hEdit, uMsg, wParam, lParam);
    default:
        break;
    }
    return CallWindowProc(pfnEditProc, hEdit, uMsg, wParam, lParam);
}

} // namespace

HWND CreateLabelEditor(HWND hControl, const RECT& rc, DWORD dwStyle, LPCSTR lpszText, HFONT hFont, LABELEDITEND fnEnd)
{
    HWND hEdit = CreateWindowEx(0, "Edit", lpszText, WS_CHILD | WS_BORDER | dwStyle, rc.left, rc.top,
        rc.right - rc.left, rc.bottom - rc.top, hControl, nullptr, nullptr, nullptr);
    if (!hEdit)
        return nullptr;
    SendMessage(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    SendMessage(hEdit, EM_LIMITTEXT, LABEL_EDITOR_LIMIT, 0);
    auto* pEditor = new CLabelEditor { nullptr, fnEnd };
    SetProp(hEdit, LABEL_EDITOR_PROP, pEditor);
    pEditor->pfnEditProc
        = reinterpret_cast<WNDPROC>(SetWindowLongPtr(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LabelEditorProc)));
    return hEdit;
}

void ReleaseLabelEditor(HWND hEdit)
{
    if (auto* pEditor = static_cast<CLabelEditor*>(GetProp(hEdit, LABEL_EDITOR_PROP)))
        pEditor->fnEnd = nullptr;
}

HWND OpenLabelEditor(HWND hEdit)
{
    SendMessage(hEdit, EM_SETSEL, 0, -1);
    ShowWindow(hEdit, SW_SHOW);
    SetFocus(hEdit);
    return hEdit;
}

void DiscardLabelEditor(HWND hEdit)
{
    ReleaseLabelEditor(hEdit);
    DestroyWindow(hEdit);
}

void ArmLabelEditTimer(HWND hControl)
{
    SetTimer(hControl, LABEL_EDIT_TIMER, GetDoubleClickTime(), nullptr);
}

void DisarmLabelEditTimer(HWND hControl)
{
    KillTimer(hControl, LABEL_EDIT_TIMER);
}
