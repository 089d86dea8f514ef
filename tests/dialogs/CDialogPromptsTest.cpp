#include "dialogs/CDialogPrompts.h"

#include "frame/CBackupMonitor.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNetDriveMap.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CatalogTypes.h"
#include "tests/dialogs/DialogTestSupport.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/base/Registry.h"
#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

class CDialogPromptsTest : public DialogTest {
protected:
    CString Path(const char* pszName) const { return ProgramPathFromHostPath((Home() / pszName).string()).c_str(); }

    // Every file of the program folder with its bytes.
    std::map<std::string, std::string> Files() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(Home())) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
        }
        return files;
    }

    // Both catalog files with a header marker, three backup generations of
    // them, then a main catalog that fails its check and the flag of a run
    // that did not end cleanly.
    void MakeCrashedCatalogWithBackups()
    {
        for (BOOL bRecycle : { FALSE, TRUE }) {
            const CString strPath = Path(bRecycle ? "winrec.cat" : "archiv.cat");
            ASSERT_TRUE(CCatalog::CreateFile(bRecycle, strPath, BLOCK_SIZE));
            CCatalog catalog(strPath, 0);
            ASSERT_TRUE(catalog.SetHeaderStrings("good", ""));
        }
        m_preferences.m_nNumBackups = 3;
        CBackupMonitor monitor(Path("archiv.cat"), Path("winrec.cat"), m_preferences, GetFramePrompts());
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(monitor.MakeCatalogBackup());
        ASSERT_TRUE(monitor.SetMonitorFlag());
        std::fstream file(Home() / "archiv.cat", std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(FILE_HEADER_SIZE);
        const char bad[4] = { 99, 0, 0, 0 };
        file.write(bad, sizeof(bad));
    }

    CPreferences m_preferences;
};

} // namespace

TEST_F(CDialogPromptsTest, ACrashedCatalogIsRestoredFromTheGenerationChosenInTheDialogs)
{
    const CDialogPrompts prompts;
    MakeCrashedCatalogWithBackups();
    const std::string strGeneration = Files().at("archiv1.bck");

    CDialogScript recovery;
    recovery.Press(IDOK);
    CDialogScript list;
    list.Select(IDC_BACKUP_GENERATIONS, 0).Press(IDC_BACKUP_CHOOSE);
    CDialogScript confirm;
    confirm.Press(IDOK);
    Answer(recovery);
    Answer(list);
    Answer(confirm);
    AnswerMessage();
    CBackupMonitor monitor(Path("archiv.cat"), Path("winrec.cat"), m_preferences, GetFramePrompts());
    EXPECT_TRUE(monitor.CheckCatalogAtStartup());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], Text(IDS_RESTORE_DONE));
    EXPECT_EQ(Files().at("archiv.cat"), strGeneration);
}

TEST_F(CDialogPromptsTest, CancelAtEveryStepOfTheRecoveryLeavesEveryFileAsItWas)
{
    const CDialogPrompts prompts;
    MakeCrashedCatalogWithBackups();
    const auto before = Files();
    for (int nStep = 0; nStep < 3; ++nStep) {
        CDialogScript recovery;
        CDialogScript list;
        CDialogScript confirm;
        if (nStep == 0) {
            recovery.Press(IDCANCEL);
            Answer(recovery);
        } else if (nStep == 1) {
            recovery.Press(IDOK);
            list.Press(IDCANCEL);
            Answer(recovery);
            Answer(list);
        } else {
            recovery.Press(IDOK);
            list.Select(IDC_BACKUP_GENERATIONS, 1).Press(IDC_BACKUP_CHOOSE).Press(IDCANCEL);
            confirm.Press(IDCANCEL);
            Answer(recovery);
            Answer(list);
            Answer(confirm);
        }
        CBackupMonitor monitor(Path("archiv.cat"), Path("winrec.cat"), m_preferences, GetFramePrompts());
        monitor.CheckCatalogAtStartup();
        EXPECT_EQ(Files(), before) << "cancelled at step " << nStep;
    }
}

TEST_F(CDialogPromptsTest, ThePasswordQuestionOfTheCataloguingAnswersOnlyWithTheRightPassword)
{
    const CDialogPrompts prompts;
    CDialogScript script;
    script.SetText(IDC_PASSWORD, "wrong").Press(IDOK).SetText(IDC_PASSWORD, "right").Press(IDOK);
    Answer(script);
    AnswerMessage();
    CString strPassword;
    EXPECT_EQ(GetCatalogPrompts().AskPassword(nullptr, "C:\\a.odt", "right", 1, TRUE, strPassword), IDOK);
    EXPECT_EQ(strPassword, CString("right"));

    CDialogScript cancel;
    cancel.Press(IDCANCEL);
    Answer(cancel);
    CString strUntouched("keep");
    EXPECT_EQ(GetCatalogPrompts().AskPassword(nullptr, "C:\\a.odt", "right", 2, TRUE, strUntouched), IDCANCEL);
    EXPECT_EQ(strUntouched, CString("keep"));
}

