#pragma once

// The Outlook Express 5 message database (.dbx). All numbers are 32-bit
// little-endian; every object starts with its own file offset as a marker,
// which is how this reader recognises damage.
//
// The file header starts with the signature CF AD 12 FE C5 FD 74 6F (a message
// database; folder lists and others carry other bytes after CF AD 12 FE); the
// message count is at 0xC4, the root node of the message tree at 0xE4.
//
// Tree node: marker, reserved, left child, parent, node id (1 byte), entry
// count (1 byte, at most 0x33), reserved (2), values in the left child's
// subtree; then per entry: value (a message info address), child, values in
// the child's subtree. In-order traversal gives the messages in folder order.
//
// Message info ("indexed info"): marker, body length, object length (2), entry
// count (1), change count (1); then per entry a word whose low 7 bits name a
// field, bit 7 says the value is stored directly in the upper 3 bytes, else the
// upper 3 bytes are an offset into the data that follows the entries. Field
// 0x00 is the message index, 0x01 its flags, 0x04 the address of the first
// message chunk.
//
// Message chunk: marker, body length (0x200), text length in this chunk, next
// chunk (0 at the end), then the body. The message is the chunks' texts joined.

#include "mail/MailFile.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr unsigned char DBX_MESSAGE_SIGNATURE[8] = { 0xCF, 0xAD, 0x12, 0xFE, 0xC5, 0xFD, 0x74, 0x6F };
constexpr size_t DBX_HEADER_SIZE = 0x24BC;
constexpr size_t DBX_COUNT_FIELD = 0xC4;
constexpr size_t DBX_TREE_ROOT_FIELD = 0xE4;
constexpr size_t DBX_NODE_HEADER_SIZE = 0x18;
constexpr size_t DBX_NODE_ENTRY_SIZE = 12;
constexpr unsigned DBX_NODE_MAX_ENTRIES = 0x33;
constexpr size_t DBX_INFO_HEADER_SIZE = 12;
constexpr size_t DBX_CHUNK_HEADER_SIZE = 16;
constexpr unsigned DBX_FIELD_INDEX = 0x00;
constexpr unsigned DBX_FIELD_FLAGS = 0x01;
constexpr unsigned DBX_FIELD_MESSAGE = 0x04;

struct CDbxMessageInfo {
    uint32_t nIndex { 0 };
    uint32_t nFlags { 0 };
    uint32_t nFirstChunk { 0 };
};

// One piece of a message's text: where it lies in the file and how long it is.
struct CDbxSegment {
    uint32_t nOffset { 0 };
    uint32_t nLength { 0 };
};

// Checks the signature; the message count from the header into nCount.
[[nodiscard]] int ReadDbxHeader(const CMailFile& dbx, uint32_t& nCount);

// The addresses of every message info in folder order. A node outside the file,
// a marker that does not match, or a node met twice is damage (MAIL_ERR_FORMAT).
[[nodiscard]] int ReadDbxTree(const CMailFile& dbx, std::vector<uint32_t>& infos);

[[nodiscard]] int ReadDbxMessageInfo(const CMailFile& dbx, uint32_t nAddress, CDbxMessageInfo& info);

// The chunk chain of a message from its first chunk; each chunk is checked and
// a chain that loops or leaves the file is damage.
[[nodiscard]] int ReadDbxChunkChain(const CMailFile& dbx, uint32_t nFirstChunk, std::vector<CDbxSegment>& segments);

// The text of a chain read by ReadDbxChunkChain.
[[nodiscard]] int ReadDbxSegments(const CMailFile& dbx, const std::vector<CDbxSegment>& segments, std::string& text);
