// Figures for the list view and the tree view under the loads the program's
// views give them, each against a reference measured in the same run:
//
// - a report list of 600 x 400 with four callback columns: 100 000 inserts
//   with redraw off against the same 100 000 messages sent to a window that
//   only counts them; the first paint; a one-line scroll, and for comparison
//   a repaint of the whole list;
// - an owner-drawn list of 40 rows and 11 columns whose parent paints every
//   cell through LVM_GETITEMTEXT: one screen against a plain loop that asks
//   the same callback and draws the same texts into the same DC; the screen
//   at row 50 000 against the first; 40 inserts and their first paint;
// - a sort of 100 000 rows by callback against std::stable_sort of the same
//   values with the same comparison;
// - a tree of 100 parents with 100 children each, inserted with TVI_SORT in
//   a random order, against inserting the same texts into sorted vectors with
//   the same comparison; then expanding every parent and painting a screen.
//
// Prints "name: value" lines: milliseconds (the median of several runs), the
// ratios to the references (the median of the runs' own ratios), and each
// goal with whether it is met. Arguments
// (list, owner-drawn, sort, tree) run only the parts they name.

#include "bench/BenchTiming.h"
#include "platform/base/TextFunctions.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Menu.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int FILL_ROWS = 100000;
constexpr int RUNS = 7;
constexpr int SCROLLS = 200;
constexpr int OWNER_DRAWN_ROWS = 40;
constexpr int OWNER_DRAWN_COLUMNS = 11;
constexpr int OWNER_DRAWN_ROW_HEIGHT = 16;
constexpr int TREE_PARENTS = 100;
constexpr int TREE_CHILDREN = 100;

[[noreturn]] void Fail(const char* pszWhat)
{
    std::fprintf(stderr, "controls_bench: %s\n", pszWhat);
    std::exit(1);
}

void Print(const char* pszName, double value)
{
    std::printf("%s: %.3f\n", pszName, value);
}

void PrintGoal(const char* pszName, double value, const char* pszGoal, bool bMet)
{
    std::printf("%s: %.3f (goal %s: %s)\n", pszName, value, pszGoal, bMet ? "met" : "missed");
}

/******************************************************************************
 * The parent: callback texts, owner-drawn rows, and the counting window
 ******************************************************************************/

// The text the parent gives a cell: what a document list shows, made on demand.
int FormatCell(char* pszBuffer, int cchBuffer, int nRow, int iSubItem)
{
    switch (iSubItem % 4) {
    case 0:
        return std::snprintf(pszBuffer, static_cast<size_t>(cchBuffer), "Report %06d.odt", nRow);
    case 1:
        return std::snprintf(pszBuffer, static_cast<size_t>(cchBuffer), "C:\\home\\ana\\folder %03d", nRow % 997);
    case 2:
        return std::snprintf(pszBuffer, static_cast<size_t>(cchBuffer), "%d KB", (nRow * 37) % 9000 + 1);
    default:
        return std::snprintf(pszBuffer, static_cast<size_t>(cchBuffer), "2024-%02d-%02d", nRow % 12 + 1, nRow % 28 + 1);
    }
}

// Column widths of the owner-drawn list, also used by the plain loop.
int OwnerDrawnColumnWidth(int nColumn)
{
    return nColumn == 0 ? 140 : 70;
}

// Draws one owner-drawn row the way a grid does: every cell's text read back
// through the list, then drawn in its cell.
void DrawOwnerDrawnRow(const DRAWITEMSTRUCT& dis)
{
    char szText[LISTVIEW_CALLBACK_TEXT];
    RECT rcCell = dis.rcItem;
    for (int nColumn = 0; nColumn < OWNER_DRAWN_COLUMNS; ++nColumn) {
        LVITEM item {};
        item.iSubItem = nColumn;
        item.pszText = szText;
        item.cchTextMax = sizeof(szText);
        const auto nLength
            = static_cast<int>(SendMessage(dis.hwndItem, LVM_GETITEMTEXT, dis.itemID, reinterpret_cast<LPARAM>(&item)));
        rcCell.right = rcCell.left + OwnerDrawnColumnWidth(nColumn);
        DrawText(dis.hDC, szText, nLength, &rcCell, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        rcCell.left = rcCell.right;
    }
}

LRESULT CALLBACK ParentWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NOTIFY: {
        auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
        if (pHdr->code == LVN_GETDISPINFO) {
            LVITEM& item = reinterpret_cast<NMLVDISPINFO*>(pHdr)->item;
            if (item.mask & LVIF_TEXT)
                FormatCell(item.pszText, item.cchTextMax, item.iItem, item.iSubItem);
        }
        return 0;
    }
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = OWNER_DRAWN_ROW_HEIGHT;
        return TRUE;
    case WM_DRAWITEM:
        DrawOwnerDrawnRow(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}

// The floor's window: it counts what it is sent and does nothing else.
long long g_nCounted = 0;

LRESULT CALLBACK CountingWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == LVM_INSERTITEM)
        return static_cast<LRESULT>(g_nCounted++);
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

