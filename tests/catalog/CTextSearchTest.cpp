#include "catalog/CTextSearch.h"

#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

// One document, "c:\reports\2024\tax report.odt", with the description
// "Quarterly Figures" and the secondary text "From Ana Pérez".
class CTextSearchTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        auto pRoot = Root(*m_pCatalog);
        auto pGroup = AddNode(*pRoot, "Taxes");
        m_pDocument = AddDocument(*m_pCatalog, pGroup.get(), "C:\\Reports\\2024\\Tax Report.odt");
        ASSERT_NE(m_pDocument, nullptr);
        SetTexts("Quarterly Figures", "From Ana Pérez");
    }

    void SetTexts(const char* pszDescription, const char* pszSecondary)
    {
        CDocumentInfo info {};
        ASSERT_NE(m_pDocument->GetInfo(&info), nullptr);
        std::snprintf(info.szDescription, sizeof(info.szDescription), "%s", pszDescription);
        std::snprintf(info.szSecondary, sizeof(info.szSecondary), "%s", pszSecondary);
        ASSERT_TRUE(m_pDocument->UpdateInfo(info));
    }

    int Match(std::vector<CString> words, int nField, int nMode = CTextSearch::MODE_ALL_WORDS, BOOL bCase = FALSE)
    {
        return CTextSearch::SetCriteria(*m_pDocument, words, nField, nMode, bCase);
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CDocumentRec> m_pDocument;
};

TEST_F(CTextSearchTest, EachFieldSearchesItsOwnText)
{
    EXPECT_EQ(Match({ "report" }, CTextSearch::FIELD_NAME), 1);
    EXPECT_EQ(Match({ "quarterly" }, CTextSearch::FIELD_NAME), 0);
    EXPECT_EQ(Match({ "quarterly" }, CTextSearch::FIELD_DESCRIPTION), 1);
    EXPECT_EQ(Match({ "report" }, CTextSearch::FIELD_DESCRIPTION), 0);
    EXPECT_EQ(Match({ "2024" }, CTextSearch::FIELD_LABEL), 1);
    EXPECT_EQ(Match({ "tax" }, CTextSearch::FIELD_LABEL), 0);
    EXPECT_EQ(Match({ "ana" }, CTextSearch::FIELD_SECONDARY), 1);
    EXPECT_EQ(Match({ "figures" }, CTextSearch::FIELD_SECONDARY), 0);
    // Values past the last field search the name.
    EXPECT_EQ(Match({ "report" }, 9), 1);
    EXPECT_EQ(Match({ "figures" }, 9), 0);
}

TEST_F(CTextSearchTest, WordsArePartsOfTheText)
{
    EXPECT_EQ(Match({ "port" }, CTextSearch::FIELD_NAME), 1);
    EXPECT_EQ(Match({ "tax report" }, CTextSearch::FIELD_NAME), 1);
    EXPECT_EQ(Match({ "tax  report" }, CTextSearch::FIELD_NAME), 0);
    EXPECT_EQ(Match({ "rter" }, CTextSearch::FIELD_DESCRIPTION), 1);
}

TEST_F(CTextSearchTest, ModesCombineTheWords)
{
    const std::vector<CString> words { "tax", "invoice" };
    EXPECT_EQ(Match(words, CTextSearch::FIELD_NAME, CTextSearch::MODE_ALL_WORDS), 0);
    EXPECT_EQ(Match(words, CTextSearch::FIELD_NAME, CTextSearch::MODE_ANY_WORD), 1);
    EXPECT_EQ(Match(words, CTextSearch::FIELD_NAME, CTextSearch::MODE_ANY_IN_TEXTS), 1);
    EXPECT_EQ(Match({ "tax", "odt" }, CTextSearch::FIELD_NAME, CTextSearch::MODE_ALL_WORDS), 1);
    EXPECT_EQ(Match({ "invoice", "bill" }, CTextSearch::FIELD_NAME, CTextSearch::MODE_ANY_WORD), 0);
}

