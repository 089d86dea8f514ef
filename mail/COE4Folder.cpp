#include "mail/COE4Folder.h"

#include "mail/MailResult.h"
#include "mail/Oe4Format.h"

#include <unordered_map>

int COE4Folder::Reorganize(int, MAILBOX_PROGRESS_PROC pfnProgress, void* pContext)
{
    CMailFile mbx;
    CMailFile idx;
    if (!mbx.Open(GetPath()) || !idx.Open(Oe4IndexPath(GetPath()).c_str()))
        return MAIL_ERR_OPEN;
    if (int nResult = CheckMbxHeader(mbx); nResult != MAIL_OK)
        return nResult;
    uint64_t nMbxLength = mbx.GetLength();
    std::vector<COe4IndexItem> items;
    if (int nResult = ReadOe4Index(idx, nMbxLength, items); nResult != MAIL_OK)
        return nResult;
    std::unordered_map<uint32_t, const COe4IndexItem*> itemByOffset;
    for (const COe4IndexItem& item : items)
        itemByOffset.emplace(item.nMbxOffset, &item);
    const std::vector<uint32_t> listed = ListedMbxOffsets(items);

    CMailTempFile newMbx(mbx.GetPath());
    CMailTempFile newIdx(idx.GetPath());
    if (!newMbx.IsOpen() || !newIdx.IsOpen())
        return MAIL_ERR_FILE;
    unsigned char mbxHeader[MBX_HEADER_SIZE];
    unsigned char idxHeader[IDX_HEADER_SIZE];
    if (!mbx.ReadExactAt(0, mbxHeader, sizeof(mbxHeader)) || !idx.ReadExactAt(0, idxHeader, sizeof(idxHeader)))
        return MAIL_ERR_FILE;

    std::vector<CSurvivor> survivors;
    uint64_t nMbxOut = MBX_HEADER_SIZE;
    uint64_t nIdxOut = IDX_HEADER_SIZE;
    std::string strBytes;
    // Every message takes at least its header, which bounds the walk. The
    // records are found as the reader finds them; each is written with the
    // sizes it was read with, so the new folder's sizes are right.
    uint64_t nPos = 0;
    for (int nResult = FindMbxMarker(mbx, MBX_HEADER_SIZE, nPos); nPos < nMbxLength;) {
        if (nResult != MAIL_OK)
            return nResult;
        COe4MbxMessage message;
        if (nResult = ReadMbxRecord(mbx, nPos, MbxRecordLimit(mbx, listed, nPos), message); nResult != MAIL_OK)
            return nResult;
        auto it = itemByOffset.find(message.nOffset);
        if (it != itemByOffset.end() && (it->second->nFlags & IDX_FLAG_DELETED) == 0) {
            const COe4IndexItem& item = *it->second;
            strBytes.resize(message.nTotalSize);
            if (!mbx.ReadExactAt(nPos, strBytes.data(), strBytes.size()))
                return MAIL_ERR_FILE;
            MailPutU32(reinterpret_cast<unsigned char*>(strBytes.data()) + 8, message.nTotalSize);
            MailPutU32(reinterpret_cast<unsigned char*>(strBytes.data()) + 12, message.nTextSize);
            if (!newMbx.File().WriteAt(nMbxOut, strBytes.data(), strBytes.size()))
                return MAIL_ERR_FILE;
            strBytes.resize(item.nItemSize);
            if (!idx.ReadExactAt(item.nItemOffset, strBytes.data(), strBytes.size()))
                return MAIL_ERR_FILE;
            auto* pItem = reinterpret_cast<unsigned char*>(strBytes.data());
            MailPutU32(pItem + IDX_ITEM_SELF_FIELD, static_cast<uint32_t>(nIdxOut));
            MailPutU32(pItem + IDX_ITEM_MBX_OFFSET_FIELD, static_cast<uint32_t>(nMbxOut));
            if (!newIdx.File().WriteAt(nIdxOut, strBytes.data(), strBytes.size()))
                return MAIL_ERR_FILE;
            CSurvivor survivor;
            survivor.dwOldOffset = static_cast<DWORD>(nPos + MBX_MESSAGE_HEADER_SIZE);
            survivor.dwStoreId = message.nNumber;
            survivor.dwOffset = static_cast<DWORD>(nMbxOut + MBX_MESSAGE_HEADER_SIZE);
            survivor.dwLength = message.nTextSize;
            survivors.push_back(survivor);
            nMbxOut += message.nTotalSize;
            nIdxOut += item.nItemSize;
        }
        nResult = FindMbxMarker(mbx, nPos + message.nTotalSize, nPos);
    }

    MailPutU32(mbxHeader + MBX_COUNT_FIELD, static_cast<uint32_t>(survivors.size()));
    MailPutU32(mbxHeader + MBX_SIZE_FIELD, static_cast<uint32_t>(nMbxOut));
    MailPutU32(idxHeader + IDX_COUNT_FIELD, static_cast<uint32_t>(survivors.size()));
    MailPutU32(idxHeader + IDX_SIZE_FIELD, static_cast<uint32_t>(nIdxOut));
    if (!newMbx.File().WriteAt(0, mbxHeader, sizeof(mbxHeader))
        || !newIdx.File().WriteAt(0, idxHeader, sizeof(idxHeader)))
        return MAIL_ERR_FILE;

    if (!ReportEvents(survivors, pfnProgress, pContext))
        return MAIL_STOPPED;
    mbx.Close();
    idx.Close();
    // The index goes first: an index without its new messages file lists offsets
    // the reader rejects, where the reverse would show the wrong messages.
    if (!newIdx.Commit() || !newMbx.Commit())
        return MAIL_ERR_FILE;
    m_dwState = static_cast<DWORD>(nMbxOut);
    return MAIL_OK;
}
