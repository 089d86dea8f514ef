#pragma once

// The settings file behind one registry root, shared by every process that
// runs the program.
//
// Files: <program folder>/settings/<Root>.reg in the format of RegistryFormat.h,
// with a lock file <Root>.reg.lock beside it. A change is made like this:
//   1. take the file lock (flock, exclusive) on the lock file;
//   2. read the file again if it changed since this process last saw it, so
//      another process's changes are kept;
//   3. apply the change to the tree and write the whole tree to <Root>.reg.tmp,
//      fsync it, rename it over <Root>.reg and fsync the folder; a tree whose
//      text is what the file already holds is not written again; a <Root>.reg
//      that is a symbolic link stays one: the file it names is replaced the
//      same way, and a link that leads nowhere fails the write;
//   4. release the lock.
// The file on disk is therefore always either the old or the new tree, never a
// mix. Reads check the file's identity (inode, size, times) first and read it
// again when it changed, so they see other processes' changes.
//
// A file that does not parse is renamed to <Root>.reg.damaged-<UTC time>, the
// problem is recorded (GetRegistryProblems) and printed to stderr, and the root
// starts empty. When a write fails, the tree is read from disk again before the
// next use, so the failed change is not half kept in memory either.
//
// Not thread-safe: the registry calls serialise access with their own mutex.

#include "platform/base/RegistryTree.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

enum class ERegistryRoot {
    ClassesRoot,
    CurrentUser,
    LocalMachine,
};

class CRegistryStore {
public:
    // The store of one root, for the current program folder.
    static CRegistryStore& ForRoot(ERegistryRoot eRoot);

    // Brings the tree up to date with the file; ERROR_SUCCESS or the error that
    // kept the file from being read (the old tree is kept then).
    [[nodiscard]] DWORD Refresh();

    // Runs `fnChange` on the up-to-date tree under the file lock and saves the
    // result. `fnChange` returns ERROR_SUCCESS and sets `bChanged` when it changed
    // the tree; on any other code nothing is saved, the tree is read again before
    // its next use when `bChanged` was set, and that code is returned.
    [[nodiscard]] DWORD Change(const std::function<DWORD(CRegistryNode& root, bool& bChanged)>& fnChange);

    // Batches. While one is open, changes are made to the tree under the file
    // lock BeginBatch took, and the EndBatch that closes it writes them in one
    // save (batches nest; the outermost counts). A change that fails halfway
    // fails the batch: later changes get its error, nothing is written, and the
    // tree is read again. EndBatch returns the batch's error or the save's.
    [[nodiscard]] DWORD BeginBatch();
    [[nodiscard]] DWORD EndBatch();

    // The current tree. It is replaced, not edited, when the file is read again;
    // the generation number then goes up, so holders of nodes know to look again.
    const std::shared_ptr<CRegistryNode>& GetRoot() const { return m_pRoot; }
    unsigned long long GetGeneration() const { return m_nGeneration; }

private:
    // What identifies one version of the file on disk.
    struct CFileIdentity {
        bool bExists { false };
        dev_t nDevice { 0 };
        ino_t nInode { 0 };
        off_t nSize { 0 };
        long long nModified { 0 }; // nanoseconds
        long long nChanged { 0 };  // nanoseconds
        bool operator==(const CFileIdentity&) const = default;
    };

    explicit CRegistryStore(std::string strFileName);

    [[nodiscard]] DWORD RefreshLocked();
    [[nodiscard]] DWORD Load();
    [[nodiscard]] DWORD Save();
    void SetAside(const std::string& strReason);
    void UpdatePaths();
    static CFileIdentity IdentityOf(const std::string& strPath);

    std::string m_strFileName; // "CurrentUser.reg"
    std::string m_strFolder;   // host path of the settings folder
    std::string m_strPath;     // host path of the settings file
    std::shared_ptr<CRegistryNode> m_pRoot;
    CFileIdentity m_identity;              // of the file the tree was read from or last written to
    std::optional<std::string> m_fileText; // what that file holds; none when unknown or absent
    bool m_bLoaded { false };
    unsigned long long m_nGeneration { 0 };

    int m_nBatchDepth { 0 };
    int m_fdBatchLock { -1 }; // the file lock a batch holds
    bool m_bBatchChanged { false };
    DWORD m_dwBatchError { 0 }; // the error that failed the open batch
};

// Records a problem with a settings file for GetRegistryProblems and prints it to stderr.
void ReportRegistryProblem(const std::string& strProblem);
