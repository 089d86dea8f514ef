#include "platform/display/X11TrayHost.h"

#include "platform/display/MouseMessages.h"

#include <algorithm>
#include <bit>
#include <string>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cairo.h>

namespace {

constexpr int PICTURE_SIZE = 32;      // the icon's pixels are kept at this size and scaled to the tray's
constexpr int DEFAULT_ICON_SIZE = 24; // before the manager sizes the window, unless it names a size
constexpr int MIN_ICON_SIZE = 8;      // a thinner side is not the tray's icon size
constexpr long REQUEST_DOCK = 0;      // _NET_SYSTEM_TRAY_OPCODE
constexpr long XEMBED_VERSION = 0;
constexpr long XEMBED_MAPPED = 1; // _XEMBED_INFO flags: the embedder is to show the window

constexpr long ICON_EVENTS = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask
    | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

constexpr int NATIVE_BYTE_ORDER = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

// The picture (PICTURE_SIZE square, ARGB) smoothly scaled to cx by cy, each
// pixel then opaque or transparent: premultiplied and unpremultiplied alike.
std::vector<uint32_t> ScaledPicture(const std::vector<uint32_t>& picture, int cx, int cy)
{
    std::vector<uint32_t> scaled(static_cast<size_t>(cx) * cy, 0);
    cairo_surface_t* pSource
        = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(picture.data())),
            CAIRO_FORMAT_ARGB32, PICTURE_SIZE, PICTURE_SIZE, PICTURE_SIZE * 4);
    cairo_surface_t* pTarget = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(scaled.data()), CAIRO_FORMAT_ARGB32, cx, cy, cx * 4);
    cairo_t* pCairo = cairo_create(pTarget);
    cairo_scale(pCairo, static_cast<double>(cx) / PICTURE_SIZE, static_cast<double>(cy) / PICTURE_SIZE);
    cairo_set_source_surface(pCairo, pSource, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(pCairo), CAIRO_FILTER_GOOD);
    cairo_paint(pCairo);
    cairo_destroy(pCairo);
    cairo_surface_destroy(pTarget);
    cairo_surface_destroy(pSource);
    for (uint32_t& nPixel : scaled) {
        uint32_t nAlpha = nPixel >> 24;
        if (nAlpha < 128) {
            nPixel = 0;
            continue;
        }
        auto unpremultiplied
            = [&](int nShift) { return std::min<uint32_t>(((nPixel >> nShift) & 0xFF) * 255 / nAlpha, 255); };
        nPixel = 0xFF000000u | unpremultiplied(16) << 16 | unpremultiplied(8) << 8 | unpremultiplied(0);
    }
    return scaled;
}

}

CX11TrayHost::CX11TrayHost(CX11State& state)
    : m_state(state)
{
    std::string strSelection = "_NET_SYSTEM_TRAY_S" + std::to_string(state.m_nScreen);
    m_selection = XInternAtom(state.m_pDisplay, strSelection.c_str(), False);
    WatchManagerLocked(XGetSelectionOwner(state.m_pDisplay, m_selection));
}

/***** Icons *****/

CX11TrayHost::CIcon* CX11TrayHost::FindLocked(HWND hWnd, UINT uID)
{
    auto it = std::find_if(m_icons.begin(), m_icons.end(),
        [&](const CIcon& icon) { return icon.icon.hWnd == hWnd && icon.icon.uID == uID; });
    return it == m_icons.end() ? nullptr : &*it;
}

CX11TrayHost::CIcon* CX11TrayHost::FindByWindowLocked(Window window)
{
    auto it = std::find_if(
        m_icons.begin(), m_icons.end(), [&](const CIcon& icon) { return window && icon.window == window; });
    return it == m_icons.end() ? nullptr : &*it;
}

bool CX11TrayHost::AddIcon(const CTrayIcon& given)
{
    std::lock_guard lock(m_state.m_mutex);
    if (m_state.m_bLost || FindLocked(given.hWnd, given.uID))
        return false;
    if (!m_manager)
        WatchManagerLocked(XGetSelectionOwner(m_state.m_pDisplay, m_selection));
    if (!m_manager)
        return false;
    CIcon& icon = m_icons.emplace_back();
    icon.icon = given;
    if (given.hIcon)
        icon.argb = IconPixels(given.hIcon, PICTURE_SIZE, PICTURE_SIZE);
    DockLocked(icon);
    XFlush(m_state.m_pDisplay);
    return true;
}

