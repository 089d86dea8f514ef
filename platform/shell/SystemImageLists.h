#pragma once

// The shell's system image lists: one list of small (16 x 16) and one of large
// (32 x 32) icons, made at first use and kept for the life of the process.
// Both lists hold the same icons at the same indexes, and an index names the
// same kind of item for as long as the process runs, so callers may keep the
// indexes they are given. The lists belong to the shell: callers never destroy
// them. Every function here may be called from any thread.

#include "platform/gdi/ImageLists.h"

#include <string>

// The icons of the lists, by index.
// clang-format off
enum SystemIcon : int {
    SYSICON_DOCUMENT = 0,      // a file of a type without an icon of its own
    SYSICON_FOLDER,            // a folder, closed
    SYSICON_FOLDER_OPEN,       // a folder, open
    SYSICON_DRIVE_FIXED,       // a hard disk
    SYSICON_DRIVE_REMOVABLE,   // a removable disk
    SYSICON_DRIVE_CDROM,       // a CD drive
    SYSICON_DRIVE_NETWORK,     // a network drive or share
    SYSICON_TEXT,              // text: plain text, source code, markup
    SYSICON_PICTURE,           // a picture
    SYSICON_MAIL,              // a mail message
    SYSICON_ARCHIVE,           // a compressed archive
    SYSICON_PROGRAM,           // a program or script that runs
    SYSICON_CATALOG_ITEM,      // an item of the program's catalog (the ".kdcat" type)
    SYSICON_MY_COMPUTER,       // My Computer
    SYSICON_NETWORK,           // Network
    SYSICON_RECYCLE_EMPTY,     // the Recycle Bin with nothing in it
    SYSICON_RECYCLE_FULL,      // the Recycle Bin holding items
    SYSICON_LAUNCHER,          // a desktop launcher (".desktop") or shortcut (".lnk")
    SYSICON_COUNT
};
// clang-format on

// The small (bSmall TRUE) or large system image list.
HIMAGELIST GetShellImageList(BOOL bSmall);

// What the shell knows of a type of file, from its name's extension.
struct CShellFileType {
    SystemIcon eIcon;
    std::string strTypeName; // "Text Document", "PNG Image", "XYZ File", ...
};

// The icon and type name of a file named pszName; only the text after its last
// dot counts, without regard to case. Types the program knows come from its
// own table; others from the system's shared MIME type database by their
// media family; the rest are plain documents named after their extension
// ("XYZ File", or "File" without one).
CShellFileType GetShellFileType(LPCTSTR pszName);
