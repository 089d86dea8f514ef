#pragma once

// The page the web access notice shows: a title, the program's logo, the
// notice's text and a link to the site, which opens in a new browser window.
// Relative names on it (the logo) resolve to the program's own resources.

#include "platform/base/CString.h"

// The page's file: "~arch.html" in the program folder, which belongs to the
// user (a shared temporary folder would let others plant a file there).
CString HtmlMessagePagePath();

// Writes the page to pszPath, with pszSite as the link's address and text
// (escaped for HTML). A file already there is deleted first, and the new one
// is created only if nothing of that name exists by then, so the page is
// never written through a link another program planted. The main window's
// new-document monitor is off while the file is written, and back on after
// when it was on. 1 when the whole page was written, 0 otherwise.
int BuildHtmlMessagePage(LPCTSTR pszPath, LPCTSTR pszSite);
