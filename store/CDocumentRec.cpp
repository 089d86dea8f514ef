#include "store/CDocumentRec.h"

#include "platform/base/Clock.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/HostFile.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CLinkRec.h"
#include "store/CLocationRec.h"
#include "store/CNetDriveMap.h"
#include "store/CPreferences.h"
#include "store/DateHelpers.h"
#include "store/FileTypeName.h"
#include "store/PathHelpers.h"
#include "store/RecordFields.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

static_assert(SlotCount(CDocumentRec::RECORD_SIZE) == 7);
static_assert(CDocumentRec::OFF_NAME + CDocumentRec::TEXT_SIZE == CDocumentRec::OFF_DESCRIPTION);
static_assert(CDocumentRec::OFF_DESCRIPTION + CDocumentRec::TEXT_SIZE == CDocumentRec::OFF_SECONDARY);
static_assert(CDocumentRec::OFF_SECONDARY + CDocumentRec::TEXT_SIZE < CDocumentRec::OFF_LOCATION);
static_assert(CDocumentRec::OFF_PASSWORD + CDocumentRec::PASSWORD_SIZE == CDocumentRec::OFF_OPEN_ACTION);
static_assert(CDocumentRec::OFF_FIRST_LINK + 8 == CDocumentRec::RECORD_SIZE);
static_assert(CDocumentRec::MAX_NAME < static_cast<int>(sizeof(CDocumentInfo::szName)));
// The name's field keeps at least its last 3 bytes short of full when a
// character does not fit, so the location record takes the longest rest.
static_assert(CDocumentRec::MAX_NAME - (CDocumentRec::TEXT_SIZE - 4) < CLocationRec::TEXT_SIZE);

std::string MailTitleOfSubject(std::string_view strSubject)
{
    CString strNoSubject;
    if (strSubject.empty() && strNoSubject.LoadString(IDS_NOTICE_NO_SUBJECT))
        strSubject = static_cast<LPCTSTR>(strNoSubject);
    std::string strTitle(strSubject);
    strTitle.resize(Utf8PrefixLength(strTitle.c_str(), CDocumentRec::MAX_MAIL_TITLE));
    return strTitle;
}

bool IsSameMailTitle(std::string_view strTitle1, std::string_view strTitle2)
{
    return Utf8ToLower(strTitle1) == Utf8ToLower(strTitle2);
}

namespace {

constexpr std::size_t UTF8_MAX_CHAR_BYTES = 4; // the longest character

// The text of a field of nField bytes that may lack its NUL, cut at a
// character boundary to at most nLimit bytes.
std::string FieldText(const char* pField, std::size_t nField, std::size_t nLimit)
{
    std::string strText(pField, strnlen(pField, nField));
    strText.resize(Utf8PrefixLength(strText.c_str(), nLimit));
    return strText;
}

// A mail message's identification: store identifier, message offset, message
// length (32-bit each) and the state character, at OFF_STATE.
constexpr int ID_STORE = 0;
constexpr int ID_OFFSET = 4;
constexpr int ID_LENGTH = 8;
static_assert(CDocumentRec::OFF_ID + 12 == CDocumentRec::OFF_STATE);

// Stores text NUL-terminated in the field of nSize bytes at nOffset, cut at a
// character boundary and zero-padded.
void StoreText(std::span<BYTE> data, int nOffset, int nSize, const std::string& strText)
{
    Utf8CopyToField(reinterpret_cast<char*>(data.data() + nOffset), static_cast<std::size_t>(nSize), strText.c_str(),
        FieldEnd::NulTerminated);
}

// The text of a record's field, up to its NUL or the field's end.
std::string FieldOf(std::span<const BYTE> data, int nOffset, int nSize)
{
    return FieldText(reinterpret_cast<const char*>(data.data() + nOffset), static_cast<std::size_t>(nSize),
        static_cast<std::size_t>(nSize));
}

// The node that holds a link is a fixed node of blocks 1 and 2, which hold
// documents for the program's own lists rather than for the user.
bool IsServiceNode(CRecordRef node)
{
    return node.nSlot == 0
        && (node.nBlock == CNodeRec::EXPIRING_NODE_BLOCK || node.nBlock == CNodeRec::FAVOURITES_NODE_BLOCK);
}

LONGLONG NowSeconds()
{
    return static_cast<LONGLONG>(ClockUtcNow() / FILETIME_UNITS_PER_SECOND)
        - static_cast<LONGLONG>(FILETIME_UNIX_EPOCH_SECONDS);
}

// Cuts the last nCount characters off a UTF-8 text.
std::string_view DropLastCharacters(std::string_view text, int nCount)
{
    std::size_t nEnd = text.size();
    for (int n = 0; n < nCount && nEnd > 0; ++n) {
        --nEnd;
        while (nEnd > 0 && (static_cast<BYTE>(text[nEnd]) & 0xC0) == 0x80)
            --nEnd;
    }
    return text.substr(0, nEnd);
}

CString DropLastCharacters(const CString& strText, int nCount)
{
    const std::string_view text
        = DropLastCharacters(std::string_view(strText, static_cast<std::size_t>(strText.GetLength())), nCount);
    return CString(text.data(), static_cast<int>(text.size()));
}

}

