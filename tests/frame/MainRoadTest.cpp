// The main road of a catalog view: a click on a system fills the list, a
// click on a row fills the preview. Headless, the main window with its filled
// panes, the preview of a picture and of a system, and the drag bar are
// compared with their reference pictures (tests/frame/data/
// main_window_filled.png, preview_picture.png, preview_system.png,
// drag_bar.png, checked by eye once); on a real X server (an Xvfb of the
// test's own) the same road is taken with the server's pointer, the server
// shows the same picture, and the program quits. The window has a set size;
// the drag bar (the machine's drives) is hidden but in its own picture, and
// the floating find bar is hidden because the server's picture would show it
// over the window, where the headless picture of the window alone does not.
//
// Drive D: is a folder of the test's own, so that every path the panes show
// is the same in each run; the file-time columns are hidden.

#include "tests/frame/AppTestFixture.h"

#include "frame/CArqListView.h"
#include "frame/CContentView.h"
#include "frame/CSisTreeCtrl.h"
#include "frame/CSisTreeView.h"
#include "resources/ResourceIds.h"
#include "store/CatalogColumns.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/TestData.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/testing/TestDriver.h"
#include "platform/testing/TestX11Session.h"
#include "platform/testing/XTestInput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace {

namespace fs = std::filesystem;

class MainRoadTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        const fs::path docs = Home() / "d" / "docs";
        fs::create_directories(docs);
        ASSERT_TRUE(SetDriveOverride('D', (Home() / "d").c_str(), DRIVE_FIXED));
        std::ofstream(docs / "budget.txt") << "Budget for the year\nRent 1200\nFood 400\n";
        std::ofstream(docs / "letter.txt") << "Dear Anna,\n\nthank you for the photographs of the sea.\n"
                                           << "We will come in June.\n\nYours,\nPaul\n";
        std::ofstream(docs / "minutes.txt") << "Minutes of the meeting\nPresent: all\n";
        WriteStripes(docs / "sea.png");
        WriteCatalog([](CCatalog& catalog, CNodeRec& root) {
            auto pLetters = AddSystem(root, "Letters");
            AddSystem(*pLetters, "Archive");
            auto pPhotos = AddSystem(root, "Photos");
            AddDocument(catalog, *pPhotos, "D:\\docs\\sea.png");
            for (const char* pszPath : { "D:\\docs\\budget.txt", "D:\\docs\\letter.txt", "D:\\docs\\minutes.txt" })
                AddDocument(catalog, *pLetters, pszPath);
        });
    }
    void TearDown() override
    {
        AppTest::TearDown();
        SetDriveOverride('D', nullptr, 0);
    }

    CSisTreeCtrl& Tree() const { return *ActiveView()->GetTreeCtrl(); }
    CArqListViewCtrl& List() const { return ActiveView()->GetListView()->GetListCtrl(); }
    CContentView& Preview() const { return *ActiveView()->GetContentView(); }
    HTREEITEM Letters() const { return CTestDriver::TreeItem(Tree().GetSafeHwnd(), { "Letters" }); }
    // A window of a set size, within any screen; the list without the
    // columns that change with every run; the drag bar (whose drives are the
    // machine's) and the floating find bar (a window of its own over this
    // one) hidden; the preview shown, as a user turns it on.
    void PrepareView()
    {
        MainFrame()->ShowWindow(SW_RESTORE);
        MainFrame()->SetWindowPos(nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        MainFrame()->ShowControlBar(&MainFrame()->GetDragBar(), FALSE, FALSE);
        MainFrame()->ShowControlBar(&MainFrame()->GetFindBar(), FALSE, FALSE);
        for (LONG nColumnId : { COLUMN_MODIFIED, COLUMN_CREATED, COLUMN_ACCESSED })
            List().SetColumnVisible(nColumnId, FALSE);
        Command(ID_VIEW_PREVIEW);
    }
    // A picture of sky, sea and sand.
    static void WriteStripes(const fs::path& file)
    {
        constexpr int CX = 120;
        constexpr int CY = 90;
        std::vector<DWORD> pixels(static_cast<size_t>(CX * CY));
        for (int y = 0; y < CY; ++y) {
            const DWORD dwColour = y < CY / 3 ? 0x0087CEEB : y < 2 * CY / 3 ? 0x001E5AA0 : 0x00E6C88C;
            std::fill_n(pixels.begin() + static_cast<std::ptrdiff_t>(y * CX), CX, dwColour);
        }
        HBITMAP hBitmap = CreateBitmap(CX, CY, 1, 32, pixels.data());
        ASSERT_TRUE(SaveBitmapAsPng(hBitmap, ProgramPathFromHostPath(file.string()).c_str()));
        DeleteObject(hBitmap);
    }
    // Selects the system, then the list's row, each after its pause.
    void ClickSystemAndRow(const char* pszSystem, int nRow)
    {
        ASSERT_TRUE(
            m_driver.ClickTreeItem(Tree().GetSafeHwnd(), CTestDriver::TreeItem(Tree().GetSafeHwnd(), { pszSystem })));
        m_driver.Advance(CSplitterFrame::CLICK_DELAY);
        ASSERT_TRUE(m_driver.ClickListRow(List().GetSafeHwnd(), nRow));
        m_driver.Advance(CSplitterFrame::KEYBOARD_DELAY);
    }
    // The window's picture as the program draws it, against the reference.
    void ExpectWindowPicture(CWnd& window, const char* pszReference)
    {
        MainFrame()->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        m_driver.Pump();
        TempFolder folder;
        const std::string strShot = ProgramPathFromHostPath((folder.Path() / "shot.png").string());
        ASSERT_TRUE(CTestDriver::Screenshot(window.GetSafeHwnd(), strShot.c_str()));
        ExpectPicture(LoadPictureFile(strShot.c_str()), pszReference);
    }
    void ExpectPicture(HBITMAP hbm, const char* pszReference)
    {
        ASSERT_NE(hbm, nullptr);
        TempFolder folder;
        if (auto mismatch = PictureMismatch(hbm, SourceRoot() / "tests/frame/data" / pszReference, folder))
            ADD_FAILURE() << *mismatch;
    }
};

