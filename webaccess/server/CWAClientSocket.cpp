#include "webaccess/server/CWAClientSocket.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/Threads.h"
#include "platform/base/WinError.h"
#include "store/FileHelpers.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWAChannelPolicy.h"
#include "webaccess/server/CWAListenSocket.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t BLOCK_SIZE = 64 * 1024;

bool LineStartsWith(const std::string& strLine, const char* pszPrefix)
{
    return strLine.compare(0, std::strlen(pszPrefix), pszPrefix) == 0;
}

bool Elapsed(DWORD dwSince, DWORD dwLimit)
{
    return GetTickCount() - dwSince >= dwLimit;
}

} // namespace

CWAClientSocket::CWAClientSocket(CWAListenSocket* pListener)
    : m_pListener(pListener)
{
}

CWAClientSocket::~CWAClientSocket()
{
    m_unzip.Close();
    m_file.Close();
    DropTemporary(m_strTempIn);
    DropTemporary(m_strTempUpload);
    DropTemporary(m_strTempUnzip);
    if (!m_strSendPath.IsEmpty())
        DeleteFile(m_strSendPath);
    if (!m_strPlaced.IsEmpty())
        DeleteFile(m_strPlaced);
    if (!m_strIdClaim.IsEmpty())
        m_pListener->ReleaseName(m_strIdClaim);
}

void CWAClientSocket::Begin()
{
    m_dwStarted = m_dwLastActivity = GetTickCount();
    const CWAChannelPolicy* pPolicy = m_pListener->GetPolicy();
    m_dwReceiveLimit = pPolicy ? pPolicy->GetRequestDeadline() : DEFAULT_REQUEST_DEADLINE;
}

/*** Receiving ***/

void CWAClientSocket::OnReceive(int nErrorCode)
{
    if (m_eState == State::DONE)
        return;
    std::vector<char> buffer(BLOCK_SIZE);
    int nRead = Receive(buffer.data(), static_cast<int>(buffer.size()));
    if (nRead <= 0)
        return; // the end or an error comes with OnClose; a would-block is nothing
    if (nErrorCode == 0)
        Consume(buffer.data(), static_cast<size_t>(nRead));
}

void CWAClientSocket::Consume(const char* pData, size_t nLength)
{
    if (m_eState == State::INIT || m_eState == State::REQUEST || m_eState == State::UPLOAD)
        m_dwLastActivity = GetTickCount();
    while (nLength > 0 && (m_eState == State::INIT || m_eState == State::REQUEST)) {
        const char* pEnd = static_cast<const char*>(std::memchr(pData, '\n', nLength));
        size_t nTake = pEnd ? static_cast<size_t>(pEnd - pData) : nLength;
        if (m_strPending.size() + nTake > MAX_LINE) {
            if (m_eState == State::INIT)
                SendError(WA_CHANNEL_INVALID_COMMAND);
            else
                Finish();
            return;
        }
        m_strPending.append(pData, nTake);
        if (!pEnd)
            return;
        pData += nTake + 1;
        nLength -= nTake + 1;
        std::string strLine;
        strLine.swap(m_strPending);
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        if (m_eState == State::INIT) {
            ReadInit(strLine);
        } else if (!TakeRequest(strLine)) {
            return;
        }
    }
    if (m_eState == State::UPLOAD && nLength > 0)
        TakeUpload(pData, nLength);
    // In WAIT and SEND, further bytes of the peer are ignored.
}

void CWAClientSocket::ReadInit(const std::string& strLine)
{
    CWAInitLine init = ParseInitLine(CString(strLine.data(), static_cast<int>(strLine.size())));
    if (init.nMode == CWAInitLine::REFUSED) {
        SendError(init.pszError);
        return;
    }
    m_strFolder = BuildCommFolderPath(GetProgramFolder(), init.strFolderName);
    if (!m_pListener->IsCommFolder(m_strFolder)) {
        SendError(WA_CHANNEL_INVALID_FOLDER);
        return;
    }
    m_strId = init.strId;
    // Before anything is touched: the reply of another exchange of this ID
    // is neither deleted nor waited for here.
    if (!m_pListener->ClaimName(PathOf(""), this)) {
        SendError(WA_CHANNEL_BUSY);
        return;
    }
    m_strIdClaim = PathOf("");
    DeleteOldReply();
    if (init.nMode == CWAInitLine::REQUEST) {
        if (!CreateTemporary(m_file, m_strTempIn, ".$in"))
            return;
        // Line 1 names the session as a relay on the request folder does.
        CString strFirst = m_strId + (init.strKey.IsEmpty() ? CString() : "|" + init.strKey) + "\r\n";
        if (!m_file.Write(strFirst, static_cast<UINT>(strFirst.GetLength()))) {
            Finish();
            return;
        }
        m_nRequestBytes = static_cast<size_t>(strFirst.GetLength());
        m_eState = State::REQUEST;
        return;
    }
    m_nRawSize = init.nRawSize;
    m_nPackedSize = init.nPackedSize;
    m_nUploadLeft = static_cast<ULONGLONG>(m_nPackedSize >= 1 ? m_nPackedSize : m_nRawSize);
    if (!AdmitUpload())
        return;
    if (!CreateTemporary(m_file, m_strTempUpload, ".$$1"))
        return;
    m_eState = State::UPLOAD;
    if (m_nUploadLeft == 0)
        FinishUpload();
}

