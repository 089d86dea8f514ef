#pragma once

// Units, sentinels and numbers of the paged catalog file. Every size of the
// file's layout is derived from BLOCK_SIZE; store/FORMAT.md draws the layout.

#include "platform/base/WinTypes.h"

#include <cstdint>

/* Sizes. */

// The file is a header followed by blocks of this many bytes.
constexpr int BLOCK_SIZE = 2048;
// The file header: kind, block size, last block, version, two texts, two numbers, time stamp.
constexpr int FILE_HEADER_SIZE = 84;
// The file header's last-block field (i32), for readers of raw headers.
constexpr int FILE_HEADER_OFF_LAST_BLOCK = 8;
// Each block starts with seven 32-bit fields, at these offsets.
constexpr int BLOCK_HEADER_SIZE = 7 * 4;
constexpr int BLOCK_OFF_TABLE_TYPE = 0;
constexpr int BLOCK_OFF_RECORD_SIZE = 4;
constexpr int BLOCK_OFF_HIGHEST_USED = 8;
constexpr int BLOCK_OFF_PREV_BLOCK = 12;
constexpr int BLOCK_OFF_NEXT_BLOCK = 16;
constexpr int BLOCK_OFF_OWNER_BLOCK = 20;
constexpr int BLOCK_OFF_OWNER_SLOT = 24;
// What follows the block header: one flag byte per slot, then the records.
constexpr int BLOCK_PAYLOAD_SIZE = BLOCK_SIZE - BLOCK_HEADER_SIZE;
// The text fields of the file header, NUL included.
constexpr int HEADER_VERSION_SIZE = 8;
constexpr int HEADER_TEXT_SIZE = 24;
// The version text every catalog file carries.
constexpr char CATALOG_VERSION[] = "6.0.00";

// The number of record slots in a block whose records are nRecordSize bytes:
// each slot takes its flag byte and its record.
constexpr int SlotCount(int nRecordSize)
{
    return BLOCK_PAYLOAD_SIZE / (nRecordSize + 1);
}
// The largest record a block can hold (one slot).
constexpr int MAX_RECORD_SIZE = BLOCK_PAYLOAD_SIZE - 1;

// The catalog's identity: a random number, never 0, given to a catalog when it
// is made and kept by every copy of it, that binds the journal to the catalog
// wherever the pair lies. It takes the last bytes of block 0, which the
// records of its table leave free; 0 is "none".
constexpr int IDENTITY_SIZE = 4;
constexpr int IDENTITY_OFFSET = BLOCK_SIZE - IDENTITY_SIZE; // within block 0
// Whether a block of records of nRecordSize bytes leaves the identity its place.
constexpr bool LeavesIdentityRoom(int nRecordSize)
{
    return nRecordSize >= 0 && nRecordSize <= MAX_RECORD_SIZE
        && BLOCK_HEADER_SIZE + SlotCount(nRecordSize) * (nRecordSize + 1) <= IDENTITY_OFFSET;
}

// Slot flag bytes; any other value means the block is damaged.
constexpr BYTE SLOT_USED = 0x01;
constexpr BYTE SLOT_FREE = 0xFF;

/* Block numbers and record references. */

// A block number. Block 0 is the first block after the file header; a block
// number is 32 bits wide on disk and in every cache key. NO_BLOCK (-1) means
// "no block": the end of a chain, no owner, or an empty file's last block.
using CATBLOCK = LONG;
constexpr CATBLOCK NO_BLOCK = -1;
// A slot number within a block, from 0; NO_SLOT (-1) means "before the first
// slot" in a cursor and "none" in a reference.
constexpr LONG NO_SLOT = -1;

// A record reference: a block and a slot. {NO_BLOCK, NO_SLOT} refers to no record.
struct CRecordRef {
    CATBLOCK nBlock { NO_BLOCK };
    LONG nSlot { NO_SLOT };

    bool IsNone() const { return nBlock == NO_BLOCK && nSlot == NO_SLOT; }
    bool operator==(const CRecordRef&) const = default;
};

/* Kinds of catalog file (the first field of the file header). */

constexpr LONG CATALOG_KIND_MAIN = 0;
constexpr LONG CATALOG_KIND_RECYCLE = 1;
constexpr LONG CATALOG_KIND_FOLDER_INDEX = 2;

/* Table types of a catalog (the first field of every block header). */

