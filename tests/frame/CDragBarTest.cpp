#include "frame/CDragBar.h"

#include "tests/frame/AppTestFixture.h"

#include "catalog/CRecycleRun.h"
#include "frame/AppMessages.h"
#include "frame/CatalogHold.h"
#include "tests/catalog/RecycleBinFixture.h"
#include "tests/support/ScopedVariable.h"

#include "frame/CDlgDocumentList.h"
#include "frame/CDlgExpiredDocuments.h"
#include "frame/CDlgSearchResults.h"
#include "frame/CMainFrame.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/ResString.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CKadDragObjReg.h"
#include "ui/DropTargets.h"

#include "platform/base/PathMap.h"
#include "platform/framework/CRect.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class DragBarTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        std::ofstream(Home() / "to bank.txt") << "Dear bank,\n";
        const std::string strPath = ProgramPathFromHostPath((Home() / "to bank.txt").string());
        WriteCatalog([this, &strPath](CCatalog& catalog, CNodeRec& root) {
            auto pLetters = AddSystem(root, "Letters");
            m_document = AddDocument(catalog, *pLetters, strPath.c_str());
        });
        ASSERT_TRUE(Start());
        m_pBar = &MainFrame()->GetDragBar();
        m_pList = &m_pBar->GetList();
    }

    CString EntryText(int nItem) const
    {
        CString strText;
        m_pList->GetText(nItem, strText);
        return strText;
    }
    // A point inside an entry, scrolled into view first.
    CPoint EntryPoint(int nItem)
    {
        m_pList->SetTopIndex(nItem);
        CRect rc;
        m_pList->GetItemRect(nItem, &rc);
        return CPoint(rc.left + rc.Width() / 2, rc.top + 4);
    }
    int FixedDriveEntry() const
    {
        for (int i = CCoolMenu::FIRST_PLACE; i < m_pList->GetCount() - 1; ++i) {
            if (m_pList->GetPlacePath(i).CompareNoCase("C:\\") == 0)
                return i;
        }
        return -1;
    }

    CDragBar* m_pBar { nullptr };
    CCoolMenu* m_pList { nullptr };
    CRecordRef m_document;
};

} // namespace

TEST_F(DragBarTest, TheEntriesAreTheThreeWindowsEachDriveAndTheNetwork)
{
    const int nCount = m_pList->GetCount();
    ASSERT_GE(nCount, 5); // the windows, at least drive C: and the network
    EXPECT_EQ(EntryText(0), GetResString(IDS_DRAG_RECYCLE_BIN));
    EXPECT_EQ(EntryText(1), GetResString(IDS_DRAG_EXPIRED));
    EXPECT_EQ(EntryText(2), GetResString(IDS_DRAG_SEARCH_RESULTS));
    EXPECT_EQ(EntryText(nCount - 1), GetResString(IDS_DRAG_NETWORK));
    for (int i = CCoolMenu::FIRST_PLACE; i < nCount - 1; ++i) {
        const CString strText = EntryText(i);
        ASSERT_EQ(strText.GetLength(), 4) << strText;
        EXPECT_EQ(CString("(") + strText[1] + ":)", strText);
        EXPECT_EQ(m_pList->GetPlacePath(i).GetLength(), 3);
    }
    EXPECT_NE(FixedDriveEntry(), -1);
    // The list takes drops as the menu of places.
    EXPECT_EQ(DropKindOfWindow(m_pList), DROP_KIND_MENU);
}

TEST_F(DragBarTest, TheFirstEntriesOpenTheirWindowsOnceAndKeepThem)
{
    m_pList->ChooseItem(CCoolMenu::ENTRY_RECYCLE_BIN);
    CDlgDocumentList* pBin = m_pList->GetRecycleBinWindow();
    ASSERT_NE(pBin, nullptr);
    EXPECT_TRUE(pBin->IsWindowVisible());
    pBin->ShowWindow(SW_HIDE);
    m_pList->ChooseItem(CCoolMenu::ENTRY_RECYCLE_BIN);
    EXPECT_EQ(m_pList->GetRecycleBinWindow(), pBin);
    EXPECT_TRUE(pBin->IsWindowVisible());

    m_pList->ChooseItem(CCoolMenu::ENTRY_SEARCH_RESULTS);
    ASSERT_NE(m_pList->GetSearchResultsWindow(), nullptr);
    EXPECT_EQ(m_pList->GetExpiredWindow(), nullptr);
    m_pList->CloseAll();
    EXPECT_EQ(m_pList->GetRecycleBinWindow(), nullptr);
    EXPECT_EQ(m_pList->GetSearchResultsWindow(), nullptr);
}

