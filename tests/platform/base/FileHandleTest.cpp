#include "platform/base/FileHandle.h"

#include "platform/base/Clock.h"
#include "platform/base/KernelObject.h"
#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileHandleTest : public ::testing::Test {
protected:
    // The program path of a file in the test's folder.
    std::string ProgramPath(const std::string& strName) const
    {
        return ProgramPathFromHostPath((m_folder / strName).string());
    }

    std::string Contents(const std::string& strName) const
    {
        std::ifstream in(m_folder / strName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    HANDLE Open(const std::string& strName, DWORD dwAccess, DWORD dwShare, DWORD dwDisposition)
    {
        return CreateFile(
            ProgramPath(strName).c_str(), dwAccess, dwShare, nullptr, dwDisposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    static DWORD Write(HANDLE hFile, const std::string& strData)
    {
        DWORD nWritten = 0;
        EXPECT_TRUE(WriteFile(hFile, strData.data(), static_cast<DWORD>(strData.size()), &nWritten, nullptr));
        return nWritten;
    }

    static std::string Read(HANDLE hFile, DWORD nBytes)
    {
        std::string strData(nBytes, '\0');
        DWORD nRead = 0;
        EXPECT_TRUE(ReadFile(hFile, strData.data(), nBytes, &nRead, nullptr));
        strData.resize(nRead);
        return strData;
    }

    TempFolder m_folder;
};

constexpr DWORD READ_WRITE = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE;

}

TEST_F(FileHandleTest, DispositionsCreateOpenAndTruncateAsDocumented)
{
    EXPECT_EQ(Open("a.bin", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open("missing\\a.bin", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(Open("a.bin", GENERIC_WRITE, 0, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);

    HANDLE hFile = Open("a.bin", GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Write(hFile, "hello"), 5u);
    EXPECT_TRUE(CloseHandle(hFile));
    EXPECT_EQ(Open("a.bin", GENERIC_WRITE, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);

    hFile = Open("a.bin", GENERIC_READ, 0, OPEN_ALWAYS);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Read(hFile, 100), "hello");
    CloseHandle(hFile);

    hFile = Open("a.bin", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CloseHandle(hFile);
    EXPECT_EQ(Contents("a.bin"), "");

    m_folder.WriteFile("b.bin", "data");
    hFile = Open("b.bin", GENERIC_WRITE, 0, TRUNCATE_EXISTING);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    CloseHandle(hFile);
    EXPECT_EQ(Contents("b.bin"), "");

    hFile = Open("c.bin", GENERIC_WRITE, 0, OPEN_ALWAYS);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    CloseHandle(hFile);
}

TEST_F(FileHandleTest, BadArgumentsAreRefused)
{
    EXPECT_EQ(Open("a.bin", GENERIC_READ, 0, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CreateFile(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFile("Q:\\x", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);

    char buffer[4];
    DWORD nRead = 7;
    EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, buffer, 4, &nRead, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(nRead, 0u);
    EXPECT_FALSE(WriteFile(nullptr, buffer, 4, nullptr, nullptr));
    EXPECT_EQ(SetFilePointer(nullptr, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetFileSize(nullptr, nullptr), INVALID_FILE_SIZE);
}

TEST_F(FileHandleTest, OpeningTheReparsePointRefusesALinkInPlaceOfTheFile)
{
    std::ofstream(m_folder / "target.txt") << "elsewhere";
    std::ofstream(m_folder / "plain.txt") << "here";
    std::filesystem::create_symlink(m_folder / "target.txt", m_folder / "link.txt");
    const auto open = [this](const char* pszName) {
        return CreateFile(ProgramPath(pszName).c_str(), GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    };
    EXPECT_EQ(open("link.txt"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_CANT_ACCESS_FILE);
    HANDLE hFile = open("plain.txt");
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Read(hFile, 16), "here");
    CloseHandle(hFile);
    // Without the flag the link is followed, as before.
    hFile = Open("link.txt", GENERIC_READ, SHARE_ALL, OPEN_EXISTING);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Read(hFile, 16), "elsewhere");
    CloseHandle(hFile);
}

TEST_F(FileHandleTest, FoldersOpenOnlyWithBackupSemantics)
{
    std::string strPath = ProgramPath("");
    EXPECT_EQ(
        CreateFile(strPath.c_str(), GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    HANDLE hFolder = CreateFile(
        strPath.c_str(), GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(hFolder, INVALID_HANDLE_VALUE);
    FILETIME ftWrite {};
    EXPECT_TRUE(GetFileTime(hFolder, nullptr, nullptr, &ftWrite));
    EXPECT_NE(ftWrite.dwHighDateTime, 0u);
    CloseHandle(hFolder);
}

TEST_F(FileHandleTest, HandlesOnlyDoWhatTheirAccessAllows)
{
    m_folder.WriteFile("a.bin", "abc");
    HANDLE hRead = Open("a.bin", GENERIC_READ, SHARE_ALL, OPEN_EXISTING);
    EXPECT_FALSE(WriteFile(hRead, "x", 1, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(SetEndOfFile(hRead));
    EXPECT_FALSE(FlushFileBuffers(hRead));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    HANDLE hWrite = Open("a.bin", GENERIC_WRITE, SHARE_ALL, OPEN_EXISTING);
    char ch;
    EXPECT_FALSE(ReadFile(hWrite, &ch, 1, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(FlushFileBuffers(hWrite));
    CloseHandle(hRead);
    CloseHandle(hWrite);
    EXPECT_EQ(Contents("a.bin"), "abc");
}

TEST_F(FileHandleTest, ShareModesRefuseConflictingOpens)
{
    m_folder.WriteFile("a.bin", "abc");
    HANDLE hFirst = Open("a.bin", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(hFirst, INVALID_HANDLE_VALUE);

    HANDLE hSecondReader = Open("a.bin", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_NE(hSecondReader, INVALID_HANDLE_VALUE);
    // A writer conflicts with the first open's share mode ...
    EXPECT_EQ(Open("a.bin", GENERIC_WRITE, SHARE_ALL, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    // ... and a reader that will not share reading conflicts with the first open's access.
    EXPECT_EQ(Open("a.bin", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    // A refused CREATE_ALWAYS must not have truncated the file.
    EXPECT_EQ(Open("a.bin", GENERIC_WRITE, SHARE_ALL, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Contents("a.bin"), "abc");

    CloseHandle(hFirst);
    CloseHandle(hSecondReader);
    HANDLE hWriter = Open("a.bin", GENERIC_WRITE, SHARE_ALL, OPEN_EXISTING);
    EXPECT_NE(hWriter, INVALID_HANDLE_VALUE);
    CloseHandle(hWriter);
}

TEST_F(FileHandleTest, ShareModesFollowTheFileNotThePath)
{
    m_folder.WriteFile("a.bin", "abc");
    std::filesystem::create_hard_link(m_folder / "a.bin", m_folder / "b.bin");
    HANDLE hFirst = Open("a.bin", READ_WRITE, 0, OPEN_EXISTING);
    EXPECT_EQ(Open("b.bin", GENERIC_READ, SHARE_ALL, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    // A duplicate of the handle is the same open, not a second one.
    HANDLE hDuplicate = nullptr;
    ASSERT_TRUE(DuplicateHandle(
        GetCurrentProcess(), hFirst, GetCurrentProcess(), &hDuplicate, 0, FALSE, DUPLICATE_SAME_ACCESS));
    CloseHandle(hFirst);
    EXPECT_EQ(Open("b.bin", GENERIC_READ, SHARE_ALL, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    CloseHandle(hDuplicate);
    HANDLE hSecond = Open("b.bin", GENERIC_READ, SHARE_ALL, OPEN_EXISTING);
    EXPECT_NE(hSecond, INVALID_HANDLE_VALUE);
    CloseHandle(hSecond);
}

TEST_F(FileHandleTest, FilePointerMovesWithHighPartsAndRefusesNegativePositions)
{
    HANDLE hFile = Open("a.bin", READ_WRITE, 0, CREATE_NEW);
    Write(hFile, "0123456789");
    EXPECT_EQ(SetFilePointer(hFile, -4, nullptr, FILE_END), 6u);
    EXPECT_EQ(Read(hFile, 10), "6789");
    EXPECT_EQ(SetFilePointer(hFile, -2, nullptr, FILE_CURRENT), 8u);
    EXPECT_EQ(SetFilePointer(hFile, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(SetFilePointer(hFile, 0, nullptr, FILE_CURRENT), 8u);
    EXPECT_EQ(SetFilePointer(hFile, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // 5 GB: the high half goes in and comes back; without it the position does not fit.
    LONG nHigh = 1;
    EXPECT_EQ(SetFilePointer(hFile, 0x40000000, &nHigh, FILE_BEGIN), 0x40000000u);
    EXPECT_EQ(nHigh, 1);
    EXPECT_EQ(GetLastError(), NO_ERROR);
    EXPECT_EQ(SetFilePointer(hFile, 0, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    LARGE_INTEGER liZero {}, liNow {};
    ASSERT_TRUE(SetFilePointerEx(hFile, liZero, &liNow, FILE_CURRENT));
    EXPECT_EQ(liNow.QuadPart, 0x140000000LL);

    // An all-ones low half is a valid answer, told apart by the last error.
    nHigh = 0;
    EXPECT_EQ(SetFilePointer(hFile, static_cast<LONG>(0xFFFFFFFF), &nHigh, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), NO_ERROR);
    CloseHandle(hFile);
}

TEST_F(FileHandleTest, EndOfFileCutsAndExtendsWithZeros)
{
    HANDLE hFile = Open("a.bin", READ_WRITE, 0, CREATE_NEW);
    Write(hFile, "0123456789");
    SetFilePointer(hFile, 4, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(hFile));
    DWORD nHigh = 9;
    EXPECT_EQ(GetFileSize(hFile, &nHigh), 4u);
    EXPECT_EQ(nHigh, 0u);
    SetFilePointer(hFile, 6, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(hFile));
    // Writing past the end leaves a zero-filled gap too.
    SetFilePointer(hFile, 8, nullptr, FILE_BEGIN);
    Write(hFile, "x");
    LARGE_INTEGER liSize {};
    ASSERT_TRUE(GetFileSizeEx(hFile, &liSize));
    EXPECT_EQ(liSize.QuadPart, 9);
    CloseHandle(hFile);
    EXPECT_EQ(Contents("a.bin"), std::string("0123\0\0\0\0x", 9));
}

TEST_F(FileHandleTest, RangeLocksExcludeOtherHandlesOnly)
{
    HANDLE hFirst = Open("a.bin", READ_WRITE, SHARE_ALL, CREATE_NEW);
    Write(hFirst, "0123456789");
    HANDLE hSecond = Open("a.bin", READ_WRITE, SHARE_ALL, OPEN_EXISTING);

    ASSERT_TRUE(LockFile(hFirst, 2, 0, 3, 0));
    EXPECT_FALSE(LockFile(hSecond, 4, 0, 10, 0));
    EXPECT_EQ(GetLastError(), ERROR_LOCK_VIOLATION);
    EXPECT_FALSE(LockFile(hFirst, 0, 0, 3, 0)); // overlapping its own lock fails too
    EXPECT_TRUE(LockFile(hSecond, 5, 0, 5, 0)); // adjacent is fine
    EXPECT_TRUE(LockFile(hSecond, 0, 1, 1, 0)); // past the end of the file is fine

    // Reading or writing a range the other handle locked fails; the owner may.
    char buffer[4];
    SetFilePointer(hSecond, 1, nullptr, FILE_BEGIN);
    EXPECT_FALSE(ReadFile(hSecond, buffer, 2, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_LOCK_VIOLATION);
    SetFilePointer(hFirst, 2, nullptr, FILE_BEGIN);
    EXPECT_EQ(Read(hFirst, 3), "234");

    EXPECT_FALSE(UnlockFile(hFirst, 2, 0, 2, 0));
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
    EXPECT_FALSE(UnlockFile(hSecond, 2, 0, 3, 0));
    EXPECT_TRUE(UnlockFile(hFirst, 2, 0, 3, 0));
    EXPECT_TRUE(LockFile(hSecond, 0, 0, 5, 0));

    // Closing a handle releases its locks.
    CloseHandle(hSecond);
    EXPECT_TRUE(LockFile(hFirst, 0, 0, 10, 0));
    CloseHandle(hFirst);
}

TEST_F(FileHandleTest, TimesRoundTripThroughTheHandle)
{
    HANDLE hFile = Open("a.bin", READ_WRITE, 0, CREATE_NEW);
    // 2001-09-09 01:46:40 UTC = 1'000'000'000 s since 1970, plus half a second.
    ULONGLONG nUnits = (1000000000ULL + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND + 5000000;
    FILETIME ftWrite { static_cast<DWORD>(nUnits), static_cast<DWORD>(nUnits >> 32) };
    FILETIME ftAccess { ftWrite.dwLowDateTime + 10000000, ftWrite.dwHighDateTime };
    ASSERT_TRUE(SetFileTime(hFile, nullptr, &ftAccess, &ftWrite));
    FILETIME ftGotCreation {}, ftGotAccess {}, ftGotWrite {};
    ASSERT_TRUE(GetFileTime(hFile, &ftGotCreation, &ftGotAccess, &ftGotWrite));
    EXPECT_EQ(ftGotWrite.dwLowDateTime, ftWrite.dwLowDateTime);
    EXPECT_EQ(ftGotWrite.dwHighDateTime, ftWrite.dwHighDateTime);
    EXPECT_EQ(ftGotAccess.dwLowDateTime, ftAccess.dwLowDateTime);
    EXPECT_NE(ftGotCreation.dwHighDateTime, 0u);

    // A null or all-ones time leaves that time alone.
    FILETIME ftKeep { 0xFFFFFFFF, 0xFFFFFFFF };
    ASSERT_TRUE(SetFileTime(hFile, nullptr, nullptr, &ftKeep));
    ASSERT_TRUE(GetFileTime(hFile, nullptr, nullptr, &ftGotWrite));
    EXPECT_EQ(ftGotWrite.dwLowDateTime, ftWrite.dwLowDateTime);
    CloseHandle(hFile);

    HANDLE hRead = Open("a.bin", GENERIC_READ, 0, OPEN_EXISTING);
    EXPECT_FALSE(SetFileTime(hRead, nullptr, nullptr, &ftWrite));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    CloseHandle(hRead);
}

TEST_F(FileHandleTest, DeleteOnCloseRemovesTheFileWithTheLastHandle)
{
    HANDLE hFile = CreateFile(ProgramPath("t.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(std::filesystem::exists(m_folder / "t.tmp"));
    CloseHandle(hFile);
    EXPECT_FALSE(std::filesystem::exists(m_folder / "t.tmp"));
}

TEST_F(FileHandleTest, ReadOnlyAttributeMakesTheNewFileReadOnly)
{
    HANDLE hFile = CreateFile(
        ProgramPath("r.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_READONLY, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Write(hFile, "kept"), 4u); // the handle that created it may still write
    CloseHandle(hFile);
    auto perms = std::filesystem::status(m_folder / "r.txt").permissions();
    EXPECT_EQ(perms & std::filesystem::perms::owner_write, std::filesystem::perms::none);
}

TEST_F(FileHandleTest, ConcurrentExclusiveOpensLetOneThrough)
{
    std::string strPath = ProgramPath("race.bin");
    std::atomic<int> nOpened { 0 };
    std::atomic<int> nRefused { 0 };
    std::vector<HANDLE> handles(8, INVALID_HANDLE_VALUE);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < handles.size(); ++i) {
        threads.emplace_back([&, i] {
            handles[i] = CreateFile(strPath.c_str(), READ_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
            if (handles[i] != INVALID_HANDLE_VALUE)
                ++nOpened;
            else if (GetLastError() == ERROR_SHARING_VIOLATION)
                ++nRefused;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(nOpened, 1);
    EXPECT_EQ(nRefused, 7);
    for (HANDLE hFile : handles) {
        if (hFile != INVALID_HANDLE_VALUE)
            CloseHandle(hFile);
    }
}

TEST_F(FileHandleTest, APipeWithoutWriterOpensAtOnceAndShowsItsType)
{
    const std::string strHostPipe = (m_folder / "pipe").string();
    ASSERT_EQ(::mkfifo(strHostPipe.c_str(), 0600), 0);
    auto open = std::async(std::launch::async, [&] { return Open("pipe", GENERIC_READ, SHARE_ALL, OPEN_EXISTING); });
    if (open.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ::close(::open(strHostPipe.c_str(), O_WRONLY | O_NONBLOCK)); // a writer releases the open
        ADD_FAILURE() << "opening a pipe waited for a writer";
    }
    const HANDLE hPipe = open.get();
    ASSERT_NE(hPipe, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileType(hPipe), static_cast<DWORD>(FILE_TYPE_PIPE));
    EXPECT_TRUE(CloseHandle(hPipe));
    const HANDLE hFile = Open("plain.txt", READ_WRITE, 0, CREATE_NEW);
    EXPECT_EQ(GetFileType(hFile), static_cast<DWORD>(FILE_TYPE_DISK));
    EXPECT_TRUE(CloseHandle(hFile));
}
