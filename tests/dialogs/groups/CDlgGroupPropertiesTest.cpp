#include "dialogs/groups/CDlgGroupProperties.h"

#include "dialogs/groups/CDlgKeywordProperties.h"
#include "resources/ResourceIds.h"
#include "store/CNodeInfoRec.h"
#include "tests/dialogs/groups/GroupDialogTest.h"

#include "platform/controls/ComboBoxControl.h"
#include "platform/framework/AfxMessages.h"

#include <gtest/gtest.h>

namespace {

class CDlgGroupPropertiesTest : public GroupDialogTest {
protected:
    static void KickIdle(HWND hDlg) { ::SendMessage(hDlg, WM_KICKIDLE, MSGF_DIALOGBOX, 0); }
    static BOOL IsOkEnabled(HWND hDlg)
    {
        KickIdle(hDlg);
        return CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDOK));
    }
    static CString Formatted(UINT nID, int nFirst, int nSecond = 0)
    {
        CString str;
        str.Format(nID, nFirst, nSecond);
        return str;
    }
    int CountChildren() { return Root(*m_pCatalog)->CountChildren(); }
};

} // namespace

TEST_F(CDlgGroupPropertiesTest, ANewGroupStartsWithTheDefaultsAndIsStoredUnderItsTrimmedName)
{
    std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
    CDlgGroupProperties dlg;
    BOOL bBlankAccepted = TRUE, bNameAccepted = FALSE;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            EXPECT_EQ(CTestDriver::Text(hDlg), Text(IDS_NEW_GROUP));
            EXPECT_EQ(
                CTestDriver::Text(CTestDriver::FindChild(hDlg, IDC_GROUP_COUNTS)), Formatted(IDS_GROUP_COUNTS, 0, 0));
            for (int nID : { IDC_SEARCH_FILE_NAME, IDC_SEARCH_SUBJECT, IDC_SEARCH_SENDER })
                EXPECT_TRUE(CTestDriver::IsChecked(CTestDriver::FindChild(hDlg, nID))) << nID;
            for (int nID : { IDC_SEARCH_FOLDER_PATH, IDC_SEARCH_DESCRIPTION, IDC_SEARCH_WHOLE_TEXT,
                     IDC_SEARCH_RECIPIENTS, IDC_SEARCH_BODY })
                EXPECT_FALSE(CTestDriver::IsChecked(CTestDriver::FindChild(hDlg, nID))) << nID;
            EXPECT_EQ(CTestDriver::Selection(CTestDriver::FindChild(hDlg, IDC_GROUP_MESSAGES)), 0);
            HWND hKeywords = CTestDriver::FindChild(hDlg, IDC_GROUP_KEYWORD_LIST);
            EXPECT_EQ(CTestDriver::ListRows(hKeywords).size(), 1u) << "the new-entry row alone";
            const CString strEntry = Text(IDS_NEW_KEYWORD_ROW);
            EXPECT_GE(::SendMessage(hKeywords, LVM_GETCOLUMNWIDTH, 0, 0),
                ::SendMessage(
                    hKeywords, LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strEntry))))
                << "the new-entry row shows";
            EXPECT_TRUE(CTestDriver::ListRows(CTestDriver::FindChild(hDlg, IDC_GROUP_FOLDER_LIST)).empty());
            EXPECT_FALSE(CTestDriver::IsVisible(::GetDlgItem(hDlg, IDC_GROUP_EXISTING_NAME)));
        })
        .SetText(IDC_GROUP_NAME, "   ")
        .Then([&](HWND hDlg) { bBlankAccepted = IsOkEnabled(hDlg); })
        .SetText(IDC_GROUP_NAME, "  Letters  ")
        .Then([&](HWND hDlg) { bNameAccepted = IsOkEnabled(hDlg); })
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(dlg.ShowForNewGroup(*pRoot), IDOK);
    EXPECT_FALSE(bBlankAccepted) << "a name of blanks";
    EXPECT_TRUE(bNameAccepted);

    m_pCatalog = OpenCatalog();
    std::unique_ptr<CNodeRec> pLetters(Root(*m_pCatalog)->FindChildByName("Letters"));
    ASSERT_NE(pLetters, nullptr) << "stored trimmed";
    EXPECT_EQ(pLetters->GetInfoWord() & 0xFF, CGroupSearchPage::DEFAULT_MASK);
    EXPECT_EQ(pLetters->GetFlags() & 0x5, CGroupPropertiesMensagens::FLAG_BOTH);
}

