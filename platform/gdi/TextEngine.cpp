#include "platform/gdi/TextEngine.h"

#include "platform/gdi/Rects.h"
#include "platform/gdi/TextLineCache.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

/*************************************************************************
 * The private font setup
 *************************************************************************/

namespace {

// The font files of fonts-dejavu-core; nothing else is ever matched.
constexpr const char* FONT_FOLDER = "/usr/share/fonts/truetype/dejavu/";
constexpr std::array<const char*, 6> FONT_FILES { "DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf",
    "DejaVuSansMono-Bold.ttf", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf" };

// Rendering settings for every font, and a slant made by shearing where a
// family has no italic face of its own.
constexpr const char* FONT_CONFIGURATION = R"(<?xml version="1.0"?>
<fontconfig>
  <match target="font">
    <edit name="hinting" mode="assign"><bool>false</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintnone</const></edit>
    <edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="rgba" mode="assign"><const>none</const></edit>
    <edit name="embeddedbitmap" mode="assign"><bool>false</bool></edit>
  </match>
  <match target="font">
    <test name="slant" compare="eq"><const>roman</const></test>
    <test target="pattern" name="slant" compare="not_eq"><const>roman</const></test>
    <edit name="matrix" mode="assign">
      <times><name>matrix</name><matrix><double>1</double><double>0.2</double><double>0</double><double>1</double></matrix></times>
    </edit>
    <edit name="slant" mode="assign"><const>oblique</const></edit>
  </match>
</fontconfig>
)";

PangoContext* TextContext()
{
    static PangoContext* pContext = [] {
        FcConfig* pConfig = FcConfigCreate();
        FcConfigParseAndLoadFromMemory(pConfig, reinterpret_cast<const FcChar8*>(FONT_CONFIGURATION), FcTrue);
        for (const char* pszFile : FONT_FILES) {
            std::string strPath = std::string(FONT_FOLDER) + pszFile;
            FcConfigAppFontAddFile(pConfig, reinterpret_cast<const FcChar8*>(strPath.c_str()));
        }
        PangoFontMap* pFontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(pFontMap), pConfig);
        FcConfigDestroy(pConfig);
        PangoContext* pNew = pango_font_map_create_context(pFontMap);
        cairo_font_options_t* pOptions = cairo_font_options_create();
        cairo_font_options_set_antialias(pOptions, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(pOptions, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(pOptions, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_subpixel_order(pOptions, CAIRO_SUBPIXEL_ORDER_DEFAULT);
        pango_cairo_context_set_font_options(pNew, pOptions);
        cairo_font_options_destroy(pOptions);
        pango_context_set_round_glyph_positions(pNew, TRUE);
        pango_context_set_language(pNew, pango_language_from_string("en"));
        return pNew;
    }();
    return pContext;
}

bool SameName(const char* pszA, const char* pszB)
{
    return g_ascii_strcasecmp(pszA, pszB) == 0;
}

// The DejaVu family for a face name and pitch-and-family byte.
const char* FamilyFor(const LOGFONT& log)
{
    static constexpr const char* MONO_FACES[]
        = { "Courier New", "Courier", "Fixedsys", "Terminal", "Lucida Console", "DejaVu Sans Mono" };
    static constexpr const char* SERIF_FACES[] = { "Times New Roman", "Times", "MS Serif", "DejaVu Serif" };
    char szFace[LF_FACESIZE + 1] {};
    std::memcpy(szFace, log.lfFaceName, LF_FACESIZE);
    for (const char* pszFace : MONO_FACES) {
        if (SameName(szFace, pszFace))
            return "DejaVu Sans Mono";
    }
    for (const char* pszFace : SERIF_FACES) {
        if (SameName(szFace, pszFace))
            return "DejaVu Serif";
    }
    if (szFace[0] == '\0') {
        // No face: the pitch and family decide.
        constexpr BYTE FIXED_PITCH = 1, FF_ROMAN = 0x10, FF_MODERN = 0x30;
        if ((log.lfPitchAndFamily & 3) == FIXED_PITCH || (log.lfPitchAndFamily & 0xF0) == FF_MODERN)
            return "DejaVu Sans Mono";
        if ((log.lfPitchAndFamily & 0xF0) == FF_ROMAN)
            return "DejaVu Serif";
    }
    return "DejaVu Sans";
}

// Height 0 asks for the default: a 16-pixel cell.
constexpr LONG DEFAULT_CELL_HEIGHT = 16;
constexpr double REFERENCE_SIZE = 1000;

PangoFontDescription* MakeDescription(const LOGFONT& log, double dEmPixels)
{
    PangoFontDescription* pDescription = pango_font_description_new();
    pango_font_description_set_family(pDescription, FamilyFor(log));
    LONG nWeight = log.lfWeight == 0 ? 400 : std::clamp<LONG>(log.lfWeight, 100, 1000);
    pango_font_description_set_weight(pDescription, static_cast<PangoWeight>(nWeight));
    pango_font_description_set_style(pDescription, log.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(pDescription, dEmPixels * PANGO_SCALE);
    return pDescription;
}

// The em size in pixels that LOGFONT's height asks for: a negative height is
// the em itself, a positive one the cell (ascent + descent).
double EmPixels(const LOGFONT& log)
{
    if (log.lfHeight < 0)
        return -static_cast<double>(log.lfHeight);
    double dCell = log.lfHeight == 0 ? DEFAULT_CELL_HEIGHT : log.lfHeight;
    PangoFontDescription* pReference = MakeDescription(log, REFERENCE_SIZE);
    PangoFontMetrics* pMetrics = pango_context_get_metrics(TextContext(), pReference, nullptr);
    double dReferenceCell
        = (pango_font_metrics_get_ascent(pMetrics) + pango_font_metrics_get_descent(pMetrics)) / double(PANGO_SCALE);
    pango_font_metrics_unref(pMetrics);
    pango_font_description_free(pReference);
    return std::max(1.0, dCell * REFERENCE_SIZE / dReferenceCell);
}

PangoFontDescription* DescriptionOf(CGdiFont& font)
{
    if (!font.m_pDescription)
        font.m_pDescription = MakeDescription(font.m_log, EmPixels(font.m_log));
    return font.m_pDescription;
}

// Text that pango accepts: invalid UTF-8 bytes become '?', byte for byte.
std::string ValidText(std::string_view text)
{
    std::string strValid(text);
    const char* pszEnd = nullptr;
    size_t nStart = 0;
    while (!g_utf8_validate(strValid.data() + nStart, static_cast<gssize>(strValid.size() - nStart), &pszEnd)) {
        size_t nBad = static_cast<size_t>(pszEnd - strValid.data());
        strValid[nBad] = '?';
        nStart = nBad + 1;
    }
    // Tabs and line ends show as blanks here; callers that expand tabs or break lines do so first.
    std::replace(strValid.begin(), strValid.end(), '\t', ' ');
    return strValid;
}

}

CGdiFont::CGdiFont() = default;

CGdiFont::~CGdiFont()
{
    if (m_pDescription)
        pango_font_description_free(m_pDescription);
}

CFontMeasures& MeasuresOf(CGdiFont& font)
{
    if (font.m_pMeasures)
        return *font.m_pMeasures;
    // Keyed by every field of the LOGFONT, the face name up to its end, and by
    // the thread: the measures fill in unguarded as they are used, so fonts of
    // different threads (each with its own windows) never share them.
    std::string strKey(reinterpret_cast<const char*>(&font.m_log), offsetof(LOGFONT, lfFaceName));
    strKey.append(font.m_log.lfFaceName, strnlen(font.m_log.lfFaceName, LF_FACESIZE));
    const std::thread::id thread = std::this_thread::get_id();
    strKey.append(reinterpret_cast<const char*>(&thread), sizeof(thread));
    static std::mutex s_mutex;
    static auto* s_pLive = new std::map<std::string, std::weak_ptr<CFontMeasures>>; // read while the process exits
    std::lock_guard lock(s_mutex);
    std::weak_ptr<CFontMeasures>& live = (*s_pLive)[strKey];
    font.m_pMeasures = live.lock();
    if (!font.m_pMeasures) {
        font.m_pMeasures = std::make_shared<CFontMeasures>();
        live = font.m_pMeasures;
        // The measures of fonts all gone are dropped now and then.
        if (s_pLive->size() % 64 == 0)
            std::erase_if(*s_pLive, [](const auto& entry) { return entry.second.expired(); });
    }
    return *font.m_pMeasures;
}

const TEXTMETRIC& FontMetrics(CGdiFont& font)
{
    CFontMeasures& measures = MeasuresOf(font);
    if (measures.bHasMetrics)
        return measures.metrics;
    PangoFontDescription* pDescription = DescriptionOf(font);
    PangoFontMetrics* pMetrics = pango_context_get_metrics(TextContext(), pDescription, nullptr);
    TEXTMETRIC& tm = measures.metrics;
    tm = TEXTMETRIC {};
    tm.tmAscent = PANGO_PIXELS(pango_font_metrics_get_ascent(pMetrics));
    tm.tmDescent = PANGO_PIXELS(pango_font_metrics_get_descent(pMetrics));
    if (font.m_log.lfHeight >= 0) {
        // A cell height was asked for: it is exact, whatever the rounding of its parts.
        LONG nCell = font.m_log.lfHeight == 0 ? DEFAULT_CELL_HEIGHT : font.m_log.lfHeight;
        tm.tmDescent = nCell - tm.tmAscent;
    }
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    LONG nEm = static_cast<LONG>(std::lround(pango_font_description_get_size(pDescription) / double(PANGO_SCALE)));
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - nEm);
    tm.tmExternalLeading = 0;
    tm.tmAveCharWidth = PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(pMetrics));
    pango_font_metrics_unref(pMetrics);
    tm.tmMaxCharWidth = CTextLine(font, "W").Width();
    tm.tmWeight = font.m_log.lfWeight == 0 ? 400 : font.m_log.lfWeight;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = ' ';
    tm.tmLastChar = '~';
    tm.tmDefaultChar = '?';
    tm.tmBreakChar = ' ';
    tm.tmItalic = font.m_log.lfItalic ? 1 : 0;
    tm.tmUnderlined = font.m_log.lfUnderline ? 1 : 0;
    tm.tmStruckOut = font.m_log.lfStrikeOut ? 1 : 0;
    // TMPF_FIXED_PITCH set means variable pitch; all of ours are TrueType and vector.
    constexpr BYTE TMPF_FIXED_PITCH = 0x01, TMPF_VECTOR = 0x02, TMPF_TRUETYPE = 0x04;
    bool bMono = std::strcmp(FamilyFor(font.m_log), "DejaVu Sans Mono") == 0;
    tm.tmPitchAndFamily
        = static_cast<BYTE>((bMono ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE | (bMono ? 0x30 : 0x20));
    tm.tmCharSet = font.m_log.lfCharSet;
    measures.bHasMetrics = true;
    return measures.metrics;
}

/*************************************************************************
 * Lines of text
 *************************************************************************/

std::shared_ptr<const CTextLine> ShapedLine(CGdiFont& font, std::string_view text)
{
    // Enough for a few screens of a list's cells.
    constexpr size_t KEPT_LINES = 1024;
    if (!font.m_pLines)
        font.m_pLines = std::make_unique<CTextLineCache>(KEPT_LINES);
    return font.m_pLines->Line(font, text);
}

namespace {

// Whether a code point is a printable Latin-1 character whose glyph stands on
// its own. The soft hyphen is left out: it shows only where a line breaks.
bool IsPlainLatin(unsigned nCodePoint)
{
    constexpr unsigned SOFT_HYPHEN = 0xAD;
    return (nCodePoint >= 0x20 && nCodePoint < 0x7F)
        || (nCodePoint >= 0xA0 && nCodePoint <= 0xFF && nCodePoint != SOFT_HYPHEN);
}

// The code point of the character at text[*pnByte] when it is plain Latin
// (advancing *pnByte past it), else nothing.
std::optional<unsigned> NextPlainLatin(std::string_view text, size_t* pnByte)
{
    const auto nLead = static_cast<unsigned char>(text[*pnByte]);
    unsigned nCodePoint = nLead;
    size_t nLength = 1;
    if (nLead >= 0x80) {
        // Below 256 only as two bytes: a lead of C2 or C3 and a continuation.
        if ((nLead != 0xC2 && nLead != 0xC3) || *pnByte + 1 >= text.size()
            || (static_cast<unsigned char>(text[*pnByte + 1]) & 0xC0) != 0x80)
            return std::nullopt;
        nCodePoint = ((nLead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[*pnByte + 1]) & 0x3Fu);
        nLength = 2;
    }
    if (!IsPlainLatin(nCodePoint))
        return std::nullopt;
    *pnByte += nLength;
    return nCodePoint;
}

} // namespace

int LineWidth(CGdiFont& font, std::string_view text)
{
    constexpr size_t LATIN_CODE_POINTS = 256;
    std::vector<int>& latinWidths = MeasuresOf(font).latinWidths;
    if (latinWidths.empty())
        latinWidths.assign(LATIN_CODE_POINTS, -1);
    int nWidth = 0;
    for (size_t nByte = 0; nByte < text.size();) {
        const size_t nStart = nByte;
        const std::optional<unsigned> nCodePoint = NextPlainLatin(text, &nByte);
        if (!nCodePoint)
            return ShapedLine(font, text)->Width();
        int& nCharWidth = latinWidths[*nCodePoint];
        if (nCharWidth < 0)
            nCharWidth = CTextLine(font, text.substr(nStart, nByte - nStart)).Width();
        nWidth += nCharWidth;
    }
    return nWidth;
}

bool IsCharacterStart(std::string_view text, size_t nByte)
{
    return nByte >= text.size() || (static_cast<unsigned char>(text[nByte]) & 0xC0) != 0x80;
}

CTextLine::CTextLine(CGdiFont& font, std::string_view text, std::optional<std::pair<size_t, size_t>> underline)
    : m_font(font)
    , m_text(ValidText(text))
{
    m_pLayout = pango_layout_new(TextContext());
    pango_layout_set_single_paragraph_mode(m_pLayout, TRUE);
    pango_layout_set_font_description(m_pLayout, DescriptionOf(font));
    PangoAttrList* pAttributes = pango_attr_list_new();
    pango_attr_list_insert(pAttributes, pango_attr_font_features_new("kern 0, liga 0, clig 0"));
    if (font.m_log.lfUnderline)
        pango_attr_list_insert(pAttributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.m_log.lfStrikeOut)
        pango_attr_list_insert(pAttributes, pango_attr_strikethrough_new(TRUE));
    if (underline) {
        PangoAttribute* pUnderline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        pUnderline->start_index = static_cast<guint>(underline->first);
        pUnderline->end_index = static_cast<guint>(underline->second);
        pango_attr_list_insert(pAttributes, pUnderline);
    }
    pango_layout_set_attributes(m_pLayout, pAttributes);
    pango_attr_list_unref(pAttributes);
    pango_layout_set_text(m_pLayout, m_text.data(), static_cast<int>(m_text.size()));
    m_nWidth = WidthOf(m_text.size());
}

CTextLine::~CTextLine()
{
    g_object_unref(m_pLayout);
}

int CTextLine::WidthOf(size_t nBytes) const
{
    if (nBytes == 0)
        return 0;
    if (nBytes >= m_text.size()) {
        PangoRectangle logical;
        pango_layout_get_extents(m_pLayout, nullptr, &logical);
        return PANGO_PIXELS(logical.width);
    }
    // Cutting a long line tries many heads of it: the clusters' edges are
    // found once and looked up, instead of the layout walking to each byte.
    if (MeasureClusters()) {
        auto it = std::lower_bound(m_clusters.begin(), m_clusters.end(), nBytes,
            [](const std::pair<size_t, int>& cluster, size_t nByte) { return cluster.first < nByte; });
        if (it != m_clusters.end() && it->first == nBytes)
            return PANGO_PIXELS(it->second);
    }
    PangoRectangle position;
    pango_layout_index_to_pos(m_pLayout, static_cast<int>(nBytes), &position);
    return PANGO_PIXELS(position.x);
}

bool CTextLine::MeasureClusters() const
{
    if (m_bClustersMeasured)
        return m_bClustersInOrder;
    m_bClustersMeasured = true;
    m_bClustersInOrder = true;
    PangoLayoutIter* pIter = pango_layout_get_iter(m_pLayout);
    do {
        PangoRectangle logical;
        pango_layout_iter_get_cluster_extents(pIter, nullptr, &logical);
        const auto nIndex = static_cast<size_t>(pango_layout_iter_get_index(pIter));
        if (!m_clusters.empty() && (nIndex <= m_clusters.back().first || logical.x < m_clusters.back().second))
            m_bClustersInOrder = false;
        m_clusters.emplace_back(nIndex, logical.x);
    } while (m_bClustersInOrder && pango_layout_iter_next_cluster(pIter));
    pango_layout_iter_free(pIter);
    if (!m_bClustersInOrder)
        m_clusters.clear();
    return m_bClustersInOrder;
}

void CTextLine::RenderMask() const
{
    const TEXTMETRIC& tm = FontMetrics(m_font);
    // Room around the cell for italic overhang and glyphs that reach past it.
    const int nPad = tm.tmHeight / 2 + 2;
    const int nWidth = m_nWidth + 2 * nPad, nHeight = tm.tmHeight + 2 * nPad;
    cairo_surface_t* pMask = cairo_image_surface_create(CAIRO_FORMAT_A8, nWidth, nHeight);
    cairo_t* pCairo = cairo_create(pMask);
    int nBaseline = PANGO_PIXELS(pango_layout_get_baseline(m_pLayout));
    cairo_move_to(pCairo, nPad, nPad + tm.tmAscent - nBaseline);
    pango_cairo_show_layout(pCairo, m_pLayout);
    cairo_destroy(pCairo);
    cairo_surface_flush(pMask);

    // Only the inked part of the mask is kept.
    const unsigned char* pData = cairo_image_surface_get_data(pMask);
    const int nStride = cairo_image_surface_get_stride(pMask);
    RECT rcInk { nWidth, nHeight, 0, 0 };
    for (int py = 0; py < nHeight; ++py) {
        const unsigned char* pRow = pData + static_cast<ptrdiff_t>(py) * nStride;
        const unsigned char* pFirst = std::find_if(pRow, pRow + nWidth, [](unsigned char n) { return n != 0; });
        if (pFirst == pRow + nWidth)
            continue;
        const unsigned char* pLast = std::find_if(
            std::make_reverse_iterator(pRow + nWidth), std::make_reverse_iterator(pFirst), [](unsigned char n) {
                return n != 0;
            }).base();
        rcInk.left = std::min<LONG>(rcInk.left, static_cast<LONG>(pFirst - pRow));
        rcInk.right = std::max<LONG>(rcInk.right, static_cast<LONG>(pLast - pRow));
        rcInk.top = std::min<LONG>(rcInk.top, py);
        rcInk.bottom = py + 1;
    }
    if (rcInk.right <= rcInk.left)
        rcInk = RECT { nPad, nPad, nPad, nPad };
    const int nInkWidth = rcInk.right - rcInk.left;
    m_coverage.resize(static_cast<size_t>(nInkWidth) * (rcInk.bottom - rcInk.top));
    for (int py = rcInk.top; py < rcInk.bottom; ++py) {
        const unsigned char* pFrom = pData + static_cast<ptrdiff_t>(py) * nStride + rcInk.left;
        std::copy(pFrom, pFrom + nInkWidth, m_coverage.begin() + static_cast<ptrdiff_t>(py - rcInk.top) * nInkWidth);
    }
    cairo_surface_destroy(pMask);
    OffsetRect(&rcInk, -nPad, -nPad);
    m_rcInk = rcInk;
    m_bRendered = true;
}

void CTextLine::Draw(CPixelTarget& target, int x, int y, COLORREF cr, const RECT* pClip) const
{
    if (!m_bRendered)
        RenderMask();
    const int nInkWidth = m_rcInk.right - m_rcInk.left;
    if (nInkWidth <= 0)
        return;
    // Blend the mask into the visible part of its area, a row and a clip span at a time.
    const uint32_t nColour = target.Pixel(cr);
    const bool bMonochrome = target.IsMonochrome();
    const int xInk = x + m_rcInk.left, yInk = y + m_rcInk.top;
    RECT rcArea = m_rcInk;
    OffsetRect(&rcArea, x, y);
    if (pClip && !IntersectRect(&rcArea, &rcArea, pClip))
        rcArea = RECT {};
    rcArea = target.VisiblePart(rcArea);
    for (int py = rcArea.top; py < rcArea.bottom; ++py) {
        const unsigned char* pAlpha = m_coverage.data() + static_cast<ptrdiff_t>(py - yInk) * nInkWidth - xInk;
        uint32_t* pRow = target.Bitmap().Row(py);
        for (const RECT& rcSpan : target.Clip().Band(py)) {
            const int nTo = std::min<int>(rcSpan.right, rcArea.right);
            for (int px = std::max<int>(rcSpan.left, rcArea.left); px < nTo; ++px) {
                const unsigned nAlpha = pAlpha[px];
                if (nAlpha == 0)
                    continue;
                if (bMonochrome) {
                    if (nAlpha >= 128)
                        pRow[px] = nColour;
                    continue;
                }
                const uint32_t nDst = pRow[px];
                const unsigned nInverse = 255 - nAlpha;
                auto blend = [&](int nShift) {
                    unsigned nFore = (nColour >> nShift) & 0xFF, nBack = (nDst >> nShift) & 0xFF;
                    return ((nFore * nAlpha + nBack * nInverse + 127) / 255) << nShift;
                };
                pRow[px] = blend(0) | blend(8) | blend(16);
            }
        }
    }
}
