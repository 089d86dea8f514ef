#pragma once

// An owner-drawn list box shown as a menu of large icons with their texts
// below them: the item under the mouse is hot (a raised frame around its
// icon, sunken while the button is down), disabled items are embossed, and
// releasing the button over an enabled item chooses it (OnChoose). The hot
// item is the list's one selected item (a multiple-selection list box).
//
//   idle ──move over an enabled item──> hot (timer 1 every 30 ms checks
//   hot ──cursor left the window──> idle            that the cursor stays)
//   hot ──button down──> pressed (capture) ──up over an enabled item──> OnChoose

#include "ui/CListBoxNT.h"

#include <memory>

class CImageList;

class CMFCXListMenu : public CListBoxNT {
    DECLARE_DYNAMIC(CMFCXListMenu)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR TIMER_HOVER = 1;
    static constexpr UINT HOVER_CHECK_MS = 30;
    static constexpr int ICON_SIZE = 31;
    static constexpr int ITEM_EXTRA_HEIGHT = 48; // beside the text: the icon and its gaps

    CMFCXListMenu();
    ~CMFCXListMenu() override;

    // Adds an item with an image of the list's image list, the owner's data
    // and whether it can be chosen; the result of setting its record.
    int AddItem(LPCSTR pszText, DWORD nImage, DWORD nData, DWORD bEnabled);
    // Replaces the image list with one made from a bitmap resource.
    BOOL CreateImageList(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    CImageList* GetImageList() const { return m_pImages.get(); }

    // The hot item; -1 none.
    int GetHotItem() const;
    // Makes nItem hot (-1: none), repainting the old one.
    void SetHotItem(int nItem);
    // SetHotItem and OnHotItemChanged when the hot item changes.
    void HotTrack(int nItem);
    // Chooses nItem as a click would (-1 only clears the hot item).
    void ChooseItem(int nItem);
    // The owner's data of an item; 0 for a bad one.
    DWORD GetItemValue(int nItem) const;
    // An item's image; -1 (as a DWORD) for a bad item. Setting it does not repaint.
    DWORD GetItemImage(int nItem) const;
    void SetItemImage(int nItem, DWORD nImage);
    BOOL IsItemEnabled(int nItem) const;

    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    // An enabled item was chosen: it is the hot item now.
    virtual void OnChoose() = 0;
    virtual void OnHotItemChanged(int /*nOldItem*/, int /*nNewItem*/) { }

    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnEraseBkgnd(CDC* pDC);

private:
    struct CRecord : CListItemRecord {
        DWORD nImage;
        DWORD nData;
        DWORD bEnabled;
    };

    const CRecord* Record(int nItem) const;
    // The enabled item under a client point; -1 none.
    int ChoosableItemAt(CPoint point);

    BYTE m_bPressed { FALSE };
    CPoint m_lastPoint { -1, -1 };
    std::unique_ptr<CImageList> m_pImages;
};
