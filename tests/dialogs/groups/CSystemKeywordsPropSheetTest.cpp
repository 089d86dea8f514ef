#include "dialogs/groups/CSystemKeywordsPropSheet.h"

#include "resources/ResourceIds.h"
#include "store/CNodeInfoRec.h"
#include "tests/dialogs/groups/GroupDialogTest.h"

#include "platform/controls/ListBoxControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CRect.h"

#include <gtest/gtest.h>

namespace {

class CSystemKeywordsPropSheetTest : public GroupDialogTest {
protected:
    void SetUp() override
    {
        GroupDialogTest::SetUp();
        // Projects places files by their name and leads "Invoice"; Archive
        // places only mail, so its keyword is not one of the sheet's.
        Link(m_projects, "Invoice", 0x01);
        Link(m_archive, "mailonly", 0x10);
    }

    void Link(CRecordRef ref, LPCTSTR pszKeyword, WORD wSearchType)
    {
        std::unique_ptr<CNodeRec> pNode = Node(*m_pCatalog, ref);
        std::unique_ptr<CKeywordRec> pKeyword(m_pCatalog->CreateKeyword(pszKeyword));
        ASSERT_TRUE(pNode->LinkKeyword(pKeyword.get()));
        CNodeInfo info {};
        pNode->GetInfo(&info);
        info.wSearchType = wSearchType;
        ASSERT_TRUE(pNode->UpdateInfo(info));
    }
    // The systems the second page holds for a keyword.
    static std::vector<std::string> SystemsOf(CSystemKeywordsPropSheet& sheet, LPCTSTR pszKeyword)
    {
        CSystemListBox& list = sheet.m_systemsOfKeyword.GetKeywordList();
        std::vector<std::string> names;
        const int nRow = list.FindStringExact(-1, pszKeyword);
        if (const CSystemArray* pSystems = nRow >= 0 ? list.GetSystems(nRow) : nullptr) {
            for (int i = 0; i < pSystems->GetSize(); ++i)
                names.emplace_back(static_cast<LPCTSTR>(pSystems->GetAt(i)->GetName()));
        }
        return names;
    }
    static int SystemRows(HWND hSheet)
    {
        return static_cast<int>(
            ::SendMessage(CTestDriver::FindChild(hSheet, IDC_SHEET_SYSTEM_LIST), LB_GETCOUNT, 0, 0));
    }
    // The keyword list of the first page, or every keyword on the second: both are control IDC_SHEET_WORD_LIST.
    static HWND WordList(CPropertyPage& page) { return ::GetDlgItem(page.GetSafeHwnd(), IDC_SHEET_WORD_LIST); }
};

} // namespace

TEST_F(CSystemKeywordsPropSheetTest, AKeywordAddedToASystemShowsOnTheOtherPageAndIsStoredTrimmed)
{
    CSystemKeywordsPropSheet sheet(m_pCatalog.get());
    CDialogScript script;
    script.SelectTreeItem(IDC_SHEET_SYSTEM_TREE, { "Projects" })
        .Then([&](HWND) {
            HWND hList = WordList(sheet.m_keywordsOfSystem);
            EXPECT_EQ(CTestDriver::ListRows(hList).size(), 2u) << "the new-entry row and Invoice";
            AddRow(hList, "  letters  ");
        })
        .SelectPage(1)
        .Then([&](HWND) {
            EXPECT_EQ(
                CTestDriver::Items(WordList(sheet.m_systemsOfKeyword)), (std::vector<CString> { "invoice", "letters" }))
                << "a keyword of mail systems only is not listed";
            EXPECT_EQ(SystemsOf(sheet, "letters"), std::vector<std::string> { "Projects" });
        })
        .Select(IDC_SHEET_WORD_LIST, "letters")
        .Then([&](HWND hSheet) { EXPECT_EQ(SystemRows(hSheet), 1); })
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(sheet.DoModal(), IDOK);

    m_pCatalog = OpenCatalog();
    EXPECT_EQ(KeywordTexts(*Node(*m_pCatalog, m_projects)), (std::vector<std::string> { "Invoice", "letters" }));
}

