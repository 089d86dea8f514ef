// The popups as they look, compared with reference pictures that were
// checked by eye once: the systems popup with a selected row, a disabled row
// and child arrows; one cut to three quarters of the screen with its down
// arrow; the folder chooser; an empty favourites popup.

#include "tests/ui/PopupTestSupport.h"
#include "ui/CFolderPopupCtrl.h"
#include "ui/CSisPopupWnd.h"
#include "ui/DocumentPopups.h"

#include <string>

namespace {

class PopupPicturesTest : public PopupCatalogTest {
protected:
    // Places the popup at the screen's corner, selects a row (-1: none) and compares it.
    void ExpectMatches(CPopupWnd& popup, int nSelected, const char* pszReference)
    {
        const POINT pos { 20, 20 };
        popup.FitOnScreen(&pos, nullptr);
        if (nSelected >= 0)
            popup.GetPopupCtrl()->SelectItem(nSelected);
        RedrawWindow(popup.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Driver().Pump();
        m_pUi->ExpectWindowMatches(popup.m_hWnd, pszReference);
    }
};

TEST_F(PopupPicturesTest, SystemsWithSelectionDisabledRowAndArrows)
{
    CSisPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    AddNode(*Node(*m_pCatalog, m_tree.alpha), "Deep");
    popup.GetSisList().FillItems(Node(*m_pCatalog, m_tree.projects).get(), FALSE, FALSE, TRUE);
    popup.GetSisList().SetItemEnabled(1, FALSE); // beta
    ExpectMatches(popup, 2, "popup_systems.png");
}

TEST_F(PopupPicturesTest, ATallPopupShowsWholeRowsAndItsDownArrow)
{
    auto pArchive = Node(*m_pCatalog, m_tree.archive);
    for (int i = 0; i < 60; ++i)
        AddNode(*pArchive, ("Group " + std::to_string(10 + i)).c_str());
    CSisPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    popup.GetSisList().FillItems(pArchive.get(), FALSE, FALSE, FALSE);
    ExpectMatches(popup, -1, "popup_scrolling.png");
}

TEST_F(PopupPicturesTest, FolderChooserAndEmptyFavourites)
{
    CFolderPopupWnd folders;
    ASSERT_EQ(folders.Create(&m_pUi->m_host), 1);
    folders.GetFolderList().FillRootItems();
    ExpectMatches(folders, 0, "popup_folders.png");

    CFavoritesPopupWnd favorites;
    ASSERT_EQ(favorites.Create(&m_pUi->m_host), 1);
    favorites.GetDocumentList().FillItems();
    ExpectMatches(favorites, -1, "popup_favourites_empty.png");
}

} // namespace
