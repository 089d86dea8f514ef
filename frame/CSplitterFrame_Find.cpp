// Find and Find next of a catalog view: the next document that matches the
// last search, from the focused row of the list on, then through the tree's
// systems in their order, round to the focused row again.

#include "frame/CSplitterFrame.h"

#include "catalog/CTextSearch.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CArqListView.h"
#include "frame/CMainFrame.h"
#include "frame/CSisTreeCtrl.h"
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
    FindNext(pApp ? pApp->GetFindSettings().GetFind().bOpenFindBar : FALSE);
}

void CSplitterFrame::OnFindNext()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp || pApp->GetFindSettings().GetLastSearchText().IsEmpty()) {
        OnFind();
        return;
    }
    FindNext(FALSE);
}

BOOL CSplitterFrame::FindNext(BOOL bFindBar)
{
    CSisTreeCtrl* pTree = GetTreeCtrl();
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pTree || !m_pListView || !pApp)
        return FALSE;
    const CNodeRec* pContextNow = GetContextNode();
    if (!pContextNow)
        pContextNow = pTree->GetContextNode();
    std::unique_ptr<CNodeRec> pContext(pContextNow ? pContextNow->Clone() : nullptr);
    const CFindRecord& lastFind = pApp->GetFindSettings().GetLastFind();
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
    pApp->GetFindSettings().ApplySearchCriteria();
    CFindPass pass(pBusy.get());
    CArqListCtrl& list = m_pListView->GetListCtrl();
    list.WaitForFill(TRUE);
    const int nFocused = list.GetFocusedRow();
    if (pContext)
        pass.ShowNode(*pContext);
    BOOL bFound = FALSE;
    int nRow = FindInRows(list, nFocused + 1, list.GetItemCount(), pass);
    if (nRow >= 0) {
        list.SelectOnly(nRow);
        bFound = TRUE;
    }

    // Then the systems after the context node, round to it.
    if (!bFound && !pass.IsCancelled() && pContext && lastFind.nScope != SCOPE_LIST) {
        std::unique_ptr<CNodeRec> pTop;
        if (lastFind.nScope == SCOPE_TOP_SYSTEM)
            pTop = TopSystemOf(*pContext);
        CNodeRecArray order = TreeOrder(pTop.get());
        size_t nStart = 0;
        for (size_t i = 0; i < order.size(); ++i) {
            if (order[i]->GetRef() == pContext->GetRef()) {
                nStart = i + 1;
                break;
            }
        }
        const CSortSpec spec = list.GetSortSpec();
        const CListFilter& filter = list.GetListFilter();
        for (size_t n = 0; n < order.size() && !bFound && !pass.IsCancelled(); ++n) {
            const CNodeRec& node = *order[(nStart + n) % order.size()];
            if (node.GetRef() == pContext->GetRef())
                break;
            pass.ShowNode(node);
            for (const auto& pDocument : node.GetFilteredDocuments(&spec, &filter)) {
                if (!pass.Matches(*pDocument))
                    continue;
                pTree->SelectNode(node);
                list.WaitForFill(TRUE);
                const int nMatch = list.FindRecordRow(*pDocument);
                if (nMatch >= 0)
                    list.SelectOnly(nMatch);
                bFound = TRUE;
                break;
            }
        }
    }

    // Last the rows before the focused one, and the focused one itself.
    BOOL bOnlyFocused = FALSE;
    if (!bFound && !pass.IsCancelled()) {
        nRow = FindInRows(list, 0, nFocused + 1, pass);
        if (nRow >= 0 && nRow != nFocused) {
            list.SelectOnly(nRow);
            bFound = TRUE;
        }
        bOnlyFocused = nRow >= 0 && nRow == nFocused;
    }

    if (pBusy)
        pBusy->DestroyWindow();
    else if (GetCapture() == this)
        ReleaseCapture();
    wait.reset();
    if (!bFound && !pass.IsCancelled()) {
        CString strScope = GetResString(IDS_FIND_WHOLE_CATALOG);
        if (lastFind.nScope == SCOPE_TOP_SYSTEM && pContext)
            strScope = GetSystemName(*TopSystemOf(*pContext));
        else if (lastFind.nScope == SCOPE_LIST && pContext)
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
    return bFound;
}
