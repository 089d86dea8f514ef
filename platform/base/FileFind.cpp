#include "platform/base/FileFind.h"

#include "platform/base/DriveTable.h"
#include "platform/base/KernelObject.h"
#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/ShortNames.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TrashFolders.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <tuple>
#include <vector>

#include <sys/stat.h>

namespace {

// A search in progress: the entries found when it started.
class CFindSearch : public CKernelObject {
public:
    explicit CFindSearch(std::vector<WIN32_FIND_DATA> entries)
        : m_entries(std::move(entries))
    {
    }

    // Hands out the next entry; false at the end.
    bool Next(WIN32_FIND_DATA& data)
    {
        std::lock_guard lock(m_mutex);
        if (m_nNext >= m_entries.size())
            return false;
        data = m_entries[m_nNext++];
        return true;
    }

private:
    std::mutex m_mutex;
    std::vector<WIN32_FIND_DATA> m_entries;
    size_t m_nNext { 0 };
};

using Characters = std::vector<std::string_view>;

// The characters of a lower-cased text, one UTF-8 sequence each.
Characters SplitCharacters(std::string_view strText)
{
    Characters characters;
    for (size_t nPos = 0; nPos < strText.size();) {
        size_t nLength = Utf8CharLength(strText, nPos);
        characters.push_back(strText.substr(nPos, nLength));
        nPos += nLength;
    }
    return characters;
}

// Matches lower-cased characters; "?" may match nothing at the end or before a
// dot. Works over (pattern position, name position) pairs with a memo, so a
// pattern with many "*" takes time proportional to the product of the lengths.
bool MatchCharacters(const Characters& pattern, size_t nPatternEnd, const Characters& name)
{
    const size_t nStride = name.size() + 1;
    std::vector<signed char> memo((nPatternEnd + 1) * nStride, -1); // -1 unknown, else the answer
    auto match = [&](auto& self, size_t nPattern, size_t nName) -> bool {
        signed char& known = memo[nPattern * nStride + nName];
        if (known >= 0)
            return known;
        bool bMatch = false;
        if (nPattern == nPatternEnd) {
            bMatch = nName == name.size();
        } else if (pattern[nPattern] == "*") {
            bMatch = self(self, nPattern + 1, nName) || (nName < name.size() && self(self, nPattern, nName + 1));
        } else if (pattern[nPattern] == "?") {
            if (nName == name.size() || name[nName] == ".") {
                size_t nRunEnd = nPattern;
                while (nRunEnd < nPatternEnd && pattern[nRunEnd] == "?")
                    ++nRunEnd;
                bMatch = self(self, nRunEnd, nName);
            }
            bMatch = bMatch || (nName < name.size() && self(self, nPattern + 1, nName + 1));
        } else {
            bMatch = nName < name.size() && name[nName] == pattern[nPattern] && self(self, nPattern + 1, nName + 1);
        }
        known = bMatch ? 1 : 0;
        return bMatch;
    };
    return match(match, 0, 0);
}

bool HasWildcards(std::string_view strText)
{
    return strText.find_first_of("*?") != std::string_view::npos;
}

void CopyName(std::string_view strName, TCHAR* pszTarget, size_t cchTarget)
{
    size_t nLength = std::min(strName.size(), cchTarget - 1);
    std::memcpy(pszTarget, strName.data(), nLength);
    pszTarget[nLength] = '\0';
}

// Fills in an entry; false when the entry vanished meanwhile.
bool MakeEntry(
    const std::string& strHostPath, const std::string& strName, const std::string& strShortName, WIN32_FIND_DATA& data)
{
    WIN32_FILE_ATTRIBUTE_DATA info {};
    if (!ReadHostFileInfo(strHostPath, strName, info))
        return false;
    data = {};
    data.dwFileAttributes = info.dwFileAttributes;
    data.ftCreationTime = info.ftCreationTime;
    data.ftLastAccessTime = info.ftLastAccessTime;
    data.ftLastWriteTime = info.ftLastWriteTime;
    data.nFileSizeHigh = info.nFileSizeHigh;
    data.nFileSizeLow = info.nFileSizeLow;
    CopyName(strName, data.cFileName, MAX_PATH);
    if (strShortName != strName)
        CopyName(strShortName, data.cAlternateFileName, sizeof(data.cAlternateFileName));
    return true;
}

// A name found in the folder of a search, with the host folder it is in.
struct CListedName {
    std::string strName;
    std::string strHostFolder;
};

// The names of the folder a search lists. A drive's recycle folder lists the
// files of each of its trashes (a name the first trash holding it gives), a
// drive's root leaves out any host folder named as the recycle folder, which
// the recycle folder hides, and no folder lists a trash itself. False when the folder cannot be read.
bool ListSearchFolder(const CProgramPath& folderPath, const CHostPath& folder, std::vector<CListedName>& names)
{
    bool bRecycleFolder = folderPath.chDrive && folderPath.components.size() == 1
        && Utf8CompareNoCase(folderPath.components[0], RECYCLE_FOLDER_NAME) == 0;
    std::vector<std::string> hostFolders;
    if (bRecycleFolder) {
        for (const CTrashFolder& trash : TrashesOfDrive(folderPath.chDrive))
            hostFolders.push_back(trash.FilesFolder());
    } else if (folder.Exists()) {
        hostFolders.push_back(folder.HostPath());
    }
    bool bAnyListed = false;
    std::set<std::string> seen;
    for (const std::string& strHostFolder : hostFolders) {
        bool bListed = false;
        for (std::string& strName : ListHostFolder(strHostFolder, &bListed)) {
            bool bDriveRoot = !bRecycleFolder && folderPath.chDrive && folder.IsRoot();
            if (bDriveRoot && Utf8CompareNoCase(strName, RECYCLE_FOLDER_NAME) == 0)
                continue;
            if (!bRecycleFolder && IsTrashFolder(strHostFolder, strName))
                continue;
            if (seen.insert(strName).second)
                names.push_back({ std::move(strName), strHostFolder });
        }
        bAnyListed |= bListed;
    }
    return bAnyListed || bRecycleFolder; // an empty recycle folder is still a folder
}

}

