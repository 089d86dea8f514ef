#include "frame/ShellCommand.h"

#include "store/CRegistryKey.h"
#include "tests/support/TempFolder.h"

#include "platform/base/PathMap.h"
#include "platform/shell/ProgramLaunch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// Types registered under a classes root of the test's own registry.
class ShellCommandTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_TRUE(m_root.Create(HKEY_CURRENT_USER, "Software\\Test Classes"));
    }

    // Sets the default value of a key below the root.
    void SetDefault(const char* pszKey, const char* pszValue)
    {
        CRegistryKey key;
        ASSERT_TRUE(key.Create(m_root, pszKey));
        ASSERT_TRUE(key.SetString("", pszValue));
    }
    void SetCommand(const char* pszClass, const char* pszVerb, const char* pszCommand)
    {
        const CString strKey = CString(pszClass) + "\\shell\\" + pszVerb + "\\command";
        SetDefault(strKey, pszCommand);
    }
    BOOL Resolve(const char* pszType) { return ResolveShellCommand(pszType, m_strProgram, m_strParameters, m_root); }

    CRegistryKey m_root;
    CString m_strProgram { "left over" };
    CString m_strParameters { "left over" };
};

} // namespace

TEST_F(ShellCommandTest, AnExtensionNamesItsClassAndEditKeepsItsFixedParameters)
{
    SetDefault(".odt", "Writer.Document");
    SetCommand("Writer.Document", "open", "\"C:\\Prog\\Ed.exe\" %1");
    SetCommand("Writer.Document", "edit", "  \"C:\\Prog\\Ed.exe\" /e \"%1\"  ");
    ASSERT_TRUE(Resolve(".odt"));
    EXPECT_STREQ(m_strProgram, "c:\\prog\\ed.exe");
    EXPECT_STREQ(m_strParameters, "/e");
}

TEST_F(ShellCommandTest, OtherVerbsStartTheProgramWithoutParameters)
{
    SetCommand("Viewer", "open", "C:\\Tools\\View.exe /view %1 %22");
    ASSERT_TRUE(Resolve("Viewer"));
    EXPECT_STREQ(m_strProgram, "c:\\tools\\view.exe");
    EXPECT_STREQ(m_strParameters, "");

    SetCommand("Old", "new", "c:\\dos\\edit.com %1");
    ASSERT_TRUE(Resolve("Old"));
    EXPECT_STREQ(m_strProgram, "c:\\dos\\edit.com");
}

TEST_F(ShellCommandTest, WithoutAKnownVerbOneNamedAfterOpeningIsFound)
{
    SetCommand("Picture", "print", "c:\\p\\print.exe %1");
    SetCommand("Picture", "Open with Paint", "\"c:\\paint\\paint.exe\" \"%1\"");
    ASSERT_TRUE(Resolve("Picture"));
    EXPECT_STREQ(m_strProgram, "c:\\paint\\paint.exe");

    SetCommand("Printable", "print", "c:\\p\\print.exe %1");
    EXPECT_FALSE(Resolve("Printable"));
}

TEST_F(ShellCommandTest, CommandsThatNameNoProgramAreRefusedAndLeaveNothing)
{
    SetCommand("Library", "open", "rundll32.exe shimgvw.dll,ImageView_Fullscreen %1");
    SetCommand("Unclosed", "open", "\"c:\\prog\\ed.exe %1");
    SetCommand("Script", "open", "c:\\scripts\\run.sh %1");
    SetCommand("Empty", "open", "   ");
    SetDefault("NoShell", "");
    for (const char* pszType : { "Library", "Unclosed", "Script", "Empty", "NoShell", "Missing", "" }) {
        m_strProgram = m_strParameters = "left over";
        EXPECT_FALSE(Resolve(pszType)) << pszType;
        EXPECT_TRUE(m_strProgram.IsEmpty()) << pszType;
        EXPECT_TRUE(m_strParameters.IsEmpty()) << pszType;
    }
}

TEST_F(ShellCommandTest, EditPlaceholdersGoWithTheirQuotesOnly)
{
    SetCommand("Sheet", "edit", "\"c:\\calc.exe\" -o \"%1\" -n %2 \"keep\" 100%");
    ASSERT_TRUE(Resolve("Sheet"));
    EXPECT_STREQ(m_strParameters, "-o      -n    \"keep\" 100%");
}

TEST_F(ShellCommandTest, OpeningStartsTheFoundProgramWithItsParametersOnly)
{
    const auto program = Home() / "ed.exe";
    std::ofstream(program) << "#!/bin/sh\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const std::string strProgram = ProgramPathFromHostPath(program.string());
    SetCommand("Text", "edit", ("\"" + strProgram + "\" /e \"%1\"").c_str());
    SetCommand("Gone", "open", "c:\\nowhere\\gone.exe %1");

    CLaunchOverride launches;
    ASSERT_TRUE(OpenWithShell(nullptr, "Text", m_root));
    ASSERT_EQ(launches.GetLaunches().size(), 1U);
    EXPECT_EQ(launches.GetLaunches()[0], (std::vector<std::string> { program.string(), "/e" }));

    EXPECT_FALSE(OpenWithShell(nullptr, "Gone", m_root));
    EXPECT_FALSE(OpenWithShell(nullptr, "Unknown", m_root));
    EXPECT_EQ(launches.GetLaunches().size(), 1U);
}
