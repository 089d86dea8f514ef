#include "ui/CNodePathCtrl.h"

#include "platform/gdi/SysColors.h"
#include "store/CLinkRec.h"
#include "tests/ui/UiCatalogTest.h"
#include "ui/NodePath.h"

namespace {

constexpr int ID_PATH = 1200;

class CNodePathCtrlTest : public UiCatalogTest {
protected:
    void SetUp() override
    {
        UiCatalogTest::SetUp();
        ASSERT_TRUE(m_path.Create(WS_CHILD | WS_VISIBLE, RECT { 10, 10, 310, 34 }, &m_pUi->m_host, ID_PATH));
    }
    // Repaints now; the count of pixels of the control that differ from its background.
    int MarkedPixels()
    {
        m_path.RedrawWindow();
        RECT client {};
        m_path.GetClientRect(&client);
        const COLORREF background = GetSysColor(COLOR_BTNFACE);
        int nMarked = 0;
        HDC hdc = GetDC(m_path.m_hWnd);
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                nMarked += GetPixel(hdc, x, y) != background;
        ReleaseDC(m_path.m_hWnd, hdc);
        return nMarked;
    }

    CNodePathCtrl m_path;
};

TEST_F(CNodePathCtrlTest, ShowsACopyOfTheNodeAndNothingWithoutOne)
{
    EXPECT_EQ(MarkedPixels(), 0) << "without a node only the background shows";
    {
        std::unique_ptr<CNodeRec> pAlpha = Node(*m_pCatalog, m_tree.alpha);
        m_path.SetNode(pAlpha.get());
    }
    ASSERT_NE(m_path.GetNode(), nullptr) << "the control keeps its own copy";
    const int nMarked = MarkedPixels();
    EXPECT_GT(nMarked, 0);
    std::unique_ptr<CNodeRec> pAgain = Node(*m_pCatalog, m_tree.alpha);
    m_path.SetNode(pAgain.get());
    EXPECT_EQ(MarkedPixels(), nMarked) << "the same node repaints unchanged";
    m_path.SetNode(nullptr);
    EXPECT_EQ(MarkedPixels(), 0);
}

TEST_F(CNodePathCtrlTest, ControlThatGrowsPaintsItsWholeArea)
{
    std::unique_ptr<CNodeRec> pAlpha = Node(*m_pCatalog, m_tree.alpha);
    m_path.SetNode(pAlpha.get());
    m_path.SetBkColorIndex(COLOR_WINDOW);
    MarkedPixels();
    m_path.MoveWindow(10, 10, 380, 60);
    m_path.RedrawWindow();
    EXPECT_EQ(CUiHarness::Pixel(m_path.m_hWnd, 370, 55), GetSysColor(COLOR_WINDOW));
}

TEST_F(CNodePathCtrlTest, RecordShowsTheFirstNodeThatIsNoServiceNode)
{
    // readme.md is linked under Alpha and Archive; put it in the favourites first.
    std::unique_ptr<CDocumentRec> pReadme = Document(*m_pCatalog, m_tree.readme);
    CNodeRec favourites(m_pCatalog.get(), 2);
    std::unique_ptr<CDocumentRec> pLinked = AddDocument(*m_pCatalog, &favourites, FullPath(*pReadme).c_str());
    pReadme = Document(*m_pCatalog, m_tree.readme);
    m_path.SetNodeOfRecord(pReadme.get());
    ASSERT_NE(m_path.GetNode(), nullptr);
    EXPECT_NE(m_path.GetNode()->GetBlock(), CNodeRec::FAVOURITES_NODE_BLOCK);
    const CString name = m_path.GetNode()->GetName();
    EXPECT_TRUE(name == "Alpha" || name == "Archive") << name;

    m_path.SetNodeOfRecord(nullptr);
    EXPECT_EQ(m_path.GetNode(), nullptr);
}

TEST_F(CNodePathCtrlTest, CircularLinksEndTheWalkWithoutAChange)
{
    // A document linked only to the favourites, whose one link names itself as next.
    CNodeRec favourites(m_pCatalog.get(), 2);
    std::unique_ptr<CDocumentRec> pDocument = AddDocument(*m_pCatalog, &favourites, "c:\\loop\\x.txt");
    const CRecordRef first = pDocument->GetFirstLink();
    ASSERT_FALSE(first.IsNone());
    CLinkRec link(m_pCatalog.get(), first.nBlock, first.nSlot);
    link.SetNext(first);
    ASSERT_TRUE(link.Save());

    std::unique_ptr<CNodeRec> pBeta = Node(*m_pCatalog, m_tree.beta);
    m_path.SetNode(pBeta.get());
    m_path.SetNodeOfRecord(pDocument.get());
    ASSERT_NE(m_path.GetNode(), nullptr);
    EXPECT_EQ(m_path.GetNode()->GetRef(), m_tree.beta);
}

} // namespace
