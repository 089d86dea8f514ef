// Filling the document list: the record sets of a node, the first rows at
// once, a worker for the rest, and the waits that keep the sets alive while
// the worker reads them.
//
// Invariants:
// (1) At most one worker per list: every fill starts with ClearRows, which
//     waits for the previous worker to end.
// (2) The record sets are deleted only by the user-interface thread after
//     WaitForFill: the worker never reads a deleted record.
// (3) The worker changes the list only by sending messages to it, so every
//     change and every paint happens in the user-interface thread.
// (4) The worker touches only records of rows it has not inserted yet; once a
//     row is inserted its record belongs to the user-interface thread.
// (5) The fill block outlives both sides: the worker holds its own reference
//     and signals the end as its very last act.

#include "frame/CArqListCtrl.h"

#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CMainFrame.h"
#include "frame/CatalogHold.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CFolderIndex.h"
#include "store/CMailDocumentHooks.h"
#include "store/CatalogCompare.h"

#include "platform/base/PathMap.h"
#include "platform/base/SyncClasses.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinThread.h"
#include "platform/window/MessageQueue.h"

#include <algorithm>
#include <set>
#include <utility>

// What the worker and the user-interface thread share during a fill.
struct CArqListCtrl::FillBlock {
    std::atomic<bool> bRunning { false }; // a worker inserts rows; cleared by the worker
    std::atomic<bool> bContinue { true }; // cleared to stop the worker after its current row
    CEvent ended { FALSE, TRUE };         // set by the worker as its last act
    CArqListCtrl* pList { nullptr };
    CCatalog* pCatalog { nullptr };    // held open by the worker while it runs
    CNodeRecArray* pNodes { nullptr }; // null when the fill shows no nodes
    CDocumentRecArray* pDocuments { nullptr };
    bool bNodesFirst { true }; // the sort is ascending: nodes before documents
    size_t nNodePos { 0 };     // next element of each set to insert
    size_t nDocumentPos { 0 };
    int nRemaining { 0 }; // rows this pass may still insert
};

namespace {

// The deepest node below a filled node whose documents FillWithEntries takes.
constexpr int MAX_ENTRY_DEPTH = 256;

BOOL StartWithAfxBeginThread(UINT (*pfnWorker)(LPVOID), LPVOID pParam)
{
    // Normal priority: the user-interface thread serves each insertion anyway.
    return AfxBeginThread(pfnWorker, pParam) != nullptr;
}

CArqListCtrl::WorkerStarter s_pfnStartWorker = &StartWithAfxBeginThread;

// The worker's own reference on the block, handed over at the start.
struct WorkerStart {
    std::shared_ptr<void> pKeep;
    void* pBlock;
};

} // namespace

CArqListCtrl::WorkerStarter CArqListCtrl::SetWorkerStarter(WorkerStarter pfnStart)
{
    return std::exchange(s_pfnStartWorker, pfnStart ? pfnStart : &StartWithAfxBeginThread);
}

/******************************************************************************
 * The rows of a fill
 ******************************************************************************/

void CArqListCtrl::InsertFillRows(FillBlock& block)
{
    auto insertFrom = [&block](auto* pSet, size_t& nPos) {
        if (!pSet)
            return;
        while (block.nRemaining > 0 && nPos < pSet->size()) {
            if (!block.bContinue.load())
                return;
            const int nRow = static_cast<int>(block.nNodePos + block.nDocumentPos);
            block.pList->InsertRow(nRow, (*pSet)[nPos].get());
            ++nPos;
            --block.nRemaining;
            if ((nRow + 1) % REDRAW_EVERY == 0)
                ::SendMessage(block.pList->m_hWnd, MSG_FILL_REDRAW, 0, 0);
        }
    };
    if (block.bNodesFirst) {
        insertFrom(block.pNodes, block.nNodePos);
        insertFrom(block.pDocuments, block.nDocumentPos);
    } else {
        insertFrom(block.pDocuments, block.nDocumentPos);
        insertFrom(block.pNodes, block.nNodePos);
    }
}

UINT CArqListCtrl::FillWorker(LPVOID pParam)
{
    std::unique_ptr<WorkerStart> pStart(static_cast<WorkerStart*>(pParam));
    std::shared_ptr<void> pKeep = std::move(pStart->pKeep);
    auto& block = *static_cast<FillBlock*>(pStart->pBlock);
    const BOOL bHeld = block.pCatalog && block.pCatalog->Acquire();
    ::SendMessage(block.pList->m_hWnd, WM_SETREDRAW, FALSE, 0);
    InsertFillRows(block);
    ::SendMessage(block.pList->m_hWnd, WM_SETREDRAW, TRUE, 0);
    if (bHeld)
        block.pCatalog->Release();
    block.bRunning = false;
    block.ended.SetEvent();
    return 0;
}

LRESULT CArqListCtrl::OnFillRedraw(WPARAM, LPARAM)
{
    SetRedraw(TRUE);
    UpdateWindow();
    SetRedraw(FALSE);
    return 0;
}

