#pragma once

// The document container that litehtml lays out and draws through: fonts
// from CreateFont (so the GDI maps the faces), text, backgrounds and borders
// through a DC, pictures decoded from files and resources, clipping through
// the DC's clip region. Only HtmlBrowser.cpp includes it, since it brings in
// the library's headers.

#include "platform/controls/HtmlBrowser.h"
#include "platform/gdi/GdiTypes.h"

#include <litehtml.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

// Our master style sheet: how the elements look before a page's own styles.
const char* HtmlMasterStyleSheet();

// A page may ask for any size, and the layout's sums of such sizes are taken
// as they come. Every box is clamped to this many pixels either side of the
// origin before it becomes device coordinates, so that no further sum
// overflows.
constexpr int HTML_MAX_COORD = 1 << 24;

// The rectangle of a layout box placed at an origin, clamped to HTML_MAX_COORD.
RECT HtmlBoxRect(const litehtml::position& box, const litehtml::position& origin = {});

class CHtmlContainer : public litehtml::document_container {
public:
    CHtmlContainer();
    ~CHtmlContainer();
    CHtmlContainer(const CHtmlContainer&) = delete;
    CHtmlContainer& operator=(const CHtmlContainer&) = delete;

    // The page's address, the base of its relative addresses until <base> names another.
    void SetPageUrl(const std::string& strUrl);
    const std::string& GetBaseUrl() const { return m_strBaseUrl; }
    void SetViewSize(int cx, int cy);
    // The DC the next draw goes to (litehtml's clip calls name none).
    void BeginDraw(HDC hdc);
    void EndDraw();
    // The last link clicked (on_anchor_click), taken once.
    std::optional<CHtmlLink> TakeClickedLink();
    bool IsCursorOnLink() const { return m_strCursor == "pointer"; }

    /* litehtml::document_container */

    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight, litehtml::font_style italic,
        unsigned int decoration, litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr hFont) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
        litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override;
    const litehtml::tchar_t* get_default_font_name() const override;
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool redraw_on_ready) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& draw_pos,
        bool root) override;
    void set_caption(const litehtml::tchar_t* caption) override;
    void set_base_url(const litehtml::tchar_t* base_url) override;
    void link(const std::shared_ptr<litehtml::document>& doc, const litehtml::element::ptr& el) override;
    void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) override;
    void set_cursor(const litehtml::tchar_t* cursor) override;
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius, bool valid_x,
        bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t* tag_name,
        const litehtml::string_map& attributes, const std::shared_ptr<litehtml::document>& doc) override;
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

private:
    // The picture at an address against a base, decoded once; NULL when it cannot be had.
    HBITMAP Picture(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl);

    HDC m_hMeasureDC;
    HDC m_hDrawDC { nullptr };
    std::vector<int> m_savedClips; // SaveDC levels of the open set_clip calls
    std::string m_strBaseUrl;
    std::map<std::string, HBITMAP> m_pictures; // by resolved address; NULL for one that failed
    std::optional<CHtmlLink> m_clicked;
    std::string m_strCursor;
    int m_cxView { 0 };
    int m_cyView { 0 };
};