TEST_F(CDlgGroupPropertiesTest, TheFixedNamesAtTheTopAndASiblingsNameAreRefusedWithoutRegardToCase)
{
    const int nBefore = CountChildren();
    CDialogScript script;
    script.SetText(IDC_GROUP_NAME, Text(IDS_TOP_NODE3_NAME).MakeUpper())
        .Then([&](HWND) { AnswerMessage(); })
        .Press(IDOK)
        .Then([&](HWND) { AnswerMessage(); })
        .SetText(IDC_GROUP_NAME, "projects")
        .Press(IDOK)
        .Then([&](HWND hDlg) { EXPECT_EQ(CTestDriver::Focus(), ::GetDlgItem(hDlg, IDC_GROUP_NAME)); })
        .Press(IDCANCEL);
    Answer(script);
    {
        std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
        CDlgGroupProperties dlg;
        EXPECT_EQ(dlg.ShowForNewGroup(*pRoot), IDCANCEL);
    }
    EXPECT_EQ(m_messages, (std::vector<CString> { Text(IDS_NAME_TAKEN), Text(IDS_NAME_TAKEN) }));
    EXPECT_EQ(CountChildren(), nBefore);

    // Below the top a fixed node's name is a name like any other.
    CDialogScript inner;
    inner.SetText(IDC_GROUP_NAME, Text(IDS_TOP_NODE4_NAME)).Press(IDOK);
    Answer(inner);
    std::unique_ptr<CNodeRec> pProjects = Node(*m_pCatalog, m_projects);
    CDlgGroupProperties dlg;
    EXPECT_EQ(dlg.ShowForNewGroup(*pProjects), IDOK);
    EXPECT_NE(std::unique_ptr<CNodeRec>(pProjects->FindChildByName(Text(IDS_TOP_NODE4_NAME))), nullptr);
}

TEST_F(CDlgGroupPropertiesTest, OkStoresEveryPageAndReusesAKeywordTypedInOtherCase)
{
    {
        std::unique_ptr<CNodeRec> pProjects = Node(*m_pCatalog, m_projects);
        std::unique_ptr<CNodeRec> pArchive = Node(*m_pCatalog, m_archive);
        std::unique_ptr<CKeywordRec> pInvoice(m_pCatalog->CreateKeyword("Invoice"));
        ASSERT_TRUE(pArchive->LinkKeyword(pInvoice.get()));
        std::unique_ptr<CKeywordRec> pOld(m_pCatalog->CreateKeyword("old"));
        ASSERT_TRUE(pProjects->LinkKeyword(pOld.get()));
        for (LPCTSTR pszFolder : { "c:\\work", "c:\\plans" }) {
            std::unique_ptr<CNodeFolderRec> pFolder(m_pCatalog->AddNodeFolder(pszFolder));
            ASSERT_TRUE(pProjects->LinkNodeFolder(pFolder.get()));
        }
        CNodeInfo info {};
        pProjects->GetInfo(&info);
        info.nFlags |= CGroupPropertiesMensagens::FLAG_BOTH | CGroupPropertiesMensagens::FLAG_RECEIVED | 0x100;
        info.wSearchType = 0x0301;
        ASSERT_TRUE(pProjects->UpdateInfo(info));
    }
    std::unique_ptr<CNodeRec> pProjects = Node(*m_pCatalog, m_projects);
    CDlgGroupProperties dlg;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            EXPECT_EQ(CTestDriver::Text(hDlg), Text(IDS_GROUP_PROPERTIES));
            EXPECT_EQ(CTestDriver::Text(::GetDlgItem(hDlg, IDC_GROUP_EXISTING_NAME)), "Projects");
            EXPECT_EQ(CTestDriver::Text(CTestDriver::FindChild(hDlg, IDC_GROUP_INFO)), "current work");
            EXPECT_EQ(
                CTestDriver::Text(CTestDriver::FindChild(hDlg, IDC_GROUP_COUNTS)), Formatted(IDS_GROUP_COUNTS, 0, 0));
        })
        .SetText(IDC_GROUP_INFO, "work of this year")
        .Then([&](HWND hDlg) {
            ShowPage(hDlg, 1);
            HWND hKeywords = CTestDriver::FindChild(hDlg, IDC_GROUP_KEYWORD_LIST);
            AddRow(hKeywords, "  invoice  ");
            AddRow(hKeywords, "");
            AddRow(hKeywords, "budget");
            ShowPage(hDlg, 2);
        })
        .Uncheck(IDC_SEARCH_FILE_NAME)
        .Check(IDC_SEARCH_BODY)
        .Then([&](HWND hDlg) {
            ShowPage(hDlg, 3);
            HWND hFolders = CTestDriver::FindChild(hDlg, IDC_GROUP_FOLDER_LIST);
            EXPECT_EQ(CTestDriver::ListRows(hFolders).size(), 2u);
            SelectRow(hFolders, 0);
            KickIdle(hDlg);
        })
        .Press(IDC_GROUP_FOLDER_DELETE)
        .Then([&](HWND hDlg) { ShowPage(hDlg, 4); })
        .Select(IDC_GROUP_MESSAGES, 1)
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(dlg.ShowForNode(*pProjects), IDOK);

    m_pCatalog = OpenCatalog();
    pProjects = Node(*m_pCatalog, m_projects);
    EXPECT_EQ(pProjects->GetInfoString(), "work of this year");
    EXPECT_EQ(KeywordTexts(*pProjects), (std::vector<std::string> { "Invoice", "budget", "old" }))
        << "the rows that were there stay; the typed word found the existing keyword";
    EXPECT_EQ(std::unique_ptr<CKeywordRec>(m_pCatalog->FindKeyword("invoice")), nullptr) << "no twin made";
    EXPECT_EQ(FolderTexts(*pProjects), std::vector<std::string> { "c:\\plans" });
    EXPECT_EQ(pProjects->GetInfoWord(), 0x0380) << "the high byte kept";
    EXPECT_EQ(pProjects->GetFlags() & 0x105, 0x104) << "choice 1: bit 2 only; other bits kept";
}

