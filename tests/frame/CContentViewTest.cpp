#include "frame/CContentView.h"

#include "tests/frame/AppTestFixture.h"

#include "frame/CDlgDocDescription.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/ResString.h"
#include "ui/CZoomWnd.h"

#include "platform/base/PathMap.h"
#include "platform/controls/RichEditControl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/SysColors.h"
#include "platform/testing/DialogScript.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace {

// A catalog of real files in the test's home: a text, a picture, a protected
// text and a file that is gone, in the system "Papers" with a subgroup.
class ContentViewTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        std::ofstream(Home() / "note.txt") << "alpha beta gamma beta\nsecond line\n";
        WritePicture((Home() / "sea.png").string(), 40, 30);
        m_strNote = ProgramPathFromHostPath((Home() / "note.txt").string()).c_str();
        m_strPicture = ProgramPathFromHostPath((Home() / "sea.png").string()).c_str();
        m_strGone = ProgramPathFromHostPath((Home() / "gone.txt").string()).c_str();
        WriteCatalog([this](CCatalog& catalog, CNodeRec& root) {
            auto pPapers = AddSystem(root, "Papers");
            AddSystem(*pPapers, "Old");
            m_note = AddDocument(catalog, *pPapers, m_strNote);
            m_picture = AddDocument(catalog, *pPapers, m_strPicture);
            m_gone = AddDocument(catalog, *pPapers, m_strGone);
        });
        ASSERT_TRUE(Start());
        Command(ID_VIEW_PREVIEW);
        m_pPreview = ActiveView()->GetContentView();
        ASSERT_NE(m_pPreview, nullptr);
    }

    static void WritePicture(const std::string& strHostPath, int cx, int cy)
    {
        std::vector<DWORD> pixels(static_cast<size_t>(cx * cy), 0x003060C0);
        HBITMAP hBitmap = CreateBitmap(cx, cy, 1, 32, pixels.data());
        ASSERT_TRUE(SaveBitmapAsPng(hBitmap, ProgramPathFromHostPath(strHostPath).c_str()));
        DeleteObject(hBitmap);
    }
    std::unique_ptr<CDocumentRec> Document(CRecordRef ref)
    {
        return std::make_unique<CDocumentRec>(App().GetMainCatalog(), ref.nBlock, ref.nSlot);
    }
    CString Text() const
    {
        CString strText;
        m_pPreview->GetRichEdit().GetWindowText(strText);
        return strText;
    }
    BOOL Enabled(UINT nID) const { return m_pPreview->GetFindBar().IsControlEnabled(nID); }
    // The colour of the character at nChar.
    COLORREF ColourAt(long nChar) const
    {
        CRichEditCtrl& text = m_pPreview->GetRichEdit();
        long nStart = 0;
        long nEnd = 0;
        text.GetSel(nStart, nEnd);
        text.SetSel(nChar, nChar + 1);
        CHARFORMAT format {};
        format.cbSize = sizeof(format);
        text.GetSelectionCharFormat(format);
        text.SetSel(nStart, nEnd);
        return (format.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : format.crTextColor;
    }

    CString m_strNote;
    CString m_strPicture;
    CString m_strGone;
    CRecordRef m_note;
    CRecordRef m_picture;
    CRecordRef m_gone;
    CContentView* m_pPreview { nullptr };
};

} // namespace

