#include "store/CPreferences.h"

#include "store/CRegistryKey.h"
#include "store/PreferenceSheets.h"
#include "tests/store/CatalogBuilder.h"
#include "tests/store/StringArrays.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

DWORD StoredDWORD(LPCTSTR pszName)
{
    CRegistryKey key;
    DWORD dwValue = 0xDEAD;
    EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, CPreferences::KEY_PATH));
    EXPECT_TRUE(key.GetDWORD(pszName, dwValue)) << pszName;
    return dwValue;
}

// Every value of the general sheet changed, as a user would on its pages.
void EditGeneralSheet(CPreferencesArchivoraSheetData& sheet)
{
    sheet.general.nNumDayFileNew = 30;
    sheet.general.nLastCatalogOption = CPreferences::NEW_SINCE_UPDATE | CPreferences::NEW_WITHIN_DAYS;
    sheet.general.nNumDayRecentlyCatalog = 14;
    sheet.general.crRecentlyCatalog = 0x00008000;
    sheet.general.strDefaultDirCopyRem = "d:\\copies";
    sheet.general.bMinimize = TRUE;
    sheet.general.bOrphanWarning = FALSE;
    sheet.detail.bDescrTip = FALSE;
    sheet.update.nUpdateOption = 2;
    sheet.update.fastUpdateDir.RemoveAll();
    sheet.update.fastUpdateDir.Add("c:\\inbox");
    sheet.libAutomatica.bCleanUpTempFolders = TRUE;
    sheet.libAutomatica.bCleanUpExpired = TRUE;
    sheet.versao.nVersionControlPos = 0;
    sheet.versao.strVersionControlText = "v#";
    sheet.backup.nNumBackups = 5;
    sheet.backup.nNumDayBackup = 0;
}

using CPreferencesSheetsTest = ProgramFolderTest;

} // namespace

/* The general sheet. */

TEST_F(CPreferencesSheetsTest, GeneralSheetShowsThePreferencesAndSavesItsValues)
{
    CPreferences prefs;
    prefs.m_nNumDayFileNew = 12;
    prefs.m_strVersionControlText = "-r#";
    prefs.m_nNumBackups = 7;
    CPreferencesArchivoraSheetData sheet;
    prefs.CopyToArchivoraSheet(sheet);
    EXPECT_EQ(sheet.general.nNumDayFileNew, 12);
    EXPECT_EQ(std::string(sheet.versao.strVersionControlText), "-r#");
    EXPECT_EQ(sheet.backup.nNumBackups, 7);
    EXPECT_TRUE(sheet.detail.bDescrTip);

    EditGeneralSheet(sheet);
    ASSERT_TRUE(prefs.CopyFromArchivoraSheet(sheet));

    CPreferences loaded;
    loaded.Load();
    EXPECT_EQ(loaded.m_nNumDayFileNew, 30);
    EXPECT_EQ(loaded.m_nLastCatalogOption, 3);
    EXPECT_EQ(loaded.m_nNumDayRecentlyCatalog, 14);
    EXPECT_EQ(loaded.m_crRecentlyCatalog, 0x00008000u);
    EXPECT_EQ(std::string(loaded.m_strDefaultDirCopyRem), "d:\\copies");
    EXPECT_TRUE(loaded.m_bMinimize);
    EXPECT_FALSE(loaded.m_bOrphanWarning);
    EXPECT_FALSE(loaded.m_bDescrTip);
    EXPECT_EQ(loaded.m_nUpdateOption, 2);
    EXPECT_THAT(Strings(loaded.m_fastUpdateDir), ElementsAre("c:\\inbox"));
    EXPECT_TRUE(loaded.m_bCleanUpTempFolders);
    EXPECT_FALSE(loaded.m_bCleanUpTempFiles);
    EXPECT_TRUE(loaded.m_bCleanUpExpired);
    EXPECT_EQ(loaded.m_nVersionControlPos, 0);
    EXPECT_EQ(std::string(loaded.m_strVersionControlText), "v#");
    EXPECT_EQ(loaded.m_nNumBackups, 5);
    EXPECT_EQ(loaded.m_nNumDayBackup, 0);
}

TEST_F(CPreferencesSheetsTest, UnchangedGeneralSheetSavesTheCopiedInValues)
{
    CPreferences prefs;
    prefs.m_nLastCatalogOption = CPreferences::NEW_WITHIN_DAYS;
    prefs.m_nNumDayRecentlyCatalog = 9;
    prefs.m_dwMostRecentsOption = 0x8; // Set straight by its page, saved with the sheet
    CPreferencesArchivoraSheetData sheet;
    prefs.CopyToArchivoraSheet(sheet);
    ASSERT_TRUE(prefs.CopyFromArchivoraSheet(sheet));

    CPreferences loaded;
    loaded.Load();
    EXPECT_EQ(loaded.m_nLastCatalogOption, CPreferences::NEW_WITHIN_DAYS);
    EXPECT_EQ(loaded.m_nNumDayRecentlyCatalog, 9);
    EXPECT_EQ(loaded.m_dwMostRecentsOption, 0x8u);
    EXPECT_EQ(std::string(loaded.m_strVersionControlText), "_v#");
}

