#include "platform/controls/TreeViewControl.h"

#include "tests/platform/controls/TreeViewTestSupport.h"

namespace {

using TreeViewItemsTest = TreeViewTest;

TEST_F(TreeViewItemsTest, SortedInsertIgnoresCaseAndPutsEqualTextsAfterTheirEquals)
{
    HWND hTree = CreateTree(0);
    HTREEITEM hRoot = Insert(hTree, TVI_ROOT, "root");
    Insert(hTree, hRoot, "beta", TVI_SORT, 1);
    Insert(hTree, hRoot, "Alpha", TVI_SORT, 2);
    Insert(hTree, hRoot, "gamma", TVI_SORT, 3);
    Insert(hTree, hRoot, "BETA", TVI_SORT, 4);
    Insert(hTree, hRoot, "first", TVI_FIRST, 5);
    EXPECT_EQ(ChildTexts(hTree, hRoot), (std::vector<std::string> { "first", "Alpha", "beta", "BETA", "gamma" }));
    // TVI_ROOT as the place to insert after counts as TVI_LAST.
    ASSERT_NE(Insert(hTree, TVI_ROOT, "last", TVI_ROOT), nullptr);
    EXPECT_EQ(ChildTexts(hTree, nullptr), (std::vector<std::string> { "root", "last" }));

    // TVI_SORT does not reorder what is there: "first" stays ahead, the new one sorts among the rest.
    Insert(hTree, hRoot, "delta", TVI_SORT, 6);
    EXPECT_EQ(
        ChildTexts(hTree, hRoot), (std::vector<std::string> { "first", "Alpha", "beta", "BETA", "delta", "gamma" }));
    EXPECT_TRUE(SendMessage(hTree, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(hRoot)));
    EXPECT_EQ(
        ChildTexts(hTree, hRoot), (std::vector<std::string> { "Alpha", "beta", "BETA", "delta", "first", "gamma" }));

    // By callback, stable: lParam descending by parity keeps equal keys in order.
    TVSORTCB sort { hRoot, [](LPARAM l1, LPARAM l2, LPARAM) { return static_cast<int>(l1 % 2 - l2 % 2); }, 0 };
    EXPECT_TRUE(SendMessage(hTree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
    EXPECT_EQ(
        ChildTexts(hTree, hRoot), (std::vector<std::string> { "Alpha", "BETA", "delta", "beta", "first", "gamma" }));
}

TEST_F(TreeViewItemsTest, NavigationCodesWalkTheHierarchyAndTheVisibleRows)
{
    HWND hTree = CreateTree(0);
    HTREEITEM hA = Insert(hTree, TVI_ROOT, "a");
    HTREEITEM hA1 = Insert(hTree, hA, "a1");
    HTREEITEM hA2 = Insert(hTree, hA, "a2");
    HTREEITEM hB = Insert(hTree, nullptr, "b");
    EXPECT_EQ(Next(hTree, TVGN_ROOT), hA);
    EXPECT_EQ(Next(hTree, TVGN_CHILD, TVI_ROOT), hA);
    EXPECT_EQ(Next(hTree, TVGN_NEXT, hA), hB);
    EXPECT_EQ(Next(hTree, TVGN_PREVIOUS, hB), hA);
    EXPECT_EQ(Next(hTree, TVGN_PREVIOUS, hA), nullptr);
    EXPECT_EQ(Next(hTree, TVGN_CHILD, hA), hA1);
    EXPECT_EQ(Next(hTree, TVGN_PARENT, hA2), hA);
    EXPECT_EQ(Next(hTree, TVGN_PARENT, hA), nullptr);
    // Collapsed: the children are not among the visible rows.
    EXPECT_EQ(Next(hTree, TVGN_NEXTVISIBLE, hA), hB);
    Expand(hTree, hA, TVE_EXPAND);
    EXPECT_EQ(Next(hTree, TVGN_NEXTVISIBLE, hA), hA1);
    EXPECT_EQ(Next(hTree, TVGN_PREVIOUSVISIBLE, hB), hA2);
    EXPECT_EQ(Next(hTree, TVGN_LASTVISIBLE), hB);
    EXPECT_EQ(Next(hTree, TVGN_FIRSTVISIBLE), hA);
    EXPECT_EQ(SendMessage(hTree, TVM_GETCOUNT, 0, 0), 4);
}

TEST_F(TreeViewItemsTest, SiblingStepsFollowInsertsAndDeletesAnywhereInALevel)
{
    HWND hTree = CreateTree(0);
    auto walk = [hTree](UINT nCode, HTREEITEM hFrom) {
        std::vector<std::string> texts;
        for (HTREEITEM h = hFrom; h; h = Next(hTree, nCode, h))
            texts.push_back(Text(hTree, h));
        return texts;
    };
    auto forward = [&] { return walk(TVGN_NEXT, Next(hTree, TVGN_ROOT)); };
    HTREEITEM hC = Insert(hTree, TVI_ROOT, "c");
    HTREEITEM hE = Insert(hTree, TVI_ROOT, "e");
    EXPECT_EQ(forward(), (std::vector<std::string> { "c", "e" }));
    HTREEITEM hA = Insert(hTree, TVI_ROOT, "a", TVI_FIRST);
    Insert(hTree, TVI_ROOT, "d", hC);
    Insert(hTree, TVI_ROOT, "b", hA);
    EXPECT_EQ(forward(), (std::vector<std::string> { "a", "b", "c", "d", "e" }));
    EXPECT_EQ(walk(TVGN_PREVIOUS, hE), (std::vector<std::string> { "e", "d", "c", "b", "a" }));
    ASSERT_TRUE(SendMessage(hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hA)));
    Insert(hTree, TVI_ROOT, "ca", TVI_SORT);
    EXPECT_EQ(forward(), (std::vector<std::string> { "b", "c", "ca", "d", "e" }));
    EXPECT_EQ(walk(TVGN_PREVIOUS, hE), (std::vector<std::string> { "e", "d", "ca", "c", "b" }));
    EXPECT_EQ(Next(hTree, TVGN_NEXT, hC), Next(hTree, TVGN_PREVIOUS, Next(hTree, TVGN_PREVIOUS, hE)));
}

TEST_F(TreeViewItemsTest, TextsAreCutToTheBufferAtACharacterBoundary)
{
    HWND hTree = CreateTree(0);
    const std::string strThirty(30, 'x');
    HTREEITEM hItem = Insert(hTree, TVI_ROOT, strThirty.c_str());
    EXPECT_EQ(Text(hTree, hItem, 30), std::string(29, 'x'));
    EXPECT_EQ(Text(hTree, hItem, 31), strThirty);
    // "é" is two bytes: a buffer that fits only its first byte ends before it.
    HTREEITEM hAccent = Insert(hTree, TVI_ROOT, "ab\xC3\xA9");
    EXPECT_EQ(Text(hTree, hAccent, 4), "ab");
    EXPECT_EQ(Text(hTree, hAccent, 5), "ab\xC3\xA9");
}

TEST_F(TreeViewItemsTest, CallbackTextsAndChildrenAreAskedOfTheParent)
{
    HWND hTree = CreateTree(TVS_HASBUTTONS | TVS_LINESATROOT);
    std::string strAnswer;
    int nAsked = 0;
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == TVN_GETDISPINFO) {
            auto* pInfo = reinterpret_cast<NMTVDISPINFO*>(pHdr);
            ++nAsked;
            if (pInfo->item.mask & TVIF_TEXT) {
                strAnswer = "cb " + std::to_string(pInfo->item.lParam) + std::string(40, '!');
                pInfo->item.pszText = strAnswer.data(); // a buffer of the handler's own
            }
            if (pInfo->item.mask & TVIF_CHILDREN)
                pInfo->item.cChildren = pInfo->item.lParam == 7;
        }
        if (pHdr->code == TVN_ITEMEXPANDING) // lazy children
            Insert(hTree, reinterpret_cast<NMTREEVIEW*>(pHdr)->itemNew.hItem, "child");
        return 0;
    };
    TVINSERTSTRUCT insert {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = LPSTR_TEXTCALLBACK;
    insert.item.cChildren = I_CHILDRENCALLBACK;
    insert.item.lParam = 7;
    auto hLazy = reinterpret_cast<HTREEITEM>(SendMessage(hTree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&insert)));
    insert.item.lParam = 8;
    auto hLeaf = reinterpret_cast<HTREEITEM>(SendMessage(hTree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&insert)));
    EXPECT_EQ(Text(hTree, hLazy, 10), "cb 7!!!!!");
    EXPECT_GT(nAsked, 0);

    EXPECT_FALSE(Expand(hTree, hLeaf, TVE_EXPAND));
    EXPECT_TRUE(Expand(hTree, hLazy, TVE_EXPAND));
    EXPECT_EQ(ChildTexts(hTree, hLazy), std::vector<std::string> { "child" });
    EXPECT_TRUE(State(hTree, hLazy) & TVIS_EXPANDED);
    UpdateWindow(hTree); // painting asks again and survives the answers
}

