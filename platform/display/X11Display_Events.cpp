// The X11 display's event loop: what the server says, translated into reports
// to the window layer. Each event is translated with the display's lock held
// and reported after it is released.

#include "platform/display/X11Display.h"

#include "platform/display/VirtualKeys.h"
#include "platform/display/X11DisplayInternal.h"
#include "platform/display/X11Keys.h"
#include "platform/display/X11TrayHost.h"
#include "platform/gdi/Rects.h"

#include <algorithm>
#include <variant>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/keysym.h>

namespace {

// X button numbers.
constexpr unsigned int BUTTON_LEFT = 1;
constexpr unsigned int BUTTON_MIDDLE = 2;
constexpr unsigned int BUTTON_RIGHT = 3;
constexpr unsigned int BUTTON_WHEEL_UP = 4;
constexpr unsigned int BUTTON_WHEEL_DOWN = 5;
constexpr int WHEEL_NOTCH = 120;

// WM_STATE values.
constexpr uint32_t ICONIC_STATE = 3;

struct CCloseReport {
    HWND hWnd;
};
struct CActivationReport {
    HWND hWnd;
    bool bActive;
};
struct CMoveReport {
    HWND hWnd;
    RECT rcWindow;
};
struct CStateReport {
    HWND hWnd;
    ETopLevelState eState;
};
struct CTextReport {
    std::string strText;
};
struct CClipboardReport {
    EClipboardChange eChange;
};
struct CScreenReport { };
struct CLostReport { };

using CReport = std::variant<CMouseInput, CKeyInput, CTextReport, CCloseReport, CActivationReport, CKeyboardState,
    CMoveReport, CStateReport, CClipboardReport, CScreenReport, CLostReport, CX11TrayInput>;

void Deliver(CDisplaySink& sink, const CReport& report)
{
    if (const auto* pMouse = std::get_if<CMouseInput>(&report))
        sink.OnMouseInput(*pMouse);
    else if (const auto* pKey = std::get_if<CKeyInput>(&report))
        sink.OnKeyInput(*pKey);
    else if (const auto* pText = std::get_if<CTextReport>(&report))
        sink.OnTextInput(pText->strText);
    else if (const auto* pClose = std::get_if<CCloseReport>(&report))
        sink.OnCloseRequest(pClose->hWnd);
    else if (const auto* pActivation = std::get_if<CActivationReport>(&report))
        sink.OnActivation(pActivation->hWnd, pActivation->bActive);
    else if (const auto* pKeyboard = std::get_if<CKeyboardState>(&report))
        sink.OnKeyboardState(*pKeyboard);
    else if (const auto* pClipboard = std::get_if<CClipboardReport>(&report))
        sink.OnClipboardChanged(pClipboard->eChange);
    else if (std::holds_alternative<CScreenReport>(report))
        sink.OnScreenChanged();
    else if (const auto* pMove = std::get_if<CMoveReport>(&report))
        sink.OnMovedByDesktop(pMove->hWnd, pMove->rcWindow);
    else if (const auto* pState = std::get_if<CStateReport>(&report))
        sink.OnStateChangedByDesktop(pState->hWnd, pState->eState);
    else if (std::holds_alternative<CLostReport>(report))
        sink.OnConnectionLost();
}

// Latin-1 text (from XLookupString, without an input method) as UTF-8.
std::string Utf8FromLatin1(const char* psz, int nLength)
{
    std::string str;
    for (int i = 0; i < nLength; ++i) {
        auto ch = static_cast<unsigned char>(psz[i]);
        if (ch < 0x80) {
            str += static_cast<char>(ch);
        } else {
            str += static_cast<char>(0xC0 | (ch >> 6));
            str += static_cast<char>(0x80 | (ch & 0x3F));
        }
    }
    return str;
}

// The translation of one event, with the display's lock held.
class CEventTranslator {
public:
    CEventTranslator(CX11State& state, std::vector<CReport>& reports)
        : m_state(state)
        , m_reports(reports)
    {
    }