TEST_F(CDlgGroupPropertiesTest, AFixedNodeIsShownReadOnlyAndNeverWritten)
{
    const std::string strBefore = Bytes();
    std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    CDlgGroupProperties dlg;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            EXPECT_EQ(CTestDriver::Text(hDlg), Text(IDS_GROUP_PROPERTIES));
            EXPECT_FALSE(CTestDriver::IsVisible(::GetDlgItem(hDlg, IDC_GROUP_NAME)));
            HWND hInfo = CTestDriver::FindChild(hDlg, IDC_GROUP_INFO);
            EXPECT_EQ(CTestDriver::Text(hInfo), Text(IDS_FIXED_NODE_INFO));
            EXPECT_TRUE(::GetWindowLong(hInfo, GWL_STYLE) & ES_READONLY);
            CString strCounts;
            strCounts.Format(IDS_FIXED_NODE_COUNTS, 0);
            EXPECT_EQ(CTestDriver::Text(CTestDriver::FindChild(hDlg, IDC_GROUP_COUNTS)), strCounts);
            EXPECT_FALSE(CTestDriver::IsEnabled(CTestDriver::FindChild(hDlg, IDC_GROUP_KEYWORD_LIST)));
            ShowPage(hDlg, 2);
        })
        .Uncheck(IDC_SEARCH_FILE_NAME)
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(dlg.ShowForNode(*pSystems), IDOK);
    EXPECT_EQ(Bytes(), strBefore);
}

TEST_F(CDlgGroupPropertiesTest, CancelWritesNothing)
{
    const std::string strBefore = Bytes();
    std::unique_ptr<CNodeRec> pProjects = Node(*m_pCatalog, m_projects);
    CDlgGroupProperties dlg;
    CDialogScript script;
    script.SetText(IDC_GROUP_INFO, "changed")
        .Then([&](HWND hDlg) {
            AddRow(CTestDriver::FindChild(hDlg, IDC_GROUP_KEYWORD_LIST), "word");
            ShowPage(hDlg, 2);
        })
        .Uncheck(IDC_SEARCH_FILE_NAME)
        .Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(dlg.ShowForNode(*pProjects), IDCANCEL);
    EXPECT_EQ(Bytes(), strBefore);
}

TEST_F(CDlgGroupPropertiesTest, TheKeywordDialogStoresTheKeywordsAndTheSearchTypeOnOkOnly)
{
    std::unique_ptr<CNodeRec> pArchive = Node(*m_pCatalog, m_archive);
    for (int nAnswer : { IDCANCEL, IDOK }) {
        CDlgKeywordProperties dlg;
        CDialogScript script;
        script
            .Then([&](HWND hDlg) {
                AddRow(CTestDriver::FindChild(hDlg, IDC_GROUP_KEYWORD_LIST), " letters ");
                ShowPage(hDlg, 1);
            })
            .Check(IDC_SEARCH_WHOLE_TEXT)
            .Press(nAnswer);
        Answer(script);
        EXPECT_EQ(dlg.ShowForNode(*pArchive), nAnswer);
        EXPECT_EQ(KeywordTexts(*pArchive).size(), nAnswer == IDOK ? 1u : 0u);
    }
    EXPECT_EQ(KeywordTexts(*pArchive), std::vector<std::string> { "letters" });
    EXPECT_EQ(Node(*m_pCatalog, m_archive)->GetInfoWord() & 0x08, 0x08);
}

TEST_F(CDlgGroupPropertiesTest, TheNameAndTheInformationTakeNoMoreThanTheirFieldsHold)
{
    const int nBefore = CountChildren();
    std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
    CDlgGroupProperties dlg;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            EXPECT_EQ(::SendMessage(CTestDriver::FindChild(hDlg, IDC_GROUP_INFO), EM_GETLIMITTEXT, 0, 0),
                static_cast<LRESULT>(sizeof(CNodeInfo::szInfo) - 1));
            AnswerMessage();
        })
        .SetText(IDC_GROUP_NAME, CString('x', CDlgGroupProperties::NAME_LIMIT + 1))
        .Press(IDOK)
        .Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(dlg.ShowForNewGroup(*pRoot), IDCANCEL);
    EXPECT_EQ(m_messages.size(), 1u) << "the name is refused, not cut";
    EXPECT_EQ(CountChildren(), nBefore);
}