TEST_F(CTextSearchTest, AllTextsMatchWhenOneTextHoldsTheWords)
{
    EXPECT_EQ(Match({ "figures" }, CTextSearch::FIELD_ALL_TEXTS), 1);
    EXPECT_EQ(Match({ "2024" }, CTextSearch::FIELD_ALL_TEXTS), 1);
    EXPECT_EQ(Match({ "pérez" }, CTextSearch::FIELD_ALL_TEXTS), 1);
    EXPECT_EQ(Match({ "nowhere" }, CTextSearch::FIELD_ALL_TEXTS), 0);
    // Every word in one text: words spread over two texts are no match.
    EXPECT_EQ(Match({ "tax", "figures" }, CTextSearch::FIELD_ALL_TEXTS, CTextSearch::MODE_ALL_WORDS), 0);
    EXPECT_EQ(Match({ "tax", "figures" }, CTextSearch::FIELD_ALL_TEXTS, CTextSearch::MODE_ANY_WORD), 1);
    EXPECT_EQ(Match({ "quarterly", "figures" }, CTextSearch::FIELD_ALL_TEXTS, CTextSearch::MODE_ALL_WORDS), 1);
}

TEST_F(CTextSearchTest, CaseFlagHoldsForDescriptionAndSecondaryOnly)
{
    EXPECT_EQ(Match({ "QUARTERLY" }, CTextSearch::FIELD_DESCRIPTION, CTextSearch::MODE_ANY_WORD, FALSE), 1);
    EXPECT_EQ(Match({ "quarterly" }, CTextSearch::FIELD_DESCRIPTION, CTextSearch::MODE_ANY_WORD, TRUE), 0);
    EXPECT_EQ(Match({ "Quarterly" }, CTextSearch::FIELD_DESCRIPTION, CTextSearch::MODE_ANY_WORD, TRUE), 1);
    EXPECT_EQ(Match({ "from" }, CTextSearch::FIELD_SECONDARY, CTextSearch::MODE_ANY_WORD, TRUE), 0);
    // The name and the folder always ignore case.
    EXPECT_EQ(Match({ "TAX" }, CTextSearch::FIELD_NAME, CTextSearch::MODE_ANY_WORD, TRUE), 1);
    EXPECT_EQ(Match({ "REPORTS" }, CTextSearch::FIELD_LABEL, CTextSearch::MODE_ANY_WORD, TRUE), 1);
    // Searched among all texts, only the description keeps the flag.
    EXPECT_EQ(Match({ "from" }, CTextSearch::FIELD_ALL_TEXTS, CTextSearch::MODE_ANY_WORD, TRUE), 1);
    EXPECT_EQ(Match({ "quarterly" }, CTextSearch::FIELD_ALL_TEXTS, CTextSearch::MODE_ANY_WORD, TRUE), 0);
}

TEST_F(CTextSearchTest, CaseIsIgnoredBeyondAscii)
{
    SetTexts("ÄRGER MIT ЯНВАРЬ", "");
    EXPECT_EQ(Match({ "ärger", "январь" }, CTextSearch::FIELD_DESCRIPTION), 1);
    EXPECT_EQ(Match({ "ÄrGeR" }, CTextSearch::FIELD_DESCRIPTION), 1);
}

TEST_F(CTextSearchTest, WithoutWordsOnlyABlankTextOfItsOwnFieldMatches)
{
    const std::vector<CString> none;
    EXPECT_EQ(Match(none, CTextSearch::FIELD_DESCRIPTION), 0);
    EXPECT_EQ(Match(none, CTextSearch::FIELD_NAME), 0);
    SetTexts("  \t ", "");
    EXPECT_EQ(Match(none, CTextSearch::FIELD_DESCRIPTION), 1);
    EXPECT_EQ(Match(none, CTextSearch::FIELD_SECONDARY), 1);
    EXPECT_EQ(Match(none, CTextSearch::FIELD_NAME), 0);
    EXPECT_EQ(Match(none, CTextSearch::FIELD_LABEL), 0);
    EXPECT_EQ(Match(none, CTextSearch::FIELD_ALL_TEXTS), 0);
    // An empty word is found nowhere, not even in a blank text.
    EXPECT_EQ(Match({ "" }, CTextSearch::FIELD_DESCRIPTION, CTextSearch::MODE_ANY_WORD), 0);
    EXPECT_EQ(Match({ "" }, CTextSearch::FIELD_NAME, CTextSearch::MODE_ALL_WORDS), 0);
}

TEST_F(CTextSearchTest, TheContentOfAFileThatIsNotThereMatchesNothing)
{
    EXPECT_EQ(Match({ "tax" }, CTextSearch::FIELD_CONTENT), 0);
    EXPECT_EQ(Match({}, CTextSearch::FIELD_CONTENT), 0);
}

} // namespace
