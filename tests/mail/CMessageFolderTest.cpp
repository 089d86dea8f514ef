#include "mail/CMessageFolder.h"

#include "mail/CNetscapeFolder.h"
#include "mail/CNetscapeMessage.h"
#include "mail/COE4Folder.h"
#include "mail/COE4Message.h"
#include "mail/COE5Folder.h"
#include "mail/COE5Message.h"
#include "mail/MailResult.h"
#include "mail/MboxFormat.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

struct CEvent {
    int nEvent;
    std::string strSubject;
    DWORD dwStoreId, dwOffset, dwLength;
};

// Records every event; stops at event number nStopAt (counting from 0).
struct CRecorder {
    std::vector<CEvent> events;
    size_t nStopAt { SIZE_MAX };

    static BOOL Callback(int nEvent, CMailMessage* pMessage, void* pContext)
    {
        auto* pThis = static_cast<CRecorder*>(pContext);
        pThis->events.push_back({ nEvent, std::string(pMessage->GetFullPath()), pMessage->GetStoreId(),
            pMessage->GetOffset(), pMessage->GetLength() });
        return pThis->events.size() <= pThis->nStopAt ? TRUE : FALSE;
    }
};

std::vector<std::string> Subjects(int nCount)
{
    std::vector<std::string> messages;
    for (int i = 0; i < nCount; ++i) {
        CFixtureMessage message;
        message.strSubject = "s" + std::to_string(i);
        message.strBody = std::string(100 + 37 * static_cast<size_t>(i), 'b') + "\n";
        messages.push_back(message.Text());
    }
    return messages;
}

// Inserts one catalogue message per message read, in reverse order to prove the
// folder sorts them; each carries its subject as its full path.
template<typename TMessage>
void Catalogue(CMessageFolder& folder, const std::vector<CReadResult>& results, const std::string& strStore)
{
    for (auto it = results.rbegin(); it != results.rend(); ++it)
        folder.InsertSorted(
            new TMessage(it->dwStoreId, it->dwOffset, it->dwLength, it->strSubject.c_str(), strStore.c_str()));
}

} // namespace

TEST(CMessageFolderTest, NetscapeReorganisationDropsExpungedMessages)
{
    TempFolder folder;
    auto path = folder.WriteFile("Inbox", BuildMbox(Subjects(4), { 1, MOZILLA_STATUS_EXPUNGED, 1, 1 }));
    folder.WriteFile("Inbox.msf", "summary");
    std::string strStore = ProgramPath(path);
    CNetscapeMessage reader;
    auto before = ReadAll(reader, strStore);
    ASSERT_EQ(before.size(), 4u);

    CNetscapeFolder mailbox;
    mailbox.SetPath(strStore.c_str());
    Catalogue<CNetscapeMessage>(mailbox, before, strStore);
    CRecorder recorder;
    ASSERT_EQ(mailbox.Reorganize(0, CRecorder::Callback, &recorder), MAIL_OK);

    ASSERT_EQ(recorder.events.size(), 4u);
    EXPECT_EQ(recorder.events[0].nEvent, MAILBOX_EVENT_KEPT);
    EXPECT_EQ(recorder.events[1].nEvent, MAILBOX_EVENT_REMOVED);
    EXPECT_EQ(recorder.events[1].strSubject, "s1");
    EXPECT_EQ(recorder.events[2].nEvent, MAILBOX_EVENT_MOVED);
    EXPECT_EQ(recorder.events[3].nEvent, MAILBOX_EVENT_MOVED);

    // The moved messages' new values name them in the rewritten store.
    std::string strAfter = ReadWholeFile(path);
    EXPECT_EQ(mailbox.GetState(), strAfter.size());
    CNetscapeMessage reread;
    auto after = ReadAll(reread, strStore);
    ASSERT_EQ(after.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        const CEvent& moved = recorder.events[2 + i];
        EXPECT_EQ(moved.dwOffset, after[1 + i].dwOffset);
        EXPECT_EQ(moved.dwLength, after[1 + i].dwLength);
        EXPECT_EQ(moved.dwStoreId, after[1 + i].dwStoreId);
        EXPECT_EQ(after[1 + i].strSubject, moved.strSubject);
        EXPECT_EQ(after[1 + i].strRaw, before[2 + i].strRaw);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "Inbox.msf"));
}

