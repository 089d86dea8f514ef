#pragma once

// Text through pango with deterministic fonts: a private fontconfig setup that
// knows only the DejaVu files of fonts-dejavu-core, no hinting, greyscale
// antialiasing, glyph positions rounded to whole pixels, and no kerning or
// ligatures, so that widths add up character by character and are the same on
// every machine. Text is UTF-8; invalid bytes show as '?'.

#include "platform/gdi/PixelTarget.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

typedef struct _PangoLayout PangoLayout;

// The measures of the font: shared by the live font objects made from the same
// LOGFONT on one thread (dialogs and controls make theirs anew), so a new one measures no
// character again while another like it lives.
CFontMeasures& MeasuresOf(CGdiFont& font);
// The metrics of the font, computed once.
const TEXTMETRIC& FontMetrics(CGdiFont& font);

// One line of text in one font, measured and ready to draw.
class CTextLine {
public:
    // `underline`, when given, is a byte range drawn underlined (a prefix character).
    CTextLine(CGdiFont& font, std::string_view text, std::optional<std::pair<size_t, size_t>> underline = {});
    ~CTextLine();
    CTextLine(const CTextLine&) = delete;
    CTextLine& operator=(const CTextLine&) = delete;

    int Width() const { return m_nWidth; }
    // The width of the first `nBytes` bytes, which must end on a character boundary.
    int WidthOf(size_t nBytes) const;
    // Draws the line with its cell's top-left corner at (x, y), in device
    // coordinates, blending `cr` over the destination; only inside `pClip` when given.
    void Draw(CPixelTarget& target, int x, int y, COLORREF cr, const RECT* pClip) const;

private:
    // Renders the line's glyphs and keeps their coverage, on the first draw.
    void RenderMask() const;
    // Finds where each cluster of the line starts, on the first WidthOf that
    // asks for part of the line; false when the clusters do not run left to
    // right (WidthOf then asks the layout each time).
    bool MeasureClusters() const;

    CGdiFont& m_font;
    std::string m_text;
    PangoLayout* m_pLayout { nullptr };
    int m_nWidth { 0 };
    // Each cluster's first byte and its left edge (Pango units), in line order; empty until measured.
    mutable std::vector<std::pair<size_t, int>> m_clusters;
    mutable bool m_bClustersMeasured { false };
    mutable bool m_bClustersInOrder { false };
    mutable bool m_bRendered { false };
    mutable std::vector<unsigned char> m_coverage; // the glyphs' coverage over m_rcInk, row by row
    mutable RECT m_rcInk {};                       // the covered part, relative to the cell's top-left
};

// The line of `text` in `font`, from the font's recently shaped lines.
std::shared_ptr<const CTextLine> ShapedLine(CGdiFont& font, std::string_view text);

// The width of a whole line of `text`, the same as its shaped line's. Text of
// printable Latin-1 characters alone is added up from the font's character
// widths (shaping puts them side by side: no kerning or ligatures, whole-pixel
// advances), so measuring many texts shapes none of them; other text is shaped.
int LineWidth(CGdiFont& font, std::string_view text);

// Whether byte `nByte` of `text` starts a character (or is its end).
bool IsCharacterStart(std::string_view text, size_t nByte);
