#include "frame/CSingleInstance.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr char TITLE[] = "Archivora Test\nsecond line";
constexpr char CLASS_NAME[] = "Archivora Test Class";

// The write end of the pipe on which the first instance reports each command.
int g_fdReport = -1;

LRESULT CALLBACK MainProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_COMMAND) {
        UINT nID = LOWORD(wParam);
        (void)!write(g_fdReport, &nID, sizeof(nID));
        if (nID == 32848)
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, setenv("XDG_RUNTIME_DIR", m_temp.Path().c_str(), 1));
        ASSERT_EQ(0, pipe(m_fdPipe));
    }
    void TearDown() override
    {
        close(m_fdPipe[0]);
        close(m_fdPipe[1]);
    }

    // Forks the first instance: it registers, makes its main window, reports
    // 1 when ready and then every command it receives, and ends after 32848.
    pid_t StartFirstInstance()
    {
        pid_t pid = fork();
        if (pid == 0) {
            g_fdReport = m_fdPipe[1];
            CSingleInstance guard;
            if (!guard.Register(TITLE))
                _exit(2);
            HWND hWnd = CreateWindowEx(
                0, CLASS_NAME, "Main", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandle(nullptr), nullptr);
            if (!hWnd)
                _exit(3);
            SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainProc));
            UINT nReady = 1;
            (void)!write(g_fdReport, &nReady, sizeof(nReady));
            MSG msg;
            while (GetMessage(&msg, nullptr, 0, 0) > 0)
                DispatchMessage(&msg);
            _exit(0);
        }
        UINT nReady = 0;
        EXPECT_EQ(static_cast<ssize_t>(sizeof(nReady)), read(m_fdPipe[0], &nReady, sizeof(nReady)));
        EXPECT_EQ(1u, nReady);
        return pid;
    }

    // Runs `body` in a child process and returns its exit status.
    template<typename F> static int InChild(F body)
    {
        pid_t pid = fork();
        if (pid == 0)
            _exit(body());
        int nStatus = 0;
        waitpid(pid, &nStatus, 0);
        return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    }

    // A new start that must find itself alone: 0 when Register succeeds.
    static int RegisterAlone()
    {
        CSingleInstance guard;
        return guard.Register(TITLE) ? 0 : 1;
    }

    TempFolder m_temp;
    int m_fdPipe[2] = { -1, -1 };
};

TEST_F(SingleInstanceTest, SecondStartDeliversCommandsInOrderAndMutexIsFreedAtExit)
{
    pid_t pidFirst = StartFirstInstance();

    int nSecond = InChild([] {
        CSingleInstance guard;
        if (guard.Register(TITLE) || GetLastError() != ERROR_ALREADY_EXISTS)
            return 1;
        if (guard.GetClassName() != CLASS_NAME)
            return 2;
        HWND hWnd = FindWindowEx(nullptr, nullptr, "archivora test class", nullptr);
        if (!hWnd)
            return 3;
        SendMessage(hWnd, WM_COMMAND, 32850, 0);
        SendMessage(hWnd, WM_COMMAND, 32848, 0);
        return 0;
    });
    EXPECT_EQ(0, nSecond);

    UINT nIDs[2] = {};
    ASSERT_EQ(static_cast<ssize_t>(sizeof(nIDs)), read(m_fdPipe[0], nIDs, sizeof(nIDs)));
    EXPECT_EQ(32850u, nIDs[0]);
    EXPECT_EQ(32848u, nIDs[1]);

    int nStatus = 0;
    waitpid(pidFirst, &nStatus, 0);
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    EXPECT_EQ(0, InChild(RegisterAlone));
}

TEST_F(SingleInstanceTest, MutexIsFreedWhenTheFirstInstanceIsKilled)
{
    pid_t pidFirst = StartFirstInstance();
    EXPECT_EQ(1, InChild(RegisterAlone));
    kill(pidFirst, SIGKILL);
    waitpid(pidFirst, nullptr, 0);
    EXPECT_EQ(0, InChild(RegisterAlone));
}

TEST_F(SingleInstanceTest, SecondStartFindsNoWindowOfAnotherClass)
{
    pid_t pidFirst = StartFirstInstance();
    int nSecond = InChild([] {
        CSingleInstance guard;
        guard.Register(TITLE);
        return FindWindowEx(nullptr, nullptr, "Other Class", nullptr) ? 1 : 0;
    });
    EXPECT_EQ(0, nSecond);
    kill(pidFirst, SIGKILL);
    waitpid(pidFirst, nullptr, 0);
}

TEST(SingleInstance, MissingTitleStringFails)
{
    CSingleInstance guard;
    EXPECT_FALSE(guard.Register(UINT(65000)));
    EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND), GetLastError());
}
}