CDocumentRec::CDocumentRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot)
    : CCatalogRecord(pCatalog, TABLE_DOCUMENT, { nBlock, nSlot })
    , m_pCatalog(pCatalog)
{
    CDocumentRec::Load();
}

CDocumentRec::CDocumentRec(CCatalog* pCatalog, CRecordRef ref, CRecordRef* pOwner)
    : CCatalogRecord(pCatalog, TABLE_DOCUMENT, ref)
    , m_pCatalog(pCatalog)
{
    m_bValid = LoadAlone(pOwner) != FALSE;
}

BOOL CDocumentRec::Load()
{
    m_bValid = CCatalogRecord::Load() != FALSE;
    m_name.reset();
    m_strTypeName.Empty();
    m_bStateLoaded = false;
    m_nExpiryState = -1;
    return m_bValid;
}

CDocumentRec* CDocumentRec::Clone() const
{
    auto pClone = std::make_unique<CDocumentRec>(m_pCatalog, GetBlock(), GetSlot());
    if (!pClone->IsValid())
        return nullptr;
    // What this object has worked out already goes with the copy.
    pClone->m_strTypeName = m_strTypeName;
    pClone->m_state = m_state;
    pClone->m_bStateLoaded = m_bStateLoaded;
    pClone->m_nExpiryState = m_nExpiryState;
    pClone->m_nTypeIcon = m_nTypeIcon;
    if (m_pIcon)
        pClone->m_pIcon = m_pIcon->Copy();
    return pClone.release();
}

CDocumentRec* CDocumentRec::CopyToCatalog(CCatalog* pTarget) const
{
    CCatalogAction action(pTarget);
    if (!m_bValid || !pTarget || pTarget == m_pCatalog) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    CDocumentInfo info;
    CString strName;
    GetFullPath(strName, TRUE);
    CString strFolder = GetDirectoryPath(FALSE, TRUE);
    if (!GetInfo(&info) || strFolder.IsEmpty())
        return nullptr;
    // The copy holds info, whether it was there already or not.
    std::unique_ptr<CDocumentRec> pCopy(pTarget->FindOrAddDocument(strFolder, strName, &info));
    if (!pCopy)
        return nullptr;
    if (IsMail()) {
        // The store kind of the mail store goes with its messages.
        std::unique_ptr<CDirectoryRec> pSource(m_pCatalog->FindDirectory(strFolder));
        std::unique_ptr<CDirectoryRec> pDirectory(pTarget->FindDirectory(strFolder));
        if (pSource && pDirectory && pDirectory->GetStoreKind() != pSource->GetStoreKind()) {
            pDirectory->SetStoreKind(pSource->GetStoreKind());
            if (!pDirectory->Save())
                return nullptr;
        }
    }
    for (const auto& pNode : GetLinkedNodes()) {
        if (IsServiceNode(pNode->GetRef()))
            continue; // UpdateInfo linked the copy where its expiry date belongs; favourites stay behind
        std::unique_ptr<CNodeRec> pTargetNode(pNode->FindOrAddPathIn(pTarget));
        if (!pTargetNode || !pTargetNode->AddDocument(pCopy.get()))
            return nullptr;
    }
    return action.Finish(pCopy->Load() ? pCopy.release() : nullptr);
}

/******************************************************************************
 * Fields and texts
 ******************************************************************************/

WORD CDocumentRec::GetType() const
{
    return GetWordField(GetData(), OFF_TYPE);
}

BOOL CDocumentRec::IsProtected() const
{
    return GetData()[OFF_PASSWORD] != 0;
}

LONG CDocumentRec::GetExpiry() const
{
    return GetLongField(GetData(), OFF_EXPIRY);
}

CRecordRef CDocumentRec::GetFirstLink() const
{
    return GetRefField(GetData(), OFF_FIRST_LINK);
}

const std::string& CDocumentRec::GetName() const
{
    if (m_name)
        return *m_name;
    std::span<const BYTE> data = GetData();
    m_name.emplace(FieldOf(data, OFF_NAME, TEXT_SIZE));
    // A missing location record leaves the name cut, not the call failed.
    CRecordRef location = GetRefField(data, OFF_LOCATION);
    if (m_bValid && !location.IsNone()) {
        CLocationRec rest(m_pCatalog, location);
        if (rest.Load())
            *m_name += rest.GetText();
    }
    m_name->resize(Utf8PrefixLength(m_name->c_str(), MAX_NAME));
    return *m_name;
}

std::string_view CDocumentRec::NameHead(std::span<const BYTE> record, bool* pbContinued)
{
    const char* pField = reinterpret_cast<const char*>(record.data() + OFF_NAME);
    *pbContinued = !GetRefField(record, OFF_LOCATION).IsNone();
    return { pField, strnlen(pField, TEXT_SIZE) };
}

