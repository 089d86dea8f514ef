#include "ui/CGroupPopupWnd.h"

#include "platform/framework/CDC.h"
#include "platform/gdi/Text.h"
#include "tests/platform/gdi/GdiTestCanvas.h"
#include "tests/ui/UiCatalogTest.h"
#include "ui/NodePath.h"
#include "ui/PopupHitTable.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr COLORREF ROW = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF LINE = RGB(0xC8, 0xC8, 0xC8);

int CountDiffering(const CTestCanvas& a, const CTestCanvas& b)
{
    int nDiffering = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            nDiffering += a.At(x, y) != b.At(x, y);
    return nDiffering;
}

class GroupPopupTest : public UiCatalogTest {
protected:
    void SetUp() override
    {
        UiCatalogTest::SetUp();
        ASSERT_EQ(m_popup.Create(&m_pUi->m_host), 1);
    }
    void TearDown() override
    {
        if (m_popup.GetSafeHwnd())
            m_popup.DestroyWindow();
        EXPECT_EQ(GetPopupHitCount(), 0);
        UiCatalogTest::TearDown();
    }
    CGroupPopupCtrl& List() { return m_popup.GetGroupList(); }
    std::vector<CString> Texts() { return CTestDriver::Items(List().GetSafeHwnd()); }
    // A document linked under twelve systems g00..g11 below Projects.
    std::unique_ptr<CDocumentRec> DocumentOfTwelveGroups()
    {
        auto pProjects = Node(*m_pCatalog, m_tree.projects);
        std::unique_ptr<CDocumentRec> pDocument;
        for (int i = 0; i < 12; ++i) {
            const std::string strName = (i < 10 ? "g0" : "g") + std::to_string(i);
            auto pGroup = AddNode(*pProjects, strName.c_str());
            pDocument = AddDocument(*m_pCatalog, pGroup.get(), "c:\\many\\doc.txt");
        }
        return pDocument;
    }
    // Draws row nIndex into a canvas of the row's size, as the list draws it.
    void DrawRow(CTestCanvas& canvas, int nIndex, UINT nState = 0)
    {
        DRAWITEMSTRUCT dis { ODT_LISTBOX, CPopupWnd::ID_LIST, static_cast<UINT>(nIndex), ODA_DRAWENTIRE, nState,
            List().GetSafeHwnd(), canvas.Dc(), RECT { 0, 0, canvas.Width(), canvas.Height() }, 0 };
        List().DrawItem(&dis);
    }

    CGroupPopupWnd m_popup;
};

TEST_F(GroupPopupTest, RowsStandInTextOrderAndEachKeepsItsOwnGroup)
{
    auto pDocument = DocumentOfTwelveGroups();
    ASSERT_TRUE(pDocument);
    const CNodeRecArray linked = pDocument->GetLinkedNodes();
    ASSERT_EQ(linked.size(), 12u);
    List().FillGroups(pDocument.get());
    EXPECT_EQ(Texts(), (std::vector<CString> { "0", "1", "10", "11", "2", "3", "4", "5", "6", "7", "8", "9" }));
    for (int i = 0; i < List().GetCount(); ++i) {
        CString strText;
        List().GetText(i, strText);
        const size_t nPosition = std::strtoul(strText, nullptr, 10);
        EXPECT_EQ(List().GetItemValue(i), nPosition);
        ASSERT_NE(List().GetGroup(i), nullptr);
        EXPECT_EQ(List().GetGroup(i)->GetName(), linked[nPosition]->GetName()) << "row " << i;
        EXPECT_TRUE(List().IsItemEnabled(i));
        EXPECT_FALSE(List().ItemHasChild(i));
    }
    EXPECT_EQ(List().GetGroup(12), nullptr);

    List().FillGroups(Document(*m_pCatalog, m_tree.oldTxt).get());
    EXPECT_EQ(Texts(), (std::vector<CString> { "0" })) << "refilling replaces the rows";
    EXPECT_EQ(List().GetGroup(0)->GetName(), "Archive");
}

TEST_F(GroupPopupTest, ADocumentOfNoGroupGivesAnEmptyPopup)
{
    std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindOrAddPath(nullptr, "c:\\loose\\none.txt", FALSE));
    ASSERT_TRUE(pDocument);
    List().FillGroups(pDocument.get());
    EXPECT_EQ(List().GetCount(), 0);
    EXPECT_EQ(List().GetPopupWidth(), 0);
    List().FillGroups(nullptr);
    EXPECT_EQ(List().GetCount(), 0);
}

