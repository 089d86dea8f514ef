#include "store/CPreferences.h"

#include "platform/base/Registry.h"
#include "store/CRegistryKey.h"
#include "store/PreferenceSheets.h"
#include "tests/store/CatalogBuilder.h"
#include "tests/store/StringArrays.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A settings block of a higher layer: one DWORD under the subkey "Block",
// shown on the web sheet as the connection type.
class CTestBlock : public CPreferenceBlock {
public:
    void SetDefaults() override
    {
        m_dwValue = 1000;
        ++m_nDefaulted;
    }
    void Load(HKEY hPreferences) override
    {
        SetDefaults();
        HKEY hBlock = nullptr;
        if (RegOpenKeyEx(hPreferences, "Block", 0, KEY_READ, &hBlock) != ERROR_SUCCESS)
            return;
        DWORD cbValue = sizeof(m_dwValue);
        RegQueryValueEx(hBlock, "Value", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_dwValue), &cbValue);
        RegCloseKey(hBlock);
    }
    BOOL Save(HKEY hPreferences) const override
    {
        HKEY hBlock = nullptr;
        if (RegCreateKeyEx(hPreferences, "Block", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hBlock, nullptr)
            != ERROR_SUCCESS)
            return FALSE;
        LSTATUS nResult = RegSetValueEx(
            hBlock, "Value", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_dwValue), sizeof(m_dwValue));
        RegCloseKey(hBlock);
        return nResult == ERROR_SUCCESS ? TRUE : FALSE;
    }
    void CopyToSheet(CPreferencesWebSheetData& sheet) const override
    {
        sheet.connection.nConnType = static_cast<int>(m_dwValue);
    }
    void CopyFromSheet(const CPreferencesWebSheetData& sheet) override
    {
        m_dwValue = static_cast<DWORD>(sheet.connection.nConnType);
    }

    DWORD m_dwValue { 0 };
    int m_nDefaulted { 0 };
};

class CPreferencesTest : public ProgramFolderTest {
protected:
    // The preferences key, opened (created when bCreate) for direct reads and writes.
    CRegistryKey& Key(bool bCreate = true)
    {
        if (!m_key.IsOpen()) {
            if (bCreate)
                EXPECT_TRUE(m_key.Create(HKEY_CURRENT_USER, CPreferences::KEY_PATH));
            else
                m_key.Open(HKEY_CURRENT_USER, CPreferences::KEY_PATH);
        }
        return m_key;
    }

    // The registry type and size of a value of the preferences key.
    std::pair<DWORD, DWORD> TypeOf(LPCTSTR pszName)
    {
        DWORD dwType = REG_NONE;
        DWORD cbData = 0;
        EXPECT_EQ(RegQueryValueEx(Key(), pszName, nullptr, &dwType, nullptr, &cbData), ERROR_SUCCESS) << pszName;
        return { dwType, cbData };
    }

    // Every value of the preferences key: name and data.
    std::map<std::string, std::vector<BYTE>> Values()
    {
        std::map<std::string, std::vector<BYTE>> values;
        for (DWORD dwIndex = 0;; ++dwIndex) {
            char szName[256];
            DWORD cchName = sizeof(szName);
            std::vector<BYTE> data(4096);
            DWORD cbData = static_cast<DWORD>(data.size());
            if (RegEnumValue(Key(), dwIndex, szName, &cchName, nullptr, nullptr, data.data(), &cbData) != ERROR_SUCCESS)
                break;
            data.resize(cbData);
            values[szName] = data;
        }
        return values;
    }

    static void SetNonDefaults(CPreferences& prefs)
    {
        prefs.m_nNumDayFileNew = 42;
        prefs.m_nLastCatalogOption = CPreferences::NEW_SINCE_UPDATE | CPreferences::NEW_WITHIN_DAYS;
        prefs.m_nNumDayRecentlyCatalog = 12;
        prefs.m_crRecentlyCatalog = 0x00A0B0C0;
        prefs.m_strDefaultDirCopyRem = CString("C:\\") + CString('x', 250);
        prefs.m_bMinimize = TRUE;
        prefs.m_bDescrTip = FALSE;
        prefs.m_nUpdateOption = 3;
        SetStrings(prefs.m_fastUpdateDir, { "C:\\Docs", "D:\\Mail\\Inbox" });
        prefs.m_bCleanUpTempFolders = TRUE;
        prefs.m_bCleanUpTempFiles = TRUE;
        prefs.m_bCleanUpExpired = TRUE;
        prefs.m_bCleanUpRecycle = TRUE;
        prefs.m_nVersionControlPos = 0;
        prefs.m_strVersionControlText = "rev#-";
        prefs.m_nMostRecents = 50;
        prefs.m_dwMostRecentsOption = 0x1 | 0x8 | 0x10;
        prefs.m_nNumBackups = 9;
        prefs.m_nNumDayBackup = 0;
        prefs.m_bOrphanWarning = FALSE;
        prefs.m_bWebAccessEnabled = TRUE;
        prefs.m_nMailClient = 3;
        prefs.m_nDSAutoCataloguing = 2;
        prefs.m_bDSList = FALSE;
        prefs.m_bDSPlaySound = FALSE;
        prefs.m_bDSAutoIniciar = TRUE;
        SetStrings(prefs.m_defaultSystemPath, { "Projects", "Alpha" });
        SetStrings(prefs.m_dsDir, { "C:\\Incoming" });
        SetStrings(prefs.m_documents, { "Word document", "Text file", "Image" });
    }

