#pragma once

// The fixture of the tests that run the program's windows on a real X server:
// each test gets an Xvfb of its own (with openbox when it asks for a window
// manager), the X11 display installed for its windows, and a connection of
// its own for injecting input (XTEST) and reading pixels back.

#include "platform/display/X11Display.h"
#include "platform/testing/TestXServer.h"
#include "platform/testing/XTestInput.h"
#include "platform/window/DisplayLink.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// A property of a window as another client reads it: its format and its
// items (longs for format 32).
struct CReadProperty {
    int nFormat { 0 };
    std::vector<unsigned char> bytes;
};

inline CReadProperty ReadProperty(Display* pDisplay, unsigned long nWindow, const char* pszName)
{
    Atom property = XInternAtom(pDisplay, pszName, False);
    Atom type = None;
    CReadProperty value;
    unsigned long nItems = 0;
    unsigned long nAfter = 0;
    unsigned char* pData = nullptr;
    if (XGetWindowProperty(pDisplay, nWindow, property, 0, 4096, False, AnyPropertyType, &type, &value.nFormat, &nItems,
            &nAfter, &pData)
            == Success
        && pData) {
        size_t nBytes = value.nFormat == 8 ? nItems : nItems * sizeof(long);
        value.bytes.assign(pData, pData + nBytes);
    }
    if (pData)
        XFree(pData);
    return value;
}

// Its 8-bit text; empty for another format.
inline std::string StringProperty(Display* pDisplay, unsigned long nWindow, const char* pszName)
{
    CReadProperty value = ReadProperty(pDisplay, nWindow, pszName);
    return value.nFormat == 8 ? std::string(value.bytes.begin(), value.bytes.end()) : std::string();
}

// The names of the atoms it holds.
inline std::vector<std::string> AtomsProperty(Display* pDisplay, unsigned long nWindow, const char* pszName)
{
    CReadProperty value = ReadProperty(pDisplay, nWindow, pszName);
    std::vector<std::string> names;
    for (size_t i = 0; value.nFormat == 32 && i + sizeof(long) <= value.bytes.size(); i += sizeof(long)) {
        long nAtom = 0;
        std::memcpy(&nAtom, value.bytes.data() + i, sizeof(nAtom));
        char* pszAtom = XGetAtomName(pDisplay, static_cast<Atom>(nAtom));
        names.emplace_back(pszAtom ? pszAtom : "");
        if (pszAtom)
            XFree(pszAtom);
    }
    return names;
}

// The first of them; empty for none.
inline std::string AtomProperty(Display* pDisplay, unsigned long nWindow, const char* pszName)
{
    std::vector<std::string> names = AtomsProperty(pDisplay, nWindow, pszName);
    return names.empty() ? std::string() : names.front();
}

// Makes `owner` the owner of a manager selection (a tray's, the settings')
// and announces it to every client as the MANAGER convention asks.
inline void BecomeManager(Display* pDisplay, const char* pszSelection, Window owner)
{
    Window root = DefaultRootWindow(pDisplay);
    Atom selection = XInternAtom(pDisplay, pszSelection, False);
    XSetSelectionOwner(pDisplay, selection, owner, CurrentTime);
    XEvent announce {};
    announce.xclient.type = ClientMessage;
    announce.xclient.window = root;
    announce.xclient.message_type = XInternAtom(pDisplay, "MANAGER", False);
    announce.xclient.format = 32;
    announce.xclient.data.l[0] = CurrentTime;
    announce.xclient.data.l[1] = static_cast<long>(selection);
    announce.xclient.data.l[2] = static_cast<long>(owner);
    XSendEvent(pDisplay, root, False, StructureNotifyMask, &announce);
    XFlush(pDisplay);
}

// From a thread of the test's user: the menu window once a menu shows (NULL
// after 10 s), with time for its grab to be taken before the menu waits.
inline HWND WaitForMenuWindow()
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    HWND hMenuWindow = nullptr;
    while (!(hMenuWindow = FindWindow("#32768", nullptr)) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return hMenuWindow;
}

class X11Test : public WindowTest {
protected:
    explicit X11Test(CTestXServer::EWindowManager eWindowManager = CTestXServer::EWindowManager::Absent)
        : m_server(eWindowManager)
    {
    }

    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(m_server.IsRunning()) << m_server.Failure();
        std::string strReason;
        m_pDisplay = CX11Display::Open(m_server.Name().c_str(), &strReason);
        ASSERT_NE(m_pDisplay, nullptr) << strReason;
        SetDisplay(m_pDisplay.get());
        m_pInput = std::make_unique<CXTestInput>(m_server.Name());
        ASSERT_TRUE(m_pInput->IsOpen());
    }

    void TearDown() override
    {
        // The test's windows go with its server, so that none reaches the next test's.
        std::vector<HWND> windows;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hWnd, LPARAM lParam) {
                reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&windows));
        for (HWND hWnd : windows)
            DestroyWindow(hWnd);
        SetDisplay(nullptr);
        m_pDisplay.reset();
        WindowTest::TearDown();
    }

    // Runs the calling thread's messages, display events included, until the
    // condition holds or the time runs out; returns the condition.
    bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(5))
    {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            PumpUntilIdle();
            if (condition())
                return true;
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

    // Runs messages for a while, for tests that expect nothing to happen.
    void PumpFor(std::chrono::milliseconds duration)
    {
        PumpUntil([] { return false; }, duration);
    }

    // The X window of a top-level window.
    unsigned long XWindowOf(HWND hWnd) { return m_pDisplay->WindowOf(hWnd); }

    // Whether the server shows the window (mapped, with its ancestors).
    bool Viewable(HWND hWnd)
    {
        XWindowAttributes attributes {};
        return XGetWindowAttributes(m_pInput->Connection(), XWindowOf(hWnd), &attributes)
            && attributes.map_state == IsViewable;
    }

    // The X window that has the keyboard focus.
    unsigned long XFocus()
    {
        Window focus = None;
        int nRevert = 0;
        XGetInputFocus(m_pInput->Connection(), &focus, &nRevert);
        return focus;
    }

    // The colour the server shows at a point of the window.
    COLORREF ServerPixel(HWND hWnd, int x, int y)
    {
        HBITMAP hbm = m_pInput->CaptureWindow(XWindowOf(hWnd));
        if (!hbm)
            return CLR_INVALID;
        CCapturedImage image(hbm);
        return image.At(x, y);
    }

    CTestXServer m_server;
    std::unique_ptr<CX11Display> m_pDisplay;
    std::unique_ptr<CXTestInput> m_pInput;
};

// The same with openbox managing the windows.
class X11WindowManagerTest : public X11Test {
protected:
    X11WindowManagerTest()
        : X11Test(CTestXServer::EWindowManager::Openbox)
    {
    }
};