bool CX11TrayHost::ModifyIcon(const CTrayIcon& given)
{
    std::lock_guard lock(m_state.m_mutex);
    CIcon* pIcon = FindLocked(given.hWnd, given.uID);
    if (!pIcon)
        return false;
    pIcon->icon = given;
    pIcon->argb = given.hIcon ? IconPixels(given.hIcon, PICTURE_SIZE, PICTURE_SIZE) : std::vector<uint32_t>();
    if (pIcon->window && !m_state.m_bLost) {
        SetTipLocked(*pIcon);
        DrawLocked(*pIcon);
        XFlush(m_state.m_pDisplay);
    }
    return true;
}

bool CX11TrayHost::DeleteIcon(HWND hWnd, UINT uID)
{
    std::lock_guard lock(m_state.m_mutex);
    CIcon* pIcon = FindLocked(hWnd, uID);
    if (!pIcon)
        return false;
    UndockLocked(*pIcon);
    m_icons.erase(m_icons.begin() + (pIcon - m_icons.data()));
    if (!m_state.m_bLost)
        XFlush(m_state.m_pDisplay);
    return true;
}

bool CX11TrayHost::GetIconRect(HWND hWnd, UINT uID, RECT* pRect)
{
    std::lock_guard lock(m_state.m_mutex);
    CIcon* pIcon = FindLocked(hWnd, uID);
    if (!pIcon || !pIcon->window || m_state.m_bLost)
        return false;
    // The tray's window holds the icon's: only the server knows where that is.
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(m_state.m_pDisplay, pIcon->window, m_state.m_root, 0, 0, &x, &y, &child))
        return false;
    POINT pt = m_state.ToScreen(x, y);
    *pRect = RECT { pt.x, pt.y, pt.x + pIcon->nWidth, pt.y + pIcon->nHeight };
    return true;
}

void CX11TrayHost::CloseLocked()
{
    for (CIcon& icon : m_icons)
        UndockLocked(icon);
}

/***** The manager *****/

void CX11TrayHost::WatchManagerLocked(Window manager)
{
    m_manager = manager;
    // Its end is watched; should it be gone already, the error is counted and a new one announces itself.
    if (manager)
        XSelectInput(m_state.m_pDisplay, manager, StructureNotifyMask);
}

void CX11TrayHost::DockLocked(CIcon& icon)
{
    Display* pDisplay = m_state.m_pDisplay;
    const CX11Atoms& atoms = m_state.m_atoms;
    int nSize = DecodeTrayIconSize(m_state.ReadProperty(m_manager, atoms._NET_SYSTEM_TRAY_ICON_SIZE, 1))
                    .value_or(DEFAULT_ICON_SIZE);
    icon.nWidth = icon.nHeight = nSize;

    // A 32-bit visual the manager names keeps the icon's transparency; else
    // the tray's own background shows through the parent-relative background.
    XSetWindowAttributes attributes {};
    attributes.event_mask = ICON_EVENTS;
    unsigned long nMask = CWEventMask;
    int nDepth = CopyFromParent;
    icon.pVisual = m_state.m_pVisual;
    std::optional<uint32_t> visualId
        = X11Long(m_state.ReadProperty(m_manager, atoms._NET_SYSTEM_TRAY_VISUAL, 1), XA_VISUALID);
    XVisualInfo wanted {};
    wanted.visualid = visualId.value_or(0);
    int nFound = 0;
    XVisualInfo* pInfo = visualId ? XGetVisualInfo(pDisplay, VisualIDMask, &wanted, &nFound) : nullptr;
    if (pInfo && nFound > 0 && pInfo->depth == 32) {
        icon.pVisual = pInfo->visual;
        nDepth = 32;
        icon.colormap = XCreateColormap(pDisplay, m_state.m_root, icon.pVisual, AllocNone);
        attributes.colormap = icon.colormap;
        attributes.background_pixel = 0;
        attributes.border_pixel = 0;
        nMask |= CWColormap | CWBackPixel | CWBorderPixel;
    } else {
        attributes.background_pixmap = ParentRelative;
        nMask |= CWBackPixmap;
    }
    if (pInfo)
        XFree(pInfo);
    icon.window
        = XCreateWindow(pDisplay, m_state.m_root, 0, 0, static_cast<unsigned>(nSize), static_cast<unsigned>(nSize), 0,
            nDepth, InputOutput, nDepth == 32 ? icon.pVisual : CopyFromParent, nMask, &attributes);
    XClassHint classHint { const_cast<char*>("archivora"), const_cast<char*>("Archivora") };
    XSetClassHint(pDisplay, icon.window, &classHint);
    SetSizeHintsLocked(icon.window, nSize);
    long info[2] = { XEMBED_VERSION, XEMBED_MAPPED };
    XChangeProperty(pDisplay, icon.window, atoms._XEMBED_INFO, atoms._XEMBED_INFO, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(info), 2);
    SetTipLocked(icon);

    XEvent request {};
    request.xclient.type = ClientMessage;
    request.xclient.window = m_manager;
    request.xclient.message_type = atoms._NET_SYSTEM_TRAY_OPCODE;
    request.xclient.format = 32;
    request.xclient.data.l[0] = CurrentTime;
    request.xclient.data.l[1] = REQUEST_DOCK;
    request.xclient.data.l[2] = static_cast<long>(icon.window);
    XSendEvent(pDisplay, m_manager, False, NoEventMask, &request);
}

