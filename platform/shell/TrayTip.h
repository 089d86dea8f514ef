#pragma once

// The tip of a tray icon, shown with the tooltip control. When the pointer
// has rested on an icon for the tooltip's initial delay, the icon's tip text
// shows next to the icon's place in the tray: below it, or above it where the
// monitor ends below. The tip goes when the pointer leaves the icon, on a
// click, when the icon is deleted or its tip emptied; a new text replaces the
// one on show. An icon without a tip shows nothing.
//
// The tooltip window and its timer belong to the thread that reports the
// tray's input (OnHover: the display's thread); the other calls may come from
// any thread and reach that window by SendMessage. No call holds a lock of
// this object while it sends.

#include "platform/window/WindowTypes.h"

#include <mutex>
#include <string>

class CTrayTip {
public:
    CTrayTip() = default;
    CTrayTip(const CTrayTip&) = delete;
    CTrayTip& operator=(const CTrayTip&) = delete;

    // The pointer came onto icon {hWnd, uID}, whose tip is strTip (bOver), or left it.
    void OnHover(HWND hWnd, UINT uID, bool bOver, const std::string& strTip);
    // The icon's tip is now strTip.
    void OnTipChanged(HWND hWnd, UINT uID, const std::string& strTip);
    // The icon was clicked or deleted: its tip goes, not to come back before the pointer comes again.
    void Hide(HWND hWnd, UINT uID);
    // The program has no icon left: the tooltip window goes (on its own thread), made again when needed.
    void Close();

private:
    static void CALLBACK OnDelayOver(HWND hTip, UINT uMsg, UINT_PTR nIDEvent, DWORD dwTime);
    // Creates the tooltip window on this thread when there is none.
    HWND TipWindow();
    // Shows (or updates) the current icon's tip by the icon's place.
    void Show();

    std::mutex m_mutex;
    HWND m_hTip { nullptr };
    HWND m_hIconWnd { nullptr }; // the icon the pointer is on, with m_uIconID; nullptr: none
    UINT m_uIconID { 0 };
    std::string m_strTip; // its tip
    bool m_bShown { false };
};
