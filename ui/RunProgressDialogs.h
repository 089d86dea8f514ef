#pragma once

// The progress windows of the catalog's long runs: installs the factory that
// answers CreateRunProgress with the interface kit's dialogs, so that an
// update, a maintenance pass, a file operation or a tree search shows its own
// modeless dialog and the user can stop it.
//
//   Update      -> CDlgUpdateProgress (its steps from the setup, before creation)
//   Maintenance -> CDlgMaintenanceProgress
//   Operation   -> CDlgOperationProgress (the setup's item texts, before creation)
//   Tree        -> CDlgTreeProgress
//
// The dialog is owned by the run's owner window, or the main window when the
// run names none, and destroyed with the progress object. A dialog that cannot
// be created (no resource module) leaves the run with the silent default.

// Called once at start-up, by the frame and by tests.
void InstallRunProgressDialogs();
