#pragma once

// The palette the program's owner-drawn controls select and realise before
// they paint, so that their palette-relative greys (0x02RRGGBB) keep their
// shades on a display of 256 colours or fewer. The application object makes
// it at start-up when the display needs one; on a true-colour display it
// stays null, every control then skips the selection and its
// palette-relative colours draw as the RGB values they carry.

class CPalette;

extern CPalette* g_appPalette;

class CDC;

// Selects the palette into pDC in the foreground and realises it; nothing
// without one.
void RealizeAppPalette(CDC* pDC);
