#include "ui/CColorComboBox.h"
#include "ui/CContentRichEditCtrl.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CRichEditCtrl.h"
#include "platform/gdi/SysColors.h"
#include "platform/shell/ProgramLaunch.h"
#include "resources/ResourceIds.h"
#include "tests/ui/UiTestSupport.h"

namespace {

constexpr UINT ID_CONTROL = 1700;

// A label whose flash a test starts by hand, as an owner with a starting operation would.
class CFlashingLabel : public CLabelCtrl {
public:
    void StartFlash(int nKind) { m_nFlashKind = nKind; }
};

class LabelsTest : public UiTest { };

TEST_F(LabelsTest, ALinkLabelOpensItsTargetAndAnEmptyOneIgnoresClicks)
{
    CLabelCtrl label;
    ASSERT_TRUE(label.Create("Home page", WS_VISIBLE, RECT { 10, 10, 200, 30 }, &Host(), ID_CONTROL));
    CLaunchOverride launches;
    label.SetLink(TRUE);
    EXPECT_TRUE(label.GetStyle() & SS_NOTIFY);
    ASSERT_TRUE(Driver().Click(label.m_hWnd, 5, 5));
    EXPECT_TRUE(launches.GetLaunches().empty());

    label.SetLinkUrl("https://example.org/").SetFontUnderline(TRUE).SetTextColor(RGB(0, 0, 255));
    Driver().Advance(1000); // no double click
    ASSERT_TRUE(Driver().Click(label.m_hWnd, 5, 5));
    ASSERT_EQ(launches.GetLaunches().size(), 1u);
    EXPECT_EQ(launches.GetLaunches()[0].back(), "https://example.org/");

    label.SetLink(FALSE);
    EXPECT_FALSE(label.GetStyle() & SS_NOTIFY);
}

TEST_F(LabelsTest, ALabelPaintsItsColoursAndItsBackgroundFlash)
{
    CFlashingLabel label;
    ASSERT_TRUE(label.Create("Warning", WS_VISIBLE, RECT { 10, 10, 200, 40 }, &Host(), ID_CONTROL));
    label.SetBkColor(RGB(255, 255, 0)).SetFontBold(TRUE); // the bold font's redraw shows the new background
    EXPECT_EQ(CUiHarness::Pixel(label.m_hWnd, 180, 25), RGB(255, 255, 0));

    label.StartFlash(CLabelCtrl::FLASH_BACKGROUND);
    label.SendMessage(WM_TIMER, 1);
    EXPECT_EQ(CUiHarness::Pixel(label.m_hWnd, 180, 25), RGB(255, 255, 0)) << "the phase that shows the background";
    label.SendMessage(WM_TIMER, 1);
    EXPECT_EQ(CUiHarness::Pixel(label.m_hWnd, 180, 25), GetSysColor(COLOR_BTNFACE)) << "the flash brush";

    label.StartFlash(CLabelCtrl::FLASH_TEXT);
    label.SendMessage(WM_TIMER, 1);
    EXPECT_EQ(CTestDriver::Text(label.m_hWnd), "");
    label.SendMessage(WM_TIMER, 1);
    EXPECT_EQ(CTestDriver::Text(label.m_hWnd), "Warning");
}

TEST_F(LabelsTest, PreviewPaneKeysReachTheParentAndInsertNothing)
{
    ASSERT_TRUE(AfxInitRichEdit());
    CContentRichEditCtrl preview;
    ASSERT_TRUE(preview.Create(WS_VISIBLE | ES_MULTILINE, RECT { 10, 10, 300, 200 }, &Host(), ID_CONTROL));
    preview.SetWindowText("Some content");
    CLabelCtrl sibling;
    ASSERT_TRUE(sibling.Create("", WS_VISIBLE, RECT { 10, 210, 100, 230 }, &Host(), ID_CONTROL + 1));
    sibling.SetFocus();
    preview.SetFocus();
    EXPECT_EQ(CTestDriver::Focus(), Host().m_hWnd) << "the focus from elsewhere goes to the parent";
    preview.SetFocus(); // handed over by the parent
    ASSERT_EQ(CTestDriver::Focus(), preview.m_hWnd);
    ASSERT_TRUE(Driver().PressKey('D', CTestDriver::CONTROL));
    Driver().Pump();
    ASSERT_EQ(Host().m_commands.size(), 1u);
    EXPECT_EQ(Host().m_commands[0].first, static_cast<UINT>(ID_PREVIEW_DESCRIPTION));
    EXPECT_EQ(CTestDriver::RichEditText(preview.m_hWnd), "Some content");

    ASSERT_TRUE(Driver().PressKey('A', CTestDriver::CONTROL));
    const CHARRANGE selection = CTestDriver::RichEditSelection(preview.m_hWnd);
    EXPECT_EQ(selection.cpMin, 0);
    EXPECT_EQ(selection.cpMax, 12);
}

TEST_F(LabelsTest, ColourComboOffersTheFifteenColoursAndKeepsItsSelectionForOthers)
{
    CColorComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
        RECT { 10, 10, 210, 200 }, &Host(), ID_CONTROL));
    ASSERT_EQ(combo.GetCount(), 15);
    EXPECT_EQ(combo.GetSelectedColor(), RGB(128, 0, 0)) << "the first row is selected";
    CString strName;
    combo.GetLBText(14, strName);
    CString strWhite;
    strWhite.LoadString(IDS_COLOR_WHITE);
    EXPECT_EQ(strName, strWhite);

    combo.SelectColor(RGB(0, 0, 255));
    EXPECT_EQ(combo.GetSelectedColor(), RGB(0, 0, 255));
    combo.SelectColor(RGB(1, 2, 3));
    EXPECT_EQ(combo.GetSelectedColor(), RGB(0, 0, 255)) << "a colour outside the table changes nothing";

    combo.Invalidate();
    UpdateWindow(combo.m_hWnd);
    RECT face {};
    combo.GetClientRect(&face);
    EXPECT_EQ(CUiHarness::Pixel(combo.m_hWnd, 8, face.bottom / 2), RGB(0, 0, 255)) << "the swatch of the selection";
}

} // namespace
