#include "ui/ZoomPicture.h"

#include "resources/ResourceIds.h"
#include "store/ContentReader.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CZoomWnd.h"

#include "platform/framework/CRect.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"

#include <fstream>

namespace {

constexpr RECT AREA { 10, 20, 110, 80 };

class ZoomPictureTest : public UiTest {
protected:
    void TearDown() override
    {
        FreeZoomImage(m_slot);
        UiTest::TearDown();
    }
    // Reads a cx x cy PNG (or, with bDamaged, one cut short) so that the content reader holds it.
    void HoldPicture(int cx, int cy, bool bDamaged = false)
    {
        HBITMAP hbm = CreateBitmap(cx, cy, 1, 32, nullptr);
        const std::filesystem::path file = m_folder.Path() / "picture.png";
        const std::string strPath = ProgramPathFromHostPath(file.string());
        ASSERT_TRUE(SaveBitmapAsPng(hbm, strPath.c_str()));
        DeleteObject(hbm);
        if (bDamaged)
            std::filesystem::resize_file(file, 40);
        char szBuffer[16];
        ASSERT_EQ(ReadFileContent(strPath.c_str(), szBuffer, sizeof szBuffer), CONTENT_PICTURE);
    }
    CRect WindowRect()
    {
        CRect rc;
        m_slot.pWnd->GetWindowRect(&rc);
        Host().ScreenToClient(&rc);
        return rc;
    }

    TempFolder m_folder;
    CZoomSlot m_slot;
};

} // namespace

TEST_F(ZoomPictureTest, TheHeldPictureFitsTheRectangleAndShowingAgainReusesTheWindow)
{
    FreeZoomImage(m_slot); // an empty slot: nothing happens
    EXPECT_EQ(m_slot.pWnd, nullptr);
    HoldPicture(400, 300);
    ASSERT_TRUE(ShowPictureInRect(Host(), m_slot, AREA));
    CZoomWnd* pFirst = m_slot.pWnd;
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(WindowRect(), CRect(AREA));
    EXPECT_EQ(pFirst->GetParent(), &Host());
    EXPECT_EQ(GetZoomPercent(m_slot), 20) << "fitted: 100 x 60 takes a fifth of 400 x 300";
    EXPECT_EQ(pFirst->GetHorizontalPosition(), 0);

    HoldPicture(50, 30);
    ASSERT_TRUE(ShowPictureInRect(Host(), m_slot, AREA));
    EXPECT_EQ(m_slot.pWnd, pFirst);
    EXPECT_EQ(pFirst->GetPictureSize().cx, 50);
    EXPECT_EQ(GetZoomPercent(m_slot), 100) << "a smaller picture is never enlarged";

    FreeZoomImage(m_slot);
    EXPECT_EQ(m_slot.pWnd, nullptr);
}

TEST_F(ZoomPictureTest, AResourceBitmapOpensCentredAtItsSizeAndAnUnreadablePictureLeavesTheSlotEmpty)
{
    ASSERT_TRUE(ShowZoomImage(Host(), m_slot, IDB_ABOUT, AREA));
    EXPECT_EQ(GetZoomPercent(m_slot), 100);
    EXPECT_EQ(m_slot.pWnd->GetHorizontalPosition(), 50);
    SetZoomPercent(m_slot, 0);
    EXPECT_LT(GetZoomPercent(m_slot), 100) << "fitted into 100 x 60";

    HoldPicture(40, 30, true);
    EXPECT_FALSE(ShowPictureInRect(Host(), m_slot, AREA));
    EXPECT_EQ(m_slot.pWnd, nullptr);
    SetZoomPercent(m_slot, 200); // no window: nothing happens
    EXPECT_EQ(GetZoomPercent(m_slot), 0);
}
