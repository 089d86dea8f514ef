#include "catalog/RecycleShellDrops.h"

#include "store/CDocumentRec.h"
#include "store/DocumentBackup.h"
#include "tests/catalog/RecycleBinFixture.h"

#include "platform/base/DriveTable.h"
#include "platform/shell/RecycleBin.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

using RecycleShellDropsTest = RecycleBinDriveTest;

TEST_F(RecycleShellDropsTest, ADroppedFolderGivesUpItsFilesAndStays)
{
    WriteOnT("drop/a.txt", "a");
    WriteOnT("drop/sub/b.md", "b");
    WriteOnT("single.txt", "s");
    CDroppedShellItems items;
    items.paths = { OnT("drop").c_str(), OnT("single.txt").c_str() };
    EXPECT_EQ(LixeiraProcessSelection(m_pCatalog.get(), m_pBin.get(), items), 0);
    EXPECT_EQ(m_prompts.m_nKind, CCatalogPrompts::SELECTION_ITEMS);
    EXPECT_TRUE(fs::is_directory(HostOnT("drop/sub")));
    EXPECT_FALSE(fs::exists(HostOnT("drop/a.txt")));
    EXPECT_FALSE(fs::exists(HostOnT("drop/sub/b.md")));
    EXPECT_FALSE(fs::exists(HostOnT("single.txt")));
    for (const char* pszFile : { "drop/a.txt", "drop/sub/b.md", "single.txt" })
        EXPECT_TRUE(std::unique_ptr<CDocumentRec>(m_pBin->FindPath(OnT(pszFile).c_str()))) << pszFile;
    EXPECT_EQ(ListRecycleBin().size(), 3U);
}

TEST_F(RecycleShellDropsTest, ARemovableDrivesFilesAreDeletedForGoodAndNotEntered)
{
    TempFolder stick;
    stick.WriteFile("photo.txt", "p");
    ASSERT_TRUE(SetDriveOverride('R', stick.Path().c_str(), DRIVE_REMOVABLE));
    CDroppedShellItems items;
    items.paths = { "R:\\photo.txt" };
    m_prompts.m_nAnswer = IDCANCEL;
    LixeiraProcessSelection(m_pCatalog.get(), m_pBin.get(), items);
    EXPECT_EQ(m_prompts.m_nKind, CCatalogPrompts::SELECTION_REMOVABLE_ITEM);
    EXPECT_TRUE(fs::exists(stick.Path() / "photo.txt"));
    m_prompts.m_nAnswer = IDOK;
    LixeiraProcessSelection(m_pCatalog.get(), m_pBin.get(), items);
    EXPECT_FALSE(fs::exists(stick.Path() / "photo.txt"));
    EXPECT_TRUE(ListRecycleBin().empty());
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pBin->FindPath("r:\\photo.txt")));
}

} // namespace
