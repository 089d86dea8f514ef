// The Find Files window and the recycle bin window, both opened from the
// drag bar as a user opens them, with the program's own prompts installed as
// its entry installs them: found files dragged onto the recycle bin's list go
// to the system's bin and into the recycle-bin catalog, and emptying the bin
// deletes them for good.

#include "dialogs/CDialogPrompts.h"
#include "frame/CCoolMenu.h"
#include "frame/CDlgDocumentList.h"
#include "frame/CDragBar.h"
#include "frame/CatalogHold.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "tests/frame/AppTestFixture.h"
#include "tests/ui/ClassesRootBuilder.h"

#include "platform/base/DriveTable.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/CRect.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace {

namespace fs = std::filesystem;

class FindFilesToRecycleBinTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // Drive T: is a tree of this test's own.
        ASSERT_TRUE(SetDriveOverride('T', m_drive.Path().c_str(), DRIVE_FIXED));
        fs::create_directories(m_drive.Path() / "docs");
        for (const char* pszName : { "plan.txt", "notes.txt" })
            std::ofstream(m_drive.Path() / "docs" / pszName) << pszName;
        WriteCatalog([](CCatalog& catalog, CNodeRec& root) {
            auto pLetters = AddSystem(root, "Letters");
            AddDocument(catalog, *pLetters, "T:\\docs\\plan.txt");
            AddDocument(catalog, *pLetters, "T:\\docs\\notes.txt");
        });
        // A document type anyone can create: the main window offers it at start, and is declined.
        SetFileType(".txt", "txtfile", "Text Document", true);
        m_driver.OnNextDialog([](HWND hDlg) { ::EndDialog(hDlg, IDCANCEL); });
        m_prompts.emplace();
        ASSERT_TRUE(Start());
        m_pPlaces = &MainFrame()->GetDragBar().GetList();
    }
    void TearDown() override
    {
        Stop();
        m_prompts.reset();
        EXPECT_TRUE(m_driver.ScriptErrors().empty()) << m_driver.ScriptErrors().front();
        ResetDriveTable();
        AppTest::TearDown();
    }

    // Clicks a drag bar entry, scrolled into view first.
    void ClickEntry(int nItem)
    {
        m_pPlaces->SetTopIndex(nItem);
        CRect rc;
        m_pPlaces->GetItemRect(nItem, &rc);
        m_driver.Click(m_pPlaces->GetSafeHwnd(), rc.left + rc.Width() / 2, rc.top + 4);
    }
    // Opens Find Files on a folder of drive T: through the drive's entry and its folder popup.
    HWND OpenFindFilesOn(const char* pszFolder)
    {
        int nDrive = -1;
        for (int i = CCoolMenu::FIRST_PLACE; i < m_pPlaces->GetCount(); ++i) {
            if (m_pPlaces->GetPlacePath(i).CompareNoCase("T:\\") == 0)
                nDrive = i;
        }
        EXPECT_GE(nDrive, 0);
        m_driver.OnNextWait([this, pszFolder] {
            const std::vector<HWND> popups = CTestDriver::PopupWindows();
            ASSERT_FALSE(popups.empty());
            const std::vector<CString> rows = CTestDriver::Items(CTestDriver::PopupList(popups.front()));
            for (size_t n = 0; n < rows.size(); ++n) {
                if (rows[n].CompareNoCase(pszFolder) == 0) {
                    ASSERT_TRUE(m_driver.ClickPopupRow(popups.front(), static_cast<int>(n)));
                    return;
                }
            }
            ADD_FAILURE() << pszFolder << " is not among the drive's folders";
        });
        ClickEntry(nDrive);
        return ::FindWindow(nullptr, "Find Files");
    }
    // Find Now in the Find Files window opened on the folder; its list of found files.
    HWND FindInFolder(const char* pszFolder, const char* pszWords)
    {
        HWND hFinder = OpenFindFilesOn(pszFolder);
        EXPECT_NE(hFinder, nullptr);
        ::SetDlgItemText(hFinder, IDC_FIND_FILES_WORDS, pszWords);
        ::SendMessage(hFinder, WM_COMMAND, MAKEWPARAM(IDC_FIND_FILES_FIND, BN_CLICKED), 0);
        return ::GetDlgItem(hFinder, IDC_FIND_FILES_LIST);
    }
    static int Rows(HWND hList) { return static_cast<int>(::SendMessage(hList, LVM_GETITEMCOUNT, 0, 0)); }
    // The middle of a row's label, in the list's client coordinates.
    static POINT RowPoint(HWND hList, int nRow)
    {
        RECT rc { LVIR_LABEL, 0, 0, 0 };
        ::SendMessage(hList, LVM_GETITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&rc));
        return POINT { rc.left + 5, (rc.top + rc.bottom) / 2 };
    }
    // A point of hTo's client area in hFrom's client coordinates.
    static POINT PointIn(HWND hFrom, HWND hTo, POINT point)
    {
        ::ClientToScreen(hTo, &point);
        ::ScreenToClient(hFrom, &point);
        return point;
    }
    void AnswerNextQuestion(int nAnswer)
    {
        m_driver.OnNextDialog([nAnswer](HWND hDlg) { ::EndDialog(hDlg, nAnswer); });
    }
    std::unique_ptr<CDocumentRec> BinEntry(const char* pszPath)
    {
        CCatalogHold hold(App().GetRecycleCatalog());
        return std::unique_ptr<CDocumentRec>(hold.IsHeld() ? App().GetRecycleCatalog()->FindPath(pszPath) : nullptr);
    }
    static int TrashedFiles()
    {
        const fs::path files = fs::path(std::getenv("HOME")) / ".local/share/Trash/files";
        if (!fs::exists(files))
            return 0;
        return static_cast<int>(std::distance(fs::directory_iterator(files), fs::directory_iterator()));
    }

    TempFolder m_drive;
    std::optional<CDialogPrompts> m_prompts;
    CCoolMenu* m_pPlaces { nullptr };
};

