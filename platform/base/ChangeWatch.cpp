// The change engine: watched trees on inotify and the thread that reads them.
//
// One inotify instance serves every tree of the process: the system allows a
// user few instances (128 by default) and every program of the user shares
// them, so a tree of its own each would soon leave a busy desktop, or many
// programs at once, with no instance at all. Where none can be had, a tree is
// polled as a whole, as a network tree is. Two trees over one folder share its
// watch (the kernel gives one watch per folder and instance): the engine counts
// a watch's trees and removes it with the last, and each tree takes from an
// event what its own map and filter want.
//
// Threads: a tree is built on the thread that asks for it (so a missing or
// unreadable folder fails the call itself), then handed to the engine thread,
// which alone reads its watches, polls it and changes it from then on. Rescan
// requests from other threads only set a time and wake the engine. A tree is
// built and handed over under the dispatch lock, under which alone the engine
// reads events: an event of a new watch always finds its tree.
//
// Invariants of a tree, kept by the engine thread:
//   1. m_wdToPath and m_pathToWd are inverse maps of the folders with a watch;
//   2. a folder of the tree is either watched, polled (in m_polled), or not
//      reached (a mount point of another drive, a link, an unreadable folder);
//   3. every watch counts once in the engine's watch total (for the cap), and
//      once among its users in the engine's watch table.

#include "platform/base/ChangeWatch.h"

#include "platform/base/ChangeNotify.h"
#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/TrashFolders.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_set>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::int64_t RESCAN_MARGIN_NS
    = 2'000'000'000; // changes this long before the queue was last seen empty count too
constexpr int MAX_WALK_DEPTH = 256;

std::int64_t SteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string JoinRelative(const std::string& strFolder, const std::string& strName)
{
    return strFolder.empty() ? strName : strFolder + "\\" + strName;
}

std::string HostOf(const std::string& strRoot, const std::string& strRelative)
{
    if (strRelative.empty())
        return strRoot;
    std::string strPath = strRelative;
    std::replace(strPath.begin(), strPath.end(), '\\', '/');
    return JoinHostPath(strRoot, strPath);
}

// Whether a host path is a trash, whose items show only in the recycle folder.
bool IsTrashPath(const std::string& strHostPath)
{
    const size_t nSlash = strHostPath.rfind('/');
    return nSlash != std::string::npos && nSlash + 1 < strHostPath.size()
        && IsTrashFolder(nSlash == 0 ? std::string("/") : strHostPath.substr(0, nSlash),
            std::string_view(strHostPath).substr(nSlash + 1));
}

bool IsBelow(const std::string& strPath, const std::string& strFolder)
{
    return strPath.size() > strFolder.size() && strPath.compare(0, strFolder.size(), strFolder) == 0
        && strPath[strFolder.size()] == '\\';
}

std::int64_t ChangeTimeOf(const struct stat& info)
{
    return static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec;
}

class CWatchTree;

/******************************************************************************
 * The engine
 ******************************************************************************/

class CChangeEngine {
public:
    static CChangeEngine& Instance()
    {
        static auto* pEngine = new CChangeEngine; // lives as long as the process: its thread never ends
        return *pEngine;
    }

    // Builds a tree and hands it to the engine thread; false with the last error set.
    bool Add(const std::shared_ptr<CWatchTree>& pTree);
    void Wake()
    {
        std::uint64_t nOne = 1;
        static_cast<void>(write(m_fdWake, &nOne, sizeof nOne) == sizeof nOne);
    }

    // Watch accounting for the cap; both may be called on any thread.
    bool TakeWatch()
    {
        std::lock_guard lock(m_mutex);
        if (m_nWatchCap && m_nWatches >= m_nWatchCap)
            return false;
        ++m_nWatches;
        return true;
    }
    void GiveBackWatch()
    {
        std::lock_guard lock(m_mutex);
        if (m_nWatches)
            --m_nWatches;
    }

