#include "ui/CNewDocMenu.h"

#include "mail/CMapiMail.h"
#include "platform/window/Menu.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"
#include "ui/CUiHostServices.h"

CNewDocMenu::CNewDocMenu()
{
    SetImageList(GetSystemImageList(1));
}

void CNewDocMenu::Rebuild()
{
    if (GetItemCount() > 0)
        Reset();
    CNewDocumentLists lists;
    if (CUiHostServices* pHost = GetUiHostServices())
        pHost->GetNewDocumentLists(&lists);
    AppendItem(MF_OWNERDRAW, ID_CATALOG_NEW_GROUP, GetResString(IDS_NEW_GROUP_ENTRY));
    AppendItem(MF_OWNERDRAW, ID_CATALOG_NEW_TOP_GROUP, GetResString(IDS_NEW_TOP_GROUP_ENTRY));
    if (IsMapiAvailable()) {
        AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, nullptr);
        AppendItem(MF_OWNERDRAW, ID_TOOLS_SEND_MAIL, GetResString(IDS_SEND_MAIL_ENTRY));
    } else if (lists.first.GetSize() > 0) {
        AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, nullptr);
    }
    int nIndex = 0;
    auto appendList = [&](const CStringArray& names) {
        for (int i = 0; i < names.GetSize(); ++i, ++nIndex) {
            const UINT nID = ID_NEW_DOCUMENT_FIRST + static_cast<UINT>(nIndex);
            if (nID > ID_NEW_DOCUMENT_LAST)
                return;
            const int nImage
                = nIndex < lists.entryPaths.GetSize() ? GetFileIconIndex(lists.entryPaths[nIndex], FALSE, TRUE) : -1;
            AppendItem(MF_OWNERDRAW, nID, names[i], nImage);
        }
    };
    appendList(lists.first);
    if (lists.second.GetSize() > 0) {
        AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, nullptr);
        appendList(lists.second);
    }
}
