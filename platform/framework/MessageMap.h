#pragma once

// The message map macros.
//
//     class CMyWnd : public CWnd {
//         DECLARE_MESSAGE_MAP()
//     protected:
//         int OnCreate(LPCREATESTRUCT lpCreateStruct);
//         void OnOpen();
//     };
//
//     BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//         ON_WM_CREATE()
//         ON_COMMAND(ID_OPEN, &CMyWnd::OnOpen)
//     END_MESSAGE_MAP()
//
// Each entry holds a small function that cracks the message and calls the
// handler through a member pointer of the exact signature the class library
// gives that entry, so a handler with another signature does not compile.
// ON_WM_* entries call the handler of the fixed name (OnCreate, OnTimer...),
// which a class may inherit from its base. Handler functions may be protected.
//
// Dispatch rules: window messages (OnWndMsg) match on the message; commands
// and notifications (OnCmdMsg) match on kind, code and ID range. The _EX forms
// return BOOL: FALSE passes the message on as if the entry were not there (for
// reflected notifications: the parent then sees it).

#include <type_traits>

// A pointer to a member function of TClass with the function type TFn.
template<class TClass, class TFn> using AfxMemberFn = TFn TClass::*;

// A handler's answer (a number, BOOL or handle) as a message result.
template<class T> LRESULT AfxMessageResult(T value)
{
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<LRESULT>(value);
    else
        return static_cast<LRESULT>(value);
}

// clang-format off
#define DECLARE_MESSAGE_MAP()                                                      \
protected:                                                                        \
    static const AFX_MSGMAP* GetThisMessageMap();                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                \
    {                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                               \
        using TheBaseClass = baseClass;                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                          \
            { 0, 0, 0, 0, nullptr, nullptr }                                       \
        };                                                                         \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &messageMap;                                                        \
    }

// One entry: the handler `memberFxn` must have the function type `FnType`; the
// remaining arguments are the body that calls it through `pfn` on `pThis`,
// sets call.lResult and returns whether the message was handled.
#define AFX_MSG_ENTRY(nMsg, nCode, nID, nLastID, pnRegistered, memberFxn, FnType, ...) \
    { nMsg, nCode, nID, nLastID, pnRegistered,                                     \
      [](CCmdTarget* pTarget, AFX_MSGCALL& call) -> BOOL {                         \
          AfxMemberFn<ThisClass, FnType> pfn = memberFxn;                          \
          ThisClass* pThis = static_cast<ThisClass*>(pTarget);                     \
          (void)call;                                                              \
          __VA_ARGS__                                                              \
      } },

// A window message entry whose handler returns nothing.
#define AFX_WM_VOID(nMsg, memberFxn, FnType, ...)                                  \
    AFX_MSG_ENTRY(nMsg, 0, 0, 0, nullptr, &ThisClass::memberFxn, FnType,           \
        (pThis->*pfn)(__VA_ARGS__); return TRUE;)
// A window message entry whose handler's result is the message's result.
#define AFX_WM_RESULT(nMsg, memberFxn, FnType, ...)                                \
    AFX_MSG_ENTRY(nMsg, 0, 0, 0, nullptr, &ThisClass::memberFxn, FnType,           \
        call.lResult = AfxMessageResult((pThis->*pfn)(__VA_ARGS__)); return TRUE;)

#define AFX_WP call.wParam
#define AFX_LP call.lParam
#define AFX_LPOINT CPoint(call.lParam)

