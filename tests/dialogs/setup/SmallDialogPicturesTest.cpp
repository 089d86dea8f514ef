// The small dialogs and the web access notice as they show, each compared with
// a reference picture checked by eye once.

#include "dialogs/setup/CDlgConfirmSetup.h"
#include "dialogs/setup/CDlgDailyNotice.h"
#include "dialogs/setup/CDlgHtmlMessage.h"
#include "dialogs/setup/CDlgOperationInProgress.h"
#include "dialogs/setup/CDlgOrphanWarning.h"

#include "platform/base/PathMap.h"
#include "platform/gdi/Pictures.h"
#include "store/CPreferences.h"
#include "tests/dialogs/setup/SmallDialogTest.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/TestData.h"
#include "webaccess/profiles/CWASettings.h"

#include <optional>
#include <string>

namespace {

class SmallDialogPicturesTest : public SmallDialogTest {
protected:
    // Shows the dialog, compares its picture with the reference and closes it.
    void ExpectShows(CDialog& dlg, const char* pszReference)
    {
        m_driver.OnNextDialog([this, pszReference](HWND hDlg) {
            m_driver.Pump();
            const std::filesystem::path shot = m_folder / "shot.png";
            ASSERT_TRUE(CTestDriver::Screenshot(hDlg, ProgramPathFromHostPath(shot.string()).c_str()));
            HBITMAP hbm = LoadPictureFile(ProgramPathFromHostPath(shot.string()).c_str());
            ASSERT_NE(hbm, nullptr);
            if (std::optional<std::string> mismatch
                = PictureMismatch(hbm, SourceRoot() / "tests/dialogs/setup/data" / pszReference, m_folder))
                ADD_FAILURE() << *mismatch;
            EndDialog(hDlg, IDOK);
        });
        dlg.DoModal();
    }

    TempFolder m_folder;
};

TEST_F(SmallDialogPicturesTest, EachTemplateInTheSharedStyle)
{
    CDlgOperationInProgress operation;
    ExpectShows(operation, "operation_in_progress.png");
    UtcZone zone; // the notice shows the driver's day, 2020-01-01
    CDlgDailyNotice notice;
    notice.m_nCount = 3;
    ExpectShows(notice, "daily_notice.png");
    CDlgOrphanWarning orphans;
    ExpectShows(orphans, "orphan_warning.png");
    CDlgConfirmSetup setup;
    ExpectShows(setup, "confirm_setup.png");
}

TEST_F(SmallDialogPicturesTest, WebNoticeShowsItsPageWithTheLogo)
{
    CWASettings settings;
    settings.SetDefaults();
    settings.m_strSite = "http://archivora.example/web";
    thePreferences.AttachWebSettings(&settings);
    CDlgHtmlMessage dlg(settings);
    ExpectShows(dlg, "web_notice.png");
    thePreferences.AttachWebSettings(nullptr);
}

} // namespace
