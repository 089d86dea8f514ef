#include "store/CLogFile.h"

#include "platform/base/PathMap.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

class CLogFileTest : public ::testing::Test {
protected:
    std::string ProgramPath(const std::string& strName) const
    {
        return ProgramPathFromHostPath((m_folder / strName).string());
    }

    std::string Read(const std::string& strName) const
    {
        std::ifstream file(m_folder / strName, std::ios::binary);
        std::stringstream contents;
        contents << file.rdbuf();
        return contents.str();
    }

    // The log's text after its "Begin log" line.
    std::string Body(const std::string& strName) const
    {
        std::string strText = Read(strName);
        return strText.substr(strText.find('\n') + 1);
    }

    TempFolder m_folder;
    CLogFile m_log;
};

TEST_F(CLogFileTest, MaskZeroMakesNoFile)
{
    m_log.Begin(ProgramPath("archiv.log").c_str(), 0);
    m_log.Printf("%s\n", "lost");
    m_log.Write("lost");
    m_log.End();
    EXPECT_FALSE(fs::exists(m_folder / "archiv.log"));
    EXPECT_FALSE(m_log.IsTracing(LOG_WEB_ACCESS));
}

TEST_F(CLogFileTest, BeginAndEndFrameTheLines)
{
    m_log.Begin(ProgramPath("archiv.log").c_str(), LOG_SENTINEL);
    m_log.Printf("Notice %d for %s\n", 7, "C:\\docs\\a.odt");
    m_log.Write("plain text\n");
    m_log.End();
    std::string strText = Read("archiv.log");
    unsigned nMajor = 0;
    unsigned nMinor = 0;
    unsigned nBuild = 0;
    int nConsumed = 0;
    EXPECT_EQ(
        std::sscanf(strText.c_str(), "Begin log WinNT %u.%u build %u %n", &nMajor, &nMinor, &nBuild, &nConsumed), 3)
        << strText;
    EXPECT_GT(nMajor, 0u);
    EXPECT_EQ(Body("archiv.log"), "Notice 7 for C:\\docs\\a.odt\nplain text\n\nEnd log");
}

TEST_F(CLogFileTest, LinesAreOnDiskAsSoonAsWritten)
{
    m_log.Begin(ProgramPath("archiv.log").c_str(), LOG_ALL);
    m_log.Printf("first\n");
    EXPECT_EQ(Body("archiv.log"), "first\n");
    m_log.Write("second\n");
    EXPECT_EQ(Body("archiv.log"), "first\nsecond\n");
}

TEST_F(CLogFileTest, BeginStartsTheLogAfresh)
{
    m_folder.WriteFile("archiv.log", "old run\n");
    m_log.Begin(ProgramPath("archiv.log").c_str(), LOG_UPDATE);
    m_log.End();
    EXPECT_EQ(Read("archiv.log").find("old run"), std::string::npos);
}

TEST_F(CLogFileTest, PrintfCutsAtFiveHundredTwelveBytes)
{
    m_log.Begin(ProgramPath("archiv.log").c_str(), LOG_ALL);
    m_log.Printf("%s\n", std::string(600, 'x').c_str());
    m_log.Write("|");
    // A cut never splits a character: 511 bytes and a two-byte character do not fit in 512.
    m_log.Printf("%s%s", std::string(511, 'y').c_str(), "éééé");
    m_log.End();
    EXPECT_EQ(Body("archiv.log"), std::string(512, 'x') + "|" + std::string(511, 'y') + "\nEnd log");
}

TEST_F(CLogFileTest, FileErrorsAreSwallowed)
{
    fs::create_directories(m_folder / "locked");
    chmod((m_folder / "locked").c_str(), 0555);
    m_log.Begin(ProgramPath("locked/archiv.log").c_str(), LOG_ALL);
    m_log.Printf("%d\n", 1);
    m_log.Write("text");
    m_log.End();
    m_log.Begin(ProgramPath("missing/folder/archiv.log").c_str(), LOG_ALL);
    m_log.Printf("%d\n", 2);
    m_log.End();
    m_log.Begin(nullptr, LOG_ALL);
    m_log.Printf(nullptr);
    m_log.Write(nullptr);
    m_log.End();
    EXPECT_FALSE(fs::exists(m_folder / "missing"));
    chmod((m_folder / "locked").c_str(), 0755);
    // The mask is kept even when the file could not be made.
    EXPECT_TRUE(m_log.IsTracing(LOG_WEB_ACCESS));
}

TEST_F(CLogFileTest, ThreadsWriteWholeLines)
{
    m_log.Begin(ProgramPath("archiv.log").c_str(), LOG_ALL);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < 200; ++i)
                m_log.Printf("thread %d line %03d end\n", t, i);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    m_log.End();
    std::istringstream lines(Body("archiv.log"));
    std::string strLine;
    int nextLine[4] = { 0, 0, 0, 0 };
    while (std::getline(lines, strLine) && !strLine.empty()) {
        int nThread = -1;
        int nLine = -1;
        char szEnd[8] = "";
        ASSERT_EQ(std::sscanf(strLine.c_str(), "thread %d line %d %7s", &nThread, &nLine, szEnd), 3) << strLine;
        ASSERT_TRUE(nThread >= 0 && nThread < 4) << strLine;
        EXPECT_EQ(nLine, nextLine[nThread]++) << "each thread's lines whole and in order";
        EXPECT_STREQ(szEnd, "end");
    }
    for (int nCount : nextLine)
        EXPECT_EQ(nCount, 200);
}

TEST(CLogFileMaskTest, LettersChooseTheTracingParts)
{
    EXPECT_EQ(CLogFile::MaskFromLetters(""), LOG_ALL);
    EXPECT_EQ(CLogFile::MaskFromLetters(nullptr), LOG_ALL);
    EXPECT_EQ(CLogFile::MaskFromLetters("s"), LOG_SENTINEL);
    EXPECT_EQ(CLogFile::MaskFromLetters("u"), LOG_UPDATE);
    EXPECT_EQ(CLogFile::MaskFromLetters("w"), LOG_WEB_ACCESS);
    EXPECT_EQ(CLogFile::MaskFromLetters("Ws"), LOG_WEB_ACCESS | LOG_SENTINEL);
    EXPECT_EQ(CLogFile::MaskFromLetters("x"), 0u);
}

} // namespace
