#include "platform/base/TrashFolders.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/XdgFolders.h"

#include <cctype>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsFolder(const std::string& strPath)
{
    struct stat info { };
    return stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The letter of the drive whose folder holds a host path; 0 for none.
TCHAR LetterOfHostPath(const std::string& strHostPath)
{
    std::string strProgram = ProgramPathFromHostPath(strHostPath);
    return strProgram.size() >= 2 && strProgram[1] == ':' ? strProgram[0] : TCHAR { 0 };
}

} // namespace

CTrashFolder HomeTrash()
{
    std::string strDataHome = XdgDataHome();
    return CTrashFolder { strDataHome.empty() ? std::string() : JoinHostPath(strDataHome, "Trash"), {}, 0 };
}

std::string TopDirectoryOf(const std::string& strHostPath)
{
    struct stat info { };
    if (lstat(strHostPath.c_str(), &info) != 0)
        return {};
    std::string strTop = NormalHostPath(strHostPath);
    while (strTop != "/") {
        size_t nSlash = strTop.rfind('/');
        std::string strParent = nSlash == 0 ? std::string("/") : strTop.substr(0, nSlash);
        struct stat parent { };
        if (stat(strParent.c_str(), &parent) != 0 || parent.st_dev != info.st_dev)
            break;
        strTop = strParent;
    }
    return strTop;
}

CTrashFolder TopDirectoryTrash(const std::string& strTopDir)
{
    std::string strUid = std::to_string(getuid());
    CTrashFolder trash { {}, strTopDir, LetterOfHostPath(strTopDir) };
    // A shared .Trash counts only as a real folder with the sticky bit, never through a link.
    std::string strShared = JoinHostPath(strTopDir, ".Trash");
    struct stat info { };
    if (lstat(strShared.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX))
        trash.strPath = JoinHostPath(strShared, strUid);
    else
        trash.strPath = JoinHostPath(strTopDir, ".Trash-" + strUid);
    return trash;
}

std::vector<CTrashFolder> ExistingTrashes()
{
    std::vector<CTrashFolder> trashes;
    CTrashFolder home = HomeTrash();
    std::string strUid = std::to_string(getuid());
    // The local mounts, and the top directories of the local drives, which
    // may stand on file systems the mount table does not name.
    auto pTable = GetDriveTable();
    std::set<std::string> topDirs;
    for (const std::string& strMount : pTable->LocalMountPoints())
        topDirs.insert(strMount);
    for (TCHAR chLetter = 'A'; chLetter <= 'Z'; ++chLetter) {
        const CDrive* pDrive = pTable->GetDrive(chLetter);
        if (pDrive && pDrive->uType != DRIVE_REMOTE) {
            std::string strTop = TopDirectoryOf(pDrive->strHostFolder);
            if (!strTop.empty())
                topDirs.insert(strTop);
        }
    }
    for (const std::string& strMount : topDirs) {
        // Both kinds may exist side by side; the desktop lists both.
        for (const std::string& strTrash :
            { JoinHostPath(JoinHostPath(strMount, ".Trash"), strUid), JoinHostPath(strMount, ".Trash-" + strUid) }) {
            CTrashFolder trash { strTrash, strMount, LetterOfHostPath(strMount) };
            if (strTrash != home.strPath && trash.chLetter && IsFolder(trash.FilesFolder()))
                trashes.push_back(std::move(trash));
        }
    }
    if (!home.strPath.empty() && IsFolder(home.FilesFolder()))
        trashes.push_back(std::move(home));
    return trashes;
}

bool IsTrashFolder(const std::string& strHostFolder, std::string_view strName)
{
    // The name first: the paths are looked at only for a name a trash may have.
    const std::string strUid = std::to_string(getuid());
    const bool bHomeName = strName == "Trash";
    if (!bHomeName && strName != ".Trash" && strName != ".Trash-" + strUid)
        return false;
    const std::string strParent = NormalHostPath(strHostFolder);
    if (bHomeName) {
        const CTrashFolder home = HomeTrash();
        return !home.strPath.empty() && NormalHostPath(home.strPath) == JoinHostPath(strParent, "Trash");
    }
    return GetDriveTable()->IsMountPoint(strParent) || TopDirectoryOf(strParent) == strParent;
}

bool TrashServesDrive(const CTrashFolder& trash, TCHAR chLetter)
{
    chLetter = static_cast<TCHAR>(std::toupper(static_cast<unsigned char>(chLetter)));
    if (trash.IsHomeTrash() || trash.chLetter == chLetter)
        return true;
    const CDrive* pDrive = GetDriveTable()->GetDrive(chLetter);
    return pDrive && pDrive->uType != DRIVE_REMOTE && IsInHostFolder(pDrive->strHostFolder, trash.strTopDir)
        && TopDirectoryOf(pDrive->strHostFolder) == trash.strTopDir;
}

std::vector<CTrashFolder> TrashesOfDrive(TCHAR chLetter)
{
    std::vector<CTrashFolder> trashes;
    for (CTrashFolder& trash : ExistingTrashes()) {
        if (TrashServesDrive(trash, chLetter))
            trashes.push_back(std::move(trash));
    }
    return trashes;
}

TCHAR RecycledItemLetter(const CTrashFolder& trash, std::string_view strName)
{
    TCHAR chLetter = 0;
    if (ParseRecycledName(strName, &chLetter, nullptr) && GetDriveTable()->GetDrive(chLetter)
        && TrashServesDrive(trash, chLetter))
        return chLetter;
    return trash.IsHomeTrash() ? LetterOfHostPath(trash.strPath) : trash.chLetter;
}

bool ParseRecycledName(std::string_view strName, TCHAR* pchLetter, unsigned long long* pnNumber)
{
    if (strName.size() < 3 || (strName[0] != 'd' && strName[0] != 'D')
        || !std::isalpha(static_cast<unsigned char>(strName[1])))
        return false;
    size_t nPos = 2;
    unsigned long long nNumber = 0;
    while (nPos < strName.size() && std::isdigit(static_cast<unsigned char>(strName[nPos]))) {
        unsigned nDigit = strName[nPos++] - '0';
        nNumber = nNumber > (~0ULL - nDigit) / 10 ? ~0ULL : nNumber * 10 + nDigit;
    }
    if (nPos == 2)
        return false;
    if (nPos < strName.size() && (strName[nPos] != '.' || strName.find('.', nPos + 1) != std::string_view::npos))
        return false;
    if (pchLetter)
        *pchLetter = static_cast<TCHAR>(std::toupper(static_cast<unsigned char>(strName[1])));
    if (pnNumber)
        *pnNumber = nNumber;
    return true;
}
