#include "platform/framework/CImageList.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/Pictures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr COLORREF GREEN = RGB(0, 255, 0);
constexpr COLORREF WHITE = RGB(255, 255, 255);

// A memory DC over a white colour bitmap.
class CCanvas {
public:
    CCanvas(int cx, int cy)
    {
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.CreateBitmap(cx, cy, 1, 32, nullptr);
        m_pOld = m_dc.SelectObject(&m_bitmap);
        m_dc.PatBlt(0, 0, cx, cy, WHITENESS);
    }
    ~CCanvas() { m_dc.SelectObject(m_pOld); }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOld { nullptr };
};

// Makes `bitmap` a colour bitmap of one colour.
void MakeSolid(CBitmap& bitmap, int cx, int cy, COLORREF cr)
{
    ASSERT_TRUE(bitmap.CreateBitmap(cx, cy, 1, 32, nullptr));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CSelectGuard guard(dc, bitmap);
    dc.FillSolidRect(0, 0, cx, cy, cr);
}

}

TEST(CImageListTest, CreateFromAResourceStripWithTheMaskColour)
{
    // A strip of two 4x4 images on magenta: a green dot at (1, 1) in the second.
    TempFolder temp;
    {
        CCanvas strip(8, 4);
        strip.m_dc.FillSolidRect(0, 0, 8, 4, MAGENTA);
        strip.m_dc.SetPixel(5, 1, GREEN);
        ASSERT_TRUE(SaveDcAsPng(strip.m_dc, ProgramPathFromHostPath((temp / "strip.png").string()).c_str()));
    }
    temp.WriteFile("strip.rc", "196 BITMAP \"strip.png\"\n");
    std::filesystem::path module = temp / "strip.dll";
    std::string strCommand = "'" + (BinaryRoot() / "tools" / "archivora_rc").string() + "' -o '" + module.string()
        + "' '" + (temp / "strip.rc").string() + "'";
    ASSERT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
    HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(module.string()).c_str());
    ASSERT_NE(hModule, nullptr);
    HINSTANCE hOldResources = AfxGetResourceHandle();
    AfxSetResourceHandle(hModule);

    CImageList images;
    ASSERT_TRUE(images.Create(196, 4, 1, 0xFF00FF));
    EXPECT_FALSE(images.Create(196, 4, 1, 0xFF00FF));
    EXPECT_EQ(images.GetImageCount(), 2);
    CCanvas canvas(4, 4);
    ASSERT_TRUE(images.Draw(&canvas.m_dc, 1, POINT { 0, 0 }, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.m_dc.GetPixel(1, 1), GREEN);
    EXPECT_EQ(canvas.m_dc.GetPixel(0, 0), WHITE);

    CImageList missing;
    EXPECT_FALSE(missing.Create(197, 4, 1, 0xFF00FF));
    AfxSetResourceHandle(hOldResources);
    FreeLibrary(hModule);
}

TEST(CImageListTest, TheObjectOwnsItsListButTemporariesDoNot)
{
    HIMAGELIST hList = nullptr;
    {
        CImageList images;
        ASSERT_TRUE(images.Create(4, 4, ILC_COLOR32 | ILC_MASK, 1, 1));
        hList = images;
        EXPECT_EQ(CImageList::FromHandle(hList), &images);
    }
    EXPECT_FALSE(ImageList_Destroy(hList));

    HIMAGELIST hForeign = ImageList_Create(4, 4, ILC_COLOR32, 1, 1);
    CImageList* pTemporary = CImageList::FromHandle(hForeign);
    ASSERT_NE(pTemporary, nullptr);
    EXPECT_EQ(pTemporary->GetImageCount(), 0);
    CImageList::DeleteTempMap();
    EXPECT_TRUE(ImageList_Destroy(hForeign));
}

TEST(CImageListTest, IconsAndMergedImagesKeepTheirTransparency)
{
    CImageList images;
    ASSERT_TRUE(images.Create(4, 4, ILC_COLOR32 | ILC_MASK, 2, 2));
    CBitmap bitmap;
    MakeSolid(bitmap, 4, 4, MAGENTA);
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CSelectGuard guard(dc, bitmap);
        dc.SetPixel(2, 2, GREEN);
    }
    ASSERT_EQ(images.Add(&bitmap, MAGENTA), 0);
    HICON hIcon = images.ExtractIcon(0);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(images.Add(hIcon), 1);
    DestroyIcon(hIcon);

    CImageList merged;
    ASSERT_TRUE(merged.Create(images, 0, images, 1, 1, 0));
    CCanvas canvas(5, 4);
    ASSERT_TRUE(merged.Draw(&canvas.m_dc, 0, POINT { 0, 0 }, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.m_dc.GetPixel(2, 2), GREEN);
    EXPECT_EQ(canvas.m_dc.GetPixel(3, 2), GREEN);
    EXPECT_EQ(canvas.m_dc.GetPixel(0, 0), WHITE);
}

TEST(CImageListTest, CopyMovesAndSwapsImagesWithinAndAcrossLists)
{
    CImageList images, other;
    ASSERT_TRUE(images.Create(2, 2, ILC_COLOR32, 2, 2));
    ASSERT_TRUE(other.Create(2, 2, ILC_COLOR32, 1, 1));
    for (COLORREF cr : { GREEN, MAGENTA, WHITE }) {
        CBitmap bitmap;
        MakeSolid(bitmap, 2, 2, cr);
        (cr == WHITE ? other : images).Add(&bitmap, static_cast<CBitmap*>(nullptr));
    }
    ASSERT_TRUE(images.Copy(0, 1, ILCF_SWAP)); // magenta, green
    ASSERT_TRUE(images.Copy(1, &other, 0));    // magenta, white
    CCanvas canvas(4, 2);
    canvas.m_dc.PatBlt(0, 0, 4, 2, BLACKNESS);
    images.Draw(&canvas.m_dc, 0, POINT { 0, 0 }, ILD_NORMAL);
    images.Draw(&canvas.m_dc, 1, POINT { 2, 0 }, ILD_NORMAL);
    EXPECT_EQ(canvas.m_dc.GetPixel(0, 0), MAGENTA);
    EXPECT_EQ(canvas.m_dc.GetPixel(2, 0), WHITE);
    EXPECT_FALSE(images.Copy(0, nullptr, 0));
}