bool CDocumentRec::FullPathInRecord(std::span<const BYTE> record, std::string_view* pPath)
{
    // The head is never longer than a name (GetName's cut).
    static_assert(TEXT_SIZE <= MAX_NAME);
    bool bContinued = false;
    const std::string_view head = NameHead(record, &bContinued);
    if (bContinued)
        return false;
    *pPath = GetWordField(record, OFF_TYPE) != DOCUMENT_FILE ? DropLastCharacters(head, 2) : head;
    return true;
}

void CDocumentRec::GetFullPath(CString& strOut, int bKeepMarkers) const
{
    strOut = GetName().c_str();
    if (IsMail() && !bKeepMarkers)
        strOut = DropLastCharacters(strOut, 2);
}

CString CDocumentRec::GetDirectoryPath(BOOL bConvert, BOOL bKeepStar) const
{
    if (!m_bValid)
        return CString();
    CCatalogBlock* pBlock = m_pCatalog->GetBlock(GetBlock());
    if (!pBlock)
        return CString();
    // Directory texts never change, so the catalog's map of them serves each
    // row without reading the directory record.
    CString strPath;
    if (CRecordRef owner = pBlock->GetHeader().owner; !m_pCatalog->LookupDirectoryPath(owner, &strPath)) {
        CDirectoryRec directory(m_pCatalog, owner);
        if (!directory.IsValid()) {
            m_pCatalog->ReportDamage(); // a document chain owned by no directory
            return CString();
        }
        strPath = directory.GetPath();
    }
    if (bConvert)
        strPath = NormalizeUNCPath(strPath);
    if (!bKeepStar && !strPath.IsEmpty() && strPath[0] == '*')
        strPath = strPath.Mid(1);
    return strPath;
}

CString CDocumentRec::GetDirectoryString(BOOL bConvert) const
{
    CString strPath = GetDirectoryPath(bConvert, FALSE);
    // A mail store's text is "*", the store file's path and a marker character.
    if (IsMail() && !strPath.IsEmpty())
        strPath = DropLastCharacters(strPath, 1);
    return strPath;
}

void CDocumentRec::GetNameWithLocation(CString& strOut) const
{
    strOut = FieldOf(GetData(), OFF_DESCRIPTION, TEXT_SIZE).c_str();
}

void CDocumentRec::GetAltNameWithLocation(CString& strOut) const
{
    strOut = FieldOf(GetData(), OFF_SECONDARY, TEXT_SIZE).c_str();
}

void CDocumentRec::GetLabel(CString& strOut) const
{
    strOut = GetDirectoryPath(!IsMail(), FALSE);
}

void CDocumentRec::GetTypeName(CString& strOut) const
{
    if (m_strTypeName.IsEmpty()) {
        if (!IsMail()) {
            // The type the desktop gives the file's extension, as a file manager names it.
            CString strPath, strFolder, strName, strBase, strExtension;
            GetFullPath(strPath);
            SplitPath(strPath, strFolder, strName);
            SplitFileName(strName, strBase, strExtension);
            m_strTypeName = FileTypeNameOfExtension(strExtension);
            if (m_strTypeName.IsEmpty())
                m_strTypeName = "File";
        } else {
            switch (GetLongField(GetData(), OFF_VERSION)) {
            case 0:
                m_strTypeName = "Netscape Mail";
                break;
            case 2:
                m_strTypeName = "Outlook Express 4 Mail";
                break;
            case 3:
                m_strTypeName = "Outlook Express 5 Mail";
                break;
            default:
                m_strTypeName = "Mail";
                break;
            }
        }
    }
    strOut = m_strTypeName;
}

/******************************************************************************
 * State
 ******************************************************************************/

CString CDocumentRec::GetFilePath() const
{
    if (IsMail())
        return GetDirectoryString(FALSE);
    CString strName;
    GetFullPath(strName);
    return GetDirectoryPath(FALSE, FALSE) + strName;
}

const CDocumentState& CDocumentRec::LoadState(BOOL bRefresh) const
{
    if (m_bStateLoaded && !bRefresh)
        return m_state;
    m_bStateLoaded = true;
    m_state = {};
    if (!m_bValid)
        return m_state;
    CString strPath = GetFilePath();
    HostFileStatus st;
    if (strPath.IsEmpty() || !GetHostFileStatus(strPath, st)) {
        m_state.bReachable = false;
        return m_state;
    }
    m_state.bFound = st.bExists;
    std::span<const BYTE> data = GetData();
    if (IsMail()) {
        const BYTE* pId = data.data() + OFF_ID;
        LONG nOffset = ReadLong(pId + ID_OFFSET);
        LONG nLength = ReadLong(pId + ID_LENGTH);
        m_state.nSize = nLength;
        m_state.tCreated = m_state.tModified = m_state.tAccessed
            = static_cast<DWORD>(GetLongField(data, OFF_ATTRIBUTES));
        m_state.bStoreShrunk = m_state.bFound && LONGLONG { nOffset } + nLength > static_cast<LONGLONG>(st.nSize);
        // The mail layer, when installed, looks at the message in its store.
        CMailDocumentHooks* pHooks = GetMailDocumentHooks();
        if (pHooks && m_state.bFound && !m_state.bStoreShrunk) {
            using EState = CMailDocumentHooks::EMessageState;
            EState eState = pHooks->CheckMessage(GetMailRef());
            m_state.bDeletedInStore = eState == EState::Deleted;
            m_state.bStoreShrunk = eState == EState::Moved;
        }
    } else if (m_state.bFound) {
        m_state.nSize = st.nSize;
        m_state.tModified = st.tModified;
        m_state.tCreated = st.tChanged;
        m_state.tAccessed = st.tAccessed;
    }
    return m_state;
}

