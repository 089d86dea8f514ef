#include "store/CTextEntryRec.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "store/CCatalog.h"
#include "store/CEntryLinkRec.h"
#include "store/CNodeRec.h"
#include "store/RecordFields.h"

#include <cstring>
#include <memory>
#include <vector>

CATBLOCK EntryRootBlock(LONG nTableType)
{
    switch (nTableType) {
    case TABLE_KEYWORD:
        return ROOT_BLOCK_KEYWORD;
    case TABLE_KEYWORD_TEXT:
        return ROOT_BLOCK_KEYWORD_TEXT;
    case TABLE_NODE_FOLDER:
        return ROOT_BLOCK_NODE_FOLDER;
    case TABLE_NODE_FOLDER_TEXT:
        return ROOT_BLOCK_NODE_FOLDER_TEXT;
    case TABLE_EXTENSION:
        return ROOT_BLOCK_EXTENSION;
    case TABLE_EXTENSION_TEXT:
        return ROOT_BLOCK_EXTENSION_TEXT;
    case TABLE_LIB_FOLDER:
        return ROOT_BLOCK_LIB_FOLDER;
    case TABLE_LIB_FOLDER_TEXT:
        return ROOT_BLOCK_LIB_FOLDER_TEXT;
    case TABLE_CLEANUP_FOLDER:
        return ROOT_BLOCK_CLEANUP_FOLDER;
    case TABLE_CLEANUP_FOLDER_TEXT:
        return ROOT_BLOCK_CLEANUP_FOLDER_TEXT;
    case TABLE_MAIL_STORE:
        return ROOT_BLOCK_MAIL_STORE;
    case TABLE_MAIL_STORE_TEXT:
        return ROOT_BLOCK_MAIL_STORE_TEXT;
    default:
        return NO_BLOCK;
    }
}

/******************************************************************************
 * Text pieces
 ******************************************************************************/

CTextPieceRec::CTextPieceRec(CCatalog* pCatalog, LONG nTableType, CRecordRef ref)
    : CCatalogRecord(pCatalog, nTableType, ref)
{
}

int CTextPieceRec::PieceSize(LONG nTableType)
{
    return nTableType == TABLE_EXTENSION_TEXT ? 10 : 30;
}

CRecordRef CTextPieceRec::GetNext() const
{
    return GetRefField(GetData(), OFF_NEXT);
}

CString CTextPieceRec::GetPiece() const
{
    return GetTextField(GetData(), OFF_TEXT, PieceSize(GetTableType()));
}

/******************************************************************************
 * Entries
 ******************************************************************************/

CTextEntryRec::CTextEntryRec(CCatalog* pCatalog, LONG nTableType, CRecordRef ref)
    : CCatalogRecord(pCatalog, nTableType, ref)
    , m_pCatalog(pCatalog)
{
    m_bValid = EntryRootBlock(nTableType) != NO_BLOCK && Load();
}

CString CTextEntryRec::GetText() const
{
    CString strText;
    if (!m_bValid)
        return strText;
    CRecordRef ref = GetRefField(GetData(), OFF_TEXT);
    // A text has at most MAX_TEXT bytes, so a longer list of pieces is damage.
    for (int nPieces = 0; !ref.IsNone(); ++nPieces) {
        CTextPieceRec piece(m_pCatalog, GetTextTable(), ref);
        if (nPieces > MAX_TEXT || !piece.Load()) {
            m_pCatalog->ReportDamage();
            break;
        }
        strText += piece.GetPiece();
        ref = piece.GetNext();
    }
    return strText;
}

