#pragma once

// Service prompts that show nothing and refuse every dialog, for programs
// that run the web access server without a user: the benchmark and the fuzz
// targets open the socket themselves and never set up a connection.

#include "webaccess/server/CWAServicePrompts.h"

class CSilentServicePrompts : public CWAServicePrompts {
public:
    BOOL RunSetupWizard(CWASetupConnection&) override { return FALSE; }
    BOOL RunConnectDialog(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR, int, CString&) override { return FALSE; }
    void ShowConnectionNotice() override { }
    void ShowLog(std::vector<CString>&) override { }
    void AddLogLine(LPCTSTR) override { }
};
