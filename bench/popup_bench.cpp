// The systems popup against a plain popup window, in the same run, on the
// headless display over a real catalog:
//
// - open to painted: a systems popup of 50 rows created, filled from the
//   catalog, placed and painted once, against a plain top-level window that
//   creates, fills and paints an owner-drawn list box of the same 50 texts
//   with DrawText;
// - a child on the hover timer: from the timer's firing (the open-child timer
//   of the popup's list) to the first paint of the child of 50 rows, against
//   the plain window with those 50 texts;
// - the same open of a node of 1 000 rows, printed beside them.
//
// Prints "name: value" lines: milliseconds (the median of the runs), the
// ratios (the median of the runs' own ratios) and each goal with whether it
// is met (at most twice the reference and under 16 ms). Figures are meant
// from a Release build.

#include "bench/BenchTiming.h"
#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowClass.h"
#include "store/CCatalog.h"
#include "store/CNodeInfoRec.h"
#include "store/CNodeRec.h"
#include "tests/support/ScratchFolder.h"
#include "ui/CSisPopupWnd.h"
#include "ui/CUiHostServices.h"
#include "ui/MenuFont.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int RUNS = 31;
constexpr int ROWS = 50;
constexpr int LARGE_ROWS = 1000;
constexpr double GOAL_RATIO = 2.0;
constexpr double GOAL_MS = 16.0;
const POINT PLACE { 120, 80 };

[[noreturn]] void Fail(const char* pszWhat)
{
    std::fprintf(stderr, "popup_bench: %s\n", pszWhat);
    std::exit(1);
}

class CBenchHost : public CUiHostServices {
public:
    explicit CBenchHost(CCatalog* pCatalog)
        : m_pCatalog(pCatalog)
    {
    }
    CCatalog* GetMainCatalog() override { return m_pCatalog; }

private:
    CCatalog* m_pCatalog;
};

std::unique_ptr<CNodeRec> AddChild(CNodeRec& parent, const std::string& strName)
{
    CNodeInfo info {};
    MakeDefaultNames(&info);
    std::strncpy(info.szName, strName.c_str(), sizeof(info.szName) - 1);
    std::unique_ptr<CNodeRec> pChild(parent.AddChild(info));
    if (!pChild)
        Fail("cannot add a system");
    return pChild;
}

// "Fifty": 50 systems, the first of them with 50 of its own; "Thousand": 1 000 systems.
struct CBenchNodes {
    std::unique_ptr<CNodeRec> pFifty;
    std::unique_ptr<CNodeRec> pThousand;
};

CBenchNodes FillCatalog(CCatalog& catalog)
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    if (!pRoot)
        Fail("no root");
    CBenchNodes nodes { AddChild(*pRoot, "Fifty"), AddChild(*pRoot, "Thousand") };
    for (int i = 0; i < ROWS; ++i) {
        std::unique_ptr<CNodeRec> pSystem = AddChild(*nodes.pFifty, "Project " + std::to_string(100 + i));
        for (int j = 0; i == 0 && j < ROWS; ++j)
            AddChild(*pSystem, "Group " + std::to_string(100 + j));
    }
    for (int i = 0; i < LARGE_ROWS; ++i)
        AddChild(*nodes.pThousand, "Item " + std::to_string(10000 + i));
    return nodes;
}

std::vector<CString> ChildNames(const CNodeRec& node)
{
    std::vector<CString> names;
    const CSortSpec byName { 0, TRUE, FALSE };
    for (const auto& pChild : node.GetSortedChildren(&byName))
        names.push_back(pChild->GetName());
    return names;
}

// The reference: a top-level window with an owner-drawn list box whose rows
// it draws with DrawText.
class CPlainPopup : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    CPlainPopup() { CreateMenuFont(m_font, FW_NORMAL); }

    void Open(const std::vector<CString>& texts)
    {
        if (!CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr)
            || !m_list.Create(
                WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, RECT {}, this, 101))
            Fail("no plain window");
        m_list.SetFont(&m_font, FALSE);
        for (const CString& strText : texts)
            m_list.AddString(strText);
        const int nHeight = std::min(static_cast<int>(texts.size()) * m_list.GetItemHeight(0), 600);
        SetWindowPos(&wndTop, PLACE.x, PLACE.y, 220, nHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        m_list.MoveWindow(0, 0, 220, nHeight);
        UpdateWindow();
        m_list.UpdateWindow();
    }

protected:
    void OnDrawItem(int /*nIDCtl*/, LPDRAWITEMSTRUCT lpDrawItemStruct)
    {
        CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
        RECT rect = lpDrawItemStruct->rcItem;
        pDC->FillSolidRect(&rect, 0x02F0F0F0);
        CString strText;
        m_list.GetText(static_cast<int>(lpDrawItemStruct->itemID), strText);
        CFont* pOld = pDC->SelectObject(&m_font);
        pDC->SetBkMode(TRANSPARENT);
        pDC->DrawText(strText, &rect, DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER);
        pDC->SelectObject(pOld);
    }

private:
    CFont m_font;
    CListBox m_list;
};

BEGIN_MESSAGE_MAP(CPlainPopup, CWnd)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

double TimePlain(const std::vector<CString>& texts)
{
    CPlainPopup plain;
    const double dMs = Milliseconds([&] { plain.Open(texts); });
    plain.DestroyWindow();
    return dMs;
}

