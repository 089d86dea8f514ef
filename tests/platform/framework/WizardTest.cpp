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
        [&](CScriptedSheet*) {
            TakeLog();
            Press(ID_WIZNEXT);
        },
        [&](CScriptedSheet*) {
            EXPECT_EQ(TakeLog(), (Log { "first next", "first killactive", "skip init", "skip setactive" }));
            Press(ID_WIZNEXT);
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(TakeLog(), (Log { "skip next", "skip killactive", "last init", "last setactive" }));
            EXPECT_EQ(pSheet->GetActivePage(), &m_last);
            EXPECT_EQ(m_skipped.GetSafeHwnd(), nullptr);
            Press(ID_WIZBACK);
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(TakeLog(), (Log { "last back", "last killactive", "skip setactive" }));
            EXPECT_EQ(pSheet->GetActivePage(), &m_skip);
            Press(ID_WIZNEXT);
        },
        [&](CScriptedSheet*) {
            TakeLog();
            Press(ID_WIZFINISH);
        },
        [&](CScriptedSheet* pSheet) {
            EXPECT_EQ(TakeLog(), (Log { "last finish" }));
            EXPECT_EQ(pSheet->GetActivePage(), &m_last) << "a refused Finish keeps the wizard";
            m_last.m_bRefuseFinish = false;
            Press(ID_WIZFINISH);
        },
    };
    EXPECT_EQ(m_wizard.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(TakeLog(), (Log { "last finish" })) << "Finish applies nothing";
}

TEST_F(WizardTest, CancelEndsTheWizardWithIdCancel)
{
    m_wizard.steps = {
        [&](CScriptedSheet*) { PressKey(VK_ESCAPE); },
    };
    EXPECT_EQ(m_wizard.DoModal(), IDCANCEL);
    EXPECT_EQ(TakeLog().back(), "first reset");
}
