#include "platform/shell/FileOperation.h"

#include "platform/base/Com.h"
#include "platform/base/FileFind.h"
#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TrashFolders.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "platform/controls/StandardControls.h"
#include "platform/shell/FileOperationProgress.h"
#include "platform/shell/HostTree.h"
#include "platform/shell/RecycleBin.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageBox.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr FILEOP_FLAGS REFUSED_FLAGS = FOF_MULTIDESTFILES | FOF_CONFIRMMOUSE | FOF_RENAMEONCOLLISION;

// One item named in pFrom, found on the host.
struct CSource {
    std::string strProgramPath;
    std::string strHostPath;
    std::string strName;               // the host's name of the item
    std::optional<CRecycledEntry> bin; // set for a bin location ("C:\RECYCLED\dc13.txt")
};

struct CMapping {
    std::string strOld;
    std::string strNew;
};

bool HasWildcards(std::string_view strName)
{
    return strName.find_first_of("*?") != std::string_view::npos;
}

std::string LastComponent(const std::string& strPath)
{
    size_t nSep = strPath.find_last_of("\\/");
    return nSep == std::string::npos ? strPath : strPath.substr(nSep + 1);
}

std::string JoinProgramPath(const std::string& strFolder, const std::string& strName)
{
    return strFolder.empty() || strFolder.back() == '\\' ? strFolder + strName : strFolder + "\\" + strName;
}

bool StatHost(const std::string& strHostPath, struct stat& info)
{
    return lstat(strHostPath.c_str(), &info) == 0;
}

