#include "webaccess/server/FileCommands.h"

#include "tests/webaccess/server/CatalogSessionFixture.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// ATTR and DOWN2 of catalog references, run in sessions whose profiles
// grant parts of the catalog.
class ItemRightsTest : public CatalogSessionTest {
protected:
    static std::string Item(CRecordRef ref)
    {
        return "|*" + std::to_string(ref.nBlock) + "," + std::to_string(ref.nSlot) + "|";
    }
    // Catalogs the message at [dwOffset, dwOffset + nLength) of the store
    // "inbox", with its separator line at dwSeparator, its subject and date,
    // as the store's walk finds it, and links it to the node. A message
    // without subject is catalogued under an empty title.
    CRecordRef CatalogMessage(
        CRecordRef node, const char* pszSubject, DWORD dwSeparator, DWORD dwOffset, size_t nLength, DWORD dwDate = 0)
    {
        CDocumentInfo info {};
        info.wType = DOCUMENT_MAIL;
        const DWORD id[] = { dwSeparator, dwOffset, static_cast<DWORD>(nLength) };
        std::memcpy(info.id, id, sizeof id);
        info.id[12] = ' ';
        info.dwAttributes = dwDate;
        std::snprintf(info.szName, sizeof info.szName, "%s", pszSubject);
        CNodeRec group(m_pCatalog.get(), node.nBlock, node.nSlot);
        std::unique_ptr<CDocumentRec> pDocument;
        if (*pszSubject) {
            pDocument.reset(m_pCatalog->AddAndLink(&group, info, ProgramPath("inbox").c_str()));
        } else {
            const std::string strStore = "*" + ProgramPath("inbox") + "*";
            pDocument.reset(m_pCatalog->FindOrAddDocument(strStore.c_str(), "*0", &info));
            EXPECT_TRUE(pDocument && group.AddDocument(pDocument.get()));
        }
        EXPECT_NE(pDocument, nullptr) << pszSubject;
        return pDocument ? pDocument->GetRef() : CRecordRef {};
    }
    // Runs the command on the document; its status in the session.
    int Status(CWASession& session, const char* pszCommand, CRecordRef document)
    {
        BOOL bResult = FALSE;
        Run(session, std::string("<#") + pszCommand + " " + Item(document) + "#>", &bResult);
        return bResult ? WA_STATUS_OK : session.GetStatus();
    }
};

TEST_F(ItemRightsTest, DocumentsOfGrantedGroupsAreServed)
{
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_PART } }));
    const CRecordRef one = DocumentRef(m_alpha, "one.txt");
    EXPECT_EQ(Status(*pSession, "ATTR", one), WA_STATUS_OK);
    EXPECT_NE(Run(*pSession, "<#ATTR " + Item(one) + "#>").find("| |1| |"), std::string::npos);
    BOOL bResult = FALSE;
    const std::string strReply = Run(*pSession, "<#DOWN2 " + Item(one) + "#>", &bResult);
    EXPECT_TRUE(bResult);
    EXPECT_NE(strReply.find("<#DOWN2 |one.txt| |1| |"), std::string::npos) << strReply;
}

TEST_F(ItemRightsTest, DocumentsOutsideTheGrantedGroupsAreNotThere)
{
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_PART } }));
    for (const CRecordRef document : { DocumentRef(m_archive, "old.txt"), DocumentRef(m_deep, "deep.txt") }) {
        for (const char* pszCommand : { "ATTR", "DOWN2" }) {
            EXPECT_EQ(Status(*pSession, pszCommand, document), WA_STATUS_MISSING) << pszCommand;
            EXPECT_EQ(Run(*pSession, std::string("<#") + pszCommand + " " + Item(document) + "#>").find("<#ATTR2"),
                std::string::npos);
        }
    }
}

