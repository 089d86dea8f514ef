#pragma once

// The ".trashinfo" file the freedesktop Trash keeps for each item in its
// info/ folder: where the item came from and when it was deleted.
//
//   [Trash Info]
//   Path=/home/ana/plan%20b.txt          (percent-encoded; relative to the
//   DeletionDate=2024-03-01T14:05:09      trash's top directory outside the
//                                         home trash; local time)
//
// Info files come from other programs too, so the reader takes any damage
// (a missing group or key, a bad escape, an over-long file) as "no
// information": the item then shows by its name in the trash.

#include <ctime>
#include <string>
#include <string_view>

// Info files larger than this are not info files.
constexpr size_t TRASH_INFO_MAX_SIZE = 64 * 1024;

struct CTrashInfo {
    std::string strPath;         // the item's original host path, absolute
    std::string strDeletionDate; // as written, "YYYY-MM-DDThh:mm:ss"
};

// Reads the text of an info file. A relative Path counts from strTopDir (the
// trash's top directory; empty for the home trash, where it must be
// absolute). False, with info untouched, for damaged text.
bool ParseTrashInfo(std::string_view text, const std::string& strTopDir, CTrashInfo& info);

// The text of an info file for an item from strHostPath deleted at tWhen:
// the path relative to strTopDir when that holds it and is not empty, else
// absolute.
std::string FormatTrashInfo(const std::string& strHostPath, const std::string& strTopDir, std::time_t tWhen);

// Percent-encoding of paths: every byte but letters, digits, "-_.~/" and
// "!*'()" becomes %XX. Decoding fails on a bad escape or an encoded NUL.
std::string PercentEncodePath(std::string_view strPath);
bool PercentDecodePath(std::string_view strEncoded, std::string& strPath);
