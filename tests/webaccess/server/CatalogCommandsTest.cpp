#include "webaccess/server/CWACmdWdir.h"
#include "webaccess/server/CWACmdWfind.h"

#include "tests/webaccess/server/CatalogSessionFixture.h"
#include "webaccess/pages/WebText.h"

#include <cctype>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

using CatalogCommandsTest = CatalogSessionTest;

/**************************** WDIR ****************************/

TEST_F(CatalogCommandsTest, WdirArgumentsAreChecked)
{
    EXPECT_EQ(CreateWebCommand("<#WDIR |0| |0|#>")->GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(CreateWebCommand("<#WDIR |0| |0| |A-|#>")->GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(CreateWebCommand("<#WDIR |0| |0| ||#>")->GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(CreateWebCommand("<#WDIR |5| |7| |B|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(CreateWebCommand("<#WDIR |0| |0|")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(CreateWebCommand("<#WDIR |x| |0|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(CreateWebCommand("<#WDIR |0| |0| |A| |A|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(CreateWebCommand("<#WDIR |999| |7|#>")->GetStatus(), WA_STATUS_NOT_A_NODE);
    EXPECT_EQ(CreateWebCommand(WdirToken(m_alpha).c_str())->GetStatus(), WA_STATUS_OK);
}

TEST_F(CatalogCommandsTest, WdirOfTheRootShowsTheFirstVisibleGroup)
{
    const auto pSession = Login(AllGroups());
    Run(*pSession, "<#WDIR |0| |0|#>");
    EXPECT_EQ(pSession->GetPlace().m_nBlock, m_archive.nBlock);
    EXPECT_EQ(pSession->GetPlace().m_nSlot, m_archive.nSlot);
    Run(*pSession, "<#WDIR |0| |0| |A-|#>");
    // Descending, the systems root (named by the catalog) may come first; it
    // is never Archive, which sorts first ascending.
    EXPECT_FALSE(pSession->GetPlace().m_nBlock == m_archive.nBlock && pSession->GetPlace().m_nSlot == m_archive.nSlot);
}

TEST_F(CatalogCommandsTest, WdirPageListsSubGroupsAndDocuments)
{
    const auto pSession = Login(AllGroups());
    BOOL bResult = FALSE;
    const std::string strPage = Run(*pSession, WdirToken(m_alpha), &bResult);
    ASSERT_TRUE(bResult);
    EXPECT_NE(strPage.find("<#HTML |files|"), std::string::npos);
    EXPECT_NE(strPage.find(">&nbsp;Deep</a>"), std::string::npos);
    EXPECT_NE(strPage.find("<a class='s1'>1,465 KB</a>"), std::string::npos);
    EXPECT_NE(strPage.find("<a class='s1'>0 KB</a>"), std::string::npos);
    EXPECT_NE(strPage.find("<a class='s1'>1 KB</a>"), std::string::npos);
    EXPECT_NE(strPage.find("img/file.gif"), std::string::npos);
    EXPECT_NE(strPage.find("ShowMenuArch(&quot;MIE&quot;"), std::string::npos);
    // One sub-group and three documents: a filler of 16 rows.
    EXPECT_NE(strPage.find("height='320'"), std::string::npos);
    // The siblings column marks Alpha as the focus and escapes the other name.
    EXPECT_NE(strPage.find("img/grp_foc.gif'width='16'height='16'align='texttop'>&nbsp;Alpha</a>"), std::string::npos);
    EXPECT_NE(strPage.find("Beta &#60;b>"), std::string::npos);
    EXPECT_EQ(strPage.find("Beta <b>"), std::string::npos);
}

TEST_F(CatalogCommandsTest, WdirShowsTheUpRowBelowASubGroupOnly)
{
    const auto pSession = Login(AllGroups(), "NETSCAPE");
    EXPECT_EQ(Run(*pSession, WdirToken(m_projects)).find("img/grp_up.gif"), std::string::npos);
    EXPECT_NE(Run(*pSession, WdirToken(m_alpha)).find("img/grp_up.gif"), std::string::npos);
    const std::string strPage = Run(*pSession, WdirToken(m_deep));
    EXPECT_NE(strPage.find("img/grp_up.gif"), std::string::npos);
    EXPECT_NE(strPage.find("ShowMenuArch(&quot;MN&quot;"), std::string::npos);
    // One document: a filler of 19 rows.
    EXPECT_NE(strPage.find("height='380'"), std::string::npos);
}

TEST_F(CatalogCommandsTest, WdirFillerMeasuresTwentyRowsLessTheEntries)
{
    const std::unique_ptr<CNodeRec> pBeta(new CNodeRec(m_pCatalog.get(), m_beta.nBlock, m_beta.nSlot));
    AddNode(*pBeta, "one");
    AddNode(*pBeta, "two");
    AddFile(*pBeta, "three.txt", 5);
    const auto pSession = Login(AllGroups());
    EXPECT_NE(Run(*pSession, WdirToken(m_beta)).find("height='340'"), std::string::npos);
}

TEST_F(CatalogCommandsTest, WdirLongNamesAreCutToTheirWidth)
{
    const std::unique_ptr<CNodeRec> pBeta(new CNodeRec(m_pCatalog.get(), m_beta.nBlock, m_beta.nSlot));
    const std::string strLong(31, 'W');
    AddNode(*pBeta, strLong.c_str());
    const auto pSession = Login(AllGroups());
    const std::string strPage = Run(*pSession, WdirToken(m_beta));
    EXPECT_EQ(strPage.find(strLong), std::string::npos);
    EXPECT_NE(strPage.find("W...</a>"), std::string::npos);
}

TEST_F(CatalogCommandsTest, WdirWithoutAVisibleGroupFailsWithCodeTen)
{
    const auto pBlind = Login(NoGroups());
    BOOL bResult = TRUE;
    Run(*pBlind, "<#WDIR |0| |0|#>", &bResult);
    EXPECT_FALSE(bResult);
    EXPECT_EQ(pBlind->GetStatus(), WA_STATUS_NO_GROUP);
}

TEST_F(CatalogCommandsTest, WdirOfAGroupTheProfileHidesFailsWithCodeTen)
{
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_PART } }));
    for (const CRecordRef& ref : { m_archive, m_beta, m_deep }) {
        BOOL bResult = TRUE;
        const std::string strReply = Run(*pSession, WdirToken(ref), &bResult);
        EXPECT_FALSE(bResult);
        EXPECT_EQ(pSession->GetStatus(), WA_STATUS_NO_GROUP);
        EXPECT_EQ(strReply.find("Archive"), std::string::npos);
    }
    BOOL bResult = FALSE;
    Run(*pSession, WdirToken(m_projects), &bResult);
    EXPECT_TRUE(bResult);
}

TEST_F(CatalogCommandsTest, WdirLogTextNamesThePath)
{
    EXPECT_STREQ(
        CreateWebCommand(WdirToken(m_deep).c_str())->GetLogText(), "Get Archivora DIR - Projects > Alpha > Deep");
    EXPECT_STREQ(CreateWebCommand(WdirToken(m_projects).c_str())->GetLogText(), "Get Archivora DIR - Projects");
    EXPECT_STREQ(CreateWebCommand("<#WDIR |0| |0|#>")->GetLogText(), "Get Archivora DIR - ");
}

TEST_F(CatalogCommandsTest, SessionSeesOnlyGrantedGroupsInThePage)
{
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_PART } }));
    const std::string strPage = Run(*pSession, "<#WDIR |0| |0|#>");
    EXPECT_EQ(pSession->GetPlace().m_nSlot, m_projects.nSlot);
    EXPECT_EQ(strPage.find("Archive"), std::string::npos);
    EXPECT_EQ(strPage.find("Beta"), std::string::npos);
    EXPECT_NE(strPage.find("&nbsp;Alpha</a>"), std::string::npos);
}

