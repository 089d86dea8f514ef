#pragma once

// The menu font of the non-client metrics at a chosen weight: the font of
// the popup lists, the image menus and the program's shared menu fonts.

#include "platform/base/WinTypes.h"

class CFont;

// Creates the font into font (which holds none yet); its result.
BOOL CreateMenuFont(CFont& font, LONG nWeight);