/* Window messages, with the handlers of the class library's signatures. */
#define ON_WM_CREATE()          AFX_WM_RESULT(WM_CREATE, OnCreate, int(LPCREATESTRUCT), reinterpret_cast<LPCREATESTRUCT>(AFX_LP))
#define ON_WM_DESTROY()         AFX_WM_VOID(WM_DESTROY, OnDestroy, void())
#define ON_WM_NCDESTROY()       AFX_WM_VOID(WM_NCDESTROY, OnNcDestroy, void())
#define ON_WM_SIZE()            AFX_WM_VOID(WM_SIZE, OnSize, void(UINT, int, int), static_cast<UINT>(AFX_WP), static_cast<short>(LOWORD(AFX_LP)), static_cast<short>(HIWORD(AFX_LP)))
#define ON_WM_MOVE()            AFX_WM_VOID(WM_MOVE, OnMove, void(int, int), static_cast<short>(LOWORD(AFX_LP)), static_cast<short>(HIWORD(AFX_LP)))
#define ON_WM_TIMER()           AFX_WM_VOID(WM_TIMER, OnTimer, void(UINT_PTR), static_cast<UINT_PTR>(AFX_WP))
#define ON_WM_PAINT()           AFX_WM_VOID(WM_PAINT, OnPaint, void())
#define ON_WM_ERASEBKGND()      AFX_WM_RESULT(WM_ERASEBKGND, OnEraseBkgnd, BOOL(CDC*), CDC::FromHandle(reinterpret_cast<HDC>(AFX_WP)))
#define ON_WM_SETFOCUS()        AFX_WM_VOID(WM_SETFOCUS, OnSetFocus, void(CWnd*), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)))
#define ON_WM_KILLFOCUS()       AFX_WM_VOID(WM_KILLFOCUS, OnKillFocus, void(CWnd*), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)))
#define ON_WM_ACTIVATE()        AFX_WM_VOID(WM_ACTIVATE, OnActivate, void(UINT, CWnd*, BOOL), LOWORD(AFX_WP), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_LP)), HIWORD(AFX_WP) != 0)
#define ON_WM_CLOSE()           AFX_WM_VOID(WM_CLOSE, OnClose, void())
#define ON_WM_SHOWWINDOW()      AFX_WM_VOID(WM_SHOWWINDOW, OnShowWindow, void(BOOL, UINT), static_cast<BOOL>(AFX_WP), static_cast<UINT>(AFX_LP))
#define ON_WM_ENABLE()          AFX_WM_VOID(WM_ENABLE, OnEnable, void(BOOL), static_cast<BOOL>(AFX_WP))
#define ON_WM_MOUSEMOVE()       AFX_WM_VOID(WM_MOUSEMOVE, OnMouseMove, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_LBUTTONDOWN()     AFX_WM_VOID(WM_LBUTTONDOWN, OnLButtonDown, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_LBUTTONUP()       AFX_WM_VOID(WM_LBUTTONUP, OnLButtonUp, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_LBUTTONDBLCLK()   AFX_WM_VOID(WM_LBUTTONDBLCLK, OnLButtonDblClk, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_RBUTTONDOWN()     AFX_WM_VOID(WM_RBUTTONDOWN, OnRButtonDown, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_RBUTTONUP()       AFX_WM_VOID(WM_RBUTTONUP, OnRButtonUp, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_RBUTTONDBLCLK()   AFX_WM_VOID(WM_RBUTTONDBLCLK, OnRButtonDblClk, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_MBUTTONDOWN()     AFX_WM_VOID(WM_MBUTTONDOWN, OnMButtonDown, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_MBUTTONUP()       AFX_WM_VOID(WM_MBUTTONUP, OnMButtonUp, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_MBUTTONDBLCLK()   AFX_WM_VOID(WM_MBUTTONDBLCLK, OnMButtonDblClk, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_MOUSEWHEEL()      AFX_WM_RESULT(WM_MOUSEWHEEL, OnMouseWheel, BOOL(UINT, short, CPoint), LOWORD(AFX_WP), static_cast<short>(HIWORD(AFX_WP)), AFX_LPOINT)
#define ON_WM_MOUSEACTIVATE()   AFX_WM_RESULT(WM_MOUSEACTIVATE, OnMouseActivate, int(CWnd*, UINT, UINT), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)), LOWORD(AFX_LP), HIWORD(AFX_LP))
#define ON_WM_KEYDOWN()         AFX_WM_VOID(WM_KEYDOWN, OnKeyDown, void(UINT, UINT, UINT), static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))
#define ON_WM_KEYUP()           AFX_WM_VOID(WM_KEYUP, OnKeyUp, void(UINT, UINT, UINT), static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))
#define ON_WM_SYSKEYDOWN()      AFX_WM_VOID(WM_SYSKEYDOWN, OnSysKeyDown, void(UINT, UINT, UINT), static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))
#define ON_WM_SYSKEYUP()        AFX_WM_VOID(WM_SYSKEYUP, OnSysKeyUp, void(UINT, UINT, UINT), static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))
#define ON_WM_CHAR()            AFX_WM_VOID(WM_CHAR, OnChar, void(UINT, UINT, UINT), static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))
#define ON_WM_SYSCHAR()         AFX_WM_VOID(WM_SYSCHAR, OnSysChar, void(UINT, UINT, UINT), static_cast<UINT>(AFX_WP), LOWORD(AFX_LP), HIWORD(AFX_LP))
#define ON_WM_CONTEXTMENU()     AFX_WM_VOID(WM_CONTEXTMENU, OnContextMenu, void(CWnd*, CPoint), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)), AFX_LPOINT)
#define ON_WM_SETCURSOR()       AFX_WM_RESULT(WM_SETCURSOR, OnSetCursor, BOOL(CWnd*, UINT, UINT), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)), LOWORD(AFX_LP), HIWORD(AFX_LP))
#define ON_WM_CTLCOLOR()        AFX_WM_RESULT(WM_CTLCOLOR, OnCtlColor, HBRUSH(CDC*, CWnd*, UINT), CDC::FromHandle(reinterpret_cast<HDC>(AFX_WP)), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_LP)), call.nMessage - WM_CTLCOLORMSGBOX)
#define ON_WM_DRAWITEM()        AFX_WM_VOID(WM_DRAWITEM, OnDrawItem, void(int, LPDRAWITEMSTRUCT), static_cast<int>(AFX_WP), reinterpret_cast<LPDRAWITEMSTRUCT>(AFX_LP))
#define ON_WM_MEASUREITEM()     AFX_WM_VOID(WM_MEASUREITEM, OnMeasureItem, void(int, LPMEASUREITEMSTRUCT), static_cast<int>(AFX_WP), reinterpret_cast<LPMEASUREITEMSTRUCT>(AFX_LP))
#define ON_WM_COMPAREITEM()     AFX_WM_RESULT(WM_COMPAREITEM, OnCompareItem, int(int, LPCOMPAREITEMSTRUCT), static_cast<int>(AFX_WP), reinterpret_cast<LPCOMPAREITEMSTRUCT>(AFX_LP))
#define ON_WM_DELETEITEM()      AFX_WM_VOID(WM_DELETEITEM, OnDeleteItem, void(int, LPDELETEITEMSTRUCT), static_cast<int>(AFX_WP), reinterpret_cast<LPDELETEITEMSTRUCT>(AFX_LP))
#define ON_WM_VKEYTOITEM()      AFX_WM_RESULT(WM_VKEYTOITEM, OnVKeyToItem, int(UINT, CListBox*, UINT), LOWORD(AFX_WP), AfxListBoxFromHandle(reinterpret_cast<HWND>(AFX_LP)), HIWORD(AFX_WP))
#define ON_WM_CHARTOITEM()      AFX_WM_RESULT(WM_CHARTOITEM, OnCharToItem, int(UINT, CListBox*, UINT), LOWORD(AFX_WP), AfxListBoxFromHandle(reinterpret_cast<HWND>(AFX_LP)), HIWORD(AFX_WP))
#define ON_WM_HSCROLL()         AFX_WM_VOID(WM_HSCROLL, OnHScroll, void(UINT, UINT, CScrollBar*), LOWORD(AFX_WP), HIWORD(AFX_WP), AfxScrollBarFromHandle(reinterpret_cast<HWND>(AFX_LP)))
#define ON_WM_VSCROLL()         AFX_WM_VOID(WM_VSCROLL, OnVScroll, void(UINT, UINT, CScrollBar*), LOWORD(AFX_WP), HIWORD(AFX_WP), AfxScrollBarFromHandle(reinterpret_cast<HWND>(AFX_LP)))
#define ON_WM_PARENTNOTIFY()    AFX_WM_VOID(WM_PARENTNOTIFY, OnParentNotify, void(UINT, LPARAM), static_cast<UINT>(AFX_WP), AFX_LP)
#define ON_WM_SYSCOMMAND()      AFX_WM_VOID(WM_SYSCOMMAND, OnSysCommand, void(UINT, LPARAM), static_cast<UINT>(AFX_WP), AFX_LP)
#define ON_WM_INITMENUPOPUP()   AFX_WM_VOID(WM_INITMENUPOPUP, OnInitMenuPopup, void(CMenu*, UINT, BOOL), CMenu::FromHandle(reinterpret_cast<HMENU>(AFX_WP)), LOWORD(AFX_LP), HIWORD(AFX_LP) != 0)
#define ON_WM_MENUSELECT()      AFX_WM_VOID(WM_MENUSELECT, OnMenuSelect, void(UINT, UINT, HMENU), LOWORD(AFX_WP), HIWORD(AFX_WP), reinterpret_cast<HMENU>(AFX_LP))
#define ON_WM_GETMINMAXINFO()   AFX_WM_VOID(WM_GETMINMAXINFO, OnGetMinMaxInfo, void(MINMAXINFO*), reinterpret_cast<MINMAXINFO*>(AFX_LP))
#define ON_WM_WINDOWPOSCHANGING() AFX_WM_VOID(WM_WINDOWPOSCHANGING, OnWindowPosChanging, void(WINDOWPOS*), reinterpret_cast<WINDOWPOS*>(AFX_LP))
#define ON_WM_WINDOWPOSCHANGED() AFX_WM_VOID(WM_WINDOWPOSCHANGED, OnWindowPosChanged, void(WINDOWPOS*), reinterpret_cast<WINDOWPOS*>(AFX_LP))
#define ON_WM_DROPFILES()       AFX_WM_VOID(WM_DROPFILES, OnDropFiles, void(HDROP), reinterpret_cast<HDROP>(AFX_WP))
#define ON_WM_QUERYENDSESSION() AFX_WM_RESULT(WM_QUERYENDSESSION, OnQueryEndSession, BOOL())
#define ON_WM_ENDSESSION()      AFX_WM_VOID(WM_ENDSESSION, OnEndSession, void(BOOL), static_cast<BOOL>(AFX_WP))
#define ON_WM_CAPTURECHANGED()  AFX_WM_VOID(WM_CAPTURECHANGED, OnCaptureChanged, void(CWnd*), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_LP)))
#define ON_WM_PALETTECHANGED()  AFX_WM_VOID(WM_PALETTECHANGED, OnPaletteChanged, void(CWnd*), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)))

