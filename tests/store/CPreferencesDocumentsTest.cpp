#include "store/CPreferences.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/base/Registry.h"
#include "store/CMailStoreRec.h"
#include "store/CNetDriveMap.h"
#include "store/PreferenceSheets.h"
#include "tests/store/CatalogBuilder.h"
#include "tests/store/StringArrays.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

namespace {

class CPreferencesDocumentsTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
    }
    void TearDown() override
    {
        m_pCatalog.reset();
        CatalogTest::TearDown();
    }

    std::vector<std::string> Extensions()
    {
        std::vector<std::string> extensions;
        for (CString strExtension = m_pCatalog->FirstExtension(); !strExtension.IsEmpty();
             strExtension = m_pCatalog->NextExtension())
            extensions.emplace_back(strExtension);
        return extensions;
    }

    // Every location: key -> kind.
    std::map<std::string, int> Locations()
    {
        std::map<std::string, int> locations;
        int nIterator = m_pCatalog->GetLocationCount();
        for (CString strKey; m_pCatalog->NextLocation(&nIterator, strKey);)
            locations[std::string(strKey)] = m_pCatalog->GetLocationKind(strKey);
        return locations;
    }

    // A documents sheet as the user leaves it: documents and spreadsheets,
    // one watched folder, the local disk and two folders, and one mail store.
    static void FillSheet(CDocumentsSheetData& sheet)
    {
        sheet.documentTypes.chosenExtensions.SetAt(".odt", nullptr);
        sheet.documentTypes.chosenExtensions.SetAt(".ODS", nullptr);
        sheet.folders.nMode = CCatalog::PLACE_BOTH;
        sheet.folders.watchedFolders.Add("c:\\incoming\\");
        sheet.folders.catalogFolders.Add("\\\\office-pc\\documents\\");
        sheet.folders.catalogFolders.Add("c:\\work\\");
        sheet.mails.stores.push_back({ "c:\\mail\\inbox", LOCATION_NETSCAPE });
    }

    std::unique_ptr<CCatalog> m_pCatalog;
};

} // namespace

/* The documents sheet. */

TEST_F(CPreferencesDocumentsTest, SavingTheLoadedSheetUnchangedKeepsExtensionsPlacesAndMailStores)
{
    ASSERT_TRUE(m_pCatalog->LoadExtensions("DOC"));
    ASSERT_TRUE(m_pCatalog->LoadExtensions("txt"));
    const std::pair<WORD, const char*> locations[]
        = { { LOCATION_LOCAL_DISK, "Local Disk" }, { LOCATION_NETWORK, "\\\\office-pc\\documents\\" },
              { LOCATION_NETSCAPE, "c:\\mail\\inbox" }, { LOCATION_OUTLOOK_EXPRESS5, "c:\\mail\\express" } };
    for (const auto& [wKind, pszName] : locations)
        ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(wKind, pszName)));
    ASSERT_TRUE(m_pCatalog->SetPlaceChoice(CCatalog::PLACE_BOTH));
    const std::map<std::string, int> before = Locations();
    const std::vector<std::string> extensions = Extensions();

    CPreferences prefs;
    CDocumentsSheetData sheet;
    prefs.LoadDocumentsSheet(sheet, m_pCatalog.get());
    EXPECT_EQ(sheet.folders.nMode, CCatalog::PLACE_BOTH);
    EXPECT_THAT(Strings(sheet.folders.catalogFolders), ElementsAre("\\\\office-pc\\documents\\"));
    EXPECT_EQ(sheet.mails.stores.size(), 2u);
    void* pUnused = nullptr;
    EXPECT_TRUE(sheet.documentTypes.chosenExtensions.Lookup(".doc", pUnused));

    // An OK on a sheet whose pages were never shown hands the same data back.
    ASSERT_TRUE(prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));
    EXPECT_EQ(Locations(), before);
    EXPECT_THAT(Extensions(), ::testing::UnorderedElementsAreArray(extensions));
    EXPECT_EQ(m_pCatalog->GetPlaceChoice(), CCatalog::PLACE_BOTH);
}

