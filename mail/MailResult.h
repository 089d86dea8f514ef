#pragma once

// Result codes of the mail store readers, folders and store functions. A reader
// keeps the first failure as its result code (`CMailMessage::GetResult`); 0 means
// no failure has occurred.
enum : int {
    MAIL_OK = 0,            // Success; from ReadNext: a live message was read
    MAIL_END = 1,           // No further message in the store
    MAIL_STOPPED = 2,       // A reorganisation was stopped by its callback; nothing changed
    MAIL_ERR_OPEN = 3,      // The store file (or its index) could not be opened, or its path is too long
    MAIL_ERR_FORMAT = 4,    // The store is not of the expected kind or is damaged
    MAIL_ERR_FILE = 5,      // A read or write failed, or the store cannot do what was asked
    MAIL_ERR_NOT_FOUND = 6, // The message named by the catalog values is not in the store
    MAIL_ERR_SEEK = 7,      // A position outside the store file or message
    MAIL_DELETED = 8,       // From ReadNext: a message was read, but the store flags it deleted
    MAIL_ERR_NO_STATUS = 9, // The message has no status to flag it deleted in place (an mbox without X-Mozilla-Status)
};

// Store kinds, as catalog records and notices number them.
enum : int {
    MAIL_STORE_NETSCAPE = 0, // mbox with "From " separators and X-Mozilla-Status lines
    MAIL_STORE_OE4 = 2,      // .mbx message file with its .idx index
    MAIL_STORE_OE5 = 3,      // .dbx message database
};

// The longest store path the readers accept, in characters with the terminator.
constexpr int MAIL_MAX_PATH = 260;

// No single message is read into memory beyond this size; a larger one is damage.
constexpr unsigned MAIL_MAX_MESSAGE_BYTES = 256u * 1024 * 1024;
