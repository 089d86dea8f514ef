#include "ui/CBtnSeta.h"

#include "platform/base/ResourceModule.h"
#include "platform/gdi/FrameControls.h"
#include "tests/ui/UiTestSupport.h"
#include "tests/ui/data/ui_test_ids.h"
#include "ui/CDibButton.h"
#include "ui/CHotButton.h"
#include "ui/CHotTrackButton.h"
#include "ui/CNodeButton.h"

namespace {

constexpr UINT ID_BUTTON = 1300;
constexpr RECT BUTTON_RECT { 20, 20, 60, 44 };

class ButtonsTest : public UiTest {
protected:
    template<class TButton> void Make(TButton& button, LPCTSTR pszText = "")
    {
        ASSERT_TRUE(button.Create(pszText, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, BUTTON_RECT, &Host(), ID_BUTTON));
    }
    size_t Posts() const { return m_pUi->m_host.m_commands.size(); }
};

TEST_F(ButtonsTest, HeldArrowPostsEightTimesInTheFirstSecondAndPausesOffTheButton)
{
    CBtnSeta arrow;
    Make(arrow);
    ASSERT_TRUE(Driver().Press(arrow.m_hWnd, 10, 10));
    EXPECT_EQ(Posts(), 1u) << "at once";
    Driver().Advance(349);
    EXPECT_EQ(Posts(), 1u);
    Driver().Advance(1);
    EXPECT_EQ(Posts(), 2u) << "after 350 ms";
    Driver().Advance(600); // 450 ... 950
    EXPECT_EQ(Posts(), 8u);
    EXPECT_EQ(Host().m_commands.back(), std::make_pair(ID_BUTTON, arrow.m_hWnd));

    ASSERT_TRUE(Driver().MoveTo(arrow.m_hWnd, 100, 100));
    Driver().Advance(500);
    EXPECT_EQ(Posts(), 8u) << "off the button the repeat posts nothing";
    ASSERT_TRUE(Driver().MoveTo(arrow.m_hWnd, 10, 10));
    Driver().Advance(100);
    EXPECT_GT(Posts(), 8u) << "coming back resumes it";

    ASSERT_TRUE(Driver().Release(arrow.m_hWnd, 10, 10));
    const size_t nPosted = Posts();
    Driver().Advance(500);
    EXPECT_EQ(Posts(), nPosted);
    EXPECT_FALSE(arrow.GetState() & BST_PUSHED);
}

TEST_F(ButtonsTest, ArrowStopsWhenDisabled)
{
    CBtnSeta arrow;
    Make(arrow);
    ASSERT_TRUE(Driver().Press(arrow.m_hWnd, 10, 10));
    arrow.EnableWindow(FALSE);
    Driver().Advance(1000);
    EXPECT_EQ(Posts(), 1u);
    EXPECT_FALSE(arrow.GetState() & BST_PUSHED);
}

TEST_F(ButtonsTest, HotButtonFiresAfterTheCursorRestsASecondUnlessPushedOrLeft)
{
    CHotButton hot;
    Make(hot, "Add");
    ASSERT_TRUE(Driver().Hover(hot.m_hWnd, 5, 5));
    Driver().Advance(999);
    EXPECT_EQ(Posts(), 0u);
    ASSERT_TRUE(Driver().Hover(hot.m_hWnd, 6, 5)); // moving on it does not restart the dwell
    Driver().Advance(1);
    EXPECT_EQ(Posts(), 1u);

    ASSERT_TRUE(Driver().Hover(hot.m_hWnd, 5, 5));
    Driver().Advance(500);
    ASSERT_TRUE(Driver().Hover(Host().m_hWnd, 300, 250));
    Driver().Advance(1000);
    EXPECT_EQ(Posts(), 1u) << "the cursor left before the second was up";

    ASSERT_TRUE(Driver().Hover(hot.m_hWnd, 5, 5));
    hot.SetState(TRUE);
    Driver().Advance(1000);
    EXPECT_EQ(Posts(), 1u) << "a pushed button does not fire";
}

TEST_F(ButtonsTest, HotTrackingButtonPostsOnlyOnAReleaseOverIt)
{
    CHotTrackButton button;
    Make(button);
    ASSERT_TRUE(Driver().Click(button.m_hWnd, 10, 10));
    EXPECT_EQ(Posts(), 1u);

    ASSERT_TRUE(Driver().Press(button.m_hWnd, 10, 10));
    ASSERT_TRUE(Driver().MoveTo(button.m_hWnd, 200, 200));
    ASSERT_TRUE(Driver().Release(button.m_hWnd, 200, 200));
    EXPECT_EQ(Posts(), 1u) << "released outside";

    Driver().Advance(1000);
    ASSERT_TRUE(Driver().DoubleClick(button.m_hWnd, 10, 10));
    EXPECT_EQ(Posts(), 2u) << "the second press of a double click is ignored";
}

TEST_F(ButtonsTest, PictureButtonCentresItsPictureAndNodeButtonWithoutANodeShowsItsText)
{
    HMODULE hPictures = m_pUi->TestPictures();
    ASSERT_NE(hPictures, nullptr);
    HINSTANCE hProgram = AfxGetResourceHandle();
    AfxSetResourceHandle(hPictures);
    CDibButton picture;
    Make(picture);
    const BOOL bLoaded = picture.SetBitmap(IDB_TEST_TRUECOLOR, 6, 5);
    AfxSetResourceHandle(hProgram);
    ASSERT_TRUE(bLoaded);
    picture.Invalidate();
    UpdateWindow(picture.m_hWnd);
    const COLORREF crCentre = CUiHarness::Pixel(picture.m_hWnd, 20, 12);
    EXPECT_GT(GetRValue(crCentre), GetBValue(crCentre) + 100) << "the orange picture in the middle";
    EXPECT_NE(CUiHarness::Pixel(picture.m_hWnd, 2, 2), crCentre) << "and only there";

    CNodeButton node;
    ASSERT_TRUE(
        node.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 20, 60, 220, 84 }, &Host(), ID_BUTTON + 1));
    node.Invalidate();
    UpdateWindow(node.m_hWnd);
    int nInk = 0;
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 16; ++y)
            nInk += CUiHarness::Pixel(node.m_hWnd, x, y) != CUiHarness::Pixel(node.m_hWnd, 199, 23);
    }
    EXPECT_GT(nInk, 20) << "the text of a button without a node";
    RECT rect {};
    node.GetWindowRect(&rect);
    EXPECT_EQ(rect.right - rect.left, 200) << "no node, no growth";
}

TEST_F(ButtonsTest, DrawArrowFrameShowsTheButtonsState)
{
    DRAWITEMSTRUCT item {};
    CBtnSeta arrow;
    Make(arrow);
    HDC hdc = GetDC(arrow.m_hWnd);
    item.hDC = hdc;
    item.rcItem = RECT { 0, 0, 40, 24 };
    DrawArrowFrame(&item, DFCS_SCROLLUP);
    const COLORREF crNormal = GetPixel(hdc, 1, 1);
    item.itemState = ODS_SELECTED;
    DrawArrowFrame(&item, DFCS_SCROLLUP);
    const COLORREF crPushed = GetPixel(hdc, 1, 1);
    ReleaseDC(arrow.m_hWnd, hdc);
    EXPECT_NE(crNormal, crPushed) << "a pushed frame lights its top-left edge differently";
}

} // namespace
