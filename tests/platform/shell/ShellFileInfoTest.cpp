#include "platform/shell/ShellFileInfo.h"

#include "platform/base/DriveTable.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/WinError.h"
#include "platform/shell/SystemImageLists.h"
#include "tests/platform/gdi/GdiTestCanvas.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// Drive T: is a fresh fixed folder, R: removable, N: a network drive and
// D: a CD drive, each over a folder of its own.
class ShellFileInfoTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_TRUE(SetDriveOverride('T', m_fixed.Path().c_str(), DRIVE_FIXED));
        ASSERT_TRUE(SetDriveOverride('R', m_removable.Path().c_str(), DRIVE_REMOVABLE));
        ASSERT_TRUE(SetDriveOverride('N', m_network.Path().c_str(), DRIVE_REMOTE));
        ASSERT_TRUE(SetDriveOverride('D', m_cd.Path().c_str(), DRIVE_CDROM));
        m_fixed.WriteFile("photos/beach.png", "not really a picture");
        m_fixed.WriteFile("notes.txt", "text");
    }
    void TearDown() override
    {
        ResetDriveTable();
        ProgramFolderTest::TearDown();
    }

    // The icon index SHGetFileInfo gives, -1 when it fails.
    static int IconOf(LPCTSTR pszPath, DWORD dwAttributes, UINT uFlags)
    {
        SHFILEINFO info {};
        if (!SHGetFileInfo(pszPath, dwAttributes, &info, sizeof(info), uFlags | SHGFI_SYSICONINDEX))
            return -1;
        return info.iIcon;
    }
    static std::string TypeNameOf(LPCTSTR pszPath, DWORD dwAttributes, UINT uFlags)
    {
        SHFILEINFO info {};
        if (!SHGetFileInfo(pszPath, dwAttributes, &info, sizeof(info), uFlags | SHGFI_TYPENAME))
            return "(failed)";
        return info.szTypeName;
    }

private:
    TempFolder m_fixed;
    TempFolder m_removable;
    TempFolder m_network;
    TempFolder m_cd;
};

