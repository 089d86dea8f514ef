#pragma once

// A tree in the recording parent: 200 by 160 at (10, 10), ID 7, and helpers
// that read it through its messages. The notifications that carry items are
// kept with their items and actions.

#include "platform/controls/TreeViewControl.h"
#include "tests/platform/controls/CommonControlTestSupport.h"

#include <cstring>
#include <string>

struct TreeEvent {
    UINT nCode;
    UINT nAction;
    HTREEITEM hItem; // itemNew, or itemOld for TVN_DELETEITEM
    HTREEITEM hOld;

    bool operator==(const TreeEvent&) const = default;
};

class TreeViewTest : public CommonControlTest {
protected:
    HWND CreateTree(DWORD dwStyle, int cx = 200, int cy = 160)
    {
        HWND hTree = CreateControl(WC_TREEVIEW, "", dwStyle, 10, 10, cx, cy, 7);
        PumpUntilIdle();
        return hTree;
    }
    static HTREEITEM Insert(
        HWND hTree, HTREEITEM hParent, const char* pszText, HTREEITEM hAfter = TVI_LAST, LPARAM lParam = 0)
    {
        TVINSERTSTRUCT insert {};
        insert.hParent = hParent;
        insert.hInsertAfter = hAfter;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<LPSTR>(pszText);
        insert.item.lParam = lParam;
        return reinterpret_cast<HTREEITEM>(SendMessage(hTree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    static std::string Text(HWND hTree, HTREEITEM hItem, int cchBuffer = 64)
    {
        std::string strBuffer(static_cast<size_t>(cchBuffer) + 8, '#');
        TVITEM item {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = strBuffer.data();
        item.cchTextMax = cchBuffer;
        if (!SendMessage(hTree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)))
            return "(failed)";
        return strBuffer.c_str();
    }
    static UINT State(HWND hTree, HTREEITEM hItem, UINT nMask = 0xFFFF)
    {
        TVITEM item {};
        item.mask = TVIF_STATE;
        item.hItem = hItem;
        item.stateMask = nMask;
        SendMessage(hTree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
        return item.state;
    }
    static BOOL SetState(HWND hTree, HTREEITEM hItem, UINT nState, UINT nMask)
    {
        TVITEM item {};
        item.mask = TVIF_STATE;
        item.hItem = hItem;
        item.state = nState;
        item.stateMask = nMask;
        return static_cast<BOOL>(SendMessage(hTree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item)));
    }
    static HTREEITEM Next(HWND hTree, UINT nCode, HTREEITEM hItem = nullptr)
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(hTree, TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    static std::vector<std::string> ChildTexts(HWND hTree, HTREEITEM hParent)
    {
        std::vector<std::string> texts;
        for (HTREEITEM h = Next(hTree, TVGN_CHILD, hParent); h; h = Next(hTree, TVGN_NEXT, h))
            texts.push_back(Text(hTree, h));
        return texts;
    }
    static BOOL Expand(HWND hTree, HTREEITEM hItem, UINT nCode)
    {
        return static_cast<BOOL>(SendMessage(hTree, TVM_EXPAND, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    static BOOL Select(HWND hTree, HTREEITEM hItem, UINT nCode = TVGN_CARET)
    {
        return static_cast<BOOL>(SendMessage(hTree, TVM_SELECTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    static RECT ItemRect(HWND hTree, HTREEITEM hItem, BOOL bLabel, BOOL* pbOk = nullptr)
    {
        RECT rc {};
        std::memcpy(&rc, &hItem, sizeof(hItem));
        const BOOL bOk = static_cast<BOOL>(SendMessage(hTree, TVM_GETITEMRECT, bLabel, reinterpret_cast<LPARAM>(&rc)));
        if (pbOk)
            *pbOk = bOk;
        return rc;
    }
    static POINT LabelPoint(HWND hTree, HTREEITEM hItem)
    {
        const RECT rc = ItemRect(hTree, hItem, TRUE);
        return POINT { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    }
    void ClickItem(HWND hTree, HTREEITEM hItem)
    {
        const POINT pt = LabelPoint(hTree, hItem);
        m_clock.Advance(GetDoubleClickTime() + 1);
        QueuedClick(hTree, pt.x, pt.y);
    }

    // Records the tree notifications that carry items; `answer` decides the result.
    void RecordTree(std::function<LRESULT(NMTREEVIEW*)> answer = nullptr)
    {
        onNotify = [this, answer](NMHDR* pHdr) -> LRESULT {
            switch (pHdr->code) {
            case TVN_SELCHANGING:
            case TVN_SELCHANGED:
            case TVN_ITEMEXPANDING:
            case TVN_ITEMEXPANDED:
            case TVN_DELETEITEM:
            case TVN_BEGINDRAG: {
                auto* pTree = reinterpret_cast<NMTREEVIEW*>(pHdr);
                const HTREEITEM hItem = pHdr->code == TVN_DELETEITEM ? pTree->itemOld.hItem : pTree->itemNew.hItem;
                m_events.push_back({ pHdr->code, pTree->action, hItem,
                    pHdr->code == TVN_DELETEITEM ? nullptr : pTree->itemOld.hItem });
                return answer ? answer(pTree) : 0;
            }
            default:
                return 0;
            }
        };
    }
    std::vector<TreeEvent> TakeEvents() { return std::exchange(m_events, {}); }

    std::vector<TreeEvent> m_events;
};
