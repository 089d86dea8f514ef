#pragma once

// Reaches the top-level windows of a class across the processes of one user.
//
// The process that owns the windows serves a channel, a Unix-domain socket
// named after the class in the runtime folder of the named mutexes: a small
// thread accepts each request and SendMessages it to the window of the class,
// so the message runs in the window's own thread while that thread is in its
// message loop, and the reply goes back before the next request is read.
// Another process installs the channel as its foreign window finder: FindWindowEx
// of the class then returns a hidden stand-in window, and WM_COMMAND sent to the
// stand-in is delivered synchronously to the serving process's window. Only
// commands cross, since they carry no pointers into the sender's memory.

#include "platform/base/CString.h"
#include "platform/window/Window.h"

#include <string>
#include <thread>

class CWindowChannel : private CForeignWindowFinder {
public:
    CWindowChannel() = default;
    ~CWindowChannel() override;
    CWindowChannel(const CWindowChannel&) = delete;
    CWindowChannel& operator=(const CWindowChannel&) = delete;

    // Serves the channel of the class. The caller must own the class's name
    // (hold its named mutex): a channel file left there is taken to be from a
    // process that died. FALSE with the last error set when it cannot be served.
    BOOL Serve(LPCTSTR pszClassName);
    // Makes FindWindowEx of the class reach the process that serves it, until
    // this object goes.
    void Reach(LPCTSTR pszClassName);
    // Stops serving (removing the channel file) or reaching; the destructor does this too.
    void Close();

private:
    HWND FindTopLevelWindow(LPCSTR lpszClass, LPCSTR lpszWindow) override;
    static LRESULT CALLBACK StandInProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    std::string ChannelPath() const;
    void ServeLoop();
    LRESULT Forward(UINT uMsg, WPARAM wParam, LPARAM lParam);

    CString m_strClassName;
    // Serving: the listening socket and the thread that serves it, woken to
    // stop by the other end of m_fdStop.
    int m_fdListen = -1;
    int m_fdStop[2] = { -1, -1 };
    std::thread m_server;
    // Reaching: the stand-in window and its connection.
    BOOL m_bFinderInstalled = FALSE;
    HWND m_hStandIn = nullptr;
    int m_fdPeer = -1;
};