/**************************** WDIR document states ****************************/

// The listing row of a document, from its state cell to the end of its row.
std::string DocumentRow(const std::string& strPage, const std::string& strName)
{
    const size_t nName = strPage.find("&nbsp;" + strName + "</a>");
    if (nName == std::string::npos)
        return "";
    const size_t nStart = strPage.rfind("<tr>", nName);
    return strPage.substr(nStart, strPage.find("</tr>", nName) - nStart);
}

TEST_F(CatalogCommandsTest, WdirShowsAMissingFileWithoutLinkSizeOrDate)
{
    std::filesystem::remove(Home() / "one.txt");
    const auto pSession = Login(AllGroups());
    const std::string strPage = Run(*pSession, WdirToken(m_alpha));
    const std::string strMissing = DocumentRow(strPage, "one.txt");
    EXPECT_NE(strMissing.find("img/stnocnx.gif"), std::string::npos) << strMissing;
    EXPECT_EQ(strMissing.find("ShowMenuArch"), std::string::npos);
    EXPECT_NE(strMissing.find("<a class='s1'>?</a>&nbsp;&nbsp;</td>"), std::string::npos) << strMissing;
    EXPECT_NE(strMissing.find("&nbsp;&nbsp;<a class='s1'>?</a></td>"), std::string::npos) << strMissing;
    const std::string strPresent = DocumentRow(strPage, "empty.txt");
    EXPECT_NE(strPresent.find("ShowMenuArch"), std::string::npos);
    EXPECT_NE(strPresent.find("&nbsp;</td><td background='img/fbk_dark.gif'"), std::string::npos) << strPresent;
    EXPECT_EQ(strPresent.find("<a class='s1'>?</a>"), std::string::npos);
}

