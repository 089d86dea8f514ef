#pragma once

// The editable tree of systems on the set-up wizard's organisation page. Each
// item carries an organisation node (keywords, folders, search mask), made
// with the item and freed when the item is deleted, whoever deletes it.
//
// Sibling names stay unique without regard to case and sorted: an edit that
// would give an item a sibling's name is refused with a message, an accepted
// one re-sorts the siblings (through the registered "ITCM Sort", posted to the
// tree itself). A new item is named IDS_NEW_ITEM_NAME until the user names it;
// left so, or emptied, it goes when its edit ends. An item once named keeps
// its name rather than going when renamed to the placeholder. Names take up to
// NAME_LENGTH characters.
//
// The tree sends its parent TVN_DELETEITEM for every item that goes, and
// TVN_ENDLABELEDIT only for an edit it accepted.

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CTreeCtrl.h"

#include <functional>

// What an item of the organisation tree carries.
struct COrgNode {
    static constexpr WORD NEW_SEARCH_MASK = 0x31; // a new node's search flags

    CStringArray keywords;
    CStringArray folders;
    WORD wSearchMask { NEW_SEARCH_MASK };
};

class COrgTreeCtrl : public CTreeCtrl {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int NAME_LENGTH = 30;

    COrgTreeCtrl();

    /* Items. A null or TVI_ROOT parent means the top level. */

    // A child sorted among its siblings, with a new node, nImage and the next
    // image when selected.
    HTREEITEM InsertNode(HTREEITEM hParent, LPCTSTR pszText, int nImage);
    // A new child named IDS_NEW_ITEM_NAME at the top of hParent's children,
    // its parent expanded and its name being edited.
    HTREEITEM AddNewChild(HTREEITEM hParent);
    // Deletes the item with its subtree and their nodes.
    void DeleteSubtree(HTREEITEM hItem);
    void DeleteAll();
    // The first child of hParent named pszName without regard to case; null when none.
    HTREEITEM FindChild(HTREEITEM hParent, LPCTSTR pszName) const;

    /* Nodes: empty or 0 for an item without one; the setters make it. */

    void GetKeywords(HTREEITEM hItem, CStringArray& keywords) const;
    void GetFolders(HTREEITEM hItem, CStringArray& folders) const;
    WORD GetSearchMask(HTREEITEM hItem) const;
    void SetKeywords(HTREEITEM hItem, const CStringArray& keywords);
    void SetFolders(HTREEITEM hItem, const CStringArray& folders);
    void SetSearchMask(HTREEITEM hItem, WORD wMask);
    const COrgNode* GetNode(HTREEITEM hItem) const;

    // A check the owner adds to the tree's own before a new name is accepted:
    // FALSE refuses it (the check shows its message). Arguments: the item,
    // its current name, the proposed one.
    using RenameCheck = std::function<BOOL(HTREEITEM, const CString&, const CString&)>;
    void SetRenameCheck(RenameCheck check) { m_renameCheck = std::move(check); }

    // While a name is being edited, Enter and Esc go to the editor, not to the wizard.
    BOOL PreTranslateMessage(MSG* pMsg) override;

private:
    COrgNode& NodeOf(HTREEITEM hItem);
    BOOL OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL OnKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnDestroy();
    LRESULT OnSortChildren(WPARAM wParam, LPARAM lParam);
    // Frees the nodes below hParent (null: the whole tree) and clears their items' data.
    void FreeNodes(HTREEITEM hParent);
    // Whether another child of hItem's parent is named pszName.
    BOOL SiblingHasName(HTREEITEM hItem, const CString& strName) const;

    RenameCheck m_renameCheck;

    static UINT s_nSortMessage; // "ITCM Sort"
};
