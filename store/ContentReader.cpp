#include "store/ContentReader.h"

#include "platform/base/CodePages.h"
#include "platform/base/HostFile.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "store/HtmlText.h"
#include "store/ProtectedFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace {

struct HeldPicture {
    CString strPath;
    CString strFormat;
};

// One picture per thread: the web service and the window reads never see each other's.
thread_local HeldPicture t_picture;

// The content of the file that decides what it is: at least enough for the
// longest signature, and for UTF-16 twice the buffer.
std::size_t SampleSize(int nSize)
{
    return std::max<std::size_t>(PROTECTED_HEADER_SIZE, 2 * static_cast<std::size_t>(nSize) + 4);
}

bool StartsWith(std::string_view data, std::string_view prefix)
{
    return data.substr(0, prefix.size()) == prefix;
}

// The extension of the file at pszPath: after the last dot of its name; empty without one.
std::string_view ExtensionOf(LPCTSTR pszPath)
{
    std::string_view strName(pszPath != nullptr ? pszPath : "");
    strName.remove_prefix(strName.rfind('\\') == std::string_view::npos ? 0 : strName.rfind('\\') + 1);
    const std::size_t nDot = strName.rfind('.');
    return nDot == std::string_view::npos ? std::string_view() : strName.substr(nDot + 1);
}

// Whether the file at pszPath has the extension pszExtension, in any case.
bool HasExtension(LPCTSTR pszPath, LPCTSTR pszExtension)
{
    return CString(std::string(ExtensionOf(pszPath)).c_str()).CompareNoCase(pszExtension) == 0;
}

// The format word of a picture recognised by its first bytes; null for none.
// Bitmaps and icons have short signatures that plain data may share, so they
// also need their usual extension (of the file at pszPath).
const char* PictureFormat(std::string_view data, LPCTSTR pszPath)
{
    using namespace std::string_view_literals;
    if (StartsWith(data, "\x89PNG\r\n\x1A\n"sv))
        return "png";
    if (StartsWith(data, "\xFF\xD8\xFF"sv))
        return "jpg";
    if (StartsWith(data, "GIF87a"sv) || StartsWith(data, "GIF89a"sv))
        return "gif";
    if (StartsWith(data, "II*\0"sv) || StartsWith(data, "MM\0*"sv))
        return "tif";
    if (data.size() >= 12 && StartsWith(data, "RIFF"sv) && data.substr(8, 4) == "WEBP"sv)
        return "webp";
    if (StartsWith(data, "BM"sv) && (HasExtension(pszPath, "bmp") || HasExtension(pszPath, "dib")))
        return "bmp";
    if (StartsWith(data, "\0\0\1\0"sv) && HasExtension(pszPath, "ico"))
        return "ico";
    return nullptr;
}

// The text of UTF-16 bytes in the given byte order; an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view data, bool bBigEndian)
{
    std::u16string strUnits(data.size() / 2, u'\0');
    for (std::size_t i = 0; i < strUnits.size(); ++i) {
        auto b0 = static_cast<BYTE>(data[2 * i]), b1 = static_cast<BYTE>(data[2 * i + 1]);
        strUnits[i] = static_cast<char16_t>(bBigEndian ? b0 << 8 | b1 : b1 << 8 | b0);
    }
    return Utf8FromUtf16(strUnits);
}

constexpr char16_t REPLACEMENT = 0xFFFD;

// The Windows Western code page: Latin-1 with printable characters in 0x80 to 0x9F.
std::string Cp1252ToUtf8(std::string_view data)
{
    static constexpr std::array<char16_t, 32> s_high = { 0x20AC, REPLACEMENT, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
        0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, REPLACEMENT, 0x017D, REPLACEMENT, REPLACEMENT, 0x2018, 0x2019,
        0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, REPLACEMENT, 0x017E, 0x0178 };
    std::u16string strUnits;
    strUnits.reserve(data.size());
    for (char ch : data) {
        auto b = static_cast<BYTE>(ch);
        strUnits += b >= 0x80 && b < 0xA0 ? s_high[b - 0x80] : char16_t { b };
    }
    return Utf8FromUtf16(strUnits);
}

