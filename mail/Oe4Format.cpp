#include "mail/Oe4Format.h"

#include "mail/MailResult.h"

#include <cstring>

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

int ReadMbxMessage(const CMailFile& mbx, uint64_t nOffset, COe4MbxMessage& message)
{
    uint64_t nLength = mbx.GetLength();
    if (nOffset < MBX_HEADER_SIZE || nOffset + MBX_MESSAGE_HEADER_SIZE > nLength)
        return MAIL_ERR_FORMAT;
    unsigned char header[MBX_MESSAGE_HEADER_SIZE];
    if (!mbx.ReadExactAt(nOffset, header, sizeof(header)))
        return MAIL_ERR_FILE;
    message.nOffset = static_cast<uint32_t>(nOffset);
    message.nNumber = MailGetU32(header + 4);
    message.nTotalSize = MailGetU32(header + 8);
    message.nTextSize = MailGetU32(header + 12);
    if (std::memcmp(header, MBX_MESSAGE_MARKER, sizeof(MBX_MESSAGE_MARKER)) != 0
        || message.nTotalSize < MBX_MESSAGE_HEADER_SIZE
        || message.nTextSize > message.nTotalSize - MBX_MESSAGE_HEADER_SIZE
        || message.nTextSize > MAIL_MAX_MESSAGE_BYTES || nOffset + message.nTotalSize > nLength)
        return MAIL_ERR_FORMAT;
    return MAIL_OK;
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
            || item.nMbxOffset < MBX_HEADER_SIZE || uint64_t(item.nMbxOffset) + item.nMbxSize > nMbxLength)
            return MAIL_ERR_FORMAT;
        items.push_back(item);
        nPos += item.nItemSize;
    }
    return MAIL_OK;
}
