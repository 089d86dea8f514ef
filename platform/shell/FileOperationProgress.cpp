#include "platform/shell/FileOperationProgress.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/StandardControls.h"
#include "platform/controls/StaticControl.h"
#include "platform/shell/FileOperation.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <atomic>

namespace {

std::atomic<DWORD> g_dwProgressDelay { 1000 };
std::atomic<FileOperationProgressHook> g_pfnProgressHook { nullptr };

} // namespace

DWORD SetFileOperationProgressDelay(DWORD dwMilliseconds)
{
    return g_dwProgressDelay.exchange(dwMilliseconds);
}

FileOperationProgressHook SetFileOperationProgressHook(FileOperationProgressHook pfnHook)
{
    return g_pfnProgressHook.exchange(pfnHook);
}

CFileOperationProgress::CFileOperationProgress(HWND hwndOwner, std::string strCaption, size_t nTotal, bool bSilent)
    : m_hwndOwner(hwndOwner)
    , m_strCaption(std::move(strCaption))
    , m_nTotal(nTotal)
    , m_bSilent(bSilent)
    , m_start(std::chrono::steady_clock::now())
{
}

CFileOperationProgress::~CFileOperationProgress()
{
    if (m_hDlg)
        DestroyWindow(m_hDlg);
}

bool CFileOperationProgress::BeginItem(const std::string& strName, size_t nIndex)
{
    m_strName = strName;
    m_nIndex = nIndex;
    if (m_hDlg)
        Update();
    return Pump();
}

bool CFileOperationProgress::Pump()
{
    if (!m_hDlg && !m_bSilent
        && std::chrono::steady_clock::now() - m_start >= std::chrono::milliseconds(g_dwProgressDelay.load()))
        Show();
    MSG msg {};
    while (!m_bCancelled && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program is closing: leave the quit for its own loop, and stop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            m_bCancelled = true;
            break;
        }
        if (m_hDlg && IsDialogMessage(m_hDlg, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return !m_bCancelled;
}

void CFileOperationProgress::Show()
{
    if (!RegisterStandardControls())
        return;
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    dialog.cx = 220;
    dialog.cy = 70;
    dialog.nPointSize = 8;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.strCaption = m_strCaption;
    dialog.controls.push_back({ static_cast<DWORD>(IDC_FILEOP_NAME), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
        7, 7, 206, 10, "Static", "" });
    dialog.controls.push_back(
        { static_cast<DWORD>(IDC_FILEOP_COUNT), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 7, 22, 206, 10, "Static", "" });
    dialog.controls.push_back({ static_cast<DWORD>(IDCANCEL), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
        163, 49, 50, 14, "Button", "Cancel" });
    m_hDlg = CreateDialogIndirectParam(nullptr, &dialog, m_hwndOwner, DialogProc, reinterpret_cast<LPARAM>(this));
    if (m_hDlg)
        Update();
}

void CFileOperationProgress::Update()
{
    SetDlgItemText(m_hDlg, IDC_FILEOP_NAME, m_strName.c_str());
    std::string strCount = std::to_string(m_nIndex + 1) + " of " + std::to_string(m_nTotal);
    SetDlgItemText(m_hDlg, IDC_FILEOP_COUNT, strCount.c_str());
    if (FileOperationProgressHook pfnHook = g_pfnProgressHook.load())
        pfnHook(m_hDlg);
}

INT_PTR CALLBACK CFileOperationProgress::DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_INITDIALOG) {
        SetWindowLongPtr(hDlg, DWLP_USER, lParam);
        return TRUE;
    }
    auto* pProgress = reinterpret_cast<CFileOperationProgress*>(GetWindowLongPtr(hDlg, DWLP_USER));
    if (uMsg == WM_COMMAND && LOWORD(wParam) == IDCANCEL && pProgress) {
        // The operation stops after the current chunk; the window goes with it.
        pProgress->m_bCancelled = true;
        EnableWindow(GetDlgItem(hDlg, IDCANCEL), FALSE);
        return TRUE;
    }
    return FALSE;
}
