#pragma once

// One GET of a directory-server page: the query is built field by field
// (AddParam), then HttpGetUrl sends URL + query and reads the reply. A query
// object is used for one attempt; a retry builds a new one.

#include "platform/base/CString.h"

// Connection types of the "ConnType" setting; 0 in a call means the setting.
// clang-format off
constexpr int WA_CONN_DEFAULT = 0;
constexpr int WA_CONN_MODEM   = 1; // dial-up: the local address is sent as "Cip"
constexpr int WA_CONN_LAN     = 2;
constexpr int WA_CONN_CABLE   = 3;
// clang-format on

// The value encoding of a query: every byte that is not an ASCII letter or
// digit becomes "%" and two lower-case hexadecimal digits ("a b" -> "a%20b").
CString UrlEncode(LPCTSTR pszText);

class CWAHttpQuery {
public:
    CWAHttpQuery() = default;
    virtual ~CWAHttpQuery() = default;
    CWAHttpQuery(const CWAHttpQuery&) = delete;
    CWAHttpQuery& operator=(const CWAHttpQuery&) = delete;

    // Appends "?" (first field) or "&", the name as it is, "=" and the value
    // encoded.
    void AddParam(LPCTSTR pszName, LPCTSTR pszValue);

    // The local address for a dial-up link (type 1; 0 means the setting),
    // stored in m_strLocalIp; empty for every other type or when none is found
    // (a failed lookup shows its message box).
    CString GetLocalIpAddress(int nConnType);

    // GETs pszUrl + the query with the wait cursor. TRUE with the body in
    // m_strReply; FALSE with m_nError 1, m_nErrorCode (0 offline, -1 the
    // connection type is not available, else the transport's error number)
    // and the failure's text in m_strReply.
    BOOL HttpGetUrl(LPCTSTR pszUrl, int nConnType);

    // The query with the values of password fields written as "*****", for traces.
    CString GetTraceQuery() const;

    int m_nError { 0 };      // 1 after a transport failure
    LONG m_nErrorCode { 0 }; // see HttpGetUrl
    CString m_strQuery;
    CString m_strReply;
    CString m_strLocalIp;

protected:
    // The connection type a call means: nConnType, or the setting for 0.
    static int EffectiveConnType(int nConnType);
};