    // The shared instance's watches, on any thread. AddWatch widens a
    // folder's watch to the mask and counts the caller among its users (the
    // watch descriptor, or -1 with errno set); ReleaseWatch removes the watch
    // with its last user.
    bool HasInstance();
    int AddWatch(const std::string& strHostPath, uint32_t nMask);
    void ReleaseWatch(int wd);

    std::atomic<bool> m_bHeld { false };
    std::atomic<size_t> m_nQueueBound { CHANGE_QUEUE_BOUND };
    std::atomic<DWORD> m_dwPollMs { CHANGE_POLL_MS };
    std::mutex m_mutex;
    size_t m_nWatchCap { 0 };

private:
    CChangeEngine()
        : m_fdWake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    {
        std::thread([this] { Run(); }).detach();
    }

    void Run();
    // Reads the instance's events and hands each to every tree.
    void ReadEvents(const std::vector<std::shared_ptr<CWatchTree>>& trees);

    int m_fdWake;
    int m_fdNotify { -1 };                         // the shared instance, made on first use; guarded by m_mutex
    std::map<int, size_t> m_watchUsers;            // trees using each watch; guarded by m_mutex
    std::mutex m_dispatchMutex;                    // held to read events, and to build and add a tree
    std::int64_t m_nDrainedNs { ChangeClockNs() }; // when a read last found the queue empty (engine thread)
    size_t m_nWatches { 0 };
    std::vector<std::weak_ptr<CWatchTree>> m_trees; // guarded by m_mutex; the engine thread drops dead ones
};

/******************************************************************************
 * A watched tree
 ******************************************************************************/

