#include "store/ProtectedFile.h"

#include "platform/base/CFileException.h"
#include "platform/base/Checksum.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/HostFile.h"
#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "store/AmbiguousPaths.h"
#include "store/CatalogError.h"
#include "store/CatalogIo.h"
#include "store/PathHelpers.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/* A protected file is a header and the scrambled original bytes:

     header (PROTECTED_HEADER_SIZE bytes)   magic, version, password, length, checksum
     content (original length bytes)        original byte i XOR content key stream byte i

   The content key stream depends on the original length only, so changing
   the password rewrites the header and copies the content as it is.

   Invariants of every change:
   (1) the original file is never opened for writing; the new file is a
       temporary in the same folder, written completely and flushed, then
       renamed over the original;
   (2) any failure before the rename removes the temporary and leaves the
       original as it was;
   (3) unprotecting checks the decoded bytes against the header's length and
       checksum before the rename, so damaged content is never passed off as
       the original. */

namespace {

constexpr std::string_view MAGIC = "Archivora protected file"; // 24 bytes, no NUL
constexpr BYTE FORMAT_VERSION = 1;

// clang-format off
constexpr int OFF_MAGIC        = 0;
constexpr int OFF_VERSION      = 24; // u8
constexpr int OFF_PASSWORD_LEN = 25; // u8, 1 to MAX_FILE_PASSWORD
constexpr int OFF_PASSWORD     = 26; // MAX_FILE_PASSWORD bytes, scrambled; zeros after the password
constexpr int OFF_LENGTH       = 56; // u64: the original length
constexpr int OFF_CHECKSUM     = 64; // u32: CRC-32 of the original bytes
// clang-format on
static_assert(OFF_PASSWORD + MAX_FILE_PASSWORD == OFF_LENGTH);
static_assert(PROTECTED_MAGIC_SIZE == static_cast<int>(MAGIC.size()));
static_assert(OFF_CHECKSUM + 4 == PROTECTED_HEADER_SIZE);
static_assert(OFF_VERSION == OFF_MAGIC + static_cast<int>(MAGIC.size()));

constexpr std::uint64_t PASSWORD_SEED = 0x5A17C0DE2B4D9E61ULL;
constexpr std::uint64_t CONTENT_SEED = 0x3C6EF372FE94F82BULL;
constexpr std::size_t CHUNK_SIZE = 64 * 1024;

using Header = std::array<BYTE, PROTECTED_HEADER_SIZE>;

// A stream of scrambling bytes (splitmix64 output, eight bytes per step).
class KeyStream {
public:
    explicit KeyStream(std::uint64_t nSeed)
        : m_nState(nSeed)
    {
    }

