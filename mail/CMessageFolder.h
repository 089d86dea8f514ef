#pragma once

#include "mail/CMailMessage.h"
#include "platform/base/CString.h"

#include <memory>
#include <vector>

// Events a reorganisation reports for each catalogued message.
enum : int {
    MAILBOX_EVENT_KEPT = 1,    // The message stays where it was
    MAILBOX_EVENT_REMOVED = 3, // The message was removed from the store
    MAILBOX_EVENT_MOVED = 4,   // The message moved: its new offset and length are set
};

// Called for every catalogued message during a reorganisation; TRUE continues,
// FALSE stops it.
typedef BOOL (*MAILBOX_PROGRESS_PROC)(int nEvent, CMailMessage* pMessage, void* pContext);

// One mail folder file and the catalogued messages of it, for reorganisation:
// compaction drops the messages the store flags deleted and reports, for each
// inserted message, whether it was kept, removed or moved. The rewrite goes to a
// temporary file that replaces the store only after the whole run, so a stop
// (MAIL_STOPPED) or a failure leaves the store byte-identical.
class CMessageFolder {
public:
    CMessageFolder() = default;
    virtual ~CMessageFolder();
    CMessageFolder(const CMessageFolder&) = delete;
    CMessageFolder& operator=(const CMessageFolder&) = delete;

    void SetPath(LPCTSTR pszPath) { m_strPath = pszPath ? pszPath : ""; }
    const CString& GetPath() const { return m_strPath; }

    // Takes ownership of a message made from catalog values; messages are kept
    // in store order (by offset), whatever the order they come in.
    void InsertSorted(CMailMessage* pMessage);

    // Reorganises the store; nFlags is 0. MAIL_OK, MAIL_STOPPED or a failure code.
    virtual int Reorganize(int nFlags, MAILBOX_PROGRESS_PROC pfnProgress, void* pContext) = 0;
    // After a complete run: the new file length (mbox, .mbx) or message count (.dbx).
    virtual DWORD GetState() const { return m_dwState; }

protected:
    // A message that stays in the rewritten store: where it was and where it is now.
    struct CSurvivor {
        DWORD dwOldOffset { 0 };
        DWORD dwStoreId { 0 };
        DWORD dwOffset { 0 };
        DWORD dwLength { 0 };
    };

    // Reports, in store order, every inserted message as kept, moved (after
    // moving it) or removed, given the messages that survive; false when the
    // callback stopped the run.
    bool ReportEvents(const std::vector<CSurvivor>& survivors, MAILBOX_PROGRESS_PROC pfnProgress, void* pContext);

    std::vector<std::unique_ptr<CMailMessage>> m_messages;
    DWORD m_dwState { 0 };

private:
    CString m_strPath;
};
