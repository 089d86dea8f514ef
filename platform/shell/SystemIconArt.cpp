#include "platform/shell/SystemIconArt.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"

#include <initializer_list>
#include <vector>

namespace {

// clang-format off
constexpr COLORREF EDGE        = RGB(64, 64, 72);
constexpr COLORREF PAPER       = RGB(255, 255, 255);
constexpr COLORREF PAPER_FOLD  = RGB(200, 204, 212);
constexpr COLORREF INK         = RGB(70, 90, 130);
constexpr COLORREF SKY         = RGB(110, 170, 230);
constexpr COLORREF SUN         = RGB(250, 210, 40);
constexpr COLORREF HILL        = RGB(60, 150, 60);
constexpr COLORREF ENVELOPE    = RGB(252, 244, 210);
constexpr COLORREF CARTON      = RGB(210, 165, 95);
constexpr COLORREF CARTON_EDGE = RGB(120, 80, 30);
constexpr COLORREF WINDOW_BODY = RGB(225, 228, 235);
constexpr COLORREF TITLE_BAR   = RGB(40, 90, 180);
constexpr COLORREF CARD_BACK   = RGB(40, 150, 150);
constexpr COLORREF CARD_FRONT  = RGB(190, 235, 230);
constexpr COLORREF FOLDER_BACK = RGB(215, 165, 40);
constexpr COLORREF FOLDER      = RGB(245, 205, 85);
constexpr COLORREF FOLDER_EDGE = RGB(150, 105, 20);
constexpr COLORREF METAL       = RGB(200, 200, 205);
constexpr COLORREF LAMP        = RGB(40, 200, 60);
constexpr COLORREF SLOT        = RGB(30, 30, 30);
constexpr COLORREF DISC        = RGB(215, 220, 230);
constexpr COLORREF DISC_SHINE  = RGB(160, 200, 240);
constexpr COLORREF CABLE       = RGB(40, 110, 200);
constexpr COLORREF SCREEN      = RGB(60, 120, 200);
constexpr COLORREF BIN         = RGB(170, 190, 200);
constexpr COLORREF BIN_EDGE    = RGB(80, 95, 105);
constexpr COLORREF ARROW       = RGB(40, 140, 60);
// clang-format on

// Draws shapes given on the 16 x 16 grid, scaled by the unit. A shape's edge
// is one grid step wide; fills cover [left, right) x [top, bottom) of the grid.
class CIconPen {
public:
    CIconPen(HDC hdc, int nUnit)
        : m_hdc(hdc)
        , m_nUnit(nUnit)
    {
    }

    void Fill(int l, int t, int r, int b, COLORREF cr) const
    {
        RECT rc { l * m_nUnit, t * m_nUnit, r * m_nUnit, b * m_nUnit };
        HBRUSH hBrush = CreateSolidBrush(cr);
        FillRect(m_hdc, &rc, hBrush);
        DeleteObject(hBrush);
    }

    // A filled rectangle with an edge.
    void Box(int l, int t, int r, int b, COLORREF crFill, COLORREF crEdge) const
    {
        Fill(l, t, r, b, crEdge);
        Fill(l + 1, t + 1, r - 1, b - 1, crFill);
    }

    // A filled polygon with an edge, its corners on grid points.
    void Shape(std::initializer_list<POINT> corners, COLORREF crFill, COLORREF crEdge) const
    {
        std::vector<POINT> points;
        for (POINT pt : corners)
            points.push_back(POINT { pt.x * m_nUnit, pt.y * m_nUnit });
        Select(crFill, crEdge, [&] { Polygon(m_hdc, points.data(), static_cast<int>(points.size())); });
    }

    void Disc(int l, int t, int r, int b, COLORREF crFill, COLORREF crEdge) const
    {
        Select(crFill, crEdge, [&] { Ellipse(m_hdc, l * m_nUnit, t * m_nUnit, r * m_nUnit, b * m_nUnit); });
    }

    void Line(std::initializer_list<POINT> corners, COLORREF cr) const
    {
        std::vector<POINT> points;
        for (POINT pt : corners)
            points.push_back(POINT { pt.x * m_nUnit, pt.y * m_nUnit });
        Select(cr, cr, [&] { Polyline(m_hdc, points.data(), static_cast<int>(points.size())); });
    }

private:
    template<typename Draw> void Select(COLORREF crFill, COLORREF crEdge, Draw draw) const
    {
        HPEN hPen = CreatePen(PS_SOLID, m_nUnit, crEdge);
        HBRUSH hBrush = CreateSolidBrush(crFill);
        HGDIOBJ hOldPen = SelectObject(m_hdc, hPen);
        HGDIOBJ hOldBrush = SelectObject(m_hdc, hBrush);
        draw();
        SelectObject(m_hdc, hOldPen);
        SelectObject(m_hdc, hOldBrush);
        DeleteObject(hPen);
        DeleteObject(hBrush);
    }