/* Non-client area, modes, settings and data between windows. */
#define ON_WM_GETDLGCODE()      AFX_WM_RESULT(WM_GETDLGCODE, OnGetDlgCode, UINT())
#define ON_WM_NCHITTEST()       AFX_WM_RESULT(WM_NCHITTEST, OnNcHitTest, LRESULT(CPoint), AFX_LPOINT)
#define ON_WM_NCPAINT()         AFX_WM_VOID(WM_NCPAINT, OnNcPaint, void())
// With bCalcValidRects FALSE the structure is only its first rectangle.
#define ON_WM_NCCALCSIZE()      AFX_WM_VOID(WM_NCCALCSIZE, OnNcCalcSize, void(BOOL, NCCALCSIZE_PARAMS*), static_cast<BOOL>(AFX_WP), reinterpret_cast<NCCALCSIZE_PARAMS*>(AFX_LP))
#define ON_WM_NCLBUTTONDOWN()   AFX_WM_VOID(WM_NCLBUTTONDOWN, OnNcLButtonDown, void(UINT, CPoint), static_cast<UINT>(AFX_WP), AFX_LPOINT)
#define ON_WM_CANCELMODE()      AFX_WM_VOID(WM_CANCELMODE, OnCancelMode, void())
#define ON_WM_ACTIVATEAPP()     AFX_WM_VOID(WM_ACTIVATEAPP, OnActivateApp, void(BOOL, DWORD), static_cast<BOOL>(AFX_WP), static_cast<DWORD>(AFX_LP))
#define ON_WM_INITMENU()        AFX_WM_VOID(WM_INITMENU, OnInitMenu, void(CMenu*), CMenu::FromHandle(reinterpret_cast<HMENU>(AFX_WP)))
#define ON_WM_ENTERIDLE()       AFX_WM_VOID(WM_ENTERIDLE, OnEnterIdle, void(UINT, CWnd*), static_cast<UINT>(AFX_WP), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_LP)))
#define ON_WM_SETTINGCHANGE()   AFX_WM_VOID(WM_SETTINGCHANGE, OnSettingChange, void(UINT, LPCTSTR), static_cast<UINT>(AFX_WP), reinterpret_cast<LPCTSTR>(AFX_LP))
#define ON_WM_SYSCOLORCHANGE()  AFX_WM_VOID(WM_SYSCOLORCHANGE, OnSysColorChange, void())
#define ON_WM_QUERYNEWPALETTE() AFX_WM_RESULT(WM_QUERYNEWPALETTE, OnQueryNewPalette, BOOL())
#define ON_WM_COPYDATA()        AFX_WM_RESULT(WM_COPYDATA, OnCopyData, BOOL(CWnd*, COPYDATASTRUCT*), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)), reinterpret_cast<COPYDATASTRUCT*>(AFX_LP))
#define ON_WM_HELPINFO()        AFX_WM_RESULT(WM_HELP, OnHelpInfo, BOOL(HELPINFO*), reinterpret_cast<HELPINFO*>(AFX_LP))
// An MDI child gains (pActivateWnd == this) or loses activation; pActivateWnd is null when none takes over.
#define ON_WM_MDIACTIVATE()     AFX_WM_VOID(WM_MDIACTIVATE, OnMDIActivate, void(BOOL, CWnd*, CWnd*), reinterpret_cast<HWND>(AFX_LP) == pThis->m_hWnd, CWnd::FromHandle(reinterpret_cast<HWND>(AFX_LP)), CWnd::FromHandle(reinterpret_cast<HWND>(AFX_WP)))

