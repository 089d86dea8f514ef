#include "ui/CFolderPopupCtrl.h"

#include "catalog/CInfoPIDL.h"
#include "catalog/ShellItemIds.h"
#include "mail/CMapiMail.h"
#include "mail/MailResult.h"
#include "platform/framework/CImageList.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"
#include "tests/support/DriveTreeFixture.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CNewDocPopupCtrl.h"
#include "ui/CPIDLPopupCtrl.h"
#include "ui/MailPopups.h"
#include "ui/PopupHitTable.h"
#include "ui/PopupImages.h"

#include <memory>

namespace {

/* The new-document popup. */

class NewDocPopupTest : public UiTest { };

TEST_F(NewDocPopupTest, RowsKeepTheirFillOrderWithASeparatorBetweenTheLists)
{
    CNewDocPopupWnd popup;
    ASSERT_EQ(popup.Create(&Host()), 1);
    CNewDocPopupCtrl& list = popup.GetNewDocList();
    CStringArray first;
    first.Add("Text Document");
    first.Add("Drawing");
    CStringArray second;
    second.Add("Archive");
    list.FillItems(first, second);
    std::vector<CString> expected { "Text Document", "Drawing", "", "Archive" };
    if (IsMapiAvailable())
        expected.insert(expected.begin(), GetResString(IDS_SEND_MAIL_ENTRY));
    ASSERT_EQ(CTestDriver::Items(list.GetSafeHwnd()), expected);
    const int nOffset = IsMapiAvailable() ? 1 : 0;
    EXPECT_STREQ(static_cast<LPCTSTR>(list.GetItemResult(nOffset + 1)), "Drawing");
    EXPECT_STREQ(static_cast<LPCTSTR>(list.GetItemResult(nOffset + 3)), "Archive");
    EXPECT_EQ(list.GetItemResult(nOffset + 2), nullptr) << "the separator gives nothing";
    EXPECT_EQ(list.GetItemHeight(nOffset + 2), CNewDocPopupCtrl::SEPARATOR_HEIGHT);

    popup.DestroyWindow();
    ASSERT_EQ(popup.Create(&Host()), 1);
    popup.GetNewDocList().FillItems(first, CStringArray {});
    EXPECT_EQ(popup.GetNewDocList().GetCount(), nOffset + 2) << "no separator without a second list";
}

/* The mail folders. */

class MailPopupsTest : public UiTest {
protected:
    static CMailFolderEntry Folder(const char* pszName, const char* pszMailbox)
    {
        CMailFolderEntry folder;
        folder.strName = pszName;
        folder.strMailbox = pszMailbox;
        folder.dwStoreKind = MAIL_STORE_OE5;
        return folder;
    }
};

TEST_F(MailPopupsTest, AFolderThreeLevelsDownGivesItsMailboxAndDisplayPath)
{
    CMailFolderArray folders;
    folders.push_back(Folder("Inbox", "/mail/inbox.dbx"));
    folders.push_back(Folder("Archive", ""));
    folders.back().pSubfolders = std::make_unique<CMailFolderArray>();
    folders.back().pSubfolders->push_back(Folder("2019", "/mail/2019.dbx"));

    CMailboxPopupWnd popup;
    ASSERT_EQ(popup.Create(&Host()), 1);
    CMailboxPopupCtrl& list = popup.GetMailboxList();
    list.FillFolders("ana", &folders);
    ASSERT_EQ(CTestDriver::Items(list.GetSafeHwnd()), (std::vector<CString> { "Archive", "Inbox" }));
    EXPECT_TRUE(list.ItemHasChild(0));
    EXPECT_FALSE(list.ItemHasChild(1));

    const POINT pos { 50, 50 };
    popup.FitOnScreen(&pos, nullptr);
    list.Open(CPopupCtrl::MODE_KEYBOARD, nullptr);
    list.OnKeyDown(VK_DOWN);
    list.OnKeyDown(VK_RIGHT);
    Driver().Advance(CPopupCtrl::SOON_MS);
    auto* pChild = static_cast<CMailboxPopupWnd*>(list.GetChildPopup());
    ASSERT_NE(pChild, nullptr);
    EXPECT_EQ(pChild->GetMailboxList().GetBasePath(), "ana\\Archive\\");
    pChild->GetMailboxList().OnKeyDown(VK_DOWN);
    std::unique_ptr<CMailboxPath> pPath(static_cast<CMailboxPath*>(pChild->GetMailboxList().ChooseHotItem()));
    ASSERT_NE(pPath, nullptr);
    EXPECT_EQ(pPath->m_strMailbox, "/mail/2019.dbx");
    EXPECT_EQ(pPath->m_strDisplayPath, "ana\\Archive\\2019");
    EXPECT_EQ(pPath->m_dwStoreKind, static_cast<DWORD>(MAIL_STORE_OE5));
    EXPECT_FALSE(IsWindow(popup.GetSafeHwnd()));
    EXPECT_EQ(GetPopupHitCount(), 0);
}

/* The shell folders and the folder chooser, over drive C:. */

class ShellPopupsTest : public DriveTreeTest {
protected:
    void SetUp() override
    {
        DriveTreeTest::SetUp();
        m_pUi = std::make_unique<CUiHarness>();
    }
    void TearDown() override
    {
        EXPECT_EQ(GetPopupHitCount(), 0);
        m_pUi.reset();
        DriveTreeTest::TearDown();
    }
    CTestDriver& Driver() { return m_pUi->m_driver; }
    static LPITEMIDLIST Pidl(LPCTSTR pszPath)
    {
        LPITEMIDLIST pidl = nullptr;
        EXPECT_TRUE(SUCCEEDED(PathToPIDL(pszPath, &pidl, nullptr))) << pszPath;
        return pidl;
    }
    static LPITEMIDLIST Drives()
    {
        LPITEMIDLIST pidl = nullptr;
        EXPECT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidl)));
        return pidl;
    }
    static int RowOf(HWND hPopup, const char* pszText)
    {
        const std::vector<CString> rows = CTestDriver::Items(CTestDriver::PopupList(hPopup));
        auto it = std::find(rows.begin(), rows.end(), CString(pszText));
        return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
    }

    std::unique_ptr<CUiHarness> m_pUi;
};

