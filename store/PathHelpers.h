#pragma once

// Text helpers for the program's Windows paths and file names: splitting a
// path into folder, name and extension, finding its root, and checking names
// before they are used for files. None of them touches the file system.
//
// A null text counts as an empty one everywhere.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// Results of CheckPathSyntax.
// clang-format off
constexpr int PATH_SYNTAX_VALID         = 0; // Drive or backslash start, every component a valid name
constexpr int PATH_SYNTAX_BAD_START     = 1; // Neither "x:\" nor "\" at the start
constexpr int PATH_SYNTAX_BAD_COMPONENT = 2; // A component that is no valid file name
// clang-format on

// Splits a path at its last backslash: the folder keeps its trailing
// backslash, the name is what follows. Without a backslash the folder is
// empty and the name is the whole text.
void SplitPath(LPCTSTR pszFullPath, CString& strFolder, CString& strName);

// Splits a file name at its last ".": "report.doc" gives "report" and "doc".
// Without a "." the base is the whole name and the extension is empty.
void SplitFileName(LPCTSTR pszName, CString& strBase, CString& strExtension);

// The root of a path: "x:\" for a drive path ("x:" alone included) or
// "\\server\share\" for a UNC path, in the case the path gives; a leading "*"
// (the catalog's mark on stored folders) is skipped. Empty for any other text.
CString GetPathRoot(LPCTSTR pszPath);

// The path with a backslash appended when it does not already end in one.
CString AddBackslash(LPCTSTR pszPath);

// PATH_SYNTAX_VALID when the path starts with a drive letter and ":\", with
// "\\" (a UNC name) or with "\" and every component between backslashes is a
// valid file name (IsValidFileName); a final backslash is allowed.
int CheckPathSyntax(LPCTSTR pszPath);

// TRUE when the text can name a file: not empty, 1 to 256 characters before
// the first ".", at most 256 after it, every character printable or blank and
// none of the eleven characters " \ / : | < > + = ; ,
BOOL IsValidFileName(LPCTSTR pszText);

// A copy of the text without the nine characters file names cannot hold:
// " \ / : | < > * ?
CString RemoveInvalidFileChars(LPCTSTR pszText);

// TRUE when the first component after the root ("x:\" or "\\") equals, case
// aside, the name of the drives' recycle folder (resource string 4363), so
// that files landing in a recycle folder can be told from new documents.
BOOL MatchServerComponent(LPCTSTR pszPath);
