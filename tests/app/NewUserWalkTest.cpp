// A new user's first hour with the program, on a real X server (an Xvfb of
// the test's own, without a window manager), every step taken with the
// server's pointer and keyboard: the set-up wizard by folders on a folder of
// varied documents (a picture, a PDF, an HTML page, two texts), the groups'
// tree and the list, a document's properties from the menu bar and from the
// row's menu, the preview of the picture, the PDF and the HTML page, Find
// with its results in the list window, a document moved to the recycle bin
// and restored from it, the preferences, and exit and a second start that
// finds the layout and the catalog as they were left.
//
// Four screens are compared with reference pictures (tests/app/data, looked
// at by eye once): the main window after the wizard (walk_main_window.png),
// the preview of the HTML page (walk_preview_html.png), the Find results
// window (walk_find_results.png) and the preferences (walk_preferences.png).
// The documents lie in C:\docs; the list's file-time columns are hidden so
// that the pictures are the same in every run.

#include "tests/app/X11ProgramFixture.h"

#include "frame/CArqListView.h"
#include "frame/CArqListViewCtrl.h"
#include "frame/CContentView.h"
#include "frame/CCoolMenu.h"
#include "frame/CDlgDocumentList.h"
#include "frame/CDlgSearchResults.h"
#include "frame/CDragBar.h"
#include "frame/CSisTreeCtrl.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "store/CatalogColumns.h"
#include "tests/ui/ClassesRootBuilder.h"

#include "platform/base/PathMap.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/Rects.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* PICTURES = "tests/app/data";

class NewUserWalkTest : public X11ProgramTest {
protected:
    void SetUp() override
    {
        X11ProgramTest::SetUp();
        // The wizard offers the types the machine's programs can create.
        SetFileType(".png", "pngfile", "PNG Picture", true);
        SetFileType(".pdf", "pdffile", "PDF Document", true);
        SetFileType(".html", "htmlfile", "HTML Document", true);
        const fs::path docs = m_drive.Path() / "C" / "docs";
        fs::create_directories(docs);
        WriteGradient(docs / "garden.png");
        std::ofstream(docs / "report.pdf") << MinimalPdf("Quarterly report");
        std::ofstream(docs / "recipes.html")
            << "<html><head><title>Recipes</title></head>\n<body><h1>Tomatoes &amp; basil</h1>\n"
            << "<p>Sow &lt;early&gt; in the caf&eacute; garden.</p></body></html>\n";
        std::ofstream(docs / "letter.txt") << "Dear Anna,\nthe seeds arrived.\nPaul\n";
        std::ofstream(docs / "notes.txt") << "Water twice a week.\n";
    }
    void TearDown() override
    {
        thePreferences.m_bMinimize = FALSE; // the program's preferences outlive the test
        X11ProgramTest::TearDown();
    }

    /* The documents. */

