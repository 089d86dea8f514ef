// The menus built on the image menu (send-to, linked systems, new document)
// and the context menu of a document that plugs them in, over the sample
// catalog with drive C: a temporary tree.

#include "ui/CDocContextMenu.h"

#include "catalog/CPendingDocs.h"
#include "mail/CMapiMail.h"
#include "platform/base/DriveTable.h"
#include "platform/base/XdgFolders.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/window/Menu.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "tests/support/ScopedVariable.h"
#include "tests/ui/RecordingUiHost.h"
#include "tests/ui/UiCatalogTest.h"
#include "ui/CNewDocMenu.h"
#include "ui/CSendToMenu.h"

#include <filesystem>
#include <fstream>

namespace {

class DocumentMenusTest : public UiCatalogTest {
protected:
    void SetUp() override
    {
        UiCatalogTest::SetUp();
        ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
        AddDrive('C', DRIVE_FIXED);
        m_host.m_pMainCatalog = m_pCatalog.get();
    }
    void TearDown() override
    {
        m_variables.clear();
        ResetDriveTable();
        UiCatalogTest::TearDown();
    }
    void AddDrive(char chLetter, UINT uType) const
    {
        const std::filesystem::path folder = m_drives / std::string(1, chLetter);
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(SetDriveOverride(chLetter, folder.string().c_str(), uType));
    }
    // Writes a file on C: by its path below the root.
    void WriteFile(const std::string& strRelative) const
    {
        m_drives.WriteFile(std::filesystem::path("C") / strRelative, "x");
    }
    // A desktop whose default application for text files is "editor".
    void UseTextEditor()
    {
        const std::filesystem::path home = m_drives / "home";
        std::filesystem::create_directories(home / "data/applications");
        std::filesystem::create_directories(home / "config");
        m_variables.push_back(std::make_unique<ScopedVariable>("XDG_DATA_HOME", (home / "data").string()));
        m_variables.push_back(std::make_unique<ScopedVariable>("XDG_CONFIG_HOME", (home / "config").string()));
        std::ofstream(home / "data/applications/editor.desktop")
            << "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %F\nMimeType=text/plain;\n";
        std::ofstream(home / "config/mimeapps.list") << "[Default Applications]\ntext/plain=editor.desktop\n";
    }
    std::unique_ptr<CDocumentRec> DocumentAt(const char* pszPath)
    {
        return std::unique_ptr<CDocumentRec>(m_pCatalog->FindOrAddPath(nullptr, pszPath, FALSE));
    }
    static std::vector<UINT> Commands(const CMenu* pMenu)
    {
        std::vector<UINT> ids;
        for (UINT i = 0; i < pMenu->GetMenuItemCount(); ++i)
            ids.push_back(
                pMenu->GetSubMenu(static_cast<int>(i)) ? 0xFFFFFFFF : pMenu->GetMenuItemID(static_cast<int>(i)));
        return ids;
    }
    static int Position(const CMenu* pMenu, UINT nID)
    {
        const std::vector<UINT> ids = Commands(pMenu);
        const auto it = std::find(ids.begin(), ids.end(), nID);
        return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
    }
    // The text an owner-drawn item draws, from its record.
    static std::string ItemText(CImageMenu& menu, int nPosition)
    {
        const CImageMenu::CItem* pItem = Record(menu, nPosition);
        return pItem ? std::string(pItem->strText) : std::string();
    }
    static const CImageMenu::CItem* Record(CImageMenu& menu, int nPosition)
    {
        MENUITEMINFO info {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        if (!menu.GetMenuItemInfo(static_cast<UINT>(nPosition), &info, TRUE))
            return nullptr;
        return reinterpret_cast<const CImageMenu::CItem*>(info.dwItemData);
    }
    // The position of the submenu whose handle is hMenu, -1 when none.
    static int SubMenuPosition(const CMenu* pMenu, HMENU hMenu)
    {
        for (UINT i = 0; i < pMenu->GetMenuItemCount(); ++i) {
            const CMenu* pSub = pMenu->GetSubMenu(static_cast<int>(i));
            if (pSub && pSub->GetSafeHmenu() == hMenu)
                return static_cast<int>(i);
        }
        return -1;
    }

    CRecordingUiHost m_host;
    TempFolder m_drives;
    std::vector<std::unique_ptr<ScopedVariable>> m_variables;
};

constexpr UINT SEPARATOR = 0;

TEST_F(DocumentMenusTest, SendToListsTheRemovableDrivesBetweenTheFixedItems)
{
    CSendToMenu menu;
    menu.Build();
    EXPECT_EQ(Commands(&menu),
        (std::vector<UINT> { ID_SEND_TO_UNSORTED, ID_SEND_TO_OTHER, ID_DOC_CATALOG_AGAIN, ID_DOC_SEND_MAIL }))
        << "no removable drive";
    AddDrive('E', DRIVE_REMOVABLE);
    AddDrive('N', DRIVE_REMOTE);
    menu.Build();
    menu.Build(); // building again replaces the items
    EXPECT_EQ(Commands(&menu),
        (std::vector<UINT> {
            ID_SEND_TO_UNSORTED, ID_SEND_TO_OTHER, ID_DOC_CATALOG_AGAIN, ID_SEND_TO_DRIVE_FIRST, ID_DOC_SEND_MAIL }));
    EXPECT_EQ(std::string(menu.GetTargetPath(ID_SEND_TO_DRIVE_FIRST)), "E:\\");
    EXPECT_EQ(std::string(menu.GetTargetPath(ID_SEND_TO_UNSORTED)), "");
}

TEST_F(DocumentMenusTest, LinkedSystemsAreTheDocumentsNodes)
{
    CLinkedDocsMenu menu;
    ASSERT_TRUE(menu.Build(*Document(*m_pCatalog, m_tree.readme)));
    EXPECT_EQ(Commands(&menu), (std::vector<UINT> { ID_LINKED_SYSTEM_FIRST, ID_LINKED_SYSTEM_FIRST + 1 }));
    EXPECT_EQ(ItemText(menu, 0), "Alpha");
    EXPECT_EQ(ItemText(menu, 1), "Archive");
    EXPECT_FALSE(menu.Build(*DocumentAt("c:\\loose\\note.txt")));
    EXPECT_EQ(menu.GetItemCount(), 0);
}

TEST_F(DocumentMenusTest, NewDocumentKindsFollowTheFixedItemsInTheirListsOrder)
{
    const bool bMail = IsMapiAvailable() != FALSE;
    CNewDocMenu menu;
    menu.Rebuild();
    std::vector<UINT> expected { ID_CATALOG_NEW_GROUP, ID_CATALOG_NEW_TOP_GROUP };
    if (bMail)
        expected.insert(expected.end(), { SEPARATOR, ID_TOOLS_SEND_MAIL });
    EXPECT_EQ(Commands(&menu), expected) << "no kinds: no separator for them";

    m_host.m_newDocuments.first.Add("Text");
    m_host.m_newDocuments.first.Add("Sheet");
    m_host.m_newDocuments.second.Add("Drawing");
    for (const char* pszEntry : { "C:\\t\\text.txt", ".ods", "C:\\t\\drawing.odg" })
        m_host.m_newDocuments.entryPaths.Add(pszEntry);
    menu.Rebuild();
    expected = { ID_CATALOG_NEW_GROUP, ID_CATALOG_NEW_TOP_GROUP, SEPARATOR };
    if (bMail)
        expected.push_back(ID_TOOLS_SEND_MAIL);
    expected.insert(
        expected.end(), { ID_NEW_DOCUMENT_FIRST, ID_NEW_DOCUMENT_FIRST + 1, SEPARATOR, ID_NEW_DOCUMENT_FIRST + 2 });
    EXPECT_EQ(Commands(&menu), expected) << "the second list numbers on from the first";
    const int nSheet = Position(&menu, ID_NEW_DOCUMENT_FIRST + 1);
    ASSERT_NE(Record(menu, nSheet), nullptr);
    EXPECT_EQ(Record(menu, nSheet)->nImage, GetFileIconIndex("sheet.ods", FALSE, TRUE)) << "the icon of its type";
    EXPECT_EQ(Record(menu, 0)->nImage, -1);
}

TEST_F(DocumentMenusTest, AFilesMenuPlugsInItsSubmenusAndLeavesOutItsOwnOpenAction)
{
    WriteFile("docs/readme.md");
    auto pDocument = Document(*m_pCatalog, m_tree.readme);
    CPendingDocs pending(m_pCatalog.get());
    pending.AddEntry(pDocument->GetFilePath(), CPendingDocs::FLAG_UNPROTECTED);
    m_host.m_pPendingDocs = &pending;
    CSendToMenu sendTo;
    sendTo.Build();
    {
        CDocContextMenu menu(*pDocument, &sendTo);
        ASSERT_TRUE(menu.Build(IDR_DOC_FILE_MENU, IDR_DOC_MAIL_MENU));
        CMenu* pPopup = menu.GetPopup();
        ASSERT_NE(pPopup, nullptr);
        const int nSendTo = SubMenuPosition(pPopup, sendTo.GetSafeHmenu());
        ASSERT_GE(nSendTo, 0);
        CString strText;
        pPopup->GetMenuString(static_cast<UINT>(nSendTo), strText, MF_BYPOSITION);
        EXPECT_EQ(std::string(strText), "Se&nd To");
        EXPECT_EQ(Position(pPopup, ID_DOC_LINKED_SYSTEMS), -1) << "a popup of the two linked systems";
        const std::vector<UINT> ids = Commands(pPopup);
        ASSERT_GE(ids.size(), 3u);
        EXPECT_EQ(std::vector<UINT>(ids.end() - 3, ids.end()),
            (std::vector<UINT> { SEPARATOR, ID_DOC_PROTECT_AGAIN, ID_DOC_IMAGE_PREVIEW }))
            << "opened unprotected";
        const std::vector<UINT> openActions = Commands(pPopup->GetSubMenu(1));
        EXPECT_EQ(std::count(openActions.begin(), openActions.end(), 57601u), 0) << "the document's own action";
        EXPECT_EQ(std::count(openActions.begin(), openActions.end(), UINT(ID_DOC_OPEN_CHOSEN)), 1);

        menu.AdjustMenu();
        EXPECT_EQ(m_host.m_calls, std::vector<std::string> { "ReplaceMenuItem" });
        EXPECT_GE(Position(pPopup, ID_DOC_SEND_TO_MENU), 0) << "a plain item again";
        EXPECT_GE(Position(pPopup, ID_DOC_LINKED_SYSTEMS), 0);
    }
    EXPECT_TRUE(IsMenu(sendTo.GetSafeHmenu())) << "the owner's send-to menu outlives the context menu";
    EXPECT_EQ(sendTo.GetMenuItemCount(), 4u);
    m_host.m_pPendingDocs = nullptr;
}

TEST_F(DocumentMenusTest, TheShellsCommandsForAFileStartItsApplication)
{
    UseTextEditor();
    WriteFile("work/a.txt");
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    {
        CDocContextMenu menu(*pDocument, nullptr);
        ASSERT_TRUE(menu.Build(IDR_DOC_FILE_MENU, IDR_DOC_MAIL_MENU));
        CMenu* pPopup = menu.GetPopup();
        EXPECT_EQ(Position(pPopup, ID_DOC_FILE_COMMANDS), -1) << "a popup";
        EXPECT_EQ(Position(pPopup, ID_DOC_LINKED_SYSTEMS), -1) << "a popup of the one linked system";
        CLaunchOverride launches;
        ASSERT_TRUE(menu.InvokeShellCommand(CDocContextMenu::SHELL_COMMAND_FIRST));
        ASSERT_EQ(launches.GetLaunches().size(), 1u);
        EXPECT_EQ(launches.GetLaunches()[0].front(), "editor");
        EXPECT_FALSE(menu.InvokeShellCommand(CDocContextMenu::SHELL_COMMAND_LAST + 1));
    }
    // A file that is not there, and a document linked to no system.
    auto pLoose = DocumentAt("c:\\loose\\gone.txt");
    CDocContextMenu menu(*pLoose, nullptr);
    ASSERT_TRUE(menu.Build(IDR_DOC_FILE_MENU, IDR_DOC_MAIL_MENU));
    CMenu* pPopup = menu.GetPopup();
    EXPECT_NE(pPopup->GetMenuState(ID_DOC_FILE_COMMANDS, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(pPopup->GetMenuState(ID_DOC_LINKED_SYSTEMS, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(DocumentMenusTest, AMailMessageGetsNeitherShellCommandsNorPendingItems)
{
    auto pDocument = Document(*m_pCatalog, m_tree.oldTxt);
    CDocumentInfo info {};
    ASSERT_TRUE(pDocument->GetInfo(&info));
    info.wType = DOCUMENT_MAIL;
    info.dwOpenAction = 2;
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    ASSERT_TRUE(pDocument->Load());
    CPendingDocs pending(m_pCatalog.get());
    pending.AddEntry(pDocument->GetFilePath(), CPendingDocs::FLAG_UNPROTECTED);
    m_host.m_pPendingDocs = &pending;
    CDocContextMenu menu(*pDocument, nullptr);
    ASSERT_TRUE(menu.Build(IDR_DOC_FILE_MENU, IDR_DOC_MAIL_MENU));
    CMenu* pPopup = menu.GetPopup();
    EXPECT_EQ(Position(pPopup, ID_DOC_FILE_COMMANDS), -1);
    EXPECT_EQ(Position(pPopup, ID_DOC_PROTECT_AGAIN), -1);
    const std::vector<UINT> openActions = Commands(pPopup->GetSubMenu(1));
    EXPECT_EQ(std::count(openActions.begin(), openActions.end(), UINT(ID_DOC_MAIL_FORWARD)), 0);
    EXPECT_EQ(std::count(openActions.begin(), openActions.end(), UINT(ID_DOC_MAIL_REPLY)), 1);
    m_host.m_pPendingDocs = nullptr;
}

} // namespace
