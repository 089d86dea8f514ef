#include "frame/CSisTreeCtrl.h"

#include "tests/frame/AppTestFixture.h"

#include "catalog/ShellItemIds.h"
#include "frame/AppMessages.h"
#include "frame/CSisTreeView.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/ResString.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CKadDragObjReg.h"

#include "platform/base/DriveTable.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CEdit.h"
#include "platform/gdi/ImageLists.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// Letters { Bank { 2019, 2020 }, Home }, Photos { Sea }, Work; a document in Bank.
class SisTreeTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        WriteCatalog([](CCatalog& catalog, CNodeRec& root) {
            auto pLetters = AddSystem(root, "Letters");
            auto pBank = AddSystem(*pLetters, "Bank");
            AddSystem(*pBank, "2020");
            AddSystem(*pBank, "2019");
            AddSystem(*pLetters, "Home");
            AddDocument(catalog, *pBank, "C:\\docs\\statement.txt");
            auto pPhotos = AddSystem(root, "Photos");
            AddSystem(*pPhotos, "Sea");
            AddSystem(root, "Work");
        });
        ASSERT_TRUE(Start());
        m_pView = ActiveView();
        ASSERT_NE(m_pView, nullptr);
        m_pTree = m_pView->GetTreeCtrl();
        ASSERT_NE(m_pTree, nullptr);
    }

    HWND Tree() const { return m_pTree->GetSafeHwnd(); }
    HTREEITEM Item(const std::vector<CString>& path) const { return CTestDriver::TreeItem(Tree(), path); }
    std::vector<CString> Children(const std::vector<CString>& path) const
    {
        return CTestDriver::TreeChildren(Tree(), path.empty() ? nullptr : Item(path));
    }
    // A cursor on the catalog's node at the path of names.
    std::unique_ptr<CNodeRec> Node(const std::vector<CString>& path)
    {
        std::unique_ptr<CNodeRec> pNode(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
        for (const CString& strName : path) {
            if (!pNode)
                return nullptr;
            pNode.reset(pNode->FindChildByName(strName));
        }
        return pNode;
    }
    CString SelectedText() const { return m_pTree->GetItemText(m_pTree->GetSelectedItem()); }
    // Renames the item through its label editor.
    void Rename(HTREEITEM hItem, const char* pszText)
    {
        CEdit* pEdit = m_pTree->EditLabel(hItem);
        ASSERT_NE(pEdit, nullptr);
        pEdit->SetWindowText(pszText);
        m_pTree->SendMessage(TVM_ENDEDITLABELNOW, FALSE, 0);
        m_driver.Pump();
    }

    CSplitterFrame* m_pView { nullptr };
    CSisTreeCtrl* m_pTree { nullptr };
};

} // namespace

TEST_F(SisTreeTest, ChildrenLoadAtTheFirstExpansionInNameOrder)
{
    const CString strTop3 = GetResString(IDS_TOP_NODE3_NAME);
    EXPECT_EQ(Children({}), (std::vector<CString> { "Letters", "Photos", "Work", strTop3 }));
    EXPECT_EQ(Children({ "Letters" }), std::vector<CString> { "DUMMY" });
    EXPECT_EQ(CTestDriver::TreeStateImage(Tree(), Item({ "Letters" })), 2u);
    EXPECT_EQ(CTestDriver::TreeStateImage(Tree(), Item({ "Work" })), 4u);

    ASSERT_TRUE(m_driver.ClickTreeStateIcon(Tree(), Item({ "Letters" })));
    EXPECT_EQ(Children({ "Letters" }), (std::vector<CString> { "Bank", "Home" }));
    EXPECT_EQ(CTestDriver::TreeStateImage(Tree(), Item({ "Letters" })), 3u);
    // A click on the state image toggles without selecting.
    EXPECT_EQ(m_pTree->GetSelectedItem(), nullptr);
}

