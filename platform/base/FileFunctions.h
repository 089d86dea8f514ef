#pragma once

// The file-system calls on program paths: attributes, folders, deleting,
// moving and copying, the C run-time's file calls, temporary files and path
// searches. Every path goes through the path map (PathMap.h); every failure
// returns the documented failure value with the last error set (the C run-time
// calls set errno instead).

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>

#include <sys/stat.h>
#include <sys/types.h>

// File attributes, with their documented values.
// clang-format off
constexpr DWORD FILE_ATTRIBUTE_READONLY      = 0x00000001; // No write permission for us
constexpr DWORD FILE_ATTRIBUTE_HIDDEN        = 0x00000002; // The name starts with a dot
constexpr DWORD FILE_ATTRIBUTE_SYSTEM        = 0x00000004; // Devices, sockets and pipes
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY     = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE       = 0x00000020; // Every regular file
constexpr DWORD FILE_ATTRIBUTE_NORMAL        = 0x00000080;
constexpr DWORD FILE_ATTRIBUTE_TEMPORARY     = 0x00000100;
constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x00000400;
constexpr DWORD INVALID_FILE_ATTRIBUTES      = 0xFFFFFFFF;
// clang-format on

// What GetFileAttributesEx reports.
struct WIN32_FILE_ATTRIBUTE_DATA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime; // Birth time where the file system keeps one, else the last write
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
};
using LPWIN32_FILE_ATTRIBUTE_DATA = WIN32_FILE_ATTRIBUTE_DATA*;

enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard, GetFileExMaxInfoLevel };

/* Attributes. */
DWORD GetFileAttributes(LPCTSTR lpFileName); // INVALID_FILE_ATTRIBUTES on failure
BOOL GetFileAttributesEx(LPCTSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation);
// Only FILE_ATTRIBUTE_READONLY has an effect: set, it clears every write
// permission bit; clear, it gives the owner write permission. The other
// attributes are accepted and ignored (hidden comes from the name alone).
BOOL SetFileAttributes(LPCTSTR lpFileName, DWORD dwFileAttributes);
// Makes a file or folder the user's alone: no one else may read, write or
// enter it (the host's mode 0600 for a file, 0700 for a folder). A symbolic
// link is refused with ERROR_CANT_ACCESS_FILE, never followed.
BOOL RestrictToOwner(LPCTSTR lpFileName);

/* Files and folders of the user alone. */
// Security attributes that make the file or folder CreateFile or
// CreateDirectory creates the user's alone (the host's mode 0600 for a file,
// 0700 for a folder). An existing file keeps its mode (see RestrictToOwner).
LPSECURITY_ATTRIBUTES OwnerOnlySecurity();
bool IsOwnerOnlySecurity(const SECURITY_ATTRIBUTES* pAttributes);

