#include "platform/framework/CWnd.h"

#include "FrameworkTestSupport.h"

namespace {

constexpr UINT ID_SHARED = 100;
constexpr UINT ID_BASE_ONLY = 101;
constexpr UINT ID_PASSED_ON = 102;
constexpr UINT ID_RANGE_FIRST = 50000;
constexpr UINT ID_RANGE_LAST = 50100;
constexpr UINT WM_APP_PING = WM_APP + 1;
UINT g_nRegisteredPing = 0;

class CBaseWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        HandlerLog::Add("base create");
        return CWnd::OnCreate(lpCreateStruct);
    }
    void OnSize(UINT nType, int cx, int cy)
    {
        HandlerLog::Add("base size " + std::to_string(nType) + " " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    void OnTimer(UINT_PTR) { HandlerLog::Add("base timer"); }
    void OnShared() { HandlerLog::Add("base shared"); }
    void OnBaseOnly() { HandlerLog::Add("base only"); }
    void OnPassedOn() { HandlerLog::Add("base passed on"); }
    LRESULT OnPing(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 1; }
};

// clang-format off
BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_COMMAND(ID_SHARED, &CBaseWnd::OnShared)
    ON_COMMAND(ID_BASE_ONLY, &CBaseWnd::OnBaseOnly)
    ON_COMMAND(ID_PASSED_ON, &CBaseWnd::OnPassedOn)
    ON_MESSAGE(WM_APP_PING, &CBaseWnd::OnPing)
END_MESSAGE_MAP()
// clang-format on

class CDerivedWnd : public CBaseWnd {
    DECLARE_MESSAGE_MAP()

public:
    UINT m_nLastRangeID { 0 };
    CPoint m_ptLastClick;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        HandlerLog::Add("derived create");
        return CBaseWnd::OnCreate(lpCreateStruct);
    }
    void OnLButtonDown(UINT, CPoint point) { m_ptLastClick = point; }
    void OnShared() { HandlerLog::Add("derived shared"); }
    BOOL OnPassedOn(UINT nID)
    {
        HandlerLog::Add("derived saw " + std::to_string(nID));
        return FALSE;
    }
    void OnRange(UINT nID) { m_nLastRangeID = nID; }
    LRESULT OnRegisteredPing(WPARAM, LPARAM lParam) { return lParam * 2; }
};

// clang-format off
BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_COMMAND(ID_SHARED, &CDerivedWnd::OnShared)
    ON_COMMAND_EX(ID_PASSED_ON, &CDerivedWnd::OnPassedOn)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, &CDerivedWnd::OnRange)
    ON_REGISTERED_MESSAGE(g_nRegisteredPing, &CDerivedWnd::OnRegisteredPing)
END_MESSAGE_MAP()
// clang-format on

class MessageMapTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        g_nRegisteredPing = RegisterWindowMessage("Framework Test Ping");
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, "test", WS_POPUP, 0, 0, 120, 80, nullptr, nullptr));
        HandlerLog::Take();
    }

    CDerivedWnd m_wnd;
};

} // namespace

TEST_F(MessageMapTest, HandlersChainFromTheDerivedClassToItsBase)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 30, 20, nullptr, nullptr));
    // The derived OnCreate runs and calls its base; WM_SIZE has only the base's entry.
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "derived create", "base create", "base size 0 30x20" }));

    wnd.SendMessage(WM_TIMER, 7);
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "base timer" });
}

TEST_F(MessageMapTest, CrackedArgumentsReachTheHandler)
{
    m_wnd.SendMessage(WM_LBUTTONDOWN, 0, MAKELONG(static_cast<WORD>(-5), 12));
    EXPECT_EQ(m_wnd.m_ptLastClick, CPoint(-5, 12));
    EXPECT_EQ(m_wnd.SendMessage(WM_APP_PING, 41), 42);
}

TEST_F(MessageMapTest, RegisteredMessagesMatchTheirNumberAtDispatch)
{
    EXPECT_EQ(m_wnd.SendMessage(g_nRegisteredPing, 0, 21), 42);
    // Another registered message is not taken for it.
    UINT nOther = RegisterWindowMessage("Framework Test Other");
    EXPECT_EQ(m_wnd.SendMessage(nOther, 0, 21), 0);
}

TEST_F(MessageMapTest, UnregisteredMessageEntriesMatchNothing)
{
    UINT nRegistered = g_nRegisteredPing;
    g_nRegisteredPing = 0;
    EXPECT_EQ(m_wnd.SendMessage(WM_NULL, 0, 21), 0);
    g_nRegisteredPing = nRegistered;
}

TEST_F(MessageMapTest, UnhandledMessagesGetTheDefaultHandling)
{
    m_wnd.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("from the default"));
    CString strText;
    m_wnd.GetWindowText(strText);
    EXPECT_EQ(strText, "from the default");
}

TEST_F(MessageMapTest, DerivedCommandEntriesWinOverTheBase)
{
    m_wnd.SendMessage(WM_COMMAND, ID_SHARED);
    m_wnd.SendMessage(WM_COMMAND, ID_BASE_ONLY);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "derived shared", "base only" }));
}

TEST_F(MessageMapTest, CommandExHandlerReturningFalsePassesTheCommandOn)
{
    m_wnd.SendMessage(WM_COMMAND, ID_PASSED_ON);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "derived saw 102", "base passed on" }));
}

TEST_F(MessageMapTest, CommandRangesGiveTheHandlerTheID)
{
    m_wnd.SendMessage(WM_COMMAND, ID_RANGE_FIRST);
    EXPECT_EQ(m_wnd.m_nLastRangeID, ID_RANGE_FIRST);
    m_wnd.SendMessage(WM_COMMAND, ID_RANGE_LAST);
    EXPECT_EQ(m_wnd.m_nLastRangeID, ID_RANGE_LAST);
    EXPECT_FALSE(m_wnd.OnCmdMsg(ID_RANGE_LAST + 1, CN_COMMAND, nullptr, nullptr));
}

TEST_F(MessageMapTest, HandlerInfoReportsAHandlerWithoutRunningIt)
{
    AFX_CMDHANDLERINFO info {};
    EXPECT_TRUE(m_wnd.OnCmdMsg(ID_BASE_ONLY, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &m_wnd);
    EXPECT_TRUE(HandlerLog::Take().empty());
    EXPECT_FALSE(m_wnd.OnCmdMsg(999, CN_COMMAND, nullptr, &info));
}
