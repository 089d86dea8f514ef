#include "webaccess/server/CatalogCommands.h"

#include "tests/webaccess/server/CatalogSessionFixture.h"

#include <memory>
#include <string>

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
    EXPECT_NE(strReply.find("<#TRIT |1| |0| |-1| |Beta &#60;b>|"), std::string::npos);
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

} // namespace
