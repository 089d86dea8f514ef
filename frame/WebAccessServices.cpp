#include "frame/WebAccessServices.h"

#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWAServicePrompts.h"

namespace {

class CDecliningWebAccessPrompts : public CWAServicePrompts {
public:
    BOOL RunSetupWizard(CWASetupConnection&) override { return FALSE; }
    BOOL RunConnectDialog(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR, int, CString&) override { return FALSE; }
    void ShowConnectionNotice() override { }
    void ShowLog(std::vector<CString>&) override { }
    void AddLogLine(LPCTSTR) override { }
};

CWAServicePrompts* g_pInstalled = nullptr;

} // namespace

CWASettings& GetWebAccessSettings()
{
    static CWASettings settings;
    return settings;
}

CWAServicePrompts& GetWebAccessPrompts()
{
    static CDecliningWebAccessPrompts defaults;
    return g_pInstalled ? *g_pInstalled : defaults;
}

CWAServicePrompts* InstallWebAccessPrompts(CWAServicePrompts* pPrompts)
{
    CWAServicePrompts* pPrevious = g_pInstalled;
    g_pInstalled = pPrompts;
    return pPrevious;
}
