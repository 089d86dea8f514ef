#include "platform/net/InternetSession.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>

#include <cerrno>
#include <curl/curl.h>
#include <strings.h>

IMPLEMENT_DYNAMIC(CInternetException, CException)

namespace {

constexpr DWORD DEFAULT_CONNECT_TIMEOUT = 15000;
constexpr DWORD DEFAULT_RECEIVE_TIMEOUT = 30000;
constexpr long WHOLE_GET_TIMEOUT = 60000;
constexpr long MAX_REDIRECTS = 5;

std::atomic<DWORD> g_dwConnectTimeout { DEFAULT_CONNECT_TIMEOUT };
std::atomic<DWORD> g_dwReceiveTimeout { DEFAULT_RECEIVE_TIMEOUT };

using Clock = std::chrono::steady_clock;

// What one transfer collects; the callbacks of libcurl fill it.
struct Transfer {
    std::string strBody;
    bool bTooLarge { false };
    bool bStalled { false };
    Clock::time_point lastByte { Clock::now() };
    std::chrono::milliseconds nReceiveLimit { DEFAULT_RECEIVE_TIMEOUT };
};

size_t OnBody(char* pData, size_t nSize, size_t nCount, void* pUser)
{
    auto* pTransfer = static_cast<Transfer*>(pUser);
    size_t nBytes = nSize * nCount;
    pTransfer->lastByte = Clock::now();
    if (pTransfer->strBody.size() + nBytes > INTERNET_MAX_BODY_SIZE) {
        pTransfer->bTooLarge = true;
        return 0; // ends the transfer with a write error
    }
    pTransfer->strBody.append(pData, nBytes);
    return nBytes;
}

// Header bytes count as bytes of the reply for the time-out without a byte.
size_t OnHeader(char* /*pData*/, size_t nSize, size_t nCount, void* pUser)
{
    static_cast<Transfer*>(pUser)->lastByte = Clock::now();
    return nSize * nCount;
}

int OnProgress(void* pUser, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* pTransfer = static_cast<Transfer*>(pUser);
    if (Clock::now() - pTransfer->lastByte > pTransfer->nReceiveLimit) {
        pTransfer->bStalled = true;
        return 1; // aborts the transfer
    }
    return 0;
}

bool IsUnknownAuthority(long nVerifyResult)
{
    // The verification results of an issuer that cannot be found or trusted.
    constexpr long UNABLE_TO_GET_ISSUER_CERT = 2;
    constexpr long DEPTH_ZERO_SELF_SIGNED = 18;
    constexpr long SELF_SIGNED_IN_CHAIN = 19;
    constexpr long UNABLE_TO_GET_ISSUER_LOCALLY = 20;
    constexpr long UNABLE_TO_VERIFY_LEAF = 21;
    return nVerifyResult == UNABLE_TO_GET_ISSUER_CERT || nVerifyResult == DEPTH_ZERO_SELF_SIGNED
        || nVerifyResult == SELF_SIGNED_IN_CHAIN || nVerifyResult == UNABLE_TO_GET_ISSUER_LOCALLY
        || nVerifyResult == UNABLE_TO_VERIFY_LEAF;
}

DWORD ErrorOfTransfer(CURL* pCurl, CURLcode code, const Transfer& transfer)
{
    if (transfer.bTooLarge)
        return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    if (transfer.bStalled)
        return ERROR_INTERNET_TIMEOUT;
    switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
        return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_URL_MALFORMAT:
        return ERROR_INTERNET_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
        return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
        return ERROR_INTERNET_TIMEOUT;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR: {
        long nErrno = 0;
        curl_easy_getinfo(pCurl, CURLINFO_OS_ERRNO, &nErrno);
        return nErrno == ECONNRESET ? ERROR_INTERNET_CONNECTION_RESET : ERROR_INTERNET_CONNECTION_ABORTED;
    }
    case CURLE_GOT_NOTHING:
        return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS: {
        long nVerifyResult = 0;
        curl_easy_getinfo(pCurl, CURLINFO_SSL_VERIFYRESULT, &nVerifyResult);
        return IsUnknownAuthority(nVerifyResult) ? ERROR_INTERNET_INVALID_CA : ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    }
    default:
        return ERROR_INTERNET_INTERNAL_ERROR;
    }
}

bool HasWebScheme(const char* pszUrl)
{
    return strncasecmp(pszUrl, "http://", 7) == 0 || strncasecmp(pszUrl, "https://", 8) == 0;
}

