#include "monitor/MonitorPause.h"

#include "monitor/CNewDocMonitor.h"

CMonitorPause::CMonitorPause(CNewDocMonitor* pMonitor)
    : m_pMonitor(pMonitor && pMonitor->IsMonitorEnabled() && pMonitor->EnableMonitor(FALSE) ? pMonitor : nullptr)
{
}

CMonitorPause::~CMonitorPause()
{
    if (m_pMonitor)
        m_pMonitor->EnableMonitor(TRUE);
}