TEST(CMessageFolderTest, AStoppedReorganisationLeavesEveryStoreByteIdentical)
{
    TempFolder folder;
    std::string strMbox = BuildMbox(Subjects(3), { MOZILLA_STATUS_EXPUNGED, 1, 1 });
    auto mboxPath = folder.WriteFile("Inbox", strMbox);
    COe4Fixture oe4 = BuildOe4Store(Subjects(3), { IDX_FLAG_DELETED, 0, 0 });
    auto mbxPath = folder.WriteFile("Inbox.mbx", oe4.strMbx);
    auto idxPath = folder.WriteFile("Inbox.idx", oe4.strIdx);

    for (size_t nStopAt = 0; nStopAt < 3; ++nStopAt) {
        {
            std::string strStore = ProgramPath(mboxPath);
            CNetscapeMessage reader;
            CNetscapeFolder mailbox;
            mailbox.SetPath(strStore.c_str());
            Catalogue<CNetscapeMessage>(mailbox, ReadAll(reader, strStore), strStore);
            CRecorder recorder;
            recorder.nStopAt = nStopAt;
            EXPECT_EQ(mailbox.Reorganize(0, CRecorder::Callback, &recorder), MAIL_STOPPED);
            EXPECT_EQ(ReadWholeFile(mboxPath), strMbox);
        }
        {
            std::string strStore = ProgramPath(mbxPath);
            COE4Message reader;
            COE4Folder mailbox;
            mailbox.SetPath(strStore.c_str());
            Catalogue<COE4Message>(mailbox, ReadAll(reader, strStore), strStore);
            CRecorder recorder;
            recorder.nStopAt = nStopAt;
            EXPECT_EQ(mailbox.Reorganize(0, CRecorder::Callback, &recorder), MAIL_STOPPED);
            EXPECT_EQ(ReadWholeFile(mbxPath), oe4.strMbx);
            EXPECT_EQ(ReadWholeFile(idxPath), oe4.strIdx);
        }
    }
    // No temporary file is left behind.
    size_t nFiles = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++nFiles;
    EXPECT_EQ(nFiles, 3u);
}

TEST(CMessageFolderTest, OE4ReorganisationRewritesBothFiles)
{
    TempFolder folder;
    auto messages = Subjects(4);
    COe4Fixture oe4 = BuildOe4Store(messages, { 0, IDX_FLAG_DELETED, 0, IDX_FLAG_DELETED });
    auto mbxPath = folder.WriteFile("Inbox.mbx", oe4.strMbx);
    folder.WriteFile("Inbox.idx", oe4.strIdx);
    std::string strStore = ProgramPath(mbxPath);
    COE4Message reader;
    auto before = ReadAll(reader, strStore);
    ASSERT_EQ(before.size(), 4u);

    COE4Folder mailbox;
    mailbox.SetPath(strStore.c_str());
    Catalogue<COE4Message>(mailbox, before, strStore);
    CRecorder recorder;
    ASSERT_EQ(mailbox.Reorganize(0, CRecorder::Callback, &recorder), MAIL_OK);
    ASSERT_EQ(recorder.events.size(), 4u);
    EXPECT_EQ(recorder.events[0].nEvent, MAILBOX_EVENT_KEPT);
    EXPECT_EQ(recorder.events[1].nEvent, MAILBOX_EVENT_REMOVED);
    EXPECT_EQ(recorder.events[2].nEvent, MAILBOX_EVENT_MOVED);
    EXPECT_EQ(recorder.events[3].nEvent, MAILBOX_EVENT_REMOVED);

    std::string strMbx = ReadWholeFile(mbxPath);
    EXPECT_EQ(mailbox.GetState(), strMbx.size());
    EXPECT_EQ(FixtureGetU32(strMbx, MBX_COUNT_FIELD), 2u);
    EXPECT_EQ(FixtureGetU32(strMbx, MBX_SIZE_FIELD), strMbx.size());
    COE4Message reread;
    auto after = ReadAll(reread, strStore);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].nResult, MAIL_OK);
    EXPECT_EQ(after[1].nResult, MAIL_OK);
    EXPECT_EQ(after[1].strRaw, messages[2]);
    EXPECT_EQ(after[1].dwOffset, recorder.events[2].dwOffset);
    EXPECT_EQ(after[1].dwStoreId, 3u); // Message numbers stay
}

