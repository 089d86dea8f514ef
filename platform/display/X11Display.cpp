#include "platform/display/X11Display.h"

#include "platform/base/Clock.h"
#include "platform/base/Threads.h"
#include "platform/display/X11DisplayInternal.h"
#include "platform/display/X11TrayHost.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>
#include <cairo-xlib.h>
#include <langinfo.h>
#include <unistd.h>

namespace {

// Protocol errors are other clients' windows going away under a request of
// ours (a tray or clipboard manager that quit): counted, never fatal.
std::atomic<int> g_nProtocolErrors { 0 };

int CountProtocolError(Display*, XErrorEvent*)
{
    ++g_nProtocolErrors;
    return 0;
}

// A broken connection is reported through the display's state; Xlib must not
// end the process, as its default handlers do.
int IgnoreIoError(Display*)
{
    return 0;
}

void MarkConnectionLost(Display*, void* pUserData)
{
    static_cast<CX11State*>(pUserData)->m_bLost = true;
}

// Text input wants a UTF-8 locale: the environment's when it has one, else C.UTF-8.
void ChooseTextLocale()
{
    const char* pszLocale = std::setlocale(LC_CTYPE, "");
    if (!pszLocale || std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

constexpr long EVENT_MASK = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | ButtonPressMask
    | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask | FocusChangeMask | PropertyChangeMask;

// The decorations field of _MOTIF_WM_HINTS.
constexpr long MOTIF_HINTS_DECORATIONS = 1L << 1;

}

/***** Opening *****/

CX11Display::CX11Display(std::unique_ptr<CX11State> pState)
    : m_pState(std::move(pState))
{
}

std::unique_ptr<CX11Display> CX11Display::Open(const char* pszName, std::string* pstrReason)
{
    static std::once_flag s_once;
    std::call_once(s_once, [] {
        XInitThreads();
        XSetErrorHandler(&CountProtocolError);
        XSetIOErrorHandler(&IgnoreIoError);
        ChooseTextLocale();
        XSetLocaleModifiers("");
    });
    const char* pszShown = pszName ? pszName : std::getenv("DISPLAY");
    if (!pszShown || !*pszShown) {
        *pstrReason = "no X display is set (DISPLAY is empty)";
        return nullptr;
    }
    Display* pDisplay = XOpenDisplay(pszShown);
    if (!pDisplay) {
        *pstrReason = std::string("the X display ") + pszShown + " cannot be opened";
        return nullptr;
    }
    auto pState = std::make_unique<CX11State>();
    CX11State& state = *pState;
    state.m_pDisplay = pDisplay;
    state.m_nScreen = DefaultScreen(pDisplay);
    state.m_root = RootWindow(pDisplay, state.m_nScreen);
    state.m_pVisual = DefaultVisual(pDisplay, state.m_nScreen);
    state.m_nDepth = DefaultDepth(pDisplay, state.m_nScreen);
    if (!state.m_atoms.Intern(pDisplay)) {
        XCloseDisplay(pDisplay);
        *pstrReason = std::string("the X display ") + pszShown + " refused the program's atoms";
        return nullptr;
    }
    XSetIOErrorExitHandler(pDisplay, &MarkConnectionLost, pState.get());
    Bool bDetectable = False;
    XkbSetDetectableAutoRepeat(pDisplay, True, &bDetectable);
    if (XSupportsLocale())
        state.m_hInputMethod = XOpenIM(pDisplay, nullptr, nullptr, nullptr);
    for (auto [pszName, pnBit] :
        { std::pair { "Caps Lock", &state.m_nCapsIndicator }, std::pair { "Num Lock", &state.m_nNumIndicator },
            std::pair { "Scroll Lock", &state.m_nScrollIndicator } }) {
        int nIndex = -1;
        Atom name = XInternAtom(pDisplay, pszName, False);
        if (XkbGetNamedIndicator(pDisplay, name, &nIndex, nullptr, nullptr, nullptr) && nIndex >= 0 && nIndex < 32)
            *pnBit = 1u << nIndex;
    }
    int nFixesEvent = 0;
    int nFixesError = 0;
    int nFixesMajor = 5;
    int nFixesMinor = 0;
    if (XFixesQueryExtension(pDisplay, &nFixesEvent, &nFixesError))
        XFixesQueryVersion(pDisplay, &nFixesMajor, &nFixesMinor); // the server wants it asked first
    // Root properties (the work area) and managers announcing themselves.
    XSelectInput(pDisplay, state.m_root, PropertyChangeMask | StructureNotifyMask);
    std::string strSettings = "_XSETTINGS_S" + std::to_string(state.m_nScreen);
    state.m_settingsSelection = XInternAtom(pDisplay, strSettings.c_str(), False);
    state.ReadSettings();
    state.OpenClipboard();
    state.m_pTray = std::make_unique<CX11TrayHost>(state);
    state.RefreshScreen();
    state.WatchScreenChanges();
    return std::unique_ptr<CX11Display>(new CX11Display(std::move(pState)));
}

CX11Display::~CX11Display()
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    state.HandOverClipboard();
    state.m_pTray->CloseLocked();
    for (auto& [hWnd, window] : state.m_windows) {
        state.DropSurface(window);
        if (window.hInputContext)
            XDestroyIC(window.hInputContext);
        if (!state.m_bLost)
            XDestroyWindow(state.m_pDisplay, window.window);
    }
    if (state.m_selectionWindow && !state.m_bLost)
        XDestroyWindow(state.m_pDisplay, state.m_selectionWindow);
    if (state.m_hInputMethod)
        XCloseIM(state.m_hInputMethod);
    for (auto& [hCursor, cursor] : state.m_cursors) {
        if (cursor && !state.m_bLost)
            XFreeCursor(state.m_pDisplay, cursor);
    }
    // A lost connection is still closed: Xlib frees what it holds and makes no request.
    XCloseDisplay(state.m_pDisplay);
}

bool CX11Atoms::Intern(Display* pDisplay)
{
    // clang-format off
    static const char* const NAMES[] = {
#define ARCHIVORA_X11_ATOM_NAME(name) #name,
        ARCHIVORA_X11_ATOMS(ARCHIVORA_X11_ATOM_NAME)
#undef ARCHIVORA_X11_ATOM_NAME
    };
    Atom* const FIELDS[] = {
#define ARCHIVORA_X11_ATOM_ADDRESS(name) &(name),
        ARCHIVORA_X11_ATOMS(ARCHIVORA_X11_ATOM_ADDRESS)
#undef ARCHIVORA_X11_ATOM_ADDRESS
    };
    // clang-format on
    constexpr int COUNT = static_cast<int>(std::size(NAMES));
    Atom atoms[COUNT + 2] {};
    const char* names[COUNT + 2] {};
    std::copy(std::begin(NAMES), std::end(NAMES), names);
    names[COUNT] = "text/plain;charset=utf-8";
    names[COUNT + 1] = "NULL";
    if (!XInternAtoms(pDisplay, const_cast<char**>(names), COUNT + 2, False, atoms))
        return false;
    for (int i = 0; i < COUNT; ++i)
        *FIELDS[i] = atoms[i];
    TEXT_PLAIN_UTF8 = atoms[COUNT];
    NULL_TYPE = atoms[COUNT + 1];
    return true;
}

/***** State helpers *****/

x11::CTopLevel* CX11State::Find(HWND hWnd)
{
    auto it = m_windows.find(hWnd);
    return it == m_windows.end() ? nullptr : &it->second;
}

x11::CTopLevel* CX11State::FindByWindow(Window window)
{
    auto it = m_byWindow.find(window);
    return it == m_byWindow.end() ? nullptr : Find(it->second);
}

DWORD CX11State::TicksOf(Time time)
{
    if (!m_nTimeOffset)
        m_nTimeOffset = static_cast<long long>(ClockTicks()) - static_cast<long long>(time);
    return static_cast<DWORD>(static_cast<long long>(time) + *m_nTimeOffset);
}

CX11Property CX11State::ReadProperty(Window window, Atom property, long nMaxItems)
{
    CX11Property value;
    if (m_bLost)
        return value;
    Atom type = None;
    int nFormat = 0;
    unsigned long nItems = 0;
    unsigned long nAfter = 0;
    unsigned char* pData = nullptr;
    if (XGetWindowProperty(m_pDisplay, window, property, 0, nMaxItems, False, AnyPropertyType, &type, &nFormat, &nItems,
            &nAfter, &pData)
            != Success
        || !pData)
        return value;
    // A value longer than asked for is not taken in part: it is refused whole.
    if (nAfter == 0) {
        value.nType = type;
        value.nFormat = nFormat;
        if (nFormat == 8)
            value.bytes.assign(pData, pData + nItems);
        else if (nFormat == 16)
            value.shorts.assign(reinterpret_cast<const unsigned short*>(pData),
                reinterpret_cast<const unsigned short*>(pData) + nItems);
        else if (nFormat == 32)
            for (unsigned long i = 0; i < nItems; ++i)
                value.longs.push_back(static_cast<uint32_t>(reinterpret_cast<const unsigned long*>(pData)[i]));
    }
    XFree(pData);
    return value;
}

bool CX11State::WindowManagerSupports(Atom atom)
{
    constexpr long MAX_SUPPORTED = 4096;
    std::vector<uint32_t> supported = X11Longs(ReadProperty(m_root, m_atoms._NET_SUPPORTED, MAX_SUPPORTED), XA_ATOM);
    return std::find(supported.begin(), supported.end(), static_cast<uint32_t>(atom)) != supported.end();
}

void CX11State::MakeSurface(x11::CTopLevel& window)
{
    int nWidth = std::max<int>(window.rcWindow.right - window.rcWindow.left, 1);
    int nHeight = std::max<int>(window.rcWindow.bottom - window.rcWindow.top, 1);
    BITMAPINFO bmi {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight; // top-down, as the server's images
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    window.hbmSurface = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    window.pBits = static_cast<BYTE*>(pBits);
    window.nSurfaceWidth = nWidth;
    window.nSurfaceHeight = nHeight;
    if (!m_bLost)
        window.pWindowSurface = cairo_xlib_surface_create(m_pDisplay, window.window, m_pVisual, nWidth, nHeight);
    window.rcDamage = RECT {};
}

void CX11State::DropSurface(x11::CTopLevel& window)
{
    if (window.pWindowSurface)
        cairo_surface_destroy(window.pWindowSurface);
    window.pWindowSurface = nullptr;
    if (window.hbmSurface)
        DeleteObject(window.hbmSurface);
    window.hbmSurface = nullptr;
    window.pBits = nullptr;
}

void CX11State::CopyToServer(x11::CTopLevel& window, const RECT& rcArea)
{
    if (m_bLost || !window.pWindowSurface || !window.pBits)
        return;
    RECT rc {};
    RECT rcSurface { 0, 0, window.nSurfaceWidth, window.nSurfaceHeight };
    if (!IntersectRect(&rc, &rcArea, &rcSurface))
        return;
    cairo_surface_t* pImage = cairo_image_surface_create_for_data(
        window.pBits, CAIRO_FORMAT_RGB24, window.nSurfaceWidth, window.nSurfaceHeight, window.nSurfaceWidth * 4);
    cairo_t* pCairo = cairo_create(window.pWindowSurface);
    cairo_set_operator(pCairo, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(pCairo, pImage, 0, 0);
    cairo_rectangle(pCairo, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    cairo_fill(pCairo);
    cairo_destroy(pCairo);
    cairo_surface_destroy(pImage);
    cairo_surface_flush(window.pWindowSurface);
}

void CX11State::SetNormalHints(x11::CTopLevel& window)
{
    XSizeHints* pHints = XAllocSizeHints();
    if (!pHints)
        return;
    // The program places its windows itself: the position and size are the user's.
    pHints->flags = USPosition | USSize | PPosition | PSize | PWinGravity;
    pHints->x = window.rcWindow.left + m_ptOrigin.x;
    pHints->y = window.rcWindow.top + m_ptOrigin.y;
    pHints->width = std::max<int>(window.rcWindow.right - window.rcWindow.left, 1);
    pHints->height = std::max<int>(window.rcWindow.bottom - window.rcWindow.top, 1);
    pHints->win_gravity = StaticGravity;
    const CTopLevelLook& look = window.look;
    if (!look.bResizable) {
        pHints->flags |= PMinSize | PMaxSize;
        pHints->min_width = pHints->max_width = pHints->width;
        pHints->min_height = pHints->max_height = pHints->height;
    } else {
        if (look.szMin.cx > 0 || look.szMin.cy > 0) {
            pHints->flags |= PMinSize;
            pHints->min_width = std::max<int>(look.szMin.cx, 1);
            pHints->min_height = std::max<int>(look.szMin.cy, 1);
        }
        if (look.szMax.cx > 0 && look.szMax.cy > 0) {
            pHints->flags |= PMaxSize;
            pHints->max_width = look.szMax.cx;
            pHints->max_height = look.szMax.cy;
        }
    }
    XSetWMNormalHints(m_pDisplay, window.window, pHints);
    XFree(pHints);
}

void CX11State::RaiseOwnedWindows(HWND hOwner)
{
    // A window shown before its owner was marked transient for a window the
    // window manager did not manage yet, and may have been taken as no
    // transient at all: it is marked again, now that the owner is managed,
    // and asked to go above it, as owned windows stay above their owner.
    // The window manager keeps it above the owner from then on.
    const x11::CTopLevel* pOwner = Find(hOwner);
    if (!pOwner)
        return;
    for (auto& [hWnd, window] : m_windows) {
        if (window.look.hOwner != hOwner || !window.bMapped || window.bUnmanaged)
            continue;
        XSetTransientForHint(m_pDisplay, window.window, pOwner->window);
        XRaiseWindow(m_pDisplay, window.window);
    }
}

void CX11State::ApplyLook(x11::CTopLevel& window)
{
    if (m_bLost)
        return;
    const CTopLevelLook& look = window.look;
    bool bUnmanaged = IsUnmanagedKind(look.eKind);
    if (bUnmanaged != window.bUnmanaged && !window.bMapped) {
        XSetWindowAttributes attributes {};
        attributes.override_redirect = bUnmanaged ? True : False;
        XChangeWindowAttributes(m_pDisplay, window.window, CWOverrideRedirect, &attributes);
        window.bUnmanaged = bUnmanaged;
    }

    // The title, in both the old and the extended property.
    char* pszTitle = const_cast<char*>(look.strTitle.c_str());
    XTextProperty title {};
    if (Xutf8TextListToTextProperty(m_pDisplay, &pszTitle, 1, XStdICCTextStyle, &title) >= Success) {
        XSetWMName(m_pDisplay, window.window, &title);
        XFree(title.value);
    }
    XChangeProperty(m_pDisplay, window.window, m_atoms._NET_WM_NAME, m_atoms.UTF8_STRING, 8, PropModeReplace,
        reinterpret_cast<const unsigned char*>(look.strTitle.data()), static_cast<int>(look.strTitle.size()));

    x11::CTopLevel* pOwner = look.hOwner ? Find(look.hOwner) : nullptr;
    if (pOwner)
        XSetTransientForHint(m_pDisplay, window.window, pOwner->window);
    else
        XDeleteProperty(m_pDisplay, window.window, XA_WM_TRANSIENT_FOR);

    Atom type = m_atoms._NET_WM_WINDOW_TYPE_NORMAL;
    switch (look.eKind) {
    case ETopLevelKind::Dialog:
        type = m_atoms._NET_WM_WINDOW_TYPE_DIALOG;
        break;
    case ETopLevelKind::Tool:
        type = m_atoms._NET_WM_WINDOW_TYPE_UTILITY;
        break;
    case ETopLevelKind::DropDown:
        type = m_atoms._NET_WM_WINDOW_TYPE_COMBO;
        break;
    case ETopLevelKind::ToolTip:
        type = m_atoms._NET_WM_WINDOW_TYPE_TOOLTIP;
        break;
    case ETopLevelKind::PopupMenu:
    case ETopLevelKind::OtherPopup:
        type = m_atoms._NET_WM_WINDOW_TYPE_POPUP_MENU;
        break;
    case ETopLevelKind::Normal:
        break;
    }
    XChangeProperty(m_pDisplay, window.window, m_atoms._NET_WM_WINDOW_TYPE, XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(&type), 1);
    if (!bUnmanaged) {
        SetNormalHints(window);
        SetNetStates(window);
    }
}

std::vector<Atom> CX11State::NetStatesOf(const x11::CTopLevel& window) const
{
    std::vector<Atom> states;
    const CTopLevelLook& look = window.look;
    if (look.bModal)
        states.push_back(m_atoms._NET_WM_STATE_MODAL);
    if (look.bSkipTaskbar)
        states.push_back(m_atoms._NET_WM_STATE_SKIP_TASKBAR);
    if (look.bTopmost)
        states.push_back(m_atoms._NET_WM_STATE_ABOVE);
    if (window.eState == ETopLevelState::Maximized) {
        states.push_back(m_atoms._NET_WM_STATE_MAXIMIZED_VERT);
        states.push_back(m_atoms._NET_WM_STATE_MAXIMIZED_HORZ);
    }
    return states;
}

void CX11State::SetNetStates(x11::CTopLevel& window)
{
    std::vector<Atom> wanted = NetStatesOf(window);
    if (!window.bMapped) {
        // Before mapping the property is the client's to set.
        XChangeProperty(m_pDisplay, window.window, m_atoms._NET_WM_STATE, XA_ATOM, 32, PropModeReplace,
            reinterpret_cast<const unsigned char*>(wanted.data()), static_cast<int>(wanted.size()));
        window.netStates = wanted;
        return;
    }
    // Once mapped, changes are asked of the window manager.
    Atom candidates[] = { m_atoms._NET_WM_STATE_MODAL, m_atoms._NET_WM_STATE_SKIP_TASKBAR, m_atoms._NET_WM_STATE_ABOVE,
        m_atoms._NET_WM_STATE_MAXIMIZED_VERT, m_atoms._NET_WM_STATE_MAXIMIZED_HORZ };
    for (Atom atom : candidates) {
        bool bWanted = std::find(wanted.begin(), wanted.end(), atom) != wanted.end();
        bool bHas = std::find(window.netStates.begin(), window.netStates.end(), atom) != window.netStates.end();
        if (bWanted == bHas)
            continue;
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window.window;
        event.xclient.message_type = m_atoms._NET_WM_STATE;
        event.xclient.format = 32;
        event.xclient.data.l[0] = bWanted ? 1 : 0; // add, remove
        event.xclient.data.l[1] = static_cast<long>(atom);
        event.xclient.data.l[3] = 1; // a normal application
        XSendEvent(m_pDisplay, m_root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    }
    window.netStates = wanted;
}

void CX11State::SendToRoot(Window window, Atom messageType, std::initializer_list<long> data)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = messageType;
    event.xclient.format = 32;
    int i = 0;
    for (long nValue : data)
        event.xclient.data.l[i++] = nValue;
    XSendEvent(m_pDisplay, m_root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

/***** Top-level windows *****/

void CX11Display::CreateTopLevel(HWND hWnd, const RECT& rcWindow)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    if (state.Find(hWnd))
        return;
    x11::CTopLevel& window = state.m_windows[hWnd];
    window.hWnd = hWnd;
    window.rcWindow = rcWindow;
    if (!state.m_bLost) {
        Display* pDisplay = state.m_pDisplay;
        XSetWindowAttributes attributes {};
        attributes.background_pixmap = None; // the retained pixels fill it; no flash of a background
        attributes.bit_gravity = NorthWestGravity;
        attributes.event_mask = EVENT_MASK;
        window.window = XCreateWindow(pDisplay, state.m_root, rcWindow.left + state.m_ptOrigin.x,
            rcWindow.top + state.m_ptOrigin.y, std::max<int>(rcWindow.right - rcWindow.left, 1),
            std::max<int>(rcWindow.bottom - rcWindow.top, 1), 0, state.m_nDepth, InputOutput, state.m_pVisual,
            CWBackPixmap | CWBitGravity | CWEventMask, &attributes);
        state.m_byWindow[window.window] = hWnd;

        XClassHint classHint { const_cast<char*>("archivora"), const_cast<char*>("Archivora") };
        XSetClassHint(pDisplay, window.window, &classHint);
        Atom protocols[] = { state.m_atoms.WM_DELETE_WINDOW, state.m_atoms.WM_TAKE_FOCUS, state.m_atoms._NET_WM_PING };
        XSetWMProtocols(pDisplay, window.window, protocols, static_cast<int>(std::size(protocols)));
        long nPid = getpid();
        XChangeProperty(pDisplay, window.window, state.m_atoms._NET_WM_PID, XA_CARDINAL, 32, PropModeReplace,
            reinterpret_cast<const unsigned char*>(&nPid), 1);
        char szHost[256] {};
        gethostname(szHost, sizeof(szHost) - 1);
        XChangeProperty(pDisplay, window.window, XA_WM_CLIENT_MACHINE, XA_STRING, 8, PropModeReplace,
            reinterpret_cast<const unsigned char*>(szHost), static_cast<int>(std::strlen(szHost)));
        long motifHints[5] = { MOTIF_HINTS_DECORATIONS, 0, 0, 0, 0 };
        XChangeProperty(pDisplay, window.window, state.m_atoms._MOTIF_WM_HINTS, state.m_atoms._MOTIF_WM_HINTS, 32,
            PropModeReplace, reinterpret_cast<const unsigned char*>(motifHints), 5);
        XWMHints* pHints = XAllocWMHints();
        if (pHints) {
            pHints->flags = InputHint | StateHint;
            pHints->input = True;
            pHints->initial_state = NormalState;
            XSetWMHints(pDisplay, window.window, pHints);
            XFree(pHints);
        }
        if (state.m_hInputMethod) {
            window.hInputContext = XCreateIC(state.m_hInputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                XNClientWindow, window.window, XNFocusWindow, window.window, nullptr);
            long nFilterEvents = 0;
            if (window.hInputContext && !XGetICValues(window.hInputContext, XNFilterEvents, &nFilterEvents, nullptr))
                XSelectInput(pDisplay, window.window, EVENT_MASK | nFilterEvents);
        }
    }
    state.MakeSurface(window);
}

void CX11Display::DestroyTopLevel(HWND hWnd)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    if (!pWindow)
        return;
    state.DropSurface(*pWindow);
    if (pWindow->hInputContext)
        XDestroyIC(pWindow->hInputContext);
    if (!state.m_bLost)
        XDestroyWindow(state.m_pDisplay, pWindow->window);
    state.m_byWindow.erase(pWindow->window);
    state.m_windows.erase(hWnd);
    std::erase(state.m_stacking, hWnd);
    if (state.m_hFocusTop == hWnd)
        state.m_hFocusTop = nullptr;
}

void CX11Display::MoveTopLevel(HWND hWnd, const RECT& rcWindow)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    if (!pWindow || EqualRect(&pWindow->rcWindow, &rcWindow))
        return;
    bool bResized = rcWindow.right - rcWindow.left != pWindow->rcWindow.right - pWindow->rcWindow.left
        || rcWindow.bottom - rcWindow.top != pWindow->rcWindow.bottom - pWindow->rcWindow.top;
    pWindow->rcWindow = rcWindow;
    if (bResized) {
        state.DropSurface(*pWindow);
        state.MakeSurface(*pWindow);
    }
    if (state.m_bLost)
        return;
    if (!pWindow->bUnmanaged) {
        state.SetNormalHints(*pWindow);
        pWindow->pendingConfigures.push_back(rcWindow);
        constexpr size_t MAX_PENDING = 16;
        if (pWindow->pendingConfigures.size() > MAX_PENDING)
            pWindow->pendingConfigures.erase(pWindow->pendingConfigures.begin());
    }
    XMoveResizeWindow(state.m_pDisplay, pWindow->window, rcWindow.left + state.m_ptOrigin.x,
        rcWindow.top + state.m_ptOrigin.y, std::max<int>(rcWindow.right - rcWindow.left, 1),
        std::max<int>(rcWindow.bottom - rcWindow.top, 1));
}

void CX11Display::ShowTopLevel(HWND hWnd, bool bShow)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    if (!pWindow || pWindow->bMapped == bShow)
        return;
    pWindow->bMapped = bShow;
    if (state.m_bLost)
        return;
    if (bShow) {
        XWMHints* pHints = XAllocWMHints();
        if (pHints && !pWindow->bUnmanaged) {
            pHints->flags = InputHint | StateHint;
            pHints->input = True;
            pHints->initial_state = pWindow->eState == ETopLevelState::Minimized ? IconicState : NormalState;
            XSetWMHints(state.m_pDisplay, pWindow->window, pHints);
        }
        if (pHints)
            XFree(pHints);
        if (!pWindow->bUnmanaged && state.m_lastUserTime != CurrentTime) {
            // The window answers the user's last key or click: a window manager
            // that keeps new windows from taking the keyboard gives it to this one.
            long nUserTime = static_cast<long>(state.m_lastUserTime);
            XChangeProperty(state.m_pDisplay, pWindow->window, state.m_atoms._NET_WM_USER_TIME, XA_CARDINAL, 32,
                PropModeReplace, reinterpret_cast<const unsigned char*>(&nUserTime), 1);
        }
        if (pWindow->bUnmanaged)
            XMapRaised(state.m_pDisplay, pWindow->window);
        else
            XMapWindow(state.m_pDisplay, pWindow->window);
    } else if (pWindow->bUnmanaged) {
        XUnmapWindow(state.m_pDisplay, pWindow->window);
    } else {
        // Withdrawing tells the window manager too (a synthetic unmap).
        XWithdrawWindow(state.m_pDisplay, pWindow->window, state.m_nScreen);
        pWindow->netStates.clear();
    }
}

void CX11Display::RestackTopLevels(const std::vector<HWND>& topFirst)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    state.m_stacking = topFirst;
    if (state.m_bLost)
        return;
    // The window manager orders the managed windows; the program's own popups
    // go above everything, in its order.
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it) {
        x11::CTopLevel* pWindow = state.Find(*it);
        if (pWindow && pWindow->bUnmanaged && pWindow->bMapped)
            XRaiseWindow(state.m_pDisplay, pWindow->window);
    }
}

