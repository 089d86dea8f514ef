#include "platform/gdi/Text.h"

#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Regions.h"
#include "tests/platform/gdi/GdiTestCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <string>

namespace {

// A canvas with a font selected, undone at the end.
class TextTest : public ::testing::Test {
protected:
    void Use(int nHeight, const char* pszFace, LONG nWeight = FW_NORMAL)
    {
        Release();
        m_hFont = CreateFont(nHeight, 0, 0, 0, nWeight, 0, 0, 0, 0, 0, 0, 0, 0, pszFace);
        m_hOld = SelectObject(m_canvas.Dc(), m_hFont);
    }
    void TearDown() override { Release(); }

    HDC Dc() const { return m_canvas.Dc(); }
    int Width(const std::string& text) const
    {
        SIZE size {};
        GetTextExtentPoint32(Dc(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    TEXTMETRIC Metrics() const
    {
        TEXTMETRIC tm {};
        GetTextMetrics(Dc(), &tm);
        return tm;
    }
    // The bounding box of what differs from white, or an empty rectangle.
    RECT Inked() const
    {
        RECT rc { INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN };
        for (POINT pt : m_canvas.Marked()) {
            rc.left = std::min(rc.left, pt.x);
            rc.top = std::min(rc.top, pt.y);
            rc.right = std::max(rc.right, pt.x + 1);
            rc.bottom = std::max(rc.bottom, pt.y + 1);
        }
        return rc.left == INT32_MAX ? RECT {} : rc;
    }
    void Clear() { PatBlt(Dc(), 0, 0, m_canvas.Width(), m_canvas.Height(), WHITENESS); }
    const CTestCanvas& Canvas() const { return m_canvas; }

private:
    void Release()
    {
        if (!m_hFont)
            return;
        SelectObject(m_canvas.Dc(), m_hOld);
        DeleteObject(m_hFont);
        m_hFont = nullptr;
    }

    CTestCanvas m_canvas { 400, 120 };
    HFONT m_hFont { nullptr };
    HGDIOBJ m_hOld { nullptr };
};

const std::string SENTENCE = "The quick brown fox jumps over the lazy dog";

}

TEST_F(TextTest, MetricsAreTheSameOnEveryMachine)
{
    // DejaVu Sans with hinting off gives these numbers wherever the tests run.
    Use(-11, "MS Sans Serif");
    TEXTMETRIC tm = Metrics();
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmAscent, 10);
    EXPECT_EQ(tm.tmDescent, 3);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(Width("Hello, World"), 67);
    Use(-11, "Courier New");
    EXPECT_EQ(Metrics().tmAveCharWidth, 7);
    EXPECT_EQ(Width("Hello, World"), 12 * 7);
}

TEST_F(TextTest, NegativeHeightsAreCharacterHeightsAndPositiveOnesCellHeights)
{
    for (int n = 8; n <= 40; n += 4) {
        Use(-n, "Tahoma");
        TEXTMETRIC tm = Metrics();
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, n);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        Use(n, "Tahoma");
        EXPECT_EQ(Metrics().tmHeight, n);
    }
}

TEST_F(TextTest, FaceNamesMapToTheirFamilies)
{
    Use(-12, "MS Sans Serif");
    int nSans = Width(SENTENCE);
    for (const char* pszFace : { "Arial", "Tahoma", "Helvetica", "Microsoft Sans Serif", "", "Unknown Face" }) {
        Use(-12, pszFace);
        EXPECT_EQ(Width(SENTENCE), nSans) << pszFace;
    }
    for (const char* pszFace : { "Courier New", "Courier", "Fixedsys", "Terminal" }) {
        Use(-12, pszFace);
        EXPECT_EQ(Width("iiii"), Width("WWWW")) << pszFace;
        EXPECT_FALSE(Metrics().tmPitchAndFamily & 1) << pszFace; // the bit set means variable pitch
    }
    Use(-12, "Times New Roman");
    EXPECT_NE(Width(SENTENCE), nSans);
    Use(-12, "Arial", FW_BOLD);
    EXPECT_GT(Width(SENTENCE), nSans);
}

TEST_F(TextTest, ExtentsAddUpAndCountWhatFits)
{
    Use(-13, "Arial");
    EXPECT_EQ(Width("AVAWAY"), Width("AV") + Width("AW") + Width("AY"));
    std::string text = "Hello, W\xC3\xB6rld";
    std::vector<int> dx(text.size());
    int nFit = 0;
    SIZE size {};
    ASSERT_TRUE(GetTextExtentExPoint(
        Dc(), text.c_str(), static_cast<int>(text.size()), Width("Hello"), &nFit, dx.data(), &size));
    EXPECT_EQ(nFit, 5);
    EXPECT_EQ(dx.back(), size.cx);
    EXPECT_TRUE(std::is_sorted(dx.begin(), dx.end()));
    EXPECT_EQ(dx[8], dx[9]); // the two bytes of one character share its extent
    EXPECT_EQ(size.cy, Metrics().tmHeight);
}

TEST_F(TextTest, TabbedExtentJumpsToTheStops)
{
    Use(-11, "MS Sans Serif");
    int nStop = 50;
    DWORD dwExtent = GetTabbedTextExtent(Dc(), "ab\tcd", 5, 1, &nStop);
    EXPECT_EQ(LOWORD(dwExtent), 50 + Width("cd"));
    EXPECT_EQ(HIWORD(dwExtent), Metrics().tmHeight);
    dwExtent = GetTabbedTextExtent(Dc(), "ab\tcd", 5, 0, nullptr);
    EXPECT_EQ(LOWORD(dwExtent), 8 * Metrics().tmAveCharWidth + Width("cd"));
}

TEST_F(TextTest, TextOutPlacesTheCellByTheAlignment)
{
    Use(-16, "Arial");
    SIZE size {};
    GetTextExtentPoint32(Dc(), "Hxg", 3, &size);
    SetBkMode(Dc(), OPAQUE);
    SetBkColor(Dc(), RGB(0, 200, 0));
    TextOut(Dc(), 20, 30, "Hxg", 3);
    RECT inked = Inked();
    EXPECT_EQ(inked.left, 20);
    EXPECT_EQ(inked.top, 30);
    EXPECT_EQ(inked.right, 20 + size.cx);
    EXPECT_EQ(inked.bottom, 30 + size.cy);

    Clear();
    SetBkMode(Dc(), TRANSPARENT);
    SetTextAlign(Dc(), TA_RIGHT | TA_BOTTOM);
    TextOut(Dc(), 200, 60, "Hxg", 3);
    inked = Inked();
    EXPECT_LE(inked.right, 200);
    EXPECT_GE(inked.left, 200 - size.cx);
    EXPECT_LE(inked.bottom, 60);
    EXPECT_GE(inked.top, 60 - size.cy);

    SetTextAlign(Dc(), TA_UPDATECP);
    MoveToEx(Dc(), 10, 10, nullptr);
    TextOut(Dc(), 0, 0, "Hxg", 3);
    POINT pt {};
    GetCurrentPositionEx(Dc(), &pt);
    EXPECT_EQ(pt.x, 10 + size.cx);
}

TEST_F(TextTest, ExtTextOutClipsToItsRectangle)
{
    Use(-20, "Arial");
    RECT rc { 10, 10, 30, 40 };
    ExtTextOut(Dc(), 10, 10, ETO_CLIPPED, &rc, "WWWWW", 5, nullptr);
    RECT inked = Inked();
    EXPECT_LE(inked.right, 30);
    EXPECT_GT(inked.right, 20);
    Clear();
    SetBkColor(Dc(), RGB(0, 0, 255));
    ExtTextOut(Dc(), 10, 10, ETO_OPAQUE, &rc, "", 0, nullptr);
    EXPECT_EQ(Canvas().Marked().size(), 20u * 30u);
}

TEST_F(TextTest, AClipRegionWithAHoleKeepsTheGlyphPixelsInsideIt)
{
    Use(-20, "Arial");
    TextOut(Dc(), 5, 5, SENTENCE.c_str(), static_cast<int>(SENTENCE.size()));
    std::vector<COLORREF> whole;
    Canvas().ForEach([&](int, int, COLORREF cr) { whole.push_back(cr); });
    Clear();
    // A frame around a hole: several bands, two spans in the middle one.
    HRGN hClip = CreateRectRgn(0, 0, 200, 40);
    HRGN hHole = CreateRectRgn(40, 12, 120, 20);
    CombineRgn(hClip, hClip, hHole, RGN_DIFF);
    SelectClipRgn(Dc(), hClip);
    TextOut(Dc(), 5, 5, SENTENCE.c_str(), static_cast<int>(SENTENCE.size()));
    SelectClipRgn(Dc(), nullptr);
    size_t nInked = 0;
    Canvas().ForEach([&](int x, int y, COLORREF cr) {
        const COLORREF crWhole = whole[static_cast<size_t>(y) * Canvas().Width() + x];
        ASSERT_EQ(cr, PtInRegion(hClip, x, y) ? crWhole : RGB(255, 255, 255)) << x << "," << y;
        nInked += cr != RGB(255, 255, 255);
    });
    EXPECT_GT(nInked, 100u);
    DeleteObject(hHole);
    DeleteObject(hClip);
}

TEST_F(TextTest, RenderingIsIdenticalForEqualFonts)
{
    Use(-14, "Tahoma");
    TextOut(Dc(), 5, 5, SENTENCE.c_str(), static_cast<int>(SENTENCE.size()));
    std::vector<COLORREF> first;
    Canvas().ForEach([&](int, int, COLORREF cr) { first.push_back(cr); });
    Clear();
    Use(-14, "Arial");
    TextOut(Dc(), 5, 5, SENTENCE.c_str(), static_cast<int>(SENTENCE.size()));
    std::vector<COLORREF> second;
    Canvas().ForEach([&](int, int, COLORREF cr) { second.push_back(cr); });
    EXPECT_EQ(first, second);
    EXPECT_GT(std::count_if(first.begin(), first.end(), [](COLORREF cr) { return cr != RGB(255, 255, 255); }), 100);
}

TEST_F(TextTest, ALineDrawnAgainElsewhereInAnotherColourMatchesAFreshFont)
{
    auto drawn = [&] {
        Clear();
        SetTextColor(Dc(), RGB(200, 0, 0));
        TextOut(Dc(), 17, 40, SENTENCE.c_str(), static_cast<int>(SENTENCE.size()));
        std::vector<COLORREF> pixels;
        Canvas().ForEach([&](int, int, COLORREF cr) { pixels.push_back(cr); });
        return pixels;
    };
    Use(-16, "Arial");
    SetTextColor(Dc(), RGB(0, 0, 0));
    TextOut(Dc(), 3, 2, SENTENCE.c_str(), static_cast<int>(SENTENCE.size()));
    std::vector<COLORREF> again = drawn();
    Use(-16, "Arial"); // a new font has shaped and drawn nothing yet
    EXPECT_EQ(again, drawn());
    EXPECT_NE(std::count(again.begin(), again.end(), RGB(200, 0, 0)), 0);
}

TEST_F(TextTest, EndEllipsisKeepsTheLongestPrefixThatFits)
{
    Use(-11, "MS Sans Serif");
    RECT rc { 0, 0, 100, 20 };
    char szText[128] = "A long line of text that cannot fit into the rectangle";
    std::string strOriginal = szText;
    DrawText(Dc(), szText, -1, &rc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX);
    std::string strShown = szText;
    ASSERT_GE(strShown.size(), 3u);
    EXPECT_EQ(strShown.substr(strShown.size() - 3), "...");
    std::string strKept = strShown.substr(0, strShown.size() - 3);
    EXPECT_EQ(strOriginal.substr(0, strKept.size()), strKept);
    EXPECT_LE(Width(strShown), 100);
    EXPECT_GT(Width(strOriginal.substr(0, strKept.size() + 1) + "..."), 100);

    // Text that fits is left alone.
    char szShort[32] = "Short";
    DrawText(Dc(), szShort, -1, &rc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_STREQ(szShort, "Short");
}

TEST_F(TextTest, EndEllipsisLineCutsAsDrawTextDoes)
{
    Use(-11, "MS Sans Serif");
    const std::string strText = "Ñandú names the bird of the pampas";
    for (int nWidth : { 0, 12, 40, 100, 1000 }) {
        char szDrawn[128] {};
        std::copy(strText.begin(), strText.end(), szDrawn);
        RECT rc { 0, 0, nWidth, 20 };
        DrawText(Dc(), szDrawn, -1, &rc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX);
        EXPECT_EQ(EndEllipsisLine(Dc(), strText, nWidth), szDrawn) << nWidth;
    }
    EXPECT_EQ(EndEllipsisLine(nullptr, "kept", 0), "kept");
}

TEST_F(TextTest, EndEllipsisCutsWhereMeasuringEachHeadWould)
{
    Use(-13, "Arial");
    // Combining accents, a wide letter after narrow ones and a byte that is
    // not UTF-8: heads whose widths need not follow the whole line's positions.
    const std::string texts[] = { "Cafe\u0301 au lait, cre\u0300me bru\u0302le\u0301e", "iiiiWWWW\u00d1iii",
        "ab\xff"
        "cdef ghij klmno",
        SENTENCE };
    for (const std::string& strText : texts) {
        for (int nWidth = 0; nWidth <= 240; nWidth += 5) {
            std::string strExpected = Width(strText) <= nWidth ? strText : "...";
            for (size_t n = 1; n < strText.size() && strExpected != strText; ++n) {
                const bool bStart = (static_cast<unsigned char>(strText[n]) & 0xC0) != 0x80;
                if (bStart && Width(strText.substr(0, n) + "...") <= nWidth)
                    strExpected = strText.substr(0, n) + "...";
            }
            EXPECT_EQ(EndEllipsisLine(Dc(), strText, nWidth), strExpected) << strText << " in " << nWidth;
        }
    }
}

TEST_F(TextTest, OpaqueDrawTextFillsBehindTheLineWithinItsRectangle)
{
    Use(-13, "Arial");
    SetBkMode(Dc(), OPAQUE);
    SetBkColor(Dc(), RGB(0, 0, 255));
    const std::string strText = "Wide text";
    RECT rc { 10, 5, 40, 12 }; // narrower and lower than the line
    DrawText(Dc(), strText.c_str(), -1, &rc, DT_SINGLELINE);
    Canvas().ForEach([&](int x, int y, COLORREF cr) {
        POINT pt { x, y };
        ASSERT_EQ(cr != RGB(255, 255, 255), PtInRect(&rc, pt) != FALSE) << x << "," << y;
    });
    Clear();
    DrawText(Dc(), strText.c_str(), -1, &rc, DT_SINGLELINE | DT_NOCLIP);
    const RECT inked = Inked();
    EXPECT_EQ(inked.left, 10);
    EXPECT_EQ(inked.top, 5);
    EXPECT_EQ(inked.right, 10 + Width(strText));
    EXPECT_EQ(inked.bottom, 5 + Metrics().tmHeight);
}

TEST_F(TextTest, PathEllipsisKeepsTheFileName)
{
    Use(-11, "MS Sans Serif");
    char szPath[128] = "C:\\Documents and Settings\\ana\\Archive\\report.odt";
    RECT rc { 0, 0, Width("C:\\Docu...\\report.odt"), 20 };
    DrawText(Dc(), szPath, -1, &rc, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX);
    std::string strShown = szPath;
    EXPECT_EQ(strShown, "C:\\Docu...\\report.odt");
}

TEST_F(TextTest, WordEllipsisCutsBetweenWords)
{
    Use(-11, "MS Sans Serif");
    char szText[128] = "alpha beta gamma delta";
    RECT rc { 0, 0, Width("alpha beta gam..."), 20 };
    DrawText(Dc(), szText, -1, &rc, DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_STREQ(szText, "alpha beta...");
}

TEST_F(TextTest, WordBreakFillsLinesGreedilyWithMeasuredWidths)
{
    Use(-11, "MS Sans Serif");
    for (int nWidth : { 60, 100, 150, 1000 }) {
        // The expected lines, from measured word widths.
        std::vector<std::string> lines { "" };
        size_t nStart = 0;
        while (nStart < SENTENCE.size()) {
            size_t nEnd = std::min(SENTENCE.find(' ', nStart), SENTENCE.size());
            std::string strWord = SENTENCE.substr(nStart, nEnd - nStart);
            std::string strJoined = lines.back().empty() ? strWord : lines.back() + " " + strWord;
            if (lines.back().empty() || Width(strJoined) <= nWidth)
                lines.back() = strJoined;
            else
                lines.push_back(strWord);
            nStart = nEnd + 1;
        }
        int nWidest = 0;
        for (const std::string& line : lines)
            nWidest = std::max(nWidest, Width(line));

        RECT rc { 10, 10, 10 + nWidth, 10 };
        int nHeight = DrawText(Dc(), SENTENCE.c_str(), -1, &rc, DT_CALCRECT | DT_WORDBREAK);
        EXPECT_EQ(nHeight, static_cast<int>(lines.size()) * Metrics().tmHeight) << nWidth;
        EXPECT_EQ(rc.bottom - rc.top, nHeight);
        EXPECT_EQ(rc.right - rc.left, nWidest) << nWidth;

        // Drawing stays inside the rectangle DT_CALCRECT gave.
        Clear();
        DrawText(Dc(), SENTENCE.c_str(), -1, &rc, DT_WORDBREAK | DT_NOCLIP);
        // Antialiasing may reach one pixel past a glyph's advance.
        RECT inked = Inked();
        EXPECT_GE(inked.left, rc.left - 1);
        EXPECT_LE(inked.right, rc.right + 1);
        EXPECT_GE(inked.top, rc.top);
        EXPECT_LE(inked.bottom, rc.bottom);
        EXPECT_GT(inked.bottom, rc.bottom - Metrics().tmHeight); // the last line is drawn
    }
}

TEST_F(TextTest, LongWordsOverflowUnlessEditControl)
{
    Use(-11, "MS Sans Serif");
    const char* pszWord = "Incomprehensibilities";
    RECT rc { 0, 0, 40, 0 };
    DrawText(Dc(), pszWord, -1, &rc, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(rc.right, Width(pszWord));
    EXPECT_EQ(rc.bottom, Metrics().tmHeight);
    rc = RECT { 0, 0, 40, 0 };
    DrawText(Dc(), pszWord, -1, &rc, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_LE(rc.right, 40);
    EXPECT_GT(rc.bottom, Metrics().tmHeight);
}

TEST_F(TextTest, PrefixesUnderlineAndDoubleAmpersandsShowOne)
{
    Use(-13, "MS Sans Serif");
    RECT rc { 0, 0, 300, 40 };
    RECT calc = rc;
    DrawText(Dc(), "A&&B", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.right, Width("A&B"));
    calc = rc;
    DrawText(Dc(), "&File", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.right, Width("File"));

    DrawText(Dc(), "File", -1, &rc, DT_SINGLELINE);
    std::vector<POINT> plain = Canvas().Marked();
    Clear();
    DrawText(Dc(), "&File", -1, &rc, DT_SINGLELINE);
    std::vector<POINT> underlined = Canvas().Marked();
    EXPECT_GT(underlined.size(), plain.size());
    Clear();
    DrawText(Dc(), "&File", -1, &rc, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(Canvas().Marked().size(), plain.size());
}

TEST_F(TextTest, AlignmentAndVerticalCentre)
{
    Use(-11, "MS Sans Serif");
    RECT rc { 10, 10, 210, 60 };
    int nLine = Metrics().tmHeight;
    int nResult = DrawText(Dc(), "Right", -1, &rc, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
    EXPECT_EQ(nResult, (50 - nLine) / 2 + nLine);
    RECT inked = Inked();
    EXPECT_LE(inked.right, 210);
    EXPECT_GE(inked.left, 210 - Width("Right"));
    EXPECT_GE(inked.top, 10 + (50 - nLine) / 2);
    EXPECT_LE(inked.bottom, 10 + (50 - nLine) / 2 + nLine);

    Clear();
    DrawText(Dc(), "Mid", -1, &rc, DT_SINGLELINE | DT_CENTER | DT_BOTTOM);
    inked = Inked();
    EXPECT_GE(inked.left, 10 + (200 - Width("Mid")) / 2);
    EXPECT_LE(inked.bottom, 60);
    EXPECT_GT(inked.bottom, 60 - nLine);
}

TEST_F(TextTest, TabsExpandOnlyWhenAsked)
{
    Use(-11, "MS Sans Serif");
    RECT rc { 0, 0, 400, 40 };
    DrawText(Dc(), "a\tb", -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(rc.right, 8 * Metrics().tmAveCharWidth + Width("b"));
    // DT_TABSTOP takes bits 8-15 for the tab width, so it cannot measure; draw instead.
    rc = RECT { 0, 0, 400, 40 };
    DrawText(Dc(), "a\tb", -1, &rc, DT_SINGLELINE | DT_EXPANDTABS);
    int nDefaultRight = Inked().right;
    Clear();
    DrawText(Dc(), "a\tb", -1, &rc, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (4 << 8));
    EXPECT_EQ(Inked().right, nDefaultRight - 4 * Metrics().tmAveCharWidth);
    EXPECT_EQ(rc.right, 400);
}

TEST_F(TextTest, LineEndsBreakLinesUnlessSingleLine)
{
    Use(-11, "MS Sans Serif");
    RECT rc { 0, 0, 400, 0 };
    EXPECT_EQ(DrawText(Dc(), "one\r\ntwo\nthree", -1, &rc, DT_CALCRECT), 3 * Metrics().tmHeight);
    rc = RECT { 0, 0, 400, 0 };
    EXPECT_EQ(DrawText(Dc(), "one\r\ntwo", -1, &rc, DT_CALCRECT | DT_SINGLELINE), Metrics().tmHeight);
    EXPECT_EQ(DrawText(nullptr, "x", -1, &rc, 0), 0);
    EXPECT_EQ(DrawText(Dc(), "x", -1, nullptr, 0), 0);
}

TEST_F(TextTest, ExtTextOutPlacesCharactersByTheGivenAdvances)
{
    Use(-12, "Arial");
    const INT advances[] = { 30, 30, 30 };
    SetTextAlign(Dc(), TA_UPDATECP);
    MoveToEx(Dc(), 10, 10, nullptr);
    ExtTextOut(Dc(), 0, 0, 0, nullptr, "iii", 3, advances);
    RECT inked = Inked();
    EXPECT_GE(inked.left, 10);
    EXPECT_GE(inked.right, 70); // the third character starts 60 pixels in
    EXPECT_LE(inked.right, 70 + Width("i") + 1);
    POINT pt {};
    GetCurrentPositionEx(Dc(), &pt);
    EXPECT_EQ(pt.x, 100);
}

TEST_F(TextTest, FontsMadeAlikeMeasureAlikeAndFontsThatDifferDoNot)
{
    // Each from a fresh font, none alive beside it.
    Use(-13, "Tahoma");
    const int nNormal = Width(SENTENCE);
    const LONG nNormalHeight = Metrics().tmHeight;
    Use(-13, "Tahoma", FW_BOLD);
    const int nBold = Width(SENTENCE);
    Use(-15, "Tahoma");
    const int nTaller = Width(SENTENCE);
    const LONG nTallerHeight = Metrics().tmHeight;
    ASSERT_NE(nNormal, nBold);
    ASSERT_NE(nNormal, nTaller);

    // While a font like the first lives and has measured, fonts made anew measure as their own LOGFONT says.
    HDC hdcLive = CreateCompatibleDC(nullptr);
    HFONT hLive = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
    HGDIOBJ hOld = SelectObject(hdcLive, hLive);
    SIZE size {};
    GetTextExtentPoint32(hdcLive, SENTENCE.c_str(), static_cast<int>(SENTENCE.size()), &size);
    EXPECT_EQ(size.cx, nNormal);
    Use(-13, "Tahoma", FW_BOLD);
    EXPECT_EQ(Width(SENTENCE), nBold);
    Use(-15, "Tahoma");
    EXPECT_EQ(Width(SENTENCE), nTaller);
    EXPECT_EQ(Metrics().tmHeight, nTallerHeight);
    Use(-13, "Tahoma");
    EXPECT_EQ(Width(SENTENCE), nNormal);
    EXPECT_EQ(Metrics().tmHeight, nNormalHeight);
    EXPECT_EQ(Width("Zy" + SENTENCE), Width("Zy") + nNormal);
    SelectObject(hdcLive, hOld);
    DeleteObject(hLive);
    DeleteDC(hdcLive);
}

TEST_F(TextTest, FontsMadeAlikeOnTwoThreadsMeasureAtOnceAlike)
{
    Use(-13, "Tahoma");
    const int nExpected = Width(SENTENCE);
    // Fresh fonts on each thread while the other measures: each thread's
    // measures are its own, so neither sees the other's half-filled widths.
    auto measure = [&] {
        int nWrong = 0;
        for (int nRound = 0; nRound < 50; ++nRound) {
            HDC hdc = CreateCompatibleDC(nullptr);
            HFONT hFont = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
            HGDIOBJ hOld = SelectObject(hdc, hFont);
            SIZE size {};
            GetTextExtentPoint32(hdc, SENTENCE.c_str(), static_cast<int>(SENTENCE.size()), &size);
            nWrong += size.cx != nExpected ? 1 : 0;
            SelectObject(hdc, hOld);
            DeleteObject(hFont);
            DeleteDC(hdc);
        }
        return nWrong;
    };
    std::future<int> other = std::async(std::launch::async, measure);
    EXPECT_EQ(measure(), 0);
    EXPECT_EQ(other.get(), 0);
}
