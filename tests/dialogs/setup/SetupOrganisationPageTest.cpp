// The set-up wizard's organisation page inside its sheet: the branches
// follow the usage page's choices, the user's edits stay while a branch
// stays, and the tree's own deletions reach the usage page's name list.

#include "dialogs/setup/CInstalacaoComputerUsage.h"
#include "dialogs/setup/CInstalacaoPropertySheet.h"

#include "frame/SetupResults.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/setup/SetupWizardTest.h"

#include "platform/controls/TreeViewControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class SetupOrganisationPageTest : public SetupWizardTest {
protected:
    // From the welcome page to the usage page, text documents chosen.
    static void GoToUsagePage(CDialogScript& script, SetupOrganisationPageTest& test)
    {
        script.Press(ID_WIZNEXT).Then(test.ClickCheckLine(IDC_DOC_TYPES, 0)).Press(ID_WIZNEXT).Press(ID_WIZNEXT);
    }
    // Checks the usage line with that text.
    std::function<void(HWND)> ChooseUsage(const CString& strUsage)
    {
        return [this, strUsage](HWND hDlg) {
            const std::vector<CString> usages = CTestDriver::Items(CTestDriver::FindChild(hDlg, IDC_SETUP_USAGES));
            for (std::size_t i = 0; i < usages.size(); ++i) {
                if (usages[i] == strUsage)
                    return ClickCheckLine(IDC_SETUP_USAGES, static_cast<int>(i))(hDlg);
            }
            ADD_FAILURE() << "no usage " << static_cast<LPCTSTR>(strUsage);
        };
    }
    static HWND Tree(HWND hDlg) { return CTestDriver::FindChild(hDlg, IDC_SETUP_TREE); }
    // Selects the item at path and gives the tree the focus.
    static std::function<void(HWND)> SelectItem(const std::vector<CString>& path)
    {
        return [path](HWND hDlg) {
            const HTREEITEM hItem = CTestDriver::TreeItem(Tree(hDlg), path);
            ASSERT_NE(hItem, nullptr) << static_cast<LPCTSTR>(path.back());
            ::SendMessage(Tree(hDlg), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem));
            ::SetFocus(Tree(hDlg));
        };
    }
    // Types into the label editor the tree has opened and ends the edit with nKey.
    std::function<void(HWND)> EditAndEnd(const CString& strText, UINT nKey)
    {
        return [this, strText, nKey](HWND hDlg) {
            ASSERT_NE(::SendMessage(Tree(hDlg), TVM_GETEDITCONTROL, 0, 0), 0) << "no label editor";
            ::SendMessage(CTestDriver::Focus(), EM_SETSEL, 0, -1);
            EXPECT_TRUE(m_driver.TypeText(strText));
            EXPECT_TRUE(m_driver.PressKey(nKey));
            m_driver.Pump();
        };
    }
    std::function<void(HWND)> ReadTree(Texts& tops, Texts& usageGroups, Texts& ownGroups, bool& bLinesAtRoot)
    {
        return [this, &tops, &usageGroups, &ownGroups, &bLinesAtRoot](HWND hDlg) {
            tops = TreeTexts(hDlg, IDC_SETUP_TREE, {});
            usageGroups.clear();
            ownGroups.clear();
            if (CTestDriver::TreeItem(Tree(hDlg), { Text(IDS_USAGE_BRANCH) }))
                usageGroups = TreeTexts(hDlg, IDC_SETUP_TREE, { Text(IDS_USAGE_BRANCH) });
            if (CTestDriver::TreeItem(Tree(hDlg), { Text(IDS_OWN_NAMES_BRANCH) }))
                ownGroups = TreeTexts(hDlg, IDC_SETUP_TREE, { Text(IDS_OWN_NAMES_BRANCH) });
            bLinesAtRoot = (::GetWindowLong(Tree(hDlg), GWL_STYLE) & TVS_LINESATROOT) != 0;
        };
    }
    // An own name's group as the English resources label it.
    static std::string OwnNameLabel(const char* pszName)
    {
        return std::string(pszName) + " " + std::string(Text(IDS_OWN_NAME_SUFFIX));
    }
    static bool Contains(const Texts& texts, const std::string& str)
    {
        return std::find(texts.begin(), texts.end(), str) != texts.end();
    }
};

} // namespace

