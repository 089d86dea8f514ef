#pragma once

// The texts the cataloguing code gives a new document: its description, made
// from the beginning of its text, and the information of a mail message read
// from its store.

#include "store/CDocumentRec.h"

#include "platform/base/CString.h"

#include <memory>
#include <string>
#include <string_view>

class CListedFolder;
class CMailMessage;

// The longest description a new document gets, in bytes.
constexpr int MAX_DESCRIPTION = 259;

// A description from a text: line breaks, tabs and other control characters
// as blanks, runs of blanks as one, trimmed, at most MAX_DESCRIPTION bytes
// cut at a character boundary.
CString MakeDescription(std::string_view strText);

// What reading a file's description found.
enum class EFileText {
    Text,     // the file has text (the description may still be empty)
    NoText,   // the file is there, without text to describe it (binary, protected, unreadable)
    NotFound, // the file is gone
};
// The description of the file strName of a listed folder, from the beginning
// of its readable text; pszPath is its program path.
EFileText ReadFileDescription(
    const CListedFolder& folder, const std::string& strName, LPCTSTR pszPath, CString& strDescription);

/* Mail messages. */

// An empty reader of a store kind (MAIL_STORE_NETSCAPE, _OE4, _OE5) for
// ReadNext; null for another kind.
std::unique_ptr<CMailMessage> NewMailReader(int nStoreKind);
// Reads the store's message after dwPosition into reader and moves
// dwPosition past it. MAIL_OK for a live, valid message; MAIL_DELETED for one
// to pass over (flagged deleted, or not valid); otherwise the code that ends
// the store: MAIL_END at its end, MAIL_ERR_FORMAT also for a reader that does
// not move on (it would read the same message forever).
int ReadNextMessage(CMailMessage& reader, LPCTSTR pszStorePath, DWORD& dwPosition);
// The store kind of a location kind (LOCATION_NETSCAPE and the rest); -1 for
// a location that is no mail store.
int StoreKindOfLocation(int nLocationKind);
// The value a mail store's location keeps: the store file's length for the
// Netscape and Outlook Express 4 kinds, the message count for Outlook Express
// 5; -1 when the store cannot be read.
LONG ReadMailStoreSize(LPCTSTR pszStorePath, int nStoreKind);
// The catalog information of a message read from its store: its title (from
// its subject), its identification and date, its store kind, its text as the
// description and its sender as the secondary text.
CDocumentInfo MakeMessageInfo(const CMailMessage& message, int nStoreKind);
