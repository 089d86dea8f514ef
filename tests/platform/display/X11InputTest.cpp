// Keyboard and mouse from a real X server: the test types and clicks through
// XTEST, as a user would, and reads the messages the program's windows get.

#include "platform/display/X11Display.h"

#include "platform/base/PathMap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Icons.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "tests/platform/display/X11TestSupport.h"
#include "tests/support/TestData.h"
#include "tests/support/WaitUntil.h"

#include <X11/XKBlib.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

// Keeps the capture while the left button is down, as controls that drag do.
bool CaptureWhileDragging(HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT*)
{
    if (uMsg == WM_LBUTTONDOWN)
        SetCapture(hWnd);
    else if (uMsg == WM_LBUTTONUP)
        ReleaseCapture();
    return false;
}

class X11InputTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        m_hWnd = CreateRecordingWindow(WS_POPUP, 100, 100, 200, 150);
        ShowWindow(m_hWnd, SW_SHOW);
        SetFocus(m_hWnd);
        // The X focus goes where the keyboard should be; without a window manager, the program sets it.
        m_pDisplay->ActivateTopLevel(m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return Viewable(m_hWnd); }));
        ASSERT_TRUE(PumpUntil([&] { return XFocus() == XWindowOf(m_hWnd); }));
        MessageLog::Instance().Take();
    }

    // Runs messages the usual way (translated) until `nCount` messages of the kinds arrived.
    std::vector<LoggedMessage> Collect(const std::vector<UINT>& kinds, size_t nCount)
    {
        std::vector<LoggedMessage> collected;
        PumpUntil([&] {
            for (const LoggedMessage& message : MessageLog::Instance().Take()) {
                if (std::find(kinds.begin(), kinds.end(), message.uMsg) != kinds.end())
                    collected.push_back(message);
            }
            return collected.size() >= nCount;
        });
        return collected;
    }

    std::vector<WPARAM> Collected(const std::vector<UINT>& kinds, size_t nCount)
    {
        std::vector<WPARAM> values;
        for (const LoggedMessage& message : Collect(kinds, nCount))
            values.push_back(message.wParam);
        return values;
    }

    HWND m_hWnd { nullptr };
};

}

TEST_F(X11InputTest, KeysGiveTheirVirtualKeysWhateverTheirKind)
{
    const std::pair<unsigned long, WPARAM> keys[] = { { XK_a, 'A' }, { XK_z, 'Z' }, { XK_5, '5' }, { XK_F1, VK_F1 },
        { XK_F11, 0x7A }, { XK_Left, VK_LEFT }, { XK_Down, VK_DOWN }, { XK_Home, VK_HOME }, { XK_Delete, VK_DELETE },
        { XK_Return, VK_RETURN }, { XK_Escape, VK_ESCAPE }, { XK_BackSpace, VK_BACK }, { XK_minus, VK_OEM_MINUS },
        { XK_KP_Multiply, VK_MULTIPLY } };
    for (const auto& [nKeysym, nKey] : keys)
        m_pInput->TapKey(nKeysym);
    std::vector<WPARAM> downs = Collected({ WM_KEYDOWN }, std::size(keys));
    std::vector<WPARAM> expected;
    for (const auto& key : keys)
        expected.push_back(key.second);
    EXPECT_EQ(downs, expected);
}

TEST_F(X11InputTest, LockKeysToggleTheirStateBit)
{
    ASSERT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    m_pInput->TapKey(XK_Caps_Lock);
    ASSERT_EQ(Collected({ WM_KEYUP }, 1), std::vector<WPARAM> { VK_CAPITAL });
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    // With Caps Lock on, a letter types in capitals.
    m_pInput->TapKey(XK_q);
    EXPECT_EQ(Collected({ WM_CHAR }, 1), std::vector<WPARAM> { 'Q' });
    m_pInput->TapKey(XK_Caps_Lock);
}