TEST_F(ShellFileInfoTest, SystemIconIndexHandsOutTheListOfTheSizeAsked)
{
    SHFILEINFO info {};
    DWORD_PTR small = SHGetFileInfo(".txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
        SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(small), GetShellImageList(TRUE));
    EXPECT_EQ(info.iIcon, SYSICON_TEXT);
    DWORD_PTR large = SHGetFileInfo(
        ".txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(large), GetShellImageList(FALSE));
    EXPECT_EQ(info.iIcon, SYSICON_TEXT) << "both sizes share their indexes";
}

TEST_F(ShellFileInfoTest, FileAttributesStandInForItemsThatAreNotThere)
{
    EXPECT_EQ(IconOf("Q:\\nowhere\\report.txt", FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES), SYSICON_TEXT);
    EXPECT_EQ(IconOf("Q:\\nowhere\\beach.png", FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES), SYSICON_PICTURE);
    EXPECT_EQ(IconOf("Q:\\nowhere\\sub.txt", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES), SYSICON_FOLDER)
        << "the attributes, not the name, make a folder";
    EXPECT_EQ(
        IconOf("Q:\\nowhere", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES | SHGFI_OPENICON), SYSICON_FOLDER_OPEN);
    EXPECT_EQ(IconOf("notes.txt", FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES | SHGFI_OPENICON), SYSICON_TEXT)
        << "only folders open";
}

TEST_F(ShellFileInfoTest, RealItemsAreLookedAtOnDisk)
{
    EXPECT_EQ(IconOf("T:\\photos\\beach.png", 0, 0), SYSICON_PICTURE);
    EXPECT_EQ(IconOf("T:\\photos", 0, 0), SYSICON_FOLDER);
    EXPECT_EQ(IconOf("T:\\photos\\", 0, SHGFI_OPENICON), SYSICON_FOLDER_OPEN);
    char szSystem[MAX_PATH];
    ASSERT_GT(GetSystemDirectory(szSystem, sizeof(szSystem)), 0U);
    EXPECT_EQ(IconOf(szSystem, 0, SHGFI_SMALLICON), SYSICON_FOLDER)
        << "the folder icon callers ask the system folder for";

    SHFILEINFO info {};
    info.iIcon = 1234;
    SetLastError(0);
    EXPECT_EQ(SHGetFileInfo("T:\\photos\\missing.png", 0, &info, sizeof(info), SHGFI_SYSICONINDEX), 0U);
    EXPECT_NE(GetLastError(), 0U);
    EXPECT_EQ(info.iIcon, -1);
}

TEST_F(ShellFileInfoTest, DriveRootsShowTheirKindOfDrive)
{
    EXPECT_EQ(IconOf("T:\\", 0, 0), SYSICON_DRIVE_FIXED);
    EXPECT_EQ(IconOf("T:", 0, 0), SYSICON_DRIVE_FIXED);
    EXPECT_EQ(IconOf("R:\\", 0, 0), SYSICON_DRIVE_REMOVABLE);
    EXPECT_EQ(IconOf("N:\\", 0, 0), SYSICON_DRIVE_NETWORK);
    EXPECT_EQ(IconOf("D:\\", 0, SHGFI_SMALLICON), SYSICON_DRIVE_CDROM);
    EXPECT_EQ(TypeNameOf("T:\\", 0, 0), "Local Disk");
    EXPECT_EQ(TypeNameOf("R:\\", 0, 0), "Removable Disk");
}

TEST_F(ShellFileInfoTest, TypeNamesNameFoldersAndFileTypes)
{
    EXPECT_EQ(TypeNameOf("T:\\photos", 0, 0), "File Folder");
    EXPECT_EQ(TypeNameOf("T:\\notes.txt", 0, 0), "Text Document");
    EXPECT_EQ(TypeNameOf("x.qqzz", FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES), "QQZZ File");
    std::string strLong = "x." + std::string(120, 'q');
    std::string strName = TypeNameOf(strLong.c_str(), FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES);
    EXPECT_EQ(strName.size(), sizeof(SHFILEINFO::szTypeName) - 1) << "a long name is cut to the field";
}

TEST_F(ShellFileInfoTest, IconFlagGivesTheCallerACopyOfTheListImage)
{
    for (UINT uSize : { SHGFI_SMALLICON, SHGFI_LARGEICON }) {
        SHFILEINFO info {};
        ASSERT_NE(SHGetFileInfo("T:\\notes.txt", 0, &info, sizeof(info), SHGFI_ICON | uSize), 0U);
        ASSERT_NE(info.hIcon, nullptr);
        EXPECT_EQ(info.iIcon, SYSICON_TEXT);
        int nSize = uSize == SHGFI_SMALLICON ? 16 : 32;

        ICONINFO iconInfo {};
        ASSERT_TRUE(GetIconInfo(info.hIcon, &iconInfo));
        BITMAP bm {};
        GetObject(iconInfo.hbmMask, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, nSize);
        DeleteObject(iconInfo.hbmMask);
        DeleteObject(iconInfo.hbmColor);

        // The icon draws exactly as the list's image does.
        CTestCanvas fromIcon(nSize, nSize);
        CTestCanvas fromList(nSize, nSize);
        DrawIconEx(fromIcon.Dc(), 0, 0, info.hIcon, 0, 0, 0, nullptr, DI_NORMAL);
        ImageList_Draw(GetShellImageList(uSize == SHGFI_SMALLICON), SYSICON_TEXT, fromList.Dc(), 0, 0, ILD_TRANSPARENT);
        std::vector<COLORREF> a;
        std::vector<COLORREF> b;
        fromIcon.ForEach([&](int, int, COLORREF cr) { a.push_back(cr); });
        fromList.ForEach([&](int, int, COLORREF cr) { b.push_back(cr); });
        EXPECT_EQ(a, b);
        EXPECT_TRUE(DestroyIcon(info.hIcon));
    }
}

TEST_F(ShellFileInfoTest, BadArgumentsAreRefused)
{
    SHFILEINFO info {};
    SetLastError(0);
    EXPECT_EQ(SHGetFileInfo("T:\\notes.txt", 0, nullptr, sizeof(info), SHGFI_SYSICONINDEX), 0U);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(SHGetFileInfo("T:\\notes.txt", 0, &info, sizeof(info) - 1, SHGFI_SYSICONINDEX), 0U);
    EXPECT_EQ(SHGetFileInfo(nullptr, 0, &info, sizeof(info), SHGFI_SYSICONINDEX), 0U);
    constexpr UINT SHGFI_PIDL = 0x8; // an item identifier list in place of the path
    EXPECT_EQ(SHGetFileInfo("T:\\notes.txt", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_PIDL), 0U);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(IconOf("Q:\\", 0, 0), -1) << "a letter with no drive";
    EXPECT_EQ(IconOf("\\\\", 0, 0), -1);
}

} // namespace
