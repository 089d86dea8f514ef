#include "catalog/ShellItemEnum.h"

#include "catalog/CInfoPIDL.h"
#include "catalog/ShellItemIds.h"
#include "tests/support/DriveTreeFixture.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct PidlFree {
    void operator()(void* pidl) const { CoTaskMemFree(pidl); }
};
using PidlPtr = std::unique_ptr<ITEMIDLIST, PidlFree>;

PidlPtr Parse(const char* pszPath)
{
    LPITEMIDLIST pidl = nullptr;
    EXPECT_EQ(PathToPIDL(pszPath, &pidl, nullptr), S_OK) << pszPath;
    return PidlPtr(pidl);
}

bool SameBytes(LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    return GetPIDLSize(a) == GetPIDLSize(b) && std::memcmp(a, b, GetPIDLSize(a)) == 0;
}

CString ParsingName(LPCITEMIDLIST pidlAbsolute)
{
    CInfoPIDL info;
    info.SetFromAbsolutePIDL(CopyPIDL(nullptr, pidlAbsolute));
    CString strName;
    GetDisplayNameOfPIDL(info.m_pFolder, info.m_pidlRelative, SHGDN_FORPARSING, strName);
    FreeInfoPIDL(nullptr, &info);
    return strName;
}

// Collects the in-folder names the walk passes; stops at the name in pUser's stop text.
struct Walk {
    std::vector<CString> names;
    CString strStopAt;
};
int Collect(IShellFolder* pFolder, LPCITEMIDLIST pidl, void* pUser)
{
    auto* pWalk = static_cast<Walk*>(pUser);
    CString strName;
    GetDisplayNameOfPIDL(pFolder, pidl, SHGDN_INFOLDER, strName);
    if (!pWalk->strStopAt.IsEmpty() && strName == pWalk->strStopAt)
        return 0;
    pWalk->names.push_back(strName);
    return 1;
}

using ShellItemHelpersTest = DriveTreeTest;

} // namespace

TEST_F(ShellItemHelpersTest, ListsAreMeasuredCopiedJoinedAndCut)
{
    EXPECT_EQ(GetPIDLSize(nullptr), 0u);
    PidlPtr empty(AllocPIDL(2));
    EXPECT_EQ(GetPIDLSize(empty.get()), 2u);
    EXPECT_EQ(CopyParentPIDL(empty.get()), nullptr);
    EXPECT_EQ(CopyParentPIDL(nullptr), nullptr);

    MakeFolder("a/b");
    PidlPtr deep = Parse("C:\\a\\b");
    PidlPtr parent(CopyParentPIDL(deep.get()));
    EXPECT_TRUE(SameBytes(parent.get(), Parse("C:\\a").get()));
    EXPECT_EQ(ParsingName(parent.get()), "C:\\a");

    // The joined list is the parent plus the last level, and null + x is a copy of x.
    CInfoPIDL info;
    info.SetFromAbsolutePIDL(CopyPIDL(nullptr, deep.get()));
    PidlPtr joined(ConcatPIDLs(parent.get(), info.m_pidlRelative));
    EXPECT_TRUE(SameBytes(joined.get(), deep.get()));
    PidlPtr copy(ConcatPIDLs(nullptr, deep.get()));
    EXPECT_TRUE(SameBytes(copy.get(), deep.get()));
    FreeInfoPIDL(nullptr, &info);
    EXPECT_EQ(info.m_pFolder, nullptr);
    EXPECT_EQ(info.m_pidlAbsolute, nullptr);
}

TEST_F(ShellItemHelpersTest, SingleLevelItemsBindToTheDesktopWithTheWholeList)
{
    LPITEMIDLIST pidlDrives = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidlDrives), S_OK);
    PidlPtr drives(pidlDrives);
    EXPECT_EQ(CopyParentPIDL(drives.get()), nullptr);

    IShellFolder* pFolder = nullptr;
    LPITEMIDLIST pidlRelative = nullptr;
    ASSERT_EQ(
        BindParentFolder(drives.get(), IID_IShellFolder, reinterpret_cast<void**>(&pFolder), &pidlRelative), S_OK);
    PidlPtr relative(pidlRelative);
    EXPECT_TRUE(SameBytes(relative.get(), drives.get()));
    IShellFolder* pDesktop = nullptr;
    ASSERT_EQ(SHGetDesktopFolder(&pDesktop), S_OK);
    CString strFromBound;
    CString strFromDesktop;
    GetDisplayNameOfPIDL(pFolder, relative.get(), SHGDN_NORMAL, strFromBound);
    GetDisplayNameOfPIDL(pDesktop, drives.get(), SHGDN_NORMAL, strFromDesktop);
    EXPECT_EQ(strFromBound, strFromDesktop);
    EXPECT_FALSE(strFromBound.IsEmpty());
    pDesktop->Release();
    pFolder->Release();
}

TEST_F(ShellItemHelpersTest, BareDriveParsesAsItsRootAndUnknownPathsFail)
{
    EXPECT_TRUE(SameBytes(Parse("C:").get(), Parse("C:\\").get()));
    EXPECT_EQ(ParsingName(Parse("c:").get()), "C:\\");
    LPITEMIDLIST pidl = nullptr;
    EXPECT_TRUE(FAILED(PathToPIDL("C:\\missing\\folder", &pidl, nullptr)));
    EXPECT_EQ(pidl, nullptr);
    EXPECT_EQ(CountFoldersOfPath("C:\\missing"), -1);
    EXPECT_EQ(EnumFolderItemsOfPath("Z:\\", SHCONTF_FOLDERS, nullptr, nullptr, nullptr), -1);
}

