#pragma once

// The state kept for one remote user, from a successful LOGIN until the
// server ends the session: who the user is, the profile that decides what
// the user may do (an owned copy), where the user is in the explorer and in
// the catalog, and the last search kept for PAGE.
//
// A session belongs to whoever logged in: LOGIN makes a secret key, which
// the LOGIN reply hands to the relay in the token "<#SESSION |key|#>", and
// every later request of the session carries it after its user ID on line 1
// ("user ID|key"; a user ID never holds a bar, as no token field can). A
// request that names the user ID without the key reaches no session.

#include "platform/base/CString.h"

#include <memory>

class CCatalog;
class CWACatalogLists;
class CWACmdLogin;
class CWACommand;
class CWAOutputFile;
class CWAProfiles;
class CWASettings;
struct WA_GROUP_KEY;

// Where the user is: the explorer folder and the catalog node.
class CWASessionPlace {
public:
    CString m_strFolder { "C:\\" };
    LONG m_nBlock { 0 };
    LONG m_nSlot { 0 };
};

class CWASession {
public:
    // Takes the user from the LOGIN command and looks the profile up by its
    // password (CWASettings::FindWAProfile, which saves the settings when it
    // dropped vanished groups). The server refuses the login when
    // GetProfile() is null.
    CWASession(const CWACmdLogin& login, CWASettings& settings, CCatalog& catalog);
    ~CWASession();
    CWASession(const CWASession&) = delete;
    CWASession& operator=(const CWASession&) = delete;

    // Runs a command for the user. FALSE leaves the error code in GetStatus():
    // 2 without a profile, for a command the profile refuses (a command on a
    // path needs the explorer right, CWACommand::NeedsExplorerRight), for LOGIN,
    // LOGOUT and UPL (the server's own) and for PAGE without a kept search;
    // otherwise the command's code. A successful WFIND is kept for PAGE: the
    // session takes it from pCommand.
    BOOL RunCommand(std::unique_ptr<CWACommand>& pCommand, CWAOutputFile& reply);

    // A group of the catalog was deleted: the profile copy loses its grant
    // and the catalog view is built again, so the group's reference never
    // reaches whatever takes its place.
    void ForgetGroup(const WA_GROUP_KEY& key);

    // The secret of the session, 32 hexadecimal digits from the system's
    // random source; empty when none could be made (the server then refuses
    // the login).
    const CString& GetKey() const { return m_strKey; }
    // What line 1 of the session's requests holds: the user ID, "|", the key.
    CString GetUserLine() const { return m_strUserId + "|" + m_strKey; }
    // The tick count of the session's last request, for the idle limit.
    DWORD GetLastUsed() const { return m_dwLastUsed; }
    void Touch(DWORD dwNow) { m_dwLastUsed = dwNow; }

    const CString& GetUserId() const { return m_strUserId; }
    const CString& GetUserName() const { return m_strUserName; }
    // TRUE when the browser identification contains "NETSCAPE".
    BOOL IsNetscape() const { return m_bNetscape; }
    const CWAProfiles* GetProfile() const { return m_pProfile.get(); }
    CWASessionPlace& GetPlace() { return *m_pPlace; }
    // The catalog as the profile lets the user see it; only with a profile.
    CWACatalogLists& GetCatalogLists() { return *m_pCatalogLists; }
    int GetStatus() const { return m_nStatus; }

private:
    CString m_strUserId;
    CString m_strKey;
    DWORD m_dwLastUsed { 0 };
    CString m_strUserName;
    BOOL m_bNetscape { FALSE };
    std::unique_ptr<CWAProfiles> m_pProfile;
    std::unique_ptr<CWACommand> m_pKeptCommand; // The last WFIND
    std::unique_ptr<CWASessionPlace> m_pPlace;
    std::unique_ptr<CWACatalogLists> m_pCatalogLists; // Null without a profile
    int m_nStatus { 0 };
};

// Line 1 of a request taken apart at its first bar: the user ID and the
// session key (empty when the line holds no bar).
void SplitUserLine(const CString& strLine, CString& strUserId, CString& strKey);
