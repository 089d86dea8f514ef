// The icons of a document: its index in the system image list and its own
// shell icon, each worked out once and kept in the object.

#include "store/CDocumentRec.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/ResourceModule.h"
#include "platform/gdi/Icons.h"
#include "platform/shell/ShellFileInfo.h"
#include "resources/ResourceIds.h"

namespace {

// The pseudo file whose type gives mail messages their icon.
constexpr LPCTSTR MAIL_ITEM_FILE = "archivora.kdmail";

} // namespace

void CDocumentRec::CIconDestroyer::operator()(HICON hIcon) const
{
    DestroyIcon(hIcon);
}

int CDocumentRec::GetTypeIcon() const
{
    if (!m_nTypeIcon) {
        if (!m_bValid)
            return -1;
        CString strName = MAIL_ITEM_FILE;
        if (!IsMail())
            GetFullPath(strName);
        SHFILEINFO info {};
        UINT uFlags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
        m_nTypeIcon = SHGetFileInfo(strName, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), uFlags) ? info.iIcon : -1;
    }
    return *m_nTypeIcon;
}

HICON CDocumentRec::GetIcon() const
{
    if (m_pIcon || !m_bValid)
        return m_pIcon.get();
    SHFILEINFO info {};
    if (IsMail())
        SHGetFileInfo(MAIL_ITEM_FILE, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
    else
        SHGetFileInfo(GetFilePath(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), SHGFI_ICON);
    // The resource icon is shared: destroying it with the object does nothing.
    m_pIcon.reset(info.hIcon ? info.hIcon : LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_DOCUMENT)));
    return m_pIcon.get();
}
