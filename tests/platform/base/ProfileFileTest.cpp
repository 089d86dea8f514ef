#include "platform/base/ProfileFile.h"

#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class ProfileFileTest : public ProgramFolderTest {
protected:
    // Writes `strText` as `pszName` in the program folder.
    void WriteIni(const char* pszName, std::string_view strText) const
    {
        std::ofstream(Home() / pszName, std::ios::binary) << strText;
    }

    std::string ReadIni(const char* pszName) const
    {
        std::ifstream in(Home() / pszName, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static std::string Get(
        LPCTSTR pszSection, LPCTSTR pszKey, LPCTSTR pszDefault = "<default>", LPCTSTR pszFile = "app.ini")
    {
        char szBuffer[256];
        DWORD cch = GetPrivateProfileString(pszSection, pszKey, pszDefault, szBuffer, sizeof szBuffer, pszFile);
        return std::string(szBuffer, cch);
    }

    // A NUL-separated list, split.
    static std::vector<std::string> GetList(LPCTSTR pszSection, LPCTSTR pszFile = "app.ini")
    {
        char szBuffer[256];
        DWORD cch = GetPrivateProfileString(pszSection, nullptr, "", szBuffer, sizeof szBuffer, pszFile);
        EXPECT_EQ(szBuffer[cch], '\0');
        std::vector<std::string> items;
        for (DWORD nPos = 0; nPos < cch; nPos += static_cast<DWORD>(items.back().size()) + 1)
            items.emplace_back(szBuffer + nPos);
        return items;
    }
};

using Items = std::vector<std::string>;

const char SAMPLE[] = "; settings of the sample\n"
                      "[General]\n"
                      "  Name = Quarterly report  \n"
                      "Quoted=\"  spaced  \"\n"
                      "Single='x'\n"
                      "Lonely=\"\n"
                      "\n"
                      "; window placement\n"
                      "[window]\n"
                      "Left=120px\n"
                      "Neg=-15\n"
                      "Empty=\n"
                      "[general]\n"
                      "Name=shadowed by the first section\n";

}

/* Reading. */

TEST_F(ProfileFileTest, SectionsAndKeysAreCaseInsensitiveAndValuesTrimmed)
{
    WriteIni("app.ini", SAMPLE);
    EXPECT_EQ(Get("general", "NAME"), "Quarterly report");
    EXPECT_EQ(Get("WINDOW", "left"), "120px");
    EXPECT_EQ(Get("Window", "Empty"), "");
    EXPECT_EQ(Get("Window", "Missing"), "<default>");
    EXPECT_EQ(Get("Missing", "Left", "trailing blanks go   "), "trailing blanks go");
    EXPECT_EQ(Get("Missing", "Left", nullptr), "");
}

TEST_F(ProfileFileTest, MatchingQuotesAroundAValueAreStripped)
{
    WriteIni("app.ini", SAMPLE);
    EXPECT_EQ(Get("General", "Quoted"), "  spaced  ");
    EXPECT_EQ(Get("General", "Single"), "x");
    EXPECT_EQ(Get("General", "Lonely"), "\"");
}

TEST_F(ProfileFileTest, NullNamesListSectionsAndKeys)
{
    WriteIni("app.ini", SAMPLE);
    EXPECT_EQ(GetList(nullptr), Items({ "General", "window" }));
    EXPECT_EQ(GetList("WINDOW"), Items({ "Left", "Neg", "Empty" }));
    EXPECT_EQ(GetList("Missing"), Items {});
}

TEST_F(ProfileFileTest, TruncatedValuesReturnSizeMinusOneAndListsSizeMinusTwo)
{
    WriteIni("app.ini", SAMPLE);
    char szBuffer[8];
    std::memset(szBuffer, 'x', sizeof szBuffer);
    EXPECT_EQ(GetPrivateProfileString("General", "Name", "", szBuffer, sizeof szBuffer, "app.ini"), 7u);
    EXPECT_STREQ(szBuffer, "Quarter");

    std::memset(szBuffer, 'x', sizeof szBuffer);
    EXPECT_EQ(GetPrivateProfileString("Window", nullptr, "", szBuffer, sizeof szBuffer, "app.ini"), 6u);
    EXPECT_EQ(std::string(szBuffer, 8), std::string("Left\0Ne\0", 8).substr(0, 6) + std::string(2, '\0'));

    // A cut never splits a character: the rest of the buffer is NULs.
    WriteIni("app.ini", "[s]\nk=aé\n");
    char szSmall[3];
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", szSmall, sizeof szSmall, "app.ini"), 2u);
    EXPECT_EQ(std::string(szSmall, 3), std::string("a\0\0", 3));
}

