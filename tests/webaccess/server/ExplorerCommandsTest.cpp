#include "webaccess/server/CWACmdEtree.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "tests/support/DriveTreeFixture.h"
#include "tests/support/ScopedVariable.h"
#include "tests/ui/ProgramModule.h"
#include "tests/webaccess/server/GoldenReply.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/WebCommands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>

namespace {

constexpr std::time_t FIXED_TIME = 1136214245; // Jan 02, 2006 15:04:05 UTC

// EDIR and ETREE over drives made for the test: C: and whatever a test adds.
class ExplorerCommandsTest : public DriveTreeTest {
protected:
    void SetUp() override
    {
        DriveTreeTest::SetUp();
        tzset();
        // The catalog and the reply are files, which the tree does not show.
        m_pCatalog = std::make_unique<CCatalog>("C:\\archiv.cat", 1);
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity("pw", "pw", "");
        pProfile->SetPermissions(TRUE, TRUE, 1);
        CWAGroupRightsMap rights; // every group: the explorer right
        rights.SetAt(WA_ALL_GROUPS, WA_GROUP_WHOLE);
        pProfile->SetGroupRights(rights);
        m_settings.m_profiles.push_back(std::move(pProfile));
        const auto pLogin = CreateWebCommand("<#LOGIN |7| |ana| |pw| |x|#>");
        m_pSession = std::make_unique<CWASession>(static_cast<CWACmdLogin&>(*pLogin), m_settings, *m_pCatalog);
    }
    void TearDown() override
    {
        m_pSession.reset();
        m_pCatalog.reset();
        DriveTreeTest::TearDown();
    }

    // The reply of a prepared command.
    std::string Reply(CWACommand& command)
    {
        CWAOutputFile reply;
        EXPECT_TRUE(reply.Open("C:\\reply.out", FALSE));
        EXPECT_TRUE(command.Execute(reply, *m_pSession, 0));
        reply.Close();
        std::ifstream file(Root() / "reply.out", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string Tree(int nMaxEntries = CWACmdEtree::MAX_ENTRIES)
    {
        CWACmdEtree command(nMaxEntries);
        EXPECT_TRUE(command.Prepare(*m_pSession));
        return Reply(command);
    }

    static std::filesystem::path HostFolder(const char* pszProgramPath)
    {
        std::string strHost;
        EXPECT_TRUE(HostPathFromProgramPath(pszProgramPath, strHost));
        return strHost;
    }

    ScopedVariable m_zone { "TZ", "UTC" };
    ProgramModule m_module;
    std::unique_ptr<CCatalog> m_pCatalog;
    CWASettings m_settings;
    std::unique_ptr<CWASession> m_pSession;
};

} // namespace

/* EDIR */

// The whole page of a folder among its siblings: the up row, a sub-folder, a
// hidden item, files of 0, 1 025 and 1 048 576 bytes, a name that must be
// escaped and one cut to its column, the path bar and the filler row, with the
// program's own texts.
TEST_F(ExplorerCommandsTest, ExplorerPageIsPinnedByteForByte)
{
    MakeFolder("aaa");
    MakeFolder("box/inner");
    MakeFolder("zzz");
    WriteFile("box/.hidden");
    WriteFile("box/empty.txt", "");
    WriteFile("box/one.txt", std::string(1025, 'x'));
    WriteFile("box/it's & co.txt");
    WriteFile("box/a name far too long to be shown whole in the explorer's name column.txt");
    std::ofstream(Root() / "box" / "big.bin").close();
    std::filesystem::resize_file(Root() / "box" / "big.bin", 1048576);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Root()))
        std::filesystem::last_write_time(entry.path(),
            std::filesystem::file_time_type::clock::from_sys(std::chrono::system_clock::from_time_t(FIXED_TIME)));
    const auto pCommand = CreateWebCommand("<#EDIR |C:/box|#>");
    ASSERT_EQ(pCommand->GetStatus(), WA_STATUS_OK);
    ASSERT_TRUE(pCommand->Prepare(*m_pSession));
    ExpectGoldenReply(Reply(*pCommand), "edir_page.txt");
}

/* ETREE */

TEST_F(ExplorerCommandsTest, EachFolderListsItsChildrenTogetherAfterWhatCameBefore)
{
    MakeFolder("a/x");
    MakeFolder("a/y/deep");
    MakeFolder("b");
    MakeFolder(".hidden/inside");
    WriteFile("a/file.txt");
    AddDrive('D', DRIVE_FIXED);
    AddDrive('E', DRIVE_REMOVABLE);
    std::filesystem::create_directories(HostFolder("D:\\") / "d1");
    std::filesystem::create_directories(HostFolder("E:\\") / "e1");
    EXPECT_EQ(Tree(),
        "\r\n<#TRSZ |8|#>\r\n"
        "<#TRIT |0| |-1| |2| |C:| |C:|#>\r\n"
        "<#TRIT |0| |-1| |7| |D:| |D:|#>\r\n"
        "<#TRIT |1| |0| |4| |a| |a|#>\r\n"
        "<#TRIT |1| |0| |-1| |b| |b|#>\r\n"
        "<#TRIT |2| |2| |-1| |x| |x|#>\r\n"
        "<#TRIT |2| |2| |6| |y| |y|#>\r\n"
        "<#TRIT |3| |5| |-1| |deep| |deep|#>\r\n"
        "<#TRIT |1| |1| |-1| |d1| |d1|#>\r\n");
}

