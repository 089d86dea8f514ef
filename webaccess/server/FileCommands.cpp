#include "webaccess/server/FileCommands.h"

#include "mail/CatalogMessage.h"
#include "mail/MailResult.h"
#include "platform/base/CFile.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/FileHandle.h"
#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "platform/shell/ShellParsingName.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CatalogTypes.h"
#include "store/PathHelpers.h"
#include "store/ProtectedFile.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/WebText.h"
#include "webaccess/server/CWACatalogLists.h"
#include "webaccess/server/CWAReplyWriter.h"
#include "webaccess/server/CWASession.h"

#include <algorithm>
#include <string>

namespace {

constexpr LPCTSTR DATE_FORMAT = "%b %d, %Y  %H:%M";
constexpr UINT COPY_BLOCK = 512; // Bytes of a mail message written at a time

// A mail document the commands refuse: deleted from its store, or its store
// file missing or out of reach. The state is read anew.
bool IsMailUnavailable(const CDocumentRec& document)
{
    const int nState = document.GetExpiryState(TRUE);
    return nState == EXPIRY_MAIL_DELETED || nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE;
}

// The message of a mail document, positioned on and checked as the catalogued
// one: WA_STATUS_OK with the message; WA_STATUS_UNAVAILABLE for a document
// deleted from its store or out of reach, or a store that no longer holds
// that message at the recorded place; WA_STATUS_MAIL_FAILED when the reader fails.
int LoadMailOf(const CDocumentRec& document, std::unique_ptr<CMailMessage>& pMessage)
{
    if (IsMailUnavailable(document))
        return WA_STATUS_UNAVAILABLE;
    const int nResult = LoadCatalogMessage(document.GetMailRef(), pMessage);
    if (nResult == MAIL_ERR_NOT_FOUND || nResult == MAIL_ERR_SEEK || (nResult == MAIL_OK && !pMessage->IsValid()))
        return WA_STATUS_UNAVAILABLE;
    return nResult == MAIL_OK ? WA_STATUS_OK : WA_STATUS_MAIL_FAILED;
}

// The message length recorded for a mail document.
DWORD MailLength(const CDocumentRec& document)
{
    return static_cast<DWORD>(std::max<LONGLONG>(document.LoadState().nSize, 0));
}

// The name a mail document is fetched under: its folder label, "/", its
// title without the characters file names cannot hold, ".eml"; "MAIL.eml"
// when nothing is left of the title.
CString MailItemName(const CDocumentRec& document)
{
    CString strLabel, strTitle;
    document.GetLabel(strLabel);
    document.GetFullPath(strTitle);
    CString strName = RemoveInvalidFileChars(strTitle);
    strName = strName.IsEmpty() ? CString("MAIL.eml") : strName + ".eml";
    CString strItem = strLabel + "/" + strName;
    strItem.Replace('\\', '/');
    return strItem;
}

// A document's file: its folder text followed by its name.
CString DocumentFilePath(const CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName);
    return document.GetDirectoryPath(TRUE) + strName;
}

CString FormatFileDate(const CFileStatus& status)
{
    return status.m_mtime.Format(DATE_FORMAT);
}

} // namespace

/**************************** Item commands ****************************/

CWAItemCommand::CWAItemCommand(int nId)
    : CWAFileCommand(nId)
    , m_pCatalog(AcquireWebCatalog())
{
}

CWAItemCommand::~CWAItemCommand()
{
    ReleaseWebCatalog(m_pCatalog);
}

std::unique_ptr<CDocumentRec> CWAItemCommand::MakeDocument() const
{
    if (m_pCatalog == nullptr)
        return nullptr;
    auto pDocument = std::make_unique<CDocumentRec>(m_pCatalog, m_nBlock, m_nSlot);
    return pDocument->IsValid() ? std::move(pDocument) : nullptr;
}

std::unique_ptr<CDocumentRec> CWAItemCommand::MakeVisibleDocument(CWASession& session)
{
    auto pDocument = MakeDocument();
    if (pDocument == nullptr) {
        m_nStatus = WA_STATUS_UNAVAILABLE;
        return nullptr;
    }
    // A document outside the groups the profile grants is not there for the
    // session, as if its reference named no document.
    if (!session.GetCatalogLists().IsDocumentVisible(*pDocument)) {
        m_nStatus = WA_STATUS_MISSING;
        return nullptr;
    }
    return pDocument;
}

