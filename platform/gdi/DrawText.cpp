#include "platform/gdi/DrawText.h"

#include "platform/gdi/Rects.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/TextLayout.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

// DrawText formats in four steps: '&' prefixes are taken out (remembering the
// character to underline), the text is cut into lines at line ends and, with
// DT_WORDBREAK, between words, each line that is still too wide is shortened
// with an ellipsis when asked, and the lines are measured or drawn.

namespace {

constexpr std::string_view ELLIPSIS = "...";

struct Line {
    std::string text;
    std::optional<size_t> nUnderline; // byte within text
};

struct Formatter {
    CGdiFont& font;
    const CTabStops* pTabs;
    UINT nFormat;
    int nMaxWidth;

    int Measure(std::string_view text) const { return MeasureTabbedLine(font, text, pTabs); }

    // The largest character boundary k in [nFrom, nTo] for which fits(k)
    // holds, or nothing; fits must hold up to some k and fail after it, as
    // widths grow with the text.
    template<typename Fits>
    std::optional<size_t> LargestFitting(std::string_view text, size_t nFrom, size_t nTo, Fits fits) const
    {
        std::vector<size_t> boundaries;
        for (size_t k = nFrom; k <= nTo; ++k) {
            if (IsCharacterStart(text, k))
                boundaries.push_back(k);
        }
        // Binary search for the first boundary that does not fit.
        size_t nLow = 0, nHigh = boundaries.size();
        while (nLow < nHigh) {
            size_t nMiddle = (nLow + nHigh) / 2;
            if (fits(boundaries[nMiddle]))
                nLow = nMiddle + 1;
            else
                nHigh = nMiddle;
        }
        if (nLow == 0)
            return std::nullopt;
        return boundaries[nLow - 1];
    }

    // LargestFitting by a cheap estimate of fits, which the cut found is
    // checked against on both sides; by fits alone where the estimate is wrong.
    template<typename Estimate, typename Fits>
    std::optional<size_t> LargestFittingChecked(
        std::string_view text, size_t nFrom, size_t nTo, Estimate estimate, Fits fits) const
    {
        std::optional<size_t> nCut = LargestFitting(text, nFrom, nTo, estimate);
        size_t nNext = nCut ? *nCut + 1 : nFrom;
        while (nNext <= nTo && !IsCharacterStart(text, nNext))
            ++nNext;
        if ((!nCut || fits(*nCut)) && (nNext > nTo || !fits(nNext)))
            return nCut;
        return LargestFitting(text, nFrom, nTo, fits);
    }

    // Breaks one paragraph into lines no wider than the rectangle where the words allow.
    void BreakWords(const std::string& paragraph, std::optional<size_t> nUnderline, std::vector<Line>& lines) const
    {
        size_t nPos = 0;
        do {
            size_t nFit = std::string::npos;
            for (size_t e = nPos + 1; e <= paragraph.size(); ++e) {
                bool bWordEnd = e == paragraph.size() || (paragraph[e] == ' ' && paragraph[e - 1] != ' ');
                if (!bWordEnd)
                    continue;
                if (Measure(std::string_view(paragraph).substr(nPos, e - nPos)) > nMaxWidth)
                    break;
                nFit = e;
            }
            if (nFit == std::string::npos) {
                // The first word alone is too wide: it overflows, or with
                // DT_EDITCONTROL it is cut where it reaches the edge.
                size_t nWordEnd = std::min(paragraph.find(' ', nPos), paragraph.size());
                nFit = nWordEnd;
                if (nFormat & DT_EDITCONTROL) {
                    std::string_view word = std::string_view(paragraph).substr(nPos, nWordEnd - nPos);
                    std::optional<size_t> nCut = LargestFitting(
                        word, 1, word.size(), [&](size_t k) { return Measure(word.substr(0, k)) <= nMaxWidth; });
                    size_t nOneChar = 1;
                    while (!IsCharacterStart(word, nOneChar))
                        ++nOneChar;
                    nFit = nPos + (nCut ? *nCut : nOneChar);
                }
            }
            Line line { paragraph.substr(nPos, nFit - nPos), std::nullopt };
            if (nUnderline && *nUnderline >= nPos && *nUnderline < nFit)
                line.nUnderline = *nUnderline - nPos;
            lines.push_back(std::move(line));
            nPos = nFit;
            while (nPos < paragraph.size() && paragraph[nPos] == ' ')
                ++nPos;
        } while (nPos < paragraph.size());
    }

