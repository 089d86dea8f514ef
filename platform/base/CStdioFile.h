#pragma once

// A CFile for text: reads lines ending in "\n" or "\r\n", and writes text as given
// (no line-end translation: "\n" stays "\n", so files written here are host text
// files and files from elsewhere read the same). Read and Write move raw bytes.

#include "platform/base/CFile.h"

#include <vector>

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)

public:
    CStdioFile() = default;
    // Opens the file or throws CFileException.
    CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);

    // The next line without its line end; FALSE at the end of the file with nothing read.
    virtual BOOL ReadString(CString& rString);
    // The next line into lpsz, at most nMax - 1 bytes plus a NUL, ending in "\n" when
    // the line end fitted ("\r\n" is stored as "\n"). A longer line is continued by the
    // next call (see ReadTextLineInto). nullptr at the end of the file.
    virtual LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
    // Writes the text without a terminating NUL; nullptr throws CFileException.
    virtual void WriteString(LPCTSTR lpsz);

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

private:
    static constexpr UINT READ_AHEAD_SIZE = 4096;

    // The next byte of the file without consuming it, or -1 at the end.
    int PeekByte();
    // Gives back the bytes read ahead, so that the file pointer is where the caller left off.
    void DropReadAhead();

    std::vector<BYTE> m_readAhead;
    std::size_t m_nReadAheadPos { 0 }; // next unread byte of m_readAhead
};
