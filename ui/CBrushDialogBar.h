#pragma once

// The base of the program's dialog bars: a dialog bar painted with one light
// grey brush, behind the bar and its static texts, and set up once after it
// is made. Creation posts WM_INITBAR to the bar; its handler fills the
// controls from the bar's data (UpdateData(FALSE)) and calls InitBar, so
// subclasses set up their controls after the frame has placed the bar.

#include "platform/framework/CDialogBar.h"
#include "platform/framework/CGdiObject.h"

class CBrushDialogBar : public CDialogBar {
    DECLARE_MESSAGE_MAP()

public:
    // Posted to the bar once it is made.
    static constexpr UINT WM_INITBAR = WM_USER + 1;
    // The bar's colour (palette-relative light grey).
    static constexpr COLORREF BAR_COLOR = PALETTERGB(0xE0, 0xE0, 0xE0);

    CBrushDialogBar();

protected:
    // Called once after creation, after the controls got the bar's data; the
    // base does nothing.
    virtual void InitBar() { }

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    LRESULT OnInitBar(WPARAM wParam, LPARAM lParam);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

private:
    CBrush m_brush;
};
