#include "platform/base/XdgFolders.h"

#include "platform/base/PathNames.h"

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace {

std::string AbsoluteVariable(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    if (!pszValue || pszValue[0] != '/')
        return {};
    return NormalHostPath(pszValue);
}

std::vector<std::string> FolderList(const char* pszName, std::vector<std::string> defaults)
{
    const char* pszValue = std::getenv(pszName);
    if (!pszValue || !*pszValue)
        return defaults;
    std::vector<std::string> folders;
    std::string_view list = pszValue;
    while (!list.empty()) {
        size_t nEnd = list.find(':');
        std::string_view strFolder = list.substr(0, nEnd);
        if (!strFolder.empty() && strFolder[0] == '/')
            folders.push_back(NormalHostPath(strFolder));
        list = nEnd == std::string_view::npos ? std::string_view() : list.substr(nEnd + 1);
    }
    return folders.empty() ? defaults : folders;
}

std::string BelowHome(const char* pszRelative)
{
    std::string strHome = XdgHome();
    return strHome.empty() ? std::string() : JoinHostPath(strHome, pszRelative);
}

// The value of an XDG_<NAME>_DIR line: "$HOME/x" or "/abs", in double quotes.
std::string UserDirValue(std::string_view value)
{
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return {};
    value = value.substr(1, value.size() - 2);
    std::string strFolder;
    if (value == "$HOME" || value.starts_with("$HOME/"))
        strFolder = XdgHome() + std::string(value.substr(5));
    else if (value.starts_with('/'))
        strFolder = value;
    else
        return {};
    // Backslash escapes quote the next character.
    std::string strResult;
    for (size_t i = 0; i < strFolder.size(); ++i) {
        if (strFolder[i] == '\\' && i + 1 < strFolder.size())
            ++i;
        strResult += strFolder[i];
    }
    return NormalHostPath(strResult);
}

} // namespace

std::string XdgHome()
{
    return AbsoluteVariable("HOME");
}

std::string XdgDataHome()
{
    std::string strFolder = AbsoluteVariable("XDG_DATA_HOME");
    return strFolder.empty() ? BelowHome(".local/share") : strFolder;
}

std::string XdgConfigHome()
{
    std::string strFolder = AbsoluteVariable("XDG_CONFIG_HOME");
    return strFolder.empty() ? BelowHome(".config") : strFolder;
}

std::vector<std::string> XdgDataDirs()
{
    return FolderList("XDG_DATA_DIRS", { "/usr/local/share", "/usr/share" });
}

std::vector<std::string> XdgConfigDirs()
{
    return FolderList("XDG_CONFIG_DIRS", { "/etc/xdg" });
}

std::string XdgUserDir(const std::string& strName)
{
    std::string strFolder;
    std::string strConfig = XdgConfigHome();
    if (!strConfig.empty()) {
        std::ifstream file(JoinHostPath(strConfig, "user-dirs.dirs"));
        std::string strKey = "XDG_" + strName + "_DIR=";
        std::string strLine;
        while (std::getline(file, strLine)) {
            if (strLine.starts_with(strKey))
                strFolder = UserDirValue(std::string_view(strLine).substr(strKey.size()));
        }
        if (file.bad())
            strFolder.clear();
    }
    if (strFolder.empty() && strName == "DESKTOP")
        strFolder = BelowHome("Desktop");
    if (strFolder == XdgHome())
        return {};
    return strFolder;
}
