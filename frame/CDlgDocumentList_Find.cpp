// The recycle bin window's search: the find dialog and Find next. Find next
// looks through the bin's rows after the focused one, then through the main
// catalog (its root, then the two fixed top nodes), then through the bin's
// rows from the top; a search the last find did not ask for the bin goes to
// the catalog view instead.

#include "frame/CDlgDocumentList.h"

#include "catalog/CCatalogSearch.h"
#include "catalog/CTextSearch.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CCoolMenu.h"
#include "frame/CMainFrame.h"
#include "frame/CSplitterFrame.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/ResString.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinThread.h"

#include <algorithm>
#include <memory>

namespace {

// The deepest a walk of the catalog's groups goes: a damaged chain of parents ends there.
constexpr int MAX_GROUP_DEPTH = 64;

void SendToMain(UINT nMessage, LPARAM lParam = 0)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(nMessage, 0, lParam);
}

// The first node at or under node, depth first, holding a document that
// matches; null for none, or when a message store was reorganised (*pbEnd).
std::unique_ptr<CNodeRec> FindMatchingNode(const CNodeRec& node, const CTextSearch& search, int nDepth, BOOL* pbEnd)
{
    BOOL bMatch = FALSE;
    (void)node.ForEachDocument([&](const CDocumentRec& document) {
        const int nResult = search.Match(document);
        bMatch = nResult == 1;
        *pbEnd = nResult == CTextSearch::MATCH_STORE_CHANGED;
        return !bMatch && !*pbEnd;
    }); // a damaged chain is searched as far as it reads
    if (bMatch)
        return std::unique_ptr<CNodeRec>(node.Clone());
    if (*pbEnd || nDepth >= MAX_GROUP_DEPTH)
        return nullptr;
    for (const auto& pChild : node.GetChildren()) {
        if (auto pFound = FindMatchingNode(*pChild, search, nDepth + 1, pbEnd); pFound || *pbEnd)
            return pFound;
    }
    return nullptr;
}

} // namespace

int CDlgDocumentList::FindRow(int nFirst, int nEnd, BOOL* pbEnd)
{
    const CTextSearch search = CTextSearch::PrepareGlobalCriteria();
    for (int nRow = std::max(nFirst, 0); nRow < nEnd; ++nRow) {
        const CDocumentRec* pEntry = m_list.GetRowDocument(nRow);
        const int nResult = pEntry ? search.Match(*pEntry) : 0;
        if (nResult == CTextSearch::MATCH_STORE_CHANGED) {
            *pbEnd = TRUE;
            return -1;
        }
        if (nResult == 1)
            return nRow;
    }
    return -1;
}

void CDlgDocumentList::OnFind()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp || GetFramePrompts().FindFilesHost() != IDOK || !::IsWindow(GetSafeHwnd()))
        return;
    CFindSettings& settings = pApp->GetFindSettings();
    settings.ApplySearchCriteria();
    if (settings.GetFind().bResultList) {
        // The results go to their own window, made again for them.
        CMainFrame* pMainFrame = pApp->GetMainFrame();
        CCatalogSearch search(pApp->GetMainCatalog(), &settings.GetLastFindFilter());
        (void)search.Run(pApp->GetFolderIndexPath(), m_hWnd); // a stopped search keeps what it found
        if (pMainFrame) {
            pMainFrame->RefreshDragBarWindows();
            pMainFrame->ShowDragBarWindow(CCoolMenu::ENTRY_SEARCH_RESULTS);
        }
        return;
    }
    (void)FindNext();
}

int CDlgDocumentList::FindNext()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return -1;
    if (!pApp->GetFindSettings().GetFind().bRecycle) {
        // The last search was not for the bin: the catalog view goes on with it.
        ShowWindow(SW_HIDE);
        SendToMain(WM_COMMAND, ID_CATALOG_FIND_NEXT);
        return -1;
    }
    const CString strStatus = GetResString(IDS_FIND_SEARCHING) + pApp->GetFindSettings().GetLastSearchText();
    SendToMain(g_nMsgStatusSetText, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strStatus)));
    CWaitCursor wait;
    BOOL bEnd = FALSE;
    const int nFocused = m_list.GetFocusedRow();
    int nRow = FindRow(nFocused + 1, m_list.GetItemCount(), &bEnd);
    if (nRow >= 0) {
        m_list.SelectOnly(nRow);
        SendToMain(g_nMsgStatusResetText);
        return nRow;
    }

    // The main catalog's groups, the fixed top nodes last.
    std::unique_ptr<CNodeRec> pFound;
    CCatalog* pMain = pApp->GetMainCatalog();
    const CTextSearch search = CTextSearch::PrepareGlobalCriteria();
    for (auto pfnTop : { &CNodeRec::NewRootNodeRec, &CNodeRec::NewTopNodeRec3, &CNodeRec::NewTopNodeRec4 }) {
        std::unique_ptr<CNodeRec> pTop(pMain && !bEnd && !pFound ? pfnTop(pMain) : nullptr);
        if (pTop)
            pFound = FindMatchingNode(*pTop, search, 0, &bEnd);
    }
    CMainFrame* pMainFrame = pApp->GetMainFrame();
    if (CSplitterFrame* pView = pMainFrame ? pMainFrame->GetActiveCatalogFrame() : nullptr; pFound && pView) {
        ShowWindow(SW_HIDE);
        pView->SelectNode(*pFound);
        SendToMain(g_nMsgStatusResetText);
        return -1;
    }

    // Round to the top of the bin.
    nRow = bEnd ? -1 : FindRow(0, nFocused + 1, &bEnd);
    if (nRow >= 0 && nRow != nFocused) {
        m_list.SelectOnly(nRow);
    } else if (!bEnd) {
        // One string at a time: the loader's buffer holds only the last.
        const CString strScope = GetResString(IDS_FIND_WHOLE_CATALOG);
        CString strText;
        strText.Format(GetResString(nRow >= 0 ? IDS_FIND_ONLY_FOCUSED : IDS_FIND_NONE), static_cast<LPCTSTR>(strScope));
        AfxMessageBox(strText, MB_ICONINFORMATION);
        nRow = -1;
    }
    SendToMain(g_nMsgStatusResetText);
    return nRow;
}
