#pragma once

// The mbox layout the Netscape-family clients write: each message follows a
// separator line that starts with "From " ("From - <date>" from Netscape,
// "From <sender> <date>" from others). A "From " line inside a body is quoted
// by most writers, but not all, so a line only separates messages when it has
// a separator's shape (nothing, "-", or a date with a time after "From ") and
// the line after it is a header field. A file may also start with a UTF-8 byte
// order mark, or straight with a header when its writer left the separator out.
// The client keeps its flags in the message's "X-Mozilla-Status: hhhh" header.

#include "mail/MailFile.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

// X-Mozilla-Status flags.
constexpr unsigned MOZILLA_STATUS_READ = 0x0001;     // The user has read the message
constexpr unsigned MOZILLA_STATUS_EXPUNGED = 0x0008; // Deleted; gone at the next compaction

// One message as found in the file.
struct CMboxEntry {
    uint64_t nSeparator { 0 };   // Offset of the separator line (= nStart when there is none)
    uint64_t nStart { 0 };       // Offset of the first header byte
    uint64_t nEnd { 0 };         // Offset after the message: the next separator or the end of the file
    std::string strBytes;        // The stored bytes [nStart, nEnd)
    unsigned nStatus { 0 };      // The X-Mozilla-Status value, 0 when absent
    time_t tSeparatorDate { 0 }; // The separator line's date (MboxSeparatorDate), 0 when none
};

// File bytes read ahead of a walk, so that consecutive messages come from one
// read. A walk keeps one and passes it to every ReadMboxEntry; it is dropped
// when the file length changes.
struct CMboxReadAhead {
    uint64_t nBase { 0 };       // File offset of bytes[0]
    uint64_t nFileLength { 0 }; // The file length when the bytes were read
    std::string bytes;
};

// Reads the message whose separator (or, at offset 0, whose first header) is at
// nPosition. MAIL_OK, MAIL_END at the end of the file, MAIL_ERR_FORMAT when no
// message starts there, MAIL_ERR_FILE when a read fails.
[[nodiscard]] int ReadMboxEntry(
    const CMailFile& file, uint64_t nPosition, CMboxEntry& entry, CMboxReadAhead& readAhead);

// Reads the stored bytes of a message a catalog names by offset and length:
// they must lie in the file, start at a line start, open with a header line
// and be the whole message, ended by the file's end or a separator and holding
// none. MAIL_OK, MAIL_ERR_NOT_FOUND or MAIL_ERR_FILE.
[[nodiscard]] int ReadMboxMessageAt(const CMailFile& file, uint32_t nOffset, uint32_t nLength, std::string& bytes);

// The date a separator line carries ("From - Tue Oct 02 00:26:47 2007", "From
// sender Sat Jan  3 01:05 2004 +0100", a zone name before the year is
// skipped) as seconds since 1970: the time is taken as UTC unless a numeric
// zone follows it. 0 when the line holds no such date.
time_t MboxSeparatorDate(std::string_view line);
// The longest separator line whose date a message's reader looks for.
constexpr size_t MBOX_MAX_SEPARATOR_LINE = 1024;

// True when a line (without its line break) is a header field "Name: value".
bool IsMboxHeaderLine(std::string_view line);

// Finds the X-Mozilla-Status digits in a message's header block: their offset in
// `message`, or -1; the value into nStatus.
int FindMozillaStatus(std::string_view message, unsigned& nStatus);

// Formats a status value as the four hex digits the header holds.
std::string FormatMozillaStatus(unsigned nStatus);
