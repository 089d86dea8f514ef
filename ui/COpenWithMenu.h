#pragma once

// The menu of programs to open a document with: one item per program of the
// Start-menu program index (built on first use), with the program's system
// icon, commands ID_OPEN_WITH_FIRST (resources/ResourceIds.h) + the entry's index
// up to ID_OPEN_WITH_LAST; the programs past that are not offered.

#include "ui/CImageMenu.h"
#include "ui/CSysImageList.h"

class COpenWithMenu : public CImageMenu {
public:
    COpenWithMenu();

    // Empties the menu and fills it from the program index.
    void Build();

private:
    CSysImageList m_systemImages; // keeps the system lists attached
};
