// One dialog over a real catalog, driven as a user would: a grid list of
// documents edited in place, its data tip, a drag over an arrow button and
// onto a drop target, copy and paste through the clipboard, and the target
// node shown by a node button and a node path control.

#include "platform/framework/CEdit.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "tests/ui/UiCatalogTest.h"
#include "ui/CBtnSeta.h"
#include "ui/CDataTipWnd.h"
#include "ui/CDragTracker.h"
#include "ui/CGridCalendarWnd.h"
#include "ui/CGridComboBox.h"
#include "ui/CGridListCtrl.h"
#include "ui/CKadDragObjReg.h"
#include "ui/CNodeButton.h"
#include "ui/CNodePathCtrl.h"
#include "ui/CUiHostServices.h"
#include "ui/DropTargets.h"

#include <optional>
#include <string>

// A drop target of a listed class (the search results list), recording what it takes.
class CSearchListCtrl
    : public CWnd
    , public CKadDropTarget {
    DECLARE_DYNAMIC(CSearchListCtrl)

public:
    void DropEnter() override { }
    DROPEFFECT DropOver(CKadDragObj*, UINT nKeyState, int, int) override
    {
        return (nKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    void DropLeave() override { }
    BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT effect) override
    {
        m_nTakenItems = static_cast<CKadDragObjReg*>(pPayload)->GetItemCount();
        m_takenEffect = effect;
        return TRUE;
    }

    int m_nTakenItems { 0 };
    DROPEFFECT m_takenEffect { DROPEFFECT_NONE };
};
IMPLEMENT_DYNAMIC(CSearchListCtrl, CWnd)

namespace {

constexpr int COL_NAME = 0;
constexpr int COL_DATE = 1;
constexpr int COL_KIND = 2;
constexpr UINT ID_GRID = 1900;
constexpr UINT ID_ARROW = 1901;
constexpr UINT ID_NODE_BUTTON = 1902;
const CTime DOCUMENT_DATE(2010, 3, 4, 9, 0, 0);

// The documents of a node as the document list will list them: names cut
// off in a narrow column show in a data tip, and rows drag as catalog records.
class CDocumentGrid : public CGridListCtrl {
    DECLARE_MESSAGE_MAP()

public:
    void Fill(CCatalog* pCatalog, CRecordRef node)
    {
        m_pNode = std::make_unique<CNodeRec>(pCatalog, node.nBlock, node.nSlot);
        m_documents = m_pNode->GetDocuments();
        for (int nRow = 0; nRow < static_cast<int>(m_documents.size()); ++nRow) {
            CString strPath;
            m_documents[static_cast<std::size_t>(nRow)]->GetFullPath(strPath);
            InsertItem(nRow, strPath);
            SetItemText(nRow, COL_DATE, "2010-03-04");
            SetItemText(nRow, COL_KIND, "File");
        }
        m_tip.Create(this);
        m_tip.Enable(TRUE);
    }

    LONG GetCellValue(int, int nColumn) override
    {
        return nColumn == COL_DATE ? static_cast<LONG>(DOCUMENT_DATE.GetTime()) : 0;
    }
    int GetCellEditLimit(int, int) override { return 64; }
    int GetCellEditorKind(int, int nColumn) override { return nColumn == COL_KIND ? GRID_EDITOR_COMBO : -1; }
    void GetCellChoices(int, int, CStringArray& choices) override
    {
        choices.Add("Mail");
        choices.Add("File");
    }

    // Starts dragging the selected rows from the screen point, as the list's
    // begin-drag handling does.
    void StartDrag(POINT pt)
    {
        m_payload = std::make_unique<CKadDragObjReg>();
        m_payload->SetSource(m_pNode.get());
        for (int nRow = GetNextItem(-1, LVNI_SELECTED); nRow != -1; nRow = GetNextItem(nRow, LVNI_SELECTED))
            m_payload->AddItem(m_documents[static_cast<std::size_t>(nRow)].get(), nRow);
        m_pTracker = std::make_unique<CDragTracker>();
        m_pTracker->Begin(this, m_payload.get(), nullptr, pt.x, pt.y);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (m_pTracker && m_pTracker->GetResult() == 0) {
            const BOOL bTaken = m_pTracker->FilterMessage(pMsg);
            EndDragIfFinished();
            if (bTaken)
                return TRUE;
        }
        return CGridListCtrl::PreTranslateMessage(pMsg);
    }

    std::vector<std::pair<int, std::optional<std::string>>> m_texts; // (column, text) taken
    std::vector<LPARAM> m_dates;
    std::optional<DROPEFFECT> m_dragResult;
    std::unique_ptr<CNodeRec> m_pNode;
    CDocumentRecArray m_documents;
    CDataTipWnd m_tip;

protected:
    void OnEndEdit(NMHDR* pNMHDR, LRESULT* pResult)
    {
        const auto* pInfo = reinterpret_cast<const NMLVDISPINFO*>(pNMHDR);
        if (pInfo->item.mask & LVIF_PARAM) {
            m_dates.push_back(pInfo->item.lParam);
        } else {
            std::optional<std::string> text;
            if (pInfo->item.pszText)
                text = pInfo->item.pszText;
            m_texts.emplace_back(pInfo->item.iSubItem, text);
            if (text)
                SetItemText(pInfo->item.iItem, pInfo->item.iSubItem, text->c_str());
        }
        OnEndLabelEdit(pNMHDR, pResult);
    }
    void OnMouseMove(UINT nFlags, CPoint point)
    {
        if (m_pTracker) {
            CPoint screen = point;
            ClientToScreen(&screen);
            m_pTracker->Move(nFlags, screen.x, screen.y);
            EndDragIfFinished();
            return;
        }
        LVHITTESTINFO hit {};
        hit.pt = point;
        SubItemHitTest(&hit);
        if (hit.iItem >= 0 && hit.iSubItem == COL_NAME) {
            const CString strName = GetItemText(hit.iItem, COL_NAME);
            RECT cell {};
            GetCellRect(hit.iItem, COL_NAME, &cell);
            if (GetStringWidth(strName) > cell.right - cell.left)
                m_tip.Show(point.x, point.y, cell, strName);
        }
        CGridListCtrl::OnMouseMove(nFlags, point);
    }

private:
    void EndDragIfFinished()
    {
        if (m_pTracker && m_pTracker->GetResult() != 0) {
            m_dragResult = m_pTracker->End();
            m_pTracker.reset();
            m_payload.reset();
        }
    }

    std::unique_ptr<CDragTracker> m_pTracker;
    std::unique_ptr<CKadDragObjReg> m_payload;
};

// clang-format off
BEGIN_MESSAGE_MAP(CDocumentGrid, CGridListCtrl)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDIT, &CDocumentGrid::OnEndEdit)
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()
// clang-format on

class CScenarioHost : public CUiHostServices {
public:
    explicit CScenarioHost(CCatalog* pCatalog)
        : m_pCatalog(pCatalog)
    {
    }
    CCatalog* GetMainCatalog() override { return m_pCatalog; }

private:
    CCatalog* m_pCatalog;
};

class KitScenarioTest : public UiCatalogTest {
protected:
    void SetUp() override
    {
        UiCatalogTest::SetUp();
        m_services = std::make_unique<CScenarioHost>(m_pCatalog.get());
        m_pPrevious = InstallUiHostServices(m_services.get());
        thePreferences.m_nClipboardFormat = RegisterClipboardFormat(CPreferences::CLIPBOARD_FORMAT_NAME);
        InitDragDrop();
    }
    void TearDown() override
    {
        InstallUiHostServices(m_pPrevious);
        UiCatalogTest::TearDown();
    }
    CTestDriver& Driver() { return m_pUi->m_driver; }
    CTestHostWnd& Host() { return m_pUi->m_host; }
    POINT CellCentre(int nItem, int nColumn)
    {
        RECT cell {};
        m_grid.GetCellRect(nItem, nColumn, &cell);
        return POINT { (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2 };
    }
    static HCURSOR Cursor(UINT nID) { return LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(nID)); }

    std::unique_ptr<CScenarioHost> m_services;
    CUiHostServices* m_pPrevious { nullptr };
    CDocumentGrid m_grid;
};

TEST_F(KitScenarioTest, DocumentsAreEditedDraggedAndPastedIntoAnotherNode)
{
    ASSERT_TRUE(m_grid.Create(WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, RECT { 0, 0, 300, 150 }, &Host(), ID_GRID));
    m_grid.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
    ASSERT_TRUE(m_grid.Initialize());
    m_grid.InsertColumn(COL_NAME, 20, IDS_NODE_BUTTON_EMPTY, FALSE, GRID_COLUMN_TEXT, LVCFMT_LEFT);
    m_grid.InsertColumn(COL_DATE, 90, IDS_NODE_BUTTON_EMPTY, TRUE, GRID_COLUMN_DATE, LVCFMT_LEFT);
    m_grid.InsertColumn(COL_KIND, 80, IDS_NODE_BUTTON_EMPTY, FALSE, GRID_COLUMN_PER_CELL, LVCFMT_LEFT);
    m_grid.Fill(m_pCatalog.get(), m_tree.alpha);
    ASSERT_EQ(m_grid.GetItemCount(), 3);
    m_grid.SetFocus();

    // A slow second click edits the name.
    POINT pt = CellCentre(0, COL_NAME);
    ASSERT_TRUE(Driver().Click(m_grid.m_hWnd, pt.x, pt.y));
    Driver().Advance(GetDoubleClickTime() + 1);
    ASSERT_TRUE(Driver().Click(m_grid.m_hWnd, pt.x, pt.y));
    Driver().Advance(GetDoubleClickTime());
    ASSERT_NE(dynamic_cast<CEdit*>(m_grid.GetEditor()), nullptr);
    ASSERT_TRUE(Driver().TypeText("Plan"));
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));

    // F2 edits the date through the calendar.
    ASSERT_TRUE(Driver().PressKey(VK_RIGHT));
    ASSERT_TRUE(Driver().PressKey(VK_F2));
    auto* pDate = dynamic_cast<CGridCalendarWnd*>(m_grid.GetEditor());
    ASSERT_NE(pDate, nullptr);
    SYSTEMTIME day {};
    day.wYear = 2010;
    day.wMonth = 3;
    day.wDay = 9;
    ASSERT_TRUE(Driver().PickDate(pDate->m_hWnd, day));
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));

    // A combo cell takes a choice.
    ASSERT_TRUE(Driver().PressKey(VK_RIGHT));
    ASSERT_TRUE(Driver().PressKey(VK_F2));
    ASSERT_NE(dynamic_cast<CGridComboBox*>(m_grid.GetEditor()), nullptr);
    ASSERT_TRUE(Driver().PressKey(VK_DOWN));
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));

    ASSERT_EQ(m_grid.m_texts.size(), 2u);
    EXPECT_EQ(m_grid.m_texts[0], std::make_pair(COL_NAME, std::optional<std::string>("Plan")));
    EXPECT_EQ(m_grid.m_texts[1], std::make_pair(COL_KIND, std::optional<std::string>("Mail")));
    ASSERT_EQ(m_grid.m_dates.size(), 1u);
    EXPECT_EQ(m_grid.m_dates[0], static_cast<LPARAM>(CTime(2010, 3, 9, 9, 0, 0).GetTime()));
    Driver().Pump();

    // The cut-off name of the second row shows in a data tip after the delay; a key hides it.
    Driver().Advance(GetDoubleClickTime() + 1);
    pt = CellCentre(1, COL_NAME);
    ASSERT_TRUE(Driver().Hover(m_grid.m_hWnd, pt.x, pt.y));
    Driver().Advance(CDataTipWnd::DELAY_MS);
    ASSERT_EQ(CDataTipWnd::GetShownTip(), &m_grid.m_tip);
    ASSERT_TRUE(Driver().PressKey(VK_SHIFT));
    EXPECT_EQ(CDataTipWnd::GetShownTip(), nullptr);

    // Two rows dragged over an arrow button, which repeats and takes no drop,
    // then over a drop target with Ctrl and with Shift, and dropped there.
    CBtnSeta arrow;
    ASSERT_TRUE(arrow.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 320, 10, 360, 40 }, &Host(), ID_ARROW));
    ASSERT_EQ(RegisterDropTarget(&arrow, TRUE), 1);
    CSearchListCtrl target;
    ASSERT_TRUE(
        target.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, RECT { 320, 100, 390, 200 }, &Host(), 0));
    ASSERT_EQ(RegisterDropTarget(&target, TRUE), 1);
    m_grid.SetItemState(-1, 0, LVIS_SELECTED);
    m_grid.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    m_grid.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    Host().m_commands.clear();
    ASSERT_TRUE(Driver().Press(Host().m_hWnd, 310, 5));
    POINT start { 310, 5 };
    Host().ClientToScreen(&start);
    m_grid.StartDrag(start);
    ASSERT_TRUE(Driver().MoveTo(m_grid.m_hWnd, 340, 25));
    Driver().Advance(500);
    EXPECT_EQ(Host().m_commands.size(), 3u) << "the arrow repeats under the drag";
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_NONE));
    ASSERT_TRUE(Driver().MoveTo(m_grid.m_hWnd, 350, 150));
    ASSERT_TRUE(Driver().KeyDown(VK_CONTROL));
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_COPY));
    ASSERT_TRUE(Driver().KeyUp(VK_CONTROL));
    ASSERT_TRUE(Driver().KeyDown(VK_SHIFT));
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_MOVE));
    ASSERT_TRUE(Driver().Release(m_grid.m_hWnd, 350, 150));
    ASSERT_TRUE(Driver().KeyUp(VK_SHIFT));
    Driver().Advance(500);
    EXPECT_EQ(Host().m_commands.size(), 3u) << "the arrow stopped when the drag left it";
    ASSERT_TRUE(m_grid.m_dragResult.has_value());
    EXPECT_EQ(*m_grid.m_dragResult, DROPEFFECT_MOVE);
    EXPECT_EQ(target.m_nTakenItems, 2);

    // The rows copied and pasted into another node through the clipboard.
    CKadDragObjReg copied;
    copied.SetSource(m_grid.m_pNode.get());
    copied.AddItem(m_grid.m_documents[0].get(), 0);
    copied.AddItem(m_grid.m_documents[1].get(), 1);
    ASSERT_TRUE(copied.CopyToClipboard(PAYLOAD_COPY));
    CKadDragObjReg pasted;
    const int nOperation = pasted.PasteFromClipboard();
    ASSERT_EQ(nOperation, PAYLOAD_COPY);
    auto pGamma = Node(*m_pCatalog, m_tree.gamma);
    ASSERT_GT(DropDocuments(pGamma.get(), pasted.ToPayload(nOperation), nOperation), 0);
    EXPECT_EQ(Paths(pGamma->GetDocuments()).size(), 2u);

    // A node button and a node path control show the target node.
    CNodeButton button;
    ASSERT_TRUE(
        button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 10, 200, 20, 224 }, &Host(), ID_NODE_BUTTON));
    button.SetNode(pGamma.get());
    UpdateWindow(button.m_hWnd);
    RECT grown {};
    button.GetWindowRect(&grown);
    EXPECT_GT(grown.right - grown.left, 10) << "the button grew to the path";
    CNodePathCtrl path;
    ASSERT_TRUE(path.Create(WS_CHILD | WS_VISIBLE, RECT { 10, 240, 300, 264 }, &Host(), 0));
    path.SetNode(pGamma.get());
    ASSERT_NE(path.GetNode(), nullptr);
    EXPECT_EQ(path.GetNode()->GetRef().nSlot, m_tree.gamma.nSlot);
    RegisterDropTarget(&arrow, FALSE);
    RegisterDropTarget(&target, FALSE);
}

} // namespace
