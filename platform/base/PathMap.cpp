#include "platform/base/PathMap.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathNames.h"
#include "platform/base/ShortNames.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TrashFolders.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace {

/******************************************************************************
 * The current directory
 ******************************************************************************/

struct CCurrentDirectory {
    std::mutex mutex;
    std::string strPath; // Absolute program path; empty until first used
};

CCurrentDirectory& CurrentDirectoryState()
{
    static CCurrentDirectory s_state;
    return s_state;
}

std::string CurrentDirectory()
{
    CCurrentDirectory& state = CurrentDirectoryState();
    std::lock_guard lock(state.mutex);
    if (state.strPath.empty()) {
        std::error_code ec;
        std::filesystem::path hostCurrent = std::filesystem::current_path(ec);
        state.strPath = ec ? std::string() : ProgramPathFromHostPath(hostCurrent.string());
        if (state.strPath.empty())
            state.strPath = "C:\\";
    }
    return state.strPath;
}

/******************************************************************************
 * Splitting
 ******************************************************************************/

bool IsValidComponent(std::string_view strName)
{
    return std::none_of(strName.begin(), strName.end(),
        [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || std::strchr("<>:\"|?*", ch) != nullptr; });
}

// Appends the components of `strText` (back slashes only) to `path`, folding
// "." and "..". `nFixed` components at the front are never removed by "..".
BOOL AppendComponents(std::string_view strText, CProgramPath& path, size_t nFixed)
{
    size_t nPos = 0;
    while (nPos <= strText.size()) {
        size_t nEnd = strText.find('\\', nPos);
        if (nEnd == std::string_view::npos)
            nEnd = strText.size();
        std::string_view strName = strText.substr(nPos, nEnd - nPos);
        nPos = nEnd + 1;
        if (strName.empty() || strName == ".")
            continue;
        if (strName == "..") {
            if (path.components.size() > nFixed)
                path.components.pop_back();
            continue;
        }
        if (!IsValidComponent(strName)) {
            SetLastError(ERROR_INVALID_NAME);
            return FALSE;
        }
        path.components.emplace_back(strName);
    }
    return TRUE;
}

/******************************************************************************
 * Looking names up
 ******************************************************************************/

// Looks a name up in a host folder: exact, then by case, then by short name.
// Empty when nothing matches.
std::string FindHostName(const std::string& strHostFolder, const std::string& strName)
{
    struct stat info { };
    if (lstat(JoinHostPath(strHostFolder, strName).c_str(), &info) == 0)
        return strName;
    std::vector<std::string> entries = ListHostFolder(strHostFolder);
    for (const std::string& strEntry : entries) { // Byte order: the first match wins.
        if (Utf8CompareNoCase(strEntry, strName) == 0)
            return strEntry;
    }
    if (strName.find('~') != std::string::npos) {
        for (const auto& [strLong, strShort] : ShortNamesForFolder(entries)) {
            if (Utf8CompareNoCase(strShort, strName) == 0)
                return strLong;
        }
    }
    return {};
}

// Folders found on the host under another case than the one asked for, by
// host root and lower-case components, so that the paths a catalog keeps in
// lower case do not list their folders again at each lookup. A kept folder is
// taken only while it still exists under its kept names.
class CFolderCaseCache {
public:
    static std::string Key(const std::string& strRoot, const std::vector<std::string>& folders)
    {
        std::string strKey = strRoot;
        for (const std::string& strName : folders)
            strKey += '\\' + Utf8ToLower(strName);
        return strKey;
    }
    std::optional<std::vector<std::string>> Find(const std::string& strKey)
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_folders.find(strKey);
        if (it == m_folders.end())
            return std::nullopt;
        return it->second;
    }
    void Keep(const std::string& strKey, std::vector<std::string> names)
    {
        // Bounded: a walk over many folders starts the cache again.
        constexpr size_t MAX_FOLDERS = 1024;
        std::lock_guard lock(m_mutex);
        if (m_folders.size() >= MAX_FOLDERS)
            m_folders.clear();
        m_folders.insert_or_assign(strKey, std::move(names));
    }

