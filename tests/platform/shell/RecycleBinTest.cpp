#include "platform/shell/RecycleBin.h"

#include "platform/base/PathNames.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/FileOperation.h"
#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellParsingName.h"
#include "platform/shell/TrashInfo.h"
#include "tests/platform/shell/ShellTreeFixture.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr FILEOP_FLAGS TO_BIN = 0x454;   // silent, no confirmation, undo, no error box
constexpr FILEOP_FLAGS FOR_GOOD = 0x414; // the same without undo
constexpr FILEOP_FLAGS RESTORE = FOF_SILENT | FOF_NOERRORUI;

class RecycleBinTest : public ShellTreeTest {
protected:
    int Run(UINT wFunc, const std::string& strFrom, const std::string& strTo, FILEOP_FLAGS fFlags)
    {
        std::string strList = strFrom + std::string(2, '\0');
        SHFILEOPSTRUCT op {};
        op.wFunc = wFunc;
        op.pFrom = strList.c_str();
        op.pTo = strTo.empty() ? nullptr : strTo.c_str();
        op.fFlags = fFlags;
        return SHFileOperation(&op);
    }

    static std::string ReadFile(const std::string& strHostPath)
    {
        std::ifstream file(strHostPath);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    // The names of the bin's non-folder items in the order the Recycle Bin folder gives them.
    static std::vector<std::string> BinNames()
    {
        std::vector<std::string> names;
        IShellFolder* pDesktop = nullptr;
        IShellFolder* pBin = nullptr;
        LPITEMIDLIST pidlBin = nullptr;
        SHGetDesktopFolder(&pDesktop);
        SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &pidlBin);
        pDesktop->BindToObject(pidlBin, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pBin));
        IEnumIDList* pEnum = nullptr;
        pBin->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &pEnum);
        LPITEMIDLIST pidl = nullptr;
        while (pEnum->Next(1, &pidl, nullptr) == S_OK) {
            // The path of each item, as a caller takes it to learn the bin's names:
            // the bin's one item, then the item with its terminator.
            char szPath[MAX_PATH];
            size_t nBin = pidlBin->mkid.cb;
            size_t nItem = pidl->mkid.cb;
            auto* pidlFull = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(nBin + nItem + 2));
            std::memcpy(pidlFull, pidlBin, nBin);
            std::memcpy(reinterpret_cast<BYTE*>(pidlFull) + nBin, pidl, nItem + 2);
            if (SHGetPathFromIDList(pidlFull, szPath))
                names.push_back(szPath);
            CoTaskMemFree(pidlFull);
            CoTaskMemFree(pidl);
        }
        pEnum->Release();
        pBin->Release();
        pDesktop->Release();
        CoTaskMemFree(pidlBin);
        return names;
    }
};

// The number a caller predicts for the name the bin just gave on a drive: the
// last of the run of "d<letter>" names, in the bin's order.
unsigned long PredictedNumber(const std::vector<std::string>& names, char chLetter)
{
    std::string strRun = std::string("d") + chLetter;
    std::string strCandidate;
    for (const std::string& strPath : names) {
        std::string strName = Utf8ToLower(strPath.substr(strPath.rfind('\\') + 1));
        strName = strName.substr(0, strName.rfind('.'));
        if (strName.compare(0, 2, strRun) == 0)
            strCandidate = strName;
        else if (!strCandidate.empty())
            break;
    }
    return strCandidate.empty() ? 0 : std::strtoul(strCandidate.c_str() + 2, nullptr, 10);
}

} // namespace

