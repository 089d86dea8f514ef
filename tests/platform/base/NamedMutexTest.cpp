#include "platform/base/NamedMutex.h"

#include "platform/base/SyncObjects.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/ThreadTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A forked copy of the test process that runs `body` and exits with what it
// returns. Two pipes let the test and the child step each other along; every
// step is bounded, so a lost partner fails the test instead of hanging it.
class CChildProcess {
public:
    explicit CChildProcess(const std::function<int(CChildProcess&)>& body)
    {
        if (pipe2(m_toChild, O_CLOEXEC) != 0 || pipe2(m_toParent, O_CLOEXEC) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            m_bChild = true;
            close(m_toChild[1]);
            close(m_toParent[0]);
            _exit(body(*this));
        }
        close(m_toChild[0]);
        close(m_toParent[1]);
    }
    ~CChildProcess()
    {
        Kill();
        close(m_toChild[1]);
        close(m_toParent[0]);
    }
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }

    void Send(char chStep) { [[maybe_unused]] ssize_t n = write(m_bChild ? m_toParent[1] : m_toChild[1], &chStep, 1); }
    // The next step from the other side; 0 when it is gone or silent too long.
    char Receive()
    {
        pollfd fd { m_bChild ? m_toChild[0] : m_toParent[0], POLLIN, 0 };
        char chStep = 0;
        if (poll(&fd, 1, TEST_WAIT_LIMIT) == 1 && read(fd.fd, &chStep, 1) == 1)
            return chStep;
        return 0;
    }

    // The child's exit code, or -1 when it was killed or did not end in time.
    int Wait()
    {
        for (DWORD nWaited = 0; nWaited < TEST_WAIT_LIMIT && m_pid > 0; nWaited += 5) {
            int nStatus = 0;
            if (waitpid(m_pid, &nStatus, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
            }
            usleep(5000);
        }
        Kill();
        return -1;
    }
    // Ends the child the hard way, as a crash would.
    void Kill()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid { -1 };
    bool m_bChild { false };
    int m_toChild[2] { -1, -1 };
    int m_toParent[2] { -1, -1 };
};

// Each test has its own runtime folder and mutex name. Children are forked
// before the test opens the name itself, so they share none of its state.
class NamedMutexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* pszOld = std::getenv("XDG_RUNTIME_DIR"))
            m_strOldRuntime = pszOld;
        setenv("XDG_RUNTIME_DIR", m_runtime.Path().c_str(), 1);
        m_strName = std::string("Archivora.") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override
    {
        if (m_strOldRuntime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", m_strOldRuntime.c_str(), 1);
    }

    std::filesystem::path ObjectFolder() const { return m_runtime / "archivora"; }
    // The files of the object folder, the guard file left out.
    std::set<std::string> ObjectFiles() const
    {
        std::set<std::string> files;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(ObjectFolder(), ec)) {
            if (entry.path().filename() != "guard")
                files.insert(entry.path().filename().string());
        }
        return files;
    }

    TempFolder m_runtime;
    std::string m_strOldRuntime;
    std::string m_strName;
};

}

