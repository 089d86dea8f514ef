#include "webaccess/server/CWACmdWfind.h"

#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "store/CatalogCompare.h"
#include "webaccess/pages/WebText.h"
#include "webaccess/pages/WfindPage.h"
#include "webaccess/server/CWACatalogLists.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/CatalogPageData.h"
#include "webaccess/server/TokenFields.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr CSortSpec FULL_PATH_SORT { COLUMN_NAME, 1, 1 };

// The row of the search form's table (WebText.h) whose code is code; null for none.
template<size_t N> const WA_SEARCH_CHOICE* FindCode(const WA_SEARCH_CHOICE (&table)[N], std::string_view code)
{
    for (const WA_SEARCH_CHOICE& entry : table) {
        if (code == entry.pszCode)
            return &entry;
    }
    return nullptr;
}

template<size_t N> LPCTSTR FindLabel(const WA_SEARCH_CHOICE (&table)[N], int nNumber)
{
    for (const WA_SEARCH_CHOICE& entry : table) {
        if (entry.nNumber == nNumber)
            return entry.pszLabel;
    }
    return "???";
}

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
    const WA_SEARCH_CHOICE* pMode = mode.size() == 2 ? FindCode(g_waMatchModes, mode) : nullptr;
    const WA_SEARCH_CHOICE* pField = field.size() == 3 ? FindCode(g_waSearchFields, field) : nullptr;
    if (pMode == nullptr || pField == nullptr || text.size() > static_cast<size_t>(MAX_SEARCH_TEXT)) {
        reader.Fail();
        return;
    }
    if (!reader.Finish())
        return;
    m_nMatchMode = pMode->nNumber;
    m_nField = pField->nNumber;
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
    return CString("FIND - '") + JoinWords() + "' using '" + FindLabel(g_waMatchModes, m_nMatchMode) + "' look in '"
        + FindLabel(g_waSearchFields, m_nField) + "'";
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
        const auto it
            = std::lower_bound(m_results.begin(), m_results.end(), pDocument, [](const auto& pKept, const auto& pNew) {
                  return SortDocumentItems(pKept.get(), pNew.get(), FULL_PATH_SORT) < 0;
              });
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
    const CWASessionPlace& place = session.GetPlace();
    CWAWfindPage page;
    page.rights = ReadPageRights(session);
    page.strFolder = place.m_strFolder;
    page.nBlock = place.m_nBlock;
    page.nSlot = place.m_nSlot;
    page.strSearchText = JoinWords();
    page.nMatchMode = m_nMatchMode;
    page.nSearchField = m_nField;
    page.nTotal = GetResultCount();
    page.nPages = std::max(1, (page.nTotal + RESULTS_PER_PAGE - 1) / RESULTS_PER_PAGE);
    // A page outside the result shows the nearest page of it.
    page.nPage = std::clamp(nArgument, 1, page.nPages);
    page.nFirst = RESULTS_PER_PAGE * (page.nPage - 1);
    for (int i = page.nFirst; i < page.nTotal && i < page.nFirst + RESULTS_PER_PAGE; ++i)
        page.results.push_back(ReadDocumentRow(*m_results[static_cast<size_t>(i)]));
    WriteWfindPage(reply, page);
    return CheckReplyWritten(reply);
}
