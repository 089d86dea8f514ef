#include "platform/framework/CWnd.h"

#include "FrameworkTestSupport.h"

#include "platform/framework/CEdit.h"
#include "platform/window/SystemMetrics.h"

namespace {

// Logs the first messages it sees, and whether FromHandlePermanent already knew it then.
class CFirstMessageWnd : public CWnd {
public:
    std::vector<UINT> m_messages;
    bool m_bKnownAtFirst { false };

    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        cs.style |= WS_DISABLED;
        return CWnd::PreCreateWindow(cs);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (m_messages.empty())
            m_bKnownAtFirst = FromHandlePermanent(m_hWnd) == this;
        m_messages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CRefusingWnd : public CWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
    void PostNcDestroy() override { m_bPostNcDestroy = true; }
    bool m_bPostNcDestroy { false };
};

// Deletes itself when its window is gone.
class CSelfDeletingWnd : public CWnd {
public:
    explicit CSelfDeletingWnd(bool* pbDeleted)
        : m_pbDeleted(pbDeleted)
    {
    }
    ~CSelfDeletingWnd() override { *m_pbDeleted = true; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    bool* m_pbDeleted;
};

// Handles one user message itself and passes the rest to the window's own procedure.
class CSubclassWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    bool m_bPreSubclass { false };

protected:
    void PreSubclassWindow() override { m_bPreSubclass = true; }
    LRESULT OnMine(WPARAM, LPARAM)
    {
        HandlerLog::Add("object");
        return Default();
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CSubclassWnd, CWnd)
    ON_MESSAGE(WM_USER + 100, &CSubclassWnd::OnMine)
END_MESSAGE_MAP()
// clang-format on

class CWndTest : public FrameworkTest { };

} // namespace

TEST_F(CWndTest, CreatedWindowsSeeEveryMessageFromTheFirst)
{
    CFirstMessageWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "first", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_FALSE(wnd.m_messages.empty());
    EXPECT_EQ(wnd.m_messages.front(), WM_NCCREATE);
    EXPECT_TRUE(wnd.m_bKnownAtFirst);
    // PreCreateWindow's change of style was used.
    EXPECT_FALSE(wnd.IsWindowEnabled());
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);
}

TEST_F(CWndTest, ChildWindowsGetTheirControlID)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "child", WS_VISIBLE, Rect(1, 2, 30, 20), &parent, 42));
    EXPECT_EQ(child.GetDlgCtrlID(), 42);
    EXPECT_EQ(parent.GetDlgItem(42), &child);
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
}

TEST_F(CWndTest, RefusedOrFailedCreationLeavesNoWindow)
{
    CRefusingWnd refused;
    EXPECT_FALSE(refused.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_TRUE(refused.m_bPostNcDestroy);
    EXPECT_EQ(refused.m_hWnd, nullptr);

    CWnd noClass;
    EXPECT_FALSE(noClass.CreateEx(0, "No Such Class", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(noClass.m_hWnd, nullptr);
    // The object is still usable after a failure.
    EXPECT_TRUE(noClass.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
}

TEST_F(CWndTest, WindowsWithoutObjectsGetTemporaryOnes)
{
    HWND hForeign = CreatePlainWindow();
    EXPECT_EQ(CWnd::FromHandlePermanent(hForeign), nullptr);
    CWnd* pTemporary = CWnd::FromHandle(hForeign);
    ASSERT_NE(pTemporary, nullptr);
    EXPECT_EQ(pTemporary->m_hWnd, hForeign);
    EXPECT_EQ(CWnd::FromHandle(hForeign), pTemporary);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);

    // Freeing temporary objects leaves their windows alone.
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(hForeign));
    EXPECT_EQ(CWnd::FromHandle(hForeign)->m_hWnd, hForeign);
    DestroyWindow(hForeign);
}

TEST_F(CWndTest, ATemporaryObjectIsOfTheClassAskedFor)
{
    HWND hForeign = CreatePlainWindow();
    CWnd* pPlain = CWnd::FromHandle(hForeign);
    CEdit* pEdit = CWnd::FromHandleAs<CEdit>(hForeign);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_TRUE(pEdit->IsKindOf(RUNTIME_CLASS(CEdit)));
    EXPECT_EQ(CWnd::FromHandleAs<CEdit>(hForeign), pEdit);
    // The plain object an earlier caller holds stays whole until idle time.
    EXPECT_EQ(pPlain->m_hWnd, hForeign);
    EXPECT_EQ(pEdit->m_hWnd, hForeign);
    EXPECT_EQ(CWnd::FromHandle(hForeign), pEdit);
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(hForeign));
    DestroyWindow(hForeign);
}

TEST_F(CWndTest, AttachMakesAnObjectPermanentUntilDetach)
{
    HWND hWnd = CreatePlainWindow();
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    CWnd other;
    EXPECT_FALSE(other.Attach(hWnd));
    EXPECT_FALSE(wnd.Attach(CreatePlainWindow()));
    EXPECT_FALSE(other.Attach(nullptr));

    EXPECT_EQ(wnd.Detach(), hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_TRUE(IsWindow(hWnd));
}

TEST_F(CWndTest, SubclassedWindowsKeepTheirProcedureForDefaults)
{
    HWND hWnd = CreatePlainWindow();
    {
        CSubclassWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(hWnd));
        EXPECT_TRUE(wnd.m_bPreSubclass);
        SendMessage(hWnd, WM_USER + 100, 0, 0);
        EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "object", "class proc" }));

        EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
        SendMessage(hWnd, WM_USER + 100, 0, 0);
        EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "class proc" });
    }
    // The object was detached: its end left the window alone.
    EXPECT_TRUE(IsWindow(hWnd));
}

