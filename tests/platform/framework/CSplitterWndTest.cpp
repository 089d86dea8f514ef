#include "platform/framework/CSplitterWnd.h"

#include "DocViewTestSupport.h"

#include "platform/gdi/Rects.h"

#include <numeric>

namespace {

// A splitter that hides and shows a column through the protected members, as the program's does.
class CHidingSplitter : public CSplitterWnd {
public:
    void HideColumn(int colHide)
    {
        m_nHiddenCol = colHide;
        int row = 0;
        int col = 0;
        if (GetActivePane(&row, &col) && col == colHide)
            SetActivePane(row, colHide + 1 < m_nCols ? colHide + 1 : 0);
        for (row = 0; row < m_nRows; ++row) {
            CWnd* pPaneHide = GetPane(row, colHide);
            pPaneHide->ShowWindow(SW_HIDE);
            pPaneHide->SetDlgCtrlID(static_cast<int>(AFX_IDW_PANE_FIRST) + 16 * m_nCols + row);
            for (col = colHide + 1; col < m_nCols; ++col)
                GetPane(row, col)->SetDlgCtrlID(IdFromRowCol(row, col - 1));
        }
        --m_nCols;
        m_pColInfo[m_nCols].nCurSize = m_pColInfo[colHide].nCurSize;
        RecalcLayout();
    }

    void ShowColumn()
    {
        int colShow = m_nHiddenCol;
        int cxNew = m_pColInfo[m_nCols].nCurSize;
        ++m_nCols;
        for (int row = 0; row < m_nRows; ++row) {
            CWnd* pPaneShow = GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST) + 16 * m_nCols + row);
            ASSERT_NE(pPaneShow, nullptr);
            pPaneShow->ShowWindow(SW_SHOWNA);
            for (int col = m_nCols - 2; col >= colShow; --col)
                GetPane(row, col)->SetDlgCtrlID(IdFromRowCol(row, col + 1));
            pPaneShow->SetDlgCtrlID(IdFromRowCol(row, colShow));
        }
        for (int col = colShow + 1; col < m_nCols; ++col)
            m_pColInfo[col].nIdealSize = m_pColInfo[col - 1].nCurSize;
        m_pColInfo[colShow].nIdealSize = cxNew;
        RecalcLayout();
    }

    void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override
    {
        if (pDC)
            m_drawn.push_back({ nType, rect });
        CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
    }

    int BarWidth() const { return m_cxSplitter; }
    int Border() const { return m_cxBorder; }

    struct Drawn {
        ESplitType nType;
        CRect rect;
    };
    std::vector<Drawn> m_drawn;

private:
    int m_nHiddenCol { -1 };
};

class CSplitterWndTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        m_pFrame = new CTestFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Splitter", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(0, 0, 640, 400)));
        m_document.m_bAutoDelete = FALSE;
        CCreateContext context;
        context.m_pCurrentDoc = &m_document;
        ASSERT_TRUE(m_splitter.CreateStatic(m_pFrame, 1, 3));
        for (int col = 0; col < 3; ++col)
            ASSERT_TRUE(m_splitter.CreateView(0, col, RUNTIME_CLASS(CTestView), CSize(COLUMN_WIDTH, 0), &context));
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        m_pFrame->DestroyWindow();
        HandlerLog::Take();
    }

    std::vector<int> ColumnWidths() const
    {
        std::vector<int> widths;
        for (int col = 0; col < m_splitter.GetColumnCount(); ++col) {
            int cxCur = 0;
            int cxMin = 0;
            m_splitter.GetColumnInfo(col, cxCur, cxMin);
            widths.push_back(cxCur);
        }
        return widths;
    }
    RECT PaneRect(int col) const
    {
        RECT rc {};
        CWnd* pPane = m_splitter.GetPane(0, col);
        pPane->GetWindowRect(&rc);
        m_splitter.ScreenToClient(&rc);
        return rc;
    }
    void Drag(POINT from, POINT to)
    {
        m_splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        m_splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        m_splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }

    static constexpr int COLUMN_WIDTH = 150;
    CTestDoc m_document; // outlives the views, which leave it as they go
    CHidingSplitter m_splitter;
    CTestFrame* m_pFrame { nullptr };
};

} // namespace