int CDocumentRec::ComputeExpiryState() const
{
    const CDocumentState& state = LoadState(FALSE);
    if (!state.bReachable)
        return EXPIRY_UNREACHABLE;
    if (!state.bFound)
        return EXPIRY_NOT_FOUND;
    if (IsMail() && (GetData()[OFF_STATE] == 'x' || state.bDeletedInStore))
        return EXPIRY_MAIL_DELETED;
    return GetRecordState();
}

int CDocumentRec::GetRecordState() const
{
    LONGLONG tNow = NowSeconds();
    LONG nExpiry = GetExpiry();
    if (nExpiry >= 1 && nExpiry <= tNow)
        return EXPIRY_PASSED;
    std::span<const BYTE> data = GetData();
    ULONGLONG nCatalogTime = static_cast<ULONGLONG>(static_cast<DWORD>(GetLongField(data, OFF_CATALOG_TIME + 4))) << 32
        | static_cast<DWORD>(GetLongField(data, OFF_CATALOG_TIME));
    int nNewDays = thePreferences.m_nNumDayFileNew;
    if (nCatalogTime == 0 || nNewDays <= 0)
        return EXPIRY_NONE; // a document without a catalog time is never new
    auto tCatalogued = static_cast<LONGLONG>(nCatalogTime / FILETIME_UNITS_PER_SECOND)
        - static_cast<LONGLONG>(FILETIME_UNIX_EPOCH_SECONDS);
    LONG nDaysAgo = DaysBetween(static_cast<time_t>(tCatalogued), static_cast<time_t>(tNow));
    return nDaysAgo < nNewDays ? EXPIRY_NEW : EXPIRY_NONE;
}

int CDocumentRec::GetExpiryState(int bCheck) const
{
    if (!m_bValid)
        return EXPIRY_NOT_FOUND;
    if (m_nExpiryState < 0 || bCheck) {
        if (bCheck)
            (void)LoadState(TRUE); // the cached state is dropped; LoadState never fails
        m_nExpiryState = ComputeExpiryState();
    }
    return m_nExpiryState;
}

int CDocumentRec::RefreshState()
{
    CCatalogAction action(m_pCatalog);
    if (!m_bValid)
        return 0;
    int nBefore = GetExpiryState(FALSE);
    int nAfter = GetExpiryState(TRUE);
    if (IsMail() && m_state.bStoreShrunk)
        return action.Finish(2);
    return action.Finish(nAfter != nBefore ? 1 : 0);
}

/******************************************************************************
 * Content and protection
 ******************************************************************************/

CMailDocumentRef CDocumentRec::GetMailRef() const
{
    const BYTE* pId = GetData().data() + OFF_ID;
    CMailDocumentRef ref;
    ref.nStoreKind = GetLongField(GetData(), OFF_VERSION);
    ref.dwStoreId = static_cast<DWORD>(ReadLong(pId + ID_STORE));
    ref.dwOffset = static_cast<DWORD>(ReadLong(pId + ID_OFFSET));
    ref.dwLength = static_cast<DWORD>(ReadLong(pId + ID_LENGTH));
    ref.dwDate = static_cast<DWORD>(GetLongField(GetData(), OFF_ATTRIBUTES));
    GetFullPath(ref.strTitle);
    GetFullPath(ref.strFullPath, TRUE);
    ref.strStorePath = GetFilePath();
    return ref;
}

CString CDocumentRec::GetPassword() const
{
    return CString(FieldOf(GetData(), OFF_PASSWORD, PASSWORD_SIZE).c_str());
}

int CDocumentRec::ReadContent(char* pszBuffer, int nSize) const
{
    if (!pszBuffer || nSize < 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return CONTENT_EMPTY;
    }
    pszBuffer[0] = '\0';
    if (!m_bValid)
        return CONTENT_UNREADABLE;
    if (!IsMail())
        return GetPassword().IsEmpty() ? ReadFileContent(GetFilePath(), pszBuffer, nSize) : CONTENT_PROTECTED_FILE;
    if (!GetPassword().IsEmpty())
        return CONTENT_PROTECTED;
    CMailDocumentHooks* pHooks = GetMailDocumentHooks();
    std::string strText;
    if (!pHooks || pHooks->ReadText(GetMailRef(), strText) != 0)
        return CONTENT_UNREADABLE;
    Utf8CopyToField(pszBuffer, static_cast<std::size_t>(nSize), strText.c_str(), FieldEnd::NulTerminated);
    return pszBuffer[0] ? CONTENT_TEXT : CONTENT_EMPTY;
}

