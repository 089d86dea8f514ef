#include "bench/TwentyControlDialog.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/StandardControls.h"
#include "platform/controls/StaticControl.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <cassert>

namespace {

INT_PTR CALLBACK TwentyControlDlgProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG;
}

} // namespace

DialogTemplate TwentyControlTemplate()
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | WS_VISIBLE;
    dialog.cx = 260;
    dialog.cy = 200;
    dialog.nPointSize = 8;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.strCaption = "Twenty controls";
    auto add = [&](const char* pszClass, DWORD dwStyle, const char* pszText, SHORT x, SHORT y, SHORT cx, SHORT cy) {
        auto nId = static_cast<DWORD>(100 + dialog.controls.size());
        dialog.controls.push_back({ nId, dwStyle | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, pszClass, pszText });
    };
    for (SHORT nRow = 0; nRow < 5; ++nRow) {
        add("Static", SS_LEFT, "&Field:", 7, static_cast<SHORT>(9 + 16 * nRow), 40, 8);
        add("Edit", WS_BORDER | WS_TABSTOP, "Some text in the field", 50, static_cast<SHORT>(7 + 16 * nRow), 100, 12);
    }
    add("Button", BS_GROUPBOX, "Kind", 160, 7, 90, 50);
    add("Button", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "&Letter", 166, 18, 70, 10);
    add("Button", BS_AUTORADIOBUTTON, "&Invoice", 166, 30, 70, 10);
    add("Button", BS_AUTORADIOBUTTON, "&Other", 166, 42, 70, 10);
    add("Button", BS_AUTOCHECKBOX | WS_TABSTOP, "&Read only", 160, 62, 90, 10);
    add("Button", BS_AUTOCHECKBOX | WS_TABSTOP, "&Hidden", 160, 76, 90, 10);
    add("ListBox", WS_BORDER | WS_VSCROLL | WS_TABSTOP, "", 7, 110, 143, 60);
    add("ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, "", 160, 110, 90, 60);
    add("Button", BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 146, 178, 50, 14);
    add("Button", BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 200, 178, 50, 14);
    assert(dialog.controls.size() == 20);
    return dialog;
}

HWND MakeTwentyControlDialog()
{
    if (!RegisterStandardControls())
        return nullptr;
    DialogTemplate dialog = TwentyControlTemplate();
    HWND hDlg = CreateDialogIndirectParam(nullptr, &dialog, nullptr, TwentyControlDlgProc, 0);
    if (!hDlg)
        return nullptr;
    HWND hList = GetDlgItem(hDlg, 116);
    HWND hCombo = GetDlgItem(hDlg, 117);
    for (const char* pszItem : { "Draft", "Final", "Archived", "Deleted", "Pending", "Shared", "Private" }) {
        SendMessage(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
        SendMessage(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
    }
    SendMessage(hList, LB_SETCURSEL, 1, 0);
    SendMessage(hCombo, CB_SETCURSEL, 0, 0);
    return hDlg;
}
