#pragma once

// The user's folders as the desktop names them (the XDG base directories and
// user directories), read from the environment at every call so that a change
// of HOME or XDG_* takes effect at once. Every result is an absolute host path
// without a trailing slash; relative values in the environment are ignored, as
// the rules ask.

#include <string>
#include <vector>

// $HOME; empty when it is not set.
std::string XdgHome();
// $XDG_DATA_HOME, else $HOME/.local/share.
std::string XdgDataHome();
// $XDG_CONFIG_HOME, else $HOME/.config.
std::string XdgConfigHome();
// $XDG_DATA_DIRS, else /usr/local/share and /usr/share; the most important first.
std::vector<std::string> XdgDataDirs();
// $XDG_CONFIG_DIRS, else /etc/xdg.
std::vector<std::string> XdgConfigDirs();

// A user directory named in $XDG_CONFIG_HOME/user-dirs.dirs (strName
// "DESKTOP", "TEMPLATES", ...: the XDG_<NAME>_DIR line, "$HOME/" expanded).
// Without a line: $HOME/Desktop for the desktop, empty for the others. A
// value that names the home folder itself counts as no folder (the desktop
// rules say so) and gives empty.
std::string XdgUserDir(const std::string& strName);