private:
    std::mutex m_mutex;
    std::unordered_map<std::string, std::vector<std::string>> m_folders;
};

CFolderCaseCache& FolderCaseCache()
{
    static CFolderCaseCache s_cache;
    return s_cache;
}

/******************************************************************************
 * The recycle folder
 ******************************************************************************/

bool IsRecycleFolderPath(const CProgramPath& path)
{
    return path.chDrive && !path.components.empty() && Utf8CompareNoCase(path.components[0], RECYCLE_FOLDER_NAME) == 0;
}

// The files/ folder that "<letter>:\RECYCLED\<name>" is found in: the first
// trash of the drive holding the name, else the drive's first trash, else the
// home trash (which need not exist).
std::string RecycleFilesFolder(TCHAR chLetter, const std::string* pstrName)
{
    std::vector<CTrashFolder> trashes = TrashesOfDrive(chLetter);
    if (pstrName) {
        for (const CTrashFolder& trash : trashes) {
            if (!FindHostName(trash.FilesFolder(), *pstrName).empty())
                return trash.FilesFolder();
        }
    }
    return trashes.empty() ? HomeTrash().FilesFolder() : trashes.front().FilesFolder();
}

// "<letter>:\RECYCLED\<name>..." for a host path inside a trash's files/;
// empty for any other path. Only the text of the path is looked at.
std::string RecycledProgramPath(const std::string& strNormal)
{
    std::string strUid = std::to_string(getuid());
    CTrashFolder trash;
    std::string strHomeFiles = HomeTrash().FilesFolder();
    size_t nRest = 0;
    if (!HomeTrash().strPath.empty() && IsInHostFolder(strNormal, strHomeFiles) && strNormal != strHomeFiles) {
        trash = HomeTrash();
        nRest = strHomeFiles.size() + 1;
    } else {
        for (const std::string& strMarker : { "/.Trash-" + strUid + "/files/", "/.Trash/" + strUid + "/files/" }) {
            size_t nAt = strNormal.find(strMarker);
            if (nAt == std::string::npos)
                continue;
            std::string strTop = nAt == 0 ? std::string("/") : strNormal.substr(0, nAt);
            trash = TopDirectoryTrash(strTop);
            nRest = nAt + strMarker.size();
            if (strNormal.compare(0, nRest, trash.FilesFolder() + "/") == 0)
                break;
            trash = CTrashFolder();
        }
    }
    if (trash.strPath.empty() || nRest >= strNormal.size())
        return {};
    std::string strRest = strNormal.substr(nRest);
    TCHAR chLetter = RecycledItemLetter(trash, strRest.substr(0, strRest.find('/')));
    if (!chLetter)
        return {};
    std::replace(strRest.begin(), strRest.end(), '/', '\\');
    return std::string(1, chLetter) + ":\\" + RECYCLE_FOLDER_NAME + "\\" + strRest;
}

}

/******************************************************************************
 * CProgramPath
 ******************************************************************************/

std::string CProgramPath::ToString() const
{
    std::string strPath;
    if (chDrive) {
        strPath = std::string(1, chDrive) + ":\\";
    } else {
        strPath = "\\\\" + strServer + "\\" + strShare;
        if (!components.empty())
            strPath += '\\';
    }
    for (size_t i = 0; i < components.size(); ++i) {
        if (i)
            strPath += '\\';
        strPath += components[i];
    }
    return strPath;
}

bool IsPlainProgramName(std::string_view strName)
{
    // One look-up per character: a walk asks this for every file it opens.
    static constexpr std::array<bool, 256> s_bNotInName = [] {
        std::array<bool, 256> table {};
        for (std::size_t ch = 0; ch < 0x20; ++ch)
            table[ch] = true;
        for (const char ch : std::string_view("<>:\"|?*\\/"))
            table[static_cast<unsigned char>(ch)] = true;
        return table;
    }();
    return !strName.empty() && strName != "." && strName != ".."
        && std::none_of(
            strName.begin(), strName.end(), [](char ch) { return s_bNotInName[static_cast<unsigned char>(ch)]; });
}