TEST_F(RecycleBinTest, DeletedFilesGetPredictableNamesAndValidInfo)
{
    // Items already there: ours of another drive and of this one, and another program's.
    Write("home/.local/share/Trash/files/dq3.png");
    Write("home/.local/share/Trash/files/dp7.txt");
    Write("home/.local/share/Trash/files/report.odt", "theirs");
    Write("home/.local/share/Trash/files/report.2.odt", "theirs too");
    Write("home/.local/share/Trash/info/report.odt.trashinfo", "[Trash Info]\nPath=/somewhere/report.odt\n");
    std::string strFirst = Write("fixed/docs/plan.txt", "plan");
    Write("fixed/docs/notes", "no extension");
    MakeFolder("fixed/docs/old folder.d");

    for (const auto& [strItem, nNumber] :
        { std::pair<std::string, unsigned long> { "P:\\docs\\plan.txt", 8 }, { "P:\\docs\\notes", 9 } }) {
        ASSERT_EQ(Run(FO_DELETE, strItem, "", TO_BIN), 0) << strItem;
        EXPECT_EQ(PredictedNumber(BinNames(), 'p'), nNumber) << "the caller's prediction holds after " << strItem;
    }
    ASSERT_EQ(Run(FO_DELETE, "P:\\docs\\old folder.d", "", TO_BIN), 0);
    std::string strTrash = HomeTrash();
    EXPECT_EQ(ReadFile(strTrash + "/files/dp8.txt"), "plan");
    EXPECT_EQ(ReadFile(strTrash + "/files/dp9"), "no extension");
    EXPECT_TRUE(std::filesystem::is_directory(strTrash + "/files/dp10.d"));
    EXPECT_FALSE(std::filesystem::exists(strFirst));
    CTrashInfo info;
    ASSERT_TRUE(ParseTrashInfo(ReadFile(strTrash + "/info/dp10.d.trashinfo"), "", info));
    EXPECT_EQ(info.strPath, Host("fixed/docs/old folder.d"));
    EXPECT_EQ(ReadFile(strTrash + "/files/report.odt"), "theirs") << "other programs' items are untouched";
    EXPECT_EQ(ReadFile(strTrash + "/files/report.2.odt"), "theirs too");

    // The bin lists its own names first, by letter and number, then the others.
    std::vector<std::string> expected
        = { "P:\\RECYCLED\\dp7.txt", "P:\\RECYCLED\\dp8.txt", "P:\\RECYCLED\\dp9", "Q:\\RECYCLED\\dq3.png" };
    std::vector<std::string> names = BinNames();
    ASSERT_GE(names.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4), expected);
    EXPECT_EQ(names[4].substr(names[4].rfind('\\') + 1), "report.2.odt");
}

TEST_F(RecycleBinTest, RestoreAndFinalDeleteGoThroughTheBinLocation)
{
    Write("fixed/a.txt", "a");
    Write("fixed/b.txt", "b");
    Write("fixed/c.txt", "c");
    ASSERT_EQ(Run(FO_DELETE, "P:\\a.txt", "", TO_BIN), 0);
    ASSERT_EQ(Run(FO_DELETE, "P:\\b.txt", "", TO_BIN), 0);
    ASSERT_EQ(Run(FO_DELETE, "P:\\c.txt", "", TO_BIN), 0);
    std::string strTrash = HomeTrash();
    EXPECT_EQ(access("P:\\RECYCLED\\dp1.txt", 0), -1) << "the host is not asked for program paths";

    ASSERT_EQ(Run(FO_MOVE, "p:\\recycled\\dp1.txt", "P:\\a.txt", RESTORE), 0);
    EXPECT_EQ(ReadFile(Host("fixed/a.txt")), "a");
    EXPECT_FALSE(std::filesystem::exists(strTrash + "/info/dp1.txt.trashinfo")) << "restored: its info goes";

    ASSERT_EQ(Run(FO_DELETE, "P:\\RECYCLED\\dp2.txt", "", FOR_GOOD), 0);
    EXPECT_FALSE(std::filesystem::exists(strTrash + "/files/dp2.txt"));
    EXPECT_FALSE(std::filesystem::exists(strTrash + "/info/dp2.txt.trashinfo"));
    ASSERT_EQ(Run(FO_DELETE, "P:\\RECYCLED\\dp3.txt", "", TO_BIN), 0) << "undo on a bin location deletes for good";
    EXPECT_FALSE(std::filesystem::exists(strTrash + "/files/dp3.txt"));
    EXPECT_FALSE(std::filesystem::exists(strTrash + "/info/dp3.txt.trashinfo"));
}

TEST_F(RecycleBinTest, OnlyFixedDrivesKeepWhatTheyDelete)
{
    Write("usb/photo.png");
    ASSERT_EQ(Run(FO_DELETE, "Q:\\photo.png", "", TO_BIN), 0);
    EXPECT_FALSE(std::filesystem::exists(Host("usb/photo.png")));
    EXPECT_FALSE(std::filesystem::exists(HomeTrash() + "/files")) << "a removable drive deletes for good";
    Write("net/shared.txt");
    ASSERT_EQ(Run(FO_DELETE, "\\\\server\\docs\\shared.txt", "", TO_BIN), 0);
    EXPECT_FALSE(std::filesystem::exists(HomeTrash() + "/files"));
}

