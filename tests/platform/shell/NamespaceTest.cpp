#include "platform/shell/ShellFolder.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/SystemImageLists.h"
#include "tests/platform/shell/ShellTreeFixture.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>

#include <dirent.h>

namespace {

using IdList = std::unique_ptr<ITEMIDLIST, IdListDeleter>;
using Names = std::vector<std::string>;

// The walks a caller makes over lists by their counts alone.
size_t ListSize(LPCITEMIDLIST pidl)
{
    if (!pidl)
        return 0;
    const auto* p = reinterpret_cast<const BYTE*>(pidl);
    size_t nSize = 0;
    for (USHORT cb; (cb = static_cast<USHORT>(p[nSize] | (p[nSize + 1] << 8))) != 0;)
        nSize += cb;
    return nSize + 2;
}

IdList Concat(LPCITEMIDLIST pidlFirst, LPCITEMIDLIST pidlSecond)
{
    size_t nFirst = pidlFirst ? ListSize(pidlFirst) - 2 : 0;
    size_t nSecond = ListSize(pidlSecond);
    auto* p = static_cast<BYTE*>(CoTaskMemAlloc(nFirst + nSecond));
    std::memcpy(p, pidlFirst, nFirst);
    std::memcpy(p + nFirst, pidlSecond, nSecond);
    return IdList(reinterpret_cast<LPITEMIDLIST>(p));
}

// All but the last item, and the last item alone.
std::pair<IdList, IdList> SplitLast(LPCITEMIDLIST pidl)
{
    const auto* p = reinterpret_cast<const BYTE*>(pidl);
    size_t nLast = 0;
    for (size_t nPos = 0; p[nPos] | p[nPos + 1]; nPos += p[nPos] | (p[nPos + 1] << 8))
        nLast = nPos;
    size_t nSize = ListSize(pidl);
    auto* pParent = static_cast<BYTE*>(CoTaskMemAlloc(nLast + 2));
    std::memcpy(pParent, p, nLast);
    pParent[nLast] = pParent[nLast + 1] = 0;
    auto* pItem = static_cast<BYTE*>(CoTaskMemAlloc(nSize - nLast));
    std::memcpy(pItem, p + nLast, nSize - nLast);
    return { IdList(reinterpret_cast<LPITEMIDLIST>(pParent)), IdList(reinterpret_cast<LPITEMIDLIST>(pItem)) };
}

bool SameBytes(LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2)
{
    return ListSize(pidl1) == ListSize(pidl2) && std::memcmp(pidl1, pidl2, ListSize(pidl1)) == 0;
}

std::string TextOf(const STRRET& name, LPCITEMIDLIST pidl)
{
    switch (name.uType) {
    case STRRET_CSTR:
        return name.cStr;
    case STRRET_OFFSET:
        return reinterpret_cast<const char*>(pidl) + name.uOffset;
    default: {
        std::string strText = Utf8FromUtf16(name.pOleStr);
        CoTaskMemFree(name.pOleStr);
        return strText;
    }
    }
}

class NamespaceTest : public ShellTreeTest {
protected:
    void SetUp() override
    {
        ShellTreeTest::SetUp();
        ASSERT_EQ(SHGetDesktopFolder(&m_pDesktop), S_OK);
    }
    void TearDown() override
    {
        m_pDesktop->Release();
        ShellTreeTest::TearDown();
    }

    IdList Parse(const std::string& strName, HRESULT* phr = nullptr) const
    {
        std::u16string wide = Utf16FromUtf8(strName);
        LPITEMIDLIST pidl = nullptr;
        HRESULT hr = m_pDesktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &pidl, nullptr);
        if (phr)
            *phr = hr;
        return IdList(SUCCEEDED(hr) ? pidl : nullptr);
    }