BOOL ParseProgramPath(LPCTSTR pszPath, CProgramPath& path)
{
    if (!pszPath) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string strText = pszPath;
    std::replace(strText.begin(), strText.end(), '/', '\\');
    if (strText.starts_with("\\\\?\\")) {
        strText.erase(0, 4);
        if (strText.size() >= 4 && Utf8CompareNoCase(strText.substr(0, 4), "UNC\\") == 0)
            strText.replace(0, 4, "\\\\");
    }
    if (strText.empty() || strText.starts_with("\\\\.\\")) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }

    path = CProgramPath();
    path.bTrailingSeparator = strText.back() == '\\';
    if (strText.starts_with("\\\\")) {
        // \\server\share\rest: ".." never climbs above the share.
        CProgramPath unc;
        if (!AppendComponents(std::string_view(strText).substr(2), unc, 2))
            return FALSE;
        if (unc.components.size() < 2) {
            SetLastError(unc.components.empty() ? ERROR_INVALID_NAME : ERROR_BAD_NETPATH);
            return FALSE;
        }
        path.strServer = unc.components[0];
        path.strShare = unc.components[1];
        path.components.assign(unc.components.begin() + 2, unc.components.end());
        if (path.components.empty())
            path.bTrailingSeparator = false;
        return TRUE;
    }

    std::string_view strRest = strText;
    if (strText.size() >= 2 && strText[1] == ':') {
        char chLetter = static_cast<char>(std::toupper(static_cast<unsigned char>(strText[0])));
        if (chLetter < 'A' || chLetter > 'Z') {
            SetLastError(ERROR_INVALID_NAME);
            return FALSE;
        }
        strRest.remove_prefix(2);
        if (strRest.empty() || strRest[0] != '\\') {
            // "D:x" counts from the current directory when it is on D:, else from D:'s root.
            std::string strCurrent = CurrentDirectory();
            if (std::toupper(static_cast<unsigned char>(strCurrent[0])) == chLetter && strCurrent[1] == ':')
                ParseProgramPath(strCurrent.c_str(), path);
        }
        path.chDrive = chLetter;
    } else {
        // Relative, or "\x" from the root of the current directory.
        if (!ParseProgramPath(CurrentDirectory().c_str(), path))
            return FALSE;
        if (strText[0] == '\\')
            path.components.clear();
    }
    path.bTrailingSeparator = strText.back() == '\\';
    if (!AppendComponents(strRest, path, 0))
        return FALSE;
    if (path.components.empty())
        path.bTrailingSeparator = false;
    return TRUE;
}

/******************************************************************************
 * Host lookup
 ******************************************************************************/

std::string CHostPath::HostPath() const
{
    std::string strPath = strRoot;
    for (const std::string& strName : names)
        AppendHostName(strPath, strName);
    return strPath;
}

std::string CHostPath::HostParent() const
{
    std::string strPath = strRoot;
    for (size_t i = 0; i + 1 < names.size(); ++i)
        AppendHostName(strPath, names[i]);
    return strPath;
}

/******************************************************************************
 * Resolving
 ******************************************************************************/

namespace {

thread_local CPathLookupBatch* t_pLookupBatch = nullptr;

}

CPathLookupBatch::CPathLookupBatch()
    : m_pPrevious(t_pLookupBatch)
{
    t_pLookupBatch = this;
}

CPathLookupBatch::~CPathLookupBatch()
{
    t_pLookupBatch = m_pPrevious;
}

std::string CPathLookupBatch::FindName(CFolder& folder, const std::string& strName) const
{
    // Below this many lookups a name costs less to look up alone than its
    // share of listing the folder.
    constexpr int LIST_AFTER_LOOKUPS = 16;
    bool bList = !folder.bListed && ++folder.nLookups == LIST_AFTER_LOOKUPS;
    if (!folder.bListed && !bList && strName.find('~') == std::string::npos) {
        struct stat info { };
        if (lstat(JoinHostPath(folder.path.HostPath(), strName).c_str(), &info) == 0)
            return strName;
        // A name missed as written is looked up by case in a listing anyway:
        // the listing is kept for the folder's next names.
        bList = true;
    }
    if (bList) {
        bool bOk = false;
        folder.entries = ListHostFolder(folder.path.HostPath(), &bOk);
        folder.bListed = bOk;
    }
    // Short names are still looked up in the folder itself.
    if (!folder.bListed || strName.find('~') != std::string::npos)
        return FindHostName(folder.path.HostPath(), strName);
    if (std::binary_search(folder.entries.begin(), folder.entries.end(), strName))
        return strName;
    if (folder.byLowerName.empty()) {
        for (const std::string& strEntry : folder.entries) // Byte order: the first match by case wins.
            folder.byLowerName.try_emplace(Utf8ToLower(strEntry), strEntry);
    }
    const auto it = folder.byLowerName.find(Utf8ToLower(strName));
    return it != folder.byLowerName.end() ? it->second : std::string();
}