TEST_F(DragBarTest, TheMainFrameShowsQueriesAndClosesTheEntriesWindows)
{
    CMainFrame* pFrame = MainFrame();
    for (int nEntry : { CCoolMenu::ENTRY_RECYCLE_BIN, CCoolMenu::ENTRY_EXPIRED, CCoolMenu::ENTRY_SEARCH_RESULTS })
        EXPECT_FALSE(pFrame->IsDragBarWindowShown(nEntry)) << nEntry;
    pFrame->ShowDragBarWindow(CCoolMenu::ENTRY_EXPIRED);
    EXPECT_TRUE(pFrame->IsDragBarWindowShown(CCoolMenu::ENTRY_EXPIRED));
    EXPECT_FALSE(pFrame->IsDragBarWindowShown(CCoolMenu::ENTRY_RECYCLE_BIN));
    // Hidden, it still exists but is not shown; showing it again reuses it.
    CDlgExpiredDocuments* pExpired = m_pList->GetExpiredWindow();
    ASSERT_NE(pExpired, nullptr);
    pExpired->ShowWindow(SW_HIDE);
    EXPECT_FALSE(pFrame->IsDragBarWindowShown(CCoolMenu::ENTRY_EXPIRED));
    pFrame->ShowDragBarWindow(CCoolMenu::ENTRY_EXPIRED);
    EXPECT_EQ(m_pList->GetExpiredWindow(), pExpired);
    // Places have no window of their own.
    pFrame->ShowDragBarWindow(CCoolMenu::FIRST_PLACE);
    EXPECT_FALSE(pFrame->IsDragBarWindowShown(CCoolMenu::FIRST_PLACE));
    pFrame->RefreshDragBarWindows();
    EXPECT_TRUE(pFrame->IsDragBarWindowShown(CCoolMenu::ENTRY_EXPIRED));
    pFrame->CloseDragBarWindows();
    EXPECT_EQ(m_pList->GetExpiredWindow(), nullptr);
    EXPECT_FALSE(pFrame->IsDragBarWindowShown(CCoolMenu::ENTRY_EXPIRED));
}

TEST_F(DragBarTest, DropEffectsFollowTheEntryThePayloadAndTheKeys)
{
    auto pDocument = std::make_unique<CDocumentRec>(App().GetMainCatalog(), m_document.nBlock, m_document.nSlot);
    CKadDragObjReg records;
    records.AddItem(pDocument.get(), 0);
    CKadDragObjPIDL shellItems(nullptr, "");
    m_pList->DropEnter();
    auto effectAt = [&](CKadDragObj& payload, int nItem, UINT nKeys) {
        const CPoint point = EntryPoint(nItem);
        return m_pList->DropOver(&payload, nKeys, point.x, point.y);
    };
    EXPECT_EQ(effectAt(records, CCoolMenu::ENTRY_RECYCLE_BIN, 0), DROPEFFECT_MOVE);
    EXPECT_EQ(effectAt(shellItems, CCoolMenu::ENTRY_RECYCLE_BIN, 0), DROPEFFECT_MOVE);
    EXPECT_EQ(effectAt(records, CCoolMenu::ENTRY_EXPIRED, MK_CONTROL), DROPEFFECT_COPY);
    EXPECT_EQ(effectAt(shellItems, CCoolMenu::ENTRY_EXPIRED, 0), DROPEFFECT_NONE);
    EXPECT_EQ(effectAt(records, CCoolMenu::ENTRY_SEARCH_RESULTS, 0), DROPEFFECT_NONE);
    const int nFixed = FixedDriveEntry();
    ASSERT_NE(nFixed, -1);
    EXPECT_EQ(effectAt(records, nFixed, 0), DROPEFFECT_MOVE);
    EXPECT_EQ(effectAt(records, nFixed, MK_CONTROL), DROPEFFECT_COPY);
    EXPECT_EQ(effectAt(shellItems, nFixed, 0), DROPEFFECT_NONE);
    EXPECT_EQ(m_pList->GetHotItem(), nFixed);
    // A document whose file is gone has nothing to copy and may not be recycled.
    std::filesystem::remove(Home() / "to bank.txt");
    pDocument = std::make_unique<CDocumentRec>(App().GetMainCatalog(), m_document.nBlock, m_document.nSlot);
    CKadDragObjReg gone;
    gone.AddItem(pDocument.get(), 0);
    EXPECT_EQ(effectAt(gone, nFixed, 0), DROPEFFECT_NONE);
    EXPECT_EQ(effectAt(gone, CCoolMenu::ENTRY_RECYCLE_BIN, 0), DROPEFFECT_NONE);
    m_pList->DropLeave();
    EXPECT_EQ(m_pList->GetHotItem(), -1);
}

