#pragma once

// Unpacks the first entry of an uploaded zip archive into a new file, a
// slice at a time so that a large upload never holds up the message loop.
// The entry's name is never used as a path; a directory, a link, an
// encrypted entry or an unknown method is refused (CZipReader). The output
// fails once it passes its limit, so a small archive cannot fill the disk.

#include "platform/base/ZipReader.h"
#include "webaccess/server/CWAChannelFile.h"

class CWAUnzipReader {
public:
    enum class Step {
        More,   // call Continue again
        Done,   // the whole entry is in the target, which is closed
        Failed, // a damaged archive, the limit passed or a write failed
    };

    // The bytes an output may hold when the upload announced no size.
    static constexpr ULONGLONG MAX_OUTPUT = 0x7FFFFFFF;

    // Opens the archive's first entry and creates the target (never over an
    // existing file). FALSE when either fails; nothing is left open then.
    BOOL Open(LPCTSTR pszArchive, LPCTSTR pszTarget, ULONGLONG nLimit);
    // Unpacks about nMaxBytes more.
    Step Continue(ULONGLONG nMaxBytes);
    void Close();

private:
    CZipReader m_zip;
    CWAChannelFile m_target;
    ULONGLONG m_nLimit { 0 };
    ULONGLONG m_nWritten { 0 };
};

// Unpacks the whole entry at once; TRUE when it is complete in pszTarget.
BOOL UnzipToFile(LPCTSTR pszArchive, LPCTSTR pszTarget, ULONGLONG nLimit = CWAUnzipReader::MAX_OUTPUT);
