#include "platform/window/DisplayLink.h"

#include "platform/base/Threads.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/InputInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Monitors.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

// Passes the display's reports to the window layer.
class CDisplayReceiver : public CDisplaySink {
public:
    void OnMouseInput(const CMouseInput& input) override { InjectMouseEvent(input); }
    void OnKeyInput(const CKeyInput& input) override { InjectDisplayKey(input); }
    void OnTextInput(const std::string& strText) override { PostTextToFocus(strText); }
    void OnActivation(HWND hTopLevel, bool bActive) override;
    void OnKeyboardState(const CKeyboardState& keyboard) override { SetKeyboardState(keyboard); }
    void OnCloseRequest(HWND hTopLevel) override { PostMessage(hTopLevel, WM_SYSCOMMAND, SC_CLOSE, 0); }
    void OnMovedByDesktop(HWND hTopLevel, const RECT& rcWindow) override;
    void OnStateChangedByDesktop(HWND hTopLevel, ETopLevelState eState) override;
    void OnClipboardChanged(EClipboardChange eChange) override;
    void OnScreenChanged() override;
    void OnConnectionLost() override;
};

// What the display was last told of a top-level window.
struct CToldWindow {
    RECT rcWindow {};
    bool bVisible { false };
    CTopLevelLook look;
    bool bDescribed { false };
    ETopLevelState eState { ETopLevelState::Normal };
};

