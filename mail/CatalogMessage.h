#pragma once

// The message a catalog record names, found in its store. This is the one
// place a store reader is positioned on a record's message: every reader of a
// catalogued message (downloads, attributes, the text, the protection, the
// content search) goes through it, so none takes another message for it.

#include "mail/CMailMessage.h"
#include "store/CMailDocumentHooks.h"

#include <memory>

// Loads the message of the record ref into a reader of the record's store
// kind. The message found at the recorded place is the catalogued one only
// when its length is the recorded length, its date the recorded date and its
// subject gives the stored title (MailTitleOfSubject; a message without
// subject gives the no-subject title): a store compacted or rewritten since may hold
// another message, perhaps of another group, at that place. MAIL_OK with the
// message in pMessage; MAIL_ERR_NOT_FOUND when the store holds no message
// there or another one; the reader's failure code when the store cannot be
// read; MAIL_ERR_FILE for a store kind without a reader.
[[nodiscard]] int LoadCatalogMessage(const CMailDocumentRef& ref, std::unique_ptr<CMailMessage>& pMessage);
