#include "platform/framework/CWinApp.h"

#include "platform/base/ProfileFile.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/Registry.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/framework/CDocTemplate.h"

#include <memory>
#include <string>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandle(nullptr);
}

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    HINSTANCE hResource = AfxGetResourceHandle();
    if (::FindResource(reinterpret_cast<HMODULE>(hResource), lpszName, lpszType))
        return hResource;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (::FindResource(reinterpret_cast<HMODULE>(hInstance), lpszName, lpszType))
        return hInstance;
    return hResource;
}

CWinApp::CWinApp(LPCTSTR lpszAppName)
{
    g_pApp = this;
    AfxSetThread(this);
    m_bAutoDelete = FALSE;
    m_nThreadID = ::GetCurrentThreadId();
    m_hInstance = ::GetModuleHandle(nullptr);
    if (lpszAppName)
        SetAppName(lpszAppName);
}

void CWinApp::SetAppName(LPCTSTR lpszAppName)
{
    m_bNameSettled = true;
    m_strAppName = lpszAppName;
    m_pszAppName = m_strAppName;
    m_strProfileName = m_strAppName + (m_pszRegistryKey ? "" : ".INI");
    m_pszProfileName = m_strProfileName;
}

LPCTSTR CWinApp::GetAppName()
{
    if (m_bNameSettled)
        return m_pszAppName;
    CString strName;
    if (!strName.LoadString(AFX_IDS_APP_TITLE) || strName.IsEmpty()) {
        char szPath[MAX_PATH] {};
        ::GetModuleFileName(nullptr, szPath, MAX_PATH);
        strName = szPath;
        strName = strName.Mid(strName.ReverseFind('\\') + 1);
        if (int nDot = strName.ReverseFind('.'); nDot > 0)
            strName = strName.Left(nDot);
    }
    SetAppName(strName);
    return m_pszAppName;
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* pTemplate : m_templateList)
        delete pTemplate;
    if (g_pApp == this)
        g_pApp = nullptr;
    if (AfxGetThread() == this)
        AfxSetThread(nullptr);
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