class CWatchTree
    : public CChangeSubscription
    , public std::enable_shared_from_this<CWatchTree> {
public:
    CWatchTree(std::string strRoot, bool bSubtree, DWORD dwFilter, std::weak_ptr<CChangeSink> pSink)
        : m_strRoot(std::move(strRoot))
        , m_bSubtree(bSubtree)
        , m_dwFilter(dwFilter)
        , m_pSink(std::move(pSink))
        , m_nStartNs(ChangeClockNs())
        , m_nLastPollNs(ChangeClockNs())
        , m_nNextPollMs(SteadyMs())
    {
    }

    ~CWatchTree() override
    {
        for (const auto& [wd, strPath] : m_wdToPath) {
            CChangeEngine::Instance().ReleaseWatch(wd);
            CChangeEngine::Instance().GiveBackWatch();
        }
    }

    // Builds the watches on the calling thread; false with the last error set.
    bool Start();

    void RequestRescan(std::int64_t nSinceNs) override
    {
        std::int64_t nOld = m_nRescanSinceNs.load();
        while ((nOld < 0 || nSinceNs < nOld) && !m_nRescanSinceNs.compare_exchange_weak(nOld, nSinceNs)) { }
        CChangeEngine::Instance().Wake();
    }

    /* On the engine thread. */

    bool SinkAlive() const { return !m_pSink.expired(); }
    // Takes an event of the shared instance: one of this tree's watches, or
    // another tree's, which it leaves alone. nNowMs is when it was read.
    void OnEvent(const inotify_event& event, std::int64_t nNowMs);
    // The kernel's queue overflowed: what changed since it was last found
    // empty (nDrainedNs) is looked for again.
    void OnOverflow(std::int64_t nDrainedNs);
    // Moves whose second half did not come, rescans asked for, polls due.
    void OnTimer();
    // When the engine must look again at the latest (steady ms); INT64_MAX for never.
    std::int64_t NextDeadlineMs() const;
    void Deliver();

private:
    struct CPendingMove {
        std::string strName; // relative
        bool bFolder;
        std::int64_t nDeadlineMs;
    };

    static constexpr uint32_t WATCH_MASK = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY
        | IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_DONT_FOLLOW;

    void Report(DWORD dwAction, const std::string& strName, bool bFolder);
    void ReportModified(const std::string& strName, uint32_t nMask);
    bool Wants(bool bFolder) const
    {
        return (m_dwFilter & (bFolder ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME)) != 0;
    }

    // Watches a folder and (in a subtree watch) the folders below it; with
    // bReport every entry found below it is reported ADDED.
    void AddWatches(const std::string& strRelative, bool bReport, int nDepth = 0);
    bool WatchOne(const std::string& strRelative);
    // Drops the watches of a folder and those below it.
    void DropWatches(const std::string& strRelative);
    // Renames the watched paths of a moved folder.
    void MoveWatches(const std::string& strFrom, const std::string& strTo);
    // Whether the walk may enter a folder (not a link, another drive's mount point or a pseudo one).
    bool MayEnter(const std::string& strHostPath, const struct stat& info) const;
    // Reports ADDED what changed at or after nSinceNs in a folder (and below,
    // when bDeep), making the watches its folders lack.
    void ScanChanged(const std::string& strRelative, std::int64_t nSinceNs, bool bDeep, int nDepth = 0);
    void Rescan(std::int64_t nSinceNs);
    void Poll();

    std::string m_strRoot;
    bool m_bSubtree;
    DWORD m_dwFilter;
    std::weak_ptr<CChangeSink> m_pSink;
    bool m_bPollAll { false }; // a tree of another machine, or with no instance to watch it: polled
    std::map<int, std::string> m_wdToPath;
    std::map<std::string, int> m_pathToWd;
    std::set<std::string> m_polled;
    std::set<std::string> m_otherDriveFolders; // host folders of the other drives, never entered
    dev_t m_rootDevice {};
    std::map<uint32_t, CPendingMove> m_moves; // by cookie
    std::vector<CChangeEntry> m_out;          // reported by the kernel
    std::vector<CChangeEntry> m_outScanned;   // found by a rescan or a poll
    // The file the kernel's last event wrote to, if it was a write: its close
    // changes nothing more, even when the write has been delivered already.
    std::string m_strLastWritten;
    bool m_bScanning { false };
    // During a rescan: the files m_out reports added (and not gone since),
    // which the rescan need not report again.
    std::unordered_set<std::string> m_reportedAdded;
    std::int64_t m_nStartNs; // when watching began: an overflow rescans no further back
    std::int64_t m_nLastPollNs;
    std::int64_t m_nNextPollMs;
    std::atomic<std::int64_t> m_nRescanSinceNs { -1 };
    bool m_bTracedPolling { false };
};

