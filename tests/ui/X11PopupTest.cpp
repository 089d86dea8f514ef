// The systems popup on a real X display: its modal loop is fed only by the
// server's events, which a second thread causes through XTEST. The pointer
// rests on a row until the hover timer opens the next level, twice, then a
// click outside every window closes the whole chain.

#include "platform/testing/TestX11Session.h"
#include "platform/testing/XTestInput.h"
#include "tests/store/CatalogBuilder.h"
#include "tests/support/WaitUntil.h"
#include "tests/ui/ProgramModule.h"
#include "tests/ui/RecordingUiHost.h"
#include "ui/CSisPopupWnd.h"
#include "ui/PopupHitTable.h"

#include <atomic>
#include <thread>

namespace {

// The visible popup windows of the systems popup's class, counted.
int CountPopups()
{
    int nCount = 0;
    for (HWND hWnd = FindWindow("SisPopupWnd", nullptr); hWnd;
         hWnd = FindWindowEx(nullptr, hWnd, "SisPopupWnd", nullptr))
        nCount += IsWindowVisible(hWnd) ? 1 : 0;
    return nCount;
}

// The screen point of a row's middle in the newest popup whose list holds that text; false when none does.
bool RowPoint(const char* pszText, POINT* pPoint)
{
    for (HWND hWnd = FindWindow("SisPopupWnd", nullptr); hWnd;
         hWnd = FindWindowEx(nullptr, hWnd, "SisPopupWnd", nullptr)) {
        HWND hList = GetDlgItem(hWnd, 101);
        const int nRow = hList ? static_cast<int>(SendMessage(
                             hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText)))
                               : -1;
        if (nRow < 0)
            continue;
        RECT row {};
        SendMessage(hList, LB_GETITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&row));
        *pPoint = POINT { (row.left + row.right) / 2, (row.top + row.bottom) / 2 };
        ClientToScreen(hList, pPoint);
        return true;
    }
    return false;
}

class X11PopupTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        ASSERT_TRUE(m_x11.IsOpen()) << m_x11.Failure();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
        AddNode(*Node(*m_pCatalog, m_tree.alpha), "Deep");
        m_host.m_pMainCatalog = m_pCatalog.get();
        ASSERT_TRUE(m_owner.CreateEx(
            0, AfxRegisterWndClass(0), "Owner", WS_POPUP | WS_VISIBLE, 600, 500, 40, 40, nullptr, nullptr));
    }
    void TearDown() override
    {
        if (m_owner.GetSafeHwnd())
            m_owner.DestroyWindow();
        m_pCatalog.reset();
        CatalogTest::TearDown();
    }

    ProgramModule m_module;
    CTestX11Session m_x11;
    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
    CRecordingUiHost m_host;
    CWnd m_owner;
};

} // namespace

TEST_F(X11PopupTest, TheHoverTimerCascadesAndAClickOutsideClosesTheChain)
{
    CSisPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_owner), 1);
    popup.GetSisList().FillItems(Root(*m_pCatalog).get(), FALSE, FALSE, FALSE);
    // The pointer rests on the button, as after the click that opened the
    // popup: away from both, the popup would close after its delay before
    // the user's first move.
    const POINT pos { 100, 60 };
    const RECT button { 40, 40, 100, 60 };
    CXTestInput pointer(m_x11.Name());
    ASSERT_TRUE(pointer.IsOpen());
    pointer.MoveTo(POINT { (button.left + button.right) / 2, (button.top + button.bottom) / 2 });
    pointer.Sync();
    std::atomic<int> nLevels { 0 };
    std::atomic<bool> bUserDone { false };
    std::thread user([&] {
        CXTestInput input(m_x11.Name());
        auto walk = [&] {
            POINT point {};
            if (!WaitUntil([&] { return CountPopups() == 1 && RowPoint("Projects", &point); }))
                return;
            input.MoveTo(point);
            if (!WaitUntil([&] { return CountPopups() == 2 && RowPoint("Alpha", &point); }))
                return;
            nLevels = 2;
            input.MoveTo(point);
            if (!WaitUntil([&] { return CountPopups() == 3; }))
                return;
            nLevels = 3;
            bUserDone = true;
        };
        if (!input.IsOpen())
            return;
        walk();
        // The click outside ends the chain whatever the walk reached, so a
        // level that failed to open fails the test instead of hanging it.
        input.Click(POINT { 5, 700 });
    });
    std::unique_ptr<CNodeRec> pChosen(static_cast<CNodeRec*>(popup.TrackPopup(&pos, &button, &button)));
    user.join();
    EXPECT_EQ(nLevels, 3) << "three levels opened on the hover timer";
    EXPECT_TRUE(bUserDone);
    EXPECT_EQ(pChosen, nullptr) << "a click outside chooses nothing";
    EXPECT_EQ(CountPopups(), 0);
    EXPECT_EQ(GetPopupHitCount(), 0);
}
