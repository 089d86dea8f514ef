#include "store/CCatalogFiles.h"

#include "platform/base/CTime.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/HostFile.h"
#include "platform/base/KernelObject.h"
#include "platform/base/TimeFunctions.h"
#include "platform/base/WinError.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CatalogCheck.h"
#include "store/CatalogError.h"
#include "store/CatalogJournal.h"
#include "store/CatalogTypes.h"
#include "store/FileHelpers.h"
#include "store/PathHelpers.h"

#include <cstdint>
#include <span>
#include <vector>

/******************************************************************************
 * The sequences and why they are safe
 *
 * Files per catalog (A for the main catalog, W for the recycle-bin catalog;
 * all names are made from each file's base name):
 *   A.cat           the catalog in use
 *   A<n>.bck        generation n
 *   A.old           the previous copy
 *   A.bck.tmp       a backup copy in flight
 *   A.rst           a prepared restore; A.rst.tmp while it is being written
 *   A.old.tmp       the current file's new previous-copy name in flight
 *   A.lnk.tmp       a generation's new number in flight, when it must be copied
 *
 * A journal a crash left beside a closed catalog file (A.cat.jnl) is
 * replayed into it before the file is copied or replaced.
 *
 * MakeGeneration(k):
 *   1. copy A.cat -> A.bck.tmp, W.cat -> W.bck.tmp, each flushed, and check
 *      both copies as a restore would (else stop here);
 *   2. delete generations k..9, each W before its A;
 *   3. for n = k-1 .. 1: link A<n> as A<n+1>, W<n> as W<n+1>, then delete
 *      W<n> and A<n> (a lone file of generation n is just deleted);
 *   4. rename A.bck.tmp -> A1.bck, then W.bck.tmp -> W1.bck.
 * A pair A<m>/W<m> is only ever completed by its W, right after its A came from
 * the same source, into a number whose files were both deleted first. So
 * whenever the process stops, each complete pair is one true generation
 * (rule 1); the generation in flight may be lost, never mixed.
 *
 * Restore (RotateOld, RestoreOldGeneration), with sources SA and SW:
 *   1. check SA and SW; stop with nothing changed when either fails;
 *   2. copy SA -> A.rst.tmp -> A.rst, then SW -> W.rst.tmp -> W.rst, flushed;
 *      W.rst existing is the decision point;
 *   3. CompleteRestore: for A then W, when X.rst exists: link X.cat as
 *      X.old.tmp, rename it over X.old, rename X.rst over X.cat.
 * RecoverInterrupted finishes step 3 when W.rst exists (each part can run
 * again: X.cat is still the replaced file until X.rst is renamed over it) and
 * otherwise deletes A.rst. So after a crash and a recovery both current files
 * are the old ones or both are the restored ones (rule 2), and each file is
 * always whole, as every name appears by a rename of a finished file.
 ******************************************************************************/

