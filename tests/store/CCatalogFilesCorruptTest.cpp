#include "store/CCatalogFiles.h"

#include "platform/base/WinError.h"
#include "store/CDirectoryRec.h"
#include "store/CLinkRec.h"
#include "store/CTextEntryRec.h"
#include "store/CatalogCheck.h"
#include "tests/store/CatalogFilesFixture.h"
#include "tests/support/SpecialFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class CatalogFilesCorruptTest : public CatalogFilesTest {
protected:
    void SetUp() override
    {
        CatalogFilesTest::SetUp();
        MakeGeneration("backed up");
        WritePair("current");
        m_before = TakeSnapshot();
    }

    // Restoring generation 1 fails the check and leaves every file as it was.
    void ExpectRefused()
    {
        EXPECT_FALSE(Files().RotateOld(1));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
        EXPECT_EQ(TakeSnapshot(), m_before);
        EXPECT_TRUE(HoldsSystem("current"));
    }

    // Sets the flag of the last slot of a block, which is free, to a value no
    // flag may have: the file still opens, and only a walk that reads the
    // block finds the damage.
    void DamageFreeSlotFlag(const std::string& strName, CATBLOCK nBlock, int nRecordSize)
    {
        ASSERT_NE(nBlock, NO_BLOCK);
        std::vector<BYTE> bytes = FileBytes(strName);
        bytes[BlockOffset(nBlock) + BLOCK_HEADER_SIZE + SlotCount(nRecordSize) - 1] = 0x55;
        Replace(strName, bytes);
        auto pCatalog = OpenCatalog(strName);
        EXPECT_TRUE(pCatalog->IsOpen() && pCatalog->IsWritable()) << "the damage must not show at opening";
    }

    // Replaces a file of the program folder, also in the picture of the folder.
    void Replace(const std::string& strName, const std::vector<BYTE>& bytes)
    {
        WriteFileBytes(bytes, strName);
        m_before[strName] = bytes;
    }

    Snapshot m_before;
};

}

TEST_F(CatalogFilesCorruptTest, TruncatedGenerationIsRefused)
{
    std::vector<BYTE> bytes = FileBytes("archiv1.bck");
    bytes.resize(bytes.size() / 2);
    Replace("archiv1.bck", bytes);
    ExpectRefused();
}

TEST_F(CatalogFilesCorruptTest, ForeignFileIsRefused)
{
    std::string strText = "This is a letter, not a catalog.\n";
    Replace("winrec1.bck", std::vector<BYTE>(strText.begin(), strText.end()));
    ExpectRefused();
}

TEST_F(CatalogFilesCorruptTest, CatalogsOfTheWrongKindAreRefused)
{
    // Swapped partners: each is a sound catalog, but not of the kind its name promises.
    std::vector<BYTE> main = FileBytes("archiv1.bck");
    Replace("archiv1.bck", FileBytes("winrec1.bck"));
    Replace("winrec1.bck", main);
    ExpectRefused();
}

TEST_F(CatalogFilesCorruptTest, DamageInADirectoryOfUnlinkedDocumentsIsRefused)
{
    CATBLOCK nDocuments = NO_BLOCK;
    {
        auto pCatalog = OpenCatalog("archiv1.bck");
        ASSERT_TRUE(pCatalog->IsOpen());
        AddDocument(*pCatalog, nullptr, "c:\\loose\\file.txt");
        std::unique_ptr<CDirectoryRec> pDirectory(pCatalog->FindDirectory("c:\\loose\\"));
        ASSERT_TRUE(pDirectory);
        nDocuments = pDirectory->GetDocumentBlock();
    }
    DamageFreeSlotFlag("archiv1.bck", nDocuments, CDocumentRec::RECORD_SIZE);
    ExpectRefused();
}

TEST_F(CatalogFilesCorruptTest, DamageInANodesLinksIsRefused)
{
    CATBLOCK nLinks = NO_BLOCK;
    {
        auto pCatalog = OpenCatalog("archiv1.bck");
        ASSERT_TRUE(pCatalog->IsOpen());
        std::unique_ptr<CNodeRec> pSystem(Root(*pCatalog)->FindChildByName("backed up"));
        ASSERT_TRUE(pSystem);
        nLinks = ReadLong(pSystem->GetData().data() + CNodeRec::OFF_LINK_BLOCK);
    }
    DamageFreeSlotFlag("archiv1.bck", nLinks, CLinkRec::RECORD_SIZE);
    ExpectRefused();
}