/* Any message, registered messages. */
#define ON_MESSAGE(message, memberFxn)                                             \
    AFX_MSG_ENTRY(message, 0, 0, 0, nullptr, memberFxn, LRESULT(WPARAM, LPARAM),   \
        call.lResult = (pThis->*pfn)(call.wParam, call.lParam); return TRUE;)
// nMessageVariable holds the number RegisterWindowMessage gave; it is read at each dispatch.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                         \
    AFX_MSG_ENTRY(0, 0, 0, 0, &nMessageVariable, memberFxn, LRESULT(WPARAM, LPARAM), \
        call.lResult = (pThis->*pfn)(call.wParam, call.lParam); return TRUE;)

/* Commands (menus, accelerators, and controls' notifications in WM_COMMAND). */
#define ON_COMMAND(id, memberFxn)                                                  \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, nullptr, memberFxn, void(), (pThis->*pfn)(); return TRUE;)
#define ON_COMMAND_EX(id, memberFxn)                                               \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, nullptr, memberFxn, BOOL(UINT), return (pThis->*pfn)(call.nID);)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                    \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, nullptr, memberFxn, void(UINT), (pThis->*pfn)(call.nID); return TRUE;)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                 \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, nullptr, memberFxn, BOOL(UINT), return (pThis->*pfn)(call.nID);)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) ON_UPDATE_COMMAND_UI_RANGE(id, id, memberFxn)
// A handler that calls pCmdUI->ContinueRouting() passes the update on.
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                          \
    AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, nullptr, memberFxn, void(CCmdUI*), \
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(call.pExtra);                        \
        pCmdUI->m_bContinueRouting = FALSE;                                        \
        (pThis->*pfn)(pCmdUI);                                                     \
        return !pCmdUI->m_bContinueRouting;)
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                     \
    AFX_MSG_ENTRY(WM_COMMAND, static_cast<WORD>(wNotifyCode), id, id, nullptr, memberFxn, void(), (pThis->*pfn)(); return TRUE;)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                       \
    AFX_MSG_ENTRY(WM_COMMAND, static_cast<WORD>(wNotifyCode), id, idLast, nullptr, memberFxn, void(UINT), (pThis->*pfn)(call.nID); return TRUE;)

