#include "mail/MailDocumentHooks.h"

#include "mail/CNetscapeMessage.h"
#include "mail/COE4Message.h"
#include "mail/COE5Message.h"
#include "mail/MailResult.h"
#include "mail/MboxFormat.h"
#include "mail/Oe4Format.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeInfoRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogTypes.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// Catalog documents of messages of generated stores, read through the
// installed mail hooks.
class MailDocumentHooksTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        InstallMailDocumentHooks();
        std::string strCatalog = ProgramPath(Home() / "archiv.cat");
        ASSERT_TRUE(CCatalog::CreateFile(FALSE, strCatalog.c_str(), BLOCK_SIZE));
        m_pCatalog = std::make_unique<CCatalog>(strCatalog.c_str(), 1);
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
        ASSERT_TRUE(pRoot);
        CNodeInfo info;
        MakeDefaultNames(&info);
        std::strcpy(info.szName, "Mail");
        info.nKind = 2;
        m_pNode.reset(pRoot->FindOrAddChild(info));
        ASSERT_TRUE(m_pNode);
    }

    void TearDown() override
    {
        m_pNode.reset();
        m_pCatalog.reset();
        SetMailDocumentHooks(nullptr);
        ProgramFolderTest::TearDown();
    }

    // Writes a store of the kind holding the messages, the store's program path.
    std::string WriteStore(int nKind, const std::vector<std::string>& messages, const std::vector<unsigned>& deleted)
    {
        if (nKind == MAIL_STORE_NETSCAPE) {
            std::vector<unsigned> statuses;
            for (unsigned bDeleted : deleted)
                statuses.push_back(bDeleted ? MOZILLA_STATUS_EXPUNGED : 0);
            m_folder.WriteFile("Inbox", BuildMbox(messages, statuses));
            return ProgramPath(m_folder.Path() / "Inbox");
        }
        if (nKind == MAIL_STORE_OE4) {
            std::vector<uint32_t> flags;
            for (unsigned bDeleted : deleted)
                flags.push_back(bDeleted ? IDX_FLAG_DELETED : 0);
            COe4Fixture store = BuildOe4Store(messages, flags);
            m_folder.WriteFile("Inbox.idx", store.strIdx);
            return ProgramPath(m_folder.WriteFile("Inbox.mbx", store.strMbx));
        }
        return ProgramPath(m_folder.WriteFile("Inbox.dbx", BuildDbx(messages).strDbx));
    }

    static std::unique_ptr<CMailMessage> NewReader(int nKind)
    {
        if (nKind == MAIL_STORE_NETSCAPE)
            return std::make_unique<CNetscapeMessage>();
        if (nKind == MAIL_STORE_OE4)
            return std::make_unique<COE4Message>();
        return std::make_unique<COE5Message>();
    }

    // Catalogs every message of a store as the new-mail monitor does.
    std::vector<std::unique_ptr<CDocumentRec>> Catalog(int nKind, const std::string& strStore)
    {
        std::unique_ptr<CMailMessage> pReader = NewReader(nKind);
        std::vector<std::unique_ptr<CDocumentRec>> documents;
        for (const CReadResult& read : ReadAll(*pReader, strStore))
            documents.push_back(AddMessage(
                nKind, strStore, read.strSubject.c_str(), read.dwStoreId, read.dwOffset, read.dwLength, read.tDate));
        return documents;
    }

    std::unique_ptr<CDocumentRec> AddMessage(int nKind, const std::string& strStore, const char* pszTitle,
        DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, time_t tDate = 0)
    {
        CDocumentInfo info {};
        info.wType = DOCUMENT_MAIL;
        std::strcpy(info.szName, pszTitle);
        info.nVersion = nKind;
        info.dwAttributes = static_cast<DWORD>(tDate);
        std::memcpy(info.id, &dwStoreId, 4);
        std::memcpy(info.id + 4, &dwOffset, 4);
        std::memcpy(info.id + 8, &dwLength, 4);
        info.id[12] = ' ';
        std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->AddAndLink(m_pNode.get(), info, strStore.c_str()));
        EXPECT_TRUE(pDocument) << pszTitle;
        return pDocument;
    }

    static std::vector<std::string> Messages()
    {
        std::vector<std::string> messages;
        for (const char* pszBody : { "First body.\n", "Second body.\n", "Third body.\n" }) {
            CFixtureMessage message;
            message.strSubject = std::string("About ") + pszBody;
            message.strSubject.pop_back();
            message.strBody = pszBody;
            messages.push_back(message.Text());
        }
        return messages;
    }

    TempFolder m_folder;
    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pNode;
};

