#include "platform/base/RegistryStore.h"

#include "platform/base/Registry.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class RegistryStoreTest : public ProgramFolderTest {
protected:
    // Runs `fnChild` in a forked process and returns its exit code (the number of failed steps).
    static pid_t Spawn(const std::function<int()>& fnChild)
    {
        pid_t pid = fork();
        if (pid == 0)
            _exit(fnChild());
        return pid;
    }

    static int Wait(pid_t pid)
    {
        int nStatus = 0;
        if (waitpid(pid, &nStatus, 0) != pid || !WIFEXITED(nStatus))
            return -1;
        return WEXITSTATUS(nStatus);
    }

    static LSTATUS SetDword(LPCTSTR pszKey, const std::string& strName, DWORD dwValue)
    {
        HKEY hKey = nullptr;
        LSTATUS nStatus
            = RegCreateKeyEx(HKEY_CURRENT_USER, pszKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        if (nStatus != ERROR_SUCCESS)
            return nStatus;
        nStatus = RegSetValueEx(
            hKey, strName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue);
        RegCloseKey(hKey);
        return nStatus;
    }

    static LSTATUS QueryDword(HKEY hKey, const std::string& strName, DWORD& dwValue)
    {
        DWORD cbData = sizeof dwValue;
        return RegQueryValueEx(hKey, strName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&dwValue), &cbData);
    }
};

}