/* Control notifications by control kind (codes as the controls document them). */
#define ON_BN_CLICKED(id, memberFxn)       ON_CONTROL(0, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(5, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn)      ON_CONTROL(6, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn)     ON_CONTROL(7, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn)      ON_CONTROL(0x0100, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn)     ON_CONTROL(0x0200, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn)        ON_CONTROL(0x0300, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn)        ON_CONTROL(0x0400, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn)    ON_CONTROL(1, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn)       ON_CONTROL(2, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn)    ON_CONTROL(3, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn)    ON_CONTROL(1, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn)       ON_CONTROL(2, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn)     ON_CONTROL(3, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn)    ON_CONTROL(4, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn)   ON_CONTROL(5, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn)     ON_CONTROL(7, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn)      ON_CONTROL(8, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn)     ON_CONTROL(9, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn)      ON_CONTROL(0, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn)       ON_CONTROL(1, id, memberFxn)

/* WM_NOTIFY notifications, in the parent. */
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                      \
    AFX_MSG_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, id, nullptr, memberFxn, void(NMHDR*, LRESULT*), \
        auto* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                     \
        (pThis->*pfn)(pNotify->pNMHDR, pNotify->pResult); return TRUE;)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                        \
    AFX_MSG_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, idLast, nullptr, memberFxn, void(UINT, NMHDR*, LRESULT*), \
        auto* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                     \
        (pThis->*pfn)(call.nID, pNotify->pNMHDR, pNotify->pResult); return TRUE;)
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                   \
    AFX_MSG_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, id, nullptr, memberFxn, BOOL(UINT, NMHDR*, LRESULT*), \
        auto* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                     \
        return (pThis->*pfn)(call.nID, pNotify->pNMHDR, pNotify->pResult);)
