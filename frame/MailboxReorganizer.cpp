#include "frame/MailboxReorganizer.h"

#include "mail/CNetscapeFolder.h"
#include "mail/CNetscapeMessage.h"
#include "mail/COE4Folder.h"
#include "mail/COE4Message.h"
#include "mail/COE5Folder.h"
#include "mail/COE5Message.h"
#include "mail/MailResult.h"
#include "mail/MailStoreFunctions.h"
#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CLogFile.h"

#include "platform/base/CFile.h"

#include <cstring>
#include <memory>
#include <unordered_map>

namespace {

// The state character of a mail document's record: a live message, and one gone from its store.
constexpr size_t STATE_OFFSET = 12;
constexpr BYTE STATE_LIVE = ' ';
constexpr BYTE STATE_GONE = 'x';

std::unique_ptr<CMessageFolder> NewFolder(int nKind)
{
    switch (nKind) {
    case MAIL_STORE_NETSCAPE:
        return std::make_unique<CNetscapeFolder>();
    case MAIL_STORE_OE4:
        return std::make_unique<COE4Folder>();
    case MAIL_STORE_OE5:
        return std::make_unique<COE5Folder>();
    default:
        return nullptr;
    }
}

CMailMessage* NewMessage(int nKind, const CMailDocumentRef& ref, LPCTSTR pszFullPath, LPCTSTR pszStorePath)
{
    switch (nKind) {
    case MAIL_STORE_NETSCAPE:
        return new CNetscapeMessage(ref.dwStoreId, ref.dwOffset, ref.dwLength, pszFullPath, pszStorePath);
    case MAIL_STORE_OE4:
        return new COE4Message(ref.dwStoreId, ref.dwOffset, ref.dwLength, pszFullPath, pszStorePath);
    default:
        return new COE5Message(ref.dwStoreId, ref.dwOffset, ref.dwLength, pszFullPath, pszStorePath);
    }
}

ULONGLONG StoreDataSize(const CString& strPath, int nKind)
{
    switch (nKind) {
    case MAIL_STORE_NETSCAPE: {
        CFileStatus status;
        return CFile::GetStatus(strPath, status) ? static_cast<ULONGLONG>(status.m_size) : 0;
    }
    case MAIL_STORE_OE4:
        return GetOE4StoreDataSize(strPath);
    case MAIL_STORE_OE5:
        return GetOE5StoreDataSize(strPath);
    default:
        return 0;
    }
}

// What one store's run learns: the record changes it will make, and the progress.
struct CRunContext {
    struct CChange {
        CRecordRef document;
        int nEvent { 0 };
        DWORD dwStoreId { 0 };
        DWORD dwOffset { 0 };
        DWORD dwLength { 0 };
    };
    const CMailboxReorganizer::CProgress* pProgress { nullptr };
    std::unordered_map<const CMailMessage*, CRecordRef> documents;
    std::vector<CChange> changes;
};

BOOL OnMessage(int nEvent, CMailMessage* pMessage, void* pContext)
{
    auto* pRun = static_cast<CRunContext*>(pContext);
    if (nEvent == MAILBOX_EVENT_REMOVED || nEvent == MAILBOX_EVENT_MOVED) {
        if (auto it = pRun->documents.find(pMessage); it != pRun->documents.end())
            pRun->changes.push_back(
                { it->second, nEvent, pMessage->GetStoreId(), pMessage->GetOffset(), pMessage->GetLength() });
    }
    return (*pRun->pProgress)(pMessage->GetFullPath(), pMessage->GetLength());
}

} // namespace

CMailboxReorganizer::CMailboxReorganizer(CCatalog* pCatalog)
    : m_pCatalog(pCatalog)
{
    std::vector<CRecordRef> directories;
    if (!m_pCatalog || !m_pCatalog->ListRootChain(ROOT_BLOCK_DIRECTORY, &directories))
        return;
    for (const CRecordRef& ref : directories) {
        CDirectoryRec directory(m_pCatalog, ref);
        const CString strText = directory.IsValid() ? directory.GetPath() : CString();
        if (strText.IsEmpty() || strText[0] != '*' || directory.GetDocumentCount() <= 0)
            continue;
        CStore store { ref, StripLocationMarkers(strText), static_cast<int>(directory.GetStoreKind()) };
        m_nTotalSize += StoreDataSize(store.strPath, store.nKind);
        m_stores.push_back(store);
    }
}

int CMailboxReorganizer::Run(const CProgress& progress)
{
    for (const CStore& store : m_stores) {
        const int nResult = Reorganize(store, progress);
        if (nResult == MAIL_STOPPED)
            return MAIL_STOPPED;
        if (nResult != MAIL_OK)
            archivora::g_log.Printf(
                "Mailbox: %s was not reorganised (%d)\n", static_cast<LPCTSTR>(store.strPath), nResult);
    }
    return MAIL_OK;
}

int CMailboxReorganizer::Reorganize(const CStore& store, const CProgress& progress)
{
    std::unique_ptr<CMessageFolder> pFolder = NewFolder(store.nKind);
    if (!pFolder)
        return MAIL_OK;
    pFolder->SetPath(store.strPath);
    CRunContext run;
    run.pProgress = &progress;
    CDirectoryRec directory(m_pCatalog, store.directory);
    for (std::unique_ptr<CDocumentRec> pDocument(directory.FirstDocument()); pDocument;
         pDocument.reset(directory.NextDocument())) {
        CDocumentInfo info {};
        if (pDocument->GetInfo(&info) == nullptr || info.id[STATE_OFFSET] != STATE_LIVE)
            continue;
        CString strFullPath;
        pDocument->GetFullPath(strFullPath);
        CMailMessage* pMessage = NewMessage(store.nKind, pDocument->GetMailRef(), strFullPath, store.strPath);
        run.documents.emplace(pMessage, pDocument->GetRef());
        pFolder->InsertSorted(pMessage);
    }
    if (run.documents.empty())
        return MAIL_OK;
    const int nResult = pFolder->Reorganize(0, OnMessage, &run);
    if (nResult != MAIL_OK)
        return nResult;
    // The store was rewritten: its records follow in one commit.
    CCatalogAction action(m_pCatalog);
    for (const auto& change : run.changes) {
        CDocumentRec document(m_pCatalog, change.document.nBlock, change.document.nSlot);
        CDocumentInfo info {};
        if (document.GetInfo(&info) == nullptr)
            continue;
        if (change.nEvent == MAILBOX_EVENT_REMOVED) {
            info.id[STATE_OFFSET] = STATE_GONE;
        } else {
            const DWORD place[] = { change.dwStoreId, change.dwOffset, change.dwLength };
            std::memcpy(info.id, place, sizeof(place));
        }
        document.UpdateInfo(info);
    }
    m_pCatalog->SetLocationValue(store.strPath, static_cast<LONG>(pFolder->GetState()));
    return MAIL_OK;
}