void CX11Display::DescribeTopLevel(HWND hWnd, const CTopLevelLook& look)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    if (!pWindow)
        return;
    bool bNewIcon = look.hIcon != pWindow->look.hIcon;
    pWindow->look = look;
    state.ApplyLook(*pWindow);
    if (bNewIcon && !state.m_bLost && !pWindow->bUnmanaged)
        state.SetIcon(*pWindow);
}

void CX11Display::SetTopLevelState(HWND hWnd, ETopLevelState eState)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    if (!pWindow || pWindow->eState == eState)
        return;
    ETopLevelState eOld = pWindow->eState;
    pWindow->eState = eState;
    if (state.m_bLost || pWindow->bUnmanaged)
        return;
    if (!pWindow->bMapped) {
        state.SetNetStates(*pWindow); // the window manager reads it when the window maps
        return;
    }
    if (eState == ETopLevelState::Minimized) {
        XIconifyWindow(state.m_pDisplay, pWindow->window, state.m_nScreen);
    } else if (eOld == ETopLevelState::Minimized) {
        XMapWindow(state.m_pDisplay, pWindow->window);
        state.SendToRoot(pWindow->window, state.m_atoms._NET_ACTIVE_WINDOW, { 1, CurrentTime, 0 });
    }
    state.SetNetStates(*pWindow);
}

