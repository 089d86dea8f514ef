#include "platform/controls/HtmlBrowser.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/HtmlContainer.h"
#include "platform/controls/HtmlUrl.h"

namespace {

// The master style sheet, parsed once for every page.
litehtml::context& SharedContext()
{
    static litehtml::context* s_pContext = [] {
        auto* pContext = new litehtml::context;
        pContext->load_master_stylesheet(HtmlMasterStyleSheet());
        return pContext;
    }();
    return *s_pContext;
}

} // namespace

// The document lives inside its container's life: it gives its fonts back as it goes.
class CHtmlBrowser::CPage {
public:
    ~CPage() { document.reset(); }

    CHtmlContainer container;
    litehtml::document::ptr document;
    int cxView { 0 };
};

CHtmlBrowser::CHtmlBrowser()
    : m_pPage(std::make_unique<CPage>())
{
}

CHtmlBrowser::~CHtmlBrowser() = default;

ULONG CHtmlBrowser::AddRef()
{
    return ++m_nRefs;
}

ULONG CHtmlBrowser::Release()
{
    const ULONG nRefs = --m_nRefs;
    if (nRefs == 0)
        delete this;
    return nRefs;
}

void CHtmlBrowser::ShowPage(const std::string& strUrl, std::string_view html)
{
    m_strUrl = strUrl;
    m_pPage->document.reset();
    m_pPage->container.SetPageUrl(strUrl);
    m_pPage->container.set_cursor("");
    if (html.empty() || html.size() > HTML_MAX_BYTES)
        return;
    const std::string strPage(html);
    m_pPage->document = litehtml::document::createFromUTF8(strPage.c_str(), &m_pPage->container, &SharedContext());
    if (m_pPage->document && m_pPage->cxView > 0)
        m_pPage->document->render(m_pPage->cxView);
}

void CHtmlBrowser::SetViewSize(int cx, int cy)
{
    m_pPage->cxView = cx;
    m_pPage->container.SetViewSize(cx, cy);
    if (m_pPage->document && cx > 0)
        m_pPage->document->render(cx);
}

int CHtmlBrowser::GetPageHeight() const
{
    return m_pPage->document ? m_pPage->document->height() : 0;
}

bool CHtmlBrowser::AllowsScrolling() const
{
    if (!m_pPage->document || !m_pPage->document->root())
        return true;
    litehtml::element::ptr pBody = m_pPage->document->root()->select_one("body");
    const char* pszScroll = pBody ? pBody->get_attr("scroll", "") : "";
    return Utf8CompareNoCase(pszScroll ? pszScroll : "", "no") != 0;
}

bool CHtmlBrowser::FindLink(std::string_view strText, RECT* pRect) const
{
    if (!m_pPage->document || !m_pPage->document->root())
        return false;
    for (const litehtml::element::ptr& pLink : m_pPage->document->root()->select_all("a")) {
        litehtml::tstring text;
        pLink->get_text(text);
        litehtml::trim(text);
        if (text != strText)
            continue;
        // An inline link is laid out as boxes within the block that holds its
        // lines; the first box is where a click lands.
        litehtml::position::vector boxes;
        pLink->get_inline_boxes(boxes);
        if (boxes.empty()) {
            *pRect = HtmlBoxRect(pLink->get_placement());
            return true;
        }
        litehtml::element::ptr pBlock = pLink->parent();
        while (pBlock && pBlock->get_display() == litehtml::display_inline && pBlock->parent())
            pBlock = pBlock->parent();
        const litehtml::position origin = pBlock ? pBlock->get_placement() : litehtml::position();
        *pRect = HtmlBoxRect(boxes.front(), origin);
        return true;
    }
    return false;
}

void CHtmlBrowser::Draw(HDC hdc, const RECT& rcClip, int nScrollY)
{
    if (!m_pPage->document)
        return;
    const litehtml::position clip(rcClip.left, rcClip.top, rcClip.right - rcClip.left, rcClip.bottom - rcClip.top);
    m_pPage->container.BeginDraw(hdc);
    m_pPage->document->draw(reinterpret_cast<litehtml::uint_ptr>(hdc), 0, -nScrollY, &clip);
    m_pPage->container.EndDraw();
}

bool CHtmlBrowser::MouseMove(POINT ptPage)
{
    litehtml::position::vector redraw;
    return m_pPage->document && m_pPage->document->on_mouse_over(ptPage.x, ptPage.y, ptPage.x, ptPage.y, redraw);
}

bool CHtmlBrowser::MouseLeave()
{
    litehtml::position::vector redraw;
    m_pPage->container.set_cursor("");
    return m_pPage->document && m_pPage->document->on_mouse_leave(redraw);
}

bool CHtmlBrowser::ButtonDown(POINT ptPage)
{
    litehtml::position::vector redraw;
    return m_pPage->document && m_pPage->document->on_lbutton_down(ptPage.x, ptPage.y, ptPage.x, ptPage.y, redraw);
}

bool CHtmlBrowser::ButtonUp(POINT ptPage, std::optional<CHtmlLink>* pClicked)
{
    litehtml::position::vector redraw;
    const bool bRedraw
        = m_pPage->document && m_pPage->document->on_lbutton_up(ptPage.x, ptPage.y, ptPage.x, ptPage.y, redraw);
    *pClicked = m_pPage->container.TakeClickedLink();
    return bRedraw;
}

bool CHtmlBrowser::IsOverLink() const
{
    return m_pPage->container.IsCursorOnLink();
}
