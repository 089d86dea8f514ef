#include "platform/framework/CWnd.h"

#include "platform/base/WinError.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/StandardControls.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/HandleMap.h"
#include "platform/window/WindowClass.h"

#include <utility>
#include <vector>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

// clang-format off
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_VKEYTOITEM()
    ON_WM_CHARTOITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PARENTNOTIFY()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()
// clang-format on

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

using CWndMap = CHandleMap<CWnd, HWND>;

// The message the innermost AfxCallWndProc of this thread is running.
thread_local MSG t_msgCurrent {};
// The object CreateEx is creating a window for, until the creation hook attaches it.
thread_local CWnd* t_pWndInit = nullptr;

constexpr const char* DEFAULT_CLASS = "AfxWnd";

LONG MakeRoutedCode(UINT nCode, UINT nKind)
{
    return MAKELONG(static_cast<WORD>(nCode), static_cast<WORD>(nKind));
}

// Offers a notification to the permanent object of the child that sent it.
BOOL ReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* pChild = CWnd::FromHandlePermanent(hWndChild);
    if (!pChild)
        return FALSE;
    LRESULT lResult = 0;
    return pChild->OnChildNotify(message, wParam, lParam, pResult ? pResult : &lResult);
}

std::vector<HWND> ChildrenOf(HWND hWnd)
{
    std::vector<HWND> children;
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    return children;
}

void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bPermanentOnly)
{
    // Handlers may destroy windows: the children are listed first and the dead ones skipped.
    for (HWND hChild : ChildrenOf(hWnd)) {
        if (!::IsWindow(hChild))
            continue;
        if (!bPermanentOnly)
            ::SendMessage(hChild, message, wParam, lParam);
        else if (CWnd* pChild = CWnd::FromHandlePermanent(hChild))
            AfxCallWndProc(pChild, hChild, message, wParam, lParam);
        if (bDeep && ::IsWindow(hChild))
            SendToDescendants(hChild, message, wParam, lParam, bDeep, bPermanentOnly);
    }
}

// The menu below hMenu (or hMenu itself) holding a command item nID, depth first; NULL when none does.
HMENU FindMenuOfItem(HMENU hMenu, UINT nID, UINT nDepth = 0)
{
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount && nDepth <= MAX_MENU_DEPTH; ++i) {
        if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
            if (HMENU hFound = FindMenuOfItem(hSub, nID, nDepth + 1))
                return hFound;
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            return hMenu;
        }
    }
    return nullptr;
}

} // namespace

/***** The handle map *****/

CWnd::~CWnd()
{
    // Temporary objects and the z-order stand-ins were never attached: they leave the window alone.
    if (!m_bAttached)
        return;
    // Destroying the window detaches the object (in WM_NCDESTROY); a window of
    // another thread cannot be destroyed from here and is only left.
    ::DestroyWindow(m_hWnd);
    if (m_bAttached)
        Detach();
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    return CWndMap::Current().FromHandle(hWnd, &CWnd::m_hWnd);
}

CWnd* CWnd::FromHandleOfClass(HWND hWnd, std::unique_ptr<CWnd> (*pfnMake)(HWND), bool (*pfnFits)(const CWnd*))
{
    return CWndMap::Current().FromHandle(hWnd, &CWnd::m_hWnd, pfnMake, pfnFits);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return hWnd ? CWndMap::Current().LookupPermanent(hWnd) : nullptr;
}

void CWnd::DeleteTempMap()
{
    CWndMap::Current().DeleteTemporaries();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (m_hWnd || !hWndNew || FromHandlePermanent(hWndNew))
        return FALSE;
    m_hWnd = hWndNew;
    m_bAttached = true;
    CWndMap::Current().SetPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (m_bAttached)
        CWndMap::Current().RemovePermanent(hWnd);
    // A window this object took over goes back to its own procedure: it keeps
    // its class's behaviour, its state is freed when it is destroyed, and an
    // object that subclasses it later passes defaults to that procedure.
    if (hWnd && m_pfnSuper && ::GetWindowLongPtr(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc))
        ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_bAttached = false;
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hWnd;
}

/***** Creating and destroying *****/

