// The recycle bin: moving items into a trash.

#include "platform/shell/RecycleBin.h"

#include "platform/base/PathNames.h"
#include "platform/base/WinError.h"
#include "platform/shell/HostTree.h"
#include "platform/shell/TrashInfo.h"

#include <cctype>
#include <cerrno>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The device of a path, or of its nearest existing folder above (a trash
// not made yet lies where that folder is).
bool DeviceOf(std::string strPath, dev_t& device)
{
    for (;;) {
        struct stat info { };
        if (stat(strPath.c_str(), &info) == 0) {
            device = info.st_dev;
            return true;
        }
        if (strPath == "/" || strPath.empty())
            return false;
        size_t nSlash = strPath.rfind('/');
        strPath = nSlash == 0 ? std::string("/") : strPath.substr(0, nSlash);
    }
}

// Makes a folder and the folders above it that are missing, each with mode.
bool MakeFolders(const std::string& strPath, mode_t mode)
{
    struct stat info { };
    if (stat(strPath.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    size_t nSlash = strPath.rfind('/');
    if (nSlash != std::string::npos && nSlash > 0 && !MakeFolders(strPath.substr(0, nSlash), mode))
        return false;
    return mkdir(strPath.c_str(), mode) == 0 || errno == EEXIST;
}

// Makes a trash's folders and tells whether we may write into them.
bool PrepareTrash(const CTrashFolder& trash)
{
    return MakeFolders(trash.FilesFolder(), 0700) && MakeFolders(trash.InfoFolder(), 0700)
        && access(trash.FilesFolder().c_str(), W_OK) == 0 && access(trash.InfoFolder().c_str(), W_OK) == 0;
}

// The trash an item goes to, and whether it must be copied there.
bool ChooseTrash(const std::string& strHostPath, CTrashFolder& trash, bool& bCopy)
{
    CTrashFolder home = HomeTrash();
    dev_t itemDevice {};
    dev_t homeDevice {};
    if (!DeviceOf(strHostPath, itemDevice))
        return false;
    bCopy = false;
    if (!home.strPath.empty() && DeviceOf(home.strPath, homeDevice) && homeDevice == itemDevice) {
        trash = home;
        return PrepareTrash(trash);
    }
    std::string strTop = TopDirectoryOf(strHostPath);
    if (!strTop.empty()) {
        trash = TopDirectoryTrash(strTop);
        if (PrepareTrash(trash))
            return true;
    }
    // No trash of its own can be had: the home trash takes a copy.
    trash = home;
    bCopy = true;
    return !home.strPath.empty() && PrepareTrash(trash);
}

std::string ExtensionOf(const std::string& strHostPath)
{
    std::string strName = strHostPath.substr(strHostPath.rfind('/') + 1);
    size_t nDot = strName.rfind('.');
    return nDot == std::string::npos ? std::string() : strName.substr(nDot);
}

// Takes the next free name from nNumber on by creating its info file; the
// number and name taken, or false when no info file can be made.
bool TakeName(const CTrashFolder& trash, TCHAR chLetter, const std::string& strExtension, const std::string& strInfo,
    unsigned long long& nNumber, std::string& strName)
{
    std::string strPrefix = std::string("d") + static_cast<char>(std::tolower(static_cast<unsigned char>(chLetter)));
    for (int nTries = 0; nTries < 10000; ++nTries, ++nNumber) {
        strName = strPrefix + std::to_string(nNumber) + strExtension;
        struct stat info { };
        if (lstat(JoinHostPath(trash.FilesFolder(), strName).c_str(), &info) == 0)
            continue; // an item without its info file holds the name
        std::string strInfoPath = JoinHostPath(trash.InfoFolder(), strName + ".trashinfo");
        int fd = open(strInfoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return false;
        // Not synced: a crash may lose an item's original name, never the item.
        bool bWritten = write(fd, strInfo.data(), strInfo.size()) == static_cast<ssize_t>(strInfo.size());
        if (close(fd) != 0 || !bWritten) {
            unlink(strInfoPath.c_str());
            return false;
        }
        return true;
    }
    return false;
}

} // namespace

CRecycleResult MoveToRecycleBin(const std::string& strHostPath, TCHAR chLetter, unsigned long long* pnLastNumber)
{
    CRecycleResult result;
    struct stat info { };
    if (lstat(strHostPath.c_str(), &info) != 0) {
        result.dwError = ERROR_FILE_NOT_FOUND;
        return result;
    }
    CTrashFolder trash;
    bool bCopy = false;
    if (!ChooseTrash(strHostPath, trash, bCopy)) {
        result.dwError = ERROR_ACCESS_DENIED;
        return result;
    }
    unsigned long long nNumber = (pnLastNumber && *pnLastNumber ? *pnLastNumber : HighestRecycledNumber(chLetter)) + 1;
    std::string strInfo = FormatTrashInfo(NormalHostPath(strHostPath), trash.strTopDir, std::time(nullptr));
    std::string strName;
    if (!TakeName(trash, chLetter, ExtensionOf(strHostPath), strInfo, nNumber, strName)) {
        result.dwError = ERROR_ACCESS_DENIED;
        return result;
    }
    std::string strTarget = JoinHostPath(trash.FilesFolder(), strName);
    DWORD dwError = bCopy
        ? MoveHostTree(strHostPath, strTarget, {})
        : (rename(strHostPath.c_str(), strTarget.c_str()) == 0 ? ERROR_SUCCESS : Win32ErrorFromErrno(errno));
    if (dwError != ERROR_SUCCESS) {
        unlink(JoinHostPath(trash.InfoFolder(), strName + ".trashinfo").c_str());
        result.dwError = dwError;
        return result;
    }
    if (pnLastNumber)
        *pnLastNumber = nNumber;
    result.strTrashName = strName;
    return result;
}