void CWAClientSocket::DeleteOldReply()
{
    DeleteFile(PathOf(".out")); // a stale reply must never answer this request; failures are ignored
}

bool CWAClientSocket::TakeRequest(const std::string& strLine)
{
    if (LineStartsWith(strLine, "<#END#>")) {
        m_file.Close();
        CString strFinal = PathOf(".in");
        if (!RenameFileSafe(m_strTempIn, strFinal)) {
            SendError(WA_CHANNEL_BUSY);
            return false;
        }
        m_pListener->ReleaseName(m_strTempIn);
        m_strTempIn.Empty();
        StartWait(strFinal);
        return false; // bytes after the end are ignored
    }
    m_nRequestBytes += strLine.size() + 2;
    if (m_nRequestBytes > MAX_REQUEST || !m_file.Write(strLine.data(), static_cast<UINT>(strLine.size()))
        || !m_file.Write("\r\n", 2)) {
        Finish();
        return false;
    }
    if (LineStartsWith(strLine, "<#LOGOUT "))
        m_bWaitForReply = false; // the server answers a logout with no reply file
    return true;
}

void CWAClientSocket::TakeUpload(const char* pData, size_t nLength)
{
    size_t nTake = static_cast<size_t>(std::min<ULONGLONG>(nLength, m_nUploadLeft));
    if (!m_file.Write(pData, static_cast<UINT>(nTake))) {
        Finish();
        return;
    }
    m_nUploadLeft -= nTake;
    if (m_nUploadLeft == 0)
        FinishUpload(); // further bytes are ignored
}

bool CWAClientSocket::AdmitUpload()
{
    const CWAChannelPolicy* pPolicy = m_pListener->GetPolicy();
    LPCTSTR pszRefusal = pPolicy ? pPolicy->CheckUpload(PathOf(".upl"), static_cast<ULONGLONG>(m_nRawSize),
                             static_cast<ULONGLONG>(std::max<LONG>(m_nPackedSize, 0)))
                                 : WA_CHANNEL_NOT_ANNOUNCED;
    if (pszRefusal != nullptr) {
        SendError(pszRefusal);
        return false;
    }
    // A slow peer holds a connection no longer than its bytes need.
    const ULONGLONG nAllowance = m_nUploadLeft * 1000 / MIN_UPLOAD_RATE;
    m_dwReceiveLimit = static_cast<DWORD>(std::min<ULONGLONG>(m_dwReceiveLimit + nAllowance, 0x7FFFFFFF));
    return true;
}

void CWAClientSocket::FinishUpload()
{
    m_file.Close();
    if (m_nPackedSize < 1) {
        StoreUpload(m_strTempUpload);
        return;
    }
    m_strTempUnzip = PathOf(".$$2");
    if (!m_pListener->ClaimName(m_strTempUnzip, this)) {
        m_strTempUnzip.Empty();
        SendError(WA_CHANNEL_BUSY);
        return;
    }
    DeleteFile(m_strTempUnzip); // an unclaimed leftover of an earlier run
    // AdmitUpload let only a policy's uploads in.
    ULONGLONG nLimit = m_nRawSize > 0 ? static_cast<ULONGLONG>(m_nRawSize) : m_pListener->GetPolicy()->GetUploadLimit();
    if (!m_unzip.Open(m_strTempUpload, m_strTempUnzip, nLimit)) {
        SendError(WA_CHANNEL_CORRUPTED);
        return;
    }
    m_eState = State::UNZIP;
    ContinueUnzip();
}