void CArqListCtrl::StartFill(BOOL bNodesFirst)
{
    const int nTotal = static_cast<int>((m_pNodes ? m_pNodes->size() : 0) + (m_pDocuments ? m_pDocuments->size() : 0));
    SetItemCount(nTotal);
    auto pFill = std::make_shared<FillBlock>();
    pFill->pList = this;
    pFill->pCatalog = m_pShownNode ? m_pShownNode->GetCatalog() : nullptr;
    if (!pFill->pCatalog && m_pDocuments && !m_pDocuments->empty())
        pFill->pCatalog = m_pDocuments->front()->GetCatalog();
    pFill->pNodes = m_pNodes.get();
    pFill->pDocuments = m_pDocuments.get();
    pFill->bNodesFirst = bNodesFirst != FALSE;
    pFill->nRemaining = std::min(nTotal, DIRECT_ROWS);
    {
        // The direct rows' documents mostly share a few folders: each is
        // looked up (or listed, for missing files) once for all of them.
        const CPathLookupBatch lookups;
        InsertFillRows(*pFill);
    }
    m_pFill = pFill;
    if (nTotal <= DIRECT_ROWS)
        return;
    pFill->nRemaining = nTotal - DIRECT_ROWS;
    pFill->bRunning = true;
    auto* pStart = new WorkerStart { pFill, pFill.get() };
    if (s_pfnStartWorker(&FillWorker, pStart))
        return;
    // No worker: the rest goes in here, and nothing waits for one.
    delete pStart;
    pFill->bRunning = false;
    InsertFillRows(*pFill);
    pFill->ended.SetEvent();
}

/******************************************************************************
 * Waiting and clearing
 ******************************************************************************/

BOOL CArqListCtrl::IsFilling() const
{
    return m_pFill && m_pFill->bRunning.load();
}

