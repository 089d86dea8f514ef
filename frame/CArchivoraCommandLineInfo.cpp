#include "frame/CArchivoraCommandLineInfo.h"

#include <cctype>

void CArchivoraCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag) {
        const CString strSwitch(pszParam);
        if (strSwitch.CompareNoCase("ds") == 0) {
            m_dwStartFlags = (m_dwStartFlags & ~START_SHOW) | START_TRAY;
        } else if (strSwitch.CompareNoCase("ds-") == 0) {
            m_dwStartFlags = (m_dwStartFlags & ~START_TRAY) | START_SHOW;
        } else if (!strSwitch.IsEmpty() && (strSwitch[0] == 'l' || strSwitch[0] == 'L')) {
            m_dwStartFlags |= START_TRACE;
            m_dwTraceLetters = 0;
            for (int i = 1; i < strSwitch.GetLength(); ++i) {
                // The letters count in either case, as the switch itself does.
                switch (std::tolower(static_cast<unsigned char>(strSwitch[i]))) {
                case 's':
                    m_dwTraceLetters |= TRACE_S;
                    break;
                case 'u':
                    m_dwTraceLetters |= TRACE_U;
                    break;
                case 'w':
                    m_dwTraceLetters |= TRACE_W;
                    break;
                default:
                    break;
                }
            }
            if (m_dwTraceLetters == 0)
                m_dwTraceLetters = TRACE_ALL;
        }
    }
    if (bLast)
        m_bShowSplash = (m_dwStartFlags & START_SHOW) != 0 ? TRUE : FALSE;
}