void CWAClientSocket::ContinueTurn()
{
    if (m_eState == State::UNZIP)
        ContinueUnzip();
    else if (m_eState == State::SEND)
        SendMore();
}

void CWAClientSocket::ContinueUnzip()
{
    if (m_eState != State::UNZIP)
        return;
    switch (m_unzip.Continue(UNZIP_SLICE)) {
    case CWAUnzipReader::Step::More:
        m_pListener->PostTurn(this);
        return;
    case CWAUnzipReader::Step::Failed:
        SendError(WA_CHANNEL_CORRUPTED);
        return;
    case CWAUnzipReader::Step::Done:
        DropTemporary(m_strTempUpload);
        StoreUpload(m_strTempUnzip);
        return;
    }
}

void CWAClientSocket::StoreUpload(const CString& strResult)
{
    if (!RenameFileSafe(strResult, PathOf(".upl"))) {
        SendError(WA_CHANNEL_BUSY);
        return;
    }
    m_pListener->ReleaseName(strResult);
    if (m_strTempUpload == strResult)
        m_strTempUpload.Empty();
    else
        m_strTempUnzip.Empty();
    StartWait(PathOf(".upl"));
}

/*** Waiting and sending ***/

void CWAClientSocket::StartWait(const CString& strPlaced)
{
    if (!m_bWaitForReply) {
        Finish(); // the server takes the logout later; nothing comes back
        return;
    }
    m_strPlaced = strPlaced;
    m_eState = State::WAIT;
    m_dwReplyDeadline = GetTickCount() + REPLY_LIMIT;
    CheckReply();
}

void CWAClientSocket::CheckReply()
{
    if (m_eState != State::WAIT)
        return;
    // The server deletes the request (or moves the upload away) before its
    // reply gets the .out name: a reply beside a request still waiting is
    // not this one's.
    CString strReply = PathOf(".out");
    if (GetFileAttributes(m_strPlaced) != INVALID_FILE_ATTRIBUTES
        || GetFileAttributes(strReply) == INVALID_FILE_ATTRIBUTES)
        return;
    m_strPlaced.Empty();
    StartSending(strReply);
}

void CWAClientSocket::OnTick()
{
    switch (m_eState) {
    case State::INIT:
    case State::REQUEST:
    case State::UPLOAD:
        // A peer that trickles its bytes is cut at the deadline all the same.
        if (Elapsed(m_dwLastActivity, IDLE_LIMIT) || Elapsed(m_dwStarted, m_dwReceiveLimit))
            Finish();
        break;
    case State::WAIT:
        if (static_cast<LONG>(GetTickCount() - m_dwReplyDeadline) >= 0) {
            CheckReply(); // a reply that came at the last moment still goes
            if (m_eState == State::WAIT)
                SendError(WA_CHANNEL_TIME_OUT);
        }
        break;
    case State::SEND:
        if (Elapsed(m_dwLastActivity, SEND_LIMIT))
            Finish();
        break;
    case State::UNZIP:
    case State::DONE:
        break;
    }
}

void CWAClientSocket::StartSending(const CString& strPath)
{
    m_strSendPath = strPath;
    if (!m_file.OpenRead(strPath)) {
        Finish();
        return;
    }
    m_eState = State::SEND;
    m_dwLastActivity = GetTickCount();
    m_block.clear();
    m_nBlockPos = 0;
    m_bFileDone = false;
    SendMore();
}

void CWAClientSocket::SendMore()
{
    // A fast peer would take a whole large reply in one go: the rest waits
    // for a later turn, so the messages between get their turn too.
    size_t nTurnLeft = SEND_SLICE;
    while (m_eState == State::SEND) {
        if (nTurnLeft == 0) {
            m_pListener->PostTurn(this);
            return;
        }
        if (m_nBlockPos == m_block.size()) {
            if (m_bFileDone) {
                Finish();
                return;
            }
            m_block.resize(BLOCK_SIZE);
            int nRead = m_file.Read(m_block.data(), static_cast<UINT>(m_block.size()));
            if (nRead < 0) {
                Finish();
                return;
            }
            m_block.resize(static_cast<size_t>(nRead));
            m_nBlockPos = 0;
            m_bFileDone = nRead == 0;
            continue;
        }
        int nSent = Send(m_block.data() + m_nBlockPos, static_cast<int>(m_block.size() - m_nBlockPos));
        if (nSent == SOCKET_ERROR) {
            if (GetLastError() != WSAEWOULDBLOCK)
                Finish(); // the peer is gone
            return;       // OnSend continues
        }
        m_nBlockPos += static_cast<size_t>(nSent);
        nTurnLeft -= std::min(nTurnLeft, static_cast<size_t>(nSent));
        m_dwLastActivity = GetTickCount();
    }
}

