// The profile list, the profile wizard's pages and the invitation dialog as
// they show, each compared with a reference picture checked by eye once.

#include "webaccess/dialogs/CDlgWAEditProfile.h"
#include "webaccess/dialogs/CDlgWAProfileInvite.h"
#include "webaccess/dialogs/CWAProfilesWizardPropSheet.h"

#include "platform/base/PathMap.h"
#include "platform/controls/PropertySheet.h"
#include "platform/gdi/Pictures.h"
#include "platform/testing/DialogScript.h"
#include "resources/ResourceIds.h"
#include "tests/support/ReferenceScreenshot.h"
#include "tests/support/TestData.h"
#include "tests/webaccess/dialogs/ProfileDialogTest.h"
#include "webaccess/profiles/CWASettings.h"

#include <optional>
#include <string>

namespace {

class ProfilePicturesTest : public ProfileDialogTest {
protected:
    // A script step comparing the dialog with the reference picture.
    std::function<void(HWND)> Compare(const char* pszReference)
    {
        return [this, pszReference](HWND hDlg) {
            m_driver.Pump();
            if (auto mismatch
                = ScreenshotMismatch(hDlg, SourceRoot() / "tests/webaccess/dialogs/data" / pszReference, m_folder))
                ADD_FAILURE() << *mismatch;
        };
    }

    TempFolder m_folder;
};

TEST_F(ProfilePicturesTest, EachDialogAndWizardPage)
{
    m_site.m_settings.m_profiles.push_back(Profile("Friends", "fr1"));
    m_site.m_settings.m_profiles.push_back(Profile("Family", "fam", 0));
    CDialogScript list;
    list.Then(Compare("edit_profile.png")).Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(list));
    CDlgWAEditProfile edit(m_site.m_settings);
    edit.DoModal();

    CDialogScript invite;
    invite.Then(Compare("profile_invite.png")).Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(invite));
    CDlgWAProfileInvite inviteDialog(m_site.m_settings);
    inviteDialog.DoModal();

    CWAProfilesWizardPropSheet wizard({});
    wizard.LoadProfile(*m_site.m_settings.m_profiles[0]);
    CDialogScript pages;
    pages.Then(Compare("profile_name.png")).Press(ID_WIZNEXT).Check(IDC_WA_CHOSEN_GROUPS);
    pages.Then(Compare("profile_groups.png")).Press(IDC_WA_CHECK_ALL).Press(ID_WIZNEXT).Check(IDC_WA_MAY_UPLOAD);
    pages.Then(Compare("profile_transfers.png")).Press(IDCANCEL);
    m_driver.AnswerNextDialog(std::move(pages));
    wizard.DoModal();
}

} // namespace
