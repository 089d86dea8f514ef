#include "platform/shell/MailProfiles.h"

#include "platform/base/PathMap.h"
#include "platform/base/ProfileFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>

namespace {

// Where the Mozilla-family mail clients keep their profiles.ini, below the
// home folder, and the client's name as the user knows it.
struct CMailClientFolder {
    const char* pszFolder;
    const char* pszClient;
};
constexpr CMailClientFolder MAIL_CLIENT_FOLDERS[] = {
    { ".thunderbird", "Thunderbird" },
    { ".mozilla-thunderbird", "Thunderbird" },
    { ".icedove", "Icedove" },
    { ".mozilla/seamonkey", "SeaMonkey" },
    { "snap/thunderbird/common/.thunderbird", "Thunderbird" },
    { ".var/app/org.mozilla.Thunderbird/.thunderbird", "Thunderbird" },
};

// A profiles.ini larger than this is not one; it is not read.
constexpr std::streamoff MAX_PROFILES_INI_BYTES = std::streamoff { 1024 } * 1024;

bool StartsWithNoCase(std::string_view str, std::string_view strPrefix)
{
    if (str.size() < strPrefix.size())
        return false;
    for (size_t i = 0; i < strPrefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(str[i])) != std::tolower(static_cast<unsigned char>(strPrefix[i])))
            return false;
    }
    return true;
}

// "Profile" followed by digits only.
bool IsProfileSection(std::string_view strSection)
{
    constexpr std::string_view PREFIX = "Profile";
    if (!StartsWithNoCase(strSection, PREFIX) || strSection.size() == PREFIX.size())
        return false;
    for (char ch : strSection.substr(PREFIX.size())) {
        if (ch < '0' || ch > '9')
            return false;
    }
    return true;
}

// A value as the profile file calls give it: without a pair of enclosing quotes.
std::string Unquote(const std::string& strValue)
{
    if (strValue.size() >= 2 && (strValue.front() == '"' || strValue.front() == '\'')
        && strValue.back() == strValue.front())
        return strValue.substr(1, strValue.size() - 2);
    return strValue;
}

std::string ValueOf(const CProfileDocument& document, const std::string& strSection, std::string_view strKey)
{
    const std::string* pValue = document.FindValue(strSection, strKey);
    return pValue ? Unquote(*pValue) : std::string();
}

