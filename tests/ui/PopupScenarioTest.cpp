// The systems popup as a user meets it in a dialog, over a real catalog: a
// hot button opens it, the cursor cascades three levels on the hover timer,
// the keyboard walks back and a leaf is chosen, which a node path shows;
// then a rename refused and made, a copy pasted into another system from the
// same menu, and documents dragged through a chain opened by the drag into a
// system three levels deep.

#include "platform/framework/AfxFrameIds.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "tests/ui/PopupTestSupport.h"
#include "tests/ui/TestDragSource.h"
#include "ui/CHotButton.h"
#include "ui/CNodePathCtrl.h"
#include "ui/CSisPopupWnd.h"
#include "ui/DropTargets.h"
#include "ui/MainWindowMessages.h"
#include "ui/PopupHitTable.h"

#include <memory>

namespace {

constexpr UINT ID_SYSTEMS_BUTTON = 1001;
constexpr UINT ID_PATH = 1002;

// The dialog: its button opens the systems popup of the root below itself
// (right clicks allowed) and its node path shows the system chosen.
class CScenarioDialog : public CWnd {
public:
    BOOL Make()
    {
        if (!CreateEx(
                0, AfxRegisterWndClass(0), "Systems", WS_POPUP | WS_VISIBLE, 300, 200, 360, 120, nullptr, nullptr))
            return FALSE;
        return m_button.Create(
                   "Systems", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 10, 10, 110, 34 }, this, ID_SYSTEMS_BUTTON)
            && m_path.Create(WS_CHILD | WS_VISIBLE, RECT { 10, 50, 350, 74 }, this, ID_PATH);
    }

    CCatalog* m_pCatalog { nullptr };
    CHotButton m_button;
    CNodePathCtrl m_path;
    std::unique_ptr<CNodeRec> m_pChosen;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) != ID_SYSTEMS_BUTTON)
            return CWnd::OnCommand(wParam, lParam);
        CSisPopupWnd popup;
        if (popup.Create(this) != 1)
            return TRUE;
        const std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog));
        popup.GetSisList().FillItems(pRoot.get(), FALSE, FALSE, FALSE);
        popup.SetRightClickAllowed(TRUE);
        RECT button {};
        m_button.GetWindowRect(&button);
        const POINT pos { button.left, button.bottom };
        m_pChosen.reset(static_cast<CNodeRec*>(popup.TrackPopup(&pos, &button, &button)));
        if (m_pChosen)
            m_path.SetNode(m_pChosen.get());
        return TRUE;
    }
};

class PopupScenarioTest : public PopupCatalogTest {
protected:
    void SetUp() override
    {
        PopupCatalogTest::SetUp();
        m_deep = AddNode(*Node(*m_pCatalog, m_tree.alpha), "Deep")->GetRef();
        m_dialog.m_pCatalog = m_pCatalog.get();
        ASSERT_TRUE(m_dialog.Make());
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
        EXPECT_EQ(GetPopupHitCount(), 0);
        PopupCatalogTest::TearDown();
    }
    static int RowOf(HWND hPopup, const char* pszText)
    {
        const std::vector<CString> rows = CTestDriver::Items(CTestDriver::PopupList(hPopup));
        auto it = std::find(rows.begin(), rows.end(), CString(pszText));
        return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
    }
    // Hovers the row of the deepest popup and waits for the child it opens.
    void HoverOpen(const char* pszRow, size_t nExpectedPopups)
    {
        HWND hPopup = CTestDriver::PopupWindows().back();
        ASSERT_TRUE(Driver().HoverPopupRow(hPopup, RowOf(hPopup, pszRow))) << pszRow;
        Driver().Advance(CPopupCtrl::HOVER_DELAY_MS);
        ASSERT_EQ(CTestDriver::PopupWindows().size(), nExpectedPopups) << pszRow;
    }
    void ClickButton() { ASSERT_TRUE(Driver().Click(m_dialog.m_button.GetSafeHwnd(), 20, 10)); }

    CRecordRef m_deep;
    CScenarioDialog m_dialog;
};

