#include "platform/base/ChangeNotify.h"

#include "platform/base/FileHandle.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Wait.h"
#include "tests/platform/base/DriveFolderFixture.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/WaitUntil.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <thread>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

using Entry = std::pair<DWORD, std::string>;
using Entries = std::vector<Entry>;

Entries Parse(const BYTE* pBuffer, DWORD nBytes)
{
    Entries entries;
    for (DWORD nPos = 0; nBytes && nPos < nBytes;) {
        const auto* pEntry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(pBuffer + nPos);
        std::u16string name(pEntry->FileName, pEntry->FileNameLength / sizeof(WCHAR));
        entries.emplace_back(pEntry->Action, Utf8FromUtf16(name));
        if (!pEntry->NextEntryOffset)
            break;
        nPos += pEntry->NextEntryOffset;
    }
    return entries;
}

// The fdinfo paths of this process's inotify instances.
std::vector<std::string> InotifyInstances()
{
    std::vector<std::string> instances;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        if (std::filesystem::read_symlink(entry.path(), error) == "anon_inode:inotify")
            instances.push_back("/proc/self/fdinfo/" + entry.path().filename().string());
    }
    return instances;
}

// Whether an inotify watch of this process follows the host folder, as a
// read started on another thread makes one before it waits. The kernel lists
// each instance's watches in its fdinfo ("inotify wd:1 ino:<hex> sdev:<hex>
// ..."), the device in its own encoding (major << 20 | minor).
bool WatchedHere(const std::string& strHostFolder)
{
    struct stat folder { };
    if (stat(strHostFolder.c_str(), &folder) != 0)
        return false;
    const unsigned long long nDevice
        = (static_cast<unsigned long long>(major(folder.st_dev)) << 20) | minor(folder.st_dev);
    for (const std::string& strInfo : InotifyInstances()) {
        std::ifstream info(strInfo);
        for (std::string strLine; std::getline(info, strLine);) {
            const size_t nInode = strLine.find(" ino:");
            const size_t nDev = strLine.find(" sdev:");
            if (strLine.starts_with("inotify ") && nInode != std::string::npos && nDev != std::string::npos
                && std::stoull(strLine.substr(nInode + 5), nullptr, 16) == folder.st_ino
                && std::stoull(strLine.substr(nDev + 6), nullptr, 16) == nDevice)
                return true;
        }
    }
    return false;
}

// Reads a folder's changes through a completion port, as a watcher thread does.
class PortReader {
public:
    PortReader(const std::string& strFolder, BOOL bSubtree, DWORD dwFilter, DWORD nBufferLength = 64 * 1024)
        : m_bSubtree(bSubtree)
        , m_dwFilter(dwFilter)
        , m_buffer(nBufferLength / 4 + 1)
        , m_nLength(nBufferLength)
    {
        m_hFolder
            = CreateFile(strFolder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        m_hPort = CreateIoCompletionPort(m_hFolder, nullptr, 7, 0);
        EXPECT_TRUE(Issue());
    }
    ~PortReader()
    {
        if (m_hFolder != INVALID_HANDLE_VALUE)
            CloseHandle(m_hFolder);
        CloseHandle(m_hPort);
    }

    bool Issue()
    {
        return ReadDirectoryChangesW(
                   m_hFolder, m_buffer.data(), m_nLength, m_bSubtree, m_dwFilter, nullptr, &m_overlapped, nullptr)
            == TRUE;
    }

    // Collects entries until fnDone says so or nMilliseconds pass without one.
    Entries Collect(const std::function<bool(const Entries&)>& fnDone, DWORD nMilliseconds = 30000)
    {
        Entries all;
        while (!fnDone(all)) {
            DWORD nBytes = 0;
            ULONG_PTR nKey = 0;
            LPOVERLAPPED pOverlapped = nullptr;
            if (!GetQueuedCompletionStatus(m_hPort, &nBytes, &nKey, &pOverlapped, nMilliseconds)) {
                m_dwLastError = GetLastError();
                break; // a time-out, or a read that failed
            }
            EXPECT_EQ(nKey, 7u);
            Entries entries = Parse(reinterpret_cast<const BYTE*>(m_buffer.data()), nBytes);
            all.insert(all.end(), entries.begin(), entries.end());
            if (m_hFolder == INVALID_HANDLE_VALUE || !Issue())
                break;
        }
        return all;
    }
    Entries CollectCount(size_t nCount)
    {
        return Collect([&](const Entries& e) { return e.size() >= nCount; });
    }

    HANDLE m_hFolder;
    HANDLE m_hPort;
    DWORD m_dwLastError { 0 };

private:
    BOOL m_bSubtree;
    DWORD m_dwFilter;
    std::vector<DWORD> m_buffer;
    DWORD m_nLength;
    OVERLAPPED m_overlapped {};
};

class ChangeNotifyTest : public DriveFolderTest {
protected:
    void TearDown() override
    {
        HoldChangeEngine(false);
        SetChangeWatchCap(0);
        SetChangeQueueBound(CHANGE_QUEUE_BOUND);
        SetChangePollInterval(CHANGE_POLL_MS);
        DriveFolderTest::TearDown();
    }
    std::string Host(const std::string& strRelative) const { return (Folder().Path() / strRelative).string(); }
    static std::set<std::string> Names(const Entries& entries, DWORD dwAction)
    {
        std::set<std::string> names;
        for (const auto& [dw, strName] : entries) {
            if (dw == dwAction)
                names.insert(strName);
        }
        return names;
    }
};

constexpr DWORD NAMES = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

} // namespace

