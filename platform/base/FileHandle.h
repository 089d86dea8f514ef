#pragma once

// Open files behind HANDLE values: CreateFile and the calls that read, write,
// position, size, lock and time an open file. Paths are program paths, mapped to
// host paths when the file is opened. A handle is closed with CloseHandle.
//
// Share modes and byte-range locks are enforced between the handles of this
// process only; other processes are not checked (their opens never fail with a
// sharing violation, and our range locks are advisory to them).
// I/O is synchronous: FILE_FLAG_OVERLAPPED is accepted and ignored, and the
// OVERLAPPED argument of ReadFile/WriteFile must be nullptr. The one overlapped
// operation is ReadDirectoryChangesW on a folder (ChangeNotify.h).
//
// CFile is built on these calls; the layers above open files with CHostFile
// or CFile, as HostFile.h says, not with these.

#include "platform/base/FileFunctions.h"
#include "platform/base/WinError.h"
#include "platform/base/WinTypes.h"

#include <functional>
#include <memory>
#include <string>

// Access rights (dwDesiredAccess). 0 opens for querying only.
constexpr DWORD FILE_LIST_DIRECTORY = 0x00000001; // a folder, to read its changes
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD GENERIC_ALL = 0x10000000; // read and write

// Share modes: what other opens of the same file may do while this one is open.
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD FILE_SHARE_DELETE = 0x00000004; // accepted; deleting does not check share modes

// Creation dispositions.
constexpr DWORD CREATE_NEW = 1;    // fails with ERROR_FILE_EXISTS if the file exists
constexpr DWORD CREATE_ALWAYS = 2; // truncates an existing file (last error ERROR_ALREADY_EXISTS)
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;       // creates a missing file (last error ERROR_ALREADY_EXISTS if it existed)
constexpr DWORD TRUNCATE_EXISTING = 5; // needs GENERIC_WRITE

// Flags, combined with the FILE_ATTRIBUTE_* values (FileFunctions.h) in dwFlagsAndAttributes.
// Of the attributes only FILE_ATTRIBUTE_READONLY has an effect: a file it creates gets
// no write permission bits.
constexpr DWORD FILE_FLAG_WRITE_THROUGH = 0x80000000;    // every write reaches the disk (O_DSYNC)
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000;       // accepted; I/O stays synchronous
constexpr DWORD FILE_FLAG_NO_BUFFERING = 0x20000000;     // accepted; a hint only
constexpr DWORD FILE_FLAG_RANDOM_ACCESS = 0x10000000;    // accepted; a hint only
constexpr DWORD FILE_FLAG_SEQUENTIAL_SCAN = 0x08000000;  // accepted; a hint only
constexpr DWORD FILE_FLAG_DELETE_ON_CLOSE = 0x04000000;  // the file is removed when the object closes
constexpr DWORD FILE_FLAG_BACKUP_SEMANTICS = 0x02000000; // needed to open a folder
// A symbolic link named by the path is not followed: opening it fails with
// ERROR_CANT_ACCESS_FILE, so what opens is the named file itself.
constexpr DWORD FILE_FLAG_OPEN_REPARSE_POINT = 0x00200000;

// Move methods of SetFilePointer.
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;

// Failure returns of SetFilePointer and GetFileSize; both are also valid low parts
// of a large value, so callers check GetLastError() != NO_ERROR.
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;
using PLARGE_INTEGER = LARGE_INTEGER*;
using PLONG = LONG*;

// Opening. The open itself never waits for a peer: a pipe without a writer
// opens at once for reading (reads then wait as the host's do), and without
// a reader fails for writing. Returns INVALID_HANDLE_VALUE with the last
// error set on failure:
// ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND (a missing folder on the way),
// ERROR_FILE_EXISTS, ERROR_ACCESS_DENIED (permissions, or a folder without
// FILE_FLAG_BACKUP_SEMANTICS), ERROR_SHARING_VIOLATION, ERROR_INVALID_PARAMETER.
// Of security attributes only OwnerOnlySecurity() (FileFunctions.h) has an
// effect; the template file is ignored.
HANDLE CreateFile(LPCTSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
    LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
    HANDLE hTemplateFile);

