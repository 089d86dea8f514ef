// The Find Files window over a scratch catalog whose documents are real
// files on drive T:, and the find dialog over the find settings.

#include "catalog/CTextSearch.h"
#include "dialogs/documents/CDlgFindFiles.h"
#include "dialogs/documents/CDlgFindFilesHost.h"
#include "frame/FindSettings.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/ReferencePictures.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/gdi/Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class FindFilesDialogsTest : public DocumentDialogTest {
protected:
    void SetUp() override
    {
        DocumentDialogTest::SetUp();
        ASSERT_TRUE(SetDriveOverride('T', (Home() / "drive").string().c_str(), DRIVE_FIXED));
        m_pCatalog = NewMainCatalog();
        m_pGroup = AddNode(*Root(*m_pCatalog), "Projects");
        Catalogue("docs\\plan.txt", "the budget plan for spring");
        Catalogue("docs\\notes.txt", "minutes of the meeting");
        Catalogue("docs\\old\\plan-2019.txt", "an older plan");
        Catalogue("other\\plan.txt", "the budget elsewhere");
    }
    void TearDown() override
    {
        if (m_pFinder && ::IsWindow(m_pFinder->GetSafeHwnd()))
            m_pFinder->DestroyWindow();
        m_pFinder.reset();
        ResetDriveTable();
        DocumentDialogTest::TearDown();
    }

    // Writes the file under the drive and catalogues it in the group.
    void Catalogue(const std::string& strPath, const char* pszContent)
    {
        std::string strHost = strPath;
        std::replace(strHost.begin(), strHost.end(), '\\', '/');
        const fs::path host = Home() / "drive" / strHost;
        fs::create_directories(host.parent_path());
        std::ofstream(host) << pszContent;
        ASSERT_NE(AddDocument(*m_pCatalog, m_pGroup.get(), ("t:\\" + strPath).c_str()), nullptr);
    }
    CDlgFindFiles& OpenFinder(const char* pszFolder)
    {
        m_pFinder = std::make_unique<CDlgFindFiles>(pszFolder, m_pCatalog.get());
        EXPECT_TRUE(m_pFinder->CreateHidden());
        m_pFinder->ShowFinder();
        return *m_pFinder;
    }
    void Search(const char* pszWords, BOOL bContents = FALSE)
    {
        m_pFinder->SetDlgItemText(IDC_FIND_FILES_WORDS, pszWords);
        m_pFinder->CheckDlgButton(IDC_FIND_FILES_CONTENTS, bContents ? BST_CHECKED : BST_UNCHECKED);
        m_pFinder->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FIND_FILES_FIND, BN_CLICKED), 0);
    }
    // The rows as "name in folder", and the count line.
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        HWND hList = ::GetDlgItem(m_pFinder->GetSafeHwnd(), IDC_FIND_FILES_LIST);
        const int nCount = static_cast<int>(::SendMessage(hList, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < nCount; ++i)
            rows.push_back(std::string(ItemText(hList, i, 0)) + " in " + std::string(ItemText(hList, i, 1)));
        return rows;
    }
    static CString ItemText(HWND hList, int nItem, int nSubItem)
    {
        TCHAR szText[260] {};
        LVITEM item {};
        item.iSubItem = nSubItem;
        item.pszText = szText;
        item.cchTextMax = 260;
        ::SendMessage(hList, LVM_GETITEMTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item));
        return szText;
    }
    CString Count() const { return CTestDriver::Text(::GetDlgItem(m_pFinder->GetSafeHwnd(), IDC_FIND_FILES_COUNT)); }

    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pGroup;
    std::unique_ptr<CDlgFindFiles> m_pFinder;
};

using RowTexts = std::vector<std::string>;

TEST_F(FindFilesDialogsTest, FindsTheFolderFilesByNameOrContent)
{
    OpenFinder("T:\\Docs");
    EXPECT_TRUE(Rows().empty()) << "nothing is searched before Find Now";
    Search("PLAN");
    EXPECT_EQ(Rows(), (RowTexts { "Plan.txt in T:\\docs", "Plan-2019.txt in T:\\docs\\old" }))
        << "names without regard to case, in subfolders too, never outside the folder";
    EXPECT_EQ(Count(), CString("2 file(s) found"));
    Search("plan 2019");
    EXPECT_EQ(Rows(), (RowTexts { "Plan-2019.txt in T:\\docs\\old" })) << "every word must be found";
    Search("budget", TRUE);
    EXPECT_EQ(Rows(), (RowTexts { "Plan.txt in T:\\docs" })) << "the content of the folder's files only";
    Search("");
    EXPECT_EQ(Rows().size(), 3U) << "no words: every file of the folder";
}

TEST_F(FindFilesDialogsTest, ResultsFollowCatalogChangesAndAnotherFolder)
{
    CDlgFindFiles& finder = OpenFinder("t:\\docs\\");
    Search("plan");
    ASSERT_EQ(finder.GetFound().size(), 2U);

    Catalogue("docs\\plan-2021.txt", "plan");
    finder.OnCatalogChanged(m_pCatalog.get());
    EXPECT_EQ(finder.GetFound().size(), 3U) << "shown: searched again at once";

    finder.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(finder.IsWindowVisible()) << "Close hides the kept window";
    Catalogue("docs\\plan-2022.txt", "plan");
    finder.OnCatalogChanged(m_pCatalog.get());
    EXPECT_EQ(finder.GetFound().size(), 3U) << "hidden: the change waits";
    finder.ShowFinder();
    EXPECT_EQ(finder.GetFound().size(), 4U) << "searched when shown again";

    finder.SetStartFolder("t:\\other");
    EXPECT_EQ(Rows(), (RowTexts { "Plan.txt in T:\\other" })) << "the same words in the new folder";
}

