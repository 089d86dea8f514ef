#include "platform/shell/ShellExecute.h"

#include "platform/base/ProgramFolder.h"
#include "platform/base/WinError.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/shell/WindowsCommandLine.h"
#include "tests/platform/shell/LauncherFixture.h"
#include "tests/support/WaitUntil.h"

#include <chrono>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Args = std::vector<std::string>;

class ShellExecuteTest : public LauncherTest {
protected:
    INT_PTR Open(const char* pszFile, const char* pszParameters = nullptr, const char* pszDirectory = nullptr,
        const char* pszVerb = "open")
    {
        return reinterpret_cast<INT_PTR>(ShellExecute(nullptr, pszVerb, pszFile, pszParameters, pszDirectory, 1));
    }
    Args Last() const { return m_launches.GetLaunches().empty() ? Args {} : m_launches.GetLaunches().back(); }

    CLaunchOverride m_launches;
};

} // namespace

TEST(WindowsCommandLineTest, QuotesAndBackslashesFollowTheWindowsRules)
{
    EXPECT_EQ(SplitWindowsCommandLine(R"(a "b c" d)"), (Args { "a", "b c", "d" }));
    EXPECT_EQ(SplitWindowsCommandLine(R"("c:\program files\x" -ds)"), (Args { R"(c:\program files\x)", "-ds" }));
    EXPECT_EQ(SplitWindowsCommandLine(R"(a\\\"b "c\\" d\e)"), (Args { R"(a\"b)", R"(c\)", R"(d\e)" }));
    EXPECT_EQ(SplitWindowsCommandLine(R"("say ""hi""" "")"), (Args { R"(say "hi")", "" }));
    EXPECT_EQ(SplitWindowsCommandLine("  \t "), Args {});
}

TEST_F(ShellExecuteTest, EachKindOfTargetStartsWhatTheDesktopWould)
{
    Write("fixed/docs/a.txt");
    Write("fixed/docs/unknown.zzqq");
    std::string strTool = Write("fixed/bin/tool", "#!/bin/sh\n");
    chmod(strTool.c_str(), 0755);
    std::string strLauncher = WriteLauncher("test-editor.desktop", "Test Editor", "editor --new %F", "text/plain;");
    SetDefault("text/plain", "test-editor.desktop");
    MakeFolder("fixed/apps");
    std::filesystem::copy_file(strLauncher, Host("fixed/apps/editor.desktop"));

    EXPECT_GT(Open("https://example.org/a?b"), 32);
    EXPECT_EQ(Last(), (Args { "xdg-open", "https://example.org/a?b" }));
    EXPECT_GT(Open("mailto:ana@example.org"), 32);
    EXPECT_EQ(Last(), (Args { "xdg-open", "mailto:ana@example.org" }));
    EXPECT_GT(Open("P:\\docs"), 32);
    EXPECT_EQ(Last(), (Args { "xdg-open", Host("fixed/docs") }));
    EXPECT_GT(Open("P:\\apps\\EDITOR~1.DES", "P:\\docs\\a.txt \"https://example.org/x\""), 32)
        << "a launcher named by its short name";
    EXPECT_EQ(Last(), (Args { "editor", "--new", Host("fixed/docs/a.txt") }));
    EXPECT_GT(Open("P:\\bin\\tool", "-x \"P:\\docs\\a.txt\" c:not-a-path"), 32);
    EXPECT_EQ(Last(), (Args { strTool, "-x", Host("fixed/docs/a.txt"), "c:not-a-path" }));
    EXPECT_GT(Open("p:\\docs\\a.txt"), 32);
    EXPECT_EQ(Last(), (Args { "xdg-open", Host("fixed/docs/a.txt") }));

    char szOwn[MAX_PATH];
    GetModuleFileName(nullptr, szOwn, MAX_PATH);
    EXPECT_GT(Open(szOwn, "-ds"), 32);
    char szExe[4096] {};
    ASSERT_GT(readlink("/proc/self/exe", szExe, sizeof szExe - 1), 0);
    EXPECT_EQ(Last(), (Args { szExe, "-ds" }));

    size_t nLaunches = m_launches.GetLaunches().size();
    EXPECT_EQ(Open("P:\\docs\\unknown.zzqq"), SE_ERR_NOASSOC);
    EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION);
    EXPECT_EQ(Open("P:\\docs\\missing.txt"), SE_ERR_FNF);
    EXPECT_EQ(Open("P:\\docs\\a.txt", nullptr, nullptr, "print"), SE_ERR_NOASSOC);
    EXPECT_EQ(m_launches.GetLaunches().size(), nLaunches) << "nothing started";
}

TEST_F(ShellExecuteTest, TheWorkingFolderAndTheExtendedForm)
{
    Write("fixed/docs/a.txt");
    SHELLEXECUTEINFO info {};
    info.cbSize = 60; // as the 32-bit program writes it
    info.lpVerb = "OPEN";
    info.lpFile = "https://example.org/";
    info.lpDirectory = "P:\\docs";
    ASSERT_TRUE(ShellExecuteEx(&info));
    EXPECT_GT(reinterpret_cast<INT_PTR>(info.hInstApp), 32);
    EXPECT_EQ(m_launches.GetWorkingFolders().back(), Host("fixed/docs"));
    info.lpFile = "P:\\nothing";
    EXPECT_FALSE(ShellExecuteEx(&info));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(info.hInstApp), SE_ERR_FNF);
    info.lpFile = "https://example.org/";
    info.lpDirectory = "P:\\no such folder";
    EXPECT_FALSE(ShellExecuteEx(&info));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(info.hInstApp), SE_ERR_PNF);
}

TEST_F(LauncherTest, ARealStartPassesItsArgumentsAndFolder)
{
    std::string strOut = Host("fixed/out.txt");
    std::string strHelper = Write("fixed/helper",
        "#!/bin/sh\npwd > \"" + strOut + ".tmp\"\nprintf '%s\\n' \"$@\" >> \"" + strOut + ".tmp\"\nmv \"" + strOut
            + ".tmp\" \"" + strOut + "\"\n");
    chmod(strHelper.c_str(), 0755);
    Write("fixed/docs/a b.txt");
    ASSERT_GT(reinterpret_cast<INT_PTR>(
                  ShellExecute(nullptr, nullptr, "P:\\helper", "\"P:\\docs\\a b.txt\" plain", "P:\\docs", 1)),
        32);
    WaitUntil([&] { return std::filesystem::exists(strOut); });
    std::ifstream file(strOut);
    std::string strText((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(strText, Host("fixed/docs") + "\n" + Host("fixed/docs/a b.txt") + "\nplain\n");
}