class MailDocumentKindTest
    : public MailDocumentHooksTest
    , public ::testing::WithParamInterface<int> { };

} // namespace

TEST_P(MailDocumentKindTest, StateAndTextComeFromTheStore)
{
    int nKind = GetParam();
    // Outlook Express 5 stores keep no deleted flag; the others flag the second message.
    std::vector<unsigned> deleted { 0, nKind == MAIL_STORE_OE5 ? 0u : 1u, 0 };
    std::string strStore = WriteStore(nKind, Messages(), deleted);
    auto documents = Catalog(nKind, strStore);
    ASSERT_EQ(documents.size(), 3u);

    EXPECT_EQ(documents[0]->GetExpiryState(FALSE), EXPIRY_NONE);
    EXPECT_EQ(documents[1]->GetExpiryState(FALSE), deleted[1] ? EXPIRY_MAIL_DELETED : EXPIRY_NONE);
    EXPECT_EQ(documents[2]->RefreshState(), 0);

    char szText[300];
    EXPECT_EQ(documents[2]->ReadContent(szText, sizeof(szText)), CONTENT_TEXT);
    EXPECT_STREQ(szText, "Third body.\n");
    // A small buffer takes the beginning, terminated.
    EXPECT_EQ(documents[0]->ReadContent(szText, 6), CONTENT_TEXT);
    EXPECT_STREQ(szText, "First");
}