    HDC m_hdc;
    int m_nUnit;
};

// A sheet of paper with its top right corner folded down.
void Page(const CIconPen& pen)
{
    pen.Shape({ { 2, 0 }, { 10, 0 }, { 14, 4 }, { 14, 16 }, { 2, 16 } }, PAPER, EDGE);
    pen.Shape({ { 10, 0 }, { 10, 4 }, { 14, 4 } }, PAPER_FOLD, EDGE);
}

void Folder(const CIconPen& pen, bool bOpen)
{
    pen.Box(0, 2, 7, 5, FOLDER_BACK, FOLDER_EDGE);
    pen.Box(0, 4, 16, 14, bOpen ? FOLDER_BACK : FOLDER, FOLDER_EDGE);
    if (bOpen)
        pen.Shape({ { 3, 7 }, { 16, 7 }, { 13, 14 }, { 0, 14 } }, FOLDER, FOLDER_EDGE);
}

// A drive's case seen from the front; its top at grid row nTop.
void DriveCase(const CIconPen& pen, int nTop)
{
    pen.Box(0, nTop, 16, nTop + 7, METAL, EDGE);
    pen.Fill(1, nTop + 1, 15, nTop + 2, PAPER);
}

} // namespace

void DrawSystemIconArt(HDC hdc, SystemIcon eIcon, int nUnit)
{
    CIconPen pen(hdc, nUnit);
    switch (eIcon) {
    case SYSICON_DOCUMENT:
    case SYSICON_COUNT:
        Page(pen);
        break;
    case SYSICON_FOLDER:
        Folder(pen, false);
        break;
    case SYSICON_FOLDER_OPEN:
        Folder(pen, true);
        break;
    case SYSICON_DRIVE_FIXED:
        DriveCase(pen, 5);
        pen.Fill(11, 9, 14, 10, LAMP);
        break;
    case SYSICON_DRIVE_REMOVABLE:
        DriveCase(pen, 5);
        pen.Fill(3, 8, 10, 10, SLOT);
        pen.Fill(12, 8, 14, 9, LAMP);
        break;
    case SYSICON_DRIVE_CDROM:
        pen.Disc(0, 0, 16, 16, DISC, EDGE);
        pen.Disc(3, 3, 13, 13, DISC_SHINE, DISC_SHINE);
        // The hole shows what lies under the icon.
        pen.Disc(6, 6, 10, 10, ICON_ART_TRANSPARENT, EDGE);
        break;
    case SYSICON_DRIVE_NETWORK:
        DriveCase(pen, 1);
        pen.Fill(11, 5, 14, 6, LAMP);
        pen.Fill(7, 8, 9, 14, CABLE);
        pen.Fill(1, 13, 15, 15, CABLE);
        break;
    case SYSICON_TEXT:
        Page(pen);
        for (int y = 6; y <= 12; y += 2)
            pen.Fill(4, y, y == 12 ? 9 : 12, y + 1, INK);
        break;
    case SYSICON_PICTURE:
        Page(pen);
        pen.Fill(4, 6, 12, 14, SKY);
        pen.Disc(8, 7, 11, 10, SUN, SUN);
        pen.Shape({ { 4, 14 }, { 7, 9 }, { 11, 14 } }, HILL, HILL);
        break;
    case SYSICON_MAIL:
        pen.Box(0, 3, 16, 14, ENVELOPE, EDGE);
        pen.Line({ { 1, 4 }, { 8, 9 }, { 15, 4 } }, EDGE);
        break;
    case SYSICON_ARCHIVE:
        pen.Box(1, 4, 15, 15, CARTON, CARTON_EDGE);
        pen.Box(0, 2, 16, 6, CARTON, CARTON_EDGE);
        pen.Fill(7, 2, 9, 15, CARTON_EDGE);
        break;
    case SYSICON_PROGRAM:
        pen.Box(0, 2, 16, 14, WINDOW_BODY, EDGE);
        pen.Fill(1, 3, 15, 6, TITLE_BAR);
        pen.Fill(3, 8, 8, 12, SKY);
        break;
    case SYSICON_MY_COMPUTER:
        pen.Box(1, 1, 15, 11, METAL, EDGE);
        pen.Fill(3, 3, 13, 9, SCREEN);
        pen.Fill(6, 11, 10, 13, METAL);
        pen.Box(2, 13, 14, 16, METAL, EDGE);
        break;
    case SYSICON_NETWORK:
        pen.Disc(1, 1, 15, 15, SKY, EDGE);
        pen.Line({ { 8, 1 }, { 8, 15 } }, EDGE);
        pen.Line({ { 1, 8 }, { 15, 8 } }, EDGE);
        pen.Disc(5, 1, 11, 15, SKY, EDGE);
        break;
    case SYSICON_RECYCLE_EMPTY:
    case SYSICON_RECYCLE_FULL:
        if (eIcon == SYSICON_RECYCLE_FULL)
            pen.Box(4, 0, 12, 4, PAPER, EDGE); // a sheet sticks out of the bin
        pen.Shape({ { 2, 4 }, { 14, 4 }, { 12, 16 }, { 4, 16 } }, BIN, BIN_EDGE);
        pen.Box(1, 2, 15, 5, BIN, BIN_EDGE);
        for (int x = 6; x <= 10; x += 2)
            pen.Fill(x, 7, x + 1, 14, BIN_EDGE);
        break;
    case SYSICON_LAUNCHER:
        Page(pen);
        pen.Box(0, 9, 7, 16, PAPER, EDGE);
        pen.Line({ { 2, 14 }, { 5, 11 } }, ARROW);
        pen.Line({ { 3, 11 }, { 5, 11 }, { 5, 13 } }, ARROW);
        break;
    case SYSICON_CATALOG_ITEM:
        pen.Box(4, 1, 16, 11, CARD_BACK, EDGE);
        pen.Box(0, 5, 12, 15, CARD_FRONT, EDGE);
        pen.Fill(2, 8, 10, 9, CARD_BACK);
        pen.Fill(2, 11, 8, 12, CARD_BACK);
        break;
    }
}
