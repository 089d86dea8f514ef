// The X11 display's cursors: the standard ones from the desktop's cursor
// theme (libXcursor), else the core cursor font; none for a NULL cursor; a
// cursor object of the program's (a module's cursor) from its picture, with
// its hot spot. The standard cursors and the empty one are named through
// XFixes, so that other clients (and the tests) can tell which one shows; a
// picture has no name.

#include "platform/display/X11Display.h"

#include "platform/display/X11DisplayInternal.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Icons.h"

#include <algorithm>
#include <cstdint>
#include <vector>

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

// The arrow, shown for a handle that is no cursor.
HCURSOR ArrowCursor()
{
    return reinterpret_cast<HCURSOR>(static_cast<ULONG_PTR>(STANDARD_CURSORS[0].nId));
}

// The standard cursor of a handle that is an IDC_* number; nullptr for another handle.
const CStandardCursor* StandardCursorOf(HCURSOR hCursor)
{
    auto nValue = reinterpret_cast<ULONG_PTR>(hCursor);
    for (const CStandardCursor& cursor : STANDARD_CURSORS) {
        if (cursor.nId == nValue)
            return &cursor;
    }
    return nullptr;
}

// The X cursor showing a cursor object's picture; None when the handle is
// no cursor object or its picture cannot be drawn.
Cursor PictureCursor(Display* pDisplay, HCURSOR hCursor)
{
    ICONINFO info {};
    if (!GetIconInfo(hCursor, &info))
        return None;
    BITMAP bm {};
    GetObject(info.hbmMask, sizeof(bm), &bm);
    int cx = bm.bmWidth;
    int cy = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2; // a monochrome mask holds both halves
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    std::vector<uint32_t> pixels = cx > 0 && cy > 0 ? IconPixels(hCursor, cx, cy) : std::vector<uint32_t>();
    if (pixels.empty())
        return None;
    XcursorImage* pImage = XcursorImageCreate(cx, cy);
    if (!pImage)
        return None;
    pImage->xhot = std::min<XcursorDim>(info.xHotspot, static_cast<XcursorDim>(cx - 1));
    pImage->yhot = std::min<XcursorDim>(info.yHotspot, static_cast<XcursorDim>(cy - 1));
    // Each pixel opaque or clear, so its colour is premultiplied as it is.
    std::copy(pixels.begin(), pixels.end(), pImage->pixels);
    Cursor cursor = XcursorImageLoadCursor(pDisplay, pImage);
    XcursorImageDestroy(pImage);
    return cursor;
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
    } else if (const CStandardCursor* pStandard = StandardCursorOf(hCursor)) {
        pszName = pStandard->pszTheme;
        cursor = XcursorLibraryLoadCursor(m_pDisplay, pStandard->pszTheme);
        if (!cursor)
            cursor = XCreateFontCursor(m_pDisplay, pStandard->nFontShape);
    } else {
        pszName = nullptr;
        cursor = PictureCursor(m_pDisplay, hCursor);
        if (!cursor)
            return CursorFor(ArrowCursor()); // not kept: the arrow is freed once, under its own handle
    }
    if (cursor && pszName)
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