TEST_F(SetupOrganisationPageTest, BranchesFollowTheUsageChoicesAndKeepTheEditsOfABranchThatStays)
{
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    struct Seen {
        Texts tops, usageGroups, ownGroups;
        bool bLinesAtRoot = false;
    } usageOnly, both, backAgain, otherUsage;
    const CString strOwnBranchUpper = CString(Text(IDS_OWN_NAMES_BRANCH)).MakeUpper();
    CDialogScript script;
    GoToUsagePage(script, *this);
    script.Check(IDC_SETUP_USE_USAGE).Then(ChooseUsage("Home")).Press(ID_WIZNEXT);
    script.Then(ReadTree(usageOnly.tops, usageOnly.usageGroups, usageOnly.ownGroups, usageOnly.bLinesAtRoot));
    // Alone in the tree, the usage branch still cannot take the other branch's name (in any case).
    script.Then(SelectItem({ Text(IDS_USAGE_BRANCH) }))
        .Press(IDC_SETUP_RENAME)
        .Then(EditAndEnd(strOwnBranchUpper, VK_RETURN));
    script.Press(ID_WIZBACK).Check(IDC_SETUP_USE_OWN_NAMES).Press(ID_WIZNEXT);
    script.Then(ReadTree(both.tops, both.usageGroups, both.ownGroups, both.bLinesAtRoot));
    // A new group under the usage branch, named and ended with Enter: the
    // edit ends, the wizard stays on the page.
    script.Then(SelectItem({ Text(IDS_USAGE_BRANCH) })).Press(IDC_SETUP_ADD).Then(EditAndEnd("Pets", VK_RETURN));
    // Esc ends a rename and keeps the name; the wizard stays too.
    script.Then(SelectItem({ Text(IDS_USAGE_BRANCH), "Health" }))
        .Press(IDC_SETUP_RENAME)
        .Then(EditAndEnd("Doctors", VK_ESCAPE));
    // The same usage again keeps the branch with its new group; another replaces it.
    script.Press(ID_WIZBACK).Then(ChooseUsage("Home")).Press(ID_WIZNEXT);
    script.Then(ReadTree(backAgain.tops, backAgain.usageGroups, backAgain.ownGroups, backAgain.bLinesAtRoot));
    script.Press(ID_WIZBACK).Then(ChooseUsage("Student")).Press(ID_WIZNEXT);
    script.Then(ReadTree(otherUsage.tops, otherUsage.usageGroups, otherUsage.ownGroups, otherUsage.bLinesAtRoot));
    script.Press(IDCANCEL);
    Answer(script);
    AnswerMessage(IDOK);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);

    EXPECT_EQ(usageOnly.tops, Texts { std::string(Text(IDS_USAGE_BRANCH)) });
    EXPECT_FALSE(usageOnly.bLinesAtRoot);
    ASSERT_EQ(m_messages.size(), 1u);
    CString strRefused;
    strRefused.Format(Text(IDS_BRANCH_NAME_TAKEN), static_cast<LPCTSTR>(Text(IDS_USAGE_BRANCH)),
        static_cast<LPCTSTR>(strOwnBranchUpper));
    EXPECT_EQ(m_messages[0], strRefused);
    EXPECT_EQ(both.tops.size(), 2u) << "the refused rename left the usage branch's name";
    EXPECT_TRUE(both.bLinesAtRoot);
    EXPECT_EQ(both.usageGroups, usageOnly.usageGroups);
    EXPECT_FALSE(both.ownGroups.empty());
    EXPECT_EQ(backAgain.tops, both.tops);
    Texts withPets = both.usageGroups;
    withPets.push_back("Pets");
    std::sort(withPets.begin(), withPets.end());
    EXPECT_EQ(backAgain.usageGroups, withPets);
    EXPECT_TRUE(Contains(backAgain.usageGroups, "Health")) << "Esc kept the name";
    EXPECT_FALSE(otherUsage.usageGroups.empty());
    EXPECT_FALSE(Contains(otherUsage.usageGroups, "Pets"));
    EXPECT_NE(otherUsage.usageGroups, both.usageGroups);
}

