#include "ui/CFileOpNameMappings.h"

#include "tests/support/TempFolder.h"

#include <filesystem>
#include <fstream>

TEST(CFileOpNameMappingsTest, WalksTheRenamingsOfACopyOntoItself)
{
    TempFolder folder;
    std::ofstream(folder / "a.txt") << "a";
    std::ofstream(folder / "b.txt") << "b";
    const std::string strFrom = (folder / "a.txt").string() + '\0' + (folder / "b.txt").string() + '\0';
    const std::string strTo = folder.Path().string() + '\0';
    SHFILEOPSTRUCT op {};
    op.wFunc = FO_COPY;
    op.pFrom = strFrom.c_str();
    op.pTo = strTo.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_WANTMAPPINGHANDLE | FOF_RENAMEONCOLLISION;
    if (SHFileOperation(&op) != 0) {
        op.fFlags &= ~FOF_RENAMEONCOLLISION; // a copy onto its own source is renamed anyway
        ASSERT_EQ(SHFileOperation(&op), 0);
    }
    ASSERT_NE(op.hNameMappings, nullptr);

    CFileOpNameMappings mappings(op.hNameMappings);
    int nCount = 0;
    for (LPSHNAMEMAPPINGW pEntry = mappings.GetFirst(); pEntry; pEntry = mappings.GetNext()) {
        CString strOld;
        CString strNew;
        mappings.GetOldPath(pEntry, strOld);
        mappings.GetNewPath(pEntry, strNew);
        EXPECT_NE(strOld, strNew);
        EXPECT_TRUE(strNew.Find("Copy of") >= 0) << strNew;
        ++nCount;
    }
    EXPECT_EQ(nCount, 2);
    EXPECT_EQ(mappings.GetNext(), nullptr);
    // Walking again starts at the first entry.
    EXPECT_NE(mappings.GetFirst(), nullptr);
}

TEST(CFileOpNameMappingsTest, WithoutAHandleThereIsNoEntry)
{
    CFileOpNameMappings mappings(nullptr);
    EXPECT_EQ(mappings.GetFirst(), nullptr);
    EXPECT_EQ(mappings.GetNext(), nullptr);
}
