#include "ui/CDlgAnimatedProgress.h"

#include "platform/window/Dialog.h"
#include "resources/ResourceIds.h"
#include "tests/ui/UiTestSupport.h"

namespace {

class CDlgAnimatedProgressTest : public UiTest {
protected:
    BOOL Playing() const
    {
        auto* pAnimation = static_cast<CAnimateCtrl*>(m_progress.GetDlgItem(IDC_PROGRESS_ANIMATION));
        return pAnimation && pAnimation->IsPlaying();
    }
    void PressCancel(int nAnswer)
    {
        Driver().AnswerNextMessageBox(nAnswer);
        m_progress.SendMessage(WM_COMMAND, IDCANCEL, 0);
        Driver().Pump();
    }

    CDlgAnimatedProgress m_progress;
};

TEST_F(CDlgAnimatedProgressTest, CancelAsksAndOnlyYesSetsTheFlagWhileTheDialogStays)
{
    ASSERT_TRUE(m_progress.Show());
    EXPECT_TRUE(m_progress.IsWindowVisible());
    EXPECT_EQ(m_progress.GetParent(), nullptr) << "no owner";
    EXPECT_TRUE(Playing());

    PressCancel(IDNO);
    EXPECT_FALSE(m_progress.IsCancelled());
    EXPECT_TRUE(Playing()) << "No plays on";

    PressCancel(IDYES);
    EXPECT_TRUE(m_progress.IsCancelled());
    EXPECT_TRUE(m_progress.IsShown()) << "the caller closes it";
    EXPECT_FALSE(Playing());

    m_progress.Close();
    EXPECT_FALSE(m_progress.IsShown());
    EXPECT_FALSE(m_progress.IsCancelled());
}

TEST_F(CDlgAnimatedProgressTest, ShowingAgainStartsWithoutTheOldAnswer)
{
    ASSERT_TRUE(m_progress.Show());
    PressCancel(IDYES);
    ASSERT_TRUE(m_progress.IsCancelled());
    ASSERT_TRUE(m_progress.Show());
    EXPECT_FALSE(m_progress.IsCancelled());
    m_progress.Close();
    ASSERT_TRUE(m_progress.Show());
    EXPECT_TRUE(Playing());
    m_progress.Close();
}

} // namespace
