#pragma once

// Finds the Netscape mail client's users and mbox folders. Every key below
// HKEY_LOCAL_MACHINE\SOFTWARE\Netscape\Netscape Navigator\Users is a user, whose
// "DirRoot" value names the profile folder; the user's folders are the mailbox
// files of the profile's Mail folder and of its ImapMail folder, each mailbox's
// sub-folders in the "<mailbox>.sbd" folder beside it. A plain folder among
// them (a mail account or an IMAP server) groups the folders inside it. The
// profiles of the Mozilla-family clients installed here are presented as such
// users before every scan.

#include "mail/CMailer.h"

class CNetscapeMailer : public CMailer {
public:
    CString GetName() const override { return "Netscape"; }
    int GetStoreKind() const override;

protected:
    void FindUsers(std::vector<CMailerUserEntry>& users) override;
};

// A mailbox tree is followed this many folders deep at most.
constexpr int NETSCAPE_MAX_FOLDER_DEPTH = 16;
