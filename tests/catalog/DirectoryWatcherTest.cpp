#include "catalog/DirectoryWatcher.h"

#include "catalog/FolderWatches.h"
#include "store/CMailStoreRec.h"
#include "tests/catalog/CatalogDriveFixture.h"

#include "platform/base/ChangeNotify.h"
#include "platform/base/TextFunctions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What the watcher threads called back with, gathered for the test thread.
class CRecorder {
public:
    static CRecorder& Instance()
    {
        static CRecorder recorder;
        return recorder;
    }
    static int OnChange(LPCWSTR pszPath, DWORD dwAction)
    {
        Instance().Add(std::to_string(dwAction) + " " + Utf8FromUtf16(pszPath));
        return 1;
    }
    static void OnFolder(int nIndex) { Instance().Add("folder " + std::to_string(nIndex)); }

    void Add(std::string strEntry)
    {
        std::lock_guard lock(m_mutex);
        m_entries.push_back(std::move(strEntry));
        m_changed.notify_all();
    }
    // Waits until fnDone holds for what came, at most the time given; takes what came.
    template<class Done> std::vector<std::string> Take(Done fnDone, std::chrono::milliseconds limit = 20s)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, limit, [&] { return fnDone(m_entries); });
        return std::exchange(m_entries, {});
    }
    std::vector<std::string> TakeAfter(std::chrono::milliseconds quiet)
    {
        std::this_thread::sleep_for(quiet);
        std::lock_guard lock(m_mutex);
        return std::exchange(m_entries, {});
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_entries;
};

bool Has(const std::vector<std::string>& entries, const std::string& strEntry)
{
    return std::find(entries.begin(), entries.end(), strEntry) != entries.end();
}

class DirectoryWatcherTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        fs::create_directories(HostOnT("w"));
        CRecorder::Instance().TakeAfter(0ms);
    }
    void TearDown() override
    {
        StopDirWatch();
        KillFolderWatchThread();
        CloseFolderWatches();
        HoldChangeEngine(false);
        CatalogDriveTest::TearDown();
    }
    void StartOn(const std::string& strFolder)
    {
        ASSERT_EQ(OpenWatchedDrives({ CString(strFolder.c_str()) }), 1);
        ASSERT_NE(StartDirWatchThread(&CRecorder::OnChange), INVALID_HANDLE_VALUE);
        ASSERT_EQ(ResumeDirWatch(), 0);
    }
    static void Touch(const fs::path& path) { std::ofstream(path) << "x"; }
};

TEST_F(DirectoryWatcherTest, CreationsRenamesAndRemovalsComeWithFullPaths)
{
    StartOn(OnT("w"));
    Touch(HostOnT("w/a.txt"));
    auto entries = CRecorder::Instance().Take([](const auto& e) { return Has(e, "1 t:\\w\\a.txt"); });
    EXPECT_TRUE(Has(entries, "1 t:\\w\\a.txt"));

    fs::rename(HostOnT("w/a.txt"), HostOnT("w/b.txt"));
    entries = CRecorder::Instance().Take([](const auto& e) { return Has(e, "5 t:\\w\\b.txt"); });
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[0], "4 t:\\w\\a.txt");
    EXPECT_EQ(entries[1], "5 t:\\w\\b.txt");

    fs::remove(HostOnT("w/b.txt"));
    entries = CRecorder::Instance().Take([](const auto& e) { return Has(e, "2 t:\\w\\b.txt"); });
    EXPECT_TRUE(Has(entries, "2 t:\\w\\b.txt"));
}

TEST_F(DirectoryWatcherTest, AFolderMovedInHasItsFilesReported)
{
    WriteOnT("outside/in/one.txt", "1");
    WriteOnT("outside/in/deep/two.txt", "2");
    StartOn(OnT("w"));
    fs::rename(HostOnT("outside/in"), HostOnT("w/in"));
    auto entries = CRecorder::Instance().Take(
        [](const auto& e) { return Has(e, "1 t:\\w\\in\\one.txt") && Has(e, "1 t:\\w\\in\\deep\\two.txt"); });
    EXPECT_TRUE(Has(entries, "1 t:\\w\\in"));
    EXPECT_TRUE(Has(entries, "1 t:\\w\\in\\one.txt"));
    EXPECT_TRUE(Has(entries, "1 t:\\w\\in\\deep\\two.txt"));
    // Files made in it afterwards come from its own watch.
    Touch(HostOnT("w/in/deep/three.txt"));
    entries = CRecorder::Instance().Take([](const auto& e) { return Has(e, "1 t:\\w\\in\\deep\\three.txt"); });
    EXPECT_TRUE(Has(entries, "1 t:\\w\\in\\deep\\three.txt"));
}

TEST_F(DirectoryWatcherTest, WhileSuspendedChangesAreDroppedNotDelayed)
{
    StartOn(OnT("w"));
    ASSERT_EQ(SuspendDirWatch(), 0);
    Touch(HostOnT("w/quiet.txt"));
    EXPECT_TRUE(CRecorder::Instance().TakeAfter(500ms).empty());
    ASSERT_EQ(ResumeDirWatch(), 0);
    Touch(HostOnT("w/loud.txt"));
    const auto entries = CRecorder::Instance().Take([](const auto& e) { return Has(e, "1 t:\\w\\loud.txt"); });
    EXPECT_TRUE(Has(entries, "1 t:\\w\\loud.txt"));
    EXPECT_FALSE(Has(entries, "1 t:\\w\\quiet.txt"));
}