TEST_F(X11InputTest, CharactersComeFromTheKeyboardsText)
{
    // Shifted and plain characters, a control letter, Enter and Backspace.
    m_pInput->TypeText("aB?");
    m_pInput->Key(XK_Control_L, true);
    m_pInput->TapKey(XK_a);
    m_pInput->Key(XK_Control_L, false);
    m_pInput->TapKey(XK_Return);
    m_pInput->TapKey(XK_BackSpace);
    m_pInput->TapKey(XK_Delete); // no character, as on Windows
    m_pInput->TapKey(XK_c);
    EXPECT_EQ(Collected({ WM_CHAR }, 7), (std::vector<WPARAM> { 'a', 'B', '?', 0x01, '\r', '\b', 'c' }));
}

TEST_F(X11InputTest, KeysPressedOrLetGoWhileAnotherProgramHadTheKeyboardCountOnItsReturn)
{
    Display* pOther = m_pInput->Connection();
    Window other = XCreateSimpleWindow(pOther, DefaultRootWindow(pOther), 500, 500, 50, 50, 0, 0, 0);
    XMapWindow(pOther, other);
    XSync(pOther, False);
    auto giveKeyboardTo = [&](Window window, HWND hExpectedActive) {
        XSetInputFocus(pOther, window, RevertToPointerRoot, CurrentTime);
        XSync(pOther, False);
        return PumpUntil([&] { return GetActiveWindow() == hExpectedActive; });
    };

    // Shift goes down while the other program has the keyboard.
    ASSERT_TRUE(giveKeyboardTo(other, nullptr));
    m_pInput->Key(XK_Shift_L, true);
    m_pInput->Sync();
    ASSERT_TRUE(giveKeyboardTo(XWindowOf(m_hWnd), m_hWnd));
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_TRUE(GetAsyncKeyState(VK_LSHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);

    // Ctrl, pressed here, and Shift are let go there, as after a switch to another program.
    m_pInput->Key(XK_Control_L, true);
    ASSERT_EQ(Collected({ WM_KEYDOWN }, 1), (std::vector<WPARAM> { VK_CONTROL }));
    EXPECT_TRUE(GetKeyState(VK_CONTROL) & 0x8000);
    ASSERT_TRUE(giveKeyboardTo(other, nullptr));
    m_pInput->Key(XK_Control_L, false);
    m_pInput->Key(XK_Shift_L, false);
    m_pInput->Sync();
    ASSERT_TRUE(giveKeyboardTo(XWindowOf(m_hWnd), m_hWnd));
    for (int nKey : { VK_CONTROL, VK_LCONTROL, VK_SHIFT, VK_LSHIFT }) {
        EXPECT_FALSE(GetKeyState(nKey) & 0x8000) << nKey;
        EXPECT_FALSE(GetAsyncKeyState(nKey) & 0x8000) << nKey;
    }
    XDestroyWindow(pOther, other);
}

TEST_F(X11InputTest, AltWithALetterIsASystemCharacter)
{
    m_pInput->Key(XK_Alt_L, true);
    m_pInput->TapKey(XK_f);
    m_pInput->Key(XK_Alt_L, false);
    std::vector<LoggedMessage> messages = Collect({ WM_SYSKEYDOWN, WM_SYSCHAR, WM_CHAR }, 3);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].uMsg, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(messages[1].uMsg, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(messages[1].wParam, static_cast<WPARAM>('F'));
    EXPECT_EQ(messages[2].uMsg, static_cast<UINT>(WM_SYSCHAR));
    EXPECT_EQ(messages[2].wParam, static_cast<WPARAM>('f'));
}

TEST_F(X11InputTest, ADeadAccentComposesWithTheNextLetter)
{
    unsigned int nKeycode = m_pInput->MapSpareKeycode(XK_dead_acute);
    ASSERT_NE(nKeycode, 0u);
    PumpFor(std::chrono::milliseconds(100)); // the program learns the new mapping
    m_pInput->TapKey(XK_dead_acute);
    m_pInput->TapKey(XK_e);
    EXPECT_EQ(Collected({ WM_CHAR }, 1), std::vector<WPARAM> { 0xE9 }); // é
}

TEST_F(X11InputTest, AHeldKeyRepeatsWithThePreviousStateBit)
{
    // The server repeats a held key; quickly here.
    XkbSetAutoRepeatRate(m_pInput->Connection(), XkbUseCoreKbd, 50, 20);
    m_pInput->Key(XK_x, true);
    std::vector<LoggedMessage> messages = Collect({ WM_KEYDOWN, WM_KEYUP }, 3);
    m_pInput->Key(XK_x, false);
    std::vector<LoggedMessage> release = Collect({ WM_KEYUP }, 1);
    messages.insert(messages.end(), release.begin(), release.end());
    ASSERT_GE(messages.size(), 4u);
    EXPECT_EQ(messages[0].uMsg, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(messages[0].lParam & (1 << 30), 0);
    // Repeats come as presses with the previous-state bit, with no release between them.
    for (size_t i = 1; i + 1 < messages.size(); ++i) {
        EXPECT_EQ(messages[i].uMsg, static_cast<UINT>(WM_KEYDOWN));
        EXPECT_NE(messages[i].lParam & (1 << 30), 0);
    }
    EXPECT_EQ(messages.back().uMsg, static_cast<UINT>(WM_KEYUP));
}

TEST_F(X11InputTest, ClicksArriveAtTheirPointAndTwoMakeADoubleClick)
{
    m_pInput->Click(POINT { 130, 120 });
    std::vector<LoggedMessage> messages = Collect({ WM_LBUTTONDOWN, WM_LBUTTONUP }, 2);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].uMsg, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(messages[0].lParam, MAKELPARAM(30, 20));
    m_pInput->Click(POINT { 130, 120 });
    EXPECT_EQ(Collect({ WM_LBUTTONDBLCLK }, 1).size(), 1u);

    m_pInput->Click(POINT { 150, 130 }, 3);
    EXPECT_EQ(Collect({ WM_RBUTTONUP }, 1).size(), 1u);
}

TEST_F(X11InputTest, WheelNotchesAreSixScoresEach)
{
    m_pInput->Click(POINT { 130, 120 }, 4);
    m_pInput->Click(POINT { 130, 120 }, 5);
    std::vector<WPARAM> wheels = Collected({ WM_MOUSEWHEEL }, 2);
    ASSERT_EQ(wheels.size(), 2u);
    EXPECT_EQ(static_cast<short>(HIWORD(wheels[0])), 120);
    EXPECT_EQ(static_cast<short>(HIWORD(wheels[1])), -120);
}

TEST_F(X11InputTest, ADragLeavingTheWindowKeepsItsMoves)
{
    MessageLog::Instance().handler = CaptureWhileDragging;
    m_pInput->MoveTo(POINT { 150, 150 });
    m_pInput->Button(1, true);
    ASSERT_EQ(Collect({ WM_LBUTTONDOWN }, 1).size(), 1u);
    m_pInput->MoveTo(POINT { 500, 400 });
    std::vector<LoggedMessage> moves = Collect({ WM_MOUSEMOVE }, 1);
    ASSERT_FALSE(moves.empty());
    // Client coordinates of a point far outside the window.
    EXPECT_EQ(moves.back().lParam, MAKELPARAM(400, 300));
    m_pInput->Button(1, false);
    EXPECT_EQ(Collect({ WM_LBUTTONUP }, 1).size(), 1u);
}

TEST_F(X11InputTest, AWindowShownUnderARestingPointerGetsAMove)
{
    m_pInput->MoveTo(POINT { 620, 420 });
    m_pInput->Sync();
    HWND hLater = CreateRecordingWindow(WS_POPUP, 600, 400, 80, 60);
    ShowWindow(hLater, SW_SHOWNOACTIVATE);
    std::vector<LoggedMessage> moves;
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (const LoggedMessage& message : MessageLog::Instance().Take()) {
                if (message.uMsg == WM_MOUSEMOVE && message.hWnd == hLater)
                    moves.push_back(message);
            }
            return !moves.empty();
        },
        std::chrono::seconds(30)));
    EXPECT_EQ(moves.front().lParam, MAKELPARAM(20, 20));
    DestroyWindow(hLater);
}