// The creation hook: attaches the object CreateEx is creating a window for and
// takes over the window's procedure, before the window sees WM_NCCREATE.
void AfxAttachCreatingWindow(HWND hWnd, LPCREATESTRUCT)
{
    CWnd* pWnd = std::exchange(t_pWndInit, nullptr);
    if (!pWnd || !pWnd->Attach(hWnd))
        return;
    auto pfnOld
        = reinterpret_cast<WNDPROC>(::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (pfnOld != &AfxWndProc)
        pWnd->m_pfnSuper = pfnOld;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
    UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CREATESTRUCT cs { lpParam, AfxGetInstanceHandle(), nIDorHMenu, hWndParent, nHeight, nWidth, y, x,
        static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle };
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    // Windows of the standard and common control classes ("Static", "SysListView32"...) are made by name here too.
    RegisterStandardControls();
    InitCommonControls();
    CWnd* pOuter = AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
        cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    // When creation failed after the object was attached, WM_NCDESTROY has
    // detached it and PostNcDestroy may have deleted it: no member is touched here.
    AfxUnhookWindowCreate(pOuter);
    return hWnd != nullptr;
}

CWnd* AfxHookWindowCreate(CWnd* pWnd)
{
    SetThreadCreateHook(&AfxAttachCreatingWindow);
    return std::exchange(t_pWndInit, pWnd);
}

void AfxUnhookWindowCreate(CWnd* pOuter)
{
    t_pWndInit = pOuter;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass)
        return TRUE;
    // A window without a class gets the class library's plain class.
    WNDCLASS wc {};
    if (!::GetClassInfo(cs.hInstance, DEFAULT_CLASS, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &::DefWindowProc;
        wc.hInstance = cs.hInstance;
        wc.lpszClassName = DEFAULT_CLASS;
        if (!::RegisterClass(&wc))
            return FALSE;
    }
    cs.lpszClass = DEFAULT_CLASS;
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    // The object may be deleted by its PostNcDestroy before this returns.
    return ::DestroyWindow(m_hWnd);
}

void CWnd::OnNcDestroy()
{
    HWND hWnd = m_hWnd;
    Default();
    // The thread's main window going away ends the thread's message loop.
    if (CWinThread* pThread = AfxGetThread(); pThread && pThread->m_pMainWnd == this) {
        pThread->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    if (m_hWnd == hWnd)
        Detach();
    PostNcDestroy();
}

void CWnd::PostNcDestroy() { }

/***** Subclassing *****/

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || ::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    auto pfnOld
        = reinterpret_cast<WNDPROC>(::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (pfnOld != &AfxWndProc)
        m_pfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd && m_pfnSuper)
        ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    return Detach();
}

void CWnd::PreSubclassWindow() { }

/***** Message dispatch *****/

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

namespace {

// After WM_INITDIALOG: a dialog that its initialisation neither showed nor
// moved goes to the middle of its owner (or of the screen) when it is modal,
// its owner disabled, or has no owner. Modeless dialogs of an enabled owner
// keep their template's place.
void CenterInitialisedDialog(CWnd& wnd, const RECT& rcBefore, DWORD dwStyleBefore)
{
    if ((dwStyleBefore & WS_VISIBLE) || (wnd.GetStyle() & (WS_VISIBLE | WS_CHILD)))
        return;
    RECT rc {};
    wnd.GetWindowRect(&rc);
    if (rc.left != rcBefore.left || rc.top != rcBefore.top)
        return;
    HWND hWndOwner = ::GetWindow(wnd.GetSafeHwnd(), GW_OWNER);
    if (hWndOwner && ::IsWindowEnabled(hWndOwner))
        return;
    wnd.CenterWindow();
}

} // namespace

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msgOuter = t_msgCurrent;
    t_msgCurrent = MSG { hWnd, message, wParam, lParam, 0, {} };
    RECT rcBefore {};
    DWORD dwStyleBefore = 0;
    if (message == WM_INITDIALOG) {
        ::GetWindowRect(hWnd, &rcBefore);
        dwStyleBefore = static_cast<DWORD>(::GetWindowLongPtr(hWnd, GWL_STYLE));
    }
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    if (message == WM_INITDIALOG && ::IsWindow(hWnd)) {
        if (CWnd* pStill = CWnd::FromHandlePermanent(hWnd))
            CenterInitialisedDialog(*pStill, rcBefore, dwStyleBefore);
    }
    // A WM_NCDESTROY handler that did not pass the message on still leaves the
    // object detached. The object is found again: the handler may have deleted it.
    if (message == WM_NCDESTROY) {
        if (CWnd* pStill = CWnd::FromHandlePermanent(hWnd)) {
            pStill->Detach();
            pStill->PostNcDestroy();
        }
    }
    t_msgCurrent = msgOuter;
    return lResult;
}

const MSG* CWnd::GetCurrentMessage()
{
    return &t_msgCurrent;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_SETCURSOR && AfxGetWaitCursorCount() > 0) {
        // A wait keeps the hourglass wherever the mouse goes.
        AfxDoWaitCursor(0);
        lResult = TRUE;
    } else if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
    } else if (message == WM_NOTIFY) {
        if (!lParam || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
    } else {
        // ON_WM_CTLCOLOR stands for all the WM_CTLCOLOR* messages.
        UINT nLookup = IsCtlColorMessage(message) ? WM_CTLCOLOR : message;
        AFX_MSGCALL call { message, wParam, lParam, 0, nullptr, 0 };
        if (!DispatchFromMap(nLookup, 0, 0, call, nullptr))
            return FALSE;
        lResult = call.lResult;
    }
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = t_msgCurrent;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        if (CWnd* pWnd = FromHandlePermanent(hWnd); pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bPermanentOnly)
{
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bPermanentOnly);
}

