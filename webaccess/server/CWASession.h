#pragma once

// The state kept for one remote user, from a successful LOGIN until the
// server ends the session: who the user is, the profile that decides what
// the user may do (an owned copy), where the user is in the explorer and in
// the catalog, and the last search kept for PAGE.

#include "platform/base/CString.h"

#include <memory>

class CCatalog;
class CWACatalogLists;
class CWACmdLogin;
class CWACommand;
class CWAOutputFile;
class CWAProfiles;
class CWASettings;

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
    CString m_strUserName;
    BOOL m_bNetscape { FALSE };
    std::unique_ptr<CWAProfiles> m_pProfile;
    std::unique_ptr<CWACommand> m_pKeptCommand; // The last WFIND
    std::unique_ptr<CWASessionPlace> m_pPlace;
    std::unique_ptr<CWACatalogLists> m_pCatalogLists; // Null without a profile
    int m_nStatus { 0 };
};
