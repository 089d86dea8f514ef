// Figures for the content preview's text pane: a rich edit is given 32 000
// bytes of text in one format (select all, set the format, replace), every
// match of a word that occurs about 1 000 times is found and coloured (find,
// select, set the colour), and the first screen is painted. The reference, in
// the same run, finds the same matches with std::string_view::find and draws
// the same visible lines with DrawText into a DC of the same window, in the
// same font.
//
// Prints "name: value" lines: milliseconds (the median of the runs), the
// median of the runs' own ratios to the reference, and the goal.

#include "bench/BenchTiming.h"
#include "platform/controls/RichEditControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr size_t TEXT_BYTES = 32000;
constexpr int RUNS = 9;
constexpr double GOAL_RATIO = 3.0;
constexpr LONG TEXT_TWIPS = 200;
constexpr COLORREF MATCH_COLOUR = RGB(0, 0, 255);
constexpr const char* WORD = "archive";

[[noreturn]] void Fail(const char* pszWhat)
{
    std::fprintf(stderr, "preview_bench: %s\n", pszWhat);
    std::exit(1);
}

// Lines of about 60 bytes, each short enough not to wrap, with the word
// about every 32 bytes among other words.
std::string MakeText()
{
    static constexpr const char* OTHERS[] = { "the", "folder", "holds", "documents", "of", "each", "year", "and",
        "their", "keywords", "for", "search", "a", "catalog", "lists", "them" };
    std::mt19937 random(160);
    std::string strText, strLine;
    size_t nSinceWord = 0;
    while (strText.size() + strLine.size() < TEXT_BYTES) {
        const char* pszWord = nSinceWord >= 21 ? WORD : OTHERS[random() % std::size(OTHERS)];
        nSinceWord = pszWord == WORD ? 0 : nSinceWord + std::string_view(pszWord).size() + 1;
        strLine += pszWord;
        strLine += ' ';
        if (strLine.size() >= 60) {
            strText += strLine + "\r\n";
            strLine.clear();
        }
    }
    strText += strLine;
    strText.resize(TEXT_BYTES);
    return strText;
}

CHARFORMAT Format(DWORD dwMask, DWORD dwEffects, LONG yHeight, COLORREF cr)
{
    CHARFORMAT cf {};
    cf.cbSize = sizeof(CHARFORMAT);
    cf.dwMask = dwMask;
    cf.dwEffects = dwEffects;
    cf.yHeight = yHeight;
    cf.crTextColor = cr;
    return cf;
}

void Select(HWND hEdit, LONG cpMin, LONG cpMax)
{
    CHARRANGE cr { cpMin, cpMax };
    SendMessage(hEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

// The preview's work: show the text, colour every match, paint the first screen.
int ShowAndColour(HWND hEdit, const std::string& strText)
{
    SendMessage(hEdit, EM_HIDESELECTION, TRUE, 0);
    Select(hEdit, 0, -1);
    CHARFORMAT cf = Format(CFM_SIZE | CFM_BOLD, 0, TEXT_TWIPS, 0);
    SendMessage(hEdit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    SendMessage(hEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(strText.c_str()));
    Select(hEdit, 0, 0);

    CHARFORMAT cfAuto = Format(CFM_COLOR, CFE_AUTOCOLOR, 0, 0);
    SendMessage(hEdit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cfAuto));
    CHARFORMAT cfMatch = Format(CFM_COLOR, 0, 0, MATCH_COLOUR);
    int nMatches = 0;
    FINDTEXTEX find { { 0, -1 }, WORD, { 0, 0 } };
    LONG cpFirst = -1;
    while (SendMessage(hEdit, EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&find)) >= 0) {
        Select(hEdit, find.chrgText.cpMin, find.chrgText.cpMax);
        SendMessage(hEdit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cfMatch));
        if (cpFirst < 0)
            cpFirst = find.chrgText.cpMin;
        find.chrg.cpMin = find.chrgText.cpMax;
        ++nMatches;
    }
    Select(hEdit, cpFirst, cpFirst + static_cast<LONG>(std::string_view(WORD).size()));
    SendMessage(hEdit, EM_HIDESELECTION, FALSE, 0);
    InvalidateRect(hEdit, nullptr, TRUE);
    UpdateWindow(hEdit);
    return nMatches;
}

