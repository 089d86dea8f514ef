#pragma once

// The set-up wizard's folder tree: the explorer check tree that leaves out
// temporary files ("~*.*", "*.tmp") and the program folder's "Temporary
// Internet Files", and fills itself in one call under its progress dialog.

#include "ui/CCheckExplorerTreeCtrl.h"

class CInstExplorerTreeCtrl : public CCheckExplorerTreeCtrl {
    DECLARE_DYNCREATE(CInstExplorerTreeCtrl)

public:
    /* Location modes of Fill, as the locations page gives them. */
    static constexpr int MODE_LOCAL = 1;   // the fixed drives only
    static constexpr int MODE_NETWORK = 2; // the locations only

    CInstExplorerTreeCtrl();

    // Empties the tree and fills it: the fixed drives unless nMode is
    // MODE_NETWORK, the location roots unless it is MODE_LOCAL, every top
    // item expanded. pExtensions (lower-cased, no dot; kept by the caller
    // while the tree lives), when given, replaces the wanted extensions. FALSE
    // when the user stopped the fill from its progress dialog; the tree is
    // then empty, every folder released.
    BOOL Fill(int nMode, CMapStringToPtr* pExtensions, CMapStringToPtr& roots);
};