TEST_F(CPreferencesSheetsTest, DayCountOfTheGeneralPageIsKeptOnlyWhenNewMeansRecent)
{
    CPreferences prefs;
    CPreferencesArchivoraSheetData sheet;
    prefs.CopyToArchivoraSheet(sheet);
    sheet.general.nNumDayRecentlyCatalog = 30;
    for (int nOption : { 0, 1 }) {
        sheet.general.nLastCatalogOption = nOption;
        ASSERT_TRUE(prefs.CopyFromArchivoraSheet(sheet));
        EXPECT_EQ(prefs.m_nNumDayRecentlyCatalog, 1) << nOption;
        EXPECT_EQ(StoredDWORD("NumDayRecentlyCatalog"), 1u) << nOption;
    }
    for (int nOption : { 2, 3 }) {
        sheet.general.nLastCatalogOption = nOption;
        ASSERT_TRUE(prefs.CopyFromArchivoraSheet(sheet));
        EXPECT_EQ(prefs.m_nNumDayRecentlyCatalog, 30) << nOption;
        EXPECT_EQ(StoredDWORD("NumDayRecentlyCatalog"), 30u) << nOption;
    }
}

TEST_F(CPreferencesSheetsTest, ColoursChangedHandlerRunsOnceAfterTheSave)
{
    CPreferences prefs;
    std::vector<DWORD> storedColours;
    prefs.SetColorsChangedHandler([&storedColours] {
        CRegistryKey key;
        DWORD dwColour = 0;
        DWORD cbData = sizeof(dwColour);
        if (key.Open(HKEY_CURRENT_USER, CPreferences::KEY_PATH))
            RegQueryValueEx(key, "RecentlyCatalogColor", nullptr, nullptr, reinterpret_cast<BYTE*>(&dwColour), &cbData);
        storedColours.push_back(dwColour);
    });
    CPreferencesArchivoraSheetData sheet;
    prefs.CopyToArchivoraSheet(sheet);
    sheet.general.crRecentlyCatalog = 0x00FF0000;
    ASSERT_TRUE(prefs.CopyFromArchivoraSheet(sheet));
    // The windows that repaint read the colour already saved.
    EXPECT_THAT(storedColours, ElementsAre(0x00FF0000u));

    // Copying in alone tells nobody.
    prefs.CopyToArchivoraSheet(sheet);
    EXPECT_EQ(storedColours.size(), 1u);
}

/* The new-document monitor sheet. */

class CPreferencesCatalogSheetTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
    }
    void TearDown() override
    {
        m_pCatalog.reset();
        CatalogTest::TearDown();
    }

    CRecordRef SystemsRoot()
    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
        return pRoot ? pRoot->GetRef() : CRecordRef {};
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
};

TEST_F(CPreferencesCatalogSheetTest, MonitorSheetShowsTheDefaultSystemAndSavesTheChosenOne)
{
    CPreferences prefs;
    prefs.SetDefaultSystem(Node(*m_pCatalog, m_tree.alpha).get());
    prefs.m_nDSAutoCataloguing = 2;
    prefs.m_bDSList = FALSE;
    prefs.m_bDSAutoIniciar = TRUE;
    CPreferencesCatalogSheetData sheet;
    prefs.CopyToCatalogSheet(sheet, m_pCatalog.get());
    ASSERT_TRUE(sheet.defaultSystem.pSystem);
    EXPECT_EQ(sheet.defaultSystem.pSystem->GetRef(), m_tree.alpha);
    EXPECT_EQ(sheet.notificator.nDSAutoCataloguing, 2);
    EXPECT_EQ(sheet.notificator.nDSList, 0);
    EXPECT_TRUE(sheet.notificator.bDSPlaySound);
    EXPECT_TRUE(sheet.defaultSystem.bDSAutoIniciar);

    sheet.defaultSystem.pSystem = Node(*m_pCatalog, m_tree.beta);
    sheet.defaultSystem.bDSAutoIniciar = FALSE;
    sheet.notificator.nDSAutoCataloguing = 1;
    sheet.notificator.nDSList = 1;
    sheet.notificator.bDSPlaySound = FALSE;
    ASSERT_TRUE(prefs.CopyFromCatalogSheet(sheet));
    // The preferences hold a copy of their own: the sheet may go.
    sheet.defaultSystem.pSystem.reset();
    ASSERT_TRUE(prefs.GetDefaultSystem(m_pCatalog.get()));
    EXPECT_EQ(prefs.GetDefaultSystem(m_pCatalog.get())->GetRef(), m_tree.beta);
    prefs.ReleaseDefaultSystem();

    CPreferences loaded;
    loaded.Load();
    EXPECT_THAT(Strings(loaded.m_defaultSystemPath), ElementsAre("Projects", "beta"));
    EXPECT_EQ(loaded.m_nDSAutoCataloguing, 1);
    EXPECT_TRUE(loaded.m_bDSList);
    EXPECT_FALSE(loaded.m_bDSPlaySound);
    EXPECT_FALSE(loaded.m_bDSAutoIniciar);
}

TEST_F(CPreferencesCatalogSheetTest, DeletedDefaultSystemIsShownAndSavedAsTheSystemsRoot)
{
    CPreferences prefs;
    prefs.SetDefaultSystem(Node(*m_pCatalog, m_tree.gamma).get());
    // The cached node outlives its record.
    ASSERT_TRUE(prefs.GetDefaultSystem(m_pCatalog.get()));
    ASSERT_TRUE(Node(*m_pCatalog, m_tree.gamma)->DeleteSubtree(TRUE));

    CPreferencesCatalogSheetData sheet;
    prefs.CopyToCatalogSheet(sheet, m_pCatalog.get());
    ASSERT_TRUE(sheet.defaultSystem.pSystem);
    EXPECT_EQ(sheet.defaultSystem.pSystem->GetRef(), SystemsRoot());

    ASSERT_TRUE(prefs.CopyFromCatalogSheet(sheet));
    prefs.ReleaseDefaultSystem();
    CPreferences loaded;
    loaded.Load();
    ASSERT_TRUE(loaded.GetDefaultSystem(m_pCatalog.get()));
    EXPECT_EQ(loaded.GetDefaultSystem(m_pCatalog.get())->GetRef(), SystemsRoot());
    loaded.ReleaseDefaultSystem();
}
