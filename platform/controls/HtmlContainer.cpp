#include "platform/controls/HtmlContainer.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/HtmlUrl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Text.h"

#include <algorithm>

namespace {

constexpr int DEFAULT_FONT_PIXELS = 16;
constexpr int SCREEN_DPI = 96;

COLORREF ColourOf(const litehtml::web_color& color)
{
    return RGB(color.red, color.green, color.blue);
}

// Fills a rectangle with a solid colour.
void Fill(HDC hdc, const RECT& rc, COLORREF cr)
{
    HBRUSH hBrush = CreateSolidBrush(cr);
    FillRect(hdc, &rc, hBrush);
    DeleteObject(hBrush);
}

// The first family of a CSS font list, without quotes.
std::string FirstFamily(const char* pszFaces)
{
    std::string strFaces = pszFaces ? pszFaces : "";
    strFaces = strFaces.substr(0, strFaces.find(','));
    strFaces.erase(std::remove(strFaces.begin(), strFaces.end(), '"'), strFaces.end());
    strFaces.erase(std::remove(strFaces.begin(), strFaces.end(), '\''), strFaces.end());
    litehtml::trim(strFaces);
    return strFaces;
}

int ClampCoord(long long nCoord)
{
    return static_cast<int>(std::clamp<long long>(nCoord, -HTML_MAX_COORD, HTML_MAX_COORD));
}

// A border's width as far as it can be drawn: none when it is not seen.
int BorderWidth(const litehtml::border& border)
{
    if (border.style == litehtml::border_style_none || border.style == litehtml::border_style_hidden)
        return 0;
    return std::clamp(border.width, 0, HTML_MAX_COORD);
}

} // namespace

RECT HtmlBoxRect(const litehtml::position& box, const litehtml::position& origin)
{
    const long long x = static_cast<long long>(origin.x) + box.x;
    const long long y = static_cast<long long>(origin.y) + box.y;
    return RECT { ClampCoord(x), ClampCoord(y), ClampCoord(x + box.width), ClampCoord(y + box.height) };
}

CHtmlContainer::CHtmlContainer()
    : m_hMeasureDC(CreateCompatibleDC(nullptr))
{
}

CHtmlContainer::~CHtmlContainer()
{
    for (auto& [strUrl, hbm] : m_pictures) {
        if (hbm)
            DeleteObject(hbm);
    }
    DeleteDC(m_hMeasureDC);
}

void CHtmlContainer::SetPageUrl(const std::string& strUrl)
{
    m_strBaseUrl = strUrl;
}

void CHtmlContainer::SetViewSize(int cx, int cy)
{
    m_cxView = cx;
    m_cyView = cy;
}

void CHtmlContainer::BeginDraw(HDC hdc)
{
    m_hDrawDC = hdc;
}

void CHtmlContainer::EndDraw()
{
    while (!m_savedClips.empty())
        del_clip();
    m_hDrawDC = nullptr;
}

std::optional<CHtmlLink> CHtmlContainer::TakeClickedLink()
{
    std::optional<CHtmlLink> clicked = std::move(m_clicked);
    m_clicked.reset();
    return clicked;
}

HBITMAP CHtmlContainer::Picture(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl)
{
    if (!src || !*src)
        return nullptr;
    const std::string strBase = baseurl && *baseurl ? baseurl : m_strBaseUrl;
    const std::string strUrl = ResolveHtmlUrl(strBase, src);
    auto [it, bNew] = m_pictures.try_emplace(strUrl, nullptr);
    if (bNew) {
        if (std::optional<std::string> data = ReadHtmlUrl(strUrl))
            it->second = DecodePicture(data->data(), data->size());
    }
    return it->second;
}

/***** Fonts and text *****/