int CDocumentRec::ReadMailMessage(LPCTSTR pszPassword) const
{
    if (!m_bValid || !IsMail())
        return PROTECT_UNREADABLE;
    if (GetPassword().Compare(pszPassword ? pszPassword : "") != 0)
        return PROTECT_BAD_PASSWORD;
    CMailDocumentHooks* pHooks = GetMailDocumentHooks();
    if (!pHooks || pHooks->CheckMessage(GetMailRef()) != CMailDocumentHooks::EMessageState::Live)
        return PROTECT_UNREADABLE;
    return PROTECT_OK;
}

int CDocumentRec::ChangeProtection(LPCTSTR pszNewPassword, LPCTSTR pszOldPassword)
{
    if (!m_bValid)
        return PROTECT_UNREADABLE;
    if (!pszNewPassword) {
        if (IsMail())
            return ReadMailMessage(pszOldPassword);
        return GetPassword().Compare(pszOldPassword ? pszOldPassword : "") == 0 ? PROTECT_OK : PROTECT_BAD_PASSWORD;
    }
    if (GetPassword().Compare(pszOldPassword ? pszOldPassword : "") != 0)
        return PROTECT_BAD_PASSWORD;
    return IsMail() ? ChangeMailProtection(pszNewPassword, pszOldPassword)
                    : ChangeFileProtection(pszNewPassword, pszOldPassword);
}

int CDocumentRec::ChangeMailProtection(LPCTSTR pszNewPassword, LPCTSTR)
{
    if (std::strlen(pszNewPassword) > static_cast<std::size_t>(MAX_MAIL_PASSWORD))
        return PROTECT_BAD_PASSWORD;
    CMailDocumentHooks* pHooks = GetMailDocumentHooks();
    if (!pHooks || pHooks->ChangeProtection(GetMailRef(), pszNewPassword) != 0)
        return PROTECT_UNREADABLE;
    CDocumentInfo info;
    GetInfo(&info);
    return StorePassword(info, pszNewPassword) ? PROTECT_OK : PROTECT_WRITE_FAILED;
}

int CDocumentRec::ChangeFileProtection(LPCTSTR pszNewPassword, LPCTSTR pszOldPassword)
{
    if (std::strlen(pszNewPassword) >= static_cast<std::size_t>(PASSWORD_SIZE))
        return PROTECT_BAD_PASSWORD;
    CString strPath = GetFilePath();
    CDocumentInfo info;
    GetInfo(&info);
    const DWORD dwKept = info.dwAttributes;
    const bool bWasProtected = info.szPassword[0] != '\0';
    const bool bUnprotect = *pszNewPassword == '\0';
    DWORD dwBefore = GetFileAttributes(strPath);
    int nResult = ProtectFile(strPath, pszNewPassword, pszOldPassword);
    if (nResult != PROTECT_OK && !(bUnprotect && nResult == PROTECT_NOT_PROTECTED))
        return nResult;

    // A protected file is read-only; the attributes it had come back when it is unprotected.
    if (bUnprotect) {
        if (bWasProtected)
            (void)SetFileAttributes(strPath, dwKept); // a file left read-only is still whole; the record goes on
        info.dwAttributes = 0;
    } else if (!bWasProtected) {
        info.dwAttributes = dwBefore == INVALID_FILE_ATTRIBUTES ? 0 : dwBefore;
        // The protection holds without the read-only attribute, should it not take.
        (void)SetFileAttributes(strPath, info.dwAttributes | FILE_ATTRIBUTE_READONLY);
    }
    if (StorePassword(info, pszNewPassword))
        return nResult;

    // The record keeps the old password, so the file goes back to it; should
    // that fail too, the write failure is still what the caller reports.
    if (nResult == PROTECT_OK)
        (void)ProtectFile(strPath, pszOldPassword, pszNewPassword);
    (void)SetFileAttributes(strPath, bWasProtected ? (dwKept | FILE_ATTRIBUTE_READONLY) : dwBefore);
    return PROTECT_WRITE_FAILED;
}

BOOL CDocumentRec::StorePassword(CDocumentInfo& info, LPCTSTR pszPassword)
{
    std::memset(info.szPassword, 0, sizeof(info.szPassword));
    std::memcpy(info.szPassword, pszPassword, std::min(std::strlen(pszPassword), sizeof(info.szPassword) - 1));
    return UpdateInfo(info);
}

/******************************************************************************
 * Information
 ******************************************************************************/

CDocumentInfo* CDocumentRec::GetInfo(CDocumentInfo* pInfo) const
{
    if (!pInfo)
        return nullptr;
    std::memset(pInfo, 0, sizeof(*pInfo));
    std::span<const BYTE> data = GetData();
    pInfo->wType = GetType();
    std::memcpy(pInfo->id, data.data() + OFF_ID, ID_SIZE);
    Utf8CopyToField(pInfo->szName, sizeof(pInfo->szName), GetName().c_str(), FieldEnd::NulTerminated);
    std::memcpy(pInfo->szDescription, data.data() + OFF_DESCRIPTION, TEXT_SIZE - 1);
    std::memcpy(pInfo->szSecondary, data.data() + OFF_SECONDARY, TEXT_SIZE - 1);
    std::memcpy(pInfo->szPassword, data.data() + OFF_PASSWORD, PASSWORD_SIZE - 1);
    pInfo->nExpiry = GetExpiry();
    pInfo->nVersion = GetLongField(data, OFF_VERSION);
    pInfo->dwOpenAction = static_cast<DWORD>(GetLongField(data, OFF_OPEN_ACTION));
    pInfo->ftCatalogTime.dwLowDateTime = static_cast<DWORD>(GetLongField(data, OFF_CATALOG_TIME));
    pInfo->ftCatalogTime.dwHighDateTime = static_cast<DWORD>(GetLongField(data, OFF_CATALOG_TIME + 4));
    pInfo->dwAttributes = static_cast<DWORD>(GetLongField(data, OFF_ATTRIBUTES));
    return pInfo;
}

