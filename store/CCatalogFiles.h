#pragma once

// The pair of catalog files ("archiv.cat", the main catalog, and "winrec.cat",
// the recycle-bin catalog) and their backup copies, all in the catalogs' folder:
//
//   archiv<n>.bck, winrec<n>.bck   generation n, 1 the newest .. 9 the oldest
//   archiv.old, winrec.old         the previous copies: the files a restore replaced
//
// A generation counts only when both of its files exist; a lone file is the
// trace of an interrupted operation and is never restored. Every copy is
// flushed to the disk before it is renamed into place, and the files are
// created, linked and renamed in an order that keeps two rules whenever the
// process stops (CCatalogFiles.cpp shows each sequence):
//
//   (1) two files counted as a generation, or as the previous copies, always
//       come from the same pair of catalog files. A backup copies both files
//       to temporaries first; a generation moves up one number by linking its
//       main file, then its recycle-bin file, under the new number (both new
//       names were deleted before, the recycle-bin one first) and only then
//       deleting the old names; the new copies are renamed in last, main first;
//   (2) a restore replaces both current files or neither. It prepares complete
//       copies ("archiv.rst", then "winrec.rst"); once "winrec.rst" exists the
//       restore is decided, and RecoverInterrupted finishes it after a crash.
//       Before that, RecoverInterrupted throws the preparation away.
//
// Backups are made while the catalogs may be open; restores only while both
// are closed. The object is used from one thread.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <functional>

// Where FormatBackupInfo writes its lines: the backup list's list box.
class CBackupInfoList {
public:
    virtual ~CBackupInfoList() = default;
    virtual int AddString(LPCTSTR pszText) = 0;
};

class CCatalogFiles {
public:
    // The most generations kept, and the numbers DeleteGenerations looks at.
    static constexpr int MAX_GENERATIONS = 9;

    // Program paths of the two catalog files; their folder holds the copies.
    CCatalogFiles(LPCTSTR pszCatalogPath, LPCTSTR pszRecyclePath);

    /* Repair. */

    // With both catalogs closed, before they are checked or copied: a
    // recycle-bin catalog made with the main catalog's kind (as an earlier
    // start made it) gets its own kind, when it walks without damage as a main
    // catalog and its root was never set up (set-up only ever writes the main
    // catalog). A file that fails either test is left as it is, for the check
    // to refuse. TRUE when the recycle-bin catalog was given its kind;
    // FALSE with ERROR_SUCCESS when nothing needed doing.
    BOOL RepairRecycleKind();

    /* Backups. */

    // Copies both catalog files into a new generation 1, the older ones moving
    // up one number and those beyond nKeep (1 to 9) dropped. The copies are
    // checked as a restore checks them first, so that a damaged catalog never
    // pushes a good generation out. FALSE when nKeep is out of range, a catalog
    // file is missing, a copy failed or is damaged (ERROR_INVALID_DATA); the
    // older generations are then kept, and the fatal catalog error is
    // reported with the name of the catalog file that failed.
    BOOL MakeGeneration(int nKeep);
    // The number of complete generations; a file of generations 1 to 9 whose
    // partner is missing is deleted.
    int DeleteGenerations();
    // Adds one line per complete generation, the newest first:
    // "<local date and time of the copy>  #<n>". Callers read the number back
    // with atoi after the first '#'. Returns the number of lines.
    int FormatBackupInfo(CBackupInfoList& list) const;
    BOOL HasGeneration(int nGeneration) const;
    // Both previous copies exist.
    BOOL HasOldGeneration() const;

    /* Restores, with both catalogs closed. Each checks its source first (both
       files open as catalogs of the right kind and walk without damage) and
       touches nothing when the check fails (ERROR_INVALID_DATA) or the source
       is incomplete (ERROR_FILE_NOT_FOUND). */

    // Restores generation nGeneration; the current files become the previous copies.
    BOOL RotateOld(int nGeneration);
    // Restores the previous copies; the current files become the previous
    // copies in their turn, so a second call undoes the first.
    BOOL RestoreOldGeneration();
    // Finishes a restore that was decided before the process stopped, or throws
    // away one that was not, and removes the temporary files an interrupted
    // backup left. Call at start-up before the catalogs are opened. FALSE when
    // a decided restore could not be finished.
    BOOL RecoverInterrupted();

    /* Test seam. */

    // Runs fnHook after each change in the file system (a file copied, linked,
    // renamed or deleted), so that a test can stop the process between any two.
    void SetStepHook(std::function<void()> fnHook) { m_fnStepHook = std::move(fnHook); }

private:
    // The two catalog files, indexed by file number.
    static constexpr int MAIN = 0;
    static constexpr int RECYCLE = 1;

    CString GenerationPath(int nFile, int nGeneration) const;
    // The folder and base name of a catalog file followed by pszSuffix.
    CString SiblingPath(int nFile, LPCTSTR pszSuffix) const;
    void Step() const;

    // Copies a file to pszTarget (replaced), flushed to the disk, stamped with
    // the current time.
    [[nodiscard]] BOOL CopyFlushed(LPCTSTR pszSource, LPCTSTR pszTarget) const;
    // Gives pszSource the name pszTarget as well (pszTarget must not exist),
    // by a hard link or, where the volume has none, a flushed copy. The new
    // name appears only when complete.
    [[nodiscard]] BOOL LinkOrCopy(LPCTSTR pszSource, LPCTSTR pszTarget, LPCTSTR pszTemporary) const;
    [[nodiscard]] BOOL Rename(LPCTSTR pszSource, LPCTSTR pszTarget) const;
    // Deletes a file that may be missing; FALSE only when it exists and stays.
    [[nodiscard]] BOOL Remove(LPCTSTR pszPath) const;
    // Removes a generation's files, the recycle-bin partner first.
    [[nodiscard]] BOOL DropGeneration(int nGeneration) const;
    // Gives generation nGeneration the number nGeneration + 1, whose files must be gone.
    [[nodiscard]] BOOL MoveGeneration(int nGeneration) const;

    // Validates the pair of sources and prepares the restore from them.
    BOOL Restore(const CString& strMainSource, const CString& strRecycleSource);
    // Replaces the current files by the prepared ones, keeping each current
    // file as its previous copy. Safe to run again after an interruption.
    [[nodiscard]] BOOL CompleteRestore() const;

    CString m_strPaths[2];
    CString m_strFolder[2]; // with its backslash
    CString m_strBase[2];   // the file name without its extension
    std::function<void()> m_fnStepHook;
};