// Reading and writing at the file pointer, which moves past the bytes transferred.
// Reading at or past the end succeeds with 0 bytes. Both fail with ERROR_ACCESS_DENIED
// when the handle lacks the access, and ERROR_LOCK_VIOLATION when the range touches
// a region another handle has locked.
BOOL ReadFile(
    HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
    LPOVERLAPPED lpOverlapped);

// Moves the file pointer; positions past the end are allowed, negative ones fail with
// ERROR_NEGATIVE_SEEK. With lpDistanceToMoveHigh the distance is the 64-bit value of
// both halves and *lpDistanceToMoveHigh receives the new high half; without it the
// distance is lDistanceToMove sign-extended and a new position above 4 GB fails with
// ERROR_INVALID_PARAMETER. Returns the new low half, or INVALID_SET_FILE_POINTER with
// the last error set; on success the last error is NO_ERROR.
DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod);
BOOL SetFilePointerEx(
    HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer, DWORD dwMoveMethod);

// Cuts or extends (with zeros) the file to the file pointer.
BOOL SetEndOfFile(HANDLE hFile);
// Writes the file's data and metadata to the disk (fsync); needs GENERIC_WRITE.
BOOL FlushFileBuffers(HANDLE hFile);

// What an open handle names (GetFileType): FILE_TYPE_DISK a regular file or a
// folder, FILE_TYPE_CHAR a character device, FILE_TYPE_PIPE a pipe or a socket,
// FILE_TYPE_UNKNOWN anything else (block devices) and failures, with the last
// error set (NO_ERROR for a known type).
constexpr DWORD FILE_TYPE_UNKNOWN = 0x0000;
constexpr DWORD FILE_TYPE_DISK = 0x0001;
constexpr DWORD FILE_TYPE_CHAR = 0x0002;
constexpr DWORD FILE_TYPE_PIPE = 0x0003;
DWORD GetFileType(HANDLE hFile);

// GetFileSize returns the low half and stores the high half through lpFileSizeHigh
// when given; INVALID_FILE_SIZE with the last error set on failure, NO_ERROR on success.
DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
BOOL GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize);

// Exclusive byte-range locks, which may lie past the end of the file. A lock that
// overlaps one held through another handle fails at once with ERROR_LOCK_VIOLATION.
// UnlockFile must name exactly a range this handle locked (else ERROR_NOT_LOCKED).
// Closing the handle's last reference releases its locks.
BOOL LockFile(HANDLE hFile, DWORD dwFileOffsetLow, DWORD dwFileOffsetHigh, DWORD nNumberOfBytesToLockLow,
    DWORD nNumberOfBytesToLockHigh);
BOOL UnlockFile(HANDLE hFile, DWORD dwFileOffsetLow, DWORD dwFileOffsetHigh, DWORD nNumberOfBytesToUnlockLow,
    DWORD nNumberOfBytesToUnlockHigh);

// Times of the open file, on the FILETIME scale (UTC). Any pointer may be nullptr.
// The creation time is the host's birth time where the file system records one,
// else the last write time. SetFileTime needs GENERIC_WRITE and cannot change the
// creation time (it is ignored); nullptr or 0xFFFFFFFF halves leave a time as it is.
BOOL GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime, LPFILETIME lpLastWriteTime);
BOOL SetFileTime(
    HANDLE hFile, const FILETIME* lpCreationTime, const FILETIME* lpLastAccessTime, const FILETIME* lpLastWriteTime);

/* For the services that keep state with an open file (completion ports,
   change notices). */

// What a handle names.
struct CFileHandleInfo {
    std::string strHostPath;
    bool bFolder { false };
    bool bOverlapped { false }; // opened with FILE_FLAG_OVERLAPPED
};
BOOL GetFileHandleInfo(HANDLE hFile, CFileHandleInfo& info);

// State a service keeps with one open file. When the file's last handle is
// closed, its object calls OnFileClosed (holding none of its locks) and lets go.
class CFileAttachment {
public:
    virtual ~CFileAttachment() = default;
    virtual void OnFileClosed() { }
};
enum class EFileAttachment {
    CompletionPort,
    ChangeNotices,
};
// The attachment of that kind, made by fnMake on first use; nullptr with
// ERROR_INVALID_HANDLE for a handle that names no open file.
std::shared_ptr<CFileAttachment> GetFileAttachment(
    HANDLE hFile, EFileAttachment eKind, const std::function<std::shared_ptr<CFileAttachment>()>& fnMake);
