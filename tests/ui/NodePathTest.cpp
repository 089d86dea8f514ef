#include "ui/NodePath.h"

#include "platform/gdi/ImageLists.h"
#include "platform/gdi/Text.h"
#include "platform/shell/ShellFileInfo.h"
#include "resources/ResourceIds.h"
#include "tests/platform/gdi/GdiTestCanvas.h"
#include "tests/store/CatalogBuilder.h"
#include "tests/ui/ProgramModule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int WIDTH = 320;
constexpr int HEIGHT = 24;
constexpr int LEFT = 10;
// The path's rectangle is 20 pixels high, so a 16-pixel cell starts 2 below its top.
constexpr RECT PATH_RECT { LEFT, 2, WIDTH - 10, 22 };
constexpr int CELL_TOP = 4;
constexpr int STEP = NODE_PATH_ICON_SIZE + NODE_PATH_ICON_GAP;

class NodePathTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
    }

    // Draws the node's path into a fresh canvas; returns the right edge set.
    LONG Draw(CTestCanvas& canvas, const CNodeRec* pNode, RECT rc = PATH_RECT)
    {
        DrawNodePath(pNode, canvas.Dc(), &rc);
        EXPECT_EQ(rc.left, PATH_RECT.left) << "only the right edge changes";
        EXPECT_EQ(rc.top, PATH_RECT.top);
        return rc.right;
    }

    static int TextWidth(HDC hdc, const char* psz)
    {
        SIZE size {};
        GetTextExtentPoint32(hdc, psz, static_cast<int>(strlen(psz)), &size);
        return size.cx;
    }

    // The pixels of a 16 x 16 cell at (x, CELL_TOP).
    static std::vector<COLORREF> Cell(const CTestCanvas& canvas, int x)
    {
        std::vector<COLORREF> pixels;
        for (int dy = 0; dy < NODE_PATH_ICON_SIZE; ++dy)
            for (int dx = 0; dx < NODE_PATH_ICON_SIZE; ++dx)
                pixels.push_back(canvas.At(x + dx, CELL_TOP + dy));
        return pixels;
    }

    // A cell holding image nImage of the module's node strip, as drawing it alone gives.
    static std::vector<COLORREF> StripImageCell(int nImage)
    {
        HIMAGELIST himl = ImageList_LoadImage(
            AfxGetResourceHandle(), MAKEINTRESOURCE(IDB_NODE_PATH), 14, 1, RGB(255, 0, 255), IMAGE_BITMAP, 0);
        EXPECT_NE(himl, nullptr);
        CTestCanvas canvas(NODE_PATH_ICON_SIZE, NODE_PATH_ICON_SIZE + CELL_TOP);
        ImageList_Draw(himl, nImage, canvas.Dc(), 1, CELL_TOP + 1, ILD_TRANSPARENT);
        ImageList_Destroy(himl);
        return Cell(canvas, 0);
    }

    static bool AllWhite(const std::vector<COLORREF>& pixels)
    {
        return std::all_of(pixels.begin(), pixels.end(), [](COLORREF cr) { return cr == RGB(255, 255, 255); });
    }

    // Whether any pixel of columns [x0, x1) differs from white.
    static bool Marked(const CTestCanvas& canvas, int x0, int x1)
    {
        for (const POINT& pt : canvas.Marked())
            if (pt.x >= x0 && pt.x < x1)
                return true;
        return false;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
};

TEST_F(NodePathTest, RightEdgeIsTheSumOfPicturesNamesAndGaps)
{
    CTestCanvas canvas(WIDTH, HEIGHT);
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    int nExpected = LEFT + STEP + TextWidth(canvas.Dc(), "Projects") + NODE_PATH_NODE_GAP + STEP
        + TextWidth(canvas.Dc(), "Alpha");
    EXPECT_EQ(Draw(canvas, pAlpha.get()), nExpected);

    CTestCanvas single(WIDTH, HEIGHT);
    auto pArchive = Node(*m_pCatalog, m_tree.archive);
    EXPECT_EQ(Draw(single, pArchive.get()), LEFT + STEP + TextWidth(single.Dc(), "Archive"));
}

