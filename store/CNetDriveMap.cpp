#include "store/CNetDriveMap.h"

#include "platform/base/DriveTable.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/MessageBoxCodes.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Threads.h"
#include "platform/base/WinError.h"
#include "store/PathHelpers.h"

#include <string_view>

CNetDriveMap g_netDriveMap;

namespace {

int LetterIndex(char chLetter)
{
    if (chLetter >= 'a' && chLetter <= 'z')
        return chLetter - 'a';
    if (chLetter >= 'A' && chLetter <= 'Z')
        return chLetter - 'A';
    return -1;
}

// The letter of a path that starts with "x:", or -1.
int DriveIndexOfPath(std::string_view strPath)
{
    return strPath.size() >= 2 && strPath[1] == ':' ? LetterIndex(strPath[0]) : -1;
}

// Whether strFolder is strOuter or a folder below it, host paths both.
bool IsHostFolderWithin(std::string_view strFolder, std::string_view strOuter)
{
    if (strOuter == "/")
        return true;
    return strFolder.substr(0, strOuter.size()) == strOuter
        && (strFolder.size() == strOuter.size() || strFolder[strOuter.size()] == '/');
}

// The share form of a host folder: the share holding it most closely, with
// the folders below the share appended. Empty when no share holds it.
std::string UncNameOfHostFolder(const CDriveTable& table, const std::string& strFolder)
{
    const CShare* pBest = nullptr;
    for (const CShare& share : table.GetShares()) {
        if (IsHostFolderWithin(strFolder, share.strHostFolder)
            && (!pBest || share.strHostFolder.size() > pBest->strHostFolder.size()))
            pBest = &share;
    }
    if (!pBest)
        return std::string();
    std::string strUnc = "\\\\" + pBest->strServer;
    for (const std::string& strComponent : pBest->shareComponents)
        strUnc += "\\" + strComponent;
    std::string strBelow
        = pBest->strHostFolder == "/" ? strFolder.substr(1) : strFolder.substr(pBest->strHostFolder.size());
    for (char ch : strBelow)
        strUnc += ch == '/' ? '\\' : ch;
    return strUnc;
}

// Whether strPath is strPrefix, or starts with it followed by a backslash, case aside.
bool StartsWithFolderNoCase(std::string_view strPath, std::string_view strPrefix)
{
    if (strPath.size() < strPrefix.size() || Utf8CompareNoCase(strPath.substr(0, strPrefix.size()), strPrefix) != 0)
        return false;
    return strPath.size() == strPrefix.size() || strPath[strPrefix.size()] == '\\';
}

// Applies a conversion to a path without its leading "*", lower-cases the
// result and puts the "*" back.
template<typename Convert> CString NormalizeWith(LPCTSTR pszPath, Convert convert)
{
    std::string_view strPath = pszPath ? std::string_view(pszPath) : std::string_view();
    bool bStar = !strPath.empty() && strPath[0] == '*';
    if (bStar)
        strPath.remove_prefix(1);
    CString strConverted;
    convert(CString(strPath.data(), static_cast<int>(strPath.size())), strConverted);
    std::string strLower = Utf8ToLower(std::string_view(strConverted, strConverted.GetLength()));
    if (bStar)
        strLower.insert(0, 1, '*');
    return CString(strLower.c_str(), static_cast<int>(strLower.size()));
}

} // namespace

/*************************************************************************
 * Scanning and connecting
 *************************************************************************/

void CNetDriveMap::ScanDrives()
{
    std::lock_guard lock(m_mutex);
    if (!m_bScanned)
        ScanLocked();
}

void CNetDriveMap::InvalidateScan()
{
    std::lock_guard lock(m_mutex);
    m_bScanned = false;
}

BOOL CNetDriveMap::IsScanned() const
{
    std::lock_guard lock(m_mutex);
    return m_bScanned ? TRUE : FALSE;
}

void CNetDriveMap::ScanLocked()
{
    std::shared_ptr<const CDriveTable> pTable = GetDriveTable();
    for (int i = 0; i < 26; ++i) {
        const CDrive* pDrive = pTable->GetDrive(static_cast<TCHAR>('A' + i));
        m_shares[i] = pDrive && pDrive->uType == DRIVE_REMOTE ? UncNameOfHostFolder(*pTable, pDrive->strHostFolder)
                                                              : std::string();
    }
    m_bScanned = true;
}

