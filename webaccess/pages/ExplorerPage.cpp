#include "webaccess/pages/ExplorerPage.h"

#include "resources/ResourceIds.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/ExplorerFileTable.h"
#include "webaccess/pages/WebText.h"

namespace {

constexpr LPCTSTR TABLE_BEGIN = "<table width='1200'border='0'cellspacing='0'cellpadding='0'>";

CString FolderLink(const CString& strPath)
{
    return FormatCommandLink(FormatEdirToken(BackslashToSlash(strPath)));
}

void WriteTitleRow(CWAOutputFile& reply, const CWAExplorerPage& page)
{
    const UINT ids[] = { IDS_WA_TITLE_TIPVIEW, IDS_WA_TITLE_DOWNLOAD, IDS_WA_TITLE_UPLOAD, IDS_WA_TITLE_RELOAD,
        IDS_WA_TITLE_EXPLORER_TREE, IDS_WA_TITLE_LOGOUT };
    const CString links[] = {
        ScriptLink("parent.applet.tipviewHelp()"),
        ScriptLink("parent.applet.downloadHelp()"),
        page.rights.bUpload ? ScriptLink("parent.applet.document.wa.upl2()") : CString(),
        FolderLink(page.strFolder),
        ScriptLink("parent.applet.document.wa.ietr(1)"),
        LogoutLink(),
    };
    reply.WriteRowBegin();
    reply.WriteTitleBar(ids, links);
    reply.WriteRowEnd();
}

CString PathBar(const CWAExplorerPage& page)
{
    CString strBar;
    for (size_t i = 0; i + 1 < page.levels.size(); ++i) {
        strBar += "<a class='s4'" + FolderLink(page.levels[i].strPath) + ">" + HtmlEscape(page.levels[i].strLabel, 1)
            + "</a>&nbsp;<a class='s5'>&#92</a>&nbsp;";
    }
    if (!page.levels.empty())
        strBar += "<a class='s5'>" + HtmlEscape(page.levels.back().strLabel, 1) + "</a>";
    return strBar;
}

void WriteExplorerTabs(CWAOutputFile& reply, const CWAExplorerPage& page, const CString& strPathBar)
{
    const CString strCatalogLink
        = FormatCommandLink(FormatWdirToken(static_cast<int>(page.nBlock), static_cast<int>(page.nSlot)));
    const CString strUploadsLink = page.rights.bUpload ? FormatCommandLink(FormatVuplToken()) : CString();
    reply.WriteTabsBegin();
    reply.WriteTabsSecondActive(strCatalogLink, strUploadsLink);
    reply.WriteWideCellBegin();
    reply.WriteText(strPathBar);
    reply.WriteCellEnd();
    reply.WriteTabsSecondActiveEnd();
    reply.WriteTabsEnd();
}

void WriteExplorerHeaders(CWAOutputFile& reply)
{
    reply.WriteText(TABLE_BEGIN);
    reply.WriteText("<tr><td background='img/fbk_tit.gif'bgcolor='#C0C0C0'width='18'height='20'>&nbsp;</td>");
    const struct {
        int nWidth;
        UINT nId;
        LPCTSTR pszFormat;
    } headers[] = { { 172, IDS_WA_COLUMN_FOLDERS, "%s" }, { 240, IDS_WA_COLUMN_NAME, "&nbsp;&nbsp;&nbsp;%s" },
        { 90, IDS_WA_COLUMN_SIZE, "%s&nbsp;&nbsp;" }, { 870, IDS_WA_COLUMN_DATE, "&nbsp;&nbsp;%s" } };
    for (const auto& header : headers) {
        CString strLabel;
        strLabel.Format(header.pszFormat, static_cast<LPCTSTR>(HtmlEscape(LoadText(header.nId), 1)));
        CString strCell;
        strCell.Format("<td background='img/fbk_tit.gif'bgcolor='#C0C0C0'width='%d'height='20'%s><a "
                       "class='s2'>%s</a></td>",
            header.nWidth, header.nWidth == 90 ? "align='right'" : "", static_cast<LPCTSTR>(strLabel));
        reply.WriteText(strCell);
    }
    reply.WriteText("</tr></table>");
}

void WriteFolderTreeColumn(CWAOutputFile& reply, const CWAExplorerPage& page)
{
    reply.WriteText("<td background='img/gbk_end.gif'width='200'valign='top'><table width='200'border='0'"
                    "cellspacing='0'cellpadding='0'>");
    for (int i = 0; i < static_cast<int>(page.siblings.size()); ++i) {
        LPCTSTR pszKind = "";
        LPCTSTR pszIcon = "img/fld.gif";
        LPCTSTR pszClass = "s1";
        LPCTSTR pszRight = "img/gbkr.gif";
        if (i + 1 == page.nCurrent) {
            pszKind = "_pre";
            pszRight = "img/gbkr_pre.gif";
        } else if (i == page.nCurrent) {
            pszKind = "_foc";
            pszIcon = "img/fld_foc.gif";
            pszClass = "s2";
            pszRight = "img/gbkr_foc.gif";
        } else if (i == page.nCurrent + 1) {
            pszKind = "_pos";
        }
        CString strRow;
        strRow.Format("<tr><td background='img/gbkl%s.gif'width='18'height='26'>&nbsp;&nbsp;&nbsp;&nbsp;</td>"
                      "<td background='img/gbk%s.gif'width='175'height='26'valign='middle'><a class='%s'%s><img "
                      "border='0'src='%s'width='16'height='16'align='texttop'>&nbsp;%s</a></td>"
                      "<td background='%s'width='7'height='26'>&nbsp;</td></tr>",
            pszKind, pszKind, pszClass, static_cast<LPCTSTR>(FolderLink(page.siblings[i].strPath)), pszIcon,
            static_cast<LPCTSTR>(HtmlEscape(page.siblings[i].strLabel, 1)), pszRight);
        reply.WriteText(strRow);
    }
    reply.WriteText("</table></td>");
}

void WriteExplorerFileColumn(CWAOutputFile& reply, const CWAExplorerPage& page)
{
    reply.WriteText("<td width='1000'valign='top'><table width='1000'border='0'cellspacing='0'cellpadding='0'>");
    if (!page.strParent.IsEmpty())
        WriteExplorerFileRow(reply, "img/fld_up.gif", FolderLink(page.strParent), "..", "", "");
    for (const CWAExplorerItem& item : page.items) {
        if (item.bFolder)
            WriteExplorerFileRow(reply, "img/fld.gif", FolderLink(item.strPath), item.strName, "", "");
        else
            WriteExplorerFileRow(reply, "img/file.gif", FileMenuLink(item.strPath, page.rights.bNetscape), item.strName,
                FormatDocumentSize(item.facts), FormatDocumentDate(item.facts));
    }
    WriteExplorerFiller(reply, static_cast<int>(page.items.size()));
    reply.WriteText("</table></td>");
}

} // namespace

