#include "store/CCatalogFile.h"

#include "platform/base/WinError.h"
#include "tests/store/CatalogFixture.h"

#include <functional>

namespace {

// Write failures: the n-th write of an operation fails, for every n the
// operation reaches. The first write is the journal's: the call reports the
// failure and its change is dropped. A later one writes the change in place
// after the journal took it: the call reports success. Either way the file
// object refuses writes until it is reopened, and both the object and the
// reopened file read exactly as before the call or as after it: no damage, no
// half-made change.
class CCatalogFileFaultTest : public CatalogFileTest {
protected:
    using Operation = std::function<BOOL(CCatalogFile&, const SampleCatalog&)>;

    struct Picture {
        std::vector<std::vector<BYTE>> records;
        std::string strText1;
        LONG nLink1 { 0 };
        DWORD dwStampLow { 0 };
    };

    Picture Take(CCatalogFile& file)
    {
        return { ReadAll(file), std::string(file.GetHeaderString(0)), file.GetHeaderLink(0),
            file.GetTimeStamp().dwLowDateTime };
    }

    static void ExpectSame(const Picture& now, const Picture& expected)
    {
        EXPECT_EQ(now.records, expected.records);
        EXPECT_EQ(now.strText1, expected.strText1);
        EXPECT_EQ(now.nLink1, expected.nLink1);
        EXPECT_EQ(now.dwStampLow, expected.dwStampLow);
    }

    // A fresh sample catalog, prepared when prepare is given.
    std::unique_ptr<CCatalogFile> NewSample(const Operation& prepare, SampleCatalog* pSample)
    {
        auto pFile = NewCatalog();
        *pSample = BuildSample(*pFile);
        if (prepare) {
            EXPECT_TRUE(prepare(*pFile, *pSample));
        }
        return pFile;
    }

    // Runs op on a fresh sample catalog (after prepare, when given) with the
    // n-th write failing, for n = 1, 2, ... until op succeeds; returns how many
    // writes op made then.
    int ForEachFailingWrite(const Operation& op, const Operation& prepare = {})
    {
        SampleCatalog sample;
        Picture after;
        {
            auto pFile = NewSample(prepare, &sample);
            EXPECT_TRUE(op(*pFile, sample));
            after = Take(*pFile);
        }
        for (int nFail = 1; nFail <= 10; ++nFail) {
            SCOPED_TRACE(testing::Message() << "write " << nFail << " fails");
            auto pFile = NewSample(prepare, &sample);
            Picture before = Take(*pFile);

            SetCatalogWriteFailure(nFail);
            BOOL bDone = op(*pFile, sample);
            DWORD dwError = GetLastError();
            SetCatalogWriteFailure(0);
            if (bDone && pFile->IsWritable())
                return nFail - 1;
            if (!bDone) {
                EXPECT_EQ(dwError, ERROR_WRITE_FAULT);
            }
            const Picture& expected = bDone ? after : before;
            EXPECT_FALSE(pFile->IsWritable());
            EXPECT_FALSE(pFile->SetHeaderLinks(1, 1));
            EXPECT_EQ(GetLastError(), ERROR_WRITE_PROTECT);
            CRecordRef ref;
            EXPECT_FALSE(pFile->AllocateRecord(TABLE_NODE, sample.nNodes, {}, &ref));
            EXPECT_TRUE(pFile->CheckInvariants());
            ExpectSame(Take(*pFile), expected); // reads are still served
            pFile->Release();

            auto pReopened = OpenObject();
            EXPECT_TRUE(pReopened->Acquire());
            ExpectSame(Take(*pReopened), expected);
            EXPECT_TRUE(pReopened->IsWritable());
            EXPECT_TRUE(pReopened->AllocateRecord(TABLE_NODE, sample.nNodes, {}, &ref));
            EXPECT_EQ(m_errors.Count(), 0u);
        }
        ADD_FAILURE() << "the operation never succeeded";
        return -1;
    }
};

TEST_F(CCatalogFileFaultTest, HeaderWrites)
{
    EXPECT_EQ(ForEachFailingWrite(
                  [](CCatalogFile& file, const SampleCatalog&) { return file.SetHeaderStrings("changed", "texts"); }),
        2);
    EXPECT_EQ(
        ForEachFailingWrite([](CCatalogFile& file, const SampleCatalog&) { return file.SetHeaderLinks(5, 6); }), 2);
    EXPECT_EQ(ForEachFailingWrite([](CCatalogFile& file, const SampleCatalog&) {
        return file.SetTimeStamp({ 77, 88 });
    }),
        2);
}

TEST_F(CCatalogFileFaultTest, RecordWritesAndFrees)
{
    EXPECT_EQ(ForEachFailingWrite([](CCatalogFile& file, const SampleCatalog& sample) {
        std::vector<BYTE> data(64, 0xAB);
        return file.WriteRecord({ sample.nNodes, 1 }, TABLE_NODE, data);
    }),
        2);
    EXPECT_EQ(ForEachFailingWrite([](CCatalogFile& file, const SampleCatalog& sample) {
        return file.FreeRecord({ sample.nNodes, 2 }, TABLE_NODE);
    }),
        2);
}

TEST_F(CCatalogFileFaultTest, AllocationInAFreeSlot)
{
    EXPECT_EQ(ForEachFailingWrite([](CCatalogFile& file, const SampleCatalog& sample) {
        CRecordRef ref;
        return file.AllocateRecord(TABLE_LINK, sample.nLinks, {}, &ref);
    }),
        2);
}

TEST_F(CCatalogFileFaultTest, AllocationThatLinksANewBlock)
{
    // After preparing, every slot of the document chain is used.
    auto fill = [](CCatalogFile& file, const SampleCatalog& sample) {
        CRecordRef ref;
        return file.AllocateRecord(TABLE_DOCUMENT, sample.nDocuments, {}, &ref);
    };
    EXPECT_EQ(ForEachFailingWrite(
                  [](CCatalogFile& file, const SampleCatalog& sample) {
                      CRecordRef ref;
                      CATBLOCK nLast = file.GetLastBlock();
                      return file.AllocateRecord(TABLE_DOCUMENT, sample.nDocuments, {}, &ref)
                          && ref.nBlock == nLast + 1;
                  },
                  fill),
        4);
}

TEST_F(CCatalogFileFaultTest, NewChains)
{
    EXPECT_EQ(ForEachFailingWrite([](CCatalogFile& file, const SampleCatalog&) {
        CATBLOCK nBlock = NO_BLOCK;
        return file.NewChain(TABLE_EXTENSION, {}, &nBlock);
    }),
        3);
    EXPECT_EQ(ForEachFailingWrite([](CCatalogFile& file, const SampleCatalog& sample) {
        CRecordRef ref;
        return file.AllocateRecord(TABLE_LINK, NO_BLOCK, { sample.nNodes, 0 }, &ref);
    }),
        3);
}

TEST_F(CCatalogFileFaultTest, CreatingAFile)
{
    auto pFile = OpenObject();
    SetCatalogWriteFailure(1);
    EXPECT_FALSE(pFile->Create(CATALOG_KIND_MAIN));
    EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);
    SetCatalogWriteFailure(0);
    EXPECT_EQ(pFile->GetOpenCount(), 0);
    EXPECT_TRUE(pFile->Create(CATALOG_KIND_MAIN));
    EXPECT_TRUE(pFile->Acquire());
}

}
