// The X11 display's cursors: the standard ones from the desktop's cursor
// theme (libXcursor), else the core cursor font; none for a NULL cursor.
// Every cursor made is named through XFixes, so that other clients (and the
// tests) can tell which one shows.

#include "platform/display/X11Display.h"

#include "platform/display/X11DisplayInternal.h"

#include <X11/Xcursor/Xcursor.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xfixes.h>

namespace {

struct CStandardCursor {
    WORD nId;                // IDC_* number
    const char* pszTheme;    // its name in cursor themes
    unsigned int nFontShape; // the core font's shape
};

// clang-format off
constexpr CStandardCursor STANDARD_CURSORS[] = {
    { 32512, "default", XC_left_ptr },            { 32513, "text", XC_xterm },
    { 32514, "wait", XC_watch },                  { 32650, "progress", XC_watch },
    { 32515, "crosshair", XC_crosshair },         { 32516, "up-arrow", XC_center_ptr },
    { 32642, "nwse-resize", XC_bottom_right_corner }, { 32643, "nesw-resize", XC_bottom_left_corner },
    { 32644, "ew-resize", XC_sb_h_double_arrow }, { 32645, "ns-resize", XC_sb_v_double_arrow },
    { 32646, "move", XC_fleur },                  { 32648, "not-allowed", XC_X_cursor },
    { 32649, "pointer", XC_hand2 },               { 32651, "help", XC_question_arrow },
};
// clang-format on

const CStandardCursor& StandardCursorOf(HCURSOR hCursor)
{
    auto nId = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(hCursor));
    for (const CStandardCursor& cursor : STANDARD_CURSORS) {
        if (cursor.nId == nId)
            return cursor;
    }
    // FIXME: a module's cursors show as the arrow until their images are read.
    return STANDARD_CURSORS[0];
}

}

Cursor CX11State::CursorFor(HCURSOR hCursor)
{
    auto it = m_cursors.find(hCursor);
    if (it != m_cursors.end())
        return it->second;
    Cursor cursor = None;
    const char* pszName = "none";
    if (!hCursor) {
        // An empty cursor: one pixel that its mask leaves out.
        static const char BLANK[1] = { 0 };
        Pixmap bitmap = XCreateBitmapFromData(m_pDisplay, m_root, BLANK, 1, 1);
        XColor black {};
        cursor = XCreatePixmapCursor(m_pDisplay, bitmap, bitmap, &black, &black, 0, 0);
        XFreePixmap(m_pDisplay, bitmap);
    } else {
        const CStandardCursor& standard = StandardCursorOf(hCursor);
        pszName = standard.pszTheme;
        cursor = XcursorLibraryLoadCursor(m_pDisplay, standard.pszTheme);
        if (!cursor)
            cursor = XCreateFontCursor(m_pDisplay, standard.nFontShape);
    }
    if (cursor)
        XFixesSetCursorName(m_pDisplay, cursor, pszName);
    m_cursors[hCursor] = cursor;
    return cursor;
}

void CX11Display::SetTopLevelCursor(HWND hWnd, HCURSOR hCursor)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    x11::CTopLevel* pWindow = state.Find(hWnd);
    if (!pWindow || state.m_bLost)
        return;
    Cursor cursor = state.CursorFor(hCursor);
    if (cursor == pWindow->cursor)
        return;
    pWindow->cursor = cursor;
    XDefineCursor(state.m_pDisplay, pWindow->window, cursor);
    XFlush(state.m_pDisplay);
}
