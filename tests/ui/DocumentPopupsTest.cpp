#include "ui/DocumentPopups.h"

#include "catalog/CPendingDocs.h"
#include "resources/ResourceIds.h"
#include "store/CRecentList.h"
#include "tests/ui/PopupTestSupport.h"
#include "ui/DocumentMenus.h"
#include "ui/MainWindowMessages.h"
#include "ui/PopupHitTable.h"

#include <memory>

namespace {

class DocumentPopupsTest : public PopupCatalogTest {
protected:
    void TearDown() override
    {
        EXPECT_EQ(GetPopupHitCount(), 0);
        PopupCatalogTest::TearDown();
    }
    std::unique_ptr<CNodeRec> Favorites()
    {
        return std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec2(m_pCatalog.get()));
    }
    template<class TWnd> std::unique_ptr<CDocumentRec> Track(TWnd& popup)
    {
        const POINT pos { 100, 60 };
        const RECT button { 40, 40, 100, 60 };
        return std::unique_ptr<CDocumentRec>(static_cast<CDocumentRec*>(popup.TrackPopup(&pos, &button, &button)));
    }
};

TEST_F(DocumentPopupsTest, FavouritesStandByPathAndAnEmptyListShowsOneDisabledRow)
{
    CFavoritesPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    CFavoritesPopupCtrl& list = popup.GetDocumentList();
    list.FillItems();
    EXPECT_EQ(list.GetDocumentCount(), 0);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_FALSE(list.IsItemEnabled(0));
    EXPECT_EQ(list.GetItemResult(0), nullptr);

    auto pFavorites = Favorites();
    ASSERT_TRUE(pFavorites->AddDocument(Document(*m_pCatalog, m_tree.oldTxt).get()));
    ASSERT_TRUE(pFavorites->AddDocument(Document(*m_pCatalog, m_tree.aTxt).get()));
    list.FillItems();
    EXPECT_EQ(list.GetDocumentCount(), 2);
    EXPECT_EQ(CTestDriver::Items(list.GetSafeHwnd()), (std::vector<CString> { "c:\\old\\old.txt", "c:\\work\\a.txt" }))
        << "sorted by path whatever the case";
    std::unique_ptr<CDocumentRec> pCopy(static_cast<CDocumentRec*>(list.GetItemResult(0)));
    ASSERT_NE(pCopy, nullptr);
    EXPECT_EQ(pCopy->GetRef(), m_tree.oldTxt);
    popup.DestroyWindow();
    EXPECT_EQ(pCopy->GetRef(), m_tree.oldTxt) << "the copy outlives the list's documents";
}

TEST_F(DocumentPopupsTest, RecentlyCataloguedKeepTheOrderOfTheirList)
{
    CRecentList recent(m_pCatalog.get());
    ASSERT_TRUE(recent.AddEntry(*Document(*m_pCatalog, m_tree.oldTxt)));
    ASSERT_TRUE(recent.AddEntry(*Document(*m_pCatalog, m_tree.aTxt)));
    CUltimosCatalogadosPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    popup.GetDocumentList().FillItems();
    EXPECT_EQ(CTestDriver::Items(popup.GetDocumentList().GetSafeHwnd()),
        (std::vector<CString> { "c:\\work\\a.txt", "c:\\old\\old.txt" }))
        << "the latest first, unsorted";
}

TEST_F(DocumentPopupsTest, TheRowMenuRemovesAFavouriteAfterAskingAndOpensOnlyWhatIsThere)
{
    auto pFavorites = Favorites();
    ASSERT_TRUE(pFavorites->AddDocument(Document(*m_pCatalog, m_tree.oldTxt).get()));
    ASSERT_TRUE(pFavorites->AddDocument(Document(*m_pCatalog, m_tree.aTxt).get()));
    CFavoritesPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    popup.GetDocumentList().FillItems();
    popup.SetRightClickAllowed(TRUE);
    Driver().OnNextWait([&] {
        HWND hPopup = CTestDriver::PopupWindows().at(0);
        Driver().AnswerNextMessageBox(IDYES);
        Driver().ChooseNextMenuCommand(ID_DOC_REMOVE_FAVORITE);
        Driver().ClickPopupRow(hPopup, 0, TRUE);
    });
    EXPECT_EQ(Track(popup), nullptr);
    EXPECT_EQ(Paths(Favorites()->GetDocuments()), (std::vector<std::string> { "c:\\work\\a.txt" }));
    EXPECT_EQ(m_main.Count(MSG_REDO), 1);

    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    popup.GetDocumentList().FillItems();
    popup.SetRightClickAllowed(TRUE);
    Driver().OnNextWait([&] {
        HWND hPopup = CTestDriver::PopupWindows().at(0);
        Driver().ChooseNextMenuCommand(ID_DOC_OPEN);
        Driver().ClickPopupRow(hPopup, 0, TRUE);
    });
    EXPECT_EQ(Track(popup), nullptr);
    EXPECT_TRUE(m_pHost->m_calls.empty()) << "the file is not there: opening is grayed";

    CDocumentPopupCtrl::RunCommand(ID_DOC_OPEN, *Document(*m_pCatalog, m_tree.aTxt));
    EXPECT_EQ(m_pHost->m_calls, (std::vector<std::string> { "OpenItem c:\\work\\a.txt", "MinimizeAfterOpen" }));
}

