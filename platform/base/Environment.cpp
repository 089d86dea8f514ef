#include "platform/base/Environment.h"

#include "platform/base/PathNames.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::mutex& EnvironmentMutex()
{
    static std::mutex s_mutex;
    return s_mutex;
}

// The value of a variable, exact name first; the mutex is held.
std::optional<std::string> FindVariableLocked(std::string_view strName)
{
    if (const char* pszValue = std::getenv(std::string(strName).c_str()))
        return std::string(pszValue);
    std::vector<std::pair<std::string, std::string>> matches;
    for (char** ppEntry = environ; ppEntry && *ppEntry; ++ppEntry) {
        std::string_view strEntry = *ppEntry;
        size_t nEquals = strEntry.find('=');
        if (nEquals != std::string_view::npos && Utf8CompareNoCase(strEntry.substr(0, nEquals), strName) == 0)
            matches.emplace_back(strEntry.substr(0, nEquals), strEntry.substr(nEquals + 1));
    }
    if (matches.empty())
        return std::nullopt;
    return std::min_element(matches.begin(), matches.end())->second;
}

}

DWORD GetEnvironmentVariable(LPCTSTR lpName, LPTSTR lpBuffer, DWORD nSize)
{
    if (!lpName || !*lpName) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    std::lock_guard lock(EnvironmentMutex());
    std::optional<std::string> value = FindVariableLocked(lpName);
    if (!value) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    // An empty value returns 0 too; the cleared last error tells it from an unset one.
    SetLastError(ERROR_SUCCESS);
    return CopyStringToBuffer(*value, lpBuffer, nSize);
}

BOOL SetEnvironmentVariable(LPCTSTR lpName, LPCTSTR lpValue)
{
    if (!lpName || !*lpName || std::strchr(lpName, '=')) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(EnvironmentMutex());
    if (lpValue ? setenv(lpName, lpValue, 1) : unsetenv(lpName)) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

DWORD ExpandEnvironmentStrings(LPCTSTR lpSrc, LPTSTR lpDst, DWORD nSize)
{
    if (!lpSrc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string_view strSource = lpSrc;
    std::string strResult;
    {
        std::lock_guard lock(EnvironmentMutex());
        size_t nPos = 0;
        while (nPos < strSource.size()) {
            size_t nOpen = strSource.find('%', nPos);
            size_t nClose = nOpen == std::string_view::npos ? nOpen : strSource.find('%', nOpen + 1);
            if (nClose == std::string_view::npos) {
                strResult += strSource.substr(nPos);
                break;
            }
            strResult += strSource.substr(nPos, nOpen - nPos);
            std::string_view strName = strSource.substr(nOpen + 1, nClose - nOpen - 1);
            std::optional<std::string> value = strName.empty() ? std::nullopt : FindVariableLocked(strName);
            if (value) {
                strResult += *value;
                nPos = nClose + 1;
            } else {
                // Not a variable: keep the "%" and look for a name from the next one.
                strResult += '%';
                strResult += strName;
                nPos = nClose;
            }
        }
    }
    DWORD dwNeeded = static_cast<DWORD>(strResult.size() + 1);
    if (lpDst && dwNeeded <= nSize)
        CopyStringToBuffer(strResult, lpDst, nSize);
    return dwNeeded;
}
