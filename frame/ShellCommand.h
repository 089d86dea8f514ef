#pragma once

// Starts the program that the classes root names for a document type, on its
// own, without a document (the new-document menu's entries).
//
// ResolveShellCommand finds the program, and for an "edit" verb its fixed
// parameters.
// The type is a class name or an extension (".odt"); a type whose key has a
// default value names its class there. Of the class's "shell" verbs the first
// of "edit", "new", "open" is taken, else the first whose name contains
// "open" in any case. Its "command" is read lower-cased and trimmed:
//   - a command that runs "rundll32" is refused (it starts no program);
//   - a quoted program is the text up to the closing quote (none: refused);
//   - else the text up to and including the first ".exe", else ".com", else
//     refused.
// Only the "edit" verb keeps parameters: the rest of the command with every
// "%<digits>" placeholder blanked, together with a quote directly before or
// after it, trimmed.

#include "platform/base/CString.h"
#include "platform/base/Registry.h"

// FALSE with both outputs emptied when no program is found. hClassesRoot is
// the key the types are looked up under (tests give one of their own).
BOOL ResolveShellCommand(
    LPCTSTR pszType, CString& strProgram, CString& strParameters, HKEY hClassesRoot = HKEY_CLASSES_ROOT);

// Starts the program ResolveShellCommand finds for the type, with its
// parameters, shown normally, hParent owning any error the start shows. FALSE
// when none is found or it does not start.
BOOL OpenWithShell(HWND hParent, LPCTSTR pszType, HKEY hClassesRoot = HKEY_CLASSES_ROOT);
