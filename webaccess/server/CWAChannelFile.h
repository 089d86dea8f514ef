#pragma once

// A file of one socket-channel exchange: created new (never over an existing
// file) and written in order, or opened to be read and sent. Closed by the
// destructor; errors are reported, never thrown.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CWAChannelFile {
public:
    CWAChannelFile() = default;
    ~CWAChannelFile();
    CWAChannelFile(const CWAChannelFile&) = delete;
    CWAChannelFile& operator=(const CWAChannelFile&) = delete;

    // FALSE when the name exists (GetLastError: ERROR_FILE_EXISTS) or the
    // file cannot be made.
    BOOL CreateNew(LPCTSTR pszPath);
    BOOL OpenRead(LPCTSTR pszPath);
    // TRUE when every byte was written.
    BOOL Write(const void* pBuffer, UINT nCount);
    // The bytes read, 0 at the end, -1 on an error.
    int Read(void* pBuffer, UINT nCount);
    void Close();
    bool IsOpen() const { return m_hFile != nullptr; }

private:
    HANDLE m_hFile { nullptr }; // null when closed
};
