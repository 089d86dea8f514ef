#pragma once

// The beginning of a document file's readable text, as the preview, the
// description dialog and the web tip page show it, with a code that tells what
// was found. Text comes out as UTF-8, NUL-terminated, never longer than the
// buffer and cut at a character boundary.

#include "platform/base/CString.h"

#include <string>

class CListedFolder;

// Result codes of ReadFileContent and CDocumentRec::ReadContent. The callers
// treat 0, 11, 12 and 13 as text and 14 as a picture; every other code shows
// a status without text.
// clang-format off
constexpr int CONTENT_TEXT           = 0;  // UTF-8 text (a byte-order mark is dropped)
constexpr int CONTENT_PROTECTED_FILE = 1;  // a password-protected file, which is never read
constexpr int CONTENT_NOT_FOUND      = 2;  // the file is not there
constexpr int CONTENT_UNREADABLE     = 3;  // the file, or the message in its store, cannot be read
constexpr int CONTENT_EMPTY          = 4;  // there is nothing to show
constexpr int CONTENT_NO_PREVIEW     = 5;  // binary content or a PDF, which have no text to show
constexpr int CONTENT_PROTECTED      = 10; // a password-protected mail message, which is not shown
constexpr int CONTENT_CONVERTED_TEXT = 13; // text in UTF-16 or in the Windows Western code page, converted
constexpr int CONTENT_PICTURE        = 14; // a picture: GetContentPicture names it; the buffer is empty
// clang-format on

// Reads the beginning of the file at the program path pszPath into pszBuffer
// (nSize bytes with the terminator) and returns a CONTENT_ code. A null buffer
// or a size below 1 gives CONTENT_EMPTY with nothing written.
int ReadFileContent(LPCTSTR pszPath, char* pszBuffer, int nSize);
// The same for the file strName of a listed folder, opened by its name there
// (CHostFile::OpenIn); pszPath is its program path.
int ReadListedFileContent(
    const CListedFolder& folder, const std::string& strName, LPCTSTR pszPath, char* pszBuffer, int nSize);

// The picture that the last ReadFileContent of this thread reported with
// CONTENT_PICTURE: its program path and its format word ("png", "jpg", "gif",
// "bmp", "tif", "webp" or "ico"). FALSE, with both texts empty, when the last
// call of this thread found no picture.
BOOL GetContentPicture(CString& strPath, CString& strFormat);