    // The folder an absolute list names (the desktop for an empty one).
    IShellFolder* Bind(LPCITEMIDLIST pidl) const
    {
        IShellFolder* pFolder = nullptr;
        if (ListSize(pidl) <= 2) {
            m_pDesktop->AddRef();
            return m_pDesktop;
        }
        EXPECT_EQ(m_pDesktop->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pFolder)), S_OK);
        return pFolder;
    }

    std::string NameOf(IShellFolder* pFolder, LPCITEMIDLIST pidl, SHGDNF uFlags) const
    {
        STRRET name {};
        if (FAILED(pFolder->GetDisplayNameOf(pidl, uFlags, &name)))
            return "<failed>";
        return TextOf(name, pidl);
    }

    // The items of a folder in the order given, each as its absolute list.
    std::vector<IdList> Children(LPCITEMIDLIST pidlFolder, SHCONTF grfFlags) const
    {
        std::vector<IdList> children;
        IShellFolder* pFolder = Bind(pidlFolder);
        IEnumIDList* pEnum = nullptr;
        if (pFolder && pFolder->EnumObjects(nullptr, grfFlags, &pEnum) == S_OK) {
            LPITEMIDLIST pidlItem = nullptr;
            while (pEnum->Next(1, &pidlItem, nullptr) == S_OK) {
                children.push_back(Concat(pidlFolder, pidlItem));
                CoTaskMemFree(pidlItem);
            }
            pEnum->Release();
        }
        if (pFolder)
            pFolder->Release();
        return children;
    }

    Names ChildNames(const std::string& strFolder, SHCONTF grfFlags) const
    {
        IdList pidlFolder = strFolder.empty() ? IdList(static_cast<LPITEMIDLIST>(CoTaskMemAlloc(2))) : Parse(strFolder);
        if (strFolder.empty())
            std::memset(pidlFolder.get(), 0, 2);
        Names names;
        for (const IdList& child : Children(pidlFolder.get(), grfFlags))
            names.push_back(NameOf(m_pDesktop, child.get(), SHGDN_INFOLDER));
        return names;
    }

    SFGAOF Attributes(const std::string& strName, SFGAOF sfgao = 0xFFFFFFFF) const
    {
        IdList pidl = Parse(strName);
        if (!pidl)
            return 0;
        auto [pidlParent, pidlItem] = SplitLast(pidl.get());
        IShellFolder* pParent = Bind(pidlParent.get());
        LPCITEMIDLIST apidl[] = { pidlItem.get() };
        EXPECT_EQ(pParent->GetAttributesOf(1, apidl, &sfgao), S_OK);
        pParent->Release();
        return sfgao;
    }

    IShellFolder* m_pDesktop { nullptr };
};

Names Sorted(Names names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// The names of a host folder in the host's own order, as "ls -f" lists them.
Names HostOrder(const std::string& strFolder)
{
    Names names;
    DIR* pDir = opendir(strFolder.c_str());
    while (const dirent* pEntry = readdir(pDir)) {
        std::string_view name = pEntry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(pEntry->d_name);
    }
    closedir(pDir);
    return names;
}

} // namespace

TEST_F(NamespaceTest, EnumerationFlagsChooseFoldersFilesAndHiddenNames)
{
    for (const char* pszFile : { "fixed/readme.txt", "fixed/.profile", "fixed/docs/a.txt" })
        Write(pszFile);
    MakeFolder("fixed/empty");
    MakeFolder("fixed/.cache");

    EXPECT_EQ(Sorted(ChildNames("P:\\", SHCONTF_FOLDERS)), (Names { "docs", "empty" }));
    EXPECT_EQ(Sorted(ChildNames("P:\\", SHCONTF_NONFOLDERS)), (Names { "readme.txt" }));
    EXPECT_EQ(
        Sorted(ChildNames("P:\\", SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN)), (Names { ".cache", "docs", "empty" }));
    EXPECT_EQ(
        Sorted(ChildNames("P:\\", SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN)), (Names { ".profile", "readme.txt" }));
    EXPECT_EQ(ChildNames("P:\\", 0xE0), HostOrder(Host("fixed"))) << "every item, in the host's order";
    EXPECT_EQ(ChildNames("P:\\", 0), Names {});

    // My Computer lists the letters in order; the desktop its virtual folders,
    // then the items of the desktop folder.
    Names drives = ChildNames("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", SHCONTF_FOLDERS);
    Names expected = { "Local Disk (C:)", "cd (D:)", "net (E:)", "fixed (P:)", "usb (Q:)" };
    EXPECT_EQ(drives, expected);
    EXPECT_EQ(ChildNames("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", SHCONTF_NONFOLDERS), Names {});
    Write("home/Desktop/note.txt");
    MakeFolder("home/Desktop/project");
    EXPECT_EQ(Sorted(ChildNames("", SHCONTF_FOLDERS | SHCONTF_NONFOLDERS)),
        (Names { "My Computer", "Network", "Recycle Bin", "note.txt", "project" }));
    EXPECT_EQ(ChildNames("", SHCONTF_NONFOLDERS), (Names { "note.txt" }));
    EXPECT_EQ(ChildNames("::{208D2C60-3AEA-1069-A2D7-08002B30309D}", SHCONTF_FOLDERS), (Names { "docs on server" }));
}

