#pragma once

// The usage profiles of the set-up wizard, read from the text file
// "Usage.txt". The file is the user's to edit, so it is read within bounds and
// any shape of it gives a result, never an error.
//
// Each line starts with a level digit and one separator; its text is what
// follows (a line of one or two characters has an empty text; a first
// character that is no digit is level 0). Line 1 is a comment. From line 2 the
// lines not of level 1 are head lines: the user's own starting groups. The
// first level-1 line ends them; the line after it names the first entry
// (whatever its level), the level-3 lines that follow are its items, and the
// next line of another level names the next entry. A later entry of a name
// replaces the earlier one. The entry "#" holds the groups of the usage the
// computer usage page lists last.

#include "platform/base/CString.h"

#include <map>
#include <string_view>
#include <vector>

struct CUsageProfiles {
    // What is read at most; the rest is ignored with a trace line.
    static constexpr std::size_t MAX_FILE_BYTES = 1 << 20; // cut at the last line end before it
    static constexpr std::size_t MAX_LINE_BYTES = 4096;    // a longer line is cut at a character boundary
    static constexpr std::size_t MAX_ENTRIES = 1000;       // later entries are ignored
    static constexpr std::size_t MAX_ITEMS = 1000;         // per entry; later items are ignored

    // The name of the entry of the page's last line.
    static constexpr char GENERAL_ENTRY[] = "#";

    std::vector<CString> heads;                      // head lines, in file order
    std::map<CString, std::vector<CString>> entries; // entry name (exact) to its items, in file order
};

// Parses the text of a usage file into profiles (emptied first).
void ParseUsageText(std::string_view text, CUsageProfiles& profiles);

// Reads "Usage.txt" into profiles (emptied first): the program folder's own,
// else the one installed with the program's read-only files. FALSE when
// neither can be read, which leaves them empty.
BOOL LoadUsageFile(CUsageProfiles& profiles);
