#include "platform/framework/CPropertySheet.h"

#include "platform/controls/TabControl.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "tests/platform/framework/SheetTestSupport.h"

namespace {

using Log = std::vector<std::string>;

class PropertySheetTest : public SheetTest {
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        m_sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
        for (CNumberPage* pPage : { &m_one, &m_two, &m_three })
            m_sheet.AddPage(pPage);
    }

    static std::vector<std::string> TabTexts(CPropertySheet* pSheet)
    {
        std::vector<std::string> texts;
        CWnd* pTabs = pSheet->GetTabControl();
        for (int i = 0; pTabs && i < static_cast<int>(pTabs->SendMessage(TCM_GETITEMCOUNT)); ++i) {
            char szText[80] {};
            TCITEM item { TCIF_TEXT, 0, 0, szText, sizeof(szText), 0, 0 };
            pTabs->SendMessage(TCM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            texts.emplace_back(szText);
        }
        return texts;
    }
    static void ClickTab(CWnd* pTabs, int nIndex)
    {
        RECT rc {};
        pTabs->SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rc));
        POINT pt { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
        ::ClientToScreen(pTabs->GetSafeHwnd(), &pt);
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, pt, 0 });
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, pt, 0 });
    }

    // The sheet is still open: it has a current page.
    bool IsOpen() const { return ::SendMessage(m_sheet.GetSafeHwnd(), PSM_GETCURRENTPAGEHWND, 0, 0) != 0; }

    CNumberPage m_one { "one", 201 };
    CNumberPage m_two { "two", 202 };
    CNumberPage m_three { "three", 203 };
    CScriptedSheet m_sheet { &m_wndOwner };
};

}

