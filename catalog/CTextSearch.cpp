#include "catalog/CTextSearch.h"

#include "platform/base/TextFunctions.h"
#include "store/CDocumentRec.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); });
}

// Whether the word occurs in the text; the text is already lower-cased when
// the compare ignores case.
bool FindWord(std::string_view text, const CString& strWord, BOOL bCaseSensitive)
{
    const std::string_view word(strWord);
    if (word.empty())
        return false;
    if (bCaseSensitive)
        return text.find(word) != std::string_view::npos;
    return text.find(Utf8ToLower(word)) != std::string_view::npos;
}

} // namespace

CTextSearch::CTextSearch(std::span<const CString> words, int nField, int nMode, BOOL bCaseSensitive)
    : m_words(words)
    , m_nField(nField)
    , m_nMode(nMode)
    , m_bCaseSensitive(bCaseSensitive)
{
}

int CTextSearch::SetCriteria(
    const CDocumentRec& document, std::span<const CString> words, int nField, int nMode, BOOL bCaseSensitive)
{
    return CTextSearch(words, nField, nMode, bCaseSensitive).MatchDocument(document);
}

int CTextSearch::MatchDocument(const CDocumentRec& document) const
{
    CString strText;
    switch (m_nField) {
    case FIELD_DESCRIPTION:
        document.GetNameWithLocation(strText);
        return CombineResults(strText, m_bCaseSensitive);
    case FIELD_NAME:
        document.GetFullPath(strText);
        return CombineResults(strText, FALSE);
    case FIELD_LABEL:
        document.GetLabel(strText);
        return CombineResults(strText, FALSE);
    case FIELD_SECONDARY:
        document.GetAltNameWithLocation(strText);
        return CombineResults(strText, m_bCaseSensitive);
    case FIELD_CONTENT:
        // FIXME: Scan the file's or the message's bytes.
        return 0;
    case FIELD_ALL_TEXTS:
        // No words find nothing here, blank texts included.
        if (m_words.empty())
            return 0;
        for (const int nText : { FIELD_DESCRIPTION, FIELD_NAME, FIELD_LABEL, FIELD_SECONDARY }) {
            if (CTextSearch(m_words, nText, m_nMode, m_bCaseSensitive && nText == FIELD_DESCRIPTION)
                    .MatchDocument(document)
                != 0)
                return 1;
        }
        return 0;
    default:
        document.GetFullPath(strText);
        return CombineResults(strText, m_bCaseSensitive);
    }
}

int CTextSearch::CombineResults(const CString& strText, BOOL bCaseSensitive) const
{
    const std::string_view text(strText);
    if (m_words.empty())
        return (m_nField == FIELD_DESCRIPTION || m_nField == FIELD_SECONDARY) && IsBlank(text) ? 1 : 0;
    const std::string lowered = bCaseSensitive ? std::string() : Utf8ToLower(text);
    const std::string_view searched = bCaseSensitive ? text : std::string_view(lowered);
    const auto found = [&](const CString& strWord) { return FindWord(searched, strWord, bCaseSensitive); };
    if (m_nMode == MODE_ALL_WORDS)
        return std::all_of(m_words.begin(), m_words.end(), found) ? 1 : 0;
    return std::any_of(m_words.begin(), m_words.end(), found) ? 1 : 0;
}
