#include "mail/Oe4Format.h"

#include "mail/MailResult.h"

#include <algorithm>
#include <cstring>
#include <string_view>

std::string Oe4IndexPath(const char* pszMbxPath)
{
    std::string strPath = pszMbxPath ? pszMbxPath : "";
    size_t nSlash = strPath.find_last_of("\\/");
    size_t nDot = strPath.rfind('.');
    if (nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash))
        strPath.erase(nDot);
    return strPath + ".idx";
}

int CheckMbxHeader(const CMailFile& mbx)
{
    unsigned char header[MBX_HEADER_SIZE];
    if (mbx.GetLength() < MBX_HEADER_SIZE)
        return MAIL_ERR_FORMAT;
    if (!mbx.ReadExactAt(0, header, sizeof(header)))
        return MAIL_ERR_FILE;
    return MailGetU32(header) == MBX_SIGNATURE ? MAIL_OK : MAIL_ERR_FORMAT;
}

std::vector<uint32_t> ListedMbxOffsets(const std::vector<COe4IndexItem>& items)
{
    std::vector<uint32_t> listed;
    listed.reserve(items.size());
    for (const COe4IndexItem& item : items)
        listed.push_back(item.nMbxOffset);
    std::sort(listed.begin(), listed.end());
    return listed;
}

uint64_t MbxRecordLimit(const CMailFile& mbx, const std::vector<uint32_t>& listed, uint64_t nOffset)
{
    auto it = std::upper_bound(listed.begin(), listed.end(), nOffset);
    return it == listed.end() ? mbx.GetLength() : std::min<uint64_t>(*it, mbx.GetLength());
}

int FindMbxMarker(const CMailFile& mbx, uint64_t nFrom, uint64_t& nFound)
{
    constexpr size_t SCAN_CHUNK = 64 * 1024;
    const std::string_view marker(reinterpret_cast<const char*>(MBX_MESSAGE_MARKER), sizeof(MBX_MESSAGE_MARKER));
    const uint64_t nLength = mbx.GetLength();
    std::string chunk;
    // Each chunk overlaps the last by the marker's length less one, so a marker across two is found.
    for (uint64_t nPos = nFrom; nPos + marker.size() <= nLength;) {
        chunk.resize(
            static_cast<size_t>(std::min<uint64_t>(nPos == nFrom ? marker.size() : SCAN_CHUNK, nLength - nPos)));
        if (!mbx.ReadExactAt(nPos, chunk.data(), chunk.size()))
            return MAIL_ERR_FILE;
        if (size_t nAt = chunk.find(marker); nAt != std::string::npos) {
            nFound = nPos + nAt;
            return MAIL_OK;
        }
        nPos += chunk.size() - (marker.size() - 1);
    }
    nFound = nLength;
    return MAIL_OK;
}

int ReadMbxRecord(const CMailFile& mbx, uint64_t nOffset, uint64_t nLimit, COe4MbxMessage& message)
{
    nLimit = std::min(nLimit, mbx.GetLength());
    if (nOffset < MBX_HEADER_SIZE || nOffset + MBX_MESSAGE_HEADER_SIZE > nLimit)
        return MAIL_ERR_FORMAT;
    unsigned char header[MBX_MESSAGE_HEADER_SIZE];
    if (!mbx.ReadExactAt(nOffset, header, sizeof(header)))
        return MAIL_ERR_FILE;
    if (std::memcmp(header, MBX_MESSAGE_MARKER, sizeof(MBX_MESSAGE_MARKER)) != 0)
        return MAIL_ERR_FORMAT;
    const uint64_t nDeclaredEnd = nOffset + std::max<uint64_t>(MailGetU32(header + 8), MBX_MESSAGE_HEADER_SIZE);
    message.nOffset = static_cast<uint32_t>(nOffset);
    message.nNumber = MailGetU32(header + 4);
    message.nTotalSize = static_cast<uint32_t>(std::min(nDeclaredEnd, nLimit) - nOffset);
    message.nTextSize = std::min<uint32_t>(MailGetU32(header + 12), message.nTotalSize - MBX_MESSAGE_HEADER_SIZE);
    return message.nTextSize > MAIL_MAX_MESSAGE_BYTES ? MAIL_ERR_FORMAT : MAIL_OK;
}

int ReadOe4Index(const CMailFile& idx, uint64_t nMbxLength, std::vector<COe4IndexItem>& items)
{
    items.clear();
    uint64_t nLength = idx.GetLength();
    unsigned char header[IDX_HEADER_SIZE];
    if (nLength < IDX_HEADER_SIZE)
        return MAIL_ERR_FORMAT;
    if (!idx.ReadExactAt(0, header, sizeof(header)))
        return MAIL_ERR_FILE;
    if (MailGetU32(header) != IDX_SIGNATURE)
        return MAIL_ERR_FORMAT;
    uint32_t nCount = MailGetU32(header + IDX_COUNT_FIELD);
    // Every item takes at least its fixed fields, which bounds a count read from the file.
    if (nCount > (nLength - IDX_HEADER_SIZE) / IDX_ITEM_FIXED_SIZE)
        return MAIL_ERR_FORMAT;
    items.reserve(nCount);
    uint64_t nPos = IDX_HEADER_SIZE;
    for (uint32_t i = 0; i < nCount; ++i) {
        unsigned char fixed[IDX_ITEM_FIXED_SIZE];
        if (nPos + IDX_ITEM_FIXED_SIZE > nLength)
            return MAIL_ERR_FORMAT;
        if (!idx.ReadExactAt(nPos, fixed, sizeof(fixed)))
            return MAIL_ERR_FILE;
        COe4IndexItem item;
        item.nFlags = MailGetU32(fixed);
        item.nEntry = MailGetU32(fixed + 8);
        item.nItemOffset = MailGetU32(fixed + IDX_ITEM_SELF_FIELD);
        item.nItemSize = MailGetU32(fixed + 16);
        item.nMbxOffset = MailGetU32(fixed + IDX_ITEM_MBX_OFFSET_FIELD);
        item.nMbxSize = MailGetU32(fixed + 24);
        if (item.nItemOffset != nPos || item.nItemSize < IDX_ITEM_FIXED_SIZE || nPos + item.nItemSize > nLength
            || item.nMbxOffset < MBX_HEADER_SIZE || uint64_t(item.nMbxOffset) + MBX_MESSAGE_HEADER_SIZE > nMbxLength)
            return MAIL_ERR_FORMAT;
        items.push_back(item);
        nPos += item.nItemSize;
    }
    return MAIL_OK;
}