TEST_F(NamedMutexTest, ExistsWhileAnotherProcessHasItAndNotAfterTheLastLeaves)
{
    CChildProcess child([&](CChildProcess& self) {
        HANDLE hMutex = CreateMutex(nullptr, FALSE, m_strName.c_str());
        int nResult = hMutex && GetLastError() == ERROR_SUCCESS ? 0 : 1;
        self.Send('c');
        self.Receive();
        CloseHandle(hMutex);
        return nResult;
    });
    ASSERT_TRUE(child.Started());
    ASSERT_EQ(child.Receive(), 'c');

    HANDLE hMutex = CreateMutex(nullptr, FALSE, m_strName.c_str());
    ASSERT_NE(hMutex, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    child.Send('q');
    EXPECT_EQ(child.Wait(), 0);
    HANDLE hOpened = OpenMutex(SYNCHRONIZE, FALSE, m_strName.c_str());
    EXPECT_NE(hOpened, nullptr);
    CloseHandle(hOpened);
    CloseHandle(hMutex);

    EXPECT_TRUE(ObjectFiles().empty());
    EXPECT_EQ(OpenMutex(SYNCHRONIZE, FALSE, m_strName.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    hMutex = CreateMutex(nullptr, FALSE, m_strName.c_str());
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    CloseHandle(hMutex);
}

TEST_F(NamedMutexTest, OwnershipExcludesOtherProcesses)
{
    CChildProcess child([&](CChildProcess& self) {
        HANDLE hMutex = CreateMutex(nullptr, TRUE, m_strName.c_str());
        self.Send('o');
        if (self.Receive() != 'r' || !ReleaseMutex(hMutex))
            return 1;
        if (self.Receive() != 'p') // the test process owns it now
            return 2;
        int nResult = WaitForSingleObject(hMutex, 0) == WAIT_TIMEOUT ? 0 : 3;
        self.Send('t');
        nResult = nResult ? nResult : WaitForSingleObject(hMutex, TEST_WAIT_LIMIT) == WAIT_OBJECT_0 ? 0 : 4;
        ReleaseMutex(hMutex);
        CloseHandle(hMutex);
        return nResult;
    });
    ASSERT_TRUE(child.Started());
    ASSERT_EQ(child.Receive(), 'o');

    HANDLE hMutex = CreateMutex(nullptr, TRUE, m_strName.c_str()); // not created here: not owned either
    ASSERT_NE(hMutex, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(ReleaseMutex(hMutex));
    EXPECT_EQ(WaitForSingleObject(hMutex, 30), WAIT_TIMEOUT);
    child.Send('r');
    EXPECT_EQ(WaitForSingleObject(hMutex, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    child.Send('p');
    EXPECT_EQ(child.Receive(), 't');
    EXPECT_TRUE(ReleaseMutex(hMutex));
    EXPECT_EQ(child.Wait(), 0);
    CloseHandle(hMutex);
}

TEST_F(NamedMutexTest, CrashedOwnerLeavesItAbandonedAndFree)
{
    CChildProcess child([&](CChildProcess& self) {
        CreateMutex(nullptr, TRUE, m_strName.c_str());
        self.Send('o');
        self.Receive();
        return 0;
    });
    ASSERT_TRUE(child.Started());
    ASSERT_EQ(child.Receive(), 'o');

    HANDLE hMutex = CreateMutex(nullptr, FALSE, m_strName.c_str());
    ASSERT_NE(hMutex, nullptr);
    EXPECT_EQ(WaitForSingleObject(hMutex, 0), WAIT_TIMEOUT);
    HANDLE hWaiter = StartTestThread([=] { return WaitForSingleObject(hMutex, TEST_WAIT_LIMIT); });
    child.Kill();
    EXPECT_EQ(WaitForSingleObject(hWaiter, TEST_WAIT_LIMIT), WAIT_OBJECT_0);
    EXPECT_EQ(JoinTestThread(hWaiter), WAIT_ABANDONED);
    // The waiter thread ended owning it in turn, so it is abandoned once more.
    EXPECT_EQ(WaitForSingleObject(hMutex, 0), WAIT_ABANDONED);
    EXPECT_TRUE(ReleaseMutex(hMutex));
    EXPECT_EQ(WaitForSingleObject(hMutex, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(hMutex));
    CloseHandle(hMutex);
}

TEST_F(NamedMutexTest, CrashedHolderDoesNotKeepItExisting)
{
    CChildProcess child([&](CChildProcess& self) {
        CreateMutex(nullptr, TRUE, m_strName.c_str());
        self.Send('o');
        self.Receive();
        return 0;
    });
    ASSERT_TRUE(child.Started());
    ASSERT_EQ(child.Receive(), 'o');
    child.Kill();

    EXPECT_EQ(OpenMutex(SYNCHRONIZE, FALSE, m_strName.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    HANDLE hMutex = CreateMutex(nullptr, TRUE, m_strName.c_str());
    ASSERT_NE(hMutex, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_TRUE(ReleaseMutex(hMutex)); // created here, so owned from the start, and not abandoned
    EXPECT_EQ(WaitForSingleObject(hMutex, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(hMutex));
    CloseHandle(hMutex);
}

TEST_F(NamedMutexTest, SecondCreateInTheSameProcessSharesTheMutex)
{
    HANDLE hFirst = CreateMutex(nullptr, TRUE, m_strName.c_str());
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    HANDLE hThread = StartTestThread([&] {
        HANDLE hSecond = CreateMutex(nullptr, TRUE, m_strName.c_str());
        DWORD dwResult = GetLastError() == ERROR_ALREADY_EXISTS ? WaitForSingleObject(hSecond, 0) : WAIT_FAILED;
        CloseHandle(hSecond);
        return dwResult;
    });
    EXPECT_EQ(JoinTestThread(hThread), WAIT_TIMEOUT); // the first creator still owns it
    HANDLE hSecond = CreateMutex(nullptr, FALSE, m_strName.c_str());
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(ReleaseMutex(hSecond));
    EXPECT_FALSE(ReleaseMutex(hFirst));
    CloseHandle(hFirst);
    CloseHandle(hSecond);
}

TEST_F(NamedMutexTest, NamesStayInsideThePrivateFolder)
{
    std::string strLong(MAX_PATH - 10, 'n');
    std::vector<HANDLE> handles;
    for (std::string strName : { std::string("../../escape"), std::string("Global\\x"), std::string(".hidden"),
             strLong + "1", strLong + "2" }) {
        handles.push_back(CreateMutex(nullptr, FALSE, strName.c_str()));
        EXPECT_NE(handles.back(), nullptr) << strName;
    }
    std::set<std::string> files = ObjectFiles();
    EXPECT_EQ(files.size(), 2 * handles.size()); // none shared, none elsewhere
    for (const std::string& strFile : files) {
        EXPECT_LE(strFile.size(), 200u);
        EXPECT_NE(strFile[0], '.');
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_runtime.Path()), {}), 1);
    EXPECT_EQ(std::filesystem::status(ObjectFolder()).permissions() & std::filesystem::perms::all,
        std::filesystem::perms::owner_all);
    for (HANDLE hMutex : handles)
        CloseHandle(hMutex);
    EXPECT_TRUE(ObjectFiles().empty());

    EXPECT_NE(CNamedMutexFiles::FileStem("a/b"), CNamedMutexFiles::FileStem("a%2Fb"));
}

TEST_F(NamedMutexTest, FolderOthersCanWriteIsRefused)
{
    ASSERT_EQ(mkdir(ObjectFolder().c_str(), 0777), 0);
    chmod(ObjectFolder().c_str(), 0777);
    EXPECT_EQ(CreateMutex(nullptr, FALSE, m_strName.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    // Unnamed mutexes need no folder.
    HANDLE hMutex = CreateMutex(nullptr, FALSE, nullptr);
    EXPECT_NE(hMutex, nullptr);
    CloseHandle(hMutex);
}
