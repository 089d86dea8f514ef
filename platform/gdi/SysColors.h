#pragma once

// The system colours: fixed classic values, the same on every machine so that
// pictures and tests agree. They live with the drawing layer because its frame
// controls paint in them; the window layer offers them to the program as they are.

#include "platform/gdi/GdiTypes.h"

// clang-format off
constexpr int COLOR_SCROLLBAR               = 0;  // (192,192,192)
constexpr int COLOR_BACKGROUND              = 1;  // the desktop, (0,128,128)
constexpr int COLOR_ACTIVECAPTION           = 2;  // (0,0,128)
constexpr int COLOR_INACTIVECAPTION         = 3;  // (128,128,128)
constexpr int COLOR_MENU                    = 4;  // (192,192,192)
constexpr int COLOR_WINDOW                  = 5;  // white
constexpr int COLOR_WINDOWFRAME             = 6;  // black
constexpr int COLOR_MENUTEXT                = 7;  // black
constexpr int COLOR_WINDOWTEXT              = 8;  // black
constexpr int COLOR_CAPTIONTEXT             = 9;  // white
constexpr int COLOR_ACTIVEBORDER            = 10; // (192,192,192)
constexpr int COLOR_INACTIVEBORDER          = 11; // (192,192,192)
constexpr int COLOR_APPWORKSPACE            = 12; // (128,128,128)
constexpr int COLOR_HIGHLIGHT               = 13; // (0,0,128)
constexpr int COLOR_HIGHLIGHTTEXT           = 14; // white
constexpr int COLOR_BTNFACE                 = 15; // (192,192,192)
constexpr int COLOR_BTNSHADOW               = 16; // (128,128,128)
constexpr int COLOR_GRAYTEXT                = 17; // (128,128,128)
constexpr int COLOR_BTNTEXT                 = 18; // black
constexpr int COLOR_INACTIVECAPTIONTEXT     = 19; // (192,192,192)
constexpr int COLOR_BTNHIGHLIGHT            = 20; // white
constexpr int COLOR_3DDKSHADOW              = 21; // black
constexpr int COLOR_3DLIGHT                 = 22; // (223,223,223)
constexpr int COLOR_INFOTEXT                = 23; // black
constexpr int COLOR_INFOBK                  = 24; // (255,255,225)
constexpr int COLOR_HOTLIGHT                = 26; // (0,0,255)
constexpr int COLOR_GRADIENTACTIVECAPTION   = 27; // (16,132,208)
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28; // (181,181,181)
constexpr int COLOR_MENUHILIGHT             = 29; // (0,0,128)
constexpr int COLOR_MENUBAR                 = 30; // (192,192,192)
constexpr int COLOR_DESKTOP                 = COLOR_BACKGROUND;
constexpr int COLOR_3DFACE                  = COLOR_BTNFACE;
constexpr int COLOR_3DSHADOW                = COLOR_BTNSHADOW;
constexpr int COLOR_3DHIGHLIGHT             = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHILIGHT               = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_BTNHILIGHT              = COLOR_BTNHIGHLIGHT;
// clang-format on

// The colour of a display element; 0 for an index not listed above.
DWORD GetSysColor(int nIndex);
// A solid brush of that colour, owned by the system: DeleteObject leaves it
// alone. NULL for an index not listed above.
HBRUSH GetSysColorBrush(int nIndex);