TEST_F(CPreferencesDocumentsTest, DocumentsSheetReplacesExtensionsLocationsAndWatchedFolders)
{
    ASSERT_TRUE(m_pCatalog->LoadExtensions("doc"));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETWORK, "\\\\old-pc\\")));
    CPreferences prefs;
    prefs.m_dsDir.Add("c:\\old\\");
    prefs.m_documents.Add("Text document");

    CDocumentsSheetData before;
    prefs.LoadDocumentsSheet(before, m_pCatalog.get());
    EXPECT_THAT(Strings(before.folders.watchedFolders), ElementsAre("c:\\old\\"));
    CDocumentsSheetData sheet;
    FillSheet(sheet);
    ASSERT_TRUE(prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));

    EXPECT_THAT(Extensions(), UnorderedElementsAre("odt", "ods"));
    EXPECT_THAT(Locations(),
        UnorderedElementsAre(Pair("local disk", LOCATION_LOCAL_DISK),
            Pair("\\\\office-pc\\documents\\", LOCATION_NETWORK), Pair("c:\\work\\", LOCATION_NETWORK),
            Pair("c:\\mail\\inbox", LOCATION_NETSCAPE)));
    EXPECT_EQ(m_pCatalog->GetPlaceChoice(), CCatalog::PLACE_BOTH);

    // What the catalog keeps survives reopening it; the registry, reloading.
    m_pCatalog.reset();
    m_pCatalog = OpenCatalog();
    ASSERT_TRUE(m_pCatalog->IsOpen());
    EXPECT_THAT(Extensions(), UnorderedElementsAre("odt", "ods"));
    EXPECT_EQ(Locations().size(), 4u);
    EXPECT_EQ(m_pCatalog->GetPlaceChoice(), CCatalog::PLACE_BOTH);
    CPreferences loaded;
    loaded.Load();
    EXPECT_THAT(Strings(loaded.m_dsDir), ElementsAre("c:\\incoming\\"));
    EXPECT_THAT(Strings(loaded.m_documents), ElementsAre("Text document"));
}

TEST_F(CPreferencesDocumentsTest, EachModeBitAddsItsOwnLocations)
{
    CPreferences prefs;
    CDocumentsSheetData sheet;
    FillSheet(sheet);

    sheet.folders.nMode = CCatalog::PLACE_LOCAL_DISK;
    ASSERT_TRUE(prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));
    EXPECT_THAT(Locations(),
        UnorderedElementsAre(Pair("local disk", LOCATION_LOCAL_DISK), Pair("c:\\mail\\inbox", LOCATION_NETSCAPE)));

    sheet.folders.nMode = CCatalog::PLACE_NETWORK;
    ASSERT_TRUE(prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));
    EXPECT_THAT(Locations(),
        UnorderedElementsAre(Pair("\\\\office-pc\\documents\\", LOCATION_NETWORK), Pair("c:\\work\\", LOCATION_NETWORK),
            Pair("c:\\mail\\inbox", LOCATION_NETSCAPE)));
    EXPECT_EQ(m_pCatalog->GetPlaceChoice(), CCatalog::PLACE_NETWORK);

    sheet.folders.nMode = CCatalog::PLACE_NONE;
    sheet.mails.stores.clear();
    ASSERT_TRUE(prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));
    EXPECT_THAT(Locations(), IsEmpty());
}

TEST_F(CPreferencesDocumentsTest, MailStoreThatStaysKeepsItsReadingPosition)
{
    CPreferences prefs;
    CDocumentsSheetData sheet;
    FillSheet(sheet);
    sheet.mails.stores.push_back({ "c:\\mail\\sent", LOCATION_NETSCAPE });
    ASSERT_TRUE(prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));
    ASSERT_TRUE(m_pCatalog->SetLocationValue("c:\\mail\\inbox", 48213));
    ASSERT_TRUE(m_pCatalog->SetLocationValue("c:\\mail\\sent", 1000));

    // The sent store goes, and comes back later as a new one; the inbox stays.
    sheet.mails.stores.pop_back();
    ASSERT_TRUE(prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));
    EXPECT_EQ(m_pCatalog->GetLocationValue("c:\\mail\\inbox"), 48213);
    EXPECT_EQ(m_pCatalog->GetLocationValue("c:\\mail\\sent"), -1);
    sheet.mails.stores.push_back({ "c:\\mail\\sent", LOCATION_NETSCAPE });
    ASSERT_TRUE(prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));
    EXPECT_EQ(m_pCatalog->GetLocationValue("c:\\mail\\sent"), 0);

    // A store read by another client's reader starts again from the beginning.
    sheet.mails.stores.front().wKind = LOCATION_OUTLOOK_EXPRESS5;
    ASSERT_TRUE(prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));
    EXPECT_EQ(m_pCatalog->GetLocationValue("c:\\mail\\inbox"), 0);
}

/* Set-up's new-document folders. */

TEST_F(CPreferencesDocumentsTest, SetUpFoldersJoinTheWatchedFoldersOnce)
{
    CPreferences prefs;
    prefs.m_dsDir.Add("c:\\incoming\\");
    CMapStringToPtr folders;
    folders.SetAt("C:\\Incoming\\", nullptr);
    folders.SetAt("C:\\Scans\\", nullptr);
    folders.SetAt("C:\\Downloads\\", nullptr);
    ASSERT_TRUE(prefs.AddDSDirs(folders));
    EXPECT_THAT(Strings(prefs.m_dsDir), ElementsAre("c:\\incoming\\", "c:\\downloads\\", "c:\\scans\\"));

    CPreferences loaded;
    loaded.Load();
    EXPECT_THAT(Strings(loaded.m_dsDir), ElementsAre("c:\\incoming\\", "c:\\downloads\\", "c:\\scans\\"));
}

/* The document-type map. */

