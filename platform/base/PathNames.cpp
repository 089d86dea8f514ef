#include "platform/base/PathNames.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include <dirent.h>

std::vector<std::string> ListHostFolder(const std::string& strHostFolder, bool* pbOk)
{
    std::vector<std::string> names;
    DIR* pDir = opendir(strHostFolder.c_str());
    if (pbOk)
        *pbOk = pDir != nullptr;
    if (!pDir)
        return names;
    while (dirent* pEntry = readdir(pDir)) {
        if (std::strcmp(pEntry->d_name, ".") != 0 && std::strcmp(pEntry->d_name, "..") != 0)
            names.emplace_back(pEntry->d_name);
    }
    closedir(pDir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string NormalHostPath(std::string_view strPath)
{
    std::string strNormal = std::filesystem::path(strPath).lexically_normal().string();
    while (strNormal.size() > 1 && strNormal.back() == '/')
        strNormal.pop_back();
    return strNormal;
}

bool IsInHostFolder(std::string_view strPath, std::string_view strFolder)
{
    if (strFolder == "/")
        return !strPath.empty() && strPath[0] == '/';
    return strPath.starts_with(strFolder) && (strPath.size() == strFolder.size() || strPath[strFolder.size()] == '/');
}

std::string JoinHostPath(const std::string& strFolder, std::string_view strName)
{
    std::string strPath = strFolder;
    AppendHostName(strPath, strName);
    return strPath;
}

void AppendHostName(std::string& strPath, std::string_view strName)
{
    if (strPath.empty() || strPath.back() != '/')
        strPath += '/';
    strPath += strName;
}

DWORD CopyStringToBuffer(std::string_view str, LPTSTR pszBuffer, DWORD cchBuffer)
{
    if (!pszBuffer || str.size() + 1 > cchBuffer)
        return static_cast<DWORD>(str.size() + 1);
    std::memcpy(pszBuffer, str.data(), str.size());
    pszBuffer[str.size()] = '\0';
    return static_cast<DWORD>(str.size());
}
