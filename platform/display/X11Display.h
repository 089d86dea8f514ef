#pragma once

// The display on an X server: each top-level window is an X window showing
// its retained surface, input comes from the server's events, and the
// desktop (window manager, monitors) is asked what the program needs of it.
//
// Top-level windows of the unmanaged kinds (menus, drop-downs, tool tips) are
// override-redirect windows placed and stacked by the program; the others are
// managed by the window manager without its decorations (the window layer
// draws captions and frames), which still moves, stacks and activates them.
// An Expose is served from the retained pixels without the program.
//
// Events are read only by the thread that installs the display, in its
// message wait (EventDescriptor, HasPendingEvents, DispatchEvents); the other
// calls are safe from any thread. A broken connection (the server gone, the
// session ended) is reported once as OnConnectionLost; from then on the
// display makes no further requests and keeps answering from what it knows.

#include "platform/display/Display.h"

#include <memory>
#include <string>

struct CX11State;

class CX11Display : public CDisplay {
public:
    // Opens the display `pszName` (nullptr: $DISPLAY). nullptr, with a one-line
    // reason in *pstrReason, when none is set or the server refuses.
    static std::unique_ptr<CX11Display> Open(const char* pszName, std::string* pstrReason);
    ~CX11Display() override;

    void CreateTopLevel(HWND hWnd, const RECT& rcWindow) override;
    void DestroyTopLevel(HWND hWnd) override;
    void MoveTopLevel(HWND hWnd, const RECT& rcWindow) override;
    void ShowTopLevel(HWND hWnd, bool bShow) override;
    void RestackTopLevels(const std::vector<HWND>& topFirst) override;
    void DescribeTopLevel(HWND hWnd, const CTopLevelLook& look) override;
    void SetTopLevelState(HWND hWnd, ETopLevelState eState) override;
    void ActivateTopLevel(HWND hWnd) override;
    bool BeginMoveSize(HWND hWnd, int nHitTest, POINT ptScreen) override;
    HBITMAP SurfaceOf(HWND hWnd) override;
    void Present(HWND hWnd, const RECT& rcArea) override;

    HBITMAP CaptureScreen() override;
    std::vector<CMonitor> Monitors() override;
    UINT DoubleClickTime() override;
    CTrayHost* GetTrayHost() override;

    void GrabInput(HWND hWnd, bool bKeyboard) override;
    void SetTopLevelCursor(HWND hWnd, HCURSOR hCursor) override;
    bool PointerPosition(POINT* pPoint) override;

    void OfferClipboard(const std::vector<CClipboardItem>& items) override;
    bool ForeignClipboardFormats(std::vector<std::string>* pFormats) override;
    bool ReadForeignClipboard(const std::string& strFormat, std::vector<BYTE>* pData) override;

    int EventDescriptor() override;
    bool HasPendingEvents() override;
    void DispatchEvents() override;
    void Flush() override;

    /* For tests. */

    // The X window (an XID) of a top-level window; 0 for one it does not know.
    unsigned long WindowOf(HWND hWnd);
    // Waits until the server has handled every request made so far.
    void Sync();

private:
    explicit CX11Display(std::unique_ptr<CX11State> pState);

    std::unique_ptr<CX11State> m_pState;
};
