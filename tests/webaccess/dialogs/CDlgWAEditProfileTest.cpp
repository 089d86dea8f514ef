#include "webaccess/dialogs/CDlgWAEditProfile.h"

#include "platform/controls/PropertySheet.h"
#include "platform/testing/DialogScript.h"
#include "resources/ResourceIds.h"
#include "tests/webaccess/dialogs/ProfileDialogTest.h"
#include "webaccess/profiles/CWASettings.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

class CDlgWAEditProfileTest : public ProfileDialogTest {
protected:
    void SetUp() override
    {
        ProfileDialogTest::SetUp();
        CString strDefault;
        strDefault.LoadString(IDS_WA_DEFAULT_PROFILE);
        auto& profiles = m_site.m_settings.m_profiles;
        profiles.push_back(Profile(strDefault, "owner"));
        profiles.push_back(Profile("Friends", "fr1"));
        profiles.push_back(Profile("Family", "fam", 0));
    }

    HWND List(HWND hDlg) const { return GetDlgItem(hDlg, IDC_WA_PROFILE_LIST); }
    // Selects a row as the keyboard does, leaving its check alone (the
    // driver's click on a row lands on its check box).
    CDialogScript& SelectRow(CDialogScript& script, int nRow)
    {
        return script.Then([this, nRow](HWND hDlg) {
            SendMessage(List(hDlg), LB_SETCURSEL, static_cast<WPARAM>(nRow), 0);
            SendMessage(
                hDlg, WM_COMMAND, MAKEWPARAM(IDC_WA_PROFILE_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(List(hDlg)));
        });
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& pProfile : m_site.m_settings.m_profiles)
            names.emplace_back(static_cast<LPCTSTR>(pProfile->GetName()));
        return names;
    }

    // The wizard's script for the profile of the selected row (or a new one):
    // the name page's fields as given, then the groups checked by name (none:
    // every group), then Finish.
    CDialogScript Wizard(const char* pszName, const char* pszPassword, const std::vector<CString>& groups)
    {
        CDialogScript wizard;
        if (pszName)
            wizard.SetText(IDC_WA_PROFILE_NAME, pszName);
        wizard.SetText(IDC_WA_PROFILE_PASSWORD, pszPassword).SetText(IDC_WA_PROFILE_CONFIRM, pszPassword);
        wizard.Press(ID_WIZNEXT);
        if (groups.empty()) {
            wizard.Check(IDC_WA_ALL_GROUPS);
        } else {
            wizard.Check(IDC_WA_CHOSEN_GROUPS).Press(IDC_WA_UNCHECK_ALL);
            wizard.Then([this, groups](HWND hSheet) {
                HWND hTree = CTestDriver::FindChild(hSheet, IDC_WA_GROUP_TREE);
                for (const CString& strGroup : groups)
                    EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, CTestDriver::TreeItem(hTree, { strGroup })));
            });
        }
        return std::move(wizard.Press(ID_WIZNEXT).Press(ID_WIZFINISH));
    }

    const CWAProfiles& Stored(size_t nIndex) const { return *m_site.m_settings.m_profiles.at(nIndex); }
};

TEST_F(CDlgWAEditProfileTest, OkNeedsACheckedRowAndStoresTheChecksInListOrder)
{
    std::vector<int> states;
    CDialogScript script;
    script.Then([&](HWND hDlg) { states = CTestDriver::CheckListStates(List(hDlg)); });
    script.Then([this](HWND hDlg) {
        m_driver.ClickCheckListBox(List(hDlg), 0);
        m_driver.ClickCheckListBox(List(hDlg), 1);
    });
    script.Press(IDOK);
    script.Then([this](HWND hDlg) { m_driver.ClickCheckListBox(List(hDlg), 2); }).Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    AnswerMessageBox();
    CDlgWAEditProfile dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(states, (std::vector<int> { 1, 1, 0 }));
    EXPECT_EQ(m_messages, (std::vector<std::string> { Loaded(IDS_WEB_PROFILE_NONE_ENABLED) }));
    ASSERT_EQ(Names().size(), 3U);
    EXPECT_FALSE(Stored(0).IsEnabled());
    EXPECT_FALSE(Stored(1).IsEnabled());
    EXPECT_TRUE(Stored(2).IsEnabled());
}

