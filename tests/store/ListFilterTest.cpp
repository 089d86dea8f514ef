#include "store/ListFilter.h"

#include "platform/base/Clock.h"
#include "platform/base/WinError.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "tests/store/CatalogBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr LONGLONG DAY = 86400;
// 2026-06-01 00:00:00 UTC.
constexpr LONGLONG NOW = 1780272000;

ULONGLONG FileTimeOf(LONGLONG tTime)
{
    return (static_cast<ULONGLONG>(tTime) + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND;
}

CListFilterValue Text(const char* pszText)
{
    CListFilterValue value;
    value.strText = pszText;
    return value;
}

CListFilterValue Number(LONGLONG nNumber, LONGLONG nEnd = 0)
{
    CListFilterValue value;
    value.nNumber = nNumber;
    value.nEnd = nEnd;
    return value;
}

}

// Documents with texts, expiry dates and real files, filtered, queried and sorted.
class ListFilterTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_pNode = AddNode(*Root(*m_pCatalog), "Work");
        // report.doc: 3000 bytes, description "Quarterly report", expires tomorrow.
        // notes.txt: 10 bytes, "Meeting notes", expired two days ago.
        // photo.png: no file behind it, no expiry date.
        m_pReport = AddFile("report.doc", 3000, "Quarterly report", NOW + DAY);
        m_pNotes = AddFile("notes.txt", 10, "Meeting notes", NOW - 2 * DAY);
        m_pPhoto = AddFile("photo.png", -1, "Holiday", 0);
    }
    void TearDown() override
    {
        FreeListFilter(&m_filter);
        CatalogTest::TearDown();
    }

    // A document in the program folder, with a file of nSize bytes unless nSize is negative.
    std::unique_ptr<CDocumentRec> AddFile(const char* pszName, int nSize, const char* pszDescription, LONG nExpiry)
    {
        if (nSize >= 0)
            std::ofstream(HostPath(pszName)) << std::string(static_cast<std::size_t>(nSize), 'x');
        auto pDocument = AddDocument(*m_pCatalog, m_pNode.get(), ProgramPath(pszName).c_str());
        CDocumentInfo info;
        pDocument->GetInfo(&info);
        strcpy(info.szDescription, pszDescription);
        info.nExpiry = nExpiry;
        EXPECT_TRUE(pDocument->UpdateInfo(info));
        pDocument->Load();
        return pDocument;
    }

    std::vector<std::string> Passing()
    {
        std::vector<std::string> names;
        for (const auto& pDocument : m_pNode->GetFilteredDocuments(nullptr, &m_filter)) {
            CString strName;
            pDocument->GetFullPath(strName);
            names.emplace_back(strName);
        }
        return names;
    }

    CManualClock m_clock { FileTimeOf(NOW) };
    CClockOverride m_clockOverride { m_clock };
    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pNode;
    std::unique_ptr<CDocumentRec> m_pReport, m_pNotes, m_pPhoto;
    CListFilter m_filter;
};

/* Evaluation. */

TEST_F(ListFilterTest, InactiveOrEmptyFilterPassesEverything)
{
    SetListFilterCondition(&m_filter, 0, 4101, FILTER_OP_EQUAL, FILTER_VALUE_TEXT, Text("nothing"));
    EXPECT_THAT(Passing(), ElementsAre("report.doc", "notes.txt", "photo.png"));
    EXPECT_TRUE(ListFilterMatches(nullptr, *m_pReport));

    FreeListFilter(&m_filter);
    m_filter.bActive = TRUE;
    EXPECT_THAT(Passing(), ElementsAre("report.doc", "notes.txt", "photo.png"));
}

TEST_F(ListFilterTest, TextConditionsIgnoreCase)
{
    m_filter.bActive = TRUE;
    SetListFilterCondition(&m_filter, 0, 4102, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, Text("REPORT"));
    EXPECT_THAT(Passing(), ElementsAre("report.doc"));
    SetListFilterCondition(&m_filter, 0, 4102, FILTER_OP_NOT_CONTAINS, FILTER_VALUE_TEXT, Text("report"));
    EXPECT_THAT(Passing(), ElementsAre("notes.txt", "photo.png"));
    SetListFilterCondition(&m_filter, 0, 4101, FILTER_OP_EQUAL, FILTER_VALUE_TEXT, Text("Notes.TXT"));
    EXPECT_THAT(Passing(), ElementsAre("notes.txt"));
    SetListFilterCondition(&m_filter, 0, 4101, FILTER_OP_LESS, FILTER_VALUE_TEXT, Text("p"));
    EXPECT_THAT(Passing(), ElementsAre("notes.txt"));
}

