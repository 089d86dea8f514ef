// The set-up wizard's folder page: what its tree holds for each location
// mode, when it is filled again, and a fill the user stops.

#include "dialogs/setup/CInstalacaoFolder.h"

#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "frame/SetupResults.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/PopupChainPick.h"
#include "tests/dialogs/setup/SetupWizardTest.h"
#include "ui/CCheckTreeCtrl.h"

#include "platform/controls/PropertySheet.h"
#include "platform/window/Input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class SetupFolderPageTest : public SetupWizardTest {
protected:
    // A document on the network drive N:, at a path relative to its root.
    void WriteNetworkFile(const std::string& strRelative) const
    {
        const std::filesystem::path file = Root().parent_path() / "N" / strRelative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    }
    // The top items of the folder tree, and the folders below the first.
    struct CTreeShown {
        Texts tops;
        Texts firstFolders;
    };
    std::function<void(HWND)> Record(CTreeShown& shown)
    {
        return [this, &shown](HWND hDlg) {
            shown.tops = TreeTexts(hDlg, IDC_SETUP_FOLDER_TREE, {});
            ASSERT_FALSE(shown.tops.empty());
            shown.firstFolders = TreeTexts(hDlg, IDC_SETUP_FOLDER_TREE, { shown.tops[0].c_str() });
        };
    }
    static UINT StateOf(HWND hDlg, const std::vector<CString>& path)
    {
        HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
        return CTestDriver::TreeStateImage(hTree, CTestDriver::TreeItem(hTree, path));
    }
    static BOOL IsModePageShown(HWND hDlg)
    {
        HWND hPage = reinterpret_cast<HWND>(::SendMessage(hDlg, PSM_GETCURRENTPAGEHWND, 0, 0));
        return hPage && ::GetDlgItem(hPage, IDC_SETUP_FOLDER_MODE) != nullptr;
    }
};

/* Stopping a fill: a hook that, once the folder tree has taken a few items,
   presses a button, of the fill's progress dialog or of the wizard. */

struct CStopAfterInserts {
    HWND hTree { nullptr };
    CDlgAnimatedProgress* pProgress { nullptr }; // the progress dialog's Cancel, or
    HWND hWizard { nullptr };                    // the wizard's button nButton
    int nButton { IDCANCEL };
    int nInsertsLeft { 0 };
    int nInserted { 0 };
};
CStopAfterInserts* g_pStop = nullptr;

LRESULT CALLBACK StopAfterInserts(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto* pSent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && g_pStop && pSent->hwnd == g_pStop->hTree && pSent->message == TVM_INSERTITEM) {
        ++g_pStop->nInserted;
        if (--g_pStop->nInsertsLeft == 0) {
            // A button's click reaches its dialog as this command.
            HWND hDlg = g_pStop->pProgress ? g_pStop->pProgress->GetSafeHwnd() : g_pStop->hWizard;
            ::PostMessage(hDlg, WM_COMMAND, MAKEWPARAM(g_pStop->nButton, BN_CLICKED),
                reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, g_pStop->nButton)));
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// What the wizard showed after a fill stopped by a button, and after Next again.
struct CStoppedFill {
    int nDone { 0 };        // what the wizard ended with
    int nInserted { 0 };    // items the tree took before the fill stopped
    BOOL bStayed { FALSE }; // the mode page still shows
    int nItemsLeft { -1 };  // items in the tree after the stop
    BOOL bProgressShown { TRUE };
    std::vector<std::string> folders; // under drive C: after Next again
};

class SetupStoppedFillTest : public SetupFolderPageTest {
protected:
    static constexpr int FOLDER_COUNT = 24;
    static constexpr int INSERTS_BEFORE_STOP = 6;