TEST_F(SisTreeTest, SelectingANodeLoadsItsPathAnnouncesItAtOnceAndCollapsesTheRest)
{
    auto pSea = Node({ "Photos", "Sea" });
    auto p2019 = Node({ "Letters", "Bank", "2019" });
    ASSERT_TRUE(pSea && p2019);
    ASSERT_TRUE(m_pTree->SelectNode(*pSea));
    EXPECT_TRUE(CTestDriver::IsTreeExpanded(Tree(), Item({ "Photos" })));

    ASSERT_TRUE(m_pTree->SelectNode(*p2019));
    EXPECT_EQ(SelectedText(), "2019");
    // Announced with reason 0: the frame shows the node without waiting.
    ASSERT_NE(m_pView->GetCurrentNode(), nullptr);
    EXPECT_EQ(m_pView->GetCurrentNode()->GetRef(), p2019->GetRef());
    // Only the path to the selection stays open.
    EXPECT_TRUE(CTestDriver::IsTreeExpanded(Tree(), Item({ "Letters", "Bank" })));
    EXPECT_FALSE(CTestDriver::IsTreeExpanded(Tree(), Item({ "Photos" })));
    // A node the tree does not hold selects nothing.
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    EXPECT_FALSE(m_pTree->SelectNode(*pRoot));
    EXPECT_EQ(SelectedText(), "2019");
}

TEST_F(SisTreeTest, HistoryGoesBackAndForwardAndForgetsDeletedItems)
{
    for (const char* pszName : { "Letters", "Photos", "Photos", "Work" })
        ASSERT_TRUE(m_driver.ClickTreeItem(Tree(), Item({ pszName })));
    m_driver.Pump();
    EXPECT_EQ(m_pTree->GetHistory().GetCount(), 3); // the same item twice is one entry

    Command(ID_VIEW_BACK);
    EXPECT_EQ(SelectedText(), "Photos");
    Command(ID_VIEW_BACK);
    EXPECT_EQ(SelectedText(), "Letters");
    EXPECT_FALSE(m_pTree->GetHistory().CanGoBack());
    Command(ID_VIEW_FORWARD);
    EXPECT_EQ(SelectedText(), "Photos");

    // Photos goes from the catalog: the rebuild drops its item and its entries.
    auto pPhotos = Node({ "Photos" });
    ASSERT_TRUE(pPhotos->DeleteSubtree(TRUE));
    MainFrame()->SendMessage(g_nMsgRedo, 0, 0);
    m_driver.Pump();
    EXPECT_EQ(Item({ "Photos" }), nullptr);
    CSisNavHistory& history = m_pTree->GetHistory();
    EXPECT_EQ(history.GetCount(), 2);
    while (history.Back()) { }
    for (HTREEITEM hItem = history.GetCurrent(); hItem; hItem = history.Forward())
        EXPECT_NE(m_pTree->GetItemText(hItem), "Photos");
}

TEST_F(SisTreeTest, RenamingChecksSiblingsAndCaseAndWritesTheTrimmedName)
{
    ASSERT_TRUE(m_driver.ClickTreeItem(Tree(), Item({ "Work" })));
    Rename(Item({ "Work" }), "Photos");
    EXPECT_EQ(m_prompts.m_messages, std::vector<UINT> { IDS_NAME_TAKEN });
    EXPECT_NE(Node({ "Work" }), nullptr);
    EXPECT_EQ(Node({ "Photos" })->GetRef(), m_pTree->GetItemNode(Item({ "Photos" }))->GetRef());
    m_pTree->SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0); // the editor came back: leave it

    Rename(Item({ "Work" }), "WORK");
    EXPECT_NE(Node({ "Work" }), nullptr);

    Rename(Item({ "Work" }), "  Projects ");
    EXPECT_EQ(Node({ "Work" }), nullptr);
    EXPECT_NE(Node({ "Projects" }), nullptr);
    EXPECT_NE(Item({ "Projects" }), nullptr);

    // The fixed top node takes no new name.
    EXPECT_EQ(m_pTree->EditLabel(Item({ GetResString(IDS_TOP_NODE3_NAME) })), nullptr);
}

