#pragma once

// The sheets inside the group dialogs, made as child windows over a
// placeholder: CPropertySheetGrupos holds the five pages of a group,
// CPropertySheetPalavrasChaves its Keywords and Search pages, and
// CPropertySheetInstGrupos the set-up wizard's Keywords, Search and Folders
// twins, which hand plain values in and out. Loading makes
// every page's window first, so each page shows its node even before the
// user opens it; storing goes through the pages in their order and stops at
// the first failed write. Both pass the idle pass on to their pages.

#include "dialogs/groups/CGroupPropertiesFolders.h"
#include "dialogs/groups/CGroupPropertiesGeneral.h"
#include "dialogs/groups/CGroupPropertiesKeywords.h"
#include "dialogs/groups/CGroupPropertiesMensagens.h"
#include "dialogs/groups/CGroupPropertiesTipoProcura.h"

#include "platform/framework/CPropertySheet.h"

class CGroupSheet : public CPropertySheet {
    DECLARE_DYNAMIC(CGroupSheet)
    DECLARE_MESSAGE_MAP()

public:
    // Reads the controls of the current page into its values.
    BOOL UpdateActivePage();

protected:
    CGroupSheet() = default;

    // Shows every page once, the first last, so each has its window.
    void MakeEveryPage();
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
};

class CPropertySheetGrupos : public CGroupSheet {
    DECLARE_DYNCREATE(CPropertySheetGrupos)

public:
    CPropertySheetGrupos();

    // pNode is null for a new group.
    void LoadFromNode(const CNodeRec* pNode);
    BOOL StoreToNode(CNodeRec* pNode);

    CGroupPropertiesGeneral m_general;
    CGroupPropertiesKeywords m_keywords;
    CGroupPropertiesTipoProcura m_search;
    CGroupPropertiesFolders m_folders;
    CGroupPropertiesMensagens m_messages;
};

class CPropertySheetPalavrasChaves : public CGroupSheet {
    DECLARE_DYNCREATE(CPropertySheetPalavrasChaves)

public:
    CPropertySheetPalavrasChaves();

    void LoadFromNode(const CNodeRec* pNode);
    BOOL StoreToNode(CNodeRec* pNode);

    CGroupPropertiesKeywords m_keywords;
    CGroupPropertiesTipoProcura m_search;
};

class CPropertySheetInstGrupos : public CGroupSheet {
    DECLARE_DYNCREATE(CPropertySheetInstGrupos)

public:
    CPropertySheetInstGrupos();

    // Shows a group's values on the three pages.
    void Load(const CStringArray& keywords, BYTE bSearchMask, const CStringArray& folders);
    // Replaces the values by what the pages show and empties the lists, so
    // that the next Load starts from nothing.
    void Store(CStringArray& keywords, BYTE& bSearchMask, CStringArray& folders);

    CGroupInstKeywords m_keywords;
    CGroupInstTipoProcura m_search;
    CGroupInstFolders m_folders;
};
