#include "store/DocumentNameIndex.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

// Random adds and removes against a plain map: every name added and not
// removed is found with its record, every other name is not, whatever the
// table's clusters and wrap-arounds after removals.
TEST(DocumentNameIndexTest, AgreesWithAMapThroughAddsAndRemoves)
{
    std::mt19937 random(7);
    CDocumentNameIndex index;
    std::map<std::string, CRecordRef> expected;
    auto nameOf = [](int n) { return "report-" + std::to_string(n) + ".txt"; };
    for (int nStep = 0; nStep < 20000; ++nStep) {
        const int n = std::uniform_int_distribution<int>(0, 999)(random);
        const std::string strName = nameOf(n);
        if (std::uniform_int_distribution<int>(0, 2)(random) != 0) {
            if (!expected.contains(strName)) {
                expected[strName] = { n / 7, n % 7 };
                index.Add(strName, { n / 7, n % 7 });
            }
        } else if (auto it = expected.find(strName); it != expected.end()) {
            index.Remove(strName, it->second);
            expected.erase(it);
        }
        if (nStep % 997 != 0)
            continue;
        for (int m = 0; m < 1000; ++m) {
            CRecordRef ref;
            auto it = expected.find(nameOf(m));
            ASSERT_EQ(index.Find(nameOf(m), &ref), it != expected.end()) << m << " at step " << nStep;
            if (it != expected.end()) {
                ASSERT_EQ(ref, it->second) << m;
            }
        }
    }
    EXPECT_EQ(index.GetCount(), expected.size());
    EXPECT_FALSE(index.IsAmbiguous());
}

TEST(DocumentNameIndexTest, ASecondRecordForANameMakesItAmbiguousAndRemovingAnotherRecordKeepsTheName)
{
    CDocumentNameIndex index;
    index.Add("a.txt", { 1, 0 });
    index.Add("a.txt", { 1, 0 });
    EXPECT_FALSE(index.IsAmbiguous());
    index.Add("a.txt", { 2, 3 });
    EXPECT_TRUE(index.IsAmbiguous());
    CRecordRef ref;
    ASSERT_TRUE(index.Find("a.txt", &ref));
    EXPECT_EQ(ref, (CRecordRef { 1, 0 })); // the first, as a walk finds it
    index.Remove("a.txt", { 2, 3 });
    EXPECT_TRUE(index.Find("a.txt", &ref));
    EXPECT_FALSE(index.Find("b.txt", &ref));
}

// An index reserved for its names when half of them are in, and then filled,
// at every size, keeps the names it had, finds every name and still ends a
// lookup of a name it lacks.
TEST(DocumentNameIndexTest, ReservingKeepsTheNamesAndEveryLookupEnds)
{
    auto nameOf = [](std::size_t n) { return "name-" + std::to_string(n); };
    for (std::size_t nNames = 0; nNames <= 300; ++nNames) {
        CDocumentNameIndex index;
        for (std::size_t n = 0; n < nNames; ++n) {
            if (n == nNames / 2)
                index.Reserve(nNames);
            index.Add(nameOf(n), { static_cast<CATBLOCK>(n), 0 });
        }
        CRecordRef ref;
        EXPECT_FALSE(index.Find("absent", &ref)) << nNames;
        for (std::size_t n = 0; n < nNames; ++n) {
            ASSERT_TRUE(index.Find(nameOf(n), &ref)) << n << " of " << nNames;
            ASSERT_EQ(ref.nBlock, static_cast<CATBLOCK>(n));
        }
        EXPECT_EQ(index.GetCount(), nNames);
    }
}
