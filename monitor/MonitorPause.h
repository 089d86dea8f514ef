#pragma once

// Switches the new-document monitor off while the program does file work of
// its own (a catalog update, a mail client writing its stores), so that what
// it makes is not offered as new, and back on afterwards when it was on.

class CNewDocMonitor;

class CMonitorPause {
public:
    // pMonitor may be null: nothing to pause.
    explicit CMonitorPause(CNewDocMonitor* pMonitor);
    ~CMonitorPause();
    CMonitorPause(const CMonitorPause&) = delete;
    CMonitorPause& operator=(const CMonitorPause&) = delete;

private:
    CNewDocMonitor* m_pMonitor; // null when it was not on
};
