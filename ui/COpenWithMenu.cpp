#include "ui/COpenWithMenu.h"

#include "platform/window/Menu.h"
#include "resources/ResourceIds.h"
#include "ui/CStartMenuIndex.h"

COpenWithMenu::COpenWithMenu()
{
    SetImageList(GetSystemImageList(1));
}

void COpenWithMenu::Build()
{
    if (GetItemCount() > 0)
        Reset();
    CStartMenuIndex& index = GetStartMenuIndex();
    if (!index.IsBuilt())
        index.Build();
    for (int i = 0; i < index.GetCount(); ++i) {
        const CStartMenuIndex::CEntry& entry = index.GetEntry(i);
        AppendItem(MF_OWNERDRAW, ID_OPEN_WITH_FIRST + static_cast<UINT>(i), entry.strName,
            GetPathIconIndex(entry.strProgram, FALSE, TRUE));
    }
}
