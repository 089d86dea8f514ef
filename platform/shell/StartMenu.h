#pragma once

// The Start menu the program reads: "<program folder>\Start Menu", kept with
// one "<Name>.desktop" link per launcher the desktop shows, named after the
// application ("Text Editor", not "org.gnome.TextEditor"):
//
//   [Desktop Entry]
//   Type=Link
//   Name=<Name>
//   URL=<the launcher's file URL>
//   X-Archivora-Presented=true
//
// Names are made valid file names; a second "Name" becomes "Name (2)", and so
// on. Marked links whose launcher went are removed; files without the mark are
// never touched. A link is written only when it changed.

#include "platform/base/WinTypes.h"

#include <string>

// The host folder of the Start menu.
std::string StartMenuHostFolder();

// Brings the Start menu up to date with the launchers; ERROR_SUCCESS or the
// error met writing it.
DWORD PresentStartMenu();