TEST_F(ShellItemHelpersTest, NamesLongerThanAPathAreCutAtACharacterBoundary)
{
    // Two-byte characters: 130 of them pass MAX_PATH - 1 bytes in the middle of one.
    std::string strName;
    for (int i = 0; i < 125; ++i)
        strName += "\xC3\xA9";
    MakeFolder(strName);
    PidlPtr pidl = Parse(("C:\\" + strName).c_str());
    const CString strParsing = ParsingName(pidl.get());
    EXPECT_LE(strParsing.GetLength(), MAX_PATH - 1);
    EXPECT_EQ(strParsing.GetLength() % 2, 1); // "C:\" and whole characters
    EXPECT_EQ(std::string(strParsing).substr(0, 5), "C:\\\xC3\xA9");
}

TEST_F(ShellItemHelpersTest, WalkCountsPassedItemsAndHandsOutTheOneItStoppedAt)
{
    MakeFolder("top/one");
    MakeFolder("top/two");
    WriteFile("top/file.txt");
    Walk all;
    EXPECT_EQ(EnumFolderItemsOfPath("C:\\top", SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, Collect, &all, nullptr), 3);
    EXPECT_EQ(all.names.size(), 3u);
    EXPECT_EQ(EnumFolderItemsOfPath("C:\\top", SHCONTF_FOLDERS, nullptr, nullptr, nullptr), 2);

    // Stopping at the first item passes none and hands that item out.
    Walk first;
    first.strStopAt = all.names.front();
    LPITEMIDLIST pidlStopped = nullptr;
    EXPECT_EQ(EnumFolderItemsOfPath("C:\\top", SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, Collect, &first, &pidlStopped), 0);
    ASSERT_NE(pidlStopped, nullptr);
    IShellFolder* pTop = nullptr;
    IShellFolder* pDesktop = nullptr;
    SHGetDesktopFolder(&pDesktop);
    pDesktop->BindToObject(Parse("C:\\top").get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pTop));
    CString strName;
    GetDisplayNameOfPIDL(pTop, pidlStopped, SHGDN_INFOLDER, strName);
    EXPECT_EQ(strName, first.strStopAt);
    CoTaskMemFree(pidlStopped);
    pTop->Release();
    pDesktop->Release();

    // Without an out item the stopped item is freed (the leak checker watches).
    EXPECT_EQ(EnumFolderItemsOfPath("C:\\top", SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, Collect, &first, nullptr), 0);
}

TEST_F(ShellItemHelpersTest, DriveListsTakeDriveRootsByType)
{
    AddDrive('D', DRIVE_CDROM);
    AddDrive('E', DRIVE_REMOTE);
    AddDrive('F', DRIVE_FIXED);
    AddDrive('Q', DRIVE_REMOVABLE);
    EXPECT_EQ(EnumFixedDrives(nullptr, nullptr, nullptr), 2);
    EXPECT_EQ(EnumNetworkDrives(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(EnumRemovableDrives(nullptr, nullptr, nullptr), 2);

    // A callback that stops the walk sees one match.
    EXPECT_EQ(EnumFixedDrives([](IShellFolder*, LPCITEMIDLIST, void*) { return 0; }, nullptr, nullptr), 1);
}

TEST_F(ShellItemHelpersTest, FolderCountsAreDirectAndSumOverFixedDrives)
{
    MakeFolder("a/deep/deeper");
    MakeFolder("b");
    WriteFile("file.txt");
    AddDrive('F', DRIVE_FIXED);
    AddDrive('Q', DRIVE_REMOVABLE);
    EXPECT_EQ(CountFoldersOfPath("C:\\"), 2);
    EXPECT_EQ(CountFoldersOfPath("C:\\a"), 1);
    // C: has 2 folders, F: none: (2 + 1) + (0 + 1); the removable drive is left out.
    EXPECT_EQ(CountFixedDriveFolders(), 4);
}

TEST_F(ShellItemHelpersTest, InfoRecordsCopyAndHoldTheirFolder)
{
    MakeFolder("a");
    PidlPtr pidl = Parse("C:\\a");
    CInfoPIDL source;
    source.SetFromAbsolutePIDL(CopyPIDL(nullptr, pidl.get()));
    ASSERT_NE(source.m_pFolder, nullptr);

    CInfoPIDL copy;
    FillInfoPIDL(nullptr, &copy, source.m_pFolder, source.m_pidlRelative, source.m_pidlAbsolute);
    FreeInfoPIDL(nullptr, &source);
    // The copy keeps its own folder reference and lists after the source went.
    CString strName;
    EXPECT_EQ(GetDisplayNameOfPIDL(copy.m_pFolder, copy.m_pidlRelative, SHGDN_FORPARSING, strName), S_OK);
    EXPECT_EQ(strName, "C:\\a");
    EXPECT_TRUE(SameBytes(copy.m_pidlAbsolute, pidl.get()));
    FreeInfoPIDL(nullptr, &copy);
    FreeInfoPIDL(nullptr, &copy); // a second free finds nothing left
    EXPECT_TRUE(copy.IsKindOf(RUNTIME_CLASS(CInfoPIDL)));
}
