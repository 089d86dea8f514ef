// Message-map entries for the non-client area, data between windows, range
// notifications, reflected list-box keys and thread messages: each cracks its
// message into the handler's arguments.

#include "platform/framework/CWnd.h"

#include "FrameworkTestSupport.h"

#include "platform/framework/CListBox.h"
#include "platform/framework/CWinThread.h"

#include <cstring>

namespace {

constexpr UINT ID_FIRST_TIP = 300;
constexpr UINT ID_LAST_TIP = 310;
constexpr UINT NOTIFY_CODE = 0xFFFFFE00; // a notification code, negative as stored

class CEntriesWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    CPoint m_ptHit;
    CWnd* m_pCopySender { nullptr };
    std::string m_strCopied;
    BOOL m_bActiveApp { FALSE };
    DWORD m_dwOtherThread { 0 };
    UINT m_nTipID { 0 };
    bool m_bTakeTips { true };

protected:
    LRESULT OnNcHitTest(CPoint point)
    {
        m_ptHit = point;
        return HTCAPTION;
    }
    BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct)
    {
        m_pCopySender = pWnd;
        m_strCopied.assign(static_cast<const char*>(pCopyDataStruct->lpData), pCopyDataStruct->cbData);
        return TRUE;
    }
    void OnActivateApp(BOOL bActive, DWORD dwThreadID)
    {
        m_bActiveApp = bActive;
        m_dwOtherThread = dwThreadID;
    }
    UINT OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    BOOL OnTip(UINT nID, NMHDR*, LRESULT* pResult)
    {
        m_nTipID = nID;
        *pResult = 42;
        return m_bTakeTips;
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CEntriesWnd, CWnd)
    ON_WM_NCHITTEST()
    ON_WM_COPYDATA()
    ON_WM_ACTIVATEAPP()
    ON_WM_GETDLGCODE()
    ON_NOTIFY_EX_RANGE(NOTIFY_CODE, ID_FIRST_TIP, ID_LAST_TIP, &CEntriesWnd::OnTip)
END_MESSAGE_MAP()
// clang-format on

// An object on a list box that answers its parent's key questions through its map.
class CKeyListBox : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    UINT m_nKey { 0 };
    UINT m_nCaret { 0 };

protected:
    int VKeyToItem(UINT nKey, UINT nIndex)
    {
        m_nKey = nKey;
        m_nCaret = nIndex;
        return -2;
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CKeyListBox, CWnd)
    ON_WM_VKEYTOITEM_REFLECT()
END_MESSAGE_MAP()
// clang-format on

UINT g_nRegisteredThreadMessage = 0;

class CMessageThread : public CWinThread {
    DECLARE_MESSAGE_MAP()

public:
    std::vector<std::pair<WPARAM, LPARAM>> m_plain;
    std::vector<std::pair<WPARAM, LPARAM>> m_registered;

protected:
    void OnPlain(WPARAM wParam, LPARAM lParam) { m_plain.emplace_back(wParam, lParam); }
    void OnRegistered(WPARAM wParam, LPARAM lParam) { m_registered.emplace_back(wParam, lParam); }
};

constexpr UINT WM_APP_WORK = WM_APP + 5;

// clang-format off
BEGIN_MESSAGE_MAP(CMessageThread, CWinThread)
    ON_THREAD_MESSAGE(WM_APP_WORK, &CMessageThread::OnPlain)
    ON_REGISTERED_THREAD_MESSAGE(g_nRegisteredThreadMessage, &CMessageThread::OnRegistered)
END_MESSAGE_MAP()
// clang-format on

class MessageMapEntriesTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, "entries", WS_POPUP, Rect(0, 0, 200, 100), nullptr, 0));
    }

    CEntriesWnd m_wnd;
};

} // namespace

TEST_F(MessageMapEntriesTest, NonClientAndDialogEntriesCrackTheirArguments)
{
    // Screen points may be negative (a window left of the screen).
    EXPECT_EQ(m_wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(-15), 40)), HTCAPTION);
    EXPECT_EQ(m_wnd.m_ptHit, CPoint(-15, 40));
    EXPECT_EQ(m_wnd.SendMessage(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTARROWS | DLGC_WANTCHARS));

    m_wnd.SendMessage(WM_ACTIVATEAPP, TRUE, 1234);
    EXPECT_TRUE(m_wnd.m_bActiveApp);
    EXPECT_EQ(m_wnd.m_dwOtherThread, 1234u);
}

