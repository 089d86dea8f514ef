#include "webaccess/server/CatalogCommands.h"

#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "tests/support/TempFolder.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWACatalogLists.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/WebCommands.h"

#include <gtest/gtest.h>
#include <minizip/unzip.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The catalog of these tests:
//   root
//     Projects          info "current work"
//       Alpha           big.bin (1,500,000 bytes), empty.txt (0), one.txt (1)
//         Deep          deep.txt
//       Beta <b>
//     Archive           old.txt
class CatalogCommandsTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        const std::string strCatalog = ProgramPath("archiv.cat");
        ASSERT_TRUE(CCatalog::CreateFile(FALSE, strCatalog.c_str(), BLOCK_SIZE));
        m_pCatalog = std::make_unique<CCatalog>(strCatalog.c_str(), 1);
        ASSERT_TRUE(m_pCatalog->Acquire());
        SetWebCatalog(m_pCatalog.get());
        const std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
        auto pProjects = AddNode(*pRoot, "Projects", "current work");
        auto pAlpha = AddNode(*pProjects, "Alpha");
        auto pDeep = AddNode(*pAlpha, "Deep");
        auto pBeta = AddNode(*pProjects, "Beta <b>");
        auto pArchive = AddNode(*pRoot, "Archive");
        m_projects = pProjects->GetRef();
        m_alpha = pAlpha->GetRef();
        m_deep = pDeep->GetRef();
        m_beta = pBeta->GetRef();
        m_archive = pArchive->GetRef();
        AddFile(*pAlpha, "big.bin", 1500000);
        AddFile(*pAlpha, "empty.txt", 0);
        AddFile(*pAlpha, "one.txt", 1);
        AddFile(*pDeep, "deep.txt", 3);
        AddFile(*pArchive, "old.txt", 3);
    }
    void TearDown() override
    {
        SetWebCatalog(nullptr);
        if (m_pCatalog != nullptr)
            static_cast<void>(m_pCatalog->Release());
        m_pCatalog.reset();
        ProgramFolderTest::TearDown();
    }

    std::string ProgramPath(const std::string& strName) const
    {
        return ProgramPathFromHostPath((Home() / strName).string());
    }
    std::unique_ptr<CNodeRec> AddNode(CNodeRec& parent, const char* pszName, const char* pszInfo = "")
    {
        CNodeInfo info;
        MakeDefaultNames(&info);
        std::snprintf(info.szName, sizeof(info.szName), "%s", pszName);
        std::snprintf(info.szInfo, sizeof(info.szInfo), "%s", pszInfo);
        info.nKind = 2;
        std::unique_ptr<CNodeRec> pNode(parent.FindOrAddChild(info));
        EXPECT_NE(pNode, nullptr) << pszName;
        return pNode;
    }
    void AddFile(CNodeRec& node, const char* pszName, std::uintmax_t nSize)
    {
        std::ofstream(Home() / pszName).close();
        std::filesystem::resize_file(Home() / pszName, nSize);
        const std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindOrAddPath(&node, ProgramPath(pszName).c_str()));
        EXPECT_NE(pDocument, nullptr) << pszName;
    }

    // A session whose profile grants rights (and every command).
    using Grants = std::vector<std::pair<WA_GROUP_KEY, WORD>>;
    std::unique_ptr<CWASession> Login(const Grants& grants, const char* pszBrowser = "x")
    {
        CWAGroupRightsMap rights;
        for (const auto& [key, wValue] : grants)
            rights.SetAt(key, wValue);
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity("guest", "pw", "");
        pProfile->SetPermissions(TRUE, TRUE, 1);
        pProfile->SetGroupRights(rights);
        m_settings.m_profiles.clear();
        m_settings.m_profiles.push_back(std::move(pProfile));
        const auto pLogin = CreateWebCommand((std::string("<#LOGIN |7| |ana| |pw| |") + pszBrowser + "|#>").c_str());
        EXPECT_EQ(pLogin->GetStatus(), WA_STATUS_OK);
        return std::make_unique<CWASession>(static_cast<CWACmdLogin&>(*pLogin), m_settings, *m_pCatalog);
    }
    static Grants Rights(std::initializer_list<std::pair<CRecordRef, WORD>> entries)
    {
        Grants grants;
        for (const auto& [ref, wValue] : entries)
            grants.push_back({ { static_cast<DWORD>(ref.nBlock), static_cast<DWORD>(ref.nSlot) }, wValue });
        return grants;
    }
    static Grants AllGroups() { return { { WA_ALL_GROUPS, WA_GROUP_WHOLE } }; }
    // A grant of the root alone, without what lies below it: no group is visible.
    static Grants NoGroups() { return { { { 0, 0 }, WA_GROUP_PART } }; }

    // Runs a token in the session; the reply's content, or "" when the run failed.
    std::string Run(CWASession& session, const std::string& strToken, BOOL* pbResult = nullptr)
    {
        std::unique_ptr<CWACommand> pCommand = CreateWebCommand(strToken.c_str());
        EXPECT_NE(pCommand, nullptr);
        EXPECT_EQ(pCommand->GetStatus(), WA_STATUS_OK) << strToken;
        const std::string strReply = ProgramPath("7.~ou");
        CWAOutputFile reply;
        EXPECT_TRUE(reply.Open(strReply.c_str(), TRUE));
        const BOOL bResult = session.RunCommand(pCommand, reply);
        reply.Close();
        if (pbResult != nullptr)
            *pbResult = bResult;
        return ReadZipEntry((Home() / "7.~ou").string());
    }
    static std::string ReadZipEntry(const std::string& strPath)
    {
        std::string strContent;
        unzFile hZip = unzOpen(strPath.c_str());
        if (hZip == nullptr)
            return strContent;
        if (unzGoToFirstFile(hZip) == UNZ_OK && unzOpenCurrentFile(hZip) == UNZ_OK) {
            char buffer[4096];
            int nRead;
            while ((nRead = unzReadCurrentFile(hZip, buffer, sizeof buffer)) > 0)
                strContent.append(buffer, static_cast<size_t>(nRead));
            unzCloseCurrentFile(hZip);
        }
        unzClose(hZip);
        return strContent;
    }
    static std::string WdirToken(CRecordRef ref, const char* pszOrder = nullptr)
    {
        std::string strToken = "<#WDIR |" + std::to_string(ref.nBlock) + "| |" + std::to_string(ref.nSlot) + "|";
        if (pszOrder != nullptr)
            strToken += std::string(" |") + pszOrder + "|";
        return strToken + "#>";
    }
    std::vector<std::string> ChildNames(CWASession& session, CRecordRef ref)
    {
        const CNodeRec node(m_pCatalog.get(), ref.nBlock, ref.nSlot);
        std::vector<std::string> names;
        for (const auto& pChild : session.GetCatalogLists().GetChildList(node))
            names.emplace_back(pChild->GetName());
        return names;
    }
    int DocumentCount(CWASession& session, CRecordRef ref)
    {
        const CNodeRec node(m_pCatalog.get(), ref.nBlock, ref.nSlot);
        const int nCount = session.GetCatalogLists().CountDocuments(node);
        EXPECT_EQ(static_cast<size_t>(nCount), session.GetCatalogLists().GetDocumentList(node).size());
        return nCount;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    CWASettings m_settings;
    CRecordRef m_projects, m_alpha, m_deep, m_beta, m_archive;
    const CRecordRef m_root { 0, 0 };
};