// FALSE from the handler passes the notification on, as if the entry were not there.
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                     \
    AFX_MSG_ENTRY(WM_NOTIFY, static_cast<WORD>(wNotifyCode), id, idLast, nullptr, memberFxn, BOOL(UINT, NMHDR*, LRESULT*), \
        auto* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                     \
        return (pThis->*pfn)(call.nID, pNotify->pNMHDR, pNotify->pResult);)

/* Notifications reflected to the control that sent them. */
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                  \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(wNotifyCode), 0, 0, nullptr, memberFxn, void(NMHDR*, LRESULT*), \
        auto* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                     \
        (pThis->*pfn)(pNotify->pNMHDR, pNotify->pResult); return TRUE;)
// The handler returns FALSE to let the parent see the notification too.
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                               \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(wNotifyCode), 0, 0, nullptr, memberFxn, BOOL(NMHDR*, LRESULT*), \
        auto* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                     \
        return (pThis->*pfn)(pNotify->pNMHDR, pNotify->pResult);)
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                 \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, static_cast<WORD>(wNotifyCode), 0, 0, nullptr, memberFxn, void(), \
        (pThis->*pfn)(); return TRUE;)
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                              \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, static_cast<WORD>(wNotifyCode), 0, 0, nullptr, memberFxn, BOOL(), \
        return (pThis->*pfn)();)