TEST_F(CSystemKeywordsPropSheetTest, ASystemTakenFromAKeywordIsGoneOnTheFirstPageAndStoredWithout)
{
    CSystemKeywordsPropSheet sheet(m_pCatalog.get());
    CDialogScript script;
    script.SelectPage(1)
        .Select(IDC_SHEET_WORD_LIST, "invoice")
        .Then([&](HWND hSheet) {
            ASSERT_EQ(SystemRows(hSheet), 1);
            ::SendMessage(CTestDriver::FindChild(hSheet, IDC_SHEET_SYSTEM_LIST), LB_SETSEL, TRUE, 0);
            ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        })
        .Press(IDC_SYSTEM_DELETE)
        .SelectPage(0)
        .SelectTreeItem(IDC_SHEET_SYSTEM_TREE, { "Projects" })
        .Then([&](HWND) {
            EXPECT_EQ(CTestDriver::ListRows(WordList(sheet.m_keywordsOfSystem)).size(), 1u)
                << "the new-entry row alone";
        })
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(sheet.DoModal(), IDOK);

    m_pCatalog = OpenCatalog();
    EXPECT_TRUE(KeywordTexts(*Node(*m_pCatalog, m_projects)).empty());
    EXPECT_NE(std::unique_ptr<CKeywordRec>(m_pCatalog->FindKeyword("Invoice")), nullptr) << "the keyword stays";
}

TEST_F(CSystemKeywordsPropSheetTest, CancelAfterChangesOnBothPagesWritesNothing)
{
    const std::string strBefore = Bytes();
    CSystemKeywordsPropSheet sheet(m_pCatalog.get());
    CDialogScript script;
    script
        .Then([&](HWND hSheet) {
            EXPECT_FALSE(CTestDriver::IsVisible(::GetDlgItem(hSheet, IDHELP)));
            CRect rcClient, rcOK, rcCancel;
            ::GetClientRect(hSheet, &rcClient);
            ::GetWindowRect(::GetDlgItem(hSheet, IDOK), &rcOK);
            ::GetWindowRect(::GetDlgItem(hSheet, IDCANCEL), &rcCancel);
            ::MapWindowPoints(nullptr, hSheet, reinterpret_cast<POINT*>(&rcOK), 2);
            ::MapWindowPoints(nullptr, hSheet, reinterpret_cast<POINT*>(&rcCancel), 2);
            EXPECT_EQ(rcOK.Width(), rcCancel.Width());
            EXPECT_EQ(rcOK.left, rcClient.Width() - rcCancel.right) << "centred as a pair";
        })
        .SelectTreeItem(IDC_SHEET_SYSTEM_TREE, { "Archive" })
        .Then([&](HWND) { AddRow(WordList(sheet.m_keywordsOfSystem), "budget"); })
        .SelectPage(1)
        .Select(IDC_SHEET_WORD_LIST, "invoice")
        .Then([&](HWND hSheet) {
            ::SendMessage(CTestDriver::FindChild(hSheet, IDC_SHEET_SYSTEM_LIST), LB_SETSEL, TRUE, 0);
            ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        })
        .Press(IDC_SYSTEM_DELETE)
        .SelectPage(0)
        .Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(Bytes(), strBefore);
}

TEST_F(CSystemKeywordsPropSheetTest, ASystemChosenTwiceThroughThePopupIsListedOnce)
{
    // The popup lists the top-level systems sorted: Archive, then Projects.
    auto chooseArchive = [this] {
        m_driver.OnNextWait([this] {
            const std::vector<HWND> popups = CTestDriver::PopupWindows();
            ASSERT_FALSE(popups.empty());
            ASSERT_TRUE(m_driver.ClickPopupRow(popups.front(), 0));
        });
    };
    CSystemKeywordsPropSheet sheet(m_pCatalog.get());
    CDialogScript script;
    script.SelectPage(1)
        .Select(IDC_SHEET_WORD_LIST, "invoice")
        .Then([&](HWND) { chooseArchive(); })
        .Press(IDC_SYSTEM_ADD)
        .Then([&](HWND) { chooseArchive(); })
        .Press(IDC_SYSTEM_ADD)
        .Then([&](HWND hSheet) { EXPECT_EQ(SystemRows(hSheet), 2); })
        .Press(IDOK);
    Answer(script);
    EXPECT_EQ(sheet.DoModal(), IDOK);
    m_pCatalog = OpenCatalog();
    EXPECT_EQ(KeywordTexts(*Node(*m_pCatalog, m_archive)), (std::vector<std::string> { "Invoice", "mailonly" }))
        << "the keyword typed lower-case in the list found its record";
}