/* Folders, deleting, moving and copying. */
BOOL CreateDirectory(LPCTSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL RemoveDirectory(LPCTSTR lpPathName);
// Refuses read-only files and folders with ERROR_ACCESS_DENIED.
BOOL DeleteFile(LPCTSTR lpFileName);

// clang-format off
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001; // Replace an existing file (never a folder)
constexpr DWORD MOVEFILE_COPY_ALLOWED     = 0x00000002; // Copy and delete a file across devices
constexpr DWORD MOVEFILE_WRITE_THROUGH    = 0x00000008; // Flush to disk before returning
// clang-format on

// Moves a file or a folder; files also across devices, folders only within one
// (else ERROR_NOT_SAME_DEVICE). Fails with ERROR_ALREADY_EXISTS when the new
// name exists, unless it is the same file under another case.
BOOL MoveFile(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName);
// As MoveFile, with the flags above; without MOVEFILE_COPY_ALLOWED a move across
// devices fails with ERROR_NOT_SAME_DEVICE. Other flags: ERROR_INVALID_PARAMETER.
BOOL MoveFileEx(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, DWORD dwFlags);
// Copies a file with its times and read-only state. With bFailIfExists an
// existing target fails with ERROR_FILE_EXISTS; a read-only target is never
// replaced (ERROR_ACCESS_DENIED). A failed copy leaves no partial target.
BOOL CopyFile(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, BOOL bFailIfExists);
// Gives an existing file a second name in the same volume; both names then
// refer to the same data. Fails with ERROR_ALREADY_EXISTS when the new name
// exists, ERROR_ACCESS_DENIED for a folder, ERROR_NOT_SAME_DEVICE across
// volumes and ERROR_NOT_SUPPORTED where the file system has no links.
// Security attributes are ignored.
BOOL CreateHardLink(LPCTSTR lpFileName, LPCTSTR lpExistingFileName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);

/* The C run-time's calls; they return 0, or -1 with errno set. */
// mode: 0 existence, 2 write, 4 read, 6 both; write is refused for read-only files.
int _access(const char* path, int mode);
// Refuses read-only files with EACCES.
int _unlink(const char* filename);

// clang-format off
using _dev_t = unsigned int;
using _ino_t = unsigned short;
using _off_t = long;
constexpr unsigned short _S_IFMT   = 0xF000;
constexpr unsigned short _S_IFDIR  = 0x4000;
constexpr unsigned short _S_IFCHR  = 0x2000;
constexpr unsigned short _S_IFREG  = 0x8000;
constexpr unsigned short _S_IREAD  = 0x0100;
constexpr unsigned short _S_IWRITE = 0x0080;
constexpr unsigned short _S_IEXEC  = 0x0040;
// clang-format on

// The C run-time's file status. st_dev and st_rdev hold the drive number
// (0 = A:); st_ino, st_uid and st_gid are 0; st_mode holds _S_IFDIR or
// _S_IFREG and the permission bits of the owner repeated for group and others.
// The time fields are named st_atime, st_mtime and st_ctime as in the run-time;
// the system header spells those names as macros, which the members follow.
struct _stat {
    _dev_t st_dev;
    _ino_t st_ino;
    unsigned short st_mode;
    short st_nlink;
    short st_uid;
    short st_gid;
    _dev_t st_rdev;
    _off_t st_size;
#if defined(st_atime) && defined(st_mtime) && defined(st_ctime)
    struct timespec st_atim;
    struct timespec st_mtim;
    struct timespec st_ctim;
#else
    time_t st_atime;
    time_t st_mtime;
    time_t st_ctime;
#endif
};
int _stat(const char* path, struct _stat* buffer);

/* Temporary files and searches. */
// The host's temporary folder ($TMPDIR, else /tmp) as a program path with a
// trailing separator; the length, or the size needed including the zero.
DWORD GetTempPath(DWORD nBufferLength, LPTSTR lpBuffer);
// Makes "<path>\<up to 3 prefix characters><hex>.tmp". With uUnique 0 the
// number comes from the tick count, moves on past existing files, and the file
// is created empty; else the lower 16 bits of uUnique are used and nothing is
// created. Returns the number used, 0 on failure. The buffer holds MAX_PATH.
UINT GetTempFileName(LPCTSTR lpPathName, LPCTSTR lpPrefixString, UINT uUnique, LPTSTR lpTempFileName);
// Finds a file in `lpPath` (folders separated by ";"), or, when it is nullptr,
// in the program folder, the current directory and then the host's PATH.
// `lpExtension` is appended when the name has no extension. A name holding a
// folder is only checked where it points. Returns the length of the full path
// found (or the size needed), 0 with ERROR_FILE_NOT_FOUND.
DWORD SearchPath(
    LPCTSTR lpPath, LPCTSTR lpFileName, LPCTSTR lpExtension, DWORD nBufferLength, LPTSTR lpBuffer, LPTSTR* lpFilePart);

/* Shared with the other path modules. */
// The attribute data of a host path: a symbolic link shows its target's
// attributes with FILE_ATTRIBUTE_REPARSE_POINT (a dangling one, a file's);
// `strName` decides the hidden attribute. FALSE with the last error set.
BOOL ReadHostFileInfo(const std::string& strHostPath, std::string_view strName, WIN32_FILE_ATTRIBUTE_DATA& data);