    // A small picture whose colour runs from left to right.
    static void WriteGradient(const fs::path& file)
    {
        constexpr int CX = 64;
        constexpr int CY = 48;
        std::vector<DWORD> pixels(static_cast<size_t>(CX * CY));
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = 0x00206040 + static_cast<DWORD>(i % CX) * 3;
        HBITMAP hBitmap = CreateBitmap(CX, CY, 1, 32, pixels.data());
        ASSERT_TRUE(SaveBitmapAsPng(hBitmap, ProgramPathFromHostPath(file.string()).c_str()));
        DeleteObject(hBitmap);
    }
    // A one-page PDF showing the text, with its cross-reference table.
    static std::string MinimalPdf(const std::string& strText)
    {
        const std::string strStream = "BT /F1 24 Tf 72 720 Td (" + strText + ") Tj ET";
        const std::vector<std::string> objects {
            "<< /Type /Catalog /Pages 2 0 R >>",
            "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
            std::string("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R")
                + " /Resources << /Font << /F1 5 0 R >> >> >>",
            "<< /Length " + std::to_string(strStream.size()) + " >>\nstream\n" + strStream + "\nendstream",
            "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        };
        std::string strPdf = "%PDF-1.4\n";
        std::vector<size_t> offsets;
        for (size_t i = 0; i < objects.size(); ++i) {
            offsets.push_back(strPdf.size());
            strPdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
        }
        const size_t nTable = strPdf.size();
        strPdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
        for (size_t nOffset : offsets) {
            std::string strOffset = std::to_string(nOffset);
            strPdf += std::string(10 - strOffset.size(), '0') + strOffset + " 00000 n \n";
        }
        strPdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
            + std::to_string(nTable) + "\n%%EOF\n";
        return strPdf;
    }

    /* The main window. */

    CSisTreeCtrl& Tree() const { return *ActiveView()->GetTreeCtrl(); }
    CArqListViewCtrl& List() const { return ActiveView()->GetListView()->GetListCtrl(); }
    CContentView& Preview() const { return *ActiveView()->GetContentView(); }
    static Names RowNames(CArqListCtrl& list)
    {
        std::vector<std::string> names;
        for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
            names.emplace_back(list.GetItemText(nRow, list.FindColumn(COLUMN_NAME)));
        std::sort(names.begin(), names.end());
        return names;
    }
    int RowOf(const char* pszName) const
    {
        for (int nRow = 0; nRow < List().GetItemCount(); ++nRow) {
            if (List().GetItemText(nRow, List().FindColumn(COLUMN_NAME)) == CString(pszName))
                return nRow;
        }
        return -1;
    }
    // The middle of a row's label, in the list's client coordinates.
    static POINT RowPoint(CArqListCtrl& list, int nRow)
    {
        RECT rc {};
        list.GetItemRect(nRow, &rc, LVIR_LABEL);
        return POINT { rc.left + 4, (rc.top + rc.bottom) / 2 };
    }
    // Clicks the group in the tree; the list then shows its documents.
    void ClickGroup(const char* pszGroup)
    {
        const HTREEITEM hItem = CTestDriver::TreeItem(Tree().GetSafeHwnd(), { pszGroup });
        ASSERT_NE(hItem, nullptr) << pszGroup;
        RECT rc {};
        ASSERT_TRUE(Tree().GetItemRect(hItem, &rc, TRUE));
        ASSERT_TRUE(ClickAndWait(Tree().GetSafeHwnd(), POINT { rc.left + 4, (rc.top + rc.bottom) / 2 },
            [&] { return Tree().GetSelectedItem() == hItem; }));
        m_driver.Advance(CSplitterFrame::CLICK_DELAY);
        List().WaitForFill(TRUE);
    }
    // Clicks the document's row; the preview, when shown, then shows it under its name.
    void ClickDocument(const char* pszName)
    {
        const int nRow = RowOf(pszName);
        ASSERT_GE(nRow, 0) << pszName;
        ASSERT_TRUE(
            ClickAndWait(List().GetSafeHwnd(), RowPoint(List(), nRow), [&] { return List().GetFocusedRow() == nRow; }));
        m_driver.Advance(CSplitterFrame::KEYBOARD_DELAY);
        if (ActiveView()->IsPreviewShown()) {
            CString strShown;
            ASSERT_TRUE(m_driver.PumpUntil([&] {
                const auto* pShown = dynamic_cast<const CDocumentRec*>(Preview().GetShownItem());
                if (pShown)
                    pShown->GetFullPath(strShown); // the document's name
                return strShown == CString(pszName);
            })) << "the preview shows "
                << strShown;
        }
    }
    // Opens the main window's menu by its Alt key and chooses the command in
    // it; true once the command has done what it does (done).
    bool ChooseFromMenuBar(unsigned long nMnemonic, UINT nCommand, const std::function<bool()>& done)
    {
        m_driver.ChooseNextMenuCommand(nCommand);
        m_pInput->Key(XK_Alt_L, true);
        m_pInput->TapKey(nMnemonic);
        m_pInput->Key(XK_Alt_L, false);
        m_pInput->Sync();
        return m_driver.PumpUntil(done) != FALSE;
    }
    // The path a document's properties dialog shows, the dialog then closed with Cancel.
    void ReadPropertiesPath(CString& strPath)
    {
        m_driver.OnNextDialog([this, &strPath](HWND hDlg) {
            ASSERT_TRUE(m_driver.PumpUntil([&] { return IsShownByServer(hDlg); }));
            strPath = CTestDriver::Text(::GetDlgItem(hDlg, IDC_DOCUMENT_PATH));
            if (!ClickControl(hDlg, IDCANCEL, [this, hDlg] { return !IsShownByServer(hDlg); }))
                ::EndDialog(hDlg, IDCANCEL);
        });
    }
    // The main window of a set size; the list without the columns that change
    // with every run; the drag bar (the machine's drives) and the floating
    // find bar (a window of its own over this one) hidden.
    void PrepareWindow()
    {
        MainFrame()->ShowWindow(SW_RESTORE);
        MainFrame()->SetWindowPos(nullptr, 0, 0, 900, 600, SWP_NOZORDER);
        MainFrame()->ShowControlBar(&MainFrame()->GetDragBar(), FALSE, FALSE);
        MainFrame()->ShowControlBar(&MainFrame()->GetFindBar(), FALSE, FALSE);
        for (LONG nColumnId : { COLUMN_MODIFIED, COLUMN_CREATED, COLUMN_ACCESSED })
            List().SetColumnVisible(nColumnId, FALSE);
    }

    // Hides a window of its own, and waits until the server no longer shows it over the main window.
    void Hide(CWnd& window)
    {
        window.ShowWindow(SW_HIDE);
        ASSERT_TRUE(m_driver.PumpUntil([&] { return !IsShownByServer(window.GetSafeHwnd()); }));
    }

    /* The steps; each needs the ones before. */

    // The wizard: every document type of the folder, the folder mode, the
    // folder "docs" checked, Finish.
    void WalkTheWizardByFolders(HWND hSheet)
    {
        ASSERT_TRUE(m_driver.PumpUntil([&] { return IsShownByServer(hSheet); }));
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        HWND hTypes = Control(hSheet, IDC_DOC_TYPES);
        const std::vector<CString> types = CTestDriver::Items(hTypes);
        for (const char* pszType : { "PNG Picture", "PDF Document", "HTML Document", "Text Document" }) {
            const auto it = std::find(types.begin(), types.end(), CString(pszType));
            ASSERT_NE(it, types.end()) << pszType;
            const int nLine = static_cast<int>(it - types.begin());
            if (CTestDriver::CheckListStates(hTypes).at(nLine) != 1) {
                ASSERT_TRUE(CheckLine(hSheet, IDC_DOC_TYPES, nLine)) << pszType;
            }
        }
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        // The locations as offered; no mail page, as no mail program is set up.
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        ASSERT_TRUE(Check(hSheet, IDC_SETUP_FOLDER_MODE));
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        ASSERT_NO_FATAL_FAILURE(CheckDocsFolder(hSheet));
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        ASSERT_TRUE(ClickControl(hSheet, ID_WIZFINISH, [this, hSheet] { return !IsShownByServer(hSheet); }));
    }

    void SeeTheGroupAndItsDocuments()
    {
        HWND hMain = MainFrame()->GetSafeHwnd();
        ASSERT_TRUE(m_driver.PumpUntil([&] { return IsShownByServer(hMain); }));
        EXPECT_EQ(TreeTexts(nullptr), (Names { "docs", "Unsorted Documents" }));
        PrepareWindow();
        ClickGroup("docs");
        EXPECT_EQ(RowNames(List()), (Names { "garden.png", "letter.txt", "notes.txt", "recipes.html", "report.pdf" }));
        ClickDocument("letter.txt");
        ExpectShows(hMain, PICTURES, "walk_main_window.png");
    }

    void SeePropertiesFromTheMenuBarAndTheRowsMenu()
    {
        CString strPath;
        ReadPropertiesPath(strPath);
        ASSERT_TRUE(ChooseFromMenuBar(XK_d, ID_DOC_PROPERTIES, [&] { return !strPath.IsEmpty(); }));
        EXPECT_EQ(strPath.CompareNoCase("C:\\docs\\letter.txt"), 0) << strPath;

        const int nRow = RowOf("notes.txt");
        ASSERT_GE(nRow, 0);
        strPath.Empty();
        ReadPropertiesPath(strPath);
        m_driver.ChooseNextMenuCommand(ID_DOC_PROPERTIES);
        ASSERT_TRUE(ClickAndWait(
            List().GetSafeHwnd(), RowPoint(List(), nRow), [&] { return !strPath.IsEmpty(); }, 3));
        EXPECT_EQ(strPath.CompareNoCase("C:\\docs\\notes.txt"), 0) << strPath;
    }

    void PreviewThePictureThePdfAndThePage()
    {
        ASSERT_TRUE(ChooseFromMenuBar(XK_v, ID_VIEW_PREVIEW, [&] { return ActiveView()->IsPreviewShown() != FALSE; }));

        ClickDocument("garden.png");
        EXPECT_TRUE(m_driver.PumpUntil([&] { return Preview().GetZoomWnd() != nullptr; }));
        EXPECT_FALSE(Preview().IsTextLoaded());

        // A PDF's text is not the document's words: its preview says there is nothing to show.
        ClickDocument("report.pdf");
        EXPECT_FALSE(Preview().IsTextLoaded())
            << CTestDriver::RichEditText(Preview().GetRichEdit().GetSafeHwnd()).Left(40);

        ClickDocument("recipes.html");
        ASSERT_TRUE(m_driver.PumpUntil([&] { return Preview().IsTextLoaded() != FALSE; }));
        const std::string strShown(CTestDriver::RichEditText(Preview().GetRichEdit().GetSafeHwnd()));
        EXPECT_NE(strShown.find("Tomatoes & basil"), std::string::npos) << strShown;
        EXPECT_NE(strShown.find("Sow <early> in the caf\xC3\xA9 garden."), std::string::npos) << strShown;
        EXPECT_EQ(strShown.find("<h1>"), std::string::npos) << strShown;
        EXPECT_EQ(strShown.find("&amp;"), std::string::npos) << strShown;
        ExpectShows(MainFrame()->GetSafeHwnd(), PICTURES, "walk_preview_html.png");
    }

    // Find "report" in the documents' names, the results listed in their window.
    void FindIntoTheListWindow()
    {
        bool bFound = false;
        m_driver.OnNextDialog([this, &bFound](HWND hDlg) {
            ASSERT_TRUE(m_driver.PumpUntil([&] { return IsShownByServer(hDlg); }));
            HWND hText = Control(hDlg, IDC_FIND_HOST_TEXT);
            m_pInput->TypeText("report");
            m_pInput->Sync();
            ASSERT_TRUE(m_driver.PumpUntil([&] { return CTestDriver::Text(hText) == CString("report"); }));
            ASSERT_TRUE(Check(hDlg, IDC_FIND_HOST_FIELD1));
            ASSERT_TRUE(Check(hDlg, IDC_FIND_HOST_RESULT_LIST));
            ASSERT_TRUE(ClickControl(hDlg, IDOK, [this, hDlg] { return !IsShownByServer(hDlg); }));
            bFound = true;
        });
        ASSERT_TRUE(ChooseFromMenuBar(XK_c, ID_CATALOG_FIND, [&] { return bFound; }));
        CDlgSearchResults* pResults = MainFrame()->GetDragBar().GetList().GetSearchResultsWindow();
        ASSERT_NE(pResults, nullptr);
        pResults->GetList().WaitForFill(TRUE);
        HWND hResults = pResults->GetSafeHwnd();
        ASSERT_TRUE(m_driver.PumpUntil([&] { return IsShownByServer(hResults); }));
        EXPECT_EQ(RowNames(pResults->GetList()), Names { "report.pdf" });
        ExpectShows(hResults, PICTURES, "walk_find_results.png");
        ASSERT_NO_FATAL_FAILURE(Hide(*pResults));
    }

    // notes.txt to the recycle bin with the Delete key, then back from the bin's row menu.
    void RecycleAndRestore()
    {
        const fs::path notes = m_drive.Path() / "C" / "docs" / "notes.txt";
        ClickDocument("notes.txt");
        CString strAsked;
        m_driver.OnNextDialog([&strAsked](HWND hDlg) {
            strAsked = CTestDriver::Text(::GetDlgItem(hDlg, IDC_SELECTION_TEXT));
            ::EndDialog(hDlg, IDOK);
        });
        m_pInput->TapKey(XK_Delete);
        m_pInput->Sync();
        ASSERT_TRUE(m_driver.PumpUntil([&] { return RowOf("notes.txt") < 0; }));
        EXPECT_NE(std::string(strAsked).find("notes.txt"), std::string::npos) << strAsked;
        EXPECT_FALSE(fs::exists(notes));
        EXPECT_FALSE(IsCatalogued("C:\\docs\\notes.txt"));

        // The bin is opened from its drag bar entry.
        CDragBar& dragBar = MainFrame()->GetDragBar();
        ASSERT_TRUE(ChooseFromMenuBar(XK_v, ID_VIEW_DRAG_BAR, [&] { return dragBar.IsWindowVisible() != FALSE; }));
        CCoolMenu& places = dragBar.GetList();
        places.SetTopIndex(CCoolMenu::ENTRY_RECYCLE_BIN);
        RECT rcEntry {};
        places.GetItemRect(CCoolMenu::ENTRY_RECYCLE_BIN, &rcEntry);
        ASSERT_TRUE(
            ClickAndWait(places.GetSafeHwnd(), POINT { (rcEntry.left + rcEntry.right) / 2, rcEntry.top + 4 }, [&] {
                return places.GetRecycleBinWindow() && IsShownByServer(places.GetRecycleBinWindow()->GetSafeHwnd());
            }));
        CArqListCtrl& bin = places.GetRecycleBinWindow()->GetList();
        bin.WaitForFill(TRUE);
        ASSERT_EQ(RowNames(bin), Names { "notes.txt" });

        m_driver.ChooseNextMenuCommand(ID_BIN_RESTORE);
        ASSERT_TRUE(ClickAndWait(
            bin.GetSafeHwnd(), RowPoint(bin, 0), [&] { return bin.GetItemCount() == 0; }, 3));
        EXPECT_TRUE(fs::exists(notes));
        EXPECT_TRUE(IsCatalogued("C:\\docs\\notes.txt"));
        ASSERT_NO_FATAL_FAILURE(Hide(*places.GetRecycleBinWindow()));
        EXPECT_TRUE(m_driver.PumpUntil([&] {
            List().WaitForFill(TRUE);
            return RowOf("notes.txt") >= 0;
        }));
    }

    // The general page's "Minimize the window after opening a document" checked, and OK.
    void ChangeAPreference()
    {
        bool bClosed = false;
        m_driver.OnNextDialog([this, &bClosed](HWND hSheet) {
            ASSERT_TRUE(m_driver.PumpUntil([&] { return IsShownByServer(hSheet); }));
            ExpectShows(hSheet, PICTURES, "walk_preferences.png");
            ASSERT_TRUE(Check(hSheet, IDC_GENERAL_MINIMIZE));
            ASSERT_TRUE(ClickControl(hSheet, IDOK, [this, hSheet] { return !IsShownByServer(hSheet); }));
            bClosed = true;
        });
        ASSERT_TRUE(ChooseFromMenuBar(XK_t, ID_TOOLS_PREFERENCES, [&] { return bClosed; }));
        EXPECT_TRUE(thePreferences.m_bMinimize);
    }
};

} // namespace

