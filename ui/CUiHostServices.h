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

class CCatalog;
class CMenu;
class CPendingDocs;

// The application's two lists of new-document kinds: their names, and for
// each running index over both lists (first list, then second) the path of
// the entry that makes such a document.
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

    /* The frame's windows. */

    // The main frame puts its own entry for the document list into a menu
    // about to be shown (the document's context menu).
    virtual void ReplaceMenuItem(CMenu* /*pMenu*/) { }
};

// Makes pServices the host (null: none) and returns the one it replaces. The
// caller keeps ownership and uninstalls it before it goes.
CUiHostServices* InstallUiHostServices(CUiHostServices* pServices);
// The installed host, or null.
CUiHostServices* GetUiHostServices();
// The host's main catalog, or null without a host or a catalog.
CCatalog* GetHostMainCatalog();