void InitCurlOnce()
{
    static std::once_flag s_once;
    std::call_once(s_once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Owns an easy handle for the length of one GET.
struct CurlHandle {
    CURL* p { curl_easy_init() };
    ~CurlHandle() { curl_easy_cleanup(p); }
    CurlHandle() = default;
    CurlHandle(const CurlHandle&) = delete;
    CurlHandle& operator=(const CurlHandle&) = delete;
};

} // namespace

BOOL InternetSetOption(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength)
{
    if (hInternet || !lpBuffer || dwBufferLength < sizeof(DWORD))
        return FALSE;
    DWORD dwValue = 0;
    std::memcpy(&dwValue, lpBuffer, sizeof dwValue);
    switch (dwOption) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
        g_dwConnectTimeout = dwValue ? dwValue : DEFAULT_CONNECT_TIMEOUT;
        return TRUE;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
        g_dwReceiveTimeout = dwValue ? dwValue : DEFAULT_RECEIVE_TIMEOUT;
        return TRUE;
    default:
        return FALSE;
    }
}

/*** CInternetException ***/

CInternetException::CInternetException(DWORD dwError, DWORD_PTR dwContext)
    : m_dwContext(dwContext)
    , m_dwError(dwError)
{
}

BOOL CInternetException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    const char* pszText = "An error occurred while talking to the server.";
    switch (m_dwError) {
    case ERROR_INTERNET_TIMEOUT:
        pszText = "The operation timed out.";
        break;
    case ERROR_INTERNET_INVALID_URL:
        pszText = "The URL is invalid.";
        break;
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
        pszText = "The URL does not use a recognized protocol.";
        break;
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
        pszText = "The server name or address could not be resolved.";
        break;
    case ERROR_INTERNET_CANNOT_CONNECT:
        pszText = "A connection with the server could not be established.";
        break;
    case ERROR_INTERNET_CONNECTION_ABORTED:
        pszText = "The connection with the server was terminated abnormally.";
        break;
    case ERROR_INTERNET_CONNECTION_RESET:
        pszText = "The connection with the server was reset.";
        break;
    case ERROR_INTERNET_INVALID_CA:
        pszText = "The certificate authority is invalid or incorrect.";
        break;
    case ERROR_HTTP_INVALID_SERVER_RESPONSE:
        pszText = "The server response could not be parsed.";
        break;
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
        pszText = "An error occurred in the secure channel support.";
        break;
    default:
        break;
    }
    return FillErrorMessage(lpszError, nMaxError, pnHelpContext, pszText, nullptr);
}

/*** CInternetFile ***/

CInternetFile::CInternetFile(std::string strBody)
    : m_strBody(std::move(strBody))
{
}

UINT CInternetFile::Read(void* lpBuf, UINT nCount)
{
    size_t nBytes = std::min<size_t>(nCount, m_strBody.size() - m_nPos);
    if (nBytes)
        std::memcpy(lpBuf, m_strBody.data() + m_nPos, nBytes);
    m_nPos += nBytes;
    return static_cast<UINT>(nBytes);
}

void CInternetFile::Close()
{
    m_strBody.clear();
    m_nPos = 0;
}

/*** CInternetSession ***/

CInternetSession::CInternetSession(LPCTSTR /*pstrAgent*/, DWORD_PTR dwContext, DWORD /*dwAccessType*/,
    LPCTSTR /*pstrProxyName*/, LPCTSTR /*pstrProxyBypass*/, DWORD /*dwFlags*/)
    : m_dwContext(dwContext)
{
    InitCurlOnce();
}

CInternetFile* CInternetSession::OpenURL(
    LPCTSTR pstrURL, DWORD_PTR dwContext, DWORD /*dwFlags*/, LPCTSTR /*pstrHeaders*/, DWORD /*dwHeadersLength*/)
{
    if (!pstrURL || !HasWebScheme(pstrURL))
        throw new CInternetException(ERROR_INTERNET_UNRECOGNIZED_SCHEME, dwContext);
    CurlHandle curl;
    if (!curl.p)
        throw new CInternetException(ERROR_INTERNET_INTERNAL_ERROR, dwContext);
    Transfer transfer;
    transfer.nReceiveLimit = std::chrono::milliseconds(g_dwReceiveTimeout.load());
    CURL* p = curl.p;
    curl_easy_setopt(p, CURLOPT_URL, pstrURL);
    curl_easy_setopt(p, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(p, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(p, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(p, CURLOPT_MAXREDIRS, MAX_REDIRECTS);
    curl_easy_setopt(p, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(p, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(p, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(p, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(g_dwConnectTimeout.load()));
    curl_easy_setopt(p, CURLOPT_TIMEOUT_MS, WHOLE_GET_TIMEOUT);
    curl_easy_setopt(p, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(p, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(p, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(p, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(p, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(p, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(p, CURLOPT_NOPROGRESS, 0L);
    CURLcode code = curl_easy_perform(p);
    if (code != CURLE_OK)
        throw new CInternetException(ErrorOfTransfer(p, code, transfer), dwContext);
    return new CInternetFile(std::move(transfer.strBody));
}