TEST_F(CatalogCommandsTest, WdirMarksExpiredAndNewDocuments)
{
    thePreferences.m_nNumDayFileNew = 7;
    const LONG nNow = static_cast<LONG>(std::time(nullptr));
    SetExpiry(DocumentRef(m_alpha, "one.txt"), nNow - 3600);
    SetExpiry(DocumentRef(m_alpha, "empty.txt"), nNow + 86400);
    SetExpiry(DocumentRef(m_alpha, "big.bin"), nNow + 400 * 86400);
    SetCatalogued(DocumentRef(m_alpha, "big.bin"), 30);
    const auto pSession = Login(AllGroups());
    const std::string strPage = Run(*pSession, WdirToken(m_alpha));
    const std::string strExpired = DocumentRow(strPage, "one.txt");
    EXPECT_NE(strExpired.find("img/stexp.gif"), std::string::npos) << strExpired;
    EXPECT_NE(strExpired.find("ShowMenuArch"), std::string::npos);
    EXPECT_NE(strExpired.find("<a class='s1'>1 KB</a>"), std::string::npos);
    EXPECT_NE(DocumentRow(strPage, "empty.txt").find("img/stnew.gif"), std::string::npos);
    EXPECT_EQ(DocumentRow(strPage, "big.bin").find("<img border='0'src='img/st"), std::string::npos);
}