TEST_F(ListFilterTest, SizeConditionsSkipUnreadableSizes)
{
    m_filter.bActive = TRUE;
    SetListFilterCondition(&m_filter, 0, 4103, FILTER_OP_GREATER, FILTER_VALUE_NUMBER, Number(100));
    EXPECT_THAT(Passing(), ElementsAre("report.doc"));
    SetListFilterCondition(&m_filter, 0, 4103, FILTER_OP_LESS, FILTER_VALUE_NUMBER, Number(100));
    EXPECT_THAT(Passing(), ElementsAre("notes.txt"));
}

TEST_F(ListFilterTest, DateConditionsCompareWholeDays)
{
    m_filter.bActive = TRUE;
    SetListFilterCondition(&m_filter, 0, 4108, FILTER_OP_EQUAL, FILTER_VALUE_DATE, Number(NOW + DAY + 3600));
    EXPECT_THAT(Passing(), ElementsAre("report.doc"));
    SetListFilterCondition(&m_filter, 0, 4108, FILTER_OP_LESS, FILTER_VALUE_DATE, Number(NOW));
    EXPECT_THAT(Passing(), ElementsAre("notes.txt"));
    SetListFilterCondition(&m_filter, 0, 4108, FILTER_OP_BETWEEN, FILTER_VALUE_RANGE, Number(NOW - 3 * DAY, NOW + DAY));
    EXPECT_THAT(Passing(), ElementsAre("report.doc", "notes.txt"));
}

TEST_F(ListFilterTest, AllAndAnyCombineConditions)
{
    m_filter.bActive = TRUE;
    SetListFilterCondition(&m_filter, 0, 4102, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, Text("o"));
    SetListFilterCondition(&m_filter, 2, 4103, FILTER_OP_GREATER, FILTER_VALUE_NUMBER, Number(100));
    EXPECT_THAT(Passing(), ElementsAre("report.doc"));
    m_filter.nMode = FILTER_ANY;
    EXPECT_THAT(Passing(), ElementsAre("report.doc", "notes.txt", "photo.png"));
}

TEST_F(ListFilterTest, ConditionsThatCannotBeEvaluatedHoldForNobody)
{
    m_filter.bActive = TRUE;
    SetListFilterCondition(&m_filter, 0, 4103, FILTER_OP_GREATER, FILTER_VALUE_TEXT, Text("100"));
    EXPECT_THAT(Passing(), IsEmpty());
    SetListFilterCondition(&m_filter, 0, 9999, FILTER_OP_EQUAL, FILTER_VALUE_NUMBER, Number(1));
    EXPECT_THAT(Passing(), IsEmpty());
    SetListFilterCondition(&m_filter, 0, 4101, FILTER_OP_BETWEEN, FILTER_VALUE_TEXT, Text("a"));
    EXPECT_THAT(Passing(), IsEmpty());
}

TEST_F(ListFilterTest, HasDocumentsAsksTheFilter)
{
    EXPECT_TRUE(m_pNode->HasDocuments(nullptr));
    m_filter.bActive = TRUE;
    SetListFilterCondition(&m_filter, 0, 4102, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, Text("holiday"));
    EXPECT_TRUE(m_pNode->HasDocuments(&m_filter));
    SetListFilterCondition(&m_filter, 0, 4102, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, Text("nowhere"));
    EXPECT_FALSE(m_pNode->HasDocuments(&m_filter));

    auto pEmpty = AddNode(*m_pNode, "Empty");
    EXPECT_FALSE(pEmpty->HasDocuments(nullptr));
}

/* Copies. */

