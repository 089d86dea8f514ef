// Find and Find next of a catalog view: the next document that matches the
// last search, from the focused row of the list on, then through the tree's
// systems in their order (and the recycle bin when the search includes it),
// round to the focused row again. Find can instead search the contents of
// the whole catalog into the search results window.

#include "frame/CSplitterFrame.h"

#include "catalog/CTextSearch.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CArqListView.h"
#include "frame/CDlgDocumentList.h"
#include "frame/CMainFrame.h"
#include "frame/CSisTreeCtrl.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/ResString.h"
#include "ui/CDlgBusy.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/window/Input.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace {

/* The scopes of the last search. */
constexpr int SCOPE_CATALOG = 0;
constexpr int SCOPE_TOP_SYSTEM = 1;
constexpr int SCOPE_LIST = 2;

void SendToMain(UINT nMessage, LPARAM lParam = 0)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(nMessage, 0, lParam);
}

// The top-level system holding the node (the node itself at the top level).
std::unique_ptr<CNodeRec> TopSystemOf(const CNodeRec& node)
{
    CNodeRecArray ancestors = node.GetAncestors();
    if (ancestors.size() >= 2)
        return std::move(ancestors[1]);
    return std::unique_ptr<CNodeRec>(node.Clone());
}

// Tests documents against the last search, showing each in the busy dialog
// when there is one; a stop there, once confirmed, cancels the search.
class CFindPass {
public:
    explicit CFindPass(CDlgBusy* pBusy)
        : m_search(CTextSearch::PrepareGlobalCriteria())
        , m_pBusy(pBusy)
    {
    }

    BOOL IsCancelled() const { return m_bCancelled; }
    void ShowNode(const CNodeRec& node)
    {
        if (m_pBusy)
            m_pBusy->SetEntry(&node);
    }
    BOOL Matches(const CDocumentRec& document)
    {
        if (m_bCancelled)
            return FALSE;
        if (m_pBusy) {
            CString strPath;
            document.GetFullPath(strPath);
            if (m_pBusy->SetText(strPath) && AfxMessageBox(IDS_STOP_QUESTION, MB_YESNO | MB_ICONQUESTION) == IDYES) {
                m_bCancelled = TRUE;
                return FALSE;
            }
        }
        return m_search.Match(document) == 1;
    }

private:
    CTextSearch m_search;
    CDlgBusy* m_pBusy;
    BOOL m_bCancelled { FALSE };
};

// The first document row in [nFirst, nEnd) of the list that matches; -1 none.
int FindInRows(CArqListCtrl& list, int nFirst, int nEnd, CFindPass& pass)
{
    for (int nRow = std::max(nFirst, 0); nRow < nEnd && !pass.IsCancelled(); ++nRow) {
        const auto* pDocument = dynamic_cast<const CDocumentRec*>(list.GetRowRecord(nRow));
        if (pDocument && pass.Matches(*pDocument))
            return nRow;
    }
    return -1;
}

} // namespace

void CSplitterFrame::OnFind()
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    const CNodeRec* pContext = GetContextNode();
    if (!pContext && pTree)
        pContext = pTree->GetContextNode();
    if (pContext && pContext->GetSlot() == 0 && pContext->GetBlock() == CNodeRec::FIXED_NODE_LAST) {
        GetFramePrompts().ShowMessage(IDS_FIND_NOT_IN_EXPIRED, MB_ICONINFORMATION);
        return;
    }
    if (GetFramePrompts().FindFilesHost() != IDOK)
        return;
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return;
    if (pApp->GetFindSettings().GetFind().bResultList)
        SearchCatalog();
    else
        PresentFound(FindNext(pApp->GetFindSettings().GetFind().bOpenFindBar));
}

void CSplitterFrame::OnFindNext()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp || pApp->GetFindSettings().GetLastSearchText().IsEmpty()) {
        OnFind();
        return;
    }
    PresentFound(FindNext(FALSE));
}

void CSplitterFrame::SearchCatalog()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    CSisTreeCtrl* pTree = GetTreeCtrl();
    if (!pApp || !pMain || !pTree || !m_pListView)
        return;
    CArqListCtrl& list = m_pListView->GetListCtrl();
    pApp->SetListFilter(list.GetListFilter());
    pApp->GetFindSettings().ApplySearchCriteria();
    // The pass reads every document: the list's worker must be done with them.
    list.WaitForFill(TRUE);
    pMain->SearchCatalogIntoResults(pTree->GetCatalog());
}

void CSplitterFrame::PresentFound(EFound eFound)
{
    auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (!pMain || eFound == EFound::Nothing)
        return;
    pMain->PresentFoundResult(eFound == EFound::InView ? this : nullptr);
    if (eFound == EFound::InRecycleBin)
        pMain->ShowDragBarWindow(CCoolMenu::ENTRY_RECYCLE_BIN);
}

