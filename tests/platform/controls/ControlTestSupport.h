#pragma once

// Helpers for the control tests: a visible parent window of the recording
// class (so every notification it receives is logged), input injected at
// points of a control. Screenshot pixels come from WindowTestSupport.h.

#include "platform/base/Clock.h"
#include "platform/controls/StandardControls.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "tests/platform/window/WindowTestSupport.h"

struct CommandSent {
    WORD nId;
    WORD nCode;
    HWND hControl;

    bool operator==(const CommandSent&) const = default;
};

// A 400 by 300 popup parent at (100, 100), on a manual clock.
class ControlTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(RegisterStandardControls());
        m_hParent = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 100, 100, 400, 300);
        PumpUntilIdle();
        MessageLog::Instance().Take();
    }
    void TearDown() override
    {
        ReleaseCapture();
        if (GetAsyncKeyState(VK_LBUTTON) & 0x8000)
            InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, POINT { 0, 0 }, 0 });
        DestroyWindow(m_hParent);
        WindowTest::TearDown();
    }

    HWND CreateControl(LPCSTR lpszClass, LPCSTR lpszText, DWORD dwStyle, int x, int y, int cx, int cy, UINT nId)
    {
        return CreateWindowEx(0, lpszClass, lpszText, WS_CHILD | WS_VISIBLE | dwStyle, x, y, cx, cy, m_hParent,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)), nullptr, nullptr);
    }

    // Injects a mouse event at a point of the control's client area.
    void Mouse(HWND hControl, EMouseAction eAction, int x, int y)
    {
        POINT pt { x, y };
        ClientToScreen(hControl, &pt);
        EMouseButton eButton = eAction == EMouseAction::Move ? EMouseButton::None : EMouseButton::Left;
        InjectMouseEvent(CMouseInput { eAction, eButton, pt, 0 });
        PumpUntilIdle();
    }
    void Click(HWND hControl, int x = 3, int y = 3)
    {
        Mouse(hControl, EMouseAction::ButtonDown, x, y);
        Mouse(hControl, EMouseAction::ButtonUp, x, y);
    }
    void Key(UINT nVirtualKey, BOOL bDown)
    {
        InjectKeyEvent(nVirtualKey, bDown);
        PumpUntilIdle();
    }

    // The WM_COMMAND notifications the parent received since the last call.
    std::vector<CommandSent> TakeCommands()
    {
        std::vector<CommandSent> commands;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.hWnd == m_hParent && message.uMsg == WM_COMMAND)
                commands.push_back(
                    { LOWORD(message.wParam), HIWORD(message.wParam), reinterpret_cast<HWND>(message.lParam) });
        }
        return commands;
    }

    // Puts the controls in this z-order (and so tab and group order), as a dialog does.
    static void Order(std::initializer_list<HWND> controls)
    {
        for (HWND hControl : controls)
            SetWindowPos(hControl, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    CManualClock m_clock { 0, 100000 };
    CClockOverride m_override { m_clock };
    HWND m_hParent { nullptr };
};
