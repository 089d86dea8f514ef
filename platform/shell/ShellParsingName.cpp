#include "platform/shell/ShellParsingName.h"

#include "platform/base/PathMap.h"

CString GetShellParsingName(LPCTSTR pszPath)
{
    CProgramPath path;
    if (pszPath == nullptr || !ParseProgramPath(pszPath, path))
        return CString(pszPath);
    CHostPath hostPath;
    if (ResolveProgramPath(path, hostPath)) {
        for (size_t i = 0; i < hostPath.nExisting && i < path.components.size(); ++i)
            path.components[i] = hostPath.names[i];
    }
    const std::string strName = path.ToString();
    return CString(strName.c_str(), static_cast<int>(strName.size()));
}
