#include "platform/controls/CommonControls.h"

#include "platform/controls/AnimateControl.h"
#include "platform/controls/ControlInternal.h"
#include "platform/controls/DateTimePicker.h"
#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/controls/MonthCalendar.h"
#include "platform/controls/ProgressControl.h"
#include "platform/controls/StatusBarControl.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/ToolTipControl.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/controls/UpDownControl.h"
#include "platform/window/Input.h"
#include "platform/window/WindowClass.h"

#include <mutex>

namespace {

struct CCommonClass {
    DWORD dwICC;
    LPCSTR lpszName;
    WNDPROC lpfnWndProc;
};

constexpr CCommonClass COMMON_CLASSES[] = {
    { ICC_LISTVIEW_CLASSES, WC_HEADER, HeaderWndProc },
    { ICC_LISTVIEW_CLASSES, WC_LISTVIEW, ListViewWndProc },
    { ICC_TREEVIEW_CLASSES, WC_TREEVIEW, TreeViewWndProc },
    { ICC_BAR_CLASSES | ICC_TAB_CLASSES, TOOLTIPS_CLASS, ToolTipWndProc },
    { ICC_BAR_CLASSES, TOOLBARCLASSNAME, ToolbarWndProc },
    { ICC_BAR_CLASSES, STATUSCLASSNAME, StatusBarWndProc },
    { ICC_PROGRESS_CLASS, PROGRESS_CLASS, ProgressWndProc },
    { ICC_UPDOWN_CLASS | ICC_DATE_CLASSES, UPDOWN_CLASS, UpDownWndProc }, // the picker's DTS_UPDOWN
    { ICC_TAB_CLASSES, WC_TABCONTROL, TabControlWndProc },
    { ICC_ANIMATE_CLASS, ANIMATE_CLASS, AnimateWndProc },
    { ICC_DATE_CLASSES, DATETIMEPICK_CLASS, DateTimePickerWndProc },
    { ICC_DATE_CLASSES, MONTHCAL_CLASS, MonthCalendarWndProc },
};

std::mutex s_mutex;
DWORD s_dwRegistered = 0;

} // namespace

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* pInitCtrls)
{
    if (!pInitCtrls || pInitCtrls->dwSize != sizeof(INITCOMMONCONTROLSEX))
        return FALSE;
    std::lock_guard lock(s_mutex);
    for (const CCommonClass& control : COMMON_CLASSES) {
        if (!(pInitCtrls->dwICC & control.dwICC) || (s_dwRegistered & control.dwICC))
            continue;
        WNDCLASS wc {};
        wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
        wc.lpfnWndProc = control.lpfnWndProc;
        wc.cbWndExtra = CONTROL_EXTRA_BYTES;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = control.lpszName;
        if (!RegisterClass(&wc))
            return FALSE;
    }
    for (const CCommonClass& control : COMMON_CLASSES)
        s_dwRegistered |= pInitCtrls->dwICC & control.dwICC;
    return TRUE;
}

void InitCommonControls()
{
    INITCOMMONCONTROLSEX icc { sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_DATE_CLASSES };
    InitCommonControlsEx(&icc);
}
