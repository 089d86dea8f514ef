#include "frame/CCatalogBar.h"

#include "resources/ResourceIds.h"

namespace {

struct CatalogButton {
    UINT nID;
    UINT nBitmapID;
};

// In the order the buttons are subclassed; the pictures go in the reverse order.
constexpr std::array<CatalogButton, CCatalogBar::BUTTONS> CATALOG_BUTTONS { {
    { IDC_CATALOG_BUTTON1, IDB_CATALOG_BAR_CATALOG },
    { IDC_CATALOG_BUTTON2, IDB_CATALOG_BAR_TREE },
    { IDC_CATALOG_BUTTON3, IDB_CATALOG_BAR_LIST },
    { IDC_CATALOG_BUTTON4, IDB_CATALOG_BAR_FIND },
    { IDC_CATALOG_BUTTON5, IDB_CATALOG_BAR_RECYCLE },
    { IDC_CATALOG_BUTTON6, IDB_CATALOG_BAR_REFRESH },
} };

constexpr int IMAGE_WIDTH = 16;
constexpr int IMAGE_GROWTH = 1;
constexpr COLORREF IMAGE_MASK = RGB(0xFF, 0x00, 0xFF);

} // namespace

CImageButton* CCatalogBar::GetButton(UINT nID)
{
    for (size_t i = 0; i < CATALOG_BUTTONS.size(); ++i) {
        if (CATALOG_BUTTONS[i].nID == nID)
            return &m_buttons[i];
    }
    return nullptr;
}

void CCatalogBar::InitBar()
{
    for (size_t i = 0; i < CATALOG_BUTTONS.size(); ++i)
        m_buttons[i].SubclassDlgItem(CATALOG_BUTTONS[i].nID, this);
    for (size_t i = CATALOG_BUTTONS.size(); i-- > 0;) {
        // A picture that cannot be loaded leaves its button blank.
        (void)m_buttons[i].CreateImageList(
            CATALOG_BUTTONS[i].nBitmapID, IMAGE_WIDTH, IMAGE_GROWTH, IMAGE_MASK, BAR_COLOR);
    }
}
