#pragma once

// The small commands the server handles itself: LOGIN opens a session and
// answers with the catalog's top folder, LOGOUT ends it, PAGE asks the kept
// search of the session for another page.

#include "webaccess/server/CWACommand.h"

class CWACmdLogin : public CWACommand {
public:
    // The longest profile password a LOGIN may carry.
    static constexpr int MAX_PASSWORD = 15;

    CWACmdLogin()
        : CWACommand(WA_CMD_LOGIN)
    {
    }

    // Builds the inner command, the catalog's top folder (WDIR 0 0).
    BOOL Prepare(CWASession& session) override;
    // Runs the inner command; its failure code becomes this one's.
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    void SetContext(CWASessionPlace& place) override;
    // "LOGIN name [id] browser"
    CString GetLogText() const override;
    // Fields: user ID, user name, password (may be empty), browser; the
    // others must not be empty.
    void ParseArgs(LPCTSTR pszText) override;

    const CString& GetUserId() const { return m_strUserId; }
    const CString& GetUserName() const { return m_strUserName; }
    const CString& GetPassword() const { return m_strPassword; }
    const CString& GetBrowser() const { return m_strBrowser; }

private:
    CString m_strUserId;
    CString m_strUserName;
    CString m_strBrowser;
    CString m_strPassword;
    std::unique_ptr<CWACommand> m_pInner;
};

// A request token as the log may show it: a LOGIN token (its word in any
// case, blanks allowed before it) keeps its word and its first field, the
// user ID, and the rest, which holds the password, becomes "********". Any
// other token is returned as it is.
CString MaskLoginToken(const CString& strToken);

class CWACmdLogout : public CWACommand {
public:
    CWACmdLogout()
        : CWACommand(WA_CMD_LOGOUT)
    {
    }

    // "LOGOUT name [id]"
    CString GetLogText() const override;
    // Fields: user ID and user name, neither empty.
    void ParseArgs(LPCTSTR pszText) override;

    const CString& GetUserId() const { return m_strUserId; }

private:
    CString m_strUserId;
    CString m_strUserName;
};

class CWACmdPage : public CWACommand {
public:
    CWACmdPage()
        : CWACommand(WA_CMD_PAGE)
    {
    }

    // "Get PAGE n"
    CString GetLogText() const override;
    // One field, read as atoi reads it: an empty field is page 0.
    void ParseArgs(LPCTSTR pszText) override;

    int GetPageNumber() const { return m_nPage; }

private:
    int m_nPage { 0 };
};
