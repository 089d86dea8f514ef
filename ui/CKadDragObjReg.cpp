#include "ui/CKadDragObjReg.h"

#include "platform/base/GlobalMemory.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/COleDataObject.h"
#include "platform/framework/COleDataSource.h"
#include "platform/window/Clipboard.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "ui/CUiHostServices.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(CKadDragObjReg, CKadDragObj)

namespace {

constexpr int ITEM_GROW_BY = 32;

// The bytes this program put on the clipboard last, to know them again.
std::vector<BYTE>& LastCopiedBytes()
{
    static std::vector<BYTE> s_bytes;
    return s_bytes;
}

CLIPFORMAT PayloadFormat()
{
    return static_cast<CLIPFORMAT>(thePreferences.m_nClipboardFormat);
}

// The payload bytes the clipboard holds; empty when it holds none.
std::vector<BYTE> ReadClipboardBytes()
{
    COleDataObject data;
    if (!PayloadFormat() || !data.AttachClipboard())
        return {};
    HGLOBAL hData = data.GetGlobalData(PayloadFormat());
    if (!hData)
        return {};
    std::vector<BYTE> bytes;
    if (const auto* pBytes = static_cast<const BYTE*>(GlobalLock(hData))) {
        bytes.assign(pBytes, pBytes + GlobalSize(hData));
        GlobalUnlock(hData);
    }
    GlobalFree(hData);
    return bytes;
}

} // namespace

CKadDragObjReg::CKadDragObjReg()
    : CKadDragObj(KIND_CATALOG_RECORDS)
{
    m_items.SetSize(0, ITEM_GROW_BY);
}

CKadDragObjReg::~CKadDragObjReg()
{
    DeleteRecords();
}

void CKadDragObjReg::DeleteRecords()
{
    if (m_bOwns) {
        delete m_pSource;
        for (int i = 0; i < m_items.GetSize(); ++i)
            delete m_items[i].pRecord;
    }
    m_pSource = nullptr;
    m_items.RemoveAll();
    m_bOwns = FALSE;
}

void CKadDragObjReg::AddItem(CCatalogRecord* pRecord, int nItem)
{
    m_items.Add(DragItem { pRecord, 0, nItem });
}

CCatalogPayload CKadDragObjReg::ToPayload(LONG nOperation) const
{
    CCatalogPayload payload;
    payload.nOperation = nOperation;
    if (m_pSource)
        payload.source = m_pSource->GetRef();
    for (int i = 0; i < m_items.GetSize(); ++i)
        payload.items.push_back(m_items[i].pRecord->GetRef());
    return payload;
}

BOOL CKadDragObjReg::CopyToClipboard(int nOperation)
{
    if (!PayloadFormat())
        return FALSE;
    std::vector<BYTE> bytes = BuildCatalogPayload(ToPayload(nOperation));
    HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes.size());
    void* pData = hData ? GlobalLock(hData) : nullptr;
    if (!pData) {
        if (hData)
            GlobalFree(hData);
        return FALSE;
    }
    std::memcpy(pData, bytes.data(), bytes.size());
    GlobalUnlock(hData);
    auto* pSource = new COleDataSource; // the clipboard takes it over
    pSource->CacheGlobalData(PayloadFormat(), hData);
    pSource->SetClipboard();
    LastCopiedBytes() = std::move(bytes);
    return TRUE;
}

BOOL CKadDragObjReg::AddCatalogItems(CCatalog* pCatalog, const CCatalogPayload& payload)
{
    for (const CRecordRef& ref : payload.items) {
        std::unique_ptr<CCatalogRecord> pRecord;
        if (pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_NODE))
            pRecord = std::make_unique<CNodeRec>(pCatalog, ref.nBlock, ref.nSlot);
        else if (pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_DOCUMENT))
            pRecord = std::make_unique<CDocumentRec>(pCatalog, ref.nBlock, ref.nSlot);
        if (pRecord)
            AddItem(pRecord.release(), 0);
    }
    return m_items.GetSize() > 0 ? TRUE : FALSE;
}

int CKadDragObjReg::PasteFromClipboard()
{
    std::vector<BYTE> bytes = ReadClipboardBytes();
    CCatalog* pCatalog = GetHostMainCatalog();
    if (bytes.empty() || !pCatalog)
        return 0;
    CCatalogPayload payload;
    // A count the bytes cannot hold, or an operation that is none, is damage;
    // bytes after the last item are ignored, as another program's block may be longer.
    if (!ParseCatalogPayload(bytes, &payload, PayloadTail::Ignore)
        || (payload.nOperation != PAYLOAD_COPY && payload.nOperation != PAYLOAD_MOVE)) {
        AfxMessageBox(IDS_PASTE_DATA_UNREADABLE, MB_ICONHAND);
        return 0;
    }
    if (!payload.source.IsNone() && !pCatalog->CheckRecord(payload.source.nBlock, payload.source.nSlot, TABLE_NODE)) {
        AfxMessageBox(IDS_PASTE_SOURCE_GONE, MB_ICONHAND);
        return 0;
    }
    DeleteRecords();
    m_bOwns = TRUE;
    if (!payload.source.IsNone())
        m_pSource = new CNodeRec(pCatalog, payload.source.nBlock, payload.source.nSlot);
    if (!AddCatalogItems(pCatalog, payload)) {
        DeleteRecords();
        return 0;
    }
    return payload.nOperation;
}

BOOL CKadDragObjReg::HasClipboardPayload(BOOL bNodeRequired)
{
    if (!PayloadFormat() || !IsClipboardFormatAvailable(PayloadFormat()))
        return FALSE;
    if (!bNodeRequired)
        return TRUE;
    CCatalog* pCatalog = GetHostMainCatalog();
    CCatalogPayload payload;
    if (!pCatalog || !ParseCatalogPayload(ReadClipboardBytes(), &payload, PayloadTail::Ignore))
        return FALSE;
    return std::any_of(payload.items.rbegin(), payload.items.rend(),
        [pCatalog](CRecordRef item) { return pCatalog->CheckRecord(item.nBlock, item.nSlot, TABLE_NODE); });
}

void CKadDragObjReg::ForgetClipboardPayload()
{
    std::vector<BYTE>& last = LastCopiedBytes();
    if (last.empty())
        return;
    std::vector<BYTE> bytes = ReadClipboardBytes();
    if (bytes.size() >= last.size() && std::equal(last.begin(), last.end(), bytes.begin()) && OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    last.clear();
}