TEST_F(CWndTest, ADetachedWindowKeepsItsClassProcedureForTheNextObject)
{
    HWND hWnd = CreatePlainWindow();
    {
        CSubclassWnd first;
        ASSERT_TRUE(first.SubclassWindow(hWnd));
        EXPECT_EQ(first.Detach(), hWnd);
    }
    ASSERT_TRUE(IsWindow(hWnd)) << "a detached object leaves its window";
    HandlerLog::Take();
    SendMessage(hWnd, WM_USER + 100, 0, 0);
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "class proc" });
    CSubclassWnd next;
    ASSERT_TRUE(next.SubclassWindow(hWnd));
    SendMessage(hWnd, WM_USER + 100, 0, 0);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "object", "class proc" }));
    EXPECT_TRUE(next.DestroyWindow());
}

TEST_F(CWndTest, SubclassDlgItemFindsTheControlByID)
{
    HWND hParent = CreatePlainWindow();
    HWND hControl = CreatePlainWindow(hParent, 7);
    CSubclassWnd control;
    EXPECT_FALSE(control.SubclassDlgItem(8, CWnd::FromHandle(hParent)));
    ASSERT_TRUE(control.SubclassDlgItem(7, CWnd::FromHandle(hParent)));
    EXPECT_EQ(control.m_hWnd, hControl);
    EXPECT_FALSE(CSubclassWnd().SubclassWindow(reinterpret_cast<HWND>(0x7FFF0)));
}