    // The longest head of source that fits with "..." after it, and "...".
    std::string EndCut(std::string_view source) const
    {
        auto fits
            = [&](size_t n) { return Measure(std::string(source.substr(0, n)) + std::string(ELLIPSIS)) <= nMaxWidth; };
        std::optional<size_t> k;
        if (pTabs && source.find('\t') != std::string_view::npos) {
            k = LargestFitting(source, 0, source.size(), fits);
        } else {
            // Widths add up character by character, so the whole line's
            // positions predict each head's width without shaping it.
            std::shared_ptr<const CTextLine> pWhole = ShapedLine(font, source);
            const int nEllipsis = ShapedLine(font, ELLIPSIS)->Width();
            k = LargestFittingChecked(
                source, 0, source.size(), [&](size_t n) { return pWhole->WidthOf(n) + nEllipsis <= nMaxWidth; }, fits);
        }
        return std::string(source.substr(0, k ? *k : 0)) + std::string(ELLIPSIS);
    }

    // Shortens a line that is too wide by the ellipsis flags; returns whether it changed.
    bool Ellipsize(Line& line) const
    {
        const std::string& text = line.text;
        if (Measure(text) <= nMaxWidth)
            return false;
        if (nFormat & DT_PATH_ELLIPSIS) {
            size_t nSeparator = text.find_last_of("\\/");
            if (nSeparator != std::string::npos && nSeparator > 0) {
                std::string_view head = std::string_view(text).substr(0, nSeparator);
                std::string tail = text.substr(nSeparator);
                std::optional<size_t> k = LargestFitting(head, 0, head.size(), [&](size_t n) {
                    return Measure(std::string(head.substr(0, n)) + std::string(ELLIPSIS) + tail) <= nMaxWidth;
                });
                std::string strShort = k ? std::string(head.substr(0, *k)) + std::string(ELLIPSIS) + tail
                                         : EndCut(std::string(ELLIPSIS) + tail);
                line = Line { strShort, std::nullopt };
                return true;
            }
            line.text = EndCut(text);
        } else if (nFormat & DT_WORD_ELLIPSIS) {
            // Cut after the last whole word that fits, else inside the first word.
            std::optional<size_t> nBest;
            for (size_t e = 1; e < text.size(); ++e) {
                bool bWordEnd = text[e] == ' ' && text[e - 1] != ' ';
                if (bWordEnd && Measure(text.substr(0, e) + std::string(ELLIPSIS)) <= nMaxWidth)
                    nBest = e;
            }
            line.text = nBest ? text.substr(0, *nBest) + std::string(ELLIPSIS) : EndCut(text);
        } else {
            line.text = EndCut(text);
        }
        if (line.nUnderline && *line.nUnderline >= line.text.size() - ELLIPSIS.size())
            line.nUnderline.reset();
        return true;
    }
};

// Takes the '&' prefixes out: "&&" is one '&', '&x' underlines x.
std::string StripPrefixes(std::string_view text, bool bShowUnderline, std::optional<size_t>& nUnderline)
{
    std::string strOut;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            strOut += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '&') {
            strOut += '&';
            ++i;
        } else if (i + 1 < text.size() && bShowUnderline) {
            nUnderline = strOut.size();
        }
    }
    return strOut;
}

}

