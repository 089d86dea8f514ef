#include "platform/framework/CCmdTarget.h"

#include "FrameworkTestSupport.h"

namespace {

constexpr UINT ID_SHARED = 100;

class CommandRoutingTest : public FrameworkTest { };

class CDocumentTarget : public CCmdTarget {
    DECLARE_MESSAGE_MAP()

protected:
    void OnShared() { HandlerLog::Add("document shared"); }
    void OnDocumentOnly() { HandlerLog::Add("document only"); }
    void OnUpdateShared(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
};

// clang-format off
BEGIN_MESSAGE_MAP(CDocumentTarget, CCmdTarget)
    ON_COMMAND(ID_SHARED, &CDocumentTarget::OnShared)
    ON_COMMAND(200, &CDocumentTarget::OnDocumentOnly)
    ON_UPDATE_COMMAND_UI(ID_SHARED, &CDocumentTarget::OnUpdateShared)
END_MESSAGE_MAP()
// clang-format on

// A window that routes commands to its document first, then handles them itself.
class CRoutingWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (m_document.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

    CDocumentTarget m_document;
    BOOL m_bCheckDone { FALSE };

protected:
    void OnShared() { HandlerLog::Add("window shared"); }
    void OnWindowOnly() { HandlerLog::Add("window only"); }
    void OnUpdateWindowOnly(CCmdUI* pCmdUI)
    {
        HandlerLog::Add("window update");
        pCmdUI->ContinueRouting();
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CRoutingWnd, CWnd)
    ON_COMMAND(ID_SHARED, &CRoutingWnd::OnShared)
    ON_COMMAND(201, &CRoutingWnd::OnWindowOnly)
    ON_UPDATE_COMMAND_UI(201, &CRoutingWnd::OnUpdateWindowOnly)
END_MESSAGE_MAP()
// clang-format on

// Records what update handlers set.
class CRecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_nEnabled = bOn ? 1 : 0;
        CCmdUI::Enable(bOn);
    }
    int m_nEnabled { -1 };
};

} // namespace

TEST_F(CommandRoutingTest, RoutedCommandsReachTheFirstTargetWithAHandler)
{
    CRoutingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    wnd.SendMessage(WM_COMMAND, ID_SHARED);
    wnd.SendMessage(WM_COMMAND, 200);
    wnd.SendMessage(WM_COMMAND, 201);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "document shared", "document only", "window only" }));
}

TEST_F(CommandRoutingTest, UpdateHandlersSetTheItemState)
{
    CRoutingWnd wnd;
    CRecordingCmdUI state;
    state.m_nID = ID_SHARED;
    EXPECT_TRUE(state.DoUpdate(&wnd, FALSE));
    EXPECT_EQ(state.m_nEnabled, 0);
    EXPECT_TRUE(state.m_bEnableChanged);
}

TEST_F(CommandRoutingTest, ContinueRoutingLetsTheUpdateGoOn)
{
    CRoutingWnd wnd;
    CRecordingCmdUI state;
    state.m_nID = 201;
    // The only update handler passes it on, so no target counts as having handled it.
    EXPECT_FALSE(state.DoUpdate(&wnd, FALSE));
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "window update" });
}

TEST_F(CommandRoutingTest, ItemsWithoutAnyHandlerAreDisabledOnRequest)
{
    CRoutingWnd wnd;
    CRecordingCmdUI withCommand;
    withCommand.m_nID = 200; // a command handler, no update handler
    withCommand.DoUpdate(&wnd, TRUE);
    EXPECT_EQ(withCommand.m_nEnabled, -1);

    CRecordingCmdUI orphan;
    orphan.m_nID = 777;
    orphan.DoUpdate(&wnd, FALSE);
    EXPECT_EQ(orphan.m_nEnabled, -1);
    orphan.DoUpdate(&wnd, TRUE);
    EXPECT_EQ(orphan.m_nEnabled, 0);
}

namespace {

// Takes the notifications and control commands of a range of controls.
class CRangeWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

protected:
    void OnNotifyRange(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
    {
        HandlerLog::Add("notify " + std::to_string(nID));
        *pResult = static_cast<LRESULT>(pNMHDR->idFrom) * 10;
    }
    void OnClickRange(UINT nID) { HandlerLog::Add("click " + std::to_string(nID)); }
};

constexpr UINT NM_TEST = static_cast<UINT>(-100);

// clang-format off
BEGIN_MESSAGE_MAP(CRangeWnd, CWnd)
    ON_NOTIFY_RANGE(NM_TEST, 300, 309, &CRangeWnd::OnNotifyRange)
    ON_CONTROL_RANGE(0 /* BN_CLICKED */, 300, 309, &CRangeWnd::OnClickRange)
END_MESSAGE_MAP()
// clang-format on

} // namespace

TEST_F(CommandRoutingTest, RangesOfControlsShareOneHandler)
{
    CRangeWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hControl = CreatePlainWindow(wnd.m_hWnd, 305);
    NMHDR nmhdr { hControl, 305, NM_TEST };
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 305, reinterpret_cast<LPARAM>(&nmhdr)), 3050);
    nmhdr.idFrom = 310;
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 310, reinterpret_cast<LPARAM>(&nmhdr)), 0);
    nmhdr.idFrom = 305;
    nmhdr.code = NM_TEST - 1;
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 305, reinterpret_cast<LPARAM>(&nmhdr)), 0);
    wnd.SendMessage(WM_COMMAND, MAKELONG(300, 0), reinterpret_cast<LPARAM>(hControl));
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "notify 305", "click 300" }));
}