TEST_P(MailDocumentKindTest, ProtectionIsCheckedAndKeptInTheRecord)
{
    int nKind = GetParam();
    std::string strStore = WriteStore(nKind, Messages(), {});
    auto documents = Catalog(nKind, strStore);
    ASSERT_EQ(documents.size(), 3u);
    CDocumentRec& document = *documents[1];

    EXPECT_EQ(document.ChangeProtection("secret", "wrong"), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(document.ChangeProtection("elevenchars", ""), PROTECT_BAD_PASSWORD);
    ASSERT_EQ(document.ChangeProtection("secret", ""), PROTECT_OK);

    // The password lives in the record: a fresh object sees it.
    std::unique_ptr<CDocumentRec> pReloaded(document.Clone());
    ASSERT_TRUE(pReloaded->Load());
    char szText[64];
    EXPECT_EQ(pReloaded->ReadContent(szText, sizeof(szText)), CONTENT_PROTECTED);
    EXPECT_STREQ(szText, "");
    EXPECT_EQ(pReloaded->ReadMailMessage("Secret"), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(pReloaded->ReadMailMessage("secret"), PROTECT_OK);
    EXPECT_EQ(pReloaded->ChangeProtection(nullptr, "secret"), PROTECT_OK);
    EXPECT_EQ(pReloaded->ChangeProtection(nullptr, ""), PROTECT_BAD_PASSWORD);

    ASSERT_EQ(pReloaded->ChangeProtection("", "secret"), PROTECT_OK);
    EXPECT_EQ(pReloaded->ReadContent(szText, sizeof(szText)), CONTENT_TEXT);
    EXPECT_STREQ(szText, "Second body.\n");
}

INSTANTIATE_TEST_SUITE_P(StoreKinds, MailDocumentKindTest,
    ::testing::Values(MAIL_STORE_NETSCAPE, MAIL_STORE_OE4, MAIL_STORE_OE5),
    [](const ::testing::TestParamInfo<int>& info) {
        return info.param == MAIL_STORE_NETSCAPE ? "Netscape" : info.param == MAIL_STORE_OE4 ? "OE4" : "OE5";
    });

TEST_P(MailDocumentKindTest, AnotherMessageAtTheRecordedPlaceIsNotTheCataloguedOne)
{
    const int nKind = GetParam();
    const std::vector<std::string> messages = Messages();
    auto documents = Catalog(nKind, WriteStore(nKind, messages, {}));
    ASSERT_EQ(documents.size(), 3u);
    // Messages a compaction could put at the second one's place: of its
    // length, the same written a day later, one whose subject begins with its
    // title and one without a subject; and the same with a longer text.
    const auto Replaced = [](std::string strMessage, const char* pszFrom, const char* pszTo) {
        strMessage.replace(strMessage.find(pszFrom), std::strlen(pszFrom), pszTo);
        return strMessage;
    };
    const std::string impostors[] = {
        Replaced(messages[1], "Mon, 2 Jan", "Tue, 3 Jan"),
        Replaced(Replaced(messages[1], "body.\nDate", "body. Re\nDate"), "\nSecond body.\n", "\nSecond b.\n"),
        Replaced(messages[1], "Subject:", "X-Topic:"),
        Replaced(messages[1], "\nSecond body.\n", "\nSecond body, longer.\n"),
    };
    char szText[64];
    for (const std::string& strImpostor : impostors) {
        WriteStore(nKind, { messages[0], strImpostor, messages[2] }, {});
        EXPECT_EQ(documents[1]->RefreshState(), 2) << strImpostor;
        EXPECT_EQ(documents[1]->ReadContent(szText, sizeof(szText)), CONTENT_UNREADABLE) << strImpostor;
        EXPECT_EQ(documents[0]->RefreshState(), 0) << "the message before it is still there";
    }

    // New mail appended: every message is still where it was.
    WriteStore(nKind, { messages[0], messages[1], messages[2], messages[0] }, {});
    for (const auto& pDocument : documents)
        EXPECT_EQ(pDocument->RefreshState(), 0);
    EXPECT_EQ(documents[1]->ReadContent(szText, sizeof(szText)), CONTENT_TEXT);
    EXPECT_STREQ(szText, "Second body.\n");

    // The first message is gone: the records' places now fall on other messages or inside them.
    WriteStore(nKind, { messages[1], messages[2], messages[2] + messages[2] }, {});
    EXPECT_EQ(documents[1]->RefreshState(), 2);
    EXPECT_EQ(documents[2]->RefreshState(), 2);
}

TEST_F(MailDocumentHooksTest, UnreadableMessagesGiveFailureCodes)
{
    std::string strStore = WriteStore(MAIL_STORE_NETSCAPE, Messages(), {});
    auto documents = Catalog(MAIL_STORE_NETSCAPE, strStore);
    ASSERT_EQ(documents.size(), 3u);
    char szText[64];

    // A store kind without a reader.
    std::unique_ptr<CDocumentRec> pOdd = AddMessage(7, strStore, "Odd", 0, 0, 10);
    ASSERT_TRUE(pOdd);
    EXPECT_EQ(pOdd->ReadContent(szText, sizeof(szText)), CONTENT_UNREADABLE);
    EXPECT_EQ(pOdd->ChangeProtection("pw", ""), PROTECT_UNREADABLE);

    // Bad buffers.
    EXPECT_EQ(documents[0]->ReadContent(nullptr, 10), CONTENT_EMPTY);
    EXPECT_EQ(documents[0]->ReadContent(szText, 0), CONTENT_EMPTY);

    // Without the hooks no message text can be read.
    SetMailDocumentHooks(nullptr);
    EXPECT_EQ(documents[0]->ReadContent(szText, sizeof(szText)), CONTENT_UNREADABLE);
    EXPECT_EQ(documents[0]->ChangeProtection("pw", ""), PROTECT_UNREADABLE);
    InstallMailDocumentHooks();

    // A store that is gone.
    std::filesystem::remove(m_folder.Path() / "Inbox");
    EXPECT_EQ(documents[0]->GetExpiryState(TRUE), EXPIRY_NOT_FOUND);
    EXPECT_EQ(documents[0]->ReadContent(szText, sizeof(szText)), CONTENT_UNREADABLE);
    EXPECT_EQ(documents[0]->ReadMailMessage(""), PROTECT_UNREADABLE);
}