std::string CDocumentRec::StoredName(const CDocumentInfo& info)
{
    return FieldText(info.szName, sizeof(info.szName), MAX_NAME);
}

void CDocumentRec::StoreInfo(std::span<BYTE> data, const CDocumentInfo& info, std::string* pRest)
{
    SetWordField(data, OFF_TYPE, info.wType);
    SetWordField(data, OFF_TYPE + 2, 0);
    std::memcpy(data.data() + OFF_ID, info.id, ID_SIZE);
    // The name's start fills its field, cut at a character boundary; the rest
    // goes to the location record. A field of the structure may lack its NUL.
    std::string strName = StoredName(info);
    std::size_t nHead = Utf8PrefixLength(strName.c_str(), TEXT_SIZE - 1);
    StoreText(data, OFF_NAME, TEXT_SIZE, strName.substr(0, nHead));
    pRest->assign(strName, nHead);
    StoreText(data, OFF_DESCRIPTION, TEXT_SIZE, FieldText(info.szDescription, sizeof(info.szDescription), MAX_TEXT));
    StoreText(data, OFF_SECONDARY, TEXT_SIZE, FieldText(info.szSecondary, sizeof(info.szSecondary), MAX_TEXT));
    data[OFF_SECONDARY + TEXT_SIZE] = 0;
    SetLongField(data, OFF_EXPIRY, info.nExpiry);
    SetLongField(data, OFF_ATTRIBUTES, static_cast<LONG>(info.dwAttributes));
    SetLongField(data, OFF_VERSION, info.nVersion);
    StoreText(
        data, OFF_PASSWORD, PASSWORD_SIZE, FieldText(info.szPassword, sizeof(info.szPassword), PASSWORD_SIZE - 1));
    SetLongField(data, OFF_OPEN_ACTION, static_cast<LONG>(info.dwOpenAction));
    SetLongField(data, OFF_CATALOG_TIME, static_cast<LONG>(info.ftCatalogTime.dwLowDateTime));
    SetLongField(data, OFF_CATALOG_TIME + 4, static_cast<LONG>(info.ftCatalogTime.dwHighDateTime));
}

BOOL CDocumentRec::WriteLocation(CCatalog* pCatalog, const std::string& strRest, CRecordRef* pRef)
{
    CLocationRec rest(pCatalog, {});
    rest.SetText(strRest);
    return pCatalog->AllocateRecord(TABLE_LOCATION, ROOT_BLOCK_LOCATION, {}, pRef, rest.GetData());
}

BOOL CDocumentRec::FreeLocation(CCatalog* pCatalog, CRecordRef ref)
{
    CLocationRec rest(pCatalog, ref);
    return ref.IsNone() || !rest.Load() || rest.Delete(); // a missing record leaves nothing to free
}

bool CDocumentRec::Holds(const CDocumentInfo& info) const
{
    std::span<const BYTE> data = GetData();
    std::array<BYTE, RECORD_SIZE> wanted;
    std::copy(data.begin(), data.end(), wanted.begin());
    std::string strRest;
    StoreInfo(wanted, info, &strRest);
    bool bListed = false;
    return std::equal(wanted.begin(), wanted.end(), data.begin()) && GetName() == StoredName(info)
        && IsListedAsExpiring(&bListed) && bListed == (info.nExpiry >= 1);
}

BOOL CDocumentRec::CheckTexts(CRecordRef* pLocation) const
{
    *pLocation = {};
    std::array<BYTE, RECORD_SIZE> data;
    if (!m_bValid || !m_pCatalog->ReadRecord(GetRef(), TABLE_DOCUMENT, data))
        return FALSE;
    auto endsInField = [](std::span<const BYTE> bytes, int nOffset, int nSize) {
        auto field = bytes.subspan(static_cast<std::size_t>(nOffset), static_cast<std::size_t>(nSize));
        return std::find(field.begin(), field.end(), BYTE { 0 }) != field.end();
    };
    if (!endsInField(data, OFF_NAME, TEXT_SIZE) || !endsInField(data, OFF_DESCRIPTION, TEXT_SIZE)
        || !endsInField(data, OFF_SECONDARY, TEXT_SIZE) || !endsInField(data, OFF_PASSWORD, PASSWORD_SIZE))
        return FALSE;
    CRecordRef location = GetRefField(data, OFF_LOCATION);
    if (location.IsNone())
        return TRUE;
    // A rest follows only a name start that fills its field up to a character
    // boundary, and together they stay within the longest name.
    std::size_t nHead = FieldOf(data, OFF_NAME, TEXT_SIZE).size();
    CLocationRec rest(m_pCatalog, location);
    if (nHead + UTF8_MAX_CHAR_BYTES < static_cast<std::size_t>(TEXT_SIZE)
        || !m_pCatalog->CheckRecord(location.nBlock, location.nSlot, TABLE_LOCATION) || !rest.Load()
        || !endsInField(rest.GetData(), CLocationRec::OFF_TEXT, CLocationRec::TEXT_SIZE))
        return FALSE;
    std::string strRest = rest.GetText();
    if (strRest.empty() || nHead + strRest.size() > static_cast<std::size_t>(MAX_NAME))
        return FALSE;
    *pLocation = location;
    return TRUE;
}

