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
    // Programs past the range are left out: the ids after it are the favourites'.
    for (int i = 0; i < index.GetCount() && ID_OPEN_WITH_FIRST + i <= ID_OPEN_WITH_LAST; ++i) {
        const CStartMenuIndex::CEntry& entry = index.GetEntry(i);
        AppendItem(MF_OWNERDRAW, ID_OPEN_WITH_FIRST + static_cast<UINT>(i), entry.strName,
            GetPathIconIndex(entry.strProgram, FALSE, TRUE));
    }
}
