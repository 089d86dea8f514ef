// The new-document monitor as a user meets it in the running program: new
// documents announced in the tray and catalogued from there, one after the
// other, through the program's own dialogs.

#include "dialogs/CDialogPrompts.h"
#include "monitor/CNewDocMonitor.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNodeRec.h"
#include "tests/frame/AppTestFixture.h"
#include "tests/support/ScopedVariable.h"

#include "platform/base/PathMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

class ProgramMonitorTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // The catalog covers one folder of its own, where new documents appear.
        m_strFolder = ProgramPathFromHostPath(m_watched.Path().string());
        WriteCatalog([this](CCatalog& catalog, CNodeRec& root) {
            ASSERT_TRUE(catalog.LoadExtensions("txt"));
            ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(catalog.AddMailStore(LOCATION_NETWORK, m_strFolder.c_str())));
            AddSystem(root, "Letters");
        });
        m_prompts.emplace();
    }
    void TearDown() override
    {
        Stop();
        m_prompts.reset();
        AppTest::TearDown();
    }

    CNewDocMonitor& Monitor() { return MainFrame()->GetMonitor(); }
    // A new document written into the watched folder, seen and announced.
    void NewDocument(const char* pszName)
    {
        m_watched.WriteFile(pszName, "new");
        const CString strPath = CString(m_strFolder.c_str()) + "\\" + pszName;
        ASSERT_TRUE(m_driver.PumpUntil([&] {
            for (const CNewDocNotice& notice : Monitor().GetNotices())
                if (notice.GetPath().CompareNoCase(strPath) == 0)
                    return true;
            return false;
        })) << pszName;
        m_driver.Advance(CNewDocMonitor::DRAIN_DELAY_MS);
    }
    // Each of the next nCount dialogs is answered: the cataloguing dialog
    // catalogues its document and the word of documents gone is closed, both
    // noted; any other (the offer of new document types at start) is
    // cancelled.
    void AnswerNextDialogs(int nCount)
    {
        for (int i = 0; i < nCount; ++i) {
            m_driver.OnNextDialog([this](HWND hDlg) {
                if (HWND hPath = ::GetDlgItem(hDlg, IDC_DOCUMENT_PATH)) {
                    m_dialogs.emplace_back(CTestDriver::Text(hPath));
                    ::SendMessage(hDlg, WM_COMMAND, IDOK, 0);
                } else if (HWND hGone = ::GetDlgItem(hDlg, IDC_NEW_DOCS_TEXT)) {
                    m_dialogs.emplace_back(CTestDriver::Text(hGone));
                    ::EndDialog(hDlg, IDOK);
                } else {
                    ::EndDialog(hDlg, IDCANCEL);
                }
            });
        }
    }
    // A double click on the monitor's tray icon.
    void CatalogFromTheTray()
    {
        ASSERT_TRUE(m_driver.ClickTrayIcon(Monitor().GetSafeHwnd(), IDR_DOC_MONITOR, WM_LBUTTONDBLCLK));
        m_driver.Pump();
    }
    BOOL IsCatalogued(const char* pszName)
    {
        const CString strPath = CString(m_strFolder.c_str()) + "\\" + pszName;
        CCatalog* pCatalog = App().GetMainCatalog();
        if (!pCatalog->Acquire()) // closed while the program waits in the tray
            return FALSE;
        const BOOL bFound = std::unique_ptr<CDocumentRec>(pCatalog->FindPath(strPath)) ? TRUE : FALSE;
        pCatalog->Release();
        return bFound;
    }

    TempFolder m_watched;
    std::string m_strFolder;
    std::optional<CDialogPrompts> m_prompts;
    std::vector<CString> m_dialogs;
};

} // namespace

