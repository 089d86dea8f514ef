#include "store/OwnedCollections.h"

#include "store/CCatalogRecord.h"
#include "tests/store/CatalogFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The owning collections with real record objects of a catalog file.
class OwnedRecordsTest : public CatalogFileTest { };

TEST_F(OwnedRecordsTest, ReloadRecordSeesWhatAnotherHandleSaved)
{
    std::unique_ptr<CCatalogFile> pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    COwnerPtrMap<DWORD, CCatalogRecord> cache;
    for (LONG nSlot = 0; nSlot < 3; ++nSlot) {
        auto* pRecord = new CCatalogRecord(pFile.get(), TABLE_NODE, { sample.nNodes, nSlot });
        ASSERT_TRUE(pRecord->Load());
        cache.SetAt(static_cast<DWORD>(nSlot), pRecord);
    }

    CCatalogRecord writer(pFile.get(), TABLE_NODE, { sample.nNodes, 1 });
    ASSERT_TRUE(writer.Load());
    std::fill(writer.GetData().begin(), writer.GetData().end(), BYTE { 0x5A });
    ASSERT_TRUE(writer.Save());

    CCatalogRecord* pCached = nullptr;
    ASSERT_TRUE(cache.Lookup(1, pCached));
    EXPECT_EQ(pCached->GetData()[0], 2);
    EXPECT_TRUE(cache.ReloadRecord(sample.nNodes, 1));
    EXPECT_EQ(pCached->GetData()[0], 0x5A);
    EXPECT_FALSE(cache.ReloadRecord(sample.nNodes, 7));
}

TEST_F(OwnedRecordsTest, DocumentSetsFindRecordsByTheirReference)
{
    std::unique_ptr<CCatalogFile> pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    COwnedPtrArray2<CCatalogRecord> documents;
    CRecordRef cursor { sample.nDocuments, NO_SLOT };
    while (pFile->NextRecord(&cursor))
        documents.Add(new CCatalogRecord(pFile.get(), TABLE_DOCUMENT, cursor));
    ASSERT_EQ(documents.GetSize(), 20);
    CRecordRef last = documents.GetAt(19)->GetRef();
    EXPECT_EQ(documents.FindByIds(last.nBlock, last.nSlot), documents.GetAt(19));
    EXPECT_TRUE(documents.RemoveByIds(last.nBlock, last.nSlot));
    EXPECT_EQ(documents.FindByIds(last.nBlock, last.nSlot), nullptr);
}

} // namespace
