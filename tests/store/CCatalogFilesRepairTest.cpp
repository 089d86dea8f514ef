// A recycle-bin catalog made with the main catalog's kind, mended before the
// pair is checked or backed up; and what the whole-file check says when it
// refuses a file.

#include "store/CCatalogFiles.h"

#include "platform/base/WinError.h"
#include "store/CatalogCheck.h"
#include "tests/store/CatalogFilesFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class CatalogFilesRepairTest : public CatalogFilesTest {
protected:
    // The recycle-bin catalog as a faulty start made it: a fresh catalog of the main kind.
    void MakeMainKindRecycleBin()
    {
        WritePair("current");
        std::filesystem::remove(HostPath("winrec.cat"));
        auto pRecycle = NewMainCatalog("winrec.cat", FALSE);
        ASSERT_TRUE(pRecycle->IsOpen());
        ASSERT_EQ(pRecycle->GetKind(), CATALOG_KIND_MAIN);
    }
    LONG KindByte(const std::string& strName) const { return FileBytes(strName).at(0); }
};

} // namespace

TEST_F(CatalogFilesRepairTest, AMainKindRecycleBinGetsItsKindAndTheBackupIsMade)
{
    MakeMainKindRecycleBin();
    // Before the repair a backup stops at the recycle bin.
    {
        CatalogErrorRecorder errors;
        EXPECT_FALSE(Files().MakeGeneration(3));
        ASSERT_EQ(errors.Count(), 1u);
        EXPECT_EQ(errors.Reports()[0].strFileName, "winrec.cat");
    }
    std::vector<BYTE> before = FileBytes("winrec.cat");

    EXPECT_TRUE(Files().RepairRecycleKind());
    std::vector<BYTE> after = FileBytes("winrec.cat");
    EXPECT_EQ(KindByte("winrec.cat"), CATALOG_KIND_RECYCLE);
    after[0] = before[0];
    EXPECT_EQ(after, before) << "only the kind changed";
    EXPECT_TRUE(CheckCatalogFile(ProgramPath("winrec.cat").c_str(), CATALOG_KIND_RECYCLE));
    EXPECT_TRUE(Files().MakeGeneration(3));
    EXPECT_TRUE(Files().HasGeneration(1));
    EXPECT_EQ(Marker("archiv1.bck"), "current");

    // A second start finds nothing to mend.
    EXPECT_FALSE(Files().RepairRecycleKind());
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

TEST_F(CatalogFilesRepairTest, ASetUpOrDamagedCatalogUnderTheRecycleBinsNameIsLeftForTheCheck)
{
    // A set-up main catalog: its root is no longer "not set up".
    WritePair("current");
    std::filesystem::copy_file(
        HostPath("archiv.cat"), HostPath("winrec.cat"), std::filesystem::copy_options::overwrite_existing);
    {
        auto pCopy = OpenCatalog("winrec.cat");
        CNodeInfo info {};
        auto pRoot = Root(*pCopy);
        pRoot->GetInfo(&info);
        info.nFlags &= ~CNodeRec::ROOT_NOT_SET_UP;
        ASSERT_TRUE(pRoot->UpdateInfo(info));
    }
    Snapshot before = TakeSnapshot();
    EXPECT_FALSE(Files().RepairRecycleKind());
    EXPECT_EQ(TakeSnapshot(), before);

    // A damaged main-kind file: its first block names a table no catalog has.
    MakeMainKindRecycleBin();
    PokeLong(BlockOffset(0), 99, "winrec.cat");
    before = TakeSnapshot();
    CatalogErrorRecorder errors;
    EXPECT_FALSE(Files().RepairRecycleKind());
    EXPECT_EQ(TakeSnapshot(), before);
    EXPECT_EQ(errors.Count(), 0u) << errors.Reports()[0].strText;

    // No recycle bin at all.
    std::filesystem::remove(HostPath("winrec.cat"));
    EXPECT_FALSE(Files().RepairRecycleKind());
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

TEST_F(CatalogFilesRepairTest, TheCheckSaysWhyItRefuses)
{
    WritePair("current");
    CCatalogCheckReport report;
    ASSERT_TRUE(CheckCatalogFile(ProgramPath("winrec.cat").c_str(), CATALOG_KIND_RECYCLE, &report));
    EXPECT_EQ(report.eRefusal, CCatalogCheckReport::Refusal::None);

    EXPECT_FALSE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_RECYCLE, &report));
    EXPECT_EQ(GetLastError(), ERROR_BAD_FORMAT);
    EXPECT_EQ(report.eRefusal, CCatalogCheckReport::Refusal::WrongKind);
    EXPECT_EQ(report.nKind, CATALOG_KIND_MAIN);
    EXPECT_STREQ(report.DescribeRefusal(), "it is a main catalog");

    CatalogErrorRecorder errors;
    EXPECT_FALSE(CheckCatalogFile(ProgramPath("missing.cat").c_str(), CATALOG_KIND_MAIN, &report));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(report.eRefusal, CCatalogCheckReport::Refusal::Unreadable);
    EXPECT_EQ(report.nKind, -1);

    std::ofstream(HostPath("text.cat")) << "not a catalog";
    EXPECT_FALSE(CheckCatalogFile(ProgramPath("text.cat").c_str(), CATALOG_KIND_MAIN, &report));
    EXPECT_EQ(report.eRefusal, CCatalogCheckReport::Refusal::Unreadable);

    PokeLong(BlockOffset(0), 99, "winrec.cat");
    EXPECT_FALSE(CheckCatalogFile(ProgramPath("winrec.cat").c_str(), CATALOG_KIND_RECYCLE, &report));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(report.eRefusal, CCatalogCheckReport::Refusal::Damaged);
    EXPECT_STREQ(report.DescribeRefusal(), "it is damaged");
}
