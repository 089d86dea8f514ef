// The clean-up page in a preference sheet over a main catalog: its two lists
// come from the catalog and go back to it on OK only; folders it does not
// list are kept, a drive root is never added, and a write that fails leaves
// both lists as they were and says so.

#include "dialogs/preferences/CPrefLibAutomaticaPropPage.h"

#include "store/CCatalog.h"
#include "store/CCleanUpFolderRec.h"
#include "store/CLibFolderRec.h"
#include "store/CatalogIo.h"
#include "store/ResString.h"
#include "tests/dialogs/preferences/FolderPageTest.h"
#include "tests/ui/RecordingUiHost.h"

#include <memory>

namespace {

class PrefLibAutomaticaPropPageTest : public FolderPageTest {
protected:
    void SetUp() override
    {
        FolderPageTest::SetUp();
        MakeFolder("Temp");
        MakeFolder("Cache");
        MakeReadOnlyFolder("Locked");
        AddDrive('E', DRIVE_REMOVABLE);
        MakeFolder("stick", 'E');
        Open(1);
        for (const char* pszMask : { "~*.*", "*.TMP" })
            std::unique_ptr<CLibFolderRec>(m_pCatalog->AddLibFolder(pszMask));
        for (const char* pszFolder : { "c:\\temp", "c:\\locked", "e:\\stick", "c:\\gone" })
            std::unique_ptr<CCleanUpFolderRec>(m_pCatalog->AddCleanUpFolder(pszFolder));
    }
    void TearDown() override
    {
        m_host.m_pMainCatalog = nullptr;
        m_pCatalog.reset();
        FolderPageTest::TearDown();
    }

    void Open(int nInitialise)
    {
        m_host.m_pMainCatalog = nullptr;
        m_pCatalog.reset();
        m_pCatalog = std::make_unique<CCatalog>("C:\\archiv.cat", nInitialise);
        m_host.m_pMainCatalog = m_pCatalog.get();
    }
    int Run(const std::function<void(HWND hSheet, HWND hPage)>& step, int nButton = IDOK)
    {
        CPrefLibAutomaticaPropPage page(m_data);
        return RunPage(
            page,
            [&](HWND hSheet, HWND hPage) {
                m_masksShown = Rows(hPage, IDC_LIBRARY_FOLDERS);
                m_foldersShown = Rows(hPage, IDC_CLEANUP_FOLDERS);
                step(hSheet, hPage);
            },
            nButton);
    }
    // The texts of a table of the catalog, read again from its file.
    std::vector<std::string> Stored(LONG nTableType)
    {
        Open(0);
        std::vector<std::string> texts;
        for (const CString& strText : ReadEntryTexts(m_pCatalog.get(), nTableType))
            texts.emplace_back(strText);
        return texts;
    }
    void AddMask(HWND hPage, const char* pszMask)
    {
        Driver().OnNextDialog([pszMask](HWND hDialog) {
            ::SetDlgItemText(hDialog, IDC_CATALOG_OPTION_TEXT, pszMask);
            ::SendMessage(hDialog, WM_COMMAND, IDOK, 0);
        });
        ClickButton(hPage, IDC_LIBRARY_ADD);
    }

    CRecordingUiHost m_host;
    std::unique_ptr<CCatalog> m_pCatalog;
    CPrefLibAutomaticaPageData m_data { TRUE, FALSE, TRUE, FALSE };
    std::vector<std::string> m_masksShown;
    std::vector<std::string> m_foldersShown;
};

TEST_F(PrefLibAutomaticaPropPageTest, OkRewritesTheListsAndKeepsTheFoldersItDidNotList)
{
    EXPECT_EQ(Run([&](HWND hSheet, HWND hPage) {
        AddMask(hPage, "*.bak");
        AddMask(hPage, "a|b");
        AddMask(hPage, "*.Tmp");
        SelectRow(hPage, IDC_LIBRARY_FOLDERS, 0);
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        ClickButton(hPage, IDC_LIBRARY_REMOVE);
        Pick(hPage, IDC_CLEANUP_ADD, { "C (c:)", "Cache" });
        ClickButton(hPage, IDC_CLEAN_RECYCLE);
    }),
        IDOK);
    EXPECT_EQ(m_masksShown, (std::vector<std::string> { "~*.*", "*.tmp" }));
    EXPECT_EQ(m_foldersShown, (std::vector<std::string> { "c:\\temp" })) << "writable folders on fixed disks";
    EXPECT_TRUE(m_data.bCleanUpRecycle);
    EXPECT_EQ(Stored(TABLE_LIB_FOLDER), (std::vector<std::string> { "*.tmp", "*.bak" }));
    EXPECT_EQ(Stored(TABLE_CLEANUP_FOLDER),
        (std::vector<std::string> { "c:\\temp", "c:\\cache", "c:\\locked", "e:\\stick", "c:\\gone" }));
}

TEST_F(PrefLibAutomaticaPropPageTest, ADriveRootIsNeverAddedAndCancelWritesNothing)
{
    std::vector<std::string> after;
    EXPECT_EQ(Run(
                  [&](HWND, HWND hPage) {
                      Pick(hPage, IDC_CLEANUP_ADD, { "C (c:)" });
                      Pick(hPage, IDC_CLEANUP_ADD, { "C (c:)", "Temp" });
                      after = Rows(hPage, IDC_CLEANUP_FOLDERS);
                      AddMask(hPage, "*.old");
                  },
                  IDCANCEL),
        IDCANCEL);
    EXPECT_EQ(after, (std::vector<std::string> { "c:\\temp" }));
    EXPECT_EQ(Stored(TABLE_LIB_FOLDER), (std::vector<std::string> { "~*.*", "*.TMP" }));
    EXPECT_EQ(
        Stored(TABLE_CLEANUP_FOLDER), (std::vector<std::string> { "c:\\temp", "c:\\locked", "e:\\stick", "c:\\gone" }));
}

TEST_F(PrefLibAutomaticaPropPageTest, AFailedWriteKeepsBothListsAndSaysSo)
{
    Run([&](HWND, HWND hPage) {
        AddMask(hPage, "*.bak");
        SetCatalogWriteFailure(1);
    });
    SetCatalogWriteFailure(0);
    EXPECT_EQ(m_messages, (std::vector<std::string> { std::string(GetResString(IDS_SETTINGS_NOT_SAVED)) }));
    EXPECT_EQ(Stored(TABLE_LIB_FOLDER), (std::vector<std::string> { "~*.*", "*.TMP" }));
    EXPECT_EQ(
        Stored(TABLE_CLEANUP_FOLDER), (std::vector<std::string> { "c:\\temp", "c:\\locked", "e:\\stick", "c:\\gone" }));
}

TEST_F(PrefLibAutomaticaPropPageTest, ReplacingTheListsAddsBeforeItDeletes)
{
    CStringArray masks;
    CStringArray folders;
    masks.Add("*.new");
    folders.Add(CString('x', CTextEntryRec::MAX_TEXT + 1)); // too long to store
    EXPECT_FALSE(CPrefLibAutomaticaPropPage::ReplaceCleanUpLists(*m_pCatalog, masks, folders));
    EXPECT_EQ(Stored(TABLE_LIB_FOLDER), (std::vector<std::string> { "~*.*", "*.TMP" }));
    EXPECT_EQ(
        Stored(TABLE_CLEANUP_FOLDER), (std::vector<std::string> { "c:\\temp", "c:\\locked", "e:\\stick", "c:\\gone" }));
}

} // namespace