TEST_F(CDlgWAEditProfileTest, AFailedSaveIsReportedAndTheChecksStayInMemory)
{
    // A folder where the settings file's next version is written makes every save fail.
    std::filesystem::create_directories(Home() / "settings" / "CurrentUser.reg.tmp");
    CDialogScript script;
    script.Then([this](HWND hDlg) { m_driver.ClickCheckListBox(List(hDlg), 2); }).Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    AnswerMessageBox();
    CDlgWAEditProfile dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_messages, (std::vector<std::string> { Loaded(IDS_SETTINGS_NOT_SAVED) }));
    ASSERT_EQ(Names().size(), 3U);
    EXPECT_TRUE(Stored(2).IsEnabled());
}

TEST_F(CDlgWAEditProfileTest, TheDefaultProfileStaysAndCancelKeepsEveryProfile)
{
    BOOL bDeleteDefault = TRUE;
    BOOL bDeleteOther = FALSE;
    std::vector<CString> rows;
    CDialogScript script;
    SelectRow(script, 0).Then(
        [&](HWND hDlg) { bDeleteDefault = CTestDriver::IsEnabled(GetDlgItem(hDlg, IDC_WA_DELETE_PROFILE)); });
    SelectRow(script, 1).Then(
        [&](HWND hDlg) { bDeleteOther = CTestDriver::IsEnabled(GetDlgItem(hDlg, IDC_WA_DELETE_PROFILE)); });
    script.Press(IDC_WA_DELETE_PROFILE).Then([&](HWND hDlg) { rows = CTestDriver::Items(List(hDlg)); });
    script.Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(script));
    CDlgWAEditProfile dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(bDeleteDefault);
    EXPECT_TRUE(bDeleteOther);
    EXPECT_EQ(rows.size(), 2U);
    EXPECT_EQ(Names().size(), 3U) << "Cancel writes nothing";
}

TEST_F(CDlgWAEditProfileTest, TheDefaultProfilesWizardChangesOnlyThePasswordWhichALoginCanCarry)
{
    CDialogScript script;
    SelectRow(script, 0).Press(IDC_WA_CHANGE_PROFILE).Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    std::vector<BOOL> enabled;
    std::string strTyped;
    const auto recordEnabled = [&enabled](std::vector<int> ids) {
        return [&enabled, ids = std::move(ids)](HWND hSheet) {
            HWND hPage = reinterpret_cast<HWND>(::SendMessage(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
            for (int nId : ids)
                enabled.push_back(CTestDriver::IsEnabled(::GetDlgItem(hPage, nId)));
        };
    };
    CDialogScript wizard;
    wizard.Then(recordEnabled({ IDC_WA_PROFILE_NAME, IDC_WA_PROFILE_PASSWORD }));
    // Typed: 20 characters, of which a login carries 15.
    wizard.Then([&](HWND hSheet) {
        for (int nId : { IDC_WA_PROFILE_PASSWORD, IDC_WA_PROFILE_CONFIRM }) {
            HWND hEdit = CTestDriver::FindChild(hSheet, nId);
            ::SetFocus(hEdit);
            ::SendMessage(hEdit, EM_SETSEL, 0, -1);
            EXPECT_TRUE(m_driver.TypeText("abcdefghijklmnopqrst"));
            strTyped = static_cast<LPCTSTR>(CTestDriver::Text(hEdit));
        }
    });
    wizard.Press(ID_WIZNEXT).Then(recordEnabled({ IDC_WA_ALL_GROUPS, IDC_WA_CHOSEN_GROUPS }));
    wizard.Press(ID_WIZNEXT).Then(recordEnabled({ IDC_WA_MAY_UPLOAD, IDC_WA_MAY_DOWNLOAD }));
    wizard.Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(wizard));
    CDlgWAEditProfile dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(enabled, (std::vector<BOOL> { FALSE, TRUE, FALSE, FALSE, FALSE, FALSE }));
    EXPECT_EQ(strTyped, "abcdefghijklmno");
    // A changed row goes back at the end of the list.
    ASSERT_EQ(Names().back(), Loaded(IDS_WA_DEFAULT_PROFILE));
    EXPECT_EQ(std::string(Stored(Names().size() - 1).GetPassword()), "abcdefghijklmno");
}

TEST_F(CDlgWAEditProfileTest, AChangedProfileIsCheckedAgainAndLosesTheGroupsUncheckedSinceAsCancelledKeepsItsCheck)
{
    CDialogScript script;
    std::vector<int> afterCancel;
    SelectRow(script, 2).Press(IDC_WA_CHANGE_PROFILE); // Family, cancelled
    script.Then([&](HWND hDlg) { afterCancel = CTestDriver::CheckListStates(List(hDlg)); });
    SelectRow(script, 2).Press(IDC_WA_CHANGE_PROFILE); // Family, Projects only
    SelectRow(script, 2).Press(IDC_WA_CHANGE_PROFILE); // Family, Archive instead
    std::vector<int> states;
    script.Then([&](HWND hDlg) { states = CTestDriver::CheckListStates(List(hDlg)); }).Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    CDialogScript cancel;
    cancel.Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(cancel));
    m_driver.AnswerNextDialog(Wizard(nullptr, "fam2", { "Projects" }));
    m_driver.AnswerNextDialog(Wizard(nullptr, "fam3", { "Archive" }));
    CDlgWAEditProfile dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(afterCancel, (std::vector<int> { 1, 1, 0 }));
    EXPECT_EQ(states, (std::vector<int> { 1, 1, 1 }));
    const CWAProfiles& family = Stored(2);
    EXPECT_EQ(std::string(family.GetName()), "Family");
    EXPECT_EQ(std::string(family.GetPassword()), "fam3");
    EXPECT_TRUE(family.IsEnabled());
    const CWAGroupRightsMap& rights = family.GetGroupRights();
    WORD nValue = 0;
    EXPECT_EQ(rights.GetCount(), 1);
    EXPECT_TRUE(rights.Lookup({ static_cast<DWORD>(m_archive.nBlock), static_cast<DWORD>(m_archive.nSlot) }, nValue));
}

