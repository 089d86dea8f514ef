#include "webaccess/pages/CWAOutputFile.h"

#include "platform/base/Clock.h"
#include "platform/base/PathMap.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <minizip/unzip.h>
#include <string>
#include <vector>

namespace {

class CWAOutputFileTest : public ::testing::Test {
protected:
    std::string HostReply() const { return (m_folder / "1.~ou").string(); }
    CString ProgramReply() const { return ProgramPathFromHostPath(HostReply()).c_str(); }

    // The names and the first entry's content of the archive at the host path.
    static bool ReadZip(const std::string& strPath, std::vector<std::string>& names, std::string& strContent,
        unz_file_info* pInfo = nullptr)
    {
        unzFile hZip = unzOpen(strPath.c_str());
        if (hZip == nullptr)
            return false;
        for (int nResult = unzGoToFirstFile(hZip); nResult == UNZ_OK; nResult = unzGoToNextFile(hZip)) {
            char szName[64] {};
            unz_file_info info {};
            unzGetCurrentFileInfo(hZip, &info, szName, sizeof szName, nullptr, 0, nullptr, 0);
            names.emplace_back(szName);
            if (names.size() == 1) {
                if (pInfo != nullptr)
                    *pInfo = info;
                unzOpenCurrentFile(hZip);
                char buffer[4096];
                int nRead = 0;
                while ((nRead = unzReadCurrentFile(hZip, buffer, sizeof buffer)) > 0)
                    strContent.append(buffer, static_cast<size_t>(nRead));
                unzCloseCurrentFile(hZip);
            }
        }
        unzClose(hZip);
        return true;
    }

    static std::string ReadPlain(const std::string& strPath)
    {
        std::ifstream file(strPath, std::ios::binary);
        return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
    }

    // The text a fragment writer produces, read back from a plain reply.
    template<typename Writer> std::string Written(Writer writer)
    {
        CWAOutputFile output;
        EXPECT_TRUE(output.Open(ProgramReply(), FALSE));
        writer(output);
        output.Close();
        return ReadPlain(HostReply());
    }

    TempFolder m_folder;
};

} // namespace

TEST_F(CWAOutputFileTest, EmptyZipReplyHoldsOneEmptyDummyEntry)
{
    CWAOutputFile output;
    ASSERT_TRUE(output.Open(ProgramReply(), TRUE));
    output.Close();
    std::vector<std::string> names;
    std::string strContent;
    ASSERT_TRUE(ReadZip(HostReply(), names, strContent));
    EXPECT_EQ(names, std::vector<std::string> { "DUMMY" });
    EXPECT_TRUE(strContent.empty());
}

