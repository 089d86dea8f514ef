#include "platform/framework/CWnd.h"

#include "FrameworkTestSupport.h"
#include "platform/gdi/SysColors.h"

namespace {

constexpr UINT ID_CONTROL = 10;
constexpr UINT NM_PLAIN = static_cast<UINT>(-2);   // consumed by a plain reflect entry
constexpr UINT NM_CHECKED = static_cast<UINT>(-3); // an _EX entry decides
constexpr WORD CODE_PLAIN = 0x0300;
constexpr WORD CODE_CHECKED = 0x0400;

HBRUSH const CONTROL_BRUSH = reinterpret_cast<HBRUSH>(0x1234);
HBRUSH const PARENT_BRUSH = reinterpret_cast<HBRUSH>(0x5678);

// A control that answers its own notifications.
class CReflectingControl : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    BOOL m_bLetParentSee { FALSE };
    BOOL m_bColour { TRUE };

protected:
    void OnPlainNotify(NMHDR*, LRESULT* pResult)
    {
        HandlerLog::Add("control notify");
        *pResult = 11;
    }
    BOOL OnCheckedNotify(NMHDR*, LRESULT*)
    {
        HandlerLog::Add("control checked notify");
        return !m_bLetParentSee;
    }
    void OnPlainCommand() { HandlerLog::Add("control command"); }
    BOOL OnCheckedCommand()
    {
        HandlerLog::Add("control checked command");
        return !m_bLetParentSee;
    }
    HBRUSH CtlColor(CDC*, UINT nCtlColor)
    {
        HandlerLog::Add("control colour " + std::to_string(nCtlColor));
        return m_bColour ? CONTROL_BRUSH : nullptr;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
    {
        HandlerLog::Add("control draw " + std::to_string(lpDrawItemStruct->itemID));
    }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) { lpMeasureItemStruct->itemHeight = 17; }
    void VScroll(UINT nSBCode, UINT nPos)
    {
        HandlerLog::Add("control scroll " + std::to_string(nSBCode) + " " + std::to_string(nPos));
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CReflectingControl, CWnd)
    ON_NOTIFY_REFLECT(NM_PLAIN, &CReflectingControl::OnPlainNotify)
    ON_NOTIFY_REFLECT_EX(NM_CHECKED, &CReflectingControl::OnCheckedNotify)
    ON_CONTROL_REFLECT(CODE_PLAIN, &CReflectingControl::OnPlainCommand)
    ON_CONTROL_REFLECT_EX(CODE_CHECKED, &CReflectingControl::OnCheckedCommand)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_MEASUREITEM_REFLECT()
    ON_WM_VSCROLL_REFLECT()
END_MESSAGE_MAP()
// clang-format on

// A parent with handlers for the same notifications.
class CParentWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

protected:
    void OnNotifyFromControl(NMHDR* pNMHDR, LRESULT* pResult)
    {
        HandlerLog::Add("parent notify " + std::to_string(static_cast<int>(pNMHDR->code)));
        *pResult = 22;
    }
    void OnCommandFromControl() { HandlerLog::Add("parent command"); }
    void OnCheckedCommandFromControl() { HandlerLog::Add("parent checked command"); }
};

// clang-format off
BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
    ON_NOTIFY(NM_PLAIN, ID_CONTROL, &CParentWnd::OnNotifyFromControl)
    ON_NOTIFY(NM_CHECKED, ID_CONTROL, &CParentWnd::OnNotifyFromControl)
    ON_CONTROL(CODE_PLAIN, ID_CONTROL, &CParentWnd::OnCommandFromControl)
    ON_CONTROL(CODE_CHECKED, ID_CONTROL, &CParentWnd::OnCheckedCommandFromControl)
END_MESSAGE_MAP()
// clang-format on

// A parent that colours its children itself and draws their items.
class CColouringParentWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        HandlerLog::Add("parent colour");
        if (nCtlColor == CTLCOLOR_EDIT)
            return PARENT_BRUSH;
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CColouringParentWnd, CWnd)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()
// clang-format on