TEST_F(CatalogCommandsTest, WdirDatesADocumentByItsModificationTime)
{
    std::filesystem::last_write_time(
        Home() / "one.txt", std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    std::time_t tModified = 0;
    {
        struct stat status { };
        ASSERT_EQ(stat((Home() / "one.txt").c_str(), &status), 0);
        tModified = status.st_mtime;
    }
    std::tm local {};
    ASSERT_NE(localtime_r(&tModified, &local), nullptr);
    char szDate[64];
    ASSERT_NE(std::strftime(szDate, sizeof(szDate), "%b %d, %Y  %H:%M", &local), 0u);
    const auto pSession = Login(AllGroups());
    const std::string strRow = DocumentRow(Run(*pSession, WdirToken(m_alpha)), "one.txt");
    EXPECT_NE(strRow.find(std::string("<a class='s1'>") + szDate + "</a></td>"), std::string::npos) << strRow;
}

TEST_F(CatalogCommandsTest, WdirListsDocumentsByNameInTheAskedOrder)
{
    const auto pSession = Login(AllGroups());
    const std::string strAscending = Run(*pSession, WdirToken(m_alpha));
    EXPECT_LT(strAscending.find("&nbsp;big.bin</a>"), strAscending.find("&nbsp;empty.txt</a>"));
    EXPECT_LT(strAscending.find("&nbsp;empty.txt</a>"), strAscending.find("&nbsp;one.txt</a>"));
    const std::string strDescending = Run(*pSession, WdirToken(m_alpha, "A-"));
    EXPECT_GT(strDescending.find("&nbsp;big.bin</a>"), strDescending.find("&nbsp;empty.txt</a>"));
    EXPECT_GT(strDescending.find("&nbsp;empty.txt</a>"), strDescending.find("&nbsp;one.txt</a>"));
}

TEST_F(CatalogCommandsTest, WdirExplorerLinkCarriesTheFolderEscapedOnce)
{
    const auto pSession = Login(AllGroups());
    pSession->GetPlace().m_strFolder = "C:\\a'b\"c&d<e\\";
    const std::string strPage = Run(*pSession, WdirToken(m_alpha));
    const std::string strLink = static_cast<LPCTSTR>(FormatCommandLink("<#EDIR |C:/a'b\"c&d<e/|#>"));
    EXPECT_NE(strPage.find(strLink), std::string::npos) << strPage;
}

/**************************** WTREE ****************************/

TEST_F(CatalogCommandsTest, WtreeListsSiblingsThenChildren)
{
    const auto pSession = Login(Rights({ { m_projects, WA_GROUP_WHOLE } }));
    BOOL bResult = FALSE;
    const std::string strReply = Run(*pSession, "<#WTREE#>", &bResult);
    ASSERT_TRUE(bResult);
    const std::string strExpected = "\r\n<#TRSZ |4|#>\r\n"
                                    "<#TRIT |0| |-1| |1| |Projects| |"
        + std::to_string(m_projects.nBlock) + "| |" + std::to_string(m_projects.nSlot) + "|#>\r\n";
    EXPECT_EQ(strReply.substr(0, strExpected.size()), strExpected);
    // Projects (0) -> Alpha (1), Beta (2); Alpha -> Deep (3 is reserved for
    // Alpha's children before Beta's are looked at).
    EXPECT_NE(strReply.find("<#TRIT |1| |0| |3| |Alpha|"), std::string::npos);
    EXPECT_NE(strReply.find("<#TRIT |1| |0| |-1| |Beta &#60;b&#62;|"), std::string::npos);
    EXPECT_NE(strReply.find("<#TRIT |2| |1| |-1| |Deep|"), std::string::npos);
    EXPECT_EQ(strReply.find("HTML"), std::string::npos);
}

TEST_F(CatalogCommandsTest, WtreeOrdersSiblingsBeforeTheirChildren)
{
    // Groups A (A1, A2) and B below Archive give Archive, A, B, A1, A2.
    const std::unique_ptr<CNodeRec> pArchive(new CNodeRec(m_pCatalog.get(), m_archive.nBlock, m_archive.nSlot));
    auto pA = AddNode(*pArchive, "A");
    AddNode(*pA, "A1");
    AddNode(*pA, "A2");
    AddNode(*pArchive, "B");
    const auto pSession = Login(Rights({ { m_archive, WA_GROUP_WHOLE } }));
    const std::string strReply = Run(*pSession, "<#WTREE#>");
    const size_t nA = strReply.find("<#TRIT |1| |0| |3| |A|");
    const size_t nB = strReply.find("<#TRIT |1| |0| |-1| |B|");
    const size_t nA1 = strReply.find("<#TRIT |2| |1| |-1| |A1|");
    const size_t nA2 = strReply.find("<#TRIT |2| |1| |-1| |A2|");
    ASSERT_NE(nA2, std::string::npos);
    EXPECT_LT(nA, nB);
    EXPECT_LT(nB, nA1);
    EXPECT_LT(nA1, nA2);
}

TEST_F(CatalogCommandsTest, WtreeGroupNamesCannotBreakTheirToken)
{
    const std::unique_ptr<CNodeRec> pArchive(new CNodeRec(m_pCatalog.get(), m_archive.nBlock, m_archive.nSlot));
    const auto pOdd = AddNode(*pArchive, "a|b #> c");
    const auto pSession = Login(Rights({ { m_archive, WA_GROUP_WHOLE } }));
    const std::string strReply = Run(*pSession, "<#WTREE#>");
    const std::string strLine = "<#TRIT |1| |0| |-1| |a&#124;b #&#62; c| |" + std::to_string(pOdd->GetBlock()) + "| |"
        + std::to_string(pOdd->GetSlot()) + "|#>\r\n";
    EXPECT_NE(strReply.find(strLine), std::string::npos) << strReply;
}

TEST_F(CatalogCommandsTest, WtreeOfABlindProfileIsEmpty)
{
    const auto pSession = Login(NoGroups());
    EXPECT_EQ(Run(*pSession, "<#WTREE#>"), "\r\n<#TRSZ |0|#>\r\n");
    EXPECT_STREQ(CreateWebCommand("<#WTREE#>")->GetLogText(), "Get Archivora TREE");
}

TEST_F(CatalogCommandsTest, WithoutAProfileTheCommandsAreRefused)
{
    const auto pLogin = CreateWebCommand("<#LOGIN |7| |ana| |nope| |x|#>");
    CWASession session(static_cast<CWACmdLogin&>(*pLogin), m_settings, *m_pCatalog);
    std::unique_ptr<CWACommand> pCommand = CreateWebCommand("<#WTREE#>");
    CWAOutputFile reply;
    EXPECT_FALSE(session.RunCommand(pCommand, reply));
    EXPECT_EQ(session.GetStatus(), WA_STATUS_MALFORMED);
}

// Whichever write of the reply fails, the command fails with status 12 and
// the reply is short; a run in which no write fails gives the whole reply.
TEST_F(CatalogCommandsTest, EveryFailingReplyWriteFailsTheCommand)
{
    const auto pSession = Login(AllGroups());
    for (const std::string& strToken :
        { WdirToken(m_alpha), std::string("<#WTREE#>"), std::string("<#WFIND |txt| |1W| |NAM|#>") }) {
        const std::string strWhole = Run(*pSession, strToken);
        int nFail = 1;
        for (;; ++nFail) {
            SCOPED_TRACE(strToken + ": write " + std::to_string(nFail) + " fails");
            SetReplyWriteFailure(nFail);
            BOOL bResult = FALSE;
            const std::string strReply = Run(*pSession, strToken, &bResult);
            SetReplyWriteFailure(0);
            if (bResult) {
                EXPECT_EQ(strReply, strWhole);
                break;
            }
            EXPECT_EQ(pSession->GetStatus(), WA_STATUS_REPLY_FAILED);
            EXPECT_LT(strReply.size(), strWhole.size());
            ASSERT_LT(nFail, 2000);
        }
        EXPECT_GT(nFail, 5) << strToken;
    }
}

} // namespace

