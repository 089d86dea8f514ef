#pragma once

// Copying, moving and removing whole trees of host files, for the shell's file
// operations and the recycle bin. Copies keep each file's permission bits and
// times; symbolic links are copied as links. Results are Win32 errors
// (ERROR_SUCCESS when done).

#include "platform/base/WinTypes.h"

#include <cstdint>
#include <functional>
#include <string>

// Called as data is copied, with the bytes copied since the last call; false
// stops the copy (ERROR_CANCELLED). Called at least every HOST_COPY_CHUNK bytes.
using HostCopyProgress = std::function<bool(std::uint64_t nBytes)>;

constexpr std::uint64_t HOST_COPY_CHUNK = 16 * 1024 * 1024;

// Copies a file, link or folder with everything below to strTarget, which
// must not exist. On failure or a stop nothing of the target is left.
DWORD CopyHostTree(const std::string& strSource, const std::string& strTarget, const HostCopyProgress& fnProgress);

// Renames within a file system; across file systems copies, then removes the
// source once the copy is complete (a failed copy leaves the source whole).
DWORD MoveHostTree(const std::string& strSource, const std::string& strTarget, const HostCopyProgress& fnProgress);

// Removes a file, link or folder with everything below; stops at the first
// failure, leaving what it could not remove.
DWORD RemoveHostTree(const std::string& strPath);