HWND CreateTopWindow(LPCSTR pszClass, WNDPROC pfnProc, DWORD dwStyle)
{
    WNDCLASS wc {};
    wc.lpfnWndProc = pfnProc;
    wc.lpszClassName = pszClass;
    RegisterClass(&wc);
    HWND hWnd = CreateWindow(pszClass, "", dwStyle, 0, 0, 900, 800, nullptr, nullptr, nullptr, nullptr);
    if (!hWnd)
        Fail("a window could not be made");
    return hWnd;
}

/******************************************************************************
 * Lists
 ******************************************************************************/

HWND CreateList(HWND hParent, DWORD dwStyle, int cx, int cy, int nColumns, int (*pfnWidth)(int))
{
    HWND hList = CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | dwStyle, 0, 0, cx, cy, hParent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(100)), nullptr, nullptr);
    if (!hList)
        Fail("the list could not be made");
    for (int i = 0; i < nColumns; ++i) {
        LVCOLUMN column {};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = pfnWidth(i);
        column.pszText = const_cast<LPSTR>("Column");
        SendMessage(hList, LVM_INSERTCOLUMN, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    return hList;
}

int DocumentColumnWidth(int)
{
    return 150;
}

void InsertCallbackRows(HWND hList, int nRows, const std::vector<LPARAM>* pValues = nullptr)
{
    LVITEM item {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.pszText = LPSTR_TEXTCALLBACK;
    for (int nRow = 0; nRow < nRows; ++nRow) {
        item.iItem = nRow;
        item.lParam = pValues ? (*pValues)[static_cast<size_t>(nRow)] : nRow;
        SendMessage(hList, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
}

// Fills a list the way a view fills a large folder: redraw off, room made, rows inserted.
void FillWithRedrawOff(HWND hList, int nRows, const std::vector<LPARAM>* pValues = nullptr)
{
    SendMessage(hList, WM_SETREDRAW, FALSE, 0);
    SendMessage(hList, LVM_SETITEMCOUNT, static_cast<WPARAM>(nRows), 0);
    InsertCallbackRows(hList, nRows, pValues);
    SendMessage(hList, WM_SETREDRAW, TRUE, 0);
}

// Paints whatever waits in the list and its header, now.
void PaintPending(HWND hList)
{
    RedrawWindow(hList, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void PaintAll(HWND hList)
{
    RedrawWindow(hList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void MeasureDocumentList(HWND hParent)
{
    std::vector<double> floor, fill, firstPaint;
    HWND hCounter = CreateTopWindow("BenchCounter", CountingWndProc, WS_POPUP);
    HWND hList = nullptr;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        floor.push_back(Milliseconds([&] {
            LVITEM item {};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.pszText = LPSTR_TEXTCALLBACK;
            for (int nRow = 0; nRow < FILL_ROWS; ++nRow) {
                item.iItem = nRow;
                item.lParam = nRow;
                SendMessage(hCounter, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
            }
        }));
        if (hList)
            DestroyWindow(hList);
        hList = CreateList(hParent, LVS_SHOWSELALWAYS, 600, 400, 4, DocumentColumnWidth);
        PaintPending(hList);
        fill.push_back(Milliseconds([&] { FillWithRedrawOff(hList, FILL_ROWS); }));
        firstPaint.push_back(Milliseconds([&] { PaintPending(hList); }));
    }
    DestroyWindow(hCounter);
    if (SendMessage(hList, LVM_GETITEMCOUNT, 0, 0) != FILL_ROWS)
        Fail("the list holds the wrong number of rows");

    const double scroll = Milliseconds([&] {
        for (int i = 0; i < SCROLLS; ++i) {
            SendMessage(hList, WM_VSCROLL, SB_LINEDOWN, 0);
            PaintPending(hList);
        }
    }) / SCROLLS;
    if (SendMessage(hList, LVM_GETTOPINDEX, 0, 0) != SCROLLS)
        Fail("the list did not scroll one row at a time");
    std::vector<double> repaint;
    for (int nRun = 0; nRun < RUNS; ++nRun)
        repaint.push_back(Milliseconds([&] { PaintAll(hList); }));
    DestroyWindow(hList);

    Print("send_floor_100000_ms", Median(floor));
    Print("fill_100000_ms", Median(fill));
    const double ratio = MedianRatio(fill, floor);
    PrintGoal("fill_100000_ratio", ratio, "<= 20", ratio <= 20);
    PrintGoal("fill_100000_ratio_tight", ratio, "<= 4", ratio <= 4);
    PrintGoal("first_paint_ms", Median(firstPaint), "< 16", Median(firstPaint) < 16);
    PrintGoal("scroll_one_line_ms", scroll, "< 2", scroll < 2);
    Print("repaint_whole_list_ms", Median(repaint));
}

/******************************************************************************
 * Owner-drawn screens
 ******************************************************************************/

// The plain loop the owner-drawn screen is held to: the same callback, the
// same texts, the same cells, the same DC.
void PaintScreenByHand(HWND hList, int nTop)
{
    HDC hdc = GetDC(hList);
    // The list paints with its font, when it was given one.
    auto hFont = reinterpret_cast<HFONT>(SendMessage(hList, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont ? SelectObject(hdc, hFont) : nullptr;
    char szText[LISTVIEW_CALLBACK_TEXT];
    RECT rcHeader {};
    GetWindowRect(reinterpret_cast<HWND>(SendMessage(hList, LVM_GETHEADER, 0, 0)), &rcHeader);
    for (int i = 0; i < OWNER_DRAWN_ROWS; ++i) {
        const int nTopY = rcHeader.bottom - rcHeader.top + i * OWNER_DRAWN_ROW_HEIGHT;
        RECT rcCell { 0, nTopY, 0, nTopY + OWNER_DRAWN_ROW_HEIGHT };
        for (int nColumn = 0; nColumn < OWNER_DRAWN_COLUMNS; ++nColumn) {
            const int nLength = FormatCell(szText, sizeof(szText), nTop + i, nColumn);
            rcCell.right = rcCell.left + OwnerDrawnColumnWidth(nColumn);
            DrawText(hdc, szText, nLength, &rcCell, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            rcCell.left = rcCell.right;
        }
    }
    if (hOldFont)
        SelectObject(hdc, hOldFont);
    ReleaseDC(hList, hdc);
}

HWND CreateOwnerDrawnList(HWND hParent)
{
    // Tall enough for 40 rows below the header, which is measured once it exists.
    HWND hList = CreateList(hParent, LVS_OWNERDRAWFIXED, 880, 400, OWNER_DRAWN_COLUMNS, OwnerDrawnColumnWidth);
    RECT rcHeader {};
    GetWindowRect(reinterpret_cast<HWND>(SendMessage(hList, LVM_GETHEADER, 0, 0)), &rcHeader);
    SetWindowPos(hList, nullptr, 0, 0, 880, rcHeader.bottom - rcHeader.top + OWNER_DRAWN_ROWS * OWNER_DRAWN_ROW_HEIGHT,
        SWP_NOZORDER | SWP_NOMOVE);
    return hList;
}

void MeasureOwnerDrawnScreens(HWND hParent)
{
    HWND hList = CreateOwnerDrawnList(hParent);
    if (SendMessage(hList, LVM_GETCOUNTPERPAGE, 0, 0) != OWNER_DRAWN_ROWS)
        Fail("the owner-drawn list does not show 40 rows");
    FillWithRedrawOff(hList, FILL_ROWS);
    PaintPending(hList);
    // Each run paints the first screen, the same by hand, and the screen at row 50 000.
    std::vector<double> screen, byHand, screenFar;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        SendMessage(hList, WM_VSCROLL, SB_TOP, 0);
        PaintPending(hList);
        screen.push_back(Milliseconds([&] { PaintAll(hList); }));
        byHand.push_back(Milliseconds([&] { PaintScreenByHand(hList, 0); }));
        SendMessage(hList, LVM_ENSUREVISIBLE, FILL_ROWS / 2 + OWNER_DRAWN_ROWS - 1, FALSE);
        if (SendMessage(hList, LVM_GETTOPINDEX, 0, 0) != FILL_ROWS / 2)
            Fail("the owner-drawn list did not scroll to row 50 000");
        PaintPending(hList);
        screenFar.push_back(Milliseconds([&] { PaintAll(hList); }));
    }
    DestroyWindow(hList);

    std::vector<double> firstScreen;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        hList = CreateOwnerDrawnList(hParent);
        PaintPending(hList);
        firstScreen.push_back(Milliseconds([&] {
            InsertCallbackRows(hList, OWNER_DRAWN_ROWS);
            PaintPending(hList);
        }));
        DestroyWindow(hList);
    }

    Print("owner_drawn_screen_ms", Median(screen));
    Print("owner_drawn_by_hand_ms", Median(byHand));
    const double ratio = MedianRatio(screen, byHand);
    PrintGoal("owner_drawn_screen_ratio", ratio, "<= 1.5", ratio <= 1.5);
    const double farRatio = MedianRatio(screenFar, screen);
    Print("owner_drawn_screen_at_50000_ms", Median(screenFar));
    PrintGoal("owner_drawn_screen_at_50000_ratio", farRatio, "<= 1.1", farRatio <= 1.1);
    PrintGoal("fill_40_and_paint_ms", Median(firstScreen), "< 16", Median(firstScreen) < 16);
}

/******************************************************************************
 * Sort
 ******************************************************************************/

std::vector<int> g_sortKeys;

int CALLBACK CompareByKey(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    const int a = g_sortKeys[static_cast<size_t>(lParam1)];
    const int b = g_sortKeys[static_cast<size_t>(lParam2)];
    return a < b ? -1 : (a > b ? 1 : 0);
}

// The comparison as the plain sort gets it: a pointer read at run time.
PFNLVCOMPARE volatile g_pfnCompare = CompareByKey;

void MeasureSort(HWND hParent)
{
    std::mt19937 random(42);
    g_sortKeys.resize(FILL_ROWS);
    for (int& nKey : g_sortKeys)
        nKey = static_cast<int>(random() % 50000); // ties, as a sort by size or date has
    std::vector<LPARAM> values(FILL_ROWS);
    std::iota(values.begin(), values.end(), 0);
    std::shuffle(values.begin(), values.end(), random);

    std::vector<double> sort, reference;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        HWND hList = CreateList(hParent, 0, 600, 400, 4, DocumentColumnWidth);
        FillWithRedrawOff(hList, FILL_ROWS, &values);
        PaintPending(hList);
        sort.push_back(
            Milliseconds([&] { SendMessage(hList, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(CompareByKey)); }));
        DestroyWindow(hList);
        std::vector<LPARAM> copy = values;
        reference.push_back(Milliseconds([&] {
            // Called through a pointer, as the list calls it, not inlined into the sort.
            const PFNLVCOMPARE pfnCompare = g_pfnCompare;
            std::stable_sort(
                copy.begin(), copy.end(), [pfnCompare](LPARAM a, LPARAM b) { return pfnCompare(a, b, 0) < 0; });
        }));
    }
    Print("sort_100000_ms", Median(sort));
    Print("stable_sort_100000_ms", Median(reference));
    const double ratio = MedianRatio(sort, reference);
    PrintGoal("sort_100000_ratio", ratio, "<= 1.5", ratio <= 1.5);
}

/******************************************************************************
 * Tree
 ******************************************************************************/

struct TreeInsert {
    int nParent; // -1: a top-level item
    std::string strText;
};

// The parents in a random order, then every child in a random order.
std::vector<TreeInsert> TreeInserts()
{
    std::mt19937 random(7);
    std::vector<TreeInsert> parents;
    std::vector<TreeInsert> children;
    for (int nParent = 0; nParent < TREE_PARENTS; ++nParent) {
        parents.push_back({ -1, "Folder " + std::to_string(random() % 100000) });
        for (int nChild = 0; nChild < TREE_CHILDREN; ++nChild)
            children.push_back({ nParent, "document " + std::to_string(random() % 1000000) + ".odt" });
    }
    std::vector<int> order(TREE_PARENTS);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    std::vector<TreeInsert> inserts;
    for (int nParent : order)
        inserts.push_back(parents[static_cast<size_t>(nParent)]);
    std::shuffle(children.begin(), children.end(), random);
    inserts.insert(inserts.end(), children.begin(), children.end());
    return inserts;
}

bool TextBefore(const std::string& a, const std::string& b)
{
    return CompareString(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
}

void MeasureTree(HWND hParent)
{
    const std::vector<TreeInsert> inserts = TreeInserts();
    std::vector<double> build, reference, expand;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        HWND hTree = CreateWindowEx(0, WC_TREEVIEW, "",
            WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, 300, 600, hParent, nullptr,
            nullptr, nullptr);
        if (!hTree)
            Fail("the tree could not be made");
        std::vector<HTREEITEM> parentItems(TREE_PARENTS);
        build.push_back(Milliseconds([&] {
            int nNextParent = 0;
            for (const TreeInsert& insert : inserts) {
                TVINSERTSTRUCT tvis {};
                tvis.hParent = insert.nParent < 0 ? TVI_ROOT : parentItems[static_cast<size_t>(insert.nParent)];
                tvis.hInsertAfter = TVI_SORT;
                tvis.item.mask = TVIF_TEXT;
                tvis.item.pszText = const_cast<LPSTR>(insert.strText.c_str());
                auto hItem = reinterpret_cast<HTREEITEM>(
                    SendMessage(hTree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&tvis)));
                if (insert.nParent < 0)
                    parentItems[static_cast<size_t>(nNextParent++)] = hItem;
            }
        }));
        if (SendMessage(hTree, TVM_GETCOUNT, 0, 0) != TREE_PARENTS * (TREE_CHILDREN + 1))
            Fail("the tree holds the wrong number of items");
        PaintPending(hTree);
        expand.push_back(Milliseconds([&] {
            for (HTREEITEM hItem : parentItems)
                SendMessage(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
            PaintPending(hTree);
        }));
        DestroyWindow(hTree);

        reference.push_back(Milliseconds([&] {
            std::vector<std::string> top;
            std::vector<std::vector<std::string>> childTexts(TREE_PARENTS);
            for (const TreeInsert& insert : inserts) {
                auto& siblings = insert.nParent < 0 ? top : childTexts[static_cast<size_t>(insert.nParent)];
                siblings.insert(
                    std::upper_bound(siblings.begin(), siblings.end(), insert.strText, TextBefore), insert.strText);
            }
        }));
    }
    Print("tree_10000_sorted_inserts_ms", Median(build));
    Print("sorted_vectors_10000_ms", Median(reference));
    const double ratio = MedianRatio(build, reference);
    PrintGoal("tree_10000_ratio", ratio, "<= 3", ratio <= 3);
    Print("tree_expand_all_and_paint_ms", Median(expand));
}

}

int main(int argc, char** argv)
{
    InitCommonControls();
    HWND hParent = CreateTopWindow("BenchParent", ParentWndProc, WS_POPUP | WS_VISIBLE);
    PumpUntilIdle();
    const struct {
        const char* pszName;
        void (*pfnMeasure)(HWND);
    } parts[] = { { "list", MeasureDocumentList }, { "owner-drawn", MeasureOwnerDrawnScreens }, { "sort", MeasureSort },
        { "tree", MeasureTree } };
    // Arguments name the parts to run; none runs them all.
    for (const auto& part : parts) {
        if (argc < 2 || std::find_if(argv + 1, argv + argc, [&](const char* psz) {
                return std::string(psz) == part.pszName;
            }) != argv + argc)
            part.pfnMeasure(hParent);
    }
    DestroyWindow(hParent);
    return 0;
}
