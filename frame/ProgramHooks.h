#pragma once

// Installs, in one place, what the program's lower layers reach upwards or
// outwards through, in the order the layers stack:
//   - the shell: the file types and autostart launchers it presents in the
//     registry, and its shortcut class (InstallShellServices);
//   - the mail readers behind the catalog's mail documents;
//   - the interface kit's host: the application's catalogs, pending
//     documents, new-document lists and menu entries, and the progress
//     dialogs of the catalog's long runs;
//   - the store's reports to the user, shown as message boxes;
//   - the web access settings, which the preferences load and save.
// Called first thing in start-up; calling it again changes nothing. The
// dialogs' implementation of CFramePrompts is installed by the program itself
// (app/), before start-up.
void InstallProgramHooks();