TEST_F(ExplorerCommandsTest, LinkedFoldersAreListedButNotEntered)
{
    MakeFolder("loop/real");
    std::filesystem::create_directory_symlink(Root() / "loop", Root() / "loop" / "back");
    EXPECT_EQ(Tree(),
        "\r\n<#TRSZ |4|#>\r\n"
        "<#TRIT |0| |-1| |1| |C:| |C:|#>\r\n"
        "<#TRIT |1| |0| |2| |loop| |loop|#>\r\n"
        "<#TRIT |2| |1| |-1| |back| |back|#>\r\n"
        "<#TRIT |2| |1| |-1| |real| |real|#>\r\n");
}

// A file system mounted inside the drive (here the root's own device bound
// again, which would lead the walk round in a circle) is listed, not entered.
TEST_F(ExplorerCommandsTest, MountedFoldersAreListedButNotEntered)
{
    MakeFolder("bound/inside");
    MakeFolder("plain/inside");
    const std::string strBound = (Root() / "bound").string();
    ReloadDriveTable(
        ("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 8:1 / " + strBound + " rw - ext4 /dev/sda1 rw\n").c_str());
    EXPECT_EQ(Tree(),
        "\r\n<#TRSZ |4|#>\r\n"
        "<#TRIT |0| |-1| |1| |C:| |C:|#>\r\n"
        "<#TRIT |1| |0| |-1| |bound| |bound|#>\r\n"
        "<#TRIT |1| |0| |3| |plain| |plain|#>\r\n"
        "<#TRIT |2| |2| |-1| |inside| |inside|#>\r\n");
}

TEST_F(ExplorerCommandsTest, TheCapCutsTheTreeWithoutIndexesPastItsEnd)
{
    MakeFolder("a/a1/a11");
    MakeFolder("a/a2");
    MakeFolder("b/b1");
    MakeFolder("c");
    // C:, its three folders, then one of a's two children fits.
    EXPECT_EQ(Tree(5),
        "\r\n<#TRSZ |5|#>\r\n"
        "<#TRIT |0| |-1| |1| |C:| |C:|#>\r\n"
        "<#TRIT |1| |0| |4| |a| |a|#>\r\n"
        "<#TRIT |1| |0| |-1| |b| |b|#>\r\n"
        "<#TRIT |1| |0| |-1| |c| |c|#>\r\n"
        "<#TRIT |2| |1| |-1| |a1| |a1|#>\r\n");
}

TEST_F(ExplorerCommandsTest, NamesCannotBreakTheirToken)
{
    MakeFolder("it's|a <b>");
    const std::string strReply = Tree();
    EXPECT_NE(strReply.find("<#TRIT |1| |0| |-1| |it&#39;s&#124;a &#60;b&#62;| |it&#39;s&#124;a &#60;b&#62;|#>\r\n"),
        std::string::npos)
        << strReply;
}

TEST_F(ExplorerCommandsTest, WithoutFixedDrivesTheEarlierTreeStays)
{
    MakeFolder("a");
    CWACmdEtree command;
    ASSERT_TRUE(command.Prepare(*m_pSession));
    ASSERT_EQ(command.GetEntries().size(), 2u);
    ASSERT_TRUE(SetDriveOverride('C', Root().string().c_str(), DRIVE_REMOVABLE));
    EXPECT_TRUE(command.Prepare(*m_pSession));
    EXPECT_EQ(command.GetEntries().size(), 2u);
    CWACmdEtree fresh;
    EXPECT_TRUE(fresh.Prepare(*m_pSession));
    EXPECT_TRUE(fresh.GetEntries().empty());
}

TEST_F(ExplorerCommandsTest, TokenTakesNoFieldsAndNeedsTheExplorerRight)
{
    const auto pCommand = CreateWebCommand("<#ETREE#>");
    ASSERT_NE(pCommand, nullptr);
    EXPECT_EQ(pCommand->GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(pCommand->GetId(), WA_CMD_ETREE);
    EXPECT_TRUE(pCommand->NeedsExplorerRight());
    EXPECT_EQ(pCommand->GetLogText(), CString("Get Explorer TREE"));
    EXPECT_EQ(CreateWebCommand("<#ETREE |C:/|#>")->GetStatus(), WA_STATUS_MALFORMED);
}