TEST_F(ListFilterTest, CopiesAreDeepAndFreeingEmptiesConditions)
{
    m_filter.bActive = TRUE;
    SetListFilterCondition(&m_filter, 1, 4102, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, Text("report"));
    CListFilter copy;
    CopyListFilter(&copy, m_filter);
    FreeListFilter(&m_filter);
    EXPECT_TRUE(m_filter.conditions[1].IsEmpty());
    EXPECT_EQ(m_filter.conditions[1].pValue, nullptr);
    EXPECT_TRUE(m_filter.bActive);

    ASSERT_NE(copy.conditions[1].pValue, nullptr);
    EXPECT_EQ(std::string(copy.conditions[1].pValue->strText), "report");
    EXPECT_TRUE(ListFilterMatches(&copy, *m_pReport));
    EXPECT_FALSE(ListFilterMatches(&copy, *m_pNotes));
    FreeListFilter(&copy);
}

/* The registry form. */

class ListFilterRegistryTest : public ListFilterTest {
protected:
    void SetUp() override
    {
        ListFilterTest::SetUp();
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Tests\\ListView", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &m_hKey, nullptr),
            ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(m_hKey);
        ListFilterTest::TearDown();
    }

    HKEY m_hKey { nullptr };
};

TEST_F(ListFilterRegistryTest, SavedFilterLoadsBackAlike)
{
    m_filter.bActive = TRUE;
    m_filter.nMode = FILTER_ANY;
    SetListFilterCondition(&m_filter, 0, 4102, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, Text("Quarterly"));
    SetListFilterCondition(&m_filter, 3, 4108, FILTER_OP_BETWEEN, FILTER_VALUE_RANGE, Number(NOW - DAY, NOW + DAY));
    ASSERT_TRUE(SaveListFilter(m_hKey, m_filter));

    CListFilter loaded;
    ASSERT_TRUE(LoadListFilter(m_hKey, &loaded));
    EXPECT_EQ(loaded.bActive, TRUE);
    EXPECT_EQ(loaded.nMode, FILTER_ANY);
    EXPECT_TRUE(loaded.conditions[1].IsEmpty());
    ASSERT_NE(loaded.conditions[0].pValue, nullptr);
    EXPECT_EQ(std::string(loaded.conditions[0].pValue->strText), "Quarterly");
    ASSERT_NE(loaded.conditions[3].pValue, nullptr);
    EXPECT_EQ(loaded.conditions[3].pValue->nNumber, NOW - DAY);
    EXPECT_EQ(loaded.conditions[3].pValue->nEnd, NOW + DAY);
    for (const auto* pDocument : { m_pReport.get(), m_pNotes.get(), m_pPhoto.get() })
        EXPECT_EQ(ListFilterMatches(&loaded, *pDocument), ListFilterMatches(&m_filter, *pDocument));
    FreeListFilter(&loaded);
}

TEST_F(ListFilterRegistryTest, MissingOrDamagedKeyLeavesTheFilterAlone)
{
    SetListFilterCondition(&m_filter, 0, 4101, FILTER_OP_EQUAL, FILTER_VALUE_TEXT, Text("kept"));
    EXPECT_FALSE(LoadListFilter(m_hKey, &m_filter));
    EXPECT_EQ(std::string(m_filter.conditions[0].pValue->strText), "kept");

    CListFilter saved;
    saved.bActive = TRUE;
    SetListFilterCondition(&saved, 0, 4103, FILTER_OP_LESS, FILTER_VALUE_NUMBER, Number(5));
    ASSERT_TRUE(SaveListFilter(m_hKey, saved));
    FreeListFilter(&saved);
    HKEY hFilter = nullptr;
    ASSERT_EQ(RegOpenKeyEx(m_hKey, "Filter", 0, KEY_ALL_ACCESS, &hFilter), ERROR_SUCCESS);
    const BYTE shortValue[3] = { 1, 2, 3 };
    ASSERT_EQ(RegSetValueEx(hFilter, "Val000", 0, REG_BINARY, shortValue, sizeof(shortValue)), ERROR_SUCCESS);
    RegCloseKey(hFilter);

    EXPECT_FALSE(LoadListFilter(m_hKey, &m_filter));
    EXPECT_EQ(std::string(m_filter.conditions[0].pValue->strText), "kept");
}

/* Queries. */

