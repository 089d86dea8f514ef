#pragma once

// What the header's files share: its state, its geometry and the one way
// items change (so HDN_ITEMCHANGING and HDN_ITEMCHANGED are never missed).

#include "platform/controls/ControlInternal.h"
#include "platform/controls/HeaderControl.h"
#include "platform/gdi/ImageLists.h"

#include <string>
#include <vector>

struct CHeaderItem {
    std::string strText;
    int cxy { 0 };
    int fmt { HDF_LEFT | HDF_STRING };
    LPARAM lParam { 0 };
    int iImage { 0 };
    unsigned nSerial { 0 }; // tells an item apart from one that took its index
};

enum class EHeaderMode {
    Idle,
    Pressed,  // the button is down on an item that has not moved yet
    Tracking, // a divider follows the mouse
    Dragging, // an item follows the mouse to a new position
};

struct CHeaderState : CControlState {
    std::vector<CHeaderItem> items; // by index
    std::vector<int> order;         // indexes by position
    EHeaderMode eMode { EHeaderMode::Idle };
    int nActive { -1 };               // the item pressed, tracked or dragged
    int nTrackLeft { 0 };             // the tracked item's left edge
    int nTrackOffset { 0 };           // from the mouse to the divider when tracking began
    int nTrackWidth { 0 };            // the width while tracking
    int nDropPosition { -1 };         // where a dragged item would land
    bool bDetecting { false };        // DragDetect holds the mouse for a moment
    HIMAGELIST himlGhost { nullptr }; // the dragged item's picture while it follows the mouse
    unsigned nNextSerial { 1 };
};

// Half the width of the zone around a divider that grabs it.
constexpr int HEADER_DIVIDER_HALF = 4;

inline CHeaderState* HeaderState(HWND hWnd)
{
    return GetControlState<CHeaderState>(hWnd);
}

inline bool IsHeaderIndex(const CHeaderState& state, int nIndex)
{
    return nIndex >= 0 && nIndex < static_cast<int>(state.items.size());
}

/***** Items and geometry (HeaderInternal.cpp) *****/

// The index of the item with this serial number; -1 once it is gone.
int HeaderIndexOfSerial(const CHeaderState& state, unsigned nSerial);
// The position an item is shown at, from 0 at the left.
int HeaderPosition(const CHeaderState& state, int nIndex);
// Stores what item's mask names into item nIndex, moving it for HDI_ORDER;
// sends nothing and repaints nothing.
void ApplyHeaderItem(CHeaderState& state, int nIndex, const HDITEM& item);

// The item's place in client coordinates; empty for a bad index.
RECT HeaderItemRect(HWND hWnd, const CHeaderState& state, int nIndex);
// The item under a client point, with HHT_* flags; -1 for none.
int HeaderHitTest(HWND hWnd, const CHeaderState& state, POINT pt, UINT* pFlags);
// The gap a dragged item would drop into at x: 0 before the item at
// position 0, the item count after the last one.
int HeaderDropPosition(HWND hWnd, const CHeaderState& state, int x);

// Sends a header notification about item nIndex (pItem may be null).
LRESULT HeaderNotify(HWND hWnd, UINT nCode, int nIndex, HDITEM* pItem);
// Changes what pItem's mask names, after HDN_ITEMCHANGING allowed it, and
// announces it with HDN_ITEMCHANGED. FALSE for a bad index or a refusal.
BOOL ChangeHeaderItem(HWND hWnd, int nIndex, const HDITEM& item);

/***** Mouse (HeaderInput.cpp) *****/

// TRUE when the message was handled.
BOOL HandleHeaderMouse(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

/***** Painting (HeaderPaint.cpp) *****/

void PaintHeader(HWND hWnd, HDC hdc);
// A new image list (the caller destroys it) with one image: the item as the
// header draws it. NULL for a bad index.
HIMAGELIST CreateHeaderDragImage(HWND hWnd, int nIndex);
