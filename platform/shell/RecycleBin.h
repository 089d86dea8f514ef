#pragma once

// The recycle bin over the freedesktop Trash (TrashFolders.h): the items of
// the home trash and of the top-directory trashes of the drives, in the order
// the program relies on, and the moves into and out of it.
//
// Order: names of the form "d<letter><n>[.ext]" (the names the bin gives)
// first, by letter, then by n as a number; then the other names in byte
// order. A program that takes the last of a letter's run of names as the
// number just given is therefore right.
//
// Names: an item from drive letter L gets "d" + l + n + the extension of its
// file name (from its last "."), n one above the highest of that letter in
// every trash, and the name is taken by creating its info file exclusively,
// so two deletions never share one. Other programs' items are never touched.

#include "platform/base/TrashFolders.h"

#include <optional>
#include <string>
#include <vector>

// One item of the bin.
struct CRecycledEntry {
    TCHAR chLetter { 0 }; // the drive it is listed under
    std::string strName;  // its name in the trash's files/
    bool bFolder { false };
    CTrashFolder trash;

    std::string HostPath() const { return trash.FilesFolder() + "/" + strName; }
    std::string InfoPath() const { return trash.InfoFolder() + "/" + strName + ".trashinfo"; }
    // "<letter>:\RECYCLED\<name>"
    std::string ProgramPath() const;
};

/* Listing. */

// Every item of every existing trash, in the bin's order.
std::vector<CRecycledEntry> ListRecycleBin();
// The item "<letter>:\RECYCLED\<name>" stands for, found as the path model
// finds it (the letter's own trashes first, the name by case); nullopt for none.
std::optional<CRecycledEntry> FindRecycledEntry(TCHAR chLetter, const std::string& strName);
// The item's original host path from its info file; empty when the file is
// missing or damaged.
std::string RecycledOriginalPath(const CRecycledEntry& entry);

/* Moving items in and out. */

// The highest number of the bin's names of a letter in every trash; 0 for none.
unsigned long long HighestRecycledNumber(TCHAR chLetter);

// How a move into the trash went.
struct CRecycleResult {
    DWORD dwError { 0 };      // ERROR_SUCCESS or why nothing was moved
    std::string strTrashName; // the name it got ("dc13.txt")
};

// Moves the item at strHostPath (a file or a folder with everything below)
// from drive chLetter into a trash as its next name, n above *pnLastNumber
// (which it updates; 0 to search the trashes first). The home trash when the
// item is on its file system, else the item's top-directory trash, else the
// home trash by copying (the item goes only once the copy is complete). On
// failure nothing is left behind: no info file, no partial copy.
CRecycleResult MoveToRecycleBin(const std::string& strHostPath, TCHAR chLetter, unsigned long long* pnLastNumber);

// Forgets an item's info file once the item has left the bin (restored or
// deleted for good).
void RemoveRecycledInfo(const CRecycledEntry& entry);
