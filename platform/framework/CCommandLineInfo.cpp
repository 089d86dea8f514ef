#include "platform/framework/CCommandLineInfo.h"

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast)
{
    CString strParam = pszParam;
    if (bFlag) {
        if (strParam.CompareNoCase("nologo") == 0)
            m_bShowSplash = FALSE;
        else if (strParam.CompareNoCase("embedding") == 0)
            m_bRunEmbedded = TRUE;
        else if (strParam.CompareNoCase("automation") == 0)
            m_bRunAutomated = TRUE;
    } else if (m_strFileName.IsEmpty()) {
        m_strFileName = strParam;
    }
    if (bLast) {
        if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
            m_nShellCommand = FileOpen;
        if (m_bRunEmbedded || m_bRunAutomated)
            m_bShowSplash = FALSE;
    }
}
