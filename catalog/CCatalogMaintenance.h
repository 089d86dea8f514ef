#pragma once

// The maintenance run: empties the clean-up folders, deletes the files whose
// names match the clean-up masks in the catalog's places, hands the expired
// documents to the recycle bin, and finishes the recycle-bin catalog's
// entries (their files deleted from the bin for good). Each pass shows its
// progress dialog; a stop the user confirms ends the run at the next item.
//
// What it never deletes, whatever the catalog's lists say: a drive's root or
// a folder that holds the program's own folder (its catalogs and settings)
// as a clean-up folder, and catalogued documents as clean-up files (they go
// to the recycle bin through the document pass, or not at all).

#include "catalog/CCatalogRules.h"

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <memory>
#include <vector>

class CCatalog;
class CNodeRec;
class CRunProgress;

class CCatalogMaintenance {
public:
    // pMain: the main catalog; pBin: the recycle-bin catalog. Reads the
    // clean-up folders and the name masks.
    CCatalogMaintenance(CCatalog* pMain, CCatalog* pBin);
    ~CCatalogMaintenance();
    CCatalogMaintenance(const CCatalogMaintenance&) = delete;
    CCatalogMaintenance& operator=(const CCatalogMaintenance&) = delete;

    // Runs the passes whose flag is set, in this order, while no stop was
    // confirmed: clean-up folders, clean-up files, expired documents (moved
    // with the user's confirmation; with bTidy sent to the bin at once) and
    // the recycle-bin catalog. Says so when expired documents remain.
    BOOL RunCatalogMaintenance(BOOL bFolders, BOOL bFiles, BOOL bDocuments, BOOL bTidy);
    BOOL IsCancelled() const { return m_bCancelled ? TRUE : FALSE; }

    // What the run did, counted.
    int GetDeletedFiles() const { return m_nDeletedFiles; }
    int GetFinishedEntries() const { return m_nFinishedEntries; }

    // Whether a clean-up folder may be emptied: not a drive's or share's root,
    // not the program's folder nor one that holds it.
    static BOOL IsSafeCleanUpFolder(LPCTSTR pszFolder);

private:
    void CleanUpFolders();
    void CleanUpFiles();
    void WalkForCleanUp(const CString& strFolder, int nDepth);
    void RecycleExpired(BOOL bTidy);
    void FinishBinEntries();
    // The documents of the node and of every node below it.
    void FinishNodeEntries(const CNodeRec& node, int nDepth);
    // Asks whether to stop when the dialog reports a stop request.
    void ConfirmMaintenanceCancel(BOOL bRequested);

    CCatalog* const m_pMain;
    CCatalog* const m_pBin;
    CCatalogRules m_rules;
    std::unique_ptr<CRunProgress> m_pProgress; // the pass's dialog
    bool m_bCancelled { false };
    int m_nDeletedFiles { 0 };
    int m_nFinishedEntries { 0 };
};
