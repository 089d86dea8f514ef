#include "frame/ShellCommand.h"

#include "store/CRegistryKey.h"

#include "platform/shell/ShellExecute.h"
#include "platform/window/WindowTypes.h"

#include <array>
#include <string_view>

namespace {

// Longest verb name read while enumerating.
constexpr DWORD MAX_VERB_CHARS = 260;

// The verb of the shell key to take; empty when there is none.
CString ChooseVerb(CRegistryKey& shell)
{
    for (LPCTSTR pszVerb : std::array<LPCTSTR, 3> { "edit", "new", "open" }) {
        if (shell.KeyExists(pszVerb))
            return pszVerb;
    }
    TCHAR szName[MAX_VERB_CHARS + 1] {};
    for (DWORD dwIndex = 0;; ++dwIndex) {
        DWORD cchName = MAX_VERB_CHARS;
        if (RegEnumKeyEx(shell, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return {};
        CString strName(szName);
        if (strName.MakeLower().Find("open") >= 0)
            return szName;
    }
}

// Splits the command into its program and the text after it; FALSE when no
// program can be told.
BOOL SplitProgram(const CString& strCommand, CString& strProgram, CString& strRest)
{
    if (!strCommand.IsEmpty() && strCommand[0] == '"') {
        const int nClose = strCommand.Find('"', 1);
        if (nClose < 0)
            return FALSE;
        strProgram = strCommand.Mid(1, nClose - 1);
        strRest = strCommand.Mid(nClose + 1);
        return TRUE;
    }
    for (std::string_view end : { std::string_view(".exe"), std::string_view(".com") }) {
        const int nAt = strCommand.Find(end.data());
        if (nAt >= 0) {
            const int nEnd = nAt + static_cast<int>(end.size());
            strProgram = strCommand.Left(nEnd);
            strRest = strCommand.Mid(nEnd);
            return TRUE;
        }
    }
    return FALSE;
}

// The parameters with every "%<digits>" blanked, with a quote right before or after it.
CString BlankPlaceholders(CString strText)
{
    const int nLength = strText.GetLength();
    for (int i = 0; i < nLength; ++i) {
        if (strText[i] != '%' || i + 1 >= nLength || strText[i + 1] < '0' || strText[i + 1] > '9')
            continue;
        int nEnd = i + 1;
        while (nEnd < nLength && strText[nEnd] >= '0' && strText[nEnd] <= '9')
            ++nEnd;
        const int nFirst = (i > 0 && strText[i - 1] == '"') ? i - 1 : i;
        if (nEnd < nLength && strText[nEnd] == '"')
            ++nEnd;
        for (int j = nFirst; j < nEnd; ++j)
            strText.SetAt(j, ' ');
        i = nEnd - 1;
    }
    return strText.Trim();
}

} // namespace

BOOL ResolveShellCommand(LPCTSTR pszType, CString& strProgram, CString& strParameters, HKEY hClassesRoot)
{
    strProgram.Empty();
    strParameters.Empty();
    if (!pszType || !*pszType)
        return FALSE;

    CString strClass(pszType);
    CRegistryKey type;
    if (type.Open(hClassesRoot, strClass, KEY_READ)) {
        CString strNamed;
        if (type.GetString("", strNamed) && !strNamed.IsEmpty())
            strClass = strNamed;
    }
    CRegistryKey shell;
    if (!shell.Open(hClassesRoot, strClass + "\\shell", KEY_READ))
        return FALSE;
    const CString strVerb = ChooseVerb(shell);
    if (strVerb.IsEmpty())
        return FALSE;
    CRegistryKey command;
    CString strCommand;
    if (!command.Open(shell, strVerb + "\\command", KEY_READ) || !command.GetString("", strCommand))
        return FALSE;
    strCommand.MakeLower().Trim();
    if (strCommand.IsEmpty() || strCommand.Find("rundll32") >= 0)
        return FALSE;

    CString strRest;
    if (!SplitProgram(strCommand, strProgram, strRest)) {
        strProgram.Empty();
        return FALSE;
    }
    if (strVerb.CompareNoCase("edit") == 0)
        strParameters = BlankPlaceholders(strRest);
    return TRUE;
}

BOOL OpenWithShell(HWND hParent, LPCTSTR pszType, HKEY hClassesRoot)
{
    CString strProgram;
    CString strParameters;
    if (!ResolveShellCommand(pszType, strProgram, strParameters, hClassesRoot))
        return FALSE;
    SHELLEXECUTEINFO info {};
    info.cbSize = sizeof(info);
    info.hwnd = hParent;
    info.lpFile = strProgram;
    info.lpParameters = strParameters;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteEx(&info);
}