TEST_F(SisTreeTest, ARebuildKeepsWhatIsOpenAndShowsNewRenamedAndEmptiedSystems)
{
    auto p2019 = Node({ "Letters", "Bank", "2019" });
    ASSERT_TRUE(m_pTree->SelectNode(*p2019));
    {
        auto pBank = Node({ "Letters", "Bank" });
        AddSystem(*pBank, "2021");
        auto pSea = Node({ "Photos", "Sea" });
        ASSERT_TRUE(pSea->DeleteSubtree(TRUE));
        auto pHome = Node({ "Letters", "Home" });
        CNodeInfo info {};
        pHome->GetInfo(&info);
        strcpy(info.szName, "Archive");
        ASSERT_TRUE(pHome->UpdateInfo(info));
    }
    MainFrame()->SendMessage(g_nMsgRedo, 0, 0);
    m_driver.Pump();
    EXPECT_EQ(Children({ "Letters", "Bank" }), (std::vector<CString> { "2019", "2020", "2021" }));
    EXPECT_EQ(Children({ "Letters" }), (std::vector<CString> { "Archive", "Bank" }));
    EXPECT_TRUE(CTestDriver::IsTreeExpanded(Tree(), Item({ "Letters", "Bank" })));
    EXPECT_EQ(SelectedText(), "2019");
    EXPECT_EQ(CTestDriver::TreeStateImage(Tree(), Item({ "Photos" })), 4u);
    EXPECT_TRUE(Children({ "Photos" }).empty());
}

TEST_F(SisTreeTest, TheFixedTopNodesKeepTheirOrderAndRefuseTheSystemCommands)
{
    const CString strTop3 = GetResString(IDS_TOP_NODE3_NAME);
    const CString strTop4 = GetResString(IDS_TOP_NODE4_NAME);
    Command(ID_VIEW_TOP_NODE4);
    EXPECT_EQ(SelectedText(), strTop4);
    Command(ID_VIEW_TOP_NODE3);
    EXPECT_EQ(Children({}), (std::vector<CString> { "Letters", "Photos", "Work", strTop4 }));
    Command(ID_VIEW_TOP_NODE3);
    EXPECT_EQ(Children({}), (std::vector<CString> { "Letters", "Photos", "Work", strTop3, strTop4 }));
    EXPECT_EQ(SelectedText(), strTop3);
    EXPECT_FALSE(m_pTree->IsContextNodeEditable());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    m_pTree->CopyToClipboard(1);
    EXPECT_FALSE(CKadDragObjReg::HasClipboardPayload(FALSE));

    // A new system still comes before them after a rebuild.
    AddSystem(*Node({}), "Accounts");
    MainFrame()->SendMessage(g_nMsgRedo, 0, 0);
    EXPECT_EQ(Children({}), (std::vector<CString> { "Accounts", "Letters", "Photos", "Work", strTop3, strTop4 }));
}

TEST_F(SisTreeTest, DropsMoveDocumentsAndSystemsButNeverASystemIntoAFixedTopNode)
{
    auto pBank = Node({ "Letters", "Bank" });
    auto pWork = Node({ "Work" });
    CDocumentRecArray documents = pBank->GetDocuments();
    ASSERT_EQ(documents.size(), 1u);

    CKadDragObjReg systems;
    systems.SetSource(pBank.get());
    auto p2019 = Node({ "Letters", "Bank", "2019" });
    systems.AddItem(p2019.get(), 0);
    CKadDragObjReg docs;
    docs.SetSource(pBank.get());
    docs.AddItem(documents[0].get(), 0);

    CRect rcWork;
    ASSERT_TRUE(m_pTree->GetItemRect(Item({ "Work" }), &rcWork, TRUE));
    CRect rcTop3;
    ASSERT_TRUE(m_pTree->GetItemRect(Item({ GetResString(IDS_TOP_NODE3_NAME) }), &rcTop3, TRUE));
    CRect rcClient;
    m_pTree->GetClientRect(&rcClient);

    // Systems over empty space go to the top level: moved, or copied with Ctrl.
    EXPECT_EQ(m_pTree->DropOver(&systems, 0, 5, rcClient.bottom - 2), DROPEFFECT_MOVE);
    EXPECT_EQ(m_pTree->DropOver(&systems, MK_CONTROL, 5, rcClient.bottom - 2), DROPEFFECT_COPY);
    // A fixed top node takes documents only; a document list is moved there whatever the keys.
    EXPECT_EQ(m_pTree->DropOver(&systems, 0, rcTop3.left + 2, rcTop3.top + 2), DROPEFFECT_NONE);
    EXPECT_EQ(m_pTree->DropOver(&docs, MK_CONTROL, rcTop3.left + 2, rcTop3.top + 2), DROPEFFECT_MOVE);
    // Documents over empty space have no target.
    EXPECT_EQ(m_pTree->DropOver(&docs, 0, 5, rcClient.bottom - 2), DROPEFFECT_NONE);

    EXPECT_EQ(m_pTree->DropOver(&docs, 0, rcWork.left + 2, rcWork.top + 2), DROPEFFECT_MOVE);
    EXPECT_TRUE(m_pTree->GetItemState(Item({ "Work" }), TVIS_DROPHILITED));
    EXPECT_TRUE(m_pTree->DropTake(&docs, DROPEFFECT_MOVE));
    EXPECT_FALSE(m_pTree->GetItemState(Item({ "Work" }), TVIS_DROPHILITED));
    EXPECT_EQ(pWork->CountDocuments(), 1);
    EXPECT_EQ(pBank->CountDocuments(), 0);
}

