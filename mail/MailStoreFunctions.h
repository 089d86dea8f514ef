#pragma once

// Store-level operations on one store file, by program path. The deletion
// functions take the message's offset and length as its catalog record keeps
// them; they return 0 on success, else a MAIL_ERR_ code. The user name names
// the client profile that owns the store; the stores need no more than the path.

#include "platform/base/WinTypes.h"

// Marks a Netscape message expunged by rewriting the four X-Mozilla-Status
// digits in place: the file keeps its length and every other byte.
// MAIL_ERR_NO_STATUS for a message without that line, which stays.
int DeleteNetscapeStoreMessage(LPCTSTR pszUser, LPCTSTR pszStorePath, DWORD dwOffset, DWORD dwLength);

// Sets the deleted flag of the message's .idx item in place.
int DeleteOE4StoreMessage(LPCTSTR pszUser, LPCTSTR pszStorePath, DWORD dwOffset, DWORD dwLength);

// Outlook Express 5 messages are not deleted from their store: does nothing and
// returns MAIL_ERR_FILE (5).
int DeleteOE5StoreMessage(LPCTSTR pszUser, LPCTSTR pszStorePath, DWORD dwOffset, DWORD dwLength);

// The data size of a store (the length of its .mbx or .dbx file), 0 when it
// cannot be opened or is not a store of the kind.
DWORD GetOE4StoreDataSize(LPCTSTR pszStorePath);
DWORD GetOE5StoreDataSize(LPCTSTR pszStorePath);

// The message count of an Outlook Express 5 folder file; -1 when it cannot be
// opened or is not a message folder.
int GetOE5MessageCount(LPCTSTR pszStorePath);
