#pragma once

// The systems and groups of the catalog with the keywords of each as edited
// on the keywords and systems sheet. Each item owns a CKeywordTreeItem: a
// copy of its node, the node's keyword texts (null while it has none) and
// whether they changed. Nothing reaches the catalog before SaveModified.
// Items and their records are deleted children first when the tree is
// destroyed.

#include "store/CatalogTypes.h"

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CTreeCtrl.h"

#include <memory>

class CCatalog;
class CKeywordIndex;
class CNodeRec;

struct CKeywordTreeItem {
    std::unique_ptr<CNodeRec> pNode;
    std::unique_ptr<CStringArray> pKeywords; // null: no keywords
    BOOL bModified { FALSE };
};

class CKeywordTreeCtrl : public CTreeCtrl {
    DECLARE_MESSAGE_MAP()

public:
    CKeywordTreeCtrl() = default;
    ~CKeywordTreeCtrl() override;

    // The node pictures.
    BOOL InitImageList();
    // Fills the tree with the children of the catalog's root, recursively.
    void FillFromRoot(CCatalog* pCatalog);
    // The item at or below hFrom (null: the whole tree) of the node at ref; null when none.
    HTREEITEM FindItemByNode(CRecordRef ref, HTREEITEM hFrom = nullptr) const;
    CKeywordTreeItem* GetItemRecord(HTREEITEM hItem) const;

    /* Changes the other page announces. */

    // Takes the last keyword equal to pszKeyword without regard to case out of the system's item.
    void RemoveKeywordFromSystem(const CNodeRec& system, LPCTSTR pszKeyword);
    void AddKeywordToSystem(const CNodeRec& system, LPCTSTR pszKeyword);

    // Stores the keywords of every changed item as one catalog action, committed
    // with one flush; FALSE when a write or the commit failed.
    BOOL SaveModified();

protected:
    void OnDestroy();

private:
    HTREEITEM InsertSystem(std::unique_ptr<CNodeRec> pNode, HTREEITEM hParent);
    // index: the catalog's keywords, read once for the whole save.
    BOOL SaveModifiedBelow(HTREEITEM hFrom, CKeywordIndex& index);

    CImageList m_images;
};
