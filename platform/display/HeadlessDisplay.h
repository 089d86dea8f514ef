#pragma once

// A display without a screen: each top-level window's pixels live in a bitmap
// in memory, and the screen exists only when it is captured, composed from
// those bitmaps in z-order. Input comes from the test driver, which calls the
// window layer's injection functions directly. One monitor covers the screen;
// a double click takes 500 ms. What the window layer tells it of a window
// (look, state, cursor) is kept for the test driver to read; the clipboard
// stays in the program, and nothing else is asked of a desktop. Its tray
// records the icons it is given (see CHeadlessTrayHost). Safe to use from any
// thread.

#include "platform/display/Display.h"
#include "platform/display/HeadlessTrayHost.h"

#include <map>
#include <mutex>

class CHeadlessDisplay : public CDisplay {
public:
    CHeadlessDisplay(int nScreenWidth, int nScreenHeight);
    ~CHeadlessDisplay() override;

    void CreateTopLevel(HWND hWnd, const RECT& rcWindow) override;
    void DestroyTopLevel(HWND hWnd) override;
    void MoveTopLevel(HWND hWnd, const RECT& rcWindow) override;
    void ShowTopLevel(HWND hWnd, bool bShow) override;
    void RestackTopLevels(const std::vector<HWND>& topFirst) override;
    HBITMAP SurfaceOf(HWND hWnd) override;
    void Present(HWND hWnd, const RECT& rcArea) override;
    HBITMAP CaptureScreen() override;
    std::vector<CMonitor> Monitors() override;
    UINT DoubleClickTime() override;
    void DescribeTopLevel(HWND hWnd, const CTopLevelLook& look) override;
    void SetTopLevelState(HWND hWnd, ETopLevelState eState) override;
    void ActivateTopLevel(HWND) override { }
    bool BeginMoveSize(HWND, int, POINT) override { return false; }
    void GrabInput(HWND, bool) override { }
    void SetTopLevelCursor(HWND hWnd, HCURSOR hCursor) override;
    bool PointerPosition(POINT*) override { return false; }
    void OfferClipboard(const std::vector<CClipboardItem>&) override { }
    bool ForeignClipboardFormats(std::vector<std::string>*) override { return false; }
    bool ReadForeignClipboard(const std::string&, std::vector<BYTE>*) override { return false; }
    int EventDescriptor() override { return -1; }
    bool HasPendingEvents() override { return false; }
    void DispatchEvents() override { }
    void Flush() override { }

    /* What the window layer told of a window, for tests; defaults for one it did not. */

    CTopLevelLook LookOf(HWND hWnd);
    ETopLevelState StateOf(HWND hWnd);
    HCURSOR CursorOf(HWND hWnd);

    /* The tray. */

    // The recording tray while it is enabled, else nullptr.
    CTrayHost* GetTrayHost() override;

    // The recording tray, enabled or not.
    CHeadlessTrayHost& Tray() { return m_tray; }

private:
    struct CTopLevel {
        RECT rcWindow {};
        bool bVisible { false };
        HBITMAP hbmSurface { nullptr };
        CTopLevelLook look;
        ETopLevelState eState { ETopLevelState::Normal };
        HCURSOR hCursor { nullptr };
    };

    static HBITMAP MakeSurface(const RECT& rcWindow);

    std::mutex m_mutex;
    int m_nScreenWidth;
    int m_nScreenHeight;
    std::map<HWND, CTopLevel> m_windows;
    std::vector<HWND> m_zOrder; // the top first
    CHeadlessTrayHost m_tray;
};