int CNetDriveMap::ConnectDrive(LPCTSTR pszRemoteName, LPCTSTR pszDrive)
{
    std::string_view strRemote = pszRemoteName ? std::string_view(pszRemoteName) : std::string_view();
    std::string_view strDrive = pszDrive ? std::string_view(pszDrive) : std::string_view();
    int nLetter = DriveIndexOfPath(strDrive);
    bool bDriveWellFormed = strDrive.empty() || (nLetter >= 0 && (strDrive.size() == 2 || strDrive.substr(2) == "\\"));
    CString strRoot = GetPathRoot(pszRemoteName);
    if (strRemote.substr(0, 2) != "\\\\" || strRoot.IsEmpty() || !bDriveWellFormed) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    CNetworkLogonPrompt* pPrompt = nullptr;
    {
        std::lock_guard lock(m_mutex);
        if (m_dwLogonThread == GetCurrentThreadId())
            pPrompt = m_pLogonPrompt;
    }
    if (pPrompt != nullptr) {
        if (pPrompt->AskLogon(pszRemoteName, strDrive.empty() ? nullptr : pszDrive) != IDOK) {
            SetLastError(ERROR_CANCELLED);
            return 0;
        }
        std::lock_guard lock(m_mutex);
        ScanLocked();
        return 1;
    }
    // A share is connected when the drive table reaches it, that is when it
    // is mounted on this machine; a letter for it is then a drive override.
    DWORD dwAttributes = GetFileAttributes(AddBackslash(pszRemoteName));
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_BAD_NETPATH);
        return 0;
    }
    if (nLetter >= 0 && !SetDriveOverrideToPath(static_cast<TCHAR>('A' + nLetter), pszRemoteName, DRIVE_REMOTE))
        return 0;
    std::lock_guard lock(m_mutex);
    ScanLocked();
    return 1;
}

void CNetDriveMap::SetLogonPrompt(CNetworkLogonPrompt* pPrompt)
{
    std::lock_guard lock(m_mutex);
    m_pLogonPrompt = pPrompt;
    m_dwLogonThread = pPrompt != nullptr ? GetCurrentThreadId() : 0;
}

/*************************************************************************
 * Conversions
 *************************************************************************/

BOOL CNetDriveMap::DriveToUNC(LPCTSTR pszPath, CString& strResult)
{
    std::string_view strPath = pszPath ? std::string_view(pszPath) : std::string_view();
    strResult = pszPath;
    int nLetter = DriveIndexOfPath(strPath);
    if (nLetter < 0)
        return FALSE;
    std::lock_guard lock(m_mutex);
    if (!m_bScanned)
        ScanLocked();
    const std::string& strShare = m_shares[nLetter];
    if (strShare.empty())
        return FALSE;
    std::string_view strRest = strPath.substr(2);
    if (!strRest.empty() && strRest[0] != '\\')
        return FALSE; // "n:x" is relative to the drive's current folder, which has no share form.
    strResult = CString(strShare.c_str()) + CString(strRest.data(), static_cast<int>(strRest.size()));
    return TRUE;
}

BOOL CNetDriveMap::UNCToDrive(LPCTSTR pszPath, CString& strResult)
{
    std::string_view strPath = pszPath ? std::string_view(pszPath) : std::string_view();
    strResult = pszPath;
    if (strPath.substr(0, 2) != "\\\\")
        return FALSE;
    std::lock_guard lock(m_mutex);
    if (!m_bScanned)
        ScanLocked();
    int nBest = -1;
    for (int i = 0; i < 26; ++i) {
        if (!m_shares[i].empty() && StartsWithFolderNoCase(strPath, m_shares[i])
            && (nBest < 0 || m_shares[i].size() > m_shares[nBest].size()))
            nBest = i;
    }
    if (nBest < 0)
        return FALSE;
    std::string_view strRest = strPath.substr(m_shares[nBest].size());
    CString strTail = strRest.empty() ? CString("\\") : CString(strRest.data(), static_cast<int>(strRest.size()));
    strResult = CString(static_cast<TCHAR>('A' + nBest)) + ":" + strTail;
    return TRUE;
}

CString NormalizeDrivePath(LPCTSTR pszPath)
{
    return NormalizeWith(pszPath, [](const CString& strPath, CString& strResult) {
        // A path on no network drive stays as it is.
        g_netDriveMap.DriveToUNC(strPath, strResult);
    });
}

CString NormalizeUNCPath(LPCTSTR pszPath)
{
    return NormalizeWith(pszPath, [](const CString& strPath, CString& strResult) {
        // A share no letter is mapped to stays as it is.
        g_netDriveMap.UNCToDrive(strPath, strResult);
    });
}

BOOL ConnectNetworkPath(LPCTSTR pszPath)
{
    // FIXME: Show the wait cursor while connecting, once the window layer offers one to this layer.
    CString strRoot = GetPathRoot(pszPath);
    if (strRoot.IsEmpty())
        return FALSE;
    if (GetFileAttributes(pszPath) != INVALID_FILE_ATTRIBUTES)
        return TRUE;
    CString strShare;
    CString strDrive;
    if (strRoot[0] == '\\') {
        strShare = strRoot.Left(strRoot.GetLength() - 1);
    } else if (g_netDriveMap.DriveToUNC(strRoot, strShare)) {
        strShare = strShare.Left(strShare.GetLength() - 1);
        strDrive = strRoot.Left(2);
    } else {
        return FALSE; // Not a network path: nothing to connect.
    }
    if (!g_netDriveMap.ConnectDrive(strShare, strDrive))
        return FALSE;
    return GetFileAttributes(pszPath) != INVALID_FILE_ATTRIBUTES ? TRUE : FALSE;
}
