#include "webaccess/directory/WARequestLoop.h"

#include "resources/ResourceIds.h"
#include "store/CPreferences.h"

#include "platform/framework/AfxMessageBox.h"

int RunRequestLoop(const std::function<int(CString& strMessage)>& attempt)
{
    for (;;) {
        CString strMessage;
        int nResult = attempt(strMessage);
        if (nResult == 0)
            return 0;
        if (nResult != -3) {
            AfxMessageBox(strMessage, MB_OK | MB_ICONSTOP);
            return nResult;
        }
        if (AfxMessageBox(strMessage, MB_RETRYCANCEL | MB_ICONSTOP) != IDRETRY)
            return -3;
    }
}

BOOL SaveWebSettingsOrWarn()
{
    if (thePreferences.SaveWebSettings())
        return TRUE;
    AfxMessageBox(IDS_SETTINGS_NOT_SAVED, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}