TEST_F(X11InputTest, TheCursorPositionIsThePointers)
{
    m_pInput->MoveTo(POINT { 700, 600 });
    m_pInput->Sync();
    POINT pt {};
    ASSERT_TRUE(GetCursorPos(&pt));
    EXPECT_EQ(pt.x, 700);
    EXPECT_EQ(pt.y, 600);
}

TEST_F(X11InputTest, TheCursorSetForTheWindowUnderThePointerShowsThere)
{
    // The window answers WM_SETCURSOR with the I-beam, as a text field does.
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        if (uMsg != WM_SETCURSOR)
            return false;
        SetCursor(LoadCursor(nullptr, IDC_IBEAM));
        *plResult = TRUE;
        return true;
    };
    int nEvent = 0;
    int nError = 0;
    int nMajor = 5;
    int nMinor = 0;
    ASSERT_TRUE(XFixesQueryExtension(m_pInput->Connection(), &nEvent, &nError));
    XFixesQueryVersion(m_pInput->Connection(), &nMajor, &nMinor);
    auto shownCursor = [&] {
        XFixesCursorImage* pImage = XFixesGetCursorImage(m_pInput->Connection());
        std::string strName = pImage && pImage->name ? pImage->name : "";
        if (pImage)
            XFree(pImage);
        return strName;
    };
    m_pInput->MoveTo(POINT { 150, 150 });
    EXPECT_TRUE(PumpUntil([&] { return shownCursor() == "text"; }));

    // No cursor at all: an empty one shows.
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        if (uMsg != WM_SETCURSOR)
            return false;
        SetCursor(nullptr);
        *plResult = TRUE;
        return true;
    };
    m_pInput->MoveTo(POINT { 160, 150 });
    EXPECT_TRUE(PumpUntil([&] { return shownCursor() == "none"; }));
}

