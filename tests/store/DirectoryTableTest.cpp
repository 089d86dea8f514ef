#include "store/DirectoryTable.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

std::string PathOf(int n)
{
    return "c:\\archive\\volume" + std::to_string(n / 100) + "\\folder" + std::to_string(n) + "\\";
}

CRecordRef RefOf(int n)
{
    return { n / 3, n % 3 };
}

}

// Thousands of directories, added while lookups go on: every one is found by
// its text and by its record, with its own entry, through every growth of
// the tables; texts and records never added are not found.
TEST(DirectoryTableTest, FindsEveryDirectoryByTextAndRecordThroughGrowth)
{
    CDirectoryTable table;
    constexpr int COUNT = 5000;
    for (int n = 0; n < COUNT; ++n) {
        table.Add(PathOf(n), RefOf(n));
        if (n % 499 != 0)
            continue;
        for (int m = 0; m <= n + 1; ++m) {
            const CDirectoryTable::CEntry* pByPath = table.FindPath(PathOf(m));
            const CDirectoryTable::CEntry* pByRecord = table.FindRecord(RefOf(m));
            if (m > n) {
                EXPECT_EQ(pByPath, nullptr) << m;
                EXPECT_EQ(pByRecord, nullptr) << m;
                continue;
            }
            ASSERT_NE(pByPath, nullptr) << m << " after " << n;
            ASSERT_EQ(pByPath, pByRecord) << m;
            EXPECT_EQ(pByPath->ref, RefOf(m));
            EXPECT_EQ(pByPath->strPath, PathOf(m));
        }
    }
    EXPECT_EQ(table.GetCount(), static_cast<std::size_t>(COUNT));
    EXPECT_EQ(table.FindPath("c:\\archive\\"), nullptr);
    EXPECT_EQ(table.FindRecord({ COUNT, 0 }), nullptr);
}

// A record without a text is found by its record only; of two records of
// one text, the text finds the first, as the catalog's walk would.
TEST(DirectoryTableTest, EmptyTextsAndRepeatedTexts)
{
    CDirectoryTable table;
    table.Add("", { 4, 0 });
    table.Add("c:\\docs\\", { 5, 1 });
    table.Add("c:\\docs\\", { 6, 2 });
    EXPECT_EQ(table.FindPath(""), nullptr);
    ASSERT_NE(table.FindRecord({ 4, 0 }), nullptr);
    EXPECT_TRUE(table.FindRecord({ 4, 0 })->strPath.empty());
    ASSERT_NE(table.FindPath("c:\\docs\\"), nullptr);
    EXPECT_EQ(table.FindPath("c:\\docs\\")->ref, (CRecordRef { 5, 1 }));
    ASSERT_NE(table.FindRecord({ 6, 2 }), nullptr);
    EXPECT_EQ(table.FindRecord({ 6, 2 })->strPath, "c:\\docs\\");
}

// A directory's name index stays with its entry while the table grows, and
// a cleared table finds nothing.
TEST(DirectoryTableTest, NameIndexesStayWithTheirDirectory)
{
    CDirectoryTable table;
    table.Add("c:\\a\\", { 1, 0 });
    table.FindRecord({ 1, 0 })->names.emplace().Add("report.txt", { 9, 3 });
    for (int n = 0; n < 1000; ++n)
        table.Add(PathOf(n), { 100 + n, 0 });
    const CDirectoryTable::CEntry* pEntry = table.FindPath("c:\\a\\");
    ASSERT_NE(pEntry, nullptr);
    ASSERT_TRUE(pEntry->names.has_value());
    CRecordRef found;
    ASSERT_TRUE(pEntry->names->Find("report.txt", &found));
    EXPECT_EQ(found, (CRecordRef { 9, 3 }));
    EXPECT_FALSE(table.FindPath(PathOf(7))->names.has_value());

    table.Clear();
    EXPECT_EQ(table.FindPath("c:\\a\\"), nullptr);
    EXPECT_EQ(table.FindRecord({ 1, 0 }), nullptr);
    EXPECT_EQ(table.GetCount(), 0u);
}
