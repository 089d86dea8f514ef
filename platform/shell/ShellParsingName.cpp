#include "platform/shell/ShellParsingName.h"

#include "platform/base/PathMap.h"
#include "platform/base/TrashFolders.h"

CString GetShellParsingName(LPCTSTR pszPath)
{
    CProgramPath path;
    if (pszPath == nullptr || !ParseProgramPath(pszPath, path))
        return CString(pszPath);
    CHostPath hostPath;
    if (ResolveProgramPath(path, hostPath) && hostPath.names.size() <= path.components.size()) {
        // The host's names are those of the last components: a share's subfolders
        // and a drive's recycle folder have none of their own.
        size_t nFirst = path.components.size() - hostPath.names.size();
        if (nFirst == 1 && path.chDrive)
            path.components[0] = RECYCLE_FOLDER_NAME;
        for (size_t i = 0; i < hostPath.nExisting; ++i)
            path.components[nFirst + i] = hostPath.names[i];
    }
    const std::string strName = path.ToString();
    return CString(strName.c_str(), static_cast<int>(strName.size()));
}
