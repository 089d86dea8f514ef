#pragma once

// An owner-drawn list box that shows one image of an image list before
// every line. Disabled, it draws grey text and no selection.
//
// The owner creates it with LBS_OWNERDRAWVARIABLE (or FIXED) and LBS_HASSTRINGS
// and gives it the image list, which stays the owner's.

#include "platform/framework/CListBox.h"
#include "platform/gdi/ImageLists.h"

class CImageListBox : public CListBox {
    DECLARE_DYNAMIC(CImageListBox)

public:
    /* Layout, in pixels. */
    static constexpr int IMAGE_LEFT = 4;  // from the item's left edge to the image
    static constexpr int TEXT_GAP = 4;    // from the image to the text
    static constexpr int ITEM_MARGIN = 4; // added to the item's height
    static constexpr COLORREF DISABLED_TEXT = 0x808080;

    CImageListBox() = default;

    // The list and the image drawn before every line.
    void SetImageList(HIMAGELIST hImageList, int nImage);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The larger of the text height and image 0's height, plus ITEM_MARGIN.
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

private:
    HIMAGELIST m_hImageList { nullptr };
    int m_nImage { 0 };
};