litehtml::uint_ptr CHtmlContainer::create_font(const litehtml::tchar_t* faceName, int size, int weight,
    litehtml::font_style italic, unsigned int decoration, litehtml::font_metrics* fm)
{
    const std::string strFace = FirstFamily(faceName);
    HFONT hFont = CreateFont(-std::max(1, size), 0, 0, 0, weight, italic == litehtml::fontStyleItalic,
        (decoration & litehtml::font_decoration_underline) != 0,
        (decoration & litehtml::font_decoration_linethrough) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, strFace.c_str());
    if (fm) {
        HGDIOBJ hOld = SelectObject(m_hMeasureDC, hFont);
        TEXTMETRIC tm {};
        GetTextMetrics(m_hMeasureDC, &tm);
        SIZE sizeX {};
        GetTextExtentPoint32(m_hMeasureDC, "x", 1, &sizeX);
        SelectObject(m_hMeasureDC, hOld);
        fm->ascent = tm.tmAscent;
        fm->descent = tm.tmDescent;
        fm->height = tm.tmHeight;
        fm->x_height = tm.tmAscent / 2;
        fm->draw_spaces = italic == litehtml::fontStyleItalic || decoration != 0;
    }
    return reinterpret_cast<litehtml::uint_ptr>(hFont);
}

void CHtmlContainer::delete_font(litehtml::uint_ptr hFont)
{
    DeleteObject(reinterpret_cast<HFONT>(hFont));
}

int CHtmlContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont)
{
    HGDIOBJ hOld = SelectObject(m_hMeasureDC, reinterpret_cast<HFONT>(hFont));
    SIZE size {};
    GetTextExtentPoint32(m_hMeasureDC, text, lstrlen(text), &size);
    SelectObject(m_hMeasureDC, hOld);
    return size.cx;
}

void CHtmlContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
    litehtml::web_color color, const litehtml::position& pos)
{
    auto hDC = reinterpret_cast<HDC>(hdc);
    HGDIOBJ hOld = SelectObject(hDC, reinterpret_cast<HFONT>(hFont));
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, ColourOf(color));
    TextOut(hDC, pos.x, pos.y, text, lstrlen(text));
    SelectObject(hDC, hOld);
}

int CHtmlContainer::pt_to_px(int pt) const
{
    return pt * SCREEN_DPI / 72;
}

int CHtmlContainer::get_default_font_size() const
{
    return DEFAULT_FONT_PIXELS;
}

const litehtml::tchar_t* CHtmlContainer::get_default_font_name() const
{
    return "Times New Roman";
}

void CHtmlContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt)
{
    if (tt == litehtml::text_transform_uppercase)
        text = Utf8ToUpper(text);
    else if (tt == litehtml::text_transform_lowercase)
        text = Utf8ToLower(text);
}

/***** Boxes and pictures *****/

void CHtmlContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker)
{
    // Every marker is drawn as a small square in the text's colour.
    const RECT rcLine = HtmlBoxRect(marker.pos);
    const int nSide = std::max(2, (rcLine.bottom - rcLine.top) / 2);
    RECT rc { rcLine.left, rcLine.top + (rcLine.bottom - rcLine.top - nSide) / 2, 0, 0 };
    rc.right = rc.left + nSide;
    rc.bottom = rc.top + nSide;
    Fill(reinterpret_cast<HDC>(hdc), rc, ColourOf(marker.color));
}

void CHtmlContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool)
{
    Picture(src, baseurl);
}

void CHtmlContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz)
{
    BITMAP bm {};
    HBITMAP hbm = Picture(src, baseurl);
    if (hbm && GetObject(hbm, sizeof(bm), &bm)) {
        sz.width = bm.bmWidth;
        sz.height = bm.bmHeight;
    } else {
        sz.width = sz.height = 0;
    }
}

void CHtmlContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg)
{
    auto hDC = reinterpret_cast<HDC>(hdc);
    RECT rcClip = HtmlBoxRect(bg.clip_box);
    if (bg.color.alpha > 0)
        Fill(hDC, rcClip, ColourOf(bg.color));
    HBITMAP hbm = Picture(bg.image.c_str(), bg.baseurl.c_str());
    BITMAP bm {};
    if (!hbm || !GetObject(hbm, sizeof(bm), &bm) || bg.image_size.width <= 0 || bg.image_size.height <= 0)
        return;
    // The tiles are laid over the part of the box that can be seen, however large the box.
    RECT rcVisible {};
    if (GetClipBox(hDC, &rcVisible) == ERROR || !IntersectRect(&rcClip, &rcClip, &rcVisible))
        return;
    // The picture at its place in the size asked, repeated as the style says, within the clip box.
    HDC hdcPicture = CreateCompatibleDC(hDC);
    HGDIOBJ hOld = SelectObject(hdcPicture, hbm);
    const int nSaved = SaveDC(hDC);
    IntersectClipRect(hDC, rcClip.left, rcClip.top, rcClip.right, rcClip.bottom);
    const int cx = std::min(bg.image_size.width, HTML_MAX_COORD), cy = std::min(bg.image_size.height, HTML_MAX_COORD);
    const bool bRepeatX
        = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_x;
    const bool bRepeatY
        = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_y;
    // The picture's place, already in the drawing coordinates.
    const int x0 = ClampCoord(bg.position_x), y0 = ClampCoord(bg.position_y);
    for (int y = bRepeatY ? y0 - ((y0 - rcClip.top + cy - 1) / cy) * cy : y0; y < (bRepeatY ? rcClip.bottom : y0 + 1);
         y += cy) {
        for (int x = bRepeatX ? x0 - ((x0 - rcClip.left + cx - 1) / cx) * cx : x0;
             x < (bRepeatX ? rcClip.right : x0 + 1); x += cx)
            StretchBlt(hDC, x, y, cx, cy, hdcPicture, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    }
    RestoreDC(hDC, nSaved);
    SelectObject(hdcPicture, hOld);
    DeleteDC(hdcPicture);
}

void CHtmlContainer::draw_borders(
    litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& draw_pos, bool)
{
    auto hDC = reinterpret_cast<HDC>(hdc);
    const RECT rc = HtmlBoxRect(draw_pos);
    const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    if (const int nTop = BorderWidth(borders.top); nTop > 0)
        Fill(hDC, RECT { l, t, r, t + nTop }, ColourOf(borders.top.color));
    if (const int nBottom = BorderWidth(borders.bottom); nBottom > 0)
        Fill(hDC, RECT { l, b - nBottom, r, b }, ColourOf(borders.bottom.color));
    if (const int nLeft = BorderWidth(borders.left); nLeft > 0)
        Fill(hDC, RECT { l, t, l + nLeft, b }, ColourOf(borders.left.color));
    if (const int nRight = BorderWidth(borders.right); nRight > 0)
        Fill(hDC, RECT { r - nRight, t, r, b }, ColourOf(borders.right.color));
}

void CHtmlContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool, bool)
{
    if (!m_hDrawDC)
        return;
    m_savedClips.push_back(SaveDC(m_hDrawDC));
    const RECT rc = HtmlBoxRect(pos);
    IntersectClipRect(m_hDrawDC, rc.left, rc.top, rc.right, rc.bottom);
}

void CHtmlContainer::del_clip()
{
    if (!m_hDrawDC || m_savedClips.empty())
        return;
    RestoreDC(m_hDrawDC, m_savedClips.back());
    m_savedClips.pop_back();
}

/***** The page around the document *****/

void CHtmlContainer::set_caption(const litehtml::tchar_t*) { }

void CHtmlContainer::set_base_url(const litehtml::tchar_t* base_url)
{
    if (base_url && *base_url)
        m_strBaseUrl = ResolveHtmlUrl(m_strBaseUrl, base_url);
}

void CHtmlContainer::link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) { }

void CHtmlContainer::on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el)
{
    const char* pszTarget = el ? el->get_attr("target", "") : "";
    m_clicked = CHtmlLink { ResolveHtmlUrl(m_strBaseUrl, url ? url : ""), pszTarget ? pszTarget : "" };
}

void CHtmlContainer::set_cursor(const litehtml::tchar_t* cursor)
{
    m_strCursor = cursor ? cursor : "";
}

void CHtmlContainer::import_css(litehtml::tstring& text, const litehtml::tstring&, litehtml::tstring&)
{
    // Pages bring their styles with them; linked style sheets are not fetched.
    text.clear();
}

void CHtmlContainer::get_client_rect(litehtml::position& client) const
{
    client = litehtml::position(0, 0, m_cxView, m_cyView);
}

std::shared_ptr<litehtml::element> CHtmlContainer::create_element(
    const litehtml::tchar_t*, const litehtml::string_map&, const std::shared_ptr<litehtml::document>&)
{
    return nullptr;
}

void CHtmlContainer::get_media_features(litehtml::media_features& media) const
{
    media.type = litehtml::media_type_screen;
    media.width = media.device_width = m_cxView;
    media.height = media.device_height = m_cyView;
    media.color = 8;
    media.color_index = 0;
    media.monochrome = 0;
    media.resolution = SCREEN_DPI;
}

void CHtmlContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const
{
    language = "en";
    culture.clear();
}
