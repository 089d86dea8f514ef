#include "webaccess/server/CWASocketMessage.h"

#include <cstring>

namespace {

constexpr int MIN_FOLDER = 4;
constexpr int MAX_FOLDER = 11;
constexpr int MAX_ID = 8;
constexpr int MAX_KEY = 64;

bool StartsWith(const CString& strLine, LPCTSTR pszPrefix)
{
    return std::strncmp(strLine, pszPrefix, std::strlen(pszPrefix)) == 0;
}

// Letters, digits, '_' and '-' only: the folder and the ID become parts of paths.
bool IsNamePart(const CString& strText)
{
    for (int i = 0; i < strText.GetLength(); ++i) {
        char ch = strText[i];
        bool bAllowed = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_'
            || ch == '-';
        if (!bAllowed)
            return false;
    }
    return true;
}

bool ParseSize(const CString& strText, LONG& nSize)
{
    if (strText.IsEmpty() || strText.GetLength() > 10)
        return false;
    long long nValue = 0;
    for (int i = 0; i < strText.GetLength(); ++i) {
        if (strText[i] < '0' || strText[i] > '9')
            return false;
        nValue = nValue * 10 + (strText[i] - '0');
    }
    if (nValue > 0x7FFFFFFF)
        return false;
    nSize = static_cast<LONG>(nValue);
    return true;
}

CWAInitLine Refused(LPCTSTR pszError)
{
    CWAInitLine init;
    init.pszError = pszError;
    return init;
}

} // namespace

CString GetPipeField(CWASocketMessage& message)
{
    const CString& strLine = message.m_strLine;
    int nOpen = strLine.Find('|', message.m_nPos);
    if (nOpen < 0)
        return CString();
    int nClose = strLine.Find('|', nOpen + 1);
    if (nClose < 0)
        return CString();
    message.m_nPos = nClose + 1;
    return strLine.Mid(nOpen + 1, nClose - nOpen - 1);
}

CWAInitLine ParseInitLine(const CString& strLine)
{
    CWAInitLine init;
    CWASocketMessage message(strLine);
    if (StartsWith(strLine, "<#INIT ")) {
        init.nMode = CWAInitLine::REQUEST;
        init.strFolderName = GetPipeField(message);
        init.strId = GetPipeField(message);
        // A third field of another shape carries no key: the request then
        // reaches no session, as without one.
        init.strKey = GetPipeField(message);
        if (init.strKey.GetLength() > MAX_KEY || !IsNamePart(init.strKey))
            init.strKey.Empty();
    } else if (StartsWith(strLine, "<#INIT_UPL ")) {
        init.nMode = CWAInitLine::UPLOAD;
        init.strFolderName = GetPipeField(message);
        init.strId = GetPipeField(message);
        static_cast<void>(GetPipeField(message)); // two fields the channel does not use
        static_cast<void>(GetPipeField(message));
        if (!ParseSize(GetPipeField(message), init.nRawSize) || !ParseSize(GetPipeField(message), init.nPackedSize))
            return Refused(WA_CHANNEL_INVALID_COMMAND);
    } else {
        return Refused(WA_CHANNEL_INVALID_COMMAND);
    }
    int nFolder = init.strFolderName.GetLength();
    if (nFolder < MIN_FOLDER || nFolder > MAX_FOLDER || !IsNamePart(init.strFolderName))
        return Refused(WA_CHANNEL_INVALID_FOLDER);
    if (init.strId.IsEmpty() || init.strId.GetLength() > MAX_ID || !IsNamePart(init.strId))
        return Refused(WA_CHANNEL_INVALID_ID);
    return init;
}