TEST_F(FindFilesToRecycleBinTest, FoundFilesDraggedOntoTheBinGoThereAndEmptyingDeletesThem)
{
    HWND hFound = FindInFolder("docs", "plan");
    ASSERT_EQ(Rows(hFound), 1);

    ClickEntry(CCoolMenu::ENTRY_RECYCLE_BIN);
    CDlgDocumentList* pBin = m_pPlaces->GetRecycleBinWindow();
    ASSERT_NE(pBin, nullptr);
    HWND hBinList = ::GetDlgItem(pBin->GetSafeHwnd(), IDC_LIST_WINDOW_LIST);
    ASSERT_EQ(Rows(hBinList), 0);
    // Side by side, so that neither window hides the other's list.
    HWND hFinder = ::GetParent(hFound);
    ::SetWindowPos(hFinder, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT rcFinder {};
    ::GetWindowRect(hFinder, &rcFinder);
    ::SetWindowPos(pBin->GetSafeHwnd(), nullptr, rcFinder.right + 10, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    RECT rcBin {};
    ::GetClientRect(hBinList, &rcBin);
    const POINT target = PointIn(hFound, hBinList, POINT { rcBin.right / 2, rcBin.bottom / 2 });
    ASSERT_TRUE(m_driver.PressAndMove(hFound, { RowPoint(hFound, 0), target, POINT { target.x + 1, target.y } }));
    AnswerNextQuestion(IDOK);
    ASSERT_TRUE(m_driver.Release(hFound, target.x + 1, target.y));
    m_driver.Pump();

    EXPECT_FALSE(fs::exists(m_drive.Path() / "docs" / "plan.txt"));
    EXPECT_TRUE(fs::exists(m_drive.Path() / "docs" / "notes.txt"));
    EXPECT_EQ(TrashedFiles(), 1);
    EXPECT_NE(BinEntry("t:\\docs\\plan.txt"), nullptr);
    EXPECT_EQ(Rows(hBinList), 1) << "the recycle bin window lists the file";
    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
        std::unique_ptr<CNodeRec> pLetters(pRoot->FindChildByName("Letters"));
        ASSERT_NE(pLetters, nullptr);
        EXPECT_EQ(pLetters->CountDocuments(), 1) << "the document left its group";
    }

    // Empty Recycle Bin, confirmed: the entry and its file in the system's bin go for good.
    AnswerNextQuestion(IDOK);
    pBin->SendMessage(WM_COMMAND, ID_BIN_EMPTY);
    m_driver.Pump();
    EXPECT_EQ(Rows(hBinList), 0);
    EXPECT_EQ(BinEntry("t:\\docs\\plan.txt"), nullptr);
    EXPECT_EQ(TrashedFiles(), 0);
}

TEST_F(FindFilesToRecycleBinTest, ARowsMenuOpensItsDocument)
{
    // An executable document: the desktop starts it itself, whatever the host's associations.
    const fs::path plan = m_drive.Path() / "docs" / "plan.txt";
    std::ofstream(plan) << "#!/bin/sh\n";
    fs::permissions(plan, fs::perms::owner_all);
    HWND hFound = FindInFolder("docs", "plan");
    ASSERT_EQ(Rows(hFound), 1);

    CLaunchOverride launches;
    const POINT row = RowPoint(hFound, 0);
    m_driver.Click(hFound, row.x, row.y);
    m_driver.ChooseNextMenuCommand(ID_DOC_OPEN);
    ASSERT_TRUE(m_driver.RightClick(hFound, row.x, row.y));
    ASSERT_EQ(launches.GetLaunches().size(), 1U);
    EXPECT_EQ(launches.GetLaunches()[0].front(), plan.string());
}

} // namespace
