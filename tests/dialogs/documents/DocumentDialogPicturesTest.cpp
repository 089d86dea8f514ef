// The description, selection, open-with and new-document dialogs as they
// show, each compared with a reference picture checked by eye once. The
// documents lie on drive T:, so their paths read the same on every machine.

#include "catalog/CCatalogPrompts.h"
#include "catalog/CNewDocNotice.h"
#include "dialogs/documents/CDlgDocumentDescription.h"
#include "dialogs/documents/CDlgNewDocsFound.h"
#include "dialogs/documents/CDlgNewDocsSummary.h"
#include "dialogs/documents/CDlgOpenWith.h"
#include "dialogs/documents/CDlgSelectionAction.h"
#include "mail/CMailMessage.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/ReferenceScreenshot.h"
#include "tests/support/TestData.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

class DocumentDialogPicturesTest : public DocumentDialogTest {
protected:
    void SetUp() override
    {
        DocumentDialogTest::SetUp();
        fs::create_directories(Home() / "drive" / "docs");
        ASSERT_TRUE(SetDriveOverride('T', (Home() / "drive").string().c_str(), DRIVE_FIXED));
        m_pCatalog = NewMainCatalog();
        std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
        m_pGroup = AddNode(*pRoot, "Projects");
    }
    void TearDown() override
    {
        ResetDriveTable();
        DocumentDialogTest::TearDown();
    }

    std::unique_ptr<CDocumentRec> Catalogued(const char* pszName)
    {
        return AddDocument(*m_pCatalog, m_pGroup.get(), (std::string("t:\\docs\\") + pszName).c_str());
    }
    // Shows the dialog, compares its picture with the reference and closes it.
    void ExpectShows(CDialog& dlg, const char* pszReference)
    {
        m_driver.OnNextDialog([this, pszReference](HWND hDlg) {
            m_driver.Pump();
            if (std::optional<std::string> mismatch
                = ScreenshotMismatch(hDlg, SourceRoot() / "tests/dialogs/documents/data" / pszReference, m_pictures))
                ADD_FAILURE() << *mismatch;
            EndDialog(hDlg, IDCANCEL);
        });
        dlg.DoModal();
    }

    TempFolder m_pictures;
    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pGroup;
};

// A picture of 120 x 80: four coloured quarters.
void WritePicture(const fs::path& file)
{
    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP hbm = CreateBitmap(120, 80, 1, 32, nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    const COLORREF colours[] = { RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 40, 200), RGB(230, 200, 40) };
    for (int n = 0; n < 4; ++n) {
        const RECT rc { (n % 2) * 60, (n / 2) * 40, (n % 2) * 60 + 60, (n / 2) * 40 + 40 };
        HBRUSH hBrush = CreateSolidBrush(colours[n]);
        FillRect(hdc, &rc, hBrush);
        DeleteObject(hBrush);
    }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    ASSERT_TRUE(SaveBitmapAsPng(hbm, ProgramPathFromHostPath(file.string()).c_str()));
    DeleteObject(hbm);
}

} // namespace

TEST_F(DocumentDialogPicturesTest, TheDescriptionDialogWithTextAndWithAPicture)
{
    std::ofstream(Home() / "drive" / "docs" / "plan.txt") << "Budget for the new roof\r\nQuotes from three firms.";
    std::unique_ptr<CDocumentRec> pText = Catalogued("plan.txt");
    CDlgDocumentDescription text(pText.get());
    ExpectShows(text, "description_text.png");

    WritePicture(Home() / "drive" / "docs" / "roof.png");
    std::unique_ptr<CDocumentRec> pPicture = Catalogued("roof.png");
    CDlgDocumentDescription picture(pPicture.get());
    ExpectShows(picture, "description_picture.png");
}

TEST_F(DocumentDialogPicturesTest, TheSelectionOpenWithAndNewDocumentDialogs)
{
    CDlgSelectionAction toBin(CCatalogPrompts::SELECTION_ITEM, "Move t:\\docs\\plan.txt to the recycle bin?", FALSE);
    ExpectShows(toBin, "selection_item.png");
    CDlgSelectionAction forGood(CCatalogPrompts::SELECTION_REMOVABLE_ITEMS, "Delete these 3 items for good?", FALSE);
    ExpectShows(forGood, "selection_removable_items.png");

    std::ofstream(Home() / "drive" / "docs" / "plan.txt") << "the plan";
    std::unique_ptr<CDocumentRec> pDocument = Catalogued("plan.txt");
    CDlgOpenWith openWith(pDocument.get());
    ExpectShows(openWith, "open_with.png");

    CNewDocNoticeArray queue;
    queue.emplace_back("t:\\docs\\minutes.txt", CNewDocNotice::STORE_NONE);
    queue.emplace_back("t:\\docs\\offer.doc", CNewDocNotice::STORE_NONE);
    CDlgNewDocsSummary summary(queue);
    ExpectShows(summary, "new_docs_summary.png");
    CDlgNewDocsFound found(2);
    ExpectShows(found, "new_docs_found.png");
}
