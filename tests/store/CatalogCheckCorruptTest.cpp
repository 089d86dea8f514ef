#include "store/CatalogCheck.h"

#include "store/CLinkRec.h"
#include "store/RecordFields.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Single bits flipped in the references that tie a document to its links and
// to the rest of its name. Each flip leaves every block valid, so
// only a walk of the lists both ways and of the records' own references finds it.
class CatalogCheckCorruptTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        auto pCatalog = NewMainCatalog();
        m_tree = BuildSample(*pCatalog);
        // A name long enough to continue in a location record.
        auto pText = Document(*pCatalog, m_tree.aTxt);
        CDocumentInfo info;
        pText->GetInfo(&info);
        std::memset(info.szName, 'n', 200);
        info.szName[200] = '\0';
        ASSERT_TRUE(pText->UpdateInfo(info));
        // readme.md lies under Alpha and Archive: its list holds two links.
        auto pReadme = Document(*pCatalog, m_tree.readme);
        m_firstLink = GetRefField(pReadme->GetData(), CDocumentRec::OFF_FIRST_LINK);
        m_original = FileBytes("archiv.cat");
    }

    static std::int64_t RecordOffset(CRecordRef ref, int nRecordSize)
    {
        return BlockOffset(ref.nBlock) + BLOCK_HEADER_SIZE + SlotCount(nRecordSize)
            + std::int64_t { ref.nSlot } * nRecordSize;
    }

    // Flips each bit of nBytes bytes at nOffset in turn; the check must refuse every one.
    void ExpectEveryFlipRefused(std::int64_t nOffset, int nBytes)
    {
        for (int nBit = 0; nBit < nBytes * 8; ++nBit) {
            SCOPED_TRACE(testing::Message() << "bit " << nBit);
            std::vector<BYTE> bytes = m_original;
            bytes.at(static_cast<std::size_t>(nOffset + nBit / 8)) ^= static_cast<BYTE>(1U << (nBit % 8));
            WriteFileBytes(bytes, "flipped.cat");
            EXPECT_FALSE(CheckCatalogFile(ProgramPath("flipped.cat").c_str(), CATALOG_KIND_MAIN));
        }
    }

    SampleTree m_tree;
    CRecordRef m_firstLink;
    std::vector<BYTE> m_original;
};

} // namespace

TEST_F(CatalogCheckCorruptTest, TheSampleWithLinkListsAndPiecesPasses)
{
    CCatalogCheckReport report;
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN, &report));
    EXPECT_EQ(report.nOneWayLinks, 0);
    EXPECT_EQ(report.nStrayPieces, 0);
}

TEST_F(CatalogCheckCorruptTest, FlippedLinkReferencesAreRefused)
{
    const std::int64_t nReadme = RecordOffset(m_tree.readme, CDocumentRec::RECORD_SIZE);
    {
        SCOPED_TRACE("the document's first link");
        ExpectEveryFlipRefused(nReadme + CDocumentRec::OFF_FIRST_LINK, 8);
    }
    const std::int64_t nLink = RecordOffset(m_firstLink, CLinkRec::RECORD_SIZE);
    {
        SCOPED_TRACE("the first link's next link");
        ExpectEveryFlipRefused(nLink + CLinkRec::OFF_NEXT, 8);
    }
    {
        SCOPED_TRACE("the link's document");
        ExpectEveryFlipRefused(nLink + CLinkRec::OFF_DOCUMENT, 8);
    }
}

TEST_F(CatalogCheckCorruptTest, FlippedNameRestReferenceIsRefused)
{
    const std::int64_t nText = RecordOffset(m_tree.aTxt, CDocumentRec::RECORD_SIZE);
    ExpectEveryFlipRefused(nText + CDocumentRec::OFF_LOCATION, 8);
}