void CX11Display::ActivateTopLevel(HWND hWnd)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    if (!pWindow || state.m_bLost || !pWindow->bMapped || state.m_hFocusTop == hWnd)
        return;
    if (!pWindow->bUnmanaged && state.WindowManagerSupports(state.m_atoms._NET_ACTIVE_WINDOW))
        state.SendToRoot(
            pWindow->window, state.m_atoms._NET_ACTIVE_WINDOW, { 1, static_cast<long>(state.m_lastUserTime), 0 });
    else
        XSetInputFocus(state.m_pDisplay, pWindow->window, RevertToParent, CurrentTime);
}

bool CX11Display::BeginMoveSize(HWND hWnd, int nHitTest, POINT ptScreen)
{
    // _NET_WM_MOVERESIZE directions, clockwise from the top-left corner; 8 moves.
    constexpr int HT_LEFT = 10;
    constexpr int HT_BOTTOM_RIGHT = 17;
    constexpr int HT_CAPTION = 2;
    static constexpr long DIRECTIONS[] = { 7, 3, 1, 0, 2, 5, 6, 4 }; // HTLEFT...HTBOTTOMRIGHT
    long nDirection = -1;
    if (nHitTest == HT_CAPTION)
        nDirection = 8;
    else if (nHitTest >= HT_LEFT && nHitTest <= HT_BOTTOM_RIGHT)
        nDirection = DIRECTIONS[nHitTest - HT_LEFT];
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    if (nDirection < 0 || !pWindow || state.m_bLost || pWindow->bUnmanaged
        || !state.WindowManagerSupports(state.m_atoms._NET_WM_MOVERESIZE))
        return false;
    // The window manager takes the pointer over from the press's implicit grab.
    XUngrabPointer(state.m_pDisplay, CurrentTime);
    state.SendToRoot(pWindow->window, state.m_atoms._NET_WM_MOVERESIZE,
        { ptScreen.x + state.m_ptOrigin.x, ptScreen.y + state.m_ptOrigin.y, nDirection, Button1, 1 });
    XFlush(state.m_pDisplay);
    return true;
}

