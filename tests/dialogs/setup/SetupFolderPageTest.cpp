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
   presses the Cancel button of the fill's progress dialog. */

struct CStopAfterInserts {
    HWND hTree { nullptr };
    CDlgAnimatedProgress* pProgress { nullptr };
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
            HWND hProgress = g_pStop->pProgress->GetSafeHwnd();
            ::PostMessage(hProgress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                reinterpret_cast<LPARAM>(::GetDlgItem(hProgress, IDCANCEL)));
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

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

TEST_F(SetupFolderPageTest, AStoppedFillLeavesNoFolderAndTheNextFillListsThemAll)
{
    constexpr int FOLDER_COUNT = 24;
    Texts made;
    for (int n = 0; n < FOLDER_COUNT; ++n) {
        const std::string strFolder = "folder" + std::string(n < 10 ? "0" : "") + std::to_string(n);
        WriteFile(strFolder + "/a.txt");
        made.push_back(strFolder);
    }
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    CStopAfterInserts stop;
    HHOOK hHook = nullptr;
    BOOL bStayed = FALSE;
    int nItemsAfterStop = -1;
    BOOL bProgressShown = TRUE;
    CTreeShown whole;
    CDialogScript script;
    script.Press(ID_WIZNEXT).Then(ClickCheckLine(IDC_DOC_TYPES, 0)).Press(ID_WIZNEXT);
    script.Check(IDC_SETUP_FOLDER_MODE).Then([&](HWND) {
        CInstExplorerTreeCtrl& tree = sheet.GetFolderPage().GetTree();
        stop.hTree = tree.GetSafeHwnd();
        stop.pProgress = &tree.GetProgressDialog();
        stop.nInsertsLeft = 6;
        g_pStop = &stop;
        hHook = SetWindowsHookEx(WH_CALLWNDPROC, StopAfterInserts, nullptr, 0);
        ASSERT_NE(hHook, nullptr);
    });
    script.Press(ID_WIZNEXT).Then([&](HWND hDlg) {
        UnhookWindowsHookEx(hHook);
        g_pStop = nullptr;
        bStayed = IsModePageShown(hDlg);
        CInstExplorerTreeCtrl& tree = sheet.GetFolderPage().GetTree();
        nItemsAfterStop = static_cast<int>(tree.GetCount());
        bProgressShown = tree.GetProgressDialog().IsShown();
    });
    // Next again fills the tree from the start.
    script.Press(ID_WIZNEXT).Then(Record(whole)).Press(IDCANCEL);
    Answer(script);
    AnswerMessage(IDYES);

    ASSERT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(m_messages, std::vector<CString> { Text(IDS_STOP_QUESTION) });
    EXPECT_GE(stop.nInserted, 6) << "the fill was under way";
    EXPECT_TRUE(bStayed) << "a stopped fill stays on the mode page";
    EXPECT_EQ(nItemsAfterStop, 0) << "no half-filled tree";
    EXPECT_FALSE(bProgressShown);
    EXPECT_EQ(whole.firstFolders, made);
}
