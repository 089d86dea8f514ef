#include "catalog/CCatalogUpdate.h"

#include "store/CMailStoreRec.h"
#include "store/CatalogCheck.h"
#include "store/CatalogIo.h"
#include "tests/catalog/CatalogDriveFixture.h"

#include <gtest/gtest.h>

namespace {

// A small run over three files, one placed by a keyword: a write failure at
// each write in turn must leave a catalog that passes the whole-file check,
// and a second run must reach what one uninterrupted run gives.
class CCatalogUpdateFaultTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        WriteOnT("docs/plan.txt", "the plan");
        WriteOnT("docs/budget.txt", "numbers");
        WriteOnT("docs/deep/notes.md", "notes");
    }

    void Prepare()
    {
        m_pCatalog.reset();
        m_pCatalog = NewMainCatalog();
        for (const char* pszExtension : { "txt", "md" })
            ASSERT_TRUE(m_pCatalog->LoadExtensions(pszExtension));
        ASSERT_TRUE(m_pCatalog->SetPlaceChoice(CCatalog::PLACE_LOCAL_DISK));
        ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_LOCAL_DISK, "Local Disk")));
        Group("Money", SEARCH_FILE_NAME, "budget");
    }

    BOOL Run()
    {
        CCatalogUpdate update(m_pCatalog.get(), nullptr, CCatalogUpdate::OPTION_PLACES, nullptr);
        return update.Update(CCatalogUpdate::MODE_UPDATE);
    }
};

TEST_F(CCatalogUpdateFaultTest, AFailedWriteLeavesACheckedCatalogThatARerunCompletes)
{
    Prepare();
    ASSERT_TRUE(Run());
    const std::set<std::string> expected = CatalogPicture(*m_pCatalog);
    ASSERT_EQ(expected.size(), 3U);

    CatalogErrorRecorder errors;
    bool bFailedOnce = false;
    for (int nWrite = 1;; ++nWrite) {
        Prepare();
        SetCatalogWriteFailure(nWrite);
        const BOOL bDone = Run();
        SetCatalogWriteFailure(0);
        if (bDone)
            break; // the run made fewer writes than nWrite
        bFailedOnce = true;
        m_pCatalog.reset();
        ASSERT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN)) << nWrite;
        m_pCatalog = OpenCatalog();
        ASSERT_TRUE(m_pCatalog && m_pCatalog->IsOpen()) << nWrite;
        ASSERT_TRUE(Run()) << nWrite;
        EXPECT_EQ(CatalogPicture(*m_pCatalog), expected) << nWrite;
    }
    EXPECT_TRUE(bFailedOnce);
}

} // namespace