    void SetUp() override
    {
        SetupFolderPageTest::SetUp();
        for (int n = 0; n < FOLDER_COUNT; ++n) {
            const std::string strFolder = "folder" + std::string(n < 10 ? "0" : "") + std::to_string(n);
            WriteFile(strFolder + "/a.txt");
            m_made.push_back(strFolder);
        }
    }
    // Runs the folder road; a button stops the first fill (nButton of the
    // progress dialog when bProgress, whose question is answered Yes, else of
    // the wizard), then Next fills again unless the wizard's Cancel ended it.
    CStoppedFill RunStoppedFill(BOOL bProgress, int nButton)
    {
        CSetupResults results;
        CInstalacaoPropertySheet sheet(results);
        CStopAfterInserts stop;
        CStoppedFill seen;
        HHOOK hHook = nullptr;
        CTreeShown whole;
        CDialogScript script;
        script.Press(ID_WIZNEXT).Then(ClickCheckLine(IDC_DOC_TYPES, 0)).Press(ID_WIZNEXT);
        script.Check(IDC_SETUP_FOLDER_MODE).Then([&](HWND hDlg) {
            CInstExplorerTreeCtrl& tree = sheet.GetFolderPage().GetTree();
            stop.hTree = tree.GetSafeHwnd();
            stop.pProgress = bProgress ? &tree.GetProgressDialog() : nullptr;
            stop.hWizard = hDlg;
            stop.nButton = nButton;
            stop.nInsertsLeft = INSERTS_BEFORE_STOP;
            g_pStop = &stop;
            hHook = SetWindowsHookEx(WH_CALLWNDPROC, StopAfterInserts, nullptr, 0);
            ASSERT_NE(hHook, nullptr);
        });
        // The wizard's Cancel ends it as the fill stops: there is nothing more to look at.
        script.Press(ID_WIZNEXT);
        const BOOL bEnds = !bProgress && nButton == IDCANCEL;
        if (!bEnds) {
            script.Then([&](HWND hDlg) {
                UnhookWindowsHookEx(hHook);
                hHook = nullptr;
                g_pStop = nullptr;
                seen.bStayed = IsModePageShown(hDlg);
                CInstExplorerTreeCtrl& tree = sheet.GetFolderPage().GetTree();
                seen.nItemsLeft = static_cast<int>(tree.GetCount());
                seen.bProgressShown = tree.GetProgressDialog().IsShown();
            });
            script.Press(ID_WIZNEXT).Then(Record(whole)).Press(IDCANCEL);
        }
        Answer(script);
        if (bProgress)
            AnswerMessage(IDYES);
        seen.nDone = static_cast<int>(sheet.DoModal());
        if (hHook)
            UnhookWindowsHookEx(hHook);
        g_pStop = nullptr;
        seen.nInserted = stop.nInserted;
        if (bEnds)
            seen.nItemsLeft = sheet.GetFolderPage().GetTree().IsInserted() ? 1 : 0;
        seen.folders = whole.firstFolders;
        return seen;
    }

    std::vector<std::string> m_made;
};

} // namespace

