#pragma once

// Item identifier lists: how the shell names the items of its namespace. A
// list is a run of items closed by a 16-bit zero; the desktop is the empty
// list. Callers walk lists themselves (sizes from the counts, copies at byte
// offsets), so the layout of our items is fixed, little-endian:
//
//   offset  size  field
//   0       2     cb: bytes of the item, cb included; even and at least 6
//   2       1     ITEM_SIGNATURE (another value: not ours, refused)
//   3       1     EItemKind
//   4       ...   by kind; texts are UTF-8 ended by a zero, then zero padding
//                 to an even size:
//     virtual folder  u8 EVirtualFolder, u8 0                   (cb 6)
//     drive           u8 letter 'A'..'Z', u8 0                  (cb 6)
//     share           u32 0; at 8: server, 0, share and the mount's subfolders joined by "\", 0
//     folder, file    u32 attributes; at 8: the name as the file system spells it, 0
//     recycled item   u32 attributes; at 8: u8 letter, u8 0; at 10: the name in the trash, 0
//
// Where a kind may stand: virtual folders, and the folders and files of the
// user's desktop folder, under the desktop; drives under My Computer; shares
// under Network; recycled items under the Recycle Bin; folders and files under
// a drive, a share or a folder. Nothing stands under a file or a recycled item.
//
// The same item always has the same bytes: items hold no times or sizes.

#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

struct SHITEMID {
    USHORT cb; // bytes of the item, cb included; 0 ends a list
    BYTE abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = LPITEMIDLIST;
using PCIDLIST_ABSOLUTE = LPCITEMIDLIST;

// clang-format off
constexpr BYTE ITEM_SIGNATURE      = 0x5A;
constexpr size_t ITEM_MIN_SIZE     = 6;     // the smallest item, a drive or virtual folder
constexpr size_t ITEM_TEXT_OFFSET  = 8;     // where the texts of shares, folders and files start
constexpr size_t IDLIST_MAX_ITEMS  = 256;   // longer lists are refused
constexpr size_t IDLIST_MAX_BYTES  = 65536; // so are lists larger than this before the terminator
// clang-format on

enum class EItemKind : BYTE {
    VirtualFolder = 1,
    Drive = 2,
    Share = 3,
    Folder = 4,
    File = 5,
    Recycled = 6,
};

enum class EVirtualFolder : BYTE {
    None = 0,
    MyComputer = 1,
    Network = 2,
    RecycleBin = 3,
};

// What an item is, decoded.
struct CShellItem {
    EItemKind eKind { EItemKind::Folder };
    EVirtualFolder eWhich { EVirtualFolder::None }; // VirtualFolder
    TCHAR chLetter { 0 };                           // Drive, Recycled: upper case
    DWORD dwAttributes { 0 };                       // Folder, File, Recycled
    std::string strServer;                          // Share
    std::string strName; // Share: the share and its subfolders ("docs\a"); Folder, File, Recycled: the name

    bool operator==(const CShellItem&) const = default;

    static CShellItem Virtual(EVirtualFolder eWhich);
    static CShellItem Drive(TCHAR chLetter);
    static CShellItem Share(std::string strServer, std::string strShare);
    // A folder or file by its attributes (FILE_ATTRIBUTE_DIRECTORY for a folder);
    // a name starting with "." gets FILE_ATTRIBUTE_HIDDEN.
    static CShellItem FileSystem(std::string strName, bool bFolder);
    static CShellItem Recycled(TCHAR chLetter, std::string strName, bool bFolder);
};

// What may stand first in a run of items, from the item above it.
enum class EItemPlace {
    Desktop,
    MyComputer,
    Network,
    RecycleBin,
    FileSystem, // under a drive, share or folder
    Nothing,    // under a file or recycled item
};

// The place below an item (what its children may be).
EItemPlace PlaceBelow(const CShellItem& item);
// The place below a run of items from ePlace (ePlace itself for none).
EItemPlace PlaceBelow(const std::vector<CShellItem>& items, EItemPlace ePlace);

// The bytes of one item, cb included.
std::string EncodeShellItem(const CShellItem& item);

// Reads and checks a list whose first item stands at ePlace. E_INVALIDARG,
// having read nothing past the fault, for: an odd cb or one below 6, an
// unknown signature or kind, a text without its zero inside cb, a kind where
// it cannot stand, more than IDLIST_MAX_ITEMS items or IDLIST_MAX_BYTES before
// the terminator; E_POINTER for nullptr. On failure items is left empty.
HRESULT DecodeShellItems(LPCITEMIDLIST pidl, EItemPlace ePlace, std::vector<CShellItem>& items);

// A new list (CoTaskMemAlloc) of the items, or nullptr when out of memory.
LPITEMIDLIST AllocIdList(const std::vector<CShellItem>& items);
// A new list of encoded items laid end to end; nullptr when out of memory.
LPITEMIDLIST AllocIdListOfBytes(const std::string& strItems);
// The bytes of a list before its terminator, walking its counts (at most
// IDLIST_MAX_BYTES); for lists already checked or made here.
size_t IdListContentSize(LPCITEMIDLIST pidl);
