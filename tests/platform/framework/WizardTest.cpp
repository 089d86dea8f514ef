#include "platform/framework/CPropertySheet.h"

#include "tests/platform/framework/SheetTestSupport.h"

namespace {

using Log = std::vector<std::string>;

// Four pages that post their buttons on activation: Next only on the first,
// Back and Next in the middle, Back and Finish on the last.
class WizardTest : public SheetTest {
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        m_wizard.m_psh.dwFlags |= PSH_WIZARD;
        m_first.m_dwWizardButtons = PSWIZB_NEXT;
        m_skip.m_dwWizardButtons = m_skipped.m_dwWizardButtons = PSWIZB_BACK | PSWIZB_NEXT;
        m_last.m_dwWizardButtons = PSWIZB_BACK | PSWIZB_FINISH;
        for (CNumberPage* pPage : { &m_first, &m_skip, &m_skipped, &m_last })
            m_wizard.AddPage(pPage);
    }

    bool IsEnabled(int nId) const { return ::IsWindowEnabled(m_wizard.Item(nId)); }
    void Press(int nId) { ::SendMessage(m_wizard.GetSafeHwnd(), PSM_PRESSBUTTON, ButtonOf(nId), 0); }
    static WPARAM ButtonOf(int nId)
    {
        return nId == ID_WIZBACK ? PSBTN_BACK : nId == ID_WIZNEXT ? PSBTN_NEXT : PSBTN_FINISH;
    }

    CNumberPage m_first { "first", 301 };
    CNumberPage m_skip { "skip", 302 };
    CNumberPage m_skipped { "skipped", 303 };
    CNumberPage m_last { "last", 304 };
    CScriptedSheet m_wizard { &m_wndOwner };
};

}

TEST_F(WizardTest, PostedButtonsTakeEffectOnceTheQueueIsPumped)
{
    m_wizard.steps = {
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(pSheet->GetTabControl(), nullptr);
            EXPECT_EQ(pSheet->Item(IDOK), nullptr);
            EXPECT_FALSE(IsEnabled(ID_WIZBACK)) << "the first page posted Next only";
            EXPECT_TRUE(IsShown(pSheet->Item(ID_WIZNEXT)));
            EXPECT_FALSE(IsShown(pSheet->Item(ID_WIZFINISH)));
            EXPECT_EQ(LOWORD(pSheet->GetDefID()), ID_WIZNEXT);
            pSheet->SetActivePage(3);
            // Posted, not yet pumped: the buttons are still the first page's.
            EXPECT_TRUE(IsShown(pSheet->Item(ID_WIZNEXT)));
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_TRUE(IsEnabled(ID_WIZBACK));
            EXPECT_FALSE(IsShown(pSheet->Item(ID_WIZNEXT)));
            EXPECT_TRUE(IsShown(pSheet->Item(ID_WIZFINISH)));
            EXPECT_EQ(LOWORD(pSheet->GetDefID()), ID_WIZFINISH) << "Finish replaces Next as the default";
            PressKey(VK_RETURN);
        },
    };
    EXPECT_EQ(m_wizard.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(SheetLog().back(), "last finish");
}

