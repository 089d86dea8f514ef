#include "ui/CBrushDialogBar.h"

#include "platform/framework/CDataExchange.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/gdi/SysColors.h"
#include "resources/ResourceIds.h"
#include "tests/ui/UiTestSupport.h"

#include <string>

namespace {

// Records, in order, the data exchanges and the set-up it is given.
class CRecordingBar : public CBrushDialogBar {
public:
    std::string m_strEvents;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        m_strEvents += pDX->m_bSaveAndValidate ? "save " : "fill ";
        CBrushDialogBar::DoDataExchange(pDX);
    }
    void InitBar() override { m_strEvents += "init "; }
};

class CBrushDialogBarTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT { 0, 0, 600, 400 }));
        ASSERT_TRUE(m_bar.Create(m_pFrame, IDD_FIND_BAR, CBRS_TOP, IDD_FIND_BAR));
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        m_pFrame->DestroyWindow(); // deletes itself
        UiTest::TearDown();
    }

    CFrameWnd* m_pFrame { nullptr };
    CRecordingBar m_bar;
};

TEST_F(CBrushDialogBarTest, SetsItselfUpOnceAfterItIsMade)
{
    EXPECT_EQ(m_bar.m_strEvents, "") << "not while it is being made";
    Driver().Pump();
    EXPECT_EQ(m_bar.m_strEvents, "fill init ");
    Driver().Pump();
    EXPECT_EQ(m_bar.m_strEvents, "fill init ");
}

TEST_F(CBrushDialogBarTest, BarAndItsTextsShowTheBarsGrey)
{
    Driver().Pump();
    m_bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const COLORREF grey = RGB(0xE0, 0xE0, 0xE0);
    ASSERT_NE(grey, GetSysColor(COLOR_BTNFACE)) << "a plain dialog bar would not pass";
    RECT client {};
    m_bar.GetClientRect(&client);
    EXPECT_EQ(CUiHarness::Pixel(m_bar.GetSafeHwnd(), client.right - 3, client.bottom - 3), grey);
    CWnd* pText = m_bar.GetDlgItem(IDC_BAR_TEXT);
    ASSERT_NE(pText, nullptr);
    RECT text {};
    pText->GetClientRect(&text);
    EXPECT_EQ(CUiHarness::Pixel(pText->GetSafeHwnd(), text.right - 2, text.bottom - 2), grey)
        << "a static's background is the bar's";
}

} // namespace
