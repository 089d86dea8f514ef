#pragma once

// The cataloguing dialog the new-document monitor runs on its queue: a window
// that shows the proposal of a CNewDocForm for the front notice, lets the user
// edit it, and answers each notice with CNewDocMonitor::OnCatalogDialogResult.
// The monitor sits below the dialogs, so it reaches the window through this
// interface: the dialogs' layer installs a factory at start-up
// (SetCatalogDialogFactory); tests install scripted ones. Without a factory
// the monitor opens no dialog and its notices stay queued.
//
// The factory lives here rather than with CCatalogPrompts because the dialog
// is made for a monitor and a form, which sit above the catalog layer.
// Used from the user-interface thread only.

#include "platform/base/WinTypes.h"

#include <memory>

class CNewDocForm;
class CNewDocMonitor;

class CCatalogDialog {
public:
    virtual ~CCatalogDialog() = default;

    // Shows the form's proposal modally until the queue is done or the user
    // closes the dialog; IDCANCEL when the user cancelled.
    virtual int Run() = 0;
    // More notices were queued while the dialog is open: its list now
    // reaches the queue's index nLast.
    virtual void SetLastIndex(int nLast) = 0;
    // The form's maps were built again from the catalog: the dialog reads
    // its lists again.
    virtual void ReloadMaps() = 0;
    // The form dropped chosen nodes whose records the catalog no longer holds.
    virtual void DropMissingItems() = 0;
    // Ends Run with nResult (the monitor stops: IDCANCEL).
    virtual void End(int nResult) = 0;
};

// Makes the dialog for a monitor and the form it fills; null for none.
using CATALOGDIALOGFACTORY = std::unique_ptr<CCatalogDialog> (*)(CNewDocMonitor& monitor, CNewDocForm& form);

// Installs the factory (null: no dialog).
void SetCatalogDialogFactory(CATALOGDIALOGFACTORY pfnFactory);
// The dialog for the monitor and the form, or null without a factory.
std::unique_ptr<CCatalogDialog> CreateCatalogDialog(CNewDocMonitor& monitor, CNewDocForm& form);
