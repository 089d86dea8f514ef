#pragma once

// CWnd: the class library's object around a window.
//
// Handle map: each thread maps its windows' handles to their CWnd objects.
// Create/CreateEx, Attach and SubclassWindow make an object permanent;
// FromHandle gives a temporary object for any other window (HandleMap.h).
//
// Messages: a window made by Create/CreateEx or subclassed runs AfxWndProc,
// which calls the object's WindowProc: OnWndMsg looks the message up in the
// message map chain, and what no entry handles goes to DefWindowProc, which
// calls the window's previous procedure (its class's, for created windows).
// Create attaches the object while the window is being made, before
// WM_NCCREATE, so handlers see every message from the first.
//
// Notifications from a child (WM_COMMAND from a control, WM_NOTIFY, the
// owner-draw messages, WM_CTLCOLOR*, WM_HSCROLL/WM_VSCROLL from a scroll bar,
// WM_PARENTNOTIFY) are offered first to the child's own object, as
// WM_REFLECT_BASE + message (ON_NOTIFY_REFLECT, ON_WM_CTLCOLOR_REFLECT...).
// What the child handles, its parent does not see, except with the _EX forms
// when the child's handler returns FALSE.
//
// End of life: when the window is destroyed the object is detached after
// WM_NCDESTROY and PostNcDestroy runs, which objects that delete themselves
// override. Destroying the object destroys its window.

#include "platform/base/CString.h"
#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CMenu.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Dialog.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"
#include "platform/window/WindowPlacement.h"

#include <memory>

class CScrollBar;
class CListBox;
class CCreateContext;
class CFrameWnd;
class CDataExchange;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
    DECLARE_MESSAGE_MAP()