// Create, fill from the catalog, place, first paint.
double TimeSystemsPopup(CWnd& owner, const CNodeRec& node)
{
    CSisPopupWnd popup;
    const double dMs = Milliseconds([&] {
        if (popup.Create(&owner) != 1)
            Fail("no systems popup");
        popup.GetSisList().FillItems(&node, FALSE, FALSE, FALSE);
        popup.FitOnScreen(&PLACE, nullptr);
        popup.UpdateWindow();
        popup.GetSisList().UpdateWindow();
    });
    popup.DestroyWindow();
    return dMs;
}

// From the open-child timer's firing to the child's first paint.
double TimeHoverChild(CSisPopupWnd& root)
{
    CSisPopupCtrl& list = root.GetSisList();
    list.CloseChild();
    list.SelectItem(0);
    return Milliseconds([&] {
        list.SendMessage(WM_TIMER, CPopupCtrl::TIMER_OPEN_CHILD);
        CPopupWnd* pChild = list.GetChildPopup();
        if (!pChild)
            Fail("no child opened");
        pChild->UpdateWindow();
        pChild->GetPopupCtrl()->UpdateWindow();
    });
}

// What the runs left in the queue, but the timers: the chain's close timers
// would end the open root, where a user's cursor would rest on it.
void PumpAllButTimers()
{
    MSG msg {};
    while (PeekMessage(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE)
        || PeekMessage(&msg, nullptr, WM_TIMER + 1, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

void PrintFigure(const char* pszName, const std::vector<double>& subject, const std::vector<double>& reference)
{
    const double dMs = Median(subject);
    const double dRatio = MedianRatio(subject, reference);
    std::printf("%s_ms: %.3f\n", pszName, dMs);
    std::printf("%s_reference_ms: %.3f\n", pszName, Median(reference));
    std::printf(
        "%s_ratio: %.2f (goal <= %.1f: %s)\n", pszName, dRatio, GOAL_RATIO, dRatio <= GOAL_RATIO ? "met" : "missed");
    std::printf("%s_under_16ms: %s\n", pszName, dMs < GOAL_MS ? "met" : "missed");
}

} // namespace

int main()
{
    const ScratchFolder folder("popup_bench.");
    if (!folder.IsValid())
        Fail("no scratch folder");
    const HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(POPUP_BENCH_MODULE).c_str());
    if (!hModule)
        Fail("no resource module at " POPUP_BENCH_MODULE);
    AfxSetResourceHandle(hModule);

    const CString strCatalog
        = ProgramPathFromHostPath((std::filesystem::path(folder.Path()) / "archiv.cat").string()).c_str();
    if (!CCatalog::CreateFile(FALSE, strCatalog, BLOCK_SIZE))
        Fail("cannot create the catalog");
    CCatalog catalog(strCatalog, 0);
    CBenchHost host(&catalog);
    InstallUiHostServices(&host);
    const CBenchNodes nodes = FillCatalog(catalog);
    const std::vector<CString> fiftyNames = ChildNames(*nodes.pFifty);
    const std::unique_ptr<CNodeRec> pFirst(nodes.pFifty->GetFirstChild());
    const std::vector<CString> childNames = ChildNames(*pFirst);
    const std::vector<CString> thousandNames = ChildNames(*nodes.pThousand);

    CWnd owner;
    if (!owner.CreateEx(
            0, AfxRegisterWndClass(0), "popup_bench", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr))
        Fail("no owner window");

    // Once each before timing: fonts, images and the catalog's pages are ready.
    TimeSystemsPopup(owner, *nodes.pFifty);
    TimePlain(fiftyNames);

    std::vector<double> openMs, openReferenceMs, childMs, childReferenceMs, largeMs, largeReferenceMs;
    CSisPopupWnd root;
    if (root.Create(&owner) != 1)
        Fail("no root popup");
    root.GetSisList().FillItems(nodes.pFifty.get(), FALSE, FALSE, FALSE);
    root.FitOnScreen(&PLACE, nullptr);
    root.GetSisList().Open(CPopupCtrl::MODE_MOUSE, nullptr);
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        openMs.push_back(TimeSystemsPopup(owner, *nodes.pFifty));
        openReferenceMs.push_back(TimePlain(fiftyNames));
        childMs.push_back(TimeHoverChild(root));
        childReferenceMs.push_back(TimePlain(childNames));
        largeMs.push_back(TimeSystemsPopup(owner, *nodes.pThousand));
        largeReferenceMs.push_back(TimePlain(thousandNames));
        PumpAllButTimers();
    }
    root.DestroyWindow();

    std::printf("rows: %d\n", ROWS);
    PrintFigure("systems_popup_open", openMs, openReferenceMs);
    PrintFigure("systems_popup_hover_child", childMs, childReferenceMs);
    std::printf("large_rows: %d\n", LARGE_ROWS);
    std::printf("systems_popup_open_1000_ms: %.3f\n", Median(largeMs));
    std::printf("systems_popup_open_1000_reference_ms: %.3f\n", Median(largeReferenceMs));
    std::printf("systems_popup_open_1000_ratio: %.2f\n", MedianRatio(largeMs, largeReferenceMs));
    InstallUiHostServices(nullptr);
    owner.DestroyWindow();
    return 0;
}
