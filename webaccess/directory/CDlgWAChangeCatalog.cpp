#include "webaccess/directory/CDlgWAChangeCatalog.h"

#include "resources/ResourceIds.h"
#include "webaccess/directory/CWARequest.h"
#include "webaccess/directory/WARequestLoop.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/framework/AfxMessageBox.h"

CDlgWAChangeCatalog::CDlgWAChangeCatalog(CWASettings& settings, CWnd* pParent)
    : CDlgWAAccount(settings, IDS_WA_RENAME_CAPTION, IDS_WA_RENAME_TITLE, ECancelInRetry::CloseDialog, pParent)
{
}

BOOL CDlgWAChangeCatalog::Run(LPCTSTR pszNewName)
{
    m_strUserId = m_settings.m_strLogin;
    m_strPassword = m_settings.m_strPassword;
    m_strCatalogName = m_settings.m_strCatName;
    m_strCatalogCode = m_settings.m_strCatCode;
    m_strNewName = pszNewName;
    return RunWithStoredValues();
}

int CDlgWAChangeCatalog::SendRequest()
{
    int nResult = RunRequestLoop([this](CString& strMessage) {
        CWAChangeCatalogRequest request;
        int nAttempt
            = request.ChangeCatalogName(m_strUserId, m_strPassword, m_strCatalogName, m_strCatalogCode, m_strNewName);
        strMessage = request.m_strMessage;
        return nAttempt;
    });
    if (nResult == 0) {
        m_settings.m_strCatName = m_strNewName;
        SaveWebSettingsOrWarn();
        AfxMessageBox(IDS_WA_CATALOG_RENAMED, MB_OK | MB_ICONEXCLAMATION);
    }
    return nResult;
}
