#include "platform/shell/ShellFileInfo.h"

#include "platform/shell/NamespaceItems.h"
#include "platform/shell/RecycleBin.h"
#include "platform/shell/SystemImageLists.h"

#include "platform/base/DriveTable.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"

#include <string>

namespace {

// What an item is, as far as its icon and type name go.
struct CItemKind {
    SystemIcon eIcon;
    std::string strTypeName;
};

CItemKind FolderKind(UINT uFlags)
{
    return CItemKind { (uFlags & SHGFI_OPENICON) ? SYSICON_FOLDER_OPEN : SYSICON_FOLDER, "File Folder" };
}

CItemKind FileKind(LPCTSTR pszPath)
{
    CShellFileType type = GetShellFileType(pszPath);
    return CItemKind { type.eIcon, std::move(type.strTypeName) };
}

// A drive's root ("C:\", "C:") or a share ("\\server\share", with or without
// the closing backslash): the icon of its kind of drive.
bool RootKind(const std::string& strPath, CItemKind* pKind)
{
    std::string strRoot = strPath;
    if (strRoot.size() == 2 && strRoot[1] == ':')
        strRoot += '\\';
    bool bDrive = strRoot.size() == 3 && strRoot[1] == ':' && (strRoot[2] == '\\' || strRoot[2] == '/');
    bool bShare = false;
    if (!bDrive && strRoot.rfind("\\\\", 0) == 0) {
        // "\\server\share" has exactly one separator after the server name.
        std::string strRest = strRoot.substr(2);
        if (!strRest.empty() && strRest.back() == '\\')
            strRest.pop_back();
        size_t nSep = strRest.find('\\');
        bShare = nSep != std::string::npos && nSep > 0 && nSep + 1 < strRest.size()
            && strRest.find('\\', nSep + 1) == std::string::npos;
        strRoot = "\\\\" + strRest + "\\";
    }
    if (!bDrive && !bShare)
        return false;
    switch (GetDriveType(strRoot.c_str())) {
    case DRIVE_REMOVABLE:
        *pKind = CItemKind { SYSICON_DRIVE_REMOVABLE, "Removable Disk" };
        return true;
    case DRIVE_REMOTE:
        *pKind = CItemKind { SYSICON_DRIVE_NETWORK, "Network Drive" };
        return true;
    case DRIVE_CDROM:
        *pKind = CItemKind { SYSICON_DRIVE_CDROM, "CD Drive" };
        return true;
    case DRIVE_FIXED:
    case DRIVE_RAMDISK:
        *pKind = CItemKind { SYSICON_DRIVE_FIXED, "Local Disk" };
        return true;
    default:
        return false; // no drive there: not an item
    }
}

// The flags this shell answers. Others (attributes, overlays) are refused
// rather than guessed at.
constexpr UINT KNOWN_FLAGS = SHGFI_SMALLICON | SHGFI_OPENICON | SHGFI_PIDL | SHGFI_USEFILEATTRIBUTES | SHGFI_ICON
    | SHGFI_TYPENAME | SHGFI_SYSICONINDEX;

// What an absolute item list is: a virtual folder's kind, or the program path
// of the item, which the path rules then describe. False for a damaged list
// or an item without either.
bool ItemListKind(LPCITEMIDLIST pidl, CItemKind* pKind, std::string& strPath)
{
    std::vector<CShellItem> items;
    if (FAILED(DecodeShellItems(pidl, EItemPlace::Desktop, items))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (items.size() <= 1 && (items.empty() || items[0].eKind == EItemKind::VirtualFolder)) {
        EVirtualFolder eWhich = items.empty() ? EVirtualFolder::None : items[0].eWhich;
        SystemIcon eIcon = eWhich == EVirtualFolder::MyComputer ? SYSICON_MY_COMPUTER
            : eWhich == EVirtualFolder::Network                 ? SYSICON_NETWORK
            : eWhich == EVirtualFolder::RecycleBin
            ? (ListRecycleBin().empty() ? SYSICON_RECYCLE_EMPTY : SYSICON_RECYCLE_FULL)
            : SYSICON_FOLDER;
        *pKind = CItemKind { eIcon, "System Folder" };
        return true;
    }
    if (items.size() == 2 && items[1].eKind == EItemKind::Drive && !GetDriveTable()->GetDrive(items[1].chLetter)
        && GetDriveTable()->GetRemembered(items[1].chLetter)) {
        *pKind = CItemKind { SYSICON_DRIVE_NETWORK, "Network Drive" }; // remembered, its share not mounted
        return true;
    }
    strPath = ProgramPathOfItems(items);
    if (strPath.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    return true;
}

} // namespace

DWORD_PTR SHGetFileInfo(LPCTSTR pszPath, DWORD dwFileAttributes, SHFILEINFO* psfi, UINT cbFileInfo, UINT uFlags)
{
    if (!pszPath || !psfi || cbFileInfo < sizeof(SHFILEINFO) || (uFlags & ~KNOWN_FLAGS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    psfi->hIcon = nullptr;
    psfi->iIcon = -1;

    CItemKind kind { SYSICON_DOCUMENT, {} };
    std::string strItemPath;
    if (uFlags & SHGFI_PIDL) {
        if (!ItemListKind(reinterpret_cast<LPCITEMIDLIST>(pszPath), &kind, strItemPath))
            return 0;
        if (!strItemPath.empty())
            return SHGetFileInfo(strItemPath.c_str(), dwFileAttributes, psfi, cbFileInfo, uFlags & ~SHGFI_PIDL);
    } else if (uFlags & SHGFI_USEFILEATTRIBUTES) {
        kind = (dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FolderKind(uFlags) : FileKind(pszPath);
    } else if (!RootKind(pszPath, &kind)) {
        DWORD dwFound = GetFileAttributes(pszPath);
        if (dwFound == INVALID_FILE_ATTRIBUTES)
            return 0; // the last error says why
        kind = (dwFound & FILE_ATTRIBUTE_DIRECTORY) ? FolderKind(uFlags) : FileKind(pszPath);
    }

    HIMAGELIST himl = GetShellImageList((uFlags & SHGFI_SMALLICON) ? TRUE : FALSE);
    if (!himl) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    psfi->iIcon = kind.eIcon;
    if (uFlags & SHGFI_ICON) {
        psfi->hIcon = ImageList_GetIcon(himl, kind.eIcon, ILD_NORMAL);
        if (!psfi->hIcon)
            return 0;
    }
    if (uFlags & SHGFI_TYPENAME)
        Utf8CopyToField(psfi->szTypeName, sizeof(psfi->szTypeName), kind.strTypeName.c_str(), FieldEnd::NulTerminated);
    if (uFlags & SHGFI_SYSICONINDEX)
        return reinterpret_cast<DWORD_PTR>(himl);
    return 1;
}