TEST_F(CPreferencesDocumentsTest, DocumentTypesOfTheCataloguedExtensions)
{
    // Two file types of the classes root: one with a description, one without.
    auto setDefault = [](LPCTSTR pszKey, LPCTSTR pszValue) {
        HKEY hKey = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, pszKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
            ERROR_SUCCESS);
        RegSetValueEx(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue),
            static_cast<DWORD>(std::strlen(pszValue) + 1));
        RegCloseKey(hKey);
    };
    setDefault(".zzq", "Zzq.Document");
    setDefault("Zzq.Document", "Zzq drawing");
    setDefault(".zzr", "Zzr.File");
    for (const char* pszExtension : { "zzq", "zzr", "zzunknown" })
        ASSERT_TRUE(m_pCatalog->LoadExtensions(pszExtension));

    CPreferences prefs;
    prefs.BuildDocumentTypeMap(m_pCatalog.get());
    CString strType;
    ASSERT_TRUE(prefs.LookupDocumentType(".ZZQ", strType));
    EXPECT_EQ(std::string(strType), "Zzq drawing");
    ASSERT_TRUE(prefs.LookupDocumentType("zzr", strType));
    EXPECT_EQ(std::string(strType), "Zzr.File");
    EXPECT_FALSE(prefs.LookupDocumentType("zzunknown", strType));

    // Saving the documents sheet builds the map again from the new choice.
    CDocumentsSheetData sheet;
    sheet.documentTypes.chosenExtensions.SetAt(".zzr", nullptr);
    ASSERT_TRUE(prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));
    EXPECT_FALSE(prefs.LookupDocumentType("zzq", strType));
    EXPECT_TRUE(prefs.LookupDocumentType("zzr", strType));
}

/* The catalog's scope. */

// C: is the host's root file system; a cifs share \\Office-PC\Documents is
// mounted below the program folder and gets a network drive letter.
class CPreferencesScopeTest : public CPreferencesDocumentsTest {
protected:
    void SetUp() override
    {
        CPreferencesDocumentsTest::SetUp();
        std::filesystem::create_directories(HostPath("cifs") / "reports");
        const std::string strMounts = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 0:51 / " + HostPath("cifs").string()
            + " rw - cifs //Office-PC/Documents rw\n";
        ReloadDriveTable(strMounts.c_str());
        g_netDriveMap.InvalidateScan();
        const std::string strDrive = ProgramPathFromHostPath(HostPath("cifs").string());
        ASSERT_EQ(strDrive.size(), 3u);
        m_strShareDrive = strDrive;
    }
    void TearDown() override
    {
        ResetDriveTable();
        g_netDriveMap.InvalidateScan();
        CPreferencesDocumentsTest::TearDown();
    }

    void Choose(LONG nPlace, std::initializer_list<const char*> folders)
    {
        CDocumentsSheetData sheet;
        sheet.folders.nMode = static_cast<int>(nPlace);
        for (const char* pszFolder : folders)
            sheet.folders.catalogFolders.Add(pszFolder);
        ASSERT_TRUE(m_prefs.SaveDocumentsSheet(sheet, m_pCatalog.get()));
    }

    BOOL InScope(const std::string& strFolder)
    {
        return m_prefs.IsPathInCatalogScope(m_pCatalog.get(), strFolder.c_str());
    }

    CPreferences m_prefs;
    std::string m_strShareDrive; // "X:\" of the share
};

TEST_F(CPreferencesScopeTest, FixedDrivesAreInScopeWithTheLocalDisk)
{
    Choose(CCatalog::PLACE_LOCAL_DISK, {});
    EXPECT_TRUE(InScope("c:\\home\\ana\\"));
    EXPECT_FALSE(InScope(m_strShareDrive + "reports\\"));
    EXPECT_FALSE(InScope("notapath"));

    Choose(CCatalog::PLACE_NONE, {});
    EXPECT_FALSE(InScope("c:\\home\\ana\\"));
}

TEST_F(CPreferencesScopeTest, CataloguedFoldersCoverTheirSubfoldersInShareForm)
{
    Choose(CCatalog::PLACE_NETWORK, { "\\\\office-pc\\documents\\reports\\", "c:\\work" });
    EXPECT_TRUE(InScope("\\\\Office-PC\\Documents\\Reports\\2024\\"));
    // The same folder through the share's drive letter.
    EXPECT_TRUE(InScope(m_strShareDrive + "Reports\\"));
    EXPECT_TRUE(InScope(m_strShareDrive + "reports\\2024\\"));
    EXPECT_FALSE(InScope(m_strShareDrive + "other\\"));
    EXPECT_TRUE(InScope("c:\\work\\"));
    EXPECT_TRUE(InScope("c:\\Work\\drafts\\"));
    // A name that only begins like a catalogued folder is another folder.
    EXPECT_FALSE(InScope("c:\\workshop\\"));
    EXPECT_FALSE(InScope("c:\\home\\"));
}