// A registry key name holds no backslash, and we keep control characters out too.
std::string KeyNameFrom(std::string strName)
{
    for (char& ch : strName) {
        if (ch == '\\' || static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            ch = '_';
    }
    return strName;
}

std::string LastFolderOf(const std::string& strPath)
{
    size_t nEnd = strPath.find_last_not_of('/');
    if (nEnd == std::string::npos)
        return {};
    size_t nStart = strPath.rfind('/', nEnd);
    nStart = nStart == std::string::npos ? 0 : nStart + 1;
    return strPath.substr(nStart, nEnd + 1 - nStart);
}

bool IsFolder(const std::string& strHostPath)
{
    struct stat info { };
    return stat(strHostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool ReadSmallFile(const std::string& strHostPath, std::string& strText)
{
    std::ifstream file(strHostPath, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    std::streamoff nSize = file.tellg();
    if (nSize < 0 || nSize > MAX_PROFILES_INI_BYTES)
        return false;
    file.seekg(0);
    strText.assign(static_cast<size_t>(nSize), '\0');
    return static_cast<bool>(file.read(strText.data(), nSize));
}

bool QueryString(HKEY hKey, LPCTSTR pszValue, std::string& strValue)
{
    DWORD dwType = 0;
    DWORD cbData = 0;
    if (RegQueryValueEx(hKey, pszValue, nullptr, &dwType, nullptr, &cbData) != ERROR_SUCCESS || dwType != REG_SZ)
        return false;
    std::string strData(cbData, '\0');
    if (RegQueryValueEx(hKey, pszValue, nullptr, nullptr, reinterpret_cast<LPBYTE>(strData.data()), &cbData)
        != ERROR_SUCCESS)
        return false;
    strValue = strData.c_str();
    return true;
}

LSTATUS SetString(HKEY hKey, LPCTSTR pszValue, const std::string& strValue)
{
    return RegSetValueEx(hKey, pszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.c_str()),
        static_cast<DWORD>(strValue.size() + 1));
}

// What a presented user's key holds.
struct CPresentedUser {
    std::string strDirRoot;
    std::string strSource;
    bool operator==(const CPresentedUser&) const = default;
};

// The subkeys of the users key, each with its presented values when it has them.
LSTATUS ReadUsers(HKEY hUsers, std::map<std::string, std::optional<CPresentedUser>>& users)
{
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szName[256];
        DWORD cchName = sizeof szName;
        LSTATUS lResult = RegEnumKeyEx(hUsers, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (lResult == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (lResult == ERROR_MORE_DATA)
            continue; // A name this long is none of ours; it is left alone.
        if (lResult != ERROR_SUCCESS)
            return lResult;
        std::optional<CPresentedUser> presented;
        HKEY hUser = nullptr;
        if (RegOpenKeyEx(hUsers, szName, 0, KEY_READ, &hUser) == ERROR_SUCCESS) {
            CPresentedUser user;
            if (QueryString(hUser, MAIL_PRESENTED_VALUE, user.strSource)) {
                QueryString(hUser, MAIL_NETSCAPE_DIR_ROOT, user.strDirRoot);
                presented = user;
            }
            RegCloseKey(hUser);
        }
        users.emplace(szName, presented);
    }
}

// Registry names compare case-insensitively; ours are compared by their lower-cased ASCII form.
std::string FoldName(const std::string& strName)
{
    std::string strFolded = strName;
    for (char& ch : strFolded)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return strFolded;
}

// The presented users the profiles call for, each under a name no other user holds.
std::map<std::string, CPresentedUser> WantedUsers(
    const std::vector<CMailClientProfile>& profiles, const std::map<std::string, std::optional<CPresentedUser>>& users)
{
    std::set<std::string> taken; // folded names of the users held
    for (const auto& [strName, presented] : users) {
        if (!presented)
            taken.insert(FoldName(strName));
    }
    std::map<std::string, CPresentedUser> wanted;
    for (const CMailClientProfile& profile : profiles) {
        std::string strDirRoot = ProgramPathFromHostPath(profile.strHostPath);
        if (strDirRoot.empty())
            continue;
        std::string strName = profile.strName;
        for (int nCopy = 2; taken.count(FoldName(strName)); ++nCopy)
            strName = profile.strName + " (" + std::to_string(nCopy) + ")";
        taken.insert(FoldName(strName));
        wanted.emplace(strName, CPresentedUser { strDirRoot, profile.strSource });
    }
    return wanted;
}

} // namespace

bool ReadMailClientProfiles(
    std::string_view text, const std::string& strIniFolder, std::vector<CMailClientProfile>& profiles)
{
    profiles.clear();
    CProfileDocument document(text);
    std::vector<CMailClientProfile> found;
    for (const std::string& strSection : document.GetSectionNames()) {
        if (!IsProfileSection(strSection))
            continue;
        std::string strPath = ValueOf(document, strSection, "Path");
        if (strPath.empty())
            continue;
        if (found.size() == MAIL_MAX_PROFILES_PER_FILE || strPath.size() > MAIL_MAX_PROFILE_PATH)
            return false;
        std::string strRelative = ValueOf(document, strSection, "IsRelative");
        bool bRelative = strRelative.empty() || strRelative != "0";
        CMailClientProfile profile;
        if (bRelative)
            profile.strHostPath.append(strIniFolder).append("/").append(strPath);
        else if (strPath.front() == '/')
            profile.strHostPath = strPath;
        else
            continue;
        std::string strName = ValueOf(document, strSection, "Name");
        profile.strName = KeyNameFrom(strName.empty() ? LastFolderOf(strPath) : strName);
        if (profile.strName.empty())
            continue;
        found.push_back(std::move(profile));
    }
    profiles = std::move(found);
    return true;
}

std::vector<CMailClientProfile> FindMailClientProfiles()
{
    std::vector<CMailClientProfile> profiles;
    const char* pszHome = std::getenv("HOME");
    if (!pszHome || !*pszHome)
        return profiles;
    for (const CMailClientFolder& client : MAIL_CLIENT_FOLDERS) {
        std::string strFolder = std::string(pszHome) + "/" + client.pszFolder;
        std::string strIni = strFolder + "/profiles.ini";
        std::string strText;
        std::vector<CMailClientProfile> listed;
        if (!ReadSmallFile(strIni, strText) || !ReadMailClientProfiles(strText, strFolder, listed))
            continue;
        for (CMailClientProfile& profile : listed) {
            if (!IsFolder(profile.strHostPath))
                continue;
            profile.strSource = strIni;
            profiles.push_back(std::move(profile));
        }
    }
    return profiles;
}

LSTATUS PresentMailClientProfiles()
{
    std::vector<CMailClientProfile> profiles = FindMailClientProfiles();
    HKEY hUsers = nullptr;
    LSTATUS lResult = RegOpenKeyEx(HKEY_LOCAL_MACHINE, MAIL_NETSCAPE_USERS_KEY, 0, KEY_ALL_ACCESS, &hUsers);
    if (lResult == ERROR_FILE_NOT_FOUND) {
        if (profiles.empty())
            return ERROR_SUCCESS;
        lResult = RegCreateKeyEx(HKEY_LOCAL_MACHINE, MAIL_NETSCAPE_USERS_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
            KEY_ALL_ACCESS, nullptr, &hUsers, nullptr);
    }
    if (lResult != ERROR_SUCCESS)
        return lResult;

    std::map<std::string, std::optional<CPresentedUser>> users;
    lResult = ReadUsers(hUsers, users);
    std::map<std::string, CPresentedUser> wanted = WantedUsers(profiles, users);
    // Presented users that are gone or changed are removed; the changed ones are written again below.
    for (const auto& [strName, presented] : users) {
        if (lResult != ERROR_SUCCESS)
            break;
        if (!presented)
            continue;
        auto it = wanted.find(strName);
        if (it != wanted.end() && it->second == *presented)
            wanted.erase(it);
        else
            lResult = RegDeleteTree(hUsers, strName.c_str());
    }
    for (const auto& [strName, user] : wanted) {
        if (lResult != ERROR_SUCCESS)
            break;
        HKEY hUser = nullptr;
        lResult = RegCreateKeyEx(
            hUsers, strName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &hUser, nullptr);
        if (lResult != ERROR_SUCCESS)
            break;
        lResult = SetString(hUser, MAIL_NETSCAPE_DIR_ROOT, user.strDirRoot);
        if (lResult == ERROR_SUCCESS)
            lResult = SetString(hUser, MAIL_PRESENTED_VALUE, user.strSource);
        RegCloseKey(hUser);
    }
    RegCloseKey(hUsers);
    return lResult;
}

std::string MailClientNameOfProfiles(std::string_view strIniPath)
{
    for (const CMailClientFolder& client : MAIL_CLIENT_FOLDERS) {
        const std::string strTail = std::string("/") + client.pszFolder + "/profiles.ini";
        if (strIniPath.ends_with(strTail))
            return client.pszClient;
    }
    return {};
}
