#include "mail/DbxFormat.h"

#include "mail/MailResult.h"

#include <cstring>
#include <unordered_set>

namespace {

// The tree is a B-tree of at most a few levels; anything deeper is damage.
constexpr int DBX_MAX_TREE_DEPTH = 32;

struct CTreeWalk {
    const CMailFile& dbx;
    uint64_t nFileLength;
    std::vector<uint32_t>& infos;
    std::unordered_set<uint32_t> visited;
};

int WalkNode(CTreeWalk& walk, uint32_t nNode, int nDepth)
{
    if (nNode == 0)
        return MAIL_OK;
    if (nDepth > DBX_MAX_TREE_DEPTH || !walk.visited.insert(nNode).second
        || uint64_t(nNode) + DBX_NODE_HEADER_SIZE > walk.nFileLength)
        return MAIL_ERR_FORMAT;
    unsigned char node[DBX_NODE_HEADER_SIZE + DBX_NODE_MAX_ENTRIES * DBX_NODE_ENTRY_SIZE];
    if (!walk.dbx.ReadExactAt(nNode, node, DBX_NODE_HEADER_SIZE))
        return MAIL_ERR_FILE;
    unsigned nEntries = node[0x11];
    if (MailGetU32(node) != nNode || nEntries > DBX_NODE_MAX_ENTRIES
        || uint64_t(nNode) + DBX_NODE_HEADER_SIZE + nEntries * DBX_NODE_ENTRY_SIZE > walk.nFileLength)
        return MAIL_ERR_FORMAT;
    if (!walk.dbx.ReadExactAt(
            nNode + DBX_NODE_HEADER_SIZE, node + DBX_NODE_HEADER_SIZE, nEntries * DBX_NODE_ENTRY_SIZE))
        return MAIL_ERR_FILE;
    if (int nResult = WalkNode(walk, MailGetU32(node + 8), nDepth + 1); nResult != MAIL_OK)
        return nResult;
    for (unsigned i = 0; i < nEntries; ++i) {
        const unsigned char* pEntry = node + DBX_NODE_HEADER_SIZE + i * DBX_NODE_ENTRY_SIZE;
        walk.infos.push_back(MailGetU32(pEntry));
        if (int nResult = WalkNode(walk, MailGetU32(pEntry + 4), nDepth + 1); nResult != MAIL_OK)
            return nResult;
    }
    return MAIL_OK;
}

} // namespace

int ReadDbxHeader(const CMailFile& dbx, uint32_t& nCount)
{
    nCount = 0;
    unsigned char header[DBX_TREE_ROOT_FIELD + 4];
    if (dbx.GetLength() < DBX_HEADER_SIZE)
        return MAIL_ERR_FORMAT;
    if (!dbx.ReadExactAt(0, header, sizeof(header)))
        return MAIL_ERR_FILE;
    if (std::memcmp(header, DBX_MESSAGE_SIGNATURE, sizeof(DBX_MESSAGE_SIGNATURE)) != 0)
        return MAIL_ERR_FORMAT;
    nCount = MailGetU32(header + DBX_COUNT_FIELD);
    return MAIL_OK;
}

int ReadDbxTree(const CMailFile& dbx, std::vector<uint32_t>& infos)
{
    infos.clear();
    uint32_t nCount = 0;
    if (int nResult = ReadDbxHeader(dbx, nCount); nResult != MAIL_OK)
        return nResult;
    unsigned char root[4];
    if (!dbx.ReadExactAt(DBX_TREE_ROOT_FIELD, root, sizeof(root)))
        return MAIL_ERR_FILE;
    CTreeWalk walk { dbx, dbx.GetLength(), infos, {} };
    int nResult = WalkNode(walk, MailGetU32(root), 0);
    if (nResult != MAIL_OK)
        infos.clear();
    return nResult;
}

