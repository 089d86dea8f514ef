#include "platform/base/FolderListing.h"

#include "platform/base/DriveTable.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/TrashFolders.h"
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

// The kind of one entry as the folder tells it (d_type).
DWORD AttributesOfEntry(int nFolder, const char* pszName, unsigned char nType)
{
    switch (nType) {
    case DT_REG:
        return FILE_ATTRIBUTE_ARCHIVE;
    case DT_DIR:
        return FILE_ATTRIBUTE_DIRECTORY;
    case DT_LNK:
        return AttributesAt(nFolder, pszName, true) | FILE_ATTRIBUTE_REPARSE_POINT;
    case DT_UNKNOWN:
        return AttributesAt(nFolder, pszName, false);
    default:
        return FILE_ATTRIBUTE_SYSTEM;
    }
}

// Reads the entries of the folder open as nFolder at strHostFolder into
// entries, sorted. The entries are read straight from the descriptor, which
// stays open and usable for the lookups of names in the folder.
void ReadEntries(int nFolder, const std::string& strHostFolder, std::vector<CFolderEntry>& entries)
{
    entries.clear();
    const auto pTable = GetDriveTable();
    alignas(dirent64) char buffer[32768];
    for (;;) {
        const ssize_t nRead = getdents64(nFolder, buffer, sizeof(buffer));
        if (nRead <= 0)
            break;
        for (ssize_t nOffset = 0; nOffset < nRead;) {
            const auto* pEntry = reinterpret_cast<const dirent64*>(buffer + nOffset);
            nOffset += pEntry->d_reclen;
            const char* pszName = pEntry->d_name;
            if (std::strcmp(pszName, ".") == 0 || std::strcmp(pszName, "..") == 0)
                continue;
            DWORD dwAttributes = AttributesOfEntry(nFolder, pszName, pEntry->d_type);
            if ((dwAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
                == FILE_ATTRIBUTE_DIRECTORY) {
                const std::string strHostPath = JoinHostPath(strHostFolder, pszName);
                if (pTable->IsHiddenMountPoint(strHostPath) || IsTrashFolder(strHostFolder, pszName))
                    continue;
                if (pTable->IsDriveRoot(strHostPath))
                    dwAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
            }
            entries.push_back({ pszName, dwAttributes });
        }
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
    const int nFolder = ::open(strHostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFolder < 0) {
        SetFolderError();
        return FALSE;
    }
    ReadEntries(nFolder, strHostFolder, entries);
    ::close(nFolder);
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
    ListOpen(nFolder, std::move(strHostFolder), pszFolder);
    return TRUE;
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
        if (nFolder >= 0) {
            ListOpen(nFolder, JoinHostPath(parent.m_strHostFolder, strName), strFolder);
            return TRUE;
        }
    }
    return List(strFolder);
}

void CListedFolder::ListOpen(int nFolder, std::string strHostFolder, LPCTSTR pszFolder)
{
    ReadEntries(nFolder, strHostFolder, m_entries);
    m_nFolder = nFolder;
    m_strHostFolder = std::move(strHostFolder);
    m_strFolder = pszFolder;
    if (m_strFolder.IsEmpty() || m_strFolder[m_strFolder.GetLength() - 1] != '\\')
        m_strFolder += '\\';
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
