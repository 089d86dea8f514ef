#include "catalog/ShortcutFiles.h"

#include "platform/base/Com.h"
#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "platform/shell/ShellLink.h"
#include "tests/platform/shell/LnkBuilder.h"
#include "tests/support/DriveTreeFixture.h"

#include <fstream>

namespace {

class ShortcutFilesTest : public DriveTreeTest {
protected:
    void SetUp() override
    {
        DriveTreeTest::SetUp();
        RegisterComClass(CLSID_ShellLink, CreateShellLink);
    }
    void WriteLink(const std::string& strRelative, const std::vector<BYTE>& bytes) const
    {
        std::ofstream(Root() / strRelative, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

} // namespace

TEST(ShortcutNamesTest, OnlyTheLnkExtensionInAnyCaseIsAShortcut)
{
    EXPECT_TRUE(IsShortcutFile("C:\\menu\\Editor.lnk"));
    EXPECT_TRUE(IsShortcutFile("C:\\MENU\\EDITOR.LNK"));
    EXPECT_FALSE(IsShortcutFile("C:\\menu\\Editorlnk"));
    EXPECT_FALSE(IsShortcutFile("C:\\menu\\Editor.lnk.txt"));
    EXPECT_FALSE(IsShortcutFile("C:\\menu\\Editor.desktop"));
    EXPECT_FALSE(IsShortcutFile(nullptr));
}

TEST_F(ShortcutFilesTest, TargetIsReadAsWrittenAndTheLastErrorTellsFailures)
{
    WriteLink("report.lnk", LnkBuilder().LocalPath("C:\\docs\\", "gone.txt").Build());
    char szTarget[MAX_PATH] = "stale";
    WIN32_FIND_DATA findData {};

    // Not resolved: the target need not exist.
    ASSERT_NE(ResolveShortcut(szTarget, "C:\\report.lnk"), nullptr);
    EXPECT_STREQ(szTarget, "C:\\docs\\gone.txt");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);

    EXPECT_FALSE(ReadShortcutTarget("C:\\report.lnk", nullptr, szTarget, &findData));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(ReadShortcutTarget("C:\\report.txt", u"C:\\report.txt", szTarget, &findData));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);

    WriteFile("damaged.lnk", "not a shortcut");
    EXPECT_EQ(ResolveShortcut(szTarget, "C:\\damaged.lnk"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_STREQ(szTarget, "");
    EXPECT_EQ(ResolveShortcut(szTarget, "C:\\missing.lnk"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
}