TEST_F(DocumentPopupsTest, TheLinkedSystemsOfTheRowSelectOneInTheMainWindow)
{
    auto pFavorites = Favorites();
    ASSERT_TRUE(pFavorites->AddDocument(Document(*m_pCatalog, m_tree.aTxt).get()));
    CFavoritesPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    popup.GetDocumentList().FillItems();
    popup.SetRightClickAllowed(TRUE);
    Driver().OnNextWait([&] {
        Driver().ChooseNextMenuCommand(ID_LINKED_SYSTEM_FIRST);
        Driver().ClickPopupRow(CTestDriver::PopupWindows().at(0), 0, TRUE);
    });
    EXPECT_EQ(Track(popup), nullptr);
    EXPECT_EQ(m_main.Count(MSG_SELECT_ENTRY), 1) << "A.txt is linked to Alpha (and the favourites)";
}

TEST_F(DocumentPopupsTest, UnprotectedListsThePendingEntriesTheCatalogHolds)
{
    CPendingDocs pending(m_pCatalog.get());
    pending.AddEntry("c:\\old\\old.txt", CPendingDocs::FLAG_UNPROTECTED);
    pending.AddEntry("c:\\work\\b.txt", CPendingDocs::FLAG_OPENED);
    pending.AddEntry("c:\\nowhere\\gone.txt", CPendingDocs::FLAG_UNPROTECTED);
    m_pHost->m_pPendingDocs = &pending;
    CUnProtectedPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    popup.GetDocumentList().FillItems();
    EXPECT_EQ(CTestDriver::Items(popup.GetDocumentList().GetSafeHwnd()), (std::vector<CString> { "c:\\old\\old.txt" }));

    popup.SetRightClickAllowed(TRUE);
    m_pHost->m_nAnswer = IDOK;
    Driver().OnNextWait([&] {
        Driver().ChooseNextMenuCommand(ID_DOC_PROTECT_AGAIN);
        Driver().ClickPopupRow(CTestDriver::PopupWindows().at(0), 0, TRUE);
    });
    EXPECT_EQ(Track(popup), nullptr);
    EXPECT_EQ(m_pHost->m_calls, (std::vector<std::string> { "RunPassword c:\\old\\old.txt" }));
    m_pHost->m_pPendingDocs = nullptr;
}

TEST_F(DocumentPopupsTest, TheDocumentMenusListWhatThePopupsListUnderTheFramesCommands)
{
    auto pFavorites = Favorites();
    ASSERT_TRUE(pFavorites->AddDocument(Document(*m_pCatalog, m_tree.aTxt).get()));
    ASSERT_TRUE(pFavorites->AddDocument(Document(*m_pCatalog, m_tree.oldTxt).get()));
    CDocumentMenu favorites;
    ASSERT_TRUE(favorites.BuildFavorites(m_pCatalog.get()));
    ASSERT_EQ(favorites.GetMenuItemCount(), 2u);
    EXPECT_EQ(favorites.GetMenuItemID(0), static_cast<UINT>(ID_FAVORITE_FIRST));
    EXPECT_EQ(favorites.GetMenuItemID(1), static_cast<UINT>(ID_FAVORITE_FIRST + 1));

    CRecentDocsMenu recentMenu;
    EXPECT_FALSE(recentMenu.Build(m_pCatalog.get())) << "nothing catalogued recently";
    CRecentList recent(m_pCatalog.get());
    ASSERT_TRUE(recent.AddEntry(*Document(*m_pCatalog, m_tree.oldTxt)));
    EXPECT_TRUE(recentMenu.Build(m_pCatalog.get())) << "built again, emptied first";
    EXPECT_EQ(recentMenu.GetMenuItemCount(), 1u);
    EXPECT_EQ(recentMenu.GetMenuItemID(0), static_cast<UINT>(ID_RECENT_FIRST));

    CPendingDocs pending(m_pCatalog.get());
    pending.AddEntry("c:\\work\\b.txt", CPendingDocs::FLAG_OPENED);
    pending.AddEntry("c:\\old\\old.txt", CPendingDocs::FLAG_UNPROTECTED);
    CDocumentMenu pendingMenu;
    ASSERT_TRUE(pendingMenu.BuildPending(m_pCatalog.get(), &pending));
    ASSERT_EQ(pendingMenu.GetMenuItemCount(), 1u);
    EXPECT_EQ(pendingMenu.GetMenuItemID(0), static_cast<UINT>(ID_PENDING_FIRST + 1)) << "the entry's own index";
}

} // namespace
