#include "ui/COpenBar.h"

#include "platform/base/Registry.h"
#include "platform/framework/CFrameWnd.h"
#include "resources/ResourceIds.h"
#include "store/CRegistryKey.h"
#include "tests/ui/UiTestSupport.h"

namespace {

constexpr char LAYOUT_KEY[] = "Software\\Archivora Test\\Desktop";

class COpenBarTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT { 0, 0, 800, 300 }));
        ASSERT_TRUE(m_layout.Create(HKEY_CURRENT_USER, LAYOUT_KEY));
    }
    void TearDown() override
    {
        m_pFrame->DestroyWindow(); // deletes itself
        UiTest::TearDown();
    }
    // Makes the bar at the frame's top and lets it set itself up.
    void MakeBar()
    {
        ASSERT_TRUE(m_bar.Create(m_pFrame, IDD_OPEN_BAR, CBRS_TOP | CBRS_SIZE_DYNAMIC, IDD_OPEN_BAR));
        m_pFrame->RecalcLayout();
        Driver().Pump();
    }
    // The width the bar must have when a control is its last one.
    int WidthTo(UINT nID)
    {
        RECT bar {};
        RECT control {};
        m_bar.GetWindowRect(&bar);
        m_bar.GetDlgItem(static_cast<int>(nID))->GetWindowRect(&control);
        return control.right - bar.left + 6;
    }
    BOOL Shows(UINT nID) { return m_bar.GetDlgItem(static_cast<int>(nID))->IsWindowVisible(); }
    CString Text(UINT nID)
    {
        CString strText;
        m_bar.GetDlgItem(static_cast<int>(nID))->GetWindowText(strText);
        return strText;
    }

    CFrameWnd* m_pFrame { nullptr };
    COpenBar m_bar;
    CRegistryKey m_layout;
};

TEST_F(COpenBarTest, AFirstStartShowsTheBarOpenAsWideAsItsTexts)
{
    m_bar.LoadState(m_layout); // nothing kept yet
    MakeBar();
    EXPECT_TRUE(m_bar.IsOpen());
    EXPECT_EQ(m_bar.GetWidth(), WidthTo(IDC_OPEN_BAR_VERSION));
    EXPECT_TRUE(Shows(IDC_OPEN_BAR_PROTECTION));
    EXPECT_EQ(m_bar.GetBarStyle() & CBRS_TOOLTIPS, 0u);
    EXPECT_EQ(m_bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH).cx, m_bar.GetWidth());
}

TEST_F(COpenBarTest, CollapsingKeepsTheToggleAndOpenAndTogglingTwiceGivesTheWidthBack)
{
    MakeBar();
    const int nOpenWidth = m_bar.GetWidth();
    m_bar.Toggle();
    EXPECT_FALSE(m_bar.IsOpen());
    EXPECT_EQ(m_bar.GetWidth(), WidthTo(57601));
    EXPECT_LT(m_bar.GetWidth(), nOpenWidth);
    for (UINT nID : { IDC_OPEN_BAR_PROTECTION, IDC_OPEN_BAR_VERSION, IDC_OPEN_BAR_LINE1, IDC_OPEN_BAR_VERSION_LABEL })
        EXPECT_FALSE(Shows(nID)) << nID;
    EXPECT_TRUE(Shows(IDC_OPEN_BAR_TOGGLE));
    EXPECT_NE(m_bar.GetBarStyle() & CBRS_TOOLTIPS, 0u) << "tips stand for the hidden texts";
    m_bar.Toggle();
    EXPECT_EQ(m_bar.GetWidth(), nOpenWidth);
    EXPECT_TRUE(Shows(IDC_OPEN_BAR_PROTECTION));
}

TEST_F(COpenBarTest, TextsFollowTheCommandsStatesOnlyWhenTheyChange)
{
    MakeBar();
    EXPECT_EQ(std::string(Text(IDC_OPEN_BAR_PROTECTION)), "Not protected");
    m_bar.UpdateToggleText(ID_DOC_PROTECT, TRUE);
    m_bar.UpdateToggleText(ID_DOC_VERSION, TRUE);
    EXPECT_EQ(std::string(Text(IDC_OPEN_BAR_PROTECTION)), "Protected");
    EXPECT_EQ(std::string(Text(IDC_OPEN_BAR_VERSION)), "Numbered");
    m_bar.GetDlgItem(IDC_OPEN_BAR_PROTECTION)->SetWindowText("untouched");
    m_bar.UpdateToggleText(ID_DOC_PROTECT, TRUE);
    m_bar.UpdateToggleText(ID_DOC_OPEN_ACTION, FALSE);
    EXPECT_EQ(std::string(Text(IDC_OPEN_BAR_PROTECTION)), "untouched") << "the same state again";
    m_bar.UpdateToggleText(ID_DOC_VERSION, FALSE);
    EXPECT_EQ(std::string(Text(IDC_OPEN_BAR_VERSION)), "Not numbered");
}

TEST_F(COpenBarTest, TheLayoutKeepsTheLookAndTheWidth)
{
    {
        CRegistryKey stale;
        ASSERT_TRUE(stale.Create(m_layout, "Openbar\\Stale"));
    }
    MakeBar();
    m_bar.Toggle();
    const int nCollapsedWidth = m_bar.GetWidth();
    m_bar.SaveState(m_layout);
    CRegistryKey kept;
    ASSERT_TRUE(kept.Open(m_layout, "Openbar", KEY_READ));
    CRegistryKey stale;
    EXPECT_FALSE(stale.Open(kept, "Stale", KEY_READ)) << "the subkey is written anew";

    COpenBar next;
    next.LoadState(m_layout);
    EXPECT_FALSE(next.IsOpen());
    EXPECT_EQ(next.GetWidth(), nCollapsedWidth);
    COpenBar withoutKey;
    withoutKey.LoadState(nullptr);
    EXPECT_TRUE(withoutKey.IsOpen());
}

TEST_F(COpenBarTest, LooksOpenAndCollapsed)
{
    MakeBar();
    m_bar.SetWindowPos(nullptr, 0, 0, m_bar.GetWidth(), 30, SWP_NOZORDER | SWP_NOMOVE);
    m_bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Driver().Pump();
    m_pUi->ExpectWindowMatches(m_bar.GetSafeHwnd(), "open_bar_open.png");
    m_bar.Toggle();
    m_bar.SetWindowPos(nullptr, 0, 0, m_bar.GetWidth(), 30, SWP_NOZORDER | SWP_NOMOVE);
    m_bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Driver().Pump();
    m_pUi->ExpectWindowMatches(m_bar.GetSafeHwnd(), "open_bar_collapsed.png");
}

} // namespace