TEST_F(MainRoadTest, TheMainWindowWithFilledPanesLooksAsItsReference)
{
    ASSERT_TRUE(Start());
    PrepareView();
    ClickSystemAndRow("Letters", 2);
    ASSERT_EQ(List().GetItemCount(), 4) << "Archive, then the three documents";
    ASSERT_TRUE(Preview().IsTextLoaded());
    ExpectWindowPicture(*MainFrame(), "main_window_filled.png");
}

TEST_F(MainRoadTest, ThePreviewOfAPictureAndOfASystemLookAsTheirReferences)
{
    ASSERT_TRUE(Start());
    PrepareView();
    ClickSystemAndRow("Photos", 0);
    ASSERT_NE(Preview().GetZoomWnd(), nullptr);
    ExpectWindowPicture(Preview(), "preview_picture.png");
    ClickSystemAndRow("Letters", 0);
    ASSERT_TRUE(Preview().IsTextLoaded()) << "the properties of Archive";
    ExpectWindowPicture(Preview(), "preview_system.png");
}

TEST_F(MainRoadTest, TheDragBarLooksAsItsReference)
{
    ASSERT_TRUE(Start());
    // Short enough to show the three windows' entries and drive C: only (the
    // program's own), the other drives being the machine's.
    MainFrame()->ShowWindow(SW_RESTORE);
    MainFrame()->SetWindowPos(nullptr, 0, 0, 600, 380, SWP_NOZORDER | SWP_NOACTIVATE);
    ExpectWindowPicture(MainFrame()->GetDragBar(), "drag_bar.png");
}

class X11MainRoadTest : public MainRoadTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_x11.IsOpen()) << m_x11.Failure();
        MainRoadTest::SetUp();
    }

    // Clicks the server's pointer at a point of a window's client area and
    // pumps until the program has seen it (condition).
    bool ClickAndWait(CXTestInput& input, HWND hWnd, POINT ptClient, const std::function<bool()>& condition)
    {
        ClientToScreen(hWnd, &ptClient);
        input.Click(ptClient);
        input.Sync();
        return m_driver.PumpUntil(condition) != FALSE;
    }

    CTestX11Session m_x11;
};

TEST_F(X11MainRoadTest, AClickOnASystemAndOnARowFillTheListAndThePreviewThenTheProgramQuits)
{
    ASSERT_TRUE(Start());
    HWND hMain = MainFrame()->GetSafeHwnd();
    ASSERT_TRUE(m_driver.PumpUntil([&] { return m_x11.Display().WindowOf(hMain) != 0 && IsWindowVisible(hMain); }));
    CXTestInput input(m_x11.Name());
    ASSERT_TRUE(input.IsOpen());
    PrepareView();

    RECT rcItem {};
    ASSERT_TRUE(Tree().GetItemRect(Letters(), &rcItem, TRUE));
    ASSERT_TRUE(ClickAndWait(input, Tree().GetSafeHwnd(), POINT { rcItem.left + 4, (rcItem.top + rcItem.bottom) / 2 },
        [&] { return Tree().GetSelectedItem() == Letters(); }));
    m_driver.Advance(CSplitterFrame::CLICK_DELAY);
    ASSERT_EQ(List().GetItemCount(), 4);
    EXPECT_EQ(List().GetItemText(2, List().FindColumn(COLUMN_NAME)), "letter.txt");

    ASSERT_TRUE(List().GetItemRect(2, &rcItem, LVIR_LABEL));
    ASSERT_TRUE(ClickAndWait(input, List().GetSafeHwnd(), POINT { rcItem.left + 4, (rcItem.top + rcItem.bottom) / 2 },
        [&] { return List().GetFocusedRow() == 2; }));
    m_driver.Advance(CSplitterFrame::KEYBOARD_DELAY);
    ASSERT_TRUE(Preview().IsTextLoaded());
    EXPECT_EQ(CTestDriver::RichEditText(Preview().GetRichEdit().GetSafeHwnd()).Left(10), "Dear Anna,");

    MainFrame()->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // The server's picture, once the last paint has reached it.
    TempFolder folder;
    if (auto mismatch = SettledPictureMismatch(
            m_driver, [&] { return input.CaptureWindow(m_x11.Display().WindowOf(hMain)); },
            SourceRoot() / "tests/frame/data/main_window_filled.png", folder))
        ADD_FAILURE() << *mismatch;

    Command(ID_APP_EXIT_PROGRAM);
    EXPECT_TRUE(m_driver.PumpUntil([&] { return !IsWindow(hMain); }));
}

} // namespace