bool CWatchTree::Start()
{
    struct stat info { };
    if (stat(m_strRoot.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    m_rootDevice = info.st_dev;
    auto pTable = GetDriveTable();
    std::string strProgram = ProgramPathFromHostPath(m_strRoot);
    TCHAR chOwnDrive = strProgram.size() >= 2 && strProgram[1] == ':' ? strProgram[0] : TCHAR { 0 };
    for (TCHAR chLetter = 'A'; chLetter <= 'Z'; ++chLetter) {
        const CDrive* pDrive = pTable->GetDrive(chLetter);
        if (pDrive && chLetter != chOwnDrive)
            m_otherDriveFolders.insert(pDrive->strHostFolder);
    }
    // Other machines' changes reach no watch: such trees are polled.
    const CDrive* pOwn = chOwnDrive ? pTable->GetDrive(chOwnDrive) : nullptr;
    m_bPollAll = strProgram.starts_with("\\\\") || (pOwn && pOwn->uType == DRIVE_REMOTE);
    if (!m_bPollAll && !CChangeEngine::Instance().HasInstance()) {
        static std::atomic<bool> s_bTraced { false };
        if (!s_bTraced.exchange(true)) // traced once: later trees poll as quietly
            std::fprintf(
                stderr, "archivora: change notices: no inotify instance to be had: %s is polled\n", m_strRoot.c_str());
        m_bPollAll = true;
    }
    if (m_bPollAll)
        return true;
    AddWatches("", false);
    return true;
}

bool CWatchTree::MayEnter(const std::string& strHostPath, const struct stat& info) const
{
    if (!S_ISDIR(info.st_mode))
        return false;
    if (IsTrashPath(strHostPath))
        return false;
    if (info.st_dev == m_rootDevice)
        return true;
    return !m_otherDriveFolders.count(strHostPath) && !GetDriveTable()->IsHiddenMountPoint(strHostPath);
}

bool CWatchTree::WatchOne(const std::string& strRelative)
{
    if (m_pathToWd.count(strRelative))
        return true;
    if (!CChangeEngine::Instance().TakeWatch()) {
        m_polled.insert(strRelative);
        return true;
    }
    uint32_t nMask = WATCH_MASK | ((m_dwFilter & FILE_NOTIFY_CHANGE_LAST_ACCESS) ? IN_ACCESS : 0);
    int wd = CChangeEngine::Instance().AddWatch(HostOf(m_strRoot, strRelative), nMask);
    if (wd < 0) {
        CChangeEngine::Instance().GiveBackWatch();
        if (errno == ENOSPC) {
            m_polled.insert(strRelative); // the system's watch limit: polled instead
            return true;
        }
        return false; // unreadable or gone: skipped
    }
    // A folder reached by two paths (a bind mount) keeps its first.
    if (m_wdToPath.count(wd)) {
        CChangeEngine::Instance().ReleaseWatch(wd);
        CChangeEngine::Instance().GiveBackWatch();
        return false;
    }
    m_wdToPath[wd] = strRelative;
    m_pathToWd[strRelative] = wd;
    m_polled.erase(strRelative);
    return true;
}

void CWatchTree::AddWatches(const std::string& strRelative, bool bReport, int nDepth)
{
    if (!WatchOne(strRelative) || nDepth > MAX_WALK_DEPTH)
        return;
    if (!m_bSubtree && !bReport)
        return;
    std::string strHost = HostOf(m_strRoot, strRelative);
    DIR* pDir = opendir(strHost.c_str());
    if (!pDir)
        return;
    std::vector<std::string> folders;
    while (const dirent* pEntry = readdir(pDir)) {
        std::string_view name = pEntry->d_name;
        if (name == "." || name == "..")
            continue;
        std::string strChild = JoinRelative(strRelative, std::string(name));
        struct stat info { };
        bool bFolder = pEntry->d_type == DT_DIR;
        if (pEntry->d_type == DT_UNKNOWN && lstat(HostOf(m_strRoot, strChild).c_str(), &info) == 0)
            bFolder = S_ISDIR(info.st_mode);
        if (bFolder && IsTrashPath(HostOf(m_strRoot, strChild)))
            continue;
        if (bReport)
            Report(FILE_ACTION_ADDED, strChild, bFolder);
        if (bFolder && m_bSubtree && lstat(HostOf(m_strRoot, strChild).c_str(), &info) == 0
            && MayEnter(HostOf(m_strRoot, strChild), info))
            folders.push_back(strChild);
    }
    closedir(pDir);
    for (const std::string& strFolder : folders)
        AddWatches(strFolder, bReport, nDepth + 1);
    if (!m_bTracedPolling && !m_polled.empty()) {
        // Traced once: the watch limit is no failure, but polling costs time.
        m_bTracedPolling = true;
        std::fprintf(stderr, "archivora: change notices: %zu folders of %s are polled, %zu watched\n", m_polled.size(),
            m_strRoot.c_str(), m_wdToPath.size());
    }
}

void CWatchTree::DropWatches(const std::string& strRelative)
{
    for (auto it = m_pathToWd.begin(); it != m_pathToWd.end();) {
        if (it->first == strRelative || IsBelow(it->first, strRelative)) {
            CChangeEngine::Instance().ReleaseWatch(it->second);
            m_wdToPath.erase(it->second);
            CChangeEngine::Instance().GiveBackWatch();
            it = m_pathToWd.erase(it);
        } else {
            ++it;
        }
    }
    std::erase_if(
        m_polled, [&](const std::string& strPath) { return strPath == strRelative || IsBelow(strPath, strRelative); });
}

void CWatchTree::MoveWatches(const std::string& strFrom, const std::string& strTo)
{
    std::map<std::string, int> moved;
    for (auto it = m_pathToWd.begin(); it != m_pathToWd.end();) {
        if (it->first == strFrom || IsBelow(it->first, strFrom)) {
            std::string strNew = strTo + it->first.substr(strFrom.size());
            m_wdToPath[it->second] = strNew;
            moved[strNew] = it->second;
            it = m_pathToWd.erase(it);
        } else {
            ++it;
        }
    }
    m_pathToWd.insert(moved.begin(), moved.end());
}

void CWatchTree::Report(DWORD dwAction, const std::string& strName, bool bFolder)
{
    if (Wants(bFolder))
        (m_bScanning ? m_outScanned : m_out).push_back({ dwAction, strName });
}

void CWatchTree::ReportModified(const std::string& strName, uint32_t nMask)
{
    DWORD dwWanted = (nMask & (IN_MODIFY | IN_CLOSE_WRITE)) ? FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE
        : (nMask & IN_ATTRIB)
        ? FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY | FILE_NOTIFY_CHANGE_CREATION
        : FILE_NOTIFY_CHANGE_LAST_ACCESS;
    if (!(m_dwFilter & dwWanted))
        return;
    CChangeEntry entry { FILE_ACTION_MODIFIED, strName };
    if (m_out.empty() || !(m_out.back() == entry)) // repeats merge
        m_out.push_back(std::move(entry));
}

void CWatchTree::OnOverflow(std::int64_t nDrainedNs)
{
    Rescan(std::max(nDrainedNs, m_nStartNs) - RESCAN_MARGIN_NS);
}

void CWatchTree::OnEvent(const inotify_event& event, std::int64_t nNowMs)
{
    auto itFolder = m_wdToPath.find(event.wd);
    if (itFolder == m_wdToPath.end())
        return;
    std::string strFolder = itFolder->second;
    if (event.mask & IN_IGNORED) {
        m_pathToWd.erase(strFolder);
        m_wdToPath.erase(itFolder);
        CChangeEngine::Instance().GiveBackWatch();
        return;
    }
    if (!event.len)
        return; // events of the folder itself
    std::string strName = JoinRelative(strFolder, event.name);
    bool bFolder = (event.mask & IN_ISDIR) != 0;
    if (bFolder && IsTrashPath(HostOf(m_strRoot, strName)))
        return; // a trash made, moved or emptied: its items are the recycle folder's
    const bool bCloseAfterWrite
        = (event.mask & IN_CLOSE_WRITE) && !(event.mask & IN_MODIFY) && strName == m_strLastWritten;
    m_strLastWritten = (event.mask & IN_MODIFY) ? strName : std::string();
    if (event.mask & IN_CREATE) {
        Report(FILE_ACTION_ADDED, strName, bFolder);
        if (bFolder && m_bSubtree)
            AddWatches(strName, true); // made and filled at once: what it holds is new too
    } else if (event.mask & IN_MOVED_FROM) {
        m_moves[event.cookie] = CPendingMove { strName, bFolder, nNowMs + CHANGE_MOVE_PAIR_MS };
    } else if (event.mask & IN_MOVED_TO) {
        auto itMove = m_moves.find(event.cookie);
        if (itMove != m_moves.end()) {
            Report(FILE_ACTION_RENAMED_OLD_NAME, itMove->second.strName, bFolder);
            Report(FILE_ACTION_RENAMED_NEW_NAME, strName, bFolder);
            if (bFolder)
                MoveWatches(itMove->second.strName, strName);
            m_moves.erase(itMove);
        } else {
            Report(FILE_ACTION_ADDED, strName, bFolder);
            if (bFolder && m_bSubtree)
                AddWatches(strName, false); // moved in: watched, its contents not reported
        }
    } else if (event.mask & IN_DELETE) {
        Report(FILE_ACTION_REMOVED, strName, bFolder);
    } else if ((event.mask & (IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_ACCESS)) && !bCloseAfterWrite) {
        ReportModified(strName, event.mask);
    }
}

void CWatchTree::ScanChanged(const std::string& strRelative, std::int64_t nSinceNs, bool bDeep, int nDepth)
{
    std::string strHost = HostOf(m_strRoot, strRelative);
    DIR* pDir = opendir(strHost.c_str());
    if (!pDir || nDepth > MAX_WALK_DEPTH) {
        if (pDir)
            closedir(pDir);
        return;
    }
    std::vector<std::string> folders;
    while (const dirent* pEntry = readdir(pDir)) {
        std::string_view name = pEntry->d_name;
        if (name == "." || name == "..")
            continue;
        std::string strChild = JoinRelative(strRelative, std::string(name));
        if (pEntry->d_type == DT_REG && m_reportedAdded.contains(strChild))
            continue;
        std::string strChildHost = HostOf(m_strRoot, strChild);
        struct stat info { };
        if (lstat(strChildHost.c_str(), &info) != 0)
            continue;
        bool bFolder = S_ISDIR(info.st_mode);
        if (ChangeTimeOf(info) >= nSinceNs)
            Report(FILE_ACTION_ADDED, strChild, bFolder);
        if (bFolder && m_bSubtree && MayEnter(strChildHost, info)) {
            bool bKnown = m_pathToWd.count(strChild) || m_polled.count(strChild);
            if (!bKnown) {
                if (m_bPollAll)
                    m_polled.insert(strChild);
                else
                    WatchOne(strChild);
            }
            if (bDeep)
                folders.push_back(strChild);
        }
    }
    closedir(pDir);
    for (const std::string& strFolder : folders)
        ScanChanged(strFolder, nSinceNs, bDeep, nDepth + 1);
}

void CWatchTree::Rescan(std::int64_t nSinceNs)
{
    // After an overflow, the events read before it are reported already: a
    // burst's files then come once, not once from each.
    for (const CChangeEntry& entry : m_out) {
        if (entry.dwAction == FILE_ACTION_ADDED || entry.dwAction == FILE_ACTION_RENAMED_NEW_NAME)
            m_reportedAdded.insert(entry.strName);
        else if (entry.dwAction == FILE_ACTION_REMOVED || entry.dwAction == FILE_ACTION_RENAMED_OLD_NAME)
            m_reportedAdded.erase(entry.strName);
    }
    m_bScanning = true;
    ScanChanged("", nSinceNs, true);
    m_bScanning = false;
    m_reportedAdded.clear();
}

void CWatchTree::Poll()
{
    std::int64_t nSinceNs = m_nLastPollNs - RESCAN_MARGIN_NS;
    m_nLastPollNs = ChangeClockNs();
    m_bScanning = true;
    if (m_bPollAll) {
        ScanChanged("", nSinceNs, true);
    } else {
        std::vector<std::string> polled(m_polled.begin(), m_polled.end());
        for (const std::string& strFolder : polled)
            ScanChanged(strFolder, nSinceNs, false);
    }
    m_bScanning = false;
}

void CWatchTree::OnTimer()
{
    std::int64_t nNowMs = SteadyMs();
    for (auto it = m_moves.begin(); it != m_moves.end();) {
        if (it->second.nDeadlineMs > nNowMs) {
            ++it;
            continue;
        }
        // Its second half never came: it left the tree.
        Report(FILE_ACTION_REMOVED, it->second.strName, it->second.bFolder);
        if (it->second.bFolder)
            DropWatches(it->second.strName);
        it = m_moves.erase(it);
    }
    std::int64_t nSince = m_nRescanSinceNs.exchange(-1);
    if (nSince >= 0)
        Rescan(nSince);
    if ((m_bPollAll || !m_polled.empty()) && nNowMs >= m_nNextPollMs) {
        m_nNextPollMs = nNowMs + CChangeEngine::Instance().m_dwPollMs.load();
        Poll();
    } else if (!m_bPollAll && m_polled.empty()) {
        m_nNextPollMs = nNowMs + CChangeEngine::Instance().m_dwPollMs.load();
    }
}

std::int64_t CWatchTree::NextDeadlineMs() const
{
    std::int64_t nNext = INT64_MAX;
    for (const auto& [nCookie, move] : m_moves)
        nNext = std::min(nNext, move.nDeadlineMs);
    if (m_bPollAll || !m_polled.empty())
        nNext = std::min(nNext, m_nNextPollMs);
    if (m_nRescanSinceNs.load() >= 0)
        nNext = 0;
    return nNext;
}

void CWatchTree::Deliver()
{
    std::vector<CChangeEntry> reported;
    std::vector<CChangeEntry> scanned;
    reported.swap(m_out);
    scanned.swap(m_outScanned);
    std::shared_ptr<CChangeSink> pSink = m_pSink.lock();
    if (pSink && !reported.empty())
        pSink->OnChanges(reported, false);
    if (pSink && !scanned.empty())
        pSink->OnChanges(scanned, true);
}

/******************************************************************************
 * The engine's loop
 ******************************************************************************/

bool CChangeEngine::HasInstance()
{
    std::lock_guard lock(m_mutex);
    if (m_fdNotify < 0) {
        m_fdNotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fdNotify >= 0)
            Wake(); // the engine waits on it from now on
    }
    return m_fdNotify >= 0;
}

int CChangeEngine::AddWatch(const std::string& strHostPath, uint32_t nMask)
{
    std::lock_guard lock(m_mutex);
    if (m_fdNotify < 0) {
        errno = EMFILE;
        return -1;
    }
    int wd = inotify_add_watch(m_fdNotify, strHostPath.c_str(), nMask | IN_MASK_ADD);
    if (wd >= 0)
        ++m_watchUsers[wd];
    return wd;
}

void CChangeEngine::ReleaseWatch(int wd)
{
    std::lock_guard lock(m_mutex);
    auto it = m_watchUsers.find(wd);
    if (it == m_watchUsers.end() || --it->second > 0)
        return;
    m_watchUsers.erase(it);
    inotify_rm_watch(m_fdNotify, wd);
}

bool CChangeEngine::Add(const std::shared_ptr<CWatchTree>& pTree)
{
    {
        std::lock_guard dispatch(m_dispatchMutex);
        if (!pTree->Start())
            return false;
        std::lock_guard lock(m_mutex);
        m_trees.push_back(pTree);
    }
    Wake();
    return true;
}

void CChangeEngine::ReadEvents(const std::vector<std::shared_ptr<CWatchTree>>& trees)
{
    int fd = -1;
    {
        std::lock_guard lock(m_mutex);
        fd = m_fdNotify;
    }
    if (fd < 0)
        return;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        // Every event still queued, the ones an overflow lost among them, came
        // after the last read that found the queue empty: the time of reading
        // an event says nothing of when it happened.
        const std::int64_t nBeforeReadNs = ChangeClockNs();
        ssize_t nRead = read(fd, buffer, sizeof buffer);
        if (nRead <= 0) {
            m_nDrainedNs = nBeforeReadNs;
            return;
        }
        std::int64_t nNowMs = SteadyMs();
        for (ssize_t nPos = 0; nPos < nRead;) {
            const auto* pEvent = reinterpret_cast<const inotify_event*>(buffer + nPos);
            nPos += static_cast<ssize_t>(sizeof(inotify_event) + pEvent->len);
            if (pEvent->mask & IN_Q_OVERFLOW) {
                for (const auto& pTree : trees)
                    pTree->OnOverflow(m_nDrainedNs);
                continue;
            }
            if (pEvent->mask & IN_IGNORED) {
                // The kernel dropped the watch (its folder is gone): for every tree at once.
                std::lock_guard lock(m_mutex);
                m_watchUsers.erase(pEvent->wd);
            }
            for (const auto& pTree : trees)
                pTree->OnEvent(*pEvent, nNowMs);
        }
    }
}

