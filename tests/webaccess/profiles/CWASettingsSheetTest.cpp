#include "webaccess/profiles/CWASettings.h"

#include "store/CPreferences.h"
#include "store/FileHelpers.h"
#include "store/PreferenceSheets.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A preferences object carrying its own web settings block.
struct CWebPreferences {
    CWebPreferences() { prefs.AttachWebSettings(&settings); }

    CWASettings settings;
    CPreferences prefs;
};

using CWASettingsSheetTest = ProgramFolderTest;

} // namespace

TEST_F(CWASettingsSheetTest, WebSheetValuesAreSavedWithANewCommunicationFolder)
{
    CWebPreferences web;
    web.prefs.SetDefaults();
    web.settings.m_strLogin = "ana";
    web.settings.m_nConnType = 3;
    CPreferencesWebSheetData sheet;
    web.prefs.CopyToWebSheet(sheet);
    EXPECT_EQ(std::string(sheet.account.strLogin), "ana");
    EXPECT_EQ(sheet.connection.nConnType, 3);

    sheet.account = { "bo", "pw", "Home", "XYZ1234" };
    sheet.connection.nConnType = 2;
    sheet.connection.strDirServer = "D:\\Shared";
    ASSERT_TRUE(web.prefs.CopyFromWebSheet(sheet));
    EXPECT_EQ(std::string(web.settings.m_strCommFolder), "D:\\Shared\\XYZ1.234\\");

    CWebPreferences loaded;
    loaded.prefs.Load();
    EXPECT_EQ(std::string(loaded.settings.m_strLogin), "bo");
    EXPECT_EQ(std::string(loaded.settings.m_strPassword), "pw");
    EXPECT_EQ(std::string(loaded.settings.m_strCatName), "Home");
    EXPECT_EQ(std::string(loaded.settings.m_strCatCode), "XYZ1234");
    EXPECT_EQ(loaded.settings.m_nConnType, 2);
    EXPECT_EQ(std::string(loaded.settings.m_strDirServer), "D:\\Shared");
    EXPECT_EQ(std::string(loaded.settings.m_strCommFolder), "D:\\Shared\\XYZ1.234\\");
}

TEST_F(CWASettingsSheetTest, WithoutADirectoryServerTheFolderIsTheOneLoadingGives)
{
    CWebPreferences web;
    web.prefs.SetDefaults();
    CPreferencesWebSheetData sheet;
    web.prefs.CopyToWebSheet(sheet);
    sheet.account.strCatCode = "XYZ1234";
    sheet.connection.nConnType = 1;
    sheet.connection.strDirServer = "D:\\Shared";
    ASSERT_TRUE(web.prefs.CopyFromWebSheet(sheet));
    EXPECT_EQ(
        std::string(web.settings.m_strCommFolder), std::string(BuildCommFolderPath(GetProgramFolder(), "XYZ1234")));

    CWebPreferences loaded;
    loaded.prefs.Load();
    EXPECT_EQ(std::string(loaded.settings.m_strCommFolder), std::string(web.settings.m_strCommFolder));
}

TEST_F(CWASettingsSheetTest, ShortCatalogCodeLeavesNoCommunicationFolder)
{
    CWebPreferences web;
    web.settings.m_strCommFolder = "C:\\Old\\ABCD.EFG\\";
    CPreferencesWebSheetData sheet;
    web.prefs.CopyToWebSheet(sheet);
    sheet.account.strCatCode = "XYZ";
    sheet.connection.strDirServer = "D:\\Shared";
    ASSERT_TRUE(web.prefs.CopyFromWebSheet(sheet));
    EXPECT_TRUE(web.settings.m_strCommFolder.IsEmpty());
}