HBITMAP CX11Display::SurfaceOf(HWND hWnd)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    return pWindow ? pWindow->hbmSurface : nullptr;
}

void CX11Display::Present(HWND hWnd, const RECT& rcArea)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    if (!pWindow)
        return;
    UnionRect(&pWindow->rcDamage, &pWindow->rcDamage, &rcArea);
    pWindow->dwPresenter = GetCurrentThreadId();
}

void CX11Display::Flush()
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    if (state.m_bLost)
        return;
    DWORD dwThread = GetCurrentThreadId();
    for (auto& [hWnd, window] : state.m_windows) {
        if (IsRectEmpty(&window.rcDamage) || window.dwPresenter != dwThread)
            continue;
        if (window.bMapped)
            state.CopyToServer(window, window.rcDamage);
        window.rcDamage = RECT {};
    }
    XFlush(state.m_pDisplay);
}

/***** The screen *****/

HBITMAP CX11Display::CaptureScreen()
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    RECT rcPrimary = state.m_monitors.front().rcMonitor;
    int nWidth = rcPrimary.right - rcPrimary.left;
    int nHeight = rcPrimary.bottom - rcPrimary.top;
    if (state.m_bLost)
        return CreateBitmap(nWidth, nHeight, 1, 32, nullptr);
    XImage* pImage = XGetImage(state.m_pDisplay, state.m_root, state.m_ptOrigin.x, state.m_ptOrigin.y,
        static_cast<unsigned>(nWidth), static_cast<unsigned>(nHeight), AllPlanes, ZPixmap);
    if (!pImage)
        return nullptr;
    std::vector<uint32_t> pixels(static_cast<size_t>(nWidth) * nHeight);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            pixels[static_cast<size_t>(y) * nWidth + x] = static_cast<uint32_t>(XGetPixel(pImage, x, y)) & 0xFFFFFF;
    XDestroyImage(pImage);
    return CreateBitmap(nWidth, nHeight, 1, 32, pixels.data());
}

