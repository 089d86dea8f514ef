// Owned top-level windows follow their owner into and out of the minimized state.

#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <vector>

namespace {

// Marks a window hidden because its owner was minimized.
constexpr const char* HIDDEN_BY_OWNER = "ArchivoraHiddenByOwner";

} // namespace

void ShowOwnedWindows(HWND hOwner, bool bShow)
{
    if (GetWindowLong(hOwner, GWL_STYLE) & WS_CHILD)
        return;
    std::vector<HWND> owned;
    for (HWND hWnd = GetWindow(GetDesktopWindow(), GW_CHILD); hWnd; hWnd = GetWindow(hWnd, GW_HWNDNEXT)) {
        if (GetWindow(hWnd, GW_OWNER) == hOwner)
            owned.push_back(hWnd);
    }
    for (HWND hWnd : owned) {
        if (!bShow && IsWindowVisible(hWnd)) {
            SetProp(hWnd, HIDDEN_BY_OWNER, reinterpret_cast<HANDLE>(1));
            ShowWindow(hWnd, SW_HIDE);
        } else if (bShow && RemoveProp(hWnd, HIDDEN_BY_OWNER)) {
            ShowWindow(hWnd, SW_SHOWNA);
        }
    }
}
