#pragma once

// The shared path buffer of the document menus and dialogs: a document's full
// path is composed into it and read from it by the next step of a command.

#include "platform/base/WinTypes.h"

class CDocumentRec;

// The size of the buffer in bytes, the terminating NUL included.
constexpr int DOC_PATH_BUFFER_SIZE = 2048;

// The buffer: one per thread, so that the web service's thread and the
// window thread never write into each other's path. Valid for the thread's life.
LPTSTR GetDocPathBuffer();

// Copies the document's folder text (GetDirectoryPath with bConvert and
// bKeepStar) followed by its name text into the buffer, cut at a character
// boundary when it does not fit, and returns the buffer: the document's full
// file path. A null or invalid document leaves the buffer empty.
LPCTSTR CopyDocPath(const CDocumentRec* pDocument, BOOL bConvert, BOOL bKeepStar);