TEST_F(FindFilesDialogsTest, FindWindowLooksAsReference)
{
    // The files' times are shown: fixed, so that the picture is.
    const auto fixed = fs::file_time_type::clock::from_sys(
        std::chrono::sys_seconds(std::chrono::sys_days(std::chrono::year(2020) / 3 / 14)));
    for (const char* pszFile : { "docs/plan.txt", "docs/old/plan-2019.txt" })
        fs::last_write_time(Home() / "drive" / pszFile, fixed);
    OpenFinder("t:\\docs");
    Search("plan");
    m_driver.Pump();
    TempFolder pictures;
    const fs::path shot = pictures / "shot.png";
    ASSERT_TRUE(CTestDriver::Screenshot(m_pFinder->GetSafeHwnd(), ProgramPathFromHostPath(shot.string()).c_str()));
    HBITMAP hbm = LoadPictureFile(ProgramPathFromHostPath(shot.string()).c_str());
    ASSERT_NE(hbm, nullptr);
    if (std::optional<std::string> mismatch
        = PictureMismatch(hbm, SourceRoot() / "tests/dialogs/documents/data/find_files.png", pictures))
        ADD_FAILURE() << *mismatch;
}

class FindHostTest : public FindFilesDialogsTest {
protected:
    void SetUp() override
    {
        FindFilesDialogsTest::SetUp();
        CFindRecord search;
        search.history.Add("minutes");
        search.nField = CTextSearch::FIELD_NAME;
        m_settings.UpdateFind(search, -1, -1, m_pCatalog.get());
        m_settings.UpdateLastFind(search, -1, -1, m_pCatalog.get());
    }
    void TearDown() override
    {
        m_settings.Free();
        FindFilesDialogsTest::TearDown();
    }

    CFindSettings m_settings;
};

TEST_F(FindHostTest, CancelChangesNothingAndEmptyTextIsRefused)
{
    CDlgFindFilesHost dlg(m_settings, m_pCatalog.get());
    CDialogScript script;
    script.SetText(IDC_FIND_HOST_TEXT, "budget")
        .Check(IDC_FIND_HOST_FIELD4)
        .Check(IDC_FIND_HOST_RESULT_LIST)
        .Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(m_settings.GetFind().GetText(), CString("minutes"));
    EXPECT_EQ(m_settings.GetFind().nField, CTextSearch::FIELD_NAME);
    EXPECT_FALSE(m_settings.GetFind().bResultList);

    CDlgFindFilesHost empty(m_settings, m_pCatalog.get());
    CDialogScript blank;
    blank.SetText(IDC_FIND_HOST_TEXT, "   ").Press(IDOK).Press(IDCANCEL);
    Answer(blank);
    AnswerMessage();
    EXPECT_EQ(empty.DoModal(), IDCANCEL);
    EXPECT_EQ(m_messages, std::vector<CString> { Text(IDS_FIND_NO_TEXT) });
    EXPECT_EQ(m_settings.GetLastSearchText(), CString("minutes"));
}

TEST_F(FindHostTest, OkStoresTheSearchAsTheProgramsCriteria)
{
    CDlgFindFilesHost dlg(m_settings, m_pCatalog.get());
    CString strOffered;
    CDialogScript script;
    script.Then([&](HWND hDlg) { strOffered = CTestDriver::Text(::GetDlgItem(hDlg, IDC_FIND_HOST_TEXT)); })
        .SetText(IDC_FIND_HOST_TEXT, "Budget Spring")
        .Check(IDC_FIND_HOST_FIELD4)
        .Check(IDC_FIND_HOST_TYPE0)
        .Check(IDC_FIND_HOST_RESULT_LIST)
        .Uncheck(IDC_FIND_HOST_FIND_BAR)
        .Press(IDOK);
    Answer(script);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(strOffered, CString("minutes")) << "opens on the newest search";
    const CFindRecord& find = m_settings.GetFind();
    EXPECT_EQ(find.GetText(), CString("Budget Spring"));
    EXPECT_EQ(find.history.GetSize(), 2);
    EXPECT_EQ(find.nField, CTextSearch::FIELD_CONTENT);
    EXPECT_EQ(find.nType, FIND_TYPE_ALL_WORDS);
    EXPECT_TRUE(find.bResultList);
    EXPECT_FALSE(find.bOpenFindBar);
    EXPECT_EQ(m_settings.GetLastSearchText(), CString("Budget Spring"));
    // The criteria now find the one file whose content holds both words.
    int nMatches = 0;
    for (const char* pszPath : { "t:\\docs\\plan.txt", "t:\\docs\\notes.txt", "t:\\other\\plan.txt" }) {
        std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindPath(pszPath));
        ASSERT_NE(pDocument, nullptr) << pszPath;
        nMatches += CTextSearch::CopyGlobalCriteria(*pDocument);
    }
    EXPECT_EQ(nMatches, 1);
}

} // namespace