namespace {

// The host folder of the path's drive or share, and the components below it.
BOOL ResolveRoot(const CProgramPath& path, CHostPath& hostPath, std::vector<std::string>& below)
{
    hostPath = CHostPath();
    auto pTable = GetDriveTable();
    below = path.components;
    if (path.chDrive) {
        const CDrive* pDrive = pTable->GetDrive(path.chDrive);
        if (!pDrive) {
            SetLastError(ERROR_INVALID_DRIVE);
            return FALSE;
        }
        hostPath.strRoot = pDrive->strHostFolder;
        hostPath.strProgramRoot = std::string(1, path.chDrive) + ":\\";
        if (IsRecycleFolderPath(path)) {
            // The drive's recycle folder hides any host folder of that name.
            below.erase(below.begin());
            hostPath.strRoot = RecycleFilesFolder(path.chDrive, below.empty() ? nullptr : &below.front());
            hostPath.strProgramRoot += std::string(RECYCLE_FOLDER_NAME) + "\\";
        }
    } else {
        std::vector<std::string> unc = { path.strServer, path.strShare };
        unc.insert(unc.end(), path.components.begin(), path.components.end());
        size_t nUsed = 0;
        const CShare* pShare = pTable->FindShare(unc, &nUsed);
        if (!pShare) {
            SetLastError(ERROR_BAD_NETPATH);
            return FALSE;
        }
        hostPath.strRoot = pShare->strHostFolder;
        hostPath.strProgramRoot = "\\";
        for (size_t i = 0; i < nUsed; ++i)
            hostPath.strProgramRoot += "\\" + unc[i];
        hostPath.strProgramRoot += "\\";
        below.assign(unc.begin() + static_cast<std::ptrdiff_t>(nUsed), unc.end());
    }
    return TRUE;
}

} // namespace

