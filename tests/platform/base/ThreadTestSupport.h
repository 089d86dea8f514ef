#pragma once

// Helpers for tests that use real threads. Every wait in a test is bounded, so
// a fault shows as a failure rather than a hung test.

#include "platform/base/KernelObject.h"
#include "platform/base/Threads.h"
#include "platform/base/Wait.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Long enough for any thread to get going on a loaded machine; only reached when something is wrong.
constexpr DWORD TEST_WAIT_LIMIT = 5000;

// Runs `body` on a new platform thread and returns its handle (the caller closes it).
inline HANDLE StartTestThread(std::function<DWORD()> body, DWORD dwFlags = 0, LPDWORD pdwThreadId = nullptr)
{
    auto* pBody = new std::function<DWORD()>(std::move(body));
    HANDLE hThread = CreateThread(
        nullptr, 0,
        [](LPVOID pParameter) -> DWORD {
            std::unique_ptr<std::function<DWORD()>> pOwned(static_cast<std::function<DWORD()>*>(pParameter));
            return (*pOwned)();
        },
        pBody, dwFlags, pdwThreadId);
    if (!hThread)
        delete pBody;
    return hThread;
}

// Waits for the thread to end and closes its handle; returns its exit code.
inline DWORD JoinTestThread(HANDLE hThread)
{
    EXPECT_EQ(WaitForSingleObject(hThread, TEST_WAIT_LIMIT), WAIT_OBJECT_0) << "thread did not end";
    DWORD dwExitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(hThread, &dwExitCode));
    CloseHandle(hThread);
    return dwExitCode;
}