TEST_F(ChangeNotifyTest, EveryActionAndRenamePairs)
{
    Write("w/old.txt");
    PortReader reader(OnT("w"), TRUE, NAMES | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_ATTRIBUTES);
    std::ofstream(Host("w/new.txt")) << "x";
    ASSERT_EQ(std::rename(Host("w/old.txt").c_str(), Host("w/renamed.txt").c_str()), 0);
    chmod(Host("w/renamed.txt").c_str(), 0600);
    std::filesystem::create_directory(Host("w/sub"));
    std::filesystem::remove(Host("w/new.txt"));
    Entries entries = reader.Collect([](const Entries& e) {
        return std::count(e.begin(), e.end(), Entry { FILE_ACTION_REMOVED, "new.txt" }) > 0;
    });
    Entries expected = { { FILE_ACTION_ADDED, "new.txt" }, { FILE_ACTION_MODIFIED, "new.txt" },
        { FILE_ACTION_RENAMED_OLD_NAME, "old.txt" }, { FILE_ACTION_RENAMED_NEW_NAME, "renamed.txt" },
        { FILE_ACTION_MODIFIED, "renamed.txt" }, { FILE_ACTION_ADDED, "sub" }, { FILE_ACTION_REMOVED, "new.txt" } };
    EXPECT_EQ(entries, expected) << "a write and its close merge into one";

    // The new folder is watched at once; names below use "\".
    std::ofstream(Host("w/sub/deep.txt")) << "x";
    EXPECT_EQ(reader.CollectCount(2),
        (Entries { { FILE_ACTION_ADDED, "sub\\deep.txt" }, { FILE_ACTION_MODIFIED, "sub\\deep.txt" } }));
}

// A trash inside the tree, there from the start or made while watched, is
// passed over: what goes into it is the recycle folder's, not a new file.
TEST_F(ChangeNotifyTest, TrashesInsideTheTreeGiveNoNotices)
{
    ScopedVariable dataHome("XDG_DATA_HOME", Host("w/data"));
    Write("w/data/Trash/files/old.txt");
    PortReader reader(OnT("w"), TRUE, NAMES);
    std::ofstream(Host("w/data/Trash/files/dc1.txt")) << "x";
    std::filesystem::remove_all(Host("w/data/Trash"));
    std::filesystem::create_directories(Host("w/data/Trash/files"));
    std::ofstream(Host("w/data/Trash/files/dc2.txt")) << "x";
    std::ofstream(Host("w/data/after.txt")) << "x";
    const Entries entries = reader.Collect([](const Entries& e) {
        return std::count(e.begin(), e.end(), Entry { FILE_ACTION_ADDED, "data\\after.txt" }) > 0;
    });
    ASSERT_EQ(Names(entries, FILE_ACTION_ADDED), (std::set<std::string> { "data\\after.txt" }));
    EXPECT_EQ(entries.size(), 1u);
}

