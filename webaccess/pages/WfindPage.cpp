#include "webaccess/pages/WfindPage.h"

#include "resources/ResourceIds.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/WebText.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr char PREV_LINK[] = "<a href='javascript:parent.applet.document.wa.snd(&quot;&lt;#PAGE |%d|#&gt;&quot;);'  "
                             "onmouseover='self.status=&quot;&quot;;return true'>[&lt;&lt;Prev]</a>";
constexpr char NUMBER_LINK[] = "&nbsp;<a href='javascript:parent.applet.document.wa.snd(&quot;&lt;#PAGE "
                               "|%d|#&gt;&quot;);'  onmouseover='self.status=&quot;&quot;;return true'>%d</a>";
constexpr char NEXT_LINK[]
    = "&nbsp;<a href='javascript:parent.applet.document.wa.snd(&quot;&lt;#PAGE |%d|#&gt;&quot;);' "
      "onmouseover='self.status=&quot;&quot;;return true'>[Next&gt;&gt;]</a>";

CString PageLink(int nPage, LPCTSTR pszFormat)
{
    CString strLink;
    strLink.Format(pszFormat, nPage, nPage);
    return strLink;
}

CWAToolbar SearchToolbar(const CWAWfindPage& page)
{
    CWAToolbar toolbar;
    toolbar.bViewLinks = true;
    toolbar.strGroupLink
        = FormatCommandLink(FormatWdirToken(static_cast<int>(page.nBlock), static_cast<int>(page.nSlot)));
    if (page.rights.bExplorer)
        toolbar.strExplorerLink = FormatCommandLink(FormatEdirToken(page.strFolder));
    toolbar.strSearchText = page.strSearchText;
    toolbar.nMatchMode = page.nMatchMode;
    toolbar.nSearchField = page.nSearchField;
    return toolbar;
}

// One result: its number, state, menu link and path, then its description,
// size and date.
CString ResultItem(const CWADocumentRow& document, int nNumber, bool bNetscape)
{
    CString strItem;
    strItem.Format("<li type='1' value='%d'>", nNumber);
    if (LPCTSTR pszState = DocumentStateIcon(document))
        strItem += CString("<img border='0'src='") + pszState + "'width='16'height='16'>";
    CString strLine;
    strLine.Format("<a %s><img align='absmiddle'border='0'src='%s'width='16'height='16'>&nbsp;<b><u>%s</u></b></a><br>",
        static_cast<LPCTSTR>(DocumentMenuLink(document, bNetscape)), DocumentIcon(document),
        static_cast<LPCTSTR>(HtmlEscape(document.strName, 1)));
    strItem += strLine;
    const std::array<std::pair<UINT, CString>, 3> lines {
        { { IDS_WA_COLUMN_DESCRIPTION, HtmlEscape(document.strText, 1) },
            { IDS_WA_COLUMN_SIZE, FormatDocumentSize(document) }, { IDS_WA_COLUMN_DATE, FormatDocumentDate(document) } }
    };
    for (const auto& [nLabel, strValue] : lines) {
        strLine.Format("<b>%s: </b>%s<br>", static_cast<LPCTSTR>(LoadText(nLabel)), static_cast<LPCTSTR>(strValue));
        strItem += strLine;
    }
    return strItem + "</li>";
}

// Links to the previous and the next page and to up to four pages on each
// side, more on one side when the other has fewer.
void WritePageLinks(CWAOutputFile& reply, int nPage, int nPages)
{
    constexpr int AROUND = 4;
    CString strLinks = "<font size='2' face='verdana,arial'>&nbsp;&nbsp;Result Pages: &nbsp;";
    const int nAfter = nPages - nPage;
    int nBefore = 0;
    if (nPage > 1) {
        strLinks += PageLink(nPage - 1, PREV_LINK);
        nBefore = std::min(nPage - 1, AROUND + std::max(0, AROUND - nAfter));
        for (int i = nPage - nBefore; i < nPage; ++i)
            strLinks += PageLink(i, NUMBER_LINK);
    }
    CString strCurrent;
    strCurrent.Format("&nbsp;<b>%d</b></a>", nPage);
    strLinks += strCurrent;
    if (nPage < nPages) {
        const int nShownAfter = std::min(nAfter, AROUND + std::max(0, AROUND - nBefore));
        for (int i = nPage + 1; i <= nPage + nShownAfter; ++i)
            strLinks += PageLink(i, NUMBER_LINK);
        strLinks += PageLink(nPage + 1, NEXT_LINK);
    }
    reply.WriteText(strLinks + "</font>");
}

} // namespace

void WriteWfindPage(CWAOutputFile& reply, const CWAWfindPage& page)
{
    WriteCatalogPageHead(reply, "WebArchivora Find");
    WriteCatalogTitleRow(reply, page.rights, nullptr);
    WriteCatalogToolbarRow(reply, SearchToolbar(page));

    CString strCount;
    strCount.Format(LoadText(IDS_WA_ITEM_COUNT), static_cast<int>(page.results.size()), page.nTotal);
    const CString strCountLine
        = "<table width='100%' border='0' cellspacing='0' cellpadding='3'><tr><td width='2'>&nbsp;</td>"
          "<td bgcolor='#6F7709'><font face='Arial, Helvetica, sans-serif' size='2' color='#FFFFFF'>"
        + HtmlEscape(strCount, 1) + "</font></td><td width='2'>&nbsp;</td></tr></table>";
    reply.WriteText("<table width='95%' border='2' cellspacing='0' cellpadding='0' bordercolor='#515706' "
                    "bgcolor='#FFFFFF' align='center'><tr><td valign='top' align='left'><img src='img/findres.gif' "
                    "width='94' height='48' hspace='15' vspace='3'><br>");
    reply.WriteText(strCountLine);
    reply.WriteText("<ol start='1'><font size='2' face='verdana,arial'>");
    for (size_t i = 0; i < page.results.size(); ++i)
        reply.WriteText(ResultItem(page.results[i], page.nFirst + static_cast<int>(i) + 1, page.rights.bNetscape));
    reply.WriteText("</font></ol>");
    WritePageLinks(reply, page.nPage, page.nPages);
    reply.WriteText(strCountLine);
    reply.WriteText("<br></td></tr></table>");
    WriteCatalogPageEnd(reply, page.rights);
}
