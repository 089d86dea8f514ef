#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

TEST(WinErrorTest, LastErrorBelongsToTheCallingThread)
{
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD dwOtherThread = 12345;
    std::thread([&] {
        dwOtherThread = GetLastError();
        SetLastError(ERROR_FILE_NOT_FOUND);
    }).join();
    EXPECT_EQ(dwOtherThread, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(WinErrorTest, ErrnoMapsToTheCodesCallersTestFor)
{
    EXPECT_EQ(Win32ErrorFromErrno(ENOENT), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Win32ErrorFromErrno(ENOTDIR), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(Win32ErrorFromErrno(EACCES), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Win32ErrorFromErrno(EEXIST), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Win32ErrorFromErrno(ENOSPC), ERROR_DISK_FULL);
    EXPECT_EQ(Win32ErrorFromErrno(-42), ERROR_GEN_FAILURE);
    errno = ENOTEMPTY;
    EXPECT_EQ(SetLastErrorFromErrno(), ERROR_DIR_NOT_EMPTY);
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
}
