#pragma once

// The look the chooser popups share: rows filled light grey (the selected
// one darker, its text bold) over a one-pixel line along their bottom, an
// image 4 pixels from the left and centred, the text 4 pixels after it, the
// child arrow at the right, a disabled row embossed. A list measures its rows
// with Measure and draws them with DrawRow.
//
// Every look draws with the same two menu fonts, made once for the process:
// a font keeps the lines it shaped, so a popup opened again (or a child
// showing rows seen before) measures and draws them without shaping again.

#include "platform/framework/CGdiObject.h"
#include "platform/window/Menu.h"

class CDC;
class CImageList;
class CPopupCtrl;
class CWnd;

class CPopupRowLook {
public:
    static constexpr COLORREF SELECTED_COLOUR = 0x02C8C8C8;
    static constexpr COLORREF ROW_COLOUR = 0x02F0F0F0;
    static constexpr COLORREF LINE_COLOUR = 0x02C8C8C8;
    static constexpr COLORREF TEXT_COLOUR = 0x02000000;
    static constexpr int IMAGE_INSET = 4; // from the row's left to the image, from the image to the text
    static constexpr int ROW_PAD = 16;    // added to image and text widths
    static constexpr int ROW_MARGIN = 4;  // added to a row's height (not by every popup)

    // Takes the shared menu fonts at 400 and at 700 (made on first use).
    CPopupRowLook();
    CPopupRowLook(const CPopupRowLook&) = delete;
    CPopupRowLook& operator=(const CPopupRowLook&) = delete;

    CFont& NormalFont() { return m_normal; }
    CFont& BoldFont() { return m_bold; }

    // A text followed by five blanks in the bold font.
    SIZE MeasureText(CWnd* pList, LPCTSTR pszText);
    // A row's size: its text followed by five blanks in the bold font, an
    // image of that size beside it; height the larger of both plus nMargin.
    SIZE Measure(CWnd* pList, LPCTSTR pszText, SIZE image, int nMargin);

    // Where a row's image of that size goes.
    static RECT ImageRect(const RECT& row, SIZE image);

    // What one row shows.
    struct CRow {
        LPCTSTR pszText { "" };
        CImageList* pImages { nullptr }; // null or an image below 0: none, its space kept
        int nImage { -1 };
        SIZE imageSize {};
        CImageList* pArrows { nullptr }; // drawn for a row with a child
        int nArrow { 0 };
        BOOL bHasChild { FALSE };
        BOOL bEnabled { TRUE };
    };
    void DrawRow(const DRAWITEMSTRUCT* pItem, const CRow& row);

    // A popup list's row, measured by its text with images of that size;
    // nWidest keeps the widest row.
    void MeasureListRow(CPopupCtrl& list, MEASUREITEMSTRUCT* pItem, SIZE image, int nMargin, int& nWidest);
    // Draws a popup list's row with its text, child arrow and state; row
    // gives the images. Nothing for a bad index.
    void DrawListRow(CPopupCtrl& list, const DRAWITEMSTRUCT* pItem, CRow row);

    // Whether the draw request shows the row selected.
    static BOOL IsSelected(const DRAWITEMSTRUCT* pItem);

private:
    CFont& m_normal;
    CFont& m_bold;
    CDC& m_measureDC; // a memory context holding the bold font
};

// The width and height of the images of a list (0 x 0 for none).
SIZE ImageSizeOf(CImageList* pImages);
