#pragma once

// Small controls for the dialog tests that answer the dialog manager the way
// the standard ones do: buttons by their BS_ type, an edit that takes
// characters, a label.

#include "platform/window/Dialog.h"
#include "platform/window/Input.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <string>

// clang-format off
inline constexpr DWORD BS_PUSHBUTTON      = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON   = 0x0001;
inline constexpr DWORD BS_AUTOCHECKBOX    = 0x0003;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
// clang-format on

constexpr const char* TEST_BUTTON = "TestDlgButton";
constexpr const char* TEST_EDIT = "TestDlgEdit";
constexpr const char* TEST_LABEL = "TestDlgLabel";

// Small controls that answer the dialog manager the way the standard ones do:
// buttons by their BS_ type, an edit that takes characters, a label.
// The dialog manager's control messages, defined for the tests below the controls.
inline constexpr UINT BM_SETSTYLE = 0x00F4;
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr UINT BST_UNCHECKED = 0x0000;
inline constexpr UINT BST_CHECKED = 0x0001;
inline constexpr UINT EM_SETSEL = 0x00B1;

inline LRESULT CALLBACK TestButtonProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    DWORD dwType = static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE)) & 0x0F;
    switch (uMsg) {
    case WM_GETDLGCODE:
        if (dwType == BS_DEFPUSHBUTTON)
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (dwType == BS_PUSHBUTTON)
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        return dwType == BS_AUTORADIOBUTTON ? DLGC_BUTTON | DLGC_RADIOBUTTON : DLGC_BUTTON;
    case BM_SETCHECK:
        SetWindowLongPtr(hWnd, 0, static_cast<LONG_PTR>(wParam));
        return 0;
    case BM_GETCHECK:
        return GetWindowLongPtr(hWnd, 0);
    case BM_SETSTYLE:
        SetWindowLongPtr(hWnd, GWL_STYLE,
            (GetWindowLongPtr(hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(0x0F)) | static_cast<LONG_PTR>(wParam));
        return 0;
    case BM_CLICK:
        if (dwType == BS_AUTOCHECKBOX)
            SetWindowLongPtr(hWnd, 0, GetWindowLongPtr(hWnd, 0) ? BST_UNCHECKED : BST_CHECKED);
        if (dwType == BS_AUTORADIOBUTTON)
            SetWindowLongPtr(hWnd, 0, BST_CHECKED);
        SendMessage(
            GetParent(hWnd), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(hWnd)), reinterpret_cast<LPARAM>(hWnd));
        return 0;
    case WM_SETFONT:
        SetWindowLongPtr(hWnd, sizeof(LONG_PTR), static_cast<LONG_PTR>(wParam));
        return 0;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}

inline LRESULT CALLBACK TestEditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_CHAR: {
        char szText[256] {};
        GetWindowText(hWnd, szText, sizeof(szText) - 1);
        std::string strText = std::string(szText) + static_cast<char>(wParam);
        SetWindowText(hWnd, strText.c_str());
        return 0;
    }
    case EM_SETSEL:
        SetWindowLongPtr(hWnd, 0, 1); // remembers that the whole text was selected
        return 0;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}

inline LRESULT CALLBACK TestLabelProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return uMsg == WM_GETDLGCODE ? DLGC_STATIC : DefWindowProc(hWnd, uMsg, wParam, lParam);
}

inline void RegisterTestControl(const char* pszName, WNDPROC pfnProc)
{
    WNDCLASS wc {};
    if (GetClassInfo(nullptr, pszName, &wc))
        return;
    wc.style = CS_GLOBALCLASS; // found whatever module the dialog comes from
    wc.lpfnWndProc = pfnProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.lpszClassName = pszName;
    ASSERT_NE(RegisterClass(&wc), 0);
}

// Registers the test controls, global so that dialogs from any module find them.
inline void RegisterTestControls()
{
    RegisterTestControl(TEST_BUTTON, TestButtonProc);
    RegisterTestControl(TEST_EDIT, TestEditProc);
    RegisterTestControl(TEST_LABEL, TestLabelProc);
}

// Presses and releases a key, with a modifier (VK_SHIFT, VK_MENU) held when given.
inline void PressKey(UINT nKey, UINT nModifier = 0)
{
    if (nModifier)
        InjectKeyEvent(nModifier, TRUE);
    InjectKeyEvent(nKey, TRUE);
    InjectKeyEvent(nKey, FALSE);
    if (nModifier)
        InjectKeyEvent(nModifier, FALSE);
}