    void Apply(std::span<BYTE> data)
    {
        for (BYTE& b : data) {
            if (m_nUsed == 8) {
                m_nWord = Next();
                m_nUsed = 0;
            }
            b ^= static_cast<BYTE>(m_nWord >> (8 * m_nUsed++));
        }
    }

private:
    std::uint64_t Next()
    {
        std::uint64_t z = (m_nState += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    std::uint64_t m_nState;
    std::uint64_t m_nWord { 0 };
    int m_nUsed { 8 };
};

// CRC-32 (the polynomial of zip and PNG), updated chunk by chunk.
class Crc32Sum {
public:
    void Update(std::span<const BYTE> data) { m_nValue = Crc32(data, m_nValue); }
    std::uint32_t Value() const { return m_nValue; }

private:
    std::uint32_t m_nValue { 0 };
};

// Reads an unsigned little-endian number of nBytes bytes.
std::uint64_t ReadU64(const Header& header, int nOffset, int nBytes = 8)
{
    std::uint64_t n = 0;
    for (int i = nBytes - 1; i >= 0; --i)
        n = (n << 8) | header[static_cast<std::size_t>(nOffset + i)];
    return n;
}

// Writes n as an unsigned little-endian number of nBytes bytes.
void WriteU64(Header& header, int nOffset, std::uint64_t n, int nBytes = 8)
{
    for (int i = 0; i < nBytes; ++i)
        header[static_cast<std::size_t>(nOffset + i)] = static_cast<BYTE>(n >> (8 * i));
}

// What the first bytes of a file say about it.
enum class FileKind { Plain, Protected, Damaged };

struct HeaderInfo {
    std::string strPassword;
    std::uint64_t nLength { 0 };
    std::uint32_t nChecksum { 0 };
};

Header BuildHeader(std::string_view password, std::uint64_t nLength, std::uint32_t nChecksum)
{
    Header header {};
    std::memcpy(header.data() + OFF_MAGIC, MAGIC.data(), MAGIC.size());
    header[OFF_VERSION] = FORMAT_VERSION;
    header[OFF_PASSWORD_LEN] = static_cast<BYTE>(password.size());
    std::memcpy(header.data() + OFF_PASSWORD, password.data(), password.size());
    KeyStream(PASSWORD_SEED).Apply(std::span<BYTE>(header.data() + OFF_PASSWORD, MAX_FILE_PASSWORD));
    WriteU64(header, OFF_LENGTH, nLength);
    WriteU64(header, OFF_CHECKSUM, nChecksum, 4);
    return header;
}

// Reads the header of a file of nFileSize bytes whose first bytes are `head`.
FileKind ParseHeader(std::span<const BYTE> head, std::uint64_t nFileSize, HeaderInfo* pInfo)
{
    std::size_t nMagic = std::min(head.size(), MAGIC.size());
    if (head.size() < MAGIC.size() || std::memcmp(head.data(), MAGIC.data(), nMagic) != 0)
        return FileKind::Plain;
    if (head.size() < static_cast<std::size_t>(PROTECTED_HEADER_SIZE))
        return FileKind::Damaged;
    Header header;
    std::memcpy(header.data(), head.data(), header.size());
    KeyStream(PASSWORD_SEED).Apply(std::span<BYTE>(header.data() + OFF_PASSWORD, MAX_FILE_PASSWORD));
    int nPasswordLength = header[OFF_PASSWORD_LEN];
    if (header[OFF_VERSION] != FORMAT_VERSION || nPasswordLength < 1 || nPasswordLength > MAX_FILE_PASSWORD)
        return FileKind::Damaged;
    for (int i = nPasswordLength; i < MAX_FILE_PASSWORD; ++i) {
        if (header[static_cast<std::size_t>(OFF_PASSWORD + i)] != 0)
            return FileKind::Damaged;
    }
    pInfo->strPassword.assign(
        reinterpret_cast<const char*>(header.data() + OFF_PASSWORD), static_cast<std::size_t>(nPasswordLength));
    pInfo->nLength = ReadU64(header, OFF_LENGTH);
    pInfo->nChecksum = static_cast<std::uint32_t>(ReadU64(header, OFF_CHECKSUM, 4));
    if (pInfo->nLength != nFileSize - PROTECTED_HEADER_SIZE)
        return FileKind::Damaged;
    return FileKind::Protected;
}

// A file read from its start, closed when the object goes.
class CReadFile {
public:
    // A PROTECT_ code.
    int Open(LPCTSTR pszPath)
    {
        if (!m_file.Open(pszPath, CHostFile::Access::Read))
            return IsMissingFileError(GetLastError()) ? PROTECT_NOT_FOUND : PROTECT_UNREADABLE;
        std::int64_t nLength = m_file.GetLength();
        if (nLength < 0)
            return PROTECT_UNREADABLE;
        m_nSize = static_cast<std::uint64_t>(nLength);
        return PROTECT_OK;
    }

    // Reads up to data.size() bytes on from the last read; the count read, or -1 on error.
    std::ptrdiff_t Read(std::span<BYTE> data)
    {
        std::size_t nDone = 0;
        while (nDone < data.size()) {
            std::int64_t n = m_file.ReadAt(m_nOffset, data.subspan(nDone));
            if (n < 0)
                return -1;
            if (n == 0)
                break;
            nDone += static_cast<std::size_t>(n);
            m_nOffset += n;
        }
        return static_cast<std::ptrdiff_t>(nDone);
    }

    std::uint64_t Size() const { return m_nSize; }

private:
    CHostFile m_file;
    std::int64_t m_nOffset { 0 };
    std::uint64_t m_nSize { 0 };
};

// The temporary that replaces a file: made beside it, removed unless committed.
class CReplacement {
public:
    explicit CReplacement(const CString& strPath)
        : m_strTarget(strPath)
    {
    }
    ~CReplacement()
    {
        if (!m_strTemp.IsEmpty()) {
            (void)m_io.Close();
            DeleteFile(m_strTemp);
        }
    }
    CReplacement(const CReplacement&) = delete;
    CReplacement& operator=(const CReplacement&) = delete;

    [[nodiscard]] bool Create()
    {
        CString strFolder, strName;
        SplitPath(m_strTarget, strFolder, strName);
        DWORD dwFolder = GetFileAttributes(strFolder.IsEmpty() ? CString(".") : strFolder);
        if (dwFolder == INVALID_FILE_ATTRIBUTES || (dwFolder & FILE_ATTRIBUTE_READONLY))
            return false;
        for (int n = 0; n < 10; ++n) {
            CString strTemp;
            strTemp.Format("%s.~pf%d", static_cast<LPCTSTR>(m_strTarget), n);
            if (m_io.CreateNew(strTemp)) {
                m_strTemp = strTemp;
                return true;
            }
            if (GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
            // A leftover of an earlier run, or someone else's file: not ours to replace.
        }
        return false;
    }

    [[nodiscard]] bool Write(std::int64_t nOffset, std::span<const BYTE> data) { return m_io.WriteAt(nOffset, data); }

    // Flushes the temporary and replaces the target with it, keeping the target's permissions.
    [[nodiscard]] bool Commit()
    {
        if (!m_io.Close() || !ReplaceFileDurably(m_strTemp, m_strTarget))
            return false;
        m_strTemp.Empty();
        return true;
    }

private:
    CString m_strTarget;
    CString m_strTemp; // empty once committed
    CCatalogIo m_io;
};

// Copies the source from nFrom to the end into the replacement from nTo,
// through `transform`, which sees each chunk before it is written; false on a
// read or write failure (*pbReadFailed tells which).
template<class Transform>
bool CopyContent(CReadFile& source, CReplacement& target, std::int64_t nTo, Transform transform, bool* pbReadFailed)
{
    std::vector<BYTE> buffer(CHUNK_SIZE);
    *pbReadFailed = false;
    for (;;) {
        std::ptrdiff_t n = source.Read(buffer);
        if (n < 0) {
            *pbReadFailed = true;
            return false;
        }
        if (n == 0)
            return true;
        std::span<BYTE> chunk(buffer.data(), static_cast<std::size_t>(n));
        transform(chunk);
        if (!target.Write(nTo, chunk))
            return false;
        nTo += n;
    }
}

int CopyFailure(bool bReadFailed)
{
    return bReadFailed ? PROTECT_UNREADABLE : PROTECT_WRITE_FAILED;
}

} // namespace

int ProtectFile(LPCTSTR pszPath, LPCTSTR pszNewPassword, LPCTSTR pszOldPassword)
{
    std::string_view newPassword(pszNewPassword ? pszNewPassword : "");
    std::string_view oldPassword(pszOldPassword ? pszOldPassword : "");
    if (newPassword.size() > static_cast<std::size_t>(MAX_FILE_PASSWORD))
        return PROTECT_BAD_PASSWORD;
    if (!pszPath || !*pszPath)
        return PROTECT_NOT_FOUND;
    if (IsPathCaseAmbiguous(pszPath))
        return PROTECT_AMBIGUOUS;
    CReadFile source;
    if (int nResult = source.Open(pszPath); nResult != PROTECT_OK)
        return nResult;
    Header head {};
    std::ptrdiff_t nHead = source.Read(head);
    if (nHead < 0)
        return PROTECT_UNREADABLE;
    HeaderInfo info;
    FileKind eKind
        = ParseHeader(std::span<const BYTE>(head.data(), static_cast<std::size_t>(nHead)), source.Size(), &info);
    if (eKind == FileKind::Damaged)
        return PROTECT_DAMAGED;
    if (eKind == FileKind::Plain && newPassword.empty())
        return PROTECT_NOT_PROTECTED;
    if (eKind == FileKind::Protected && oldPassword != info.strPassword)
        return PROTECT_BAD_PASSWORD;

    CReplacement target(pszPath);
    if (!target.Create())
        return PROTECT_WRITE_FAILED;
    bool bReadFailed = false;
    if (eKind == FileKind::Plain) {
        // The bytes read as a possible header are the start of the content.
        KeyStream key(CONTENT_SEED ^ source.Size());
        Crc32Sum crc;
        std::uint64_t nCopied = 0;
        auto scramble = [&](std::span<BYTE> chunk) {
            nCopied += chunk.size();
            crc.Update(chunk);
            key.Apply(chunk);
        };
        std::span<BYTE> first(head.data(), static_cast<std::size_t>(nHead));
        scramble(first);
        if (!target.Write(PROTECTED_HEADER_SIZE, first)
            || !CopyContent(source, target, PROTECTED_HEADER_SIZE + nHead, scramble, &bReadFailed))
            return CopyFailure(bReadFailed);
        // A file that changed size while it was copied would get a header that
        // no longer fits it, and could never be unprotected.
        if (nCopied != source.Size())
            return PROTECT_UNREADABLE;
        Header header = BuildHeader(newPassword, source.Size(), crc.Value());
        if (!target.Write(0, header))
            return PROTECT_WRITE_FAILED;
    } else if (newPassword.empty()) {
        KeyStream key(CONTENT_SEED ^ info.nLength);
        Crc32Sum crc;
        auto unscramble = [&](std::span<BYTE> chunk) {
            key.Apply(chunk);
            crc.Update(chunk);
        };
        if (!CopyContent(source, target, 0, unscramble, &bReadFailed))
            return CopyFailure(bReadFailed);
        if (crc.Value() != info.nChecksum)
            return PROTECT_DAMAGED;
    } else {
        KeyStream key(CONTENT_SEED ^ info.nLength);
        Crc32Sum crc;
        auto check = [&](std::span<BYTE> chunk) {
            std::vector<BYTE> plain(chunk.begin(), chunk.end());
            key.Apply(plain);
            crc.Update(plain);
        };
        if (!CopyContent(source, target, PROTECTED_HEADER_SIZE, check, &bReadFailed))
            return CopyFailure(bReadFailed);
        if (crc.Value() != info.nChecksum)
            return PROTECT_DAMAGED;
        if (!target.Write(0, BuildHeader(newPassword, info.nLength, info.nChecksum)))
            return PROTECT_WRITE_FAILED;
    }
    return target.Commit() ? PROTECT_OK : PROTECT_WRITE_FAILED;
}

void ReadProtectedFileHeader(LPCTSTR pszPath, CString& strPassword)
{
    if (!pszPath || !*pszPath)
        AfxThrowFileException(CFileException::badPath, ERROR_INVALID_NAME, pszPath);
    CReadFile file;
    int nResult = file.Open(pszPath);
    if (nResult != PROTECT_OK) {
        DWORD dwError = GetLastError();
        if (nResult == PROTECT_NOT_FOUND && dwError != ERROR_FILE_NOT_FOUND && dwError != ERROR_PATH_NOT_FOUND)
            AfxThrowFileException(CFileException::badPath, static_cast<LONG>(dwError), pszPath); // maps to no file
        AfxThrowFileException(
            nResult == PROTECT_NOT_FOUND ? CFileException::fileNotFound : CFileException::accessDenied, -1, pszPath);
    }
    Header head {};
    std::ptrdiff_t nHead = file.Read(head);
    HeaderInfo info;
    if (nHead < 0
        || ParseHeader(std::span<const BYTE>(head.data(), static_cast<std::size_t>(nHead)), file.Size(), &info)
            != FileKind::Protected)
        AfxThrowFileException(CFileException::invalidFile, -1, pszPath);
    strPassword = CString(info.strPassword.data(), static_cast<int>(info.strPassword.size()));
}

BOOL IsProtectedFile(LPCTSTR pszPath)
{
    try {
        CString strPassword;
        ReadProtectedFileHeader(pszPath, strPassword);
        return TRUE;
    } catch (CFileException* pException) {
        pException->Delete();
        return FALSE;
    }
}

BOOL StartsAsProtectedFile(const BYTE* pHead, int nSize)
{
    return pHead != nullptr && nSize >= PROTECTED_MAGIC_SIZE && std::memcmp(pHead, MAGIC.data(), MAGIC.size()) == 0;
}

BOOL IsProtectedHeader(std::span<const BYTE> head, std::uint64_t nFileSize)
{
    HeaderInfo info;
    return ParseHeader(head, nFileSize, &info) == FileKind::Protected ? TRUE : FALSE;
}

CString FormatProtectError(LPCTSTR pszPath, int nCode)
{
    const char* pszFormat = nullptr;
    switch (nCode) {
    case PROTECT_OK:
        return CString();
    case PROTECT_BAD_PASSWORD:
        pszFormat = "The password for %s is not correct.";
        break;
    case PROTECT_NOT_PROTECTED:
        pszFormat = "%s is not protected.";
        break;
    case PROTECT_UNREADABLE:
        pszFormat = "%s cannot be read.";
        break;
    case PROTECT_NOT_FOUND:
        pszFormat = "%s cannot be found.";
        break;
    case PROTECT_WRITE_FAILED:
        pszFormat = "%s could not be written. The document was left unchanged.";
        break;
    case PROTECT_DAMAGED:
        pszFormat = "%s is damaged: its protection cannot be removed.";
        break;
    case PROTECT_AMBIGUOUS:
        return FormatAmbiguousPath(pszPath);
    default:
        pszFormat = "The protection of %s could not be changed.";
        break;
    }
    CString strText;
    strText.Format(pszFormat, pszPath ? pszPath : "");
    return strText;
}

void ReportProtectError(LPCTSTR pszPath, int nCode)
{
    if (nCode == PROTECT_OK)
        return;
    ReportStoreMessage(pszPath, FormatProtectError(pszPath, nCode), "Protected document", STORE_MESSAGE_WARNING_STYLE);
}