std::vector<CMonitor> CX11Display::Monitors()
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    return state.m_monitors;
}

UINT CX11Display::DoubleClickTime()
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    return state.m_nDoubleClickTime;
}

CTrayHost* CX11Display::GetTrayHost()
{
    // Always offered: adding an icon fails while the desktop has no tray, but
    // the icons given stay known for a tray that comes later.
    return m_pState->m_pTray.get();
}

/***** Input the window layer asks for *****/

void CX11Display::GrabInput(HWND hWnd, bool bKeyboard)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    if (state.m_bLost)
        return;
    Display* pDisplay = state.m_pDisplay;
    if (state.m_bPointerGrabbed)
        XUngrabPointer(pDisplay, CurrentTime);
    if (state.m_bKeyboardGrabbed)
        XUngrabKeyboard(pDisplay, CurrentTime);
    state.m_bPointerGrabbed = false;
    state.m_bKeyboardGrabbed = false;
    x11::CTopLevel* pWindow = hWnd ? state.Find(hWnd) : nullptr;
    if (pWindow && pWindow->bMapped) {
        // Owner events on: the program's windows still get their own events.
        // A grab another client holds makes this fail; the popup then works
        // inside the program's windows only.
        constexpr unsigned int POINTER_EVENTS
            = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
        state.m_bPointerGrabbed = XGrabPointer(pDisplay, pWindow->window, True, POINTER_EVENTS, GrabModeAsync,
                                      GrabModeAsync, None, None, CurrentTime)
            == GrabSuccess;
        if (bKeyboard)
            state.m_bKeyboardGrabbed
                = XGrabKeyboard(pDisplay, pWindow->window, True, GrabModeAsync, GrabModeAsync, CurrentTime)
                == GrabSuccess;
    }
    XFlush(pDisplay);
}

bool CX11Display::PointerPosition(POINT* pPoint)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    if (state.m_bLost)
        return false;
    Window root = None;
    Window child = None;
    int xRoot = 0;
    int yRoot = 0;
    int xWindow = 0;
    int yWindow = 0;
    unsigned int nMask = 0;
    if (!XQueryPointer(state.m_pDisplay, state.m_root, &root, &child, &xRoot, &yRoot, &xWindow, &yWindow, &nMask))
        return false;
    *pPoint = state.ToScreen(xRoot, yRoot);
    return true;
}

/***** For tests *****/

unsigned long CX11Display::WindowOf(HWND hWnd)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    return pWindow ? pWindow->window : 0;
}

void CX11Display::Sync()
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    if (!state.m_bLost)
        XSync(state.m_pDisplay, False);
}