TEST_F(DirectoryWatcherTest, AnOverflowOfTheKernelsQueueLosesNoFile)
{
    size_t nLimit = 16384;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> nLimit;
    if (nLimit > 100000)
        GTEST_SKIP() << "the kernel's queue holds " << nLimit << " events: too many to overflow here";
    StartOn(OnT("w"));
    HoldChangeEngine(true);
    const size_t nFiles = nLimit + 100;
    for (size_t i = 0; i < nFiles; ++i)
        std::ofstream(HostOnT("w/f" + std::to_string(i)));
    HoldChangeEngine(false);
    std::set<std::string> seen;
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (seen.size() < nFiles && std::chrono::steady_clock::now() < deadline) {
        for (const std::string& strEntry : CRecorder::Instance().Take([](const auto& e) { return e.size() > 0; }, 5s))
            seen.insert(strEntry);
    }
    EXPECT_EQ(seen.size(), nFiles);
}

TEST_F(DirectoryWatcherTest, TheWatcherStopsAndStartsAgain)
{
    EXPECT_EQ(ResumeDirWatch(), -1);
    EXPECT_EQ(StartDirWatchThread(&CRecorder::OnChange), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenWatchedDrives({ CString(OnT("missing").c_str()) }), 0);
    StartOn(OnT("w"));
    KillDirWatchThread();
    EXPECT_EQ(ResumeDirWatch(), -1);
    StopDirWatch();
    StartOn(OnT("w"));
    Touch(HostOnT("w/again.txt"));
    const auto entries = CRecorder::Instance().Take([](const auto& e) { return Has(e, "1 t:\\w\\again.txt"); });
    EXPECT_TRUE(Has(entries, "1 t:\\w\\again.txt"));
}

TEST_F(DirectoryWatcherTest, TheCatalogsPlacesAreWatchedNotWholeDrives)
{
    ASSERT_TRUE(m_pCatalog->SetPlaceChoice(CCatalog::PLACE_LOCAL_DISK | CCatalog::PLACE_NETWORK));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETWORK, OnT("w").c_str())));
    const std::vector<CString> folders = CollectWatchedFolders(m_pCatalog.get());
    std::vector<std::string> names;
    for (const CString& strFolder : folders)
        names.push_back(Utf8ToLower(LPCTSTR(strFolder)));
    // C: is the host's root: its user's home folder stands for it.
    EXPECT_EQ(names, (std::vector<std::string> { ProgramPathOfHome(""), "t:\\" }));
}

/* Folder watches */

TEST_F(DirectoryWatcherTest, AFolderWatchCallsBackWithItsIndex)
{
    WriteOnT("m1/inbox", "a");
    WriteOnT("m2/inbox", "b");
    ASSERT_TRUE(StartFolderWatchThread(&CRecorder::OnFolder));
    EXPECT_FALSE(StartFolderWatchThread(&CRecorder::OnFolder));
    EXPECT_EQ(RegisterFolderWatch(OnT("m1").c_str(), FILE_NOTIFY_CHANGE_SIZE), 0);
    EXPECT_EQ(RegisterFolderWatch(OnT("m2").c_str(), FILE_NOTIFY_CHANGE_LAST_WRITE), 1);
    std::ofstream(HostOnT("m2/inbox"), std::ios::app) << "more";
    auto entries = CRecorder::Instance().Take([](const auto& e) { return Has(e, "folder 1"); });
    EXPECT_TRUE(Has(entries, "folder 1"));
    EXPECT_FALSE(Has(entries, "folder 0"));

    // Re-registering while the thread waits: the new table counts at once.
    CloseFolderWatches();
    EXPECT_EQ(RegisterFolderWatch(OnT("m2").c_str(), FILE_NOTIFY_CHANGE_SIZE), 0);
    std::ofstream(HostOnT("m2/inbox"), std::ios::app) << "again";
    entries = CRecorder::Instance().Take([](const auto& e) { return Has(e, "folder 0"); });
    EXPECT_TRUE(Has(entries, "folder 0"));
}

TEST_F(DirectoryWatcherTest, TheFolderWatchTableHoldsEight)
{
    for (int i = 0; i < MAX_FOLDER_WATCHES; ++i)
        EXPECT_EQ(RegisterFolderWatch(OnT("w").c_str(), FILE_NOTIFY_CHANGE_SIZE), i);
    EXPECT_EQ(RegisterFolderWatch(OnT("w").c_str(), FILE_NOTIFY_CHANGE_SIZE), -1);
    CloseFolderWatches();
    EXPECT_EQ(RegisterFolderWatch(OnT("missing").c_str(), FILE_NOTIFY_CHANGE_SIZE), -1);
    EXPECT_EQ(RegisterFolderWatch(OnT("w").c_str(), FILE_NOTIFY_CHANGE_SIZE), 0);
}

} // namespace
