#pragma once

// The engine behind an HTML view: one page at a time, laid out at the view's
// width with our own master style sheet, drawn through the GDI, and asked
// about the mouse. It runs no scripts and fetches nothing from the network:
// pages and pictures come from files and resources (HtmlUrl.h).
//
// The browser is reference counted: the view that makes it holds one
// reference and gives it up with Release, after which it is gone. A link the
// user clicks is not followed here; the mouse calls hand it back to the
// caller, who decides (and may replace the page), since the page must not
// change while its own handlers run.

#include "platform/gdi/GdiTypes.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// A link the user clicked: its address resolved against the page, and its target frame ("" for none).
struct CHtmlLink {
    std::string strUrl;
    std::string strTarget;
};

class CHtmlBrowser {
public:
    CHtmlBrowser();
    CHtmlBrowser(const CHtmlBrowser&) = delete;
    CHtmlBrowser& operator=(const CHtmlBrowser&) = delete;

    ULONG AddRef();
    // Drops a reference; the browser deletes itself with the last one.
    ULONG Release();

    /* The page. */

    // Shows `html` (UTF-8) as the page at strUrl, which is also the base for
    // its relative addresses unless the page names one. Empty, unreadable or
    // too large text shows an empty page.
    void ShowPage(const std::string& strUrl, std::string_view html);
    const std::string& GetUrl() const { return m_strUrl; }
    // Lays the page out for a view of this size; the height is the page's own.
    void SetViewSize(int cx, int cy);
    int GetPageHeight() const;
    // FALSE when the page's body says scroll="no".
    bool AllowsScrolling() const;
    // The first link whose text is strText: its rectangle in page coordinates
    // (for tools that follow links as a user would).
    bool FindLink(std::string_view strText, RECT* pRect) const;

    /* Drawing, with the page scrolled up by nScrollY pixels. */

    void Draw(HDC hdc, const RECT& rcClip, int nScrollY);

    /* The mouse, at page coordinates. Each returns whether the page wants repainting. */

    bool MouseMove(POINT ptPage);
    bool MouseLeave();
    bool ButtonDown(POINT ptPage);
    // A release over a link hands the link back.
    bool ButtonUp(POINT ptPage, std::optional<CHtmlLink>* pClicked);
    // Whether the mouse is over a link (the view shows a hand).
    bool IsOverLink() const;

private:
    ~CHtmlBrowser();

    class CPage;
    std::unique_ptr<CPage> m_pPage;
    std::string m_strUrl;
    ULONG m_nRefs { 1 };
};