CSplitterFrame::EFound CSplitterFrame::FindNext(BOOL bFindBar)
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pTree || !m_pListView || !pApp)
        return EFound::Nothing;
    const CNodeRec* pContextNow = GetContextNode();
    if (!pContextNow)
        pContextNow = pTree->GetContextNode();
    std::unique_ptr<CNodeRec> pContext(pContextNow ? pContextNow->Clone() : nullptr);
    const CFindSettings& settings = pApp->GetFindSettings();
    const CFindRecord& lastFind = settings.GetLastFind();
    // The last-find record keeps the words and how to match them; where to
    // look (scope, recycle bin) only the find record keeps.
    const int nScope = settings.GetFind().nScope;
    SetActiveView(m_pListView, TRUE);
    const CString strStatus = GetResString(IDS_FIND_SEARCHING) + lastFind.GetText();
    SendToMain(g_nMsgStatusSetText, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strStatus)));

    // Searching contents is slow: a dialog shows where it is and can stop it.
    std::unique_ptr<CDlgBusy> pBusy;
    std::optional<CWaitCursor> wait;
    if (lastFind.nField == CTextSearch::FIELD_CONTENT) {
        pBusy = std::make_unique<CDlgBusy>();
        if (!pBusy->CreateAndShow(this))
            pBusy.reset();
    }
    if (!pBusy) {
        SetCapture();
        wait.emplace();
    }
    settings.ApplySearchCriteria();
    CFindPass pass(pBusy.get());
    CArqListCtrl& list = m_pListView->GetListCtrl();
    list.WaitForFill(TRUE);
    const int nFocused = list.GetFocusedRow();
    if (pContext)
        pass.ShowNode(*pContext);
    EFound eFound = EFound::Nothing;
    int nRow = FindInRows(list, nFocused + 1, list.GetItemCount(), pass);
    if (nRow >= 0) {
        list.SelectOnly(nRow);
        eFound = EFound::InView;
    }

    // Then the systems after the context node, round to it; the whole
    // catalog's walk takes the recycle bin's documents before it comes round.
    if (eFound == EFound::Nothing && !pass.IsCancelled() && pContext && nScope != SCOPE_LIST) {
        std::unique_ptr<CNodeRec> pTop;
        if (nScope == SCOPE_TOP_SYSTEM)
            pTop = TopSystemOf(*pContext);
        CNodeRecArray order = TreeOrder(pTop.get());
        const size_t nBinFirst = order.size();
        CCatalog* pBin = pApp->GetRecycleCatalog();
        CCatalogHold binHold(nScope == SCOPE_CATALOG && settings.GetFind().bRecycle ? pBin : nullptr);
        if (binHold.IsHeld()) {
            order.emplace_back(CNodeRec::NewRootNodeRec(pBin));
            order.emplace_back(CNodeRec::NewTopNodeRec3(pBin));
        }
        size_t nContext = order.size();
        for (size_t i = 0; i < nBinFirst; ++i) {
            if (order[i] && order[i]->GetRef() == pContext->GetRef()) {
                nContext = i;
                break;
            }
        }
        // A context outside the order (a walk of its top system only) has every node after it.
        const size_t nStart = nContext < order.size() ? nContext + 1 : 0;
        const CSortSpec spec = list.GetSortSpec();
        const CListFilter& filter = list.GetListFilter();
        for (size_t n = 0; n < order.size() && eFound == EFound::Nothing && !pass.IsCancelled(); ++n) {
            const size_t nIndex = (nStart + n) % order.size();
            if (nIndex == nContext)
                break;
            if (!order[nIndex])
                continue;
            const CNodeRec& node = *order[nIndex];
            pass.ShowNode(node);
            for (const auto& pDocument : node.GetFilteredDocuments(&spec, &filter)) {
                if (!pass.Matches(*pDocument))
                    continue;
                if (nIndex >= nBinFirst)
                    SelectInRecycleBin(*pDocument);
                else
                    SelectNodeAndDocument(node, *pDocument);
                eFound = nIndex >= nBinFirst ? EFound::InRecycleBin : EFound::InView;
                break;
            }
        }
    }

    // Last the rows before the focused one, and the focused one itself.
    BOOL bOnlyFocused = FALSE;
    if (eFound == EFound::Nothing && !pass.IsCancelled()) {
        nRow = FindInRows(list, 0, nFocused + 1, pass);
        if (nRow >= 0 && nRow != nFocused) {
            list.SelectOnly(nRow);
            eFound = EFound::InView;
        }
        bOnlyFocused = nRow >= 0 && nRow == nFocused;
    }

    if (pBusy)
        pBusy->DestroyWindow();
    else if (GetCapture() == this)
        ReleaseCapture();
    wait.reset();
    if (eFound == EFound::Nothing && !pass.IsCancelled()) {
        CString strScope = GetResString(IDS_FIND_WHOLE_CATALOG);
        if (nScope == SCOPE_TOP_SYSTEM && pContext)
            strScope = GetSystemName(*TopSystemOf(*pContext));
        else if (nScope == SCOPE_LIST && pContext)
            strScope = GetSystemName(*pContext);
        CString strText;
        strText.Format(
            GetResString(bOnlyFocused ? IDS_FIND_ONLY_FOCUSED : IDS_FIND_NONE), static_cast<LPCTSTR>(strScope));
        AfxMessageBox(strText, MB_ICONINFORMATION);
    }
    if (pass.IsCancelled()) {
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->PostMessage(g_nMsgReorganizeMailbox, 0, 0);
    } else if (bFindBar) {
        if (auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
            pMain->ShowControlBar(&pMain->GetFindBar(), TRUE, FALSE);
    }
    SendToMain(g_nMsgStatusResetText);
    return eFound;
}

void CSplitterFrame::SelectInRecycleBin(const CDocumentRec& document)
{
    auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (!pMain)
        return;
    pMain->ShowDragBarWindow(CCoolMenu::ENTRY_RECYCLE_BIN);
    CDlgDocumentList* pWindow = pMain->GetDragBar().GetList().GetRecycleBinWindow();
    if (!pWindow)
        return;
    CArqListCtrl& list = pWindow->GetList();
    list.WaitForFill(TRUE);
    list.SelectOnly(list.FindRecordRow(document));
}
