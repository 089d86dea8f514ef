#pragma once

// The map between the program's paths and the host's. Inside the program every
// path is a Windows path: "C:\home\ana\report.odt", "\\server\share\x", or one
// relative to the current directory. A drive table maps each letter to a host
// folder (C: is "/" unless configured otherwise), and UNC names map to mounted
// shares. Components that miss by case are looked up again case-insensitively,
// because the program lower-cases the paths it stores.

#include "platform/base/WinTypes.h"

#include <string>

// The host path for `pszPath`. Components that exist on the host are matched
// exactly, else case-insensitively; the rest are kept as given, so a path for a
// file still to be created maps too. FALSE with the last error set when no drive
// or share maps the path (ERROR_INVALID_DRIVE, ERROR_BAD_NETPATH) or the path is
// malformed (ERROR_INVALID_NAME).
BOOL HostPathFromProgramPath(LPCTSTR pszPath, std::string& strHostPath);

// The program path for an absolute host path, through the drive whose host folder
// holds it most closely ("/home/ana/x" -> "C:\home\ana\x").
std::string ProgramPathFromHostPath(const std::string& strHostPath);
