// The grid list's painting against plain text drawing, in the same run:
//
// - one screen of 40 rows x 8 columns painted by CGridListCtrl (text, date,
//   right-aligned number and image columns, two of them shaded, the focused
//   row current), as InvalidateRect + UpdateWindow, against a plain loop that
//   draws the same 320 texts with DrawText, the same flags and rectangles,
//   into the same window DC;
// - the screen at row 50 000 of 100 000 against the first screen;
// - the first screen and the plain loop again, each in a new font equal to
//   the list's, which has shaped and drawn no text yet: the figures above are
//   of texts drawn before, as when a list repaints.
//
// Prints "name: value" lines: milliseconds (the median of several runs), the
// ratios (the median of the runs' own ratios) and each goal with whether it
// is met. Figures are meant from a Release build.

#include "bench/BenchTiming.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowClass.h"
#include "ui/CGridListCtrl.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int ROWS = 100000;
constexpr int SCREEN_ROWS = 40;
constexpr int COLUMNS = 8;
constexpr int RUNS = 21;
constexpr int MIDDLE_ROW = 50000;
constexpr UINT TEXT_FLAGS = DT_END_ELLIPSIS | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER;

struct ColumnSpec {
    int nWidth;
    int nType;
    BOOL bShaded;
    int nFormat;
};

// clang-format off
constexpr ColumnSpec COLUMN_SPECS[COLUMNS] = {
    { 220, GRID_COLUMN_TEXT,  FALSE, LVCFMT_LEFT },   // name
    { 110, GRID_COLUMN_DATE,  TRUE,  LVCFMT_LEFT },   // modified
    {  80, GRID_COLUMN_TEXT,  FALSE, LVCFMT_RIGHT },  // size
    {  40, GRID_COLUMN_IMAGE, FALSE, LVCFMT_CENTER }, // state picture
    { 160, GRID_COLUMN_TEXT,  FALSE, LVCFMT_LEFT },   // folder
    { 110, GRID_COLUMN_DATE,  TRUE,  LVCFMT_LEFT },   // expires
    {  90, GRID_COLUMN_TEXT,  FALSE, LVCFMT_RIGHT },  // pages
    { 180, GRID_COLUMN_TEXT,  FALSE, LVCFMT_LEFT },   // keywords
};
// clang-format on

[[noreturn]] void Fail(const char* pszWhat)
{
    std::fprintf(stderr, "grid_bench: %s\n", pszWhat);
    std::exit(1);
}

// The fixed text of a cell, as a document list shows them.
std::string CellText(int nRow, int nColumn)
{
    switch (nColumn) {
    case 0:
        return "Quarterly report " + std::to_string(nRow) + ".odt";
    case 1:
    case 5:
        return "2024-0" + std::to_string(1 + nRow % 9) + "-1" + std::to_string(nRow % 10) + " 10:2"
            + std::to_string(nRow % 10);
    case 2:
        return std::to_string(1 + nRow % 997) + " KB";
    case 3:
        return std::to_string(nRow % 2);
    case 4:
        return "C:\\home\\ana\\documents\\" + std::to_string(nRow % 50);
    case 6:
        return std::to_string(nRow % 300);
    default:
        return "budget, planning, team " + std::to_string(nRow % 7);
    }
}

// The grid list of the benchmark: every cell's text comes by callback.
class CBenchGridList : public CGridListCtrl {
    DECLARE_MESSAGE_MAP()

public:
    void UseImageList(CImageList* pImages) { SetImageColumnList(pImages); }

protected:
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
    {
        auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
        if (pInfo->item.mask & LVIF_TEXT) {
            m_strText = CellText(pInfo->item.iItem, pInfo->item.iSubItem);
            pInfo->item.pszText = m_strText.data();
        }
        *pResult = 0;
    }

private:
    std::string m_strText;
};

// clang-format off
BEGIN_MESSAGE_MAP(CBenchGridList, CGridListCtrl)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFO, &CBenchGridList::OnGetDispInfo)
END_MESSAGE_MAP()
// clang-format on

void PumpUntilIdle()
{
    MSG msg {};
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

// The screen showing nTopRow first, with the focus on its third row.
void ShowScreen(CBenchGridList& list, int nTopRow)
{
    list.EnsureVisible(ROWS - 1, FALSE);
    list.EnsureVisible(nTopRow, FALSE);
    list.SetItemState(nTopRow + 2, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    PumpUntilIdle();
}

// A font equal to the list's that has measured and drawn nothing yet.
HFONT NewFont()
{
    LOGFONT log {};
    GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(log), &log);
    return CreateFontIndirect(&log);
}

double PaintScreen(CBenchGridList& list)
{
    return Milliseconds([&] {
        list.InvalidateRect(nullptr, TRUE);
        list.UpdateWindow();
    });
}

// The same 320 texts drawn plainly into the list's DC, in the cells' rectangles.
double DrawPlainly(CBenchGridList& list, int nTopRow)
{
    std::vector<std::string> texts;
    std::vector<RECT> rects;
    for (int nRow = nTopRow; nRow < nTopRow + SCREEN_ROWS; ++nRow) {
        for (int nColumn = 0; nColumn < COLUMNS; ++nColumn) {
            RECT cell {};
            list.GetCellRect(nRow, nColumn, &cell);
            texts.push_back(CellText(nRow, nColumn));
            rects.push_back(cell);
        }
    }
    HDC hdc = GetDC(list.m_hWnd);
    HGDIOBJ hOld = SelectObject(hdc, reinterpret_cast<HFONT>(list.SendMessage(WM_GETFONT)));
    const double dTime = Milliseconds([&] {
        for (size_t i = 0; i < texts.size(); ++i) {
            RECT rect = rects[i];
            DrawText(hdc, texts[i].c_str(), -1, &rect,
                TEXT_FLAGS | (COLUMN_SPECS[i % COLUMNS].nFormat == LVCFMT_RIGHT ? DT_RIGHT : 0));
        }
    });
    SelectObject(hdc, hOld);
    ReleaseDC(list.m_hWnd, hdc);
    return dTime;
}

void PrintGoal(const char* pszName, double value, const char* pszGoal, bool bMet)
{
    std::printf("%s: %.3f (goal %s: %s)\n", pszName, value, pszGoal, bMet ? "met" : "missed");
}

} // namespace

