#pragma once

// Drives and volumes: which letters exist, what kind of drive each is, and the
// volume and free-space figures of the file system under a drive or share.
// A root is given as "C:\" (or "C:"), or as "\\server\share\"; nullptr means
// the root of the current directory. A path below a root is refused with
// ERROR_INVALID_NAME (GetDiskFreeSpaceEx takes any folder).

#include "platform/base/DriveTable.h"
#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

// Bit 0 for A:, bit 2 for C:, ...
DWORD GetLogicalDrives();
// "C:\<0>D:\<0><0>": the length without the final zero, or the size needed
// including it when the buffer is too small.
DWORD GetLogicalDriveStrings(DWORD nBufferLength, LPTSTR lpBuffer);
// DRIVE_FIXED, DRIVE_REMOTE, ...; DRIVE_NO_ROOT_DIR when the root names no
// drive or share.
UINT GetDriveType(LPCTSTR lpRootPathName);

// What a walk of "every fixed drive" covers, as program paths ending in "\",
// in drive order: the root of each fixed drive, except that the drive of the
// host's root gives the user's home folder instead (the system's own folders
// hold no documents of the user's); none for it when there is no home folder.
std::vector<std::string> GetFixedDriveFolders();
// The folders directly inside the given folders (program paths), counted:
// what a walk of them has to do at its top level (the measure of its
// progress). Links and other drives' roots, which a walk does not enter, do
// not count.
int CountSubfolders(const std::vector<std::string>& folders);

// Whether a file system is mounted on the folder at a program path: another
// device's root, or a folder bound there from elsewhere. A walk that keeps to
// one drive lists such a folder but does not enter it.
BOOL IsMountedFolder(LPCTSTR pszFolder);

// File system flags, with their documented values.
// clang-format off
constexpr DWORD FILE_CASE_SENSITIVE_SEARCH = 0x00000001;
constexpr DWORD FILE_CASE_PRESERVED_NAMES  = 0x00000002;
constexpr DWORD FILE_UNICODE_ON_DISK       = 0x00000004;
constexpr DWORD FILE_READ_ONLY_VOLUME      = 0x00080000;
// clang-format on

// The volume's label (the last component of the host folder; empty for "/"),
// serial number (from the file system id), longest name, flags (case-preserving
// Unicode names, read-only when mounted so) and file system name ("NTFS",
// "FAT32", "CDFS", "UDF", else the host's type in upper case, "EXT4", "NFS4").
// Each out-parameter may be nullptr. FALSE with the last error set;
// ERROR_MORE_DATA when a buffer is too small.
BOOL GetVolumeInformation(LPCTSTR lpRootPathName, LPTSTR lpVolumeNameBuffer, DWORD nVolumeNameSize,
    LPDWORD lpVolumeSerialNumber, LPDWORD lpMaximumComponentLength, LPDWORD lpFileSystemFlags,
    LPTSTR lpFileSystemNameBuffer, DWORD nFileSystemNameSize);

// The space of the file system under a root, in 512-byte sectors and clusters
// of the file system's block size; counts above 0xFFFFFFFF are capped.
BOOL GetDiskFreeSpace(LPCTSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
    LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters);
// The space of the file system under any folder, in bytes: free to us, total, free.
BOOL GetDiskFreeSpaceEx(LPCTSTR lpDirectoryName, ULARGE_INTEGER* lpFreeBytesAvailableToCaller,
    ULARGE_INTEGER* lpTotalNumberOfBytes, ULARGE_INTEGER* lpTotalNumberOfFreeBytes);