TEST_F(X11InputTest, AModulesCursorShowsItsPictureWithItsTipAtTheCorner)
{
    HMODULE hModule = LoadLibrary(ProgramPathFromHostPath((BinaryRoot() / "app" / "arching.dll").string()).c_str());
    ASSERT_NE(hModule, nullptr);
    constexpr WORD DRAG_MOVE = 179;
    HCURSOR hMove = LoadCursor(hModule, MAKEINTRESOURCE(DRAG_MOVE));
    ASSERT_NE(hMove, nullptr);
    EXPECT_EQ(LoadCursor(hModule, MAKEINTRESOURCE(DRAG_MOVE)), hMove);
    MessageLog::Instance().handler = [hMove](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        if (uMsg != WM_SETCURSOR)
            return false;
        SetCursor(hMove);
        *plResult = TRUE;
        return true;
    };
    ICONINFO info {};
    ASSERT_TRUE(GetIconInfo(hMove, &info));
    BITMAP bm {};
    GetObject(info.hbmColor, sizeof(bm), &bm);

    m_pInput->MoveTo(POINT { 150, 150 });
    XFixesCursorImage* pImage = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
        if (pImage)
            XFree(pImage);
        pImage = XFixesGetCursorImage(m_pInput->Connection());
        return pImage && pImage->width == bm.bmWidth && pImage->height == bm.bmHeight;
    }));
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->xhot, 0);
    EXPECT_EQ(pImage->yhot, 0);
    // Clear where the mask lets the background show, else the picture's colour.
    HDC hdcMask = CreateCompatibleDC(nullptr);
    HDC hdcColor = CreateCompatibleDC(nullptr);
    HGDIOBJ hOldMask = SelectObject(hdcMask, info.hbmMask);
    HGDIOBJ hOldColor = SelectObject(hdcColor, info.hbmColor);
    int nOpaque = 0;
    int nWrong = 0;
    for (int y = 0; y < pImage->height; ++y) {
        for (int x = 0; x < pImage->width; ++x) {
            auto nShown = static_cast<uint32_t>(pImage->pixels[y * pImage->width + x]);
            bool bClear = GetPixel(hdcMask, x, y) != RGB(0, 0, 0);
            COLORREF cr = GetPixel(hdcColor, x, y);
            uint32_t nExpected = bClear ? 0 : 0xFF000000u | GetRValue(cr) << 16 | GetGValue(cr) << 8 | GetBValue(cr);
            nOpaque += bClear ? 0 : 1;
            nWrong += nShown == nExpected ? 0 : 1;
        }
    }
    EXPECT_GT(nOpaque, 0);
    EXPECT_EQ(nWrong, 0);
    SelectObject(hdcMask, hOldMask);
    SelectObject(hdcColor, hOldColor);
    DeleteDC(hdcMask);
    DeleteDC(hdcColor);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    XFree(pImage);
    FreeLibrary(hModule);
}