TEST_F(ProfileFileTest, IntegersReadLeadingDigitsElseTheDefault)
{
    WriteIni("app.ini", SAMPLE);
    EXPECT_EQ(GetPrivateProfileInt("Window", "Left", 5, "app.ini"), 120u);
    EXPECT_EQ(static_cast<INT>(GetPrivateProfileInt("Window", "Neg", 5, "app.ini")), -15);
    EXPECT_EQ(GetPrivateProfileInt("Window", "Empty", 5, "app.ini"), 5u);
    EXPECT_EQ(GetPrivateProfileInt("General", "Name", 5, "app.ini"), 5u);
    EXPECT_EQ(GetPrivateProfileInt("Window", "Missing", 7, "app.ini"), 7u);
}

TEST_F(ProfileFileTest, AMissingFileGivesTheDefaultAndFileNotFound)
{
    EXPECT_EQ(Get("s", "k", "dflt", "absent.ini"), "dflt");
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetList(nullptr, "absent.ini"), Items {});
}

TEST_F(ProfileFileTest, ASpecialFileInPlaceOfTheFileGivesTheDefaultAtOnce)
{
    const std::vector<std::string> names = MakeSpecialFiles(Home());
    ASSERT_EQ(names.size(), 3u);
    for (const std::string& strName : names) {
        const int nResult = RunInChildWithin(10, [&] {
            const bool bDefault = Get("s", "k", "dflt", strName.c_str()) == "dflt";
            return bDefault && GetLastError() == ERROR_ACCESS_DENIED ? 0 : 1;
        });
        EXPECT_EQ(nResult, 0) << strName << (nResult < 0 ? " kept the reader waiting" : "");
    }
}

/* Writing. */

TEST_F(ProfileFileTest, WritesKeepCommentsBlankLinesAndOtherLines)
{
    WriteIni("app.ini", SAMPLE);
    ASSERT_TRUE(WritePrivateProfileString("GENERAL", "name", "Annual report", "app.ini"));
    ASSERT_TRUE(WritePrivateProfileString("General", "Added", "1", "app.ini"));
    ASSERT_TRUE(WritePrivateProfileString("New Section", "Key", "v", "app.ini"));
    EXPECT_EQ(ReadIni("app.ini"),
        "; settings of the sample\n"
        "[General]\n"
        "Name=Annual report\n"
        "Quoted=\"  spaced  \"\n"
        "Single='x'\n"
        "Lonely=\"\n"
        "Added=1\n"
        "\n"
        "; window placement\n"
        "[window]\n"
        "Left=120px\n"
        "Neg=-15\n"
        "Empty=\n"
        "[general]\n"
        "Name=shadowed by the first section\n"
        "[New Section]\n"
        "Key=v\n");
}