TEST_F(SetupOrganisationPageTest, AnOwnNameDeletedInTheTreeIsGoneFromTheUsagePageAndTheResults)
{
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    const std::string strAcme = OwnNameLabel("Acme");
    std::vector<CString> namesAfterBack;
    Texts ownGroups;
    CDialogScript script;
    GoToUsagePage(script, *this);
    script.Check(IDC_SETUP_USE_OWN_NAMES).Then([&sheet](HWND) {
        sheet.GetUsagePage().SetOwnNames({ "Acme", "Globex" });
    });
    script.Press(ID_WIZNEXT);
    // The tree's own Delete key, not the page's button.
    script.Then(SelectItem({ Text(IDS_OWN_NAMES_BRANCH), strAcme.c_str() })).Then([this](HWND) {
        EXPECT_TRUE(m_driver.PressKey(VK_DELETE));
    });
    script.Press(ID_WIZBACK).Then([&sheet, &namesAfterBack](HWND) {
        namesAfterBack = sheet.GetUsagePage().GetOwnNames();
    });
    script.Press(ID_WIZNEXT).Then([this, &ownGroups](HWND hDlg) {
        ownGroups = TreeTexts(hDlg, IDC_SETUP_TREE, { Text(IDS_OWN_NAMES_BRANCH) });
    });
    script.Press(ID_WIZNEXT).Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    Answer(script);
    AnswerMessage(IDYES);
    ASSERT_EQ(sheet.DoModal(), ID_WIZFINISH);

    EXPECT_EQ(namesAfterBack, std::vector<CString> { "Globex" });
    EXPECT_FALSE(Contains(ownGroups, strAcme));
    EXPECT_TRUE(Contains(ownGroups, OwnNameLabel("Globex")));
    ASSERT_TRUE(results.pCustomBranch);
    for (const auto& pChild : results.pCustomBranch->children)
        EXPECT_NE(std::string(pChild->strName), strAcme);
}

TEST_F(SetupOrganisationPageTest, TheLastUsageLineGivesTheGeneralGroupsAndWithoutAUsageFileItIsTheOnlyLine)
{
    Texts generalGroups;
    {
        CSetupResults results;
        CInstalacaoPropertySheet sheet(results);
        CDialogScript script;
        GoToUsagePage(script, *this);
        script.Check(IDC_SETUP_USE_USAGE).Then(ChooseUsage(Text(IDS_GENERAL_USAGE)));
        script.Press(ID_WIZNEXT).Then([this, &generalGroups](HWND hDlg) {
            generalGroups = TreeTexts(hDlg, IDC_SETUP_TREE, { Text(IDS_USAGE_BRANCH) });
        });
        script.Press(IDCANCEL);
        Answer(script);
        EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(generalGroups, (Texts { "Documents", "Letters", "Miscellaneous", "Pictures" }));

    // No usage file in the program folder nor where the program's files are installed.
    const ScopedVariable modulePath("ARCHIVORA_MODULE_PATH", Home().string());
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    std::vector<CString> usages;
    Texts ownGroups;
    CDialogScript script;
    GoToUsagePage(script, *this);
    script.Then([&usages](HWND hDlg) { usages = CTestDriver::Items(CTestDriver::FindChild(hDlg, IDC_SETUP_USAGES)); });
    script.Check(IDC_SETUP_USE_OWN_NAMES).Press(ID_WIZNEXT).Then([this, &ownGroups](HWND hDlg) {
        ownGroups = TreeTexts(hDlg, IDC_SETUP_TREE, { Text(IDS_OWN_NAMES_BRANCH) });
    });
    script.Press(IDCANCEL);
    AnswerMessage(IDOK); // shown as the wizard opens
    Answer(script);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(m_messages, std::vector<CString> { Text(IDS_NO_USAGE_FILE) });
    EXPECT_EQ(usages, std::vector<CString> { Text(IDS_GENERAL_USAGE) });
    EXPECT_TRUE(ownGroups.empty()) << "no head lines";
}

TEST_F(SetupOrganisationPageTest, TwoOwnNamesInOtherCaseShareAGroupThatStaysWhileEitherIsListed)
{
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    Texts withBoth;
    Texts withOne;
    CDialogScript script;
    GoToUsagePage(script, *this);
    script.Check(IDC_SETUP_USE_OWN_NAMES).Then([&sheet](HWND) {
        sheet.GetUsagePage().SetOwnNames({ "Acme", "acme" });
    });
    script.Press(ID_WIZNEXT).Then([this, &withBoth](HWND hDlg) {
        withBoth = TreeTexts(hDlg, IDC_SETUP_TREE, { Text(IDS_OWN_NAMES_BRANCH) });
    });
    script.Press(ID_WIZBACK).Then([&sheet](HWND) { sheet.GetUsagePage().SetOwnNames({ "acme" }); });
    script.Press(ID_WIZNEXT).Then([this, &withOne](HWND hDlg) {
        withOne = TreeTexts(hDlg, IDC_SETUP_TREE, { Text(IDS_OWN_NAMES_BRANCH) });
    });
    script.Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);

    EXPECT_EQ(std::count_if(withBoth.begin(), withBoth.end(),
                  [](const std::string& str) {
                      return CString(str.c_str()).CompareNoCase(OwnNameLabel("Acme").c_str()) == 0;
                  }),
        1);
    EXPECT_EQ(withOne, withBoth) << "the group of the name still listed stays";
}