/**************************** WFIND ****************************/

namespace {

using CatalogFindTest = CatalogSessionTest;

TEST_F(CatalogFindTest, WfindArgumentsAreChecked)
{
    const auto pFind = CreateWebCommand("<#WFIND |Tax Report| |1W| |NAM|#>");
    ASSERT_EQ(pFind->GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(static_cast<CWACmdWfind&>(*pFind).GetWords(), (std::vector<CString> { "tax", "report" }));
    EXPECT_EQ(pFind->GetLogText(), "FIND - 'tax report' using 'At Least One Word Listed' look in 'Name'");
    const auto pSentence = CreateWebCommand("<#WFIND |Tax  Report| |WS| |ANY|#>");
    EXPECT_EQ(static_cast<CWACmdWfind&>(*pSentence).GetWords(), (std::vector<CString> { "tax  report" }));
    EXPECT_EQ(CreateWebCommand("<#WFIND |x| |1WS| |NAM|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(CreateWebCommand("<#WFIND |x| |1W| |NA|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(CreateWebCommand("<#WFIND |x| |XX| |NAM|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(CreateWebCommand("<#WFIND |x| |1W|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(CreateWebCommand("<#WFIND |x| |1W| |NAM|")->GetStatus(), WA_STATUS_MALFORMED);
    // No text longer than a document's can match; such a text is not taken, nor shown back.
    const std::string strLongest(CWACmdWfind::MAX_SEARCH_TEXT, 'a');
    EXPECT_EQ(CreateWebCommand(("<#WFIND |" + strLongest + "| |WS| |ANY|#>").c_str())->GetStatus(), WA_STATUS_OK);
    for (const size_t nLength : { strLongest.size() + 1, size_t { 1 } << 20 }) {
        const std::string strToken = "<#WFIND |" + std::string(nLength, 'a') + "| |1W| |NAM|#>";
        EXPECT_EQ(CreateWebCommand(strToken.c_str())->GetStatus(), WA_STATUS_MALFORMED) << nLength;
    }
}

TEST_F(CatalogFindTest, WfindSeesOnlyGrantedGroups)
{
    const auto pAll = Login(AllGroups());
    const std::string strAll = Run(*pAll, "<#WFIND |txt| |1W| |NAM|#>");
    EXPECT_NE(strAll.find("old.txt"), std::string::npos);
    EXPECT_NE(strAll.find("deep.txt"), std::string::npos);
    const auto pArchive = Login(Rights({ { m_archive, WA_GROUP_WHOLE } }));
    const std::string strArchive = Run(*pArchive, "<#WFIND |txt| |1W| |NAM|#>");
    EXPECT_NE(strArchive.find("old.txt"), std::string::npos);
    EXPECT_EQ(strArchive.find("deep.txt"), std::string::npos);
    EXPECT_EQ(strArchive.find("one.txt"), std::string::npos);
}

TEST_F(CatalogFindTest, WfindMatchModes)
{
    const auto pSession = Login(AllGroups());
    EXPECT_NE(Run(*pSession, "<#WFIND |one deep| |1W| |NAM|#>").find("one.txt"), std::string::npos);
    EXPECT_EQ(Run(*pSession, "<#WFIND |one deep| |AW| |NAM|#>").find("one.txt"), std::string::npos);
    EXPECT_NE(Run(*pSession, "<#WFIND |ONE.TXT| |WS| |NAM|#>").find("one.txt"), std::string::npos);
}

TEST_F(CatalogFindTest, WfindLooksInTheChosenField)
{
    {
        CDocumentRec record(
            m_pCatalog.get(), DocumentRef(m_alpha, "one.txt").nBlock, DocumentRef(m_alpha, "one.txt").nSlot);
        CDocumentInfo info {};
        ASSERT_NE(record.GetInfo(&info), nullptr);
        std::snprintf(info.szDescription, sizeof(info.szDescription), "%s", "Budget Draft");
        std::snprintf(info.szSecondary, sizeof(info.szSecondary), "%s", "from Ana");
        ASSERT_TRUE(record.UpdateInfo(info));
    }
    const auto pSession = Login(AllGroups());
    const auto found = [&](const char* pszToken) {
        const std::string strPage = Run(*pSession, pszToken);
        return strPage.find("one.txt") != std::string::npos;
    };
    EXPECT_TRUE(found("<#WFIND |BUDGET| |1W| |DSC|#>"));
    EXPECT_FALSE(found("<#WFIND |budget| |1W| |NAM|#>"));
    EXPECT_TRUE(found("<#WFIND |ana| |1W| |FTO|#>"));
    EXPECT_FALSE(found("<#WFIND |ana| |1W| |DSC|#>"));
    EXPECT_TRUE(found("<#WFIND |budget ana| |1W| |ANY|#>"));
    // All words must stand in one of the texts.
    EXPECT_FALSE(found("<#WFIND |budget ana| |AW| |ANY|#>"));
    EXPECT_TRUE(found("<#WFIND |draft budget| |AW| |ANY|#>"));
    const std::string strFolder = Home().filename().string();
    EXPECT_TRUE(found(("<#WFIND |" + strFolder + "| |WS| |FLD|#>").c_str()));
    EXPECT_FALSE(found("<#WFIND |one| |WS| |FLD|#>"));
}

TEST_F(CatalogFindTest, PageStaysInsideTheKeptResult)
{
    const auto pSession = Login(AllGroups());
    BOOL bResult = TRUE;
    Run(*pSession, "<#PAGE |2|#>", &bResult);
    EXPECT_FALSE(bResult); // Nothing kept yet
    Run(*pSession, "<#WFIND |txt| |1W| |NAM|#>");
    const std::string strFar = Run(*pSession, "<#PAGE |99|#>");
    EXPECT_NE(strFar.find("deep.txt"), std::string::npos); // Clamped to the one page
    EXPECT_NE(Run(*pSession, "<#PAGE |-5|#>").find("deep.txt"), std::string::npos);
}

TEST_F(CatalogFindTest, ResultPagesHoldTwentyWithLinksAroundTheCurrentPage)
{
    {
        CNodeRec archive(m_pCatalog.get(), m_archive.nBlock, m_archive.nSlot);
        for (int i = 0; i < 20; ++i)
            AddFile(archive, ("many" + std::to_string(100 + i) + ".dat").c_str(), 1);
    }
    const auto pSession = Login(AllGroups());
    const std::string strFirst = Run(*pSession, "<#WFIND |many| |1W| |NAM|#>");
    EXPECT_NE(strFirst.find("many119.dat"), std::string::npos);
    EXPECT_EQ(strFirst.find("[Next&gt;&gt;]"), std::string::npos); // 20 results: one page
    AddFile(*std::make_unique<CNodeRec>(m_pCatalog.get(), m_alpha.nBlock, m_alpha.nSlot), "many999.dat", 1);
    const auto pOther = Login(AllGroups());
    const std::string strPage1 = Run(*pOther, "<#WFIND |many| |1W| |NAM|#>");
    EXPECT_NE(strPage1.find("[Next&gt;&gt;]"), std::string::npos);
    EXPECT_EQ(strPage1.find("many999.dat"), std::string::npos); // Sorted last, on page 2
    const std::string strPage2 = Run(*pOther, "<#PAGE |2|#>");
    EXPECT_NE(strPage2.find("many999.dat"), std::string::npos);
    EXPECT_NE(strPage2.find("[&lt;&lt;Prev]"), std::string::npos);
    EXPECT_NE(strPage2.find("<li type='1' value='21'>"), std::string::npos);
}

TEST_F(CatalogFindTest, TextsInTheResultAreEscaped)
{
    {
        CNodeRec archive(m_pCatalog.get(), m_archive.nBlock, m_archive.nSlot);
        AddFile(archive, "a<script>.txt", 1);
    }
    const auto pSession = Login(AllGroups());
    const std::string strPage = Run(*pSession, "<#WFIND |<script>| |WS| |NAM|#>");
    EXPECT_EQ(strPage.find("<script>"), std::string::npos);
    EXPECT_NE(strPage.find("a&#60;script>.txt"), std::string::npos);
}

// The page numbers the links of a result page offer, and the current one.
std::pair<std::vector<int>, int> PageLinks(const std::string& strPage)
{
    const size_t nStart = strPage.find("Result Pages:");
    const std::string strLinks = strPage.substr(nStart, strPage.find("</font>", nStart) - nStart);
    std::vector<int> pages;
    for (size_t nAt = strLinks.find("return true'>"); nAt != std::string::npos;
         nAt = strLinks.find("return true'>", nAt + 1)) {
        const char* pszNumber = strLinks.c_str() + nAt + 13;
        if (std::isdigit(static_cast<unsigned char>(*pszNumber)))
            pages.push_back(std::atoi(pszNumber));
    }
    const size_t nCurrent = strLinks.find("<b>");
    return { pages, nCurrent == std::string::npos ? -1 : std::atoi(strLinks.c_str() + nCurrent + 3) };
}

TEST_F(CatalogFindTest, PageLinksShowUpToFourPagesOnEachSide)
{
    {
        CNodeRec archive(m_pCatalog.get(), m_archive.nBlock, m_archive.nSlot);
        for (int i = 0; i < 381; ++i) // 20 pages, the last with one result
            AddFile(archive, ("p" + std::to_string(1000 + i) + ".dat").c_str(), 1);
    }
    const auto pSession = Login(AllGroups());
    const auto first = PageLinks(Run(*pSession, "<#WFIND |.dat| |WS| |NAM|#>"));
    EXPECT_EQ(first.first, (std::vector<int> { 2, 3, 4, 5, 6, 7, 8, 9 }));
    EXPECT_EQ(first.second, 1);
    const auto tenth = PageLinks(Run(*pSession, "<#PAGE |10|#>"));
    EXPECT_EQ(tenth.first, (std::vector<int> { 6, 7, 8, 9, 11, 12, 13, 14 }));
    EXPECT_EQ(tenth.second, 10);
    const std::string strLast = Run(*pSession, "<#PAGE |20|#>");
    EXPECT_EQ(PageLinks(strLast).first, (std::vector<int> { 12, 13, 14, 15, 16, 17, 18, 19 }));
    EXPECT_NE(strLast.find("<li type='1' value='381'>"), std::string::npos);
}

TEST_F(CatalogFindTest, ASearchWithoutMatchesShowsCountZeroAndPageOneAlone)
{
    const auto pSession = Login(AllGroups());
    BOOL bResult = FALSE;
    const std::string strPage = Run(*pSession, "<#WFIND |nothing like this| |AW| |ANY|#>", &bResult);
    ASSERT_TRUE(bResult);
    CString strFormat, strCount;
    strFormat.LoadString(5037);
    strCount.Format(strFormat, 0, 0);
    EXPECT_NE(strPage.find(static_cast<LPCTSTR>(HtmlEscape(strCount, 1))), std::string::npos) << strPage;
    EXPECT_EQ(strPage.find("<li "), std::string::npos);
    const auto links = PageLinks(strPage);
    EXPECT_TRUE(links.first.empty());
    EXPECT_EQ(links.second, 1);
    EXPECT_EQ(strPage.find("Prev]"), std::string::npos);
    EXPECT_EQ(strPage.find("Next&gt;"), std::string::npos);
}

} // namespace
