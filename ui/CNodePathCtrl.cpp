#include "ui/CNodePathCtrl.h"

#include "platform/framework/CRect.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/SysColors.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CLinkRec.h"
#include "store/CNodeRec.h"
#include "ui/CMemoryDC.h"
#include "ui/NodePath.h"

#include <cstdint>

BEGIN_MESSAGE_MAP(CNodePathCtrl, CEdit)
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CNodePathCtrl::CNodePathCtrl()
    : m_nBkColorIndex(COLOR_BTNFACE)
{
}

CNodePathCtrl::~CNodePathCtrl() = default;

void CNodePathCtrl::ShowNode(std::unique_ptr<CNodeRec> pNode)
{
    m_pNode = std::move(pNode);
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

void CNodePathCtrl::SetNode(const CNodeRec* pNode)
{
    ShowNode(std::unique_ptr<CNodeRec>(pNode ? pNode->Clone() : nullptr));
}

void CNodePathCtrl::SetNodeOfRecord(const CCatalogRecord* pRecord)
{
    if (!pRecord) {
        ShowNode(nullptr);
        return;
    }
    const auto* pDocument = dynamic_cast<const CDocumentRec*>(pRecord);
    auto* pCatalog = dynamic_cast<CCatalog*>(pRecord->GetDatabase());
    if (!pDocument || !pCatalog)
        return;
    // A damaged catalog may link its links in a circle: a document has no more
    // links than the file has slots for them.
    const std::int64_t nBound = std::int64_t { pCatalog->GetLastBlock() + 1 } * SlotCount(CLinkRec::RECORD_SIZE);
    CRecordRef ref = pDocument->GetFirstLink();
    for (std::int64_t nStep = 0; !ref.IsNone(); ++nStep) {
        CLinkRec link(pCatalog, ref.nBlock, ref.nSlot);
        if (nStep >= nBound || !link.IsValid())
            return;
        const CRecordRef owner = link.GetNode();
        if (owner.IsNone())
            return;
        if (owner.nBlock != CNodeRec::EXPIRING_NODE_BLOCK && owner.nBlock != CNodeRec::FAVOURITES_NODE_BLOCK) {
            ShowNode(std::make_unique<CNodeRec>(pCatalog, owner.nBlock, owner.nSlot));
            return;
        }
        ref = link.GetNext();
    }
}

void CNodePathCtrl::SetBkColorIndex(int nIndex)
{
    m_nBkColorIndex = nIndex;
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

void CNodePathCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    // The picture is made again when the control has outgrown it.
    if (!m_bBitmapCreated || client.Width() > m_bitmapSize.cx || client.Height() > m_bitmapSize.cy) {
        m_bitmap.DeleteObject();
        m_bBitmapCreated = m_bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
        m_bitmapSize = m_bBitmapCreated ? SIZE { client.Width(), client.Height() } : SIZE {};
    }
    CMemoryDC memoryDC(&dc, &client, GetSysColor(m_nBkColorIndex), m_bBitmapCreated ? &m_bitmap : nullptr);
    if (m_pNode && memoryDC.GetSafeHdc()) {
        CRect path = client;
        DrawNodePath(m_pNode.get(), memoryDC.GetSafeHdc(), &path);
    }
}

void CNodePathCtrl::OnDestroy()
{
    CEdit::OnDestroy();
    m_pNode.reset();
}
