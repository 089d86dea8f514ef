#include "catalog/CTextSearch.h"

#include "catalog/CWordFinder.h"
#include "catalog/ContentScan.h"
#include "catalog/DocumentTexts.h"

#include "mail/CMailMessage.h"
#include "store/CDocumentRec.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace {

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); });
}

} // namespace

CSearchCriteria& GetGlobalSearchCriteria()
{
    static CSearchCriteria criteria;
    return criteria;
}

CTextSearch::CTextSearch(std::span<const CString> words, int nField, int nMode, BOOL bCaseSensitive, BOOL bWholeWord)
    : m_words(words)
    , m_nField(nField)
    , m_nMode(nMode)
    , m_bCaseSensitive(bCaseSensitive)
    , m_bWholeWord(bWholeWord)
{
}

int CTextSearch::CopyGlobalCriteria(const CDocumentRec& document)
{
    return PrepareGlobalCriteria().MatchDocument(document);
}

CTextSearch CTextSearch::PrepareGlobalCriteria()
{
    const CSearchCriteria& criteria = GetGlobalSearchCriteria();
    return CTextSearch(criteria.words, criteria.nField, criteria.nMode, criteria.bCaseSensitive, criteria.bWholeWord);
}

int CTextSearch::SetCriteria(
    const CDocumentRec& document, std::span<const CString> words, int nField, int nMode, BOOL bCaseSensitive)
{
    return CTextSearch(words, nField, nMode, bCaseSensitive, FALSE).MatchDocument(document);
}

int CTextSearch::MatchDocument(const CDocumentRec& document) const
{
    if (m_nField != FIELD_ALL_TEXTS)
        return MatchField(document, m_nField, m_bCaseSensitive);
    // No words find nothing here, blank texts included.
    if (m_words.empty())
        return 0;
    for (const int nText : { FIELD_DESCRIPTION, FIELD_NAME, FIELD_LABEL, FIELD_SECONDARY }) {
        if (MatchField(document, nText, m_bCaseSensitive && nText == FIELD_DESCRIPTION) != 0)
            return 1;
    }
    return 0;
}

int CTextSearch::MatchField(const CDocumentRec& document, int nField, BOOL bCaseSensitive) const
{
    CString strText;
    switch (nField) {
    case FIELD_DESCRIPTION:
        document.GetNameWithLocation(strText);
        return CombineResults(std::string_view(strText), nField, bCaseSensitive);
    case FIELD_NAME:
        document.GetFullPath(strText);
        return CombineResults(std::string_view(strText), nField, FALSE);
    case FIELD_LABEL:
        document.GetLabel(strText);
        return CombineResults(std::string_view(strText), nField, FALSE);
    case FIELD_SECONDARY:
        document.GetAltNameWithLocation(strText);
        return CombineResults(std::string_view(strText), nField, bCaseSensitive);
    case FIELD_CONTENT:
        if (document.IsMail())
            return SearchMailMessage(document);
        document.GetFullPath(strText);
        return SearchFile(document.GetDirectoryPath(FALSE) + strText);
    default:
        document.GetFullPath(strText);
        return CombineResults(std::string_view(strText), nField, bCaseSensitive);
    }
}

int CTextSearch::CombineResults(std::string_view text, int nField, BOOL bCaseSensitive) const
{
    if (m_words.empty())
        return (nField == FIELD_DESCRIPTION || nField == FIELD_SECONDARY) && IsBlank(text) ? 1 : 0;
    const std::vector<CWordFinder>& finders = Finders(bCaseSensitive);
    const auto found = [&](const CWordFinder& finder) { return finder.Find(text); };
    if (m_nMode == MODE_ALL_WORDS)
        return std::all_of(finders.begin(), finders.end(), found) ? 1 : 0;
    return std::any_of(finders.begin(), finders.end(), found) ? 1 : 0;
}

/******************************************************************************
 * Content
 ******************************************************************************/

namespace {

std::vector<CWordFinder> MakeFinders(std::span<const CString> words, BOOL bWholeWord, BOOL bCaseSensitive)
{
    std::vector<CWordFinder> finders;
    finders.reserve(words.size());
    for (const CString& strWord : words)
        finders.emplace_back(std::string_view(strWord), bWholeWord, bCaseSensitive);
    return finders;
}

} // namespace

const std::vector<CWordFinder>& CTextSearch::Finders(BOOL bCaseSensitive) const
{
    std::optional<std::vector<CWordFinder>>& finders = m_finders[bCaseSensitive ? 1 : 0];
    if (!finders)
        finders = MakeFinders(m_words, m_bWholeWord, bCaseSensitive);
    return *finders;
}

int CTextSearch::ContentResult(const std::vector<bool>& found) const
{
    if (m_nMode == MODE_ANY_WORD)
        return std::find(found.begin(), found.end(), true) != found.end() ? 1 : 0;
    // Every word, in the other two modes; no words match any readable content.
    return std::all_of(found.begin(), found.end(), [](bool b) { return b; }) ? 1 : 0;
}

int CTextSearch::SearchFile(LPCTSTR pszPath) const
{
    const std::vector<CWordFinder>& finders = Finders(m_bCaseSensitive);
    std::vector<bool> found;
    if (!ScanFileContent(pszPath, finders, m_nMode == MODE_ANY_WORD && !finders.empty(), found))
        return 0;
    return ContentResult(found);
}

int CTextSearch::SearchMailMessage(const CDocumentRec& document) const
{
    if (document.LoadState(TRUE).bStoreShrunk)
        return MATCH_STORE_CHANGED;
    const int nState = document.GetExpiryState(FALSE);
    if (nState == EXPIRY_MAIL_DELETED || nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE)
        return 0;
    const CMailDocumentRef ref = document.GetMailRef();
    std::unique_ptr<CMailMessage> pReader = NewMailReader(ref.nStoreKind);
    if (!pReader || pReader->Open(document.GetDirectoryString()) != 0)
        return 0;
    if (pReader->Seek(ref.dwOffset) != 0) {
        pReader->Close();
        return 0;
    }
    // At most the message's own bytes.
    int nRemaining = static_cast<int>(std::min<DWORD>(ref.dwLength, 0x7FFFFFFF));
    const ContentReadFn read = [&](BYTE* pBuffer, int nCount) -> int {
        const int nRead = pReader->Read(pBuffer, std::min(nCount, nRemaining));
        if (nRead > 0)
            nRemaining -= nRead;
        return std::max(nRead, 0); // the reader tells no failure from the end
    };
    const std::vector<CWordFinder>& finders = Finders(m_bCaseSensitive);
    std::vector<bool> found;
    const EContentScan eScan = ScanContent(read, finders, m_nMode == MODE_ANY_WORD && !finders.empty(), found);
    pReader->Close();
    return eScan == EContentScan::Done ? ContentResult(found) : 0;
}
