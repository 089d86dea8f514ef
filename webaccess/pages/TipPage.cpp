#include "webaccess/pages/TipPage.h"

#include "resources/ResourceIds.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/WebText.h"

namespace {

void WriteLabel(CWAOutputFile& reply, UINT nId)
{
    reply.WriteText("<font face='Arial, Helvetica, sans-serif' size='2' color='#515706'><b>");
    reply.WriteText(LoadText(nId));
    reply.WriteText("</b></font><br>");
}

// An escaped value, without the "<br>" tags its trailing line feeds became.
void WriteValue(CWAOutputFile& reply, CString strValue)
{
    while (strValue.Right(4) == "<br>")
        strValue = strValue.Left(strValue.GetLength() - 4);
    reply.WriteText("<font face='Arial, Helvetica, sans-serif' size='2'>");
    reply.WriteText(strValue);
    reply.WriteText("</font><br><br>");
}

} // namespace

void WriteTipPage(CWAOutputFile& reply, const CWATipPage& page)
{
    reply.BeginHtmlBlock(page.bPicture ? "tipimage" : "tipview");
    reply.WriteHtmlBegin();
    reply.WriteHeadBegin("Tip View");
    reply.WriteNoCacheMeta();
    reply.WriteHeadEnd();
    reply.WriteText("<body bgcolor='#F3F2E3'><table width='100%' border='0' cellspacing='0' cellpadding='0'><tr><td>"
                    "<img src='img/tipview.gif' width='110' height='55'><br>");
    WriteLabel(reply, IDS_WA_TIP_PATH);
    WriteValue(reply, HtmlEscape(page.strPath, TRUE));
    WriteLabel(reply, IDS_WA_TIP_TYPE);
    WriteValue(reply, HtmlEscape(page.strType, TRUE));
    if (page.bDocument) {
        WriteLabel(reply, IDS_WA_TIP_DESCRIPTION);
        WriteValue(reply, HtmlEscape(page.strLocation, FALSE));
    }
    WriteLabel(reply, IDS_WA_TIP_CONTENT);
    reply.WriteText("<table width='100%' border='1' cellspacing='0' cellpadding='8' bgcolor='#FFFFFF' "
                    "bordercolor='#515706'><tr>");
    if (page.bPicture) {
        reply.WriteText("<td align='center' valign='middle'><img src='<#imgsrc#>'></td>");
    } else {
        reply.WriteText("<td><font face='Arial, Helvetica, sans-serif' size='2'>");
        reply.WriteText(HtmlEscape(page.strText, FALSE));
        reply.WriteText("</font></td>");
    }
    reply.WriteText("</tr></table><br>");
    CString strStatus;
    strStatus.Format(
        "<font face='Arial, Helvetica, sans-serif' size='1'><font color='#515706'>Status - </font>%s</font>",
        static_cast<LPCTSTR>(HtmlEscape(LoadText(page.nStatusId), TRUE)));
    reply.WriteText(strStatus);
    reply.WriteText("</td></tr></table><div align='center'><a href='javascript:window.close()'>"
                    "<img src='img/close.gif' width='60' height='18' border='0'></a></div></body>");
    reply.WriteHtmlEnd();
    reply.EndHtmlBlock();
}