/***** Profile settings *****/

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    GetAppName();
    m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : "";
    m_pszRegistryKey = m_strRegistryKey;
    // In the registry the settings are kept under the application's name.
    m_strProfileName = m_strAppName;
    m_pszProfileName = m_strProfileName;
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    strKey.LoadString(nIDRegistryKey);
    SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey()
{
    GetAppName();
    if (!m_pszRegistryKey || !*m_pszRegistryKey)
        return nullptr;
    CString strPath = CString("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName;
    HKEY hKey = nullptr;
    if (RegCreateKeyEx(
            HKEY_CURRENT_USER, strPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &hKey, nullptr)
        != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection)
{
    HKEY hAppKey = GetAppRegistryKey();
    if (!hAppKey)
        return nullptr;
    HKEY hKey = nullptr;
    LSTATUS nStatus = RegCreateKeyEx(
        hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
    RegCloseKey(hAppKey);
    return nStatus == ERROR_SUCCESS ? hKey : nullptr;
}

HKEY CWinApp::OpenSectionKey(LPCTSTR lpszSection)
{
    GetAppName();
    CString strPath = CString("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName + "\\" + lpszSection;
    HKEY hKey = nullptr;
    return RegOpenKeyEx(HKEY_CURRENT_USER, strPath, 0, KEY_READ, &hKey) == ERROR_SUCCESS ? hKey : nullptr;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    GetAppName();
    if (!lpszSection || !lpszEntry)
        return static_cast<UINT>(nDefault);
    if (!m_pszRegistryKey)
        return ::GetPrivateProfileInt(lpszSection, lpszEntry, nDefault, m_pszProfileName);
    HKEY hKey = OpenSectionKey(lpszSection);
    if (!hKey)
        return static_cast<UINT>(nDefault);
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD cbData = sizeof(dwValue);
    LSTATUS nStatus = RegQueryValueEx(hKey, lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(&dwValue), &cbData);
    RegCloseKey(hKey);
    if (nStatus != ERROR_SUCCESS || dwType != REG_DWORD || cbData != sizeof(dwValue))
        return static_cast<UINT>(nDefault);
    return dwValue;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    GetAppName();
    CString strDefault = lpszDefault ? lpszDefault : "";
    if (!lpszSection || !lpszEntry)
        return strDefault;
    if (!m_pszRegistryKey) {
        // Grows the buffer until the value fits.
        for (DWORD cchBuffer = 256;; cchBuffer *= 2) {
            std::string strBuffer(cchBuffer, '\0');
            DWORD cchCopied = ::GetPrivateProfileString(
                lpszSection, lpszEntry, strDefault, strBuffer.data(), cchBuffer, m_pszProfileName);
            if (cchCopied + 1 < cchBuffer)
                return CString(strBuffer.data(), static_cast<int>(cchCopied));
        }
    }
    HKEY hKey = OpenSectionKey(lpszSection);
    if (!hKey)
        return strDefault;
    DWORD dwType = 0;
    DWORD cbData = 0;
    CString strValue = strDefault;
    if (RegQueryValueEx(hKey, lpszEntry, nullptr, &dwType, nullptr, &cbData) == ERROR_SUCCESS && dwType == REG_SZ) {
        std::string strBuffer(cbData + 1, '\0');
        if (RegQueryValueEx(hKey, lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(strBuffer.data()), &cbData)
            == ERROR_SUCCESS)
            strValue = strBuffer.c_str();
    }
    RegCloseKey(hKey);
    return strValue;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    GetAppName();
    if (!lpszSection || !lpszEntry) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!m_pszRegistryKey)
        return ::WritePrivateProfileString(lpszSection, lpszEntry, std::to_string(nValue).c_str(), m_pszProfileName);
    HKEY hKey = GetSectionKey(lpszSection);
    if (!hKey)
        return FALSE;
    auto dwValue = static_cast<DWORD>(nValue);
    LSTATUS nStatus
        = RegSetValueEx(hKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
    RegCloseKey(hKey);
    return nStatus == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    GetAppName();
    if (!lpszSection) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!m_pszRegistryKey)
        return ::WritePrivateProfileString(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
    if (!lpszEntry) {
        HKEY hAppKey = GetAppRegistryKey();
        if (!hAppKey)
            return FALSE;
        LSTATUS nStatus = RegDeleteTree(hAppKey, lpszSection);
        RegCloseKey(hAppKey);
        return nStatus == ERROR_SUCCESS || nStatus == static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND);
    }
    HKEY hKey = GetSectionKey(lpszSection);
    if (!hKey)
        return FALSE;
    LSTATUS nStatus = ERROR_SUCCESS;
    if (!lpszValue) {
        nStatus = RegDeleteValue(hKey, lpszEntry);
        if (nStatus == static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND))
            nStatus = ERROR_SUCCESS;
    } else {
        nStatus = RegSetValueEx(hKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
            static_cast<DWORD>(std::char_traits<char>::length(lpszValue) + 1));
    }
    RegCloseKey(hKey);
    return nStatus == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT) { }

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    GetAppName();
    *ppData = nullptr;
    *pBytes = 0;
    if (!lpszSection || !lpszEntry || !m_pszRegistryKey)
        return FALSE; // binary values live in the registry only
    HKEY hKey = OpenSectionKey(lpszSection);
    if (!hKey)
        return FALSE;
    DWORD dwType = 0;
    DWORD cbData = 0;
    BOOL bResult = FALSE;
    if (RegQueryValueEx(hKey, lpszEntry, nullptr, &dwType, nullptr, &cbData) == ERROR_SUCCESS && dwType == REG_BINARY) {
        auto pData = std::make_unique<BYTE[]>(cbData ? cbData : 1);
        if (RegQueryValueEx(hKey, lpszEntry, nullptr, &dwType, pData.get(), &cbData) == ERROR_SUCCESS) {
            *ppData = pData.release();
            *pBytes = cbData;
            bResult = TRUE;
        }
    }
    RegCloseKey(hKey);
    return bResult;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    GetAppName();
    if (!lpszSection || !lpszEntry || !m_pszRegistryKey) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HKEY hKey = GetSectionKey(lpszSection);
    if (!hKey)
        return FALSE;
    LSTATUS nStatus = RegSetValueEx(hKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    RegCloseKey(hKey);
    return nStatus == ERROR_SUCCESS;
}
