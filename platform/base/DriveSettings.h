#pragma once

// Drive letters set in the registry, applied on top of the mount table: one
// subkey per letter under HKEY_LOCAL_MACHINE\SOFTWARE\Archivora\Drives, named
// by the letter ("D"), with "Path" (REG_SZ, an absolute host folder) and "Type"
// (REG_DWORD, a DRIVE_* value; DRIVE_FIXED when missing). A "Path" that is
// empty removes the letter. A letter of Type DRIVE_REMOTE with "Remote"
// (REG_SZ, "\\server\share") is a remembered network letter (DriveTable.h)
// instead. Entries that are malformed are skipped.

constexpr const char* DRIVE_SETTINGS_KEY = "SOFTWARE\\Archivora\\Drives";

// Reads the settings and sets the overrides of the process's drive table.
// GetDriveTable calls it once, before the table is first built.
void ApplyDriveSettingsFromRegistry();
