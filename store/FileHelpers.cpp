#include "store/FileHelpers.h"

#include "platform/base/CString.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/HostFile.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "store/PathHelpers.h"

#include <string>

namespace {

// Names up to 8 + "." + 3 characters are all that a volume without long
// names holds.
constexpr DWORD SHORT_NAME_MAX_CHARS = 12;

// The path without trailing backslashes, except the one that ends a root.
CString WithoutTrailingBackslash(const CString& strPath, const CString& strRoot)
{
    CString strResult = strPath;
    while (strResult.GetLength() > strRoot.GetLength() && strResult[strResult.GetLength() - 1] == '\\')
        strResult = strResult.Left(strResult.GetLength() - 1);
    return strResult;
}

// Creates the probe file in the folder and removes it again.
bool CanCreateProbeFile(const CString& strFolder)
{
    CString strProbe = AddBackslash(strFolder) + FOLDER_PROBE_FILE_NAME;
    CHostFile probe;
    if (!probe.Open(strProbe, CHostFile::Access::ReadWrite, CHostFile::Creation::CreateAlways))
        return false;
    probe.Close();
    return DeleteFile(strProbe);
}

DWORD CheckFolderWithFlags(const CString& strGivenPath, DWORD dwFlags)
{
    CString strRoot = GetPathRoot(strGivenPath);
    if (strRoot.IsEmpty())
        return FOLDER_UNUSABLE;
    UINT uDriveType = GetDriveType(strRoot);
    if (uDriveType == DRIVE_NO_ROOT_DIR || uDriveType == DRIVE_UNKNOWN)
        return FOLDER_UNUSABLE;

    DWORD dwResult = 0;
    if ((dwFlags & FOLDER_REMOVABLE) && (uDriveType == DRIVE_REMOVABLE || uDriveType == DRIVE_CDROM))
        dwResult |= FOLDER_REMOVABLE;
    if ((dwFlags & FOLDER_NETWORK) && uDriveType == DRIVE_REMOTE)
        dwResult |= FOLDER_NETWORK;
    if (dwFlags & FOLDER_LONG_NAMES) {
        DWORD dwMaxComponent = 0;
        if (GetVolumeInformation(strRoot, nullptr, 0, nullptr, &dwMaxComponent, nullptr, nullptr, 0)
            && dwMaxComponent > SHORT_NAME_MAX_CHARS)
            dwResult |= FOLDER_LONG_NAMES;
    }

    CString strPath = WithoutTrailingBackslash(strGivenPath, strRoot);
    bool bRoot = strPath.GetLength() <= strRoot.GetLength();
    if (bRoot)
        dwResult |= FOLDER_NO_PARENT;

    DWORD dwAttributes = GetFileAttributes(strPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES) {
        DWORD dwError = GetLastError();
        if (dwError != ERROR_FILE_NOT_FOUND && dwError != ERROR_PATH_NOT_FOUND)
            return dwResult | FOLDER_UNUSABLE;
        dwResult |= FOLDER_MISSING;
        if (bRoot)
            return dwResult | FOLDER_UNUSABLE;
        return dwResult | CheckFolderWithFlags(strPath.Left(strPath.ReverseFind('\\') + 1), dwFlags);
    }
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return dwResult | FOLDER_UNUSABLE;
    if ((dwFlags & FOLDER_WRITABLE) && !(dwAttributes & FILE_ATTRIBUTE_READONLY) && CanCreateProbeFile(strPath))
        dwResult |= FOLDER_WRITABLE;
    return dwResult;
}

} // namespace

DWORD CheckFolder(LPCTSTR pszPath, DWORD dwFlags)
{
    // FIXME: Show the wait cursor while the check runs, once the window layer offers one to this layer.
    return CheckFolderWithFlags(CString(pszPath), dwFlags | FOLDER_UNUSABLE | FOLDER_MISSING);
}

BOOL CreateFolderPath(LPCTSTR pszPath)
{
    CString strRoot = GetPathRoot(pszPath);
    if (strRoot.IsEmpty()) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    CString strLevel = strRoot;
    CString strRest = CString(pszPath).Mid(strRoot.GetLength());
    if (CheckFolder(strLevel, 0) & FOLDER_UNUSABLE)
        return FALSE;
    while (!strRest.IsEmpty()) {
        int nSlash = strRest.Find('\\');
        CString strComponent = nSlash < 0 ? strRest : strRest.Left(nSlash);
        strRest = nSlash < 0 ? CString() : strRest.Mid(nSlash + 1);
        if (strComponent.IsEmpty())
            continue;
        strLevel = AddBackslash(strLevel) + strComponent;
        DWORD dwCheck = CheckFolder(strLevel, 0);
        if (dwCheck & FOLDER_UNUSABLE)
            return FALSE;
        // Another program may create the level between the check and here.
        if ((dwCheck & FOLDER_MISSING) && !CreateDirectory(strLevel, nullptr)
            && (CheckFolder(strLevel, 0) & (FOLDER_UNUSABLE | FOLDER_MISSING)))
            return FALSE;
    }
    return TRUE;
}

BOOL RenameFileSafe(LPCTSTR pszOldPath, LPCTSTR pszNewPath)
{
    if (GetFileAttributes(pszNewPath) != INVALID_FILE_ATTRIBUTES) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    return MoveFile(pszOldPath, pszNewPath);
}

int DeleteFileForced(LPCTSTR pszPath)
{
    DWORD dwAttributes = GetFileAttributes(pszPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    // The result says whether the file was there; a failed change or delete
    // leaves the last error set for a caller that wants to know more.
    if (dwAttributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributes(pszPath, dwAttributes & ~FILE_ATTRIBUTE_READONLY);
    DeleteFile(pszPath);
    return 1;
}

CString GetProgramFolder()
{
    CString strFolder;
    UINT nSize = GetWindowsDirectory(nullptr, 0);
    if (nSize > 0) {
        GetWindowsDirectory(strFolder.GetBuffer(static_cast<int>(nSize)), nSize);
        strFolder.ReleaseBuffer();
    }
    return AddBackslash(strFolder);
}