/**************************** The session's view ****************************/

TEST_F(CatalogCommandsTest, WholeCatalogListsTheSystemsRootLast)
{
    const auto pSession = Login(AllGroups());
    EXPECT_TRUE(pSession->GetCatalogLists().IsWholeCatalog());
    const auto names = ChildNames(*pSession, m_root);
    ASSERT_EQ(names.size(), 3U);
    EXPECT_EQ(names[0], "Projects");
    EXPECT_EQ(names[1], "Archive");
    const CNodeRec root(m_pCatalog.get(), 0, 0);
    const auto children = pSession->GetCatalogLists().GetChildList(root);
    EXPECT_EQ(children.back()->GetRef(), (CRecordRef { 3, 0 }));
    EXPECT_EQ(DocumentCount(*pSession, m_archive), 1);
}

TEST_F(CatalogCommandsTest, WholeGrantShowsTheSubtreeWithDocuments)
{
    const auto pSession = Login(Rights({ { m_projects, WA_GROUP_WHOLE } }));
    EXPECT_FALSE(pSession->GetCatalogLists().IsWholeCatalog());
    EXPECT_EQ(ChildNames(*pSession, m_root), (std::vector<std::string> { "Projects" }));
    EXPECT_EQ(ChildNames(*pSession, m_projects), (std::vector<std::string> { "Alpha", "Beta <b>" }));
    EXPECT_EQ(ChildNames(*pSession, m_alpha), (std::vector<std::string> { "Deep" }));
    EXPECT_EQ(DocumentCount(*pSession, m_alpha), 3);
    EXPECT_EQ(DocumentCount(*pSession, m_deep), 1);
}

TEST_F(CatalogCommandsTest, PartGrantShowsTheGroupsDocumentsButNotItsSubGroups)
{
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_PART } }));
    EXPECT_EQ(ChildNames(*pSession, m_root), (std::vector<std::string> { "Projects" }));
    EXPECT_EQ(ChildNames(*pSession, m_projects), (std::vector<std::string> { "Alpha" }));
    EXPECT_TRUE(ChildNames(*pSession, m_alpha).empty());
    EXPECT_EQ(DocumentCount(*pSession, m_alpha), 3);
    // Projects is only on the way to Alpha: its documents stay hidden.
    EXPECT_EQ(DocumentCount(*pSession, m_projects), 0);
}

TEST_F(CatalogCommandsTest, NodeOutsideTheTreeHasNothing)
{
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_WHOLE } }));
    EXPECT_EQ(pSession->GetCatalogLists().FindItem(m_archive.nBlock, m_archive.nSlot), -1);
    EXPECT_TRUE(ChildNames(*pSession, m_archive).empty());
    EXPECT_EQ(DocumentCount(*pSession, m_archive), 0);
    EXPECT_EQ(DocumentCount(*pSession, m_beta), 0);
    const CNodeRec archive(m_pCatalog.get(), m_archive.nBlock, m_archive.nSlot);
    EXPECT_EQ(pSession->GetCatalogLists().CountChildren(archive), 0);
}

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

TEST_F(CatalogCommandsTest, WdirLogTextNamesThePath)
{
    EXPECT_STREQ(CreateWebCommand(WdirToken(m_deep).c_str())->GetLogText(), "Get Archivora DIR - Projects > Alpha > Deep");
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
