#include "catalog/CCatalogRules.h"

#include "store/CCleanUpFolderRec.h"
#include "store/CLibFolderRec.h"
#include "store/TextMatch.h"
#include "tests/catalog/CatalogDriveFixture.h"

#include <gtest/gtest.h>

namespace {

class CCatalogRulesTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        ASSERT_TRUE(std::unique_ptr<CLibFolderRec>(m_pCatalog->AddLibFolder("~*.*")));
        ASSERT_TRUE(std::unique_ptr<CLibFolderRec>(m_pCatalog->AddLibFolder("*.tmp")));
        ASSERT_TRUE(std::unique_ptr<CCleanUpFolderRec>(m_pCatalog->AddCleanUpFolder("t:\\temp\\")));
        m_dsDir.Add("T:\\Private");
    }

    ERejection Check(const char* pszPath) const { return CCatalogRules(m_pCatalog.get(), m_dsDir).CheckFile(pszPath); }

    CStringArray m_dsDir;
};

TEST_F(CCatalogRulesTest, EachRuleKeepsItsFilesOut)
{
    EXPECT_EQ(Check("t:\\docs\\plan.txt"), ERejection::None);
    EXPECT_EQ(Check("t:\\recycled\\dd3.txt"), ERejection::RecycleFolder);
    EXPECT_EQ(Check("t:\\private\\diary.txt"), ERejection::ExcludedFolder);
    EXPECT_EQ(Check("t:\\private\\deeper\\diary.txt"), ERejection::ExcludedFolder);
    EXPECT_EQ(Check("t:\\temp\\cache.txt"), ERejection::CleanUpFolder);
    EXPECT_EQ(Check("t:\\docs\\~plan.txt"), ERejection::NameMask);
    EXPECT_EQ(Check("t:\\docs\\plan.tmp"), ERejection::NameMask);
    EXPECT_EQ(Check("t:\\docs\\plan.exe"), ERejection::NotCatalogued);
    EXPECT_EQ(Check("t:\\docs\\README"), ERejection::NotCatalogued);
    EXPECT_EQ(Check("t:\\docs\\bad\xff.txt"), ERejection::BadName);
}

TEST_F(CCatalogRulesTest, FolderRulesHoldAtComponentBoundaries)
{
    // "t:\private" rules out its own tree, not a folder whose name starts alike.
    EXPECT_EQ(Check("t:\\privateer\\log.txt"), ERejection::None);
    EXPECT_EQ(Check("t:\\temporary\\a.txt"), ERejection::None);
    const CCatalogRules rules(m_pCatalog.get(), m_dsDir);
    EXPECT_EQ(rules.CheckFolder("t:\\private\\"), ERejection::ExcludedFolder);
    EXPECT_EQ(rules.CheckFolder("t:\\temp"), ERejection::CleanUpFolder);
    EXPECT_EQ(rules.CheckFolder("t:\\"), ERejection::None);
}

TEST_F(CCatalogRulesTest, ExtensionsAndMasksIgnoreCase)
{
    const CCatalogRules rules(m_pCatalog.get(), m_dsDir);
    EXPECT_EQ(rules.CheckName("report.ODT"), ERejection::None);
    EXPECT_EQ(rules.CheckName("~LOCK.TXT"), ERejection::NameMask);
    // Capitals beyond ASCII are lower-cased too: "ÉTÉ.TXT", "~ÉTÉ.md".
    EXPECT_EQ(rules.CheckName("\xc3\x89T\xc3\x89.TXT"), ERejection::None);
    EXPECT_EQ(rules.CheckName("~\xc3\x89T\xc3\x89.md"), ERejection::NameMask);
    EXPECT_EQ(rules.CheckName("plan.T\xc3\x89X"), ERejection::NotCatalogued);
    // Every name meets the masks as the plain mask matcher decides.
    for (const char* pszName : { "plan.txt", "~plan.txt", "~PLAN.Txt", "\xc3\x89t\xc3\xa9.TMP", "notes.tmp.txt",
             "archive.TXT.tmp", "README", "~", ".tmp", "plan.", "~.", "x~y.tmp", "a.b.c" }) {
        const bool bMasked = MatchFileMask(pszName, "~*.*") || MatchFileMask(pszName, "*.tmp");
        EXPECT_EQ(rules.MatchesNameMask(pszName) != FALSE, bMasked) << pszName;
    }
}

} // namespace