TEST_F(CWndTest, WindowsDeletingThemselvesDoSoAfterTheirLastMessage)
{
    bool bDeleted = false;
    auto* pWnd = new CSelfDeletingWnd(&bDeleted);
    ASSERT_TRUE(pWnd->CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hWnd = pWnd->m_hWnd;
    EXPECT_FALSE(bDeleted);
    // WM_CLOSE's default handling destroys the window.
    SendMessage(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(bDeleted);
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST_F(CWndTest, DestroyingTheObjectDestroysItsWindow)
{
    HWND hWnd = nullptr;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST_F(CWndTest, DestroyWindowDetachesTheObject)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_FALSE(wnd.DestroyWindow());
}

TEST_F(CWndTest, TopLevelParentIsTheFirstAncestorThatIsNotAChild)
{
    HWND hOwner = CreatePlainWindow();
    HWND hPopup = CreateWindowEx(0, PLAIN_CLASS, "", WS_POPUP, 0, 0, 50, 50, hOwner, nullptr, nullptr, nullptr);
    HWND hChild = CreatePlainWindow(hPopup, 1);
    HWND hGrandChild = CreatePlainWindow(hChild, 2);
    EXPECT_EQ(CWnd::FromHandle(hGrandChild)->GetTopLevelParent()->m_hWnd, hOwner);
    EXPECT_EQ(CWnd::FromHandle(hOwner)->GetTopLevelParent()->m_hWnd, hOwner);
}

TEST_F(CWndTest, OwnerIsTheParentUnlessSet)
{
    HWND hParent = CreatePlainWindow();
    HWND hOther = CreatePlainWindow();
    CWnd* pChild = CWnd::FromHandle(CreatePlainWindow(hParent, 1));
    EXPECT_EQ(pChild->GetOwner()->m_hWnd, hParent);
    pChild->SetOwner(CWnd::FromHandle(hOther));
    EXPECT_EQ(pChild->GetOwner()->m_hWnd, hOther);
}

TEST_F(CWndTest, ModifyStyleReportsWhetherAnythingChanged)
{
    CWnd* pWnd = CWnd::FromHandle(CreatePlainWindow());
    EXPECT_TRUE(pWnd->ModifyStyle(0, WS_BORDER));
    EXPECT_TRUE(pWnd->GetStyle() & WS_BORDER);
    EXPECT_FALSE(pWnd->ModifyStyle(0, WS_BORDER));
    EXPECT_TRUE(pWnd->ModifyStyle(WS_BORDER, 0, SWP_FRAMECHANGED));
    EXPECT_FALSE(pWnd->GetStyle() & WS_BORDER);
    EXPECT_TRUE(pWnd->ModifyStyleEx(0, WS_EX_TOOLWINDOW));
    EXPECT_TRUE(pWnd->GetExStyle() & WS_EX_TOOLWINDOW);
}

TEST_F(CWndTest, CenterWindowCentersInTheParentOrOnTheScreen)
{
    HWND hParent = CreatePlainWindow();
    MoveWindow(hParent, 100, 100, 300, 200, FALSE);
    CWnd* pChild = CWnd::FromHandle(CreatePlainWindow(hParent, 1));
    pChild->MoveWindow(0, 0, 100, 50);
    pChild->CenterWindow();
    RECT rcChild {};
    pChild->GetWindowRect(&rcChild);
    RECT rcParent {};
    GetClientRect(hParent, &rcParent);
    MapWindowPoints(hParent, nullptr, reinterpret_cast<LPPOINT>(&rcParent), 2);
    EXPECT_EQ(rcChild.left - rcParent.left, rcParent.right - rcChild.right);
    EXPECT_EQ(rcChild.top - rcParent.top, rcParent.bottom - rcChild.bottom);

    CWnd* pTop = CWnd::FromHandle(CreatePlainWindow());
    pTop->MoveWindow(0, 0, 200, 100);
    pTop->CenterWindow();
    RECT rcTop {};
    pTop->GetWindowRect(&rcTop);
    EXPECT_EQ(rcTop.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 100);
    EXPECT_EQ(rcTop.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 50);
}

TEST_F(CWndTest, WindowTextGoesThroughTheWindow)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    wnd.SetWindowText("Relatório");
    CString strText;
    wnd.GetWindowText(strText);
    EXPECT_EQ(strText, "Relatório");
    EXPECT_EQ(wnd.GetWindowTextLength(), strText.GetLength());
}

/***** Message paths through the window tree *****/

namespace {

// Takes key messages for its key, and logs what it is offered.
class CPreTranslateWnd : public CWnd {
public:
    CPreTranslateWnd(std::string strName, WPARAM nKey)
        : m_strName(std::move(strName))
        , m_nKey(nKey)
    {
    }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        HandlerLog::Add(m_strName);
        return pMsg->message == WM_KEYDOWN && pMsg->wParam == m_nKey;
    }

private:
    std::string m_strName;
    WPARAM m_nKey;
};

// Counts a broadcast message and answers update-UI for its children.
class CCountingWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    explicit CCountingWnd(std::string strName)
        : m_strName(std::move(strName))
    {
    }

protected:
    LRESULT OnBroadcast(WPARAM, LPARAM)
    {
        HandlerLog::Add(m_strName);
        return 0;
    }
    void OnUpdateFirst(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(FALSE);
        pCmdUI->SetText("updated");
    }
    void OnUpdateSecond(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }

private:
    std::string m_strName;
};

// clang-format off
BEGIN_MESSAGE_MAP(CCountingWnd, CWnd)
    ON_MESSAGE(WM_APP + 5, &CCountingWnd::OnBroadcast)
    ON_UPDATE_COMMAND_UI(1, &CCountingWnd::OnUpdateFirst)
    ON_UPDATE_COMMAND_UI(2, &CCountingWnd::OnUpdateSecond)
END_MESSAGE_MAP()
// clang-format on

// Behaves as a button for check states.
class CButtonLikeWnd : public CWnd {
public:
    WPARAM m_nCheck { 0 };

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GETDLGCODE)
            return DLGC_BUTTON;
        if (message == BM_SETCHECK)
            m_nCheck = wParam;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST_F(CWndTest, PreTranslateMessageRunsFromTheWindowUpToTheStop)
{
    CPreTranslateWnd top("top", 'T');
    CPreTranslateWnd middle("middle", 'M');
    CPreTranslateWnd bottom("bottom", 'B');
    ASSERT_TRUE(top.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(middle.Create(nullptr, "", 0, Rect(0, 0, 50, 50), &top, 1));
    HWND hPlain = CreatePlainWindow(middle.m_hWnd, 2);
    ASSERT_TRUE(bottom.Create(nullptr, "", 0, Rect(0, 0, 20, 20), CWnd::FromHandle(hPlain), 3));

    MSG msg { bottom.m_hWnd, WM_KEYDOWN, 'M', 0, 0, {} };
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(top.m_hWnd, &msg));
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "bottom", "middle" }));

    msg.wParam = 'X';
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(middle.m_hWnd, &msg));
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "bottom", "middle" }));
}