TEST_F(NewUserWalkTest, ANewUserWalksThroughTheProgramAndFindsItAsLeftAfterARestart)
{
    WalkTheWizard([this](HWND hSheet) { WalkTheWizardByFolders(hSheet); });
    ASSERT_TRUE(Start());
    ASSERT_NE(ActiveView(), nullptr);
    ASSERT_NO_FATAL_FAILURE(SeeTheGroupAndItsDocuments());
    ASSERT_NO_FATAL_FAILURE(SeePropertiesFromTheMenuBarAndTheRowsMenu());
    ASSERT_NO_FATAL_FAILURE(PreviewThePictureThePdfAndThePage());
    ASSERT_NO_FATAL_FAILURE(FindIntoTheListWindow());
    ASSERT_NO_FATAL_FAILURE(RecycleAndRestore());
    ASSERT_NO_FATAL_FAILURE(ChangeAPreference());

    // File, Exit; then the program starts again on what it left.
    RECT rcLeft {};
    ::GetWindowRect(MainFrame()->GetSafeHwnd(), &rcLeft);
    HWND hMain = MainFrame()->GetSafeHwnd();
    ASSERT_TRUE(ChooseFromMenuBar(XK_f, ID_APP_EXIT_PROGRAM, [&] { return !::IsWindow(hMain); }));
    Stop();

    ASSERT_TRUE(Start());
    ASSERT_NE(ActiveView(), nullptr);
    hMain = MainFrame()->GetSafeHwnd();
    ASSERT_TRUE(m_driver.PumpUntil([&] { return IsShownByServer(hMain); }));
    RECT rcShown {};
    ::GetWindowRect(hMain, &rcShown);
    EXPECT_TRUE(::EqualRect(&rcShown, &rcLeft));
    EXPECT_TRUE(ActiveView()->IsPreviewShown());
    EXPECT_TRUE(MainFrame()->GetDragBar().IsWindowVisible());
    EXPECT_FALSE(List().IsColumnVisible(COLUMN_MODIFIED));
    CPreferences stored;
    stored.Load();
    EXPECT_TRUE(stored.m_bMinimize);
    EXPECT_EQ(TreeTexts(nullptr), (Names { "docs", "Unsorted Documents" }));
    ClickGroup("docs");
    EXPECT_EQ(RowNames(List()), (Names { "garden.png", "letter.txt", "notes.txt", "recipes.html", "report.pdf" }));
}
