#include "platform/base/Volumes.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/FolderListing.h"
#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/WinError.h"
#include "platform/base/XdgFolders.h"

#include <algorithm>
#include <limits>
#include <map>

#include <sys/statvfs.h>

namespace {

// The root a root path names: a drive or a share, with no components below it.
// nullptr means the root of the current directory.
BOOL MapRoot(LPCTSTR pszRoot, CProgramPath& path, CHostPath& hostPath)
{
    std::string strRoot;
    if (pszRoot) {
        strRoot = pszRoot;
        if (strRoot.size() == 2 && strRoot[1] == ':')
            strRoot += '\\';
    } else {
        strRoot = "\\";
    }
    if (!ParseProgramPath(strRoot.c_str(), path) || !ResolveProgramPath(path, hostPath))
        return FALSE;
    if (!hostPath.IsRoot()) {
        SetLastError(ERROR_DIR_NOT_ROOT);
        return FALSE;
    }
    return TRUE;
}

BOOL StatFileSystem(const std::string& strHostPath, struct statvfs& info)
{
    if (statvfs(strHostPath.c_str(), &info) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

std::string FileSystemName(const std::string& strType)
{
    static const std::map<std::string, std::string> s_names
        = { { "vfat", "FAT32" }, { "msdos", "FAT" }, { "exfat", "exFAT" }, { "ntfs", "NTFS" }, { "ntfs3", "NTFS" },
              { "fuseblk", "NTFS" }, { "iso9660", "CDFS" }, { "udf", "UDF" } };
    if (auto it = s_names.find(strType); it != s_names.end())
        return it->second;
    std::string strName = strType;
    std::transform(strName.begin(), strName.end(), strName.begin(),
        [](char ch) { return static_cast<char>(std::toupper(static_cast<unsigned char>(ch))); });
    return strName;
}

DWORD CapToDword(unsigned long long nValue)
{
    return static_cast<DWORD>(std::min<unsigned long long>(nValue, std::numeric_limits<DWORD>::max()));
}

}

DWORD GetLogicalDrives()
{
    return GetDriveTable()->GetDriveMask();
}

DWORD GetLogicalDriveStrings(DWORD nBufferLength, LPTSTR lpBuffer)
{
    DWORD dwMask = GetLogicalDrives();
    std::string strList;
    for (int i = 0; i < 26; ++i) {
        if (dwMask & (DWORD { 1 } << i)) {
            strList += static_cast<char>('A' + i);
            strList.append(":\\", 3); // With its zero.
        }
    }
    if (!lpBuffer || strList.size() + 1 > nBufferLength)
        return static_cast<DWORD>(strList.size() + 1);
    std::copy(strList.begin(), strList.end(), lpBuffer);
    lpBuffer[strList.size()] = '\0';
    return static_cast<DWORD>(strList.size());
}

UINT GetDriveType(LPCTSTR lpRootPathName)
{
    CProgramPath path;
    CHostPath hostPath;
    if (!MapRoot(lpRootPathName, path, hostPath))
        return DRIVE_NO_ROOT_DIR;
    if (!path.chDrive)
        return DRIVE_REMOTE;
    const CDrive* pDrive = GetDriveTable()->GetDrive(path.chDrive);
    return pDrive ? pDrive->uType : DRIVE_NO_ROOT_DIR;
}

std::vector<std::string> GetFixedDriveFolders()
{
    std::vector<std::string> folders;
    const auto pTable = GetDriveTable();
    for (TCHAR chLetter = 'A'; chLetter <= 'Z'; ++chLetter) {
        const CDrive* pDrive = pTable->GetDrive(chLetter);
        if (pDrive == nullptr || pDrive->uType != DRIVE_FIXED)
            continue;
        if (pDrive->strHostFolder != "/") {
            folders.push_back(std::string(1, chLetter) + ":\\");
            continue;
        }
        const std::string strHome = XdgHome();
        if (strHome.empty() || strHome == "/")
            continue;
        std::string strProgramPath = ProgramPathFromHostPath(strHome);
        // The home folder may lie on another fixed drive, which is walked whole.
        if (strProgramPath.empty() || strProgramPath[0] != chLetter)
            continue;
        if (strProgramPath.back() != '\\')
            strProgramPath += '\\';
        folders.push_back(strProgramPath);
    }
    return folders;
}

int CountSubfolders(const std::vector<std::string>& folders)
{
    int nCount = 0;
    std::vector<CFolderEntry> entries;
    for (const std::string& strFolder : folders) {
        if (!ListFolderEntries(strFolder.c_str(), entries))
            continue;
        nCount += static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const CFolderEntry& entry) {
            return (entry.dwAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
                == FILE_ATTRIBUTE_DIRECTORY;
        }));
    }
    return nCount;
}

