#include "webaccess/directory/CatalogListReply.h"

#include "platform/base/TextFunctions.h"

#include <string>
#include <string_view>

namespace {

constexpr std::string_view TOKEN_START = "<#";
constexpr std::string_view CATALOG_TOKEN = "<#CAT ";
constexpr std::string_view END_TOKEN = "<#END#>";

// A field as the list shows it: control characters as blanks, cut at a character boundary.
CString CleanField(std::string_view field)
{
    std::string strField(field.substr(0, MAX_FIELD_BYTES + 4));
    for (char& ch : strField)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            ch = ' ';
    std::size_t nKeep = Utf8PrefixLength(strField.c_str(), MAX_FIELD_BYTES);
    return CString(strField.c_str(), static_cast<int>(nKeep));
}

} // namespace

std::vector<CWACatalogEntry> ParseCatalogList(const CString& strReply)
{
    std::string_view reply(static_cast<LPCTSTR>(strReply), static_cast<std::size_t>(strReply.GetLength()));
    std::vector<CWACatalogEntry> catalogs;
    // The reply's own marker begins with "<#" too; the search starts past its first character.
    std::size_t nPos = reply.empty() ? 0 : 1;
    for (;;) {
        nPos = reply.find(TOKEN_START, nPos);
        if (nPos == std::string_view::npos)
            return {};
        std::string_view token = reply.substr(nPos);
        if (token.starts_with(END_TOKEN))
            return catalogs;
        if (!token.starts_with(CATALOG_TOKEN))
            return {};
        std::size_t bars[4];
        std::size_t nBar = nPos;
        for (std::size_t& bar : bars) {
            nBar = reply.find('|', nBar);
            if (nBar == std::string_view::npos)
                return {};
            bar = nBar++;
        }
        if (catalogs.size() < MAX_CATALOGS) {
            catalogs.push_back({ CleanField(reply.substr(bars[0] + 1, bars[1] - bars[0] - 1)),
                CleanField(reply.substr(bars[2] + 1, bars[3] - bars[2] - 1)) });
        }
        nPos = bars[3] + 1;
    }
}
