#pragma once

// The frame that the catalog pages (the group page and the search page)
// share: the head and top bar, the title bar, the toolbar with the search
// form, and the menu layer and closing rows.

#include "platform/base/CString.h"

class CWAOutputFile;

// The attribute that keeps the browser's status line empty over a link.
constexpr char NO_STATUS_LINK[] = "onmouseover='self.status=&quot;&quot;;return true'";

// What the session's profile and browser let a catalog page offer.
struct CWAPageRights {
    bool bUpload { false };   // The upload command
    bool bDownload { false }; // The download command
    bool bExplorer { false }; // The explorer commands
    bool bNetscape { false }; // The browser flag of the session: the "MN" menus
};

// The toolbar: the login cell (on the search page with the links back to the
// group and to the explorer) and the search form.
struct CWAToolbar {
    bool bViewLinks { false };
    CString strGroupLink;    // Link attribute back to the group page
    CString strExplorerLink; // Link attribute of the explorer; empty for none
    CString strSearchText;
    int nMatchMode { 0 }; // Numbers of the search form's tables (WebText.h)
    int nSearchField { 1 };
};

// The link attribute that runs a call of the browser-side frame.
CString ScriptLink(LPCTSTR pszCall);
// The link attribute of the title bar's logout item.
CString LogoutLink();
// The HTML block "files" up to the top bar.
void WriteCatalogPageHead(CWAOutputFile& reply, LPCTSTR pszTitle);
// The title bar: tip view, download, upload (linked with the right), then on
// the group page (pszReloadLink not null) reload and tree, then logout.
void WriteCatalogTitleRow(CWAOutputFile& reply, const CWAPageRights& rights, LPCTSTR pszReloadLink);
void WriteCatalogToolbarRow(CWAOutputFile& reply, const CWAToolbar& toolbar);
// The documents' menu layer, the closing bar and the end of the block.
void WriteCatalogPageEnd(CWAOutputFile& reply, const CWAPageRights& rights);
// The same with the file menu layer of the explorer's file table.
void WriteFilesPageEnd(CWAOutputFile& reply, const CWAPageRights& rights);