TEST_F(CDialogPromptsTest, AShareIsConnectedThroughTheLogonOnlyOnTheThreadThatInstalledIt)
{
    const fs::path share = Home() / "share";
    fs::create_directories(share);
    const std::string strMounts
        = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n4 1 0:51 / " + share.string() + " rw - cifs //nas/docs rw\n";
    ReloadDriveTable(strMounts.c_str());
    {
        const CDialogPrompts prompts;
        CDialogScript cancel;
        cancel.Press(IDCANCEL);
        Answer(cancel);
        EXPECT_EQ(g_netDriveMap.ConnectDrive("\\\\nas\\docs", nullptr), 0);
        EXPECT_EQ(GetLastError(), ERROR_CANCELLED);

        CDialogScript logon;
        logon.SetText(IDC_PASSWORD, "pw").Press(IDOK);
        Answer(logon);
        EXPECT_EQ(g_netDriveMap.ConnectDrive("\\\\nas\\docs", nullptr), 1);

        int nOtherThread = -1;
        std::thread([&] { nOtherThread = g_netDriveMap.ConnectDrive("\\\\nas\\docs", nullptr); }).join();
        EXPECT_EQ(nOtherThread, 1) << "another thread connects without asking";
    }
    ResetDriveTable();
}

TEST_F(CDialogPromptsTest, TheFramesQuestionsAreAnsweredByTheirDialogs)
{
    const CDialogPrompts prompts;
    CFramePrompts& frame = GetFramePrompts();
    for (auto eWindow : { CFramePrompts::EWindow::ConfirmSetup, CFramePrompts::EWindow::OrphanWarning,
             CFramePrompts::EWindow::DailyNotice })
        EXPECT_TRUE(frame.HasWindow(eWindow));

    CDialogScript orphan;
    orphan.Check(IDC_NOTICE_DONT_ASK).Press(IDYES);
    Answer(orphan);
    BOOL bDontWarn = FALSE;
    EXPECT_EQ(frame.OrphanWarning(&bDontWarn), IDYES);
    EXPECT_TRUE(bDontWarn);

    CString strTitle;
    CDialogScript notice;
    notice.Then([&](HWND hDlg) { strTitle = CTestDriver::Text(CTestDriver::FindChild(hDlg, IDC_DAILY_NOTICE_TITLE)); });
    notice.Press(IDCANCEL);
    Answer(notice);
    EXPECT_EQ(frame.DailyNotice(3, "today"), IDCANCEL);
    EXPECT_NE(std::string(strTitle).find('3'), std::string::npos);

    // The operation's question: Stop, then Yes to the confirmation, stops.
    CDialogScript stop;
    stop.Press(IDCANCEL);
    Answer(stop);
    AnswerMessage(IDYES);
    EXPECT_EQ(frame.OperationInProgress(nullptr), IDCANCEL);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], Text(IDS_STOP_OPERATION));

    CDialogScript setup;
    setup.Press(IDOK);
    Answer(setup);
    EXPECT_EQ(frame.ConfirmSetup(), IDOK);
}

TEST_F(CDialogPromptsTest, TheGroupCommandsOpenTheGroupDialogs)
{
    const CDialogPrompts prompts;
    CFramePrompts& frame = GetFramePrompts();
    for (auto eWindow : { CFramePrompts::EWindow::GroupDialogs, CFramePrompts::EWindow::KeywordSystemSheet })
        EXPECT_TRUE(frame.HasWindow(eWindow));
    ASSERT_TRUE(CCatalog::CreateFile(FALSE, Path("archiv.cat"), BLOCK_SIZE));
    CCatalog catalog(Path("archiv.cat"), 1);
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));

    CDialogScript group;
    group.SetText(IDC_GROUP_NAME, "Letters").Press(IDOK);
    Answer(group);
    EXPECT_EQ(frame.NewGroup(*pRoot), 1);
    std::unique_ptr<CNodeRec> pLetters(pRoot->FindChildByName("Letters"));
    ASSERT_NE(pLetters, nullptr);

    for (int nAnswer : { IDOK, IDCANCEL }) {
        CDialogScript properties;
        properties.Press(nAnswer);
        Answer(properties);
        EXPECT_EQ(frame.GroupProperties(*pLetters), nAnswer);
        CDialogScript keywords;
        keywords.Press(nAnswer);
        Answer(keywords);
        EXPECT_EQ(frame.KeywordProperties(*pLetters), nAnswer);
    }
}
