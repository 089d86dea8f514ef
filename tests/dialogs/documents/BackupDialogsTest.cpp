#include "dialogs/documents/CDlgBackupList.h"

#include "dialogs/documents/CDlgBackupFolder.h"
#include "frame/CBackupMonitor.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CCatalogFiles.h"
#include "store/CPreferences.h"
#include "store/CatalogTypes.h"
#include "tests/dialogs/DialogTestSupport.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/framework/AfxMessages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class BackupDialogsTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        m_preferences.m_nNumBackups = 3;
        for (BOOL bRecycle : { FALSE, TRUE })
            ASSERT_TRUE(CCatalog::CreateFile(bRecycle, Path(bRecycle ? "winrec.cat" : "archiv.cat"), BLOCK_SIZE));
    }

    CString Path(const char* pszName) const { return ProgramPathFromHostPath((Home() / pszName).string()).c_str(); }

    CBackupMonitor Monitor()
    {
        return CBackupMonitor(Path("archiv.cat"), Path("winrec.cat"), m_preferences, m_prompts);
    }

    // Whether the backup list's restore button is enabled once the dialog was idle.
    static BOOL ChooseEnabled(HWND hDlg)
    {
        ::SendMessage(hDlg, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        return CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDC_BACKUP_CHOOSE));
    }

    CPreferences m_preferences;
    CDefaultFramePrompts m_prompts;
};

} // namespace

TEST_F(BackupDialogsTest, WithoutGenerationsTheListSaysSoAndNothingCanBeChosen)
{
    CBackupMonitor monitor = Monitor();
    CDlgBackupList dlg(monitor.GetCatalogFiles(), FALSE);
    std::vector<CString> lines;
    BOOL bChoose = TRUE, bOldCopies = TRUE;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            lines = CTestDriver::Items(::GetDlgItem(hDlg, IDC_BACKUP_GENERATIONS));
            bOldCopies = CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDC_BACKUP_OLD_COPIES));
        })
        .Select(IDC_BACKUP_GENERATIONS, 0)
        .Then([&](HWND hDlg) { bChoose = ChooseEnabled(hDlg); })
        .Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], Text(IDS_NO_BACKUP));
    EXPECT_FALSE(bChoose) << "the notice line is no generation";
    EXPECT_FALSE(bOldCopies);
}

TEST_F(BackupDialogsTest, AConfirmedGenerationEndsTheListWithItsNumberAndACancelledOneKeepsItOpen)
{
    CBackupMonitor monitor = Monitor();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(monitor.MakeCatalogBackup());
    CDlgBackupList dlg(monitor.GetCatalogFiles(), FALSE);
    std::vector<CString> lines;
    BOOL bChooseBefore = TRUE, bChooseAfter = FALSE;
    CDialogScript list;
    list.Then([&](HWND hDlg) {
            lines = CTestDriver::Items(::GetDlgItem(hDlg, IDC_BACKUP_GENERATIONS));
            bChooseBefore = ChooseEnabled(hDlg);
        })
        .Select(IDC_BACKUP_GENERATIONS, 2)
        .Then([&](HWND hDlg) { bChooseAfter = ChooseEnabled(hDlg); })
        .Press(IDC_BACKUP_CHOOSE)
        .Press(IDC_BACKUP_CHOOSE);
    CString strConfirmation;
    CDialogScript cancelled;
    cancelled.Press(IDCANCEL);
    CDialogScript confirmed;
    confirmed.Then([&](HWND hInfo) { strConfirmation = CTestDriver::Text(::GetDlgItem(hInfo, IDC_BACKUP_MESSAGE)); })
        .Press(IDOK);
    Answer(list);
    Answer(cancelled);
    Answer(confirmed);
    EXPECT_EQ(dlg.DoModal(), CBackupMonitor::END_RESTORE_GENERATION);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[2].Find("#3"), -1);
    EXPECT_FALSE(bChooseBefore) << "nothing selected yet";
    EXPECT_TRUE(bChooseAfter);
    EXPECT_EQ(dlg.GetGeneration(), 3);
    EXPECT_TRUE(dlg.IsConfirmed());
    EXPECT_NE(strConfirmation.Find(lines[2]), -1) << "the confirmation names the line chosen";
}

TEST_F(BackupDialogsTest, ThePreviousCopiesEndTheListWhenTheCallerOffersThem)
{
    CBackupMonitor monitor = Monitor();
    CDlgBackupList dlg(monitor.GetCatalogFiles(), TRUE);
    CDialogScript script;
    script.Press(IDC_BACKUP_OLD_COPIES);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), CBackupMonitor::END_RESTORE_OLD);
}

TEST_F(BackupDialogsTest, TheBackupFolderMustBeAWritableFolderAndMayBeOnARemovableMedium)
{
    const std::filesystem::path medium = Home() / "medium";
    std::filesystem::create_directories(medium / "copies");
    ASSERT_TRUE(SetDriveOverride('R', medium.string().c_str(), DRIVE_REMOVABLE));
    thePreferences.m_strDefaultDirCopyRem = "R:\\offered";

    CDlgBackupFolder dlg;
    CString strOffered;
    CDialogScript script;
    script.Then([&](HWND hDlg) { strOffered = CTestDriver::Text(::GetDlgItem(hDlg, IDC_TARGET_PATH)); })
        .SetText(IDC_TARGET_PATH, "   ")
        .Press(IDOK)
        .SetText(IDC_TARGET_PATH, "R:\\missing")
        .Press(IDOK)
        .SetText(IDC_TARGET_PATH, "  R:\\copies")
        .Press(IDOK);
    Answer(script);
    AnswerMessage();
    AnswerMessage();
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ResetDriveTable();
    EXPECT_EQ(strOffered, CString("R:\\offered")) << "the preference is offered first";
    EXPECT_EQ(dlg.m_strTargetPath, CString("R:\\copies"));
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[0], Text(IDS_TARGET_EMPTY));
    EXPECT_EQ(m_messages[1], Text(IDS_DEFAULT_FOLDER_MISSING));
    EXPECT_EQ(thePreferences.m_strDefaultDirCopyRem, CString("R:\\offered")) << "the preference is not written";
}
