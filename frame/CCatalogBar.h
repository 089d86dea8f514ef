#pragma once

// CCatalogBar: the main frame's catalog bar, six picture buttons in a row on
// the bar's grey. No command answers them, so they show disabled.

#include "ui/CBrushDialogBar.h"
#include "ui/CImageButton.h"

#include <array>

class CCatalogBar : public CBrushDialogBar {
public:
    static constexpr int BUTTONS = 6;

    CCatalogBar() = default;

    // The button of a control ID of the bar's template; null for another ID.
    CImageButton* GetButton(UINT nID);

protected:
    // Subclasses the six buttons and gives each its picture.
    void InitBar() override;

private:
    std::array<CImageButton, BUTTONS> m_buttons;
};
