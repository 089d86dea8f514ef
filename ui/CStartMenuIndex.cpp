#include "ui/CStartMenuIndex.h"

#include "catalog/ShellItemEnum.h"
#include "catalog/ShellItemIds.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/ShortNames.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Version.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/shell/ShellLink.h"
#include "store/TextMatch.h"
#include "ui/ClassesRoot.h"

#include <algorithm>

namespace {

// Walk flags: folders, files and hidden items.
constexpr SHCONTF START_MENU_WALK_FLAGS = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;
// What each item of the walk is asked.
constexpr SFGAOF START_MENU_ATTRIBUTES = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_LINK;
// Resolve without a window and with a short time-out (10 ms in the high word).
constexpr DWORD RESOLVE_FLAGS = 0xA0001;

// Whether a lower-case path names a file (not a folder) from its drive or
// share ("c:\x.exe", "\\server\x.exe"). Only such paths are shortened: a relative
// path would come back as one of the current directory, and a folder ("c:\.")
// is no program.
bool IsRootedFilePath(const CString& strPath)
{
    const auto IsLetterOrDigit = [](char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9'); };
    const bool bRooted
        = (strPath.GetLength() >= 3 && IsLetterOrDigit(strPath[0]) && strPath[1] == ':' && strPath[2] == '\\')
        || (strPath.GetLength() >= 3 && strPath[0] == '\\' && strPath[1] == '\\' && IsLetterOrDigit(strPath[2]));
    if (!bRooted)
        return false;
    const DWORD dwAttributes = GetFileAttributes(strPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The short form of a rooted path of an existing file, lower-cased; other
// paths only lower-cased.
CString ShortLowerPath(const CString& strPath)
{
    TCHAR szShort[MAX_PATH] {};
    const DWORD dwLength = IsRootedFilePath(strPath) ? GetShortPathName(strPath, szShort, MAX_PATH) : 0;
    CString strResult = (dwLength && dwLength < MAX_PATH) ? CString(szShort) : strPath;
    strResult.MakeLower();
    return strResult;
}

} // namespace

CStartMenuIndex::CStartMenuIndex()
{
    m_shortcuts.InitHashTable(10);
    OSVERSIONINFO version {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionEx(&version)) {
        m_nPlatform = static_cast<int>(version.dwPlatformId);
        m_nMajorVersion = static_cast<int>(version.dwMajorVersion);
        m_nMinorVersion = static_cast<int>(version.dwMinorVersion);
    }
}

CStartMenuIndex::~CStartMenuIndex()
{
    Clear();
}

void CStartMenuIndex::Build()
{
    if (m_bBuilt)
        return;
    CWaitCursor wait;
    if (!m_pDesktop && FAILED(SHGetDesktopFolder(&m_pDesktop)))
        m_pDesktop = nullptr;
    if (!m_pMalloc && FAILED(SHGetMalloc(&m_pMalloc)))
        m_pMalloc = nullptr;
    m_entries.clear();
    m_shortcuts.RemoveAll();
    EnumSpecialFolderItems(CSIDL_STARTMENU, START_MENU_WALK_FLAGS, OnFolderItem, this, nullptr);
    if (m_nPlatform != VER_PLATFORM_WIN32_WINDOWS)
        EnumSpecialFolderItems(CSIDL_COMMON_STARTMENU, START_MENU_WALK_FLAGS, OnFolderItem, this, nullptr);
    IndexFileTypes();
    m_bBuilt = TRUE;
}

void CStartMenuIndex::Clear()
{
    m_entries.clear();
    m_shortcuts.RemoveAll();
    if (m_pDesktop)
        m_pDesktop->Release();
    m_pDesktop = nullptr;
    if (m_pMalloc)
        m_pMalloc->Release();
    m_pMalloc = nullptr;
    m_bBuilt = FALSE;
}

int CStartMenuIndex::OnFolderItem(IShellFolder* pFolder, LPCITEMIDLIST pidlItem, void* pIndex)
{
    auto* pThis = static_cast<CStartMenuIndex*>(pIndex);
    SFGAOF sfgao = START_MENU_ATTRIBUTES;
    LPCITEMIDLIST apidl[] = { pidlItem };
    if (FAILED(pFolder->GetAttributesOf(1, apidl, &sfgao)) || !(sfgao & SFGAO_FILESYSTEM))
        return 1;
    if (sfgao & SFGAO_FOLDER) {
        pThis->WalkFolder(pFolder, pidlItem);
        return 1;
    }
    CString strShortcut;
    if (FAILED(GetDisplayNameOfPIDL(pFolder, pidlItem, SHGDN_FORPARSING, strShortcut)))
        return 1;
    TCHAR szTarget[MAX_PATH] {};
    TCHAR szArguments[MAX_PATH] {};
    if (SUCCEEDED(pThis->ResolveLink(strShortcut, szTarget, szArguments)) && szArguments[0] == 0) {
        CString strTarget(szTarget);
        strTarget.MakeLower();
        pThis->m_shortcuts.SetAt(strTarget, strShortcut);
    }
    return 1;
}

void CStartMenuIndex::WalkFolder(IShellFolder* pFolder, LPCITEMIDLIST pidlItem)
{
    EnumFolderItems(pFolder, pidlItem, START_MENU_WALK_FLAGS, OnFolderItem, this, nullptr);
}

HRESULT CStartMenuIndex::ResolveLink(LPCTSTR pszShortcut, LPTSTR pszTarget, LPTSTR pszArguments) const
{
    pszTarget[0] = 0;
    pszArguments[0] = 0;
    IShellLinkA* pLink = nullptr;
    HRESULT hr = CoCreateInstance(
        CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(&pLink));
    if (FAILED(hr))
        return hr;
    IPersistFile* pFile = nullptr;
    LPITEMIDLIST pidlTarget = nullptr;
    hr = pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile));
    if (SUCCEEDED(hr)) {
        const std::u16string wide = Utf16FromUtf8(pszShortcut);
        hr = pFile->Load(wide.c_str(), STGM_READ);
    }
    if (SUCCEEDED(hr))
        hr = pLink->Resolve(nullptr, RESOLVE_FLAGS);
    if (SUCCEEDED(hr))
        hr = pLink->GetIDList(&pidlTarget);
    CString strTarget;
    if (SUCCEEDED(hr)) {
        // The 9x family before 4.90 names the target by its display name.
        const bool bDisplayName = m_nPlatform == VER_PLATFORM_WIN32_WINDOWS
            && (m_nMajorVersion < 4 || (m_nMajorVersion == 4 && m_nMinorVersion < 90));
        hr = m_pDesktop
            ? GetDisplayNameOfPIDL(m_pDesktop, pidlTarget, bDisplayName ? SHGDN_NORMAL : SHGDN_FORPARSING, strTarget)
            : E_FAIL;
    }
    if (SUCCEEDED(hr))
        hr = pLink->GetArguments(pszArguments, MAX_PATH);
    if (SUCCEEDED(hr)) {
        if (!GetShortPathName(strTarget, pszTarget, MAX_PATH) || !pszTarget[0])
            lstrcpynA(pszTarget, strTarget, MAX_PATH);
    }
    CoTaskMemFree(pidlTarget);
    if (pFile)
        pFile->Release();
    pLink->Release();
    return hr;
}

void CStartMenuIndex::IndexFileTypes()
{
    ForEachClassesRootKey([this](const CString& strName) {
        if (strName.Left(1) == ".")
            return true;
        HKEY hType = nullptr;
        if (RegOpenKeyEx(HKEY_CLASSES_ROOT, strName, 0, KEY_READ, &hType) != ERROR_SUCCESS)
            return true;
        const CString strCommand = ReadKeyDefault(hType, "shell\\open\\command");
        RegCloseKey(hType);
        if (strCommand.IsEmpty())
            return true;
        CString strProgram;
        CString strArguments;
        SplitCommandLine(strCommand, strProgram, strArguments);
        CString strShortcut;
        if (!strProgram.IsEmpty() && m_shortcuts.Lookup(strProgram, strShortcut) && _access(strProgram, 0) == 0)
            AddEntry(GetFileTitle(strShortcut), strProgram, strProgram + " " + strArguments);
        return true;
    });
}

void CStartMenuIndex::AddEntry(const CString& strName, const CString& strProgram, const CString& strCommandLine)
{
    size_t nLow = 0;
    size_t nHigh = m_entries.size();
    while (nLow < nHigh) {
        const size_t nMiddle = (nLow + nHigh) / 2;
        const int nOrder = CompareNoCase(strName, m_entries[nMiddle].strName);
        if (nOrder == 0)
            return;
        if (nOrder < 0)
            nHigh = nMiddle;
        else
            nLow = nMiddle + 1;
    }
    m_entries.insert(
        m_entries.begin() + static_cast<std::ptrdiff_t>(nLow), CEntry { strName, strProgram, strCommandLine });
}

void CStartMenuIndex::SplitCommandLine(LPCTSTR pszCommand, CString& strProgram, CString& strArguments)
{
    strProgram.Empty();
    strArguments.Empty();
    CString strCommand(pszCommand);
    strCommand.Trim();
    strCommand.MakeLower();
    const std::string strWhole(strCommand);
    std::string strPart = strWhole;
    size_t nQuotes = 0;
    if (!strPart.empty() && strPart.front() == '"') {
        strPart.erase(0, 1);
        ++nQuotes;
        const size_t nClose = strPart.find('"');
        if (nClose != std::string::npos) {
            strPart.erase(nClose);
            ++nQuotes;
        }
    }
    const size_t nDot = strPart.rfind('.');
    if (nDot != std::string::npos) {
        const size_t nEnd = strPart.find_first_of(" \"", nDot);
        if (nEnd != std::string::npos)
            strPart.erase(nEnd);
    }
    if (nDot == std::string::npos || strPart.find("%1") != std::string::npos
        || strPart.find("rundll32") != std::string::npos)
        return;
    const size_t nUsed = std::min(strWhole.size(), strPart.size() + nQuotes);
    strArguments = strWhole.substr(nUsed).c_str();
    strArguments.Trim();
    strProgram = ShortLowerPath(CString(strPart.c_str()));
}

CString CStartMenuIndex::GetFileTitle(LPCTSTR pszPath)
{
    CString strTitle(pszPath);
    const int nSlash = strTitle.ReverseFind('\\');
    if (nSlash >= 0)
        strTitle = strTitle.Mid(nSlash + 1);
    const int nDot = strTitle.ReverseFind('.');
    if (nDot >= 0)
        strTitle = strTitle.Left(nDot);
    return strTitle;
}

CStartMenuIndex& GetStartMenuIndex()
{
    static CStartMenuIndex index;
    return index;
}
