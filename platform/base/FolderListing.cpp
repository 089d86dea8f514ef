#include "platform/base/FolderListing.h"

#include "platform/base/DriveTable.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

DWORD AttributesOfMode(mode_t mode)
{
    return S_ISDIR(mode) ? FILE_ATTRIBUTE_DIRECTORY : S_ISREG(mode) ? FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_SYSTEM;
}

// The kind of an entry whose type the folder did not tell, or of a link's
// target; a dangling link counts as a file.
DWORD AttributesAt(int nFolder, const char* pszName, bool bFollow)
{
    struct stat info { };
    if (fstatat(nFolder, pszName, &info, bFollow ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
        return FILE_ATTRIBUTE_ARCHIVE;
    if (!bFollow && S_ISLNK(info.st_mode))
        return AttributesAt(nFolder, pszName, true) | FILE_ATTRIBUTE_REPARSE_POINT;
    return AttributesOfMode(info.st_mode);
}

// Sets the last error of a folder that did not open: one that is not there is
// a missing path, as FindFirstFile reports it.
void SetFolderError()
{
    if (SetLastErrorFromErrno() == ERROR_FILE_NOT_FOUND)
        SetLastError(ERROR_PATH_NOT_FOUND);
}

// Reads the entries of the open folder pDir at strHostFolder into entries, sorted.
void ReadEntries(DIR* pDir, const std::string& strHostFolder, std::vector<CFolderEntry>& entries)
{
    entries.clear();
    const int nFolder = dirfd(pDir);
    const auto pTable = GetDriveTable();
    while (const dirent* pEntry = readdir(pDir)) {
        const char* pszName = pEntry->d_name;
        if (std::strcmp(pszName, ".") == 0 || std::strcmp(pszName, "..") == 0)
            continue;
        DWORD dwAttributes = 0;
        switch (pEntry->d_type) {
        case DT_REG:
            dwAttributes = FILE_ATTRIBUTE_ARCHIVE;
            break;
        case DT_DIR:
            dwAttributes = FILE_ATTRIBUTE_DIRECTORY;
            break;
        case DT_LNK:
            dwAttributes = AttributesAt(nFolder, pszName, true) | FILE_ATTRIBUTE_REPARSE_POINT;
            break;
        case DT_UNKNOWN:
            dwAttributes = AttributesAt(nFolder, pszName, false);
            break;
        default:
            dwAttributes = FILE_ATTRIBUTE_SYSTEM;
            break;
        }
        if ((dwAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY) {
            const std::string strHostPath = JoinHostPath(strHostFolder, pszName);
            if (pTable->IsHiddenMountPoint(strHostPath))
                continue;
            if (pTable->IsDriveRoot(strHostPath))
                dwAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        }
        entries.push_back({ pszName, dwAttributes });
    }
    std::sort(entries.begin(), entries.end(),
        [](const CFolderEntry& a, const CFolderEntry& b) { return a.strName < b.strName; });
}

} // namespace

BOOL ListFolderEntries(LPCTSTR pszFolder, std::vector<CFolderEntry>& entries)
{
    entries.clear();
    std::string strHostFolder;
    if (!HostPathFromProgramPath(pszFolder, strHostFolder))
        return FALSE;
    DIR* pDir = opendir(strHostFolder.c_str());
    if (pDir == nullptr) {
        SetFolderError();
        return FALSE;
    }
    ReadEntries(pDir, strHostFolder, entries);
    closedir(pDir);
    return TRUE;
}

/******************************************************************************
 * CListedFolder
 ******************************************************************************/

CListedFolder::~CListedFolder()
{
    Close();
}

BOOL CListedFolder::List(LPCTSTR pszFolder)
{
    Close();
    std::string strHostFolder;
    if (!HostPathFromProgramPath(pszFolder, strHostFolder))
        return FALSE;
    const int nFolder = ::open(strHostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFolder < 0) {
        SetFolderError();
        return FALSE;
    }
    return ListOpen(nFolder, std::move(strHostFolder), pszFolder);
}

BOOL CListedFolder::ListIn(const CListedFolder& parent, const std::string& strName)
{
    Close();
    if (!parent.IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // A plain name is the host name of the same bytes in the parent; the
    // lookup by path is left for the names that do not open so.
    const CString strFolder = parent.PathOf(strName) + "\\";
    if (IsPlainProgramName(strName)) {
        const int nFolder = ::openat(parent.m_nFolder, strName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (nFolder >= 0)
            return ListOpen(nFolder, JoinHostPath(parent.m_strHostFolder, strName), strFolder);
    }
    return List(strFolder);
}

BOOL CListedFolder::ListOpen(int nFolder, std::string strHostFolder, LPCTSTR pszFolder)
{
    // The listing reads through a descriptor of its own, which closedir closes.
    const int nListing = ::fcntl(nFolder, F_DUPFD_CLOEXEC, 0);
    DIR* pDir = nListing >= 0 ? fdopendir(nListing) : nullptr;
    if (pDir == nullptr) {
        SetLastErrorFromErrno();
        if (nListing >= 0)
            ::close(nListing);
        ::close(nFolder);
        return FALSE;
    }
    ReadEntries(pDir, strHostFolder, m_entries);
    closedir(pDir);
    m_nFolder = nFolder;
    m_strHostFolder = std::move(strHostFolder);
    m_strFolder = pszFolder;
    if (m_strFolder.IsEmpty() || m_strFolder[m_strFolder.GetLength() - 1] != '\\')
        m_strFolder += '\\';
    return TRUE;
}

void CListedFolder::Close()
{
    if (m_nFolder >= 0)
        ::close(m_nFolder);
    m_nFolder = -1;
    m_strFolder.Empty();
    m_strHostFolder.clear();
    m_entries.clear();
}

CString CListedFolder::PathOf(std::string_view strName) const
{
    return m_strFolder + CString(strName.data(), static_cast<int>(strName.size()));
}
