#pragma once

// Switches the new-document monitor off while the program does file work of
// its own (a catalog update, a mail client writing its stores), so that what
// it makes is not offered as new, and back on afterwards when it was on.
// With HIDE_ICON the monitor's tray icon is also taken away for the pause and
// shown again afterwards when it was shown, as a catalog update does.

class CNewDocMonitor;

class CMonitorPause {
public:
    enum IconMode { KEEP_ICON, HIDE_ICON };

    // pMonitor may be null: nothing to pause.
    explicit CMonitorPause(CNewDocMonitor* pMonitor, IconMode nIcon = KEEP_ICON);
    ~CMonitorPause();
    CMonitorPause(const CMonitorPause&) = delete;
    CMonitorPause& operator=(const CMonitorPause&) = delete;

private:
    CNewDocMonitor* m_pMonitor;                // null when it was not on
    CNewDocMonitor* m_pHiddenIcon { nullptr }; // null when its icon was not hidden here
};
