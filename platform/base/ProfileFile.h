#pragma once

// Profile (.ini) files: sections of "key=value" lines.
//
// Section and key names are case-insensitive. A value is read with the blanks
// around it removed and, when it is enclosed in a pair of double or single
// quotes, without them. A rewrite changes only the lines it must: comments
// (';' lines), blank lines and the order and spelling of everything else stay as
// they were. Files are replaced atomically (temporary file, fsync, rename).
//
// A file name without a folder names a file in the program folder, which plays
// the part of the Windows directory; any other name is a program path. The
// Profile calls without "Private" work on "win.ini" there.

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

/* Reading. */

// The value of `lpKeyName` in `lpAppName`, or `lpDefault` (trailing blanks
// removed; NULL is "") when there is none, copied into the buffer of `nSize`
// characters. With `lpAppName` NULL the buffer receives every section name, with
// `lpKeyName` NULL every key of the section: each name NUL-terminated, then one
// more NUL. Returns the characters copied without the final NUL; a value that
// does not fit is cut and nSize - 1 returned, a list that does not fit is cut
// and ends in two NULs and nSize - 2 is returned.
DWORD GetPrivateProfileString(
    LPCTSTR lpAppName, LPCTSTR lpKeyName, LPCTSTR lpDefault, LPTSTR lpReturnedString, DWORD nSize, LPCTSTR lpFileName);
DWORD GetProfileString(LPCTSTR lpAppName, LPCTSTR lpKeyName, LPCTSTR lpDefault, LPTSTR lpReturnedString, DWORD nSize);

// The number the value starts with (leading digits, after an optional '-'), or
// `nDefault` when the key is missing or its value starts with no digit.
UINT GetPrivateProfileInt(LPCTSTR lpAppName, LPCTSTR lpKeyName, INT nDefault, LPCTSTR lpFileName);
UINT GetProfileInt(LPCTSTR lpAppName, LPCTSTR lpKeyName, INT nDefault);

// Every line of the section other than comments, "key=value" for keys, as a
// NUL-separated list like the key list of GetPrivateProfileString.
DWORD GetPrivateProfileSection(LPCTSTR lpAppName, LPTSTR lpReturnedString, DWORD nSize, LPCTSTR lpFileName);

/* Writing. Each returns FALSE with the last error set when the file cannot be written. */

// Sets the key, creating the section and file as needed. A NULL `lpString`
// deletes the key, a NULL `lpKeyName` the whole section. All three NULL only
// flushes, which is a no-op since every write reaches the file at once.
BOOL WritePrivateProfileString(LPCTSTR lpAppName, LPCTSTR lpKeyName, LPCTSTR lpString, LPCTSTR lpFileName);
BOOL WriteProfileString(LPCTSTR lpAppName, LPCTSTR lpKeyName, LPCTSTR lpString);

// Replaces the lines of the section with the NUL-separated, double-NUL-ended
// "key=value" list `lpString`; NULL deletes the section.
BOOL WritePrivateProfileSection(LPCTSTR lpAppName, LPCTSTR lpString, LPCTSTR lpFileName);

/* The parsed form of one profile file, exposed for the fuzz target and tests. */

class CProfileDocument {
public:
    // Any text parses: lines that are not sections or entries are kept as they are.
    explicit CProfileDocument(std::string_view text = {});

    // The text again; unchanged documents give back exactly the text they came from.
    std::string Format() const;

    std::vector<std::string> GetSectionNames() const;
    // False when the section does not exist.
    bool GetKeyNames(std::string_view strSection, std::vector<std::string>& keys) const;
    bool GetSectionLines(std::string_view strSection, std::vector<std::string>& lines) const;
    // The raw value (blanks around it removed, quotes kept) of the first such key.
    const std::string* FindValue(std::string_view strSection, std::string_view strKey) const;

    void SetValue(std::string_view strSection, std::string_view strKey, std::string_view strValue);
    void DeleteKey(std::string_view strSection, std::string_view strKey);
    void DeleteSection(std::string_view strSection);
    void ReplaceSection(std::string_view strSection, const std::vector<std::string>& lines);

private:
    struct CLine {
        std::string strRaw;   // the line as written, without its '\n'
        std::string strKey;   // for "key=value" lines: the trimmed key, else empty
        std::string strValue; // for "key=value" lines: the trimmed value
        bool bEntry { false };
    };
    struct CSection {
        std::string strName;      // trimmed, as written
        std::vector<CLine> lines; // the header line first
    };

    CSection* FindSection(std::string_view strSection);
    const CSection* FindSection(std::string_view strSection) const;
    CSection& AddSection(std::string_view strSection);
    static CLine MakeEntry(std::string_view strKey, std::string_view strValue);

    std::vector<CLine> m_preamble; // lines before the first section
    std::vector<CSection> m_sections;
    std::string m_strNewline { "\n" }; // what new lines end with: the file's own style
    bool m_bFinalNewline { true };     // whether the text ended with a newline
};