void CWAClientSocket::OnSend(int /*nErrorCode*/)
{
    if (m_eState == State::SEND)
        SendMore();
}

void CWAClientSocket::SendError(LPCTSTR pszText)
{
    if (!m_strPlaced.IsEmpty()) {
        DeleteFile(m_strPlaced); // answered now: the server must not answer it later
        m_strPlaced.Empty();
    }
    m_file.Close();
    DropTemporary(m_strTempIn);
    DropTemporary(m_strTempUpload);
    m_unzip.Close();
    DropTemporary(m_strTempUnzip);
    char szTempFolder[MAX_PATH] = "";
    char szTempFile[MAX_PATH] = "";
    if (GetTempPath(MAX_PATH, szTempFolder) == 0 || GetTempFileName(szTempFolder, "xxx", 0, szTempFile) == 0) {
        Finish();
        return;
    }
    CWAOutputFile output;
    if (!output.Open(szTempFile, TRUE)) {
        DeleteFile(szTempFile);
        Finish();
        return;
    }
    CString strToken;
    strToken.Format("\r\n<#ERR |%s|#>", pszText);
    output.WriteText(strToken);
    output.Close();
    StartSending(szTempFile);
}

void CWAClientSocket::Refuse()
{
    SendError(WA_CHANNEL_BUSY);
}

/*** Ending ***/

void CWAClientSocket::OnClose(int nErrorCode)
{
    switch (m_eState) {
    case State::INIT:
    case State::REQUEST:
        Finish(); // a request cut short is dropped with its temporary
        break;
    case State::UPLOAD:
        SendError(WA_CHANNEL_CORRUPTED);
        break;
    case State::WAIT:
        if (nErrorCode != 0)
            Finish(); // a reset; an orderly half-close keeps the wait
        break;
    case State::UNZIP: // after a reset, the relay that would take the reply is gone
    case State::SEND:
        if (nErrorCode != 0)
            Finish();
        break;
    case State::DONE:
        break;
    }
}

void CWAClientSocket::ShutDown()
{
    if (m_eState == State::WAIT) {
        SendError(WA_CHANNEL_SHUT_DOWN); // a small reply: the socket takes it at once
    }
    Finish();
}

void CWAClientSocket::Finish()
{
    if (m_eState == State::DONE)
        return;
    m_eState = State::DONE;
    m_unzip.Close();
    m_file.Close();
    DropTemporary(m_strTempIn);
    DropTemporary(m_strTempUpload);
    DropTemporary(m_strTempUnzip);
    if (!m_strSendPath.IsEmpty()) {
        DeleteFile(m_strSendPath); // also after a partial send
        m_strSendPath.Empty();
    }
    // Unanswered, the request goes too: its reply would come when a later
    // exchange of the ID waits, and answer that one.
    if (!m_strPlaced.IsEmpty()) {
        DeleteFile(m_strPlaced);
        m_strPlaced.Empty();
    }
    if (!m_strIdClaim.IsEmpty()) {
        m_pListener->ReleaseName(m_strIdClaim);
        m_strIdClaim.Empty();
    }
    Close();
    m_pListener->PostReap();
}

/*** Names ***/

CString CWAClientSocket::PathOf(LPCTSTR pszExtension) const
{
    return m_strFolder + m_strId + pszExtension;
}

bool CWAClientSocket::CreateTemporary(CWAChannelFile& file, CString& strOwned, LPCTSTR pszExtension)
{
    CString strPath = PathOf(pszExtension);
    if (!m_pListener->ClaimName(strPath, this)) {
        SendError(WA_CHANNEL_BUSY); // another live exchange of this ID owns the name
        return false;
    }
    strOwned = strPath;
    if (file.CreateNew(strPath))
        return true;
    // A name no live exchange owns is a leftover of an earlier run.
    if (::GetLastError() == ERROR_FILE_EXISTS && DeleteFile(strPath) && file.CreateNew(strPath))
        return true;
    Finish(); // a file error: nothing is sent
    return false;
}

void CWAClientSocket::DropTemporary(CString& strPath)
{
    if (strPath.IsEmpty())
        return;
    DeleteFile(strPath);
    m_pListener->ReleaseName(strPath);
    strPath.Empty();
}