// clang-format off
constexpr LONG TABLE_NODE               = 0;  // systems and groups
constexpr LONG TABLE_NODE_INFO          = 1;
constexpr LONG TABLE_DOCUMENT           = 2;
constexpr LONG TABLE_LOCATION           = 3;  // the rests of long document names
constexpr LONG TABLE_DIRECTORY          = 4;
constexpr LONG TABLE_LINK               = 5;  // document links of a node
constexpr LONG TABLE_KEYWORD            = 6;
constexpr LONG TABLE_KEYWORD_TEXT       = 7;
constexpr LONG TABLE_KEYWORD_LINK       = 8;
constexpr LONG TABLE_NODE_FOLDER        = 9;
constexpr LONG TABLE_NODE_FOLDER_TEXT   = 10;
constexpr LONG TABLE_NODE_FOLDER_LINK   = 11;
constexpr LONG TABLE_EXTENSION          = 12;
constexpr LONG TABLE_EXTENSION_TEXT     = 13;
constexpr LONG TABLE_LIB_FOLDER         = 14; // file name masks
constexpr LONG TABLE_LIB_FOLDER_TEXT    = 15;
constexpr LONG TABLE_CLEANUP_FOLDER     = 16;
constexpr LONG TABLE_CLEANUP_FOLDER_TEXT = 17;
constexpr LONG TABLE_MAIL_STORE         = 18; // the location list
constexpr LONG TABLE_MAIL_STORE_TEXT    = 19;
constexpr LONG TABLE_RECENT             = 20; // the recently-catalogued list
constexpr LONG CATALOG_TABLE_COUNT      = 21;

/* Root blocks: the first block of each table that is not kept in per-owner
   chains. A new catalog is created with these blocks in this order. */

constexpr CATBLOCK ROOT_BLOCK_NODE             = 0;  // the root node, slot 0; fixed nodes in slot 0 of blocks 1 to 4
constexpr CATBLOCK ROOT_BLOCK_NODE_INFO        = 5;
constexpr CATBLOCK ROOT_BLOCK_LIB_FOLDER       = 6;
constexpr CATBLOCK ROOT_BLOCK_CLEANUP_FOLDER   = 7;
constexpr CATBLOCK ROOT_BLOCK_MAIL_STORE       = 8;
constexpr CATBLOCK ROOT_BLOCK_EXTENSION        = 9;
constexpr CATBLOCK ROOT_BLOCK_KEYWORD          = 10;
constexpr CATBLOCK ROOT_BLOCK_NODE_FOLDER      = 11;
constexpr CATBLOCK ROOT_BLOCK_DIRECTORY        = 12;
constexpr CATBLOCK ROOT_BLOCK_RECENT           = 13;
constexpr CATBLOCK ROOT_BLOCK_KEYWORD_TEXT     = 14;
constexpr CATBLOCK ROOT_BLOCK_NODE_FOLDER_TEXT = 15;
constexpr CATBLOCK ROOT_BLOCK_EXTENSION_TEXT   = 16;
constexpr CATBLOCK ROOT_BLOCK_LIB_FOLDER_TEXT  = 17;
constexpr CATBLOCK ROOT_BLOCK_CLEANUP_FOLDER_TEXT = 18;
constexpr CATBLOCK ROOT_BLOCK_MAIL_STORE_TEXT  = 19;
constexpr CATBLOCK ROOT_BLOCK_KEYWORD_LINK     = 20;
constexpr CATBLOCK ROOT_BLOCK_NODE_FOLDER_LINK = 21;
constexpr CATBLOCK ROOT_BLOCK_LOCATION         = 22;
// clang-format on

// The byte offset of a block in the file.
constexpr std::int64_t BlockFileOffset(CATBLOCK nBlock)
{
    return FILE_HEADER_SIZE + static_cast<std::int64_t>(nBlock) * BLOCK_SIZE;
}

/* Little-endian fields. Every integer of the file is stored little-endian,
   whatever the host's byte order; these read and write one at a byte pointer. */

inline LONG ReadLong(const BYTE* p)
{
    return static_cast<LONG>(static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 | static_cast<DWORD>(p[2]) << 16
        | static_cast<DWORD>(p[3]) << 24);
}
inline void WriteLong(BYTE* p, LONG nValue)
{
    DWORD dw = static_cast<DWORD>(nValue);
    p[0] = static_cast<BYTE>(dw);
    p[1] = static_cast<BYTE>(dw >> 8);
    p[2] = static_cast<BYTE>(dw >> 16);
    p[3] = static_cast<BYTE>(dw >> 24);
}