void WriteExplorerPage(CWAOutputFile& reply, const CWAExplorerPage& page)
{
    const CString strPathBar = PathBar(page);
    WriteCatalogPageHead(reply, "WebArchivora");
    WriteTitleRow(reply, page);
    reply.WriteRowBegin();
    WriteFilesToolbar(reply);
    WriteExplorerTabs(reply, page, strPathBar);
    WriteExplorerHeaders(reply);
    reply.WriteText(TABLE_BEGIN);
    reply.WriteText("<tr>");
    WriteFolderTreeColumn(reply, page);
    WriteExplorerFileColumn(reply, page);
    reply.WriteText("</tr></table>");
    reply.WriteText(FILES_SEPARATOR);
    reply.WriteRowEnd();
    CString strCount;
    strCount.Format(
        LoadText(IDS_WA_ITEM_COUNT), static_cast<int>(page.items.size()), static_cast<int>(page.items.size()));
    reply.WriteRowBegin();
    reply.WriteText(TABLE_BEGIN);
    reply.WriteText("<tr><td height='20'>&nbsp;&nbsp;" + strPathBar + "</td></tr><tr><td height='20'>&nbsp;&nbsp;"
        + "<a class='s1'>" + HtmlEscape(strCount, 1) + "</a></td></tr></table>");
    reply.WriteRowEnd();
    WriteFilesPageEnd(reply, page.rights);
}
