#pragma once

// The cross-process side of a named mutex, built on files and flock so that
// the kernel cleans up after a process that dies.
//
// Each name has two files in a per-user runtime folder ($XDG_RUNTIME_DIR/archivora,
// else archivora-<uid> in the temporary folder; mode 0700): "<name>.present",
// on which every process with a handle holds a shared lock, and "<name>.owner",
// on which the owning process holds an exclusive lock. The mutex exists while
// someone holds a shared lock on the presence file. Opening and leaving take an
// exclusive lock on the folder's "guard" file, so the test for existence and the
// joining are one step, and the files are removed when the last process leaves.
// The owner file's first byte is 1 while the mutex is owned; whoever takes the
// lock and finds a 1 knows the previous owner died holding it (abandoned).
//
// Within one process there is one object per name (SyncObjects.cpp keeps the
// in-process ownership by thread); this class only sees the process level.

#include "platform/base/WinTypes.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CNamedMutexFiles {
public:
    enum class EOpen {
        CreateOrOpen, // joins the mutex, creating it when no process has it
        OpenExisting, // fails with ERROR_FILE_NOT_FOUND when no process has it
    };
    enum class ELock {
        Busy, // another process owns the mutex
        Acquired,
        AcquiredAbandoned, // the previous owner process ended while owning it
    };

    // Joins the mutex `strName` (a valid object name). *pbExisted tells whether
    // another process had it. With bLockIfCreated, a call that creates the mutex
    // also takes the owner lock before any other process can see the mutex.
    // nullptr with the last error set on failure.
    static std::unique_ptr<CNamedMutexFiles> Open(
        std::string_view strName, EOpen eOpen, bool bLockIfCreated, bool* pbExisted);
    // Leaves the mutex, unlocking it if held; the last process removes the files.
    ~CNamedMutexFiles();
    CNamedMutexFiles(const CNamedMutexFiles&) = delete;
    CNamedMutexFiles& operator=(const CNamedMutexFiles&) = delete;

    // Tries the owner lock without blocking. Held() tells whether this process has it.
    [[nodiscard]] ELock TryLock();
    bool Held() const { return m_bHeld; }
    // Records in the owner file that the mutex is owned (true) or released (false).
    void MarkOwned(bool bOwned);
    // Drops the owner lock. An owner byte left at 1 reports the mutex abandoned to the next owner.
    void Unlock();

    // The file name stem for an object name: letters, digits, '-' and '_' kept,
    // every other byte as %XX, and long names shortened with a hash, so that
    // no name can leave the folder or collide with another.
    static std::string FileStem(std::string_view strName);
    // The per-user runtime folder, created private to the user on first use.
    // Read on every call so that a test can point XDG_RUNTIME_DIR at its own
    // folder. std::nullopt with the last error set when it cannot be used.
    static std::optional<std::string> RuntimeFolder();

private:
    CNamedMutexFiles() = default;

    std::string m_strFolder;
    std::string m_strStem;
    int m_fdPresence { -1 };
    int m_fdOwner { -1 };
    bool m_bJoined { false }; // holds the shared presence lock
    bool m_bHeld { false };
};
