#include "ui/ConvertImageToPng.h"

#include "platform/base/MulDiv.h"
#include "platform/base/PathMap.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "store/ContentReader.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF WHITE = RGB(255, 255, 255);

class ConvertImageToPngTest : public testing::Test {
protected:
    // A PNG of nWidth x nHeight, red on the left half and blue on the right,
    // read by the content reader so that it holds it.
    void HoldPicture(int nWidth, int nHeight)
    {
        HDC hdc = CreateCompatibleDC(nullptr);
        HBITMAP hbm = CreateBitmap(nWidth, nHeight, 1, 32, nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        for (int y = 0; y < nHeight; ++y)
            for (int x = 0; x < nWidth; ++x)
                SetPixel(hdc, x, y, x < nWidth / 2 ? RED : BLUE);
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        std::string strPicture = Program("picture.png");
        ASSERT_TRUE(SaveBitmapAsPng(hbm, strPicture.c_str()));
        DeleteObject(hbm);
        char szBuffer[64];
        ASSERT_EQ(ReadFileContent(strPicture.c_str(), szBuffer, sizeof szBuffer), CONTENT_PICTURE);
    }

    std::string Program(const char* pszName) const
    {
        return ProgramPathFromHostPath((m_folder.Path() / pszName).string());
    }

    // The colour at (x, y) of the converted PNG, and its size.
    struct Converted {
        SIZE size {};
        COLORREF At(int x, int y) const { return GetPixel(hdc, x, y); }
        HDC hdc { nullptr };
        HBITMAP hbm { nullptr };
        HGDIOBJ hOld { nullptr };
        ~Converted()
        {
            SelectObject(hdc, hOld);
            DeleteDC(hdc);
            DeleteObject(hbm);
        }
    };
    std::unique_ptr<Converted> Load() const
    {
        auto pConverted = std::make_unique<Converted>();
        pConverted->hbm = LoadPictureFile(Program("out.png").c_str());
        BITMAP bm {};
        GetObject(pConverted->hbm, sizeof bm, &bm);
        pConverted->size = { bm.bmWidth, bm.bmHeight };
        pConverted->hdc = CreateCompatibleDC(nullptr);
        pConverted->hOld = SelectObject(pConverted->hdc, pConverted->hbm);
        return pConverted;
    }

    ScratchFolder m_folder { "topng" };
};

} // namespace

TEST_F(ConvertImageToPngTest, APictureThatFitsIsDrawnAtItsSizeTopLeft)
{
    HoldPicture(50, 30);
    ASSERT_EQ(ConvertImageToPng(Program("out.png").c_str(), 200, 200), 1);
    auto pOut = Load();
    EXPECT_EQ(pOut->size.cx, 200);
    EXPECT_EQ(pOut->size.cy, 200);
    EXPECT_EQ(pOut->At(0, 0), RED);
    EXPECT_EQ(pOut->At(49, 29), BLUE);
    EXPECT_EQ(pOut->At(50, 29), WHITE);
    EXPECT_EQ(pOut->At(0, 30), WHITE);
}

TEST_F(ConvertImageToPngTest, ALargerPictureIsScaledByTheWholePercentThatFits)
{
    HoldPicture(600, 150); // 200 * 100 / 600 = 33 %: 198 x 49
    ASSERT_EQ(ConvertImageToPng(Program("out.png").c_str(), 200, 200), 1);
    auto pOut = Load();
    EXPECT_EQ(pOut->At(5, 5), RED);
    EXPECT_EQ(pOut->At(190, 40), BLUE);
    EXPECT_EQ(pOut->At(199, 10), WHITE);
    EXPECT_EQ(pOut->At(100, 60), WHITE);
}

// A picture with fine detail (a colour ramp, a frame and thin lines) halved
// into the box: the rendering matches a reference checked by eye.
TEST_F(ConvertImageToPngTest, AScaledRenderingMatchesItsReference)
{
    constexpr int WIDTH = 400;
    constexpr int HEIGHT = 300;
    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP hbm = CreateBitmap(WIDTH, HEIGHT, 1, 32, nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            const bool bLine = x < 4 || y < 4 || x >= WIDTH - 4 || y >= HEIGHT - 4 || x == y || x % 50 == 25;
            SetPixel(hdc, x, y, bLine ? RGB(0, 0, 0) : RGB(x * 255 / WIDTH, y * 255 / HEIGHT, 160));
        }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    const std::string strPicture = Program("detail.png");
    ASSERT_TRUE(SaveBitmapAsPng(hbm, strPicture.c_str()));
    DeleteObject(hbm);
    char szBuffer[64];
    ASSERT_EQ(ReadFileContent(strPicture.c_str(), szBuffer, sizeof szBuffer), CONTENT_PICTURE);
    ASSERT_EQ(ConvertImageToPng(Program("out.png").c_str(), 200, 200), 1);
    TempFolder folder;
    const auto mismatch = PictureMismatch(
        LoadPictureFile(Program("out.png").c_str()), SourceRoot() / "tests/ui/data/converted_picture.png", folder);
    EXPECT_FALSE(mismatch) << *mismatch;
}

TEST_F(ConvertImageToPngTest, WithoutAHeldPictureNothingIsWritten)
{
    char szBuffer[64];
    std::string strText = Program("note.txt");
    FILE* pFile = fopen((m_folder.Path() / "note.txt").c_str(), "w");
    fputs("plain text", pFile);
    fclose(pFile);
    ASSERT_EQ(ReadFileContent(strText.c_str(), szBuffer, sizeof szBuffer), CONTENT_TEXT);
    EXPECT_EQ(ConvertImageToPng(Program("out.png").c_str(), 200, 200), 0);
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path() / "out.png"));
}
