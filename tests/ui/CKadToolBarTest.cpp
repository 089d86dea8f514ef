#include "ui/CKadToolBar.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinThread.h"
#include "platform/window/Messages.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "tests/ui/UiCatalogTest.h"
#include "ui/CKadDragObjReg.h"
#include "ui/CUiHostServices.h"
#include "ui/DropTargets.h"

#include <memory>

namespace {

// A frame that records the commands and the catalog-changed notices it is sent.
class CRecordingFrame : public CFrameWnd {
public:
    std::vector<UINT> m_commands;
    int m_nRedos { 0 };

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_commands.push_back(LOWORD(wParam));
        return CFrameWnd::OnCommand(wParam, lParam);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == RegisterWindowMessage("APPM Refazer"))
            ++m_nRedos;
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

class CTestHost : public CUiHostServices {
public:
    explicit CTestHost(CCatalog* pCatalog)
        : m_pCatalog(pCatalog)
    {
    }
    CCatalog* GetMainCatalog() override { return m_pCatalog; }

private:
    CCatalog* m_pCatalog;
};

class CKadToolBarTest : public UiCatalogTest {
protected:
    void SetUp() override
    {
        UiCatalogTest::SetUp();
        m_host = std::make_unique<CTestHost>(m_pCatalog.get());
        m_pPrevious = InstallUiHostServices(m_host.get());
        m_pFrame = new CRecordingFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT { 0, 0, 600, 400 }));
        ASSERT_TRUE(m_bar.Create(m_pFrame));
        ASSERT_TRUE(m_bar.LoadToolBar(IDR_MAINFRAME));
        m_pFrame->RecalcLayout();
        AfxSetThread(&m_thread);
        m_thread.m_pMainWnd = m_pFrame;
        m_pFrame->SetActiveWindow();
        m_pUi->m_driver.Pump();
    }
    void TearDown() override
    {
        m_thread.m_pMainWnd = nullptr;
        AfxSetThread(nullptr);
        m_pFrame->DestroyWindow();
        InstallUiHostServices(m_pPrevious);
        UiCatalogTest::TearDown();
    }
    // The centre of a button, in the bar's client coordinates.
    CPoint Centre(UINT nCommand) const
    {
        RECT rect {};
        m_bar.GetItemRect(m_bar.CommandToIndex(nCommand), &rect);
        return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    void MoveTo(CPoint point) { ASSERT_TRUE(m_pUi->m_driver.MoveTo(m_bar.GetSafeHwnd(), point.x, point.y)); }

    CWinThread m_thread;
    std::unique_ptr<CTestHost> m_host;
    CUiHostServices* m_pPrevious { nullptr };
    CRecordingFrame* m_pFrame { nullptr };
    CKadToolBar m_bar;
};

TEST_F(CKadToolBarTest, RestingOnAPopupButtonRunsItsCommandAndMovingRestartsTheWait)
{
    const CPoint favorites = Centre(ID_FAVORITES_POPUP);
    EXPECT_EQ(m_bar.HitTestButton(favorites.x, favorites.y), static_cast<UINT>(ID_FAVORITES_POPUP));
    MoveTo(favorites);
    m_pUi->m_driver.Advance(400);
    MoveTo(CPoint(favorites.x + 1, favorites.y));
    m_pUi->m_driver.Advance(400);
    EXPECT_TRUE(m_pFrame->m_commands.empty()) << "the move restarted the wait";
    m_pUi->m_driver.Advance(100);
    ASSERT_EQ(m_pFrame->m_commands.size(), 1u);
    EXPECT_EQ(m_pFrame->m_commands[0], static_cast<UINT>(ID_FAVORITES_POPUP));
    m_pUi->m_driver.Advance(1000);
    EXPECT_EQ(m_pFrame->m_commands.size(), 1u) << "once per rest";
}

TEST_F(CKadToolBarTest, NewDocumentButtonWaitsOnlyWhileEnabledAndGapsNever)
{
    m_bar.GetToolBarCtrl().EnableButton(ID_NEW_DOCUMENT_POPUP, FALSE);
    MoveTo(Centre(ID_NEW_DOCUMENT_POPUP));
    m_pUi->m_driver.Advance(1000);
    RECT bar {};
    m_bar.GetClientRect(&bar);
    const CPoint gap(bar.right - 3, 3); // right of every button
    ASSERT_EQ(m_bar.HitTestButton(gap.x, gap.y), 0u);
    MoveTo(gap);
    m_pUi->m_driver.Advance(1000);
    EXPECT_TRUE(m_pFrame->m_commands.empty());

    m_bar.GetToolBarCtrl().EnableButton(ID_NEW_DOCUMENT_POPUP, TRUE);
    MoveTo(Centre(ID_NEW_DOCUMENT_POPUP));
    m_pUi->m_driver.Advance(500);
    EXPECT_EQ(m_pFrame->m_commands, (std::vector<UINT> { ID_NEW_DOCUMENT_POPUP }));
}

TEST_F(CKadToolBarTest, DocumentsDroppedOnTheFavouritesButtonAreLinkedThere)
{
    std::unique_ptr<CDocumentRec> pReadme = Document(*m_pCatalog, m_tree.readme);
    std::unique_ptr<CNodeRec> pAlpha = Node(*m_pCatalog, m_tree.alpha);
    ASSERT_FALSE(pReadme->IsUnderTopNode2());
    ASSERT_GE(FindDropTarget(&m_bar), 0) << "registered when made";
    EXPECT_EQ(GetDropTargetKind(FindDropTarget(&m_bar)), DROP_KIND_TOOLBAR);
    const CPoint favorites = Centre(ID_FAVORITES_POPUP);

    CKadDragObjReg nodesOnly;
    nodesOnly.AddItem(pAlpha.get(), 0);
    EXPECT_EQ(m_bar.DropOver(&nodesOnly, 0, favorites.x, favorites.y), DROPEFFECT_NONE);
    EXPECT_FALSE(m_bar.DropTake(&nodesOnly, DROPEFFECT_COPY));

    CKadDragObjReg documents;
    documents.AddItem(pAlpha.get(), 0);
    documents.AddItem(pReadme.get(), 1);
    const CPoint recent = Centre(ID_RECENT_POPUP);
    EXPECT_EQ(m_bar.DropOver(&documents, 0, recent.x, recent.y), DROPEFFECT_NONE) << "only the favourites button";
    EXPECT_EQ(m_bar.DropOver(&documents, 0, favorites.x, favorites.y), DROPEFFECT_COPY);
    EXPECT_TRUE(m_bar.DropTake(&documents, DROPEFFECT_COPY));
    m_pUi->m_driver.Pump();
    EXPECT_TRUE(Document(*m_pCatalog, m_tree.readme)->IsUnderTopNode2());
    EXPECT_EQ(m_pFrame->m_nRedos, 1);
    EXPECT_EQ(m_pFrame->m_commands.size(), 0u);
}

} // namespace
