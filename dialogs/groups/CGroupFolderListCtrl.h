#pragma once

// The folders of a group: a one-column report list whose rows show a folder's
// path, or for a mailbox entry ("*" and the mailbox's path) the mailbox's
// display name (its path when it has none), with image MAIL_IMAGE or
// FOLDER_IMAGE of the small image list. Each row owns its whole entry,
// lower-cased, as a CString in its item data, freed when the row is deleted
// through this class or when the list is destroyed. A folder is listed once:
// two entries with the same display text are one row.

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CListCtrl.h"

class CGroupFolderListCtrl : public CListCtrl {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int MAIL_IMAGE = 0;
    static constexpr int FOLDER_IMAGE = 2;

    CGroupFolderListCtrl() = default;

    // What a row shows for an entry.
    static CString GetDisplayText(const CString& strEntry);
    // TRUE when a row shows the entry's display text.
    BOOL ContainsFolder(const CString& strEntry) const;
    // Adds a row at the end and widens the column to its text; the row's index.
    int AddFolder(const CString& strEntry);
    // The entry of a row.
    CString GetEntry(int nRow) const;
    // Deletes the selected rows, fitting the column to the rows left.
    void DeleteSelected();
    // Appends the entries from the last row to the first, then deletes every row.
    void TakeEntries(CStringArray& entries);

protected:
    void OnDestroy();

private:
    void DeleteRow(int nRow);
};