TEST_F(CatalogFilesCorruptTest, DamageInATableNothingLinksToIsRefused)
{
    // The keyword table: no node of the catalog has a keyword.
    DamageFreeSlotFlag("winrec1.bck", ROOT_BLOCK_KEYWORD, CTextEntryRec::RECORD_SIZE);
    ExpectRefused();
}

TEST_F(CatalogFilesCorruptTest, DamagedCatalogIsNotBackedUp)
{
    DamageFreeSlotFlag("archiv.cat", ROOT_BLOCK_KEYWORD, CTextEntryRec::RECORD_SIZE);
    CatalogErrorRecorder recorder;
    EXPECT_FALSE(Files().MakeGeneration(1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(TakeSnapshot(), m_before); // the good generation stays, no copy is left
    ASSERT_EQ(recorder.Count(), 1u);
    EXPECT_EQ(recorder.Reports()[0].strFileName, "archiv.cat");
}

TEST_F(CatalogFilesCorruptTest, ABackupThatCannotCopyACatalogReportsThatCatalog)
{
    // clang-format off
    const auto Damage = [&](int nCase) {
        switch (nCase) {
        case 0: fs::resize_file(HostPath("archiv.cat"), 0); return "archiv.cat";
        case 1: fs::remove(HostPath("archiv.cat")); fs::create_directory(HostPath("archiv.cat")); return "archiv.cat";
        case 2: fs::remove(HostPath("winrec.cat")); ::mkfifo(HostPath("winrec.cat").c_str(), 0600); return "winrec.cat";
        default: ::chmod(HostPath("archiv.cat").c_str(), 0); return "archiv.cat";
        }
    };
    // clang-format on
    // Whoever may read any file also reads one without permissions.
    const int nCases = ::geteuid() == 0 ? 3 : 4;
    for (int nCase = 0; nCase < nCases; ++nCase) {
        WritePair("current");
        const std::string strCatalog = Damage(nCase);
        const int nResult = RunInChildWithin(20, [&] {
            CatalogErrorRecorder recorder;
            const bool bRefused = !Files().MakeGeneration(1) && recorder.Count() == 1
                && recorder.Reports()[0].strFileName == strCatalog;
            return bRefused ? 0 : 1;
        });
        EXPECT_EQ(nResult, 0) << nCase << (nResult < 0 ? ": the backup kept waiting" : "");
        ExpectGeneration(1, "backed up");
        EXPECT_FALSE(fs::exists(HostPath("archiv.bck.tmp")) || fs::exists(HostPath("winrec.bck.tmp"))) << nCase;
        ::chmod(HostPath("archiv.cat").c_str(), 0600);
        fs::remove_all(HostPath(strCatalog));
    }
}

TEST_F(CatalogFilesCorruptTest, DamagedPreviousCopiesAreRefused)
{
    ASSERT_TRUE(Files().RotateOld(1));
    std::vector<BYTE> bytes = FileBytes("winrec.old");
    bytes.resize(FILE_HEADER_SIZE + BLOCK_SIZE);
    WriteFileBytes(bytes, "winrec.old");
    Snapshot before = TakeSnapshot();
    EXPECT_FALSE(Files().RestoreOldGeneration());
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(TakeSnapshot(), before);
}

TEST_F(CatalogFilesCorruptTest, SoundCatalogsPassTheCheck)
{
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("archiv1.bck").c_str(), CATALOG_KIND_MAIN));
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("winrec1.bck").c_str(), CATALOG_KIND_RECYCLE));
    EXPECT_FALSE(CheckCatalogFile(ProgramPath("archiv1.bck").c_str(), CATALOG_KIND_RECYCLE));
    EXPECT_FALSE(CheckCatalogFile(ProgramPath("missing.bck").c_str(), CATALOG_KIND_MAIN));
    // The check only reads.
    EXPECT_EQ(TakeSnapshot(), m_before);
}
