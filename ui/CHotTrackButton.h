#pragma once

// A flat owner-drawn image button with hot tracking: it rises while the
// cursor is over it and sinks while pressed; a release over it posts its
// command, a release elsewhere does not. Double clicks are ignored.

#include "platform/framework/CButton.h"

class CImageList;

class CHotTrackButton : public CButton {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR TIMER_LEAVE_CHECK = 101;
    static constexpr UINT LEAVE_CHECK_MS = 30;

    CHotTrackButton() = default;

    // The image list (not owned) and the picture shown from it.
    void SetImage(CImageList* pImageList, int nImage)
    {
        m_pImageList = pImageList;
        m_nImage = nImage;
    }
    void SetColors(COLORREF crBackground, COLORREF crHighlight, COLORREF crShadow);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);

private:
    BOOL m_bCaptured { FALSE };
    BOOL m_bHot { FALSE };
    CImageList* m_pImageList { nullptr };
    int m_nImage { -1 };
    COLORREF m_crBackground { PALETTERGB(0xE0, 0xE0, 0xE0) };
    COLORREF m_crHighlight { PALETTERGB(0xFF, 0xFF, 0xFF) };
    COLORREF m_crShadow { PALETTERGB(0x80, 0x80, 0x80) };
};