BOOL IsMountedFolder(LPCTSTR pszFolder)
{
    std::string strHostPath;
    return HostPathFromProgramPath(pszFolder, strHostPath) && GetDriveTable()->IsMountPoint(NormalHostPath(strHostPath))
        ? TRUE
        : FALSE;
}

BOOL GetVolumeInformation(LPCTSTR lpRootPathName, LPTSTR lpVolumeNameBuffer, DWORD nVolumeNameSize,
    LPDWORD lpVolumeSerialNumber, LPDWORD lpMaximumComponentLength, LPDWORD lpFileSystemFlags,
    LPTSTR lpFileSystemNameBuffer, DWORD nFileSystemNameSize)
{
    CProgramPath path;
    CHostPath hostPath;
    struct statvfs info { };
    if (!MapRoot(lpRootPathName, path, hostPath) || !StatFileSystem(hostPath.strRoot, info))
        return FALSE;
    std::string strLabel
        = hostPath.strRoot == "/" ? std::string() : hostPath.strRoot.substr(hostPath.strRoot.rfind('/') + 1);
    std::string strFileSystem = FileSystemName(GetDriveTable()->FileSystemTypeAt(hostPath.strRoot));
    if ((lpVolumeNameBuffer && CopyStringToBuffer(strLabel, lpVolumeNameBuffer, nVolumeNameSize) >= nVolumeNameSize)
        || (lpFileSystemNameBuffer
            && CopyStringToBuffer(strFileSystem, lpFileSystemNameBuffer, nFileSystemNameSize) >= nFileSystemNameSize)) {
        SetLastError(ERROR_MORE_DATA);
        return FALSE;
    }
    if (lpVolumeSerialNumber) {
        auto nId = static_cast<unsigned long long>(info.f_fsid);
        *lpVolumeSerialNumber = static_cast<DWORD>(nId ^ (nId >> 32));
    }
    if (lpMaximumComponentLength)
        *lpMaximumComponentLength = CapToDword(info.f_namemax);
    if (lpFileSystemFlags)
        *lpFileSystemFlags = FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK
            | ((info.f_flag & ST_RDONLY) ? FILE_READ_ONLY_VOLUME : 0);
    return TRUE;
}

BOOL GetDiskFreeSpace(LPCTSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
    LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters)
{
    CProgramPath path;
    CHostPath hostPath;
    struct statvfs info { };
    if (!MapRoot(lpRootPathName, path, hostPath) || !StatFileSystem(hostPath.strRoot, info))
        return FALSE;
    constexpr DWORD BYTES_PER_SECTOR = 512;
    if (lpSectorsPerCluster)
        *lpSectorsPerCluster = std::max<DWORD>(1, CapToDword(info.f_frsize / BYTES_PER_SECTOR));
    if (lpBytesPerSector)
        *lpBytesPerSector = BYTES_PER_SECTOR;
    if (lpNumberOfFreeClusters)
        *lpNumberOfFreeClusters = CapToDword(info.f_bavail);
    if (lpTotalNumberOfClusters)
        *lpTotalNumberOfClusters = CapToDword(info.f_blocks);
    return TRUE;
}

BOOL GetDiskFreeSpaceEx(LPCTSTR lpDirectoryName, ULARGE_INTEGER* lpFreeBytesAvailableToCaller,
    ULARGE_INTEGER* lpTotalNumberOfBytes, ULARGE_INTEGER* lpTotalNumberOfFreeBytes)
{
    std::string strHostPath;
    struct statvfs info { };
    if (!HostPathFromProgramPath(lpDirectoryName ? lpDirectoryName : "\\", strHostPath)
        || !StatFileSystem(strHostPath, info))
        return FALSE;
    if (lpFreeBytesAvailableToCaller)
        lpFreeBytesAvailableToCaller->QuadPart = static_cast<ULONGLONG>(info.f_bavail) * info.f_frsize;
    if (lpTotalNumberOfBytes)
        lpTotalNumberOfBytes->QuadPart = static_cast<ULONGLONG>(info.f_blocks) * info.f_frsize;
    if (lpTotalNumberOfFreeBytes)
        lpTotalNumberOfFreeBytes->QuadPart = static_cast<ULONGLONG>(info.f_bfree) * info.f_frsize;
    return TRUE;
}
