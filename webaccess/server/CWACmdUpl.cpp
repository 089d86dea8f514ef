#include "webaccess/server/CWACmdUpl.h"

#include "store/PathHelpers.h"
#include "webaccess/server/TokenFields.h"

#include <algorithm>
#include <string>

namespace {

constexpr DWORD MAX_SIZE_BEFORE_DIGIT = 429496729;

bool IsStorableName(const CString& strName)
{
    if (strName.IsEmpty() || strName == "." || strName == ".." || strName.Find(':') >= 0)
        return false;
    for (int i = 0; i < strName.GetLength(); ++i)
        if (static_cast<unsigned char>(strName[i]) < 0x20 || strName[i] == 0x7F)
            return false;
    return IsValidFileName(strName) != FALSE;
}

} // namespace

CString CWACmdUpl::GetLogText() const
{
    return "UPLOAD - " + m_strName;
}

void CWACmdUpl::ParseArgs(LPCTSTR pszText)
{
    CTokenFieldReader reader(pszText, *this);
    std::string_view name, size;
    if (!reader.ReadField(name) || !reader.ReadField(size))
        return;
    if (name.size() > MAX_NAME) {
        reader.Fail();
        return;
    }
    DWORD dwSize = 0;
    for (char ch : size) {
        if (ch < '0' || ch > '9' || dwSize >= MAX_SIZE_BEFORE_DIGIT) {
            reader.Fail();
            return;
        }
        dwSize = dwSize * 10 + static_cast<DWORD>(ch - '0');
    }
    std::string strName(name);
    std::replace(strName.begin(), strName.end(), '/', '\\');
    m_strName = strName.c_str();
    m_strFileName = m_strName.Mid(m_strName.ReverseFind('\\') + 1);
    m_dwSize = dwSize;
    if (!IsStorableName(m_strFileName)) {
        reader.Fail();
        return;
    }
    reader.Finish();
}
