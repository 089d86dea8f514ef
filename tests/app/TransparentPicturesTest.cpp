// The program's pictures show what lies behind them where they are
// transparent: the preview's "no preview" picture stands on the pane's white,
// and a dialog's picture on the dialog's face, not on squares of their own.

#include "tests/frame/AppTestFixture.h"

#include "dialogs/CDialogPrompts.h"
#include "frame/CContentView.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "ui/CZoomWnd.h"

#include "platform/base/PathMap.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <string>

namespace {

class TransparentPicturesTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_dialogPrompts.emplace(); // the program's questions are its dialogs
    }
    void TearDown() override
    {
        Stop();
        m_dialogPrompts.reset();
        AppTest::TearDown();
    }
    // How many pixels of each colour a window's client area shows.
    static std::map<COLORREF, int> Colours(HWND hWnd)
    {
        ::UpdateWindow(hWnd);
        RECT rc {};
        ::GetClientRect(hWnd, &rc);
        std::map<COLORREF, int> colours;
        HDC hdc = ::GetDC(hWnd);
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x)
                ++colours[::GetPixel(hdc, x, y)];
        }
        ::ReleaseDC(hWnd, hdc);
        return colours;
    }
    // Starts the program, declining the document types it offers.
    bool StartDecliningTypes()
    {
        m_driver.OnNextDialog([](HWND hDlg) { ::EndDialog(hDlg, IDCANCEL); });
        return Start();
    }

    std::optional<CDialogPrompts> m_dialogPrompts;
};

constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr COLORREF WHITE = RGB(255, 255, 255);

} // namespace

TEST_F(TransparentPicturesTest, TheNoPreviewPictureStandsOnThePanesWhite)
{
    // A document whose content the program cannot show.
    std::ofstream(Home() / "report.pdf", std::ios::binary)
        << std::string("%PDF-1.4\n\0\x01\x02\xE2\xE3\xCF\xD3\0\0stream\0", 24);
    const CString strReport = ProgramPathFromHostPath((Home() / "report.pdf").string()).c_str();
    CRecordRef report;
    WriteCatalog([&](CCatalog& catalog, CNodeRec& root) {
        auto pPapers = AddSystem(root, "Papers");
        report = AddDocument(catalog, *pPapers, strReport);
    });
    ASSERT_TRUE(StartDecliningTypes());
    Command(ID_VIEW_PREVIEW);
    CContentView* pPreview = ActiveView()->GetContentView();
    ASSERT_NE(pPreview, nullptr);

    CDocumentRec document(App().GetMainCatalog(), report.nBlock, report.nSlot);
    pPreview->ShowDocument(&document);
    CZoomWnd* pPicture = pPreview->GetZoomWnd();
    ASSERT_NE(pPicture, nullptr) << "the no-preview picture";
    const std::map<COLORREF, int> colours = Colours(pPicture->m_hWnd);
    EXPECT_EQ(colours.count(MAGENTA), 0u) << "its transparent colour shows";
    EXPECT_GT(colours.size(), 2u) << "the picture itself is drawn";
    ASSERT_TRUE(colours.count(WHITE));
}

TEST_F(TransparentPicturesTest, SetUpAgainsPictureStandsOnTheDialogsFace)
{
    WriteCatalog();
    ASSERT_TRUE(StartDecliningTypes());
    std::map<COLORREF, int> colours;
    m_driver.OnNextDialog([&colours](HWND hDlg) {
        colours = Colours(CTestDriver::FindChild(hDlg, IDC_NOTICE_PICTURE));
        ::EndDialog(hDlg, IDCANCEL);
    });
    Command(ID_CATALOG_SETUP_AGAIN);

    ASSERT_FALSE(colours.empty()) << "the confirmation did not show";
    // The picture's white surround took the face colour; only its own light spots stay white.
    const int nFace = colours[GetSysColor(COLOR_BTNFACE)];
    EXPECT_GT(nFace, colours[WHITE] * 4);
    EXPECT_GT(colours.size(), 2u) << "the picture itself is drawn";
}
