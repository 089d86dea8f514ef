#include "platform/controls/EditInternal.h"

bool IsContinuationByte(char ch)
{
    return (static_cast<unsigned char>(ch) & 0xC0) == 0x80;
}

size_t NextChar(const std::string& strText, size_t nPos)
{
    if (nPos >= strText.size())
        return strText.size();
    if (strText.compare(nPos, 2, "\r\n") == 0)
        return nPos + 2;
    ++nPos;
    while (nPos < strText.size() && IsContinuationByte(strText[nPos]))
        ++nPos;
    return nPos;
}

size_t PrevChar(const std::string& strText, size_t nPos)
{
    if (nPos == 0)
        return 0;
    if (nPos >= 2 && strText.compare(nPos - 2, 2, "\r\n") == 0)
        return nPos - 2;
    --nPos;
    while (nPos > 0 && IsContinuationByte(strText[nPos]))
        --nPos;
    return nPos;
}

size_t CharBoundary(const std::string& strText, size_t nPos)
{
    nPos = std::min(nPos, strText.size());
    while (nPos > 0 && nPos < strText.size() && IsContinuationByte(strText[nPos]))
        --nPos;
    if (nPos > 0 && nPos < strText.size() && strText[nPos] == '\n' && strText[nPos - 1] == '\r')
        --nPos;
    return nPos;
}