    static void SaveAll(const CPreferences& prefs)
    {
        EXPECT_TRUE(prefs.SaveGeneral());
        EXPECT_TRUE(prefs.SaveDSSettings());
        EXPECT_TRUE(prefs.SaveDocuments());
        EXPECT_TRUE(prefs.SaveDSDir());
        EXPECT_TRUE(prefs.SaveWebSettings());
    }

    void TearDown() override
    {
        m_key.Close();
        ProgramFolderTest::TearDown();
    }

    CRegistryKey m_key;
};

} // namespace

/* Loading. */

TEST_F(CPreferencesTest, WithoutTheKeyLoadingResetsToTheDefaultsAndCreatesNothing)
{
    CTestBlock block;
    CPreferences prefs;
    prefs.AttachWebSettings(&block);
    SetNonDefaults(prefs);
    block.m_dwValue = 5;
    prefs.Load();
    CPreferences defaults;
    defaults.SetDefaults();
    EXPECT_EQ(prefs.m_nNumDayFileNew, defaults.m_nNumDayFileNew);
    EXPECT_EQ(prefs.m_nLastCatalogOption, defaults.m_nLastCatalogOption);
    EXPECT_EQ(prefs.m_strVersionControlText, defaults.m_strVersionControlText);
    EXPECT_EQ(prefs.m_nMostRecents, defaults.m_nMostRecents);
    EXPECT_EQ(prefs.m_bWebAccessEnabled, defaults.m_bWebAccessEnabled);
    EXPECT_EQ(prefs.m_nUpdateOption, 1) << "an update offers the catalog's places";
    EXPECT_THAT(Strings(prefs.m_fastUpdateDir), IsEmpty());
    EXPECT_THAT(Strings(prefs.m_documents), IsEmpty());
    EXPECT_EQ(block.m_nDefaulted, 1);
    EXPECT_EQ(block.m_dwValue, 1000u);
    // Loading only reads: the key is still missing.
    EXPECT_FALSE(Key(false).IsOpen());
}

TEST_F(CPreferencesTest, EveryValueSurvivesSaveAndLoad)
{
    CPreferences saved;
    SetNonDefaults(saved);
    SaveAll(saved);
    std::map<std::string, std::vector<BYTE>> stored = Values();

    // Saving what was loaded writes the same bytes again: no value was lost or changed on the way.
    CPreferences loaded;
    loaded.Load();
    SaveAll(loaded);
    EXPECT_EQ(Values(), stored);
    EXPECT_EQ(loaded.m_strDefaultDirCopyRem, saved.m_strDefaultDirCopyRem);
    EXPECT_THAT(Strings(loaded.m_documents), ElementsAre("Word document", "Text file", "Image"));
}

TEST_F(CPreferencesTest, ValuesAreStoredInTheirRegistryTypes)
{
    CPreferences prefs;
    SetNonDefaults(prefs);
    SaveAll(prefs);

    const std::pair<DWORD, DWORD> fourByteBinary { REG_BINARY, 4 };
    EXPECT_EQ(TypeOf("RecentlyCatalogColor"), fourByteBinary);
    EXPECT_EQ(TypeOf("MostRecentsOption"), fourByteBinary);
    for (const char* pszArray : { "FastUpdateDir", "DSDir", "Documents" })
        EXPECT_EQ(TypeOf(pszArray).first, static_cast<DWORD>(REG_BINARY)) << pszArray;
    for (const char* pszString : { "DefaultDirCopyRem", "VersionControlText", "DSSysDefaultPath000" })
        EXPECT_EQ(TypeOf(pszString).first, static_cast<DWORD>(REG_SZ)) << pszString;
    for (const char* pszDword : { "NumDayFileNew", "LastCatalogOption", "NumDayRecentlyCatalog", "Minimize", "DescrTip",
             "UpdateOption", "CleanUpTempFolders", "CleanUpTempFiles", "CleanUpExpired", "CleanUpRecycle",
             "VersionControlPos", "MostRecents", "NumBackups", "NumDayBackup", "OrphanWarning", "WAEnabled",
             "MailClient", "DSAutoCataloguing", "DSList", "DSPlaySound", "DSAutoIniciar", "DSSysDefaultNumPath" })
        EXPECT_EQ(TypeOf(pszDword), (std::pair<DWORD, DWORD> { REG_DWORD, 4 })) << pszDword;
}

