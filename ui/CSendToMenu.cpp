#include "ui/CSendToMenu.h"

#include "catalog/ShellItemEnum.h"
#include "catalog/ShellItemIds.h"
#include "platform/gdi/Icons.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/window/Menu.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"

namespace {

constexpr int IMAGE_WIDTH = 17;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);

/* Images of the fixed items in IDB_SEND_TO. */
constexpr int IMAGE_UNSORTED = 0;
constexpr int IMAGE_OTHER = 1;
constexpr int IMAGE_CATALOG = 2;
constexpr int IMAGE_MAIL = 3;

} // namespace

CSendToMenu::CSendToMenu()
{
    m_images.Create(IDB_SEND_TO, IMAGE_WIDTH, 0, IMAGE_MASK);
    SetImageList(&m_images);
}

void CSendToMenu::Build()
{
    if (GetItemCount() > 0) {
        Reset();
        m_targets.clear();
        // The drives' icons go with their items.
        m_images.DeleteImageList();
        m_images.Create(IDB_SEND_TO, IMAGE_WIDTH, 0, IMAGE_MASK);
        SetImageList(&m_images);
    }
    AppendItem(MF_OWNERDRAW, ID_SEND_TO_UNSORTED, GetResString(IDS_SEND_TO_UNSORTED), IMAGE_UNSORTED);
    AppendItem(MF_OWNERDRAW, ID_SEND_TO_OTHER, GetResString(IDS_SEND_TO_OTHER), IMAGE_OTHER);
    AppendItem(MF_OWNERDRAW, ID_DOC_CATALOG_AGAIN, GetResString(IDS_SEND_TO_CATALOG), IMAGE_CATALOG);
    EnumRemovableDrives(
        [](IShellFolder* pDrives, LPCITEMIDLIST pidlDrive, void* pUser) {
            static_cast<CSendToMenu*>(pUser)->AppendDrive(pDrives, pidlDrive);
            return 1;
        },
        this, nullptr);
    AppendItem(MF_OWNERDRAW, ID_DOC_SEND_MAIL, GetResString(IDS_SEND_TO_MAIL), IMAGE_MAIL);
}

void CSendToMenu::AppendDrive(IShellFolder* pDrives, LPCITEMIDLIST pidlDrive)
{
    const UINT nID = ID_SEND_TO_DRIVE_FIRST + static_cast<UINT>(m_targets.size());
    if (nID > ID_SEND_TO_DRIVE_LAST)
        return;
    CString strPath;
    CString strName;
    if (FAILED(GetDisplayNameOfPIDL(pDrives, pidlDrive, SHGDN_FORPARSING, strPath))
        || FAILED(GetDisplayNameOfPIDL(pDrives, pidlDrive, SHGDN_NORMAL, strName)))
        return;
    SHFILEINFO info {};
    int nImage = -1;
    if (SHGetFileInfo(
            strPath, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES)
        && info.hIcon) {
        nImage = m_images.Add(info.hIcon);
        DestroyIcon(info.hIcon);
    }
    m_targets[nID] = strPath;
    AppendItem(MF_OWNERDRAW, nID, strName, nImage);
}

CString CSendToMenu::GetTargetPath(UINT nID) const
{
    const auto it = m_targets.find(nID);
    return it == m_targets.end() ? CString() : it->second;
}
