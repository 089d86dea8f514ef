#include "ui/PathAbbreviation.h"

#include "platform/gdi/Text.h"
#include "store/PathHelpers.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view ELLIPSIS = "...\\";

// The folders between the root and the name, and the name.
struct CPathParts {
    std::string strRoot;
    std::vector<std::string> folders;
    std::string strName;
};

CPathParts SplitParts(std::string_view path)
{
    CPathParts parts;
    CString strRoot = GetPathRoot(std::string(path).c_str());
    std::size_t nRoot = strRoot.IsEmpty() ? 0 : (path.starts_with('*') ? 1 : 0) + strRoot.GetLength();
    parts.strRoot = path.substr(0, nRoot);
    std::string_view rest = path.substr(nRoot);
    for (std::size_t nSlash = rest.find('\\'); nSlash != std::string_view::npos; nSlash = rest.find('\\')) {
        parts.folders.emplace_back(rest.substr(0, nSlash));
        rest.remove_prefix(nSlash + 1);
    }
    parts.strName = rest;
    return parts;
}

// The root, the first nHead folders, "...\", the folders from nTail on and the name.
std::string Join(const CPathParts& parts, std::size_t nHead, std::size_t nTail)
{
    std::string strText = parts.strRoot;
    for (std::size_t n = 0; n < nHead; ++n)
        strText += parts.folders[n] + '\\';
    strText += ELLIPSIS;
    for (std::size_t n = nTail; n < parts.folders.size(); ++n)
        strText += parts.folders[n] + '\\';
    return strText + parts.strName;
}

}

CString AbbreviatePath(LPCTSTR pszPath, HDC hdc, const RECT* pRect)
{
    std::string strPath(pszPath ? pszPath : "");
    const LONG nWidth = pRect ? pRect->right - pRect->left : 0;
    auto fits = [&](const std::string& strText) {
        SIZE size {};
        return GetTextExtentPoint32(hdc, strText.c_str(), static_cast<int>(strText.size()), &size) && size.cx <= nWidth;
    };
    if (fits(strPath))
        return CString(strPath.c_str());
    CPathParts parts = SplitParts(strPath);
    const std::size_t nFolders = parts.folders.size();
    if (nFolders == 0)
        return CString(strPath.c_str()); // no folder to leave out
    // The first folder kept, then not: each time leaving out one more folder after the kept ones.
    for (std::size_t nHead : { std::size_t { 1 }, std::size_t { 0 } }) {
        for (std::size_t nTail = nHead + 1; nTail <= nFolders; ++nTail) {
            std::string strCandidate = Join(parts, nHead, nTail);
            if (fits(strCandidate))
                return CString(strCandidate.c_str());
        }
    }
    return CString((std::string(ELLIPSIS) + parts.strName).c_str());
}