/* Saving. */

TEST_F(CPreferencesTest, DayCountIsStoredAsOneUnlessNewMeansRecent)
{
    CPreferences prefs;
    prefs.m_nNumDayRecentlyCatalog = 30;
    prefs.m_nLastCatalogOption = CPreferences::NEW_SINCE_UPDATE;
    ASSERT_TRUE(prefs.SaveGeneral());
    DWORD dwDays = 0;
    EXPECT_TRUE(Key().GetDWORD("NumDayRecentlyCatalog", dwDays));
    EXPECT_EQ(dwDays, 1u);

    prefs.m_nLastCatalogOption = CPreferences::NEW_WITHIN_DAYS;
    ASSERT_TRUE(prefs.SaveGeneral());
    EXPECT_TRUE(Key().GetDWORD("NumDayRecentlyCatalog", dwDays));
    EXPECT_EQ(dwDays, 30u);
}

TEST_F(CPreferencesTest, ShorterDefaultSystemPathDeletesSurplusLevels)
{
    CPreferences prefs;
    SetStrings(prefs.m_defaultSystemPath, { "Projects", "Alpha", "Drafts" });
    ASSERT_TRUE(prefs.SaveDSSettings());
    EXPECT_TRUE(Key().ValueExists("DSSysDefaultPath002"));

    SetStrings(prefs.m_defaultSystemPath, { "Archive" });
    ASSERT_TRUE(prefs.SaveDSSettings());
    EXPECT_TRUE(Key().ValueExists("DSSysDefaultPath000"));
    EXPECT_FALSE(Key().ValueExists("DSSysDefaultPath001"));
    EXPECT_FALSE(Key().ValueExists("DSSysDefaultPath002"));

    CPreferences loaded;
    loaded.Load();
    EXPECT_THAT(Strings(loaded.m_defaultSystemPath), ElementsAre("Archive"));
}

TEST_F(CPreferencesTest, OrphanWarningIsSavedAlone)
{
    CPreferences prefs;
    ASSERT_TRUE(prefs.SaveOrphanWarning(FALSE));
    EXPECT_FALSE(prefs.m_bOrphanWarning);
    EXPECT_FALSE(Key().ValueExists("NumBackups"));

    CPreferences loaded;
    loaded.Load();
    EXPECT_FALSE(loaded.m_bOrphanWarning);
}

/* Damaged values. */

TEST_F(CPreferencesTest, DamagedValuesFallBackToTheirDefaults)
{
    CPreferences saved;
    SetNonDefaults(saved);
    SaveAll(saved);

    CRegistryKey& key = Key();
    key.SetString("NumBackups", "9");               // Wrong type
    key.SetDWORD("RecentlyCatalogColor", 0x123456); // Not binary
    const BYTE abShort[2] = { 1, 2 };
    RegSetValueEx(key, "MostRecentsOption", 0, REG_BINARY, abShort, sizeof(abShort)); // Not 4 bytes
    const BYTE abBroken[3] = { 5, 0, 0 };
    RegSetValueEx(key, "FastUpdateDir", 0, REG_BINARY, abBroken, sizeof(abBroken)); // Archive ends early
    key.SetString("VersionControlText", "a#b#");                                    // Two '#'
    key.SetDWORD("MostRecents", 0);                                                 // Below the range
    key.SetDWORD("NumDayFileNew", 0xFFFFFFFF);                                      // Out of range
    key.SetDWORD("LastCatalogOption", 4);                                           // No such mode
    key.DeleteValue("DSSysDefaultPath001");                                         // A level missing

    CPreferences loaded;
    loaded.Load();
    CPreferences defaults;
    defaults.SetDefaults();
    EXPECT_EQ(loaded.m_nNumBackups, defaults.m_nNumBackups);
    EXPECT_EQ(loaded.m_crRecentlyCatalog, defaults.m_crRecentlyCatalog);
    EXPECT_EQ(loaded.m_dwMostRecentsOption, defaults.m_dwMostRecentsOption);
    EXPECT_THAT(Strings(loaded.m_fastUpdateDir), IsEmpty());
    EXPECT_EQ(loaded.m_strVersionControlText, defaults.m_strVersionControlText);
    EXPECT_EQ(loaded.m_nMostRecents, defaults.m_nMostRecents);
    EXPECT_EQ(loaded.m_nNumDayFileNew, defaults.m_nNumDayFileNew);
    EXPECT_EQ(loaded.m_nLastCatalogOption, defaults.m_nLastCatalogOption);
    EXPECT_THAT(Strings(loaded.m_defaultSystemPath), IsEmpty());
    // The values that were left alone still load.
    EXPECT_EQ(loaded.m_nNumDayBackup, 0);
    EXPECT_THAT(Strings(loaded.m_documents), ElementsAre("Word document", "Text file", "Image"));
}

