#pragma once

// The way documents of mail messages reach the mail store readers. The mail
// layer sits above the catalog, so the catalog asks through this interface,
// which the mail layer implements and installs once at start-up
// (InstallMailDocumentHooks in mail/). Without it, a mail document keeps the
// state its record and its store file's size give, and its text cannot be read.

#include "platform/base/CString.h"

#include <atomic>
#include <string>

// A message as its catalog record names it.
struct CMailDocumentRef {
    int nStoreKind { -1 };
    DWORD dwStoreId { 0 };
    DWORD dwOffset { 0 };
    DWORD dwLength { 0 };
    DWORD dwDate { 0 };  // the message's date, seconds since 1970; 0 for a message without one
    CString strTitle;    // the subject as the catalog keeps it (MailTitleOfSubject)
    CString strFullPath; // the title with the marker characters
    CString strStorePath;
};

class CMailDocumentHooks {
public:
    virtual ~CMailDocumentHooks() = default;
    // What loading the message from its store finds.
    enum class EMessageState {
        Live,       // the message is there
        Deleted,    // the store flags it deleted
        Moved,      // the record no longer matches the store, which needs reorganising
        Unreadable, // the store cannot be opened or read
    };
    virtual EMessageState CheckMessage(const CMailDocumentRef& ref) = 0;
    // The message's plain text, UTF-8; 0 or the reader's failure code.
    virtual int ReadText(const CMailDocumentRef& ref, std::string& strText) = 0;
    // Gives the loaded message a new protection value (empty: none); 0 or the
    // reader's failure code.
    virtual int ChangeProtection(const CMailDocumentRef& ref, LPCTSTR pszNewPassword) = 0;
};

// The hooks in use, none until the mail layer installs them. The object is not owned.
void SetMailDocumentHooks(CMailDocumentHooks* pHooks);
CMailDocumentHooks* GetMailDocumentHooks();

// Non-zero while a mail store no longer matches what the catalog records of it
// (RefreshState gave 2, a store shrank) and waits to be reorganised. Set by the
// document lists and the new-document monitor from any thread, cleared once
// the stores were reorganised.
extern std::atomic<BOOL> g_bMailboxReorganizePending;
