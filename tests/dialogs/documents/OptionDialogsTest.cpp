#include "dialogs/documents/CDlgCatalogMaintenance.h"

#include "dialogs/documents/CDlgUpdateCatalog.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CCleanUpFolderRec.h"
#include "store/CLibFolderRec.h"
#include "store/CPreferences.h"
#include "store/CatalogTypes.h"
#include "tests/dialogs/DialogTestSupport.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

class OptionDialogsTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        std::filesystem::create_directories(Home() / "fixed" / "Temp");
        std::filesystem::create_directories(Home() / "stick" / "Temp");
        ASSERT_TRUE(SetDriveOverride('F', (Home() / "fixed").string().c_str(), DRIVE_FIXED));
        ASSERT_TRUE(SetDriveOverride('R', (Home() / "stick").string().c_str(), DRIVE_REMOVABLE));
    }
    void TearDown() override
    {
        ResetDriveTable();
        DialogTest::TearDown();
    }

    // The rows of a list view and its first column's width, read while the dialog shows.
    struct Rows {
        std::vector<CString> texts;
        int nWidth { 0 };
    };
    static Rows ReadRows(HWND hList)
    {
        Rows rows;
        for (const auto& row : CTestDriver::ListRows(hList))
            rows.texts.push_back(row.front());
        rows.nWidth = CTestDriver::ListColumnWidths(hList).front();
        return rows;
    }
};

} // namespace

TEST_F(OptionDialogsTest, MaintenanceListsOnlyUsableCleanUpFoldersLowerCasedAndPresetsItsBoxes)
{
    const std::string strPath = ProgramPathFromHostPath((Home() / "archiv.cat").string());
    ASSERT_TRUE(CCatalog::CreateFile(FALSE, strPath.c_str(), BLOCK_SIZE));
    CCatalog catalog(strPath.c_str(), 0);
    for (LPCTSTR pszFolder : { "F:\\Temp", "R:\\Temp", "Q:\\Gone", "F:\\Missing" })
        std::unique_ptr<CCleanUpFolderRec>(catalog.AddCleanUpFolder(pszFolder));
    for (LPCTSTR pszMask : { "*.TMP", "~$*.Doc With A Long Name To Widen The Column" })
        std::unique_ptr<CLibFolderRec>(catalog.AddLibFolder(pszMask));
    thePreferences.m_bCleanUpExpired = TRUE;
    thePreferences.m_bCleanUpRecycle = FALSE;
    thePreferences.m_bCleanUpTempFiles = TRUE;
    thePreferences.m_bCleanUpTempFolders = FALSE;

    CDlgCatalogMaintenance dlg(&catalog);
    Rows cleanUp, library;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            cleanUp = ReadRows(::GetDlgItem(hDlg, IDC_CLEANUP_FOLDERS));
            library = ReadRows(::GetDlgItem(hDlg, IDC_LIBRARY_FOLDERS));
        })
        .Check(IDC_CLEAN_RECYCLE)
        .Uncheck(IDC_CLEAN_EXPIRED)
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(cleanUp.texts, std::vector<CString> { "f:\\temp" })
        << "removable, missing and unreachable folders are left out";
    ASSERT_EQ(library.texts.size(), 2u);
    EXPECT_EQ(library.texts[1], CString("~$*.doc with a long name to widen the column"));
    EXPECT_GT(library.nWidth, 100) << "the column grows to the widest row";
    EXPECT_FALSE(dlg.m_bExpired);
    EXPECT_TRUE(dlg.m_bRecycle);
    EXPECT_TRUE(dlg.m_bTempFiles);
    EXPECT_FALSE(dlg.m_bTempFolders);
    EXPECT_TRUE(thePreferences.m_bCleanUpExpired) << "the preferences are not written";
}

TEST_F(OptionDialogsTest, UpdateBoxesMirrorTheUpdateOptionAndTheFastFoldersAreListed)
{
    thePreferences.m_fastUpdateDir.RemoveAll();
    thePreferences.m_fastUpdateDir.Add("F:\\Temp");
    thePreferences.m_fastUpdateDir.Add("F:\\Reports");
    for (int nOption : { 0, 1, 2, 3, 7 }) {
        thePreferences.m_nUpdateOption = nOption;
        CDlgUpdateCatalog dlg;
        BOOL bFirst = FALSE, bSecond = FALSE;
        Rows rows;
        CDialogScript script;
        script
            .Then([&](HWND hDlg) {
                bFirst = CTestDriver::IsChecked(::GetDlgItem(hDlg, IDC_UPDATE_FIRST));
                bSecond = CTestDriver::IsChecked(::GetDlgItem(hDlg, IDC_UPDATE_SECOND));
                rows = ReadRows(::GetDlgItem(hDlg, IDC_UPDATE_FOLDERS));
            })
            .Press(IDOK);
        Answer(script);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(bFirst, nOption == 1 || nOption == 3) << nOption;
        EXPECT_EQ(bSecond, nOption == 2 || nOption == 3) << nOption;
        EXPECT_EQ(dlg.m_bFirst, bFirst);
        EXPECT_EQ(rows.texts, (std::vector<CString> { "f:\\temp", "f:\\reports" }));
    }
}