#define ON_BN_CLICKED_REFLECT(memberFxn) ON_CONTROL_REFLECT(0, memberFxn)
// A null brush means "not answered": the parent's default colouring then applies.
#define ON_WM_CTLCOLOR_REFLECT()                                                   \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, nullptr, &ThisClass::CtlColor, HBRUSH(CDC*, UINT), \
        HBRUSH hBrush = (pThis->*pfn)(CDC::FromHandle(reinterpret_cast<HDC>(call.wParam)), static_cast<UINT>(call.lParam)); \
        call.lResult = reinterpret_cast<LRESULT>(hBrush); return hBrush != nullptr;)
#define ON_WM_DRAWITEM_REFLECT()    AFX_WM_VOID(WM_REFLECT_BASE + WM_DRAWITEM, DrawItem, void(LPDRAWITEMSTRUCT), reinterpret_cast<LPDRAWITEMSTRUCT>(AFX_LP))
#define ON_WM_MEASUREITEM_REFLECT() AFX_WM_VOID(WM_REFLECT_BASE + WM_MEASUREITEM, MeasureItem, void(LPMEASUREITEMSTRUCT), reinterpret_cast<LPMEASUREITEMSTRUCT>(AFX_LP))
#define ON_WM_COMPAREITEM_REFLECT() AFX_WM_RESULT(WM_REFLECT_BASE + WM_COMPAREITEM, CompareItem, int(LPCOMPAREITEMSTRUCT), reinterpret_cast<LPCOMPAREITEMSTRUCT>(AFX_LP))
#define ON_WM_DELETEITEM_REFLECT()  AFX_WM_VOID(WM_REFLECT_BASE + WM_DELETEITEM, DeleteItem, void(LPDELETEITEMSTRUCT), reinterpret_cast<LPDELETEITEMSTRUCT>(AFX_LP))
#define ON_WM_HSCROLL_REFLECT()     AFX_WM_VOID(WM_REFLECT_BASE + WM_HSCROLL, HScroll, void(UINT, UINT), LOWORD(AFX_WP), HIWORD(AFX_WP))
#define ON_WM_VSCROLL_REFLECT()     AFX_WM_VOID(WM_REFLECT_BASE + WM_VSCROLL, VScroll, void(UINT, UINT), LOWORD(AFX_WP), HIWORD(AFX_WP))
#define ON_WM_PARENTNOTIFY_REFLECT() AFX_WM_VOID(WM_REFLECT_BASE + WM_PARENTNOTIFY, ParentNotify, void(UINT, LPARAM), LOWORD(AFX_WP), AFX_LP)
// The answer is the list box's: -2 handled, -1 its default, or an item.
#define ON_WM_VKEYTOITEM_REFLECT()  AFX_WM_RESULT(WM_REFLECT_BASE + WM_VKEYTOITEM, VKeyToItem, int(UINT, UINT), LOWORD(AFX_WP), HIWORD(AFX_WP))
#define ON_WM_CHARTOITEM_REFLECT()  AFX_WM_RESULT(WM_REFLECT_BASE + WM_CHARTOITEM, CharToItem, int(UINT, UINT), LOWORD(AFX_WP), HIWORD(AFX_WP))

/* Messages posted to a thread (no window), in a CWinThread's map. */
#define ON_THREAD_MESSAGE(message, memberFxn)                                      \
    AFX_MSG_ENTRY(message, 0, 0, 0, nullptr, memberFxn, void(WPARAM, LPARAM),      \
        (pThis->*pfn)(call.wParam, call.lParam); return TRUE;)
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                  \
    AFX_MSG_ENTRY(0, 0, 0, 0, &nMessageVariable, memberFxn, void(WPARAM, LPARAM),  \
        (pThis->*pfn)(call.wParam, call.lParam); return TRUE;)
// clang-format on