TEST_F(ContentViewTest, ADocumentsTextShowsOnceAndAGoneFileShowsThePlaceholder)
{
    auto pNote = Document(m_note);
    m_pPreview->ShowDocument(pNote.get());
    EXPECT_TRUE(m_pPreview->IsTextLoaded());
    EXPECT_EQ(Text().Left(16), "alpha beta gamma");
    for (UINT nID = ID_PREVIEW_FIND; nID <= ID_PREVIEW_PROTECT; ++nID)
        EXPECT_TRUE(Enabled(nID)) << nID;
    // The same item again is not read again.
    std::ofstream(Home() / "note.txt") << "changed\n";
    m_pPreview->ShowDocument(pNote.get());
    EXPECT_EQ(Text().Left(5), "alpha");

    auto pGone = Document(m_gone);
    m_pPreview->ShowDocument(pGone.get());
    EXPECT_FALSE(m_pPreview->IsTextLoaded());
    ASSERT_NE(m_pPreview->GetZoomWnd(), nullptr); // the placeholder picture
    EXPECT_FALSE(Enabled(ID_PREVIEW_FIND));
    EXPECT_FALSE(m_pPreview->GetRichEdit().IsWindowVisible());

    m_pPreview->ShowDocument(nullptr);
    EXPECT_EQ(m_pPreview->GetShownItem(), nullptr);
    EXPECT_FALSE(Enabled(ID_PREVIEW_EDIT_DESCRIPTION));
}

TEST_F(ContentViewTest, LargerAndSmallerStopAtTheEndsOfTheTextSizes)
{
    auto pNote = Document(m_note);
    m_pPreview->ShowDocument(pNote.get());
    for (int i = 0; i < 3; ++i)
        m_pPreview->SendMessage(WM_COMMAND, ID_PREVIEW_LARGER, 0);
    EXPECT_EQ(m_pPreview->GetSizeIndex(), 5);
    EXPECT_FALSE(Enabled(ID_PREVIEW_LARGER));
    EXPECT_TRUE(Enabled(ID_PREVIEW_SMALLER));
    m_pPreview->SendMessage(WM_COMMAND, ID_PREVIEW_LARGER, 0);
    EXPECT_EQ(m_pPreview->GetSizeIndex(), 5);
    for (int i = 0; i < 7; ++i)
        m_pPreview->SendMessage(WM_COMMAND, ID_PREVIEW_SMALLER, 0);
    EXPECT_EQ(m_pPreview->GetSizeIndex(), 0);
    EXPECT_FALSE(Enabled(ID_PREVIEW_SMALLER));
}

TEST_F(ContentViewTest, FindColoursEveryMatchAndSelectsTheFirst)
{
    auto pNote = Document(m_note);
    m_pPreview->ShowDocument(pNote.get());
    // Empty words do nothing and ask nothing.
    m_pPreview->SendMessage(WM_COMMAND, ID_PREVIEW_FIND, 0);
    EXPECT_EQ(ColourAt(6), GetSysColor(COLOR_WINDOWTEXT));

    m_pPreview->GetFindBar().GetCombo().SetWindowText("BETA");
    m_pPreview->SendMessage(WM_COMMAND, ID_PREVIEW_FIND, 0);
    EXPECT_EQ(ColourAt(6), CContentView::MATCH_COLOUR);  // "beta"
    EXPECT_EQ(ColourAt(17), CContentView::MATCH_COLOUR); // the second "beta"
    EXPECT_EQ(ColourAt(11), GetSysColor(COLOR_WINDOWTEXT));
    long nStart = 0;
    long nEnd = 0;
    m_pPreview->GetRichEdit().GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 6);
    EXPECT_EQ(nEnd, 10);

    m_pPreview->GetFindBar().GetCombo().SetWindowText("delta");
    m_driver.AnswerNextMessageBox(IDOK);
    m_pPreview->SendMessage(WM_COMMAND, ID_PREVIEW_FIND, 0);
    // The colours of the last search are gone.
    EXPECT_EQ(ColourAt(6), GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(ContentViewTest, APictureOpensFittedAndZoomsThroughTheTable)
{
    auto pPicture = Document(m_picture);
    m_pPreview->ShowDocument(pPicture.get());
    CZoomWnd* pZoom = m_pPreview->GetZoomWnd();
    ASSERT_NE(pZoom, nullptr);
    EXPECT_EQ(pZoom->GetPictureSize().cx, 40);
    EXPECT_FALSE(m_pPreview->IsTextLoaded());
    // A small picture fits at 100 %: from there larger goes 150, 200, 400 and stops.
    EXPECT_EQ(m_pPreview->GetZoomPercent(), 100);
    for (int nPercent : { 150, 200, 400 }) {
        m_pPreview->SendMessage(WM_COMMAND, ID_PREVIEW_LARGER, 0);
        EXPECT_EQ(m_pPreview->GetZoomPercent(), nPercent);
    }
    EXPECT_FALSE(Enabled(ID_PREVIEW_LARGER));
    EXPECT_FALSE(Enabled(ID_PREVIEW_FIND));
    // Another item frees the picture.
    auto pNote = Document(m_note);
    m_pPreview->ShowDocument(pNote.get());
    EXPECT_EQ(m_pPreview->GetZoomWnd(), nullptr);
    EXPECT_TRUE(m_pPreview->GetRichEdit().IsWindowVisible());
}

TEST_F(ContentViewTest, ASystemShowsItsPropertiesAndNoFindButtons)
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    std::unique_ptr<CNodeRec> pPapers(pRoot->FindChildByName("Papers"));
    m_pPreview->ShowDocument(pPapers.get());
    const CString strText = Text();
    EXPECT_NE(strText.Find(GetResString(IDS_NODE_PROP_KEYWORDS)), -1);
    CString strCounts;
    strCounts.Format(GetResString(IDS_NODE_PROP_ONE_GROUP), 1);
    EXPECT_NE(strText.Find(strCounts), -1);
    strCounts.Format(GetResString(IDS_NODE_PROP_DOCUMENTS), 3);
    EXPECT_NE(strText.Find(strCounts), -1);
    EXPECT_FALSE(Enabled(ID_PREVIEW_EDIT_DESCRIPTION));
}