BOOL ResolveProgramPath(const CProgramPath& path, CHostPath& hostPath)
{
    std::vector<std::string> below;
    if (!ResolveRoot(path, hostPath, below))
        return FALSE;

    // Within a batch the folder of the last component may be known already.
    CPathLookupBatch* pBatch = t_pLookupBatch;
    CPathLookupBatch::CFolder* pKept = nullptr;
    std::string strKey;
    if (pBatch != nullptr && below.size() > 1) {
        strKey = hostPath.strRoot;
        for (size_t i = 0; i + 1 < below.size(); ++i)
            strKey += '\\' + below[i];
        const auto it = pBatch->m_folders.find(strKey);
        if (it != pBatch->m_folders.end())
            pKept = &it->second;
    }
    if (pKept != nullptr) {
        hostPath.names = pKept->path.names;
        hostPath.nExisting = pKept->path.nExisting;
        std::string strHostName = pKept->path.Exists() ? pBatch->FindName(*pKept, below.back()) : std::string();
        if (!strHostName.empty())
            ++hostPath.nExisting;
        else
            strHostName = below.back();
        hostPath.names.push_back(strHostName);
        return TRUE;
    }

    // A path that exists as written needs no lookup name by name: every
    // folder on its way exists under the name given, so each lookup would
    // answer that name. One call instead of one per component.
    if (!below.empty()) {
        std::string strFull = hostPath.strRoot;
        for (const std::string& strName : below)
            strFull = JoinHostPath(strFull, strName);
        struct stat info { };
        if (lstat(strFull.c_str(), &info) == 0) {
            hostPath.names = below;
            hostPath.nExisting = below.size();
            if (!strKey.empty()) {
                CHostPath& kept = pBatch->m_folders[strKey].path;
                kept = hostPath;
                kept.names.pop_back();
                kept.nExisting = kept.names.size();
            }
            return TRUE;
        }
    }

    // The folders may have been found under another case before.
    const bool bCacheable = below.size() > 1
        && std::none_of(below.begin(), below.end() - 1,
            [](const std::string& strName) { return strName.find('~') != std::string::npos; });
    const std::string strCaseKey
        = bCacheable ? CFolderCaseCache::Key(hostPath.strRoot, { below.begin(), below.end() - 1 }) : std::string();
    if (bCacheable) {
        if (std::optional<std::vector<std::string>> folders = FolderCaseCache().Find(strCaseKey)) {
            std::string strKept = hostPath.strRoot;
            for (const std::string& strName : *folders)
                strKept = JoinHostPath(strKept, strName);
            struct stat info { };
            if (lstat(strKept.c_str(), &info) == 0) {
                hostPath.names = *folders;
                hostPath.nExisting = folders->size();
                if (!strKey.empty())
                    pBatch->m_folders[strKey].path = hostPath;
                std::string strHostName = FindHostName(strKept, below.back());
                if (!strHostName.empty())
                    ++hostPath.nExisting;
                else
                    strHostName = below.back();
                hostPath.names.push_back(strHostName);
                return TRUE;
            }
        }
    }

    std::string strFolder = hostPath.strRoot;
    std::string strFolderKey = hostPath.strRoot;
    bool bFound = true;
    for (size_t i = 0; i < below.size(); ++i) {
        const std::string& strName = below[i];
        std::string strHostName;
        if (bFound && pBatch != nullptr) {
            // Every folder on the way is kept, so that paths through a
            // missing folder list its parent once for the whole batch.
            auto [it, bNew] = pBatch->m_folders.try_emplace(strFolderKey);
            if (bNew)
                it->second.path = hostPath;
            strHostName = pBatch->FindName(it->second, strName);
        } else if (bFound) {
            strHostName = FindHostName(strFolder, strName);
        }
        strFolderKey += '\\' + strName;
        bFound = !strHostName.empty();
        if (bFound)
            ++hostPath.nExisting;
        else
            strHostName = strName;
        hostPath.names.push_back(strHostName);
        strFolder = JoinHostPath(strFolder, strHostName);
        if (!strKey.empty() && i + 2 == below.size())
            pBatch->m_folders[strKey].path = hostPath;
    }
    if (bCacheable && hostPath.nExisting + 1 >= below.size())
        FolderCaseCache().Keep(strCaseKey, { hostPath.names.begin(), hostPath.names.end() - 1 });
    return TRUE;
}

BOOL IsPathCaseAmbiguous(LPCTSTR pszPath)
{
    CProgramPath path;
    CHostPath root;
    std::vector<std::string> below;
    if (!ParseProgramPath(pszPath, path) || !ResolveRoot(path, root, below))
        return FALSE;
    // Name by name: a twin anywhere on the way decides; a name that matches
    // nothing ends a path that does not exist.
    std::string strFolder = root.strRoot;
    for (const std::string& strName : below) {
        std::string strMatch;
        for (const std::string& strEntry : ListHostFolder(strFolder)) {
            if (Utf8CompareNoCase(strEntry, strName) != 0)
                continue;
            if (!strMatch.empty())
                return TRUE;
            strMatch = strEntry;
        }
        if (strMatch.empty())
            return FALSE;
        strFolder = JoinHostPath(strFolder, strMatch);
    }
    return FALSE;
}

BOOL HostPathFromProgramPath(LPCTSTR pszPath, std::string& strHostPath)
{
    CProgramPath path;
    CHostPath hostPath;
    if (!ParseProgramPath(pszPath, path) || !ResolveProgramPath(path, hostPath))
        return FALSE;
    strHostPath = hostPath.HostPath();
    return TRUE;
}

