#pragma once

// Installs what the shell keeps in step with the desktop, once at start-up:
// the file types under HKEY_CLASSES_ROOT (FileTypePresentation.h), the
// autostart launchers behind the Run key (Autostart.h), and the shortcut class
// for CoCreateInstance (ShellLink.h). Later calls do nothing.
void InstallShellServices();
