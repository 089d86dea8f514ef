#pragma once

// The editable word list for keywords: row 0 invites a new keyword, words
// may have up to 260 characters, and the list fills from words or from the
// catalog's keyword records.

#include "platform/base/CollectionArrays.h"
#include "store/CNodeRec.h"
#include "ui/CEditableListCtrl.h"

class CKeywordListCtrl : public CEditableListCtrl {
    DECLARE_DYNAMIC(CKeywordListCtrl)

public:
    static constexpr int KEYWORD_LIMIT = 260; // characters of a keyword

    CKeywordListCtrl() = default;

    // Makes the one column and the new-entry row; call once after creation.
    void InitColumn();
    // Replaces the words by pWords (null: none), sorted.
    void FillFromArray(const CStringArray* pWords);
    // Replaces the words by the texts of the keyword records.
    void FillFromList(const CKeywordRecArray& keywords);
    // Deletes the selected words; the new-entry row is only deselected.
    void DeleteSelected();

private:
    void DeleteWords();
};