int main()
{
    CWnd host;
    if (!host.CreateEx(
            0, AfxRegisterWndClass(0), "grid_bench", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, nullptr, nullptr))
        Fail("no host window");
    CBenchGridList list;
    if (!list.Create(WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, RECT { 0, 0, 1024, 768 }, &host, 100))
        Fail("no list");
    list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
    if (!list.Initialize())
        Fail("the list could not be set up");
    for (int nColumn = 0; nColumn < COLUMNS; ++nColumn) {
        const ColumnSpec& spec = COLUMN_SPECS[nColumn];
        list.InsertColumn(nColumn, spec.nWidth, 0, spec.bShaded, spec.nType, spec.nFormat);
    }
    auto* pImages = new CImageList;
    pImages->Create(16, 16, ILC_COLOR24, 2, 0);
    for (COLORREF cr : { RGB(200, 40, 40), RGB(40, 160, 40) }) {
        HDC hdcScreen = GetDC(nullptr);
        HDC hdc = CreateCompatibleDC(hdcScreen);
        HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, 16, 16);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        RECT all { 0, 0, 16, 16 };
        HBRUSH hBrush = CreateSolidBrush(cr);
        FillRect(hdc, &all, hBrush);
        DeleteObject(hBrush);
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        ReleaseDC(nullptr, hdcScreen);
        ImageList_Add(*pImages, hbm, nullptr);
        DeleteObject(hbm);
    }
    list.UseImageList(pImages);
    list.SetItemCount(ROWS);
    for (int nRow = 0; nRow < ROWS; ++nRow)
        list.InsertItem(LVIF_TEXT, nRow, LPSTR_TEXTCALLBACK, 0, 0, 0, 0);
    for (int nRow = 0; nRow < ROWS; ++nRow) {
        for (int nColumn = 1; nColumn < COLUMNS; ++nColumn)
            list.SetItemText(nRow, nColumn, LPSTR_TEXTCALLBACK);
    }
    list.SetFocus();

    std::vector<double> first;
    std::vector<double> middle;
    std::vector<double> plain;
    std::vector<double> fresh;
    std::vector<double> freshPlain;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        ShowScreen(list, 0);
        first.push_back(PaintScreen(list));
        plain.push_back(DrawPlainly(list, 0));
        ShowScreen(list, MIDDLE_ROW);
        middle.push_back(PaintScreen(list));

        // The font is set after the screen is shown, so that nothing paints with it before the timing.
        HFONT hFresh = NewFont();
        ShowScreen(list, 0);
        list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFresh));
        fresh.push_back(PaintScreen(list));
        HFONT hFreshPlain = NewFont();
        list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFreshPlain));
        freshPlain.push_back(DrawPlainly(list, 0));
        list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
        DeleteObject(hFresh);
        DeleteObject(hFreshPlain);
    }
    const double dFirst = Median(first);
    const double dMiddle = Median(middle);
    const double dPlain = Median(plain);
    const double dRatio = MedianRatio(first, plain);
    const double dMiddleRatio = MedianRatio(middle, first);
    std::printf("grid_screen_ms: %.3f\n", dFirst);
    std::printf("plain_drawtext_ms: %.3f\n", dPlain);
    PrintGoal("grid_to_plain_ratio", dRatio, "<= 2", dRatio <= 2.0);
    PrintGoal("grid_screen_under_4ms", dFirst, "< 4", dFirst < 4.0);
    std::printf("grid_screen_row_50000_ms: %.3f\n", dMiddle);
    PrintGoal("row_50000_to_first_ratio", dMiddleRatio, "<= 1.1", dMiddleRatio <= 1.1);
    const double dFresh = Median(fresh);
    const double dFreshRatio = MedianRatio(fresh, freshPlain);
    std::printf("grid_screen_new_font_ms: %.3f\n", dFresh);
    std::printf("plain_drawtext_new_font_ms: %.3f\n", Median(freshPlain));
    PrintGoal("grid_to_plain_new_font_ratio", dFreshRatio, "<= 2", dFreshRatio <= 2.0);
    PrintGoal("grid_screen_new_font_under_4ms", dFresh, "< 4", dFresh < 4.0);
    list.DestroyWindow();
    host.DestroyWindow();
    return 0;
}
