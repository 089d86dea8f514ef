#include "platform/base/PathMap.h"

#include "platform/base/WinError.h"

#include <cctype>

// FIXME: Only C: -> "/" with exact case; the drive table replaces this.
BOOL HostPathFromProgramPath(LPCTSTR pszPath, std::string& strHostPath)
{
    std::string strPath = pszPath ? pszPath : "";
    if (strPath.size() < 2 || strPath[1] != ':' || std::toupper(static_cast<unsigned char>(strPath[0])) != 'C') {
        SetLastError(ERROR_INVALID_DRIVE);
        return FALSE;
    }
    strHostPath.assign(1, '/');
    for (char ch : strPath.substr(2)) {
        char chHost = ch == '\\' ? '/' : ch;
        if (chHost == '/' && !strHostPath.empty() && strHostPath.back() == '/')
            continue;
        strHostPath += chHost;
    }
    return TRUE;
}

std::string ProgramPathFromHostPath(const std::string& strHostPath)
{
    std::string strPath = "C:";
    for (char ch : strHostPath)
        strPath += ch == '/' ? '\\' : ch;
    if (strPath.size() == 2)
        strPath += '\\';
    return strPath;
}
