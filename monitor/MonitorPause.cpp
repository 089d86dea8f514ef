#include "monitor/MonitorPause.h"

#include "monitor/CNewDocMonitor.h"

CMonitorPause::CMonitorPause(CNewDocMonitor* pMonitor, IconMode nIcon)
    : m_pMonitor(pMonitor && pMonitor->IsMonitorEnabled() && pMonitor->EnableMonitor(FALSE) ? pMonitor : nullptr)
{
    if (nIcon == HIDE_ICON && pMonitor && !pMonitor->IsHidden()) {
        pMonitor->HideIcon();
        m_pHiddenIcon = pMonitor->IsHidden() ? pMonitor : nullptr;
    }
}

CMonitorPause::~CMonitorPause()
{
    if (m_pMonitor)
        m_pMonitor->EnableMonitor(TRUE);
    if (m_pHiddenIcon)
        m_pHiddenIcon->ShowIcon();
}