TEST_F(ShellPopupsTest, FoldersListWithArrowsOnlyWhereSubfoldersAreAndAnEmptyChildLosesIt)
{
    MakeFolder("Work/Reports");
    MakeFolder("Empty");
    MakeFolder("Docs");
    WriteFile("Docs/readme.txt");
    WriteFile("loose.txt");
    CPIDLPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    CPIDLPopupCtrl& list = popup.GetPIDLList();
    LPITEMIDLIST pidl = Pidl("C:\\");
    list.FillFromPIDL(pidl, CPIDLPopupCtrl::MASK_ALL);
    CoTaskMemFree(pidl);
    ASSERT_EQ(CTestDriver::Items(list.GetSafeHwnd()), (std::vector<CString> { "Docs", "Empty", "Work" }))
        << "folders only, the first letter upper-cased";
    EXPECT_FALSE(list.ItemHasChild(0));
    EXPECT_TRUE(list.ItemHasChild(2));
    EXPECT_EQ(list.GetParsingName(2), "C:\\Work");

    std::unique_ptr<CInfoPIDL> pInfo(static_cast<CInfoPIDL*>(list.GetItemResult(2)));
    ASSERT_NE(pInfo, nullptr);
    CString strName;
    GetDisplayNameOfPIDL(pInfo->m_pFolder, pInfo->m_pidlRelative, SHGDN_FORPARSING, strName);
    EXPECT_EQ(strName, "C:\\Work");
    FreeInfoPIDL(nullptr, pInfo.get());

    std::filesystem::remove(Root() / "Work/Reports");
    EXPECT_EQ(list.CreateChildPopup(2), nullptr) << "its listing turned out empty";
    EXPECT_FALSE(list.ItemHasChild(2));
}

