#include "webaccess/pages/UploadsPage.h"

#include "resources/ResourceIds.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/WebText.h"

namespace {

constexpr int FULL_TABLE_ROWS = 20; // Fewer rows get a filler below them
constexpr int ROW_HEIGHT = 20;
constexpr LPCTSTR TABLE_BEGIN = "<table width='1200'border='0'cellspacing='0'cellpadding='0'>";

void WriteTitleRow(CWAOutputFile& reply)
{
    // Uploading is offered here whatever the profile: the server refuses it
    // when the profile does not allow it.
    const UINT ids[] = { IDS_WA_TITLE_TIPVIEW, IDS_WA_TITLE_DOWNLOAD, IDS_WA_TITLE_UPLOAD, IDS_WA_TITLE_RELOAD,
        IDS_WA_TITLE_LOGOUT };
    const CString links[] = {
        ScriptLink("parent.applet.tipviewHelp()"),
        ScriptLink("parent.applet.downloadHelp()"),
        ScriptLink("parent.applet.document.wa.upl2()"),
        FormatCommandLink(FormatVuplToken()),
        LogoutLink(),
    };
    reply.WriteRowBegin();
    reply.WriteTitleBar(ids, links);
    reply.WriteRowEnd();
}

void WriteTabs(CWAOutputFile& reply, const CWAUploadsPage& page)
{
    const CString strCatalogLink
        = FormatCommandLink(FormatWdirToken(static_cast<int>(page.nBlock), static_cast<int>(page.nSlot)));
    const CString strExplorerLink
        = page.rights.bExplorer ? FormatCommandLink(FormatEdirToken(BackslashToSlash(page.strFolder))) : CString();
    reply.WriteTabsBegin();
    reply.WriteTabsThirdActive(strCatalogLink, strExplorerLink);
    reply.WriteWideCellBegin();
    reply.WriteText("&nbsp;");
    reply.WriteCellEnd();
    reply.WriteTabsThirdActiveEnd();
    reply.WriteTabsEnd();
}

void WriteHeaders(CWAOutputFile& reply)
{
    CString strCells;
    strCells.Format("<tr><td background='img/fbk_tit.gif'bgcolor='#C0C0C0'width='240'height='20'>"
                    "<a class='s2'>&nbsp;&nbsp;&nbsp;%s</a></td>"
                    "<td background='img/fbk_tit.gif'bgcolor='#C0C0C0'width='90'height='20'align='right'>"
                    "<a class='s2'>%s&nbsp;&nbsp;</a></td>"
                    "<td background='img/fbk_tit.gif'bgcolor='#C0C0C0'width='870'height='20'>"
                    "<a class='s2'>&nbsp;&nbsp;%s</a></td></tr>",
        static_cast<LPCTSTR>(HtmlEscape(LoadText(IDS_WA_COLUMN_NAME), 1)),
        static_cast<LPCTSTR>(HtmlEscape(LoadText(IDS_WA_COLUMN_SIZE), 1)),
        static_cast<LPCTSTR>(HtmlEscape(LoadText(IDS_WA_COLUMN_DATE), 1)));
    reply.WriteText(TABLE_BEGIN);
    reply.WriteText(strCells);
    reply.WriteText("</table>");
}

void WriteFileRow(CWAOutputFile& reply, const CWAUploadedFile& file, bool bNetscape)
{
    CString strRow;
    strRow.Format("<tr><td background='img/fbk_dark.gif'bgcolor='#E0E0E0'width='240'height='20'>&nbsp;<a class='s1'%s>"
                  "<img align='absmiddle'border='0'src='img/file.gif'width='16'height='16'>&nbsp;%s</a></td>"
                  "<td background='img/fbk_lite.gif'bgcolor='#F0F0F0'width='90'height='20'align='right'>"
                  "<a class='s1'>%s</a>&nbsp;&nbsp;</td>"
                  "<td background='img/fbk_lite.gif'bgcolor='#F0F0F0'width='870'height='20'>&nbsp;&nbsp;"
                  "<a class='s1'>%s</a></td></tr>",
        static_cast<LPCTSTR>(FileMenuLink(file.strPath, bNetscape)), static_cast<LPCTSTR>(HtmlEscape(file.strName, 1)),
        static_cast<LPCTSTR>(FormatDocumentSize(file.facts)), static_cast<LPCTSTR>(FormatDocumentDate(file.facts)));
    reply.WriteText(strRow);
}

void WriteFileTable(CWAOutputFile& reply, const CWAUploadsPage& page)
{
    reply.WriteText(TABLE_BEGIN);
    for (const CWAUploadedFile& file : page.files)
        WriteFileRow(reply, file, page.rights.bNetscape);
    const int nListed = static_cast<int>(page.files.size());
    if (nListed < FULL_TABLE_ROWS) {
        const int nHeight = (FULL_TABLE_ROWS - nListed) * ROW_HEIGHT;
        CString strFiller;
        strFiller.Format("<tr><td bgcolor='#E0E0E0'width='240'height='%d'>&nbsp;</td><td bgcolor='#F0F0F0'width='90'"
                         "height='%d'>&nbsp;</td><td bgcolor='#F0F0F0'width='870'height='%d'>&nbsp;</td></tr>",
            nHeight, nHeight, nHeight);
        reply.WriteText(strFiller);
    }
    reply.WriteText("</table>");
}

void WriteCountRow(CWAOutputFile& reply, int nCount)
{
    CString strCount;
    strCount.Format(LoadText(IDS_WA_ITEM_COUNT), nCount, nCount);
    CString strRow;
    strRow.Format("%s<tr><td height='20'>&nbsp;&nbsp;<a class='s1'>%s</a></td></tr></table>", TABLE_BEGIN,
        static_cast<LPCTSTR>(HtmlEscape(strCount, 1)));
    reply.WriteRowBegin();
    reply.WriteText(strRow);
    reply.WriteRowEnd();
}

} // namespace

CString FileMenuLink(LPCTSTR pszPath, bool bNetscape)
{
    CString strLink;
    strLink.Format("href='javascript:parent.applet.ShowMenuExp(&quot;%s&quot;,&quot;%s&quot;);' %s",
        bNetscape ? "MN" : "MIE", static_cast<LPCTSTR>(ScriptStringText(BackslashToSlash(pszPath))), NO_STATUS_LINK);
    return strLink;
}

void WriteUploadsPage(CWAOutputFile& reply, const CWAUploadsPage& page)
{
    WriteCatalogPageHead(reply, "WebArchivora");
    WriteTitleRow(reply);
    reply.WriteRowBegin();
    reply.WriteToolbarBegin();
    reply.WriteLoginCell();
    reply.WriteFillerCell();
    reply.WriteChangeCatalogLink();
    reply.WriteToolbarEnd();
    WriteTabs(reply, page);
    WriteHeaders(reply);
    WriteFileTable(reply, page);
    reply.WriteText("<table width='1200'border='1'cellspacing='0'cellpadding='0'><tr><td height='1'><font></font>"
                    "</td></tr></table>");
    reply.WriteRowEnd();
    WriteCountRow(reply, static_cast<int>(page.files.size()));
    WriteFilesPageEnd(reply, page.rights);
}
