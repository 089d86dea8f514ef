#include "platform/shell/HostTree.h"

#include "platform/base/PathNames.h"
#include "platform/base/WinError.h"

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

DWORD LastHostError()
{
    return Win32ErrorFromErrno(errno);
}

// Copies the bytes of one open file to another, in chunks, reporting each.
DWORD CopyFileData(int fdSource, int fdTarget, const HostCopyProgress& fnProgress)
{
    bool bKernelCopy = true;
    std::vector<char> buffer;
    for (;;) {
        ssize_t nCopied = -1;
        if (bKernelCopy) {
            nCopied = copy_file_range(fdSource, nullptr, fdTarget, nullptr, HOST_COPY_CHUNK, 0);
            if (nCopied < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                bKernelCopy = false;
                continue;
            }
        } else {
            if (buffer.empty())
                buffer.resize(1 << 20);
            nCopied = read(fdSource, buffer.data(), buffer.size());
            for (ssize_t nDone = 0; nCopied > 0 && nDone < nCopied;) {
                ssize_t nWritten = write(fdTarget, buffer.data() + nDone, static_cast<size_t>(nCopied - nDone));
                if (nWritten < 0 && errno == EINTR)
                    continue;
                if (nWritten <= 0)
                    return nWritten < 0 ? LastHostError() : ERROR_WRITE_FAULT;
                nDone += nWritten;
            }
        }
        if (nCopied < 0 && errno == EINTR)
            continue;
        if (nCopied < 0)
            return LastHostError();
        if (nCopied == 0)
            return ERROR_SUCCESS;
        if (fnProgress && !fnProgress(static_cast<std::uint64_t>(nCopied)))
            return ERROR_CANCELLED;
    }
}

DWORD CopyRegularFile(const std::string& strSource, const std::string& strTarget, const struct stat& info,
    const HostCopyProgress& fnProgress)
{
    int fdSource = open(strSource.c_str(), O_RDONLY | O_CLOEXEC);
    if (fdSource < 0)
        return LastHostError();
    int fdTarget = open(strTarget.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fdTarget < 0) {
        DWORD dwError = LastHostError();
        close(fdSource);
        return dwError;
    }
    DWORD dwError = CopyFileData(fdSource, fdTarget, fnProgress);
    const struct timespec times[2] = { info.st_atim, info.st_mtim };
    if (dwError == ERROR_SUCCESS && (fchmod(fdTarget, info.st_mode & 07777) != 0 || futimens(fdTarget, times) != 0))
        dwError = LastHostError();
    close(fdSource);
    if (close(fdTarget) != 0 && dwError == ERROR_SUCCESS)
        dwError = LastHostError();
    return dwError;
}

DWORD CopyTree(const std::string& strSource, const std::string& strTarget, const HostCopyProgress& fnProgress)
{
    struct stat info { };
    if (lstat(strSource.c_str(), &info) != 0)
        return LastHostError();
    if (S_ISLNK(info.st_mode)) {
        std::vector<char> target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 4096) + 1);
        ssize_t nLength = readlink(strSource.c_str(), target.data(), target.size());
        if (nLength < 0)
            return LastHostError();
        return symlink(std::string(target.data(), static_cast<size_t>(nLength)).c_str(), strTarget.c_str()) == 0
            ? ERROR_SUCCESS
            : LastHostError();
    }
    if (S_ISREG(info.st_mode))
        return CopyRegularFile(strSource, strTarget, info, fnProgress);
    if (!S_ISDIR(info.st_mode))
        return ERROR_ACCESS_DENIED; // devices, pipes and sockets are not copied
    if (mkdir(strTarget.c_str(), 0700) != 0)
        return LastHostError();
    bool bListed = false;
    std::vector<std::string> names = ListHostFolder(strSource, &bListed);
    if (!bListed)
        return ERROR_ACCESS_DENIED;
    for (const std::string& strName : names) {
        DWORD dwError = CopyTree(JoinHostPath(strSource, strName), JoinHostPath(strTarget, strName), fnProgress);
        if (dwError != ERROR_SUCCESS)
            return dwError;
    }
    // The folder's own mode and times last, once nothing more is written into it.
    const struct timespec times[2] = { info.st_atim, info.st_mtim };
    if (chmod(strTarget.c_str(), info.st_mode & 07777) != 0 || utimensat(AT_FDCWD, strTarget.c_str(), times, 0) != 0)
        return LastHostError();
    return ERROR_SUCCESS;
}

} // namespace

DWORD CopyHostTree(const std::string& strSource, const std::string& strTarget, const HostCopyProgress& fnProgress)
{
    struct stat info { };
    if (lstat(strTarget.c_str(), &info) == 0)
        return ERROR_ALREADY_EXISTS;
    DWORD dwError = CopyTree(strSource, strTarget, fnProgress);
    if (dwError != ERROR_SUCCESS)
        static_cast<void>(RemoveHostTree(strTarget)); // what was made goes; the first error is what counts
    return dwError;
}

DWORD MoveHostTree(const std::string& strSource, const std::string& strTarget, const HostCopyProgress& fnProgress)
{
    if (rename(strSource.c_str(), strTarget.c_str()) == 0)
        return ERROR_SUCCESS;
    if (errno != EXDEV)
        return LastHostError();
    DWORD dwError = CopyHostTree(strSource, strTarget, fnProgress);
    if (dwError != ERROR_SUCCESS)
        return dwError;
    return RemoveHostTree(strSource);
}

DWORD RemoveHostTree(const std::string& strPath)
{
    struct stat info { };
    if (lstat(strPath.c_str(), &info) != 0)
        return errno == ENOENT ? ERROR_SUCCESS : LastHostError();
    if (S_ISDIR(info.st_mode)) {
        // A folder we may not write or list is opened up first: its removal was asked for.
        if ((info.st_mode & S_IRWXU) != S_IRWXU)
            chmod(strPath.c_str(), (info.st_mode & 07777) | S_IRWXU);
        for (const std::string& strName : ListHostFolder(strPath)) {
            DWORD dwError = RemoveHostTree(JoinHostPath(strPath, strName));
            if (dwError != ERROR_SUCCESS)
                return dwError;
        }
        return rmdir(strPath.c_str()) == 0 ? ERROR_SUCCESS : LastHostError();
    }
    return unlink(strPath.c_str()) == 0 ? ERROR_SUCCESS : LastHostError();
}
