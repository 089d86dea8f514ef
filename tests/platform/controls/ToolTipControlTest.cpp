#include "platform/controls/ToolTipControl.h"

#include "platform/base/TextFunctions.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/CommonControlTestSupport.h"

#include <string>

namespace {

constexpr UINT_PTR ID_AREA = 1;
constexpr UINT_PTR ID_CALLBACK = 2;

// A tip with an area tool of the parent holding a text, a callback area tool
// and the parent's button as a window tool.
class ToolTipControlTest : public CommonControlTest {
protected:
    void SetUp() override
    {
        CommonControlTest::SetUp();
        m_hButton = CreateControl("Button", "OK", 0, 20, 20, 80, 24, 51001);
        m_hTip = CreateWindowEx(
            0, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, m_hParent, nullptr, nullptr, nullptr);
        AddTool(0, ID_AREA, "Sort by name", RECT { 200, 100, 260, 140 });
        AddTool(0, ID_CALLBACK, LPSTR_TEXTCALLBACK, RECT { 270, 100, 330, 140 });
        AddTool(TTF_IDISHWND, reinterpret_cast<UINT_PTR>(m_hButton), "Close", {});
    }
    void AddTool(UINT uFlags, UINT_PTR uId, LPCSTR lpszText, RECT rect)
    {
        TOOLINFO info { sizeof(TOOLINFO), uFlags, m_hParent, uId, rect, nullptr, const_cast<LPSTR>(lpszText), 7,
            nullptr };
        ASSERT_TRUE(SendMessage(m_hTip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
    }
    // The tool's description, with room for its text.
    TOOLINFO Info(UINT_PTR uId)
    {
        m_szText[0] = '\0';
        TOOLINFO info { sizeof(TOOLINFO), 0, m_hParent, uId, {}, nullptr, m_szText, 0, nullptr };
        EXPECT_TRUE(SendMessage(m_hTip, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&info)));
        return info;
    }

    HWND m_hButton { nullptr };
    HWND m_hTip { nullptr };
    char m_szText[80] {};
};

TEST_F(ToolTipControlTest, ToolInfoCopiesTheTextAndSetToolInfoReplacesAllButTheName)
{
    TOOLINFO info = Info(ID_AREA);
    EXPECT_STREQ(m_szText, "Sort by name");
    EXPECT_EQ(info.lpszText, m_szText);
    EXPECT_EQ(info.rect, (RECT { 200, 100, 260, 140 }));
    EXPECT_EQ(info.lParam, 7);
    EXPECT_EQ(Info(ID_CALLBACK).lpszText, LPSTR_TEXTCALLBACK);

    // A text longer than the buffer the messages promise is cut, not overrun.
    const std::string strLong(200, 'x');
    info.lpszText = const_cast<LPSTR>(strLong.c_str());
    info.rect = RECT { 0, 100, 60, 140 };
    info.lParam = 9;
    SendMessage(m_hTip, TTM_SETTOOLINFO, 0, reinterpret_cast<LPARAM>(&info));
    char szGuarded[100];
    std::fill(std::begin(szGuarded), std::end(szGuarded), '#');
    TOOLINFO copy { sizeof(TOOLINFO), 0, m_hParent, ID_AREA, {}, nullptr, szGuarded, 0, nullptr };
    ASSERT_TRUE(SendMessage(m_hTip, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&copy)));
    EXPECT_EQ(std::string(szGuarded), std::string(79, 'x'));
    EXPECT_EQ(szGuarded[80], '#');
    EXPECT_EQ(copy.rect, (RECT { 0, 100, 60, 140 }));
    EXPECT_EQ(copy.lParam, 9);

    // An unknown tool is left alone.
    TOOLINFO unknown { sizeof(TOOLINFO), 0, m_hParent, 99, {}, nullptr, nullptr, 0, nullptr };
    SendMessage(m_hTip, TTM_SETTOOLINFO, 0, reinterpret_cast<LPARAM>(&unknown));
    EXPECT_FALSE(SendMessage(m_hTip, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&unknown)));
    EXPECT_EQ(SendMessage(m_hTip, TTM_GETTOOLCOUNT, 0, 0), 3);
}

TEST_F(ToolTipControlTest, EnumToolsVisitsEveryToolAndHitTestFindsTheOneAtAPoint)
{
    std::vector<UINT_PTR> ids;
    TOOLINFO info { sizeof(TOOLINFO), 0, nullptr, 0, {}, nullptr, nullptr, 0, nullptr };
    for (WPARAM i = 0; SendMessage(m_hTip, TTM_ENUMTOOLS, i, reinterpret_cast<LPARAM>(&info)); ++i)
        ids.push_back(info.uId);
    EXPECT_EQ(ids, (std::vector<UINT_PTR> { ID_AREA, ID_CALLBACK, reinterpret_cast<UINT_PTR>(m_hButton) }));
    // The reused description names a callback text now, not a buffer: asking for the text leaves it be.
    info.uId = ID_AREA;
    info.lpszText = LPSTR_TEXTCALLBACK;
    SendMessage(m_hTip, TTM_GETTEXT, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.lpszText, LPSTR_TEXTCALLBACK);

    auto HitAt = [this](HWND hwnd, POINT pt) -> UINT_PTR {
        TTHITTESTINFO hit {};
        hit.hwnd = hwnd;
        hit.pt = pt;
        return SendMessage(m_hTip, TTM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) ? hit.ti.uId : 0;
    };
    EXPECT_EQ(HitAt(m_hParent, POINT { 280, 120 }), ID_CALLBACK);
    EXPECT_EQ(HitAt(m_hParent, POINT { 5, 5 }), 0U);
    EXPECT_EQ(HitAt(m_hButton, POINT { 5, 5 }), reinterpret_cast<UINT_PTR>(m_hButton)) << "the window is its tool";
}

TEST_F(ToolTipControlTest, SetToolInfoStartsWatchingAToolWindowThatAsksForIt)
{
    SetActiveWindow(m_hParent);
    const UINT nInitial = GetDoubleClickTime();
    Mouse(m_hButton, EMouseAction::Move, 10, 10);
    m_clock.Advance(nInitial);
    PumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(m_hTip)) << "nobody relays the button's mouse";

    TOOLINFO info = Info(reinterpret_cast<UINT_PTR>(m_hButton));
    info.uFlags |= TTF_SUBCLASS;
    SendMessage(m_hTip, TTM_SETTOOLINFO, 0, reinterpret_cast<LPARAM>(&info));
    Mouse(m_hButton, EMouseAction::Move, 12, 10);
    m_clock.Advance(nInitial);
    PumpUntilIdle();
    EXPECT_TRUE(IsWindowVisible(m_hTip));
}

} // namespace
