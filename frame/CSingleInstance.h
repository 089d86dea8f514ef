#pragma once

// Keeps the program to one running instance per user.
//
// Register names the instance after the application: the first line of its
// title string followed by " Class". The name is a named mutex (whose existence
// tells a second start that an instance runs) and the window class of the main
// window. The first instance also serves a channel, a Unix-domain socket named
// after the class in the runtime folder of the named mutexes, through which a
// second start reaches its main window: a small thread accepts each request and
// SendMessages it to the main window, so the message runs in the main window's
// own thread while that thread is in its message loop, and the reply goes back
// before the next request is read. A second start installs a finder with which
// FindWindowEx of the class returns a hidden stand-in window; WM_COMMAND sent to
// the stand-in is delivered synchronously to the running instance's main window.

#include "platform/base/CString.h"
#include "platform/window/Window.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

class CSingleInstance : private CForeignWindowFinder {
public:
    CSingleInstance() = default;
    ~CSingleInstance() override;
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Takes the title from string resource nID. TRUE in the first instance (the
    // mutex is new, the window class registered, the channel served); FALSE when
    // another instance runs, or when the string is missing or the mutex, class or
    // channel cannot be made (the last error tells).
    BOOL Register(UINT nID);
    // The same with the title text given directly.
    BOOL Register(LPCTSTR pszTitle);

    // The main window's class name; empty before Register.
    const CString& GetClassName() const { return m_strClassName; }

private:
    HWND FindTopLevelWindow(LPCSTR lpszClass, LPCSTR lpszWindow) override;
    static LRESULT CALLBACK StandInProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    std::string ChannelPath() const;
    BOOL ServeChannel();
    void ServeLoop();
    LRESULT Forward(UINT uMsg, WPARAM wParam, LPARAM lParam);

    CString m_strClassName;
    HANDLE m_hMutex = nullptr;
    BOOL m_bClassRegistered = FALSE;
    // First instance: the listening socket and the thread that serves it, woken
    // to stop by the other end of m_fdStop.
    int m_fdListen = -1;
    int m_fdStop[2] = {-1, -1};
    std::thread m_server;
    // Second instance: the stand-in window and its connection.
    BOOL m_bFinderInstalled = FALSE;
    HWND m_hStandIn = nullptr;
    int m_fdPeer = -1;
};