TEST_F(SetupFolderPageTest, TheTreeFollowsTheLocationModeAndIsFilledAgainOnlyWhenAChoiceChanged)
{
    WriteFile("docs/a.txt");
    WriteFile("music/b.odt");
    AddDrive('N', DRIVE_REMOTE);
    WriteNetworkFile("shared/c.txt");
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    ASSERT_TRUE(sheet.HasLocationPage());
    CTreeShown local;
    CTreeShown kept;
    CTreeShown moreTypes;
    CTreeShown both;
    CTreeShown network;
    UINT nKeptState = 0;
    CDialogScript script;
    script.Press(ID_WIZNEXT).Then(ClickCheckLine(IDC_DOC_TYPES, 0)).Press(ID_WIZNEXT);
    // Local drives only: drive C: and its folder of text documents.
    script.Press(ID_WIZNEXT).Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT);
    script.Then(Record(local)).Then(CheckFolder({ "docs" }));
    // Back and Next with nothing changed keep the tree and its check.
    script.Press(ID_WIZBACK).Press(ID_WIZNEXT).Then(Record(kept)).Then([&](HWND hDlg) {
        nKeptState = StateOf(hDlg, { kept.tops.at(0).c_str(), "docs" });
    });
    // Another document type lists its folders too.
    script.Press(ID_WIZBACK).Press(ID_WIZBACK).Press(ID_WIZBACK).Then(ClickCheckLine(IDC_DOC_TYPES, 1));
    script.Press(ID_WIZNEXT).Press(ID_WIZNEXT).Press(ID_WIZNEXT).Then(Record(moreTypes));
    // Both kinds: the network location joins drive C:.
    script.Press(ID_WIZBACK).Press(ID_WIZBACK).Check(IDC_SETUP_NETWORK);
    script.Then(
        [this](HWND hDlg) { PickInPopupChain(m_driver, CTestDriver::FindChild(hDlg, IDC_SETUP_ADD), { "N (n:)" }); });
    script.Press(ID_WIZNEXT).Press(ID_WIZNEXT).Then(Record(both));
    // Network locations only: drive C: is gone.
    script.Press(ID_WIZBACK).Press(ID_WIZBACK).Uncheck(IDC_SETUP_LOCAL_DRIVES);
    script.Press(ID_WIZNEXT).Press(ID_WIZNEXT).Then(Record(network)).Press(IDCANCEL);
    Answer(script);

    ASSERT_EQ(sheet.DoModal(), IDCANCEL);
    ASSERT_EQ(local.tops.size(), 1u);
    const std::string strDriveC = local.tops[0];
    EXPECT_EQ(local.firstFolders, Texts { "docs" });
    EXPECT_EQ(kept.firstFolders, Texts { "docs" });
    EXPECT_EQ(nKeptState, static_cast<UINT>(CCheckTreeCtrl::STATE_CHECKED)) << "the user's check is kept";
    EXPECT_EQ(moreTypes.firstFolders, (Texts { "docs", "music" }));
    ASSERT_EQ(both.tops.size(), 2u);
    EXPECT_EQ(both.tops[0], strDriveC);
    ASSERT_EQ(network.tops.size(), 1u);
    EXPECT_NE(network.tops[0], strDriveC);
    EXPECT_EQ(network.tops[0], both.tops[1]);
    EXPECT_EQ(network.firstFolders, Texts { "shared" });
}

TEST_F(SetupStoppedFillTest, TheProgressDialogsCancelAsksThenLeavesNoFolderAndNextFillsAgain)
{
    const CStoppedFill seen = RunStoppedFill(TRUE, IDCANCEL);
    EXPECT_EQ(m_messages, std::vector<CString> { Text(IDS_STOP_QUESTION) });
    EXPECT_GE(seen.nInserted, INSERTS_BEFORE_STOP) << "the fill was under way";
    EXPECT_TRUE(seen.bStayed) << "a stopped fill stays on the mode page";
    EXPECT_EQ(seen.nItemsLeft, 0) << "no half-filled tree";
    EXPECT_FALSE(seen.bProgressShown);
    EXPECT_EQ(seen.folders, m_made);
    EXPECT_EQ(seen.nDone, IDCANCEL);
}

TEST_F(SetupStoppedFillTest, TheWizardsBackStopsTheFillAtOnceAndStaysOnTheModePage)
{
    const CStoppedFill seen = RunStoppedFill(FALSE, ID_WIZBACK);
    EXPECT_TRUE(m_messages.empty()) << "no question";
    EXPECT_LT(seen.nInserted, FOLDER_COUNT) << "the fill stopped before its end";
    EXPECT_TRUE(seen.bStayed);
    EXPECT_EQ(seen.nItemsLeft, 0);
    EXPECT_EQ(seen.folders, m_made);
}

TEST_F(SetupStoppedFillTest, TheWizardsCancelStopsTheFillAndEndsTheWizard)
{
    const CStoppedFill seen = RunStoppedFill(FALSE, IDCANCEL);
    EXPECT_EQ(seen.nDone, IDCANCEL);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_LT(seen.nInserted, FOLDER_COUNT) << "the fill stopped before its end";
    EXPECT_EQ(seen.nItemsLeft, 0);
    EXPECT_TRUE(seen.folders.empty()) << "the wizard ended without filling again";
}
