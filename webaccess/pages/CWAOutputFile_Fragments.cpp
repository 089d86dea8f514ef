// The fixed HTML fragments from which every page of the web access service
// is assembled. The browser-side frame ("parent.applet") and the images under
// "img/" belong to the hosting site; the pages only name them.

#include "webaccess/pages/CWAOutputFile.h"

#include "resources/ResourceIds.h"
#include "webaccess/pages/WebText.h"

#include <span>

namespace {

// The class of a tab or item that links when it has a link attribute.
LPCTSTR LinkClass(LPCTSTR pszLink)
{
    return pszLink != nullptr && *pszLink != '\0' ? "s1" : "s3";
}

CString FormatOptions(std::span<const WA_SEARCH_CHOICE> rows, int nSelected)
{
    CString strOptions;
    for (const WA_SEARCH_CHOICE& row : rows) {
        CString strOption;
        if (row.nNumber == nSelected)
            strOption.Format("<option value='%s' selected>%s</option>", row.pszCode, row.pszLabel);
        else
            strOption.Format("<option value='%s'>%s</option>", row.pszCode, row.pszLabel);
        strOptions += strOption;
    }
    return strOptions;
}

} // namespace

/*************************** Document frame ***************************/

void CWAOutputFile::BeginHtmlBlock(LPCTSTR pszBlock)
{
    CString strText;
    strText.Format("\r\n<#HTML |%s|#>\r\n", pszBlock);
    WriteText(strText);
}

void CWAOutputFile::EndHtmlBlock()
{
    WriteText("\r\n<#/HTML#>\r\n");
}

void CWAOutputFile::WriteHtmlBegin()
{
    WriteText("<html>");
}

void CWAOutputFile::WriteHtmlEnd()
{
    WriteText("</html>");
}

void CWAOutputFile::WriteHeadBegin(LPCTSTR pszTitle)
{
    CString strText;
    strText.Format(
        "<head><title>%s</title><META HTTP-EQUIV='Content-Type' Content='text/html;CHARSET=iso-8859-1'>", pszTitle);
    WriteText(strText);
}

void CWAOutputFile::WriteHeadEnd()
{
    WriteText("</head>");
}

void CWAOutputFile::WriteNoCacheMeta()
{
    WriteText("<META HTTP-EQUIV='Pragma' Content='no-cache'><META HTTP-EQUIV='expires' Content='0'>"
              "<META HTTP-EQUIV='cache-control' Content='no-cache'>");
}

void CWAOutputFile::WriteStyleSheet()
{
    static constexpr char PLAIN[] = "color: #000000; text-decoration: none; font-size: 12px; ";
    static constexpr char SANS_FONT[] = "font-family: MS Sans Serif, Arial, Helvetica, Verdana";
    static constexpr char HOVER[] = "color: #0000FF; text-decoration: underline";
    static constexpr char MENU[] = "text-decoration: none; font-size: 10px; font-weight: normal; "
                                   "font-family: Verdana, Helvetica, sans-serif";
    static constexpr char TITLE[] = "font-size: 10px; font-weight: bold; font-family: Arial, Helvetica, sans-serif";
    CString strStyle = "<style>";
    strStyle += CString(".s1 { ") + PLAIN + SANS_FONT + " }";
    strStyle += CString(".s1:hover { ") + HOVER + " }";
    strStyle += CString(".s2 { ") + PLAIN + "font-weight: bold; " + SANS_FONT + " }";
    strStyle += CString(".s2:hover { ") + HOVER + " }";
    strStyle += CString(".s3 { color: #888888; text-decoration: none; font-size: 12px; ") + SANS_FONT + " }";
    strStyle += ".s4 { color: #000080; text-decoration: underline; font-size: 12px; "
                "font-family: Tahoma, Arial, Helvetica, Verdana }";
    strStyle += ".s5 { color: #000000; text-decoration: none; font-size: 12px; font-weight: bold; "
                "font-family: Tahoma, Arial, Helvetica, Verdana }";
    strStyle += CString(".s6 { color: #000000; ") + MENU + " }";
    strStyle += CString(".s6:hover  { color: #000000; ") + MENU + " }";
    strStyle += CString(".s7 { color: #666666; ") + MENU + " }";
    strStyle += CString(".s7:hover  { color: #666666; ") + MENU + " }";
    strStyle += CString(".s8 { color: #FFFFFF; text-decoration: none; ") + TITLE + " }";
    strStyle += CString(".s9 { color: #FFFFFF; text-decoration: underline; ") + TITLE + " }";
    strStyle += ".s9:hover  { color: #FFCC00 }";
    strStyle += "</style>";
    WriteText(strStyle);
}

