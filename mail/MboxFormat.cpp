#include "mail/MboxFormat.h"

#include "mail/MailResult.h"
#include "store/DateHelpers.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <strings.h>
#include <vector>

namespace {

constexpr size_t MBOX_READ_CHUNK = size_t(1024) * 1024;
// What is read after a message to see the separator that follows it: its line and the header line after it.
constexpr size_t MBOX_SEPARATOR_LOOKAHEAD = 4096;

// The line starting at nPos, without its line break; npos for nEnd when the
// buffer holds no complete line there.
std::string_view LineAt(std::string_view buffer, size_t nPos, size_t& nNext)
{
    size_t nBreak = buffer.find('\n', nPos);
    if (nBreak == std::string_view::npos) {
        nNext = std::string_view::npos;
        return buffer.substr(nPos);
    }
    nNext = nBreak + 1;
    size_t nLength = nBreak - nPos;
    if (nLength > 0 && buffer[nBreak - 1] == '\r')
        --nLength;
    return buffer.substr(nPos, nLength);
}

enum class Separator { Yes, No, NeedMore };

// Whether the text after "From " looks like a separator's: nothing (bare
// separators), "-" (Netscape), or a sender and a date with a time of day.
bool IsSeparatorText(std::string_view rest)
{
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t'))
        rest.remove_suffix(1);
    if (rest.empty() || rest[0] == '-')
        return true;
    for (size_t i = 1; i + 2 < rest.size(); ++i) {
        auto IsDigit = [](char ch) { return ch >= '0' && ch <= '9'; };
        if (rest[i] == ':' && IsDigit(rest[i - 1]) && IsDigit(rest[i + 1]) && IsDigit(rest[i + 2]))
            return true;
    }
    return false;
}

// Whether the "From " line at nPos separates messages: it must look like a
// separator and its next line must be a header field. bAtEnd says the buffer holds the rest of the file.
Separator IsSeparatorAt(std::string_view buffer, size_t nPos, bool bAtEnd)
{
    if (buffer.compare(nPos, 5, "From ") != 0)
        return buffer.size() - nPos < 5 && !bAtEnd ? Separator::NeedMore : Separator::No;
    size_t nNext = 0;
    std::string_view line = LineAt(buffer, nPos, nNext);
    if (nNext == std::string_view::npos)
        return bAtEnd ? Separator::No : Separator::NeedMore;
    if (!IsSeparatorText(line.substr(5)))
        return Separator::No;
    size_t nAfter = 0;
    std::string_view header = LineAt(buffer, nNext, nAfter);
    if (nAfter == std::string_view::npos && !bAtEnd)
        return Separator::NeedMore;
    return IsMboxHeaderLine(header) ? Separator::Yes : Separator::No;
}

// Appends up to nWant bytes of the file at nOffset; false when a read fails.
bool Append(const CMailFile& file, uint64_t nOffset, size_t nWant, std::string& buffer)
{
    size_t nOld = buffer.size();
    buffer.resize(nOld + nWant);
    int64_t n = file.ReadAt(nOffset, buffer.data() + nOld, nWant);
    if (n < 0) {
        buffer.resize(nOld);
        return false;
    }
    buffer.resize(nOld + static_cast<size_t>(n));
    return true;
}

} // namespace

bool IsMboxHeaderLine(std::string_view line)
{
    size_t i = 0;
    while (i < line.size() && line[i] > ' ' && line[i] < 127 && line[i] != ':')
        ++i;
    return i > 0 && i < line.size() && line[i] == ':';
}