TEST_F(CWndTest, SendMessageToDescendantsReachesChildrenOrTheWholeTree)
{
    CCountingWnd parent("parent");
    CCountingWnd child("child");
    CCountingWnd grandChild("grandchild");
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(child.Create(nullptr, "", 0, Rect(0, 0, 50, 50), &parent, 1));
    ASSERT_TRUE(grandChild.Create(nullptr, "", 0, Rect(0, 0, 20, 20), &child, 2));
    CreatePlainWindow(child.m_hWnd, 3);

    parent.SendMessageToDescendants(WM_APP + 5, 0, 0, FALSE);
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "child" });
    parent.SendMessageToDescendants(WM_APP + 5, 0, 0, TRUE, TRUE);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "child", "grandchild" }));
}

TEST_F(CWndTest, UpdateDialogControlsRunsTheTargetsHandlersForEachControl)
{
    CCountingWnd dialog("dialog");
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CWnd first;
    CButtonLikeWnd second;
    CButtonLikeWnd unhandled;
    ASSERT_TRUE(first.Create(nullptr, "before", 0, Rect(0, 0, 10, 10), &dialog, 1));
    ASSERT_TRUE(second.Create(nullptr, "", 0, Rect(0, 0, 10, 10), &dialog, 2));
    ASSERT_TRUE(unhandled.Create(nullptr, "", 0, Rect(0, 0, 10, 10), &dialog, 3));

    dialog.UpdateDialogControls(&dialog, FALSE);
    EXPECT_FALSE(first.IsWindowEnabled());
    CString strText;
    first.GetWindowText(strText);
    EXPECT_EQ(strText, "updated");
    EXPECT_EQ(second.m_nCheck, 1U);
    EXPECT_TRUE(unhandled.IsWindowEnabled());

    dialog.UpdateDialogControls(&dialog, TRUE);
    EXPECT_FALSE(unhandled.IsWindowEnabled());
    // Its handler set the check only, and no command handler exists for it.
    EXPECT_FALSE(second.IsWindowEnabled());
}

namespace {

// An owner whose update handlers log which control they were asked about.
class CUpdateTarget : public CCmdTarget {
    DECLARE_MESSAGE_MAP()

protected:
    void OnUpdateAny(CCmdUI* pCmdUI) { HandlerLog::Add("target " + std::to_string(pCmdUI->m_nID)); }
};

// clang-format off
BEGIN_MESSAGE_MAP(CUpdateTarget, CCmdTarget)
    ON_UPDATE_COMMAND_UI_RANGE(1, 3, &CUpdateTarget::OnUpdateAny)
END_MESSAGE_MAP()
// clang-format on

} // namespace

TEST_F(CWndTest, UpdateDialogControlsAsksTheWindowsOwnEntriesBeforeItsTarget)
{
    CCountingWnd bar("bar");
    ASSERT_TRUE(bar.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CWnd first;
    CWnd third;
    ASSERT_TRUE(first.Create(nullptr, "", 0, Rect(0, 0, 10, 10), &bar, 1));
    ASSERT_TRUE(third.Create(nullptr, "", 0, Rect(0, 0, 10, 10), &bar, 3));
    CUpdateTarget owner;
    HandlerLog::Take();
    bar.UpdateDialogControls(&owner, FALSE);
    // Control 1 has an entry in the bar's own map; control 3 goes to the owner.
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "target 3" });
    EXPECT_FALSE(first.IsWindowEnabled());
}