int DrawText(HDC hdc, LPCTSTR lpchText, int cchText, LPRECT lprc, UINT format)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return 0;
    if (!lprc || (!lpchText && cchText != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string_view source = !lpchText ? std::string_view()
        : cchText < 0                   ? std::string_view(lpchText)
                                        : std::string_view(lpchText, static_cast<size_t>(cchText));
    DcState& state = pDc->m_state;
    CGdiFont& font = *state.font;
    const TEXTMETRIC& tm = FontMetrics(font);

    // With DT_TABSTOP, bits 8-15 are the tab width, not flags.
    int nTabChars = 8;
    if (format & DT_TABSTOP) {
        nTabChars = static_cast<int>((format >> 8) & 0xFF);
        format &= ~0xFF00u;
    }
    CTabStops tabs(std::max(1, nTabChars) * tm.tmAveCharWidth);
    const CTabStops* pTabs = (format & DT_EXPANDTABS) ? &tabs : nullptr;
    Formatter formatter { font, pTabs, format, static_cast<int>(lprc->right - lprc->left) };

    std::optional<size_t> nUnderline;
    std::string strText
        = (format & DT_NOPREFIX) ? std::string(source) : StripPrefixes(source, !(format & DT_HIDEPREFIX), nUnderline);

    std::vector<Line> lines;
    if (format & DT_SINGLELINE) {
        lines.push_back(Line { strText, nUnderline });
    } else {
        size_t nStart = 0;
        while (true) {
            size_t nEnd = std::min(strText.find_first_of("\r\n", nStart), strText.size());
            std::string paragraph = strText.substr(nStart, nEnd - nStart);
            std::optional<size_t> nParagraphUnderline;
            if (nUnderline && *nUnderline >= nStart && *nUnderline < nEnd)
                nParagraphUnderline = *nUnderline - nStart;
            if (format & DT_WORDBREAK)
                formatter.BreakWords(paragraph, nParagraphUnderline, lines);
            else
                lines.push_back(Line { paragraph, nParagraphUnderline });
            if (nEnd >= strText.size())
                break;
            nStart = nEnd + ((strText[nEnd] == '\r' && nEnd + 1 < strText.size() && strText[nEnd + 1] == '\n') ? 2 : 1);
        }
    }

    bool bChanged = false;
    if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
        for (Line& line : lines)
            bChanged = formatter.Ellipsize(line) || bChanged;
    }
    if (bChanged && (format & DT_MODIFYSTRING) && lines.size() == 1 && lpchText) {
        // The caller promised room for the text and four more bytes.
        size_t nRoom = source.size() + 4;
        size_t nCopied = std::min(lines.front().text.size(), nRoom);
        char* pszOut = const_cast<char*>(lpchText);
        std::memcpy(pszOut, lines.front().text.data(), nCopied);
        pszOut[nCopied] = '\0';
    }

    int nLineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    int nTotalHeight = nLineHeight * static_cast<int>(lines.size());
    std::vector<int> widths;
    for (const Line& line : lines)
        widths.push_back(formatter.Measure(line.text));

    if (format & DT_CALCRECT) {
        lprc->right = lprc->left + (widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end()));
        lprc->bottom = lprc->top + nTotalHeight;
        return nTotalHeight;
    }

    int y = lprc->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = lprc->top + (lprc->bottom - lprc->top - nLineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = lprc->bottom - nLineHeight;
    }
    int nResult
        = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? y - lprc->top + nLineHeight : nTotalHeight;
    CPixelTarget target(*pDc);
    RECT rcClip = pDc->ToDevice(*lprc);
    const RECT* pClip = (format & DT_NOCLIP) ? nullptr : &rcClip;
    CGdiBrush background;
    background.m_log = LOGBRUSH { BS_SOLID, state.crBk, 0 };
    for (size_t i = 0; i < lines.size(); ++i, y += nLineHeight) {
        if ((format & DT_EDITCONTROL) && i > 0 && y + nLineHeight > lprc->bottom)
            break;
        int x = lprc->left;
        if (format & DT_CENTER)
            x = lprc->left + (lprc->right - lprc->left - widths[i]) / 2;
        else if (format & DT_RIGHT)
            x = lprc->right - widths[i];
        POINT pt = pDc->ToDevice(x, y);
        if (state.nBkMode == OPAQUE) {
            RECT rcBack { pt.x, pt.y, pt.x + widths[i], pt.y + nLineHeight };
            if (!pClip || IntersectRect(&rcBack, &rcBack, pClip))
                target.FillRect(rcBack, background, CPixelTarget::Mix::Copy);
        }
        DrawTabbedLine(target, font, lines[i].text, pTabs, pt.x, pt.y, state.crText, pClip, lines[i].nUnderline);
    }
    return nResult;
}

std::string EndEllipsisLine(HDC hdc, std::string_view text, int nWidth)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return std::string(text);
    const Formatter formatter { *pDc->m_state.font, nullptr, DT_SINGLELINE | DT_END_ELLIPSIS, nWidth };
    return formatter.Measure(text) <= nWidth ? std::string(text) : formatter.EndCut(text);
}
