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
    std::filesystem::create_directories(folder, ec);
    return NormalHostPath(folder.string());
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