void CChangeEngine::Run()
{
    for (;;) {
        // A tree is never let go under the lock: its last holder destroys it,
        // and the destructor gives its watches back under that lock.
        std::vector<std::shared_ptr<CWatchTree>> trees;
        int fdNotify = -1;
        {
            std::lock_guard lock(m_mutex);
            std::erase_if(m_trees, [](const std::weak_ptr<CWatchTree>& pTree) { return pTree.expired(); });
            for (const auto& pWeak : m_trees) {
                if (auto pTree = pWeak.lock())
                    trees.push_back(std::move(pTree));
            }
            fdNotify = m_fdNotify;
        }
        std::int64_t nNextMs = INT64_MAX;
        for (const auto& pTree : trees) {
            if (pTree->SinkAlive())
                nNextMs = std::min(nNextMs, pTree->NextDeadlineMs());
        }
        // The trees are let go while waiting, so a closed handle's tree goes at once.
        trees.clear();
        bool bHeld = m_bHeld.load();
        std::vector<pollfd> fds { { m_fdWake, POLLIN, 0 } };
        if (!bHeld && fdNotify >= 0)
            fds.push_back({ fdNotify, POLLIN, 0 });
        int nTimeout = bHeld || nNextMs == INT64_MAX
            ? -1
            : static_cast<int>(std::clamp<std::int64_t>(nNextMs - SteadyMs(), 0, 60'000));
        poll(fds.data(), fds.size(), nTimeout);
        std::uint64_t nCount = 0;
        static_cast<void>(read(m_fdWake, &nCount, sizeof nCount));
        if (m_bHeld.load())
            continue;
        {
            std::lock_guard dispatch(m_dispatchMutex);
            {
                std::lock_guard lock(m_mutex);
                for (const auto& pWeak : m_trees) {
                    if (auto pTree = pWeak.lock())
                        trees.push_back(std::move(pTree));
                }
            }
            ReadEvents(trees);
            for (const auto& pTree : trees)
                pTree->OnTimer();
        }
        // Outside the dispatch lock: a sink may be starting a tree of its own meanwhile.
        for (const auto& pTree : trees)
            pTree->Deliver();
    }
}

} // namespace

std::shared_ptr<CChangeSubscription> WatchHostFolder(
    const std::string& strHostFolder, bool bSubtree, DWORD dwFilter, std::weak_ptr<CChangeSink> pSink)
{
    auto pTree = std::make_shared<CWatchTree>(NormalHostPath(strHostFolder), bSubtree, dwFilter, std::move(pSink));
    if (!CChangeEngine::Instance().Add(pTree))
        return nullptr;
    return pTree;
}

std::int64_t ChangeClockNs()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

size_t ChangeQueueBound()
{
    return CChangeEngine::Instance().m_nQueueBound.load();
}

bool HoldChangeEngine(bool bHold)
{
    bool bOld = CChangeEngine::Instance().m_bHeld.exchange(bHold);
    CChangeEngine::Instance().Wake();
    return bOld;
}

size_t SetChangeWatchCap(size_t nCap)
{
    CChangeEngine& engine = CChangeEngine::Instance();
    std::lock_guard lock(engine.m_mutex);
    return std::exchange(engine.m_nWatchCap, nCap);
}

size_t SetChangeQueueBound(size_t nBound)
{
    return CChangeEngine::Instance().m_nQueueBound.exchange(nBound);
}

DWORD SetChangePollInterval(DWORD dwMilliseconds)
{
    DWORD dwOld = CChangeEngine::Instance().m_dwPollMs.exchange(dwMilliseconds);
    CChangeEngine::Instance().Wake();
    return dwOld;
}
