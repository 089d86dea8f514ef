#include "tools/rc/RcSymbols.h"

#include <map>

namespace {

using SymbolTable = std::map<std::string_view, LONGLONG>;

void AddVirtualKeys(SymbolTable& table)
{
    // VK_F1..VK_F24, VK_NUMPAD0..9, and letters and digits need no names: a
    // script writes them as "A" or "0".
    static const std::string_view F_KEYS[24] = { "VK_F1", "VK_F2", "VK_F3", "VK_F4", "VK_F5", "VK_F6", "VK_F7", "VK_F8",
        "VK_F9", "VK_F10", "VK_F11", "VK_F12", "VK_F13", "VK_F14", "VK_F15", "VK_F16", "VK_F17", "VK_F18", "VK_F19",
        "VK_F20", "VK_F21", "VK_F22", "VK_F23", "VK_F24" };
    for (int i = 0; i < 24; ++i)
        table.emplace(F_KEYS[i], 0x70 + i);
    static const std::string_view NUMPAD_KEYS[10] = { "VK_NUMPAD0", "VK_NUMPAD1", "VK_NUMPAD2", "VK_NUMPAD3",
        "VK_NUMPAD4", "VK_NUMPAD5", "VK_NUMPAD6", "VK_NUMPAD7", "VK_NUMPAD8", "VK_NUMPAD9" };
    for (int i = 0; i < 10; ++i)
        table.emplace(NUMPAD_KEYS[i], 0x60 + i);
}

const SymbolTable& Builtins()
{
    // clang-format off
    static const SymbolTable table = [] {
        SymbolTable t {
            // Window styles.
            { "WS_OVERLAPPED", 0x00000000 }, { "WS_POPUP", 0x80000000 }, { "WS_CHILD", 0x40000000 },
            { "WS_MINIMIZE", 0x20000000 }, { "WS_VISIBLE", 0x10000000 }, { "WS_DISABLED", 0x08000000 },
            { "WS_CLIPSIBLINGS", 0x04000000 }, { "WS_CLIPCHILDREN", 0x02000000 }, { "WS_MAXIMIZE", 0x01000000 },
            { "WS_CAPTION", 0x00C00000 }, { "WS_BORDER", 0x00800000 }, { "WS_DLGFRAME", 0x00400000 },
            { "WS_VSCROLL", 0x00200000 }, { "WS_HSCROLL", 0x00100000 }, { "WS_SYSMENU", 0x00080000 },
            { "WS_THICKFRAME", 0x00040000 }, { "WS_GROUP", 0x00020000 }, { "WS_TABSTOP", 0x00010000 },
            { "WS_MINIMIZEBOX", 0x00020000 }, { "WS_MAXIMIZEBOX", 0x00010000 },
            // Extended window styles.
            { "WS_EX_DLGMODALFRAME", 0x00000001 }, { "WS_EX_NOPARENTNOTIFY", 0x00000004 },
            { "WS_EX_TOPMOST", 0x00000008 }, { "WS_EX_ACCEPTFILES", 0x00000010 }, { "WS_EX_TRANSPARENT", 0x00000020 },
            { "WS_EX_TOOLWINDOW", 0x00000080 }, { "WS_EX_WINDOWEDGE", 0x00000100 }, { "WS_EX_CLIENTEDGE", 0x00000200 },
            { "WS_EX_CONTEXTHELP", 0x00000400 }, { "WS_EX_RIGHT", 0x00001000 }, { "WS_EX_CONTROLPARENT", 0x00010000 },
            { "WS_EX_STATICEDGE", 0x00020000 }, { "WS_EX_APPWINDOW", 0x00040000 },
            // Dialog styles.
            { "DS_ABSALIGN", 0x0001 }, { "DS_SYSMODAL", 0x0002 }, { "DS_3DLOOK", 0x0004 }, { "DS_FIXEDSYS", 0x0008 },
            { "DS_NOFAILCREATE", 0x0010 }, { "DS_LOCALEDIT", 0x0020 }, { "DS_SETFONT", 0x0040 },
            { "DS_MODALFRAME", 0x0080 }, { "DS_NOIDLEMSG", 0x0100 }, { "DS_SETFOREGROUND", 0x0200 },
            { "DS_CONTROL", 0x0400 }, { "DS_CENTER", 0x0800 }, { "DS_CENTERMOUSE", 0x1000 },
            { "DS_CONTEXTHELP", 0x2000 }, { "DS_SHELLFONT", 0x0048 },
            // Static controls.
            { "SS_LEFT", 0x00 }, { "SS_CENTER", 0x01 }, { "SS_RIGHT", 0x02 }, { "SS_ICON", 0x03 },
            { "SS_BLACKRECT", 0x04 }, { "SS_GRAYRECT", 0x05 }, { "SS_WHITERECT", 0x06 }, { "SS_BLACKFRAME", 0x07 },
            { "SS_GRAYFRAME", 0x08 }, { "SS_WHITEFRAME", 0x09 }, { "SS_SIMPLE", 0x0B }, { "SS_LEFTNOWORDWRAP", 0x0C },
            { "SS_OWNERDRAW", 0x0D }, { "SS_BITMAP", 0x0E }, { "SS_ETCHEDHORZ", 0x10 }, { "SS_ETCHEDVERT", 0x11 },
            { "SS_ETCHEDFRAME", 0x12 }, { "SS_NOPREFIX", 0x80 }, { "SS_NOTIFY", 0x100 }, { "SS_CENTERIMAGE", 0x200 },
            { "SS_SUNKEN", 0x1000 }, { "SS_ENDELLIPSIS", 0x4000 }, { "SS_PATHELLIPSIS", 0x8000 },
            // Buttons.
            { "BS_PUSHBUTTON", 0x00 }, { "BS_DEFPUSHBUTTON", 0x01 }, { "BS_CHECKBOX", 0x02 },
            { "BS_AUTOCHECKBOX", 0x03 }, { "BS_RADIOBUTTON", 0x04 }, { "BS_3STATE", 0x05 }, { "BS_AUTO3STATE", 0x06 },
            { "BS_GROUPBOX", 0x07 }, { "BS_USERBUTTON", 0x08 }, { "BS_AUTORADIOBUTTON", 0x09 },
            { "BS_OWNERDRAW", 0x0B }, { "BS_LEFTTEXT", 0x20 }, { "BS_ICON", 0x40 }, { "BS_BITMAP", 0x80 },
            { "BS_LEFT", 0x100 }, { "BS_RIGHT", 0x200 }, { "BS_CENTER", 0x300 }, { "BS_TOP", 0x400 },
            { "BS_BOTTOM", 0x800 }, { "BS_VCENTER", 0xC00 }, { "BS_PUSHLIKE", 0x1000 }, { "BS_MULTILINE", 0x2000 },
            { "BS_NOTIFY", 0x4000 }, { "BS_FLAT", 0x8000 },
            // Edit controls.
            { "ES_LEFT", 0x0000 }, { "ES_CENTER", 0x0001 }, { "ES_RIGHT", 0x0002 }, { "ES_MULTILINE", 0x0004 },
            { "ES_UPPERCASE", 0x0008 }, { "ES_LOWERCASE", 0x0010 }, { "ES_PASSWORD", 0x0020 },
            { "ES_AUTOVSCROLL", 0x0040 }, { "ES_AUTOHSCROLL", 0x0080 }, { "ES_NOHIDESEL", 0x0100 },
            { "ES_OEMCONVERT", 0x0400 }, { "ES_READONLY", 0x0800 }, { "ES_WANTRETURN", 0x1000 },
            { "ES_NUMBER", 0x2000 },
            // List boxes.
            { "LBS_NOTIFY", 0x0001 }, { "LBS_SORT", 0x0002 }, { "LBS_NOREDRAW", 0x0004 },
            { "LBS_MULTIPLESEL", 0x0008 }, { "LBS_OWNERDRAWFIXED", 0x0010 }, { "LBS_OWNERDRAWVARIABLE", 0x0020 },
            { "LBS_HASSTRINGS", 0x0040 }, { "LBS_USETABSTOPS", 0x0080 }, { "LBS_NOINTEGRALHEIGHT", 0x0100 },
            { "LBS_MULTICOLUMN", 0x0200 }, { "LBS_WANTKEYBOARDINPUT", 0x0400 }, { "LBS_EXTENDEDSEL", 0x0800 },
            { "LBS_DISABLENOSCROLL", 0x1000 }, { "LBS_NODATA", 0x2000 }, { "LBS_NOSEL", 0x4000 },
            { "LBS_STANDARD", 0x00A00003 },
            // Combo boxes.
            { "CBS_SIMPLE", 0x0001 }, { "CBS_DROPDOWN", 0x0002 }, { "CBS_DROPDOWNLIST", 0x0003 },
            { "CBS_OWNERDRAWFIXED", 0x0010 }, { "CBS_OWNERDRAWVARIABLE", 0x0020 }, { "CBS_AUTOHSCROLL", 0x0040 },
            { "CBS_OEMCONVERT", 0x0080 }, { "CBS_SORT", 0x0100 }, { "CBS_HASSTRINGS", 0x0200 },
            { "CBS_NOINTEGRALHEIGHT", 0x0400 }, { "CBS_DISABLENOSCROLL", 0x0800 }, { "CBS_UPPERCASE", 0x2000 },
            { "CBS_LOWERCASE", 0x4000 },
            // Scroll bars.
            { "SBS_HORZ", 0x0000 }, { "SBS_VERT", 0x0001 },
            // List views.
            { "LVS_ICON", 0x0000 }, { "LVS_REPORT", 0x0001 }, { "LVS_SMALLICON", 0x0002 }, { "LVS_LIST", 0x0003 },
            { "LVS_SINGLESEL", 0x0004 }, { "LVS_SHOWSELALWAYS", 0x0008 }, { "LVS_SORTASCENDING", 0x0010 },
            { "LVS_SORTDESCENDING", 0x0020 }, { "LVS_SHAREIMAGELISTS", 0x0040 }, { "LVS_NOLABELWRAP", 0x0080 },
            { "LVS_AUTOARRANGE", 0x0100 }, { "LVS_EDITLABELS", 0x0200 }, { "LVS_OWNERDRAWFIXED", 0x0400 },
            { "LVS_ALIGNLEFT", 0x0800 }, { "LVS_OWNERDATA", 0x1000 }, { "LVS_NOSCROLL", 0x2000 },
            { "LVS_NOCOLUMNHEADER", 0x4000 }, { "LVS_NOSORTHEADER", 0x8000 },
            // Tree views.
            { "TVS_HASBUTTONS", 0x0001 }, { "TVS_HASLINES", 0x0002 }, { "TVS_LINESATROOT", 0x0004 },
            { "TVS_EDITLABELS", 0x0008 }, { "TVS_DISABLEDRAGDROP", 0x0010 }, { "TVS_SHOWSELALWAYS", 0x0020 },
            { "TVS_CHECKBOXES", 0x0100 }, { "TVS_TRACKSELECT", 0x0200 }, { "TVS_SINGLEEXPAND", 0x0400 },
            { "TVS_FULLROWSELECT", 0x1000 },
            // Bars, progress, up-down and tab controls.
            { "CCS_TOP", 0x0001 }, { "CCS_NOMOVEY", 0x0002 }, { "CCS_BOTTOM", 0x0003 }, { "CCS_NORESIZE", 0x0004 },
            { "CCS_NOPARENTALIGN", 0x0008 }, { "CCS_NODIVIDER", 0x0040 },
            { "TBSTYLE_TOOLTIPS", 0x0100 }, { "TBSTYLE_WRAPABLE", 0x0200 }, { "TBSTYLE_FLAT", 0x0800 },
            { "SBARS_SIZEGRIP", 0x0100 },
            { "PBS_SMOOTH", 0x0001 }, { "PBS_VERTICAL", 0x0004 },
            { "UDS_WRAP", 0x0001 }, { "UDS_SETBUDDYINT", 0x0002 }, { "UDS_ALIGNRIGHT", 0x0004 },
            { "UDS_ALIGNLEFT", 0x0008 }, { "UDS_AUTOBUDDY", 0x0010 }, { "UDS_ARROWKEYS", 0x0020 },
            { "UDS_HORZ", 0x0040 }, { "UDS_NOTHOUSANDS", 0x0080 },
            { "TCS_TABS", 0x0000 }, { "TCS_BUTTONS", 0x0100 }, { "TCS_MULTILINE", 0x0200 },
            { "TCS_FOCUSNEVER", 0x8000 },
            // Animation and date-time picker controls.
            { "ACS_CENTER", 0x0001 }, { "ACS_TRANSPARENT", 0x0002 }, { "ACS_AUTOPLAY", 0x0004 },
            { "ACS_TIMER", 0x0008 },
            { "DTS_SHORTDATEFORMAT", 0x0000 }, { "DTS_UPDOWN", 0x0001 }, { "DTS_RIGHTALIGN", 0x0020 },
            // Virtual keys.
            { "VK_BACK", 0x08 }, { "VK_TAB", 0x09 }, { "VK_RETURN", 0x0D }, { "VK_SHIFT", 0x10 },
            { "VK_CONTROL", 0x11 }, { "VK_MENU", 0x12 }, { "VK_PAUSE", 0x13 }, { "VK_ESCAPE", 0x1B },
            { "VK_SPACE", 0x20 }, { "VK_PRIOR", 0x21 }, { "VK_NEXT", 0x22 }, { "VK_END", 0x23 }, { "VK_HOME", 0x24 },
            { "VK_LEFT", 0x25 }, { "VK_UP", 0x26 }, { "VK_RIGHT", 0x27 }, { "VK_DOWN", 0x28 },
            { "VK_INSERT", 0x2D }, { "VK_DELETE", 0x2E }, { "VK_HELP", 0x2F }, { "VK_APPS", 0x5D },
            { "VK_MULTIPLY", 0x6A }, { "VK_ADD", 0x6B }, { "VK_SEPARATOR", 0x6C }, { "VK_SUBTRACT", 0x6D },
            { "VK_DECIMAL", 0x6E }, { "VK_DIVIDE", 0x6F },
            // Standard dialog commands.
            { "IDOK", 1 }, { "IDCANCEL", 2 }, { "IDABORT", 3 }, { "IDRETRY", 4 }, { "IDIGNORE", 5 },
            { "IDYES", 6 }, { "IDNO", 7 }, { "IDCLOSE", 8 }, { "IDHELP", 9 }, { "IDC_STATIC", -1 },
        };
        AddVirtualKeys(t);
        return t;
    }();
    // clang-format on
    return table;
}

}

std::optional<LONGLONG> RcBuiltinSymbol(std::string_view name)
{
    const SymbolTable& table = Builtins();
    auto it = table.find(name);
    if (it == table.end())
        return std::nullopt;
    return it->second;
}
