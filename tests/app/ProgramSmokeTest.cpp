// The built program, started as a user would without a display: it says so in
// one line, runs, and a termination signal ends it as the end of a session
// does, with its layout saved; at a first start, while the set-up wizard
// waits, it ends cleanly with the catalog still to be set up.

#include "frame/AppGlobals.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"
#include "tests/frame/AppTestFixture.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr char NOTICE[] = "running without a display";

class ProgramSmokeTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_EQ(pipe(m_fdErr), 0);
    }
    void TearDown() override
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_fdErr[0]);
        AppTest::TearDown();
    }

    // Starts the program in this test's program folder, its errors into the pipe.
    void StartProgram() { m_pid = Launch(m_fdErr[1]); }

    // Starts the program in this test's program folder, its errors into fdErr; its pid.
    pid_t Launch(int fdErr)
    {
        const std::string strProgram = (BinaryRoot() / "app" / "archivora").string();
        const std::string strHome = Home().string();
        // Built with the sanitizers, the program leaves the system libraries'
        // caches to the suppressions the tests use.
        const std::string strLeakOptions
            = "suppressions=" + (SourceRoot() / "tests" / "support" / "lsan-suppressions.txt").string();
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(fdErr, STDERR_FILENO);
            setenv("ARCHIVORA_HOME", strHome.c_str(), 1);
            setenv("HOME", strHome.c_str(), 1);
            setenv("XDG_RUNTIME_DIR", strHome.c_str(), 1);
            unsetenv("DISPLAY");
            setenv("LSAN_OPTIONS", strLeakOptions.c_str(), 1);
            execl(strProgram.c_str(), strProgram.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fdErr);
        return pid;
    }

    // What the program wrote to its errors until the text appeared, or the time ran out.
    std::string ReadErrorsUntil(const std::string& strWanted, std::chrono::seconds timeout)
    {
        return ReadUntil(m_fdErr[0], strWanted, timeout);
    }
    static std::string ReadUntil(int fdRead, const std::string& strWanted, std::chrono::seconds timeout)
    {
        std::string strRead;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (strRead.find(strWanted) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            pollfd fd { fdRead, POLLIN, 0 };
            if (poll(&fd, 1, 100) <= 0)
                continue;
            char buffer[256];
            const ssize_t n = read(fdRead, buffer, sizeof(buffer));
            if (n <= 0)
                break;
            strRead.append(buffer, static_cast<size_t>(n));
        }
        return strRead;
    }

    // Sends the program SIGTERM and waits for its end; nStatus gets its wait status.
    void EndBySigterm(int& nStatus)
    {
        ASSERT_EQ(kill(m_pid, SIGTERM), 0);
        ASSERT_EQ(waitpid(m_pid, &nStatus, 0), m_pid);
        m_pid = -1;
    }

    pid_t m_pid { -1 };
    int m_fdErr[2] { -1, -1 };
};

} // namespace

TEST_F(ProgramSmokeTest, WithoutADisplayItSaysSoAndSigtermEndsItWithTheLayoutSaved)
{
    WriteCatalog();
    StartProgram();
    const std::string strErrors = ReadErrorsUntil(NOTICE, std::chrono::seconds(30));
    ASSERT_NE(strErrors.find(NOTICE), std::string::npos) << strErrors;
    // The notice comes before the start-up; give it the time to finish.
    CRegistryKey desktop;
    WaitUntil([&] { return desktop.Open(HKEY_CURRENT_USER, DESKTOP_KEY_PATH, KEY_READ) != FALSE; });
    usleep(500000);

    int nStatus = 0;
    EndBySigterm(nStatus);
    ASSERT_TRUE(WIFEXITED(nStatus)) << "ended by signal " << WTERMSIG(nStatus);
    EXPECT_EQ(WEXITSTATUS(nStatus), 0);

    DWORD dwWindows = 0;
    CRegistryKey saved;
    ASSERT_TRUE(saved.Open(HKEY_CURRENT_USER, DESKTOP_KEY_PATH, KEY_READ));
    EXPECT_TRUE(saved.GetDWORD("Windows", dwWindows));
    EXPECT_EQ(dwWindows, 1U);
}

TEST_F(ProgramSmokeTest, ASecondStartHandsOverToTheRunningProgramAndSaysSo)
{
    WriteCatalog();
    StartProgram();
    ASSERT_NE(ReadErrorsUntil(NOTICE, std::chrono::seconds(30)).find(NOTICE), std::string::npos);
    CRegistryKey desktop;
    WaitUntil([&] { return desktop.Open(HKEY_CURRENT_USER, DESKTOP_KEY_PATH, KEY_READ) != FALSE; });

    int fdSecond[2] { -1, -1 };
    ASSERT_EQ(pipe(fdSecond), 0);
    const pid_t second = Launch(fdSecond[1]);
    int nStatus = 0;
    ASSERT_EQ(waitpid(second, &nStatus, 0), second);
    const std::string strErrors = ReadUntil(fdSecond[0], "already running", std::chrono::seconds(10));
    close(fdSecond[0]);
    EXPECT_NE(strErrors.find("already running"), std::string::npos) << strErrors;
    EXPECT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(kill(m_pid, 0), 0) << "the first instance runs on";
}

TEST_F(ProgramSmokeTest, SigtermWhileTheFirstStartsWizardWaitsEndsItCleanly)
{
    StartProgram();
    const std::string strErrors = ReadErrorsUntil(NOTICE, std::chrono::seconds(30));
    ASSERT_NE(strErrors.find(NOTICE), std::string::npos) << strErrors;
    // The catalog is made before the wizard shows.
    WaitUntil([&] { return std::filesystem::exists(Home() / "archiv.cat"); });
    usleep(500000);

    int nStatus = 0;
    EndBySigterm(nStatus);
    ASSERT_TRUE(WIFEXITED(nStatus)) << "ended by signal " << WTERMSIG(nStatus);
    CCatalog catalog(ProgramPath("archiv.cat"), 1);
    ASSERT_TRUE(catalog.IsOpen());
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_TRUE(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP);
}
