#pragma once

// An owner-drawn button that shows one picture of an image list centred on a
// face of its background colour.

#include "platform/framework/CButton.h"

class CImageList;

class CImageButton : public CButton {
public:
    CImageButton() = default;
    ~CImageButton() override;

    // Shows picture nImage of pImageList (the caller keeps the list) on crBackground.
    void SetImages(CImageList* pImageList, int nImage, COLORREF crBackground);
    // Makes the button's own list from bitmap nBitmapID of the resource
    // module, pictures nImageWidth wide, crMask transparent, and shows its
    // first picture on crBackground. FALSE when the list cannot be made.
    BOOL CreateImageList(UINT nBitmapID, int nImageWidth, int nGrow, COLORREF crMask, COLORREF crBackground);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

private:
    void DeleteOwnedList();

    CImageList* m_pImageList { nullptr };
    BOOL m_bOwnsList { FALSE };
    int m_nImage { 0 };
    COLORREF m_crBackground { 0 };
};
