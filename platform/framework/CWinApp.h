#pragma once

// CWinApp: the application object, the program's first thread. One exists at
// a time; it is made on the thread that runs it, and AfxGetApp returns it.
//
// Profile settings: after SetRegistryKey, the Get/WriteProfile calls read and
// write values under HKEY_CURRENT_USER\Software\<key>\<application name>\<section>;
// without it, in the .ini file m_pszProfileName (the application name + ".INI").

#include "platform/base/CString.h"
#include "platform/framework/CWinThread.h"

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)

public:
    // The application name is lpszAppName, else the program's string AFX_IDS_APP_TITLE.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    BOOL InitInstance() override;

    /* Profile settings. */

    // Moves the settings into the registry under the key (a company name, usually).
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    // A null entry removes the whole section; WriteProfileString with a null value removes the entry.
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // Loads the standard settings. FIXME: the recent-file list (nMaxMRU > 0) is not kept yet.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);

    // The application's key, created when missing; the caller closes it. NULL without a registry key.
    HKEY GetAppRegistryKey();
    // The section's key below it, created when missing; the caller closes it.
    HKEY GetSectionKey(LPCTSTR lpszSection);

    LPCTSTR m_pszAppName { nullptr };
    LPCTSTR m_pszRegistryKey { nullptr };
    LPCTSTR m_pszProfileName { nullptr };
    HINSTANCE m_hInstance { nullptr };
    int m_nCmdShow { SW_SHOWNORMAL }; // how the main window is first shown

private:
    // Opens the section's key for reading, or NULL when it does not exist.
    HKEY OpenSectionKey(LPCTSTR lpszSection);

    CString m_strAppName;
    CString m_strRegistryKey;
    CString m_strProfileName;
};

// The application object, or nullptr.
CWinApp* AfxGetApp();

// The module that holds the resource: the resource module (AfxGetResourceHandle)
// when it has it, else the program's instance when that has it, else the
// resource module all the same, so that the caller's load fails there.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
