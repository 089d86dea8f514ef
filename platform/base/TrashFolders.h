#pragma once

// Where the recycle bin keeps its items: the freedesktop Trash, so that the
// desktop's own trash shows and restores them. A trash is a folder holding
// files/ (the items) and info/ (one "<name>.trashinfo" per item). There is the
// home trash, $XDG_DATA_HOME/Trash, and one per other file system, in its top
// directory: $topdir/.Trash/$uid when .Trash is a real folder with the sticky
// bit, else $topdir/.Trash-$uid.
//
// The program sees the items of a drive's trashes, and those of the home
// trash, as the folder "<letter>:\RECYCLED" (the path model maps it): an item
// is "<letter>:\RECYCLED\<name>", its name in files/. An item is listed under
// the letter its name gives when the recycle bin named it ("dc13.txt": C),
// else under the drive holding its trash.

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

// The name of every drive's recycle folder in program paths.
constexpr const char* RECYCLE_FOLDER_NAME = "RECYCLED";

struct CTrashFolder {
    std::string strPath;   // the trash folder itself
    std::string strTopDir; // the folder its info files' relative paths count from; empty for the home trash
    TCHAR chLetter { 0 };  // the drive its items are listed under; 0 for the home trash (by item)

    bool IsHomeTrash() const { return strTopDir.empty(); }
    std::string FilesFolder() const { return strPath + "/files"; }
    std::string InfoFolder() const { return strPath + "/info"; }
};

// The home trash, whether it exists or not; an empty strPath when neither
// XDG_DATA_HOME nor HOME is set.
CTrashFolder HomeTrash();

// The top directory of the file system that holds a host path (the highest
// folder above it on the same device); empty when the path cannot be read.
std::string TopDirectoryOf(const std::string& strHostPath);

// The trash of a top directory for this user, as the rules above choose it;
// nothing is made. Its letter is the drive that holds the top directory.
CTrashFolder TopDirectoryTrash(const std::string& strTopDir);

// The trashes whose files/ exist: the top-directory trashes of the local
// mounts of the drive table and of the file systems of the local drives, each
// once, in the order of their top directories, then the home trash.
std::vector<CTrashFolder> ExistingTrashes();

// Whether a trash keeps what a drive deletes: the home trash, a trash of the
// drive's own letter, and the trash of the file system the drive's folder is on.
bool TrashServesDrive(const CTrashFolder& trash, TCHAR chLetter);

// The existing trashes "<letter>:\RECYCLED" holds: those that serve the drive,
// the home trash last.
std::vector<CTrashFolder> TrashesOfDrive(TCHAR chLetter);

// Whether the entry strName of the host folder strHostFolder is a trash: the
// home trash, or a top directory's .Trash or .Trash-$uid. Listings and change
// notices pass trashes over: their items show only in "<letter>:\RECYCLED",
// as a drive's recycle folder keeps its items out of the folders a walk or a
// watch goes through.
bool IsTrashFolder(const std::string& strHostFolder, std::string_view strName);

// The drive letter an item of a trash is listed under: the letter its name
// gives when that drive exists and the trash serves it, else the trash's own
// (for the home trash, the drive holding it); 0 when no drive holds the trash.
TCHAR RecycledItemLetter(const CTrashFolder& trash, std::string_view strName);

// Whether a trash item name is of the form the recycle bin gives: "d", a
// letter, decimal digits, then nothing or an extension from a ".". Gives the
// letter (upper case) and the number (saturating) when it is.
bool ParseRecycledName(std::string_view strName, TCHAR* pchLetter, unsigned long long* pnNumber);