void CX11TrayHost::SetSizeHintsLocked(Window window, int nSize)
{
    // Embedders that size an icon from its hints (toolkit sockets) give a
    // window without them a single pixel of width.
    XSizeHints hints {};
    hints.flags = PMinSize | PBaseSize;
    hints.min_width = hints.min_height = nSize;
    hints.base_width = hints.base_height = nSize;
    XSetWMNormalHints(m_state.m_pDisplay, window, &hints);
}

void CX11TrayHost::UndockLocked(CIcon& icon)
{
    if (!m_state.m_bLost) {
        // The window may be gone with the manager's; the error is counted.
        if (icon.window)
            XDestroyWindow(m_state.m_pDisplay, icon.window);
        if (icon.colormap)
            XFreeColormap(m_state.m_pDisplay, icon.colormap);
    }
    icon.window = 0;
    icon.colormap = 0;
}

void CX11TrayHost::SquareLocked(const CIcon& icon)
{
    // A tray that fixed only its own thickness (a panel's height) gave the
    // other side from what it was asked: the icon asks for a square of that
    // thickness, which is the tray's icon size.
    const int nSize = std::min(icon.nWidth, icon.nHeight);
    if (icon.nWidth == icon.nHeight || nSize < MIN_ICON_SIZE)
        return;
    SetSizeHintsLocked(icon.window, nSize);
    XResizeWindow(m_state.m_pDisplay, icon.window, static_cast<unsigned>(nSize), static_cast<unsigned>(nSize));
}

void CX11TrayHost::SetTipLocked(const CIcon& icon)
{
    const std::string& strTip = icon.icon.strTip;
    XChangeProperty(m_state.m_pDisplay, icon.window, m_state.m_atoms._NET_WM_NAME, m_state.m_atoms.UTF8_STRING, 8,
        PropModeReplace, reinterpret_cast<const unsigned char*>(strTip.data()), static_cast<int>(strTip.size()));
}

void CX11TrayHost::DrawLocked(const CIcon& icon)
{
    // Drawn with plain image requests, each with resources of its own: the
    // window is the tray's to destroy at any time, and a request on a window
    // gone must cost nothing but the error.
    Display* pDisplay = m_state.m_pDisplay;
    bool bOwnVisual = icon.colormap != 0;
    if (!bOwnVisual)
        XClearWindow(pDisplay, icon.window); // the tray's background, over which the picture goes
    if (icon.argb.empty() || icon.nWidth <= 0 || icon.nHeight <= 0)
        return;
    int cx = icon.nWidth;
    int cy = icon.nHeight;
    std::vector<uint32_t> pixels = ScaledPicture(icon.argb, cx, cy);
    XImage* pImage
        = XCreateImage(pDisplay, icon.pVisual, bOwnVisual ? 32 : static_cast<unsigned>(m_state.m_nDepth), ZPixmap, 0,
            reinterpret_cast<char*>(pixels.data()), static_cast<unsigned>(cx), static_cast<unsigned>(cy), 32, cx * 4);
    if (!pImage)
        return;
    pImage->byte_order = NATIVE_BYTE_ORDER; // the rows are 32-bit values of this machine
    GC gc = XCreateGC(pDisplay, icon.window, 0, nullptr);
    Pixmap mask = None;
    if (!bOwnVisual) {
        // Only the picture's opaque pixels go over the background.
        std::vector<char> bits(static_cast<size_t>((cx + 7) / 8) * cy, 0);
        for (int y = 0; y < cy; ++y) {
            for (int x = 0; x < cx; ++x) {
                if (pixels[static_cast<size_t>(y) * cx + x] >> 24)
                    bits[static_cast<size_t>(y) * ((cx + 7) / 8) + x / 8] |= static_cast<char>(1 << (x % 8));
            }
        }
        mask = XCreateBitmapFromData(
            pDisplay, icon.window, bits.data(), static_cast<unsigned>(cx), static_cast<unsigned>(cy));
        XSetClipMask(pDisplay, gc, mask);
    }
    XPutImage(pDisplay, icon.window, gc, pImage, 0, 0, 0, 0, static_cast<unsigned>(cx), static_cast<unsigned>(cy));
    pImage->data = nullptr; // the pixels are the vector's
    XDestroyImage(pImage);
    if (mask)
        XFreePixmap(pDisplay, mask);
    XFreeGC(pDisplay, gc);
}