TEST_F(ItemRightsTest, AGroupGrantedWholeServesTheDocumentsBelowIt)
{
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_WHOLE } }));
    EXPECT_EQ(Status(*pSession, "ATTR", DocumentRef(m_deep, "deep.txt")), WA_STATUS_OK);
    EXPECT_EQ(Status(*pSession, "DOWN2", DocumentRef(m_deep, "deep.txt")), WA_STATUS_OK);
    EXPECT_EQ(Status(*pSession, "ATTR", DocumentRef(m_archive, "old.txt")), WA_STATUS_MISSING);
}

TEST_F(ItemRightsTest, AGroupOnlyOnTheWayServesNoDocument)
{
    // Projects lies on the way to Alpha; a document linked to it alone stays hidden.
    const std::unique_ptr<CNodeRec> pProjects(new CNodeRec(m_pCatalog.get(), m_projects.nBlock, m_projects.nSlot));
    AddFile(*pProjects, "plan.txt", 2);
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_PART } }));
    EXPECT_EQ(Status(*pSession, "ATTR", DocumentRef(m_projects, "plan.txt")), WA_STATUS_MISSING);
    const auto pWhole = Login(AllGroups());
    EXPECT_EQ(Status(*pWhole, "ATTR", DocumentRef(m_projects, "plan.txt")), WA_STATUS_OK);
}

TEST_F(ItemRightsTest, ADocumentInTwoGroupsIsServedThroughEitherGrant)
{
    const CRecordRef old = DocumentRef(m_archive, "old.txt");
    CDocumentRec document(m_pCatalog.get(), old.nBlock, old.nSlot);
    CNodeRec beta(m_pCatalog.get(), m_beta.nBlock, m_beta.nSlot);
    ASSERT_TRUE(beta.AddDocument(&document));
    const auto pSession = Login(Rights({ { m_beta, WA_GROUP_PART } }));
    EXPECT_EQ(Status(*pSession, "ATTR", old), WA_STATUS_OK);
    EXPECT_EQ(Status(*pSession, "DOWN2", old), WA_STATUS_OK);
}

TEST_F(ItemRightsTest, PathsNeedTheExplorerRight)
{
    std::ofstream(Home() / "note.txt") << "abc";
    const std::string strPath = ProgramPath("note.txt");
    const std::string strMissing = ProgramPath("none.txt");
    // Whether a path exists must not show either: both are refused alike.
    for (const auto& grants : { Rights({ { m_alpha, WA_GROUP_WHOLE } }),
             Grants { { WA_ALL_GROUPS, WA_GROUP_WHOLE },
                 { { static_cast<DWORD>(m_alpha.nBlock), static_cast<DWORD>(m_alpha.nSlot) }, 0 } } }) {
        const auto pSession = Login(grants);
        for (const char* pszCommand : { "ATTR", "DOWN2" }) {
            for (const std::string& strItem : { strPath, strMissing }) {
                BOOL bResult = TRUE;
                const std::string strReply
                    = Run(*pSession, std::string("<#") + pszCommand + " |" + strItem + "|#>", &bResult);
                EXPECT_FALSE(bResult) << pszCommand << " " << strItem;
                EXPECT_EQ(pSession->GetStatus(), WA_STATUS_MALFORMED);
                EXPECT_EQ(strReply.find("<#"), std::string::npos) << strReply;
            }
        }
    }
    const auto pExplorer = Login(AllGroups());
    BOOL bResult = FALSE;
    EXPECT_NE(Run(*pExplorer, "<#DOWN2 |" + strPath + "|#>", &bResult).find("abc"), std::string::npos);
    EXPECT_TRUE(bResult);
    Run(*pExplorer, "<#ATTR |" + strMissing + "|#>", &bResult);
    EXPECT_FALSE(bResult);
    EXPECT_EQ(pExplorer->GetStatus(), WA_STATUS_MISSING);
}

