#pragma once

// An owner-drawn combo box offering the fifteen basic colours, each as a
// swatch and its name; the item data is the colour. It fills itself once,
// when it is created or subclassed, and selects the first colour.
//
// The owner creates it with CBS_OWNERDRAWFIXED | CBS_HASSTRINGS.

#include "platform/framework/CComboBox.h"

class CColorComboBox : public CComboBox {
    DECLARE_DYNAMIC(CColorComboBox)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr COLORREF UNSELECTED_BACK = 0x02E0E0E0; // behind rows not selected

    CColorComboBox() = default;

    // The selected colour; 0 when none is selected.
    COLORREF GetSelectedColor() const;
    // Selects the last row of crColor; a colour not in the table keeps the selection.
    void SelectColor(COLORREF crColor);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void PreSubclassWindow() override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

private:
    void Fill();

    BOOL m_bFilled { FALSE };
    CString m_strText; // a row's name while it is drawn
};
