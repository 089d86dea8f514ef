#include "platform/base/Registry.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

class RegistryBatchTest : public ProgramFolderTest {
protected:
    // The settings file as it is on disk.
    std::string FileText() const
    {
        std::ifstream in(Home() / "settings" / "CurrentUser.reg");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void SetDword(HKEY hKey, LPCTSTR pszName, DWORD dwValue)
    {
        ASSERT_EQ(RegSetValueEx(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue)),
            ERROR_SUCCESS);
    }
    static DWORD GetDword(HKEY hKey, LPCTSTR pszName)
    {
        DWORD dwValue = 0;
        DWORD cbValue = sizeof(dwValue);
        EXPECT_EQ(RegQueryValueEx(hKey, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(&dwValue), &cbValue),
            ERROR_SUCCESS);
        return dwValue;
    }
};

} // namespace

TEST_F(RegistryBatchTest, ChangesReachTheFileTogetherAtTheEndAndReadsSeeThemBefore)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Batch", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
        ERROR_SUCCESS);
    {
        CRegistryBatch batch(HKEY_CURRENT_USER);
        SetDword(hKey, "First", 1);
        {
            // A batch inside another writes nothing of its own.
            CRegistryBatch inner(hKey);
            SetDword(hKey, "Second", 2);
        }
        ASSERT_EQ(RegDeleteTree(HKEY_CURRENT_USER, "Software\\Gone"), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(GetDword(hKey, "Second"), 2U);
        EXPECT_EQ(FileText().find("\"First\""), std::string::npos);
        EXPECT_EQ(FileText().find("\"Second\""), std::string::npos);
        EXPECT_EQ(batch.Commit(), ERROR_SUCCESS);
        // Once committed, the batch is over: what follows is written at once.
        SetDword(hKey, "Third", 3);
        EXPECT_NE(FileText().find("\"Third\""), std::string::npos);
    }
    const std::string strText = FileText();
    EXPECT_NE(strText.find("\"First\"=dword:00000001"), std::string::npos);
    EXPECT_NE(strText.find("\"Second\"=dword:00000002"), std::string::npos);
    RegCloseKey(hKey);
}

TEST_F(RegistryBatchTest, AnotherProgramWaitsForTheBatchAndKeepsItsOwnChange)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Batch", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
        ERROR_SUCCESS);
    int fdGo[2];
    ASSERT_EQ(pipe(fdGo), 0);
    // The other program, started before the batch, makes its change when told.
    const pid_t pid = fork();
    if (pid == 0) {
        char c = 0;
        if (read(fdGo[0], &c, 1) != 1)
            _exit(1);
        HKEY hOther = nullptr;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Batch", 0, KEY_ALL_ACCESS, &hOther) != ERROR_SUCCESS)
            _exit(2);
        const DWORD dwValue = 9;
        const LSTATUS nSet
            = RegSetValueEx(hOther, "Theirs", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
        _exit(nSet == ERROR_SUCCESS ? 0 : 3);
    }
    {
        CRegistryBatch batch(HKEY_CURRENT_USER);
        SetDword(hKey, "Mine", 1);
        ASSERT_EQ(write(fdGo[1], "x", 1), 1);
        // Its change waits for the batch's lock, then is made on the batch's result.
        usleep(100000);
        EXPECT_EQ(FileText().find("\"Theirs\""), std::string::npos);
    }
    int nStatus = 0;
    ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    const std::string strText = FileText();
    EXPECT_NE(strText.find("\"Mine\""), std::string::npos);
    EXPECT_NE(strText.find("\"Theirs\""), std::string::npos);
    close(fdGo[0]);
    close(fdGo[1]);
    RegCloseKey(hKey);
}