    void Translate(XEvent& event);

private:
    void OnExpose(const XExposeEvent& event);
    void OnConfigure(XConfigureEvent event);
    void OnClientMessage(const XClientMessageEvent& event);
    void OnProperty(const XPropertyEvent& event);
    void OnMapChange(const XEvent& event);
    void OnReparent(const XReparentEvent& event);
    void OnFocus(const XFocusChangeEvent& event);
    void OnKey(XKeyEvent& event);
    // The virtual key of a key of the keymap, with the keysym its modifiers
    // give (NoSymbol: its first level's); 0 for a key without one.
    UINT VirtualKeyOf(unsigned int nKeycode, int nGroup, KeySym keysym);
    // The lock keys and the keys held now.
    CKeyboardState KeyboardNow();
    void OnButton(const XButtonEvent& event);
    void OnMotion(XMotionEvent event);
    void OnEnter(const XCrossingEvent& event);
    void ReportMove(Window window, int xRoot, int yRoot, Time time);
    // The state the window manager shows the window in, from WM_STATE and _NET_WM_STATE.
    ETopLevelState DesktopStateOf(const x11::CTopLevel& window);
    // The window a disabled window passes the keyboard to: the modal window it
    // owns (never a tool window), followed down while that one is disabled too;
    // nullptr when the chain ends in none.
    const x11::CTopLevel* ModalHolderOf(const x11::CTopLevel& disabled) const;

