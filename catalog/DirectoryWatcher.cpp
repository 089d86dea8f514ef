#include "catalog/DirectoryWatcher.h"

#include "catalog/ChangeNotices.h"

#include "store/CCatalog.h"
#include "store/CLogFile.h"
#include "store/CMailStoreRec.h"

#include "platform/base/ChangeNotify.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/FileHandle.h"
#include "platform/base/FolderListing.h"
#include "platform/base/IoCompletionPort.h"
#include "platform/base/SyncObjects.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Threads.h"
#include "platform/base/Volumes.h"
#include "platform/base/Wait.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <string_view>

namespace {

// What the thread reads: file and folder names, nothing about writes.
constexpr DWORD WATCH_FILTER = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
constexpr DWORD READ_BUFFER_BYTES = 64 * 1024;
// The completion key of the packet that ends the thread; folders use their index.
constexpr ULONG_PTR STOP_KEY = ~ULONG_PTR { 0 };
// How deep the files of a folder that appeared are reported.
constexpr int MAX_REPORT_DEPTH = 64;

struct CWatchedFolder {
    HANDLE hFolder { INVALID_HANDLE_VALUE };
    std::u16string strPrefix; // the folder's program path with its backslash
    std::vector<DWORD> buffer = std::vector<DWORD>(READ_BUFFER_BYTES / sizeof(DWORD));
    OVERLAPPED overlapped {};
    bool bReading { false };
};

struct CDirWatcher {
    std::vector<std::unique_ptr<CWatchedFolder>> folders;
    HANDLE hPort { nullptr };
    HANDLE hThread { nullptr };
    DIRWATCHCALLBACK pfnCallback { nullptr };
    std::atomic<bool> bSuspended { true };
};

CDirWatcher* s_pWatcher = nullptr;

void Trace(const char* pszText, const std::string& strDetail)
{
    if (g_log.IsTracing(LOG_SENTINEL))
        g_log.Printf("Watcher: %s %s\n", pszText, strDetail.c_str());
}

bool Issue(CWatchedFolder& folder)
{
    folder.overlapped = {};
    folder.bReading = ReadDirectoryChangesW(folder.hFolder, folder.buffer.data(), READ_BUFFER_BYTES, TRUE, WATCH_FILTER,
                          nullptr, &folder.overlapped, nullptr)
        != FALSE;
    return folder.bReading;
}

// Calls back ADDED for the files below a folder that appeared: a folder moved
// in is reported alone, and its files would never be seen otherwise. Files
// reported twice (the engine reports those of a folder made in place) are
// dropped by the monitor as queued already.
void ReportFolderContents(DIRWATCHCALLBACK pfnCallback, const std::string& strFolder, int nDepth)
{
    std::vector<CFolderEntry> entries;
    if (nDepth >= MAX_REPORT_DEPTH || !ListFolderEntries(strFolder.c_str(), entries))
        return;
    for (const CFolderEntry& entry : entries) {
        const std::string strPath = strFolder + "\\" + entry.strName;
        if ((entry.dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            continue;
        if ((entry.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            pfnCallback(Utf16FromUtf8(strPath).c_str(), FILE_ACTION_ADDED);
            ReportFolderContents(pfnCallback, strPath, nDepth + 1);
        } else if ((entry.dwAttributes & FILE_ATTRIBUTE_ARCHIVE) != 0) {
            pfnCallback(Utf16FromUtf8(strPath).c_str(), FILE_ACTION_ADDED);
        }
    }
}

// Calls back for each entry of a finished read.
void Deliver(CDirWatcher& watcher, const CWatchedFolder& folder, DWORD nBytes)
{
    const auto* pBuffer = reinterpret_cast<const BYTE*>(folder.buffer.data());
    std::u16string strPath;
    constexpr size_t NAME_OFFSET = offsetof(FILE_NOTIFY_INFORMATION, FileName);
    for (DWORD nPos = 0; nPos + NAME_OFFSET <= nBytes;) {
        const auto* pEntry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(pBuffer + nPos);
        if (nPos + NAME_OFFSET + pEntry->FileNameLength > nBytes)
            break;
        strPath = folder.strPrefix;
        strPath.append(pEntry->FileName, pEntry->FileNameLength / sizeof(WCHAR));
        if (!watcher.bSuspended.load()) {
            watcher.pfnCallback(strPath.c_str(), pEntry->Action);
            if (pEntry->Action == FILE_ACTION_ADDED) {
                const std::string strUtf8 = Utf8FromUtf16(strPath);
                const DWORD dwAttributes = GetFileAttributes(strUtf8.c_str());
                if (dwAttributes != INVALID_FILE_ATTRIBUTES
                    && (dwAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
                        == FILE_ATTRIBUTE_DIRECTORY)
                    ReportFolderContents(watcher.pfnCallback, strUtf8, 0);
            }
        }
        if (pEntry->NextEntryOffset == 0)
            break;
        nPos += pEntry->NextEntryOffset;
    }
}

DWORD WatchThread(LPVOID pParameter)
{
    auto& watcher = *static_cast<CDirWatcher*>(pParameter);
    for (;;) {
        DWORD nBytes = 0;
        ULONG_PTR nKey = 0;
        LPOVERLAPPED pOverlapped = nullptr;
        const BOOL bDone = GetQueuedCompletionStatus(watcher.hPort, &nBytes, &nKey, &pOverlapped, INFINITE);
        if (nKey == STOP_KEY)
            return 0;
        if (pOverlapped == nullptr || nKey >= watcher.folders.size())
            continue;
        CWatchedFolder& folder = *watcher.folders[nKey];
        folder.bReading = false;
        if (!bDone) {
            const DWORD dwError = GetLastError();
            if (dwError == ERROR_OPERATION_ABORTED)
                continue; // the folder was closed
            // An entry too large for the buffer: the engine rescans and reports again.
            Trace(dwError == ERROR_NOTIFY_ENUM_DIR ? "changes overflowed in" : "a read failed in",
                Utf8FromUtf16(folder.strPrefix));
        } else {
            Deliver(watcher, folder, nBytes);
        }
        if (!Issue(folder))
            Trace("stops reading", Utf8FromUtf16(folder.strPrefix));
    }
}

bool IsAtOrBelow(std::string_view strPath, std::string_view strFolder)
{
    return strPath.size() >= strFolder.size() && Utf8CompareNoCase(strPath.substr(0, strFolder.size()), strFolder) == 0;
}

} // namespace

std::vector<CString> CollectWatchedFolders(CCatalog* pCatalog)
{
    std::vector<CString> candidates;
    const LONG nPlaces = pCatalog->GetPlaceChoice();
    if (nPlaces & CCatalog::PLACE_LOCAL_DISK) {
        for (const std::string& strFolder : GetFixedDriveFolders())
            candidates.emplace_back(strFolder.c_str());
    }
    int nIterator = pCatalog->GetLocationCount();
    for (CString strKey; pCatalog->NextLocation(&nIterator, strKey);) {
        if (pCatalog->GetLocationKind(strKey) != LOCATION_NETWORK)
            continue;
        if (strKey.IsEmpty() || strKey[strKey.GetLength() - 1] != '\\')
            strKey += '\\';
        candidates.push_back(strKey);
    }
    std::vector<CString> folders;
    for (const CString& strCandidate : candidates) {
        const bool bCovered = std::any_of(folders.begin(), folders.end(),
            [&](const CString& strFolder) { return IsAtOrBelow(LPCTSTR(strCandidate), LPCTSTR(strFolder)); });
        if (!bCovered && folders.size() < MAX_WATCHED_FOLDERS)
            folders.push_back(strCandidate);
    }
    return folders;
}

int OpenWatchedDrives(const std::vector<CString>& folders)
{
    if (s_pWatcher != nullptr)
        return 0;
    auto pWatcher = std::make_unique<CDirWatcher>();
    pWatcher->hPort = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    if (pWatcher->hPort == nullptr)
        return 0;
    for (const CString& strFolder : folders) {
        if (pWatcher->folders.size() >= MAX_WATCHED_FOLDERS)
            break;
        auto pFolder = std::make_unique<CWatchedFolder>();
        pFolder->hFolder
            = CreateFile(strFolder, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        if (pFolder->hFolder == INVALID_HANDLE_VALUE
            || CreateIoCompletionPort(pFolder->hFolder, pWatcher->hPort, pWatcher->folders.size(), 0) == nullptr) {
            Trace("cannot watch", LPCTSTR(strFolder));
            if (pFolder->hFolder != INVALID_HANDLE_VALUE)
                CloseHandle(pFolder->hFolder);
            continue;
        }
        std::string strPrefix(strFolder);
        if (strPrefix.empty() || strPrefix.back() != '\\')
            strPrefix += '\\';
        pFolder->strPrefix = Utf16FromUtf8(strPrefix);
        pWatcher->folders.push_back(std::move(pFolder));
    }
    if (pWatcher->folders.empty()) {
        CloseHandle(pWatcher->hPort);
        return 0;
    }
    s_pWatcher = pWatcher.release();
    return static_cast<int>(s_pWatcher->folders.size());
}

HANDLE StartDirWatchThread(DIRWATCHCALLBACK pfnCallback)
{
    if (s_pWatcher == nullptr || s_pWatcher->hThread != nullptr || pfnCallback == nullptr)
        return INVALID_HANDLE_VALUE;
    s_pWatcher->pfnCallback = pfnCallback;
    s_pWatcher->bSuspended = true;
    // The reads start before the thread, so that nothing made from now on is missed.
    for (const auto& pFolder : s_pWatcher->folders) {
        if (!Issue(*pFolder))
            Trace("cannot read", Utf8FromUtf16(pFolder->strPrefix));
    }
    s_pWatcher->hThread = CreateThread(nullptr, 0, WatchThread, s_pWatcher, 0, nullptr);
    return s_pWatcher->hThread != nullptr ? s_pWatcher->hThread : INVALID_HANDLE_VALUE;
}

int ResumeDirWatch()
{
    if (s_pWatcher == nullptr || s_pWatcher->hThread == nullptr)
        return -1;
    s_pWatcher->bSuspended = false;
    return 0;
}

int SuspendDirWatch()
{
    if (s_pWatcher == nullptr || s_pWatcher->hThread == nullptr)
        return -1;
    s_pWatcher->bSuspended = true;
    return 0;
}

void KillDirWatchThread()
{
    if (s_pWatcher == nullptr || s_pWatcher->hThread == nullptr)
        return;
    PostQueuedCompletionStatus(s_pWatcher->hPort, 0, STOP_KEY, nullptr);
    WaitForSingleObject(s_pWatcher->hThread, INFINITE);
    CloseHandle(s_pWatcher->hThread);
    s_pWatcher->hThread = nullptr;
}

void StopDirWatch()
{
    if (s_pWatcher == nullptr)
        return;
    KillDirWatchThread();
    for (const auto& pFolder : s_pWatcher->folders)
        CloseHandle(pFolder->hFolder);
    CloseHandle(s_pWatcher->hPort);
    delete std::exchange(s_pWatcher, nullptr);
    DiscardPendingNotice();
}
