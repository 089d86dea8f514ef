#pragma once

// A request to one page of the directory server and its answer. The request
// takes the "WASite" setting when it is built, gathers its fields in the
// order the page expects (one setter per field), and Execute sends it and
// reads the reply into a result code and a message for the user:
//    0  the server accepted the request
//   -3  transport failure, or a reply that does not begin with the marker
//   -1  the connection type is not available, or the code is not a number
//   15  a refusal after which callers that used stored values ask the user
//   other positive values: the server's own refusal, explained by the message
// Nothing here throws or writes the settings.

#include "webaccess/directory/CWAHttpQuery.h"

// clang-format off
constexpr LPCTSTR WA_PAGE_CATALOGS      = "/wartcat.asp";
constexpr LPCTSTR WA_PAGE_CHANGE_LOGIN  = "/wachlog.asp";
constexpr LPCTSTR WA_PAGE_CHANGE_CATALOG = "/wachcat.asp";
constexpr LPCTSTR WA_PAGE_PASSWORD      = "/wartpwd.asp";
constexpr LPCTSTR WA_PAGE_INVITE        = "/wainvite.asp";
constexpr LPCTSTR WA_PAGE_CONNECT       = "/waconn.asp";
constexpr LPCTSTR WA_PAGE_PING          = "/waping.asp";

constexpr LPCTSTR WA_MARK_CATALOGS       = "<#WARC ";
constexpr LPCTSTR WA_MARK_CHANGE_LOGIN   = "<#WACL ";
constexpr LPCTSTR WA_MARK_CHANGE_CATALOG = "<#WACC ";
constexpr LPCTSTR WA_MARK_PASSWORD       = "<#WARP ";
constexpr LPCTSTR WA_MARK_INVITE         = "<#WAIN ";
constexpr LPCTSTR WA_MARK_CONNECT        = "<#WACN ";
constexpr LPCTSTR WA_MARK_PING           = "<#WAPG ";
// clang-format on

// The title of a page ("Ping") and its trace title ("WA Pinging"); empty for
// a path that is not a page of the table.
CString GetServerPageTitle(LPCTSTR pszPage);
CString GetServerPageTrace(LPCTSTR pszPage);

class CWARequest : public CWAHttpQuery {
public:
    CWARequest(LPCTSTR pszPage, LPCTSTR pszMarker);

    /* The fields, each appended in the order of the calls. */

    void SetLogin(BOOL bConnect) { AddParam("Login", YesNo(bConnect)); }
    void SetNewUser(BOOL bNew) { AddParam("Newuser", YesNo(bNew)); }
    void SetNewCatalog(BOOL bNew) { AddParam("Newcat", YesNo(bNew)); }
    void SetSend(BOOL bSend) { AddParam("Snd", YesNo(bSend)); }
    void SetUserLogin(LPCTSTR psz) { AddParam("Ulog", psz); }
    void SetUserPassword(LPCTSTR psz) { AddParam("Upas", psz); }
    void SetNewUserLogin(LPCTSTR psz) { AddParam("Nulog", psz); }
    void SetNewUserPassword(LPCTSTR psz) { AddParam("Nupas", psz); }
    void SetNewUserEmail(LPCTSTR psz) { AddParam("Nuema", psz); }
    void SetNewUserName(LPCTSTR psz) { AddParam("Nunam", psz); }
    void SetNewUserGender(TCHAR ch) { AddParam("Nugen", CString(ch)); }
    void SetNewUserCity(LPCTSTR psz) { AddParam("Nucit", psz); }
    void SetNewUserState(LPCTSTR psz) { AddParam("Nusta", psz); }
    void SetNewUserCountry(LPCTSTR psz) { AddParam("Nccod", psz); }
    void SetCatalogLogin(LPCTSTR psz) { AddParam("Clog", psz); }
    void SetCatalogNumber(LPCTSTR psz) { AddParam("Cnum", psz); }
    void SetNewCatalogLogin(LPCTSTR psz) { AddParam("Nclog", psz); }
    void SetPort(int nPort);
    void SetProfilePassword(LPCTSTR psz) { AddParam("Pwd", psz); }
    void SetFriendName(LPCTSTR psz) { AddParam("Nto", psz); }
    void SetFriendEmail(LPCTSTR psz) { AddParam("Eto", psz); }
    void SetText(LPCTSTR psz) { AddParam("Txt", psz); }

    /* Groups of fields. */

    // Newuser=Y Nulog Nupas Nuema Nunam Nugen Nucit Nusta Nccod.
    void SetNewUserFields(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszEmail, LPCTSTR pszName, TCHAR chGender,
        LPCTSTR pszCity, LPCTSTR pszState, LPCTSTR pszCountry);
    // Newuser=N Ulog Upas.
    void SetLoginFields(LPCTSTR pszLogin, LPCTSTR pszPassword);
    // Newcat=Y Nclog.
    void SetNewCatalogFields(LPCTSTR pszCatalogName);
    // Newcat=N Clog Cnum.
    void SetCatalogFields(LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode);

    // Sends the request (with "Cip" last for a dial-up link whose address is
    // known) and reads the reply; returns the result code and leaves the
    // message in m_strMessage. nConnType 0 means the "ConnType" setting.
    int Execute(int nConnType = WA_CONN_DEFAULT);

    int m_nResult { -3 };
    CString m_strMessage;
    CString m_strMarker;
    CString m_strUrl;
    CString m_strBase;
    CString m_strPage;

protected:
    static LPCTSTR YesNo(BOOL b) { return b ? "Y" : "N"; }
};

// Renames the registered catalog.
class CWAChangeCatalogRequest : public CWARequest {
public:
    CWAChangeCatalogRequest();
    // Ulog Upas Clog Cnum Nclog, executed with the default connection type.
    int ChangeCatalogName(
        LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode, LPCTSTR pszNewName);
};

// Invites a friend with an access profile's password.
class CWAInviteRequest : public CWARequest {
public:
    CWAInviteRequest();
    // Ulog Upas Clog Cnum Pwd Nto Eto, Txt when not empty, Snd; executed with
    // the default connection type. With result 0 and bSend off, the server's
    // invitation text (field 4 of the reply) goes to m_strInvitation.
    int SetInviteFields(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode,
        LPCTSTR pszProfilePassword, LPCTSTR pszFriendName, LPCTSTR pszFriendEmail, LPCTSTR pszText, BOOL bSend);

    CString m_strInvitation;
};

// Connects or disconnects the account and its catalog.
class CWAConnectRequest : public CWARequest {
public:
    CWAConnectRequest();
    // Starts the request with Login=Y (connect) or Login=N.
    void Connect(BOOL bConnect);
    // Executes; with result 0 the catalog code (field 4 of the reply) goes to m_strField.
    int RunAndParse(int nConnType);

    CString m_strField;
};

class CWAPasswordRequest : public CWARequest {
public:
    CWAPasswordRequest();
};

class CWAPingRequest : public CWARequest {
public:
    CWAPingRequest();
};
