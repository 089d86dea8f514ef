#include "store/TextMatch.h"

#include "platform/base/TextFunctions.h"
#include "store/PathHelpers.h"

#include <string>
#include <string_view>

namespace {

std::string_view View(LPCTSTR pszText)
{
    return pszText ? std::string_view(pszText) : std::string_view();
}

// Matches a text against a mask that are both already lower-cased. When a
// "*" fails to go on, the match resumes from the last "*" one character
// further, so the work is at most the product of the two lengths.
bool MatchWildcards(std::string_view strText, std::string_view strMask)
{
    size_t nText = 0;
    size_t nMask = 0;
    size_t nStarMask = std::string_view::npos;
    size_t nStarText = 0;
    while (nText < strText.size()) {
        if (nMask < strMask.size() && strMask[nMask] == '*') {
            nStarMask = ++nMask;
            nStarText = nText;
            if (nMask == strMask.size())
                return true; // a last "*" takes the rest of the text
            continue;
        }
        if (nMask < strMask.size()) {
            size_t nTextChar = Utf8CharLength(strText, nText);
            size_t nMaskChar = Utf8CharLength(strMask, nMask);
            if (strMask[nMask] == '?' || strText.substr(nText, nTextChar) == strMask.substr(nMask, nMaskChar)) {
                nText += nTextChar;
                nMask += nMaskChar;
                continue;
            }
        }
        if (nStarMask == std::string_view::npos)
            return false;
        nStarText += Utf8CharLength(strText, nStarText);
        nText = nStarText;
        nMask = nStarMask;
    }
    while (nMask < strMask.size() && strMask[nMask] == '*')
        ++nMask;
    return nMask == strMask.size();
}

} // namespace

BOOL MatchFileMask(LPCTSTR pszName, LPCTSTR pszMask)
{
    CString strNameBase;
    CString strNameExtension;
    CString strMaskBase;
    CString strMaskExtension;
    SplitFileName(pszName, strNameBase, strNameExtension);
    SplitFileName(pszMask, strMaskBase, strMaskExtension);
    return MatchTextNoCase(strNameBase, strMaskBase) && MatchTextNoCase(strNameExtension, strMaskExtension);
}

CSplitFileName SplitLowerFileName(LPCTSTR pszNameOrMask)
{
    CString strBase;
    CString strExtension;
    SplitFileName(pszNameOrMask, strBase, strExtension);
    return { Utf8ToLower(View(strBase)), Utf8ToLower(View(strExtension)) };
}

bool MatchSplitFileMask(const CSplitFileName& name, const CSplitFileName& mask)
{
    return MatchSplitFileMask(name.strBase, name.strExtension, mask);
}

bool MatchSplitFileMask(std::string_view strBase, std::string_view strExtension, const CSplitFileName& mask)
{
    return MatchWildcards(strBase, mask.strBase) && MatchWildcards(strExtension, mask.strExtension);
}

BOOL MatchTextNoCase(LPCTSTR pszText, LPCTSTR pszMask)
{
    return MatchWildcards(Utf8ToLower(View(pszText)), Utf8ToLower(View(pszMask))) ? TRUE : FALSE;
}

int CompareNoCase(const CString& strText1, const CString& strText2)
{
    return Utf8CompareNoCase(View(strText1), View(strText2));
}
