#pragma once

// The context menu of a catalogued document, loaded from a menu resource
// (one for files, one for mail messages) whose first submenu is the menu to
// track and whose second submenu within it lists the open actions. Build
// plugs into it:
//   - the send-to menu (the owner's) at ID_DOC_SEND_TO_MENU;
//   - the menu of the systems the document is linked to at
//     ID_DOC_LINKED_SYSTEMS, grayed when it is linked to none;
//   - for a file that can be reached, the shell's commands for the file at
//     ID_DOC_FILE_COMMANDS, commands SHELL_COMMAND_FIRST to SHELL_COMMAND_LAST,
//     which InvokeShellCommand runs; grayed when the shell has none to give;
//   - for a file opened unprotected, "protect again" and "image preview";
// and takes the document's own open action out of the open actions.
//
// The send-to menu stays the owner's: the menu gives it back (and its own
// submenus) as plain items when AdjustMenu runs and when it goes, so that
// destroying this menu never destroys a menu someone else holds.

#include "platform/framework/CMenu.h"
#include "platform/shell/ShellContextMenu.h"
#include "platform/shell/ShellFolder.h"
#include "ui/CLinkedDocsMenu.h"

#include <memory>

class CDocumentRec;
class CSendToMenu;

class CDocContextMenu : public CMenu {
public:
    static constexpr UINT SHELL_COMMAND_FIRST = 1;
    static constexpr UINT SHELL_COMMAND_LAST = 89;

    // Keeps a copy of the document; pSendTo (the owner's, built) may be null.
    CDocContextMenu(const CDocumentRec& document, CSendToMenu* pSendTo);
    ~CDocContextMenu() override;
    CDocContextMenu(const CDocContextMenu&) = delete;
    CDocContextMenu& operator=(const CDocContextMenu&) = delete;

    // Loads the menu for the document's type and fills it; FALSE when the
    // resource cannot be loaded or has no first submenu.
    BOOL Build(UINT nFileMenuID, UINT nMailMenuID);
    // The menu to track (the first submenu); null before a successful Build.
    CMenu* GetPopup() const;
    // Runs the shell's command nID (SHELL_COMMAND_FIRST ...) for the file.
    BOOL InvokeShellCommand(UINT nID);
    // Lets the host put its own entries in, then turns the plugged-in
    // submenus back into plain items.
    void AdjustMenu();

private:
    // The command of the open action the document has now.
    UINT CurrentOpenCommand() const;
    // Fills m_shellMenu with the shell's commands for the file; FALSE when it has none.
    BOOL MergeShellMenu(const CString& strPath);
    // Turns an item into a submenu, keeping its text or taking nTextID's.
    void PlugPopup(CMenu* pPopup, UINT nID, HMENU hSubMenu, UINT nTextID);
    // Turns the submenus plugged in back into plain items.
    void UnplugPopups();

    std::unique_ptr<CDocumentRec> m_pDocument;
    CSendToMenu* m_pSendTo;
    CLinkedDocsMenu m_linkedMenu;
    CMenu m_shellMenu;
    IContextMenu* m_pShellContextMenu { nullptr };
};
