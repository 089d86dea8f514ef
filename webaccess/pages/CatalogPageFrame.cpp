#include "webaccess/pages/CatalogPageFrame.h"

#include "resources/ResourceIds.h"
#include "webaccess/pages/CWAOutputFile.h"

#include <vector>

CString ScriptLink(LPCTSTR pszCall)
{
    CString strLink;
    strLink.Format("href='javascript:%s;'%s", pszCall, NO_STATUS_LINK);
    return strLink;
}

CString LogoutLink()
{
    return CString("href='seturl.asp?Url=lthanks.asp'target='_top'") + NO_STATUS_LINK;
}

void WriteCatalogPageHead(CWAOutputFile& reply, LPCTSTR pszTitle)
{
    reply.BeginHtmlBlock("files");
    reply.WriteHtmlBegin();
    reply.WriteHeadBegin(pszTitle);
    reply.WriteStyleSheet();
    reply.WriteHeadEnd();
    reply.WriteBodyBegin();
    reply.WriteRowBegin();
    reply.WriteTopBar100();
    reply.WriteRowEnd();
}

void WriteCatalogTitleRow(CWAOutputFile& reply, const CWAPageRights& rights, LPCTSTR pszReloadLink)
{
    std::vector<UINT> ids { IDS_WA_TITLE_TIPVIEW, IDS_WA_TITLE_DOWNLOAD, IDS_WA_TITLE_UPLOAD };
    std::vector<CString> links {
        ScriptLink("parent.applet.tipviewHelp()"),
        ScriptLink("parent.applet.downloadHelp()"),
        rights.bUpload ? ScriptLink("parent.applet.document.wa.upl2()") : CString(),
    };
    if (pszReloadLink != nullptr) {
        ids.insert(ids.end(), { IDS_WA_TITLE_RELOAD, IDS_WA_TITLE_TREE });
        links.insert(links.end(), { CString(pszReloadLink), ScriptLink("parent.applet.document.wa.iwtr(1)") });
    }
    ids.push_back(IDS_WA_TITLE_LOGOUT);
    links.push_back(LogoutLink());
    reply.WriteRowBegin();
    reply.WriteTitleBar(ids, links);
    reply.WriteRowEnd();
}

void WriteCatalogToolbarRow(CWAOutputFile& reply, const CWAToolbar& toolbar)
{
    reply.WriteRowBegin();
    reply.WriteToolbarBegin();
    if (toolbar.bViewLinks)
        reply.WriteLoginCellWithView(toolbar.strGroupLink, toolbar.strExplorerLink);
    else
        reply.WriteLoginCell();
    reply.WriteSearchForm(toolbar.strSearchText, toolbar.nMatchMode, toolbar.nSearchField);
    reply.WriteChangeCatalogLink();
    reply.WriteToolbarEnd();
    reply.WriteRowEnd();
}

namespace {

// bPairSelector picks the menu items: the documents' (TRUE) or the files' (FALSE).
void WritePageEnd(CWAOutputFile& reply, const CWAPageRights& rights, BOOL bPairSelector)
{
    reply.WriteRowBegin();
    if (rights.bNetscape)
        reply.WriteMenuLayerNS(rights.bDownload ? TRUE : FALSE, bPairSelector);
    else
        reply.WriteMenuLayerIE(rights.bDownload ? TRUE : FALSE, bPairSelector);
    reply.WriteRowEnd();
    reply.WriteRowBegin();
    reply.WriteTopBar780();
    reply.WriteRowEnd();
    reply.WriteBodyEnd();
    reply.WriteHtmlEnd();
    reply.EndHtmlBlock();
}

} // namespace

void WriteCatalogPageEnd(CWAOutputFile& reply, const CWAPageRights& rights)
{
    WritePageEnd(reply, rights, TRUE);
}

void WriteFilesPageEnd(CWAOutputFile& reply, const CWAPageRights& rights)
{
    WritePageEnd(reply, rights, FALSE);
}
