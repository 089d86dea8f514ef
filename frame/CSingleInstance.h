#pragma once

// Keeps the program to one running instance per user.
//
// Register names the instance after the application: the first line of its
// title string followed by " Class". The name is a named mutex (whose existence
// tells a second start that an instance runs) and the window class of the main
// window. The first instance also serves the class's window channel
// (WindowChannel.h), through which a second start reaches its main window:
// there FindWindowEx of the class returns a stand-in window, and WM_COMMAND
// sent to it is delivered synchronously to the running instance's main window.

#include "platform/base/CString.h"
#include "platform/window/WindowChannel.h"

class CSingleInstance {
public:
    CSingleInstance() = default;
    ~CSingleInstance();
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
    CString m_strClassName;
    HANDLE m_hMutex = nullptr;
    BOOL m_bClassRegistered = FALSE;
    CWindowChannel m_channel;
};
