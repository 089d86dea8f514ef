#include "catalog/CPendingDocs.h"

#include "catalog/CCatalogPrompts.h"

#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CRegistryKey.h"
#include "store/ProtectedFile.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/Registry.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/shell/ShellExecute.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace {

// The last-write time of a file in seconds since 1970; 0 when it cannot be read.
DWORD LastWriteSeconds(LPCTSTR pszPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data {};
    if (!GetFileAttributesEx(pszPath, GetFileExInfoStandard, &data))
        return 0;
    const ULONGLONG nTicks
        = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    constexpr ULONGLONG TICKS_TO_1970 = 116444736000000000ULL;
    return nTicks > TICKS_TO_1970 ? static_cast<DWORD>((nTicks - TICKS_TO_1970) / 10000000ULL) : 0;
}

CString DocumentPath(const CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName);
    return document.GetDirectoryPath(TRUE) + strName;
}

bool Exists(LPCTSTR pszPath)
{
    return GetFileAttributes(pszPath) != INVALID_FILE_ATTRIBUTES;
}

// Reads a REG_SZ value of any length a path may have.
bool ReadString(HKEY hKey, LPCTSTR pszName, CString& strValue)
{
    char szBuffer[2 * MAX_PATH] = {};
    DWORD dwType = 0;
    DWORD cbData = sizeof(szBuffer) - 1;
    if (RegQueryValueEx(hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(szBuffer), &cbData) != ERROR_SUCCESS
        || dwType != REG_SZ)
        return false;
    szBuffer[std::min<DWORD>(cbData, sizeof(szBuffer) - 1)] = 0;
    strValue = szBuffer;
    return true;
}

} // namespace

CPendingDocs::CPendingDocs(CCatalog* pCatalog)
    : m_pCatalog(pCatalog)
{
}

/******************************************************************************
 * Entries
 ******************************************************************************/

int CPendingDocs::AddEntry(LPCTSTR pszPath, DWORD dwFlags)
{
    int nIndex = FindEntry(pszPath);
    if (nIndex < 0) {
        m_entries.push_back({ pszPath, 0, LastWriteSeconds(pszPath) });
        nIndex = GetCount() - 1;
    }
    CEntry& entry = m_entries[static_cast<size_t>(nIndex)];
    const bool bNewlyUnprotected = (dwFlags & ~entry.dwFlags & FLAG_UNPROTECTED) != 0;
    entry.dwFlags |= dwFlags;
    if (bNewlyUnprotected)
        (void)SavePending(); // a failure is no reason to refuse the entry; the close saves again
    return nIndex;
}

int CPendingDocs::AddDocument(const CDocumentRec& document, DWORD dwFlags)
{
    return AddEntry(DocumentPath(document), dwFlags);
}

CString CPendingDocs::GetEntryPath(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_entries[static_cast<size_t>(nIndex)].strPath : CString();
}

int CPendingDocs::FindEntry(LPCTSTR pszPath) const
{
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (m_entries[static_cast<size_t>(i)].strPath == pszPath)
            return i;
    }
    return -1;
}

int CPendingDocs::CountWithFlags(DWORD dwMask) const
{
    return static_cast<int>(std::count_if(
        m_entries.begin(), m_entries.end(), [&](const CEntry& entry) { return (entry.dwFlags & dwMask) == dwMask; }));
}

/******************************************************************************
 * Opening
 ******************************************************************************/

int CPendingDocs::OpenDocument(CDocumentRec& document, HWND hOwner, LPCTSTR pszProgram)
{
    if (document.IsMail())
        return 0;
    const CString strPath = DocumentPath(document);
    if (!Exists(strPath))
        return 0;
    CDocumentInfo info {};
    if (document.GetInfo(&info) == nullptr)
        return 0;
    DWORD dwFlags = FLAG_OPENED;
    if (info.szPassword[0] != 0 && IsProtectedFile(strPath)) {
        CString strPassword;
        if (GetCatalogPrompts().AskPassword(nullptr, strPath, info.szPassword, 1, FALSE, strPassword) != IDOK)
            return 0;
        if (strPassword != info.szPassword) {
            ReportProtectError(strPath, PROTECT_BAD_PASSWORD);
            return 0;
        }
        const int nResult = ProtectFile(strPath, "", info.szPassword);
        if (nResult != PROTECT_OK) {
            ReportProtectError(strPath, nResult);
            return 0;
        }
        // The file gets back the attributes it had before it was protected.
        (void)SetFileAttributes(strPath, info.dwAttributes != 0 ? info.dwAttributes : FILE_ATTRIBUTE_NORMAL);
        dwFlags |= FLAG_UNPROTECTED;
        AddEntry(strPath, FLAG_UNPROTECTED);
    }
    CString strQuoted = "\"" + strPath + "\"";
    const HINSTANCE hResult = pszProgram != nullptr && *pszProgram != 0
        ? ShellExecute(hOwner, "open", pszProgram, strQuoted, nullptr, SW_SHOWNORMAL)
        : ShellExecute(hOwner, "open", strPath, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(hResult) <= 32) {
        // Not opened: a file unprotected for it is protected again at once.
        if (const int nIndex = FindEntry(strPath); nIndex >= 0 && (dwFlags & FLAG_UNPROTECTED) != 0) {
            if (ProtectAgain(m_entries[static_cast<size_t>(nIndex)]) == PROTECT_OK)
                m_entries.erase(m_entries.begin() + nIndex);
            (void)SavePending();
        }
        return 0;
    }
    AddEntry(strPath, dwFlags);
    return 1;
}

