#pragma once

// The progress window of a file operation: a modeless dialog owned by the
// operation's window, shown once the operation has run for the progress delay,
// with the current name, "n of m" and Cancel. The operation calls Pump between
// items and during long copies; Pump also serves the thread's other messages.

#include "platform/window/WindowTypes.h"

#include <chrono>
#include <string>

// Control IDs of the progress window, for scripts.
// clang-format off
constexpr int IDC_FILEOP_NAME  = 101; // the item being worked on
constexpr int IDC_FILEOP_COUNT = 102; // "n of m"
// clang-format on

class CFileOperationProgress {
public:
    // bSilent: never shown, but messages are still pumped.
    CFileOperationProgress(HWND hwndOwner, std::string strCaption, size_t nTotal, bool bSilent);
    ~CFileOperationProgress();
    CFileOperationProgress(const CFileOperationProgress&) = delete;
    CFileOperationProgress& operator=(const CFileOperationProgress&) = delete;

    // Item nIndex (0 based) is next; pumps. False once the user pressed Cancel.
    bool BeginItem(const std::string& strName, size_t nIndex);
    // Serves waiting messages and shows the window when its time has come.
    // False once the user pressed Cancel.
    bool Pump();

    // The window while it shows, else NULL.
    HWND Window() const { return m_hDlg; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void Show();
    void Update();

    HWND m_hwndOwner;
    std::string m_strCaption;
    size_t m_nTotal;
    bool m_bSilent;
    std::chrono::steady_clock::time_point m_start;
    HWND m_hDlg { nullptr };
    std::string m_strName;
    size_t m_nIndex { 0 };
    bool m_bCancelled { false };
};

// Called each time a progress window shows or changes, with the window; a
// seam for tests, which may press its Cancel from there. nullptr for none.
using FileOperationProgressHook = void (*)(HWND hProgress);
FileOperationProgressHook SetFileOperationProgressHook(FileOperationProgressHook pfnHook);