std::vector<std::unique_ptr<CNodeRec>> CTextEntryRec::GetLinkedNodes() const
{
    CNodeRecArray nodes;
    std::vector<CEntryLinkRec> links;
    if (!m_bValid || !HasNodeLinks()
        || !ListEntryLinks(m_pCatalog, EntryLinkChainOfEntry(GetTableType() + 2, GetRef()), &links))
        return nodes;
    for (const CEntryLinkRec& link : links) {
        CRecordRef ref = link.GetTarget();
        if (!m_pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_NODE))
            continue; // a link to a node that is gone lists nothing
        auto pNode = std::make_unique<CNodeRec>(m_pCatalog, ref.nBlock, ref.nSlot);
        if (pNode->IsValid())
            nodes.push_back(std::move(pNode));
    }
    return nodes;
}

BOOL CTextEntryRec::Delete()
{
    CCatalogAction action(m_pCatalog);
    if (!m_bValid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (HasNodeLinks() && !UnlinkEntryFromNodes(m_pCatalog, GetTableType(), GetRef()))
        return FALSE;
    CRecordRef ref = GetRefField(GetData(), OFF_TEXT);
    for (int nPieces = 0; !ref.IsNone() && nPieces <= MAX_TEXT; ++nPieces) {
        CTextPieceRec piece(m_pCatalog, GetTextTable(), ref);
        if (!piece.Load())
            break; // a missing piece leaves nothing more to free
        ref = piece.GetNext();
        if (!piece.Delete())
            return FALSE;
    }
    m_bValid = false;
    return action.Finish(CCatalogRecord::Delete());
}

BOOL CTextEntryRec::Create(CCatalog* pCatalog, LONG nTableType, LPCTSTR pszText, CRecordRef* pRef)
{
    CCatalogAction action(pCatalog);
    std::string_view text(pszText ? pszText : "");
    CATBLOCK nRoot = EntryRootBlock(nTableType);
    if (!pCatalog || nRoot == NO_BLOCK || text.size() > static_cast<std::size_t>(MAX_TEXT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Cut into pieces at character boundaries, then written last first so
    // that each piece knows its next.
    LONG nTextTable = nTableType + 1;
    std::size_t nPieceSize = static_cast<std::size_t>(CTextPieceRec::PieceSize(nTextTable));
    std::vector<std::string> pieces;
    for (std::size_t nPos = 0; nPos < text.size();) {
        std::string strRest(text.substr(nPos));
        std::size_t nLength = Utf8PrefixLength(strRest.c_str(), nPieceSize);
        pieces.push_back(strRest.substr(0, nLength));
        nPos += nLength;
    }
    CRecordRef next;
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        CRecordRef ref;
        if (!pCatalog->AllocateRecord(nTextTable, EntryRootBlock(nTextTable), {}, &ref))
            return FALSE;
        CTextPieceRec piece(pCatalog, nTextTable, ref);
        SetRefField(piece.GetData(), CTextPieceRec::OFF_NEXT, next);
        std::memcpy(piece.GetData().data() + CTextPieceRec::OFF_TEXT, it->data(), it->size());
        if (!piece.Save())
            return FALSE;
        next = ref;
    }
    CRecordRef ref;
    if (!pCatalog->AllocateRecord(nTableType, nRoot, {}, &ref))
        return FALSE;
    std::vector<BYTE> data(static_cast<std::size_t>(RECORD_SIZE));
    SetRefField(data, OFF_TEXT, next);
    if (nTableType == TABLE_KEYWORD || nTableType == TABLE_NODE_FOLDER)
        SetLongField(data, OFF_WORD, NO_BLOCK);
    if (!pCatalog->WriteRecord(ref, nTableType, data))
        return FALSE;
    *pRef = ref;
    return action.Finish(TRUE);
}

std::vector<CString> ReadEntryTexts(CCatalog* pCatalog, LONG nTableType)
{
    std::vector<CString> texts;
    std::vector<CRecordRef> refs;
    if (!pCatalog->ListRootChain(EntryRootBlock(nTableType), &refs))
        return texts;
    for (const CRecordRef& ref : refs) {
        CTextEntryRec record(pCatalog, nTableType, ref);
        if (!record.IsValid())
            continue;
        CString strText = record.GetText();
        if (!strText.IsEmpty())
            texts.push_back(strText);
    }
    return texts;
}
