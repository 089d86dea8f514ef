#include "catalog/CRunProgress.h"
#include "platform/framework/CWinThread.h"
#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "tests/ui/UiCatalogTest.h"
#include "ui/CDlgBackupProgress.h"
#include "ui/CDlgBusy.h"
#include "ui/CDlgCompactProgress.h"
#include "ui/CDlgMailboxProgress.h"
#include "ui/CDlgMaintenanceProgress.h"
#include "ui/CDlgOperationProgress.h"
#include "ui/CDlgTreeProgress.h"
#include "ui/CDlgUpdateProgress.h"
#include "ui/RunProgressDialogs.h"

namespace {

class ProgressDialogsTest : public UiCatalogTest {
protected:
    void SetUp() override
    {
        UiCatalogTest::SetUp();
        AfxSetThread(&m_thread);
        m_thread.m_pMainWnd = &m_pUi->m_host;
    }
    void TearDown() override
    {
        SetRunProgressFactory(nullptr);
        m_thread.m_pMainWnd = nullptr;
        AfxSetThread(nullptr);
        UiCatalogTest::TearDown();
    }

    // A click on the dialog's Cancel button, queued as the user's input is while
    // the work runs: only a pump delivers it.
    static void QueueCancelClick(HWND hDialog)
    {
        HWND hCancel = GetDlgItem(hDialog, IDCANCEL);
        ASSERT_NE(hCancel, nullptr);
        PostMessage(hCancel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessage(hCancel, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    static BOOL Playing(CDialog& dialog)
    {
        auto* pClip = static_cast<CAnimateCtrl*>(
            CWnd::FromHandlePermanent(GetDlgItem(dialog.GetSafeHwnd(), IDC_PROGRESS_ANIMATION)));
        return pClip && pClip->IsPlaying();
    }
    static RECT ScreenRect(HWND hWnd)
    {
        RECT rect {};
        GetWindowRect(hWnd, &rect);
        return rect;
    }
    static BOOL Shown(HWND hDialog, int nId) { return IsWindowVisible(GetDlgItem(hDialog, nId)); }

    CWinThread m_thread;
};

/***** The update dialog *****/

TEST_F(ProgressDialogsTest, UpdateStepStateChoosesTheMode)
{
    struct Case {
        int nKind;
        BOOL bFlag;
        int nMode;
    };
    for (const Case& c : { Case { 0, FALSE, CDlgUpdateProgress::MODE_NOT_SET }, Case { 0, TRUE, 2 },
             Case { 1, FALSE, 0 }, Case { 1, TRUE, 4 }, Case { 2, FALSE, 1 }, Case { 2, TRUE, 5 }, Case { 3, FALSE, 3 },
             Case { 3, TRUE, 6 } }) {
        CDlgUpdateProgress dialog;
        dialog.SetStepState(c.nKind, c.bFlag);
        EXPECT_EQ(dialog.GetMode(), c.nMode) << "kind " << c.nKind << " flag " << c.bFlag;
    }
}

TEST_F(ProgressDialogsTest, UpdateShowsTheStepsBarsFromTheTopAndShrinksToThem)
{
    struct Case {
        int nKind;
        BOOL bFlag;
        std::vector<CString> labels; // of the visible bars, top to bottom
    };
    CString strDrives, strNetwork, strStores;
    strDrives.LoadString(IDS_UPDATE_STEP_DRIVES);
    strNetwork.LoadString(IDS_UPDATE_STEP_NETWORK);
    strStores.LoadString(IDS_UPDATE_STEP_STORES);
    ASSERT_FALSE(strStores.IsEmpty());
    const int bars[] = { IDC_UPDATE_BAR_A, IDC_UPDATE_BAR_B, IDC_UPDATE_BAR_C };
    const int labels[] = { IDC_UPDATE_LABEL_A, IDC_UPDATE_LABEL_B, IDC_UPDATE_LABEL_C };
    int cyFull = 0;
    for (const Case& c : { Case { 3, TRUE, { strDrives, strNetwork, strStores } }, Case { 1, FALSE, { strDrives } },
             Case { 0, TRUE, { strStores } }, Case { 3, FALSE, { strDrives, strNetwork } },
             Case { 2, TRUE, { strNetwork, strStores } } }) {
        SCOPED_TRACE(testing::Message() << "kind " << c.nKind << " flag " << c.bFlag);
        CDlgUpdateProgress dialog;
        dialog.SetStepState(c.nKind, c.bFlag);
        ASSERT_TRUE(dialog.CreateAndShow(nullptr));
        HWND hDialog = dialog.GetSafeHwnd();
        const RECT whole = ScreenRect(hDialog);
        const int nShown = static_cast<int>(c.labels.size());
        for (int n = 0; n < 3; ++n) {
            EXPECT_EQ(Shown(hDialog, bars[n]), n < nShown) << "bar " << n;
            EXPECT_EQ(Shown(hDialog, labels[n]), n < nShown) << "label " << n;
            if (n < nShown) {
                EXPECT_EQ(CTestDriver::Text(GetDlgItem(hDialog, labels[n])), c.labels[n]);
            }
        }
        EXPECT_EQ(dialog.GetLowestBar(), dialog.GetStepBar(nShown - 1));
        EXPECT_EQ(dialog.GetStepBar(nShown), nullptr);
        if (nShown == 3) {
            cyFull = whole.bottom - whole.top;
        } else {
            const RECT lowest = ScreenRect(GetDlgItem(hDialog, bars[nShown - 1]));
            const RECT cancel = ScreenRect(GetDlgItem(hDialog, IDCANCEL));
            EXPECT_EQ(cancel.top, lowest.bottom + 12) << "the button sits under the lowest bar";
            EXPECT_EQ(whole.bottom - whole.top, lowest.bottom - whole.top + (cancel.bottom - cancel.top) + 24);
            EXPECT_LT(whole.bottom - whole.top, cyFull);
        }
        dialog.DestroyWindow();
    }
}

TEST_F(ProgressDialogsTest, UpdateWithoutModeKeepsTheTemplateAndSetsNoLabel)
{
    CDlgUpdateProgress dialog;
    ASSERT_TRUE(dialog.CreateAndShow(nullptr));
    for (int nId : { IDC_UPDATE_BAR_A, IDC_UPDATE_BAR_B, IDC_UPDATE_BAR_C })
        EXPECT_TRUE(Shown(dialog.GetSafeHwnd(), nId));
    EXPECT_TRUE(CTestDriver::Text(dialog.GetDlgItem(IDC_UPDATE_LABEL_A)->GetSafeHwnd()).IsEmpty());
    EXPECT_EQ(dialog.GetLowestBar(), dialog.GetStepBar(2));
    dialog.DestroyWindow();
}

TEST_F(ProgressDialogsTest, UpdateReportsEachStopOnceAndPlaysTheClipAgainAfterIt)
{
    CDlgUpdateProgress dialog;
    dialog.SetStepState(1, FALSE);
    ASSERT_TRUE(dialog.CreateAndShow(&m_pUi->m_host));
    EXPECT_TRUE(Playing(dialog));

    QueueCancelClick(dialog.GetSafeHwnd());
    EXPECT_TRUE(dialog.SetText("c:\\work\\a.txt")) << "the click arrived through the feeding call's pump";
    EXPECT_FALSE(Playing(dialog)) << "the stop halted the clip";
    EXPECT_TRUE(dialog.IsWindowVisible()) << "the owner ends the dialog, not Cancel";
    EXPECT_FALSE(dialog.SetText("c:\\work\\b.txt"));
    EXPECT_TRUE(Playing(dialog)) << "played again by the next call without a stop";

    QueueCancelClick(dialog.GetSafeHwnd());
    EXPECT_TRUE(dialog.PumpAndTestCancel());
    EXPECT_FALSE(dialog.PumpAndTestCancel());
    EXPECT_FALSE(Playing(dialog)) << "PumpAndTestCancel leaves the clip alone";
    dialog.StartAnimation();
    EXPECT_TRUE(Playing(dialog));
    dialog.DestroyWindow();
}

TEST_F(ProgressDialogsTest, UpdateLooksAsItsReferencesWithOneTwoAndThreeBars)
{
    struct Case {
        int nKind;
        BOOL bFlag;
        const char* pszReference;
    };
    for (const Case& c : { Case { 1, FALSE, "progress_update_one_bar.png" },
             Case { 3, FALSE, "progress_update_two_bars.png" }, Case { 3, TRUE, "progress_update_three_bars.png" } }) {
        SCOPED_TRACE(c.pszReference);
        CDlgUpdateProgress dialog;
        dialog.SetStepState(c.nKind, c.bFlag);
        ASSERT_TRUE(dialog.CreateAndShow(nullptr));
        dialog.GetStepBar(0)->SetRange32(0, 4);
        dialog.GetStepBar(0)->SetPos(1);
        dialog.SetText("c:\\documents\\letters");
        dialog.StartAnimation();
        dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        m_pUi->ExpectWindowMatches(dialog.GetSafeHwnd(), c.pszReference);
        dialog.DestroyWindow();
    }
}

TEST_F(ProgressDialogsTest, StatusShowsAPathShortenedToItsWidth)
{
    CDlgUpdateProgress dialog;
    ASSERT_TRUE(dialog.CreateAndShow(nullptr));
    CString strLong = "c:\\";
    for (int n = 0; n < 40; ++n)
        strLong += "folder\\";
    strLong += "name.txt";
    dialog.SetText(strLong);
    const CString strShown = CTestDriver::Text(dialog.GetDlgItem(IDC_PROGRESS_TEXT)->GetSafeHwnd());
    EXPECT_LT(strShown.GetLength(), strLong.GetLength());
    EXPECT_EQ(strShown.Left(3), "c:\\");
    EXPECT_EQ(strShown.Right(8), "name.txt");
    dialog.SetText("c:\\a.txt");
    EXPECT_EQ(CTestDriver::Text(dialog.GetDlgItem(IDC_PROGRESS_TEXT)->GetSafeHwnd()), "c:\\a.txt");
    dialog.DestroyWindow();
}

/***** The dialogs that confirm a stop *****/

TEST_F(ProgressDialogsTest, MaintenanceStopIsConfirmedAndNoLeavesItRunning)
{
    CDlgMaintenanceProgress dialog;
    ASSERT_TRUE(dialog.CreateAndShow(&m_pUi->m_host));
    int nLow = -1, nHigh = -1;
    dialog.GetBar().GetRange(nLow, nHigh);
    EXPECT_EQ(nLow, 0);
    EXPECT_EQ(nHigh, 0) << "the owner sets the real range";
    dialog.GetBar().SetRange32(0, 10);
    dialog.GetBar().SetStep(1);

    m_pUi->m_driver.AnswerNextMessageBox(IDNO);
    QueueCancelClick(dialog.GetSafeHwnd());
    dialog.StepIt();
    EXPECT_FALSE(dialog.IsCancelled());
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(dialog.GetBar().GetPos(), 1);

    dialog.SetText("c:\\work");
    EXPECT_EQ(CTestDriver::Text(dialog.GetDlgItem(IDC_OPERATION_STATUS)->GetSafeHwnd()), "c:\\work");
    m_pUi->m_driver.AnswerNextMessageBox(IDYES);
    QueueCancelClick(dialog.GetSafeHwnd());
    dialog.SetText("c:\\other");
    EXPECT_FALSE(dialog.IsCancelled()) << "SetText does not pump";
    dialog.StepIt();
    EXPECT_TRUE(dialog.IsCancelled());
    EXPECT_FALSE(dialog.IsWindowVisible()) << "Yes ends the dialog";
    dialog.DestroyWindow();
}

TEST_F(ProgressDialogsTest, OperationBarSpansTheItemsAndSetTextPumps)
{
    CDlgOperationProgress dialog;
    dialog.SetItemTexts({ "a", "b", "c", "d" });
    ASSERT_TRUE(dialog.CreateAndShow(&m_pUi->m_host));
    int nLow = -1, nHigh = -1;
    dialog.GetBar().GetRange(nLow, nHigh);
    EXPECT_EQ(nLow, 0);
    EXPECT_EQ(nHigh, 3);

    m_pUi->m_driver.AnswerNextMessageBox(IDNO);
    QueueCancelClick(dialog.GetSafeHwnd());
    dialog.SetText("c:\\a");
    EXPECT_FALSE(dialog.IsCancelled());
    m_pUi->m_driver.AnswerNextMessageBox(IDYES);
    QueueCancelClick(dialog.GetSafeHwnd());
    dialog.SetText("c:\\b");
    EXPECT_TRUE(dialog.IsCancelled());
    dialog.DestroyWindow();
}

/***** The tree search dialog *****/

TEST_F(ProgressDialogsTest, TreeShowsTheNodeAndTheCountAndReportsAStopOnce)
{
    CDlgTreeProgress dialog;
    ASSERT_TRUE(dialog.CreateAndShow(&m_pUi->m_host));
    std::unique_ptr<CNodeRec> pAlpha = Node(*m_pCatalog, m_tree.alpha);
    EXPECT_FALSE(dialog.SetNode(pAlpha.get()));
    ASSERT_NE(dialog.GetNodePath().GetNode(), nullptr);
    EXPECT_EQ(dialog.GetNodePath().GetNode()->GetRef(), m_tree.alpha);
    dialog.SetCount(42);
    EXPECT_EQ(CTestDriver::Text(dialog.GetDlgItem(IDC_TREE_PROGRESS_COUNT)->GetSafeHwnd()), "42");

    QueueCancelClick(dialog.GetSafeHwnd());
    std::unique_ptr<CNodeRec> pBeta = Node(*m_pCatalog, m_tree.beta);
    EXPECT_TRUE(dialog.SetNode(pBeta.get()));
    EXPECT_FALSE(Playing(dialog));
    EXPECT_FALSE(dialog.SetNode(pAlpha.get()));
    EXPECT_TRUE(Playing(dialog));
    dialog.DestroyWindow();
}

/***** The mailbox, backup, busy and compact dialogs *****/

// The mailbox and backup dialogs feed alike: SetText reports a stop once and
// plays the clip again after it.
template<typename TDialog> void ExpectTextFeedingReportsEachStopOnce(TDialog& dialog, CWnd* pOwner)
{
    ASSERT_TRUE(dialog.CreateAndShow(pOwner));
    EXPECT_TRUE(IsWindow(GetDlgItem(dialog.GetSafeHwnd(), IDC_PROGRESS_BAR)));
    dialog.GetBar().SetRange32(0, 5);
    EXPECT_FALSE(dialog.SetText("c:\\mail\\inbox"));
    EXPECT_TRUE(dialog.IsAnimationPlaying());
    dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(dialog.IsAnimationPlaying());
    EXPECT_TRUE(dialog.SetText("c:\\mail\\outbox"));
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_FALSE(dialog.SetText("c:\\mail\\sent"));
    EXPECT_TRUE(dialog.IsAnimationPlaying());
    EXPECT_EQ(CTestDriver::Text(dialog.GetDlgItem(IDC_PROGRESS_TEXT)->GetSafeHwnd()), "c:\\mail\\sent");
    dialog.DestroyWindow();
}

TEST_F(ProgressDialogsTest, MailboxAndBackupReportEachStopOnce)
{
    {
        CDlgMailboxProgress mailbox;
        ExpectTextFeedingReportsEachStopOnce(mailbox, &m_pUi->m_host);
    }
    {
        CDlgBackupProgress backup;
        ExpectTextFeedingReportsEachStopOnce(backup, &m_pUi->m_host);
    }
}

TEST_F(ProgressDialogsTest, BusyCancelShowsNothingUntilTheNextText)
{
    CDlgBusy dialog;
    ASSERT_TRUE(dialog.CreateAndShow(&m_pUi->m_host));
    std::unique_ptr<CNodeRec> pGamma = Node(*m_pCatalog, m_tree.gamma);
    EXPECT_EQ(dialog.SetEntry(pGamma.get()), 0);
    ASSERT_NE(dialog.GetNodeButton().GetNode(), nullptr);
    EXPECT_EQ(dialog.GetNodeButton().GetNode()->GetRef(), m_tree.gamma);

    dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    m_pUi->m_driver.Pump();
    EXPECT_TRUE(dialog.IsWindowVisible()) << "no visible effect";
    EXPECT_TRUE(dialog.IsStopPending());
    EXPECT_TRUE(dialog.SetText("c:\\docs\\a.txt"));
    EXPECT_FALSE(dialog.SetText("c:\\docs\\b.txt"));
    EXPECT_EQ(CTestDriver::Text(dialog.GetDlgItem(IDC_BUSY_STATUS)->GetSafeHwnd()), "c:\\docs\\b.txt");
    dialog.DestroyWindow();
}

TEST_F(ProgressDialogsTest, CompactShowsBothFilesAndTheNodeAndReportsAStopOnce)
{
    CDlgCompactProgress dialog;
    ASSERT_TRUE(dialog.CreateAndShow(&m_pUi->m_host));
    dialog.GetSecondBar().SetRange32(0, 4);
    dialog.GetSecondBar().SetStep(2);
    dialog.GetSecondBar().StepIt();
    EXPECT_EQ(SendMessage(GetDlgItem(dialog.GetSafeHwnd(), IDC_PROGRESS_BAR2), PBM_GETPOS, 0, 0), 2);
    EXPECT_EQ(SendMessage(GetDlgItem(dialog.GetSafeHwnd(), IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0), 0);

    // Each picture shows its file on the face colour; the magenta mask never shows.
    dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (int nId : { IDC_COMPACT_SOURCE_IMAGE, IDC_COMPACT_TARGET_IMAGE }) {
        HWND hImage = GetDlgItem(dialog.GetSafeHwnd(), nId);
        RECT client {};
        GetClientRect(hImage, &client);
        int nDrawn = 0;
        int nMask = 0;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x) {
                const COLORREF cr = CUiHarness::Pixel(hImage, x, y);
                nDrawn += cr == RGB(0, 0, 0);
                nMask += cr == RGB(0xFF, 0x00, 0xFF);
            }
        EXPECT_GT(nDrawn, 0) << "picture " << nId;
        EXPECT_EQ(nMask, 0) << "picture " << nId;
    }

    std::unique_ptr<CNodeRec> pBeta = Node(*m_pCatalog, m_tree.beta);
    EXPECT_FALSE(dialog.SetNode(pBeta.get()));
    EXPECT_EQ(dialog.GetNodePath().GetNode()->GetRef(), m_tree.beta);
    QueueCancelClick(dialog.GetSafeHwnd());
    EXPECT_TRUE(dialog.SetNode(pBeta.get()));
    EXPECT_FALSE(dialog.PumpAndTestCancel());
    dialog.DestroyWindow();
}

/***** The catalog's runs through the installed factory *****/

// The top-level window of this thread titled pszTitle.
HWND WindowTitled(LPCTSTR pszTitle)
{
    return FindWindow(nullptr, pszTitle);
}

TEST_F(ProgressDialogsTest, EachRunKindOpensItsDialogOverTheMainWindowAndTakesItDown)
{
    InstallRunProgressDialogs();
    for (ERunProgressKind eKind : { ERunProgressKind::Update, ERunProgressKind::Maintenance,
             ERunProgressKind::Operation, ERunProgressKind::Tree }) {
        SCOPED_TRACE(static_cast<int>(eKind));
        std::unique_ptr<CRunProgress> pProgress = CreateRunProgress(eKind);
        pProgress->SetTitle("Run under test");
        HWND hDialog = WindowTitled("Run under test");
        ASSERT_NE(hDialog, nullptr);
        EXPECT_TRUE(IsWindowVisible(hDialog));
        EXPECT_EQ(GetWindow(hDialog, GW_OWNER), m_pUi->m_host.GetSafeHwnd());
        pProgress->SetRange(CRunProgress::BAR_A, 0, 4);
        pProgress->SetStep(CRunProgress::BAR_A, 2);
        pProgress->StepIt(CRunProgress::BAR_A);
        const int nBarId = eKind == ERunProgressKind::Update ? IDC_UPDATE_BAR_A : IDC_PROGRESS_BAR;
        EXPECT_EQ(SendMessage(GetDlgItem(hDialog, nBarId), PBM_GETPOS, 0, 0), 2);
        pProgress.reset();
        EXPECT_FALSE(IsWindow(hDialog));
    }
}

TEST_F(ProgressDialogsTest, UpdateRunNamesTheVisibleBarsFromTheTop)
{
    InstallRunProgressDialogs();
    CRunProgressSetup setup;
    setup.nStepKind = 2; // network only
    setup.bStepFlag = TRUE;
    std::unique_ptr<CRunProgress> pProgress = CreateRunProgress(ERunProgressKind::Update, nullptr, setup);
    pProgress->SetTitle("Update under test");
    HWND hDialog = WindowTitled("Update under test");
    ASSERT_NE(hDialog, nullptr);
    pProgress->SetRange(CRunProgress::BAR_B, 0, 10);
    pProgress->SetStep(CRunProgress::BAR_B, 3);
    pProgress->StepIt(CRunProgress::BAR_B);
    pProgress->SetRange(CRunProgress::BAR_C, 0, 10); // hidden: nothing happens
    pProgress->StepIt(CRunProgress::BAR_C);
    EXPECT_EQ(SendMessage(GetDlgItem(hDialog, IDC_UPDATE_BAR_B), PBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(SendMessage(GetDlgItem(hDialog, IDC_UPDATE_BAR_A), PBM_GETPOS, 0, 0), 0);
}

// A long run in the user-interface thread: its units of work feed the dialog,
// and a click on Cancel queued midway stops it at the next unit, while the
// dialog keeps painting.
TEST_F(ProgressDialogsTest, LongRunStaysResponsiveAndStopsAtTheNextUnit)
{
    InstallRunProgressDialogs();
    CRunProgressSetup setup;
    setup.nStepKind = 1;
    std::unique_ptr<CRunProgress> pProgress = CreateRunProgress(ERunProgressKind::Update, nullptr, setup);
    pProgress->SetTitle("Long run");
    HWND hDialog = WindowTitled("Long run");
    ASSERT_NE(hDialog, nullptr);
    pProgress->SetRange(CRunProgress::BAR_A, 0, 100);
    pProgress->SetStep(CRunProgress::BAR_A, 1);
    int nDone = 0;
    for (int n = 0; n < 100; ++n) {
        if (n == 30) {
            InvalidateRect(hDialog, nullptr, TRUE);
            QueueCancelClick(hDialog);
        }
        CString strText;
        strText.Format("c:\\data\\file%d.txt", n);
        if (pProgress->SetText(strText))
            break;
        if (n == 30)
            ADD_FAILURE() << "the stop was not seen";
        RECT update {};
        EXPECT_FALSE(GetUpdateRect(hDialog, &update, FALSE)) << "painted at unit " << n;
        pProgress->StepIt(CRunProgress::BAR_A);
        ++nDone;
    }
    EXPECT_EQ(nDone, 30);
    EXPECT_EQ(SendMessage(GetDlgItem(hDialog, IDC_UPDATE_BAR_A), PBM_GETPOS, 0, 0), 30);
}

TEST_F(ProgressDialogsTest, ConfirmedStopOfAnOperationRunIsReadThroughIsCancelled)
{
    InstallRunProgressDialogs();
    CRunProgressSetup setup;
    setup.itemTexts = { "one", "two" };
    std::unique_ptr<CRunProgress> pProgress = CreateRunProgress(ERunProgressKind::Operation, nullptr, setup);
    pProgress->SetTitle("Operation under test");
    HWND hDialog = WindowTitled("Operation under test");
    ASSERT_NE(hDialog, nullptr);
    m_pUi->m_driver.AnswerNextMessageBox(IDYES);
    QueueCancelClick(hDialog);
    EXPECT_FALSE(pProgress->SetText("c:\\one")) << "a confirmed stop is not a stop request";
    EXPECT_TRUE(pProgress->IsCancelled());
}

} // namespace
