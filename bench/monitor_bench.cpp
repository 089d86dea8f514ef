// Figures for the new-document monitor: how long a burst of new files takes
// to reach its queue, against a plain inotify reader on the same burst in the
// same run. Three bursts: 10 files in each of 1 000 new folders, 10 000 files
// in one folder, and more files in one folder than the kernel's queue holds
// while nothing reads it (the rescan that follows an overflow). The writer
// runs on a thread of its own while the reader waits for the last file; each
// burst goes into a fresh folder of a tree that drive T: stands for, and the
// monitor's queue is checked for exactly one notice per file once it was
// announced. Each burst runs three times for either reader, side by side; the
// ratio is the median of the runs' ratios. Prints "name: value" lines.

#include "bench/BenchTiming.h"
#include "monitor/CNewDocMonitor.h"
#include "store/CCatalog.h"
#include "store/CMailStoreRec.h"
#include "tests/support/ScratchFolder.h"

#include "platform/base/ChangeNotify.h"
#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/CWinThread.h"
#include "platform/window/MessageQueue.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr auto WAIT_LIMIT = std::chrono::seconds(180);

// One burst: where it goes and how its files are made.
struct CBurst {
    const char* pszName;
    int nFolders;        // 0: the files go straight into the burst's folder
    int nFilesPerFolder; // or the files of that one folder
};

// Makes the burst's files below folder: one new folder after the other, or all in folder itself.
void WriteBurst(const fs::path& folder, const CBurst& burst)
{
    if (burst.nFolders == 0) {
        for (int f = 0; f < burst.nFilesPerFolder; ++f)
            std::ofstream(folder / ("note" + std::to_string(f) + ".txt")) << f;
        return;
    }
    for (int d = 0; d < burst.nFolders; ++d) {
        const fs::path sub = folder / ("d" + std::to_string(d));
        fs::create_directory(sub);
        for (int f = 0; f < burst.nFilesPerFolder; ++f)
            std::ofstream(sub / ("note" + std::to_string(f) + ".txt")) << f;
    }
}

int FileCount(const CBurst& burst)
{
    return (burst.nFolders == 0 ? 1 : burst.nFolders) * burst.nFilesPerFolder;
}

/******************************************************************************
 * The floor: a plain inotify reader
 ******************************************************************************/

// Reads one folder tree's new files from inotify: every folder that appears
// is watched and listed, and an overflow lists the whole tree again.
class CPlainReader {
public:
    explicit CPlainReader(const fs::path& root)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        Watch(root);
    }
    ~CPlainReader()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    CPlainReader(const CPlainReader&) = delete;
    CPlainReader& operator=(const CPlainReader&) = delete;

    // Reads what is queued; the number of distinct files seen so far.
    size_t Read()
    {
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t nRead = read(m_fd, buffer, sizeof(buffer));
            if (nRead <= 0)
                return m_files.size();
            for (ssize_t nAt = 0; nAt < nRead;) {
                const auto* pEvent = reinterpret_cast<const inotify_event*>(buffer + nAt);
                nAt += static_cast<ssize_t>(sizeof(inotify_event) + pEvent->len);
                if (pEvent->mask & IN_Q_OVERFLOW) {
                    for (const auto& [wd, folder] : m_folders)
                        List(folder);
                    continue;
                }
                const auto it = m_folders.find(pEvent->wd);
                if (it == m_folders.end() || pEvent->len == 0)
                    continue;
                const fs::path path = it->second / pEvent->name;
                if (pEvent->mask & IN_ISDIR)
                    Watch(path);
                else
                    m_files.insert(path.string());
            }
        }
    }

private:
    void Watch(const fs::path& folder)
    {
        const int wd = inotify_add_watch(m_fd, folder.c_str(), IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);
        if (wd < 0)
            return;
        m_folders[wd] = folder;
        List(folder); // what came before the watch
    }
    void List(const fs::path& folder)
    {
        std::error_code ec;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
            if (entry.is_directory(ec)) {
                if (!IsWatched(entry.path()))
                    Watch(entry.path());
            } else {
                m_files.insert(entry.path().string());
            }
        }
    }
    bool IsWatched(const fs::path& folder) const
    {
        for (const auto& [wd, watched] : m_folders) {
            if (watched == folder)
                return true;
        }
        return false;
    }

    int m_fd;
    std::map<int, fs::path> m_folders;
    std::set<std::string> m_files;
};

