#pragma once

// Password-protected document files. A protected file starts with a 68-byte
// header (magic text, version, the password in scrambled form, the original
// length and a checksum of the original bytes) followed by the original bytes
// in scrambled form, so that no program reads it as it was. Protection hides a
// file from a casual look; it is not encryption. The layout is described in
// store/FORMAT.md.
//
// Every change writes a temporary file beside the original and renames it over
// the original only when it is complete and flushed; the original is never
// lost or half-rewritten on failure.

#include "platform/base/CString.h"

#include <cstdint>
#include <span>

// Result codes of ProtectFile, CDocumentRec::ChangeProtection and
// CDocumentRec::ReadMailMessage; ReportProtectError has a message for each.
// clang-format off
constexpr int PROTECT_OK            = 0;
constexpr int PROTECT_BAD_PASSWORD  = 1; // the old password does not match, or the new one is too long
constexpr int PROTECT_NOT_PROTECTED = 2; // unprotecting a file that was not protected: nothing to do
constexpr int PROTECT_UNREADABLE    = 3; // the file, or the mail message in its store, cannot be read
constexpr int PROTECT_NOT_FOUND     = 4; // the file is not there
constexpr int PROTECT_WRITE_FAILED  = 5; // the file or the catalog record could not be written
constexpr int PROTECT_DAMAGED       = 6; // a protected file whose header or content fails its checks
constexpr int PROTECT_AMBIGUOUS     = 7; // the path names several files that differ only in case
// clang-format on

// The size of the header of a protected file.
constexpr int PROTECTED_HEADER_SIZE = 68;
// The longest password a protected file holds, in bytes.
constexpr int MAX_FILE_PASSWORD = 30;

// Protects (pszNewPassword not empty, the file not protected), unprotects
// (pszNewPassword empty or null) or changes the password of (both given, the
// file protected) the file at the program path pszPath. A protected file is
// changed only when pszOldPassword matches the password it holds. A file that
// is not protected is protected whatever pszOldPassword says. A PROTECT_ code;
// PROTECT_NOT_PROTECTED when asked to unprotect a file that is not protected.
// The file keeps its permissions.
int ProtectFile(LPCTSTR pszPath, LPCTSTR pszNewPassword, LPCTSTR pszOldPassword);

// Opens the file at pszPath, reads and checks its protected-file header and
// returns the password it holds in strPassword (at most MAX_FILE_PASSWORD
// bytes). Throws CFileException: fileNotFound or accessDenied when the file
// cannot be opened, invalidFile when it has no valid protected-file header
// (the file is not protected, or is damaged).
void ReadProtectedFileHeader(LPCTSTR pszPath, CString& strPassword);

// TRUE when the file at pszPath starts with a valid protected-file header.
BOOL IsProtectedFile(LPCTSTR pszPath);
// The same test on a file already read: head holds its first bytes (at least
// PROTECTED_HEADER_SIZE of them for a protected file), nFileSize its length.
BOOL IsProtectedHeader(std::span<const BYTE> head, std::uint64_t nFileSize);
// TRUE when the first nSize bytes of a file begin with the magic text of a
// protected file, whether or not the rest of its header is sound. Reading
// PROTECTED_MAGIC_SIZE bytes is enough to tell.
constexpr int PROTECTED_MAGIC_SIZE = 24;
BOOL StartsAsProtectedFile(const BYTE* pHead, int nSize);

// The message for a PROTECT_ code about the file pszPath.
CString FormatProtectError(LPCTSTR pszPath, int nCode);
// Reports a PROTECT_ code about the file pszPath through the store's message
// handler (SetCatalogErrorHandler), with the exclamation icon. Does nothing for
// PROTECT_OK.
void ReportProtectError(LPCTSTR pszPath, int nCode);