TEST_F(SisTreeTest, TheViewKeepsTheSelectedPathIconSizeAndTopNode)
{
    auto p2020 = Node({ "Letters", "Bank", "2020" });
    ASSERT_TRUE(m_pTree->SelectNode(*p2020));
    Command(ID_VIEW_TREE_LARGE);
    Command(ID_VIEW_TOP_NODE3);
    Command(ID_APP_EXIT_PROGRAM);
    Stop();

    ASSERT_TRUE(Start());
    CSisTreeCtrl* pTree = ActiveView()->GetTreeCtrl();
    EXPECT_FALSE(pTree->IsSmallIcons());
    EXPECT_FALSE(pTree->IsTopNode3Shown());
    ASSERT_NE(pTree->GetSelectedItem(), nullptr);
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "2020");
    m_driver.Advance(CSplitterFrame::CLICK_DELAY);
    ASSERT_NE(ActiveView()->GetCurrentNode(), nullptr);
    EXPECT_EQ(ActiveView()->GetCurrentNode()->GetRef(), p2020->GetRef());
}

TEST_F(SisTreeTest, TheSystemsLeftOpenAreOpenAgainAtTheNextStart)
{
    // The user selects Bank, then opens it and Photos with their buttons.
    ASSERT_TRUE(m_pTree->SelectNode(*Node({ "Letters", "Bank" })));
    ASSERT_TRUE(m_driver.ClickTreeStateIcon(Tree(), Item({ "Letters", "Bank" })));
    ASSERT_TRUE(m_driver.ClickTreeStateIcon(Tree(), Item({ "Photos" })));
    Command(ID_APP_EXIT_PROGRAM);
    Stop();

    ASSERT_TRUE(Start());
    m_pTree = ActiveView()->GetTreeCtrl();
    EXPECT_EQ(SelectedText(), "Bank");
    for (const std::vector<CString>& path : { std::vector<CString> { "Letters" }, { "Letters", "Bank" }, { "Photos" } })
        EXPECT_TRUE(CTestDriver::IsTreeExpanded(Tree(), Item(path))) << path.back();
    EXPECT_EQ(CTestDriver::TreeStateImage(Tree(), Item({ "Photos" })), 3u);
    EXPECT_FALSE(CTestDriver::IsTreeExpanded(Tree(), Item({ "Letters", "Home" })));

    // A system closed again stays closed.
    ASSERT_TRUE(m_driver.ClickTreeStateIcon(Tree(), Item({ "Photos" })));
    Command(ID_APP_EXIT_PROGRAM);
    Stop();
    ASSERT_TRUE(Start());
    m_pTree = ActiveView()->GetTreeCtrl();
    EXPECT_TRUE(CTestDriver::IsTreeExpanded(Tree(), Item({ "Letters", "Bank" })));
    EXPECT_FALSE(CTestDriver::IsTreeExpanded(Tree(), Item({ "Photos" })));
}