namespace {

constexpr DWORD COPY_CHUNK_BYTES = 1 << 20;

BOOL FileExists(LPCTSTR pszPath)
{
    DWORD dwAttributes = GetFileAttributes(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}

CCatalogFiles::CCatalogFiles(LPCTSTR pszCatalogPath, LPCTSTR pszRecyclePath)
{
    m_strPaths[MAIN] = pszCatalogPath ? pszCatalogPath : "";
    m_strPaths[RECYCLE] = pszRecyclePath ? pszRecyclePath : "";
    for (int nFile : { MAIN, RECYCLE }) {
        CString strName, strExtension;
        SplitPath(m_strPaths[nFile], m_strFolder[nFile], strName);
        SplitFileName(strName, m_strBase[nFile], strExtension);
    }
}

/******************************************************************************
 * Repair
 ******************************************************************************/

BOOL CCatalogFiles::RepairRecycleKind()
{
    if (!FileExists(m_strPaths[RECYCLE])) {
        SetLastError(ERROR_SUCCESS); // a start before any catalog was made
        return FALSE;
    }
    {
        // Whatever is wrong with the file is for the check at start-up to find and say.
        CCatalogReportsHeld held;
        if (!CheckCatalogFile(m_strPaths[RECYCLE], CATALOG_KIND_MAIN)) {
            SetLastError(ERROR_SUCCESS);
            return FALSE;
        }
    }
    CCatalog recycle(m_strPaths[RECYCLE], CCatalog::OPEN_EXISTING);
    std::unique_ptr<CNodeRec> pRoot(recycle.IsOpen() ? CNodeRec::NewRootNodeRec(&recycle) : nullptr);
    if (!pRoot || !(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP)) {
        SetLastError(ERROR_SUCCESS);
        return FALSE; // a set-up main catalog under the recycle bin's name is no recycle bin
    }
    return recycle.SetKind(CATALOG_KIND_RECYCLE);
}

/******************************************************************************
 * Backups
 ******************************************************************************/

BOOL CCatalogFiles::MakeGeneration(int nKeep)
{
    if (nKeep < 1 || nKeep > MAX_GENERATIONS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CString strCopies[2] = { SiblingPath(MAIN, ".bck.tmp"), SiblingPath(RECYCLE, ".bck.tmp") };
    // A closed catalog copies whole only with the journal a crash left replayed.
    int nFailed = -1; // the catalog file whose copy failed
    for (int nFile : { MAIN, RECYCLE }) {
        if (nFailed < 0
            && (!SettleCatalogJournal(m_strPaths[nFile]) || !CopyFlushed(m_strPaths[nFile], strCopies[nFile])))
            nFailed = nFile;
    }
    // A damaged catalog, or a copy torn by a write made meanwhile, must not push a good generation out.
    // The check would report the copy's name; the user hears of the catalog file instead.
    {
        CCatalogReportsHeld held;
        for (int nFile : { MAIN, RECYCLE }) {
            if (nFailed < 0
                && !CheckCatalogFile(strCopies[nFile], nFile == MAIN ? CATALOG_KIND_MAIN : CATALOG_KIND_RECYCLE)) {
                nFailed = nFile;
                SetLastError(ERROR_INVALID_DATA);
            }
        }
    }
    if (nFailed >= 0) {
        DWORD dwError = GetLastError();
        (void)Remove(strCopies[MAIN]); // best effort: a leftover copy is only wasted space
        (void)Remove(strCopies[RECYCLE]);
        CString strFolder, strName;
        SplitPath(m_strPaths[nFailed], strFolder, strName);
        ReportCatalogError(strName);
        SetLastError(dwError);
        return FALSE;
    }
    for (int n = MAX_GENERATIONS; n >= nKeep; --n) {
        if (!DropGeneration(n))
            return FALSE;
    }
    for (int n = nKeep - 1; n >= 1; --n) {
        if (!MoveGeneration(n))
            return FALSE;
    }
    return Rename(strCopies[MAIN], GenerationPath(MAIN, 1)) && Rename(strCopies[RECYCLE], GenerationPath(RECYCLE, 1));
}

int CCatalogFiles::DeleteGenerations()
{
    int nCount = 0;
    for (int n = 1; n <= MAX_GENERATIONS; ++n) {
        if (HasGeneration(n)) {
            ++nCount;
            continue;
        }
        // A lone file that cannot be deleted is not counted either; it is tried again next time.
        (void)Remove(GenerationPath(MAIN, n));
        (void)Remove(GenerationPath(RECYCLE, n));
    }
    return nCount;
}

int CCatalogFiles::FormatBackupInfo(CBackupInfoList& list) const
{
    int nLines = 0;
    for (int n = 1; n <= MAX_GENERATIONS; ++n) {
        WIN32_FILE_ATTRIBUTE_DATA data {};
        if (!HasGeneration(n) || !GetFileAttributesEx(GenerationPath(MAIN, n), GetFileExInfoStandard, &data))
            continue;
        CString strLine;
        strLine.Format("%s  #%d", static_cast<LPCTSTR>(CTime(data.ftLastWriteTime).Format("%c")), n);
        list.AddString(strLine);
        ++nLines;
    }
    return nLines;
}

BOOL CCatalogFiles::HasGeneration(int nGeneration) const
{
    return nGeneration >= 1 && nGeneration <= MAX_GENERATIONS && FileExists(GenerationPath(MAIN, nGeneration))
        && FileExists(GenerationPath(RECYCLE, nGeneration));
}

BOOL CCatalogFiles::HasOldGeneration() const
{
    return FileExists(SiblingPath(MAIN, ".old")) && FileExists(SiblingPath(RECYCLE, ".old"));
}

/******************************************************************************
 * Restores
 ******************************************************************************/

BOOL CCatalogFiles::RotateOld(int nGeneration)
{
    if (!HasGeneration(nGeneration)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return Restore(GenerationPath(MAIN, nGeneration), GenerationPath(RECYCLE, nGeneration));
}

BOOL CCatalogFiles::RestoreOldGeneration()
{
    if (!HasOldGeneration()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return Restore(SiblingPath(MAIN, ".old"), SiblingPath(RECYCLE, ".old"));
}

BOOL CCatalogFiles::RecoverInterrupted()
{
    BOOL bFinished = TRUE;
    if (FileExists(SiblingPath(RECYCLE, ".rst")))
        bFinished = CompleteRestore();
    else
        (void)Remove(SiblingPath(MAIN, ".rst")); // an undecided restore: a leftover is overwritten next time
    for (int nFile : { MAIN, RECYCLE }) {
        for (LPCTSTR pszSuffix : { ".bck.tmp", ".rst.tmp", ".old.tmp", ".lnk.tmp" })
            (void)Remove(SiblingPath(nFile, pszSuffix));
    }
    return bFinished;
}

BOOL CCatalogFiles::Restore(const CString& strMainSource, const CString& strRecycleSource)
{
    // The current files become the previous copies, whole with their journals
    // replayed; a journal left beside a restored file would be replayed onto it.
    if (!SettleCatalogJournal(m_strPaths[MAIN]) || !SettleCatalogJournal(m_strPaths[RECYCLE]))
        return FALSE;
    if (!CheckCatalogFile(strMainSource, CATALOG_KIND_MAIN)
        || !CheckCatalogFile(strRecycleSource, CATALOG_KIND_RECYCLE)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const CString* pSources[2] = { &strMainSource, &strRecycleSource };
    for (int nFile : { MAIN, RECYCLE }) {
        CString strTemporary = SiblingPath(nFile, ".rst.tmp");
        if (!CopyFlushed(*pSources[nFile], strTemporary) || !Rename(strTemporary, SiblingPath(nFile, ".rst"))) {
            DWORD dwError = GetLastError();
            (void)Remove(strTemporary); // not decided yet: nothing was replaced
            (void)Remove(SiblingPath(MAIN, ".rst"));
            SetLastError(dwError);
            return FALSE;
        }
    }
    return CompleteRestore();
}

BOOL CCatalogFiles::CompleteRestore() const
{
    for (int nFile : { MAIN, RECYCLE }) {
        CString strPrepared = SiblingPath(nFile, ".rst");
        if (!FileExists(strPrepared))
            continue;
        if (FileExists(m_strPaths[nFile])) {
            CString strKept = SiblingPath(nFile, ".old.tmp");
            if (!Remove(strKept) || !LinkOrCopy(m_strPaths[nFile], strKept, SiblingPath(nFile, ".lnk.tmp"))
                || !Rename(strKept, SiblingPath(nFile, ".old")))
                return FALSE;
        }
        if (!Rename(strPrepared, m_strPaths[nFile]))
            return FALSE;
    }
    return TRUE;
}

/******************************************************************************
 * File steps
 ******************************************************************************/

CString CCatalogFiles::GenerationPath(int nFile, int nGeneration) const
{
    CString strSuffix;
    strSuffix.Format("%d.bck", nGeneration);
    return SiblingPath(nFile, strSuffix);
}

CString CCatalogFiles::SiblingPath(int nFile, LPCTSTR pszSuffix) const
{
    return m_strFolder[nFile] + m_strBase[nFile] + pszSuffix;
}

void CCatalogFiles::Step() const
{
    if (m_fnStepHook)
        m_fnStepHook();
}

BOOL CCatalogFiles::CopyFlushed(LPCTSTR pszSource, LPCTSTR pszTarget) const
{
    CHostFile source;
    if (!source.Open(pszSource, CHostFile::Access::Read))
        return FALSE;
    CHostFile target;
    if (!target.Open(pszTarget, CHostFile::Access::ReadWrite, CHostFile::Creation::CreateAlways))
        return FALSE;
    BOOL bOk = TRUE;
    std::vector<BYTE> buffer(COPY_CHUNK_BYTES);
    for (std::int64_t nOffset = 0;;) {
        const std::int64_t nRead = source.ReadAt(nOffset, buffer);
        if (nRead <= 0) {
            bOk = nRead == 0;
            break;
        }
        if (!target.WriteAt(nOffset, std::span<const BYTE>(buffer).first(static_cast<std::size_t>(nRead)))) {
            bOk = FALSE;
            break;
        }
        nOffset += nRead;
    }
    FILETIME ftNow {};
    GetSystemTimeAsFileTime(&ftNow);
    bOk = bOk && target.SetModifiedTime(ftNow) && target.Flush();
    target.Close();
    if (!bOk) {
        DWORD dwError = GetLastError();
        (void)Remove(pszTarget); // a partial copy is never used: its name is temporary
        SetLastError(dwError);
        return FALSE;
    }
    Step();
    return TRUE;
}

BOOL CCatalogFiles::LinkOrCopy(LPCTSTR pszSource, LPCTSTR pszTarget, LPCTSTR pszTemporary) const
{
    if (CreateHardLink(pszTarget, pszSource, nullptr)) {
        Step();
        return TRUE;
    }
    DWORD dwError = GetLastError();
    if (dwError != ERROR_NOT_SUPPORTED && dwError != ERROR_NOT_SAME_DEVICE && dwError != ERROR_ACCESS_DENIED)
        return FALSE;
    return CopyFlushed(pszSource, pszTemporary) && Rename(pszTemporary, pszTarget);
}

BOOL CCatalogFiles::Rename(LPCTSTR pszSource, LPCTSTR pszTarget) const
{
    if (!MoveFileEx(pszSource, pszTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FALSE;
    Step();
    return TRUE;
}

BOOL CCatalogFiles::Remove(LPCTSTR pszPath) const
{
    if (!FileExists(pszPath))
        return TRUE;
    DeleteFileForced(pszPath);
    if (FileExists(pszPath)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    Step();
    return TRUE;
}

BOOL CCatalogFiles::DropGeneration(int nGeneration) const
{
    return Remove(GenerationPath(RECYCLE, nGeneration)) && Remove(GenerationPath(MAIN, nGeneration));
}

BOOL CCatalogFiles::MoveGeneration(int nGeneration) const
{
    if (HasGeneration(nGeneration)) {
        for (int nFile : { MAIN, RECYCLE }) {
            if (!LinkOrCopy(GenerationPath(nFile, nGeneration), GenerationPath(nFile, nGeneration + 1),
                    SiblingPath(nFile, ".lnk.tmp")))
                return FALSE;
        }
    }
    return DropGeneration(nGeneration);
}