TEST_F(PopupScenarioTest, ChooseRenameCopyAndPasteThenDropThroughAChainOpenedByTheDrag)
{
    // A cascade of three levels on the hover timer, the keyboard back, a leaf chosen.
    Driver().OnNextWait([&] {
        HoverOpen("Projects", 2);
        HoverOpen("Alpha", 3);
        EXPECT_EQ(CTestDriver::Items(CTestDriver::PopupList(CTestDriver::PopupWindows()[2])),
            (std::vector<CString> { "Deep" }));
        Driver().PressKey(VK_LEFT);
        EXPECT_EQ(CTestDriver::PopupWindows().size(), 2u) << "left closes the deepest";
        Driver().PressKey(VK_DOWN);
        Driver().PressKey(VK_DOWN);
        EXPECT_EQ(CTestDriver::Items(CTestDriver::PopupList(CTestDriver::PopupWindows()[1]))[CTestDriver::Selection(
                      CTestDriver::PopupList(CTestDriver::PopupWindows()[1]))],
            "Gamma");
        Driver().PressKey(VK_RETURN);
    });
    ClickButton();
    ASSERT_NE(m_dialog.m_pChosen, nullptr);
    EXPECT_EQ(m_dialog.m_pChosen->GetRef(), m_tree.gamma);
    EXPECT_EQ(m_dialog.m_path.GetNode()->GetRef(), m_tree.gamma) << "the node path shows the choice";
    EXPECT_TRUE(CTestDriver::PopupWindows().empty());

    // A rename to a sibling's name is refused and the editor stays; the next one is written.
    Driver().OnNextWait([&] {
        HoverOpen("Projects", 2);
        HWND hChild = CTestDriver::PopupWindows()[1];
        Driver().ChooseNextMenuCommand(ID_DOC_RENAME);
        ASSERT_TRUE(Driver().ClickPopupRow(hChild, RowOf(hChild, "beta"), TRUE));
        Driver().AnswerNextMessageBox(IDOK);
        Driver().TypeText("alpha\n");
        ASSERT_TRUE(CTestDriver::Focus() != nullptr);
        EXPECT_EQ(CTestDriver::Text(CTestDriver::Focus()), "alpha") << "editing again";
        SendMessage(CTestDriver::Focus(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        Driver().TypeText("Beta Two\n");
    });
    ClickButton();
    EXPECT_EQ(m_dialog.m_pChosen, nullptr);
    EXPECT_EQ(Node(*m_pCatalog, m_tree.beta)->GetName(), "Beta Two");

    // Copy a system, paste it into another from the same menu.
    Driver().OnNextWait([&] {
        HWND hRoot = CTestDriver::PopupWindows()[0];
        Driver().ChooseNextMenuCommand(ID_EDIT_COPY);
        Driver().ClickPopupRow(hRoot, RowOf(hRoot, "Archive"), TRUE);
    });
    ClickButton();
    Driver().OnNextWait([&] {
        HoverOpen("Projects", 2);
        HWND hChild = CTestDriver::PopupWindows()[1];
        Driver().ChooseNextMenuCommand(ID_EDIT_PASTE);
        Driver().ClickPopupRow(hChild, RowOf(hChild, "Gamma"), TRUE);
    });
    ClickButton();
    EXPECT_EQ(Names(Node(*m_pCatalog, m_tree.gamma)->GetChildren()), (std::vector<std::string> { "Archive" }));
    EXPECT_EQ(Names(Root(*m_pCatalog)->GetChildren()).size(), 2u) << "a copy: the original stays";

    // Documents dragged through a chain the drag opens, dropped three levels deep.
    InitDragDrop();
    CTestDragSource source;
    ASSERT_TRUE(source.Make(&m_pUi->m_host, RECT { 0, 0, 60, 60 }));
    auto pArchive = Node(*m_pCatalog, m_tree.archive);
    auto pOld = Document(*m_pCatalog, m_tree.oldTxt);
    source.m_payload.SetSource(pArchive.get());
    source.m_payload.AddItem(pOld.get(), 0);
    CSisPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_dialog), 1);
    popup.GetSisList().FillItems(Root(*m_pCatalog).get(), FALSE, FALSE, FALSE);
    const POINT pos { 150, 40 };
    popup.FitOnScreen(&pos, nullptr);
    popup.GetSisList().OpenForDrag(nullptr);
    ASSERT_TRUE(Driver().Press(source.GetSafeHwnd(), 30, 30));
    const auto dragOver = [&](const char* pszRow, size_t nExpectedPopups) {
        HWND hPopup = CTestDriver::PopupWindows().back();
        RECT row {};
        HWND hList = CTestDriver::PopupList(hPopup);
        SendMessage(hList, LB_GETITEMRECT, static_cast<WPARAM>(RowOf(hPopup, pszRow)), reinterpret_cast<LPARAM>(&row));
        ASSERT_TRUE(Driver().MoveTo(hList, (row.left + row.right) / 2, (row.top + row.bottom) / 2)) << pszRow;
        Driver().Advance(CPopupCtrl::HOVER_DELAY_MS);
        ASSERT_EQ(CTestDriver::PopupWindows().size(), nExpectedPopups) << pszRow;
    };
    dragOver("Projects", 2);
    dragOver("Alpha", 3);
    HWND hDeepest = CTestDriver::PopupWindows()[2];
    RECT row {};
    SendMessage(CTestDriver::PopupList(hDeepest), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    ASSERT_TRUE(Driver().MoveTo(CTestDriver::PopupList(hDeepest), row.left + 10, row.top + 3));
    ASSERT_TRUE(Driver().Release(CTestDriver::PopupList(hDeepest), row.left + 10, row.top + 3));
    Driver().Advance(CPopupCtrl::POLL_MS + CPopupCtrl::SOON_MS * 2);
    EXPECT_EQ(Paths(Node(*m_pCatalog, m_deep)->GetDocuments()), (std::vector<std::string> { "c:\\old\\old.txt" }));
    EXPECT_TRUE(CTestDriver::PopupWindows().empty()) << "the chain closed when the drag ended";
}

} // namespace