int CPendingDocs::ChangeProtection(CDocumentRec& document, LPCTSTR pszNewPassword)
{
    const int nIndex = FindEntry(DocumentPath(document));
    if (nIndex < 0 || (m_entries[static_cast<size_t>(nIndex)].dwFlags & FLAG_UNPROTECTED) == 0) {
        CDocumentInfo info {};
        document.GetInfo(&info);
        return document.ChangeProtection(pszNewPassword, info.szPassword);
    }
    // The file is open unprotected: the record alone takes the new password.
    CDocumentInfo info {};
    if (document.GetInfo(&info) == nullptr || std::strlen(pszNewPassword) >= sizeof(info.szPassword))
        return PROTECT_BAD_PASSWORD;
    std::memset(info.szPassword, 0, sizeof(info.szPassword));
    std::memcpy(info.szPassword, pszNewPassword, std::strlen(pszNewPassword));
    return document.UpdateInfo(info) ? PROTECT_OK : PROTECT_WRITE_FAILED;
}

/******************************************************************************
 * Protecting again and checking
 ******************************************************************************/

int CPendingDocs::ProtectAgain(CEntry& entry)
{
    std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindPath(CString(Utf8ToLower(LPCTSTR(entry.strPath)).c_str())));
    CDocumentInfo info {};
    if (!pDocument || pDocument->GetInfo(&info) == nullptr || info.szPassword[0] == 0) {
        // No password to protect it with any more.
        entry.dwFlags &= ~FLAG_UNPROTECTED;
        return PROTECT_OK;
    }
    const int nResult = ProtectFile(entry.strPath, info.szPassword, "");
    if (nResult != PROTECT_OK)
        return nResult;
    (void)SetFileAttributes(entry.strPath, info.dwAttributes | FILE_ATTRIBUTE_READONLY);
    entry.dwFlags &= ~FLAG_UNPROTECTED;
    entry.dwWord = LastWriteSeconds(entry.strPath);
    return PROTECT_OK;
}

BOOL CPendingDocs::ReloadFlagged(DWORD dwFlag, BOOL bValue)
{
    if (!bValue)
        return TRUE;
    BOOL bAll = TRUE;
    if (dwFlag & FLAG_UNPROTECTED) {
        for (CEntry& entry : m_entries) {
            if ((entry.dwFlags & FLAG_UNPROTECTED) == 0)
                continue;
            if (const int nResult = ProtectAgain(entry); nResult != PROTECT_OK) {
                ReportProtectError(entry.strPath, nResult);
                bAll = FALSE;
            }
        }
    }
    std::erase_if(m_entries, [&](const CEntry& entry) {
        return (dwFlag & FLAG_OPENED) != 0 && (entry.dwFlags & FLAG_OPENED) != 0
            && (entry.dwFlags & FLAG_UNPROTECTED) == 0;
    });
    (void)SavePending();
    return bAll;
}

BOOL CPendingDocs::ProtectDocumentAgain(const CDocumentRec& document)
{
    const CString strPath = DocumentPath(document);
    const int nIndex = FindEntry(strPath);
    if (nIndex < 0 || (m_entries[static_cast<size_t>(nIndex)].dwFlags & FLAG_UNPROTECTED) == 0)
        return FALSE;
    CDocumentInfo info {};
    if (document.GetInfo(&info) == nullptr)
        return FALSE;
    CString strPassword;
    if (GetCatalogPrompts().AskPassword(nullptr, strPath, info.szPassword, 2, TRUE, strPassword) != IDOK)
        return FALSE;
    if (strPassword != info.szPassword) {
        ReportProtectError(strPath, PROTECT_BAD_PASSWORD);
        return FALSE;
    }
    if (const int nResult = ProtectAgain(m_entries[static_cast<size_t>(nIndex)]); nResult != PROTECT_OK) {
        ReportProtectError(strPath, nResult);
        return FALSE;
    }
    (void)SavePending(); // the entry stays listed as opened; the close saves again
    return TRUE;
}

BOOL CPendingDocs::RefreshDocument(const CDocumentRec& document)
{
    const int nIndex = FindEntry(DocumentPath(document));
    if (nIndex < 0)
        return FALSE;
    CEntry& entry = m_entries[static_cast<size_t>(nIndex)];
    const DWORD dwWord = LastWriteSeconds(entry.strPath);
    return std::exchange(entry.dwWord, dwWord) != dwWord;
}