public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd { nullptr };

    // Stand-ins for the z-order places of SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    /* The handle map. */

    // The permanent object of hWnd, else a temporary one; nullptr for NULL.
    static CWnd* FromHandle(HWND hWnd);
    // The same for a caller that hands the object out as a T (a CWnd class
    // that adds no data, such as CEdit): a temporary object is made of class T.
    template<class T> static T* FromHandleAs(HWND hWnd)
    {
        return static_cast<T*>(FromHandleOfClass(
            hWnd, [](HWND) -> std::unique_ptr<CWnd> { return std::make_unique<T>(); },
            [](const CWnd* pWnd) { return dynamic_cast<const T*>(pWnd) != nullptr; }));
    }
    // The permanent object of hWnd on this thread, or nullptr.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Frees the calling thread's temporary window objects (done at idle time).
    static void DeleteTempMap();
    // Fails when the object has a window already, hWnd is NULL or has an object already.
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    HWND GetSafeHwnd() const { return m_hWnd; }

    /* Creating and destroying. */

    // Creates a child window (WS_CHILD is added) with the control ID nID.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    // Runs PreCreateWindow, then creates the window attached to this object.
    // FALSE when creation failed (the object may then have been deleted by its PostNcDestroy).
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
        int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
        CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    /* Subclassing windows made elsewhere. */

    // Attaches the object and routes the window's messages through it; the
    // window's procedure is kept for DefWindowProc.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Gives the window its procedure back and detaches it.
    HWND UnsubclassWindow();

    /* Messages. */

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Sends the message to the children (and with bDeep their descendants);
    // with bPermanentOnly only to windows with permanent objects, straight to their WindowProc.
    void SendMessageToDescendants(
        UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE, BOOL bPermanentOnly = FALSE);
    // The message being handled by this thread's innermost window procedure.
    static const MSG* GetCurrentMessage();
    // Offers the message to each window from pMsg->hwnd up through its parents
    // to hWndStop; TRUE when one of their PreTranslateMessage took it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    /* Data exchange and message boxes. */

    // Runs DoDataExchange: FALSE fills the controls from the members, TRUE
    // reads and validates them. FALSE when validation failed (the user was told
    // and the focus is on the control at fault).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // A message box owned by this window; the caption defaults to the application's name.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = 0);

    /* Update-UI of controls. */

    // Runs the update handlers for each child window, by control ID: this
    // window's own entries first (no routing), then pTarget's routing.
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    /* Relations. */

    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    // The owner set by SetOwner, else the parent.
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd ? pOwnerWnd->m_hWnd : nullptr; }
    // The first ancestor that is not a child window, then up through owners.
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID);
    CWnd* GetWindow(UINT nCmd) const;
    BOOL IsChild(const CWnd* pWnd) const;
    // The first ancestor whose object is a frame window, or nullptr.
    CFrameWnd* GetParentFrame() const;
    // The outermost frame that holds this window (itself when it is one); nullptr when none does.
    CFrameWnd* GetTopLevelFrame() const;
    // The descendant with the control ID, searched breadth first (with bOnlyPerm only permanent objects).
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    virtual BOOL IsFrameWnd() const { return FALSE; }

    /* Text. */

    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }

    /* Styles. */

    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Removes, then adds style bits; with nFlags, also calls SetWindowPos with
    // those flags so that a frame change takes effect. TRUE when the style changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    /* Position, size and state. */

    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const { return ::GetWindowPlacement(m_hWnd, lpwndpl); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    // Centers a top-level window over its owner (or pAlternateOwner), a child
    // window in its parent's client area; without either, on the screen.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    /* Timers. */

    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent);

    /* The caret (Caret.h), made hidden for this window. */

    // The caret in the bitmap's shape; NULL makes a solid one of the border's size.
    void CreateCaret(CBitmap* pBitmap);
    void CreateSolidCaret(int nWidth, int nHeight);
    void CreateGrayCaret(int nWidth, int nHeight);
    void ShowCaret();
    void HideCaret();
    static POINT GetCaretPos();
    static void SetCaretPos(POINT point);

    /* Painting. */

    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
        UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(
            m_hWnd, lpRectUpdate, prgnUpdate ? static_cast<HRGN>(prgnUpdate->GetSafeHandle()) : nullptr, flags);
    }
    // FALSE stops the window from painting until SetRedraw(TRUE).
    void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessage(m_hWnd, WM_SETREDRAW, static_cast<WPARAM>(bRedraw), 0); }
    // Temporary objects: each DC goes back with ReleaseDC.
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    int ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()) : 0; }

    /* Focus, capture and activation. The static calls return temporary
       objects for windows the program did not attach. */

    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    // The deepest visible, enabled window under a screen point.
    static CWnd* WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
    // The child under a point in client coordinates, this window when none, nullptr outside.
    CWnd* ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags) const
    {
        return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
    }

    /* The window's own scroll bars (SB_HORZ, SB_VERT). */

    // TRUE when the values were set.
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    // Fills what nMask names (cbSize and fMask are set here); FALSE for a bar the window lacks.
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
    int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
    }
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
    {
        ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
    }
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr)
    {
        ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
    }

    /* Font and menu. */

    void SetFont(CFont* pFont, BOOL bRedraw = TRUE)
    {
        ::SendMessage(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr), bRedraw);
    }
    // nullptr while the window uses the system font.
    CFont* GetFont() const
    {
        return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessage(m_hWnd, WM_GETFONT, 0, 0)));
    }
    BOOL SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->GetSafeHmenu() : nullptr); }
    CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

    /* Dialog items, by control ID. */

    void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemText(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const
    {
        return static_cast<int>(::GetDlgItemText(m_hWnd, nID, lpStr, nMaxCount));
    }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
    // 0 with *lpTrans FALSE when the text is not a number that fits.
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
    }
    void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
    {
        ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
    }
    // The ID of the first checked button from nIDFirstButton to nIDLastButton, or 0 when none is.
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessage(m_hWnd, nID, message, wParam, lParam);
    }
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const
    {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl ? pWndCtl->m_hWnd : nullptr, bPrevious));
    }

    /* Coordinates, state and the clipboard. */

    // From this window's client coordinates to pwndTo's (nullptr: the screen).
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const
    {
        ::MapWindowPoints(m_hWnd, pwndTo ? pwndTo->m_hWnd : nullptr, lpPoint, nCount);
    }
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const
    {
        MapWindowPoints(pwndTo, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    // FALSE once the window is destroyed, or for an object without one.
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    BOOL OpenClipboard() { return ::OpenClipboard(m_hWnd); }

    /* What subclasses override. */

    // Exchanges data between members and controls with the DDX_ and DDV_ functions.
    virtual void DoDataExchange(CDataExchange* pDX);

    // Lets the window take a message before it is translated and dispatched; TRUE keeps it from dispatch.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Runs before the window is made; may change cs. FALSE cancels creation.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Runs when SubclassWindow attaches the object, before the procedure is replaced.
    virtual void PreSubclassWindow();
    // Runs after the window is gone and the object detached; an object that deletes itself does so here.
    virtual void PostNcDestroy();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Dispatches through the message map; TRUE with *pResult when an entry handled the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND: the control gets first go, then OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: the control gets first go, then OnCmdMsg with MAKELONG(code, WM_NOTIFY).
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification the parent received from this window; TRUE when this window handled it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Dispatches a notification to this window's reflected entries.
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Offers the current message to the permanent object of hWndChild; TRUE when it handled it.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
    // The window's previous procedure (or the default one) for this message.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // The default handling of the current message.
    LRESULT Default();

    /* Handlers: each does the default handling of its message, so that an
       override can pass on what it does not handle. */
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnNcDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnClose();
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnEnable(BOOL bEnable);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);
    void OnMButtonDblClk(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    // The parent's handlers of child notifications offer them to the child first.
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
    // A list box with LBS_WANTKEYBOARDINPUT asks what a key or character does:
    // offered to the list box's object first, else -1 (the list's default).
    int OnVKeyToItem(UINT nKey, CListBox* pListBox, UINT nIndex);
    int OnCharToItem(UINT nChar, CListBox* pListBox, UINT nIndex);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnParentNotify(UINT message, LPARAM lParam);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    void OnDropFiles(HDROP hDropInfo);
    BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
    void OnCaptureChanged(CWnd* pWnd);
    void OnPaletteChanged(CWnd* pFocusWnd);
    UINT OnGetDlgCode();
    LRESULT OnNcHitTest(CPoint point);
    void OnNcPaint();
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnCancelMode();
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    void OnInitMenu(CMenu* pMenu);
    void OnEnterIdle(UINT nWhy, CWnd* pWho);
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    void OnSysColorChange();
    BOOL OnQueryNewPalette();
    // TRUE when the data was taken; it is only valid during the call.
    BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);

private:
    explicit CWnd(HWND hWndPlace)
        : m_hWnd(hWndPlace)
    {
    }
    // FromHandle whose temporary object is made by pfnMake, anew when pfnFits refuses the one there.
    static CWnd* FromHandleOfClass(HWND hWnd, std::unique_ptr<CWnd> (*pfnMake)(HWND), bool (*pfnFits)(const CWnd*));
    friend LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    friend void AfxAttachCreatingWindow(HWND hWnd, LPCREATESTRUCT lpcs);

    WNDPROC m_pfnSuper { nullptr }; // the window's procedure before the object took it over
    bool m_bAttached { false };     // in the handle map as the permanent object of m_hWnd
    HWND m_hWndOwner { nullptr };   // set by SetOwner
};

