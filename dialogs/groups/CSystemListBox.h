#pragma once

// Every keyword of the catalog that leads to a system by a file's name,
// folder, description or text (search-type bits 0 to 3), each row with the
// systems of that keyword as edited on the keywords and systems sheet. A row
// owns its array of node copies (null while it has none), freed when the
// list is destroyed. The list scrolls sideways as far as its widest row.

#include "store/CNodeRec.h"
#include "store/OwnedCollections.h"

#include "platform/framework/CListBox.h"

class CCatalog;
class CDC;

using CSystemArray = COwnedPtrArray<CNodeRec>;

class CSystemListBox : public CListBox {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int SYSTEMS_GROW_BY = 16;

    CSystemListBox() = default;

    // One row per keyword, in the keyword map's order.
    void FillFromCatalog(CCatalog* pCatalog);
    // Adds a row that takes pSystems (null: none); the row's index.
    int AddKeywordRow(LPCTSTR pszKeyword, CSystemArray* pSystems);
    // The systems of a row; null when it has none.
    CSystemArray* GetSystems(int nRow) const;
    // Gives a row its systems, freeing those it had.
    void SetSystems(int nRow, CSystemArray* pSystems);

    /* Changes the other page announces. */

    // Takes the system out of the keyword's row; nothing when either is missing.
    void RemoveSystemFromKeyword(LPCTSTR pszKeyword, const CNodeRec& system);
    // Adds a copy of the system to the keyword's row, adding the row when missing.
    void AddSystemToKeyword(LPCTSTR pszKeyword, const CNodeRec& system);

protected:
    void OnDestroy();

private:
    // Adds the row, measured with dc, which holds the list's font.
    int AddRow(CDC& dc, LPCTSTR pszKeyword, CSystemArray* pSystems);

    int m_nWidest { 0 };
};