class ReflectionTest : public FrameworkTest {
protected:
    template<class TParent> void CreatePair(TParent& parent)
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
        ASSERT_TRUE(m_control.Create(nullptr, "", 0, Rect(0, 0, 50, 20), &parent, ID_CONTROL));
        HandlerLog::Take();
    }

    LRESULT SendNotify(CWnd& parent, UINT nCode)
    {
        NMHDR nmhdr { m_control.m_hWnd, ID_CONTROL, nCode };
        return parent.SendMessage(WM_NOTIFY, ID_CONTROL, reinterpret_cast<LPARAM>(&nmhdr));
    }
    void SendCommand(CWnd& parent, WORD nCode)
    {
        parent.SendMessage(WM_COMMAND, MAKELONG(ID_CONTROL, nCode), reinterpret_cast<LPARAM>(m_control.m_hWnd));
    }

    CReflectingControl m_control;
};

} // namespace

TEST_F(ReflectionTest, ReflectedNotificationsAreTakenByTheControl)
{
    CParentWnd parent;
    CreatePair(parent);
    EXPECT_EQ(SendNotify(parent, NM_PLAIN), 11);
    SendCommand(parent, CODE_PLAIN);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "control notify", "control command" }));
}

TEST_F(ReflectionTest, ExHandlersDecideWhetherTheParentSeesIt)
{
    CParentWnd parent;
    CreatePair(parent);
    SendNotify(parent, NM_CHECKED);
    SendCommand(parent, CODE_CHECKED);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "control checked notify", "control checked command" }));

    m_control.m_bLetParentSee = TRUE;
    EXPECT_EQ(SendNotify(parent, NM_CHECKED), 22);
    SendCommand(parent, CODE_CHECKED);
    EXPECT_EQ(HandlerLog::Take(),
        (std::vector<std::string> {
            "control checked notify", "parent notify -3", "control checked command", "parent checked command" }));
}

TEST_F(ReflectionTest, WindowsWithoutObjectsLeaveNotificationsToTheParent)
{
    CParentWnd parent;
    CreatePair(parent);
    HWND hPlain = CreatePlainWindow(parent.m_hWnd, ID_CONTROL + 1);
    NMHDR nmhdr { hPlain, ID_CONTROL, NM_PLAIN };
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, ID_CONTROL, reinterpret_cast<LPARAM>(&nmhdr)), 22);
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "parent notify -2" });
}

TEST_F(ReflectionTest, ControlsAnswerTheirColourUnlessTheParentDoes)
{
    CColouringParentWnd parent;
    CreatePair(parent);
    LPARAM lControl = reinterpret_cast<LPARAM>(m_control.m_hWnd);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(parent.SendMessage(WM_CTLCOLORSTATIC, 0, lControl)), CONTROL_BRUSH);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(parent.SendMessage(WM_CTLCOLOREDIT, 0, lControl)), PARENT_BRUSH);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "parent colour", "control colour 6", "parent colour" }));

    // A control that gives no brush leaves the default colouring.
    m_control.m_bColour = FALSE;
    EXPECT_EQ(
        reinterpret_cast<HBRUSH>(parent.SendMessage(WM_CTLCOLORBTN, 0, lControl)), GetSysColorBrush(COLOR_3DFACE));
}

TEST_F(ReflectionTest, OwnerDrawMessagesReachTheControl)
{
    CWnd parent;
    CreatePair(parent);
    DRAWITEMSTRUCT dis {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = ID_CONTROL;
    dis.itemID = 3;
    dis.hwndItem = m_control.m_hWnd;
    parent.SendMessage(WM_DRAWITEM, ID_CONTROL, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "control draw 3" });

    MEASUREITEMSTRUCT mis { ODT_LISTBOX, ID_CONTROL, 0, 0, 0, 0 };
    parent.SendMessage(WM_MEASUREITEM, ID_CONTROL, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(mis.itemHeight, 17U);

    // Menu items are not controls: nothing is reflected for them.
    dis.CtlType = ODT_MENU;
    parent.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    EXPECT_TRUE(HandlerLog::Take().empty());
}

TEST_F(ReflectionTest, ScrollBarControlsGetTheirScrollMessages)
{
    CWnd parent;
    CreatePair(parent);
    parent.SendMessage(WM_VSCROLL, MAKELONG(1, 0), reinterpret_cast<LPARAM>(m_control.m_hWnd));
    // The window's own scroll bar (no control) is not reflected.
    parent.SendMessage(WM_VSCROLL, MAKELONG(2, 0), 0);
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "control scroll 1 0" });
}
