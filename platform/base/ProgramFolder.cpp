#include "platform/base/ProgramFolder.h"

#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/WinError.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

std::string ProgramFolderPath()
{
    return ProgramPathFromHostPath(GetProgramFolderHostPath());
}

}

std::string GetProgramFolderHostPath()
{
    std::filesystem::path folder;
    if (const char* pszHome = std::getenv("ARCHIVORA_HOME"); pszHome && *pszHome)
        folder = pszHome;
    else if (const char* pszUserHome = std::getenv("HOME"); pszUserHome && *pszUserHome)
        folder = std::filesystem::path(pszUserHome) / ".local" / "share" / "archivora";
    else
        folder = std::filesystem::temp_directory_path() / "archivora";
    std::error_code ec;
    // A folder made here holds the settings, catalogs and logs: the user's alone.
    if (std::filesystem::create_directories(folder, ec))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
    return NormalHostPath(folder.string());
}

BOOL IsInProgramFolder(LPCTSTR pszPath)
{
    std::string strPath;
    if (!HostPathFromProgramPath(pszPath, strPath))
        return FALSE;
    std::error_code ec;
    const std::string strFinalPath = std::filesystem::weakly_canonical(strPath, ec).string();
    if (ec)
        return FALSE;
    std::string strFolder = std::filesystem::weakly_canonical(GetProgramFolderHostPath(), ec).string();
    if (ec || strFolder.empty())
        return FALSE;
    if (strFolder.back() == '/')
        strFolder.pop_back();
    return strFinalPath == strFolder || strFinalPath.starts_with(strFolder + "/") ? TRUE : FALSE;
}

DWORD GetModuleFileName(HMODULE, LPTSTR lpFilename, DWORD nSize)
{
    std::string strPath = ProgramFolderPath();
    if (strPath.empty() || !lpFilename || nSize == 0) {
        SetLastError(strPath.empty() ? ERROR_PATH_NOT_FOUND : ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (strPath.back() != '\\')
        strPath += '\\';
    strPath += "archivora.exe";
    if (strPath.size() + 1 > nSize) {
        std::memcpy(lpFilename, strPath.data(), nSize - 1);
        lpFilename[nSize - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    return CopyStringToBuffer(strPath, lpFilename, nSize);
}

UINT GetWindowsDirectory(LPTSTR lpBuffer, UINT uSize)
{
    std::string strPath = ProgramFolderPath();
    if (strPath.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return CopyStringToBuffer(strPath, lpBuffer, uSize);
}

UINT GetSystemDirectory(LPTSTR lpBuffer, UINT uSize)
{
    return GetWindowsDirectory(lpBuffer, uSize);
}
