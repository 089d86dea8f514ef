#pragma once

// CCommandLineInfo: what the command line asks of the application.
// CWinApp::ParseCommandLine calls ParseParam once per argument, in order:
// text without its leading "-" or "/" (bFlag TRUE) or as given, and bLast
// TRUE for the last one. The base class knows "nologo", "embedding" and
// "automation"; any other text that is not a switch is the file to open.

#include "platform/base/CObject.h"
#include "platform/base/CString.h"

class CCommandLineInfo : public CObject {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };

    CCommandLineInfo() = default;
    ~CCommandLineInfo() override = default;

    virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash { TRUE };     // no "nologo", not started for automation
    BOOL m_bRunEmbedded { FALSE };   // "embedding"
    BOOL m_bRunAutomated { FALSE };  // "automation"
    int m_nShellCommand { FileNew }; // what ProcessShellCommand does
    CString m_strFileName;           // the file of FileOpen
};