TEST_F(NamespaceTest, EveryEnumeratedItemParsesBackToTheSameBytes)
{
    for (const char* pszFile : { "fixed/docs/a.txt", "fixed/docs/sub/deep.txt", "fixed/Mixed Case.TXT", "usb/photo.png",
             "cd/setup.exe", "net/reports/q1.txt", "fixed/caf\xC3\xA9.txt", "home/Desktop/note.txt" })
        Write(pszFile);
    std::set<std::string> skip = { "C:\\" }; // the host's root is not walked
    int nChecked = 0;
    std::function<void(LPCITEMIDLIST, int)> walk = [&](LPCITEMIDLIST pidlFolder, int nDepth) {
        for (const IdList& child : Children(pidlFolder, 0xE0)) {
            std::string strParsing = NameOf(m_pDesktop, child.get(), SHGDN_FORPARSING);
            if (skip.count(strParsing))
                continue;
            IdList parsed = Parse(strParsing);
            ASSERT_TRUE(parsed) << strParsing;
            EXPECT_TRUE(SameBytes(parsed.get(), child.get())) << strParsing;
            ++nChecked;
            SFGAOF sfgao = SFGAO_FOLDER;
            auto [pidlParent, pidlItem] = SplitLast(child.get());
            IShellFolder* pParent = Bind(pidlParent.get());
            LPCITEMIDLIST apidl[] = { pidlItem.get() };
            pParent->GetAttributesOf(1, apidl, &sfgao);
            pParent->Release();
            if ((sfgao & SFGAO_FOLDER) && nDepth < 6)
                walk(child.get(), nDepth + 1);
        }
    };
    IdList desktop(static_cast<LPITEMIDLIST>(CoTaskMemAlloc(2)));
    std::memset(desktop.get(), 0, 2);
    walk(desktop.get(), 0);
    EXPECT_GE(nChecked, 20);
}

