#pragma once

// The icons of a document, each worked out once and kept in the document
// object (and handed on to its clones).

#include "platform/base/WinTypes.h"

class CDocumentRec;

// The document's icon in the small system image list: that of its file type,
// or of the mail item type for a message; -1 for a document that cannot be
// read. Worked out on first use from the name alone, so the file is never
// touched.
int GetDocumentTypeIcon(const CDocumentRec& document);
// The document's large shell icon: that of its file as the file is now, or of
// the mail item type for a message; the resource module's document icon
// (IDI_DOCUMENT) when the shell has none (the file is gone, the drive
// unreachable). Worked out on first use. The object owns the icon and
// destroys it with itself (a clone owns a copy): callers never destroy it,
// and copy it (CopyIcon) to keep it longer.
HICON GetDocumentIcon(const CDocumentRec& document);