TEST_F(DragBarTest, TheArrowsScrollWhileThereIsMoreToSee)
{
    CWnd* pUp = m_pBar->GetDlgItem(IDC_DRAG_UP);
    CWnd* pDown = m_pBar->GetDlgItem(IDC_DRAG_DOWN);
    ASSERT_TRUE(pUp && pDown);
    // A bar only a little taller than its arrows shows less than every entry.
    m_pBar->MoveWindow(0, 0, 80, 4 * GetSystemMetrics(SM_CYHSCROLL) + 40);
    m_pBar->OnUpdateCmdUI(MainFrame(), FALSE);
    EXPECT_FALSE(pUp->IsWindowEnabled());
    EXPECT_TRUE(pDown->IsWindowEnabled());
    m_pBar->SendMessage(WM_COMMAND, IDC_DRAG_DOWN, 0);
    EXPECT_EQ(m_pList->GetTopIndex(), 1);
    EXPECT_TRUE(pUp->IsWindowEnabled());
    for (int i = 0; i < m_pList->GetCount(); ++i)
        m_pBar->SendMessage(WM_COMMAND, IDC_DRAG_DOWN, 0);
    EXPECT_FALSE(pDown->IsWindowEnabled());
    m_pBar->SendMessage(WM_COMMAND, IDC_DRAG_UP, 0);
    EXPECT_TRUE(pDown->IsWindowEnabled());
}

// Moves the catalog's only system, "Letters", to the recycle bin; the picture of the bin entry then.
static DWORD RecycleLetters(CCoolMenu& list, CDragBar& bar, CMainFrame& frame, CArchivoraApp& app)
{
    std::vector<std::unique_ptr<CCatalogRecord>> entries;
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(app.GetMainCatalog()));
    entries.emplace_back(std::move(pRoot->GetChildren().front()));
    EXPECT_TRUE(MoveToRecycleBin(app.GetMainCatalog(), app.GetRecycleCatalog(), entries, TRUE));
    bar.OnUpdateCmdUI(&frame, FALSE);
    return list.GetItemImage(CCoolMenu::ENTRY_RECYCLE_BIN);
}

TEST_F(DragBarTest, TheRecycleBinPictureFollowsTheBinWhenEmptiedAndAfterARestart)
{
    ScopedVariable dataHome("XDG_DATA_HOME", (Home() / "data").c_str());
    CScriptedSelectionPrompts prompts;
    SetCatalogPrompts(&prompts);
    auto binImage = [this] {
        m_pBar->OnUpdateCmdUI(MainFrame(), FALSE);
        return m_pList->GetItemImage(CCoolMenu::ENTRY_RECYCLE_BIN);
    };
    EXPECT_EQ(binImage(), 3U) << "an empty bin";
    EXPECT_EQ(RecycleLetters(*m_pList, *m_pBar, *MainFrame(), App()), 2U) << "a full bin";

    // Emptied from its window, the bin shows empty now and at the next start.
    m_pList->ChooseItem(CCoolMenu::ENTRY_RECYCLE_BIN);
    CDlgDocumentList* pBin = m_pList->GetRecycleBinWindow();
    ASSERT_NE(pBin, nullptr);
    ASSERT_EQ(pBin->GetList().GetItemCount(), 1);
    pBin->SendMessage(WM_COMMAND, ID_BIN_EMPTY, 0);
    ASSERT_EQ(pBin->GetList().GetItemCount(), 0);
    EXPECT_EQ(binImage(), 3U);
    Stop();
    ASSERT_TRUE(Start());
    m_pBar = &MainFrame()->GetDragBar();
    m_pList = &m_pBar->GetList();
    EXPECT_EQ(binImage(), 3U);
    SetCatalogPrompts(nullptr);
}

TEST_F(DragBarTest, TheRecycleBinPictureFollowsABinEmptiedElsewhereOnceTheCatalogChangeIsAnnounced)
{
    ScopedVariable dataHome("XDG_DATA_HOME", (Home() / "data").c_str());
    CScriptedSelectionPrompts prompts;
    SetCatalogPrompts(&prompts);
    ASSERT_EQ(RecycleLetters(*m_pList, *m_pBar, *MainFrame(), App()), 2U);
    // Another window (or a replaced catalog) leaves the bin empty.
    {
        CCatalog* pBinCatalog = App().GetRecycleCatalog();
        CCatalogHold hold(pBinCatalog);
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pBinCatalog));
        ASSERT_FALSE(pRoot->GetChildren().empty());
        for (auto& pChild : pRoot->GetChildren())
            ASSERT_TRUE(pChild->DeleteSubtree(TRUE));
    }
    MainFrame()->SendMessage(g_nMsgRedo, 0, 0);
    m_pBar->OnUpdateCmdUI(MainFrame(), FALSE);
    EXPECT_EQ(m_pList->GetItemImage(CCoolMenu::ENTRY_RECYCLE_BIN), 3U);
    SetCatalogPrompts(nullptr);
}