void CArqListCtrl::WaitForFill(BOOL bContinue)
{
    if (!IsFilling())
        return;
    std::shared_ptr<FillBlock> pFill = m_pFill;
    pFill->bContinue = bContinue != FALSE;
    HANDLE hEnded = pFill->ended.m_hObject;
    // Only the worker's sent messages are served while waiting: no input or
    // posted message reaches the list before its record sets are settled.
    while (MsgWaitForMultipleObjects(1, &hEnded, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) { }
}

void CArqListCtrl::ClearRows()
{
    WaitForFill(FALSE);
    m_pFill.reset();
    m_nIdleCursor = 0;
    if (m_hWnd)
        DeleteAllItems();
    m_pNodes.reset();
    m_pDocuments.reset();
}

/******************************************************************************
 * Fills
 ******************************************************************************/

void CArqListCtrl::BeginFill(const CNodeRec* pNode)
{
    m_tip.Hide();
    SetRedraw(FALSE);
    ClearRows();
    AttachSystemImageList();
    m_pShownNode.reset(pNode ? pNode->Clone() : nullptr);
    // The emptied list paints once before the rows arrive.
    SetRedraw(TRUE);
    UpdateWindow();
    SetRedraw(FALSE);
}

void CArqListCtrl::Fill(CNodeRec* pNode)
{
    CWaitCursor wait;
    CCatalog* pCatalog = pNode ? pNode->GetCatalog() : nullptr;
    const BOOL bHeld = pCatalog && pCatalog->Acquire();
    BeginFill(pNode);
    const CSortSpec spec = GetSortSpec();
    if (m_pShownNode) {
        m_pNodes = std::make_unique<CNodeRecArray>(m_pShownNode->GetSortedChildren(&spec));
        m_pDocuments = std::make_unique<CDocumentRecArray>(m_pShownNode->GetFilteredDocuments(&spec, &m_filter));
    }
    StartFill(spec.bAscending);
    RecalcLayout();
    SelectOnly(0);
    SetRedraw(TRUE);
    UpdateWindow();
    if (bHeld)
        pCatalog->Release();
}

void CArqListCtrl::FillWithEntries(CNodeRec* pNode, CNodeRec* pExtra1, CNodeRec* pExtra2)
{
    CWaitCursor wait;
    CCatalog* pCatalog = pNode ? pNode->GetCatalog() : nullptr;
    const BOOL bHeld = pCatalog && pCatalog->Acquire();
    BeginFill(pNode);
    const CSortSpec spec = GetSortSpec();
    m_pDocuments = std::make_unique<CDocumentRecArray>();
    std::set<std::pair<CATBLOCK, LONG>> seen;
    // A node's documents, then those of every node below it; each document once.
    auto addNode = [&](auto& self, const CNodeRec& node, int nDepth) -> void {
        for (auto& pDocument : node.GetDocuments()) {
            if (!seen.emplace(pDocument->GetBlock(), pDocument->GetSlot()).second)
                continue;
            auto it = std::upper_bound(
                m_pDocuments->begin(), m_pDocuments->end(), pDocument, [&spec](const auto& pNew, const auto& pOld) {
                    return CompareRecords(pNew.get(), pOld.get(), spec) < 0;
                });
            m_pDocuments->insert(it, std::move(pDocument));
        }
        // The tree's depth is bounded by the file; a damaged cycle stops here.
        if (nDepth >= MAX_ENTRY_DEPTH)
            return;
        for (auto& pChild : node.GetChildren())
            self(self, *pChild, nDepth + 1);
    };
    for (CNodeRec* pExtra : { pExtra1, pExtra2 }) {
        if (pExtra && pExtra->HasDocuments(nullptr))
            addNode(addNode, *pExtra, 0);
    }
    if (m_pShownNode)
        addNode(addNode, *m_pShownNode, 0);
    SetItemCount(static_cast<int>(m_pDocuments->size()));
    for (size_t nRow = 0; nRow < m_pDocuments->size(); ++nRow)
        InsertRow(static_cast<int>(nRow), (*m_pDocuments)[nRow].get());
    RecalcLayout();
    SetRedraw(TRUE);
    UpdateWindow();
    if (bHeld)
        pCatalog->Release();
}

void CArqListCtrl::FillWithDocuments(CDocumentRecArray documents)
{
    CWaitCursor wait;
    CCatalog* pCatalog = documents.empty() ? nullptr : documents.front()->GetCatalog();
    const BOOL bHeld = pCatalog && pCatalog->Acquire();
    BeginFill(nullptr);
    const CSortSpec spec = GetSortSpec();
    PrepareDocumentSet(documents, spec);
    m_pDocuments = std::make_unique<CDocumentRecArray>(std::move(documents));
    StartFill(spec.bAscending);
    RecalcLayout();
    SetRedraw(TRUE);
    UpdateWindow();
    if (bHeld)
        pCatalog->Release();
}

void CArqListCtrl::PrepareDocumentSet(CDocumentRecArray& documents, const CSortSpec& spec)
{
    std::set<std::pair<CATBLOCK, LONG>> seen;
    std::erase_if(documents, [&seen](const auto& pDocument) {
        return !pDocument || !seen.emplace(pDocument->GetBlock(), pDocument->GetSlot()).second;
    });
    SortDocuments(documents, spec);
}

CDocumentRecArray CArqListCtrl::FoundDocuments(CFolderIndex& source, CCatalog* pCatalog)
{
    CDocumentRecArray documents;
    CCatalogHold hold(pCatalog);
    // Each chain is bounded by the index file; a damaged one ends the walk.
    for (CRecordRef folder = source.FirstFolder(); folder.nBlock != NO_BLOCK; folder = source.NextFolder(folder)) {
        for (CRecordRef entry = source.FirstEntry(folder); entry.nBlock != NO_BLOCK; entry = source.NextEntry(entry)) {
            const CString strPath = source.BuildFolderPath(folder, entry);
            if (strPath.IsEmpty() || !hold.IsHeld())
                continue;
            if (CDocumentRec* pDocument = pCatalog->FindPath(strPath))
                documents.emplace_back(pDocument);
        }
    }
    return documents;
}

void CArqListCtrl::ReloadFromPaths(CFolderIndex& source, CCatalog* pCatalog)
{
    ReloadDocuments(FoundDocuments(source, pCatalog));
}

/******************************************************************************
 * Reading again
 ******************************************************************************/

void CArqListCtrl::RefreshAll()
{
    // The worker reads the same records: it finishes first.
    WaitForFill(TRUE);
    if (m_pShownNode)
        (void)m_pShownNode->Load(); // a node that is gone reads empty
    if (m_pNodes) {
        for (auto& pNode : *m_pNodes)
            (void)pNode->Load();
    }
    if (m_pDocuments) {
        for (auto& pDocument : *m_pDocuments)
            (void)pDocument->Load();
    }
    Invalidate();
    UpdateWindow();
}

BOOL CArqListCtrl::IdleRefreshNextItem()
{
    // Rows that are still arriving wait for the next idle time: asking for
    // more now would spin the idle loop for the whole fill.
    if (IsFilling())
        return FALSE;
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || !pMain->IsWindowVisible() || pMain->IsIconic())
        return FALSE;
    if (m_nIdleCursor >= GetItemCount())
        return FALSE;
    const int nRow = m_nIdleCursor++;
    CDocumentRec* pDocument = GetRowDocument(nRow);
    if (!pDocument)
        return TRUE;
    const int nChange = pDocument->RefreshState();
    if (nChange == 2) {
        // Once per reorganisation: every row of the same store finds it so.
        if (!g_bMailboxReorganizePending.exchange(TRUE))
            pMain->PostMessage(g_nMsgReorganizeMailbox);
        return TRUE;
    }
    if (!AreStateImagesOn())
        return TRUE;
    const UINT nState = GetStateImage(*pDocument);
    if (nChange == 1 || GetItemState(nRow, STATE_IMAGE_MASK) != nState) {
        SetItemState(nRow, nState, STATE_IMAGE_MASK);
        Update(nRow);
    }
    return TRUE;
}