TEST_F(ChangeNotifyTest, AWriteReadBeforeItsCloseIsNotReportedAgainByTheClose)
{
    Write("w/old.txt");
    PortReader reader(OnT("w"), TRUE, NAMES | FILE_NOTIFY_CHANGE_LAST_WRITE);
    std::ofstream out(Host("w/open.txt"));
    out << "x" << std::flush;
    EXPECT_EQ(
        reader.CollectCount(2), (Entries { { FILE_ACTION_ADDED, "open.txt" }, { FILE_ACTION_MODIFIED, "open.txt" } }));
    out.close();
    // A close with no write before it is a change of its own.
    std::ofstream(Host("w/old.txt"), std::ios::app).close();
    EXPECT_EQ(reader.CollectCount(1), (Entries { { FILE_ACTION_MODIFIED, "old.txt" } }));
}

TEST_F(ChangeNotifyTest, MovesOutAndIn)
{
    Write("w/leaving.txt");
    Write("outside/arriving.txt");
    Write("outside/folder/inside.txt");
    PortReader reader(OnT("w"), TRUE, NAMES);
    std::filesystem::rename(Host("w/leaving.txt"), Host("outside/leaving.txt"));
    std::filesystem::rename(Host("outside/arriving.txt"), Host("w/arriving.txt"));
    std::filesystem::rename(Host("outside/folder"), Host("w/folder"));
    Entries entries = reader.CollectCount(3);
    std::set<Entry> got(entries.begin(), entries.end());
    EXPECT_EQ(got,
        (std::set<Entry> { { FILE_ACTION_REMOVED, "leaving.txt" }, { FILE_ACTION_ADDED, "arriving.txt" },
            { FILE_ACTION_ADDED, "folder" } }))
        << "a folder moved in is reported alone";
    std::ofstream(Host("w/folder/later.txt")) << "x";
    EXPECT_EQ(reader.CollectCount(1), (Entries { { FILE_ACTION_ADDED, "folder\\later.txt" } })) << "and watched";
}

TEST_F(ChangeNotifyTest, AFolderMadeAndFilledAtOnceReportsEverything)
{
    Write("w/keep");
    PortReader reader(OnT("w"), TRUE, NAMES);
    std::filesystem::create_directories(Host("w/a/b/c"));
    for (const char* pszFile : { "w/a/1.txt", "w/a/b/2.txt", "w/a/b/c/3.txt" })
        std::ofstream(Host(pszFile)) << "x";
    std::set<std::string> wanted = { "a", "a\\b", "a\\b\\c", "a\\1.txt", "a\\b\\2.txt", "a\\b\\c\\3.txt" };
    Entries entries = reader.Collect([&](const Entries& e) {
        std::set<std::string> names = Names(e, FILE_ACTION_ADDED);
        return std::includes(names.begin(), names.end(), wanted.begin(), wanted.end());
    });
    std::set<std::string> names = Names(entries, FILE_ACTION_ADDED);
    EXPECT_TRUE(std::includes(names.begin(), names.end(), wanted.begin(), wanted.end()));
}