void CWAOutputFile::WriteBodyBegin()
{
    WriteText("<body bgcolor='#F3F2E3' text='#000000' leftmargin='0' topmargin='0' marginwidth='0' marginheight='0' "
              "onload='parent.applet.Init()'><table width='100%' border='0' cellspacing='0' cellpadding='0' "
              "align='left'>");
}

void CWAOutputFile::WriteBodyEnd()
{
    WriteText("</table></body>");
}

void CWAOutputFile::WriteRowBegin()
{
    WriteText("<tr><td>");
}

void CWAOutputFile::WriteRowEnd()
{
    WriteText("</td></tr>");
}

void CWAOutputFile::WriteTopBar100()
{
    WriteText("<table width='100%' border='0' cellspacing='0' cellpadding='0'><tr><td width='222'>"
              "<a href='/' target='_top'><img src='img/walogo.gif' alt='WebArchivora Home' width='222' height='78' "
              "border='0'></a></td><td><a href='wabclick.asp?Bpag=0' target='_blank'><img src='wabshow.asp?Bpag=0' "
              "alt='Banner' width='468' height='60' hspace='30' vspace='10' border='0'></a></td></tr></table>");
}

void CWAOutputFile::WriteTopBar780()
{
    WriteText("<table width='780' border='0' cellspacing='0' cellpadding='0' align='center'><tr><td align='center'>"
              "<a href='wabclick.asp?Bpag=1' target='_blank'><img src='wabshow.asp?Bpag=1' alt='Banner' width='468' "
              "height='60' hspace='30' vspace='10' border='0'></a></td></tr></table>");
}

/******************** Title bar, toolbar and search form ********************/

void CWAOutputFile::WriteTitleBar(std::span<const UINT> stringIds, std::span<const CString> links)
{
    WriteText("<table width='1200' border='0' cellspacing='0' cellpadding='0' align='left'><tr bgcolor='#6F7709'>"
              "<td width='780' height='15' align='center'><font face='Verdana, Arial, sans-serif' size='1'>");
    for (size_t i = 0; i < stringIds.size() && i < links.size(); ++i) {
        CString strItem;
        strItem.Format("<img src='img/bull_arrow2.gif' width='8' height='8' hspace='5'><a class='%s' %s>%s</a>&nbsp;",
            links[i].IsEmpty() ? "s8" : "s9", static_cast<LPCTSTR>(links[i]),
            static_cast<LPCTSTR>(LoadText(stringIds[i])));
        WriteText(strItem);
    }
    WriteText("</font></td><td width='420' height='15'><font size='1'>&nbsp;</font></td></tr></table>");
}

void CWAOutputFile::WriteToolbarBegin()
{
    WriteText("<br><table width='1200' border='0' cellspacing='0' cellpadding='0'><tr>");
}

void CWAOutputFile::WriteLoginCell()
{
    WriteText("<td background='img/login_bg.gif' width='170'>&nbsp;</td>");
}

void CWAOutputFile::WriteLoginCellWithView(LPCTSTR pszLink1, LPCTSTR pszLink2)
{
    CString strCell;
    strCell.Format("<td background='img/login_bg.gif' width='170'>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<a %s>"
                   "<img src='img/vieww.gif' width='103' height='20' vspace='5' border='0'></a><br>"
                   "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<a %s><img src='img/viewa.gif' width='103' height='20' border='0'>"
                   "</a><br></td>",
        pszLink1, pszLink2);
    WriteText(strCell);
}

void CWAOutputFile::WriteFillerCell()
{
    WriteText("<td width='530'>&nbsp;</td>");
}

void CWAOutputFile::WriteSearchForm(LPCTSTR pszText, int nMatchMode, int nSearchField)
{
    WriteText("<td width='530'><form name='frm' action='javascript:parent.applet.sch();' method='post'>"
              "<table width='300' border='2' bordercolor='#6F7709' bgcolor='#FFFFFF' cellspacing='0' cellpadding='0'>"
              "<tr><td><table border='0' cellspacing='0' cellpadding='2'><tr>"
              "<td><font face='Arial' size='1' color='#515706'><b>FIND</b></font></td>"
              "<td><font face='Arial' size='1' color='#515706'><b>USING</b></font></td>"
              "<td><font face='Arial' size='1' color='#515706'><b>LOOK IN</b></font></td><td></td></tr><tr>");
    // The search text is escaped so that a quote in it cannot end the attribute.
    CString strPiece;
    strPiece.Format("<td><input name='tx' value='%s' size='20'></td>", static_cast<LPCTSTR>(HtmlEscape(pszText, 1)));
    WriteText(strPiece);
    strPiece.Format("<td><select name='%s' size='1'>", "tp");
    WriteText(strPiece);
    WriteText(FormatOptions(g_waMatchModes, nMatchMode));
    WriteText("</select></td>");
    strPiece.Format("<td><select name='%s' size='1'>", "cm");
    WriteText(strPiece);
    WriteText(FormatOptions(g_waSearchFields, nSearchField));
    WriteText("</select></td>");
    WriteText("<td><a href='javascript:document.frm.submit();'><input type='image' src='img/find.gif' width='18' "
              "height='18' border='0'></a></td></tr></table></td></tr></table></form></td>");
}