TEST_F(ProgramMonitorTest, InTheTrayNewDocumentsAreOfferedAndCataloguedOneAfterTheOtherWithNoWordOfAnyGone)
{
    AnswerNextDialogs(1);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Monitor().IsIconShown());
    // Closed, the program waits in the tray.
    MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    ASSERT_FALSE(MainFrame()->IsWindowVisible());

    NewDocument("first.txt");
    ASSERT_EQ(Monitor().GetPendingCount(), 1);
    AnswerNextDialogs(3);
    CatalogFromTheTray();
    EXPECT_TRUE(IsCatalogued("first.txt"));
    EXPECT_EQ(Monitor().GetPendingCount(), 0);

    NewDocument("second.txt");
    ASSERT_EQ(Monitor().GetPendingCount(), 1);
    CatalogFromTheTray();
    EXPECT_TRUE(IsCatalogued("second.txt"));
    EXPECT_EQ(Monitor().GetPendingCount(), 0);

    // Only the two cataloguing dialogs: no word of a document that went away.
    ASSERT_EQ(m_dialogs.size(), 2u);
    EXPECT_NE(m_dialogs[0].Find("first.txt"), -1) << m_dialogs[0];
    EXPECT_NE(m_dialogs[1].Find("second.txt"), -1) << m_dialogs[1];
}

TEST_F(ProgramMonitorTest, ADocumentGoneIsToldOfOnceWhenTheExitIsCancelled)
{
    // An unsorted document makes the exit ask whether to archive it first.
    WriteCatalog([this](CCatalog& catalog, CNodeRec& root) {
        ASSERT_TRUE(catalog.LoadExtensions("txt"));
        ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(catalog.AddMailStore(LOCATION_NETWORK, m_strFolder.c_str())));
        AddSystem(root, "Letters");
        const std::unique_ptr<CNodeRec> pUnsorted(CNodeRec::NewTopNodeRec3(&catalog));
        ASSERT_TRUE(pUnsorted);
        AddDocument(catalog, *pUnsorted, (m_strFolder + "\\unsorted.txt").c_str());
    });
    AppTest::m_prompts.m_nOrphanAnswer = IDCANCEL;
    AnswerNextDialogs(1);
    ASSERT_TRUE(Start());

    NewDocument("gone.txt");
    std::error_code ec;
    ASSERT_TRUE(std::filesystem::remove(m_watched.Path() / "gone.txt", ec)) << ec.message();
    AnswerNextDialogs(3);
    Command(ID_APP_EXIT_PROGRAM);
    ASSERT_TRUE(MainFrame() && MainFrame()->IsWindowVisible()) << "the exit was cancelled";
    EXPECT_EQ(Monitor().GetPendingCount(), 0);

    NewDocument("next.txt");
    Command(ID_CATALOG_NEW_DOCUMENT);
    EXPECT_TRUE(IsCatalogued("next.txt"));

    // The word of the document gone, then the cataloguing dialog: no second word.
    ASSERT_EQ(m_dialogs.size(), 2u);
    EXPECT_EQ(m_dialogs[0].Find("next.txt"), -1) << m_dialogs[0];
    EXPECT_NE(m_dialogs[1].Find("next.txt"), -1) << m_dialogs[1];
}

// The desktop's trash may lie in the watched folder (a home catalogued
// whole): what goes into it is no new document, and the next one is.
TEST_F(ProgramMonitorTest, WhatTheDesktopPutsInItsTrashIsNoNewDocument)
{
    ScopedVariable dataHome("XDG_DATA_HOME", (m_watched.Path() / "data").string());
    AnswerNextDialogs(1);
    ASSERT_TRUE(Start());
    const std::filesystem::path trash = m_watched.Path() / "data" / "Trash";
    std::filesystem::create_directories(trash / "files");
    std::filesystem::create_directories(trash / "info");
    std::ofstream(trash / "files" / "thrown.txt") << "away";
    std::ofstream(trash / "info" / "thrown.txt.trashinfo") << "[Trash Info]\nPath=/x/thrown.txt\n";

    NewDocument("next.txt");
    ASSERT_EQ(Monitor().GetNotices().size(), 1u) << Monitor().GetNotices()[0].GetPath();
    EXPECT_NE(Monitor().GetNotices()[0].GetPath().Find("next.txt"), -1);
}