TEST_F(ProfileFileTest, NullValueDeletesTheKeyAndNullKeyTheSection)
{
    WriteIni("app.ini", SAMPLE);
    ASSERT_TRUE(WritePrivateProfileString("window", "Neg", nullptr, "app.ini"));
    EXPECT_EQ(GetList("window"), Items({ "Left", "Empty" }));
    ASSERT_TRUE(WritePrivateProfileString("GENERAL", nullptr, nullptr, "app.ini"));
    EXPECT_EQ(GetList(nullptr), Items({ "window" }));
    EXPECT_EQ(ReadIni("app.ini").rfind("; settings of the sample\n[window]\n", 0), 0u);
    EXPECT_TRUE(WritePrivateProfileString(nullptr, nullptr, nullptr, "app.ini")); // a flush
    EXPECT_FALSE(WritePrivateProfileString(nullptr, "k", "v", "app.ini"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(ProfileFileTest, CarriageReturnLineEndsAreKeptForNewLines)
{
    WriteIni("app.ini", "[a]\r\nx=1\r\n");
    ASSERT_TRUE(WritePrivateProfileString("a", "y", "2", "app.ini"));
    ASSERT_TRUE(WritePrivateProfileString("b", "z", "3", "app.ini"));
    EXPECT_EQ(ReadIni("app.ini"), "[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n");
    EXPECT_EQ(Get("a", "y"), "2");
}

TEST_F(ProfileFileTest, WinIniLivesInTheProgramFolder)
{
    ASSERT_TRUE(WriteProfileString("Windows", "Device", "printer"));
    char szBuffer[32];
    EXPECT_EQ(GetProfileString("windows", "device", "", szBuffer, sizeof szBuffer), 7u);
    EXPECT_EQ(GetProfileInt("windows", "device", 3), 3u);
    EXPECT_EQ(ReadIni("win.ini"), "[Windows]\nDevice=printer\n");
}

TEST_F(ProfileFileTest, AProgramPathMapsToItsHostFile)
{
    std::string strProgramPath = ProgramPathFromHostPath((Home() / "sub" / "x.ini").string());
    std::filesystem::create_directories(Home() / "sub");
    ASSERT_TRUE(WritePrivateProfileString("s", "k", "v", strProgramPath.c_str())) << strProgramPath;
    EXPECT_EQ(ReadIni("sub/x.ini"), "[s]\nk=v\n");
    EXPECT_EQ(Get("S", "K", "", strProgramPath.c_str()), "v");
}

TEST_F(ProfileFileTest, AWriteIntoAMissingFolderFailsAndLeavesNothing)
{
    std::string strProgramPath = ProgramPathFromHostPath((Home() / "no such folder" / "x.ini").string());
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", strProgramPath.c_str()));
    EXPECT_NE(GetLastError(), ERROR_SUCCESS);
    EXPECT_FALSE(std::filesystem::exists(Home() / "no such folder"));
}

TEST_F(ProfileFileTest, AFailedWriteLeavesTheOldFileWhole)
{
    WriteIni("app.ini", SAMPLE);
    // A child process whose file size limit stops the rewrite half-way.
    pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit { sizeof SAMPLE + 16, RLIM_INFINITY };
        setrlimit(RLIMIT_FSIZE, &limit);
        bool bWritten = WritePrivateProfileString("General", "Big", std::string(4096, 'x').c_str(), "app.ini");
        _exit(!bWritten && GetLastError() != ERROR_SUCCESS ? 0 : 1);
    }
    int nStatus = 0;
    ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    EXPECT_EQ(ReadIni("app.ini"), SAMPLE);
    size_t nFiles = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Home()))
        ++nFiles;
    EXPECT_EQ(nFiles, 1u);
}

TEST_F(ProfileFileTest, RewritesLeaveNoTemporaryFiles)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(WritePrivateProfileString("s", "k", std::to_string(i).c_str(), "app.ini"));
    size_t nFiles = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Home()))
        ++nFiles;
    EXPECT_EQ(nFiles, 1u);
}

/* Whole sections. */

TEST_F(ProfileFileTest, SectionsReadAndReplaceAsLists)
{
    WriteIni("app.ini", SAMPLE);
    char szBuffer[64];
    DWORD cch = GetPrivateProfileSection("window", szBuffer, sizeof szBuffer, "app.ini");
    EXPECT_EQ(std::string(szBuffer, cch + 1), std::string("Left=120px\0Neg=-15\0Empty=\0\0", 27));

    ASSERT_TRUE(WritePrivateProfileSection("Window", "A=1\0B = 2\0", "app.ini"));
    EXPECT_EQ(GetList("window"), Items({ "A", "B" }));
    EXPECT_EQ(Get("window", "B"), "2");
    ASSERT_TRUE(WritePrivateProfileSection("window", nullptr, "app.ini"));
    EXPECT_EQ(GetList(nullptr), Items({ "General" }));
}

/* The parsed form. */

TEST(ProfileDocumentTest, AnyTextFormatsBackUnchanged)
{
    for (std::string_view strText : std::initializer_list<std::string_view> { "", "\n", "no newline", "[a]\r\nk=v",
             "\xEF\xBB\xBF[bom]\nk=v\n", "[unclosed\n=novalue\n[]\nk==v\n", std::string_view("nul\0byte\n", 9) }) {
        EXPECT_EQ(CProfileDocument(strText).Format(), strText);
    }
}

TEST(ProfileDocumentTest, AByteOrderMarkDoesNotHideTheFirstSection)
{
    CProfileDocument document("\xEF\xBB\xBF[First]\nk=v\n");
    ASSERT_NE(document.FindValue("first", "K"), nullptr);
    EXPECT_EQ(*document.FindValue("first", "K"), "v");
}
