#include "platform/base/Registry.h"

#include "platform/base/RegistryFormat.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class RegistryCorruptTest : public ProgramFolderTest {
protected:
    std::filesystem::path SettingsFile() const { return Home() / "settings" / "CurrentUser.reg"; }

    static std::string ReadFile(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Replaces the settings file the way another program would (a new file renamed over it).
    void ReplaceSettingsFile(std::string_view strText) const
    {
        std::filesystem::create_directories(SettingsFile().parent_path());
        std::filesystem::path staging = Home() / "staging.reg";
        std::ofstream(staging, std::ios::binary) << strText;
        std::filesystem::rename(staging, SettingsFile());
    }

    static LSTATUS SetString(LPCTSTR pszKey, LPCTSTR pszName, const std::string& strValue)
    {
        HKEY hKey = nullptr;
        LSTATUS nStatus
            = RegCreateKeyEx(HKEY_CURRENT_USER, pszKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        if (nStatus == ERROR_SUCCESS)
            nStatus = RegSetValueEx(hKey, pszName, 0, REG_BINARY, reinterpret_cast<const BYTE*>(strValue.data()),
                static_cast<DWORD>(strValue.size()));
        RegCloseKey(hKey);
        return nStatus;
    }

    static LSTATUS Query(LPCTSTR pszKey, LPCTSTR pszName)
    {
        HKEY hKey = nullptr;
        LSTATUS nStatus = RegOpenKeyEx(HKEY_CURRENT_USER, pszKey, 0, KEY_READ, &hKey);
        if (nStatus != ERROR_SUCCESS)
            return nStatus;
        DWORD cbData = 0;
        nStatus = RegQueryValueEx(hKey, pszName, nullptr, nullptr, nullptr, &cbData);
        RegCloseKey(hKey);
        return nStatus;
    }

    std::vector<std::filesystem::path> DamagedFiles() const
    {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(Home() / "settings")) {
            if (entry.path().filename().string().starts_with("CurrentUser.reg.damaged-"))
                files.push_back(entry.path());
        }
        return files;
    }
};

}

TEST_F(RegistryCorruptTest, AFileCutInHalfIsSetAsideReportedAndTheRootStartsEmpty)
{
    ASSERT_EQ(SetString("Software\\App", "First", "one"), ERROR_SUCCESS);
    ASSERT_EQ(SetString("Software\\App", "Second", "two"), ERROR_SUCCESS);
    std::string strWhole = ReadFile(SettingsFile());
    std::string strHalf = strWhole.substr(0, strWhole.size() / 2);
    ReplaceSettingsFile(strHalf);
    size_t nProblemsBefore = GetRegistryProblems().size();

    testing::internal::CaptureStderr();
    EXPECT_EQ(Query("Software\\App", "First"), ERROR_FILE_NOT_FOUND);
    std::string strStderr = testing::internal::GetCapturedStderr();

    auto damaged = DamagedFiles();
    ASSERT_EQ(damaged.size(), 1u);
    EXPECT_EQ(ReadFile(damaged[0]), strHalf);
    std::vector<std::string> problems = GetRegistryProblems();
    ASSERT_EQ(problems.size(), nProblemsBefore + 1);
    EXPECT_NE(problems.back().find(damaged[0].string()), std::string::npos) << problems.back();
    EXPECT_NE(strStderr.find(problems.back()), std::string::npos);

    // The program goes on: new settings are saved to a whole file.
    ASSERT_EQ(SetString("Software\\App", "Third", "three"), ERROR_SUCCESS);
    EXPECT_EQ(Query("Software\\App", "Third"), ERROR_SUCCESS);
    CRegistryNode root;
    std::string strError;
    EXPECT_TRUE(ParseRegistryText(ReadFile(SettingsFile()), root, strError)) << strError;
    EXPECT_EQ(DamagedFiles().size(), 1u);
}

TEST_F(RegistryCorruptTest, AnUnreadableFileAtStartDamagesOnlyItsRoot)
{
    HKEY hMachine = nullptr;
    ASSERT_EQ(RegCreateKeyEx(
                  HKEY_LOCAL_MACHINE, "Software\\Machine", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hMachine, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(hMachine);
    ReplaceSettingsFile(std::string("\x00\xff garbage\n[", 11));

    testing::internal::CaptureStderr();
    EXPECT_EQ(Query("Software", nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    EXPECT_EQ(DamagedFiles().size(), 1u);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Machine", 0, KEY_READ, &hMachine), ERROR_SUCCESS);
    RegCloseKey(hMachine);
}

TEST_F(RegistryCorruptTest, EachDamagedVersionIsKeptUnderItsOwnName)
{
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        ReplaceSettingsFile("not a registry " + std::to_string(i));
        EXPECT_EQ(Query("Software", nullptr), ERROR_FILE_NOT_FOUND);
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(DamagedFiles().size(), 3u);
}

TEST_F(RegistryCorruptTest, AFailedSaveLeavesTheOldFileWholeAndForgetsTheChange)
{
    ASSERT_EQ(SetString("Software\\App", "Small", "kept"), ERROR_SUCCESS);
    std::string strBefore = ReadFile(SettingsFile());

    // A child process whose file size limit stops the next save half-way.
    pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit { static_cast<rlim_t>(strBefore.size() + 64), RLIM_INFINITY };
        setrlimit(RLIMIT_FSIZE, &limit);
        int nFailed = 0;
        nFailed += SetString("Software\\App", "Large", std::string(100000, 'x')) == ERROR_SUCCESS;
        nFailed += Query("Software\\App", "Large") != ERROR_FILE_NOT_FOUND;
        nFailed += Query("Software\\App", "Small") != ERROR_SUCCESS;
        _exit(nFailed);
    }
    int nStatus = 0;
    ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(WEXITSTATUS(nStatus), 0);

    EXPECT_EQ(ReadFile(SettingsFile()), strBefore);
    EXPECT_FALSE(std::filesystem::exists(Home() / "settings" / "CurrentUser.reg.tmp"));
    EXPECT_TRUE(DamagedFiles().empty());
}
