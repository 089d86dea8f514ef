#pragma once

// A store file named by its program path, read and written at explicit offsets.
// The mail readers reach the file system only through this class, so a file
// layer with other means of access can take its place without touching them.
// Offsets and counts are bytes; failures set errno-derived last errors.

#include "platform/base/CString.h"
#include "platform/base/HostFile.h"
#include "platform/base/WinTypes.h"

#include <cstdint>

class CMailFile {
public:
    enum class Access { Read, ReadWrite };

    CMailFile() = default;
    ~CMailFile();
    CMailFile(const CMailFile&) = delete;
    CMailFile& operator=(const CMailFile&) = delete;

    // Opens the file at a program path; FALSE when it cannot be opened or is not a regular file.
    BOOL Open(LPCTSTR pszProgramPath, Access eAccess = Access::Read);
    // Creates and opens for writing a new file named pszPath + pszInfix + six unique characters.
    BOOL CreateUnique(LPCTSTR pszPath, LPCTSTR pszInfix);
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }
    const CString& GetPath() const { return m_strPath; }

    // The current length of the file, 0 when it is not open.
    uint64_t GetLength() const;

    // Reads up to nCount bytes at an offset; the count read, 0 at the end, -1 on failure.
    [[nodiscard]] int64_t ReadAt(uint64_t nOffset, void* pBuffer, size_t nCount) const;
    // Reads exactly nCount bytes; false when the file ends first or a read fails.
    [[nodiscard]] bool ReadExactAt(uint64_t nOffset, void* pBuffer, size_t nCount) const;
    // Writes all nCount bytes at an offset; false on failure.
    [[nodiscard]] bool WriteAt(uint64_t nOffset, const void* pBuffer, size_t nCount);
    // Flushes the written data to the disk.
    [[nodiscard]] bool Sync();

private:
    CHostFile m_file;
    CString m_strPath;
};

// A temporary file beside a store file, open for writing, removed when the object
// goes unless Commit() renamed it over the store. Reorganisations write here, so a
// stop or a failure leaves the store untouched.
class CMailTempFile {
public:
    explicit CMailTempFile(LPCTSTR pszStorePath);
    ~CMailTempFile();
    CMailTempFile(const CMailTempFile&) = delete;
    CMailTempFile& operator=(const CMailTempFile&) = delete;

    bool IsOpen() const { return m_file.IsOpen(); }
    CMailFile& File() { return m_file; }
    // Flushes the file and replaces the store with it durably, keeping the
    // store's permissions; false on failure.
    [[nodiscard]] bool Commit();

private:
    CMailFile m_file;
    CString m_strStorePath;
    CString m_strTempPath; // empty when there is nothing to remove
};

// Little-endian 32-bit values, as every binary store keeps them.
inline uint32_t MailGetU32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void MailPutU32(unsigned char* p, uint32_t n)
{
    p[0] = static_cast<unsigned char>(n);
    p[1] = static_cast<unsigned char>(n >> 8);
    p[2] = static_cast<unsigned char>(n >> 16);
    p[3] = static_cast<unsigned char>(n >> 24);
}