int ReadDbxMessageInfo(const CMailFile& dbx, uint32_t nAddress, CDbxMessageInfo& info)
{
    info = {};
    uint64_t nFileLength = dbx.GetLength();
    unsigned char header[DBX_INFO_HEADER_SIZE];
    if (nAddress < DBX_HEADER_SIZE || uint64_t(nAddress) + DBX_INFO_HEADER_SIZE > nFileLength)
        return MAIL_ERR_FORMAT;
    if (!dbx.ReadExactAt(nAddress, header, sizeof(header)))
        return MAIL_ERR_FILE;
    uint32_t nBodyLength = MailGetU32(header + 4);
    unsigned nEntries = header[10];
    if (MailGetU32(header) != nAddress || nEntries * 4u > nBodyLength || nBodyLength > 0x10000
        || uint64_t(nAddress) + DBX_INFO_HEADER_SIZE + nBodyLength > nFileLength)
        return MAIL_ERR_FORMAT;
    std::vector<unsigned char> body(nBodyLength);
    if (!dbx.ReadExactAt(nAddress + DBX_INFO_HEADER_SIZE, body.data(), body.size()))
        return MAIL_ERR_FILE;
    const unsigned char* pData = body.data() + size_t(nEntries) * 4;
    size_t nDataLength = nBodyLength - nEntries * 4;
    bool bHasMessage = false;
    for (unsigned i = 0; i < nEntries; ++i) {
        uint32_t nWord = MailGetU32(body.data() + size_t(i) * 4);
        unsigned nField = nWord & 0x7F;
        uint32_t nValue = nWord >> 8;
        if ((nWord & 0x80) == 0) {
            // Stored in the data field; only 32-bit fields are read here.
            if (nField != DBX_FIELD_INDEX && nField != DBX_FIELD_FLAGS && nField != DBX_FIELD_MESSAGE)
                continue;
            if (uint64_t(nValue) + 4 > nDataLength)
                return MAIL_ERR_FORMAT;
            nValue = MailGetU32(pData + nValue);
        }
        if (nField == DBX_FIELD_INDEX)
            info.nIndex = nValue;
        else if (nField == DBX_FIELD_FLAGS)
            info.nFlags = nValue;
        else if (nField == DBX_FIELD_MESSAGE) {
            info.nFirstChunk = nValue;
            bHasMessage = true;
        }
    }
    return bHasMessage ? MAIL_OK : MAIL_ERR_FORMAT;
}

int ReadDbxChunkChain(const CMailFile& dbx, uint32_t nFirstChunk, std::vector<CDbxSegment>& segments)
{
    segments.clear();
    uint64_t nFileLength = dbx.GetLength();
    uint64_t nTotal = 0;
    std::unordered_set<uint32_t> visited;
    for (uint32_t nChunk = nFirstChunk; nChunk != 0;) {
        if (nChunk < DBX_HEADER_SIZE || uint64_t(nChunk) + DBX_CHUNK_HEADER_SIZE > nFileLength
            || !visited.insert(nChunk).second)
            return MAIL_ERR_FORMAT;
        unsigned char header[DBX_CHUNK_HEADER_SIZE];
        if (!dbx.ReadExactAt(nChunk, header, sizeof(header)))
            return MAIL_ERR_FILE;
        uint32_t nBodyLength = MailGetU32(header + 4);
        uint32_t nTextLength = MailGetU32(header + 8);
        if (MailGetU32(header) != nChunk || nTextLength > nBodyLength
            || uint64_t(nChunk) + DBX_CHUNK_HEADER_SIZE + nTextLength > nFileLength)
            return MAIL_ERR_FORMAT;
        nTotal += nTextLength;
        if (nTotal > MAIL_MAX_MESSAGE_BYTES)
            return MAIL_ERR_FORMAT;
        if (nTextLength > 0)
            segments.push_back({ static_cast<uint32_t>(nChunk + DBX_CHUNK_HEADER_SIZE), nTextLength });
        nChunk = MailGetU32(header + 12);
    }
    return MAIL_OK;
}

int ReadDbxSegments(const CMailFile& dbx, const std::vector<CDbxSegment>& segments, std::string& text)
{
    text.clear();
    for (const CDbxSegment& segment : segments) {
        size_t nOld = text.size();
        text.resize(nOld + segment.nLength);
        if (!dbx.ReadExactAt(segment.nOffset, text.data() + nOld, segment.nLength))
            return MAIL_ERR_FILE;
    }
    return MAIL_OK;
}