// Waits until the reader has seen every file; the milliseconds from start, -1 past the limit.
double WaitPlain(CPlainReader& reader, size_t nFiles, std::chrono::steady_clock::time_point start)
{
    while (reader.Read() < nFiles) {
        if (std::chrono::steady_clock::now() - start > WAIT_LIMIT)
            return -1;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

/******************************************************************************
 * The monitor
 ******************************************************************************/

void PumpMessages()
{
    MSG msg {};
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

void PumpFor(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        PumpMessages();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

// Pumps until done() holds; FALSE past the limit.
BOOL PumpUntil(const std::function<bool()>& done, std::chrono::steady_clock::time_point start)
{
    for (;;) {
        PumpMessages();
        if (done())
            return TRUE;
        if (std::chrono::steady_clock::now() - start > WAIT_LIMIT)
            return FALSE;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

// The queue's paths once announced: how many, and how many distinct.
std::pair<size_t, size_t> Announced(const CNewDocMonitor& monitor)
{
    std::set<std::string> paths;
    for (const CNewDocNotice& notice : monitor.GetNotices())
        paths.insert(Utf8ToLower(std::string_view(notice.GetPath())));
    return { monitor.GetNotices().size(), paths.size() };
}

// Times the monitor on one burst into a fresh folder: the milliseconds until
// every file is queued (-1 past the limit). With bOverflow the files are made
// while nothing reads the kernel's queue, and the time runs from when reading
// starts again. *pnAnnounced and *pnDistinct, when given, receive the queue's
// notices once announced and how many of them are distinct.
double TimeMonitor(CCatalog& catalog, const fs::path& folder, const CBurst& burst, bool bOverflow,
    size_t* pnAnnounced = nullptr, size_t* pnDistinct = nullptr)
{
    const size_t nFiles = static_cast<size_t>(FileCount(burst));
    CNewDocMonitor monitor(&catalog);
    if (!monitor.Start() || !monitor.EnableMonitor(TRUE)) {
        std::fprintf(stderr, "monitor_bench: the monitor did not start\n");
        return -1;
    }
    fs::create_directory(folder);
    PumpFor(std::chrono::milliseconds(100)); // the folder's own notice
    const auto queued = [&] { return monitor.GetNotices().size() >= nFiles; };
    double dMs = -1;
    if (bOverflow) {
        HoldChangeEngine(true);
        WriteBurst(folder, burst);
        const auto start = std::chrono::steady_clock::now();
        HoldChangeEngine(false);
        if (PumpUntil(queued, start))
            dMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    } else {
        const auto start = std::chrono::steady_clock::now();
        std::thread writer([&] { WriteBurst(folder, burst); });
        if (PumpUntil(queued, start))
            dMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        writer.join();
    }
    if (pnAnnounced) {
        // Announced after the drain's delay: one notice per file, none twice.
        PumpUntil(
            [&] {
                return monitor.GetAnnouncedCount() > 0
                    && monitor.GetAnnouncedCount() >= static_cast<int>(monitor.GetNotices().size());
            },
            std::chrono::steady_clock::now());
        std::tie(*pnAnnounced, *pnDistinct) = Announced(monitor);
    }
    monitor.Stop();
    fs::remove_all(folder); // an overflow's rescan of the tree must find only its own burst
    return dMs;
}

// The same for the plain inotify reader.
double TimePlain(const fs::path& folder, const CBurst& burst, bool bOverflow)
{
    const size_t nFiles = static_cast<size_t>(FileCount(burst));
    fs::create_directory(folder);
    double dMs = -1;
    {
        CPlainReader reader(folder);
        if (bOverflow) {
            WriteBurst(folder, burst);
            dMs = WaitPlain(reader, nFiles, std::chrono::steady_clock::now());
        } else {
            const auto start = std::chrono::steady_clock::now();
            std::thread writer([&] { WriteBurst(folder, burst); });
            dMs = WaitPlain(reader, nFiles, start);
            writer.join();
        }
    }
    fs::remove_all(folder);
    return dMs;
}

} // namespace

int main()
{
    ScratchFolder scratch("archivora-monitor-bench-");
    if (!scratch.IsValid()) {
        std::fprintf(stderr, "monitor_bench: no scratch folder\n");
        return 1;
    }
    const fs::path& root = scratch.Path();
    fs::create_directories(root / "home");
    setenv("HOME", (root / "home").c_str(), 1);
    setenv("ARCHIVORA_HOME", (root / "home").c_str(), 1);
    const fs::path tree = root / "tree";
    fs::create_directories(tree);
    SetDriveOverride('T', tree.c_str(), DRIVE_FIXED);

    const CString strCatalog = ProgramPathFromHostPath((root / "archiv.cat").string()).c_str();
    if (!CCatalog::CreateFile(FALSE, strCatalog, 2048)) {
        std::fprintf(stderr, "monitor_bench: cannot create the catalog\n");
        return 1;
    }
    CCatalog catalog(strCatalog, 0);
    catalog.LoadExtensions("txt");
    // The catalog covers T: as a place of its own, which the monitor watches.
    const std::unique_ptr<CMailStoreRec> pPlace(catalog.AddMailStore(LOCATION_NETWORK, "t:\\"));
    // The main window holds the catalog open while it is shown.
    catalog.Acquire();
    CWinThread thread;
    AfxSetThread(&thread);

    size_t nLimit = 16384;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> nLimit;
    const CBurst bursts[] = {
        { "spread", 1000, 10 },
        { "one_folder", 0, 10000 },
        { "overflow", 0, static_cast<int>(nLimit) + 2000 },
    };
    constexpr int RUNS = 3;
    for (const CBurst& burst : bursts) {
        const bool bOverflow = std::string(burst.pszName) == "overflow";
        std::vector<double> monitorMs;
        std::vector<double> plainMs;
        size_t nAnnounced = 0;
        size_t nDistinct = 0;
        for (int nRun = 0; nRun < RUNS; ++nRun) {
            const std::string strRun = std::string(burst.pszName) + std::to_string(nRun);
            monitorMs.push_back(TimeMonitor(catalog, tree / (strRun + "-monitor"), burst, bOverflow,
                nRun == 0 ? &nAnnounced : nullptr, &nDistinct));
            plainMs.push_back(TimePlain(tree / (strRun + "-plain"), burst, bOverflow));
        }
        std::printf("%s_files: %d\n", burst.pszName, FileCount(burst));
        std::printf("%s_monitor_ms: %.1f\n", burst.pszName, Median(monitorMs));
        std::printf("%s_plain_inotify_ms: %.1f\n", burst.pszName, Median(plainMs));
        std::printf("%s_monitor_vs_plain: %.2f\n", burst.pszName, MedianRatio(monitorMs, plainMs));
        std::printf("%s_announced: %zu\n", burst.pszName, nAnnounced);
        std::printf("%s_duplicates: %zu\n", burst.pszName, nAnnounced - nDistinct);
    }
    std::printf("kernel_queue_limit: %zu\n", nLimit);
    AfxSetThread(nullptr);
    catalog.Release();
    return 0;
}
