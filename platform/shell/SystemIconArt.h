#pragma once

// The pictures of the system image lists, drawn with the drawing layer. Each
// is designed on a 16 x 16 grid and drawn at a whole multiple of it.

#include "platform/shell/SystemImageLists.h"

// The colour that stands for "transparent" while an icon is drawn.
constexpr COLORREF ICON_ART_TRANSPARENT = RGB(255, 0, 255);

// Draws icon eIcon into the 16 * nUnit square at the origin of hdc, whose
// pixels hold ICON_ART_TRANSPARENT where the icon leaves them alone.
void DrawSystemIconArt(HDC hdc, SystemIcon eIcon, int nUnit);
