#include "platform/display/X11Keys.h"

#include "platform/display/VirtualKeys.h"

#include <X11/keysym.h>

namespace {

// The virtual key each kernel key code has on a US keyboard: the letters,
// digits and punctuation keys; 0 for the others.
UINT UsKeyAt(UINT nScanCode)
{
    // clang-format off
    static constexpr UINT US_KEYS[] = {
        0, 0, '1', '2', '3', '4', '5', '6', '7', '8',                            // 0-9
        '9', '0', VK_OEM_MINUS, VK_OEM_PLUS, 0, 0, 'Q', 'W', 'E', 'R',           // 10-19
        'T', 'Y', 'U', 'I', 'O', 'P', VK_OEM_4, VK_OEM_6, 0, 0,                  // 20-29
        'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', VK_OEM_1,                   // 30-39
        VK_OEM_7, VK_OEM_3, 0, VK_OEM_5, 'Z', 'X', 'C', 'V', 'B', 'N',           // 40-49
        'M', VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2,                              // 50-53
    };
    // clang-format on
    constexpr UINT EXTRA_KEY = 86; // beside the left Shift on ISO keyboards
    if (nScanCode == EXTRA_KEY)
        return VK_OEM_102;
    return nScanCode < std::size(US_KEYS) ? US_KEYS[nScanCode] : 0;
}

// Keys named by their keysym, whatever the layout.
UINT FunctionKeyOf(unsigned long nKeysym)
{
    if (nKeysym >= XK_F1 && nKeysym <= XK_F24)
        return VK_F1 + static_cast<UINT>(nKeysym - XK_F1);
    if (nKeysym >= XK_KP_0 && nKeysym <= XK_KP_9)
        return VK_NUMPAD0 + static_cast<UINT>(nKeysym - XK_KP_0);
    // clang-format off
    static constexpr struct { unsigned long nKeysym; UINT nKey; } KEYS[] = {
        { XK_Return, VK_RETURN },       { XK_KP_Enter, VK_RETURN },     { XK_BackSpace, VK_BACK },
        { XK_Tab, VK_TAB },             { XK_ISO_Left_Tab, VK_TAB },    { XK_Escape, VK_ESCAPE },
        { XK_space, VK_SPACE },         { XK_KP_Space, VK_SPACE },
        { XK_Prior, VK_PRIOR },         { XK_Next, VK_NEXT },           { XK_End, VK_END },
        { XK_Home, VK_HOME },           { XK_Left, VK_LEFT },           { XK_Up, VK_UP },
        { XK_Right, VK_RIGHT },         { XK_Down, VK_DOWN },           { XK_Insert, VK_INSERT },
        { XK_Delete, VK_DELETE },       { XK_Pause, VK_PAUSE },         { XK_Break, VK_PAUSE },
        { XK_Print, VK_SNAPSHOT },      { XK_Sys_Req, VK_SNAPSHOT },    { XK_Menu, VK_APPS },
        { XK_Super_L, VK_LWIN },        { XK_Super_R, VK_RWIN },
        { XK_KP_Prior, VK_PRIOR },      { XK_KP_Next, VK_NEXT },        { XK_KP_End, VK_END },
        { XK_KP_Home, VK_HOME },        { XK_KP_Left, VK_LEFT },        { XK_KP_Up, VK_UP },
        { XK_KP_Right, VK_RIGHT },      { XK_KP_Down, VK_DOWN },        { XK_KP_Insert, VK_INSERT },
        { XK_KP_Delete, VK_DELETE },    { XK_KP_Begin, VK_CLEAR },
        { XK_KP_Multiply, VK_MULTIPLY }, { XK_KP_Add, VK_ADD },         { XK_KP_Subtract, VK_SUBTRACT },
        { XK_KP_Decimal, VK_DECIMAL },  { XK_KP_Separator, VK_DECIMAL }, { XK_KP_Divide, VK_DIVIDE },
        { XK_Shift_L, VK_LSHIFT },      { XK_Shift_R, VK_RSHIFT },
        { XK_Control_L, VK_LCONTROL },  { XK_Control_R, VK_RCONTROL },
        { XK_Alt_L, VK_LMENU },         { XK_Alt_R, VK_RMENU },         { XK_Meta_L, VK_LMENU },
        { XK_Meta_R, VK_RMENU },        { XK_ISO_Level3_Shift, VK_RMENU },
        { XK_Caps_Lock, VK_CAPITAL },   { XK_Num_Lock, VK_NUMLOCK },    { XK_Scroll_Lock, VK_SCROLL },
    };
    // clang-format on
    for (const auto& key : KEYS) {
        if (key.nKeysym == nKeysym)
            return key.nKey;
    }
    return 0;
}

UINT LatinLetterOf(unsigned long nKeysym)
{
    if (nKeysym >= XK_a && nKeysym <= XK_z)
        return static_cast<UINT>('A' + (nKeysym - XK_a));
    if (nKeysym >= XK_A && nKeysym <= XK_Z)
        return static_cast<UINT>(nKeysym);
    return 0;
}

}

UINT VirtualKeyOfX11Key(UINT nScanCode, unsigned long nKeysym, std::span<const unsigned long> groupSyms)
{
    if (UINT nKey = FunctionKeyOf(nKeysym))
        return nKey;
    for (unsigned long nGroupSym : groupSyms) {
        if (UINT nLetter = LatinLetterOf(nGroupSym))
            return nLetter;
    }
    return UsKeyAt(nScanCode);
}

bool IsAltGraphKeysym(unsigned long nKeysym)
{
    return nKeysym == XK_ISO_Level3_Shift || nKeysym == XK_Mode_switch;
}
