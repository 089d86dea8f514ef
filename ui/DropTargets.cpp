#include "ui/DropTargets.h"

#include "platform/base/CArray.h"
#include "platform/framework/CWnd.h"
#include "resources/ResourceIds.h"
#include "ui/CKadDropTarget.h"

#include <cstring>
#include <iterator>

CWnd* g_dragSource = nullptr;

namespace {

struct DropTargetEntry {
    CWnd* pWnd { nullptr };
    int nKind { 0 };
};

constexpr int REGISTRY_GROW_BY = 16;

CArray<DropTargetEntry>& Registry()
{
    static CArray<DropTargetEntry> s_entries;
    return s_entries;
}

struct KindRule {
    const char* pszClassName;
    bool bDerivedToo;
    int nKind;
};

// clang-format off
constexpr KindRule KIND_RULES[] = {
    { "CSisTreeCtrl",     false, DROP_KIND_SYSTEMS_TREE },
    { "CSearchListCtrl",  false, DROP_KIND_SEARCH_LIST },
    { "CExpiredListCtrl", false, DROP_KIND_EXPIRED_LIST },
    { "CLixeiraListCtrl", false, DROP_KIND_RECYCLE_LIST },
    { "CArqListCtrl",     false, DROP_KIND_DOCUMENT_LIST },
    { "CPopupCtrl",       true,  DROP_KIND_POPUP },
    { "CBtnSeta",         true,  DROP_KIND_ARROW_BUTTON },
    { "CCoolMenu",        false, DROP_KIND_MENU },
    { "CKadToolBar",      false, DROP_KIND_TOOLBAR },
};
// clang-format on

bool ClassMatches(const CRuntimeClass* pClass, const KindRule& rule)
{
    for (const CRuntimeClass* p = pClass; p; p = rule.bDerivedToo ? p->m_pBaseClass : nullptr) {
        if (std::strcmp(p->m_lpszClassName, rule.pszClassName) == 0)
            return true;
    }
    return false;
}

struct DragCursors {
    HINSTANCE hModule { nullptr }; // the module they came from
    HCURSOR hNone { nullptr };
    HCURSOR hMove { nullptr };
    HCURSOR hCopy { nullptr };
};

DragCursors& Cursors()
{
    static DragCursors s_cursors;
    return s_cursors;
}

} // namespace

void InitDragDrop()
{
    Registry().SetSize(0, REGISTRY_GROW_BY);
    g_dragSource = nullptr;
    // Loaded once per resource module: a module loaded anew (tests load one
    // each) has cursors of its own.
    DragCursors& cursors = Cursors();
    HINSTANCE hModule = AfxGetResourceHandle();
    if (!cursors.hNone || cursors.hModule != hModule) {
        cursors.hModule = hModule;
        cursors.hNone = LoadCursor(hModule, MAKEINTRESOURCE(IDC_DRAG_NONE));
        cursors.hMove = LoadCursor(hModule, MAKEINTRESOURCE(IDC_DRAG_MOVE));
        cursors.hCopy = LoadCursor(hModule, MAKEINTRESOURCE(IDC_DRAG_COPY));
    }
}

int DropKindOfWindow(const CWnd* pWnd)
{
    // A window whose object cannot take drops is of no listed class.
    if (!pWnd || !dynamic_cast<const CKadDropTarget*>(pWnd))
        return 0;
    const CRuntimeClass* pClass = pWnd->GetRuntimeClass();
    for (const KindRule& rule : KIND_RULES) {
        if (ClassMatches(pClass, rule))
            return rule.nKind;
    }
    return 0;
}

int FindDropTarget(CWnd* pWnd)
{
    CArray<DropTargetEntry>& entries = Registry();
    for (int i = 0; i < entries.GetSize(); ++i) {
        if (entries[i].pWnd == pWnd)
            return i;
    }
    return -1;
}

int GetDropTargetKind(int nIndex)
{
    CArray<DropTargetEntry>& entries = Registry();
    return nIndex >= 0 && nIndex < entries.GetSize() ? entries[nIndex].nKind : 0;
}

int RegisterDropTarget(CWnd* pWnd, BOOL bRegister)
{
    const int nIndex = FindDropTarget(pWnd);
    if (!bRegister) {
        if (nIndex < 0)
            return 0;
        Registry().RemoveAt(nIndex);
        return 1;
    }
    const int nKind = DropKindOfWindow(pWnd);
    if (nIndex >= 0 || nKind == 0)
        return 0;
    Registry().Add(DropTargetEntry { pWnd, nKind });
    return 1;
}

HCURSOR DragCursorForEffect(DWORD dwEffect)
{
    const DragCursors& cursors = Cursors();
    if (dwEffect & DROPEFFECT_COPY)
        return cursors.hCopy;
    if (dwEffect & DROPEFFECT_MOVE)
        return cursors.hMove;
    return cursors.hNone;
}
