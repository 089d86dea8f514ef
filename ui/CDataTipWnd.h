#pragma once

// A small tooltip-like window that shows the whole text of a list item that
// is cut off, near the cursor, once the cursor has rested on the item for
// DELAY_MS. The owner calls Show on every mouse move over an item whose text
// does not fit; the tip hides at any key, at a click, when the mouse leaves
// the item, or on Hide.
//
//   hidden ──Show──> pending (timer 1010) ──delay, cursor unmoved──> shown ──key, click, move off──> hidden
//
// All tips share one font, one pair of thread hooks (a keyboard and a mouse
// hook of the user-interface thread, removed with the last tip) and the one
// tip shown at a time. Everything runs in the user-interface thread.

#include "platform/framework/CWnd.h"

class CDataTipWnd : public CWnd {
    DECLARE_DYNAMIC(CDataTipWnd)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT DELAY_MS = 500;
    static constexpr UINT_PTR TIMER_SHOW = 1010;
    static constexpr int DEFAULT_MAX_WIDTH = 160; // a quarter of the maximised width replaces it
    static constexpr LPCTSTR CLASS_NAME = "KadDataTip";

    CDataTipWnd();
    ~CDataTipWnd() override;

    // Makes the (hidden) tip window for pOwner, the list whose items it shows.
    BOOL Create(CWnd* pOwner);
    // Tips show only while enabled; a new tip is disabled.
    void Enable(BOOL bEnable) { m_bEnabled = bEnable; }
    // The cursor is at (x, y) over the item rcItem, both in the owner's client
    // coordinates, whose full text is pszText: starts the delay, unless the
    // cursor is where it was, the tip is showing, or nothing has the focus.
    void Show(int x, int y, const RECT& rcItem, LPCTSTR pszText);
    // Hides the tip and stops a pending one.
    void Hide();
    // The tip on screen; null when none.
    static CDataTipWnd* GetShownTip();

protected:
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    // A destroyed tip is no longer the shown one.
    void OnDestroy();

private:
    static void InitGlobals();
    static void RegisterClass();
    // Sizes the window to the text at the cursor and shows it without activating it.
    void SizeToText();

    CWnd* m_pOwner { nullptr };
    [[maybe_unused]] DWORD m_dwReserved { 0 };
    CString m_strText;
    POINT m_offset {};
    POINT m_lastPos { -1, -1 }; // screen coordinates
    BOOL m_bCreated { FALSE };
    BOOL m_bEnabled { FALSE };
    UINT_PTR m_nTimer { 0 };
};
