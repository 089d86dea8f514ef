#pragma once

// The program folder: where the catalogs, logs and settings live. It is the
// folder named by the environment variable ARCHIVORA_HOME, else
// ~/.local/share/archivora; it is created on first use.

#include <string>

// The host path of the program folder, without a trailing slash.
std::string GetProgramFolderHostPath();