    CX11State& m_state;
    std::vector<CReport>& m_reports;
};

void CEventTranslator::Translate(XEvent& event)
{
    switch (m_state.HandleClipboardEvent(event)) {
    case EClipboardEvent::NotClipboards:
        break;
    case EClipboardEvent::Handled:
        return;
    case EClipboardEvent::FormatsChanged:
        m_reports.emplace_back(CClipboardReport { EClipboardChange::Formats });
        return;
    case EClipboardEvent::TakenFromProgram:
        m_reports.emplace_back(CClipboardReport { EClipboardChange::TakenFromProgram });
        return;
    }
    std::vector<CX11TrayInput> trayInput;
    if (m_state.m_pTray->HandleEventLocked(event, trayInput)) {
        m_reports.insert(m_reports.end(), trayInput.begin(), trayInput.end());
        return;
    }
    if (m_state.IsSettingsEvent(event)) {
        m_state.ReadSettings();
        return;
    }
    if (m_state.IsScreenChangeEvent(event)) {
        m_state.RefreshScreen();
        m_reports.emplace_back(CScreenReport {});
        return;
    }
    switch (event.type) {
    case Expose:
        OnExpose(event.xexpose);
        break;
    case ConfigureNotify:
        OnConfigure(event.xconfigure);
        break;
    case ClientMessage:
        OnClientMessage(event.xclient);
        break;
    case PropertyNotify:
        OnProperty(event.xproperty);
        break;
    case MapNotify:
    case UnmapNotify:
        OnMapChange(event);
        break;
    case ReparentNotify:
        OnReparent(event.xreparent);
        break;
    case FocusIn:
    case FocusOut:
        OnFocus(event.xfocus);
        break;
    case KeyPress:
    case KeyRelease:
        OnKey(event.xkey);
        break;
    case ButtonPress:
    case ButtonRelease:
        OnButton(event.xbutton);
        break;
    case MotionNotify:
        OnMotion(event.xmotion);
        break;
    case EnterNotify:
        OnEnter(event.xcrossing);
        break;
    case MappingNotify:
        XRefreshKeyboardMapping(&event.xmapping);
        break;
    default:
        break;
    }
}

void CEventTranslator::OnExpose(const XExposeEvent& event)
{
    x11::CTopLevel* pWindow = m_state.FindByWindow(event.window);
    if (pWindow)
        m_state.CopyToServer(*pWindow, RECT { event.x, event.y, event.x + event.width, event.y + event.height });
}

void CEventTranslator::OnConfigure(XConfigureEvent event)
{
    x11::CTopLevel* pWindow = m_state.FindByWindow(event.window);
    if (!pWindow || pWindow->bUnmanaged)
        return;
    // A burst of them for one window is taken as its last one, up to the
    // window's next change of parent, which changes what their places mean.
    struct CBurst {
        Window window;
        bool bParentChanges;
    } burst { event.window, false };
    auto inBurst = [](Display*, XEvent* pEvent, XPointer pArg) -> Bool {
        auto& burst = *reinterpret_cast<CBurst*>(pArg);
        if (pEvent->type == ReparentNotify && pEvent->xreparent.window == burst.window)
            burst.bParentChanges = true;
        return !burst.bParentChanges && pEvent->type == ConfigureNotify && pEvent->xconfigure.window == burst.window;
    };
    XEvent later {};
    while (XCheckIfEvent(m_state.m_pDisplay, &later, inBurst, reinterpret_cast<XPointer>(&burst)))
        event = later.xconfigure;
    // The window manager's synthetic notice is in root coordinates, and so is
    // a real one from before the window was put in a frame (the frame may be
    // elsewhere by the time it is read); a later real one is relative to the frame.
    int xRoot = event.x;
    int yRoot = event.y;
    if (!event.send_event && pWindow->bInFrame) {
        Window child = None;
        XTranslateCoordinates(m_state.m_pDisplay, event.window, m_state.m_root, 0, 0, &xRoot, &yRoot, &child);
    }
    POINT ptScreen = m_state.ToScreen(xRoot, yRoot);
    RECT rc { ptScreen.x, ptScreen.y, ptScreen.x + event.width, ptScreen.y + event.height };
    auto& pending = pWindow->pendingConfigures;
    auto asked
        = std::find_if(pending.begin(), pending.end(), [&](const RECT& rcAsked) { return EqualRect(&rcAsked, &rc); });
    if (asked != pending.end()) {
        // The answer to a request of ours: the newer requests still stand.
        pending.erase(pending.begin(), asked + 1);
        return;
    }
    if (EqualRect(&rc, &pWindow->rcWindow))
        return;
    bool bResized = event.width != pWindow->nSurfaceWidth || event.height != pWindow->nSurfaceHeight;
    pWindow->rcWindow = rc;
    pending.clear();
    if (bResized) {
        m_state.DropSurface(*pWindow);
        m_state.MakeSurface(*pWindow);
    }
    m_reports.emplace_back(CMoveReport { pWindow->hWnd, rc });
}

void CEventTranslator::OnReparent(const XReparentEvent& event)
{
    // Followed in the order of the events, so each configure notice is read
    // against the parent the window had when the server sent it.
    if (x11::CTopLevel* pWindow = m_state.FindByWindow(event.window))
        pWindow->bInFrame = event.parent != m_state.m_root;
}

void CEventTranslator::OnClientMessage(const XClientMessageEvent& event)
{
    const CX11Atoms& atoms = m_state.m_atoms;
    x11::CTopLevel* pWindow = m_state.FindByWindow(event.window);
    if (!pWindow || event.message_type != atoms.WM_PROTOCOLS || event.format != 32)
        return;
    auto protocol = static_cast<Atom>(event.data.l[0]);
    if (protocol == atoms.WM_DELETE_WINDOW) {
        m_reports.emplace_back(CCloseReport { pWindow->hWnd });
    } else if (protocol == atoms._NET_WM_PING) {
        // Answered from the message wait: a program that stops taking messages shows as busy.
        XEvent reply {};
        reply.xclient = event;
        reply.xclient.window = m_state.m_root;
        XSendEvent(
            m_state.m_pDisplay, m_state.m_root, False, SubstructureRedirectMask | SubstructureNotifyMask, &reply);
    } else if (protocol == atoms.WM_TAKE_FOCUS) {
        // The window manager focuses the program's windows itself (their input hint
        // is set); a window disabled by its modal dialog passes the keyboard on to it.
        // A late offer, for a window the focus has since left, is ignored: acting on
        // it would pull the focus back from where the desktop moved it.
        if (!pWindow->look.bDisabled)
            return;
        Window focus = None;
        int nRevert = 0;
        XGetInputFocus(m_state.m_pDisplay, &focus, &nRevert);
        if (focus != pWindow->window)
            return;
        if (const x11::CTopLevel* pHolder = ModalHolderOf(*pWindow))
            XSetInputFocus(m_state.m_pDisplay, pHolder->window, RevertToParent, static_cast<Time>(event.data.l[1]));
    }
}

const x11::CTopLevel* CEventTranslator::ModalHolderOf(const x11::CTopLevel& disabled) const
{
    // Owner chains are short; the bound keeps a damaged one from holding the event.
    constexpr int MAX_CHAIN = 16;
    const x11::CTopLevel* pHolder = &disabled;
    for (int nDepth = 0; pHolder && pHolder->look.bDisabled && nDepth < MAX_CHAIN; ++nDepth) {
        const x11::CTopLevel* pModal = nullptr;
        for (const auto& [hOther, other] : m_state.m_windows) {
            if (other.look.hOwner == pHolder->hWnd && other.bMapped && !other.bUnmanaged
                && other.look.eKind != ETopLevelKind::Tool) {
                pModal = &other;
                break;
            }
        }
        pHolder = pModal;
    }
    return pHolder && !pHolder->look.bDisabled ? pHolder : nullptr;
}

ETopLevelState CEventTranslator::DesktopStateOf(const x11::CTopLevel& window)
{
    const CX11Atoms& atoms = m_state.m_atoms;
    std::optional<uint32_t> nWmState
        = DecodeWmState(m_state.ReadProperty(window.window, atoms.WM_STATE, 2), atoms.WM_STATE);
    if (nWmState == ICONIC_STATE)
        return ETopLevelState::Minimized;
    constexpr long MAX_STATES = 64;
    std::vector<uint32_t> states
        = X11Longs(m_state.ReadProperty(window.window, atoms._NET_WM_STATE, MAX_STATES), XA_ATOM);
    auto has = [&](Atom atom) { return std::find(states.begin(), states.end(), atom) != states.end(); };
    if (has(atoms._NET_WM_STATE_HIDDEN))
        return ETopLevelState::Minimized;
    if (has(atoms._NET_WM_STATE_MAXIMIZED_VERT) && has(atoms._NET_WM_STATE_MAXIMIZED_HORZ))
        return ETopLevelState::Maximized;
    return ETopLevelState::Normal;
}

void CEventTranslator::OnProperty(const XPropertyEvent& event)
{
    const CX11Atoms& atoms = m_state.m_atoms;
    if (event.atom != atoms.WM_STATE && event.atom != atoms._NET_WM_STATE)
        return;
    x11::CTopLevel* pWindow = m_state.FindByWindow(event.window);
    if (!pWindow || pWindow->bUnmanaged || !pWindow->bMapped)
        return;
    ETopLevelState eState = DesktopStateOf(*pWindow);
    if (eState == pWindow->eState)
        return;
    pWindow->eState = eState;
    m_reports.emplace_back(CStateReport { pWindow->hWnd, eState });
}

void CEventTranslator::OnMapChange(const XEvent& event)
{
    // A window mapped again from the taskbar is restored; WM_STATE says so too,
    // but not every window manager changes it before the map.
    x11::CTopLevel* pWindow = m_state.FindByWindow(event.xmap.window);
    if (event.type != MapNotify || !pWindow || pWindow->bUnmanaged || !pWindow->bMapped)
        return;
    // The window manager manages the window now: the windows it owns can be its transients.
    m_state.RaiseOwnedWindows(pWindow->hWnd);
    if (pWindow->eState != ETopLevelState::Minimized)
        return;
    ETopLevelState eState = DesktopStateOf(*pWindow);
    if (eState == ETopLevelState::Minimized)
        eState = ETopLevelState::Normal;
    pWindow->eState = eState;
    m_reports.emplace_back(CStateReport { pWindow->hWnd, eState });
}

void CEventTranslator::OnFocus(const XFocusChangeEvent& event)
{
    // Focus moving inside a window, or pointer-root bookkeeping, changes no activation.
    if (event.detail == NotifyInferior || event.detail == NotifyPointer || event.mode == NotifyGrab
        || event.mode == NotifyUngrab)
        return;
    x11::CTopLevel* pWindow = m_state.FindByWindow(event.window);
    if (!pWindow)
        return;
    bool bActive = event.type == FocusIn;
    if (!bActive) {
        // Focus moving to another window of the program is that window's FocusIn.
        Window focus = None;
        int nRevert = 0;
        XGetInputFocus(m_state.m_pDisplay, &focus, &nRevert);
        if (m_state.FindByWindow(focus))
            return;
    }
    if (pWindow->hInputContext) {
        if (bActive)
            XSetICFocus(pWindow->hInputContext);
        else
            XUnsetICFocus(pWindow->hInputContext);
    }
    if (bActive)
        m_state.m_hFocusTop = pWindow->hWnd;
    else if (m_state.m_hFocusTop == pWindow->hWnd)
        m_state.m_hFocusTop = nullptr;
    m_reports.emplace_back(CActivationReport { pWindow->hWnd, bActive });
    if (bActive)
        m_reports.emplace_back(KeyboardNow());
}

UINT CEventTranslator::VirtualKeyOf(unsigned int nKeycode, int nGroup, KeySym keysym)
{
    unsigned long groupSyms[4] {};
    size_t nGroups = 0;
    auto keycode = static_cast<KeyCode>(nKeycode);
    groupSyms[nGroups++] = XkbKeycodeToKeysym(m_state.m_pDisplay, keycode, nGroup, 0);
    for (int nOther = 0; nOther < 4; ++nOther) {
        if (nOther != nGroup)
            groupSyms[nGroups++] = XkbKeycodeToKeysym(m_state.m_pDisplay, keycode, nOther, 0);
    }
    return VirtualKeyOfX11Key(nKeycode - 8, keysym == NoSymbol ? groupSyms[0] : keysym, std::span(groupSyms, nGroups));
}

CKeyboardState CEventTranslator::KeyboardNow()
{
    Display* pDisplay = m_state.m_pDisplay;
    CKeyboardState keyboard;
    unsigned int nIndicators = 0;
    XkbGetIndicatorState(pDisplay, XkbUseCoreKbd, &nIndicators);
    keyboard.bCapsLock = (nIndicators & m_state.m_nCapsIndicator) != 0;
    keyboard.bNumLock = (nIndicators & m_state.m_nNumIndicator) != 0;
    keyboard.bScrollLock = (nIndicators & m_state.m_nScrollIndicator) != 0;
    XkbStateRec xkb {};
    XkbGetState(pDisplay, XkbUseCoreKbd, &xkb);
    char keymap[32] {};
    XQueryKeymap(pDisplay, keymap);
    for (unsigned int nKeycode = 8; nKeycode < 256; ++nKeycode) {
        if (!(static_cast<unsigned char>(keymap[nKeycode / 8]) & (1u << (nKeycode % 8))))
            continue;
        KeySym keysym = NoSymbol;
        unsigned int nModsUsed = 0;
        XkbLookupKeySym(
            pDisplay, static_cast<KeyCode>(nKeycode), XkbBuildCoreState(xkb.mods, xkb.group), &nModsUsed, &keysym);
        UINT nKey = VirtualKeyOf(nKeycode, xkb.group, keysym);
        if (IsAltGraphKeysym(keysym)) {
            keyboard.heldKeys.push_back(VK_LCONTROL);
            nKey = VK_RMENU;
        }
        if (nKey)
            keyboard.heldKeys.push_back(nKey);
    }
    return keyboard;
}

void CEventTranslator::OnKey(XKeyEvent& event)
{
    bool bDown = event.type == KeyPress;
    x11::CTopLevel* pWindow = m_state.FindByWindow(event.window);
    char szText[64] {};
    KeySym keysym = NoSymbol;
    int nLength = 0;
    if (bDown && pWindow && pWindow->hInputContext) {
        Status status = 0;
        nLength = Xutf8LookupString(pWindow->hInputContext, &event, szText, sizeof(szText) - 1, &keysym, &status);
        if (status == XBufferOverflow || status == XLookupNone)
            nLength = 0;
        if (status == XLookupChars)
            keysym = NoSymbol;
    } else {
        char szLatin1[64] {};
        nLength = XLookupString(&event, szLatin1, sizeof(szLatin1) - 1, &keysym, nullptr);
        std::string strUtf8 = bDown ? Utf8FromLatin1(szLatin1, nLength) : std::string();
        nLength = static_cast<int>(std::min(strUtf8.size(), sizeof(szText) - 1));
        std::copy_n(strUtf8.begin(), nLength, szText);
    }
    std::string strText(szText, static_cast<size_t>(std::max(nLength, 0)));
    if (bDown)
        m_state.m_lastUserTime = event.time;

    // Text the input method made without a key of its own (a composed character).
    if (event.keycode == 0) {
        if (!strText.empty())
            m_reports.emplace_back(CTextReport { strText });
        return;
    }

    int nGroup = XkbGroupForCoreState(event.state);
    if (keysym == NoSymbol)
        keysym = XkbKeycodeToKeysym(m_state.m_pDisplay, static_cast<KeyCode>(event.keycode), nGroup, 0);
    UINT nKey = VirtualKeyOf(event.keycode, nGroup, keysym);
    if (nKey == 0)
        return;
    // Windows gives Delete no character, and Ctrl only its control characters.
    if (nKey == VK_DELETE || ((event.state & ControlMask) && !(strText.size() == 1 && strText[0] < 0x20)))
        strText.clear();

    CKeyInput input;
    input.nVirtualKey = nKey;
    input.bDown = bDown;
    input.bHasText = true;
    input.strText = bDown ? strText : std::string();
    input.nScanCode = event.keycode - 8;
    input.dwTime = m_state.TicksOf(event.time);
    if (IsAltGraphKeysym(keysym)) {
        // AltGr is right Alt with Control, as the program knows it.
        CKeyInput control = input;
        control.nVirtualKey = VK_LCONTROL;
        input.nVirtualKey = VK_RMENU;
        if (bDown) {
            m_reports.emplace_back(control);
            m_reports.emplace_back(input);
        } else {
            m_reports.emplace_back(input);
            m_reports.emplace_back(control);
        }
        return;
    }
    m_reports.emplace_back(input);
}

void CEventTranslator::OnButton(const XButtonEvent& event)
{
    x11::CTopLevel* pWindow = m_state.FindByWindow(event.window);
    CMouseInput input;
    input.pt = m_state.ToScreen(event.x_root, event.y_root);
    input.hTopLevel = pWindow ? pWindow->hWnd : nullptr;
    input.dwTime = m_state.TicksOf(event.time);
    bool bDown = event.type == ButtonPress;
    if (bDown)
        m_state.m_lastUserTime = event.time;
    switch (event.button) {
    case BUTTON_LEFT:
        input.eButton = EMouseButton::Left;
        break;
    case BUTTON_MIDDLE:
        input.eButton = EMouseButton::Middle;
        break;
    case BUTTON_RIGHT:
        input.eButton = EMouseButton::Right;
        break;
    case BUTTON_WHEEL_UP:
    case BUTTON_WHEEL_DOWN:
        if (!bDown)
            return; // a notch is its press
        input.eAction = EMouseAction::Wheel;
        input.nWheel = event.button == BUTTON_WHEEL_UP ? WHEEL_NOTCH : -WHEEL_NOTCH;
        m_reports.emplace_back(input);
        return;
    default:
        return; // horizontal wheels and extra buttons: nothing of the program reads them
    }
    input.eAction = bDown ? EMouseAction::ButtonDown : EMouseAction::ButtonUp;
    m_reports.emplace_back(input);
}

void CEventTranslator::OnMotion(XMotionEvent event)
{
    // Moves that queue up are taken as the last of them.
    XEvent later {};
    while (XCheckTypedWindowEvent(m_state.m_pDisplay, event.window, MotionNotify, &later))
        event = later.xmotion;
    ReportMove(event.window, event.x_root, event.y_root, event.time);
}

void CEventTranslator::OnEnter(const XCrossingEvent& event)
{
    // A window that appears under a resting pointer, or that the pointer
    // reaches while the window was still being mapped, gets no motion: the
    // crossing is its first mouse move, so hover and cursor updates start.
    if (event.mode == NotifyNormal)
        ReportMove(event.window, event.x_root, event.y_root, event.time);
}

void CEventTranslator::ReportMove(Window window, int xRoot, int yRoot, Time time)
{
    x11::CTopLevel* pWindow = m_state.FindByWindow(window);
    CMouseInput input;
    input.eAction = EMouseAction::Move;
    input.pt = m_state.ToScreen(xRoot, yRoot);
    input.hTopLevel = pWindow ? pWindow->hWnd : nullptr;
    input.dwTime = m_state.TicksOf(time);
    m_reports.emplace_back(input);
}

}

