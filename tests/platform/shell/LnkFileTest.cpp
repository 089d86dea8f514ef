#include "platform/shell/LnkFile.h"

#include "tests/platform/shell/LnkBuilder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

CLnkFile Read(const std::vector<BYTE>& data)
{
    CLnkFile link;
    std::string strError;
    EXPECT_TRUE(ReadLnkFile(data, link, strError)) << strError;
    return link;
}

std::vector<BYTE> SharedFile(const char* pszName)
{
    std::optional<std::filesystem::path> path = SharedTestData(std::filesystem::path("lnk") / pszName);
    if (!path || !std::filesystem::exists(*path))
        return {};
    std::ifstream file(*path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(file), {});
}

} // namespace

TEST(LnkFileTest, LinkInfoGivesTheLocalOrSharedTarget)
{
    CLnkFile local
        = Read(LnkBuilder().LocalPath("C:\\Users\\", "Ren\xC9\\a.txt").Target(0x20, 1234, 0x01D0000012345678).Build());
    EXPECT_TRUE(local.bHasLocalBasePath);
    EXPECT_EQ(local.strLocalBasePath, "C:\\Users\\");
    EXPECT_EQ(local.strCommonPathSuffix, "Ren\xC3\x89\\a.txt") << "ANSI is Windows-1252";
    EXPECT_EQ(local.nFileSize, 1234u);
    EXPECT_EQ(local.ftWriteTime.dwHighDateTime, 0x01D00000u);

    CLnkFile unicode = Read(LnkBuilder().LocalPath("C:\\\xD0\x94\xD0\xB8", "x.txt", true).Build());
    EXPECT_EQ(unicode.strLocalBasePath, "C:\\\xD0\x94\xD0\xB8") << "the Unicode form is preferred";

    CLnkFile shared = Read(LnkBuilder().Share("\\\\server\\docs", "plans\\q1.txt").Build());
    EXPECT_TRUE(shared.bHasNetworkLink);
    EXPECT_FALSE(shared.bHasLocalBasePath);
    EXPECT_EQ(shared.strNetName, "\\\\server\\docs");
    EXPECT_EQ(shared.strCommonPathSuffix, "plans\\q1.txt");
}

TEST(LnkFileTest, StringsAndTheEnvironmentBlockAreRead)
{
    CLnkFile link = Read(LnkBuilder()
                             .IdList({ 4, 0, 0x5A, 0x5A, 0, 0 })
                             .Name("a name")
                             .RelativePath(".\\tool.exe")
                             .Arguments("-x \"a b\"  ")
                             .Environment("%ProgramFiles%\\tool.exe")
                             .Build());
    EXPECT_EQ(link.strName, "a name");
    EXPECT_EQ(link.strRelativePath, ".\\tool.exe");
    EXPECT_EQ(link.strArguments, "-x \"a b\"  ") << "trailing blanks are kept";
    EXPECT_EQ(link.strEnvironmentTarget, "%ProgramFiles%\\tool.exe");
}

TEST(LnkFileTest, DamageIsRefusedAtEveryLength)
{
    std::vector<BYTE> good = LnkBuilder()
                                 .IdList({ 4, 0, 1, 2, 0, 0 })
                                 .LocalPath("C:\\x\\", "y.txt", true)
                                 .Arguments("-a")
                                 .Environment("%x%")
                                 .Build();
    CLnkFile link;
    std::string strError;
    // Every cut before the extra data is refused; none reads past the data (the sanitizers watch).
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<BYTE> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        bool bRead = ReadLnkFile(cut, link, strError);
        if (n < good.size() - 4 - 0x314) {
            EXPECT_FALSE(bRead) << "cut at " << n;
        }
    }
    std::vector<BYTE> foreign = good;
    foreign[4] ^= 1;
    EXPECT_FALSE(ReadLnkFile(foreign, link, strError)) << "another class id";
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        std::vector<BYTE> flipped = good;
        flipped[random() % flipped.size()] = static_cast<BYTE>(random());
        static_cast<void>(ReadLnkFile(flipped, link, strError));
    }
    EXPECT_FALSE(ReadLnkFile(std::vector<BYTE>(LNK_MAX_SIZE + 1), link, strError));
}

TEST(LnkFileTest, ShortcutsWrittenByWindows)
{
    if (SharedFile("winxp-wordpad.lnk").empty())
        GTEST_SKIP() << "no shared shortcut files";
    CLnkFile link = Read(SharedFile("winxp-wordpad.lnk"));
    EXPECT_EQ(
        link.strLocalBasePath + link.strCommonPathSuffix, "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe");
    EXPECT_EQ(link.strRelativePath, "..\\..\\..\\..\\..\\Program Files\\Windows NT\\Accessories\\wordpad.exe");
    EXPECT_EQ(link.nFileSize, 214528u);

    link = Read(SharedFile("winxp-network-share-latin1.lnk"));
    EXPECT_EQ(link.strNetName, "\\\\ALS-FICHIERS3\\QUALIT\xC3\x89");
    EXPECT_EQ(link.strCommonPathSuffix, "Archives\\M\xC3\xA9thodologie WAS\\Norme de d\xC3\xA9veloppement JAVA.doc");

    link = Read(SharedFile("win7-folder-users-administrator.lnk"));
    EXPECT_EQ(link.strLocalBasePath, "C:\\Users\\");
    EXPECT_EQ(link.strCommonPathSuffix, "Administrator");
    EXPECT_EQ(link.dwFileAttributes, 0x2010u);

    link = Read(SharedFile("win81-photos-app-no-idlist.lnk"));
    EXPECT_TRUE(link.dwFlags & LNK_FORCE_NO_LINK_INFO);
    EXPECT_EQ(link.strEnvironmentTarget, "%windir%\\FileManager\\PhotosApp.exe");

    link = Read(SharedFile("win7-x64-nero-infotool-arguments.lnk"));
    EXPECT_EQ(link.strArguments, "-ScParameter=30002  ");

    link = Read(SharedFile("vista-windows-update.lnk"));
    EXPECT_EQ(link.strLocalBasePath, "D:\\Windows\\System32\\wuapp.exe");
    EXPECT_EQ(link.strEnvironmentTarget, "%SystemRoot%\\system32\\wuapp.exe");

    link = Read(SharedFile("mapped-drive-network-share.lnk"));
    EXPECT_EQ(link.strNetName, "\\\\10.0.0.150\\LMmetal");

    link = Read(SharedFile("spec-example-c-test-a-txt.lnk"));
    EXPECT_EQ(link.strLocalBasePath, "C:\\test\\a.txt");
    EXPECT_EQ(link.strRelativePath, ".\\a.txt");
    EXPECT_EQ(link.strWorkingDir, "C:\\test");

    link = Read(SharedFile("unpaired-surrogate-name.lnk"));
    EXPECT_NE(link.strLocalBasePath.find("\xEF\xBF\xBD"), std::string::npos) << "a lone surrogate becomes U+FFFD";

    // Every file ends cleanly, the damaged one included.
    for (const auto& entry : std::filesystem::directory_iterator(*SharedTestData("lnk"))) {
        if (entry.path().extension() != ".lnk")
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        std::vector<BYTE> data(std::istreambuf_iterator<char>(file), {});
        CLnkFile any;
        std::string strError;
        bool bRead = ReadLnkFile(data, any, strError);
        EXPECT_TRUE(bRead || entry.path().filename().string().find("damaged") != std::string::npos)
            << entry.path() << ": " << strError;
    }
}