TEST_F(WizardTest, HandlersChooseTheNextPageOrMoveThemselvesAndStay)
{
    CScriptedSheet* pWizard = &m_wizard;
    // The skip page activates the last page itself and answers -1.
    m_skip.onWizardNext = [pWizard] {
        pWizard->SetActivePage(3);
        return LRESULT { -1 };
    };
    // Back from the last page names the skip page by its template ID.
    m_last.m_nBackAnswer = 302;
    m_last.m_bRefuseFinish = true;
    m_wizard.steps = {
        [&](CScriptedSheet* pSheet) {
            // Each press has acted when it returns.
            TakeLog();
            Press(ID_WIZNEXT);
            EXPECT_EQ(TakeLog(), (Log { "first next", "first killactive", "skip init", "skip setactive" }));
            Press(ID_WIZNEXT);
            EXPECT_EQ(TakeLog(), (Log { "skip next", "skip killactive", "last init", "last setactive" }));
            EXPECT_EQ(pSheet->GetActivePage(), &m_last);
            EXPECT_EQ(m_skipped.GetSafeHwnd(), nullptr);
            Press(ID_WIZBACK);
            EXPECT_EQ(TakeLog(), (Log { "last back", "last killactive", "skip setactive" }));
            EXPECT_EQ(pSheet->GetActivePage(), &m_skip);
            Press(ID_WIZNEXT);
            TakeLog();
        },
        [&](CScriptedSheet* pSheet) {
            pSheet->PressButton(PSBTN_FINISH);
            EXPECT_EQ(TakeLog(), (Log { "last finish" }));
            EXPECT_EQ(pSheet->GetActivePage(), &m_last) << "a refused Finish keeps the wizard";
            m_last.m_bRefuseFinish = false;
            pSheet->PressButton(PSBTN_FINISH);
        },
    };
    EXPECT_EQ(m_wizard.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(TakeLog(), (Log { "last finish" })) << "Finish applies nothing";
}

TEST_F(WizardTest, APageThatRefusesActivationIsPassedOverInTheDirectionOfTravel)
{
    // A wizard of three pages as the user sees it: the third page of four is never shown.
    m_skipped.m_bRefuseActivation = true;
    m_wizard.steps = {
        [&](CScriptedSheet* pSheet) {
            Press(ID_WIZNEXT);
            TakeLog();
            Press(ID_WIZNEXT);
            EXPECT_EQ(TakeLog(),
                (Log { "skip next", "skip killactive", "skipped init", "skipped setactive", "last init",
                    "last setactive" }));
            EXPECT_EQ(pSheet->GetActivePage(), &m_last);
            EXPECT_FALSE(IsShown(m_skipped.GetSafeHwnd()));
            EXPECT_FALSE(IsShown(m_skip.GetSafeHwnd()));
            Press(ID_WIZBACK);
            EXPECT_EQ(TakeLog(), (Log { "last back", "last killactive", "skipped setactive", "skip setactive" }));
            EXPECT_EQ(pSheet->GetActivePage(), &m_skip);
            // Chosen from code, forward, the same.
            EXPECT_TRUE(pSheet->SetActivePage(2));
            EXPECT_EQ(pSheet->GetActivePage(), &m_last);
            // When every page on the way refuses, the page left stays.
            pSheet->SetActivePage(1);
            m_last.m_bRefuseActivation = true;
            TakeLog();
            Press(ID_WIZNEXT);
            EXPECT_EQ(pSheet->GetActivePage(), &m_skip);
            EXPECT_TRUE(IsShown(m_skip.GetSafeHwnd()));
            EXPECT_FALSE(IsShown(m_last.GetSafeHwnd()));
            m_last.m_bRefuseActivation = false;
            PressKey(VK_ESCAPE);
        },
    };
    EXPECT_EQ(m_wizard.DoModal(), IDCANCEL);
}

TEST_F(WizardTest, TheFocusGoesIntoEachNewPageAndBackStaysTheDefaultAfterBack)
{
    m_first.DropTabStop();
    m_wizard.steps = {
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(::GetFocus(), pSheet->Item(ID_WIZNEXT)) << "a first page without tab stops";
            PressKey(VK_RETURN);
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(pSheet->GetActivePage(), &m_skip);
            EXPECT_EQ(::GetFocus(), pSheet->PageItem(ID_VALUE));
            Press(ID_WIZNEXT);
            Press(ID_WIZBACK);
        },
        [&](CScriptedSheet* pSheet) {
            // The buttons the page posted have arrived: Back stays the default.
            EXPECT_EQ(pSheet->GetActivePage(), &m_skip);
            EXPECT_EQ(::GetFocus(), pSheet->PageItem(ID_VALUE));
            EXPECT_EQ(LOWORD(pSheet->GetDefID()), ID_WIZBACK);
            PressKey(VK_RETURN);
        },
        [&](CScriptedSheet* pSheet) {
            // Back on the first page, which greys Back: Next is the default and has the focus.
            EXPECT_EQ(pSheet->GetActivePage(), &m_first);
            EXPECT_EQ(LOWORD(pSheet->GetDefID()), ID_WIZNEXT);
            EXPECT_EQ(::GetFocus(), pSheet->Item(ID_WIZNEXT));
            Press(ID_WIZNEXT);
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(LOWORD(pSheet->GetDefID()), ID_WIZNEXT);
            PressKey(VK_ESCAPE);
        },
    };
    EXPECT_EQ(m_wizard.DoModal(), IDCANCEL);
}

TEST_F(WizardTest, CancelEndsTheWizardWithIdCancel)
{
    m_wizard.steps = {
        [&](CScriptedSheet*) { PressKey(VK_ESCAPE); },
    };
    EXPECT_EQ(m_wizard.DoModal(), IDCANCEL);
    EXPECT_EQ(TakeLog().back(), "first reset");
}
