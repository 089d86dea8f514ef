#include "webaccess/server/ExplorerFolders.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/FolderListing.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/Volumes.h"
#include "store/PathHelpers.h"

bool IsOutsideExplorer(const CString& strPath)
{
    return IsInProgramFolder(strPath) != FALSE;
}

std::vector<CWAExplorerFolder> ListFixedDrives()
{
    std::vector<CWAExplorerFolder> drives;
    const DWORD dwDrives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        CString strRoot;
        strRoot.Format("%c:\\", 'A' + i);
        if ((dwDrives & (1u << i)) != 0 && GetDriveType(strRoot) == DRIVE_FIXED)
            drives.push_back({ strRoot, strRoot.Left(2), true });
    }
    return drives;
}

std::vector<CWAExplorerFolder> ListVisibleSubFolders(const CString& strFolder)
{
    std::vector<CWAExplorerFolder> folders;
    const CString strBase = AddBackslash(strFolder);
    std::vector<CFolderEntry> entries;
    if (!ListFolderEntries(strBase, entries))
        return folders;
    for (const CFolderEntry& entry : entries) {
        if ((entry.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || entry.strName[0] == '.')
            continue;
        const CString strPath = strBase + entry.strName.c_str();
        if (IsOutsideExplorer(strPath))
            continue;
        folders.push_back({ strPath, entry.strName.c_str(),
            (entry.dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && !IsMountedFolder(strPath) });
    }
    return folders;
}