TEST_F(X11InputTest, TheSettingsManagersDoubleClickTimeCounts)
{
    // The test becomes the desktop's settings manager, with a 250 ms double click.
    std::ifstream file(SourceRoot() / "fuzz/xsettings/double_click_lsb", std::ios::binary);
    std::vector<unsigned char> settings((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Display* pOther = m_pInput->Connection();
    Window root = DefaultRootWindow(pOther);
    Atom settingsAtom = XInternAtom(pOther, "_XSETTINGS_SETTINGS", False);
    Window manager = XCreateSimpleWindow(pOther, root, 0, 0, 1, 1, 0, 0, 0);
    XChangeProperty(pOther, manager, settingsAtom, settingsAtom, 8, PropModeReplace, settings.data(),
        static_cast<int>(settings.size()));
    BecomeManager(pOther, "_XSETTINGS_S0", manager);
    ASSERT_TRUE(PumpUntil([] { return GetDoubleClickTime() == 250; }));

    // Two presses 400 ms apart are two clicks now, not a double click.
    m_pInput->Click(POINT { 130, 120 });
    ASSERT_EQ(Collect({ WM_LBUTTONUP }, 1).size(), 1u);
    PumpFor(std::chrono::milliseconds(400));
    m_pInput->Click(POINT { 130, 120 });
    std::vector<LoggedMessage> presses = Collect({ WM_LBUTTONDOWN, WM_LBUTTONDBLCLK }, 1);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].uMsg, static_cast<UINT>(WM_LBUTTONDOWN));

    // The manager gone, the default comes back.
    XDestroyWindow(pOther, manager);
    XFlush(pOther);
    EXPECT_TRUE(PumpUntil([] { return GetDoubleClickTime() == 500; }));
}

TEST_F(X11InputTest, AnOpenMenuClosesOnAClickOutsideEveryWindowOrOnEscape)
{
    HMENU hMenu = CreatePopupMenu();
    AppendMenu(hMenu, MF_STRING, 100, "&Open");
    AppendMenu(hMenu, MF_STRING, 101, "&Close");
    for (bool bByClick : { true, false }) {
        bool bStayedOpen = false;
        std::thread user([&] {
            CXTestInput input(m_server.Name());
            WaitForMenuWindow();
            if (bByClick)
                input.Click(POINT { 1200, 1000 }); // on no window at all
            else
                input.TapKey(XK_Escape);
            // A menu that stays open is closed all the same, so that the test ends.
            if (!WaitUntil([] { return FindWindow("#32768", nullptr) == nullptr; })) {
                bStayedOpen = true;
                input.Click(POINT { 125, 115 });
            }
        });
        UINT nChosen = TrackPopupMenu(hMenu, TPM_RETURNCMD, 120, 110, 0, m_hWnd, nullptr);
        user.join();
        EXPECT_FALSE(bStayedOpen);
        EXPECT_EQ(nChosen, 0u);
        EXPECT_EQ(FindWindow("#32768", nullptr), nullptr);
    }
    DestroyMenu(hMenu);
}