TEST_F(CDlgWAEditProfileTest, TheNamePageKeepsNamesAndPasswordsUniqueCaseSensitively)
{
    CDialogScript script;
    script.Press(IDC_WA_NEW_PROFILE).Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    CDialogScript wizard;
    const auto next = [&wizard](const char* pszName, const char* pszPassword, const char* pszConfirmation) {
        wizard.SetText(IDC_WA_PROFILE_NAME, pszName)
            .SetText(IDC_WA_PROFILE_PASSWORD, pszPassword)
            .SetText(IDC_WA_PROFILE_CONFIRM, pszConfirmation)
            .Press(ID_WIZNEXT);
    };
    next("", "x", "x");
    next("Friends", "x", "x");
    next("friends", "", "");
    next("friends", "fr1", "fr1");
    next("friends", "FR1", "fr1");
    next("friends", "FR1", "FR1");
    wizard.Check(IDC_WA_CHOSEN_GROUPS).Press(IDC_WA_UNCHECK_ALL).Press(ID_WIZNEXT);
    wizard.Check(IDC_WA_ALL_GROUPS).Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    m_driver.AnswerNextDialog(std::move(wizard));
    for (int i = 0; i < 6; ++i)
        AnswerMessageBox();
    CDlgWAEditProfile dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_messages,
        (std::vector<std::string> { Loaded(IDS_WEB_PROFILE_NO_NAME), Loaded(IDS_WEB_PROFILE_NAME_TAKEN),
            Loaded(IDS_WEB_PROFILE_NO_PASSWORD), Loaded(IDS_WEB_PROFILE_PASSWORD_TAKEN),
            Loaded(IDS_WA_PASSWORDS_DIFFER), Loaded(IDS_WEB_PROFILE_NO_GROUP) }));
    ASSERT_EQ(Names().size(), 4U);
    EXPECT_EQ(Names()[3], "friends");
    EXPECT_TRUE(Stored(3).GetGroupRights().IsAllGroups());
    EXPECT_TRUE(Stored(3).IsEnabled());
}

} // namespace
