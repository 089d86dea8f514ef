#include "platform/controls/StandardControls.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/ControlInternal.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/controls/StaticControl.h"
#include "platform/window/Input.h"
#include "platform/window/WindowClass.h"

#include <mutex>

namespace {

struct CControlClass {
    LPCSTR lpszName;
    WNDPROC lpfnWndProc;
};

constexpr CControlClass CONTROL_CLASSES[] = {
    { "Static", StaticWndProc },
    { "Button", ButtonWndProc },
    { "ScrollBar", ScrollBarWndProc },
    { "Edit", EditWndProc },
    { "ListBox", ListBoxWndProc },
    { "ComboBox", ComboBoxWndProc },
};

BOOL RegisterOnce()
{
    for (const CControlClass& control : CONTROL_CLASSES) {
        WNDCLASS wc {};
        wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
        wc.lpfnWndProc = control.lpfnWndProc;
        wc.cbWndExtra = CONTROL_EXTRA_BYTES;
        wc.hCursor = LoadCursor(nullptr, control.lpfnWndProc == EditWndProc ? IDC_IBEAM : IDC_ARROW);
        wc.lpszClassName = control.lpszName;
        if (!RegisterClass(&wc))
            return FALSE;
    }
    return TRUE;
}

} // namespace

BOOL RegisterStandardControls()
{
    static std::once_flag s_once;
    static BOOL s_bRegistered = FALSE;
    std::call_once(s_once, [] { s_bRegistered = RegisterOnce(); });
    return s_bRegistered;
}
