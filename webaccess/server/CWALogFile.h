#pragma once

// The service log's file: lines appended one at a time, readable by the user
// alone and kept to a bounded size. When a line would take the file past
// MAX_SIZE, the file is renamed to the same name with the extension ".OLD"
// (replacing an older one) and a new file begins, so the two together hold at
// most about twice MAX_SIZE. Opening, writing and closing for each line keeps
// the file whole whenever the program stops.

#include "platform/base/CString.h"

class CWALogFile {
public:
    static constexpr DWORD MAX_SIZE = 1024 * 1024; // bytes of one file

    // The log's program path; empty writes nothing.
    void SetPath(const CString& strPath);
    const CString& GetPath() const { return m_strPath; }
    // The older lines' file: the path with its extension replaced by ".OLD".
    CString GetOldPath() const;

    // Appends the line and "\r\n". FALSE when the file could not be written;
    // the caller goes on without it.
    BOOL Append(const CString& strLine);

private:
    CString m_strPath;
    bool m_bRestricted { false }; // the file was made the user's alone in this run
};