TEST_F(ListFilterTest, ExpiredDocumentsQueryOnTheExpiringNode)
{
    CNodeRec expiring(m_pCatalog.get(), 1);
    const LONG criteria[QUERY_WORDS] = { 1, 1, 0, 1, 1, 4071 };
    std::unique_ptr<CDocumentSet> pSet(expiring.Query(criteria, QUERY_WORDS));
    ASSERT_TRUE(pSet);
    EXPECT_EQ(pSet->nTitleID, 4071);
    ASSERT_EQ(pSet->GetCount(), 1);
    EXPECT_EQ(pSet->documents[0]->GetRef(), m_pNotes->GetRef());

    // A day and a half later the report has expired too, and sorts after the older notes.
    m_clock.SetUtcNow(FileTimeOf(NOW + DAY + DAY / 2));
    pSet.reset(expiring.Query(criteria, QUERY_WORDS));
    ASSERT_EQ(pSet->GetCount(), 2);
    EXPECT_EQ(pSet->documents[0]->GetRef(), m_pNotes->GetRef());
    EXPECT_EQ(pSet->documents[1]->GetRef(), m_pReport->GetRef());
}

TEST_F(ListFilterTest, QueryReachesDescendantsAndNewDocuments)
{
    // All three were catalogued now; the photo is taken back a month, and the
    // notes have expired, which goes before being new.
    thePreferences.m_nNumDayFileNew = 7;
    CDocumentInfo info;
    ASSERT_TRUE(m_pPhoto->GetInfo(&info));
    ULONGLONG nMonthAgo = FileTimeOf(NOW - 30 * DAY);
    info.ftCatalogTime = { static_cast<DWORD>(nMonthAgo), static_cast<DWORD>(nMonthAgo >> 32) };
    ASSERT_TRUE(m_pPhoto->UpdateInfo(info));

    auto pRoot = Root(*m_pCatalog);
    const LONG newInSubtree[QUERY_WORDS] = { 1, 1, 1, 2, 0, 0 };
    std::unique_ptr<CDocumentSet> pSet(pRoot->Query(newInSubtree, QUERY_WORDS));
    ASSERT_TRUE(pSet);
    ASSERT_EQ(pSet->GetCount(), 1);
    EXPECT_EQ(pSet->documents[0]->GetRef(), m_pReport->GetRef());

    const LONG everything[QUERY_WORDS] = { 1, 0, 1, 0, 0, 0 };
    pSet.reset(pRoot->Query(everything, QUERY_WORDS));
    EXPECT_EQ(pSet->GetCount(), 3);
    thePreferences.SetDefaults();
}

TEST_F(ListFilterTest, UnknownCriteriaAreRefused)
{
    const LONG nodes[QUERY_WORDS] = { 0, 1, 0, 1, 1, 4071 };
    const LONG badTest[QUERY_WORDS] = { 1, 7, 0, 1, 1, 4071 };
    EXPECT_FALSE(std::unique_ptr<CDocumentSet>(m_pNode->Query(nodes, QUERY_WORDS)));
    EXPECT_FALSE(std::unique_ptr<CDocumentSet>(m_pNode->Query(badTest, QUERY_WORDS)));
    EXPECT_FALSE(std::unique_ptr<CDocumentSet>(m_pNode->Query(nodes, 3)));
    EXPECT_FALSE(std::unique_ptr<CDocumentSet>(m_pNode->Query(nullptr, QUERY_WORDS)));
}

TEST_F(ListFilterRegistryTest, LongTextsAreCutToWhatTheRegistryKeyReads)
{
    std::string strLong;
    for (int i = 0; i < 150; ++i)
        strLong += "é"; // two bytes each
    SetListFilterCondition(&m_filter, 0, 4102, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, Text(strLong.c_str()));
    ASSERT_TRUE(SaveListFilter(m_hKey, m_filter));
    CListFilter loaded;
    ASSERT_TRUE(LoadListFilter(m_hKey, &loaded));
    ASSERT_NE(loaded.conditions[0].pValue, nullptr);
    EXPECT_EQ(std::string(loaded.conditions[0].pValue->strText), strLong.substr(0, 198));
    FreeListFilter(&loaded);
}