int ReadMboxEntry(const CMailFile& file, uint64_t nPosition, CMboxEntry& entry, CMboxReadAhead& readAhead)
{
    uint64_t nLength = file.GetLength();
    if (nPosition >= nLength)
        return MAIL_END;

    // The read-ahead serves the walk while the file keeps its length and the
    // position lies in what it holds.
    if (readAhead.nFileLength != nLength || nPosition < readAhead.nBase
        || nPosition > readAhead.nBase + readAhead.bytes.size()) {
        readAhead.bytes.clear();
        readAhead.nBase = nPosition;
        readAhead.nFileLength = nLength;
    }
    size_t nOrigin = static_cast<size_t>(nPosition - readAhead.nBase);
    // `buffer` shows the file from nPosition on, as far as it has been read.
    std::string_view buffer = std::string_view(readAhead.bytes).substr(nOrigin);
    auto bAtEnd = [&] { return readAhead.nBase + readAhead.bytes.size() >= nLength; };
    auto ReadMore = [&]() -> int {
        if (bAtEnd())
            return MAIL_END;
        if (buffer.size() >= MAIL_MAX_MESSAGE_BYTES)
            return MAIL_ERR_FORMAT;
        // What lies before this message goes, once per read.
        readAhead.bytes.erase(0, nOrigin);
        readAhead.nBase += nOrigin;
        nOrigin = 0;
        uint64_t nNext = readAhead.nBase + readAhead.bytes.size();
        size_t nWant
            = static_cast<size_t>(std::min<uint64_t>(std::max(MBOX_READ_CHUNK, buffer.size()), nLength - nNext));
        bool bRead = Append(file, nNext, nWant, readAhead.bytes);
        buffer = std::string_view(readAhead.bytes);
        return bRead ? MAIL_OK : MAIL_ERR_FILE;
    };
    if (buffer.empty()) {
        if (int nResult = ReadMore(); nResult != MAIL_OK)
            return nResult;
    }

    size_t nStart = 0;
    if (nPosition == 0 && buffer.compare(0, 3, "\xEF\xBB\xBF") == 0)
        nStart = 3;

    // The message's own separator, or at the start of the file a bare header.
    size_t nHeader = 0;
    for (;;) {
        Separator eSeparator = IsSeparatorAt(buffer, nStart, bAtEnd());
        if (eSeparator == Separator::NeedMore) {
            int nResult = ReadMore();
            if (nResult == MAIL_ERR_FILE || nResult == MAIL_ERR_FORMAT)
                return nResult;
            continue;
        }
        size_t nNext = 0;
        std::string_view line = LineAt(buffer, nStart, nNext);
        if (eSeparator == Separator::Yes) {
            nHeader = nNext;
            break;
        }
        if (nPosition == 0 && IsMboxHeaderLine(line)) {
            nHeader = nStart;
            break;
        }
        return MAIL_ERR_FORMAT;
    }

    // The end: the next separator line, or the end of the file.
    size_t nSearch = nHeader;
    size_t nEnd = 0;
    for (;;) {
        const char* pFound = nSearch < buffer.size()
            ? static_cast<const char*>(memmem(buffer.data() + nSearch, buffer.size() - nSearch, "\nFrom ", 6))
            : nullptr;
        if (pFound == nullptr) {
            // Keep the last few bytes in the search: a "\nFrom " may straddle the read.
            size_t nKeep = buffer.size() > 5 ? buffer.size() - 5 : 0;
            int nResult = ReadMore();
            if (nResult == MAIL_END) {
                nEnd = buffer.size();
                break;
            }
            if (nResult != MAIL_OK)
                return nResult;
            nSearch = std::max(nSearch, nKeep);
            continue;
        }
        size_t nCandidate = static_cast<size_t>(pFound - buffer.data()) + 1;
        Separator eSeparator = IsSeparatorAt(buffer, nCandidate, bAtEnd());
        if (eSeparator == Separator::NeedMore) {
            int nResult = ReadMore();
            if (nResult == MAIL_ERR_FILE || nResult == MAIL_ERR_FORMAT)
                return nResult;
            continue;
        }
        if (eSeparator == Separator::Yes) {
            nEnd = nCandidate;
            break;
        }
        nSearch = nCandidate;
    }

    entry.nSeparator = nPosition + nStart;
    entry.nStart = nPosition + nHeader;
    entry.nEnd = nPosition + nEnd;
    entry.strBytes.assign(buffer.substr(nHeader, nEnd - nHeader));
    FindMozillaStatus(entry.strBytes, entry.nStatus);
    entry.tSeparatorDate = nHeader > nStart ? MboxSeparatorDate(buffer.substr(nStart, nHeader - nStart)) : 0;
    return MAIL_OK;
}