TEST_F(RecycleBinTest, BinItemsShowTheirOriginalNames)
{
    Write("fixed/caf\xC3\xA9 menu.txt");
    ASSERT_EQ(Run(FO_DELETE, "P:\\caf\xC3\xA9 menu.txt", "", TO_BIN), 0);
    Write("home/.local/share/Trash/files/dp9.txt");
    Write("home/.local/share/Trash/info/dp9.txt.trashinfo", "damaged");

    IShellFolder* pDesktop = nullptr;
    ASSERT_EQ(SHGetDesktopFolder(&pDesktop), S_OK);
    for (const auto& [strPath, strShown] :
        { std::pair<std::string, std::string> { "P:\\RECYCLED\\dp1.txt", "caf\xC3\xA9 menu.txt" },
            { "P:\\RECYCLED\\dp9.txt", "dp9.txt" } }) {
        std::u16string wide = Utf16FromUtf8(strPath);
        LPITEMIDLIST pidl = nullptr;
        ASSERT_EQ(pDesktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &pidl, nullptr), S_OK) << strPath;
        STRRET name {};
        ASSERT_EQ(pDesktop->GetDisplayNameOf(pidl, SHGDN_NORMAL, &name), S_OK);
        EXPECT_STREQ(name.cStr, strShown.c_str()) << "a damaged info file only loses the original name";
        ASSERT_EQ(pDesktop->GetDisplayNameOf(pidl, SHGDN_FORPARSING, &name), S_OK);
        EXPECT_EQ(std::string(name.cStr), strPath);
        CoTaskMemFree(pidl);
    }
    pDesktop->Release();
}

TEST_F(RecycleBinTest, ASecondFileSystemUsesItsOwnTrash)
{
    struct stat home { };
    struct stat shm { };
    if (stat(m_strRoot.c_str(), &home) != 0 || stat("/dev/shm", &shm) != 0 || home.st_dev == shm.st_dev
        || access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "this machine has no second writable file system at /dev/shm";
    std::string strTrash = "/dev/shm/.Trash-" + std::to_string(getuid());
    if (std::filesystem::exists(strTrash))
        GTEST_SKIP() << strTrash << " exists already and is not ours to change";
    char szFolder[] = "/dev/shm/archivora-test-XXXXXX";
    ASSERT_NE(mkdtemp(szFolder), nullptr);
    struct Cleanup {
        std::string strFolder, strTrash;
        ~Cleanup()
        {
            std::filesystem::remove_all(strFolder);
            std::filesystem::remove_all(strTrash);
        }
    } cleanup { szFolder, strTrash };
    ASSERT_TRUE(SetDriveOverride('S', szFolder, DRIVE_FIXED));
    std::ofstream(std::string(szFolder) + "/memo.txt") << "memo";

    ASSERT_EQ(Run(FO_DELETE, "S:\\memo.txt", "", TO_BIN), 0);
    EXPECT_TRUE(std::filesystem::exists(strTrash + "/files/ds1.txt"));
    EXPECT_FALSE(std::filesystem::exists(HomeTrash() + "/files/ds1.txt"));
    CTrashInfo info;
    ASSERT_TRUE(ParseTrashInfo(ReadFile(strTrash + "/info/ds1.txt.trashinfo"), "/dev/shm", info));
    EXPECT_EQ(info.strPath, std::string(szFolder) + "/memo.txt");
    EXPECT_NE(ReadFile(strTrash + "/info/ds1.txt.trashinfo").find("Path=archivora-test-"), std::string::npos)
        << "relative to its top directory";
    ASSERT_EQ(Run(FO_MOVE, "S:\\RECYCLED\\ds1.txt", std::string("S:\\memo.txt"), RESTORE), 0);
    EXPECT_EQ(ReadFile(std::string(szFolder) + "/memo.txt"), "memo");
}

TEST_F(RecycleBinTest, ParsingNamesOfBinLocationsAgreeWithTheNamespace)
{
    Write("fixed/Plan.txt");
    ASSERT_EQ(Run(FO_DELETE, "P:\\Plan.txt", "", TO_BIN), 0);
    EXPECT_EQ(std::string(GetShellParsingName("p:\\recycled\\DP1.TXT")), "P:\\RECYCLED\\dp1.txt");
    EXPECT_EQ(BinNames(), (std::vector<std::string> { "P:\\RECYCLED\\dp1.txt" }));
}
