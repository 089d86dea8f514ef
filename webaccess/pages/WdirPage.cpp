#include "webaccess/pages/WdirPage.h"

#include "resources/ResourceIds.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/WebText.h"

#include <string>

namespace {

constexpr int FULL_LISTING_ROWS = 20;
constexpr int ROW_HEIGHT = 20;

CString GroupLink(const CWAGroupItem& group)
{
    return FormatCommandLink(FormatWdirToken(static_cast<int>(group.nBlock), static_cast<int>(group.nSlot)));
}

// The ancestors as links, then the group's own name.
CString PathLine(const CWAWdirPage& page)
{
    CString strLine;
    for (const CWAGroupItem& ancestor : page.path) {
        CString strStep;
        strStep.Format("<a class='s4'%s>%s</a>&nbsp;<a class='s5'>&#62</a>&nbsp;",
            static_cast<LPCTSTR>(GroupLink(ancestor)), static_cast<LPCTSTR>(HtmlEscape(ancestor.strName, 1)));
        strLine += strStep;
    }
    CString strOwn;
    strOwn.Format("<a class='s5'>%s</a>", static_cast<LPCTSTR>(HtmlEscape(page.group.strName, 1)));
    return strLine + strOwn;
}

void WriteTabsRow(CWAOutputFile& reply, const CWAWdirPage& page, const CString& strPathLine)
{
    const CString strExplorerLink
        = page.rights.bExplorer ? FormatCommandLink(FormatEdirToken(BackslashToSlash(page.strFolder))) : CString();
    const CString strUploadsLink = page.rights.bUpload ? FormatCommandLink(FormatVuplToken()) : CString();
    reply.WriteRowBegin();
    reply.WriteTabsBegin();
    reply.WriteTabsFirstActive(strExplorerLink, strUploadsLink);
    reply.WriteWideCellBegin();
    reply.WriteText(strPathLine);
    reply.WriteCellEnd();
    reply.WriteTabsFirstActiveEnd();
    reply.WriteTabsEnd();
    reply.WriteRowEnd();
}

void WriteColumnHeaders(CWAOutputFile& reply)
{
    reply.WriteRowBegin();
    reply.WriteText("<table width='1200'border='0'cellspacing='0'cellpadding='0'><tr>"
                    "<td background='img/fbk_tit.gif'bgcolor='#C0C0C0'width='18'>&nbsp;</td>");
    const struct {
        int nWidth;
        UINT nId;
        LPCTSTR pszAlign;
    } headers[]
        = { { 192, IDS_WA_COLUMN_GROUPS, "" }, { 240, IDS_WA_COLUMN_NAME, "" }, { 240, IDS_WA_COLUMN_DESCRIPTION, "" },
              { 90, IDS_WA_COLUMN_SIZE, "align='right'" }, { 410, IDS_WA_COLUMN_DATE, "" } };
    for (const auto& header : headers) {
        CString strCell;
        strCell.Format("<td background='img/fbk_tit.gif'bgcolor='#C0C0C0'width='%d'%s><a class='s2'>%s</a></td>",
            header.nWidth, header.pszAlign, static_cast<LPCTSTR>(HtmlEscape(LoadText(header.nId), 1)));
        reply.WriteText(strCell);
    }
    reply.WriteText("</tr></table>");
    reply.WriteRowEnd();
}

// The left column: the groups beside the shown one, the shown one and its
// neighbours drawn apart.
void WriteGroupColumn(CWAOutputFile& reply, const CWAWdirPage& page)
{
    reply.WriteText("<td background='img/gbk_end.gif'width='200'valign='top'><table "
                    "width='200'border='0'cellspacing='0'cellpadding='0'>");
    const int nFocus = page.nFocus;
    for (size_t i = 0; i < page.beside.size(); ++i) {
        const int nIndex = static_cast<int>(i);
        LPCTSTR pszLeft = "img/gbkl.gif";
        LPCTSTR pszMiddle = "img/gbk.gif";
        LPCTSTR pszIcon = "img/grp.gif";
        LPCTSTR pszClass = "s1";
        LPCTSTR pszRight = "img/gbkr.gif";
        if (nFocus >= 0 && nIndex == nFocus - 1) {
            pszLeft = "img/gbkl_pre.gif";
            pszMiddle = "img/gbk_pre.gif";
            pszRight = "img/gbkr_pre.gif";
        } else if (nIndex == nFocus) {
            pszLeft = "img/gbkl_foc.gif";
            pszMiddle = "img/gbk_foc.gif";
            pszIcon = "img/grp_foc.gif";
            pszClass = "s2";
            pszRight = "img/gbkr_foc.gif";
        } else if (nFocus >= 0 && nIndex == nFocus + 1) {
            pszLeft = "img/gbkl_pos.gif";
            pszMiddle = "img/gbk_pos.gif";
        }
        CString strRow;
        strRow.Format("<tr><td background='%s'width='18'height='26'>&nbsp;&nbsp;&nbsp;&nbsp;</td>"
                      "<td background='%s'width='175'height='26'valign='middle'><a class='%s'%s><img border='0'src='%s'"
                      "width='16'height='16'align='texttop'>&nbsp;%s</a></td>"
                      "<td background='%s'width='7'height='26'>&nbsp;</td></tr>",
            pszLeft, pszMiddle, pszClass, static_cast<LPCTSTR>(GroupLink(page.beside[i])), pszIcon,
            static_cast<LPCTSTR>(HtmlEscape(page.beside[i].strName, 1)), pszRight);
        reply.WriteText(strRow);
    }
    reply.WriteText("</table></td>");
}

// Pages of large groups hold thousands of rows: they are built by appending
// rather than formatting.
void WriteListingRow(CWAOutputFile& reply, LPCTSTR pszStateIcon, const CString& strLink, LPCTSTR pszIcon,
    const CString& strFirst, const CString& strSecond, const CString& strSize, const CString& strDate)
{
    std::string strRow;
    strRow.reserve(1024);
    strRow += "<tr><td background='img/fbk_dark.gif'bgcolor='#E0E0E0'width='20'height='20'align='center'>";
    if (pszStateIcon != nullptr)
        strRow.append("<img border='0'src='").append(pszStateIcon).append("'width='16'height='16'>");
    else
        strRow += "&nbsp;";
    strRow.append("</td><td background='img/fbk_dark.gif'bgcolor='#E0E0E0'width='240'height='20'>&nbsp;<a class='s1'")
        .append(static_cast<LPCTSTR>(strLink))
        .append("><img align='absmiddle'border='0'src='")
        .append(pszIcon)
        .append("'width='16'height='16'>&nbsp;")
        .append(static_cast<LPCTSTR>(HtmlEscape(strFirst, 1)))
        .append(
            "</a></td><td background='img/fbk_lite.gif'bgcolor='#F0F0F0'width='240'height='20'>&nbsp;<a class='s1'>")
        .append(static_cast<LPCTSTR>(HtmlEscape(strSecond, 1)))
        .append("</a></td><td background='img/fbk_lite.gif'bgcolor='#F0F0F0'width='90'height='20'align='right'>"
                "<a class='s1'>")
        .append(static_cast<LPCTSTR>(strSize))
        .append("</a>&nbsp;&nbsp;</td><td background='img/fbk_lite.gif'bgcolor='#F0F0F0'width='410'height='20'>"
                "&nbsp;&nbsp;<a class='s1'>")
        .append(static_cast<LPCTSTR>(strDate))
        .append("</a></td></tr>");
    static_cast<void>(reply.Write(strRow.data(), static_cast<UINT>(strRow.size())));
}

// The listing: the up row, the sub-groups, the documents, and a filler that
// keeps a short listing twenty rows high.
void WriteListing(CWAOutputFile& reply, const CWAWdirPage& page)
{
    reply.WriteText("<td width='1000'valign='top'><table width='1000'border='0'cellspacing='0'cellpadding='0'>");
    if (page.bUpRow)
        WriteListingRow(reply, nullptr, GroupLink(page.parent), "img/grp_up.gif", "..", "", "", "");
    for (const CWAGroupItem& group : page.groups)
        WriteListingRow(reply, nullptr, GroupLink(group), "img/grp.gif", group.strName, group.strInfo, "", "");
    for (const CWADocumentRow& document : page.documents) {
        WriteListingRow(reply, DocumentStateIcon(document), DocumentMenuLink(document, page.rights.bNetscape),
            DocumentIcon(document), document.strName, document.strText, FormatDocumentSize(document),
            FormatDocumentDate(document));
    }
    const int nListed = static_cast<int>(page.groups.size() + page.documents.size());
    if (nListed < FULL_LISTING_ROWS) {
        const int nHeight = (FULL_LISTING_ROWS - nListed) * ROW_HEIGHT;
        CString strFiller;
        strFiller.Format(
            "<tr><td bgcolor='#E0E0E0'width='20'height='%d'>&nbsp;</td><td bgcolor='#E0E0E0'width='240'height='%d'>"
            "&nbsp;</td><td bgcolor='#F0F0F0'width='240'height='%d'>&nbsp;</td><td bgcolor='#F0F0F0'width='90'"
            "height='%d'>&nbsp;</td><td bgcolor='#F0F0F0'width='410'height='%d'>&nbsp;</td></tr>",
            nHeight, nHeight, nHeight, nHeight, nHeight);
        reply.WriteText(strFiller);
    }
    reply.WriteText("</table></td>");
}

void WriteCountRow(CWAOutputFile& reply, const CWAWdirPage& page, const CString& strPathLine)
{
    CString strCount;
    strCount.Format(LoadText(IDS_WA_ITEM_COUNT), page.nCount, page.nCount);
    CString strPathRow;
    strPathRow.Format(
        "<table width='1200'border='0'cellspacing='0'cellpadding='0'><tr><td height='20'>&nbsp;&nbsp;%s</td></tr>"
        "<tr><td height='20'>&nbsp;&nbsp;<a class='s1'>%s</a></td></tr></table>",
        static_cast<LPCTSTR>(strPathLine), static_cast<LPCTSTR>(HtmlEscape(strCount, 1)));
    reply.WriteRowBegin();
    reply.WriteText(strPathRow);
    reply.WriteRowEnd();
}

} // namespace

void WriteWdirPage(CWAOutputFile& reply, const CWAWdirPage& page)
{
    WriteCatalogPageHead(reply, "WebArchivora");
    WriteCatalogTitleRow(reply, page.rights, GroupLink(page.group));
    WriteCatalogToolbarRow(reply, CWAToolbar {});
    const CString strPathLine = PathLine(page);
    WriteTabsRow(reply, page, strPathLine);
    WriteColumnHeaders(reply);

    reply.WriteRowBegin();
    reply.WriteText("<table width='1200'border='0'cellspacing='0'cellpadding='0'><tr>");
    WriteGroupColumn(reply, page);
    WriteListing(reply, page);
    reply.WriteText("</tr></table>");
    reply.WriteText("<table width='1200'border='1'cellspacing='0'cellpadding='0'><tr><td "
                    "height='1'><font></font></td></tr></table>");
    reply.WriteRowEnd();

    WriteCountRow(reply, page, strPathLine);
    WriteCatalogPageEnd(reply, page.rights);
}