void CWAOutputFile::WriteChangeCatalogLink()
{
    WriteText("<td width='80' valign='top'>&nbsp;<a href='seturl.asp?Url=ucatdb.asp' target='_top'>"
              "<img src='img/chcat.gif' width='50' height='50' border='0'></a></td>");
}

void CWAOutputFile::WriteToolbarEnd()
{
    WriteText("<td width='420'>&nbsp;</td></tr></table>");
}

/****************************** Tab strip ******************************/

namespace {

// The seven cells of a strip around the three tab contents.
CString FormatTabStrip(char chLetter, const CString& strTab1, const CString& strTab2, const CString& strTab3)
{
    static constexpr int WIDTHS[7] = { 22, 70, 22, 70, 22, 70, 22 };
    const CString* tabs[3] = { &strTab1, &strTab2, &strTab3 };
    CString strStrip = "<td width='300'><table border='0' cellpadding='0' height='22' cellspacing='0' width='298'>"
                       "<tr align='center' valign='bottom'>";
    for (int i = 0; i < 7; ++i) {
        CString strCell;
        strCell.Format("<td background='img/tab%c%d.gif' width='%d'>%s</td>", chLetter, i + 1, WIDTHS[i],
            i % 2 == 0 ? "&nbsp;" : static_cast<LPCTSTR>(*tabs[i / 2]));
        strStrip += strCell;
    }
    strStrip += "</tr></table></td>";
    return strStrip;
}

CString FormatIcon(LPCTSTR pszIcon)
{
    CString strIcon;
    strIcon.Format("<img src='%s' width='12' height='12' align='bottom' border='0'>", pszIcon);
    return strIcon;
}

CString FormatLinkedTab(LPCTSTR pszClass, LPCTSTR pszLink, LPCTSTR pszIcon, UINT nLabel)
{
    CString strTab;
    if (pszIcon != nullptr)
        strTab.Format("<a class='%s' %s>%s&nbsp;%s</a>", pszClass, pszLink, static_cast<LPCTSTR>(FormatIcon(pszIcon)),
            static_cast<LPCTSTR>(LoadText(nLabel)));
    else
        strTab.Format("<a class='%s' %s>%s</a>", pszClass, pszLink, static_cast<LPCTSTR>(LoadText(nLabel)));
    return strTab;
}

CString FormatCurrentTab(LPCTSTR pszIcon, UINT nLabel)
{
    CString strTab;
    strTab.Format("<img src='%s' width='12' height='12' align='bottom'>&nbsp;<a class='s2'>%s</a>", pszIcon,
        static_cast<LPCTSTR>(LoadText(nLabel)));
    return strTab;
}

CString FormatTabUnderline(std::span<const std::pair<bool, int>> images)
{
    CString strLine = "</tr><tr valign='top'><td width='300'>";
    for (const auto& [bFocus, nWidth] : images) {
        CString strImage;
        strImage.Format("<img src='img/%s.gif' height='8' width='%d'>", bFocus ? "tab_foc" : "tab", nWidth);
        strLine += strImage;
    }
    strLine += "</td><td width='900'><img src='img/tab.gif' height='8' width='900'></td>";
    return strLine;
}

} // namespace

void CWAOutputFile::WriteTabsBegin()
{
    WriteText("<table width='1200' border='0' cellspacing='0' cellpadding='0'><tr>");
}

void CWAOutputFile::WriteTabsFirstActive(LPCTSTR pszLink1, LPCTSTR pszLink2)
{
    WriteText(FormatTabStrip('w', FormatCurrentTab("img/icw1.gif", IDS_WA_TAB_CATALOG),
        FormatLinkedTab(LinkClass(pszLink1), pszLink1, "img/ica2.gif", IDS_WA_TAB_EXPLORER),
        FormatLinkedTab(LinkClass(pszLink2), pszLink2, nullptr, IDS_WA_TAB_UPLOADED)));
}

void CWAOutputFile::WriteTabsSecondActive(LPCTSTR pszLink1, LPCTSTR pszLink2)
{
    WriteText(FormatTabStrip('a', FormatLinkedTab("s1", pszLink1, "img/icw2.gif", IDS_WA_TAB_CATALOG),
        FormatCurrentTab("img/ica1.gif", IDS_WA_TAB_EXPLORER),
        FormatLinkedTab(LinkClass(pszLink2), pszLink2, nullptr, IDS_WA_TAB_UPLOADED)));
}

