#pragma once

// CWinThread: a thread of the program, with the class library's message loop
// and idle processing.
//
// A user-interface thread runs InitInstance, then Run, the message loop, until
// WM_QUIT (posted when its main window is destroyed, or by PostQuitMessage);
// ExitInstance gives the exit code. A worker thread runs one function.
//
// Idle processing (Run): when the queue is empty, OnIdle is called with a
// count that starts at 0 and grows by one per call while OnIdle returns TRUE;
// when it returns FALSE the loop waits for a message. A message restarts the
// count at 0 unless IsIdleMessage says it does not count (a mouse move to the
// same place, WM_PAINT, the caret's blink timer).

#include "platform/base/Threads.h"
#include "platform/framework/CCmdTarget.h"
#include "platform/window/MessageQueue.h"

class CWnd;

using AFX_THREADPROC = UINT (*)(LPVOID pParam);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)

public:
    CWinThread() = default;
    // A worker thread that will run pfnThreadProc(pParam).
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // Starts the thread (suspended with CREATE_SUSPENDED). With m_bAutoDelete
    // the object deletes itself when the thread ends.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
    int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
    operator HANDLE() const { return m_hThread; }

    virtual CWnd* GetMainWnd();

    /* What subclasses override. */

    // Initializes a user-interface thread; FALSE ends it (ExitInstance still runs).
    virtual BOOL InitInstance();
    // The message loop; returns ExitInstance's result.
    virtual int Run();
    // Offers a retrieved message to the window it is for and its parents, then
    // to the main window; a message without a window goes to DispatchThreadMessageEx.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Runs the ON_THREAD_MESSAGE or ON_REGISTERED_THREAD_MESSAGE handler of a
    // message posted to the thread (no window); TRUE when one ran.
    virtual BOOL DispatchThreadMessageEx(MSG* pMsg);
    // Retrieves and dispatches one message; FALSE for WM_QUIT.
    virtual BOOL PumpMessage();
    // Idle work for count lCount. The base updates the user interface of the
    // main window and its descendants (WM_IDLEUPDATECMDUI) at 0 and frees
    // temporary objects at 1. Returns TRUE to be called again.
    virtual BOOL OnIdle(LONG lCount);
    // FALSE for messages that leave the idle count running.
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // Returns the thread's exit code (the WM_QUIT code).
    virtual int ExitInstance();
    // Deletes the object when m_bAutoDelete is set; runs as the thread ends.
    virtual void Delete();

    CWnd* m_pMainWnd { nullptr };
    BOOL m_bAutoDelete { TRUE };
    HANDLE m_hThread { nullptr };
    DWORD m_nThreadID { 0 };
    MSG m_msgCur {}; // the message PumpMessage retrieved last

protected:
    friend DWORD AfxThreadEntry(LPVOID pParam);

    AFX_THREADPROC m_pfnThreadProc { nullptr };
    LPVOID m_pThreadParams { nullptr };

private:
    MSG m_msgLastMouse {}; // the last mouse move that counted, for IsIdleMessage
};

// Starts a worker thread running pfnThreadProc(pParam). Returns its object
// (which deletes itself when the thread ends unless m_bAutoDelete is cleared
// while the thread is suspended), or nullptr.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
    UINT nStackSize = 0, DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Starts a user-interface thread of a CWinThread class made with DECLARE_DYNCREATE.
CWinThread* AfxBeginThread(const CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
    UINT nStackSize = 0, DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// The calling thread's object: the application on its thread, the thread's own
// for threads AfxBeginThread started, else nullptr.
CWinThread* AfxGetThread();
// The calling thread's main window, else the application's.
CWnd* AfxGetMainWnd();
// The program's instance handle.
HINSTANCE AfxGetInstanceHandle();

// Makes pThread the calling thread's object (the application does this when it is made).
void AfxSetThread(CWinThread* pThread);