TEST_F(ContentViewTest, TheSelectionBecomesTheDescriptionCutAtACharacter)
{
    // A selection longer than the dialog takes: 130 two-byte characters.
    CString strLong;
    for (int i = 0; i < 130; ++i)
        strLong += "é";
    std::ofstream(Home() / "note.txt") << static_cast<LPCTSTR>(strLong);
    auto pNote = Document(m_note);
    m_pPreview->ShowDocument(pNote.get());
    m_pPreview->GetRichEdit().SetSel(0, -1);
    int nOffered = 0;
    m_driver.OnNextDialog([&nOffered](HWND hDlg) {
        char szText[600] {};
        nOffered = GetDlgItemText(hDlg, IDC_DESCRIPTION_TEXT, szText, sizeof(szText));
        SendMessage(hDlg, WM_COMMAND, IDOK, 0);
    });
    m_pPreview->SendMessage(WM_COMMAND, ID_PREVIEW_DESCRIPTION, 0);
    EXPECT_EQ(nOffered, 258); // 129 characters: the 130th would pass 259 bytes
    // The record keeps what its field holds, also cut between characters.
    CDocumentInfo info {};
    ASSERT_NE(Document(m_note)->GetInfo(&info), nullptr);
    EXPECT_EQ(CString(info.szDescription), strLong.Left(CDocumentRec::MAX_TEXT));
}

TEST_F(ContentViewTest, ProtectingShowsThePlaceholderAndTheDocumentIsNotRead)
{
    m_prompts.m_strNewPassword = "secret";
    m_prompts.m_nNewPasswordAnswer = IDOK;
    auto pNote = Document(m_note);
    m_pPreview->ShowDocument(pNote.get());
    m_pPreview->SendMessage(WM_COMMAND, ID_PREVIEW_PROTECT, 0);
    EXPECT_TRUE(Document(m_note)->IsProtected());
    EXPECT_FALSE(m_pPreview->IsTextLoaded());
    EXPECT_NE(m_pPreview->GetZoomWnd(), nullptr);
    EXPECT_FALSE(Enabled(ID_PREVIEW_FIND));
    EXPECT_TRUE(Enabled(ID_PREVIEW_PROTECT));
}
