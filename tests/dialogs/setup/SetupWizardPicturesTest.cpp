// The set-up wizard's pages inside their sheet, each compared with a
// reference picture checked by eye once.

#include "dialogs/setup/CInstalacaoPropertySheet.h"

#include "frame/SetupResults.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/setup/SetupWizardTest.h"
#include "tests/support/ReferencePictures.h"
#include "tests/ui/ClassesRootBuilder.h"

#include "platform/base/PathMap.h"
#include "platform/controls/PropertySheet.h"
#include "platform/gdi/Pictures.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

class SetupWizardPicturesTest : public SetupWizardTest {
protected:
    // A step that compares the sheet as it shows with the reference.
    std::function<void(HWND)> ExpectShows(const char* pszReference)
    {
        return [this, pszReference](HWND hDlg) {
            m_driver.Pump();
            // The shot goes on drive C:, the only drive the program's paths reach.
            const std::filesystem::path shot = Root() / "shot.png";
            ASSERT_TRUE(CTestDriver::Screenshot(hDlg, ProgramPathFromHostPath(shot.string()).c_str()));
            HBITMAP hbm = LoadPictureFile(ProgramPathFromHostPath(shot.string()).c_str());
            ASSERT_NE(hbm, nullptr);
            // The reference is read through drive C: too.
            const std::filesystem::path reference = Root() / "references" / pszReference;
            std::filesystem::create_directories(reference.parent_path());
            std::filesystem::copy_file(SourceRoot() / "tests/dialogs/setup/data" / pszReference, reference,
                std::filesystem::copy_options::overwrite_existing);
            if (std::optional<std::string> mismatch = PictureMismatch(hbm, reference, m_folder))
                ADD_FAILURE() << *mismatch;
        };
    }

    TempFolder m_folder;
};

} // namespace

TEST_F(SetupWizardPicturesTest, EveryPageInTheSharedStyle)
{
    WriteFile("docs/letters/a.txt");
    WriteFile("projects/b.txt");
    // RTF, which the page always offers; Text Document follows it.
    SetFileType(".rtf", "rtffile", "RTF document", false);
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    CDialogScript script;
    script.Then(ExpectShows("setup_welcome.png")).Press(ID_WIZNEXT);
    script.Then(ClickCheckLine(IDC_DOC_TYPES, 1)).Then(ExpectShows("setup_documents.png")).Press(ID_WIZNEXT);
    script.Then(ExpectShows("setup_mode.png")).Press(ID_WIZNEXT);
    script.Check(IDC_SETUP_USE_USAGE).Check(IDC_SETUP_USE_OWN_NAMES).Then(ClickCheckLine(IDC_SETUP_USAGES, 0));
    script.Then([&sheet](HWND) { sheet.GetUsagePage().SetOwnNames({ "Acme" }); });
    script.Then(ExpectShows("setup_usage.png")).Press(ID_WIZNEXT);
    script.Then(ExpectShows("setup_organisation.png")).Press(ID_WIZNEXT);
    script.Then(ExpectShows("setup_keywords.png")).Press(ID_WIZBACK).Press(ID_WIZBACK).Press(ID_WIZBACK);
    script.Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT);
    script.Then(CheckFolder({ "docs" })).Then(ExpectShows("setup_folders.png")).Press(ID_WIZNEXT);
    script.Then(ExpectShows("setup_final.png")).Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

TEST_F(SetupWizardPicturesTest, TheLocationAndMailPagesInTheSharedStyle)
{
    AddDrive('N', DRIVE_REMOTE);
    WriteFile("mail/ana/Mail/Inbox", "From a@example.org Mon Jan  1 00:00:00 2001\n\nhello\n");
    AddNetscapeUser("ana", "C:\\mail\\ana");
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    CDialogScript script;
    script.Press(ID_WIZNEXT).Then(ClickCheckLine(IDC_DOC_TYPES, 0)).Press(ID_WIZNEXT);
    script.Check(IDC_SETUP_NETWORK).Then(ExpectShows("setup_locations.png"));
    script.Uncheck(IDC_SETUP_NETWORK).Press(ID_WIZNEXT);
    script.Then(ExpectShows("setup_mail.png")).Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}
