#include "ui/CMemoryDC.h"

#include "platform/gdi/PictureColorTable.h"
#include "tests/platform/gdi/GdiTestCanvas.h"
#include "tests/ui/UiTestSupport.h"
#include "tests/ui/data/ui_test_ids.h"
#include "ui/CDibPalette.h"
#include "ui/DrawDisabledImage.h"

#include <fstream>
#include <iterator>

namespace {

class DrawingHelpersTest : public UiTest { };

// A CDC over a test canvas for the helpers that take class-library DCs.
class CCanvasDC {
public:
    explicit CCanvasDC(CTestCanvas& canvas) { m_dc.Attach(canvas.Dc()); }
    ~CCanvasDC() { m_dc.Detach(); }
    CDC* operator->() { return &m_dc; }
    CDC* Get() { return &m_dc; }

private:
    CDC m_dc;
};

std::vector<BYTE> ReadTestFile(const char* pszName)
{
    std::ifstream file(SourceRoot() / "tests/ui/data" / pszName, std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

TEST_F(DrawingHelpersTest, MemoryDcPaintsOnlyInsideTheTargetsClipBoxAndOnlyWhenItGoes)
{
    CTestCanvas canvas(40, 30);
    CCanvasDC target(canvas);
    target->IntersectClipRect(10, 5, 30, 25);
    const RECT wanted { 0, 0, 40, 30 };
    {
        CMemoryDC memory(target.Get(), &wanted, RGB(0, 0, 255));
        EXPECT_EQ(memory.GetRect(), CRect(10, 5, 30, 25));
        // The caller draws in the target's coordinates, outside the cover too.
        memory.FillSolidRect(0, 0, 40, 12, RGB(255, 0, 0));
        EXPECT_EQ(canvas.At(15, 15), RGB(255, 255, 255)) << "nothing reaches the target before the end";
    }
    EXPECT_EQ(canvas.At(15, 8), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(15, 20), RGB(0, 0, 255)) << "the cover is filled with the colour given";
    EXPECT_EQ(canvas.At(5, 8), RGB(255, 255, 255)) << "drawing outside the clip box is lost";
    EXPECT_EQ(canvas.At(35, 28), RGB(255, 255, 255));
}

TEST_F(DrawingHelpersTest, MemoryDcFillsWhiteAndBlackAndCopiesNothingForAnEmptyCover)
{
    CTestCanvas canvas(20, 20);
    CCanvasDC target(canvas);
    const RECT left { 0, 0, 10, 20 };
    const RECT right { 10, 0, 20, 20 };
    const RECT empty { 5, 5, 5, 15 };
    {
        CMemoryDC black(target.Get(), &left, RGB(0, 0, 0));
    }
    {
        CMemoryDC white(target.Get(), &right, RGB(255, 255, 255));
    }
    EXPECT_EQ(canvas.At(3, 3), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(13, 3), RGB(255, 255, 255));
    {
        CMemoryDC none(target.Get(), &empty, RGB(0, 255, 0));
        EXPECT_EQ(none.GetSafeHdc(), nullptr);
    }
    EXPECT_EQ(canvas.At(5, 10), RGB(0, 0, 0));
}

TEST_F(DrawingHelpersTest, DisabledImageEmbossesEverythingButTheBackgroundAndHighlight)
{
    const COLORREF face = RGB(224, 224, 224);
    const COLORREF highlight = RGB(255, 255, 255);
    const COLORREF shadow = RGB(128, 128, 128);
    CTestCanvas canvas(20, 20);
    CCanvasDC dc(canvas);
    dc->FillSolidRect(0, 0, 20, 20, face);
    dc->FillSolidRect(5, 5, 3, 3, RGB(200, 0, 0)); // a picture pixel block
    dc->FillSolidRect(12, 12, 2, 2, highlight);    // highlight pixels vanish
    DrawDisabledImage(dc.Get(), RECT { 2, 2, 18, 18 }, face, highlight, shadow);
    EXPECT_EQ(canvas.At(5, 5), shadow);
    EXPECT_EQ(canvas.At(7, 7), shadow);
    EXPECT_EQ(canvas.At(8, 8), highlight) << "the highlight lies one step right and down";
    EXPECT_EQ(canvas.At(8, 6), highlight);
    EXPECT_EQ(canvas.At(8, 5), face);
    EXPECT_EQ(canvas.At(12, 12), face);
    EXPECT_EQ(canvas.At(3, 3), face);
    EXPECT_EQ(canvas.At(0, 0), face) << "outside the rectangle nothing changes";
}

TEST_F(DrawingHelpersTest, PaletteComesFromIndexedResourcesOnly)
{
    HMODULE hPictures = m_pUi->TestPictures();
    ASSERT_NE(hPictures, nullptr);
    CTestCanvas canvas(10, 10);
    CCanvasDC dc(canvas);

    CDibPalette indexed4;
    ASSERT_NE(indexed4.LoadResource(dc.Get(), hPictures, IDB_TEST_INDEXED4), nullptr);
    ASSERT_NE(indexed4.GetPalette(), nullptr);
    std::vector<PALETTEENTRY> entries(32);
    EXPECT_EQ(CPalette::FromHandle(indexed4.GetPalette())->GetEntryCount(), 16) << "16 entries whatever it uses";
    GetPaletteEntries(indexed4.GetPalette(), 0, 16, entries.data());
    EXPECT_EQ(entries[1].peGreen, 128);
    EXPECT_EQ(entries[15].peRed + entries[15].peGreen + entries[15].peBlue, 0) << "entries the file lacks are black";

    CDibPalette indexed8;
    ASSERT_NE(indexed8.LoadResource(dc.Get(), hPictures, IDB_TEST_INDEXED8), nullptr);
    EXPECT_EQ(CPalette::FromHandle(indexed8.GetPalette())->GetEntryCount(), 256);

    CDibPalette truecolor;
    HBITMAP hbm = truecolor.LoadResource(dc.Get(), hPictures, IDB_TEST_TRUECOLOR);
    ASSERT_NE(hbm, nullptr);
    EXPECT_EQ(truecolor.GetPalette(), nullptr);
    EXPECT_FALSE(truecolor.Realize(dc.Get()));
    BITMAP bm {};
    GetObject(hbm, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 6);
    EXPECT_EQ(bm.bmHeight, 5);

    CDibPalette missing;
    EXPECT_EQ(missing.LoadResource(dc.Get(), hPictures, 9999), nullptr);
    EXPECT_EQ(missing.GetPalette(), nullptr);
}

TEST_F(DrawingHelpersTest, PaletteFromDibHeaderCountsTheBitDepthsColours)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[4];
    } dib {};
    dib.header.biSize = sizeof(BITMAPINFOHEADER);
    dib.header.biBitCount = 2;
    dib.colors[3] = RGBQUAD { 10, 20, 30, 0 };
    CDibPalette palette;
    int nColors = -1;
    ASSERT_TRUE(palette.CreatePaletteFromDib(&dib.header, &nColors));
    EXPECT_EQ(nColors, 4);
    PALETTEENTRY entry {};
    GetPaletteEntries(palette.GetPalette(), 3, 1, &entry);
    EXPECT_EQ(entry.peRed, 30);
    EXPECT_EQ(entry.peBlue, 10);

    CDibPalette deep;
    dib.header.biBitCount = 24;
    ASSERT_TRUE(deep.CreatePaletteFromDib(&dib.header, &nColors));
    EXPECT_EQ(nColors, 0);
    EXPECT_EQ(deep.GetPalette(), nullptr);
}

TEST_F(DrawingHelpersTest, ColorTableReaderRefusesDamagedFiles)
{
    std::vector<BYTE> bytes = ReadTestFile("indexed4.png");
    ASSERT_GT(bytes.size(), 40u);
    int nDepth = 0;
    std::vector<RGBQUAD> colors;
    ASSERT_TRUE(ReadPictureColorTable(bytes.data(), bytes.size(), &nDepth, &colors));
    EXPECT_EQ(nDepth, 4);
    EXPECT_EQ(colors.size(), 16u);

    for (size_t nCut : { size_t { 0 }, size_t { 7 }, size_t { 20 }, size_t { 40 } })
        EXPECT_FALSE(ReadPictureColorTable(bytes.data(), nCut, &nDepth, &colors)) << "cut at " << nCut;
    std::vector<BYTE> damaged = bytes;
    damaged[20] ^= 0xFF; // inside the header chunk: its checksum no longer holds
    EXPECT_FALSE(ReadPictureColorTable(damaged.data(), damaged.size(), &nDepth, &colors));
    EXPECT_TRUE(colors.empty());

    std::vector<BYTE> truecolor = ReadTestFile("truecolor.png");
    ASSERT_TRUE(ReadPictureColorTable(truecolor.data(), truecolor.size(), &nDepth, &colors));
    EXPECT_EQ(nDepth, 0);
    EXPECT_TRUE(colors.empty());
}

} // namespace
