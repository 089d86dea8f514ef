#include "webaccess/server/CatalogCommands.h"

#include "platform/base/PathMap.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CatalogCompare.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/WebText.h"
#include "webaccess/profiles/CWAProfiles.h"
#include "webaccess/server/CWACatalogLists.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/TextWidth.h"
#include "webaccess/server/TokenFields.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <string>
#include <string_view>

namespace {

constexpr LONG NODE_TABLE = 0;
constexpr LONG SORT_BY_NAME = 4101;
constexpr LONG SYSTEMS_ROOT_BLOCK = 3;
constexpr int FULL_LISTING_ROWS = 20;
constexpr int ROW_HEIGHT = 20;
constexpr int NAME_WIDTH = 216;
constexpr int TEXT_WIDTH = 236;

constexpr char NO_STATUS_LINK[] = "onmouseover='self.status=&quot;&quot;;return true'";

// Acquires the web catalog for a command's lifetime; null when there is none.
CCatalog* AcquireWebCatalog()
{
    CCatalog* pCatalog = GetWebCatalog();
    return pCatalog != nullptr && pCatalog->Acquire() ? pCatalog : nullptr;
}

void ReleaseWebCatalog(CCatalog* pCatalog)
{
    // Reading commands leave nothing to flush.
    if (pCatalog != nullptr)
        static_cast<void>(pCatalog->Release());
}

void Put(CWAOutputFile& reply, const CString& strText)
{
    static_cast<void>(reply.Write(static_cast<LPCTSTR>(strText), static_cast<UINT>(strText.GetLength())));
}

CString LoadText(UINT nId)
{
    CString strText;
    strText.LoadString(nId);
    return strText;
}

CString ScriptLink(LPCTSTR pszCall)
{
    CString strLink;
    strLink.Format("href='javascript:%s;'%s", pszCall, NO_STATUS_LINK);
    return strLink;
}

CString NodeLink(const CNodeRec& node)
{
    return FormatCommandLink(FormatWdirToken(static_cast<int>(node.GetBlock()), static_cast<int>(node.GetSlot())));
}

// The node's ancestors below the top-level node, top side first.
CNodeRecArray PathAncestors(const CNodeRec& node)
{
    CNodeRecArray ancestors;
    if (node.GetBlock() == SYSTEMS_ROOT_BLOCK)
        return ancestors;
    ancestors = node.GetAncestors();
    if (!ancestors.empty())
        ancestors.erase(ancestors.begin());
    return ancestors;
}

CString PathLine(const CNodeRec& node)
{
    CString strLine;
    for (const auto& pAncestor : PathAncestors(node)) {
        CString strStep;
        strStep.Format("<a class='s4'%s>%s</a>&nbsp;<a class='s5'>&#62</a>&nbsp;",
            static_cast<LPCTSTR>(NodeLink(*pAncestor)), static_cast<LPCTSTR>(HtmlEscape(pAncestor->GetName(), 1)));
        strLine += strStep;
    }
    CString strOwn;
    strOwn.Format("<a class='s5'>%s</a>", static_cast<LPCTSTR>(HtmlEscape(node.GetName(), 1)));
    return strLine + strOwn;
}

// The state, size and date a document row shows.
struct CDocumentFacts {
    int nState { EXPIRY_NONE };
    long long nSize { -1 }; // below 0 unknown
    bool bHasDate { false };
    std::time_t tDate { 0 };
};

// The document's expiry state and, from its loaded state, its size and its
// modification time (a message's date).
CDocumentFacts ReadFacts(const CDocumentRec& document)
{
    CDocumentFacts facts;
    facts.nState = document.GetExpiryState(FALSE);
    const CDocumentState& state = document.LoadState();
    facts.nSize = state.nSize;
    facts.bHasDate = state.tModified != 0;
    facts.tDate = static_cast<std::time_t>(state.tModified);
    return facts;
}

LPCTSTR StateIcon(int nState, bool bProtected)
{
    switch (nState) {
    case EXPIRY_NEW:
        return bProtected ? "img/stnewp.gif" : "img/stnew.gif";
    case EXPIRY_PASSED:
        return bProtected ? "img/stexpp.gif" : "img/stexp.gif";
    case EXPIRY_MAIL_DELETED:
        return "img/stexcl.gif";
    case EXPIRY_NOT_FOUND:
        return "img/stnocnx.gif";
    case EXPIRY_UNREACHABLE:
        return "img/stpend.gif";
    case EXPIRY_NONE:
        return bProtected ? "img/stp.gif" : nullptr;
    default:
        return nullptr;
    }
}

// A document whose file or store is missing or out of reach: its size and
// date cannot be read and show "?".
bool IsUnreadable(int nState)
{
    return nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE;
}

CString FormatSize(const CDocumentFacts& facts)
{
    CString strSize;
    if (facts.nSize < 1 && IsUnreadable(facts.nState))
        return "?";
    if (facts.nSize < 0)
        return strSize;
    const long long nKB = (facts.nSize + 1023) / 1024;
    if (nKB < 1000)
        strSize.Format("%d KB", static_cast<int>(nKB));
    else
        strSize.Format("%d,%.3d KB", static_cast<int>(nKB / 1000), static_cast<int>(nKB % 1000));
    return strSize;
}

CString FormatDate(const CDocumentFacts& facts)
{
    if (!facts.bHasDate)
        return IsUnreadable(facts.nState) ? "?" : "";
    std::tm local {};
    char szDate[64];
    if (localtime_r(&facts.tDate, &local) == nullptr
        || std::strftime(szDate, sizeof(szDate), "%b %d, %Y  %H:%M", &local) == 0)
        return "?";
    return szDate;
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

CSortSpec NameSort(LONG nAscending)
{
    return { SORT_BY_NAME, nAscending, 1 };
}

// The link that opens a document's menu; none for a document that is gone.
CString DocumentMenuLink(const CDocumentRec& document, const CDocumentFacts& facts, BOOL bNetscape)
{
    if (facts.nState == EXPIRY_MAIL_DELETED || facts.nState == EXPIRY_NOT_FOUND)
        return CString();
    const std::string strLink = std::string("href='javascript:parent.applet.ShowMenuArch(&quot;")
        + (bNetscape ? "MN" : "MIE") + "&quot;,&quot;" + std::to_string(static_cast<int>(document.GetBlock()))
        + "&quot;,&quot;" + std::to_string(static_cast<int>(document.GetSlot())) + "&quot;);' " + NO_STATUS_LINK;
    return CString(strLink.c_str(), static_cast<int>(strLink.size()));
}

} // namespace

/**************************** WDIR ****************************/

CWACmdWdir::CWACmdWdir()
    : CWACommand(WA_CMD_WDIR)
    , m_pCatalog(AcquireWebCatalog())
{
}

CWACmdWdir::~CWACmdWdir()
{
    ReleaseWebCatalog(m_pCatalog);
}

void CWACmdWdir::ParseArgs(LPCTSTR pszText)
{
    CTokenFieldReader reader(pszText, *this);
    std::string_view block;
    std::string_view slot;
    if (!reader.ReadField(block) || !reader.ReadField(slot))
        return;
    LONG nBlock = 0;
    LONG nSlot = 0;
    if (!ParseNumberField(block.data(), static_cast<int>(block.size()), &nBlock)
        || !ParseNumberField(slot.data(), static_cast<int>(slot.size()), &nSlot)) {
        reader.Fail();
        return;
    }
    if (!reader.AtEnd()) {
        std::string_view order;
        if (!reader.ReadField(order))
            return;
        if (order.empty() || order == "A")
            m_nAscending = 1;
        else if (order == "A-")
            m_nAscending = 0;
        else {
            reader.Fail();
            return;
        }
    }
    if (!reader.Finish())
        return;
    m_nBlock = nBlock;
    m_nSlot = nSlot;
    if (nBlock == 0 && nSlot == 0)
        return;
    if (m_pCatalog == nullptr || !m_pCatalog->CheckRecord(static_cast<CATBLOCK>(nBlock), nSlot, NODE_TABLE))
        m_nStatus = WA_STATUS_NOT_A_NODE;
}

BOOL CWACmdWdir::Execute(CWAOutputFile& reply, CWASession& session, int)
{
    CWACatalogLists& lists = session.GetCatalogLists();
    const CSortSpec sort = NameSort(m_nAscending);
    std::unique_ptr<CNodeRec> pNode;
    if (m_pCatalog != nullptr && m_nBlock == 0 && m_nSlot == 0) {
        const CNodeRec root(m_pCatalog, 0, 0);
        CNodeRecArray top = lists.CollectGroupItems(root, sort);
        if (!top.empty() && top.front() != nullptr) {
            pNode = std::move(top.front());
            m_nBlock = static_cast<LONG>(pNode->GetBlock());
            m_nSlot = pNode->GetSlot();
        }
    } else if (m_pCatalog != nullptr) {
        pNode = std::make_unique<CNodeRec>(m_pCatalog, m_nBlock, m_nSlot);
        // A group the profile does not show is not found: its page would
        // reveal its name and its place in the tree.
        if (!pNode->IsValid() || (!lists.IsWholeCatalog() && lists.FindItem(m_nBlock, m_nSlot) < 0))
            pNode.reset();
    }
    if (pNode == nullptr) {
        m_nStatus = WA_STATUS_NO_GROUP;
        return FALSE;
    }
    const CNodeRec& node = *pNode;
    const CWAProfiles& profile = *session.GetProfile();
    const CTextCutter cutter;
    // The documents of a group mostly share their folders: each is found once.
    const CPathLookupBatch lookups;
    const CNodeRecArray groups = lists.CollectGroupItems(node, sort);
    const CDocumentRecArray documents = lists.GetDocumentList(node, &sort);
    const int nCount = lists.CountChildren(node) + lists.CountDocuments(node);

    reply.BeginHtmlBlock("files");
    reply.WriteHtmlBegin();
    reply.WriteHeadBegin("WebArchivora");
    reply.WriteStyleSheet();
    reply.WriteHeadEnd();
    reply.WriteBodyBegin();
    reply.WriteRowBegin();
    reply.WriteTopBar100();
    reply.WriteRowEnd();

    // Title bar.
    const std::array<UINT, 6> titleIds { IDS_WA_TITLE_TIPVIEW, IDS_WA_TITLE_DOWNLOAD, IDS_WA_TITLE_UPLOAD,
        IDS_WA_TITLE_RELOAD, IDS_WA_TITLE_TREE, IDS_WA_TITLE_LOGOUT };
    const std::array<CString, 6> titleLinks {
        ScriptLink("parent.applet.tipviewHelp()"),
        ScriptLink("parent.applet.downloadHelp()"),
        profile.IsCommandAllowed(WA_CMD_UPL) ? ScriptLink("parent.applet.document.wa.upl2()") : CString(),
        NodeLink(node),
        ScriptLink("parent.applet.document.wa.iwtr(1)"),
        CString("href='seturl.asp?Url=lthanks.asp'target='_top'") + NO_STATUS_LINK,
    };
    reply.WriteRowBegin();
    reply.WriteTitleBar(titleIds, titleLinks);
    reply.WriteRowEnd();

    // Toolbar.
    reply.WriteRowBegin();
    reply.WriteToolbarBegin();
    reply.WriteLoginCell();
    reply.WriteSearchForm("", 0, 1);
    reply.WriteChangeCatalogLink();
    reply.WriteToolbarEnd();
    reply.WriteRowEnd();

    // Tabs and path.
    const CString strPathLine = PathLine(node);
    const CString strExplorerLink = profile.IsCommandAllowed(WA_CMD_ETREE)
        ? FormatCommandLink(FormatEdirToken(BackslashToSlash(session.GetPlace().m_strFolder)))
        : CString();
    const CString strUploadsLink
        = profile.IsCommandAllowed(WA_CMD_UPL) ? FormatCommandLink(FormatVuplToken()) : CString();
    reply.WriteRowBegin();
    reply.WriteTabsBegin();
    reply.WriteTabsFirstActive(strExplorerLink, strUploadsLink);
    reply.WriteWideCellBegin();
    Put(reply, strPathLine);
    reply.WriteCellEnd();
    reply.WriteTabsFirstActiveEnd();
    reply.WriteTabsEnd();
    reply.WriteRowEnd();

    // Column headers.
    reply.WriteRowBegin();
    Put(reply,
        "<table width='1200'border='0'cellspacing='0'cellpadding='0'><tr>"
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
        Put(reply, strCell);
    }
    Put(reply, "</tr></table>");
    reply.WriteRowEnd();

    // Body: the group column and the listing.
    reply.WriteRowBegin();
    Put(reply, "<table width='1200'border='0'cellspacing='0'cellpadding='0'><tr>");
    Put(reply,
        "<td background='img/gbk_end.gif'width='200'valign='top'><table "
        "width='200'border='0'cellspacing='0'cellpadding='0'>");
    std::unique_ptr<CNodeRec> pParent(
        node.GetBlock() == SYSTEMS_ROOT_BLOCK ? CNodeRec::NewRootNodeRec(m_pCatalog) : node.GetParent());
    if (pParent != nullptr) {
        const CNodeRecArray siblings = lists.CollectGroupItems(*pParent, sort);
        int nFocus = -1;
        for (size_t i = 0; i < siblings.size(); ++i) {
            if (siblings[i]->GetRef() == node.GetRef())
                nFocus = static_cast<int>(i);
        }
        for (size_t i = 0; i < siblings.size(); ++i) {
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
            strRow.Format(
                "<tr><td background='%s'width='18'height='26'>&nbsp;&nbsp;&nbsp;&nbsp;</td>"
                "<td background='%s'width='175'height='26'valign='middle'><a class='%s'%s><img border='0'src='%s'"
                "width='16'height='16'align='texttop'>&nbsp;%s</a></td>"
                "<td background='%s'width='7'height='26'>&nbsp;</td></tr>",
                pszLeft, pszMiddle, pszClass, static_cast<LPCTSTR>(NodeLink(*siblings[i])), pszIcon,
                static_cast<LPCTSTR>(HtmlEscape(siblings[i]->GetName(), 1)), pszRight);
            Put(reply, strRow);
        }
    }
    Put(reply, "</table></td>");

    Put(reply, "<td width='1000'valign='top'><table width='1000'border='0'cellspacing='0'cellpadding='0'>");
    if (pParent != nullptr) {
        const std::unique_ptr<CNodeRec> pGrandparent(pParent->GetParent());
        if (pGrandparent != nullptr)
            WriteListingRow(reply, nullptr, NodeLink(*pParent), "img/grp_up.gif", "..", "", "", "");
    }
    for (const auto& pGroup : groups) {
        WriteListingRow(reply, nullptr, NodeLink(*pGroup), "img/grp.gif", cutter.Cut(pGroup->GetName(), NAME_WIDTH),
            cutter.Cut(pGroup->GetInfoString(), TEXT_WIDTH), "", "");
    }
    for (const auto& pDocument : documents) {
        const CDocumentFacts facts = ReadFacts(*pDocument);
        CString strPath;
        pDocument->GetFullPath(strPath);
        CString strText;
        pDocument->GetNameWithLocation(strText);
        const CString strLink = DocumentMenuLink(*pDocument, facts, session.IsNetscape());
        const bool bProtected = pDocument->IsProtected() != FALSE;
        WriteListingRow(reply, StateIcon(facts.nState, bProtected), strLink,
            pDocument->IsMail() ? "img/email.gif" : "img/file.gif", cutter.Cut(strPath, NAME_WIDTH),
            cutter.Cut(strText, TEXT_WIDTH), FormatSize(facts), FormatDate(facts));
    }
    const int nListed = static_cast<int>(groups.size() + documents.size());
    if (nListed < FULL_LISTING_ROWS) {
        const int nHeight = (FULL_LISTING_ROWS - nListed) * ROW_HEIGHT;
        CString strFiller;
        strFiller.Format(
            "<tr><td bgcolor='#E0E0E0'width='20'height='%d'>&nbsp;</td><td bgcolor='#E0E0E0'width='240'height='%d'>"
            "&nbsp;</td><td bgcolor='#F0F0F0'width='240'height='%d'>&nbsp;</td><td bgcolor='#F0F0F0'width='90'"
            "height='%d'>&nbsp;</td><td bgcolor='#F0F0F0'width='410'height='%d'>&nbsp;</td></tr>",
            nHeight, nHeight, nHeight, nHeight, nHeight);
        Put(reply, strFiller);
    }
    Put(reply, "</table></td>");
    Put(reply, "</tr></table>");
    Put(reply,
        "<table width='1200'border='1'cellspacing='0'cellpadding='0'><tr><td "
        "height='1'><font></font></td></tr></table>");
    reply.WriteRowEnd();

    // Path and count.
    CString strCount;
    strCount.Format(LoadText(IDS_WA_ITEM_COUNT), nCount, nCount);
    CString strPathRow;
    strPathRow.Format(
        "<table width='1200'border='0'cellspacing='0'cellpadding='0'><tr><td height='20'>&nbsp;&nbsp;%s</td></tr>"
        "<tr><td height='20'>&nbsp;&nbsp;<a class='s1'>%s</a></td></tr></table>",
        static_cast<LPCTSTR>(strPathLine), static_cast<LPCTSTR>(HtmlEscape(strCount, 1)));
    reply.WriteRowBegin();
    Put(reply, strPathRow);
    reply.WriteRowEnd();

    // Menu layer and closing bar.
    reply.WriteRowBegin();
    if (session.IsNetscape())
        reply.WriteMenuLayerNS(profile.IsCommandAllowed(WA_CMD_DOWN2), TRUE);
    else
        reply.WriteMenuLayerIE(profile.IsCommandAllowed(WA_CMD_DOWN2), TRUE);
    reply.WriteRowEnd();
    reply.WriteRowBegin();
    reply.WriteTopBar780();
    reply.WriteRowEnd();
    reply.WriteBodyEnd();
    reply.WriteHtmlEnd();
    reply.EndHtmlBlock();
    return TRUE;
}

void CWACmdWdir::SetContext(CWASessionPlace& place)
{
    place.m_nBlock = m_nBlock;
    place.m_nSlot = m_nSlot;
}

CString CWACmdWdir::GetLogText() const
{
    CString strText = "Get Archivora DIR - ";
    if (m_pCatalog == nullptr)
        return strText;
    const CNodeRec node(m_pCatalog, m_nBlock, m_nSlot);
    if (!node.IsValid() || (node.GetBlock() == ROOT_BLOCK_NODE && node.GetSlot() == 0))
        return strText;
    const CNodeRecArray ancestors = PathAncestors(node);
    for (const auto& pAncestor : ancestors)
        strText += pAncestor->GetName() + " > ";
    return strText + node.GetName();
}

/**************************** WTREE ****************************/

CWACmdWtree::CWACmdWtree()
    : CWABasicCommand(WA_CMD_WTREE)
    , m_pCatalog(AcquireWebCatalog())
{
}

CWACmdWtree::~CWACmdWtree()
{
    ReleaseWebCatalog(m_pCatalog);
}

BOOL CWACmdWtree::Prepare(CWASession& session)
{
    m_items.clear();
    if (m_pCatalog == nullptr)
        return TRUE;
    const CNodeRec root(m_pCatalog, 0, 0);
    Fill(session, 0, -1, session.GetCatalogLists().CollectGroupItems(root, NameSort(1)));
    return TRUE;
}

void CWACmdWtree::Fill(CWASession& session, int nLevel, int nParent, const CNodeRecArray& children)
{
    const int nBase = static_cast<int>(m_items.size());
    m_items.resize(m_items.size() + children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        const CNodeRec& child = *children[i];
        const int nIndex = nBase + static_cast<int>(i);
        const CNodeRecArray grandchildren = session.GetCatalogLists().CollectGroupItems(child, NameSort(1));
        int nFirstChild = -1;
        if (!grandchildren.empty()) {
            nFirstChild = static_cast<int>(m_items.size());
            Fill(session, nLevel + 1, nIndex, grandchildren);
        }
        m_items[nIndex]
            = { child.GetName(), static_cast<LONG>(child.GetBlock()), child.GetSlot(), nLevel, nParent, nFirstChild };
    }
}

BOOL CWACmdWtree::Execute(CWAOutputFile& reply, CWASession&, int)
{
    CString strText;
    strText.Format("\r\n<#TRSZ |%d|#>\r\n", static_cast<int>(m_items.size()));
    Put(reply, strText);
    for (const CTreeItem& item : m_items) {
        strText.Format("<#TRIT |%d| |%d| |%d| |%s| |%d| |%d|#>\r\n", item.nLevel, item.nParent, item.nFirstChild,
            static_cast<LPCTSTR>(TokenFieldHtml(item.strName)), static_cast<int>(item.nBlock),
            static_cast<int>(item.nSlot));
        Put(reply, strText);
    }
    return TRUE;
}

CString CWACmdWtree::GetLogText() const
{
    return "Get Archivora TREE";
}

/**************************** WFIND ****************************/

namespace {

struct WA_FIND_CODE {
    LPCTSTR pszCode;
    LPCTSTR pszLabel;
    int nValue;
};

constexpr WA_FIND_CODE MATCH_MODES[] = {
    { "1W", "At Least One Word Listed", CWACmdWfind::MODE_ONE_WORD },
    { "AW", "All Words Listed", CWACmdWfind::MODE_ALL_WORDS },
    { "WS", "Whole Sentence", CWACmdWfind::MODE_SENTENCE },
};

constexpr WA_FIND_CODE SEARCH_FIELDS[] = {
    { "ANY", "Any place in Catalog", CWACmdWfind::FIELD_ANY },
    { "DSC", "Description", CWACmdWfind::FIELD_DESCRIPTION },
    { "FLD", "Folder", CWACmdWfind::FIELD_FOLDER },
    { "FTO", "From/To", CWACmdWfind::FIELD_FROM_TO },
    { "NAM", "Name", CWACmdWfind::FIELD_NAME },
};

template <size_t N>
const WA_FIND_CODE* FindCode(const WA_FIND_CODE (&table)[N], std::string_view code)
{
    for (const WA_FIND_CODE& entry : table) {
        if (code == entry.pszCode)
            return &entry;
    }
    return nullptr;
}

template <size_t N>
LPCTSTR FindLabel(const WA_FIND_CODE (&table)[N], int nValue)
{
    for (const WA_FIND_CODE& entry : table) {
        if (entry.nValue == nValue)
            return entry.pszLabel;
    }
    return "???";
}

constexpr CSortSpec FULL_PATH_SORT { SORT_BY_NAME, 1, 1 };

CString PageLink(int nPage, LPCTSTR pszFormat)
{
    CString strLink;
    strLink.Format(pszFormat, nPage, nPage);
    return strLink;
}

constexpr char PREV_LINK[] = "<a href='javascript:parent.applet.document.wa.snd(&quot;&lt;#PAGE |%d|#&gt;&quot;);'  "
                             "onmouseover='self.status=&quot;&quot;;return true'>[&lt;&lt;Prev]</a>";
constexpr char NUMBER_LINK[] = "&nbsp;<a href='javascript:parent.applet.document.wa.snd(&quot;&lt;#PAGE "
                               "|%d|#&gt;&quot;);'  onmouseover='self.status=&quot;&quot;;return true'>%d</a>";
constexpr char NEXT_LINK[] = "&nbsp;<a href='javascript:parent.applet.document.wa.snd(&quot;&lt;#PAGE |%d|#&gt;&quot;);' "
                             "onmouseover='self.status=&quot;&quot;;return true'>[Next&gt;&gt;]</a>";

} // namespace

CWACmdWfind::CWACmdWfind()
    : CWACommand(WA_CMD_WFIND)
    , m_pCatalog(AcquireWebCatalog())
{
}

CWACmdWfind::~CWACmdWfind()
{
    m_results.clear();
    ReleaseWebCatalog(m_pCatalog);
}

void CWACmdWfind::ParseArgs(LPCTSTR pszText)
{
    CTokenFieldReader reader(pszText, *this);
    std::string_view text, mode, field;
    if (!reader.ReadField(text) || !reader.ReadField(mode) || !reader.ReadField(field))
        return;
    const WA_FIND_CODE* pMode = mode.size() == 2 ? FindCode(MATCH_MODES, mode) : nullptr;
    const WA_FIND_CODE* pField = field.size() == 3 ? FindCode(SEARCH_FIELDS, field) : nullptr;
    if (pMode == nullptr || pField == nullptr || text.size() > static_cast<size_t>(MAX_SEARCH_TEXT)) {
        reader.Fail();
        return;
    }
    if (!reader.Finish())
        return;
    m_nMatchMode = pMode->nValue;
    m_nField = pField->nValue;
    CString strText(text.data(), static_cast<int>(text.size()));
    if (m_nCaseFlag == 0)
        strText.MakeLower();
    m_words.clear();
    if (m_nMatchMode == MODE_SENTENCE) {
        m_words.push_back(strText);
        return;
    }
    int nStart = 0;
    strText += ' ';
    for (int i = 0; i < strText.GetLength(); ++i) {
        if (strText[i] != ' ')
            continue;
        if (i > nStart)
            m_words.push_back(strText.Mid(nStart, i - nStart));
        nStart = i + 1;
    }
}

CString CWACmdWfind::JoinWords() const
{
    CString strWords;
    for (size_t i = 0; i < m_words.size(); ++i) {
        if (i > 0)
            strWords += ' ';
        strWords += m_words[i];
    }
    return strWords;
}

CString CWACmdWfind::GetLogText() const
{
    return CString("FIND - '") + JoinWords() + "' using '" + FindLabel(MATCH_MODES, m_nMatchMode) + "' look in '"
        + FindLabel(SEARCH_FIELDS, m_nField) + "'";
}

BOOL CWACmdWfind::Prepare(CWASession& session)
{
    m_results.clear();
    m_visited.clear();
    if (m_pCatalog != nullptr)
        Search(session, CNodeRec(m_pCatalog, 0, 0));
    return TRUE;
}

void CWACmdWfind::Search(CWASession& session, const CNodeRec& node)
{
    CWACatalogLists& lists = session.GetCatalogLists();
    for (auto& pDocument : lists.GetDocumentList(node)) {
        // A document linked into several groups is tested once; only a
        // document with node links can be reached again.
        const std::pair<LONG, LONG> ref { static_cast<LONG>(pDocument->GetBlock()), pDocument->GetSlot() };
        if (m_visited.contains(ref))
            continue;
        if (pDocument->CountNodeLinks(FALSE) > 0)
            m_visited.insert(ref);
        if (!Matches(*pDocument))
            continue;
        const auto it = std::lower_bound(m_results.begin(), m_results.end(), pDocument,
            [](const auto& pKept, const auto& pNew) { return SortDocumentItems(pKept.get(), pNew.get(), FULL_PATH_SORT) < 0; });
        m_results.insert(it, std::move(pDocument));
    }
    for (const auto& pChild : lists.GetChildList(node))
        Search(session, *pChild);
}

BOOL CWACmdWfind::Matches(const CDocumentRec& document) const
{
    // With the case flag 0 the words are lower case already and the compare ignores case.
    return CTextSearch::SetCriteria(document, m_words, m_nField, m_nMatchMode, m_nCaseFlag != 0 ? TRUE : FALSE) != 0
        ? TRUE
        : FALSE;
}

BOOL CWACmdWfind::Execute(CWAOutputFile& reply, CWASession& session, int nArgument)
{
    const CWAProfiles& profile = *session.GetProfile();
    const CWASessionPlace& place = session.GetPlace();
    const int nTotal = GetResultCount();
    const int nPages = std::max(1, (nTotal + RESULTS_PER_PAGE - 1) / RESULTS_PER_PAGE);
    // A page outside the result shows the nearest page of it.
    const int nPage = std::clamp(nArgument, 1, nPages);
    const int nFirst = RESULTS_PER_PAGE * (nPage - 1);
    const int nShown = std::min(RESULTS_PER_PAGE, nTotal - nFirst);

    reply.BeginHtmlBlock("files");
    reply.WriteHtmlBegin();
    reply.WriteHeadBegin("WebArchivora Find");
    reply.WriteStyleSheet();
    reply.WriteHeadEnd();
    reply.WriteBodyBegin();
    reply.WriteRowBegin();
    reply.WriteTopBar100();
    reply.WriteRowEnd();

    const std::array<UINT, 4> titleIds { IDS_WA_TITLE_TIPVIEW, IDS_WA_TITLE_DOWNLOAD, IDS_WA_TITLE_UPLOAD,
        IDS_WA_TITLE_LOGOUT };
    const std::array<CString, 4> titleLinks {
        ScriptLink("parent.applet.tipviewHelp()"),
        ScriptLink("parent.applet.downloadHelp()"),
        profile.IsCommandAllowed(WA_CMD_UPL) ? ScriptLink("parent.applet.document.wa.upl2()") : CString(),
        CString("href='seturl.asp?Url=lthanks.asp'target='_top'") + NO_STATUS_LINK,
    };
    reply.WriteRowBegin();
    reply.WriteTitleBar(titleIds, titleLinks);
    reply.WriteRowEnd();

    reply.WriteRowBegin();
    reply.WriteToolbarBegin();
    const CString strBack = FormatCommandLink(FormatWdirToken(static_cast<int>(place.m_nBlock), static_cast<int>(place.m_nSlot)));
    const CString strExplorer = profile.IsCommandAllowed(WA_CMD_ETREE) ? FormatCommandLink(FormatEdirToken(place.m_strFolder)) : CString();
    reply.WriteLoginCellWithView(strBack, strExplorer);
    reply.WriteSearchForm(JoinWords(), m_nMatchMode, m_nField);
    reply.WriteChangeCatalogLink();
    reply.WriteToolbarEnd();
    reply.WriteRowEnd();

    CString strCount;
    strCount.Format(LoadText(IDS_WA_ITEM_COUNT), nShown, nTotal);
    const CString strCountLine = "<table width='100%' border='0' cellspacing='0' cellpadding='3'><tr><td width='2'>&nbsp;</td>"
                                 "<td bgcolor='#6F7709'><font face='Arial, Helvetica, sans-serif' size='2' color='#FFFFFF'>"
        + HtmlEscape(strCount, 1) + "</font></td><td width='2'>&nbsp;</td></tr></table>";
    Put(reply,
        "<table width='95%' border='2' cellspacing='0' cellpadding='0' bordercolor='#515706' bgcolor='#FFFFFF' "
        "align='center'><tr><td valign='top' align='left'><img src='img/findres.gif' width='94' height='48' "
        "hspace='15' vspace='3'><br>");
    Put(reply, strCountLine);
    Put(reply, "<ol start='1'><font size='2' face='verdana,arial'>");
    for (int i = nFirst; i < nTotal && i < nFirst + RESULTS_PER_PAGE; ++i) {
        const CDocumentRec& document = *m_results[static_cast<size_t>(i)];
        const CDocumentFacts facts = ReadFacts(document);
        CString strItem;
        strItem.Format("<li type='1' value='%d'>", i + 1);
        const bool bProtected = document.IsProtected() != FALSE;
        if (LPCTSTR pszState = StateIcon(facts.nState, bProtected))
            strItem += CString("<img border='0'src='") + pszState + "'width='16'height='16'>";
        CString strPath, strText, strLine;
        document.GetFullPath(strPath);
        document.GetNameWithLocation(strText);
        strLine.Format("<a %s><img align='absmiddle'border='0'src='%s'width='16'height='16'>&nbsp;<b><u>%s</u></b></a><br>",
            static_cast<LPCTSTR>(DocumentMenuLink(document, facts, session.IsNetscape())),
            document.IsMail() ? "img/email.gif" : "img/file.gif", static_cast<LPCTSTR>(HtmlEscape(strPath, 1)));
        strItem += strLine;
        const std::array<std::pair<UINT, CString>, 3> lines { { { IDS_WA_COLUMN_DESCRIPTION, HtmlEscape(strText, 1) },
            { IDS_WA_COLUMN_SIZE, FormatSize(facts) }, { IDS_WA_COLUMN_DATE, FormatDate(facts) } } };
        for (const auto& [nLabel, strValue] : lines) {
            strLine.Format("<b>%s: </b>%s<br>", static_cast<LPCTSTR>(LoadText(nLabel)), static_cast<LPCTSTR>(strValue));
            strItem += strLine;
        }
        Put(reply, strItem + "</li>");
    }
    Put(reply, "</font></ol>");
    WritePageLinks(reply, nPage, nPages);
    Put(reply, strCountLine);
    Put(reply, "<br></td></tr></table>");

    reply.WriteRowBegin();
    if (session.IsNetscape())
        reply.WriteMenuLayerNS(profile.IsCommandAllowed(WA_CMD_DOWN2), 1);
    else
        reply.WriteMenuLayerIE(profile.IsCommandAllowed(WA_CMD_DOWN2), 1);
    reply.WriteRowEnd();
    reply.WriteRowBegin();
    reply.WriteTopBar780();
    reply.WriteRowEnd();
    reply.WriteBodyEnd();
    reply.WriteHtmlEnd();
    reply.EndHtmlBlock();
    return TRUE;
}

void CWACmdWfind::WritePageLinks(CWAOutputFile& reply, int nPage, int nPages) const
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
    Put(reply, strLinks + "</font>");
}
