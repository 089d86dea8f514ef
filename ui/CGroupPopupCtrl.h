#pragma once

// The display-only popup list of the groups a document is linked to: one row
// per linked node, drawn as that node's path. Rows cannot be chosen (a click
// or Enter leaves the popup open); it closes like any popup, by Escape, Alt,
// a click outside or the cursor staying away.
//
// Each row's text and value are the position of its group in the document's
// array of linked nodes, the text in decimal: the sorted list therefore
// orders rows by that text (0, 1, 10, 11, ..., 2, ...), and each row still
// draws its own group. The list owns the nodes until its window is destroyed.

#include "platform/framework/CGdiObject.h"
#include "store/CNodeRec.h"
#include "ui/CPopupCtrl.h"

class CDocumentRec;

class CGroupPopupCtrl : public CPopupCtrl {
    DECLARE_DYNAMIC(CGroupPopupCtrl)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int ROW_HEIGHT = 20;
    static constexpr int NAME_PAD = 32; // added to each name of a measured path
    static constexpr int ROW_PAD = 16;  // added to the path to give the row's width
    static constexpr COLORREF ROW_COLOUR = 0x02F0F0F0;
    static constexpr COLORREF LINE_COLOUR = 0x02C8C8C8;
    static constexpr COLORREF TEXT_COLOUR = 0x02000000;

    // Takes the width cap (half the work area's width) and makes the font.
    CGroupPopupCtrl();
    ~CGroupPopupCtrl() override;

    // Replaces the groups with the document's linked nodes and adds a row for each.
    void FillGroups(const CDocumentRec* pDocument);
    // The group of a row; null for a bad index.
    const CNodeRec* GetGroup(int nIndex) const;
    int GetWidthCap() const { return m_nWidthCap; }

    int GetPopupWidth() override { return m_nWidest; }
    // Null, and the popup stays open.
    void* ChooseHotItem() override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();

private:
    // The width of a node's names, each with its pad, in the list's font, capped.
    int PathWidth(const CNodeRec& node);

    CFont m_font;
    int m_nWidest { 0 };
    CNodeRecArray m_groups;
    int m_nWidthCap { 0 };
};
