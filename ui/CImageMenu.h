#pragma once

// A menu whose owner-drawn items show an image of an image list beside their
// text, in the menu font at normal weight. Items go into columns: the item
// that would make a column taller than the screen's work area starts a new
// one (MF_MENUBARBREAK), so long menus never scroll. Separators are etched
// lines. The menu objects built on it fill it with AppendItem.

#include "platform/base/CArray.h"
#include "platform/framework/CGdiObject.h"
#include "platform/framework/CMenu.h"
#include "platform/gdi/ImageLists.h"

#include <memory>
#include <vector>

class CImageList;

class CImageMenu : public CMenu {
public:
    // One item: the record its menu item carries as its item data.
    struct CItem {
        CString strText;
        int nImage { -1 }; // in the image list; -1 none
        UINT nFlags { 0 }; // as given to AppendItem
    };

    CImageMenu();
    ~CImageMenu() override;
    CImageMenu(const CImageMenu&) = delete;
    CImageMenu& operator=(const CImageMenu&) = delete;

    // The images of the items (not owned); its image 0 gives every image's size.
    void SetImageList(CImageList* pImages);
    // Appends an item: nFlags MF_OWNERDRAW (with MF_GRAYED and the like), or
    // MF_OWNERDRAW | MF_SEPARATOR with nID 0 and no text for a separator.
    BOOL AppendItem(UINT nFlags, UINT nID, LPCTSTR pszText, int nImage = -1);
    // Empties the menu: a new empty menu, no records, a new first column.
    void Reset();
    int GetItemCount() const { return static_cast<int>(m_items.size()); }

    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

private:
    // The size of an item's text in the menu font.
    SIZE TextSize(const CString& strText) const;
    int ImageWidth() const { return m_imageInfo.rcImage.right - m_imageInfo.rcImage.left; }
    int ImageHeight() const { return m_imageInfo.rcImage.bottom - m_imageInfo.rcImage.top; }

    std::vector<std::unique_ptr<CItem>> m_items;
    CFont m_font;                      // the menu font at weight 400
    CImageList* m_pImages { nullptr }; // not owned
    IMAGEINFO m_imageInfo {};          // of image 0
    int m_nColumnHeight { 0 };         // of the column being filled
    int m_nWorkAreaHeight { 0 };
};