TEST_F(PropertySheetTest, PagesAreMadeOnFirstActivationAndCancelResetsOnlyMadePages)
{
    HWND hMadeBeforeInit = nullptr;
    m_one.m_bRefuseCancel = true;
    m_sheet.steps = {
        [&](CScriptedSheet* pSheet) {
            hMadeBeforeInit = m_two.GetSafeHwnd();
            EXPECT_EQ(TakeLog(), (Log { "one init", "one setactive" }));
            EXPECT_NE(m_one.GetSafeHwnd(), nullptr);
            EXPECT_EQ(pSheet->GetActivePage(), &m_one);
            EXPECT_TRUE(pSheet->SetActivePage(2));
            EXPECT_EQ(TakeLog(), (Log { "one killactive", "three init", "three setactive" }));
            EXPECT_EQ(m_two.GetSafeHwnd(), nullptr);
            EXPECT_FALSE(IsShown(m_one.GetSafeHwnd()));
            EXPECT_TRUE(IsShown(m_three.GetSafeHwnd()));
            EXPECT_EQ(m_three.GetParent()->GetSafeHwnd(), pSheet->GetSafeHwnd()) << "pages are the sheet's children";
            // Back to a made page: no second init, the controls are reloaded.
            m_one.m_nValue = 42;
            EXPECT_TRUE(pSheet->SetActivePage(&m_one));
            EXPECT_EQ(TakeLog(), (Log { "three killactive", "one setactive" }));
            char szText[16] {};
            ::GetDlgItemText(m_one.GetSafeHwnd(), ID_VALUE, szText, sizeof(szText));
            EXPECT_STREQ(szText, "42");
            PressKey(VK_ESCAPE);
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_TRUE(IsOpen()) << "the current page refused to cancel";
            EXPECT_EQ(TakeLog(), (Log { "one querycancel" }));
            m_one.m_bRefuseCancel = false;
            pSheet->SendMessage(WM_CLOSE);
        },
    };
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(hMadeBeforeInit, nullptr);
    EXPECT_EQ(TakeLog(), (Log { "one querycancel", "one reset", "three reset" }));
    EXPECT_EQ(m_sheet.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(m_wndOwner.IsWindowEnabled());
}

// A sheet that notes where its own set-up runs around the base's.
class CInitLoggingSheet : public CScriptedSheet {
public:
    using CScriptedSheet::CScriptedSheet;

protected:
    BOOL OnInitDialog() override
    {
        SheetLog().emplace_back("sheet before");
        const BOOL bResult = CScriptedSheet::OnInitDialog();
        SheetLog().emplace_back("sheet after");
        return bResult;
    }
};

TEST_F(PropertySheetTest, AnOverridePreparesTheStartPageBeforeTheBaseMakesIt)
{
    CInitLoggingSheet sheet(&m_wndOwner);
    sheet.AddPage(&m_one);
    sheet.steps = { [](CScriptedSheet* pSheet) { pSheet->SendMessage(WM_CLOSE); } };
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    const Log log = TakeLog();
    ASSERT_GE(log.size(), 4U);
    EXPECT_EQ(Log(log.begin(), log.begin() + 4), (Log { "sheet before", "one init", "one setactive", "sheet after" }));
}

TEST_F(PropertySheetTest, AKillActiveFailureKeepsThePageForSwitchesAndForOk)
{
    m_sheet.steps = {
        [&](CScriptedSheet* pSheet) {
            ::SetDlgItemText(m_one.GetSafeHwnd(), ID_VALUE, "500");
            TakeLog();
            EXPECT_FALSE(pSheet->SetActivePage(1));
            EXPECT_EQ(pSheet->GetActivePage(), &m_one);
            EXPECT_EQ(m_two.GetSafeHwnd(), nullptr) << "the refused page is not made";
            EXPECT_EQ(TakeLog(), (Log { "one killactive", "box Please enter an integer between 1 and 99." }));
            PressKey(VK_RETURN);
        },
        [&](CScriptedSheet*) {
            EXPECT_TRUE(IsOpen()) << "OK stays when the current page refuses to let go";
            EXPECT_EQ(TakeLog(), (Log { "one killactive", "box Please enter an integer between 1 and 99." }));
            ::SetDlgItemText(m_one.GetSafeHwnd(), ID_VALUE, "7");
            PressKey(VK_RETURN);
        },
    };
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    EXPECT_EQ(m_one.m_nValue, 7);
    EXPECT_EQ(TakeLog(), (Log { "one killactive", "one apply" }));
}

TEST_F(PropertySheetTest, OkAppliesMadePagesInOrderAndARefusalStopsThePass)
{
    m_two.m_bRefuseApply = true;
    m_sheet.steps = {
        [&](CScriptedSheet* pSheet) {
            pSheet->SetActivePage(1);
            pSheet->SetActivePage(0);
            ::SetDlgItemText(m_one.GetSafeHwnd(), ID_VALUE, "11");
            TakeLog();
            pSheet->SendMessage(WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(pSheet->Item(IDOK)));
            EXPECT_EQ(TakeLog(), (Log { "one killactive", "one apply", "two apply" }));
            EXPECT_TRUE(IsOpen());
            EXPECT_EQ(m_one.m_nValue, 11) << "a page applied before the refusal keeps what it stored";
            m_two.m_bRefuseApply = false;
            pSheet->SendMessage(WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(pSheet->Item(IDOK)));
        },
    };
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    EXPECT_EQ(TakeLog(), (Log { "one killactive", "one apply", "two apply" })) << "page three was never made";
}

TEST_F(PropertySheetTest, TheSheetHasItsButtonsAndItsOwnIdleTime)
{
    m_sheet.steps = {
        [&](CScriptedSheet* pSheet) {
            EXPECT_TRUE(IsShown(pSheet->Item(IDOK)));
            EXPECT_TRUE(IsShown(pSheet->Item(IDCANCEL)));
            EXPECT_EQ(pSheet->Item(ID_APPLY_NOW), nullptr) << "PSH_NOAPPLYNOW";
            EXPECT_NE(pSheet->Item(IDHELP), nullptr) << "there for the sheet's own code to find";
            EXPECT_FALSE(IsShown(pSheet->Item(IDHELP))) << "no page offers help";
            // ...and leaves no gap: Cancel is as far from the right edge as the tabs from the left.
            CWnd* pTabs = pSheet->GetTabControl();
            ASSERT_NE(pTabs, nullptr);
            EXPECT_EQ(pTabs->SendMessage(TCM_GETITEMCOUNT), 3);
            RECT rcCancel {}, rcTabs {}, rcPage {}, rcDisplay {}, rcClient {};
            ::GetWindowRect(pSheet->Item(IDCANCEL), &rcCancel);
            pTabs->GetWindowRect(&rcTabs);
            ::GetWindowRect(m_one.GetSafeHwnd(), &rcPage);
            ::MapWindowPoints(nullptr, pSheet->GetSafeHwnd(), reinterpret_cast<POINT*>(&rcCancel), 2);
            ::MapWindowPoints(nullptr, pSheet->GetSafeHwnd(), reinterpret_cast<POINT*>(&rcTabs), 2);
            pSheet->GetClientRect(&rcClient);
            EXPECT_NEAR(rcClient.right - rcCancel.right, rcTabs.left, 1); // dialog units round
            // The page lies inside the tabs' display area.
            pTabs->GetWindowRect(&rcDisplay);
            pTabs->SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rcDisplay));
            EXPECT_TRUE(rcPage.left >= rcDisplay.left && rcPage.top >= rcDisplay.top && rcPage.right <= rcDisplay.right
                && rcPage.bottom <= rcDisplay.bottom);
            EXPECT_EQ(LOWORD(pSheet->GetDefID()), IDOK);
            HWND hFocus = ::GetFocus();
            EXPECT_EQ(hFocus, pSheet->PageItem(ID_VALUE)) << "the focus starts in the first page";
            PressKey(VK_TAB);
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(::GetFocus(), pSheet->Item(IDOK)) << "Tab leaves the page for the buttons";
            PressKey(VK_TAB, VK_SHIFT);
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(::GetFocus(), pSheet->PageItem(ID_VALUE));
            PressKey(VK_RETURN);
        },
    };
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    ASSERT_GE(m_sheet.kickIdleSources.size(), 3U);
    for (WPARAM nSource : m_sheet.kickIdleSources)
        EXPECT_EQ(nSource, MSGF_DIALOGBOX);
}

