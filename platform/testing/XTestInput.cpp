#include "platform/testing/XTestInput.h"

#include "platform/gdi/Bitmaps.h"

#include <algorithm>
#include <vector>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

CXTestInput::CXTestInput(const std::string& strDisplay)
{
    m_pDisplay = XOpenDisplay(strDisplay.c_str());
    int nEvent = 0;
    int nError = 0;
    int nMajor = 0;
    int nMinor = 0;
    if (m_pDisplay && !XTestQueryExtension(m_pDisplay, &nEvent, &nError, &nMajor, &nMinor)) {
        XCloseDisplay(m_pDisplay);
        m_pDisplay = nullptr;
    }
}

CXTestInput::~CXTestInput()
{
    if (m_pDisplay)
        XCloseDisplay(m_pDisplay);
}

void CXTestInput::MoveTo(POINT ptRoot)
{
    XTestFakeMotionEvent(m_pDisplay, -1, ptRoot.x, ptRoot.y, CurrentTime);
    XFlush(m_pDisplay);
}

void CXTestInput::Button(unsigned int nButton, bool bDown)
{
    XTestFakeButtonEvent(m_pDisplay, nButton, bDown ? True : False, CurrentTime);
    XFlush(m_pDisplay);
}

void CXTestInput::Click(POINT ptRoot, unsigned int nButton)
{
    MoveTo(ptRoot);
    Button(nButton, true);
    Button(nButton, false);
}

void CXTestInput::Key(unsigned long nKeysym, bool bDown)
{
    KeyCode keycode = XKeysymToKeycode(m_pDisplay, nKeysym);
    if (keycode == 0)
        return;
    XTestFakeKeyEvent(m_pDisplay, keycode, bDown ? True : False, CurrentTime);
    XFlush(m_pDisplay);
}

void CXTestInput::TapKey(unsigned long nKeysym)
{
    Key(nKeysym, true);
    Key(nKeysym, false);
}

void CXTestInput::TypeText(const std::string& strText)
{
    for (char ch : strText) {
        KeySym keysym = ch == '\n' ? XK_Return : static_cast<KeySym>(static_cast<unsigned char>(ch));
        KeyCode keycode = XKeysymToKeycode(m_pDisplay, keysym);
        if (keycode == 0)
            continue;
        bool bShift = XkbKeycodeToKeysym(m_pDisplay, keycode, 0, 0) != keysym;
        if (bShift)
            Key(XK_Shift_L, true);
        XTestFakeKeyEvent(m_pDisplay, keycode, True, CurrentTime);
        XTestFakeKeyEvent(m_pDisplay, keycode, False, CurrentTime);
        if (bShift)
            Key(XK_Shift_L, false);
        XFlush(m_pDisplay);
    }
}

unsigned int CXTestInput::MapSpareKeycode(unsigned long nKeysym)
{
    int nMin = 0;
    int nMax = 0;
    XDisplayKeycodes(m_pDisplay, &nMin, &nMax);
    int nPerCode = 0;
    KeySym* pMap = XGetKeyboardMapping(m_pDisplay, static_cast<KeyCode>(nMin), nMax - nMin + 1, &nPerCode);
    unsigned int nSpare = 0;
    for (int nCode = nMax; pMap && nCode >= nMin && nSpare == 0; --nCode) {
        bool bUnused = true;
        for (int i = 0; i < nPerCode; ++i)
            bUnused = bUnused && pMap[(nCode - nMin) * nPerCode + i] == NoSymbol;
        if (bUnused)
            nSpare = static_cast<unsigned int>(nCode);
    }
    if (pMap)
        XFree(pMap);
    if (nSpare == 0)
        return 0;
    KeySym syms[2] = { nKeysym, nKeysym };
    XChangeKeyboardMapping(m_pDisplay, static_cast<int>(nSpare), 2, syms, 1);
    XSync(m_pDisplay, False);
    return nSpare;
}

HBITMAP CXTestInput::CaptureWindow(unsigned long nWindow)
{
    XWindowAttributes attributes {};
    if (!XGetWindowAttributes(m_pDisplay, nWindow, &attributes) || attributes.map_state != IsViewable)
        return nullptr;
    // The window's area is read from the root: a window's own image leaves
    // undefined (black on Xvfb) the parts other top-level windows cover,
    // where the screen shows those windows. Parts off the screen stay black.
    const Window root = attributes.root;
    XWindowAttributes rootAttributes {};
    int xRoot = 0;
    int yRoot = 0;
    Window child = None;
    if (!XGetWindowAttributes(m_pDisplay, root, &rootAttributes)
        || !XTranslateCoordinates(m_pDisplay, nWindow, root, 0, 0, &xRoot, &yRoot, &child))
        return nullptr;
    const int nWidth = attributes.width;
    const int nHeight = attributes.height;
    const int xFirst = std::max(xRoot, 0);
    const int yFirst = std::max(yRoot, 0);
    const int xEnd = std::min(xRoot + nWidth, rootAttributes.width);
    const int yEnd = std::min(yRoot + nHeight, rootAttributes.height);
    std::vector<uint32_t> pixels(static_cast<size_t>(nWidth) * nHeight);
    if (xFirst < xEnd && yFirst < yEnd) {
        XImage* pImage = XGetImage(m_pDisplay, root, xFirst, yFirst, static_cast<unsigned>(xEnd - xFirst),
            static_cast<unsigned>(yEnd - yFirst), AllPlanes, ZPixmap);
        if (!pImage)
            return nullptr;
        for (int y = yFirst; y < yEnd; ++y)
            for (int x = xFirst; x < xEnd; ++x)
                pixels[static_cast<size_t>(y - yRoot) * nWidth + (x - xRoot)]
                    = static_cast<uint32_t>(XGetPixel(pImage, x - xFirst, y - yFirst)) & 0xFFFFFF;
        XDestroyImage(pImage);
    }
    return CreateBitmap(nWidth, nHeight, 1, 32, pixels.data());
}

void CXTestInput::Sync()
{
    XSync(m_pDisplay, False);
}