// True when the bytes are well-formed UTF-8, allowing a sequence cut off by the
// end of the sample.
bool IsUtf8(std::string_view data, bool bSampleCut)
{
    std::size_t i = 0;
    while (i < data.size()) {
        auto b = static_cast<BYTE>(data[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t nLength = (b >> 5) == 0x06 ? 2 : (b >> 4) == 0x0E ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        if (nLength == 0 || (nLength == 2 && b < 0xC2))
            return false;
        if (i + nLength > data.size())
            return bSampleCut;
        if (Utf8CharLength(data, i) != nLength)
            return false;
        i += nLength;
    }
    return true;
}

// Binary data: NUL bytes, or more than one control character in 16 that text does not use.
bool LooksBinary(std::string_view data)
{
    std::size_t nControls = 0;
    for (char ch : data) {
        auto b = static_cast<BYTE>(ch);
        if (b == 0)
            return true;
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != '\v' && b != 0x1B)
            ++nControls;
    }
    return nControls * 16 > data.size();
}

// The text of an HTML document's bytes: in the character set it declares, else
// UTF-8 when they are, else the Windows Western code page.
std::string HtmlDocumentText(std::string_view data, bool bSampleCut)
{
    const std::string strCharset = HtmlDeclaredCharset(data);
    std::string strDecoded;
    if (strCharset == "utf-8" || strCharset == "utf8" || (strCharset.empty() && IsUtf8(data, bSampleCut)))
        strDecoded = data;
    else if (strCharset.empty() || strCharset == "iso-8859-1" || strCharset == "latin1" || strCharset == "us-ascii"
        || strCharset == "windows-1252")
        strDecoded = Cp1252ToUtf8(data);
    else if (!Utf8FromCharset(data, strCharset, strDecoded))
        strDecoded = IsUtf8(data, bSampleCut) ? std::string(data) : Cp1252ToUtf8(data);
    return HtmlToText(strDecoded);
}

// Copies the NUL-terminated text pszText into the buffer.
int CopyText(char* pszBuffer, int nSize, LPCSTR pszText, int nCode)
{
    Utf8CopyToField(pszBuffer, static_cast<std::size_t>(nSize), pszText, FieldEnd::NulTerminated);
    return pszBuffer[0] ? nCode : CONTENT_EMPTY;
}

// The code of a file that did not open.
int OpenFailure()
{
    return IsMissingFileError(GetLastError()) ? CONTENT_NOT_FOUND : CONTENT_UNREADABLE;
}

// The samples of this thread, kept from one read to the next: a sample then
// costs no allocation, nor the clearing of bytes it reads over at once.
thread_local std::string t_sample;

// Reads up to nMax bytes of the file just opened into sample (this thread's
// buffer, NUL-terminated after them, valid until its next read), and its
// length into *pnLength; a CONTENT_ code for a failure, or 0.
int ReadSample(const CHostFile& file, std::size_t nMax, std::string_view& sample, std::uint64_t* pnLength)
{
    std::int64_t nLength = file.GetLengthAtOpen();
    if (nLength < 0)
        return CONTENT_UNREADABLE;
    *pnLength = static_cast<std::uint64_t>(nLength);
    const std::size_t nWanted = std::min<std::size_t>(nMax, static_cast<std::size_t>(nLength));
    if (t_sample.size() < nWanted + 1)
        t_sample.resize(nWanted + 1);
    std::size_t nDone = 0;
    while (nDone < nWanted) {
        std::int64_t n = file.ReadAt(static_cast<std::int64_t>(nDone),
            std::span(reinterpret_cast<BYTE*>(t_sample.data()) + nDone, nWanted - nDone));
        if (n < 0)
            return CONTENT_UNREADABLE;
        if (n == 0)
            break;
        nDone += static_cast<std::size_t>(n);
    }
    t_sample[nDone] = '\0';
    sample = std::string_view(t_sample.data(), nDone);
    return 0;
}

// What the open file at pszPath holds, into pszBuffer (nSize bytes, at least 1).
int ReadOpenFileContent(const CHostFile& file, LPCTSTR pszPath, char* pszBuffer, int nSize)
{
    std::string_view sample;
    std::uint64_t nLength = 0;
    if (int nResult = ReadSample(file, SampleSize(nSize), sample, &nLength); nResult != 0)
        return nResult;
    if (sample.empty())
        return CONTENT_EMPTY;
    const bool bCut = nLength > sample.size();

    if (const char* pszFormat = PictureFormat(sample, pszPath)) {
        t_picture = { pszPath, pszFormat };
        return CONTENT_PICTURE;
    }
    if (IsProtectedHeader(std::span(reinterpret_cast<const BYTE*>(sample.data()), sample.size()), nLength))
        return CONTENT_PROTECTED_FILE;
    using namespace std::string_view_literals;
    std::string_view data = sample;
    const std::string_view strExtensionView = ExtensionOf(pszPath);
    if (StartsWith(data, "\xFF\xFE"sv) || StartsWith(data, "\xFE\xFF"sv)) {
        std::string strText = Utf16ToUtf8(data.substr(2), data[0] == '\xFE');
        if (IsHtmlDocument(strExtensionView, strText))
            strText = HtmlToText(strText);
        return CopyText(pszBuffer, nSize, strText.c_str(), CONTENT_CONVERTED_TEXT);
    }
    if (StartsWith(data, "\xEF\xBB\xBF"sv))
        data.remove_prefix(3);
    // A PDF written without compressed streams is all text, but its page
    // description language, not the document's words.
    if (LooksBinary(data) || StartsWith(data, "%PDF-"sv))
        return CONTENT_NO_PREVIEW;
    if (IsHtmlDocument(strExtensionView, data))
        return CopyText(pszBuffer, nSize, HtmlDocumentText(data, bCut).c_str(), CONTENT_CONVERTED_TEXT);
    // Text has no NUL, and data ends where the NUL-terminated sample does.
    if (IsUtf8(data, bCut))
        return CopyText(pszBuffer, nSize, data.data(), CONTENT_TEXT);
    return CopyText(pszBuffer, nSize, Cp1252ToUtf8(data).c_str(), CONTENT_CONVERTED_TEXT);
}

} // namespace

int ReadFileContent(LPCTSTR pszPath, char* pszBuffer, int nSize)
{
    t_picture = {};
    if (!pszBuffer || nSize < 1)
        return CONTENT_EMPTY;
    pszBuffer[0] = '\0';
    if (!pszPath || !*pszPath)
        return CONTENT_NOT_FOUND;
    CHostFile file;
    if (!file.Open(pszPath, CHostFile::Access::Read))
        return OpenFailure();
    return ReadOpenFileContent(file, pszPath, pszBuffer, nSize);
}

int ReadListedFileContent(
    const CListedFolder& folder, const std::string& strName, LPCTSTR pszPath, char* pszBuffer, int nSize)
{
    t_picture = {};
    if (!pszBuffer || nSize < 1)
        return CONTENT_EMPTY;
    pszBuffer[0] = '\0';
    CHostFile file;
    if (!file.OpenIn(folder, strName, CHostFile::Access::Read))
        return OpenFailure();
    return ReadOpenFileContent(file, pszPath, pszBuffer, nSize);
}

BOOL GetContentPicture(CString& strPath, CString& strFormat)
{
    strPath = t_picture.strPath;
    strFormat = t_picture.strFormat;
    return !strPath.IsEmpty();
}