BOOL CPendingDocs::ConfirmPending(HWND)
{
    const int nCount = CountWithFlags(FLAG_UNPROTECTED);
    if (nCount == 0)
        return TRUE;
    CString strFormat;
    CString strText;
    strFormat.LoadString(IDS_PENDING_CONFIRM_CLOSE);
    strText.Format(strFormat, nCount);
    switch (AfxMessageBox(strText, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        ReloadFlagged(FLAG_UNPROTECTED, TRUE);
        return TRUE;
    case IDNO:
        (void)SavePending();
        return TRUE;
    default:
        return FALSE;
    }
}

void CPendingDocs::ShowPending(HWND)
{
    // Only what an earlier run left, and only once.
    int nCount = 0;
    for (const CString& strPath : m_leftFromEarlierRun) {
        const int nIndex = FindEntry(strPath);
        if (nIndex >= 0 && (m_entries[static_cast<size_t>(nIndex)].dwFlags & FLAG_UNPROTECTED) != 0 && Exists(strPath)
            && !IsProtectedFile(strPath))
            ++nCount;
    }
    std::vector<CString> left = std::move(m_leftFromEarlierRun);
    m_leftFromEarlierRun.clear();
    if (nCount == 0)
        return;
    CString strFormat;
    CString strText;
    strFormat.LoadString(IDS_PENDING_LEFT_UNPROTECTED);
    strText.Format(strFormat, nCount);
    if (AfxMessageBox(strText, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    for (const CString& strPath : left) {
        const int nIndex = FindEntry(strPath);
        if (nIndex < 0 || (m_entries[static_cast<size_t>(nIndex)].dwFlags & FLAG_UNPROTECTED) == 0)
            continue;
        if (const int nResult = ProtectAgain(m_entries[static_cast<size_t>(nIndex)]); nResult != PROTECT_OK)
            ReportProtectError(strPath, nResult);
    }
    (void)SavePending();
}

BOOL CPendingDocs::CheckPendingFile()
{
    BOOL bChanged = FALSE;
    bool bListChanged = false;
    for (int i = GetCount() - 1; i >= 0; --i) {
        CEntry& entry = m_entries[static_cast<size_t>(i)];
        std::unique_ptr<CDocumentRec> pDocument(
            m_pCatalog->FindPath(CString(Utf8ToLower(LPCTSTR(entry.strPath)).c_str())));
        if (!Exists(entry.strPath) || !pDocument) {
            bListChanged = bListChanged || (entry.dwFlags & FLAG_UNPROTECTED) != 0;
            m_entries.erase(m_entries.begin() + i);
            continue;
        }
        if ((entry.dwFlags & FLAG_UNPROTECTED) != 0 && IsProtectedFile(entry.strPath)) {
            entry.dwFlags &= ~FLAG_UNPROTECTED;
            bListChanged = true;
        }
        if (const DWORD dwWord = LastWriteSeconds(entry.strPath); dwWord != entry.dwWord) {
            entry.dwWord = dwWord;
            bChanged = TRUE;
        }
    }
    if (bListChanged)
        (void)SavePending();
    return bChanged;
}

/******************************************************************************
 * Storage
 ******************************************************************************/

void CPendingDocs::LoadPending()
{
    m_entries.clear();
    m_leftFromEarlierRun.clear();
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, KEY_PATH, KEY_READ))
        return;
    DWORD dwCount = 0;
    key.GetDWORD("Count", dwCount);
    // A count larger than what is there reads only what is there.
    for (DWORD i = 0; i < std::min<DWORD>(dwCount, 10000); ++i) {
        CEntry entry;
        if (!ReadString(key, CRegistryKey::IndexedName("Path", static_cast<int>(i)), entry.strPath)
            || entry.strPath.IsEmpty() || FindEntry(entry.strPath) >= 0)
            continue;
        if (!key.GetDWORD(CRegistryKey::IndexedName("Flags", static_cast<int>(i)), entry.dwFlags))
            continue;
        key.GetDWORD(CRegistryKey::IndexedName("Word", static_cast<int>(i)), entry.dwWord);
        entry.dwFlags &= FLAG_UNPROTECTED | FLAG_OPENED;
        if (entry.dwFlags & FLAG_UNPROTECTED)
            m_leftFromEarlierRun.push_back(entry.strPath);
        m_entries.push_back(std::move(entry));
    }
}

BOOL CPendingDocs::SavePending() const
{
    // One write of the settings file, all or nothing: the old list stays until the new one is whole.
    CRegistryBatch batch(HKEY_CURRENT_USER);
    CRegistryKey key;
    key.DeleteTree(KEY_PATH, nullptr, HKEY_CURRENT_USER);
    if (!key.Create(HKEY_CURRENT_USER, KEY_PATH))
        return FALSE;
    BOOL bSaved = key.SetDWORD("Count", static_cast<DWORD>(m_entries.size()));
    for (int i = 0; i < GetCount(); ++i) {
        const CEntry& entry = m_entries[static_cast<size_t>(i)];
        bSaved = bSaved && key.SetString(CRegistryKey::IndexedName("Path", i), entry.strPath)
            && key.SetDWORD(CRegistryKey::IndexedName("Flags", i), entry.dwFlags)
            && key.SetDWORD(CRegistryKey::IndexedName("Word", i), entry.dwWord);
    }
    key.Close();
    return bSaved && batch.Commit() == ERROR_SUCCESS;
}
