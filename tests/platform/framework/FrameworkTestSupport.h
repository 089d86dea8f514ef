#pragma once

// Helpers for the class-library tests: a log of the handlers that ran, and a
// plain window class whose windows have no object of their own.

#include "platform/framework/CWnd.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The handlers that ran, in order, as short names.
class HandlerLog {
public:
    static std::vector<std::string>& Entries()
    {
        static std::vector<std::string> entries;
        return entries;
    }
    static void Add(const std::string& strEntry) { Entries().push_back(strEntry); }
    static std::vector<std::string> Take() { return std::exchange(Entries(), {}); }
};

constexpr const char* PLAIN_CLASS = "FrameworkPlainWindow";

// The procedure of the plain class: logs what reaches it, then does the default.
inline LRESULT CALLBACK PlainWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_USER + 100)
        HandlerLog::Add("class proc");
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HandlerLog::Take();
        WNDCLASS wc {};
        if (!GetClassInfo(nullptr, PLAIN_CLASS, &wc)) {
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = PlainWndProc;
            wc.lpszClassName = PLAIN_CLASS;
            ASSERT_NE(RegisterClass(&wc), 0);
        }
    }

    // A window of the plain class, with no object.
    static HWND CreatePlainWindow(HWND hParent = nullptr, UINT nID = 0, DWORD dwStyle = 0)
    {
        DWORD dwFullStyle = dwStyle | (hParent ? WS_CHILD : WS_POPUP);
        return CreateWindowEx(0, PLAIN_CLASS, "", dwFullStyle, 0, 0, 100, 50, hParent,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), nullptr, nullptr);
    }

    static RECT Rect(int x, int y, int cx, int cy) { return RECT { x, y, x + cx, y + cy }; }
};