/***** Commands and notifications *****/

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    auto hWndControl = reinterpret_cast<HWND>(lParam);
    UINT nCode = HIWORD(wParam);
    if (hWndControl) {
        if (ReflectToChild(hWndControl, WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
    } else {
        // Menus (0) and accelerators (1) both give commands.
        nCode = CN_COMMAND;
    }
    return OnCmdMsg(nID, static_cast<int>(nCode), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR->hwndFrom && ReflectToChild(pNMHDR->hwndFrom, WM_NOTIFY, 0, lParam, pResult))
        return TRUE;
    AFX_NOTIFY notify { pResult, pNMHDR };
    return OnCmdMsg(static_cast<UINT>(pNMHDR->idFrom), MakeRoutedCode(pNMHDR->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND:
        if (!OnCmdMsg(0, MakeRoutedCode(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr))
            return FALSE;
        if (pResult)
            *pResult = 1;
        return TRUE;
    case WM_NOTIFY: {
        auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        LRESULT lResult = 0;
        AFX_NOTIFY notify { pResult ? pResult : &lResult, pNMHDR };
        return OnCmdMsg(0, MakeRoutedCode(pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    default:
        // The reflected form carries the colour kind in lParam.
        if (IsCtlColorMessage(message))
            return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, wParam, message - WM_CTLCOLORMSGBOX, pResult);
        return FALSE;
    }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    const MSG& msg = t_msgCurrent;
    return ReflectToChild(hWndChild, msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = t_msgCurrent;
    LRESULT lResult = 0;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult ? pResult : &lResult);
}

// Whether a control without any handler is disabled: push buttons are; check
// boxes, radio buttons, group boxes and controls that are not buttons keep their state.
static bool DisabledWithoutHandler(HWND hWnd)
{
    if (!(::SendMessage(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
        return false;
    switch (static_cast<DWORD>(::GetWindowLong(hWnd, GWL_STYLE)) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_GROUPBOX:
        return false;
    default:
        return true;
    }
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    for (HWND hChild : ChildrenOf(m_hWnd)) {
        if (!::IsWindow(hChild))
            continue;
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
        state.m_pOther = FromHandle(hChild);
        // The window's own update entries come first, without routing: a bar's
        // entries for its controls run before its owner frame's routing.
        if (pTarget != this && state.m_nID != 0
            && CCmdTarget::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler && DisabledWithoutHandler(hChild));
    }
}

/***** The parent's default handling of child notifications *****/

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult = 0;
    if (pWnd && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return reinterpret_cast<HBRUSH>(lResult);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        // A menu item is drawn by the object of its menu, when the program made one.
        if (CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem))) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        // The structure names no menu: the item is looked for in the menu being
        // tracked, or in the window's menu bar, whose menus are tracked without a CMenu.
        HMENU hTracking = CMenu::GetTrackingMenu();
        if (!hTracking)
            hTracking = ::GetMenu(m_hWnd);
        HMENU hMenu = hTracking ? FindMenuOfItem(hTracking, lpMeasureItemStruct->itemID) : nullptr;
        if (CMenu* pMenu = CMenu::FromHandlePermanent(hMenu)) {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    } else if (ReflectLastMsg(::GetDlgItem(m_hWnd, nIDCtl))) {
        // The structure names no window: the control is found by its ID.
        return;
    }
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT lResult = 0;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult))
        return static_cast<int>(lResult);
    return static_cast<int>(Default());
}

int CWnd::OnVKeyToItem(UINT, CListBox* pListBox, UINT)
{
    LRESULT lResult = 0;
    if (pListBox && ReflectLastMsg(reinterpret_cast<CWnd*>(pListBox)->m_hWnd, &lResult))
        return static_cast<int>(lResult);
    return -1;
}

int CWnd::OnCharToItem(UINT, CListBox* pListBox, UINT)
{
    LRESULT lResult = 0;
    if (pListBox && ReflectLastMsg(reinterpret_cast<CWnd*>(pListBox)->m_hWnd, &lResult))
        return static_cast<int>(lResult);
    return -1;
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        return;
    Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar && ReflectLastMsg(reinterpret_cast<HWND>(t_msgCurrent.lParam)))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar && ReflectLastMsg(reinterpret_cast<HWND>(t_msgCurrent.lParam)))
        return;
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    UINT nEvent = LOWORD(message);
    if ((nEvent == WM_CREATE || nEvent == WM_DESTROY) && ReflectLastMsg(reinterpret_cast<HWND>(lParam)))
        return;
    Default();
}