TEST_F(PropertySheetTest, TabsNameThePagesAndChangePagesAsTheSheetDoes)
{
    m_two.m_psp.dwFlags |= PSP_USETITLE;
    m_two.m_psp.pszTitle = "&Second";
    CWnd* pTabs = nullptr;
    m_sheet.steps = {
        [&](CScriptedSheet* pSheet) {
            pTabs = pSheet->GetTabControl();
            ASSERT_NE(pTabs, nullptr);
            EXPECT_EQ(TabTexts(pSheet), (std::vector<std::string> { "&one", "&Second", "&three" }));
            ::SetDlgItemText(m_one.GetSafeHwnd(), ID_VALUE, "0");
            TakeLog();
            ClickTab(pTabs, 1);
        },
        [&](CScriptedSheet* pSheet) {
            const Log log = TakeLog();
            ASSERT_EQ(log.size(), 2u);
            EXPECT_EQ(log[0], "one killactive");
            EXPECT_EQ(log[1].substr(0, 4), "box ") << "the class library's range message";
            EXPECT_EQ(pSheet->GetActivePage(), &m_one);
            EXPECT_EQ(pTabs->SendMessage(TCM_GETCURSEL), 0) << "the refused tab is not selected";
            ::SetDlgItemText(m_one.GetSafeHwnd(), ID_VALUE, "7");
            ClickTab(pTabs, 1);
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(TakeLog(), (Log { "one killactive", "two init", "two setactive" })) << "asked once";
            EXPECT_EQ(pSheet->GetActivePage(), &m_two);
            EXPECT_EQ(pTabs->SendMessage(TCM_GETCURSEL), 1);
            ::SetFocus(pSheet->PageItem(ID_VALUE));
            PressKey(VK_TAB, VK_CONTROL);
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(TakeLog(), (Log { "two killactive", "three init", "three setactive" }));
            EXPECT_EQ(pSheet->GetActivePage(), &m_three);
            EXPECT_EQ(::GetFocus(), pSheet->PageItem(ID_VALUE)) << "the focus follows into the new page";
            PressKey(VK_TAB, VK_CONTROL); // round the row to the first page
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(pSheet->GetActivePage(), &m_one);
            EXPECT_EQ(pTabs->SendMessage(TCM_GETCURSEL), 0);
            PressKey(VK_ESCAPE);
        },
    };
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
}

