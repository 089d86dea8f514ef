#include "tools/testpeers/RelaySession.h"

std::string SessionKeyOf(const std::string& strReplyText)
{
    static constexpr char TOKEN[] = "<#SESSION |";
    const size_t nStart = strReplyText.find(TOKEN);
    if (nStart == std::string::npos)
        return {};
    const size_t nKey = nStart + sizeof TOKEN - 1;
    const size_t nEnd = strReplyText.find("|#>", nKey);
    return nEnd == std::string::npos ? std::string() : strReplyText.substr(nKey, nEnd - nKey);
}

std::string UserLine(const std::string& strId, const std::string& strKey)
{
    return strKey.empty() ? strId : strId + "|" + strKey;
}
