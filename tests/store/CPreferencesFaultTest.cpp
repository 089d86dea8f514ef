#include "store/CPreferences.h"

#include "store/CRegistryKey.h"
#include "store/PreferenceSheets.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// The user's registry turns read-only: its lock file is replaced by a folder,
// so every change fails while reads still work.
class CPreferencesFaultTest : public ProgramFolderTest {
protected:
    void MakeRegistryReadOnly()
    {
        const std::filesystem::path lock = Home() / "settings" / "CurrentUser.reg.lock";
        std::filesystem::create_directories(lock.parent_path());
        std::filesystem::remove(lock);
        std::filesystem::create_directory(lock);
    }

    static bool KeyExists()
    {
        CRegistryKey key;
        return key.Open(HKEY_CURRENT_USER, CPreferences::KEY_PATH, KEY_READ) != FALSE;
    }
};

} // namespace

TEST_F(CPreferencesFaultTest, SavingFailsOnlyWhenTheKeyCanBeNeitherOpenedNorCreated)
{
    MakeRegistryReadOnly();
    CPreferences prefs;
    EXPECT_FALSE(prefs.SaveGeneral());
    EXPECT_FALSE(prefs.SaveDSSettings());
    EXPECT_FALSE(prefs.SaveDocuments());
    EXPECT_FALSE(prefs.SaveOrphanWarning(FALSE));
    EXPECT_FALSE(KeyExists());
}

TEST_F(CPreferencesFaultTest, WritesThatFailInAnOpenKeyAreReported)
{
    CPreferences prefs;
    ASSERT_TRUE(prefs.SaveGeneral());
    MakeRegistryReadOnly();
    prefs.m_nNumBackups = 8;
    // The key still opens, but no value can be written.
    EXPECT_FALSE(prefs.SaveGeneral());
    EXPECT_FALSE(prefs.SaveDSSettings());
    EXPECT_FALSE(prefs.SaveDocuments());

    CPreferences loaded;
    loaded.Load();
    EXPECT_EQ(loaded.m_nNumBackups, 3);
}

TEST_F(CPreferencesFaultTest, FailedSheetSaveKeepsTheValuesForThisRun)
{
    MakeRegistryReadOnly();
    CPreferences prefs;
    int nNotices = 0;
    prefs.SetColorsChangedHandler([&nNotices] { ++nNotices; });
    CPreferencesArchivoraSheetData sheet;
    prefs.CopyToArchivoraSheet(sheet);
    sheet.general.crRecentlyCatalog = 0x00123456;
    EXPECT_FALSE(prefs.CopyFromArchivoraSheet(sheet));
    EXPECT_EQ(prefs.m_crRecentlyCatalog, 0x00123456u);
    // The lists still repaint with the colour in use.
    EXPECT_EQ(nNotices, 1);

    CPreferencesCatalogSheetData monitor;
    monitor.notificator.nDSAutoCataloguing = 2;
    EXPECT_FALSE(prefs.CopyFromCatalogSheet(monitor));
    EXPECT_EQ(prefs.m_nDSAutoCataloguing, 2);
}