TEST_F(PropertySheetTest, PagesAddedOrRemovedWhileShownTakeEffect)
{
    CNumberPage four { "four", 204 };
    m_sheet.steps = {
        [&](CScriptedSheet* pSheet) {
            pSheet->AddPage(&four);
            EXPECT_EQ(pSheet->GetPageCount(), 4);
            EXPECT_EQ(TabTexts(pSheet), (std::vector<std::string> { "&one", "&two", "&three", "&four" }));
            EXPECT_TRUE(pSheet->SetActivePage(&four));
            EXPECT_TRUE(IsShown(four.GetSafeHwnd()));
            ::SetFocus(pSheet->PageItem(ID_VALUE));
            // The current page goes: the one before takes its place, with the focus.
            pSheet->RemovePage(&four);
            EXPECT_EQ(four.GetSafeHwnd(), nullptr);
            EXPECT_EQ(pSheet->GetActivePage(), &m_three);
            EXPECT_EQ(::GetFocus(), pSheet->PageItem(ID_VALUE));
            // A page before the current one goes: the current one stays, and so does its tab.
            pSheet->RemovePage(0);
            EXPECT_EQ(m_one.GetSafeHwnd(), nullptr);
            EXPECT_EQ(pSheet->GetActivePage(), &m_three);
            EXPECT_EQ(pSheet->GetActiveIndex(), 1);
            EXPECT_EQ(TabTexts(pSheet), (std::vector<std::string> { "&two", "&three" }));
            EXPECT_EQ(pSheet->GetTabControl()->SendMessage(TCM_GETCURSEL), 1);
            pSheet->RemovePage(&m_three);
            pSheet->RemovePage(&m_two);
            EXPECT_EQ(pSheet->GetPageCount(), 1) << "the last page stays";
            TakeLog();
            PressKey(VK_RETURN);
        },
    };
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    EXPECT_EQ(TakeLog(), (Log { "two killactive", "two apply" }));
}

TEST_F(PropertySheetTest, ApplyStaysEnabledWhileAnyPageIsModified)
{
    m_sheet.m_psh.dwFlags &= ~PSH_NOAPPLYNOW;
    m_sheet.steps = {
        [&](CScriptedSheet* pSheet) {
            auto IsApplyEnabled = [pSheet] { return ::IsWindowEnabled(pSheet->Item(ID_APPLY_NOW)) != FALSE; };
            EXPECT_FALSE(IsApplyEnabled());
            m_one.SetModified();
            pSheet->SetActivePage(1);
            m_two.SetModified();
            m_one.SetModified(FALSE);
            EXPECT_TRUE(IsApplyEnabled()) << "page two still holds changes";
            m_two.SetModified(FALSE);
            EXPECT_FALSE(IsApplyEnabled());
            // Applied, a page is no longer modified.
            m_two.SetModified();
            pSheet->PressButton(PSBTN_APPLYNOW);
            EXPECT_FALSE(IsApplyEnabled());
            m_one.SetModified();
            m_two.SetModified(FALSE);
            EXPECT_TRUE(IsApplyEnabled());
            PressKey(VK_ESCAPE);
        },
    };
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
}

TEST_F(PropertySheetTest, AMissingPageTemplateFailsDoModal)
{
    CPropertyPage missing(999);
    CPropertySheet sheet("Broken", &m_wndOwner);
    sheet.AddPage(&missing);
    EXPECT_EQ(sheet.DoModal(), -1);
    EXPECT_TRUE(m_wndOwner.IsWindowEnabled());
    CPropertySheet empty("Empty", &m_wndOwner);
    EXPECT_EQ(empty.DoModal(), -1);
}
