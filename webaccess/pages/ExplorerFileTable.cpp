#include "webaccess/pages/ExplorerFileTable.h"

#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/CatalogPageFrame.h"
#include "webaccess/pages/WebText.h"

namespace {

constexpr int FULL_TABLE_ROWS = 20;
constexpr int ROW_HEIGHT = 20;

} // namespace

CString FileMenuLink(LPCTSTR pszPath, bool bNetscape)
{
    CString strLink;
    strLink.Format("href='javascript:parent.applet.ShowMenuExp(&quot;%s&quot;,&quot;%s&quot;);' %s",
        bNetscape ? "MN" : "MIE", static_cast<LPCTSTR>(ScriptStringText(BackslashToSlash(pszPath))), NO_STATUS_LINK);
    return strLink;
}

void WriteExplorerFileRow(
    CWAOutputFile& reply, LPCTSTR pszIcon, LPCTSTR pszLink, LPCTSTR pszName, LPCTSTR pszSize, LPCTSTR pszDate)
{
    CString strRow;
    strRow.Format("<tr><td background='img/fbk_dark.gif'bgcolor='#E0E0E0'width='240'height='20'>&nbsp;<a class='s1'%s>"
                  "<img align='absmiddle'border='0'src='%s'width='16'height='16'>&nbsp;%s</a></td>"
                  "<td background='img/fbk_lite.gif'bgcolor='#F0F0F0'width='90'height='20'align='right'>"
                  "<a class='s1'>%s</a>&nbsp;&nbsp;</td>"
                  "<td background='img/fbk_lite.gif'bgcolor='#F0F0F0'width='870'height='20'>&nbsp;&nbsp;"
                  "<a class='s1'>%s</a></td></tr>",
        pszLink, pszIcon, static_cast<LPCTSTR>(HtmlEscape(pszName, 1)), pszSize, pszDate);
    reply.WriteText(strRow);
}

void WriteExplorerFiller(CWAOutputFile& reply, int nListed)
{
    if (nListed >= FULL_TABLE_ROWS)
        return;
    const int nHeight = (FULL_TABLE_ROWS - nListed) * ROW_HEIGHT;
    CString strFiller;
    strFiller.Format("<tr><td bgcolor='#E0E0E0'width='240'height='%d'>&nbsp;</td><td bgcolor='#F0F0F0'width='90'"
                     "height='%d'>&nbsp;</td><td bgcolor='#F0F0F0'width='870'height='%d'>&nbsp;</td></tr>",
        nHeight, nHeight, nHeight);
    reply.WriteText(strFiller);
}
