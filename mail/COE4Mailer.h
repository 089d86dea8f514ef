#pragma once

// Finds the Outlook Express 4 store of the current user: the "Store Root" value
// of HKEY_CURRENT_USER\Software\Microsoft\Outlook Express names the store
// folder, whose "Mail" folder (or, without one, the store folder itself) holds a
// .mbx file with its .idx for each mail folder; a message store of either
// Outlook Express kind found there is a folder of the kind its content shows
// (see MessageStoreFolder.h). The store has a single user,
// named after the logged-on user (USERNAME, else USER; "Outlook Express" when
// neither is set).

#include "mail/CMailer.h"

class COE4Mailer : public CMailer {
public:
    CString GetName() const override { return "Outlook Express 4"; }
    int GetStoreKind() const override;

protected:
    void FindUsers(std::vector<CMailerUserEntry>& users) override;
};