TEST_F(SisTreeTest, TheIconSizeLoadsPicturesOnlyWhenItChanges)
{
    auto Images = [this](int nType) {
        return reinterpret_cast<HIMAGELIST>(m_pTree->SendMessage(TVM_GETIMAGELIST, static_cast<WPARAM>(nType), 0));
    };
    const HIMAGELIST hSmall = Images(TVSIL_NORMAL);
    ASSERT_NE(hSmall, nullptr);
    m_pTree->SetIconSize(TRUE);
    EXPECT_EQ(Images(TVSIL_NORMAL), hSmall);
    m_pTree->SetIconSize(FALSE);
    EXPECT_FALSE(m_pTree->IsSmallIcons());
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(Images(TVSIL_NORMAL), &cx, &cy));
    EXPECT_EQ(cx, 32);
    m_pTree->SetIconSize(TRUE);
    ASSERT_TRUE(ImageList_GetIconSize(Images(TVSIL_NORMAL), &cx, &cy));
    EXPECT_EQ(cx, 18);
    EXPECT_NE(Images(TVSIL_STATE), nullptr);
}

TEST_F(SisTreeTest, AKeptPathThatLostItsSystemSelectsAsFarAsItLeads)
{
    auto p2020 = Node({ "Letters", "Bank", "2020" });
    ASSERT_TRUE(m_pTree->SelectNode(*p2020));
    Command(ID_APP_EXIT_PROGRAM);
    Stop();
    {
        CCatalog catalog(ProgramPath("archiv.cat"), 1);
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
        std::unique_ptr<CNodeRec> pLetters(pRoot->FindChildByName("Letters"));
        std::unique_ptr<CNodeRec> pBank(pLetters->FindChildByName("Bank"));
        ASSERT_TRUE(pBank->DeleteSubtree(TRUE));
    }
    ASSERT_TRUE(Start());
    CSisTreeCtrl* pTree = ActiveView()->GetTreeCtrl();
    ASSERT_NE(pTree->GetSelectedItem(), nullptr);
    EXPECT_EQ(pTree->GetItemText(pTree->GetSelectedItem()), "Letters");
    EXPECT_TRUE(pTree->IsSmallIcons());
    EXPECT_TRUE(pTree->IsTopNode3Shown());
}

TEST_F(SisTreeTest, TheArrowsAreEnabledOnlyWhereTheTreeCanScroll)
{
    App().OnIdle(0);
    CSisTreeView* pView = m_pView->GetTreeView();
    for (UINT nID = CSisTreeView::ID_TOP_LEFT; nID <= CSisTreeView::ID_BOTTOM_RIGHT; ++nID)
        EXPECT_FALSE(pView->GetDlgItem(static_cast<int>(nID))->IsWindowEnabled()) << nID;
    // Open every branch in a short pane: the tree now scrolls down.
    for (const char* pszName : { "Letters", "Photos" })
        m_pTree->ExpandItem(Item({ pszName }), TVE_EXPAND);
    m_pTree->ExpandItem(Item({ "Letters", "Bank" }), TVE_EXPAND);
    CRect rc;
    pView->GetClientRect(&rc);
    pView->MoveWindow(0, 0, rc.Width(), 3 * GetSystemMetrics(SM_CYHSCROLL) + 40);
    App().OnIdle(0);
    EXPECT_TRUE(pView->GetDlgItem(CSisTreeView::ID_DOWN)->IsWindowEnabled());
    EXPECT_FALSE(pView->GetDlgItem(CSisTreeView::ID_UP)->IsWindowEnabled());
    pView->SendMessage(WM_COMMAND, CSisTreeView::ID_DOWN, 0);
    App().OnIdle(0);
    EXPECT_TRUE(pView->GetDlgItem(CSisTreeView::ID_UP)->IsWindowEnabled());
}

