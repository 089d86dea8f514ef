#pragma once

// A check list of document types: before each type's text, the small system
// icon of the first extension in its list.
//
// Each item's value (GetItemData) is a CStringArray* of the type's extensions
// (".ext"), which stays the owner's. Items without extensions, and the
// "other" type (IDS_OTHER_DOCUMENT_TYPE), show icon 0. The owner creates the
// list with LBS_OWNERDRAWFIXED and LBS_HASSTRINGS.

#include "platform/framework/CCheckListBox.h"
#include "ui/CSysImageList.h"

class CIconCheckListBox : public CCheckListBox {
    DECLARE_DYNAMIC(CIconCheckListBox)

public:
    /* Layout, in pixels. */
    static constexpr int ICON_LEFT = 4;   // from the item's left edge (right of its box) to the icon
    static constexpr int TEXT_GAP = 4;    // from the icon to the text
    static constexpr int ITEM_MARGIN = 4; // added to the item's height

    CIconCheckListBox() = default;

    // The small-list icon an item shows.
    int IconOf(int nIndex) const;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The larger of the text height and the small icon height, plus ITEM_MARGIN.
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

private:
    CSysImageList m_sysImageList; // keeps the system lists attached while the list lives
};