TEST_F(TreeViewItemsTest, StaleHandlesFailWithoutEffectAndAreNeverReused)
{
    HWND hTree = CreateTree(0);
    HTREEITEM hParent = Insert(hTree, TVI_ROOT, "parent");
    HTREEITEM hChild = Insert(hTree, hParent, "child");
    ASSERT_TRUE(SendMessage(hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hParent)));
    HTREEITEM hNew = Insert(hTree, TVI_ROOT, "new");
    EXPECT_NE(hNew, hParent);
    EXPECT_NE(hNew, hChild);
    for (HTREEITEM hStale : { hParent, hChild }) {
        EXPECT_EQ(Text(hTree, hStale), "(failed)");
        EXPECT_FALSE(SetState(hTree, hStale, TVIS_BOLD, TVIS_BOLD));
        EXPECT_FALSE(Expand(hTree, hStale, TVE_EXPAND));
        EXPECT_FALSE(Select(hTree, hStale));
        EXPECT_FALSE(SendMessage(hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hStale)));
        EXPECT_FALSE(SendMessage(hTree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hStale)));
        EXPECT_EQ(SendMessage(hTree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(hStale)), 0);
        EXPECT_EQ(Next(hTree, TVGN_NEXT, hStale), nullptr);
        EXPECT_EQ(Insert(hTree, hStale, "orphan"), nullptr);
        EXPECT_EQ(Insert(hTree, TVI_ROOT, "after stale", hStale), nullptr);
        BOOL bOk = TRUE;
        ItemRect(hTree, hStale, FALSE, &bOk);
        EXPECT_FALSE(bOk);
    }
    EXPECT_EQ(SendMessage(hTree, TVM_GETCOUNT, 0, 0), 1);
}