TEST_F(CWAOutputFileTest, ZipReplyHoldsWhatWasWrittenDeflatedAndStamped)
{
    // 2024-06-15 12:00 UTC: mid-month, so every time zone sees June 2024.
    CManualClock clock((1718452800ULL + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND);
    CClockOverride useClock(clock);
    CWAOutputFile output;
    ASSERT_TRUE(output.Open(ProgramReply(), TRUE));
    output.BeginHtmlBlock("files");
    const std::string strBytes(100000, 'x');
    EXPECT_TRUE(output.Write(strBytes.data(), static_cast<UINT>(strBytes.size())));
    output.EndHtmlBlock();
    output.Close();
    std::vector<std::string> names;
    std::string strContent;
    unz_file_info info {};
    ASSERT_TRUE(ReadZip(HostReply(), names, strContent, &info));
    EXPECT_EQ(strContent, "\r\n<#HTML |files|#>\r\n" + strBytes + "\r\n<#/HTML#>\r\n");
    EXPECT_EQ(info.compression_method, 8u);
    EXPECT_LT(info.compressed_size, info.uncompressed_size);
    EXPECT_EQ(info.dosDate >> 25, 2024u - 1980u);
    EXPECT_EQ((info.dosDate >> 21) & 0xF, 6u);
    EXPECT_EQ(info.size_file_extra, 0u);
    EXPECT_EQ(info.size_file_comment, 0u);
}

TEST_F(CWAOutputFileTest, SwitchingToPlainDropsEarlierContent)
{
    CWAOutputFile output;
    ASSERT_TRUE(output.Open(ProgramReply(), TRUE));
    output.WriteHtmlBegin();
    output.SetZipMode(FALSE);
    output.WriteHtmlEnd();
    output.Close();
    EXPECT_EQ(ReadPlain(HostReply()), "</html>");
}

TEST_F(CWAOutputFileTest, SwitchingToTheCurrentModeKeepsContent)
{
    CWAOutputFile output;
    ASSERT_TRUE(output.Open(ProgramReply(), TRUE));
    output.WriteHtmlBegin();
    output.SetZipMode(TRUE);
    output.WriteHtmlEnd();
    output.Close();
    std::vector<std::string> names;
    std::string strContent;
    ASSERT_TRUE(ReadZip(HostReply(), names, strContent));
    EXPECT_EQ(strContent, "<html></html>");
}

TEST_F(CWAOutputFileTest, OpenFailsInAMissingFolderAndWritesFailAfterwards)
{
    const CString strPath = ProgramPathFromHostPath((m_folder / "missing" / "1.~ou").string()).c_str();
    CWAOutputFile zip;
    EXPECT_FALSE(zip.Open(strPath, TRUE));
    EXPECT_FALSE(zip.Write("x", 1));
    zip.Close();
    CWAOutputFile plain;
    EXPECT_FALSE(plain.Open(strPath, FALSE));
    EXPECT_FALSE(plain.Write("x", 1));
}

TEST_F(CWAOutputFileTest, SearchFormEscapesTheTextAndMarksTheChosenRows)
{
    const std::string strForm = Written([](CWAOutputFile& output) { output.WriteSearchForm("it's <b>", 0, 1); });
    EXPECT_NE(strForm.find("<input name='tx' value='it&#39;s &#60;b>' size='20'>"), std::string::npos);
    EXPECT_NE(strForm.find("<option value='AW' selected>All Words Listed</option>"), std::string::npos);
    EXPECT_NE(strForm.find("<option value='NAM' selected>Name</option>"), std::string::npos);
    EXPECT_EQ(strForm.find("selected", strForm.find("selected") + 1), strForm.rfind("selected"));
    EXPECT_TRUE(strForm.starts_with("<td width='530'><form name='frm' action='javascript:parent.applet.sch();'"));
    EXPECT_TRUE(strForm.ends_with("</tr></table></td></tr></table></form></td>"));
}

TEST_F(CWAOutputFileTest, SearchFormWithUnknownNumbersSelectsNothing)
{
    const std::string strForm = Written([](CWAOutputFile& output) { output.WriteSearchForm("", 7, -1); });
    EXPECT_EQ(strForm.find("selected"), std::string::npos);
    EXPECT_NE(strForm.find("<td><select name='tp' size='1'><option value='1W'>"), std::string::npos);
    EXPECT_NE(strForm.find("<td><select name='cm' size='1'><option value='ANY'>"), std::string::npos);
}

TEST_F(CWAOutputFileTest, TitleBarItemWithoutLinkIsPlainClass)
{
    const UINT ids[2] = { 1, 2 };
    const CString links[2] = { "", "href='x'" };
    const std::string strBar = Written([&](CWAOutputFile& output) { output.WriteTitleBar(ids, links); });
    EXPECT_NE(strBar.find("<a class='s8' >"), std::string::npos);
    EXPECT_NE(strBar.find("<a class='s9' href='x'>"), std::string::npos);
}

TEST_F(CWAOutputFileTest, StyleSheetSeparatesRulesAsTheFrameExpects)
{
    const std::string strStyle = Written([](CWAOutputFile& output) { output.WriteStyleSheet(); });
    EXPECT_TRUE(strStyle.starts_with("<style>.s1 { color: #000000; text-decoration: none; font-size: 12px; "
                                     "font-family: MS Sans Serif, Arial, Helvetica, Verdana }.s1:hover { "));
    EXPECT_NE(strStyle.find("}.s6:hover  { color: #000000;"), std::string::npos);
    EXPECT_TRUE(strStyle.ends_with("}.s9:hover  { color: #FFCC00 }</style>"));
}

TEST_F(CWAOutputFileTest, TabStripsLinkOnlyTheTabsThatAreNotCurrent)
{
    const std::string strStrip = Written([](CWAOutputFile& output) { output.WriteTabsSecondActive("href='one'", ""); });
    EXPECT_NE(strStrip.find("<td background='img/taba1.gif' width='22'>&nbsp;</td>"), std::string::npos);
    EXPECT_NE(strStrip.find("<a class='s1' href='one'><img src='img/icw2.gif'"), std::string::npos);
    EXPECT_NE(strStrip.find("<img src='img/ica1.gif'"), std::string::npos);
    EXPECT_NE(strStrip.find("<a class='s3' >"), std::string::npos);
    const std::string strLine = Written([](CWAOutputFile& output) { output.WriteTabsThirdActiveEnd(); });
    EXPECT_EQ(strLine,
        "</tr><tr valign='top'><td width='300'><img src='img/tab.gif' height='8' width='184'>"
        "<img src='img/tab_foc.gif' height='8' width='95'><img src='img/tab.gif' height='8' width='21'></td>"
        "<td width='900'><img src='img/tab.gif' height='8' width='900'></td>");
}

TEST_F(CWAOutputFileTest, MenuLayersNumberItemsByThePairSelector)
{
    const std::string strCatalog = Written([](CWAOutputFile& output) { output.WriteMenuLayerIE(TRUE, TRUE); });
    EXPECT_TRUE(strCatalog.starts_with("<div id='MIE' "));
    EXPECT_NE(strCatalog.find("MenuItemClick(0)"), std::string::npos);
    EXPECT_NE(strCatalog.find("MenuItemClick(1)"), std::string::npos);
    const std::string strExplorer = Written([](CWAOutputFile& output) { output.WriteMenuLayerNS(FALSE, FALSE); });
    EXPECT_TRUE(strExplorer.starts_with("<div id='MN' "));
    EXPECT_EQ(strExplorer.find("MenuItemClick(2)"), std::string::npos);
    EXPECT_NE(strExplorer.find("<a class='s7'>"), std::string::npos);
    EXPECT_NE(strExplorer.find("MenuItemClick(3)"), std::string::npos);
}