bool MatchesFilePattern(std::string_view strPattern, std::string_view strName)
{
    if (strPattern == "*.*" || strPattern == "*")
        return true;
    std::string strLowerPattern = Utf8ToLower(strPattern);
    std::string strLowerName = Utf8ToLower(strName);
    Characters pattern = SplitCharacters(strLowerPattern);
    Characters name = SplitCharacters(strLowerName);
    if (MatchCharacters(pattern, pattern.size(), name))
        return true;
    // "x.*" also matches "x".
    return strLowerPattern.ends_with(".*") && MatchCharacters(pattern, pattern.size() - 2, name);
}

HANDLE FindFirstFile(LPCTSTR lpFileName, LPWIN32_FIND_DATA lpFindFileData)
{
    if (!lpFileName || !lpFindFileData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    // The folder part keeps its separator ("C:\", "dir\"); without one the
    // pattern is in the current directory, or in a drive's ("D:*.txt").
    std::string_view strText = lpFileName;
    size_t nFolderEnd = strText.find_last_of("\\/");
    nFolderEnd = nFolderEnd != std::string_view::npos ? nFolderEnd + 1
        : strText.size() >= 2 && strText[1] == ':'    ? 2
                                                      : 0;
    std::string strPattern(strText.substr(nFolderEnd));
    std::string strFolderText(nFolderEnd ? strText.substr(0, nFolderEnd) : std::string_view("."));
    if (strPattern.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }

    std::vector<WIN32_FIND_DATA> entries;
    if (!HasWildcards(strPattern)) {
        // One name, looked up as paths are.
        CProgramPath path;
        CHostPath hostPath;
        if (!ParseProgramPath(lpFileName, path) || !ResolveProgramPath(path, hostPath))
            return INVALID_HANDLE_VALUE;
        WIN32_FIND_DATA data;
        if (hostPath.IsRoot() || !hostPath.Exists()) {
            SetLastError(hostPath.nExisting + 1 >= hostPath.names.size() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        const std::string& strName = hostPath.names.back();
        if (MakeEntry(
                hostPath.HostPath(), strName, ShortNameInFolder(ListHostFolder(hostPath.HostParent()), strName), data))
            entries.push_back(data);
    } else {
        CProgramPath folderPath;
        CHostPath folder;
        if (!ParseProgramPath(strFolderText.c_str(), folderPath) || !ResolveProgramPath(folderPath, folder))
            return INVALID_HANDLE_VALUE;
        std::vector<CListedName> names;
        if (!ListSearchFolder(folderPath, folder, names)) {
            SetLastError(ERROR_PATH_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        std::vector<std::string> plainNames;
        plainNames.reserve(names.size());
        for (const CListedName& listed : names)
            plainNames.push_back(listed.strName);
        std::map<std::string, std::string> shortNames = ShortNamesForFolder(plainNames);
        std::vector<std::pair<std::string, const CListedName*>> ordered; // Lower-cased name, entry
        ordered.reserve(names.size() + 2);
        for (const CListedName& listed : names)
            ordered.emplace_back(Utf8ToLower(listed.strName), &listed);
        std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
            return std::tie(a.first, a.second->strName) < std::tie(b.first, b.second->strName);
        });
        std::string strHostFolder = folder.HostPath();
        const CListedName dot { ".", strHostFolder };
        const CListedName dotDot { "..", strHostFolder };
        if (!folder.IsRoot()) {
            ordered.insert(ordered.begin(), { "..", &dotDot });
            ordered.insert(ordered.begin(), { ".", &dot });
        }
        auto pTable = GetDriveTable();
        for (const auto& [strLower, pListed] : ordered) {
            const std::string& strName = pListed->strName;
            auto itShort = shortNames.find(strName);
            const std::string& strShort = itShort != shortNames.end() ? itShort->second : strName;
            if (!MatchesFilePattern(strPattern, strName)
                && (strShort == strName || !MatchesFilePattern(strPattern, strShort)))
                continue;
            std::string strHostPath = strName == "." ? pListed->strHostFolder
                : strName == ".."                    ? pListed->strHostFolder + "/.."
                                                     : JoinHostPath(pListed->strHostFolder, strName);
            if (strName != "." && strName != ".." && pTable->IsHiddenMountPoint(strHostPath))
                continue;
            WIN32_FIND_DATA data;
            if (!MakeEntry(strHostPath, strName, strShort, data))
                continue;
            // A folder that is another drive's root is a mounted folder, which
            // Windows marks as a reparse point: a walk reaches it by its drive.
            if (strName != "." && strName != ".." && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                && pTable->IsDriveRoot(strHostPath))
                data.dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
            entries.push_back(data);
        }
    }
    if (entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto pSearch = std::make_shared<CFindSearch>(std::move(entries));
    pSearch->Next(*lpFindFileData);
    return CreateKernelHandle(std::move(pSearch));
}

BOOL FindNextFile(HANDLE hFindFile, LPWIN32_FIND_DATA lpFindFileData)
{
    auto pSearch = LookupKernelHandleAs<CFindSearch>(hFindFile);
    if (!pSearch)
        return FALSE;
    if (!lpFindFileData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!pSearch->Next(*lpFindFileData)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return TRUE;
}

BOOL FindClose(HANDLE hFindFile)
{
    if (!LookupKernelHandleAs<CFindSearch>(hFindFile))
        return FALSE;
    return CloseHandle(hFindFile);
}
