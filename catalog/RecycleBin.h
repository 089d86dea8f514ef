#pragma once

// The catalog's recycle bin: documents removed from the main catalog go into
// the recycle-bin catalog, and their files into the system's recycle bin, so
// that both can be brought back. This file holds the work on one entry and
// the names the bin gives; the confirmed runs over many entries are built on
// it (CRecycleRun).
//
// A recycled file document keeps, in its identification field (16 bytes),
// the name the bin gave its file ("dc13.txt"): "d", the drive letter as the
// path spells it, a number one above the highest of that drive's items, and
// the extension of the file's name. A name longer than the field holds, or a
// file that did not reach the bin, is recorded as empty: the entry then has
// no file to restore or delete, and the operations on it do nothing.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <map>
#include <string>
#include <vector>

class CCatalog;
class CDocumentRec;
class CNodeRec;

// The longest recycled name an entry keeps, in bytes.
constexpr int MAX_RECYCLED_NAME = 15;

/* LixeiraProcessEntry modes. */
constexpr int RECYCLE_SEND = 0;    // send the document's file to the bin
constexpr int RECYCLE_DELETE = 1;  // delete the entry's file in the bin for good
constexpr int RECYCLE_RESTORE = 2; // move the entry's file back where it came from

/* The system's bin. */

// The items of the bin that are not folders; 0 when it cannot be read.
int CountRecycleBinItems();
// Sends a file or folder to the bin, silently; the operation's result (0 on
// success), 0 without acting for an empty path.
int ShellDeleteToBin(LPCTSTR pszPath);

// The last number given per drive letter in one run (lower-case letter).
using CRecycledNameMap = std::map<char, unsigned long long>;
// The highest number of the bin's names ("d<letter><n>[.ext]") of the drive
// letter among names; 0 for none. Names of other forms, and numbers too large
// to count on, are passed over.
unsigned long long HighestRecycledNumberOf(const std::vector<std::string>& names, char chDrive);
// The name the bin gave the file at pszPath, which has just gone there:
// within a run the number after the last one given on its drive, else the
// highest number of that drive's items in the bin. Names of other forms, and
// numbers too large to read, are passed over. Empty when the name would not
// fit MAX_RECYCLED_NAME.
CString MakeRecycledName(CRecycledNameMap& names, LPCTSTR pszPath);

/* One entry. */

// Whether a document may go to the recycle bin: not a message deleted from
// its store, not a file that is missing or unreachable, not a message of an
// Outlook Express 5 store (which cannot delete one).
BOOL CanRecycle(const CDocumentRec& document);
// A document on a share ("\\server\...").
BOOL IsNetworkDocument(const CDocumentRec& document);
// Whether the node or any node below it holds a network document.
BOOL NodeHasNetworkDocuments(const CNodeRec& node);
// Where a recycled entry's file lies in the bin: "x:\RECYCLED\<name>"; empty
// for a share path or an entry without a recycled name.
CString GetRecycleBinLocation(const CDocumentRec& entry);
// One file operation on a recycled entry (RECYCLE_*): the operation's result
// (0 on success), -1 when it was aborted, 0 when there was nothing to do (no
// recycled name; a share path for delete and restore; restore: no file in the
// bin). A restore never replaces a file that is now at the original path:
// it leaves the entry as it is and returns ERROR_ALREADY_EXISTS.
int LixeiraProcessEntry(const CDocumentRec& entry, int nMode);

// The state of the recycle-bin catalog for the drag bar: whether it holds
// anything, and its image (2 holding, 3 empty).
void UpdateRecycleBinState(CCatalog* pBinCatalog);
BOOL IsRecycleBinFull();
int GetRecycleBinImage();