TEST(CMessageFolderTest, OE4ReorganisationWritesTheSizesTheRecordsWereReadWith)
{
    TempFolder folder;
    auto messages = Subjects(3);
    COe4Fixture oe4 = BuildOe4Store(messages);
    // The first record declares 4 bytes more than it holds, the last 7 more than the file.
    FixturePutU32(oe4.strMbx, oe4.mbxOffsets[0] + 8, FixtureGetU32(oe4.strMbx, oe4.mbxOffsets[0] + 8) + 4);
    FixturePutU32(oe4.strMbx, oe4.mbxOffsets[2] + 8, FixtureGetU32(oe4.strMbx, oe4.mbxOffsets[2] + 8) + 7);
    auto mbxPath = folder.WriteFile("Inbox.mbx", oe4.strMbx);
    folder.WriteFile("Inbox.idx", oe4.strIdx);
    std::string strStore = ProgramPath(mbxPath);
    COE4Folder mailbox;
    mailbox.SetPath(strStore.c_str());
    ASSERT_EQ(mailbox.Reorganize(0, nullptr, nullptr), MAIL_OK);

    // Every record of the new file ends where the next begins.
    const std::string strMbx = ReadWholeFile(mbxPath);
    size_t nPos = MBX_HEADER_SIZE;
    for (int i = 0; i < 3 && nPos < strMbx.size(); ++i)
        nPos += FixtureGetU32(strMbx, nPos + 8);
    EXPECT_EQ(nPos, strMbx.size());
    COE4Message reader;
    auto after = ReadAll(reader, strStore);
    ASSERT_EQ(after.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(after[i].strRaw.substr(0, messages[i].size()), messages[i]) << i;
}

TEST(CMessageFolderTest, OE5ReorganisationReportsMessagesThatAreGone)
{
    TempFolder folder;
    auto messages = Subjects(3);
    CDbxFixture dbx = BuildDbx(messages);
    auto path = folder.WriteFile("Inbox.dbx", dbx.strDbx);
    std::string strStore = ProgramPath(path);
    COE5Message reader;
    auto before = ReadAll(reader, strStore);
    ASSERT_EQ(before.size(), 3u);

    // The folder now holds the first and last messages only.
    CDbxFixture smaller = BuildDbx({ messages[0] });
    folder.WriteFile("Inbox.dbx", smaller.strDbx);
    COE5Folder mailbox;
    mailbox.SetPath(strStore.c_str());
    Catalogue<COE5Message>(mailbox, before, strStore);
    CRecorder recorder;
    ASSERT_EQ(mailbox.Reorganize(0, CRecorder::Callback, &recorder), MAIL_OK);
    ASSERT_EQ(recorder.events.size(), 3u);
    EXPECT_EQ(recorder.events[0].nEvent, MAILBOX_EVENT_KEPT);
    EXPECT_EQ(recorder.events[1].nEvent, MAILBOX_EVENT_REMOVED);
    EXPECT_EQ(recorder.events[2].nEvent, MAILBOX_EVENT_REMOVED);
    EXPECT_EQ(mailbox.GetState(), 1u);
    EXPECT_EQ(ReadWholeFile(path), smaller.strDbx);
}

TEST(CMessageFolderTest, DamagedStoresAreNotRewritten)
{
    TempFolder folder;
    std::string strGarbage(5000, '\x01');
    auto path = folder.WriteFile("Inbox", strGarbage);
    CNetscapeFolder mailbox;
    mailbox.SetPath(ProgramPath(path).c_str());
    EXPECT_EQ(mailbox.Reorganize(0, nullptr, nullptr), MAIL_ERR_FORMAT);
    EXPECT_EQ(ReadWholeFile(path), strGarbage);
    COE4Folder missing;
    missing.SetPath(ProgramPath(folder / "none.mbx").c_str());
    EXPECT_EQ(missing.Reorganize(0, nullptr, nullptr), MAIL_ERR_OPEN);
}