TEST_F(CPreferencesTest, VersionTextWithForbiddenCharactersIsRejected)
{
    for (const char* pszText : { "", "v", "a/#", "a#b#", "#123456789012345", "v#?" }) {
        Key().SetString("VersionControlText", pszText);
        CPreferences loaded;
        loaded.Load();
        EXPECT_EQ(std::string(loaded.m_strVersionControlText), "_v#") << pszText;
    }
}

TEST_F(CPreferencesTest, VersionTextWithABlankSurvivesTheNextStart)
{
    Key().SetString("VersionControlText", "copy #");
    CPreferences loaded;
    loaded.Load();
    EXPECT_EQ(std::string(loaded.m_strVersionControlText), "copy #");
}

TEST_F(CPreferencesTest, OverlongFolderPathFallsBackToEmpty)
{
    Key().SetString("DefaultDirCopyRem", CString("C:\\") + CString('y', MAX_PATH));
    CPreferences loaded;
    loaded.Load();
    EXPECT_TRUE(loaded.m_strDefaultDirCopyRem.IsEmpty());
}

/* The default system in a catalog. */

class CPreferencesSystemTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
};

TEST_F(CPreferencesSystemTest, DefaultSystemIsFoundAgainByItsPathOfNames)
{
    CPreferences saved;
    saved.SetDefaultSystem(Node(*m_pCatalog, m_tree.alpha).get());
    ASSERT_TRUE(saved.SaveDSSettings());

    CPreferences loaded;
    loaded.Load();
    CNodeRec* pSystem = loaded.GetDefaultSystem(m_pCatalog.get());
    ASSERT_TRUE(pSystem);
    EXPECT_EQ(pSystem->GetRef(), m_tree.alpha);
    loaded.ReleaseDefaultSystem();
}

TEST_F(CPreferencesSystemTest, VanishedDefaultSystemFallsBackToTheSystemsRoot)
{
    CPreferences prefs;
    SetStrings(prefs.m_defaultSystemPath, { "Projects", "No such system" });
    CNodeRec* pSystem = prefs.GetDefaultSystem(m_pCatalog.get());
    ASSERT_TRUE(pSystem);
    std::unique_ptr<CNodeRec> pSystemsRoot(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    ASSERT_TRUE(pSystemsRoot);
    EXPECT_EQ(pSystem->GetRef(), pSystemsRoot->GetRef());
    prefs.ReleaseDefaultSystem();
}

TEST_F(CPreferencesTest, TheAttachedSettingsBlockIsDefaultedLoadedAndSavedWithThePreferences)
{
    CTestBlock savedBlock;
    CPreferences saved;
    saved.AttachWebSettings(&savedBlock);
    saved.SetDefaults();
    EXPECT_EQ(savedBlock.m_dwValue, 1000u);
    savedBlock.m_dwValue = 2500;
    EXPECT_TRUE(saved.SaveWebSettings());

    CTestBlock loadedBlock;
    CPreferences loaded;
    loaded.AttachWebSettings(&loadedBlock);
    loaded.Load();
    EXPECT_EQ(loadedBlock.m_dwValue, 2500u);

    // Without a block there is nothing to save, and that is no failure.
    CPreferences bare;
    EXPECT_TRUE(bare.SaveWebSettings());
}

TEST_F(CPreferencesTest, TheWebSheetTravelsThroughTheAttachedBlockAndIsSaved)
{
    CTestBlock block;
    CPreferences prefs;
    prefs.AttachWebSettings(&block);
    prefs.SetDefaults();
    CPreferencesWebSheetData sheet;
    prefs.CopyToWebSheet(sheet);
    EXPECT_EQ(sheet.connection.nConnType, 1000);

    sheet.connection.nConnType = 2;
    EXPECT_TRUE(prefs.CopyFromWebSheet(sheet));
    CTestBlock loadedBlock;
    CPreferences loaded;
    loaded.AttachWebSettings(&loadedBlock);
    loaded.Load();
    EXPECT_EQ(loadedBlock.m_dwValue, 2u);

    // Without a block the sheet keeps what it holds.
    CPreferences bare;
    sheet.connection.nConnType = 3;
    bare.CopyToWebSheet(sheet);
    EXPECT_EQ(sheet.connection.nConnType, 3);
    EXPECT_TRUE(bare.CopyFromWebSheet(sheet));
}