BOOL CDocumentRec::UpdateInfo(CDocumentInfo info)
{
    CCatalogAction action(m_pCatalog);
    if (!m_bValid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The links are kept as the file has them.
    if (!Load())
        return FALSE;
    std::string strOldName = GetName();
    CRecordRef oldLocation = GetRefField(GetData(), OFF_LOCATION);
    std::string strRest;
    StoreInfo(GetData(), info, &strRest);
    // A new rest of the name is written before the record names it, and the
    // old one freed after, so the record always names a whole name. A rest
    // that did not change stays where it is.
    CRecordRef newLocation;
    if (!strRest.empty()) {
        CLocationRec old(m_pCatalog, oldLocation);
        if (!oldLocation.IsNone() && old.Load() && old.GetText() == strRest)
            newLocation = oldLocation;
        else if (!WriteLocation(m_pCatalog, strRest, &newLocation))
            return FALSE;
    }
    SetRefField(GetData(), OFF_LOCATION, newLocation);
    m_name.reset();
    m_strTypeName.Empty();
    if (!Save())
        return FALSE;
    if (const std::string& strName = GetName(); strName != strOldName) {
        if (CCatalogBlock* pBlock = m_pCatalog->GetBlock(GetBlock())) {
            CRecordRef directory = pBlock->GetHeader().owner;
            m_pCatalog->RemoveDocumentName(directory, strOldName, GetRef());
            m_pCatalog->AddDocumentName(directory, strName, GetRef());
        }
    }
    if (oldLocation != newLocation && !FreeLocation(m_pCatalog, oldLocation))
        return FALSE;
    return action.Finish(ListAsExpiring(info.nExpiry));
}

BOOL CDocumentRec::IsListedAsExpiring(bool* pbListed) const
{
    *pbListed = false;
    std::vector<CLinkRec> links;
    if (!ReadLinks(&links))
        return FALSE;
    *pbListed = std::any_of(links.begin(), links.end(), [](const CLinkRec& link) {
        return link.GetNode() == CRecordRef { CNodeRec::EXPIRING_NODE_BLOCK, 0 };
    });
    return TRUE;
}

BOOL CDocumentRec::ListAsExpiring(LONG nExpiry)
{
    CNodeRec expiring(m_pCatalog, CNodeRec::EXPIRING_NODE_BLOCK, 0);
    bool bListed = false;
    if (!expiring.IsValid() || !IsListedAsExpiring(&bListed))
        return FALSE;
    if (nExpiry >= 1 && !bListed)
        return expiring.AddDocument(this);
    if (nExpiry < 1 && bListed)
        return expiring.DeleteLinks(this);
    return TRUE;
}

/******************************************************************************
 * Links
 ******************************************************************************/

BOOL CDocumentRec::WalkLinkList(const std::function<bool(CRecordRef link, CRecordRef next)>& visit) const
{
    if (!m_bValid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The list starts where the file says, as another object may have linked the document.
    std::array<BYTE, RECORD_SIZE> data;
    if (!m_pCatalog->ReadRecord(GetRef(), TABLE_DOCUMENT, data))
        return FALSE;
    return WalkLinkListFrom(GetRefField(data, OFF_FIRST_LINK), visit);
}

BOOL CDocumentRec::WalkLinkListFrom(
    CRecordRef ref, const std::function<bool(CRecordRef link, CRecordRef next)>& visit) const
{
    // A list can hold no more links than the file has slots for them.
    const std::int64_t nBound = std::int64_t { m_pCatalog->GetLastBlock() + 1 } * SlotCount(CLinkRec::RECORD_SIZE);
    std::array<BYTE, CLinkRec::RECORD_SIZE> link;
    for (std::int64_t nStep = 0; !ref.IsNone(); ++nStep) {
        if (nStep >= nBound || !m_pCatalog->ReadRecord(ref, TABLE_LINK, link)
            || GetRefField(link, CLinkRec::OFF_DOCUMENT) != GetRef()) {
            m_pCatalog->ReportDamage();
            return FALSE;
        }
        CRecordRef next = GetRefField(link, CLinkRec::OFF_NEXT);
        if (!visit(ref, next))
            return TRUE;
        ref = next;
    }
    return TRUE;
}

BOOL CDocumentRec::ReadLinks(std::vector<CLinkRec>* pLinks) const
{
    pLinks->clear();
    return WalkLinkList([&](CRecordRef link, CRecordRef) {
        pLinks->emplace_back(m_pCatalog, link.nBlock, link.nSlot);
        return true;
    });
}

BOOL CDocumentRec::ListLinkRefs(std::vector<CRecordRef>* pLinks) const
{
    pLinks->clear();
    return WalkLinkList([&](CRecordRef link, CRecordRef) {
        pLinks->push_back(link);
        return true;
    });
}

bool CDocumentRec::ListsLink(CRecordRef linkRef) const
{
    // The list's head is the record's own field: a link there is listed without a read.
    if (m_bValid && GetFirstLink() == linkRef)
        return true;
    bool bListed = false;
    return m_bValid && WalkLinkListFrom(GetFirstLink(), [&](CRecordRef link, CRecordRef) {
        bListed = link == linkRef;
        return !bListed;
    }) && bListed;
}

BOOL CDocumentRec::RemoveLinks(const std::function<bool(CRecordRef)>& shouldRemove)
{
    std::vector<CLinkRec> links;
    if (!ReadLinks(&links))
        return FALSE;
    CLinkRec* pPrevious = nullptr; // the last link kept; null while none is
    for (CLinkRec& link : links) {
        if (!shouldRemove(link.GetNode())) {
            pPrevious = &link;
            continue;
        }
        if (pPrevious) {
            pPrevious->SetNext(link.GetNext());
            if (!pPrevious->Save())
                return FALSE;
        } else {
            if (!Load())
                return FALSE;
            SetRefField(GetData(), OFF_FIRST_LINK, link.GetNext());
            if (!Save())
                return FALSE;
        }
        if (!link.Delete())
            return FALSE;
    }
    return TRUE;
}

CNodeRecArray CDocumentRec::GetLinkedNodes() const
{
    CNodeRecArray nodes;
    std::vector<CLinkRec> links;
    if (!ReadLinks(&links))
        return nodes;
    for (const CLinkRec& link : links) {
        CRecordRef node = link.GetNode();
        auto pNode = std::make_unique<CNodeRec>(m_pCatalog, node.nBlock, node.nSlot);
        // The node must hold the link's block in its own chain as well.
        if (pNode->IsValid() && pNode->HoldsChainBlock(CNodeRec::OFF_LINK_BLOCK, TABLE_LINK, link.GetBlock()))
            nodes.push_back(std::move(pNode));
    }
    return nodes;
}

BOOL CDocumentRec::HasLinks(BOOL bUserNodesOnly) const
{
    std::vector<CLinkRec> links;
    if (!ReadLinks(&links))
        return FALSE;
    return std::any_of(links.begin(), links.end(),
        [&](const CLinkRec& link) { return !bUserNodesOnly || !IsServiceNode(link.GetNode()); });
}

int CDocumentRec::CountNodeLinks(BOOL bWithServiceNodes) const
{
    std::vector<CLinkRec> links;
    if (!ReadLinks(&links))
        return 0;
    return static_cast<int>(std::count_if(links.begin(), links.end(),
        [&](const CLinkRec& link) { return bWithServiceNodes || !IsServiceNode(link.GetNode()); }));
}

BOOL CDocumentRec::IsUnderTopNode2() const
{
    std::vector<CLinkRec> links;
    if (!ReadLinks(&links))
        return FALSE;
    return std::any_of(links.begin(), links.end(), [](const CLinkRec& link) {
        return link.GetNode() == CRecordRef { 2, 0 };
    });
}

BOOL CDocumentRec::ForEachLinkedNode(CATBLOCK nExceptBlock, LONG nExceptSlot, BOOL bKeepTopLevel)
{
    CCatalogAction action(m_pCatalog);
    CRecordRef except { nExceptBlock, nExceptSlot };
    if (!RemoveLinks(
            [&](CRecordRef node) { return node != except && !(bKeepTopLevel && CNodeRec::IsFixedNodeRef(node)); }))
        return FALSE;
    if (!except.IsNone())
        return action.Finish(TRUE);
    if (!Load())
        return FALSE;
    return action.Finish(GetFirstLink().IsNone() ? Remove() : TRUE);
}

BOOL CDocumentRec::Remove()
{
    CRecordRef location = GetRefField(GetData(), OFF_LOCATION);
    std::string strName = GetName();
    CCatalogBlock* pBlock = m_pCatalog->GetBlock(GetBlock());
    if (!pBlock)
        return FALSE;
    CDirectoryRec directory(m_pCatalog, pBlock->GetHeader().owner);
    CRecordRef ref = GetRef();
    if (!Delete())
        return FALSE;
    m_pCatalog->RemoveDocumentName(directory.GetRef(), strName, ref);
    if (!FreeLocation(m_pCatalog, location))
        return FALSE;
    m_bValid = false;
    if (directory.IsValid()) {
        directory.SetDocumentCount(std::max<LONG>(0, directory.GetDocumentCount() - 1));
        return directory.Save();
    }
    return TRUE;
}
