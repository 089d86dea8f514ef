#include "ui/DocumentIcons.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/ResourceModule.h"
#include "platform/gdi/Icons.h"
#include "platform/shell/ShellFileInfo.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"

#include <memory>

int GetDocumentTypeIcon(const CDocumentRec& document)
{
    std::optional<int>& nTypeIcon = document.TypeIconCache();
    if (!nTypeIcon) {
        if (!document.IsValid())
            return -1;
        CString strName = MAIL_ITEM_FILE_NAME;
        if (!document.IsMail())
            document.GetFullPath(strName);
        SHFILEINFO info {};
        UINT uFlags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
        nTypeIcon = SHGetFileInfo(strName, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), uFlags) ? info.iIcon : -1;
    }
    return *nTypeIcon;
}

HICON GetDocumentIcon(const CDocumentRec& document)
{
    std::unique_ptr<CDocumentRec::CHeldIcon>& pIcon = document.IconCache();
    if (pIcon || !document.IsValid())
        return pIcon ? pIcon->Get() : nullptr;
    SHFILEINFO info {};
    if (document.IsMail())
        SHGetFileInfo(MAIL_ITEM_FILE_NAME, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
    else
        SHGetFileInfo(document.GetFilePath(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), SHGFI_ICON);
    // The resource icon is shared: destroying it with the object does nothing.
    HICON hIcon = info.hIcon ? info.hIcon : LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_DOCUMENT));
    pIcon = std::make_unique<CDocumentRec::CHeldIcon>(hIcon, CopyIcon, DestroyIcon);
    return hIcon;
}