TEST_F(MessageMapEntriesTest, CopyDataReachesTheHandlerWithItsSender)
{
    HWND hSender = CreatePlainWindow();
    char szPayload[] = "catalog\0tail";
    COPYDATASTRUCT cds { 7, sizeof(szPayload) - 1, szPayload };
    EXPECT_EQ(m_wnd.SendMessage(WM_COPYDATA, reinterpret_cast<WPARAM>(hSender), reinterpret_cast<LPARAM>(&cds)), TRUE);
    ASSERT_NE(m_wnd.m_pCopySender, nullptr);
    EXPECT_EQ(m_wnd.m_pCopySender->m_hWnd, hSender);
    EXPECT_EQ(m_wnd.m_strCopied, std::string(szPayload, sizeof(szPayload) - 1)); // embedded NULs kept
    DestroyWindow(hSender);
}

TEST_F(MessageMapEntriesTest, NotifyRangeHandlerCanPassTheNotificationOn)
{
    NMHDR hdr { nullptr, 305, NOTIFY_CODE };
    EXPECT_EQ(m_wnd.SendMessage(WM_NOTIFY, 305, reinterpret_cast<LPARAM>(&hdr)), 42);
    EXPECT_EQ(m_wnd.m_nTipID, 305u);

    // Outside the range the entry does not match.
    m_wnd.m_nTipID = 0;
    NMHDR hdrOutside { nullptr, 311, NOTIFY_CODE };
    EXPECT_EQ(m_wnd.SendMessage(WM_NOTIFY, 311, reinterpret_cast<LPARAM>(&hdrOutside)), 0);
    EXPECT_EQ(m_wnd.m_nTipID, 0u);

    // FALSE: handled as if the entry were not there, so the default answer stands.
    m_wnd.m_bTakeTips = false;
    NMHDR hdrFirst { nullptr, ID_FIRST_TIP, NOTIFY_CODE };
    EXPECT_EQ(m_wnd.SendMessage(WM_NOTIFY, ID_FIRST_TIP, reinterpret_cast<LPARAM>(&hdrFirst)), 0);
    EXPECT_EQ(m_wnd.m_nTipID, 300u);
}

TEST_F(MessageMapEntriesTest, ReflectedKeyQuestionReachesTheListBoxObject)
{
    CKeyListBox list;
    HWND hList = CreateWindowEx(0, "ListBox", "", WS_CHILD | WS_VISIBLE | LBS_WANTKEYBOARDINPUT, 0, 0, 100, 80,
        m_wnd.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(12)), nullptr, nullptr);
    ASSERT_TRUE(list.SubclassWindow(hList));
    // The parent is asked; the list box's own object answers.
    LRESULT lAnswer = m_wnd.SendMessage(WM_VKEYTOITEM, MAKEWPARAM(VK_DOWN, 3), reinterpret_cast<LPARAM>(list.m_hWnd));
    EXPECT_EQ(lAnswer, -2);
    EXPECT_EQ(list.m_nKey, static_cast<UINT>(VK_DOWN));
    EXPECT_EQ(list.m_nCaret, 3u);
}

TEST(ThreadMessageEntriesTest, MessagesWithoutAWindowGoToTheThreadsMap)
{
    g_nRegisteredThreadMessage = RegisterWindowMessage("Entries Test Work");
    CMessageThread thread;
    thread.m_bAutoDelete = FALSE;
    PostThreadMessage(GetCurrentThreadId(), WM_APP_WORK, 1, 2);
    PostThreadMessage(GetCurrentThreadId(), g_nRegisteredThreadMessage, 3, 4);
    PostThreadMessage(GetCurrentThreadId(), WM_APP + 6, 5, 6); // no entry: left alone
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(thread.PumpMessage());
    EXPECT_EQ(thread.m_plain, (std::vector<std::pair<WPARAM, LPARAM>> { { 1, 2 } }));
    EXPECT_EQ(thread.m_registered, (std::vector<std::pair<WPARAM, LPARAM>> { { 3, 4 } }));
}