TEST_F(NamespaceTest, NamesAndAttributesOfEachKindOfItem)
{
    Write("fixed/docs/sub/x.txt");
    Write("fixed/docs/link.lnk");
    Write("fixed/app.DESKTOP");
    MakeFolder("fixed/empty");
    Write("usb/album/p.png");

    // Drives answer the drive filter's questions: a 3-character parsing name, file system, removable.
    constexpr SFGAOF DRIVE_FILTER = SFGAO_FILESYSTEM | SFGAO_REMOVABLE | SFGAO_LINK;
    EXPECT_EQ(Attributes("P:\\", DRIVE_FILTER), SFGAO_FILESYSTEM);
    EXPECT_EQ(Attributes("Q:\\", DRIVE_FILTER), SFGAO_FILESYSTEM | SFGAO_REMOVABLE);
    EXPECT_EQ(Attributes("D:\\", DRIVE_FILTER), SFGAO_FILESYSTEM | SFGAO_REMOVABLE);
    EXPECT_EQ(Attributes("E:\\", DRIVE_FILTER), SFGAO_FILESYSTEM);
    IdList drive = Parse("p:");
    ASSERT_TRUE(drive) << "a bare drive parses as its root";
    EXPECT_EQ(NameOf(m_pDesktop, drive.get(), SHGDN_FORPARSING), "P:\\");
    EXPECT_EQ(NameOf(m_pDesktop, drive.get(), SHGDN_NORMAL), "fixed (P:)");

    constexpr SFGAOF FOLDER_ASK = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER | SFGAO_LINK | SFGAO_REMOVABLE;
    EXPECT_EQ(Attributes("P:\\docs", FOLDER_ASK), SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER);
    EXPECT_EQ(Attributes("P:\\empty", FOLDER_ASK), SFGAO_FOLDER | SFGAO_FILESYSTEM);
    EXPECT_EQ(Attributes("P:\\docs\\link.lnk", FOLDER_ASK), SFGAO_FILESYSTEM | SFGAO_LINK);
    EXPECT_EQ(Attributes("P:\\app.desktop", FOLDER_ASK), SFGAO_FILESYSTEM | SFGAO_LINK);
    EXPECT_EQ(Attributes("Q:\\album", FOLDER_ASK), SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_REMOVABLE);
    EXPECT_EQ(Attributes("\\\\server\\docs", FOLDER_ASK), SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER);
    MakeFolder("net/empty");
    EXPECT_EQ(Attributes("E:\\empty", FOLDER_ASK), SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER)
        << "folders of other machines are not read";

    // Names: the name shown, the name in the folder, the parsing name.
    IdList file = Parse("p:\\DOCS\\SUB\\X.TXT");
    ASSERT_TRUE(file);
    EXPECT_EQ(NameOf(m_pDesktop, file.get(), SHGDN_FORPARSING), "P:\\docs\\sub\\x.txt")
        << "spelt as the host spells it";
    EXPECT_EQ(NameOf(m_pDesktop, file.get(), SHGDN_NORMAL), "x.txt");
    EXPECT_EQ(NameOf(m_pDesktop, file.get(), SHGDN_FORPARSING | SHGDN_INFOLDER), "x.txt");
    IdList share = Parse("\\\\SERVER\\docs");
    ASSERT_TRUE(share);
    EXPECT_EQ(NameOf(m_pDesktop, share.get(), SHGDN_NORMAL), "docs on server");
    EXPECT_EQ(NameOf(m_pDesktop, share.get(), SHGDN_FORPARSING), "\\\\server\\docs");
    IdList computer = Parse("::{20d04fe0-3aea-1069-a2d8-08002b30309d}");
    ASSERT_TRUE(computer);
    EXPECT_EQ(NameOf(m_pDesktop, computer.get(), SHGDN_NORMAL), "My Computer");
    EXPECT_EQ(NameOf(m_pDesktop, computer.get(), SHGDN_FORPARSING), "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
    EXPECT_EQ(Attributes("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", SFGAO_FILESYSTEM | SFGAO_FOLDER), SFGAO_FOLDER);

    HRESULT hr = S_OK;
    EXPECT_FALSE(Parse("P:\\docs\\missing.txt", &hr));
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(Parse("K:\\", &hr)) << "no such drive";
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
}

TEST_F(NamespaceTest, ListWalksOfCallersWorkOnOurLists)
{
    Write("fixed/docs/a.txt", "twelve bytes");
    IdList file = Parse("P:\\docs\\a.txt");
    ASSERT_TRUE(file);
    // [My Computer][P][docs][a.txt]: sizes from the counts.
    EXPECT_EQ(ListSize(file.get()), 6u + 6u + 14u + 14u + 2u);

    auto [parent, item] = SplitLast(file.get());
    IShellFolder* pDocs = Bind(parent.get());
    ASSERT_NE(pDocs, nullptr);
    EXPECT_EQ(NameOf(pDocs, item.get(), SHGDN_FORPARSING), "P:\\docs\\a.txt");
    EXPECT_TRUE(SameBytes(Concat(parent.get(), item.get()).get(), file.get()));

    // A relative name parses within its folder to the same item.
    LPITEMIDLIST pidlRelative = nullptr;
    std::u16string wide = u"a.txt";
    ASSERT_EQ(pDocs->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &pidlRelative, nullptr), S_OK);
    EXPECT_TRUE(SameBytes(pidlRelative, item.get()));
    CoTaskMemFree(pidlRelative);

    WIN32_FIND_DATA data {};
    ASSERT_EQ(SHGetDataFromIDList(pDocs, item.get(), SHGDFIL_FINDDATA, &data, sizeof data), S_OK);
    EXPECT_EQ(data.nFileSizeLow, 12u);
    EXPECT_STREQ(data.cFileName, "a.txt");
    EXPECT_EQ(SHGetDataFromIDList(pDocs, item.get(), 2, &data, sizeof data), E_INVALIDARG);
    pDocs->Release();

    char szPath[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDList(file.get(), szPath));
    EXPECT_STREQ(szPath, "P:\\docs\\a.txt");
    LPITEMIDLIST pidlDrives = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidlDrives), S_OK);
    EXPECT_FALSE(SHGetPathFromIDList(pidlDrives, szPath)) << "a virtual folder has no path";
    EXPECT_TRUE(SameBytes(pidlDrives, Parse("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}").get()));
    CoTaskMemFree(pidlDrives);
    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_STARTMENU, &pidlDrives), E_FAIL);
    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, 5, &pidlDrives), E_INVALIDARG);

    // The icon of an item list: virtual folders are system folders.
    SHFILEINFO info {};
    IdList bin = Parse("::{645FF040-5081-101B-9F08-00AA002F954E}");
    ASSERT_NE(SHGetFileInfo(reinterpret_cast<LPCTSTR>(bin.get()), 0, &info, sizeof info,
                  SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_TYPENAME),
        0u);
    EXPECT_EQ(info.iIcon, SYSICON_RECYCLE_EMPTY);
    EXPECT_STREQ(info.szTypeName, "System Folder");
    ASSERT_NE(SHGetFileInfo(reinterpret_cast<LPCTSTR>(file.get()), 0, &info, sizeof info,
                  SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_TYPENAME),
        0u);
    EXPECT_EQ(info.iIcon, SYSICON_TEXT);
    ASSERT_NE(SHGetFileInfo(reinterpret_cast<LPCTSTR>(Parse("Q:\\").get()), 0, &info, sizeof info,
                  SHGFI_PIDL | SHGFI_SYSICONINDEX),
        0u);
    EXPECT_EQ(info.iIcon, SYSICON_DRIVE_REMOVABLE);
}