// The plain loop: the same matches found, the same lines drawn.
int FindAndDraw(HWND hEdit, HFONT hFont, const std::string& strText, int nLines)
{
    const std::string_view text(strText);
    int nMatches = 0;
    for (size_t nAt = text.find(WORD); nAt != std::string_view::npos; nAt = text.find(WORD, nAt + 1))
        ++nMatches;
    HDC hdc = GetDC(hEdit);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    TEXTMETRIC tm {};
    GetTextMetrics(hdc, &tm);
    size_t nStart = 0;
    for (int nLine = 0; nLine < nLines && nStart < text.size(); ++nLine) {
        const size_t nEnd = std::min(text.find("\r\n", nStart), text.size());
        RECT rc { 2, 2 + nLine * tm.tmHeight, 800, 2 + (nLine + 1) * tm.tmHeight };
        DrawText(
            hdc, text.data() + nStart, static_cast<int>(nEnd - nStart), &rc, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        nStart = nEnd + 2;
    }
    SelectObject(hdc, hOld);
    ReleaseDC(hEdit, hdc);
    return nMatches;
}

} // namespace

int main()
{
    if (!RegisterRichEditClass())
        Fail("the rich edit class could not be registered");
    WNDCLASS wc {};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "PreviewBenchParent";
    RegisterClass(&wc);
    HWND hParent
        = CreateWindow(wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 700, 500, nullptr, nullptr, nullptr, nullptr);
    HWND hEdit = CreateWindowEx(0, RICHEDIT_CLASS, "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_READONLY, 0, 0, 640, 460,
        hParent, nullptr, nullptr, nullptr);
    if (!hParent || !hEdit)
        Fail("the windows could not be made");
    // The face the preview gives its default format, and the same font for the reference.
    CHARFORMAT cfFace = Format(CFM_FACE, 0, 0, 0);
    std::snprintf(cfFace.szFaceName, LF_FACESIZE, "Arial");
    SendMessage(hEdit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cfFace));
    HFONT hFont = CreateFont(-(TEXT_TWIPS * 96 / 1440), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");

    const std::string strText = MakeText();
    // One run each first, so both start warm and the counts can be checked.
    const int nMatches = ShowAndColour(hEdit, strText);
    // The lines on the first screen: as many as start inside the text area.
    HDC hdc = GetDC(hEdit);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    TEXTMETRIC tm {};
    GetTextMetrics(hdc, &tm);
    SelectObject(hdc, hOld);
    ReleaseDC(hEdit, hdc);
    RECT rcClient {};
    GetClientRect(hEdit, &rcClient);
    const int nLines = std::min(static_cast<int>(SendMessage(hEdit, EM_GETLINECOUNT, 0, 0)),
        (rcClient.bottom - 4 + tm.tmHeight - 1) / tm.tmHeight);
    if (FindAndDraw(hEdit, hFont, strText, nLines) != nMatches)
        Fail("the two sides found different matches");

    std::vector<double> preview, reference;
    for (int i = 0; i < RUNS; ++i) {
        SetWindowText(hEdit, "");
        preview.push_back(Milliseconds([&] { ShowAndColour(hEdit, strText); }));
        reference.push_back(Milliseconds([&] { FindAndDraw(hEdit, hFont, strText, nLines); }));
    }
    const double dRatio = MedianRatio(preview, reference);
    std::printf("text_bytes: %zu\n", strText.size());
    std::printf("matches: %d\n", nMatches);
    std::printf("visible_lines: %d\n", nLines);
    std::printf("preview_ms: %.3f\n", Median(preview));
    std::printf("reference_ms: %.3f\n", Median(reference));
    std::printf(
        "preview_ratio: %.2f (goal <= %.1f: %s)\n", dRatio, GOAL_RATIO, dRatio <= GOAL_RATIO ? "met" : "missed");
    DeleteObject(hFont);
    DestroyWindow(hParent);
    return 0;
}
