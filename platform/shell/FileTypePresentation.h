#pragma once

// The desktop's file types presented under HKEY_CLASSES_ROOT, the way the
// program reads file types:
//
//   HKCR\.<ext>                         (default) = <MIME type>,  Presented = "file types"
//   HKCR\.<ext>\ShellNew                where the desktop can make a new document of the type:
//                                       FileName = <program path of a template> (the XDG templates folder),
//                                       Command = <Exec line> (a launcher's "new document" action
//                                       makes its first type), NullFile = "" for ".txt" (an empty
//                                       text file is a document)
//   HKCR\<MIME type>                    (default) = <its description>,  Presented = "file types"
//   HKCR\<MIME type>\DefaultIcon        (default) = <the icon theme's name of its icon>
//   HKCR\<MIME type>\shell\open\command (default) = "<program path of the default application's launcher>" "%1"
//
// Every type of the shared MIME database with a "*.ext" glob is presented;
// its extensions are those globs, lower-cased, and an extension two types
// claim goes to the type the name "x.ext" gives. A launcher stands for its
// program: starting it does what it says, and a quoted path to it reads as a
// program.
//
// The keys are written into the registry, carrying the "Presented" value, and
// brought up to date; keys without it are never touched, so entries of users
// and tests win. The registry is written only when something changed.

#include "platform/base/Registry.h"

#include <map>
#include <string>

constexpr LPCTSTR FILE_TYPES_PRESENTED = "file types"; // the Presented value of the keys made here

// A key as presented: string values by name ("" the default) and subkeys.
struct CPresentedKey {
    std::map<std::string, std::string> values;
    std::map<std::string, CPresentedKey> subkeys;

    bool operator==(const CPresentedKey&) const = default;
};

// The top-level keys the desktop's file types give now, by name.
std::map<std::string, CPresentedKey> WantedFileTypeKeys();

// Brings the presented keys up to date with WantedFileTypeKeys in one change.
LSTATUS PresentFileTypes();

// Presents the file types when HKEY_CLASSES_ROOT is first used, and again when
// a source changed (mimeapps.list files, launcher folders, the MIME database,
// the templates folder), looked at most every FILE_TYPES_CHECK_MS.
constexpr DWORD FILE_TYPES_CHECK_MS = 2000;
CRegistryKeyHook& FileTypesHook();
