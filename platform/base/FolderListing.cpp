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

} // namespace

BOOL ListFolderEntries(LPCTSTR pszFolder, std::vector<CFolderEntry>& entries)
{
    entries.clear();
    std::string strHostFolder;
    if (!HostPathFromProgramPath(pszFolder, strHostFolder))
        return FALSE;
    DIR* pDir = opendir(strHostFolder.c_str());
    if (pDir == nullptr) {
        // A folder that is not there is a missing path, as FindFirstFile reports it.
        if (SetLastErrorFromErrno() == ERROR_FILE_NOT_FOUND)
            SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
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
    closedir(pDir);
    std::sort(entries.begin(), entries.end(),
        [](const CFolderEntry& a, const CFolderEntry& b) { return a.strName < b.strName; });
    return TRUE;
}
