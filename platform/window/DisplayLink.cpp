#include "platform/window/DisplayLink.h"

#include "platform/display/HeadlessDisplay.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <map>

namespace {

// Passes the display's input to the injection functions.
class CInputForwarder : public CDisplayInputSink {
public:
    void OnMouseInput(const CMouseInput& input) override { InjectMouseEvent(input); }
    void OnKeyInput(const CKeyInput& input) override { InjectKeyEvent(input.nVirtualKey, input.bDown); }
};

// What the display was last told of a top-level window.
struct CToldWindow {
    RECT rcWindow {};
    bool bVisible { false };
};

struct CDisplayLink {
    CHeadlessDisplay headless { GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    CDisplay* pDisplay { &headless };
    CInputForwarder forwarder;
    std::map<HWND, CToldWindow> told;
    std::vector<HWND> toldOrder;
};

CDisplayLink& Link()
{
    static auto* pLink = new CDisplayLink;
    return *pLink;
}

bool SameSize(const RECT& rc1, const RECT& rc2)
{
    return rc1.right - rc1.left == rc2.right - rc2.left && rc1.bottom - rc1.top == rc2.bottom - rc2.top;
}

}

CDisplay* SetDisplay(CDisplay* pDisplay)
{
    auto lock = LockWindows();
    CDisplayLink& link = Link();
    CDisplay* pOld = link.pDisplay;
    pOld->SetInputSink(nullptr);
    link.pDisplay = pDisplay ? pDisplay : &link.headless;
    link.pDisplay->SetInputSink(&link.forwarder);
    link.told.clear(); // the new display is told of every window afresh
    link.toldOrder.clear();
    return pOld == &link.headless ? nullptr : pOld;
}

CTrayHost* GetDisplayTrayHost()
{
    auto lock = LockWindows();
    return Link().pDisplay->GetTrayHost();
}

CHeadlessDisplay& GetHeadlessDisplay()
{
    return Link().headless;
}

CDisplay& DisplayLocked()
{
    return *Link().pDisplay;
}

void SyncDisplayLocked()
{
    CDisplayLink& link = Link();
    CDisplay& display = *link.pDisplay;
    std::vector<HWND> order;
    for (CWindow* pTop : DesktopLocked().children) {
        HWND hTop = pTop->hWnd;
        order.push_back(hTop);
        bool bVisible = (pTop->dwStyle & WS_VISIBLE) != 0;
        auto it = link.told.find(hTop);
        if (it == link.told.end()) {
            display.CreateTopLevel(hTop, pTop->rcWindow);
            it = link.told.emplace(hTop, CToldWindow { pTop->rcWindow, false }).first;
            InvalidateWholeLocked(*pTop);
        } else if (!EqualRect(&it->second.rcWindow, &pTop->rcWindow)) {
            display.MoveTopLevel(hTop, pTop->rcWindow);
            if (!SameSize(it->second.rcWindow, pTop->rcWindow))
                InvalidateWholeLocked(*pTop); // the display dropped the pixels
            it->second.rcWindow = pTop->rcWindow;
        }
        if (it->second.bVisible != bVisible) {
            display.ShowTopLevel(hTop, bVisible);
            it->second.bVisible = bVisible;
        }
    }
    for (auto it = link.told.begin(); it != link.told.end();) {
        if (std::find(order.begin(), order.end(), it->first) == order.end()) {
            display.DestroyTopLevel(it->first);
            it = link.told.erase(it);
        } else {
            ++it;
        }
    }
    if (order != link.toldOrder) {
        display.RestackTopLevels(order);
        link.toldOrder = std::move(order);
    }
}