namespace {

// The middle of an item's label, in the tree's client coordinates.
CPoint LabelPoint(CSisTreeCtrl& tree, HTREEITEM hItem)
{
    CRect rc;
    EXPECT_TRUE(tree.GetItemRect(hItem, &rc, TRUE));
    return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

} // namespace

TEST_F(SisTreeTest, RestingOnASystemOpensItsSubsystemsAndThePickedOneIsSelected)
{
    const CPoint ptLetters = LabelPoint(*m_pTree, Item({ "Letters" }));
    std::vector<CString> rows;
    m_driver.OnNextWait([&] {
        const std::vector<HWND> popups = CTestDriver::PopupWindows();
        ASSERT_EQ(popups.size(), 1u);
        rows = CTestDriver::Items(CTestDriver::PopupList(popups[0]));
        CRect rcPopup;
        ::GetWindowRect(popups[0], &rcPopup);
        CRect rcLabel;
        m_pTree->GetItemRect(Item({ "Letters" }), &rcLabel, TRUE);
        m_pTree->ClientToScreen(&rcLabel);
        EXPECT_EQ(rcPopup.left, rcLabel.left + 1);
        EXPECT_EQ(rcPopup.top, rcLabel.bottom - 3) << "just below the label";
        ASSERT_TRUE(m_driver.ClickPopupRow(popups[0], 0)); // Bank
    });
    ASSERT_TRUE(m_driver.Hover(Tree(), ptLetters.x, ptLetters.y));
    m_driver.Advance(CSisTreeCtrl::POPUP_DELAY_MS + 50);
    m_driver.Pump();
    EXPECT_EQ(rows, (std::vector<CString> { "Bank", "Home" }));
    EXPECT_TRUE(CTestDriver::PopupWindows().empty());
    EXPECT_EQ(SelectedText(), "Bank") << "the picked system's path is loaded and it is selected";
    EXPECT_TRUE(CTestDriver::IsTreeExpanded(Tree(), Item({ "Letters" })));
}

TEST_F(SisTreeTest, NoPopupForASystemWithoutSubsystemsAMovedCursorOrAnOpenEditor)
{
    const CPoint ptWork = LabelPoint(*m_pTree, Item({ "Work" }));
    ASSERT_TRUE(m_driver.Hover(Tree(), ptWork.x, ptWork.y));
    m_driver.Advance(CSisTreeCtrl::POPUP_DELAY_MS + 50);
    EXPECT_TRUE(CTestDriver::PopupWindows().empty());

    // The cursor moved on before the delay: the next item's delay starts again.
    const CPoint ptPhotos = LabelPoint(*m_pTree, Item({ "Photos" }));
    const CPoint ptLetters = LabelPoint(*m_pTree, Item({ "Letters" }));
    ASSERT_TRUE(m_driver.Hover(Tree(), ptPhotos.x, ptPhotos.y));
    m_driver.Advance(CSisTreeCtrl::POPUP_DELAY_MS - 100);
    ASSERT_TRUE(m_driver.Hover(Tree(), ptWork.x, ptWork.y));
    m_driver.Advance(CSisTreeCtrl::POPUP_DELAY_MS + 50);
    EXPECT_TRUE(CTestDriver::PopupWindows().empty());

    // Typing a new name is not interrupted.
    ASSERT_TRUE(m_driver.ClickTreeItem(Tree(), Item({ "Work" })));
    ASSERT_NE(m_pTree->EditLabel(Item({ "Work" })), nullptr);
    ASSERT_TRUE(m_driver.Hover(Tree(), ptLetters.x, ptLetters.y));
    m_driver.Advance(CSisTreeCtrl::POPUP_DELAY_MS + 50);
    EXPECT_TRUE(CTestDriver::PopupWindows().empty());
    m_pTree->SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
}

TEST_F(SisTreeTest, ADragRestingOnASystemOpensItsSubsystemsForTheDrag)
{
    auto pBank = Node({ "Letters", "Bank" });
    CDocumentRecArray documents = pBank->GetDocuments();
    ASSERT_EQ(documents.size(), 1u);
    CKadDragObjReg docs;
    docs.SetSource(pBank.get());
    docs.AddItem(documents[0].get(), 0);

    const CPoint ptLetters = LabelPoint(*m_pTree, Item({ "Letters" }));
    EXPECT_EQ(m_pTree->DropOver(&docs, 0, ptLetters.x, ptLetters.y), DROPEFFECT_MOVE);
    m_driver.Advance(CSisTreeCtrl::POPUP_DELAY_MS - 100);
    EXPECT_TRUE(CTestDriver::PopupWindows().empty());
    m_driver.Advance(150);
    ASSERT_EQ(CTestDriver::PopupWindows().size(), 1u);
    EXPECT_EQ(CTestDriver::Items(CTestDriver::PopupList(CTestDriver::PopupWindows()[0])),
        (std::vector<CString> { "Bank", "Home" }));
    EXPECT_EQ(GetCapture(), nullptr) << "a drag popup runs without the modal loop";

    // Resting on a system without subsystems closes the open drag popup.
    const CPoint ptWork = LabelPoint(*m_pTree, Item({ "Work" }));
    m_pTree->DropOver(&docs, 0, ptWork.x, ptWork.y);
    m_driver.Advance(CSisTreeCtrl::POPUP_DELAY_MS + 50);
    EXPECT_TRUE(CTestDriver::PopupWindows().empty());
    m_pTree->DropLeave();
}

TEST_F(SisTreeTest, AFolderDroppedFromARemovableDriveIsCopiedIntoTheBackupFolderFirst)
{
    namespace fs = std::filesystem;
    fs::create_directories(Home() / "stick" / "photos");
    std::ofstream(Home() / "stick" / "photos" / "sea.txt") << "sea";
    fs::create_directories(Home() / "d" / "backup");
    // A stick on E:, a fixed drive D: for the copies; both letters go with the test.
    struct CLettersGone {
        ~CLettersGone()
        {
            SetDriveOverride('E', nullptr, 0);
            SetDriveOverride('D', nullptr, 0);
        }
    } lettersGone;
    ASSERT_TRUE(SetDriveOverride('E', (Home() / "stick").c_str(), DRIVE_REMOVABLE));
    ASSERT_TRUE(SetDriveOverride('D', (Home() / "d").c_str(), DRIVE_FIXED));
    LPITEMIDLIST pidlAbsolute = nullptr;
    ASSERT_TRUE(SUCCEEDED(PathToPIDL("E:\\photos", &pidlAbsolute, nullptr)));
    IShellFolder* pParent = nullptr;
    LPITEMIDLIST pidlItem = nullptr;
    const HRESULT hr = BindParentFolder(pidlAbsolute, IID_IShellFolder, reinterpret_cast<void**>(&pParent), &pidlItem);
    CoTaskMemFree(pidlAbsolute);
    ASSERT_TRUE(SUCCEEDED(hr));
    CKadDragObjPIDL folder(pParent, "");
    pParent->Release();
    folder.AddItem(pidlItem, 0);
    CRect rcWork;
    ASSERT_TRUE(m_pTree->GetItemRect(Item({ "Work" }), &rcWork, TRUE));

    // A cancelled question catalogues and copies nothing.
    EXPECT_EQ(m_pTree->DropOver(&folder, 0, rcWork.left + 2, rcWork.top + 2), DROPEFFECT_COPY);
    EXPECT_FALSE(m_pTree->DropTake(&folder, DROPEFFECT_COPY));
    EXPECT_EQ(m_prompts.CountOf("backup folder"), 1);
    EXPECT_FALSE(fs::exists(Home() / "d" / "backup" / "photos"));

    m_prompts.m_strBackupFolder = "D:\\backup";
    EXPECT_EQ(m_pTree->DropOver(&folder, 0, rcWork.left + 2, rcWork.top + 2), DROPEFFECT_COPY);
    EXPECT_TRUE(m_pTree->DropTake(&folder, DROPEFFECT_COPY));
    EXPECT_TRUE(fs::exists(Home() / "d" / "backup" / "photos" / "sea.txt"));
    EXPECT_TRUE(fs::exists(Home() / "stick" / "photos" / "sea.txt")) << "the medium is left as it was";
    EXPECT_EQ(Node({ "Work" })->CountDocuments(), 1);
    std::unique_ptr<CDocumentRec> pCopy(App().GetMainCatalog()->FindPath("D:\\backup\\photos\\sea.txt"));
    EXPECT_TRUE(pCopy) << "the copy is catalogued";
}