TEST_F(GroupPopupTest, WidthSumsThePaddedNamesOfThePathAndIsCapped)
{
    auto pDocument = Document(*m_pCatalog, m_tree.oldTxt); // under Archive only
    List().FillGroups(pDocument.get());
    ASSERT_EQ(List().GetCount(), 1);
    int nPath = 0;
    {
        CClientDC dc(&List());
        CFont* pOld = dc.SelectObject(List().GetFont());
        for (const auto& pAncestor : List().GetGroup(0)->GetAncestors())
            nPath += dc.GetTextExtent(pAncestor->GetName()).cx + CGroupPopupCtrl::NAME_PAD;
        nPath += dc.GetTextExtent(CString("Archive")).cx + CGroupPopupCtrl::NAME_PAD;
        dc.SelectObject(pOld);
    }
    EXPECT_EQ(List().GetPopupWidth(), nPath + CGroupPopupCtrl::ROW_PAD);
    RECT rect {};
    List().GetItemRect(0, &rect);
    EXPECT_EQ(rect.bottom - rect.top, CGroupPopupCtrl::ROW_HEIGHT);

    // A system so deep that its path is wider than half the work area.
    std::unique_ptr<CNodeRec> pDeep = Root(*m_pCatalog);
    for (int i = 0; i < 20; ++i)
        pDeep = AddNode(*pDeep, std::string(20, static_cast<char>('A' + i)).c_str());
    auto pWideDocument = AddDocument(*m_pCatalog, pDeep.get(), "c:\\wide\\w.txt");
    List().FillGroups(pWideDocument.get());
    EXPECT_EQ(List().GetPopupWidth(), List().GetWidthCap() + CGroupPopupCtrl::ROW_PAD);
    EXPECT_GT(List().GetWidthCap(), 0);
}

TEST_F(GroupPopupTest, ARowIsDrawnAsItsGroupsPathOverTheRowColour)
{
    auto pDocument = Document(*m_pCatalog, m_tree.readme); // under Alpha and Archive
    List().FillGroups(pDocument.get());
    ASSERT_EQ(List().GetCount(), 2);
    constexpr int W = 300;
    for (int i = 0; i < 2; ++i) {
        for (UINT nState : { 0u, static_cast<UINT>(ODS_SELECTED) }) {
            CTestCanvas drawn(W, CGroupPopupCtrl::ROW_HEIGHT);
            DrawRow(drawn, i, nState);
            CTestCanvas expected(W, CGroupPopupCtrl::ROW_HEIGHT);
            {
                CDC* pDC = CDC::FromHandle(expected.Dc());
                RECT row { 0, 0, W, CGroupPopupCtrl::ROW_HEIGHT };
                pDC->FillSolidRect(&row, ROW);
                pDC->FillSolidRect(0, CGroupPopupCtrl::ROW_HEIGHT - 1, W, 1, LINE);
                pDC->SetBkMode(TRANSPARENT);
                pDC->SetTextColor(RGB(0, 0, 0));
                CFont* pOld = pDC->SelectObject(List().GetFont());
                DrawNodePath(List().GetGroup(i), expected.Dc(), &row);
                pDC->SelectObject(pOld);
            }
            EXPECT_EQ(CountDiffering(drawn, expected), 0)
                << "row " << i << " state " << nState << ": the same look selected or not";
            EXPECT_EQ(drawn.At(W - 1, 2), ROW);
            EXPECT_EQ(drawn.At(W - 1, CGroupPopupCtrl::ROW_HEIGHT - 1), LINE);
        }
    }
    CTestCanvas first(W, CGroupPopupCtrl::ROW_HEIGHT);
    CTestCanvas second(W, CGroupPopupCtrl::ROW_HEIGHT);
    DrawRow(first, 0);
    DrawRow(second, 1);
    EXPECT_GT(CountDiffering(first, second), 0) << "two groups, two pictures";

    List().SetItemEnabled(0, FALSE);
    CTestCanvas disabled(W, CGroupPopupCtrl::ROW_HEIGHT);
    DrawRow(disabled, 0);
    EXPECT_GT(CountDiffering(first, disabled), 0) << "a disabled row is embossed";
}

TEST_F(GroupPopupTest, ChoosingARowLeavesThePopupOpenUntilEscape)
{
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    List().FillGroups(pDocument.get());
    const POINT pos { 200, 100 };
    const RECT button { 140, 80, 200, 100 };
    m_popup.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    m_popup.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    m_popup.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(m_popup.TrackPopup(&pos, &button, &button), nullptr);
    EXPECT_TRUE(m_popup.IsClosed());
    EXPECT_FALSE(IsWindow(m_popup.GetSafeHwnd()));

    ASSERT_EQ(m_popup.Create(&m_pUi->m_host), 1);
    List().FillGroups(pDocument.get());
    const POINT at { 200, 100 };
    m_popup.FitOnScreen(&at, nullptr);
    List().Open(CPopupCtrl::MODE_KEYBOARD, nullptr);
    List().SelectItem(0);
    EXPECT_EQ(List().ChooseHotItem(), nullptr);
    EXPECT_TRUE(IsWindow(m_popup.GetSafeHwnd())) << "a chosen row keeps the popup open";
    EXPECT_EQ(List().GetCurSel(), 0);
}

} // namespace
