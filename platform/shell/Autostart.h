#pragma once

// The values under HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run
// kept as XDG autostart launchers, so the desktop starts the program at log-in
// and shows the entry in its own settings:
//
// - setting a value "<name>" = "<program file> <arguments>" writes
//   $XDG_CONFIG_HOME/autostart/archivora-<name>.desktop, whose Exec runs this
//   executable with the arguments after the program path; when the launcher
//   cannot be written the call fails and the value stays as it was;
// - deleting the value removes its launcher;
// - opening the key first brings its values in line with the launchers: a
//   launcher the user removed (or hid) in the desktop's settings is a missing
//   value, and a launcher without its value gets it back.
//
// Launchers carry X-Archivora-Run=<name> (and the value's text in
// X-Archivora-Command); others are never touched.

#include "platform/base/Registry.h"

#include <string>

constexpr LPCTSTR AUTOSTART_RUN_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Run"; // under HKLM

// The host path of the launcher that keeps the value strName.
std::string AutostartLauncherPath(const std::string& strName);

// The hook to install on HKEY_LOCAL_MACHINE\AUTOSTART_RUN_KEY.
CRegistryKeyHook& AutostartHook();