TEST_F(RegistryStoreTest, TwoProcessesWritingDifferentValuesLoseNeither)
{
    constexpr int VALUES_PER_PROCESS = 40;
    auto writer = [](int nProcess) {
        return [nProcess] {
            int nFailed = 0;
            for (int i = 0; i < VALUES_PER_PROCESS; ++i)
                nFailed += SetDword("Software\\Shared", "p" + std::to_string(nProcess) + "-" + std::to_string(i),
                               static_cast<DWORD>(i))
                    != ERROR_SUCCESS;
            return nFailed;
        };
    };
    pid_t first = Spawn(writer(1));
    pid_t second = Spawn(writer(2));
    ASSERT_EQ(Wait(first), 0);
    ASSERT_EQ(Wait(second), 0);

    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Shared", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    DWORD cValues = 0;
    ASSERT_EQ(RegQueryInfoKey(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &cValues, nullptr, nullptr,
                  nullptr, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(cValues, 2u * VALUES_PER_PROCESS);
    for (int nProcess = 1; nProcess <= 2; ++nProcess) {
        for (int i = 0; i < VALUES_PER_PROCESS; ++i) {
            DWORD dwValue = 0xFFFF;
            std::string strName = "p" + std::to_string(nProcess) + "-" + std::to_string(i);
            ASSERT_EQ(QueryDword(hKey, strName, dwValue), ERROR_SUCCESS) << strName;
            EXPECT_EQ(dwValue, static_cast<DWORD>(i));
        }
    }
    RegCloseKey(hKey);
}

TEST_F(RegistryStoreTest, ThreadsWritingAtOnceLoseNothing)
{
    constexpr int VALUES_PER_THREAD = 25;
    std::vector<std::thread> threads;
    std::atomic<int> nFailed { 0 };
    for (int nThread = 0; nThread < 3; ++nThread) {
        threads.emplace_back([nThread, &nFailed] {
            for (int i = 0; i < VALUES_PER_THREAD; ++i)
                nFailed += SetDword("Software\\Threads", "t" + std::to_string(nThread) + "-" + std::to_string(i), 1)
                    != ERROR_SUCCESS;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(nFailed, 0);
    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Threads", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    DWORD cValues = 0;
    ASSERT_EQ(RegQueryInfoKey(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &cValues, nullptr, nullptr,
                  nullptr, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(cValues, 3u * VALUES_PER_THREAD);
    RegCloseKey(hKey);
}

TEST_F(RegistryStoreTest, OpenHandlesSeeAnotherProcessesChanges)
{
    ASSERT_EQ(SetDword("Software\\Seen", "v", 1), ERROR_SUCCESS);
    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Seen", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    DWORD dwValue = 0;
    ASSERT_EQ(QueryDword(hKey, "v", dwValue), ERROR_SUCCESS);

    ASSERT_EQ(Wait(Spawn([] { return SetDword("Software\\Seen", "v", 2) != ERROR_SUCCESS; })), 0);
    ASSERT_EQ(QueryDword(hKey, "v", dwValue), ERROR_SUCCESS);
    EXPECT_EQ(dwValue, 2u);

    ASSERT_EQ(Wait(Spawn([] { return RegDeleteKey(HKEY_CURRENT_USER, "Software\\Seen") != ERROR_SUCCESS; })), 0);
    EXPECT_EQ(QueryDword(hKey, "v", dwValue), ERROR_KEY_DELETED);
    RegCloseKey(hKey);
}

TEST_F(RegistryStoreTest, SavesLeaveOnlyTheSettingsAndLockFiles)
{
    for (DWORD i = 0; i < 5; ++i)
        ASSERT_EQ(SetDword("Software\\Files", "v" + std::to_string(i), i), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTree(HKEY_CURRENT_USER, "Software"), ERROR_SUCCESS);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Home() / "settings"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> { "CurrentUser.reg", "CurrentUser.reg.lock" }));
}

TEST_F(RegistryStoreTest, TheStoreFollowsTheProgramFolder)
{
    ASSERT_EQ(SetDword("Software\\Here", "v", 1), ERROR_SUCCESS);
    TempFolder other;
    setenv("ARCHIVORA_HOME", other.Path().c_str(), 1);
    HKEY hKey = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Here", 0, KEY_READ, &hKey), ERROR_FILE_NOT_FOUND);
    setenv("ARCHIVORA_HOME", Home().c_str(), 1);
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Here", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    RegCloseKey(hKey);
}

TEST_F(RegistryStoreTest, ASettingsFileThatIsALinkStaysOne)
{
    namespace fs = std::filesystem;
    const fs::path settings = Home() / "settings";
    const fs::path kept = Home() / "kept";
    ASSERT_EQ(SetDword("Software\\Linked", "first", 1), ERROR_SUCCESS);
    fs::create_directories(kept);
    fs::rename(settings / "CurrentUser.reg", kept / "CurrentUser.reg");
    fs::create_symlink(kept / "CurrentUser.reg", settings / "CurrentUser.reg");

    ASSERT_EQ(SetDword("Software\\Linked", "second", 2), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_symlink(settings / "CurrentUser.reg"));
    EXPECT_EQ(fs::read_symlink(settings / "CurrentUser.reg"), kept / "CurrentUser.reg");
    EXPECT_EQ(std::distance(fs::directory_iterator(kept), fs::directory_iterator()), 1) << "a temporary file left";
    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Linked", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    DWORD dwFirst = 0, dwSecond = 0;
    EXPECT_EQ(QueryDword(hKey, "first", dwFirst), ERROR_SUCCESS);
    EXPECT_EQ(QueryDword(hKey, "second", dwSecond), ERROR_SUCCESS);
    RegCloseKey(hKey);
    EXPECT_EQ(std::make_pair(dwFirst, dwSecond), std::make_pair(DWORD { 1 }, DWORD { 2 }));

    // A link that leads nowhere fails the write and stays as it is.
    fs::rename(kept, Home() / "moved");
    EXPECT_NE(SetDword("Software\\Linked", "third", 3), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_symlink(settings / "CurrentUser.reg"));
    EXPECT_FALSE(fs::exists(kept));
}

TEST_F(RegistryStoreTest, ASpecialFileInPlaceOfTheSettingsFailsEveryCallAtOnce)
{
    const std::filesystem::path settings = Home() / "settings";
    std::filesystem::create_directories(settings / "kinds");
    const std::vector<std::string> names = MakeSpecialFiles(settings / "kinds");
    ASSERT_EQ(names.size(), 3u);
    for (const std::string& strName : names) {
        std::filesystem::rename(settings / "kinds" / strName, settings / "CurrentUser.reg");
        const int nResult = RunInChildWithin(10, [] {
            HKEY hKey = nullptr;
            const bool bRefused = RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &hKey) == ERROR_ACCESS_DENIED
                && SetDword("Software\\Kept", "v", 1) == ERROR_ACCESS_DENIED;
            return bRefused ? 0 : 1;
        });
        EXPECT_EQ(nResult, 0) << strName << (nResult < 0 ? " kept the registry waiting" : "");
        std::filesystem::remove(settings / "CurrentUser.reg");
    }
}

TEST_F(RegistryStoreTest, AChangeThatEndsWhereItBeganIsNotWrittenAgainButAnotherProcessesChangeIsNotUndone)
{
    const std::filesystem::path file = Home() / "settings" / "CurrentUser.reg";
    ASSERT_EQ(SetDword("Software\\List", "Count", 2), ERROR_SUCCESS);
    // A write renames a new file over the old one, so while both exist their inodes differ.
    const auto inodeOf = [&file] {
        struct stat info { };
        return ::stat(file.c_str(), &info) == 0 ? info.st_ino : ino_t { 0 };
    };
    const auto written = inodeOf();

    // A list deleted and written again as it was, as a save of unchanged settings does.
    {
        CRegistryBatch batch(HKEY_CURRENT_USER);
        ASSERT_EQ(RegDeleteTree(HKEY_CURRENT_USER, "Software\\List"), ERROR_SUCCESS);
        ASSERT_EQ(SetDword("Software\\List", "Count", 2), ERROR_SUCCESS);
        ASSERT_EQ(batch.Commit(), ERROR_SUCCESS);
    }
    EXPECT_EQ(inodeOf(), written) << "the file was replaced by the same settings";

    // Another process changes the value; writing this process's old value again must reach the file.
    ASSERT_EQ(Wait(Spawn([] { return SetDword("Software\\List", "Count", 3) != ERROR_SUCCESS; })), 0);
    ASSERT_EQ(SetDword("Software\\List", "Count", 2), ERROR_SUCCESS);
    const int nSeen = Wait(Spawn([] {
        HKEY hKey = nullptr;
        DWORD dwValue = 0;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\List", 0, KEY_READ, &hKey) != ERROR_SUCCESS
            || QueryDword(hKey, "Count", dwValue) != ERROR_SUCCESS)
            return 99;
        return static_cast<int>(dwValue);
    }));
    EXPECT_EQ(nSeen, 2);
}
