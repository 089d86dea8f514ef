// The preference sheets, every page in its sheet, and the document-type offer
// and new-folder dialogs as they show, each compared with a reference picture
// checked by eye once.

#include "dialogs/preferences/PreferenceDialogCalls.h"

#include "platform/base/PathMap.h"
#include "platform/controls/PropertySheet.h"
#include "platform/controls/TabControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/gdi/Pictures.h"
#include "store/CCatalog.h"
#include "store/CPreferences.h"
#include "store/CatalogTypes.h"
#include "tests/dialogs/preferences/PreferencePageTest.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/TestData.h"
#include "tests/ui/ClassesRootBuilder.h"
#include "tests/ui/RecordingUiHost.h"
#include "webaccess/profiles/CWASettings.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

class PreferencePicturesTest : public PreferencePageTest {
protected:
    void SetUp() override
    {
        PreferencePageTest::SetUp();
        SetFileType(".txt", "txtfile", "Text Document", true);
        SetFileType(".odt", "odtfile", "Writer Document", true);
        SetFileType(".rtf", "rtffile", "Rich Text", false);
        thePreferences.Load();
        m_webSettings.SetDefaults();
        m_webSettings.m_strLogin = "ana";
        m_webSettings.m_strPassword = "secret";
        m_webSettings.m_strCatName = "Docs";
        m_webSettings.m_strCatCode = "C0DE42";
        thePreferences.AttachWebSettings(&m_webSettings);
    }
    void TearDown() override
    {
        thePreferences.AttachWebSettings(nullptr);
        PreferencePageTest::TearDown();
    }

    // Compares the window's picture, after an idle pass, with the reference of that name.
    void ExpectPicture(HWND hWnd, const std::string& strReference)
    {
        ::SendMessage(hWnd, WM_KICKIDLE, 0, 0);
        Driver().Pump();
        const std::filesystem::path shot = m_folder / (strReference + ".shot.png");
        ASSERT_TRUE(CTestDriver::Screenshot(hWnd, ProgramPathFromHostPath(shot.string()).c_str()));
        HBITMAP hbm = LoadPictureFile(ProgramPathFromHostPath(shot.string()).c_str());
        ASSERT_NE(hbm, nullptr);
        if (std::optional<std::string> mismatch
            = PictureMismatch(hbm, SourceRoot() / "tests/dialogs/preferences/data" / (strReference + ".png"), m_folder))
            ADD_FAILURE() << *mismatch;
    }
    // On the next sheet: each page in turn, pictured as "<strName>_<n>", then Cancel.
    void PicturePagesOfNextSheet(const std::string& strName)
    {
        Driver().OnNextDialog([this, strName](HWND hSheet) {
            HWND hTabs = reinterpret_cast<HWND>(::SendMessage(hSheet, PSM_GETTABCONTROL, 0, 0));
            const int nPages = static_cast<int>(::SendMessage(hTabs, TCM_GETITEMCOUNT, 0, 0));
            for (int nPage = 0; nPage < nPages; ++nPage) {
                ::SendMessage(hSheet, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0);
                ExpectPicture(hSheet, strName + "_" + std::to_string(nPage));
            }
            ::SendMessage(hSheet, WM_COMMAND, IDCANCEL, 0);
        });
    }

    CWASettings m_webSettings;
    TempFolder m_folder;
};

TEST_F(PreferencePicturesTest, EveryPageInItsSheet)
{
    CPreferencesArchivoraSheetData general;
    thePreferences.CopyToArchivoraSheet(general);
    PicturePagesOfNextSheet("general");
    RunPreferenceSheet(CFramePrompts::ESheet::General, &general, &Host());

    CPreferencesCatalogSheetData monitor;
    thePreferences.CopyToCatalogSheet(monitor, nullptr);
    PicturePagesOfNextSheet("monitor");
    RunPreferenceSheet(CFramePrompts::ESheet::Catalog, &monitor, &Host());

    CPreferencesWebSheetData web;
    thePreferences.CopyToWebSheet(web);
    PicturePagesOfNextSheet("web");
    RunPreferenceSheet(CFramePrompts::ESheet::Web, &web, &Host());
}

TEST_F(PreferencePicturesTest, DocumentsSheet)
{
    CDocumentsSheetData documents;
    for (const char* pszChosen : { ".txt", ".abc" })
        documents.documentTypes.chosenExtensions.SetAt(pszChosen, nullptr);
    PicturePagesOfNextSheet("documents");
    RunDocumentsSheet(documents, &Host());
}

TEST_F(PreferencePicturesTest, OfferOfNewTypesAndNewFolder)
{
    CRecordingUiHost host;
    const CString strCatalog = ProgramPathFromHostPath((Home() / "archiv.cat").string()).c_str();
    ASSERT_TRUE(CCatalog::CreateFile(FALSE, strCatalog, BLOCK_SIZE));
    CCatalog catalog(strCatalog, 1);
    ASSERT_TRUE(catalog.LoadExtensions("odt"));
    host.m_pMainCatalog = &catalog;
    Driver().OnNextDialog([this](HWND hDlg) {
        ExpectPicture(hDlg, "catalog_doc_types");
        ::SendMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(OfferNewDocumentTypes(&Host()));

    Driver().OnNextDialog([this](HWND hDlg) {
        ::SetDlgItemText(hDlg, IDC_NEW_FOLDER_NAME, "Letters");
        ExpectPicture(hDlg, "new_folder");
        ::SendMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(RunNewFolderDialog("C:\\work", &Host()), 0);
}

} // namespace