struct CDisplayLink {
    CHeadlessDisplay headless { GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    CDisplay* pDisplay { &headless };
    DWORD dwReaderThread { 0 }; // the thread that installed the display and reads its events
    CDisplayReceiver receiver;
    std::map<HWND, CToldWindow> told;
    std::vector<HWND> toldOrder;
    HWND hToldActive { nullptr };
    HWND hToldGrab { nullptr }; // the popup the display keeps the pointer for
    bool bToldGrabKeyboard { false };
    std::map<HWND, HWND> focusWhenDeactivated; // top-level window: its focus when the desktop took the keyboard
};

CDisplayLink& Link()
{
    static auto* pLink = new CDisplayLink;
    return *pLink;
}

bool SameSize(const RECT& rc1, const RECT& rc2)
{
    return rc1.right - rc1.left == rc2.right - rc2.left && rc1.bottom - rc1.top == rc2.bottom - rc2.top;
}

bool SameLook(const CTopLevelLook& a, const CTopLevelLook& b)
{
    return a.eKind == b.eKind && a.hOwner == b.hOwner && a.strTitle == b.strTitle && a.hIcon == b.hIcon
        && a.bResizable == b.bResizable && a.bTopmost == b.bTopmost && a.bSkipTaskbar == b.bSkipTaskbar
        && a.bModal == b.bModal && a.bDisabled == b.bDisabled && a.szMin.cx == b.szMin.cx && a.szMin.cy == b.szMin.cy
        && a.szMax.cx == b.szMax.cx && a.szMax.cy == b.szMax.cy;
}

// What the desktop should know of a top-level window, from its styles and class.
CTopLevelLook LookOfLocked(const CWindow& window)
{
    CTopLevelLook look;
    DWORD dwStyle = window.dwStyle;
    DWORD dwExStyle = window.dwExStyle;
    bool bManaged = !(dwStyle & WS_POPUP) || (dwStyle & WS_CAPTION) == WS_CAPTION || (dwStyle & WS_THICKFRAME);
    const std::string strClass = window.pClass ? window.pClass->strName : std::string();
    if (bManaged) {
        if (dwExStyle & WS_EX_TOOLWINDOW)
            look.eKind = ETopLevelKind::Tool;
        else if (window.pOwner && (dwStyle & WS_CAPTION) == WS_CAPTION)
            look.eKind = ETopLevelKind::Dialog;
    } else if (strClass == "#32768") {
        look.eKind = ETopLevelKind::PopupMenu;
    } else if (strClass == "ListBox" || strClass == "ComboLBox") {
        look.eKind = ETopLevelKind::DropDown;
    } else if (strClass == "tooltips_class32") {
        look.eKind = ETopLevelKind::ToolTip;
    } else {
        look.eKind = ETopLevelKind::OtherPopup;
    }
    look.hOwner = window.pOwner ? window.pOwner->hWnd : nullptr;
    look.strTitle = window.strText;
    if (window.pClass)
        look.hIcon = window.pClass->hIconSm ? window.pClass->hIconSm : window.pClass->hIcon;
    look.bResizable = (dwStyle & WS_THICKFRAME) != 0;
    look.bTopmost = (dwExStyle & WS_EX_TOPMOST) != 0;
    look.bSkipTaskbar = window.pOwner || (dwExStyle & WS_EX_TOOLWINDOW);
    look.bModal = window.pOwner && (window.pOwner->dwStyle & WS_DISABLED) && (dwStyle & WS_VISIBLE);
    look.bDisabled = (dwStyle & WS_DISABLED) != 0;
    look.szMin = window.szMinTrack;
    look.szMax = window.szMaxTrack;
    return look;
}

ETopLevelState StateOfLocked(const CWindow& window)
{
    if (window.dwStyle & WS_MINIMIZE)
        return ETopLevelState::Minimized;
    if (window.dwStyle & WS_MAXIMIZE)
        return ETopLevelState::Maximized;
    return ETopLevelState::Normal;
}

// The installed display when the calling thread reads its events, else nullptr.
CDisplay* ReaderDisplay()
{
    auto lock = LockWindows();
    CDisplayLink& link = Link();
    if (link.pDisplay == &link.headless || link.dwReaderThread != GetCurrentThreadId())
        return nullptr;
    return link.pDisplay;
}

/***** Reports from the display *****/

void CDisplayReceiver::OnActivation(HWND hTopLevel, bool bActive)
{
    if (!bActive) {
        // The keyboard went to another program: nothing of this one is active.
        HWND hActive = GetActiveWindow();
        if (!hActive)
            return;
        {
            auto lock = LockWindows();
            Link().focusWhenDeactivated[hActive] = InputStateLocked().hFocus;
            Link().hToldActive = nullptr;
        }
        SetActiveWindow(nullptr);
        return;
    }
    if (!IsWindow(hTopLevel))
        return;
    // A disabled window's activation goes to the modal window holding it.
    HWND hTarget = GetModalHolder(hTopLevel);
    if (!hTarget || GetActiveWindow() == hTarget)
        return;
    HWND hFocus = nullptr;
    {
        auto lock = LockWindows();
        CDisplayLink& link = Link();
        if (hTarget == hTopLevel)
            link.hToldActive = hTarget; // the desktop has it already
        auto it = link.focusWhenDeactivated.find(hTarget);
        if (it != link.focusWhenDeactivated.end()) {
            hFocus = it->second;
            link.focusWhenDeactivated.erase(it);
        }
    }
    SetActiveWindow(hTarget);
    // The focus comes back to where it was when the program lost the keyboard.
    if (hFocus && IsWindow(hFocus) && GetAncestor(hFocus, GA_ROOT) == hTarget && GetFocus() != hFocus)
        SetFocus(hFocus);
}

void CDisplayReceiver::OnMovedByDesktop(HWND hTopLevel, const RECT& rcWindow)
{
    bool bResized = false;
    {
        auto lock = LockWindows();
        auto it = Link().told.find(hTopLevel);
        if (it != Link().told.end()) {
            bResized = !SameSize(it->second.rcWindow, rcWindow);
            it->second.rcWindow = rcWindow; // the display has it already
        }
    }
    SetWindowPos(hTopLevel, nullptr, rcWindow.left, rcWindow.top, rcWindow.right - rcWindow.left,
        rcWindow.bottom - rcWindow.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // A new size dropped the pixels on the display's side: all of it is painted again.
    if (bResized)
        RedrawWindow(hTopLevel, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}

void CDisplayReceiver::OnStateChangedByDesktop(HWND hTopLevel, ETopLevelState eState)
{
    {
        auto lock = LockWindows();
        auto it = Link().told.find(hTopLevel);
        if (it != Link().told.end())
            it->second.eState = eState;
    }
    // The command a click on the window's own button would have sent; its
    // default handling finds the state already in place.
    WPARAM nCommand = eState == ETopLevelState::Minimized ? SC_MINIMIZE
        : eState == ETopLevelState::Maximized             ? SC_MAXIMIZE
                                                          : SC_RESTORE;
    SendMessage(hTopLevel, WM_SYSCOMMAND, nCommand, 0);
}

void CDisplayReceiver::OnClipboardChanged(EClipboardChange eChange)
{
    DesktopClipboardChanged(eChange);
    // Update handlers ask whether a format can be pasted: idle processing runs again.
    DWORD dwReader = 0;
    {
        auto lock = LockWindows();
        dwReader = Link().dwReaderThread;
    }
    PostThreadMessage(dwReader, WM_NULL, 0, 0);
}

void CDisplayReceiver::OnScreenChanged()
{
    auto lock = LockWindows();
    SetScreenMonitors(DisplayLocked().Monitors());
}

void CDisplayReceiver::OnConnectionLost()
{
    // The session is over: the windows stay in memory while they close as at
    // the end of a session, then the program ends.
    std::vector<HWND> windows;
    {
        auto lock = LockWindows();
        DWORD dwThread = GetCurrentThreadId();
        for (CWindow* pTop : DesktopLocked().children) {
            if (pTop->dwThreadId == dwThread)
                windows.push_back(pTop->hWnd);
        }
    }
    SetDisplay(nullptr);
    for (HWND hTop : windows) {
        if (IsWindow(hTop))
            SendMessage(hTop, WM_ENDSESSION, TRUE, 0);
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

}

CDisplay* SetDisplay(CDisplay* pDisplay)
{
    auto lock = LockWindows();
    CDisplayLink& link = Link();
    CDisplay* pOld = link.pDisplay;
    pOld->SetSink(nullptr);
    link.pDisplay = pDisplay ? pDisplay : &link.headless;
    link.pDisplay->SetSink(&link.receiver);
    link.dwReaderThread = GetCurrentThreadId();
    link.told.clear(); // the new display is told of every window afresh
    link.toldOrder.clear();
    link.hToldActive = nullptr;
    link.hToldGrab = nullptr;
    link.bToldGrabKeyboard = false;
    link.focusWhenDeactivated.clear();
    SetScreenMonitors(link.pDisplay->Monitors());
    return pOld == &link.headless ? nullptr : pOld;
}

CTrayHost* GetDisplayTrayHost()
{
    auto lock = LockWindows();
    return Link().pDisplay->GetTrayHost();
}

CHeadlessDisplay& GetHeadlessDisplay()
{
    return Link().headless;
}

CDisplay& DisplayLocked()
{
    return *Link().pDisplay;
}

void SyncDisplayLocked()
{
    CDisplayLink& link = Link();
    CDisplay& display = *link.pDisplay;
    std::vector<HWND> order;
    // New windows first, so that owners are known when their owned windows are described.
    for (CWindow* pTop : DesktopLocked().children) {
        order.push_back(pTop->hWnd);
        if (link.told.count(pTop->hWnd))
            continue;
        display.CreateTopLevel(pTop->hWnd, pTop->rcWindow);
        CToldWindow fresh;
        fresh.rcWindow = pTop->rcWindow;
        link.told.emplace(pTop->hWnd, std::move(fresh));
        InvalidateWholeLocked(*pTop);
    }
    for (CWindow* pTop : DesktopLocked().children) {
        HWND hTop = pTop->hWnd;
        CToldWindow& told = link.told[hTop];
        // The desktop shows a minimized window as its icon: its rectangle stays.
        bool bMinimized = (pTop->dwStyle & WS_MINIMIZE) != 0;
        if (!bMinimized && !EqualRect(&told.rcWindow, &pTop->rcWindow)) {
            display.MoveTopLevel(hTop, pTop->rcWindow);
            if (!SameSize(told.rcWindow, pTop->rcWindow))
                InvalidateWholeLocked(*pTop); // the display dropped the pixels
            told.rcWindow = pTop->rcWindow;
        }
        CTopLevelLook look = LookOfLocked(*pTop);
        if (!told.bDescribed || !SameLook(look, told.look)) {
            display.DescribeTopLevel(hTop, look);
            told.look = std::move(look);
            told.bDescribed = true;
        }
        ETopLevelState eState = StateOfLocked(*pTop);
        if (eState != told.eState) {
            display.SetTopLevelState(hTop, eState);
            told.eState = eState;
        }
        bool bVisible = (pTop->dwStyle & WS_VISIBLE) != 0;
        if (told.bVisible != bVisible) {
            display.ShowTopLevel(hTop, bVisible);
            told.bVisible = bVisible;
        }
    }
    for (auto it = link.told.begin(); it != link.told.end();) {
        if (std::find(order.begin(), order.end(), it->first) == order.end()) {
            display.DestroyTopLevel(it->first);
            it = link.told.erase(it);
        } else {
            ++it;
        }
    }
    if (order != link.toldOrder) {
        display.RestackTopLevels(order);
        link.toldOrder = std::move(order);
    }
    // While a popup of the program's own (a menu, a drop-down) holds the
    // capture, the desktop's pointer is kept for it, so a press outside every
    // window of the program reaches it; a menu keeps the keyboard too.
    HWND hGrab = nullptr;
    bool bGrabKeyboard = false;
    if (CWindow* pCapture = InputStateLocked().hCapture ? FindWindowLocked(InputStateLocked().hCapture) : nullptr) {
        CWindow& top = TopLevelOfLocked(*pCapture);
        ETopLevelKind eKind = LookOfLocked(top).eKind;
        if ((top.dwStyle & WS_VISIBLE) && IsUnmanagedKind(eKind)) {
            hGrab = top.hWnd;
            bGrabKeyboard = eKind == ETopLevelKind::PopupMenu;
        }
    }
    if (hGrab != link.hToldGrab || bGrabKeyboard != link.bToldGrabKeyboard) {
        display.GrabInput(hGrab, bGrabKeyboard);
        link.hToldGrab = hGrab;
        link.bToldGrabKeyboard = bGrabKeyboard;
    }
    // The desktop gives the keyboard to the window the program activated.
    HWND hActive = InputStateLocked().hActive;
    if (hActive != link.hToldActive) {
        CWindow* pActive = hActive ? FindWindowLocked(hActive) : nullptr;
        if (pActive && (pActive->dwStyle & WS_VISIBLE))
            display.ActivateTopLevel(hActive);
        link.hToldActive = hActive;
    }
}

/***** The display in the message wait *****/

void FlushDisplay()
{
    CDisplay* pDisplay = nullptr;
    {
        auto lock = LockWindows();
        SyncDisplayLocked();
        pDisplay = &DisplayLocked();
    }
    pDisplay->Flush();
}

void DispatchDisplayEvents()
{
    // Not again from inside a report: a window procedure that peeks while an
    // event is being reported must not take the events after it first.
    thread_local bool t_bDispatching = false;
    CDisplay* pDisplay = t_bDispatching ? nullptr : ReaderDisplay();
    if (!pDisplay)
        return;
    t_bDispatching = true;
    pDisplay->DispatchEvents();
    t_bDispatching = false;
}

CDisplay* DisplayReadByThisThread()
{
    return ReaderDisplay();
}

/***** The clipboard shared with other programs *****/

namespace {

// The installed display, for a call made without the lock; its reading thread.
CDisplay& InstalledDisplay(DWORD* pdwReader = nullptr)
{
    auto lock = LockWindows();
    if (pdwReader)
        *pdwReader = Link().dwReaderThread;
    return *Link().pDisplay;
}

}

void OfferDesktopClipboard(const std::vector<CClipboardItem>& items)
{
    InstalledDisplay().OfferClipboard(items);
}

bool DesktopClipboardFormats(std::vector<std::string>* pFormats)
{
    return InstalledDisplay().ForeignClipboardFormats(pFormats);
}

bool ReadDesktopClipboard(const std::string& strFormat, std::vector<BYTE>* pData)
{
    DWORD dwReader = 0;
    bool bRead = InstalledDisplay(&dwReader).ReadForeignClipboard(strFormat, pData);
    // Events read off the connection meanwhile wait for the reading thread, which may sleep.
    if (dwReader != GetCurrentThreadId())
        PostThreadMessage(dwReader, WM_NULL, 0, 0);
    return bRead;
}