namespace {

// The words of a line, split at blanks.
std::vector<std::string_view> SplitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t nPos = 0;
    while (nPos < line.size()) {
        const size_t nStart = line.find_first_not_of(" \t\r\n", nPos);
        if (nStart == std::string_view::npos)
            break;
        const size_t nEnd = std::min(line.find_first_of(" \t\r\n", nStart), line.size());
        words.push_back(line.substr(nStart, nEnd - nStart));
        nPos = nEnd;
    }
    return words;
}

// The number a word of digits gives, -1 when it holds anything else or is empty.
int DigitsValue(std::string_view word)
{
    if (word.empty() || word.size() > 6)
        return -1;
    int nValue = 0;
    for (char ch : word) {
        if (ch < '0' || ch > '9')
            return -1;
        nValue = nValue * 10 + (ch - '0');
    }
    return nValue;
}

// 1 to 12 for an English month abbreviation, 0 otherwise.
int MonthOf(std::string_view word)
{
    static constexpr std::string_view MONTHS[]
        = { "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec" };
    if (word.size() != 3)
        return 0;
    std::string strLower(word);
    for (char& ch : strLower)
        ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    for (size_t i = 0; i < std::size(MONTHS); ++i) {
        if (MONTHS[i] == strLower)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// Seconds of a time of day "hh:mm" or "hh:mm:ss", -1 when the word is none.
int SecondsOfDay(std::string_view word)
{
    int nParts[3] = { 0, 0, 0 };
    int nCount = 0;
    for (size_t nPos = 0; nCount < 3;) {
        const size_t nColon = std::min(word.find(':', nPos), word.size());
        nParts[nCount++] = DigitsValue(word.substr(nPos, nColon - nPos));
        if (nColon == word.size())
            break;
        nPos = nColon + 1;
    }
    if (nCount < 2 || nParts[0] < 0 || nParts[0] > 23 || nParts[1] < 0 || nParts[1] > 59 || nParts[2] < 0
        || nParts[2] > 60)
        return -1;
    return nParts[0] * 3600 + nParts[1] * 60 + nParts[2];
}

// The offset east of UTC, in seconds, of a numeric zone "+hhmm" or "-hhmm"; nullopt otherwise.
std::optional<int> ZoneOffset(std::string_view word)
{
    if (word.size() != 5 || (word[0] != '+' && word[0] != '-'))
        return std::nullopt;
    const int nValue = DigitsValue(word.substr(1));
    if (nValue < 0 || nValue % 100 > 59)
        return std::nullopt;
    const int nSeconds = (nValue / 100) * 3600 + (nValue % 100) * 60;
    return word[0] == '-' ? -nSeconds : nSeconds;
}

} // namespace

time_t MboxSeparatorDate(std::string_view line)
{
    if (!line.starts_with("From ") || line.size() > MBOX_MAX_SEPARATOR_LINE)
        return 0;
    const std::vector<std::string_view> words = SplitWords(line.substr(5));
    // Month, day and time of day, then the year within the next two words.
    for (size_t i = 0; i + 3 < words.size(); ++i) {
        const int nMonth = MonthOf(words[i]);
        const int nDay = DigitsValue(words[i + 1]);
        const int nSeconds = SecondsOfDay(words[i + 2]);
        if (nMonth == 0 || nDay < 1 || nDay > 31 || nSeconds < 0)
            continue;
        int nZone = 0;
        for (size_t j = i + 3; j < words.size() && j <= i + 4; ++j) {
            const int nYear = DigitsValue(words[j]);
            if (nYear < 1970 || nYear > 9999 || words[j].size() != 4)
                continue;
            for (size_t k = i + 3; k < words.size(); ++k) {
                if (const std::optional<int> nOffset = ZoneOffset(words[k]))
                    nZone = *nOffset;
            }
            return static_cast<time_t>(DaysFromCivil(nYear, nMonth, nDay)) * 86400 + nSeconds - nZone;
        }
    }
    return 0;
}

int ReadMboxMessageAt(const CMailFile& file, uint32_t nOffset, uint32_t nLength, std::string& bytes)
{
    bytes.clear();
    const uint64_t nFileLength = file.GetLength();
    if (nLength == 0 || nLength > MAIL_MAX_MESSAGE_BYTES || uint64_t(nOffset) + nLength > nFileLength)
        return MAIL_ERR_NOT_FOUND;
    // One byte more in front, to see that the message starts a line, and the
    // lines after it, to see that the next message starts where it ends.
    const uint32_t nLead = nOffset > 0 ? 1 : 0;
    const auto nTail
        = static_cast<size_t>(std::min<uint64_t>(MBOX_SEPARATOR_LOOKAHEAD, nFileLength - nOffset - nLength));
    std::string strRead(nLead + nLength + nTail, '\0');
    if (!file.ReadExactAt(nOffset - nLead, strRead.data(), strRead.size()))
        return MAIL_ERR_FILE;
    if (nLead && strRead[0] != '\n')
        return MAIL_ERR_NOT_FOUND;
    const std::string_view buffer = std::string_view(strRead).substr(nLead);
    const bool bAtEnd = uint64_t(nOffset) + nLength + nTail == nFileLength;
    size_t nNext = 0;
    if (!IsMboxHeaderLine(LineAt(buffer, 0, nNext)))
        return MAIL_ERR_NOT_FOUND;
    // The message at the offset runs to the next separator: exactly nLength bytes.
    for (size_t nPos = buffer.find("\nFrom "); nPos != std::string_view::npos && nPos + 1 < nLength;
         nPos = buffer.find("\nFrom ", nPos + 1)) {
        if (IsSeparatorAt(buffer, nPos + 1, bAtEnd) == Separator::Yes)
            return MAIL_ERR_NOT_FOUND;
    }
    if (nTail > 0 && IsSeparatorAt(buffer, nLength, bAtEnd) != Separator::Yes)
        return MAIL_ERR_NOT_FOUND;
    bytes.assign(buffer.substr(0, nLength));
    return MAIL_OK;
}

int FindMozillaStatus(std::string_view message, unsigned& nStatus)
{
    static constexpr std::string_view NAME = "X-Mozilla-Status:";
    nStatus = 0;
    size_t nPos = 0;
    while (nPos < message.size()) {
        size_t nNext = 0;
        std::string_view line = LineAt(message, nPos, nNext);
        if (line.empty())
            return -1; // The header block ends at the first empty line.
        if (line.size() >= NAME.size() && strncasecmp(line.data(), NAME.data(), NAME.size()) == 0) {
            size_t i = NAME.size();
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
                ++i;
            if (line.size() - i >= 4) {
                unsigned nValue = 0;
                bool bHex = true;
                for (size_t k = 0; k < 4 && bHex; ++k) {
                    char ch = line[i + k];
                    int nDigit = ch >= '0' && ch <= '9' ? ch - '0'
                        : ch >= 'a' && ch <= 'f'        ? ch - 'a' + 10
                        : ch >= 'A' && ch <= 'F'        ? ch - 'A' + 10
                                                        : -1;
                    bHex = nDigit >= 0;
                    nValue = nValue << 4 | static_cast<unsigned>(nDigit);
                }
                if (bHex) {
                    nStatus = nValue;
                    return static_cast<int>(nPos + i);
                }
            }
        }
        if (nNext == std::string_view::npos)
            break;
        nPos = nNext;
    }
    return -1;
}

std::string FormatMozillaStatus(unsigned nStatus)
{
    char sz[8];
    std::snprintf(sz, sizeof(sz), "%04x", nStatus & 0xFFFF);
    return sz;
}
