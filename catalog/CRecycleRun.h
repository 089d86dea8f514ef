#pragma once

// Moving catalog entries to the recycle bin: documents and whole nodes go
// from the main catalog into the recycle-bin catalog, their files into the
// system's bin, under the names the bin gives (RecycleBin.h). One object per
// run: it holds the bin's item count and the names given so far.
//
// Nothing is ever in neither place: a document's entry is copied into the
// recycle-bin catalog before its file moves; when the file will not move the
// copy goes again and the document stays where it was. Mail messages are
// deleted from their stores and not kept (a store cannot take one back).

#include "catalog/RecycleBin.h"

#include "platform/base/CString.h"

#include <memory>
#include <vector>

class CCatalog;
class CCatalogRecord;
class CDocumentRec;
class CNodeRec;
class CRunProgress;

class CRecycleRun {
public:
    // Both catalogs are held (acquired) for the run's life.
    CRecycleRun(CCatalog* pMain, CCatalog* pBin, CRunProgress* pProgress = nullptr);
    ~CRecycleRun();
    CRecycleRun(const CRecycleRun&) = delete;
    CRecycleRun& operator=(const CRecycleRun&) = delete;

    /* Workers: 0 when the entry went to the bin, 1 when it stays. */

    int RecycleDocument(CDocumentRec& document);
    // The node's sub-tree, depth first, then the node itself once nothing is
    // left in it. Stops at a stop request.
    int RecycleNode(CNodeRec& node);
    // A file dropped from the shell: sent to the bin and, unless bSkipCatalog,
    // entered into the recycle-bin catalog (its main-catalog entry moved
    // there, or a new entry under the bin's systems root).
    int RecycleShellFile(LPCTSTR pszPath, BOOL bSkipCatalog);

    BOOL IsStopped() const { return m_bStopped; }
    // A message stayed because its mail folder keeps no status line to flag it deleted.
    BOOL LeftMessageWithoutStatus() const { return m_bLeftWithoutStatus; }

private:
    // Gives the bin entry the name its file got, when a file went to the bin
    // since the last count.
    BOOL RecordRecycledName(CDocumentRec& entry, const CString& strPath);
    // Deletes a mail message from its store; 0 (MAIL_OK) or the store's failure code.
    int DeleteFromStore(const CDocumentRec& document);
    bool CheckStop();

    CCatalog* const m_pMain;
    CCatalog* const m_pBin;
    CRunProgress* const m_pProgress;
    int m_nBinCount { 0 };
    CRecycledNameMap m_names;
    bool m_bStopped { false };
    bool m_bLeftWithoutStatus { false };
};

// Moves the entries (CDocumentRec and CNodeRec objects) to the recycle bin:
// unless bNoConfirm, after the user confirmed it and with a report of the
// entries that stayed. An entry moved is reset in the vector; the others stay.
// The confirmation of a selection holding mail messages says that they are
// deleted from their mail folders, which the bin cannot give back.
// TRUE when at least one entry moved.
BOOL MoveToRecycleBin(
    CCatalog* pMain, CCatalog* pBin, std::vector<std::unique_ptr<CCatalogRecord>>& entries, BOOL bNoConfirm);