void CWAOutputFile::WriteTabsThirdActive(LPCTSTR pszLink1, LPCTSTR pszLink2)
{
    CString strCurrent;
    strCurrent.Format("&nbsp;<a class='s2'>%s</a>", static_cast<LPCTSTR>(LoadText(IDS_WA_TAB_UPLOADED)));
    WriteText(FormatTabStrip('u', FormatLinkedTab("s1", pszLink1, "img/icw2.gif", IDS_WA_TAB_CATALOG),
        FormatLinkedTab(LinkClass(pszLink2), pszLink2, "img/ica2.gif", IDS_WA_TAB_EXPLORER), strCurrent));
}

void CWAOutputFile::WriteWideCellBegin()
{
    WriteText("<td width='900' nowrap>");
}

void CWAOutputFile::WriteCellEnd()
{
    WriteText("</td>");
}

void CWAOutputFile::WriteTabsFirstActiveEnd()
{
    static constexpr std::pair<bool, int> IMAGES[] = { { true, 95 }, { false, 205 } };
    WriteText(FormatTabUnderline(IMAGES));
}

void CWAOutputFile::WriteTabsSecondActiveEnd()
{
    static constexpr std::pair<bool, int> IMAGES[] = { { false, 92 }, { true, 95 }, { false, 113 } };
    WriteText(FormatTabUnderline(IMAGES));
}

void CWAOutputFile::WriteTabsThirdActiveEnd()
{
    static constexpr std::pair<bool, int> IMAGES[] = { { false, 184 }, { true, 95 }, { false, 21 } };
    WriteText(FormatTabUnderline(IMAGES));
}

void CWAOutputFile::WriteTabsEnd()
{
    WriteText("</tr></table>");
}

/***************************** Menu layers *****************************/

void CWAOutputFile::WriteMenuItems(BOOL bFirstEnabled, BOOL bPairSelector, LPCTSTR pszItemBegin, LPCTSTR pszItemEnd)
{
    const int nFirst = bPairSelector ? 0 : 2;
    CString strItem;
    if (bFirstEnabled)
        strItem.Format("<a class='s6' href='javascript:parent.applet.MenuItemClick(%d)'>%s</a>", nFirst,
            static_cast<LPCTSTR>(LoadText(IDS_WA_MENU_DOWNLOAD)));
    else
        strItem.Format("<a class='s7'>%s</a>", static_cast<LPCTSTR>(LoadText(IDS_WA_MENU_DOWNLOAD)));
    WriteText(pszItemBegin);
    WriteText(strItem);
    WriteText(pszItemEnd);
    strItem.Format("<a class='s6' href='javascript:parent.applet.MenuItemClick(%d)'>%s</a>", nFirst + 1,
        static_cast<LPCTSTR>(LoadText(IDS_WA_MENU_TIPVIEW)));
    WriteText(pszItemBegin);
    WriteText(strItem);
    WriteText(pszItemEnd);
}

void CWAOutputFile::WriteMenuLayerIE(BOOL bFirstEnabled, BOOL bPairSelector)
{
    WriteText("<div id='MIE' style='Z-INDEX: &quot;10&quot;; position: &quot;absolute&quot;; visibility: "
              "&quot;hidden&quot;; font-weight: &quot;normal&quot;;'><table width='150' border='1' cellspacing='0' "
              "cellpadding='5' bgcolor='#F8F8F8'>");
    WriteMenuItems(bFirstEnabled, bPairSelector,
        "<tr><td onMouseOver='parent.applet.setBgColor( this,&quot;#CCCCCC&quot;)' "
        "onMouseOut='parent.applet.setBgColor(this,&quot;#F8F8F8&quot;)'>",
        "</td></tr>");
    WriteText("</table></div>");
}

void CWAOutputFile::WriteMenuLayerNS(BOOL bFirstEnabled, BOOL bPairSelector)
{
    WriteText("<div id='MN' style='Z-INDEX: 10; position: absolute; visibility: hidden; font-weight: normal;'>"
              "<table width='150' border='1' cellspacing='0' cellpadding='0' bgcolor='#F8F8F8'>");
    WriteMenuItems(bFirstEnabled, bPairSelector,
        "<tr><td><ilayer width='100%'><layer width='100%' onMouseOver='parent.applet.setBgColor( this, "
        "&quot;#CCCCCC&quot;)' onMouseOut='parent.applet.setBgColor( this, &quot;#F8F8F8&quot;)'>",
        "</layer></ilayer></td></tr>");
    WriteText("</table></div>");
}
