#pragma once

// The three mail-client finders, in the order the program asks them: Netscape,
// Outlook Express 4, Outlook Express 5. Each scans on first use only.

#include "mail/CNetscapeMailer.h"
#include "mail/COE4Mailer.h"
#include "mail/COE5Mailer.h"

class CMailClientSet {
public:
    static constexpr int MAILER_COUNT = 3;

    // The finder at an index 0 to 2, in the order above; null outside.
    CMailer* GetAt(int nIndex);
    // The finder of a store kind; the Netscape one for any kind but the Outlook Express ones.
    CMailer& ForStoreKind(int nStoreKind);

    // Whether any finder found users, scanning each that has not scanned yet.
    BOOL HasStores();
    // Makes every finder forget its stores.
    void ClearStores();

private:
    CNetscapeMailer m_netscape;
    COE4Mailer m_oe4;
    COE5Mailer m_oe5;
};

// The set the program's mail folder names come from.
CMailClientSet& GetMailClientSet();

// The display name of a mailbox file (with or without the leading '*' of a
// catalogued mail folder) from the program's mail-client set, as
// CMailer::GetMailboxDisplayPath gives it; the path itself when no finder knows it.
CString GetMailboxDisplayName(LPCTSTR pszMailboxPath);

// A mailbox as the program's texts name it to the user: its display name
// (GetMailboxDisplayName) and, when a finder knows it, the client that keeps
// it in brackets ("default\Local Folders\Inbox (Thunderbird)").
CString DescribeMailbox(LPCTSTR pszMailboxPath, int nStoreKind);