TEST_F(CSplitterWndTest, PanesShareTheClientAreaBetweenBars)
{
    RECT rcClient {};
    m_splitter.GetClientRect(&rcClient);
    int nBorder = m_splitter.Border();
    int nBar = m_splitter.BarWidth();
    std::vector<int> widths = ColumnWidths();
    EXPECT_EQ(widths[0], COLUMN_WIDTH);
    EXPECT_EQ(widths[1], COLUMN_WIDTH);
    EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0), rcClient.right - 2 * nBorder - 2 * nBar);
    int x = nBorder;
    for (int col = 0; col < 3; ++col) {
        RECT rc = PaneRect(col);
        EXPECT_EQ(rc.left, x) << "column " << col;
        EXPECT_EQ(rc.right - rc.left, widths[static_cast<size_t>(col)]);
        EXPECT_EQ(rc.top, nBorder);
        EXPECT_EQ(rc.bottom, rcClient.bottom - nBorder);
        x = rc.right + nBar;
    }
    // A column whose ideal size is below its minimum is not shown.
    m_splitter.SetColumnInfo(1, 20, 40);
    m_splitter.RecalcLayout();
    EXPECT_EQ(ColumnWidths()[1], 0);
}

TEST_F(CSplitterWndTest, DraggingABarMovesSpaceBetweenItsColumns)
{
    std::vector<int> before = ColumnWidths();
    RECT rc = PaneRect(0);
    POINT inBar { rc.right + 3, 50 };
    Drag(inBar, { inBar.x + 40, 60 });
    std::vector<int> after = ColumnWidths();
    EXPECT_EQ(after[0], before[0] + 40);
    EXPECT_EQ(after[1], before[1] - 40);
    EXPECT_EQ(after[2], before[2]);
    // Past the next bar the second column shrinks to nothing, and the third keeps its width.
    inBar.x = PaneRect(0).right + 3;
    Drag(inBar, { inBar.x + 1000, 60 });
    after = ColumnWidths();
    EXPECT_EQ(after[1], 0);
    EXPECT_EQ(after[0], before[0] + before[1]);
    EXPECT_EQ(after[2], before[2]);
    // A press inside a pane drags nothing.
    std::vector<int> settled = ColumnWidths();
    Drag({ 10, 10 }, { 200, 10 });
    EXPECT_EQ(ColumnWidths(), settled);
}

TEST_F(CSplitterWndTest, ASubclassHidesAndShowsTheLastColumnThroughProtectedMembers)
{
    CWnd* pThird = m_splitter.GetPane(0, 2);
    std::vector<int> before = ColumnWidths();
    m_splitter.SetActivePane(0, 2);
    ASSERT_EQ(m_pFrame->GetActiveView(), pThird);

    m_splitter.HideColumn(2);
    EXPECT_EQ(m_splitter.GetColumnCount(), 2);
    EXPECT_EQ(m_splitter.GetPane(0, 2), nullptr);
    EXPECT_FALSE(pThird->IsWindowVisible());
    // The active pane moves to column 0, the next one after the last.
    EXPECT_EQ(m_pFrame->GetActiveView(), m_splitter.GetPane(0, 0));
    int row = -1;
    int col = -1;
    EXPECT_EQ(m_splitter.GetActivePane(&row, &col), m_splitter.GetPane(0, 0));
    EXPECT_EQ(col, 0);

    m_splitter.ShowColumn();
    EXPECT_EQ(m_splitter.GetColumnCount(), 3);
    EXPECT_EQ(m_splitter.GetPane(0, 2), pThird);
    EXPECT_EQ(pThird->GetDlgCtrlID(), m_splitter.IdFromRowCol(0, 2));
    EXPECT_TRUE(pThird->IsWindowVisible());
    EXPECT_EQ(ColumnWidths(), before);
}

TEST_F(CSplitterWndTest, PaintingDrawsEachBarAndEachPaneBorder)
{
    m_splitter.m_drawn.clear();
    m_splitter.Invalidate();
    m_splitter.UpdateWindow();
    std::vector<CRect> bars;
    std::vector<CRect> borders;
    for (const auto& drawn : m_splitter.m_drawn) {
        if (drawn.nType == CSplitterWnd::splitBar)
            bars.push_back(drawn.rect);
        else if (drawn.nType == CSplitterWnd::splitBorder)
            borders.push_back(drawn.rect);
    }
    ASSERT_EQ(bars.size(), 2U);
    ASSERT_EQ(borders.size(), 3U);
    for (int col = 0; col < 2; ++col) {
        RECT rcPane = PaneRect(col);
        EXPECT_EQ(bars[static_cast<size_t>(col)].left, rcPane.right);
        EXPECT_EQ(bars[static_cast<size_t>(col)].Width(), m_splitter.BarWidth());
    }
    for (int col = 0; col < 3; ++col) {
        RECT rcPane = PaneRect(col);
        InflateRect(&rcPane, m_splitter.Border(), m_splitter.Border());
        EXPECT_EQ(borders[static_cast<size_t>(col)], CRect(rcPane));
    }
}
