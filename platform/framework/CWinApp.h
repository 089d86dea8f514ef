#pragma once

// CWinApp: the application object, the program's first thread. One exists at
// a time; it is made on the thread that runs it, and AfxGetApp returns it.
//
// Profile settings: after SetRegistryKey, the Get/WriteProfile calls read and
// write values under HKEY_CURRENT_USER\Software\<key>\<application name>\<section>;
// without it, in the .ini file m_pszProfileName (the application name + ".INI").
//
// An application made without a name settles it when first needed (a profile
// call, SetRegistryKey, a message box's caption), as the static application
// object is made before the resource module is loaded: the string
// AFX_IDS_APP_TITLE of the resource module, else the executable's name.
//
// Documents: the application keeps its document templates (AddDocTemplate,
// which it deletes at the end) and makes new documents through the first one
// (OnFileNew, which a program puts in its message map for ID_FILE_NEW).

#include "platform/base/CString.h"
#include "platform/base/CollectionHelpers.h"
#include "platform/framework/CWinThread.h"

#include <vector>

class CCommandLineInfo;
class CDocTemplate;

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)

public:
    // Without lpszAppName the name is settled when first needed (see above).
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    BOOL InitInstance() override;

    // The application's name, settled on the first call.
    LPCTSTR GetAppName();
    // Controls are drawn in 3D anyway.
    BOOL Enable3dControls() { return TRUE; }

    /* The command line (kept by AfxWinMain). */

    // Calls rCmdInfo.ParseParam for each argument after the program's name:
    // "-" or "/" marks a switch, which is passed without it.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Does what the command line asks: FileNew routes ID_FILE_NEW through the
    // application (OnFileNew when nothing handles it). FALSE when it failed or
    // left no main window.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    /* Document templates. */

    // The application owns the template from now on.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& rPosition) const;
    // A new untitled document of the first template, in a new frame.
    void OnFileNew();
    // Closes every document of every template.
    void CloseAllDocuments(BOOL bEndSession);
    // TRUE when every document may be closed (nothing is ever saved, so always).
    BOOL SaveAllModified();

    /* Profile settings. */

    // Moves the settings into the registry under the key (a company name, usually).
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    // A null entry removes the whole section; WriteProfileString with a null value removes the entry.
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // A binary value: *ppData gets a new[] copy the caller deletes, *pBytes its size. FALSE (and
    // nullptr, 0) when the value is missing or not binary.
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
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
    // Takes lpszAppName as the name, and the profile's name from it.
    void SetAppName(LPCTSTR lpszAppName);

    std::vector<CDocTemplate*> m_templateList; // owned, deleted with the application
    bool m_bNameSettled { false };

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
