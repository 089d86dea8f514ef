#pragma once

// The Outlook Express 4 store: a .mbx file holding the messages and a .idx file
// beside it (same name, extension ".idx") indexing them. All numbers are 32-bit
// little-endian.
//
// .mbx: an 84-byte header ("JMF6", a sub id, the message count, the last used
// message number, the file size), then the messages, each a 16-byte header
// (the marker bytes 00 7F 00 7F, message number, total size including header
// and padding, text size) followed by the message text and padding to the
// total size.
//
// Real folders hold records whose sizes are slightly wrong, so a size only
// says where a record ends as far as nothing else tells better: a record ends
// at the next record the .idx lists, or at the end of the file, when either
// comes first, and where no marker follows a record the next marker is looked
// for. One wrong size so loses at most its own record, never the rest.
//
// .idx: an 80-byte header ("JMF9", a sub id, the item count, the file size),
// then the items back to back, each starting with the flags, a reserved word,
// the entry number, the item's own offset, the item's size, and the offset and
// total size of its message in the .mbx; the rest of the item (dates, subject,
// addresses) is kept as it is.

#include "mail/MailFile.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t MBX_SIGNATURE = 0x36464D4A; // "JMF6"
constexpr size_t MBX_HEADER_SIZE = 84;
constexpr size_t MBX_COUNT_FIELD = 8;                                       // Message count in the header
constexpr size_t MBX_SIZE_FIELD = 16;                                       // File size in the header
constexpr unsigned char MBX_MESSAGE_MARKER[4] = { 0x00, 0x7F, 0x00, 0x7F }; // In file order
constexpr size_t MBX_MESSAGE_HEADER_SIZE = 16;

constexpr uint32_t IDX_SIGNATURE = 0x39464D4A; // "JMF9"
constexpr size_t IDX_HEADER_SIZE = 80;
constexpr size_t IDX_COUNT_FIELD = 8;            // Item count in the header
constexpr size_t IDX_SIZE_FIELD = 12;            // File size in the header
constexpr size_t IDX_ITEM_FIXED_SIZE = 28;       // The item fields this reader uses
constexpr size_t IDX_ITEM_SELF_FIELD = 12;       // Item offset within the item
constexpr size_t IDX_ITEM_MBX_OFFSET_FIELD = 20; // Message offset within the item
constexpr uint32_t IDX_FLAG_DELETED = 0x01;      // The message is deleted

struct COe4IndexItem {
    uint32_t nFlags { 0 };
    uint32_t nEntry { 0 };
    uint32_t nItemOffset { 0 }; // Where the item starts in the .idx
    uint32_t nItemSize { 0 };
    uint32_t nMbxOffset { 0 }; // Where the message header starts in the .mbx
    uint32_t nMbxSize { 0 };
};

struct COe4MbxMessage {
    uint32_t nOffset { 0 }; // Of the message header
    uint32_t nNumber { 0 };
    uint32_t nTotalSize { 0 };
    uint32_t nTextSize { 0 };
};

// The .idx path of a .mbx program path.
std::string Oe4IndexPath(const char* pszMbxPath);

// Checks the .mbx header; MAIL_OK or MAIL_ERR_FORMAT (MAIL_ERR_FILE when unreadable).
[[nodiscard]] int CheckMbxHeader(const CMailFile& mbx);

// The offsets of the records the index items list, sorted, for MbxRecordLimit.
std::vector<uint32_t> ListedMbxOffsets(const std::vector<COe4IndexItem>& items);
// Where the record at nOffset ends at the latest: the next offset listed after
// it, else the end of the .mbx.
uint64_t MbxRecordLimit(const CMailFile& mbx, const std::vector<uint32_t>& listed, uint64_t nOffset);
// The first record marker at or after nFrom; the length of the .mbx when
// there is none. A read that fails ends the search (MAIL_ERR_FILE).
[[nodiscard]] int FindMbxMarker(const CMailFile& mbx, uint64_t nFrom, uint64_t& nFound);
// Reads the record whose header is at nOffset, which must start with the
// marker and whose header must end by nLimit (MbxRecordLimit). The record's
// total size is its declared one cut at nLimit, and at least its header; its
// text size the declared one cut at the record's end. MAIL_OK, MAIL_ERR_FORMAT
// or MAIL_ERR_FILE.
[[nodiscard]] int ReadMbxRecord(const CMailFile& mbx, uint64_t nOffset, uint64_t nLimit, COe4MbxMessage& message);

// Reads every item of the .idx; each must lie inside the .idx and name a
// record header inside a .mbx of nMbxLength bytes, or the index is damaged
// (MAIL_ERR_FORMAT). On a failure, items holds the intact items before the damage.
[[nodiscard]] int ReadOe4Index(const CMailFile& idx, uint64_t nMbxLength, std::vector<COe4IndexItem>& items);