// Makes pWnd the object the next window made on this thread is attached to
// (before its WM_NCCREATE), as CreateEx does for windows made elsewhere, such
// as dialogs; returns the object it replaces, to be given back to
// AfxUnhookWindowCreate once the window is made.
CWnd* AfxHookWindowCreate(CWnd* pWnd);
void AfxUnhookWindowCreate(CWnd* pOuter);

// Registers (once) a window class with DefWindowProc as its procedure and
// returns its generated name, the same for the same arguments; the name stays
// valid for the life of the program. Throws CResourceException when the class
// cannot be registered.
LPCTSTR AfxRegisterWndClass(
    UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);

// The procedure of every window that has a permanent object.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs pWnd->WindowProc as the current message, as AfxWndProc does.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The list box object for a WM_VKEYTOITEM/WM_CHARTOITEM lParam; CListBox
// adds no data to CWnd, so the window object stands for it.
inline CListBox* AfxListBoxFromHandle(HWND hWnd)
{
    return reinterpret_cast<CListBox*>(CWnd::FromHandle(hWnd));
}

// The scroll bar control object for a WM_HSCROLL/WM_VSCROLL lParam (nullptr for a window's own scroll bars).
// CScrollBar adds no data to CWnd, so the window object stands for it.
inline CScrollBar* AfxScrollBarFromHandle(HWND hWnd)
{
    return reinterpret_cast<CScrollBar*>(CWnd::FromHandle(hWnd));
}
