#include "store/CCatalogFile.h"

#include "tests/store/CatalogFixture.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

using CCatalogFileThreadTest = CatalogFileTest;

// Two readers walk a chain while a writer grows it, as the document list's fill
// worker reads a catalog that the user-interface thread changes. Each record's
// bytes are written by one call, so a reader sees a record whole: zeroed
// (just allocated) or all one value. Meant to run under ThreadSanitizer too.
TEST_F(CCatalogFileThreadTest, TwoReadersAndOneWriter)
{
    auto pFile = NewCatalog();
    CATBLOCK nFirst = NO_BLOCK;
    ASSERT_TRUE(pFile->NewChain(TABLE_DOCUMENT, {}, &nFirst));
    constexpr int RECORDS = 600;
    std::atomic<bool> bWriting { true };
    std::atomic<int> nTorn { 0 };
    std::atomic<int> nFailedWalks { 0 };

    auto reader = [&] {
        std::vector<BYTE> data(260);
        do {
            if (!pFile->Acquire()) {
                ++nFailedWalks;
                return;
            }
            for (CRecordRef cursor { nFirst, NO_SLOT }; pFile->NextRecord(&cursor);) {
                if (!pFile->ReadRecord(cursor, TABLE_DOCUMENT, data)) {
                    ++nFailedWalks;
                    break;
                }
                if (std::count(data.begin(), data.end(), data[0]) != 260)
                    ++nTorn;
                CCatalogBlock* pBlock = pFile->GetBlock(cursor.nBlock);
                if (!pBlock || pBlock->GetTableType() != TABLE_DOCUMENT
                    || pBlock->GetHeader().nHighestUsed < cursor.nSlot)
                    ++nFailedWalks;
            }
            pFile->Release();
        } while (bWriting);
    };

    std::thread reader1(reader);
    std::thread reader2(reader);
    std::thread writer([&] {
        std::vector<BYTE> data(260);
        for (int i = 0; i < RECORDS; ++i) {
            CRecordRef ref;
            if (!pFile->AllocateRecord(TABLE_DOCUMENT, nFirst, {}, &ref))
                break;
            std::fill(data.begin(), data.end(), static_cast<BYTE>(1 + i % 250));
            if (!pFile->WriteRecord(ref, TABLE_DOCUMENT, data))
                break;
            if (i % 50 == 0)
                (void)pFile->SetHeaderLinks(i, -i);
        }
        bWriting = false;
    });
    writer.join();
    reader1.join();
    reader2.join();

    EXPECT_EQ(nTorn, 0);
    EXPECT_EQ(nFailedWalks, 0);
    EXPECT_EQ(ReadChain(*pFile, nFirst, TABLE_DOCUMENT).size(), std::size_t { RECORDS });
    EXPECT_EQ(pFile->GetOpenCount(), 1);
    EXPECT_TRUE(pFile->CheckInvariants());
    EXPECT_EQ(m_errors.Count(), 0u);
}

}
