#pragma once

// HTTP GETs in the shape of the class library's Internet session: a session
// opens a URL and hands back a file of the reply's body. Built on libcurl.
//
// OpenURL makes the whole GET before it returns and keeps the body in memory:
// only http and https, at most 5 redirects (within those two), certificates
// checked, proxies from the environment (http_proxy, https_proxy, no_proxy).
// An HTTP error status still gives its body, so the caller decides what the
// page means. Failures throw a CInternetException by pointer (Delete it).
//
// Time-outs are process-wide (InternetSetOption with a null handle): 15 s to
// connect, 30 s without a byte of the reply, and 60 s for the whole GET.
// A body longer than 1 MiB fails with ERROR_HTTP_INVALID_SERVER_RESPONSE.

#include "platform/base/CException.h"
#include "platform/base/CString.h"

#include <cstddef>
#include <string>

using HINTERNET = void*;

// clang-format off
/* Options of InternetSetOption, values in milliseconds (a DWORD). */
constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2;
constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6;

/* Flags of OpenURL (accepted; there is no cache and no text translation). */
constexpr DWORD INTERNET_FLAG_TRANSFER_ASCII  = 0x00000001;
constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE  = 0x04000000;

/* Access types of CInternetSession. */
constexpr DWORD PRE_CONFIG_INTERNET_ACCESS = 0; // proxies as the environment says

/* The error numbers of CInternetException::m_dwError. */
constexpr DWORD ERROR_INTERNET_TIMEOUT              = 12002;
constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR       = 12004;
constexpr DWORD ERROR_INTERNET_INVALID_URL          = 12005;
constexpr DWORD ERROR_INTERNET_UNRECOGNIZED_SCHEME  = 12006;
constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED    = 12007;
constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT       = 12029;
constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED   = 12030;
constexpr DWORD ERROR_INTERNET_CONNECTION_RESET     = 12031;
constexpr DWORD ERROR_INTERNET_INVALID_CA           = 12045;
constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE  = 12152;
constexpr DWORD ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;
// clang-format on

constexpr size_t INTERNET_MAX_BODY_SIZE = 1024 * 1024;

// Sets a process default (hInternet null): the connect time-out or the time
// allowed without a byte of the reply, *(DWORD*)lpBuffer milliseconds (0
// restores the default). FALSE for another option or a bad buffer.
BOOL InternetSetOption(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength);

// A failed GET: the error number and the caller's context.
class CInternetException : public CException {
    DECLARE_DYNAMIC(CInternetException)

public:
    explicit CInternetException(DWORD dwError, DWORD_PTR dwContext = 1);

    // One English sentence per error number.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

    DWORD_PTR m_dwContext;
    DWORD m_dwError;
};

// The body of one reply, read from the start to the end. The caller deletes it.
class CInternetFile {
public:
    explicit CInternetFile(std::string strBody);

    // Copies up to nCount bytes of the body; 0 at its end.
    UINT Read(void* lpBuf, UINT nCount);
    void Close();

private:
    std::string m_strBody;
    size_t m_nPos { 0 };
};

class CInternetSession {
public:
    // The agent name is not sent; dwAccessType is PRE_CONFIG_INTERNET_ACCESS.
    explicit CInternetSession(LPCTSTR pstrAgent = nullptr, DWORD_PTR dwContext = 1,
        DWORD dwAccessType = PRE_CONFIG_INTERNET_ACCESS, LPCTSTR pstrProxyName = nullptr,
        LPCTSTR pstrProxyBypass = nullptr, DWORD dwFlags = 0);
    virtual ~CInternetSession() = default;
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // GETs the URL; a new file of its body, or throws CInternetException*.
    CInternetFile* OpenURL(LPCTSTR pstrURL, DWORD_PTR dwContext = 1, DWORD dwFlags = INTERNET_FLAG_TRANSFER_ASCII,
        LPCTSTR pstrHeaders = nullptr, DWORD dwHeadersLength = 0);
    void Close() { }

private:
    DWORD_PTR m_dwContext;
};
