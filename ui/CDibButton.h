#pragma once

// An owner-drawn button that shows a bitmap of the resource module, centred
// in the button with its palette realised. The picture's white surface at
// its top-right and bottom-left corners is flood-filled with the brush the
// parent gives the control (WM_CTLCOLORBTN), so the white around a picture
// takes the dialog's colour.

#include "platform/framework/CButton.h"
#include "ui/CDibPalette.h"

class CDibButton : public CButton {
public:
    CDibButton() = default;

    // Loads bitmap nID of the current resource module, whose picture is
    // nWidth x nHeight (0: the bitmap's own size). FALSE when the bitmap
    // cannot be loaded.
    BOOL SetBitmap(UINT nID, int nWidth, int nHeight);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

private:
    int m_nWidth { 0 };
    int m_nHeight { 0 };
    CDibPalette m_picture;
};
