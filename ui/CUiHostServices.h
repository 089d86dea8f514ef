#pragma once

// What the interface kit asks of the application that hosts it. The kit sits
// below the frame, yet some of its controls reach objects the application
// holds (the main catalog a clipboard paste is checked against, the lists of
// new-document kinds) or windows of the frame. The frame installs one
// implementation at start-up and tests install their own; until one is
// installed every call site finds none and does without. Calls other than
// GetMainCatalog answer "nothing" unless the host overrides them. All calls
// are made from the user-interface thread.

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"
#include "platform/base/MessageBoxCodes.h"
#include "platform/base/WinTypes.h"

class CBackupFolderPrompt;
class CCatalog;
class CDocumentRec;
class CMenu;
class CNodeRec;
class COpenWithMenu;
class CPendingDocs;
struct CListColumnChoices;

// The application's two lists of new-document kinds: their names, and for
// each running index over both lists (first list, then second) the entry
// that makes such a document: a file name or path, or a type (".odt"), whose
// type gives the kind its icon.
struct CNewDocumentLists {
    CStringArray first;
    CStringArray second;
    CStringArray entryPaths;
};

class CUiHostServices {
public:
    virtual ~CUiHostServices() = default;

    /* What the application holds. */

    // The catalog the user works in; null while none is open.
    virtual CCatalog* GetMainCatalog() = 0;
    // The recycle bin's catalog; null while none is open.
    virtual CCatalog* GetRecycleCatalog() { return nullptr; }
    // The documents opened from the main catalog; null while none is followed.
    virtual CPendingDocs* GetPendingDocs() { return nullptr; }
    // Fills *pLists with the application's new-document kinds (left empty by default).
    virtual void GetNewDocumentLists(CNewDocumentLists* /*pLists*/) { }
    // What asks for the folder that files of removable drives are copied into before they are catalogued.
    virtual CBackupFolderPrompt* GetBackupFolderPrompt() { return nullptr; }

    /* The frame's windows. */

    // The main frame puts its own entry for the document list into a menu
    // about to be shown (the document's context menu).
    virtual void ReplaceMenuItem(CMenu* /*pMenu*/) { }
    // Rebuilds the main frame's new-document menu after the catalogued document types changed.
    virtual void BuildDynamicMenu() { }
    // The active catalog view's column choices and list-style extension flag;
    // FALSE when no catalog view is open.
    virtual BOOL GetListColumns(CListColumnChoices* /*pChoices*/, BOOL* /*pbListExtension*/) { return FALSE; }
    // Applies the choices to the active catalog view's list, which saves them.
    virtual void ApplyListColumns(const CListColumnChoices& /*choices*/, BOOL /*bListExtension*/) { }

    /* Documents. */

    // Opens the document with pszProgram (null or empty: as its open action
    // says); non-zero when it opened.
    virtual BOOL OpenItem(CDocumentRec& /*document*/, LPCTSTR /*pszProgram*/) { return FALSE; }
    // Minimises the main window when the preferences ask for it after an opening.
    virtual void MinimizeAfterOpen() { }
    // The main frame's open-with menu, or null.
    virtual COpenWithMenu* GetOpenWithMenu() { return nullptr; }
    // The document properties dialog.
    virtual int RunDocumentProperties(CDocumentRec& /*document*/) { return DOCUMENT_UNCHANGED; }
    static constexpr int DOCUMENT_UNCHANGED = 0;
    static constexpr int DOCUMENT_PROPERTIES_CHANGED = 1;
    static constexpr int DOCUMENT_CATALOG_CHANGED = 2;
    // The document processing dialog: 1 when done, PROCESS_PATH_CHANGED when
    // the document's information (its path) changed; else 0.
    virtual int RunProcessDocuments(CDocumentRec& /*document*/) { return 0; }
    static constexpr int PROCESS_PATH_CHANGED = 1480;
    // The image preview of the document; IDOK when its entry is to be updated.
    virtual int RunImagePreview(CDocumentRec& /*document*/) { return IDCANCEL; }
    // The password prompt for the document in nMode; IDOK when answered.
    virtual int RunPassword(CDocumentRec& /*document*/, int /*nMode*/) { return IDCANCEL; }

    /* Systems and folders: each non-zero when something changed. */

    virtual int RunGroupProperties(CNodeRec& /*node*/) { return 0; }
    // The properties of a new group under pParent.
    virtual int RunNewGroup(CNodeRec& /*parent*/) { return 0; }
    virtual int RunKeywordProperties(CNodeRec& /*node*/) { return 0; }
    // The new-folder dialog under the folder at pszParentPath.
    virtual int RunNewFolder(LPCTSTR /*pszParentPath*/) { return 0; }
};

// Makes pServices the host (null: none) and returns the one it replaces. The
// caller keeps ownership and uninstalls it before it goes.
CUiHostServices* InstallUiHostServices(CUiHostServices* pServices);
// The installed host, or null.
CUiHostServices* GetUiHostServices();
// The host's main catalog, or null without a host or a catalog.
CCatalog* GetHostMainCatalog();
// The host's recycle-bin catalog, or null.
CCatalog* GetHostRecycleCatalog();
