#include "platform/shell/ShellParsingName.h"

#include "platform/base/PathMap.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ShellParsingNameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder.WriteFile("Reports/Year Plan.txt", "x");
        m_strFolder = ProgramPathFromHostPath(m_folder.Path().string());
        ASSERT_FALSE(m_strFolder.empty());
    }

    std::string Name(const std::string& strPath) const
    {
        return static_cast<LPCTSTR>(GetShellParsingName(strPath.c_str()));
    }

    TempFolder m_folder;
    std::string m_strFolder;
};

TEST_F(ShellParsingNameTest, ExistingItemsAreSpeltAsTheDiskSpellsThem)
{
    const std::string strFile = m_strFolder + "\\Reports\\Year Plan.txt";
    EXPECT_EQ(Name(strFile), strFile);
    EXPECT_EQ(Name(m_strFolder + "\\reports\\YEAR PLAN.TXT"), strFile);
    EXPECT_EQ(Name(m_strFolder + "/Reports/./x/../Year Plan.txt"), strFile);
    // A folder's parsing name has no trailing separator; a drive root keeps its own.
    EXPECT_EQ(Name(m_strFolder + "\\REPORTS\\"), m_strFolder + "\\Reports");
    EXPECT_EQ(Name("c:\\"), "C:\\");
}

TEST_F(ShellParsingNameTest, MissingComponentsAreKeptAsGiven)
{
    EXPECT_EQ(Name(m_strFolder + "\\reports\\New\\..\\Draft.TXT"), m_strFolder + "\\Reports\\Draft.TXT");
}

TEST_F(ShellParsingNameTest, UnparsablePathsComeBackUnchanged)
{
    EXPECT_EQ(Name(""), "");
    EXPECT_EQ(Name("C:\\a|b"), "C:\\a|b");
    EXPECT_STREQ(GetShellParsingName(nullptr), "");
}

} // namespace
