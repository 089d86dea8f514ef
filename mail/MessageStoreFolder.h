#pragma once

// The Outlook Express message stores among the files of a store folder. A
// store is known by its content, as the readers know it, never by its name:
// a file renamed to the other kind's extension (a .dbx named .mbx, say) is
// still found, with the kind its content shows.

#include "mail/CMailer.h"

// The store kind a file's content shows: MAIL_STORE_OE4 for a .mbx message file
// whose .idx lies beside it, MAIL_STORE_OE5 for a .dbx message database, -1 for
// anything else (an index, a folder list, a file that cannot be read).
int MessageStoreKindOf(const CString& strPath);

// The message stores of a folder (program path): one entry per store file,
// named by the file name without its extension, with its content's kind.
CMailFolderArray ListMessageStores(const CString& strFolder);
