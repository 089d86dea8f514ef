#pragma once

// The mail folders of the mail clients' users as a check tree, remembering
// the checked folders by their mailbox paths. The path map holds one record
// per chosen mailbox, keyed by its lower-cased path: it is filled from the
// folders the main catalog catalogues (LoadCheckedPaths), sets the states of
// the folders inserted (InsertFolders), and takes the user's changes back
// (CollectCheckedPaths). Folders cannot be excluded here. Folders that only
// group others have no mailbox and so no record.
//
// Each item points at its folder entry, which must outlive the tree's use.
// The owner supplies the image lists; every item shows image 0.

#include "mail/CMailer.h"
#include "ui/CCheckTreeCtrl.h"

#include <map>

class CMailFolderCheckTreeCtrl : public CCheckTreeCtrl {
public:
    // A chosen mailbox.
    struct CMailFolderRecord {
        CString strDisplayPath; // the folder's texts from the tree's root, after a prefix
        CString strExtra;       // empty
        DWORD dwStoreKind;      // MAIL_STORE_*, or 0xFFFFFFFF for a kind the catalog does not read
    };
    using CPathMap = std::map<CString, CMailFolderRecord>;

    CMailFolderCheckTreeCtrl();

    // Inserts the entries (last to first, sorted) under hParent (TVI_ROOT: at
    // the top) with their sub-folders, unchecked, then gives every folder of
    // the tree the state the path map asks for.
    void InsertFolders(CMailFolderArray& entries, HTREEITEM hParent);
    // Fills the path map from the locations of the host's main catalog.
    void LoadCheckedPaths();
    // Brings the path map in line with the tree below hParent: checked
    // mailboxes gain a record (display path strPrefix + "\" + the texts down
    // to it), others lose theirs.
    void CollectCheckedPaths(HTREEITEM hParent, const CString& strPrefix);
    // Checks the folders below hParent whose mailbox has a record, unchecks
    // the others, and expands every folder that has sub-folders.
    void ApplyStoredStates(HTREEITEM hParent);

    CPathMap& GetPathMap() { return m_paths; }

private:
    void InsertEntries(CMailFolderArray& entries, HTREEITEM hParent);
    // The lower-cased mailbox path of an item; empty for a group.
    CString ItemKey(HTREEITEM hItem) const;

    CPathMap m_paths;
};
