#pragma once

// The sheets inside the group dialogs, made as child windows over a
// placeholder: CPropertySheetGrupos holds the five pages of a group,
// CPropertySheetPalavrasChaves its Keywords and Search pages. Loading makes
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