TEST_F(TreeViewItemsTest, DeleteNotifiesWhileItemsExistAndMovesTheSelection)
{
    HWND hTree = CreateTree(0);
    HTREEITEM hA = Insert(hTree, TVI_ROOT, "a", TVI_LAST, 10);
    HTREEITEM hA1 = Insert(hTree, hA, "a1", TVI_LAST, 11);
    HTREEITEM hB = Insert(hTree, TVI_ROOT, "b", TVI_LAST, 20);
    Select(hTree, hA1);
    std::vector<std::string> seenTexts;
    RecordTree([&](NMTREEVIEW* pTree) -> LRESULT {
        if (pTree->hdr.code == TVN_DELETEITEM)
            seenTexts.push_back(Text(hTree, pTree->itemOld.hItem));
        return 0;
    });
    ASSERT_TRUE(SendMessage(hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hA)));
    EXPECT_EQ(seenTexts, (std::vector<std::string> { "a1", "a" }));
    const std::vector<TreeEvent> events = TakeEvents();
    ASSERT_EQ(events.size(), 4U);
    EXPECT_EQ(events[2], (TreeEvent { TVN_SELCHANGING, TVC_UNKNOWN, hB, nullptr }));
    EXPECT_EQ(Next(hTree, TVGN_CARET), hB);

    // Destruction tells about every item left.
    Insert(hTree, hB, "b1");
    DestroyWindow(hTree);
    EXPECT_EQ(seenTexts.size(), 4U);
}

TEST_F(TreeViewItemsTest, HandlersThatChangeOrDestroyTheTreeLeaveItSound)
{
    HWND hTree = CreateTree(TVS_HASBUTTONS);
    HTREEITEM hA = Insert(hTree, TVI_ROOT, "a");
    HTREEITEM hA1 = Insert(hTree, hA, "a1");
    HTREEITEM hB = Insert(hTree, TVI_ROOT, "b");
    // Deleting the item being expanded, from its own expanding notification.
    RecordTree([&](NMTREEVIEW* pTree) -> LRESULT {
        if (pTree->hdr.code == TVN_ITEMEXPANDING)
            SendMessage(hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hA));
        return 0;
    });
    EXPECT_FALSE(Expand(hTree, hA, TVE_EXPAND));
    EXPECT_EQ(SendMessage(hTree, TVM_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(Text(hTree, hA1), "(failed)");

    // A selection handler that inserts and deletes siblings.
    RecordTree([&](NMTREEVIEW* pTree) -> LRESULT {
        if (pTree->hdr.code == TVN_SELCHANGING) {
            Insert(hTree, TVI_ROOT, "c", TVI_FIRST);
            SendMessage(hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(pTree->itemNew.hItem));
        }
        return 0;
    });
    EXPECT_FALSE(Select(hTree, hB));
    EXPECT_EQ(Next(hTree, TVGN_CARET), nullptr);
    EXPECT_EQ(ChildTexts(hTree, TVI_ROOT), std::vector<std::string> { "c" });

    // Destroying the tree from a deletion notification.
    HTREEITEM hC = Next(hTree, TVGN_ROOT);
    HTREEITEM hC1 = Insert(hTree, hC, "c1");
    TakeEvents();
    RecordTree([&](NMTREEVIEW* pTree) -> LRESULT {
        if (pTree->hdr.code == TVN_DELETEITEM)
            DestroyWindow(hTree);
        return 0;
    });
    SendMessage(hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    EXPECT_FALSE(IsWindow(hTree));
    // Each item is announced once, though the destruction came inside the first announcement.
    EXPECT_EQ(TakeEvents(),
        (std::vector<TreeEvent> { { TVN_DELETEITEM, 0, hC1, nullptr }, { TVN_DELETEITEM, 0, hC, nullptr } }));
}

} // namespace