bool IsHostFolder(const std::string& strHostPath)
{
    struct stat info { };
    return stat(strHostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool SameHostItem(const std::string& strFirst, const std::string& strSecond)
{
    struct stat first { };
    struct stat second { };
    return stat(strFirst.c_str(), &first) == 0 && stat(strSecond.c_str(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

// Read-only by the owner's write bit, for root too, as the file functions judge it.
bool IsReadOnly(const struct stat& info)
{
    return (info.st_mode & S_IWUSR) == 0;
}

// A name in a host folder that nothing holds, for a copy made before it is put in place.
std::string TemporaryName(const std::string& strFolder)
{
    static thread_local std::mt19937 random { std::random_device {}() };
    for (;;) {
        std::string strPath = JoinHostPath(strFolder, ".archivora-copy-" + std::to_string(random() % 1000000000));
        struct stat info { };
        if (!StatHost(strPath, info))
            return strPath;
    }
}

std::string HostFolderOf(const std::string& strHostPath)
{
    size_t nSlash = strHostPath.rfind('/');
    return nSlash == 0 || nSlash == std::string::npos ? std::string("/") : strHostPath.substr(0, nSlash);
}

// Makes a host folder and the folders above it that are missing.
DWORD MakeHostFolders(const std::string& strPath)
{
    if (IsHostFolder(strPath))
        return ERROR_SUCCESS;
    std::string strParent = HostFolderOf(strPath);
    if (strParent != strPath) {
        DWORD dwError = MakeHostFolders(strParent);
        if (dwError != ERROR_SUCCESS)
            return dwError;
    }
    return mkdir(strPath.c_str(), 0777) == 0 || errno == EEXIST ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
}

std::string ErrorText(DWORD dwError)
{
    switch (dwError) {
    case ERROR_FILE_NOT_FOUND:
        return "The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND:
        return "The system cannot find the path specified.";
    case ERROR_ACCESS_DENIED:
        return "Access is denied.";
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return "An item with that name already exists.";
    case ERROR_DISK_FULL:
        return "There is not enough space on the disk.";
    case ERROR_WRITE_PROTECT:
        return "The media is write protected.";
    case ERROR_SHARING_VIOLATION:
        return "The item is in use.";
    case ERROR_BAD_PATHNAME:
        return "The destination folder is inside the source folder.";
    default:
        return "Error " + std::to_string(dwError) + ".";
    }
}

class CFileOperation {
public:
    explicit CFileOperation(SHFILEOPSTRUCT& op)
        : m_op(op)
    {
    }
    int Run();

private:
    DWORD Expand(std::vector<CSource>& sources);
    DWORD RunCopyOrMove(const std::vector<CSource>& sources);
    DWORD RunDelete(const std::vector<CSource>& sources);
    DWORD Transfer(const std::string& strSource, const std::string& strProgramSource, const std::string& strTarget,
        const std::string& strProgramTarget);
    DWORD PutInPlace(const std::string& strSource, const std::string& strTarget, bool bReplace);
    DWORD Delete(const CSource& source);
    // Shows a failure unless FOF_NOERRORUI and returns it.
    DWORD Fail(DWORD dwError, const std::string& strItem);
    DWORD Cancelled();
    bool Ask(const std::string& strText, const char* pszCaption, UINT uType, int* pnAnswer);
    void HandOutMappings();

    bool Copying() const { return m_op.wFunc == FO_COPY; }

    SHFILEOPSTRUCT& m_op;
    std::unique_ptr<CFileOperationProgress> m_pProgress;
    std::vector<CMapping> m_mappings;
    std::map<TCHAR, unsigned long long> m_lastNumbers; // the bin's last number per letter in this operation
};

int CFileOperation::Run()
{
    m_op.fAnyOperationsAborted = FALSE;
    m_op.hNameMappings = nullptr;
    if ((m_op.wFunc != FO_COPY && m_op.wFunc != FO_MOVE && m_op.wFunc != FO_DELETE) || (m_op.fFlags & REFUSED_FLAGS)
        || !m_op.pFrom || !*m_op.pFrom || (m_op.wFunc != FO_DELETE && (!m_op.pTo || !*m_op.pTo)))
        return ERROR_INVALID_PARAMETER;
    std::vector<CSource> sources;
    DWORD dwError = Expand(sources);
    if (dwError != ERROR_SUCCESS)
        return static_cast<int>(dwError);
    const char* pszCaption = m_op.lpszProgressTitle ? m_op.lpszProgressTitle
        : m_op.wFunc == FO_COPY                     ? "Copying"
        : m_op.wFunc == FO_MOVE                     ? "Moving"
                                                    : "Deleting";
    m_pProgress = std::make_unique<CFileOperationProgress>(
        m_op.hwnd, pszCaption, sources.size(), (m_op.fFlags & FOF_SILENT) != 0);
    dwError = m_op.wFunc == FO_DELETE ? RunDelete(sources) : RunCopyOrMove(sources);
    m_pProgress.reset();
    if (dwError == ERROR_SUCCESS || dwError == ERROR_CANCELLED)
        HandOutMappings();
    return static_cast<int>(dwError);
}

DWORD CFileOperation::Expand(std::vector<CSource>& sources)
{
    for (const char* pszName = m_op.pFrom; *pszName; pszName += std::strlen(pszName) + 1) {
        std::string strName = pszName;
        std::vector<std::string> paths;
        if (HasWildcards(LastComponent(strName))) {
            std::string strFolder = strName.substr(0, strName.size() - LastComponent(strName).size());
            WIN32_FIND_DATA data {};
            HANDLE hFind = FindFirstFile(strName.c_str(), &data);
            if (hFind == INVALID_HANDLE_VALUE) {
                DWORD dwError = GetLastError();
                if (dwError == ERROR_FILE_NOT_FOUND)
                    continue; // nothing matches: nothing to do
                return dwError == ERROR_PATH_NOT_FOUND ? dwError : Fail(dwError, strName);
            }
            do {
                std::string_view found = data.cFileName;
                bool bFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                if (found != "." && found != ".." && !(bFolder && (m_op.fFlags & FOF_FILESONLY)))
                    paths.push_back(strFolder + data.cFileName);
            } while (FindNextFile(hFind, &data));
            FindClose(hFind);
        } else {
            paths.push_back(strName);
        }
        for (const std::string& strPath : paths) {
            CSource source;
            CProgramPath parsed;
            CHostPath host;
            if (!ParseProgramPath(strPath.c_str(), parsed) || !ResolveProgramPath(parsed, host) || !host.Exists()
                || host.IsRoot())
                return Fail(host.IsRoot() && host.Exists() ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND, strPath);
            source.strProgramPath = parsed.ToString();
            source.strHostPath = host.HostPath();
            source.strName = host.names.back();
            if (parsed.chDrive && parsed.components.size() == 2
                && Utf8CompareNoCase(parsed.components[0], RECYCLE_FOLDER_NAME) == 0)
                source.bin = FindRecycledEntry(parsed.chDrive, parsed.components[1]);
            sources.push_back(std::move(source));
        }
    }
    return ERROR_SUCCESS;
}

DWORD CFileOperation::RunCopyOrMove(const std::vector<CSource>& sources)
{
    CProgramPath targetPath;
    CHostPath targetHost;
    if (!ParseProgramPath(m_op.pTo, targetPath) || !ResolveProgramPath(targetPath, targetHost))
        return Fail(ERROR_PATH_NOT_FOUND, m_op.pTo);
    std::string strTargetHost = targetHost.HostPath();
    std::string strTargetProgram = targetPath.ToString();
    bool bIntoFolder = targetHost.Exists() && IsHostFolder(strTargetHost);
    if (!bIntoFolder && sources.size() > 1) {
        // Several items go into a folder that is made for them.
        DWORD dwError = MakeHostFolders(strTargetHost);
        if (dwError != ERROR_SUCCESS)
            return Fail(dwError, strTargetProgram);
        bIntoFolder = true;
    }
    for (size_t i = 0; i < sources.size(); ++i) {
        const CSource& source = sources[i];
        if (!m_pProgress->BeginItem(source.strProgramPath, i))
            return Cancelled();
        std::string strTarget = bIntoFolder ? JoinHostPath(strTargetHost, source.strName) : strTargetHost;
        std::string strProgramTarget
            = bIntoFolder ? JoinProgramPath(strTargetProgram, source.strName) : strTargetProgram;
        DWORD dwError = MakeHostFolders(HostFolderOf(strTarget));
        if (dwError != ERROR_SUCCESS)
            return Fail(dwError, strProgramTarget);
        dwError = Transfer(source.strHostPath, source.strProgramPath, strTarget, strProgramTarget);
        if (dwError != ERROR_SUCCESS)
            return dwError;
        if (!Copying() && source.bin)
            RemoveRecycledInfo(*source.bin); // restored: the bin no longer holds it
    }
    return ERROR_SUCCESS;
}

// Copies or moves one item to strTarget, asking about an existing target.
DWORD CFileOperation::Transfer(const std::string& strSource, const std::string& strProgramSource,
    const std::string& strTarget, const std::string& strProgramTarget)
{
    struct stat sourceInfo { };
    if (!StatHost(strSource, sourceInfo))
        return Fail(ERROR_FILE_NOT_FOUND, strProgramSource);
    bool bSourceFolder = S_ISDIR(sourceInfo.st_mode);
    if (bSourceFolder && IsInHostFolder(NormalHostPath(strTarget), NormalHostPath(strSource)))
        return SameHostItem(strSource, strTarget) && !Copying() ? ERROR_SUCCESS
                                                                : Fail(ERROR_BAD_PATHNAME, strProgramTarget);

    std::string strFinal = strTarget;
    std::string strProgramFinal = strProgramTarget;
    bool bReplace = false;
    struct stat targetInfo { };
    if (StatHost(strTarget, targetInfo)) {
        if (SameHostItem(strSource, strTarget)) {
            if (!Copying())
                return ERROR_SUCCESS; // moved onto itself: nothing to do
            // A copy onto its own source is named "Copy of <name>", "Copy (2) of <name>", ...
            std::string strFolder = HostFolderOf(strTarget);
            std::string strName = LastComponent(strProgramTarget);
            for (int n = 1;; ++n) {
                std::string strCopy = (n == 1 ? "Copy of " : "Copy (" + std::to_string(n) + ") of ") + strName;
                struct stat info { };
                if (!StatHost(JoinHostPath(strFolder, strCopy), info)) {
                    strFinal = JoinHostPath(strFolder, strCopy);
                    strProgramFinal = strProgramTarget.substr(0, strProgramTarget.size() - strName.size()) + strCopy;
                    break;
                }
            }
            m_mappings.push_back({ strProgramSource, strProgramFinal });
        } else if (bSourceFolder && S_ISDIR(targetInfo.st_mode)) {
            // A folder onto a folder: its items join the folder there, each asked about in turn.
            for (const std::string& strName : ListHostFolder(strSource)) {
                if (!m_pProgress->Pump())
                    return Cancelled();
                DWORD dwError = Transfer(JoinHostPath(strSource, strName), JoinProgramPath(strProgramSource, strName),
                    JoinHostPath(strTarget, strName), JoinProgramPath(strProgramTarget, strName));
                if (dwError != ERROR_SUCCESS)
                    return dwError;
            }
            if (!Copying() && rmdir(strSource.c_str()) != 0 && errno != ENOTEMPTY && errno != EEXIST)
                return Fail(Win32ErrorFromErrno(errno), strProgramSource);
            return ERROR_SUCCESS;
        } else if (bSourceFolder || S_ISDIR(targetInfo.st_mode)) {
            return Fail(ERROR_ALREADY_EXISTS, strProgramTarget);
        } else if (IsReadOnly(targetInfo)) {
            return Fail(ERROR_ACCESS_DENIED, strProgramTarget); // a read-only target is never replaced
        } else {
            int nAnswer = IDYES;
            if (!(m_op.fFlags & FOF_NOCONFIRMATION)
                && !Ask("Replace " + strProgramTarget + "?", "Confirm File Replace", MB_YESNOCANCEL | MB_ICONQUESTION,
                    &nAnswer))
                return Cancelled();
            if (nAnswer == IDNO)
                return ERROR_SUCCESS;
            bReplace = true;
        }
    }
    DWORD dwError = PutInPlace(strSource, strFinal, bReplace);
    if (dwError == ERROR_CANCELLED)
        return Cancelled();
    return dwError == ERROR_SUCCESS ? dwError : Fail(dwError, strProgramSource);
}

// Puts a copy of strSource (or strSource itself, moving) at strTarget, so that
// strTarget is either as it was or complete.
DWORD CFileOperation::PutInPlace(const std::string& strSource, const std::string& strTarget, bool bReplace)
{
    if (!Copying()) {
        if (rename(strSource.c_str(), strTarget.c_str()) == 0)
            return ERROR_SUCCESS;
        if (errno != EXDEV)
            return Win32ErrorFromErrno(errno);
    }
    std::string strTemporary = TemporaryName(HostFolderOf(strTarget));
    std::uint64_t nSinceCheck = 0;
    DWORD dwError = CopyHostTree(strSource, strTemporary, [&](std::uint64_t nBytes) {
        nSinceCheck += nBytes;
        if (nSinceCheck < HOST_COPY_CHUNK)
            return true;
        nSinceCheck = 0;
        return m_pProgress->Pump();
    });
    if (dwError != ERROR_SUCCESS)
        return dwError;
    if (!bReplace) {
        struct stat info { };
        if (StatHost(strTarget, info)) {
            RemoveHostTree(strTemporary);
            return ERROR_ALREADY_EXISTS;
        }
    }
    if (rename(strTemporary.c_str(), strTarget.c_str()) != 0) {
        DWORD dwRenameError = Win32ErrorFromErrno(errno);
        static_cast<void>(RemoveHostTree(strTemporary)); // the copy goes; the rename's error is what counts
        return dwRenameError;
    }
    // Moving across file systems: the source goes once its copy is in place.
    return Copying() ? ERROR_SUCCESS : RemoveHostTree(strSource);
}

DWORD CFileOperation::RunDelete(const std::vector<CSource>& sources)
{
    if (sources.empty())
        return ERROR_SUCCESS;
    bool bToBin = (m_op.fFlags & FOF_ALLOWUNDO) != 0;
    if (!(m_op.fFlags & FOF_NOCONFIRMATION)) {
        std::string strWhat = sources.size() == 1 ? "'" + LastComponent(sources[0].strProgramPath) + "'"
                                                  : "these " + std::to_string(sources.size()) + " items";
        std::string strText = bToBin ? "Are you sure you want to send " + strWhat + " to the Recycle Bin?"
                                     : "Are you sure you want to delete " + strWhat + " for good?";
        int nAnswer = IDNO;
        if (!Ask(strText, sources.size() == 1 ? "Confirm File Delete" : "Confirm Multiple File Delete",
                MB_YESNO | MB_ICONQUESTION, &nAnswer)
            || nAnswer != IDYES)
            return Cancelled();
    }
    for (size_t i = 0; i < sources.size(); ++i) {
        if (!m_pProgress->BeginItem(sources[i].strProgramPath, i))
            return Cancelled();
        DWORD dwError = Delete(sources[i]);
        if (dwError != ERROR_SUCCESS)
            return Fail(dwError, sources[i].strProgramPath);
    }
    return ERROR_SUCCESS;
}

DWORD CFileOperation::Delete(const CSource& source)
{
    TCHAR chLetter
        = source.strProgramPath.size() >= 2 && source.strProgramPath[1] == ':' ? source.strProgramPath[0] : 0;
    UINT uType = chLetter ? GetDriveType(source.strProgramPath.substr(0, 3).c_str()) : DRIVE_REMOTE;
    // The bin keeps what fixed drives delete; elsewhere, and for what the bin holds, it goes for good.
    bool bToBin = (m_op.fFlags & FOF_ALLOWUNDO) && !source.bin && (uType == DRIVE_FIXED || uType == DRIVE_RAMDISK);
    if (bToBin) {
        unsigned long long& nLast = m_lastNumbers[static_cast<TCHAR>(std::toupper(chLetter))];
        return MoveToRecycleBin(source.strHostPath, chLetter, &nLast).dwError;
    }
    DWORD dwError = RemoveHostTree(source.strHostPath);
    if (dwError == ERROR_SUCCESS && source.bin)
        RemoveRecycledInfo(*source.bin);
    return dwError;
}

DWORD CFileOperation::Fail(DWORD dwError, const std::string& strItem)
{
    if (!(m_op.fFlags & FOF_NOERRORUI)) {
        const char* pszVerb = m_op.wFunc == FO_COPY ? "copy" : m_op.wFunc == FO_MOVE ? "move" : "delete";
        std::string strText = std::string("Cannot ") + pszVerb + " " + strItem + ": " + ErrorText(dwError);
        RegisterStandardControls();
        MessageBox(m_op.hwnd, strText.c_str(), "Error", MB_OK | MB_ICONERROR);
    }
    return dwError;
}

DWORD CFileOperation::Cancelled()
{
    m_op.fAnyOperationsAborted = TRUE;
    return ERROR_CANCELLED;
}

bool CFileOperation::Ask(const std::string& strText, const char* pszCaption, UINT uType, int* pnAnswer)
{
    RegisterStandardControls(); // the message box's buttons
    *pnAnswer = MessageBox(m_op.hwnd, strText.c_str(), pszCaption, uType);
    return *pnAnswer != IDCANCEL && *pnAnswer != 0;
}

void CFileOperation::HandOutMappings()
{
    if (!(m_op.fFlags & FOF_WANTMAPPINGHANDLE) || m_mappings.empty())
        return;
    // One block: the header, the entries, then the UTF-16 paths.
    std::vector<std::u16string> paths;
    size_t cbTexts = 0;
    for (const CMapping& mapping : m_mappings) {
        for (const std::string* pPath : { &mapping.strOld, &mapping.strNew }) {
            paths.push_back(Utf16FromUtf8(*pPath));
            cbTexts += (paths.back().size() + 1) * sizeof(WCHAR);
        }
    }
    size_t cbEntries = m_mappings.size() * sizeof(SHNAMEMAPPINGW);
    auto* pBlock = static_cast<BYTE*>(CoTaskMemAlloc(sizeof(SHNAMEMAPPINGHEADER) + cbEntries + cbTexts));
    if (!pBlock)
        return;
    auto* pHeader = reinterpret_cast<SHNAMEMAPPINGHEADER*>(pBlock);
    auto* pEntries = reinterpret_cast<SHNAMEMAPPINGW*>(pBlock + sizeof(SHNAMEMAPPINGHEADER));
    auto* pText = reinterpret_cast<WCHAR*>(pBlock + sizeof(SHNAMEMAPPINGHEADER) + cbEntries);
    pHeader->cNumOfMappings = static_cast<UINT>(m_mappings.size());
    pHeader->lpNM = pEntries;
    for (size_t i = 0; i < m_mappings.size(); ++i) {
        LPWSTR* ppszPaths[2] = { &pEntries[i].pszOldPath, &pEntries[i].pszNewPath };
        int* pnLengths[2] = { &pEntries[i].cchOldPath, &pEntries[i].cchNewPath };
        for (int j = 0; j < 2; ++j) {
            const std::u16string& path = paths[2 * i + j];
            std::memcpy(pText, path.c_str(), (path.size() + 1) * sizeof(WCHAR));
            *ppszPaths[j] = pText;
            *pnLengths[j] = static_cast<int>(path.size());
            pText += path.size() + 1;
        }
    }
    m_op.hNameMappings = pBlock;
}

} // namespace

int SHFileOperation(LPSHFILEOPSTRUCT lpFileOp)
{
    if (!lpFileOp)
        return ERROR_INVALID_PARAMETER;
    return CFileOperation(*lpFileOp).Run();
}

void SHFreeNameMappings(HANDLE hNameMappings)
{
    CoTaskMemFree(hNameMappings);
}