TEST_F(NamespaceTest, DesktopItemsParseToTheDesktopsOwnItems)
{
    Write("home/Desktop/note.txt");
    std::string strPath = "C:" + Host("home/Desktop/note.txt");
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    IdList note = Parse(strPath);
    ASSERT_TRUE(note);
    EXPECT_EQ(ListSize(note.get()), 18u + 2u) << "one item under the desktop";
    EXPECT_EQ(NameOf(m_pDesktop, note.get(), SHGDN_FORPARSING), strPath) << "its parsing name is its full path";
    IdList relative = Parse("note.txt");
    ASSERT_TRUE(relative) << "the desktop parses its own names";
    EXPECT_TRUE(SameBytes(relative.get(), note.get()));
}

TEST_F(NamespaceTest, DamagedListsAreRefused)
{
    IShellFolder* pFolder = m_pDesktop;
    auto refused = [&](std::vector<BYTE> bytes) {
        bytes.push_back(0);
        bytes.push_back(0);
        STRRET name {};
        return pFolder->GetDisplayNameOf(reinterpret_cast<LPCITEMIDLIST>(bytes.data()), SHGDN_NORMAL, &name)
            == E_INVALIDARG;
    };
    EXPECT_TRUE(refused({ 7, 0, 0x5A, 1, 1, 0, 0 })) << "odd size";
    EXPECT_TRUE(refused({ 4, 0, 0x5A, 1 })) << "below 6";
    EXPECT_TRUE(refused({ 6, 0, 0x14, 1, 1, 0 })) << "another signature";
    EXPECT_TRUE(refused({ 6, 0, 0x5A, 9, 1, 0 })) << "unknown kind";
    EXPECT_TRUE(refused({ 6, 0, 0x5A, 1, 4, 0 })) << "unknown virtual folder";
    EXPECT_TRUE(refused({ 6, 0, 0x5A, 2, 'C', 0 })) << "a drive under the desktop";
    EXPECT_TRUE(refused({ 10, 0, 0x5A, 5, 0x80, 0, 0, 0, 'a', 'b' })) << "a name without its zero";
    EXPECT_TRUE(refused({ 10, 0, 0x5A, 5, 0x10, 0, 0, 0, 'a', 0 })) << "a file with a folder's attributes";
    std::vector<BYTE> many;
    for (int i = 0; i < 257; ++i)
        many.insert(many.end(), { 10, 0, 0x5A, 4, 0x10, 0, 0, 0, 'a', 0 });
    EXPECT_TRUE(refused(many)) << "more than 256 items";
    std::vector<BYTE> large = { 0, 0xFE, 0x5A, 5, 0x80, 0, 0, 0 };
    large.resize(0xFE00, 'x');
    large.back() = 0;
    std::vector<BYTE> huge = large;
    huge.insert(huge.end(), large.begin(), large.end());
    EXPECT_TRUE(refused(huge)) << "more than 64 KiB";
    EXPECT_FALSE(refused({ 10, 0, 0x5A, 5, 0x80, 0, 0, 0, 'a', 0 })) << "a sound file item";

    char szPath[MAX_PATH];
    std::vector<BYTE> damaged = { 6, 0, 0x5A, 1, 7, 0, 0, 0 };
    EXPECT_FALSE(SHGetPathFromIDList(reinterpret_cast<LPCITEMIDLIST>(damaged.data()), szPath));
    IShellFolder* pBound = nullptr;
    EXPECT_EQ(m_pDesktop->BindToObject(reinterpret_cast<LPCITEMIDLIST>(damaged.data()), nullptr, IID_IShellFolder,
                  reinterpret_cast<void**>(&pBound)),
        E_INVALIDARG);
}