TEST_F(NodePathTest, NothingIsDrawnForTheRootOrANodeThatCannotBeRead)
{
    CTestCanvas canvas(WIDTH, HEIGHT);
    auto pRoot = Root(*m_pCatalog);
    EXPECT_EQ(Draw(canvas, pRoot.get()), LEFT);
    CNodeRec gone(m_pCatalog.get(), 999, 0);
    EXPECT_EQ(Draw(canvas, &gone), LEFT);
    EXPECT_EQ(Draw(canvas, nullptr), LEFT);
    EXPECT_TRUE(canvas.Marked().empty());

    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    RECT rc = PATH_RECT;
    DrawNodePath(pAlpha.get(), canvas.Dc(), nullptr);
    DrawNodePath(pAlpha.get(), nullptr, &rc);
    EXPECT_EQ(rc.right, LEFT);
}

TEST_F(NodePathTest, ModuleImagesLandInTheirCellsBeforeEachName)
{
    ProgramModule module;
    ASSERT_NE(module.Handle(), nullptr);
    CTestCanvas canvas(WIDTH, HEIGHT);
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    LONG nRight = Draw(canvas, pAlpha.get());

    int xProjects = LEFT;
    int xAlpha = LEFT + STEP + TextWidth(canvas.Dc(), "Projects") + NODE_PATH_NODE_GAP;
    EXPECT_EQ(Cell(canvas, xProjects), StripImageCell(5)) << "a top-level system";
    EXPECT_EQ(Cell(canvas, xAlpha), StripImageCell(6)) << "a group below it";
    EXPECT_TRUE(Marked(canvas, xProjects + STEP, xAlpha)) << "the first name follows its picture";
    EXPECT_TRUE(Marked(canvas, xAlpha + STEP, nRight));
    EXPECT_FALSE(Marked(canvas, 0, LEFT));
    EXPECT_FALSE(Marked(canvas, nRight, WIDTH));
}

TEST_F(NodePathTest, FixedNodesShowTheImageOfTheirBlock)
{
    ProgramModule module;
    ASSERT_NE(module.Handle(), nullptr);
    for (LONG nKind = 1; nKind <= 4; ++nKind) {
        CTestCanvas canvas(WIDTH, HEIGHT);
        CNodeRec fixed(m_pCatalog.get(), nKind);
        ASSERT_TRUE(fixed.IsValid());
        EXPECT_EQ(Draw(canvas, &fixed), LEFT + STEP) << "an unnamed node is a picture alone";
        EXPECT_EQ(Cell(canvas, LEFT), StripImageCell(nKind)) << "fixed node " << nKind;
    }
}

TEST_F(NodePathTest, WithoutTheModuleEveryNodeShowsTheCatalogItemIcon)
{
    SHFILEINFO info {};
    ASSERT_NE(
        SHGetFileInfo("x.kdcat", 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES), 0U);
    CTestCanvas expected(NODE_PATH_ICON_SIZE, NODE_PATH_ICON_SIZE + CELL_TOP);
    DrawIconEx(expected.Dc(), 0, CELL_TOP, info.hIcon, 16, 16, 0, nullptr, DI_NORMAL);
    DestroyIcon(info.hIcon);

    CTestCanvas canvas(WIDTH, HEIGHT);
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    Draw(canvas, pAlpha.get());
    int xAlpha = LEFT + STEP + TextWidth(canvas.Dc(), "Projects") + NODE_PATH_NODE_GAP;
    EXPECT_FALSE(AllWhite(Cell(expected, 0)));
    EXPECT_EQ(Cell(canvas, LEFT), Cell(expected, 0));
    EXPECT_EQ(Cell(canvas, xAlpha), Cell(expected, 0));
}

TEST_F(NodePathTest, DrawingStaysInsideANarrowRectangleWhileTheEdgeMeasuresTheWhole)
{
    CTestCanvas canvas(WIDTH, HEIGHT);
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    RECT rcNarrow { LEFT, PATH_RECT.top, LEFT + 20, PATH_RECT.bottom };
    LONG nRight = Draw(canvas, pAlpha.get(), rcNarrow);
    int nWhole = LEFT + STEP + TextWidth(canvas.Dc(), "Projects") + NODE_PATH_NODE_GAP + STEP
        + TextWidth(canvas.Dc(), "Alpha");
    EXPECT_EQ(nRight, nWhole);
    EXPECT_TRUE(Marked(canvas, LEFT, LEFT + 20));
    EXPECT_FALSE(Marked(canvas, LEFT + 20, WIDTH));

    CTestCanvas empty(WIDTH, HEIGHT);
    RECT rcEmpty { LEFT, PATH_RECT.top, LEFT, PATH_RECT.bottom };
    EXPECT_EQ(Draw(empty, pAlpha.get(), rcEmpty), nWhole) << "an empty rectangle measures";
    EXPECT_TRUE(empty.Marked().empty());
}

} // namespace