TEST_F(ItemRightsTest, AMessageIsSentOnlyWhileTheStoreHoldsItAtItsPlace)
{
    const std::string strSeparator = "From a@example.org Sat Jan  1 00:00:00 2000\r\n";
    // A message of the subject line and day, its body padded to nLength bytes when given.
    const auto Mail = [](const std::string& strSubject, const char* pszDay, size_t nLength = 0) {
        std::string strMail = strSubject + "Date: " + pszDay + " Jan 2000 10:00:00 +0000\r\n\r\nThe body.\r\n";
        if (nLength > strMail.size())
            strMail.insert(strMail.size() - 2, nLength - strMail.size(), '.');
        return strMail;
    };
    constexpr DWORD SATURDAY = 946720800; // 1 Jan 2000 10:00 UTC
    struct CCase {
        const char* pszWhat;
        const char* pszTitle;  // the catalogued message's subject ("" for none), in lower case
        std::string strHidden; // the hidden group's message that compaction moves to the place
    };
    // Each hidden message has the catalogued one's length; the first was written a day later.
    const size_t nLength = Mail("Subject: Minutes of the board meeting\r\n", "Sat, 1").size();
    const CCase cases[] = {
        { "equal subjects", "minutes", Mail("Subject: Minutes\r\n", "Sun, 2", nLength) },
        { "a subject that begins with the title", "minutes",
            Mail("Subject: Minutes of the board\r\n", "Sat, 1", nLength) },
        { "no subject", "minutes", Mail("", "Sat, 1", nLength) },
        { "an empty title", "", Mail("Subject: Minutes\r\n", "Sat, 1", nLength) },
    };
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_PART } }));
    for (const CCase& test : cases) {
        const std::string strVisible
            = Mail(*test.pszTitle ? "Subject: " + std::string(test.pszTitle) + "\r\n" : "", "Sat, 1", nLength);
        ASSERT_EQ(test.strHidden.size(), strVisible.size()) << test.pszWhat;
        std::ofstream(Home() / "inbox", std::ios::binary | std::ios::trunc)
            << strSeparator << strVisible << strSeparator << test.strHidden;
        const auto dwSecond = static_cast<DWORD>(strSeparator.size() + strVisible.size());
        const CRecordRef visible = CatalogMessage(
            m_alpha, test.pszTitle, 0, static_cast<DWORD>(strSeparator.size()), strVisible.size(), SATURDAY);
        CatalogMessage(m_archive, "Hidden", dwSecond, dwSecond + static_cast<DWORD>(strSeparator.size()),
            test.strHidden.size(), SATURDAY);
        BOOL bResult = FALSE;
        EXPECT_EQ(Run(*pSession, "<#DOWN2 " + Item(visible) + "#>", &bResult),
            "\r\n<#DOWN2 |" + std::string(test.pszTitle) + "| |" + std::to_string(nLength) + "| ||#>\r\n" + strVisible)
            << test.pszWhat;
        EXPECT_TRUE(bResult) << test.pszWhat;

        // New mail appended: the message is still where it was.
        std::ofstream(Home() / "inbox", std::ios::binary | std::ios::app)
            << strSeparator << Mail("Subject: New\r\n", "Sun, 2");
        EXPECT_EQ(Status(*pSession, "DOWN2", visible), WA_STATUS_OK) << test.pszWhat;

        // Compacted without the catalogued message, the store holds the hidden one at its place.
        std::ofstream(Home() / "inbox", std::ios::binary | std::ios::trunc) << strSeparator << test.strHidden;
        for (const char* pszCommand : { "DOWN2", "ATTR" }) {
            EXPECT_EQ(Run(*pSession, std::string("<#") + pszCommand + " " + Item(visible) + "#>", &bResult), "")
                << test.pszWhat << " " << pszCommand;
            EXPECT_FALSE(bResult);
            EXPECT_EQ(pSession->GetStatus(), WA_STATUS_UNAVAILABLE) << test.pszWhat << " " << pszCommand;
        }
    }
    // Shrunk, the store holds less than the recorded length.
    std::ofstream(Home() / "inbox", std::ios::binary | std::ios::trunc)
        << strSeparator << Mail("", "Sat, 1").substr(0, 20);
    const CRecordRef shrunk = CatalogMessage(m_alpha, "Shrunk", 0, static_cast<DWORD>(strSeparator.size()), 60);
    EXPECT_EQ(Status(*pSession, "DOWN2", shrunk), WA_STATUS_UNAVAILABLE);
}

} // namespace