/***** Events *****/

bool CX11TrayHost::HandleEventLocked(const XEvent& event, std::vector<CX11TrayInput>& input)
{
    if (event.type == ClientMessage && event.xclient.window == m_state.m_root
        && event.xclient.message_type == m_state.m_atoms.MANAGER
        && static_cast<Atom>(event.xclient.data.l[1]) == m_selection) {
        // A new manager (a panel that started or restarted): every icon goes to
        // it. The announcement of one found already changes nothing.
        auto manager = static_cast<Window>(event.xclient.data.l[2]);
        if (manager == m_manager)
            return true;
        for (CIcon& icon : m_icons)
            UndockLocked(icon);
        WatchManagerLocked(manager);
        for (CIcon& icon : m_icons)
            DockLocked(icon);
        return true;
    }
    if (event.type == DestroyNotify && m_manager && event.xdestroywindow.window == m_manager) {
        m_manager = 0;
        for (CIcon& icon : m_icons)
            UndockLocked(icon);
        return true;
    }
    CIcon* pIcon = FindByWindowLocked(event.xany.window);
    if (!pIcon)
        return false;
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0)
            DrawLocked(*pIcon);
        break;
    case ConfigureNotify:
        if (event.xconfigure.width != pIcon->nWidth || event.xconfigure.height != pIcon->nHeight) {
            pIcon->nWidth = event.xconfigure.width;
            pIcon->nHeight = event.xconfigure.height;
            SquareLocked(*pIcon);
            DrawLocked(*pIcon);
        }
        break;
    case DestroyNotify:
        pIcon->window = 0; // taken down with the manager's window
        break;
    case ButtonPress:
    case ButtonRelease:
    case MotionNotify:
        InputLocked(*pIcon, event, input);
        break;
    case EnterNotify:
    case LeaveNotify:
        input.push_back(CX11TrayInput { pIcon->icon.hWnd, pIcon->icon.uID,
            event.type == EnterNotify ? CX11TrayInput::EKind::Entered : CX11TrayInput::EKind::Left, 0, {} });
        break;
    default:
        break; // the embedder's own messages ask nothing of an icon
    }
    return true;
}

void CX11TrayHost::InputLocked(CIcon& icon, const XEvent& event, std::vector<CX11TrayInput>& input)
{
    CX11TrayInput report { icon.icon.hWnd, icon.icon.uID, CX11TrayInput::EKind::Mouse, WM_MOUSEMOVE, {} };
    if (event.type == MotionNotify) {
        report.ptScreen = m_state.ToScreen(event.xmotion.x_root, event.xmotion.y_root);
        input.push_back(report);
        return;
    }
    const XButtonEvent& button = event.xbutton;
    // Buttons 1, 2, 3 give the left, middle and right button's messages.
    static constexpr UINT DOWN[] = { WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN };
    static constexpr UINT UP[] = { WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP };
    static constexpr UINT DOUBLE[] = { WM_LBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_RBUTTONDBLCLK };
    if (button.button < 1 || button.button > 3)
        return;
    size_t nIndex = button.button - 1;
    report.ptScreen = m_state.ToScreen(button.x_root, button.y_root);
    if (event.type == ButtonRelease) {
        report.nMouseMessage = UP[nIndex];
    } else {
        m_state.m_lastUserTime = button.time;
        bool bDouble = icon.nLastButton == button.button && icon.lastPress != 0
            && button.time - icon.lastPress <= m_state.m_nDoubleClickTime;
        report.nMouseMessage = bDouble ? DOUBLE[nIndex] : DOWN[nIndex];
        // A third press starts a new pair.
        icon.lastPress = bDouble ? 0 : button.time;
        icon.nLastButton = button.button;
    }
    input.push_back(report);
}

void CX11TrayHost::Report(const CX11TrayInput& input)
{
    CTrayInputSink* pSink = m_pSink.load();
    if (!pSink)
        return;
    if (input.eKind == CX11TrayInput::EKind::Mouse)
        pSink->OnTrayMouse(input.hWnd, input.uID, input.nMouseMessage, input.ptScreen);
    else
        pSink->OnTrayHover(input.hWnd, input.uID, input.eKind == CX11TrayInput::EKind::Entered);
}
