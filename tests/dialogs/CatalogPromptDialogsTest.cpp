#include "catalog/CNewDocNotice.h"
#include "dialogs/CDialogCatalogPrompts.h"
#include "mail/CMailMessage.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class SelectionDialogsTest : public DialogTest {
protected:
    // Runs the selection question of nKind, recording its caption and which picture shows.
    int Ask(int nKind, BOOL bWarn, int nAnswer)
    {
        if (bWarn) {
            CDialogScript warning;
            warning.Press(IDOK);
            Answer(warning);
        }
        CDialogScript script;
        script
            .Then([this](HWND hDlg) {
                m_strCaption = CTestDriver::Text(hDlg);
                m_strText = CTestDriver::Text(::GetDlgItem(hDlg, IDC_SELECTION_TEXT));
                m_bToBin = CTestDriver::IsVisible(::GetDlgItem(hDlg, IDC_SELECTION_TO_BIN));
                m_bForGood = CTestDriver::IsVisible(::GetDlgItem(hDlg, IDC_SELECTION_FOR_GOOD));
            })
            .Press(nAnswer);
        Answer(script);
        return m_prompts.ConfirmSelectionAction(nKind, "Move 3 items?", bWarn, nullptr);
    }

    CDialogCatalogPrompts m_prompts;
    CString m_strCaption;
    CString m_strText;
    BOOL m_bToBin { FALSE };
    BOOL m_bForGood { FALSE };
};

} // namespace

TEST_F(SelectionDialogsTest, TheKindGivesTheCaptionAndThePictureAndTheWarningComesFirst)
{
    EXPECT_EQ(Ask(CCatalogPrompts::SELECTION_ITEM, FALSE, IDOK), IDOK);
    EXPECT_EQ(m_strCaption, Text(IDS_SELECTION_ITEM));
    EXPECT_EQ(m_strText, CString("Move 3 items?"));
    EXPECT_TRUE(m_bToBin);
    EXPECT_FALSE(m_bForGood);

    EXPECT_EQ(Ask(CCatalogPrompts::SELECTION_REMOVABLE_ITEMS, FALSE, IDCANCEL), IDCANCEL);
    EXPECT_EQ(m_strCaption, Text(IDS_SELECTION_ITEMS));
    EXPECT_FALSE(m_bToBin);
    EXPECT_TRUE(m_bForGood);

    EXPECT_EQ(Ask(CCatalogPrompts::SELECTION_NODE, TRUE, IDOK), IDOK) << "the warning, then the question";
    EXPECT_EQ(m_strCaption, Text(IDS_SELECTION_NODE));

    // A refused warning ends the question before it shows.
    CDialogScript refuse;
    refuse.Press(IDCANCEL);
    Answer(refuse);
    EXPECT_EQ(m_prompts.ConfirmSelectionAction(CCatalogPrompts::SELECTION_ITEMS, "Move?", TRUE, nullptr), IDCANCEL);
}

TEST_F(SelectionDialogsTest, TheNewDocumentListsCountWhatWaitsAndWhatVanished)
{
    CNewDocNoticeArray queue;
    queue.emplace_back("t:\\docs\\a.txt", CNewDocNotice::STORE_NONE);
    queue.emplace_back("t:\\mail\\inbox", 0); // a store that grew: no document yet
    queue.emplace_back("t:\\docs\\b.txt", CNewDocNotice::STORE_NONE);
    CString strText;
    std::vector<CString> rows;
    CDialogScript summary;
    summary
        .Then([&](HWND hDlg) {
            strText = CTestDriver::Text(::GetDlgItem(hDlg, IDC_NEW_DOCS_TEXT));
            rows = CTestDriver::Items(::GetDlgItem(hDlg, IDC_NEW_DOCS_LIST));
        })
        .Press(IDOK);
    Answer(summary);
    EXPECT_EQ(m_prompts.ShowNewDocsSummary(queue, nullptr), IDOK);
    CString strExpected;
    strExpected.Format(IDS_NEW_DOCS_WAITING, 2);
    EXPECT_EQ(strText, strExpected);
    EXPECT_EQ(rows, (std::vector<CString> { "t:\\docs\\a.txt", "t:\\docs\\b.txt" }));

    CDialogScript found;
    found.Then([&](HWND hDlg) { strText = CTestDriver::Text(::GetDlgItem(hDlg, IDC_NEW_DOCS_TEXT)); }).Press(IDOK);
    Answer(found);
    m_prompts.ShowNewDocsFound(3, nullptr);
    strExpected.Format(IDS_NEW_DOCS_VANISHED, 3);
    EXPECT_EQ(strText, strExpected);
}
