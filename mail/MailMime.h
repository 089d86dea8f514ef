#pragma once

#include <ctime>
#include <string>
#include <string_view>

// What the program shows of one message, decoded to UTF-8 from its stored bytes.
struct CMailContent {
    std::string strSubject; // Encoded words decoded, folding removed
    std::string strFrom;    // Address lists joined with ", ", display names decoded
    std::string strTo;
    std::string strCc;
    std::string strHeaderLines; // Every header as "Name: value", lines ended by CRLF
    std::string strText;        // The plain-text body (see MailTextFromMime)
    std::string strProtection;  // Unscrambled protection value, empty when unprotected
    time_t tDate { 0 };         // The Date header, 0 when absent or unreadable
};

// The header line that carries a scrambled protection value in a stored message.
constexpr const char* MAIL_PROTECTION_HEADER = "X-KD-Protect";

// Parses a stored message (headers and body as one RFC 822 text). Damaged input
// gives whatever could be recovered, never a failure: a store reader has
// already decided that these bytes are a message.
CMailContent ParseMailContent(std::string_view raw);

// The header block of a stored message: everything up to and including the
// first empty line (the whole text when there is none).
std::string_view MailHeaderBlock(std::string_view raw);

// The message's readable text: the first text/plain part that is not an
// attachment, else the first text/html part with its markup removed; transfer
// encodings undone and the charset converted to UTF-8. Empty when there is none.
std::string MailTextFromMime(std::string_view raw);

// The visible text of an HTML fragment: tags, comments, scripts and styles
// removed, common entities and numeric references replaced.
std::string MailTextFromHtml(std::string_view html);
