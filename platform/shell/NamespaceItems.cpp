#include "platform/shell/NamespaceItems.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TrashFolders.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "platform/base/XdgFolders.h"
#include "platform/shell/RecycleBin.h"

#include <dirent.h>
#include <sys/stat.h>

namespace {

struct CVirtualFolderName {
    EVirtualFolder eWhich;
    const char* pszName;
    const char* pszParsingName;
};

// clang-format off
constexpr CVirtualFolderName VIRTUAL_FOLDERS[] = {
    { EVirtualFolder::MyComputer, "My Computer", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}" },
    { EVirtualFolder::Network,    "Network",     "::{208D2C60-3AEA-1069-A2D7-08002B30309D}" },
    { EVirtualFolder::RecycleBin, "Recycle Bin", "::{645FF040-5081-101B-9F08-00AA002F954E}" },
};
// clang-format on

const CVirtualFolderName& NamesOf(EVirtualFolder eWhich)
{
    for (const CVirtualFolderName& names : VIRTUAL_FOLDERS) {
        if (names.eWhich == eWhich)
            return names;
    }
    return VIRTUAL_FOLDERS[0];
}

HRESULT NotFound()
{
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

bool IsHostFolder(const std::string& strHostPath)
{
    struct stat info { };
    return stat(strHostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> SplitShare(const std::string& strShare)
{
    std::vector<std::string> parts;
    size_t nPos = 0;
    for (;;) {
        size_t nEnd = strShare.find('\\', nPos);
        parts.push_back(strShare.substr(nPos, nEnd - nPos));
        if (nEnd == std::string::npos)
            return parts;
        nPos = nEnd + 1;
    }
}

std::string JoinShare(const CShare& share)
{
    std::string strShare;
    for (const std::string& strPart : share.shareComponents)
        strShare += (strShare.empty() ? "" : "\\") + strPart;
    return strShare;
}

// The index of the first folder or file item, and the host folder it stands in.
bool FileSystemBase(const CItemRun& items, size_t& nFirst, std::string& strHostBase)
{
    if (items.empty())
        return false;
    const CShellItem& first = items[0];
    if (first.eKind != EItemKind::VirtualFolder) {
        nFirst = 0;
        strHostBase = DesktopFolderHostPath();
        return !strHostBase.empty();
    }
    if (items.size() < 2)
        return false;
    nFirst = 2;
    const CShellItem& root = items[1];
    auto pTable = GetDriveTable();
    if (root.eKind == EItemKind::Drive) {
        const CDrive* pDrive = pTable->GetDrive(root.chLetter);
        if (!pDrive)
            return false;
        strHostBase = pDrive->strHostFolder;
        return true;
    }
    if (root.eKind == EItemKind::Share) {
        std::vector<std::string> unc = SplitShare(root.strName);
        unc.insert(unc.begin(), root.strServer);
        size_t nUsed = 0;
        const CShare* pShare = pTable->FindShare(unc, &nUsed);
        if (!pShare || nUsed != unc.size())
            return false;
        strHostBase = pShare->strHostFolder;
        return true;
    }
    return false;
}

// Whether a host folder holds a folder; reading stops at the first.
bool HasSubfolder(const std::string& strHostPath)
{
    DIR* pDir = opendir(strHostPath.c_str());
    if (!pDir)
        return false;
    auto pTable = GetDriveTable();
    bool bFound = false;
    while (const dirent* pEntry = readdir(pDir)) {
        std::string_view name = pEntry->d_name;
        if (name == "." || name == "..")
            continue;
        std::string strPath = JoinHostPath(strHostPath, name);
        if (pEntry->d_type == DT_DIR
            || ((pEntry->d_type == DT_UNKNOWN || pEntry->d_type == DT_LNK) && IsHostFolder(strPath))) {
            if (!pTable->IsHiddenMountPoint(strPath)) {
                bFound = true;
                break;
            }
        }
    }
    closedir(pDir);
    return bFound;
}

std::string DriveDisplayName(TCHAR chLetter)
{
    std::string strRoot = std::string(1, chLetter) + ":\\";
    char szLabel[MAX_PATH] {};
    std::string strLabel;
    if (GetVolumeInformation(strRoot.c_str(), szLabel, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0))
        strLabel = szLabel;
    auto pTable = GetDriveTable();
    if (strLabel.empty() && !pTable->GetDrive(chLetter) && pTable->GetRemembered(chLetter))
        strLabel = "Network Drive";
    if (strLabel.empty()) {
        switch (GetDriveType(strRoot.c_str())) {
        case DRIVE_REMOVABLE:
            strLabel = "Removable Disk";
            break;
        case DRIVE_CDROM:
            strLabel = "CD Drive";
            break;
        case DRIVE_REMOTE:
            strLabel = "Network Drive";
            break;
        default:
            strLabel = "Local Disk";
            break;
        }
    }
    return strLabel + " (" + std::string(1, chLetter) + ":)";
}

bool NameEndsWith(const std::string& strName, std::string_view suffix)
{
    return strName.size() > suffix.size()
        && Utf8CompareNoCase(std::string_view(strName).substr(strName.size() - suffix.size()), suffix) == 0;
}

// The items of a host folder in the host's order.
HRESULT ListHostChildren(
    const std::string& strHostFolder, bool bDriveRoot, SHCONTF grfFlags, std::vector<CShellItem>& children)
{
    DIR* pDir = opendir(strHostFolder.c_str());
    if (!pDir)
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    auto pTable = GetDriveTable();
    while (const dirent* pEntry = readdir(pDir)) {
        std::string strName = pEntry->d_name;
        if (strName == "." || strName == "..")
            continue;
        if (strName[0] == '.' && !(grfFlags & SHCONTF_INCLUDEHIDDEN))
            continue;
        bool bFolder = pEntry->d_type == DT_DIR;
        std::string strPath;
        if (pEntry->d_type == DT_UNKNOWN || pEntry->d_type == DT_LNK) {
            strPath = JoinHostPath(strHostFolder, strName);
            bFolder = IsHostFolder(strPath);
        }
        if (bFolder) {
            if (strPath.empty())
                strPath = JoinHostPath(strHostFolder, strName);
            if (pTable->IsHiddenMountPoint(strPath)
                || (bDriveRoot && Utf8CompareNoCase(strName, RECYCLE_FOLDER_NAME) == 0))
                continue;
        }
        if (bFolder ? (grfFlags & SHCONTF_FOLDERS) : (grfFlags & SHCONTF_NONFOLDERS))
            children.push_back(CShellItem::FileSystem(std::move(strName), bFolder));
    }
    closedir(pDir);
    return S_OK;
}

// The items of a resolved program path (drive or UNC); false when it does not exist.
bool ItemsOfHostPath(const CProgramPath& path, const CHostPath& hostPath, CItemPath& items)
{
    if (!hostPath.Exists())
        return false;
    std::string strHost = hostPath.HostPath();
    std::string strDesktop = DesktopFolderHostPath();
    if (!strDesktop.empty() && IsInHostFolder(strHost, strDesktop) && strHost != strDesktop) {
        // The desktop's own items: the names below the desktop folder.
        std::string strRest = strHost.substr(strDesktop == "/" ? 1 : strDesktop.size() + 1);
        items.clear();
        size_t nPos = 0;
        while (nPos <= strRest.size()) {
            size_t nEnd = strRest.find('/', nPos);
            if (nEnd == std::string::npos)
                nEnd = strRest.size();
            bool bLast = nEnd == strRest.size();
            items.push_back(CShellItem::FileSystem(strRest.substr(nPos, nEnd - nPos), !bLast || IsHostFolder(strHost)));
            nPos = nEnd + 1;
        }
        return true;
    }
    auto pTable = GetDriveTable();
    if (path.chDrive) {
        items = { CShellItem::Virtual(EVirtualFolder::MyComputer), CShellItem::Drive(path.chDrive) };
    } else {
        std::vector<std::string> unc = { path.strServer, path.strShare };
        unc.insert(unc.end(), path.components.begin(), path.components.end());
        size_t nUsed = 0;
        const CShare* pShare = pTable->FindShare(unc, &nUsed);
        if (!pShare)
            return false;
        items = { CShellItem::Virtual(EVirtualFolder::Network),
            CShellItem::Share(pShare->strServer, JoinShare(*pShare)) };
    }
    for (size_t i = 0; i < hostPath.names.size(); ++i) {
        bool bLast = i + 1 == hostPath.names.size();
        items.push_back(CShellItem::FileSystem(hostPath.names[i], !bLast || IsHostFolder(strHost)));
    }
    return true;
}

} // namespace

std::string DesktopFolderHostPath()
{
    std::string strDesktop = XdgUserDir("DESKTOP");
    if (strDesktop.empty() || strDesktop == XdgHome() || !IsHostFolder(strDesktop))
        return {};
    return strDesktop;
}

std::string ProgramPathOfItems(const CItemRun& items)
{
    if (items.size() >= 2 && items[1].eKind == EItemKind::Recycled)
        return std::string(1, items[1].chLetter) + ":\\" + RECYCLE_FOLDER_NAME + "\\" + items[1].strName;
    size_t nFirst = 0;
    std::string strPath;
    if (!items.empty() && items[0].eKind != EItemKind::VirtualFolder) {
        strPath = ProgramPathFromHostPath(DesktopFolderHostPath());
        if (DesktopFolderHostPath().empty() || strPath.empty())
            return {};
    } else if (items.size() >= 2 && items[1].eKind == EItemKind::Drive) {
        strPath = std::string(1, items[1].chLetter) + ":\\";
        nFirst = 2;
    } else if (items.size() >= 2 && items[1].eKind == EItemKind::Share) {
        strPath = "\\\\" + items[1].strServer + "\\" + items[1].strName;
        nFirst = 2;
    } else {
        return {};
    }
    for (size_t i = nFirst; i < items.size(); ++i) {
        if (strPath.back() != '\\')
            strPath += '\\';
        strPath += items[i].strName;
    }
    return strPath;
}

bool HostPathOfItems(const CItemRun& items, std::string& strHostPath)
{
    if (items.size() >= 2 && items[1].eKind == EItemKind::Recycled) {
        std::optional<CRecycledEntry> entry = FindRecycledEntry(items[1].chLetter, items[1].strName);
        if (!entry)
            return false;
        strHostPath = entry->HostPath();
        return true;
    }
    size_t nFirst = 0;
    std::string strPath;
    if (!FileSystemBase(items, nFirst, strPath))
        return false;
    for (size_t i = nFirst; i < items.size(); ++i)
        strPath = JoinHostPath(strPath, items[i].strName);
    strHostPath = std::move(strPath);
    return true;
}

UINT DriveTypeOfItems(const CItemRun& items)
{
    if (items.empty())
        return DRIVE_UNKNOWN;
    if (items[0].eKind != EItemKind::VirtualFolder) {
        std::string strDesktop = ProgramPathFromHostPath(DesktopFolderHostPath());
        return strDesktop.size() >= 2 && strDesktop[1] == ':' ? GetDriveType(strDesktop.substr(0, 2).c_str())
                                                              : DRIVE_UNKNOWN;
    }
    if (items.size() < 2)
        return DRIVE_UNKNOWN;
    switch (items[1].eKind) {
    case EItemKind::Drive:
        return GetDriveType((std::string(1, items[1].chLetter) + ":\\").c_str());
    case EItemKind::Share:
        return DRIVE_REMOTE;
    case EItemKind::Recycled:
        return DRIVE_FIXED;
    default:
        return DRIVE_UNKNOWN;
    }
}

HRESULT ItemsOfName(const std::string& strName, bool bRelativeToDesktop, CItemPath& items)
{
    items.clear();
    if (strName.starts_with("::{")) {
        for (const CVirtualFolderName& names : VIRTUAL_FOLDERS) {
            if (Utf8CompareNoCase(strName, names.pszParsingName) == 0) {
                items = { CShellItem::Virtual(names.eWhich) };
                return S_OK;
            }
        }
        return NotFound();
    }
    std::string strPath = strName;
    bool bAbsolute = (strName.size() >= 2 && strName[1] == ':') || strName.starts_with("\\\\");
    if (bRelativeToDesktop && !bAbsolute) {
        std::string strDesktop = ProgramPathFromHostPath(DesktopFolderHostPath());
        if (DesktopFolderHostPath().empty() || strDesktop.empty())
            return NotFound();
        strPath = strDesktop + "\\" + strName;
    }
    CProgramPath path;
    if (!ParseProgramPath(strPath.c_str(), path))
        return E_INVALIDARG;
    if (path.chDrive && !path.components.empty() && Utf8CompareNoCase(path.components[0], RECYCLE_FOLDER_NAME) == 0) {
        if (path.components.size() == 1) {
            items = { CShellItem::Virtual(EVirtualFolder::RecycleBin) };
            return S_OK;
        }
        std::optional<CRecycledEntry> entry = FindRecycledEntry(path.chDrive, path.components[1]);
        if (!entry || path.components.size() > 2)
            return NotFound();
        items = { CShellItem::Virtual(EVirtualFolder::RecycleBin),
            CShellItem::Recycled(entry->chLetter, entry->strName, entry->bFolder) };
        return S_OK;
    }
    auto pTable = GetDriveTable();
    if (path.chDrive && path.components.empty() && !pTable->GetDrive(path.chDrive)
        && pTable->GetRemembered(path.chDrive)) {
        items = { CShellItem::Virtual(EVirtualFolder::MyComputer), CShellItem::Drive(path.chDrive) };
        return S_OK; // a remembered network letter whose share is not mounted now
    }
    CHostPath hostPath;
    if (!ResolveProgramPath(path, hostPath) || !ItemsOfHostPath(path, hostPath, items)) {
        items.clear();
        return NotFound();
    }
    return S_OK;
}

std::string DisplayNameOfItems(const CItemRun& items, SHGDNF uFlags)
{
    if (items.empty())
        return (uFlags & SHGDN_FORPARSING) ? ProgramPathFromHostPath(DesktopFolderHostPath()) : "Desktop";
    const CShellItem& item = items.back();
    bool bParsing = (uFlags & SHGDN_FORPARSING) != 0;
    bool bInFolder = (uFlags & SHGDN_INFOLDER) != 0;
    switch (item.eKind) {
    case EItemKind::VirtualFolder:
        return bParsing ? NamesOf(item.eWhich).pszParsingName : NamesOf(item.eWhich).pszName;
    case EItemKind::Drive:
        return bParsing ? std::string(1, item.chLetter) + ":\\" : DriveDisplayName(item.chLetter);
    case EItemKind::Share:
        return bParsing ? "\\\\" + item.strServer + "\\" + item.strName : item.strName + " on " + item.strServer;
    case EItemKind::Folder:
    case EItemKind::File:
        if (bParsing && !bInFolder) {
            std::string strPath = ProgramPathOfItems(items);
            return strPath.empty() ? item.strName : strPath;
        }
        return item.strName;
    case EItemKind::Recycled:
        if (bParsing)
            return bInFolder ? item.strName : ProgramPathOfItems(items);
        if (std::optional<CRecycledEntry> entry = FindRecycledEntry(item.chLetter, item.strName)) {
            std::string strOriginal = RecycledOriginalPath(*entry);
            if (!strOriginal.empty())
                return strOriginal.substr(strOriginal.rfind('/') + 1);
        }
        return item.strName;
    }
    return {};
}

SFGAOF AttributesOfItems(const CItemRun& items, SFGAOF sfgaoAsked)
{
    if (items.empty())
        return sfgaoAsked & (SFGAO_FOLDER | SFGAO_HASSUBFOLDER);
    const CShellItem& item = items.back();
    SFGAOF sfgao = 0;
    bool bRemovableDrive = false;
    if (sfgaoAsked & SFGAO_REMOVABLE) {
        UINT uType = DriveTypeOfItems(items);
        bRemovableDrive = uType == DRIVE_REMOVABLE || uType == DRIVE_CDROM;
    }
    std::string strHost;
    switch (item.eKind) {
    case EItemKind::VirtualFolder:
        sfgao = SFGAO_FOLDER;
        if (sfgaoAsked & SFGAO_HASSUBFOLDER) {
            bool bSub = item.eWhich == EVirtualFolder::MyComputer;
            if (item.eWhich == EVirtualFolder::Network)
                bSub = !GetDriveTable()->GetShares().empty();
            if (item.eWhich == EVirtualFolder::RecycleBin) {
                for (const CRecycledEntry& entry : ListRecycleBin())
                    bSub = bSub || entry.bFolder;
            }
            sfgao |= bSub ? SFGAO_HASSUBFOLDER : 0;
        }
        break;
    case EItemKind::Drive:
        // A remembered network letter whose share is not mounted has no file system now.
        sfgao = SFGAO_FOLDER | (GetDriveTable()->GetDrive(item.chLetter) ? SFGAO_FILESYSTEM : 0)
            | (bRemovableDrive ? SFGAO_REMOVABLE : 0);
        if ((sfgaoAsked & SFGAO_HASSUBFOLDER) && HostPathOfItems(items, strHost) && HasSubfolder(strHost))
            sfgao |= SFGAO_HASSUBFOLDER;
        break;
    case EItemKind::Share:
        sfgao = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER;
        break;
    case EItemKind::Folder:
        sfgao = SFGAO_FOLDER | SFGAO_FILESYSTEM | (bRemovableDrive ? SFGAO_REMOVABLE : 0);
        if (sfgaoAsked & SFGAO_HASSUBFOLDER) {
            // Folders of other machines are not read for this: they answer yes.
            if (DriveTypeOfItems(items) == DRIVE_REMOTE || (HostPathOfItems(items, strHost) && HasSubfolder(strHost)))
                sfgao |= SFGAO_HASSUBFOLDER;
        }
        break;
    case EItemKind::File:
        sfgao = SFGAO_FILESYSTEM | (bRemovableDrive ? SFGAO_REMOVABLE : 0);
        if ((sfgaoAsked & SFGAO_LINK) && (NameEndsWith(item.strName, ".lnk") || NameEndsWith(item.strName, ".desktop")))
            sfgao |= SFGAO_LINK;
        break;
    case EItemKind::Recycled:
        sfgao = SFGAO_FILESYSTEM | ((item.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) ? SFGAO_FOLDER : 0);
        break;
    }
    return sfgao & sfgaoAsked;
}

HRESULT ChildrenOfItems(const CItemPath& folder, SHCONTF grfFlags, std::vector<CShellItem>& children)
{
    children.clear();
    if (folder.empty()) {
        if (grfFlags & SHCONTF_FOLDERS) {
            for (const CVirtualFolderName& names : VIRTUAL_FOLDERS)
                children.push_back(CShellItem::Virtual(names.eWhich));
        }
        std::string strDesktop = DesktopFolderHostPath();
        if (!strDesktop.empty())
            static_cast<void>(
                ListHostChildren(strDesktop, false, grfFlags, children)); // an unreadable desktop has no items
        return S_OK;
    }
    const CShellItem& item = folder.back();
    if (item.eKind == EItemKind::VirtualFolder) {
        auto pTable = GetDriveTable();
        if (item.eWhich == EVirtualFolder::MyComputer && (grfFlags & SHCONTF_FOLDERS)) {
            // Remembered network letters show whether their share is mounted or not.
            for (TCHAR chLetter = 'A'; chLetter <= 'Z'; ++chLetter) {
                if (pTable->GetDrive(chLetter) || pTable->GetRemembered(chLetter))
                    children.push_back(CShellItem::Drive(chLetter));
            }
        } else if (item.eWhich == EVirtualFolder::Network && (grfFlags & SHCONTF_FOLDERS)) {
            for (const CShare& share : pTable->GetShares())
                children.push_back(CShellItem::Share(share.strServer, JoinShare(share)));
        } else if (item.eWhich == EVirtualFolder::RecycleBin) {
            for (CRecycledEntry& entry : ListRecycleBin()) {
                bool bWanted = entry.bFolder ? (grfFlags & SHCONTF_FOLDERS) : (grfFlags & SHCONTF_NONFOLDERS);
                if (bWanted && (entry.strName[0] != '.' || (grfFlags & SHCONTF_INCLUDEHIDDEN)))
                    children.push_back(CShellItem::Recycled(entry.chLetter, std::move(entry.strName), entry.bFolder));
            }
        }
        return S_OK;
    }
    if (PlaceBelow(item) != EItemPlace::FileSystem)
        return E_INVALIDARG;
    std::string strHost;
    if (!HostPathOfItems(folder, strHost))
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    return ListHostChildren(strHost, item.eKind == EItemKind::Drive, grfFlags, children);
}
