#pragma once

// The grid list's header: items it owner-draws get their text in the button
// face colour, an optional picture, and for the sort column an arrow
// pointing down (direction TRUE) or up. An item becomes owner-drawn when it
// is made the sort column or given a picture, and stays so.

#include "platform/base/CMap.h"
#include "platform/framework/CHeaderCtrl.h"

#include <memory>

class CImageList;

class CGridHeaderCtrl : public CHeaderCtrl {
    DECLARE_DYNAMIC(CGridHeaderCtrl)

public:
    static constexpr int TEXT_LIMIT = 255; // characters of an item's text drawn

    CGridHeaderCtrl();
    ~CGridHeaderCtrl() override;

    // Makes nColumn (-1: none) the sort column with the arrow's direction and
    // repaints; returns the previous sort column (the current one when nothing changed).
    int SetSortImage(int nColumn, BOOL bDirection);
    int GetSortColumn() const { return m_nSortColumn; }
    // The arrow's direction: TRUE ascending.
    BOOL GetSortDirection() const { return m_bSortDirection; }
    // The pictures of the items; the header owns pImageList.
    void SetImageList(CImageList* pImageList);
    // Item nItem shows picture nImage (-1: none).
    void SetItemImage(int nItem, int nImage);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

private:
    void MakeOwnerDrawn(int nItem);
    void DrawSortArrow(CDC* pDC, const RECT& item, int nMargin) const;

    BOOL m_bSortDirection { TRUE };
    int m_nSortColumn { -1 };
    std::unique_ptr<CImageList> m_pImageList;
    CMap<int, int, int, int> m_itemImages;
};
