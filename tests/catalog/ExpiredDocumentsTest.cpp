#include "catalog/ExpiredDocuments.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CDocumentPlacement.h"
#include "store/CDocumentRec.h"
#include "store/DocumentOperations.h"
#include "tests/catalog/CatalogDriveFixture.h"

#include <gtest/gtest.h>

#include <ctime>
#include <map>

namespace {

// Answers the expiry question per document name; no answer cancels.
class CExpiryPrompts : public CCatalogPrompts {
public:
    int AskExpiryDate(const CDocumentRec& document, LONG& nExpiry) override
    {
        CString strName;
        document.GetFullPath(strName);
        m_shown[std::string(strName)] = nExpiry;
        const auto it = m_answers.find(std::string(strName));
        if (it == m_answers.end())
            return IDCANCEL;
        nExpiry = it->second;
        return IDOK;
    }
    std::map<std::string, LONG> m_answers;
    std::map<std::string, LONG> m_shown;
};

class ExpiredDocumentsTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        SetCatalogPrompts(&m_prompts);
        m_pGroup = Group("Papers", SEARCH_FILE_NAME);
        for (const char* pszName : { "old.txt", "older.txt", "later.txt" }) {
            std::unique_ptr<CDocumentRec> pDocument
                = AddDocument(*m_pCatalog, m_pGroup.get(), (OnT("p/") + pszName).c_str());
            ASSERT_TRUE(pDocument);
            m_payload.items.push_back(pDocument->GetRef());
        }
        m_payload.items.push_back(m_pGroup->GetRef());
    }
    void TearDown() override
    {
        SetCatalogPrompts(nullptr);
        CatalogDriveTest::TearDown();
    }
    std::vector<std::string> ExpiredNames()
    {
        std::vector<std::string> names;
        std::unique_ptr<CDocumentSet> pSet = QueryExpiredDocuments(m_pCatalog.get());
        if (!pSet)
            return names;
        for (const auto& pDocument : pSet->documents) {
            CString strName;
            pDocument->GetFullPath(strName);
            names.emplace_back(strName);
        }
        return names;
    }

    CExpiryPrompts m_prompts;
    std::unique_ptr<CNodeRec> m_pGroup;
    CCatalogPayload m_payload;
};

TEST_F(ExpiredDocumentsTest, DatesGivenMakeTheExpiredSetOldestFirst)
{
    const LONG nNow = static_cast<LONG>(std::time(nullptr));
    EXPECT_TRUE(ExpiredNames().empty());
    m_prompts.m_answers
        = { { "old.txt", nNow - 86400 }, { "older.txt", nNow - 7 * 86400 }, { "later.txt", nNow + 30 * 86400 } };
    EXPECT_NE(CheckExpiredDocuments(m_pCatalog.get(), m_payload), 0);
    EXPECT_EQ(ExpiredNames(), (std::vector<std::string> { "older.txt", "old.txt" }));
    // The group was passed over; each document was asked with its date (none yet).
    EXPECT_EQ(m_prompts.m_shown.size(), 3U);
    EXPECT_EQ(m_prompts.m_shown["old.txt"], 0);

    // A second look shows the dates given; cancelling changes nothing.
    m_prompts.m_answers.clear();
    EXPECT_EQ(CheckExpiredDocuments(m_pCatalog.get(), m_payload), 0);
    EXPECT_EQ(m_prompts.m_shown["older.txt"], nNow - 7 * 86400);
    // Removing a date takes the document out of the set.
    m_prompts.m_answers = { { "older.txt", 0 } };
    EXPECT_NE(CheckExpiredDocuments(m_pCatalog.get(), m_payload), 0);
    EXPECT_EQ(ExpiredNames(), (std::vector<std::string> { "old.txt" }));
}

} // namespace
