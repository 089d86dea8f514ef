#include "ui/CSysImageList.h"

#include "platform/framework/CImageList.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/SystemImageLists.h"
#include "tests/support/DriveTreeFixture.h"

#include <memory>

using CSysImageListTest = DriveTreeTest;

TEST_F(CSysImageListTest, ReferencesKeepTheShellsListsAttachedWithoutOwningThem)
{
    EXPECT_EQ(GetSystemImageList(1), nullptr);
    {
        CSysImageList first;
        ASSERT_NE(GetSystemImageList(1), nullptr);
        EXPECT_EQ(GetSystemImageList(7), GetSystemImageList(1));
        EXPECT_EQ(GetSystemImageList(1)->GetSafeHandle(), GetShellImageList(TRUE));
        EXPECT_EQ(GetSystemImageList(0)->GetSafeHandle(), GetShellImageList(FALSE));
        EXPECT_EQ(GetSystemImageList(1)->GetBkColor(), CLR_NONE);
        {
            CSysImageList second;
            EXPECT_EQ(GetSystemImageList(1)->GetSafeHandle(), GetShellImageList(TRUE));
        }
        EXPECT_NE(GetSystemImageList(1), nullptr); // the first reference still holds them
    }
    EXPECT_EQ(GetSystemImageList(0), nullptr);
    // The shell's lists survive the last reference.
    EXPECT_GT(ImageList_GetImageCount(GetShellImageList(TRUE)), 0);
}

TEST_F(CSysImageListTest, IconIndexesFollowTypesItemsAndFolders)
{
    UseDesktopOfItsOwn(); // the system folder is the program folder, on C:
    MakeFolder("docs");
    WriteFile("docs/notes.txt");
    EXPECT_EQ(GetFileIconIndex("C:\\nowhere\\x.txt", FALSE, TRUE), GetShellFileType("x.txt").eIcon);
    EXPECT_EQ(GetPathIconIndex("C:\\docs\\notes.txt", FALSE, TRUE), GetFileIconIndex("a.txt", FALSE, TRUE));
    EXPECT_EQ(GetPathIconIndex("C:\\docs", FALSE, TRUE), SYSICON_FOLDER);
    EXPECT_EQ(GetPathIconIndex("C:\\docs", TRUE, FALSE), SYSICON_FOLDER_OPEN);
    EXPECT_EQ(GetSystemFolderIconIndex(FALSE, TRUE), SYSICON_FOLDER);
    EXPECT_EQ(GetSystemFolderIconIndex(TRUE, TRUE), SYSICON_FOLDER_OPEN);
}

TEST_F(CSysImageListTest, TheFolderIconNeedsNoReachableSystemFolder)
{
    // The program folder lies on no drive of the table.
    EXPECT_EQ(GetSystemFolderIconIndex(FALSE, TRUE), SYSICON_FOLDER);
    EXPECT_EQ(GetSystemFolderIconIndex(TRUE, TRUE), SYSICON_FOLDER_OPEN);
}
