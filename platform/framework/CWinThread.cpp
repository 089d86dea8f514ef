#include "platform/framework/CWinThread.h"

#include "platform/base/KernelObject.h"
#include "platform/base/WinError.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {
thread_local CWinThread* t_pThread = nullptr;
}

void AfxSetThread(CWinThread* pThread)
{
    t_pThread = pThread;
}

CWinThread* AfxGetThread()
{
    return t_pThread;
}

CWnd* AfxGetMainWnd()
{
    if (CWinThread* pThread = AfxGetThread(); pThread && pThread->GetMainWnd())
        return pThread->GetMainWnd();
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetMainWnd() : nullptr;
}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc)
    , m_pThreadParams(pParam)
{
}

CWinThread::~CWinThread()
{
    if (t_pThread == this)
        t_pThread = nullptr;
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

/***** Starting threads *****/

DWORD AfxThreadEntry(LPVOID pParam)
{
    auto* pThread = static_cast<CWinThread*>(pParam);
    AfxSetThread(pThread);
    DWORD nResult = 0;
    if (pThread->m_pfnThreadProc) {
        nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
    } else {
        // The queue exists before InitInstance, so that others can post to the thread at once.
        MSG msg {};
        ::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
        nResult = static_cast<DWORD>(pThread->InitInstance() ? pThread->Run() : pThread->ExitInstance());
    }
    AfxSetThread(nullptr);
    pThread->Delete();
    return nResult;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    // The thread starts suspended so that the object is complete before it can run (and delete itself).
    m_hThread = ::CreateThread(
        lpSecurityAttrs, nStackSize, &AfxThreadEntry, this, dwCreateFlags | CREATE_SUSPENDED, &m_nThreadID);
    if (!m_hThread)
        return FALSE;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

namespace {

CWinThread* StartThread(
    CWinThread* pThread, int nPriority, UINT nStackSize, DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

} // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
    DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pfnThreadProc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return StartThread(new CWinThread(pfnThreadProc, pParam), nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AfxBeginThread(const CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
    LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    CObject* pObject = pThreadClass ? pThreadClass->CreateObject() : nullptr;
    auto* pThread = dynamic_cast<CWinThread*>(pObject);
    if (!pThread) {
        delete pObject;
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return StartThread(pThread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

/***** The message loop *****/

CWnd* CWinThread::GetMainWnd()
{
    return m_pMainWnd;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    MSG msg {};
    for (;;) {
        while (bIdle && !::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessage(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    // A WM_KICKIDLE left in the queue has no window to go to.
    if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessage(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg->hwnd)
        return DispatchThreadMessageEx(pMsg);
    CWnd* pMainWnd = GetMainWnd();
    HWND hWndMain = pMainWnd ? pMainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(hWndMain, pMsg))
        return TRUE;
    // The main window also sees what goes to windows outside it.
    if (hWndMain && pMsg->hwnd != hWndMain && !::IsChild(hWndMain, pMsg->hwnd)
        && CWnd::FromHandle(pMsg->hwnd)->GetTopLevelParent() != pMainWnd)
        return pMainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg)
{
    AFX_MSGCALL call { pMsg->message, pMsg->wParam, pMsg->lParam, 0, nullptr, 0 };
    return DispatchFromMap(pMsg->message, 0, 0, call, nullptr);
}

// The visible top-level windows of the calling thread whose objects are
// frames, other than hWndMain.
static std::vector<HWND> OtherVisibleFrames(HWND hWndMain)
{
    std::vector<HWND> frames;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&frames));
    std::erase_if(frames, [&](HWND hWnd) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        return hWnd == hWndMain || !pWnd || !pWnd->IsFrameWnd() || !::IsWindowVisible(hWnd);
    });
    return frames;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* pMainWnd = GetMainWnd();
        if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        // The other frames of the thread (the floating bars' small frames) update too.
        for (HWND hFrame : OtherVisibleFrames(pMainWnd ? pMainWnd->m_hWnd : nullptr)) {
            if (CWnd* pFrame = CWnd::FromHandlePermanent(hFrame)) {
                AfxCallWndProc(pFrame, hFrame, WM_IDLEUPDATECMDUI, TRUE, 0);
                pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            }
        }
    } else if (lCount == 1) {
        CWnd::DeleteTempMap();
        CDC::DeleteTempMap();
        CGdiObject::DeleteTempMap();
        CImageList::DeleteTempMap();
        CMenu::DeleteTempMap();
    }
    return lCount < 1;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        // The cursor did not move: the same message at the same place.
        const MSG& last = m_msgLastMouse;
        if (last.message == pMsg->message && last.hwnd == pMsg->hwnd && last.lParam == pMsg->lParam
            && last.pt.x == pMsg->pt.x && last.pt.y == pMsg->pt.y)
            return FALSE;
        m_msgLastMouse = *pMsg;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != WM_SYSTIMER;
}

int CWinThread::ExitInstance()
{
    return static_cast<int>(m_msgCur.wParam);
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}
