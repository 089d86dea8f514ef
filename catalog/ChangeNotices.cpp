#include "catalog/ChangeNotices.h"

#include "store/CLogFile.h"

#include "platform/base/ChangeNotify.h"
#include "platform/base/TextFunctions.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace {

std::atomic<HWND> s_hNoticeWindow { nullptr };

// The record being filled: the old name of a rename waits here for its new
// name. Only the one directory watcher thread touches it, and StopDirWatch
// after that thread has ended.
DriverNotice* s_pPending = nullptr;

void Post(DriverNotice* pNotice)
{
    const HWND hWnd = GetNoticeWindow();
    if (hWnd == nullptr || !PostMessage(hWnd, WM_DRIVER_NOTICE, 0, reinterpret_cast<LPARAM>(pNotice)))
        std::free(pNotice);
}

bool IsDriveLetter(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool IsPathCharacter(char ch)
{
    return static_cast<unsigned char>(ch) >= 0x20 && ch != 0x7F;
}

} // namespace

void SetNoticeWindow(HWND hWnd)
{
    s_hNoticeWindow.store(hWnd);
}

HWND GetNoticeWindow()
{
    return s_hNoticeWindow.load();
}

UINT GetNotifyChangeMessage()
{
    static const UINT uMessage = RegisterWindowMessage("DSM Notify Change");
    return uMessage;
}

DWORD MapFileActionToNoticeKind(DWORD dwAction)
{
    switch (dwAction) {
    case FILE_ACTION_ADDED:
        return NOTICE_CREATED;
    case FILE_ACTION_REMOVED:
        return NOTICE_REMOVED;
    case FILE_ACTION_MODIFIED:
        return NOTICE_MODIFIED;
    case FILE_ACTION_RENAMED_OLD_NAME:
    case FILE_ACTION_RENAMED_NEW_NAME:
        return NOTICE_RENAMED;
    default:
        return NOTICE_UNKNOWN;
    }
}

int DirWatchCallback(LPCWSTR pszPath, DWORD dwAction)
{
    if (s_pPending == nullptr) {
        s_pPending = static_cast<DriverNotice*>(std::malloc(sizeof(DriverNotice)));
        if (s_pPending == nullptr)
            return 0;
        s_pPending->dwReserved = 0;
        s_pPending->szPath[0] = 0;
        s_pPending->szSecondPath[0] = 0;
    }
    s_pPending->dwKind = MapFileActionToNoticeKind(dwAction);
    const std::string strPath = Utf8FromUtf16(pszPath != nullptr ? std::u16string_view(pszPath) : u"");
    if (strPath.size() >= NOTICE_PATH_SIZE) {
        if (g_log.IsTracing(LOG_SENTINEL))
            g_log.Printf("Monitor: a notice path of %zu bytes left out: %.200s...\n", strPath.size(), strPath.c_str());
        return 1;
    }
    if (dwAction == FILE_ACTION_RENAMED_OLD_NAME) {
        std::memcpy(s_pPending->szSecondPath, strPath.c_str(), strPath.size() + 1);
        return 1;
    }
    std::memcpy(s_pPending->szPath, strPath.c_str(), strPath.size() + 1);
    Post(std::exchange(s_pPending, nullptr));
    return 1;
}

void DiscardPendingNotice()
{
    std::free(std::exchange(s_pPending, nullptr));
}

void FolderWatchCallback(int nIndex)
{
    const HWND hWnd = GetNoticeWindow();
    if (hWnd != nullptr)
        PostMessage(hWnd, GetNotifyChangeMessage(), 0, nIndex);
}

BOOL ParseDriveSpec(LPCTSTR pszPath)
{
    const std::string_view strPath(pszPath != nullptr ? pszPath : "");
    if (strPath.size() < 4)
        return FALSE;
    size_t nStart = 0;
    if (strPath.starts_with("\\\\"))
        nStart = 2;
    else if (IsDriveLetter(strPath[0]) && strPath[1] == ':' && strPath[2] == '\\')
        nStart = 3;
    else
        return FALSE;
    // Every component named (a folder's one trailing backslash aside), none
    // "." or "..", no control character.
    for (size_t nPos = nStart; nPos < strPath.size();) {
        const size_t nEnd = std::min(strPath.find('\\', nPos), strPath.size());
        const std::string_view strComponent = strPath.substr(nPos, nEnd - nPos);
        if (strComponent.empty() || strComponent == "." || strComponent == "..")
            return FALSE;
        if (!std::all_of(strComponent.begin(), strComponent.end(), IsPathCharacter))
            return FALSE;
        nPos = nEnd + 1;
    }
    return TRUE;
}