TEST_F(ChangeNotifyTest, ABufferTooSmallKeepsWhatDoesNotFit)
{
    std::filesystem::create_directories(Host("w"));
    HANDLE hFolder = CreateFile(OnT("w").c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(hFolder, INVALID_HANDLE_VALUE);
    alignas(4) BYTE buffer[64];
    DWORD nBytes = 0;
    // The first call starts the watch; changes meanwhile wait for it.
    std::thread writer([&] {
        WaitUntil([&] { return WatchedHere(Host("w")); });
        for (const char* pszName : { "a.txt", "b.txt", "c.txt" })
            std::ofstream(Host(std::string("w/") + pszName)) << "x";
    });
    const BOOL bRead = ReadDirectoryChangesW(hFolder, buffer, sizeof buffer, FALSE, NAMES, &nBytes, nullptr, nullptr);
    writer.join();
    ASSERT_TRUE(bRead);
    Entries all = Parse(buffer, nBytes);
    while (all.size() < 3) {
        ASSERT_TRUE(ReadDirectoryChangesW(hFolder, buffer, 28, FALSE, NAMES, &nBytes, nullptr, nullptr));
        Entries more = Parse(buffer, nBytes);
        EXPECT_EQ(more.size(), 1u) << "one 28-byte entry fits in 28 bytes";
        all.insert(all.end(), more.begin(), more.end());
    }
    EXPECT_EQ(Names(all, FILE_ACTION_ADDED), (std::set<std::string> { "a.txt", "b.txt", "c.txt" }));

    // An entry larger than the whole buffer is dropped: 0 bytes and ERROR_NOTIFY_ENUM_DIR.
    std::ofstream(Host("w/a-rather-long-name.txt")) << "x";
    ASSERT_TRUE(ReadDirectoryChangesW(hFolder, buffer, 16, FALSE, NAMES, &nBytes, nullptr, nullptr));
    EXPECT_EQ(nBytes, 0u);
    EXPECT_EQ(GetLastError(), ERROR_NOTIFY_ENUM_DIR);
    CloseHandle(hFolder);
}

TEST_F(ChangeNotifyTest, AKernelQueueOverflowLosesNoName)
{
    std::filesystem::create_directories(Host("w"));
    size_t nLimit = 16384;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> nLimit;
    if (nLimit > 100000)
        GTEST_SKIP() << "the kernel's queue holds " << nLimit << " events: too many to overflow here";
    PortReader reader(OnT("w"), FALSE, NAMES);
    HoldChangeEngine(true);
    size_t nFiles = nLimit + 100;
    for (size_t i = 0; i < nFiles; ++i)
        std::ofstream(Host("w/f" + std::to_string(i)));
    HoldChangeEngine(false);
    Entries entries = reader.Collect([&](const Entries& e) { return Names(e, FILE_ACTION_ADDED).size() >= nFiles; });
    EXPECT_EQ(Names(entries, FILE_ACTION_ADDED).size(), nFiles);
}

TEST_F(ChangeNotifyTest, AHandleQueueOverflowLosesNoName)
{
    std::filesystem::create_directories(Host("w"));
    SetChangeQueueBound(10);
    PortReader reader(OnT("w"), FALSE, NAMES, 256);
    HoldChangeEngine(true);
    for (int i = 0; i < 100; ++i)
        std::ofstream(Host("w/f" + std::to_string(i)));
    HoldChangeEngine(false);
    Entries entries = reader.Collect([&](const Entries& e) { return Names(e, FILE_ACTION_ADDED).size() >= 100; });
    EXPECT_EQ(Names(entries, FILE_ACTION_ADDED).size(), 100u);
}

TEST_F(ChangeNotifyTest, FoldersWithoutAWatchArePolled)
{
    Write("w/deep/deeper/old.txt");
    SetChangeWatchCap(1); // the root alone is watched
    SetChangePollInterval(50);
    PortReader reader(OnT("w"), TRUE, NAMES);
    std::ofstream(Host("w/deep/deeper/new.txt")) << "x";
    Entries entries = reader.Collect(
        [](const Entries& e) { return Names(e, FILE_ACTION_ADDED).count("deep\\deeper\\new.txt") > 0; });
    EXPECT_TRUE(Names(entries, FILE_ACTION_ADDED).count("deep\\deeper\\new.txt"));

    // A folder on a network drive is polled: other machines' changes reach no watch.
    std::filesystem::create_directories(Host("net/share"));
    ASSERT_TRUE(SetDriveOverride('N', Host("net").c_str(), DRIVE_REMOTE));
    PortReader network("N:\\share", TRUE, NAMES);
    std::ofstream(Host("net/share/remote.txt")) << "x";
    entries = network.Collect([](const Entries& e) { return Names(e, FILE_ACTION_ADDED).count("remote.txt") > 0; });
    EXPECT_TRUE(Names(entries, FILE_ACTION_ADDED).count("remote.txt"));
}

TEST_F(ChangeNotifyTest, WatchesShareOneInstanceAndAFolderWatchedTwiceOutlivesEitherWatch)
{
    // The system allows a user few inotify instances, shared by all their programs.
    for (const char* pszFolder : { "w/a", "w/b", "w/c", "w/d" })
        std::filesystem::create_directories(Host(pszFolder));
    const size_t nBefore = InotifyInstances().size();
    std::vector<std::unique_ptr<PortReader>> readers;
    for (const char* pszFolder : { "w/a", "w/b", "w/c", "w/d" })
        readers.push_back(std::make_unique<PortReader>(OnT(pszFolder), TRUE, NAMES));
    EXPECT_LE(InotifyInstances().size(), std::max<size_t>(nBefore, 1)) << "one instance for every watch";

    // Two watches over one folder: the one closed first takes nothing from the other.
    PortReader second(OnT("w/a"), FALSE, NAMES);
    readers.front().reset();
    std::ofstream(Host("w/a/x.txt")) << "x";
    EXPECT_EQ(second.CollectCount(1), (Entries { { FILE_ACTION_ADDED, "x.txt" } }));
    readers.clear();
    std::ofstream(Host("w/a/y.txt")) << "x";
    EXPECT_EQ(second.CollectCount(1), (Entries { { FILE_ACTION_ADDED, "y.txt" } }));
}

TEST_F(ChangeNotifyTest, ClosingTheHandleEndsAPendingRead)
{
    std::filesystem::create_directories(Host("w"));
    PortReader reader(OnT("w"), TRUE, NAMES);
    ASSERT_TRUE(CancelIo(reader.m_hFolder));
    reader.Collect([](const Entries&) { return false; }, 1000);
    EXPECT_EQ(reader.m_dwLastError, ERROR_OPERATION_ABORTED);
    ASSERT_TRUE(reader.Issue());
    CloseHandle(reader.m_hFolder);
    reader.m_hFolder = INVALID_HANDLE_VALUE;
    reader.m_dwLastError = 0;
    reader.Collect([](const Entries&) { return false; }, 1000);
    EXPECT_EQ(reader.m_dwLastError, ERROR_OPERATION_ABORTED) << "the waiting thread wakes";

    // A synchronous read waiting on another thread ends too (on a folder of
    // its own, which only that read's watch follows).
    std::filesystem::create_directories(Host("sync"));
    HANDLE hFolder = CreateFile(OnT("sync").c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    alignas(4) BYTE buffer[256];
    DWORD nBytes = 0;
    ASSERT_FALSE(ReadDirectoryChangesW(hFolder, buffer, sizeof buffer, FALSE, NAMES, nullptr, nullptr, nullptr))
        << "no byte count";
    std::atomic<DWORD> dwError { 0 };
    std::thread waiter([&] {
        if (!ReadDirectoryChangesW(hFolder, buffer, sizeof buffer, FALSE, NAMES, &nBytes, nullptr, nullptr))
            dwError = GetLastError();
    });
    EXPECT_TRUE(WaitUntil([&] { return WatchedHere(Host("sync")); })) << "the read never started";
    CloseHandle(hFolder);
    waiter.join();
    EXPECT_EQ(dwError.load(), ERROR_OPERATION_ABORTED);
}

TEST_F(ChangeNotifyTest, NotificationHandlesAreSignalledAndRearmed)
{
    std::filesystem::create_directories(Host("w/sub"));
    HANDLE hChange = FindFirstChangeNotification(OnT("w").c_str(), TRUE, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(hChange, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WaitForSingleObject(hChange, 0), WAIT_TIMEOUT);
    std::ofstream(Host("w/sub/a.txt")) << "x";
    EXPECT_EQ(WaitForSingleObject(hChange, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(hChange, 0), WAIT_OBJECT_0) << "signalled until re-armed";
    ASSERT_TRUE(FindNextChangeNotification(hChange));
    EXPECT_EQ(WaitForSingleObject(hChange, 200), WAIT_TIMEOUT);
    std::filesystem::create_directory(Host("w/folder"));
    EXPECT_EQ(WaitForSingleObject(hChange, 300), WAIT_TIMEOUT) << "folders are not in the filter";
    std::ofstream(Host("w/b.txt")) << "x";
    HANDLE handles[] = { hChange };
    EXPECT_EQ(WaitForMultipleObjects(1, handles, FALSE, 30000), WAIT_OBJECT_0);
    EXPECT_TRUE(FindCloseChangeNotification(hChange));

    EXPECT_EQ(
        FindFirstChangeNotification(OnT("missing").c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindFirstChangeNotification(OnT("w").c_str(), FALSE, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(FindFirstChangeNotification(OnT("w").c_str(), FALSE, 0x80), INVALID_HANDLE_VALUE);
}
