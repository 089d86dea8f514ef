#pragma once

// The folder lists of the preference pages and their dialogs: a report list
// of one column without a header, one lower-cased folder path per row, with
// the closed folder icon or without icons. Rows are appended; the column
// widens to fit each new text (never narrows) and fits the rest again when
// rows are removed. The owner subclasses or creates the list window
// (LVS_REPORT | LVS_NOCOLUMNHEADER) and calls Initialize once.

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CListCtrl.h"
#include "ui/CSysImageList.h"

class CButton;
class CPopupFolderPicker;

#include <memory>

class CFolderListCtrl : public CListCtrl {
public:
    /* Column 0's width, in pixels: its first width, and what a row needs beyond its text. */
    static constexpr int INITIAL_WIDTH = 10;
    static constexpr int ICON_ROW_MARGIN = 38;
    static constexpr int TEXT_ROW_MARGIN = 8;

    CFolderListCtrl() = default;

    // Inserts the column; with bIcons gives the list the small system image list.
    void Initialize(BOOL bIcons);
    // Appends a row for the folder, lower-cased; the row's index.
    int AddFolder(const CString& strFolder);
    // Appends the folder unless a row holds the same text in any letter case;
    // FALSE when one does.
    BOOL AddFolderOnce(const CString& strFolder);
    // Which folders AddFolders lists: those that can be reached now, or
    // those that are writable and on a fixed disk.
    enum class EShown { Reachable, WritableOnFixedDisk };
    // Appends a row for each folder eShown lets through, in order; the others
    // are appended to notShown, as given.
    void AddFolders(const CStringArray& folders, EShown eShown, CStringArray& notShown);
    // Runs the picker from its button and appends the chosen folder unless a
    // row holds it already or it is a drive root refused by eRoots; the focus
    // comes back to the list. TRUE when a row was added.
    enum class ERoots { Allowed, Refused };
    BOOL AddPickedFolder(CPopupFolderPicker& picker, CButton& button, ERoots eRoots = ERoots::Allowed);
    // Deletes every selected row.
    void RemoveSelected();
    // Enables the list and the parent's add button (nIDAdd) with bEnable, and
    // the remove button (nIDRemove) while the list is enabled and has a
    // selected row; a disabled list loses its selection.
    void EnableWithButtons(BOOL bEnable, int nIDAdd, int nIDRemove);
    // The rows' texts, in row order.
    void GetFolders(CStringArray& folders) const;

private:
    std::unique_ptr<CSysImageList> m_systemImages; // held while the list shows icons
};