BOOL HostPathAsWritten(LPCTSTR pszPath, std::string& strHostPath)
{
    CProgramPath path;
    CHostPath hostPath;
    if (!ParseProgramPath(pszPath, path) || !HostPathAsWritten(path, hostPath))
        return FALSE;
    strHostPath = hostPath.HostPath();
    return TRUE;
}

BOOL HostPathAsWritten(const CProgramPath& path, CHostPath& hostPath)
{
    std::vector<std::string> below;
    if (!ResolveRoot(path, hostPath, below))
        return FALSE;
    hostPath.names = std::move(below);
    return TRUE;
}

std::string ProgramPathFromHostPath(const std::string& strHostPath)
{
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(strHostPath, ec);
    if (ec)
        return {};
    std::string strNormal = NormalHostPath(absolute.string());
    if (std::string strRecycled = RecycledProgramPath(strNormal); !strRecycled.empty())
        return strRecycled;
    auto isIn = [&](const std::string& strFolder) { return IsInHostFolder(strNormal, strFolder); };
    auto below = [&](const std::string& strFolder) {
        std::string strRest = strNormal.substr(strFolder == "/" ? 1 : std::min(strNormal.size(), strFolder.size() + 1));
        std::replace(strRest.begin(), strRest.end(), '/', '\\');
        return strRest;
    };

    auto pTable = GetDriveTable();
    const CDrive* pBest = nullptr;
    TCHAR chBest = 0;
    for (TCHAR chLetter = 'A'; chLetter <= 'Z'; ++chLetter) {
        const CDrive* pDrive = pTable->GetDrive(chLetter);
        if (pDrive && isIn(pDrive->strHostFolder)
            && (!pBest || pDrive->strHostFolder.size() > pBest->strHostFolder.size())) {
            pBest = pDrive;
            chBest = chLetter;
        }
    }
    if (pBest)
        return std::string(1, chBest) + ":\\" + below(pBest->strHostFolder);

    const CShare* pBestShare = nullptr;
    for (const CShare& share : pTable->GetShares()) {
        if (isIn(share.strHostFolder) && (!pBestShare || share.strHostFolder.size() > pBestShare->strHostFolder.size()))
            pBestShare = &share;
    }
    if (!pBestShare)
        return {};
    std::string strPath = "\\\\" + pBestShare->strServer;
    for (const std::string& strPart : pBestShare->shareComponents)
        strPath += "\\" + strPart;
    std::string strRest = below(pBestShare->strHostFolder);
    return strRest.empty() ? strPath : strPath + "\\" + strRest;
}

/******************************************************************************
 * Full paths and the current directory
 ******************************************************************************/

DWORD GetFullPathName(LPCTSTR lpFileName, DWORD nBufferLength, LPTSTR lpBuffer, LPTSTR* lpFilePart)
{
    CProgramPath path;
    if (!ParseProgramPath(lpFileName, path))
        return 0;
    std::string strFull = path.ToString();
    if (path.bTrailingSeparator)
        strFull += '\\';
    DWORD dwLength = CopyStringToBuffer(strFull, lpBuffer, nBufferLength);
    if (lpFilePart && dwLength < nBufferLength) {
        size_t nLast = strFull.rfind('\\');
        *lpFilePart = nLast + 1 < strFull.size() ? lpBuffer + nLast + 1 : nullptr;
    }
    return dwLength;
}

DWORD GetCurrentDirectory(DWORD nBufferLength, LPTSTR lpBuffer)
{
    return CopyStringToBuffer(CurrentDirectory(), lpBuffer, nBufferLength);
}

BOOL SetCurrentDirectory(LPCTSTR lpPathName)
{
    CProgramPath path;
    CHostPath hostPath;
    if (!ParseProgramPath(lpPathName, path) || !ResolveProgramPath(path, hostPath))
        return FALSE;
    struct stat info { };
    if (stat(hostPath.HostPath().c_str(), &info) != 0) {
        SetLastError(hostPath.nExisting + 1 >= hostPath.names.size() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (!S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_DIRECTORY);
        return FALSE;
    }
    CCurrentDirectory& state = CurrentDirectoryState();
    std::lock_guard lock(state.mutex);
    state.strPath = path.ToString();
    return TRUE;
}
