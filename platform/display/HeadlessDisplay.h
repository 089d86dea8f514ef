#pragma once

// A display without a screen: each top-level window's pixels live in a bitmap
// in memory, and the screen exists only when it is captured, composed from
// those bitmaps in z-order. Input comes from the test driver, which calls the
// window layer's injection functions directly. Its tray records the icons it
// is given (see CHeadlessTrayHost). Safe to use from any thread.

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
    // The recording tray while it is enabled, else nullptr.
    CTrayHost* GetTrayHost() override;

    // The recording tray, enabled or not.
    CHeadlessTrayHost& Tray() { return m_tray; }

private:
    struct CTopLevel {
        RECT rcWindow {};
        bool bVisible { false };
        HBITMAP hbmSurface { nullptr };
    };

    static HBITMAP MakeSurface(const RECT& rcWindow);

    std::mutex m_mutex;
    int m_nScreenWidth;
    int m_nScreenHeight;
    std::map<HWND, CTopLevel> m_windows;
    std::vector<HWND> m_zOrder; // the top first
    CHeadlessTrayHost m_tray;
};
