#pragma once

// Helpers for the window tests: a window class whose procedure records every
// message it receives.

#include "platform/base/Threads.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <vector>

struct LoggedMessage {
    HWND hWnd;
    UINT uMsg;
    WPARAM wParam;
    LPARAM lParam;

    bool operator==(const LoggedMessage&) const = default;
};

// The messages received by windows of the recording class, from every thread, in order.
class MessageLog {
public:
    static MessageLog& Instance()
    {
        static MessageLog log;
        return log;
    }

    void Add(const LoggedMessage& message)
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(message);
    }
    std::vector<LoggedMessage> Take()
    {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_messages, {});
    }
    // The message numbers received, leaving out those outside `only` when it is given.
    std::vector<std::pair<HWND, UINT>> TakeMessages(const std::vector<UINT>& only = {})
    {
        std::vector<std::pair<HWND, UINT>> result;
        for (const LoggedMessage& message : Take()) {
            if (only.empty() || std::find(only.begin(), only.end(), message.uMsg) != only.end())
                result.emplace_back(message.hWnd, message.uMsg);
        }
        return result;
    }

    // Runs for each message before it is logged; returning true means "handled, with *plResult".
    std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> handler;

private:
    std::mutex m_mutex;
    std::vector<LoggedMessage> m_messages;
};

inline LRESULT CALLBACK RecordingWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    MessageLog& log = MessageLog::Instance();
    log.Add({ hWnd, uMsg, wParam, lParam });
    LRESULT lResult = 0;
    if (log.handler && log.handler(hWnd, uMsg, wParam, lParam, &lResult))
        return lResult;
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

constexpr const char* RECORDING_CLASS = "RecordingWindow";

// Registers the recording class once per process (each test runs in its own process).
inline void RegisterRecordingClass()
{
    WNDCLASS wc {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = RecordingWndProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.lpszClassName = RECORDING_CLASS;
    WNDCLASS existing {};
    if (!GetClassInfo(nullptr, RECORDING_CLASS, &existing)) {
        ASSERT_NE(RegisterClass(&wc), 0);
    }
}

inline HWND CreateRecordingWindow(DWORD dwStyle, int x, int y, int cx, int cy, HWND hParent = nullptr, UINT_PTR nId = 0,
    DWORD dwExStyle = 0, LPCSTR lpszText = "")
{
    return CreateWindowEx(dwExStyle, RECORDING_CLASS, lpszText, dwStyle, x, y, cx, cy, hParent,
        reinterpret_cast<HMENU>(nId), nullptr, nullptr);
}

// A test fixture with the recording class registered and an empty log.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterRecordingClass();
        MessageLog::Instance().Take();
        MessageLog::Instance().handler = nullptr;
    }
    void TearDown() override { MessageLog::Instance().handler = nullptr; }
};

// A window's pixel, frame included.
inline COLORREF WindowPixel(HWND hWnd, int x, int y)
{
    HDC hdc = GetWindowDC(hWnd);
    COLORREF cr = GetPixel(hdc, x, y);
    ReleaseDC(hWnd, hdc);
    return cr;
}

// The pixels of a captured window or screen, read through a memory DC.
class CCapturedImage {
public:
    explicit CCapturedImage(HBITMAP hbm)
        : m_hbm(hbm)
        , m_hdc(CreateCompatibleDC(nullptr))
    {
        m_hOld = SelectObject(m_hdc, m_hbm);
    }
    ~CCapturedImage()
    {
        SelectObject(m_hdc, m_hOld);
        DeleteDC(m_hdc);
        DeleteObject(m_hbm);
    }
    CCapturedImage(const CCapturedImage&) = delete;
    CCapturedImage& operator=(const CCapturedImage&) = delete;

    COLORREF At(int x, int y) const { return GetPixel(m_hdc, x, y); }

private:
    HBITMAP m_hbm;
    HDC m_hdc;
    HGDIOBJ m_hOld { nullptr };
};