int CX11Display::EventDescriptor()
{
    CX11State& state = *m_pState;
    return state.m_bLost ? -1 : ConnectionNumber(state.m_pDisplay);
}

bool CX11Display::HasPendingEvents()
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    if (state.m_bLost)
        return !state.m_bLostReported;
    bool bPending = XEventsQueued(state.m_pDisplay, QueuedAfterReading) > 0;
    return bPending || (state.m_bLost && !state.m_bLostReported);
}

void CX11Display::DispatchEvents()
{
    CX11State& state = *m_pState;
    // Bounded, so that a flood of events cannot keep the program from its other work.
    constexpr int MAX_EVENTS = 256;
    for (int nEvent = 0; nEvent < MAX_EVENTS; ++nEvent) {
        std::vector<CReport> reports;
        {
            std::lock_guard lock(state.m_mutex);
            if (!state.m_bLost && XPending(state.m_pDisplay) > 0) {
                XEvent event {};
                XNextEvent(state.m_pDisplay, &event);
                if (!XFilterEvent(&event, None))
                    CEventTranslator(state, reports).Translate(event);
            }
            if (state.m_bLost && !state.m_bLostReported) {
                state.m_bLostReported = true;
                reports.emplace_back(CLostReport {});
            }
            if (reports.empty() && (state.m_bLost || XEventsQueued(state.m_pDisplay, QueuedAlready) == 0))
                return;
        }
        for (const CReport& report : reports) {
            if (const auto* pTrayInput = std::get_if<CX11TrayInput>(&report))
                state.m_pTray->Report(*pTrayInput);
            else if (m_pSink)
                Deliver(*m_pSink, report);
        }
    }
}
