#pragma once

// Helpers for the common control tests: the parent records every WM_NOTIFY
// as it arrives (the structure dies with the message) and answers it through
// a handler the test sets.

#include "platform/controls/CommonControls.h"
#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/window/WindowClass.h"
#include "tests/platform/controls/ControlTestSupport.h"

#include <functional>
#include <string_view>
#include <vector>

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct NotifySeen {
    UINT nCode;
    int nItem; // iItem of the structure; wVKey for LVN_KEYDOWN; a tree's action

    bool operator==(const NotifySeen&) const = default;
};

class CommonControlTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        InitCommonControls();
        MessageLog::Instance().handler = [this](HWND hWnd, UINT uMsg, WPARAM, LPARAM lParam, LRESULT* plResult) {
            if (hWnd != m_hParent)
                return false;
            if (uMsg == WM_NOTIFY) {
                auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
                m_notifications.push_back({ pHdr->code, ItemOf(pHdr) });
                *plResult = onNotify ? onNotify(pHdr) : 0;
                return true;
            }
            if (uMsg == WM_DRAWITEM && onDrawItem) {
                onDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
                *plResult = TRUE;
                return true;
            }
            if (uMsg == WM_MEASUREITEM && onMeasureItem) {
                onMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
                *plResult = TRUE;
                return true;
            }
            return false;
        };
    }

    // The notifications since the last call, leaving out those not in `only` when it is given.
    std::vector<NotifySeen> TakeNotifications(const std::vector<UINT>& only = {})
    {
        std::vector<NotifySeen> result;
        for (const NotifySeen& seen : std::exchange(m_notifications, {})) {
            if (only.empty() || std::find(only.begin(), only.end(), seen.nCode) != only.end())
                result.push_back(seen);
        }
        return result;
    }
    std::vector<UINT> TakeCodes(const std::vector<UINT>& only = {})
    {
        std::vector<UINT> codes;
        for (const NotifySeen& seen : TakeNotifications(only))
            codes.push_back(seen.nCode);
        return codes;
    }

    // Queues a mouse event at a client point without running the queue, for
    // presses that run a drag-detect loop of their own.
    void QueueMouse(HWND hControl, EMouseAction eAction, int x, int y)
    {
        POINT pt { x, y };
        ClientToScreen(hControl, &pt);
        EMouseButton eButton = eAction == EMouseAction::Move ? EMouseButton::None : EMouseButton::Left;
        InjectMouseEvent(CMouseInput { eAction, eButton, pt, 0 });
    }
    // Presses at one point, moves to the other and releases, then runs the queue.
    void Drag(HWND hControl, POINT ptFrom, POINT ptTo)
    {
        QueueMouse(hControl, EMouseAction::ButtonDown, ptFrom.x, ptFrom.y);
        QueueMouse(hControl, EMouseAction::Move, (ptFrom.x + ptTo.x) / 2, (ptFrom.y + ptTo.y) / 2);
        QueueMouse(hControl, EMouseAction::Move, ptTo.x, ptTo.y);
        QueueMouse(hControl, EMouseAction::ButtonUp, ptTo.x, ptTo.y);
        PumpUntilIdle();
    }
    void QueuedClick(HWND hControl, int x, int y)
    {
        QueueMouse(hControl, EMouseAction::ButtonDown, x, y);
        QueueMouse(hControl, EMouseAction::ButtonUp, x, y);
        PumpUntilIdle();
    }

    std::function<LRESULT(NMHDR*)> onNotify;
    std::function<void(DRAWITEMSTRUCT*)> onDrawItem;
    std::function<void(MEASUREITEMSTRUCT*)> onMeasureItem;

private:
    // Reads past the bare header only for the notices known to carry more.
    static int ItemOf(const NMHDR* pHdr)
    {
        const auto nCode = static_cast<int>(pHdr->code);
        const auto InRange = [nCode](UINT nFirst) {
            return nCode <= static_cast<int>(nFirst) && nCode > static_cast<int>(nFirst) - 100;
        };
        char szClass[32] {};
        GetClassName(pHdr->hwndFrom, szClass, sizeof(szClass));
        if (std::string_view(szClass) == WC_TREEVIEW) // NM_* codes of a tree carry a bare NMHDR
            return InRange(TVN_FIRST) ? static_cast<int>(reinterpret_cast<const NMTREEVIEW*>(pHdr)->action) : 0;
        if (InRange(HDN_FIRST))
            return reinterpret_cast<const NMHEADER*>(pHdr)->iItem;
        if (std::string_view(szClass) != WC_LISTVIEW)
            return 0;
        if (pHdr->code == LVN_KEYDOWN)
            return reinterpret_cast<const NMLVKEYDOWN*>(pHdr)->wVKey;
        if (pHdr->code == LVN_GETDISPINFO)
            return reinterpret_cast<const NMLVDISPINFO*>(pHdr)->item.iItem;
        // The list's clicks carry an NMITEMACTIVATE, its own notices an NMLISTVIEW or a
        // structure as large; its focus and return notices a bare NMHDR.
        const bool bItem = InRange(LVN_FIRST) || pHdr->code == NM_CLICK || pHdr->code == NM_DBLCLK
            || pHdr->code == NM_RCLICK || pHdr->code == NM_RDBLCLK;
        return bItem ? reinterpret_cast<const NMLISTVIEW*>(pHdr)->iItem : 0;
    }

    std::vector<NotifySeen> m_notifications;
};
