#pragma once

// The new-document menu: "new group" and "new top-level group", a mail
// message when mail can be sent, then the application's two lists of
// new-document kinds (from the host), each with the system icon of its
// entry's type, commands ID_NEW_DOCUMENT_FIRST + the entry's
// running index over both lists. Separators stand between the groups that
// are not empty.
//
// The fixed items carry no picture: the menu's one image list is the shared
// system list, which is not the menu's to add pictures to.

#include "ui/CImageMenu.h"
#include "ui/CSysImageList.h"

class CNewDocMenu : public CImageMenu {
public:
    CNewDocMenu();

    // Empties the menu and fills it from the host's lists as they are now.
    void Rebuild();

private:
    CSysImageList m_systemImages; // keeps the system lists attached
};