CString CWAItemCommand::GetItemPath() const
{
    if (m_eItemKind == ITEM_PATH)
        return GetShellParsingName(m_strPath);
    if (m_eItemKind != ITEM_DOCUMENT)
        return CString();
    const auto pDocument = MakeDocument();
    if (pDocument == nullptr)
        return CString();
    CString strLabel, strName;
    pDocument->GetLabel(strLabel);
    pDocument->GetFullPath(strName);
    // A file's folder text already ends in its backslash; it gets no second one.
    if (strLabel.IsEmpty() || strLabel[strLabel.GetLength() - 1] != '\\')
        strLabel += '\\';
    return strLabel + strName;
}

bool CWAItemCommand::IsLinkInPlaceOf(const CString& strFilePath)
{
    const DWORD dwAttributes = GetFileAttributes(strFilePath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

/******************************** ATTR ********************************/

BOOL CWACmdAttr::Prepare(CWASession& session)
{
    if (!CWAFileCommand::Prepare(session))
        return FALSE;
    if (m_eItemKind == ITEM_DOCUMENT) {
        const auto pDocument = MakeVisibleDocument(session);
        if (pDocument == nullptr)
            return FALSE;
        CString strItem;
        strItem.Format("|*%ld,%ld|", static_cast<long>(m_nBlock), static_cast<long>(m_nSlot));
        if (pDocument->GetType() == DOCUMENT_MAIL)
            BuildMailReply(*pDocument, strItem);
        else if (const CString strPath = DocumentFilePath(*pDocument); IsLinkInPlaceOf(strPath))
            m_nStatus = WA_STATUS_UNAVAILABLE;
        else
            BuildFileReply(strPath, strItem);
    } else if (m_eItemKind == ITEM_PATH) {
        const CString strPath = GetItemPath();
        CString strItem = strPath;
        strItem.Replace('\\', '/');
        BuildFileReply(strPath, "|" + TokenFieldText(strItem) + "|");
    } else {
        m_nStatus = WA_STATUS_UNAVAILABLE;
    }
    return m_nStatus == WA_STATUS_OK ? TRUE : FALSE;
}

void CWACmdAttr::BuildFileReply(const CString& strPath, const CString& strItem)
{
    CFileStatus status {};
    if (!CFile::GetStatus(strPath, status)) {
        m_nStatus = WA_STATUS_UNAVAILABLE;
        return;
    }
    CString strName = strPath;
    strName.Replace('\\', '/');
    m_strReply.Format("\r\n<#ATTR2 |%s| |%llu| |%s| %s#>\r\n", static_cast<LPCTSTR>(TokenFieldText(strName)),
        static_cast<unsigned long long>(status.m_size), static_cast<LPCTSTR>(FormatFileDate(status)),
        static_cast<LPCTSTR>(strItem));
}

void CWACmdAttr::BuildMailReply(const CDocumentRec& document, const CString& strItem)
{
    std::unique_ptr<CMailMessage> pMessage;
    if (m_nStatus = LoadMailOf(document, pMessage); m_nStatus != WA_STATUS_OK)
        return;
    m_strReply.Format("\r\n<#ATTR2 |%s| |%lu| || %s#>\r\n",
        static_cast<LPCTSTR>(TokenFieldText(MailItemName(document))), static_cast<unsigned long>(MailLength(document)),
        static_cast<LPCTSTR>(strItem));
}

BOOL CWACmdAttr::Execute(CWAOutputFile& reply, CWASession&, int)
{
    reply.Write(static_cast<LPCTSTR>(m_strReply), static_cast<UINT>(m_strReply.GetLength()));
    return CheckReplyWritten(reply);
}

CString CWACmdAttr::GetLogText() const
{
    return "Get ATTRIBUTES - " + GetItemPath();
}

/******************************** DOWN2 ********************************/

CWACmdDown2::CWACmdDown2()
    : CWAItemCommand(WA_CMD_DOWN2)
{
}

CWACmdDown2::~CWACmdDown2() = default;

BOOL CWACmdDown2::Execute(CWAOutputFile& reply, CWASession& session, int)
{
    reply.SetZipMode(m_nFlag != 0 ? TRUE : FALSE);
    if (m_eItemKind == ITEM_DOCUMENT) {
        const auto pDocument = MakeVisibleDocument(session);
        if (pDocument == nullptr)
            return FALSE;
        if (pDocument->IsProtected())
            m_nStatus = WA_STATUS_PROTECTED; // as the tip view, which never shows its content
        else if (pDocument->GetType() == DOCUMENT_MAIL)
            SendMail(reply, *pDocument);
        else if (const CString strPath = DocumentFilePath(*pDocument); IsPathCaseAmbiguous(strPath))
            m_nStatus = WA_STATUS_UNAVAILABLE; // which of the files it names was catalogued cannot be told
        else
            SendFile(reply, strPath, FileKind::Catalogued);
    } else if (m_eItemKind == ITEM_PATH) {
        SendFile(reply, m_strPath, FileKind::AnyPath);
    } else {
        m_nStatus = WA_STATUS_UNAVAILABLE;
    }
    // A download cut short by a failed write is not reported as sent.
    return m_nStatus == WA_STATUS_OK && CheckReplyWritten(reply) ? TRUE : FALSE;
}

void CWACmdDown2::SendFile(CWAOutputFile& reply, const CString& strPath, FileKind eKind)
{
    CFileStatus status {};
    if (!CFile::GetStatus(strPath, status)) {
        m_nStatus = WA_STATUS_UNAVAILABLE;
        return;
    }
    // A catalogued document is sent only as the file that was catalogued: a
    // link put in its place is not followed to wherever it points.
    const DWORD dwFlags = FILE_ATTRIBUTE_NORMAL | (eKind == FileKind::Catalogued ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    HANDLE hFile = CreateFile(
        strPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, dwFlags, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_CANT_ACCESS_FILE)
            m_nStatus = WA_STATUS_UNAVAILABLE;
        return;
    }
    auto pFile = std::make_unique<CFile>(hFile);
    // Only a regular file has bytes to send: a device, pipe or socket could
    // hold the server for ever, so it is answered as a file that cannot be read.
    // What is sent is described by the file opened, not by the name looked at before.
    if (GetFileType(*pFile) != FILE_TYPE_DISK || !pFile->GetStatus(status)) {
        pFile->Abort();
        return;
    }
    // A password-protected file holds its password, scrambled, in its header:
    // it is refused as a protected document is.
    BYTE head[PROTECTED_MAGIC_SIZE];
    const UINT nHead = pFile->Read(head, sizeof head);
    if (StartsAsProtectedFile(head, static_cast<int>(nHead))) {
        pFile->Abort();
        m_nStatus = WA_STATUS_PROTECTED;
        return;
    }
    pFile->SeekToBegin();
    const int nSlash = strPath.ReverseFind('\\');
    const CString strName = nSlash < 0 ? strPath : strPath.Mid(nSlash + 1);
    CString strToken;
    strToken.Format("\r\n<#DOWN2 |%s| |%llu| |%s|#>\r\n", static_cast<LPCTSTR>(TokenFieldText(strName)),
        static_cast<unsigned long long>(status.m_size), static_cast<LPCTSTR>(FormatFileDate(status)));
    reply.Write(static_cast<LPCTSTR>(strToken), static_cast<UINT>(strToken.GetLength()));
    ULONGLONG nRemaining = status.m_size;
    if (m_nOffset > 0) {
        const auto nOffset = static_cast<ULONGLONG>(m_nOffset);
        nRemaining = nOffset >= status.m_size ? 0 : status.m_size - nOffset;
        if (nRemaining > 0)
            pFile->Seek(m_nOffset, CFile::begin);
    }
    auto pBody = std::make_unique<CWAReplyBody>(std::move(pFile), nRemaining);
    if (m_bDeferBody) {
        m_pBody = std::move(pBody);
        return;
    }
    const std::atomic<bool> bNever { false };
    static_cast<void>(pBody->CopyTo(reply, bNever)); // a failed write shows in the reply (CheckReplyWritten)
}

std::unique_ptr<CWAReplyBody> CWACmdDown2::TakeBody()
{
    return std::move(m_pBody);
}

void CWACmdDown2::SendMail(CWAOutputFile& reply, const CDocumentRec& document)
{
    std::unique_ptr<CMailMessage> pMessage;
    if (m_nStatus = LoadMailOf(document, pMessage); m_nStatus != WA_STATUS_OK)
        return;
    CString strTitle;
    document.GetFullPath(strTitle);
    // The token announces exactly the bytes that follow it.
    const std::string& strMessage = pMessage->GetRawMessage();
    CString strToken;
    strToken.Format("\r\n<#DOWN2 |%s| |%lu| ||#>\r\n", static_cast<LPCTSTR>(TokenFieldHtml(strTitle)),
        static_cast<unsigned long>(strMessage.size()));
    reply.Write(static_cast<LPCTSTR>(strToken), static_cast<UINT>(strToken.GetLength()));
    for (size_t nSent = 0; nSent < strMessage.size(); nSent += COPY_BLOCK)
        reply.Write(
            strMessage.data() + nSent, static_cast<UINT>(std::min<size_t>(strMessage.size() - nSent, COPY_BLOCK)));
}

CString CWACmdDown2::GetLogText() const
{
    CString strText;
    if (m_nOffset < 1)
        strText.Format("DOWNLOAD - %s", static_cast<LPCTSTR>(GetItemPath()));
    else
        strText.Format(
            "DOWNLOAD - %s (starting at - %ld)", static_cast<LPCTSTR>(GetItemPath()), static_cast<long>(m_nOffset));
    return strText;
}