TEST_F(ShellPopupsTest, TheDriveMaskLeavesOutRemovableDrivesAndAnEmptyRootSaysSo)
{
    AddDrive('E', DRIVE_REMOVABLE);
    AddDrive('N', DRIVE_REMOTE);
    CPIDLPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    LPITEMIDLIST pidl = Drives();
    popup.GetPIDLList().FillFromPIDL(pidl, CPIDLPopupCtrl::MASK_FIXED_NETWORK);
    CoTaskMemFree(pidl);
    EXPECT_EQ(CTestDriver::Items(popup.GetPIDLList().GetSafeHwnd()), (std::vector<CString> { "C (c:)", "N (n:)" }))
        << "the fixed and the network drive";

    popup.DestroyWindow();
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    pidl = Pidl("C:\\");
    popup.GetPIDLList().FillFromPIDL(pidl, CPIDLPopupCtrl::MASK_ALL);
    CoTaskMemFree(pidl);
    ASSERT_EQ(popup.GetPIDLList().GetCount(), 1);
    EXPECT_FALSE(popup.GetPIDLList().IsItemEnabled(0));
    EXPECT_EQ(popup.GetPIDLList().GetItemResult(0), nullptr);
}

TEST_F(ShellPopupsTest, PickingAFolderTwoLevelsDownGivesItsPathLowerCased)
{
    MakeFolder("Work/Reports");
    CFolderPopupWnd popup;
    ASSERT_EQ(popup.Create(&m_pUi->m_host), 1);
    popup.GetFolderList().FillRootItems();
    Driver().OnNextWait([&] {
        HWND hRoot = CTestDriver::PopupWindows().at(0);
        ASSERT_TRUE(Driver().HoverPopupRow(hRoot, RowOf(hRoot, GetResString(IDS_MY_COMPUTER))));
        Driver().Advance(CPopupCtrl::HOVER_DELAY_MS);
        ASSERT_EQ(CTestDriver::PopupWindows().size(), 2u);
        HWND hDrives = CTestDriver::PopupWindows()[1];
        ASSERT_TRUE(Driver().HoverPopupRow(hDrives, 0));
        Driver().Advance(CPopupCtrl::HOVER_DELAY_MS);
        ASSERT_EQ(CTestDriver::PopupWindows().size(), 3u);
        HWND hFolders = CTestDriver::PopupWindows()[2];
        EXPECT_EQ(CTestDriver::Items(CTestDriver::PopupList(hFolders)), (std::vector<CString> { "Work" }));
        ASSERT_TRUE(Driver().ClickPopupRow(hFolders, 0));
    });
    const POINT pos { 100, 60 };
    const RECT button { 40, 40, 100, 60 };
    std::unique_ptr<CString> pChoice(popup.PickFolderFromPopup(&pos, &button, &button));
    ASSERT_NE(pChoice, nullptr);
    EXPECT_EQ(*pChoice, "c:\\work");
}

/* The strip images the popups share. */

class PopupImagesTest : public UiTest { };

TEST_F(PopupImagesTest, EachBitmapLoadsOnceAndAMissingOneGivesNone)
{
    constexpr COLORREF MASK = RGB(255, 0, 255);
    CImageList* pArrows = SharedPopupImages(IDB_POPUP_ARROWS, 16, MASK);
    ASSERT_NE(pArrows, nullptr);
    EXPECT_GT(pArrows->GetImageCount(), 0);
    EXPECT_EQ(SharedPopupImages(IDB_POPUP_ARROWS, 16, MASK), pArrows) << "loaded once";
    CImageList* pFolders = SharedPopupImages(IDB_FOLDER_ITEMS, 16, MASK);
    ASSERT_NE(pFolders, nullptr);
    EXPECT_NE(pFolders, pArrows);
    EXPECT_EQ(SharedPopupImages(60000, 16, MASK), nullptr);
}

} // namespace
