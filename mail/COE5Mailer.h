#pragma once

// Finds the Outlook Express 5 identities and their .dbx folders. Each key below
// HKEY_CURRENT_USER\Identities is an identity, named by its "Username" value
// (the key's own name when it has none); the "Store Root" value of its
// Software\Microsoft\Outlook Express\5.0 key names the folder whose message
// stores are the identity's mail folders, each of the kind its content shows
// (see MessageStoreFolder.h); the folder list and other databases of the store
// are not message stores and are passed over.

#include "mail/CMailer.h"

class COE5Mailer : public CMailer {
public:
    CString GetName() const override { return "Outlook Express 5"; }
    int GetStoreKind() const override;

protected:
    void FindUsers(std::vector<CMailerUserEntry>& users) override;
};
