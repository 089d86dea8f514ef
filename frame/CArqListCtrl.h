#pragma once

// CArqListCtrl: the list of one catalog node's contents, one row per child
// node and one per document linked to the node. Every row's item data is a
// record object (CNodeRec or CDocumentRec) owned by the list's two record
// sets; rows hold no text, every cell is produced on demand from the record
// (LVN_GETDISPINFO). A row whose record lies in a block of another table is
// an empty row: no text, no image, no state.
//
// Columns are identified by the string ID of their title (CatalogColumns.h);
// the cell rules below hold for every list of the family (the document view's,
// the recycle bin's, the search results' and the expired documents').
//
// Filling (CArqListCtrl_Fill.cpp): the first DIRECT_ROWS rows go in before
// Fill returns; a worker thread inserts the rest by sending LVM_INSERTITEM to
// the list, which the user-interface thread serves. Only one worker runs per
// list, and the record sets are never deleted while it reads them: every new
// fill, sort, reload and the window's end waits for it first (WaitForFill).
//
//   idle ──Fill, > DIRECT_ROWS rows──> filling ──last row inserted──> idle
//   filling ──WaitForFill(FALSE)──> stopping (after the current row) ──> idle
//   filling ──WaitForFill(TRUE)──> idle (every row inserted)
//
// Every handler runs in the user-interface thread; InsertRow may also be
// called by the worker.

#include "store/CNodeRec.h"
#include "store/ListFilter.h"
#include "ui/CDataTipWnd.h"
#include "ui/CGridListCtrl.h"
#include "ui/CKadDropTarget.h"
#include "ui/CSysImageList.h"

#include "platform/framework/CImageList.h"

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class CCatalog;
class CCatalogRecord;
class CDragTracker;
class CKadDragObj;
class CKadDragObjPIDL;
class CFolderIndex;
class CCmdUI;
class CMenu;
class CDocumentRec;
struct CDocumentInfo;
class CWinThread;

class CArqListCtrl
    : public CGridListCtrl
    , public CKadDropTarget {
    DECLARE_DYNCREATE(CArqListCtrl)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int DIRECT_ROWS = 40;           // rows a fill inserts before it returns
    static constexpr int REDRAW_EVERY = 100;         // the worker's rows between two repaints
    static constexpr UINT STATE_IMAGE_MASK = 0xF000; // item state bits of the state image
    static constexpr int STATE_IMAGE_WIDTH = 17;
    static constexpr int TEXT_EDIT_LIMIT = 259; // names, folders and texts of documents
    static constexpr int NODE_NAME_LIMIT = 30;
    static constexpr int DATE_EDIT_LIMIT = 10;
    // Sent by the fill worker: the list repaints in its own thread.
    static constexpr UINT MSG_FILL_REDRAW = WM_APP + 0x120;
    // Posted after an edit the catalog refused: the editor opens again.
    static constexpr UINT MSG_REOPEN_EDIT = WM_APP + 0x121;

    // What a row shows, by the table of the block holding its record.
    enum class RowKind {
        Empty,
        Node,
        Document,
    };

    CArqListCtrl();
    ~CArqListCtrl() override;

    /* Setting up. */

    // The grid's set-up, the data tip and shared image lists; FALSE as the grid's.
    BOOL Initialize();
    // Makes the state images (bitmap IDB_LIST_STATES) for the grid's state
    // column and, outside the report view, for the list's own state images.
    void CreateStateImageList();
    // Sets the shell's system lists as the list's small and normal images.
    void AttachSystemImageList();
    BOOL GetShowExtension() const { return m_bShowExtension; }
    void SetShowExtension(BOOL bShow) { m_bShowExtension = bShow; }
    BOOL GetSizeInKB() const { return m_bSizeInKB; }
    void SetSizeInKB(BOOL bSizeInKB) { m_bSizeInKB = bSizeInKB; }
    // The condition set applied to the document rows of the next fill.
    CListFilter& GetListFilter() { return m_filter; }

    /* Rows. */

    // Inserts row nRow for pRecord: text and image by callback, and for a
    // document with state images on, its state image. The row's index.
    // Callable from the fill worker (it sends to the list).
    int InsertRow(int nRow, CCatalogRecord* pRecord);
    // The record of a row; null outside the list.
    CCatalogRecord* GetRowRecord(int nRow) const;
    CNodeRec* GetRowNode(int nRow) const;
    CDocumentRec* GetRowDocument(int nRow) const;
    static RowKind KindOf(const CCatalogRecord* pRecord);
    // The state image of a document, shifted into the item state (0: none).
    static UINT GetStateImage(const CDocumentRec& document);
    // Clears every selection and focus, then selects, focuses and shows nRow.
    void SelectOnly(int nRow);
    int GetFocusedRow() const { return GetNextItem(-1, LVNI_FOCUSED); }
    // The focused row's node; null when it is no node row.
    CNodeRec* GetFocusedNode() const;
    // The node whose contents show (the list's own copy); null for none.
    CNodeRec* GetShownNode() const { return m_pShownNode.get(); }
    // The row holding the record (same block and slot); -1 when none does.
    int FindRecordRow(const CCatalogRecord& record) const;

    /* Cell texts. */

    // The text of a record's cell in the column of ID nColumnId (empty for an
    // empty row): the rules every list of the family shares.
    static CString CellText(const CCatalogRecord* pRecord, LONG nColumnId, BOOL bShowExtension, BOOL bSizeInKB);
    // Gives the header the state column's title picture (bitmap IDB_LIST_HEADER) on column nColumn.
    void SetHeaderStatePicture(int nColumn);
    // The text of a row's cell as this list shows it: CellText, unless a
    // list of the family shows a column of its own.
    virtual CString GetRowCellText(const CCatalogRecord* pRecord, LONG nColumnId);
    // The column ID of column index nColumn; 0 for none.
    LONG GetColumnId(int nColumn) const;
    // The column index of a column ID; -1 when the list has no such column.
    int FindColumn(LONG nColumnId) const;

    /* Filling (CArqListCtrl_Fill.cpp). */

    // Shows the child nodes and the filtered documents of pNode (none for null),
    // sorted by the header's sort column; row 0 selected.
    void Fill(CNodeRec* pNode);
    // Shows, at once and without a worker, the documents of pExtra1 and
    // pExtra2 (when given) and of pNode, each with those of every node below
    // it, each document once.
    void FillWithEntries(CNodeRec* pNode, CNodeRec* pExtra1, CNodeRec* pExtra2);
    // Shows the documents given (taken over), sorted by the header's sort
    // column, each once: the first rows at once, the rest through a worker.
    // No node shows and no row is selected.
    void FillWithDocuments(CDocumentRecArray documents);
    // Waits for a running worker: bContinue TRUE lets it insert every row,
    // FALSE stops it after its current row. Serves the worker's sent messages
    // while it waits.
    void WaitForFill(BOOL bContinue);
    BOOL IsFilling() const;
    // Stops a fill, removes every row and deletes the record sets.
    void ClearRows();
    // Reads the shown node and every row's record again and repaints.
    void RefreshAll();
    // Shows pNode's contents read again after a catalog change, in place:
    // rows whose record stays keep their focus, selection and marks, new
    // ones come in at their sorted place, rows whose record went are removed,
    // and the row first in view stays first. Without a focused row row 0 is
    // focused, without a selection the focused row is selected. A list that
    // shows another node, is empty, or still fills, is filled anew (Fill).
    void RefreshRows(CNodeRec* pNode);
    // The same for a list of documents without a node (FillWithDocuments):
    // the documents given (taken over) take the rows' place.
    void ReloadDocuments(CDocumentRecArray documents);
    // The documents a search found, as the folder index lists them, that
    // pCatalog still holds, shown as ReloadDocuments shows them.
    void ReloadFromPaths(CFolderIndex& source, CCatalog* pCatalog);
    // Re-checks one document row's state per call, from the main frame's
    // idle time. TRUE when it wants more idle time; FALSE while a worker
    // fills, while the main window is hidden or minimised, and at the end.
    BOOL IdleRefreshNextItem();

    // How a fill starts its worker; tests replace it to see a start fail.
    using WorkerStarter = BOOL (*)(UINT (*pfnWorker)(LPVOID), LPVOID pParam);
    // Installs pfnStart (null: the default, AfxBeginThread); returns the previous one.
    static WorkerStarter SetWorkerStarter(WorkerStarter pfnStart);

    /* Editing (CArqListCtrl_Edit.cpp). */

    // Edits the focused row's name.
    void RenameFocused();
    // Puts a document object in place of the row's (which it deletes).
    void ReplaceRowRecord(int nRow, std::unique_ptr<CDocumentRec> pDocument);

    /* Commands (CArqListCtrl_Commands.cpp). */

    // Opens the selected files (the focused row without a selection) with
    // the programs the desktop gives their types; a group alone is followed
    // into the tree.
    void OpenSelected();
    // Opens the selected documents (the focused row without a selection) as
    // their open actions say; a group alone is followed into the tree.
    void OpenSelectedItems();
    // The tree selects the group, and the list shows it.
    void FollowGroup(CNodeRec& node);
    // Moves the selected rows that may go there to the recycle bin, confirmed.
    void RecycleSelected();
    // Puts the selected rows on the clipboard (PAYLOAD_COPY or PAYLOAD_MOVE,
    // which marks them cut). FALSE when nothing went there.
    BOOL CopySelection(LONG nOperation);
    // The selected rows in index order.
    std::vector<int> GetSelectedRows() const;
    // Asks for a new group under node (the group dialog) and reports the change.
    void NewGroupUnderNode(CNodeRec& node);

    /* Commands over the focused document (CArqListCtrl_Document.cpp). */

    // Opens the focused document as the command nID's open action says
    // (ID_FILE_OPEN, the other open actions of a file, the mail replies,
    // forward and send-as-new, the mail client); the command's kind must be
    // the document's. FALSE when nothing opened.
    BOOL OpenFocusedAs(UINT nID);
    // Opens the focused file with the open-with menu's program nID.
    BOOL OpenFocusedWithProgram(UINT nID);
    // Shows the focused file in the folder chooser (it copies the file there).
    void RunFocusedFolderDialog();
    // Asks the focused document's open action, or version number, and writes it.
    void EditFocusedChoice();
    void EditFocusedNumber();
    // Protects the focused document with a new password, or unprotects it
    // once its password is given; a failure is reported for its file.
    void ProtectFocusedDocument();
    // Protects the focused file, opened unprotected from the catalog, again
    // once its password is given.
    void ProtectFocusedAgain();
    // The image preview of the focused file; what it saved counts as seen
    // when the file is one the program opened.
    void ShowFocusedPreview();
    // The processing dialog over the focused document.
    void RunFocusedDocumentDialog();
    // The processing without its dialog over the selected documents that are
    // not blocked: each takes the beginning of its content as description.
    // Asks first when one has a description already; a progress window lets
    // a long selection be stopped; descriptions that could not be written are
    // reported once at the end. The number of descriptions written.
    int DescribeSelectedFromContent();

    /* Handing the selection elsewhere (CArqListCtrl_Send.cpp). */

    // Links the selected documents (but messages gone from their store) to the favourites.
    void CatalogSelectedAgain();
    // Moves the selected documents from the shown group into the fixed top
    // node of block nBlock (the unsorted documents or the archive).
    void MoveSelectedToTopNode(CATBLOCK nBlock);
    // Copies the selected files that can be reached to the removable drive of
    // the send-to menu's command nID. Non-zero when something was copied.
    int BackupSelected(UINT nID);
    // Opens a new mail message in the mail program with the selected files
    // that can be reached attached; one that cannot be attached is reported.
    // FALSE when none could be, or the mail program did not start.
    BOOL MailSelected();
    // A message's sender and recipients, the texts its note may take; FALSE
    // (nothing added) for a file or a message that cannot be read.
    static BOOL GetMessageChoices(const CDocumentRec& document, CStringArray& choices);
    void GetCellChoices(int nItem, int nColumn, CStringArray& choices) override;
    // Puts the sender (nChoice 0) or the recipients (1) of each selected
    // message into its note where the note holds the words that ask for them
    // (IDS_MESSAGES_BOTH, IDS_MESSAGES_RECEIVED); protected messages keep
    // theirs. The number of notes changed.
    int FillMessageNotes(int nChoice);

    /* Sorting. */

    // The header's sort key: column 0 ascending when no column is the sort column.
    CSortSpec GetSortSpec();
    // Sorts by column nColumn: the sort column again reverses the direction,
    // another one sorts ascending.
    void SortByColumn(int nColumn);

    /* What the grid asks of its cells. */

    LONG GetCellValue(int nItem, int nColumn) override;
    int GetCellEditLimit(int nItem, int nColumn) override;
    int GetCellEditorKind(int nItem, int nColumn) override;
    BOOL IsItemRecent(int nItem) override;

    /* Dragging and dropping (CArqListCtrl_DragDrop.cpp). */

    // While a row drag runs, messages go to its tracker first; else the grid's keys.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DropEnter() override;
    DROPEFFECT DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) override;
    void DropLeave() override;
    BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT effect) override;

protected:
    void OnDestroy();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSortColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    // A repaint the worker asks for: reaches the list in its own thread.
    LRESULT OnFillRedraw(WPARAM wParam, LPARAM lParam);
    // Takes an edited value into the catalog, then retires the editor.
    void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnReopenEdit(WPARAM wParam, LPARAM lParam);
    // Starts dragging the selected rows.
    void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    // Highlights the row a drop would go to (-1: none).
    void SetDropRow(int nRow);
    // The effect of files and folders from the desktop over the point (client).
    DROPEFFECT ShellItemsDropOver(const CKadDragObjPIDL& items, int x, int y);

    // The row's menu at point (screen; -1, -1 from the keyboard): a
    // document's context menu, a group's, or the empty list's.
    void OnContextMenu(CWnd* pWnd, CPoint point);
    // Tracks popup at point (screen) for this list; the chosen command, 0 for none.
    UINT TrackMenu(CMenu& popup, CPoint point);
    // The window the list's context menus are tracked for and send to: the
    // first ancestor that is not a child window (the main window, or the list
    // window the list fills).
    CWnd* GetMenuWindow() const;
    // A chosen command: the list's own handler, else the window holding the menus.
    void RunMenuCommand(UINT nID);
    // A choice from a document menu's linked groups (ID_LINKED_SYSTEM_FIRST
    // ...): the catalog view shows that group with the document. FALSE when
    // nID is no such choice.
    BOOL ShowLinkedSystem(const CDocumentRec& document, UINT nID);

    /* Command handlers. */
    void OnOpenSelected();
    void OnUpdateOpenSelected(CCmdUI* pCmdUI);
    void OnOpenItems();
    void OnRename();
    void OnUpdateRename(CCmdUI* pCmdUI);
    void OnEditCell();
    void OnUpdateEditCell(CCmdUI* pCmdUI);
    void OnProperties();
    void OnUpdateProperties(CCmdUI* pCmdUI);
    void OnRemoveFromGroup();
    void OnUpdateRemoveFromGroup(CCmdUI* pCmdUI);
    void OnRecycle();
    void OnUpdateRecycle(CCmdUI* pCmdUI);
    void OnCopy();
    void OnCut();
    void OnUpdateCopy(CCmdUI* pCmdUI);
    void OnUpdateCut(CCmdUI* pCmdUI);
    void OnSelectAll();
    void OnInvertSelection();
    void OnUpdateOpenItems(CCmdUI* pCmdUI);
    void OnOpenAs(UINT nID);
    void OnUpdateOpenFileAs(CCmdUI* pCmdUI);
    void OnUpdateOpenMailAs(CCmdUI* pCmdUI);
    void OnOpenWithProgram(UINT nID);
    void OnUpdateFocusedFile(CCmdUI* pCmdUI);
    void OnFolderDialog() { RunFocusedFolderDialog(); }
    void OnEditChoice() { EditFocusedChoice(); }
    void OnEditNumber() { EditFocusedNumber(); }
    void OnUpdateEditNumber(CCmdUI* pCmdUI);
    void OnProtect() { ProtectFocusedDocument(); }
    void OnProtectAgain() { ProtectFocusedAgain(); }
    void OnImagePreview() { ShowFocusedPreview(); }
    void OnUpdateProtect(CCmdUI* pCmdUI);
    void OnUpdateProtectWorded(CCmdUI* pCmdUI);
    void OnDocumentDialog() { RunFocusedDocumentDialog(); }
    void OnUpdateDocumentDialog(CCmdUI* pCmdUI);
    void OnDescribeFromContent() { (void)DescribeSelectedFromContent(); }
    void OnUpdateDescribeFromContent(CCmdUI* pCmdUI);
    void OnUpdateOpenActionMenu(CCmdUI* pCmdUI);
    void PlugProgramsMenu(CCmdUI* pCmdUI);
    void OnCatalogAgain() { CatalogSelectedAgain(); }
    void OnMoveToUnsorted() { MoveSelectedToTopNode(CNodeRec::SYSTEMS_NODE_BLOCK); }
    void OnMoveToArchive() { MoveSelectedToTopNode(CNodeRec::FIXED_NODE_LAST); }
    void OnUpdateMoveToUnsorted(CCmdUI* pCmdUI);
    void OnUpdateMoveToArchive(CCmdUI* pCmdUI);
    void OnUpdateCatalogAgain(CCmdUI* pCmdUI);
    void OnBackup(UINT nID) { (void)BackupSelected(nID); } // each failure is reported for its file
    void OnUpdateSelectedFiles(CCmdUI* pCmdUI);
    void OnMailSelected() { (void)MailSelected(); }
    void OnNoteFromSender() { (void)FillMessageNotes(0); }
    void OnNoteFromRecipients() { (void)FillMessageNotes(1); }
    void OnUpdateSelectedMessages(CCmdUI* pCmdUI);
    void OnUpdateMailSelected(CCmdUI* pCmdUI);

    // The row's state in the grid's state column and the list's state images.
    BOOL AreStateImagesOn() const { return m_bStateImagesOn; }
    CImageList& GetStateImageList() { return m_stateImages; }

    /* Header rules of the family (the document view's list adds its own):
       the name and state columns stay first, the state columns keep their width. */
    void OnHeaderBeginTrack(NMHDR* pNMHDR, LRESULT* pResult);
    void OnHeaderEndDrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnHeaderDividerDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    // A state column: never resized, moved or auto-sized.
    static BOOL IsStateColumn(LONG nColumnId);
    // What Enter and Delete do in the list: open and recycle the selection.
    virtual void OnEnterKey();
    virtual void OnDeleteKey();

private:
    struct FillBlock;
    struct RowPlace;

    // What an edit did to the catalog.
    enum class EditResult {
        Unchanged,
        PropertiesChanged, // texts only: the rows stay
        CatalogChanged,    // names, places or links: rows may come or go
        Refused,           // the editor reopens with the value
    };
    EditResult SetNodeText(CNodeRec& node, LONG nColumnId, const CString& strText);
    EditResult SetDocumentText(int nRow, LONG nColumnId, const CString& strText);
    // lDate: the calendar editor's value (a time, VALUE_CLEARED or VALUE_UNCHANGED).
    EditResult SetDocumentDate(int nRow, LPARAM lDate);

    // The worker's procedure, also run in this thread for the first rows.
    static UINT FillWorker(LPVOID pParam);
    static void InsertFillRows(FillBlock& block);
    // Empties the list ahead of a fill that shows pNode's contents (null: none).
    void BeginFill(const CNodeRec* pNode);
    // Inserts the record sets' first rows here and starts a worker for the rest.
    void StartFill(BOOL bNodesFirst);
    // The documents the folder index lists that pCatalog still holds.
    static CDocumentRecArray FoundDocuments(CFolderIndex& source, CCatalog* pCatalog);
    // Drops empty and repeated documents and sorts the rest by spec.
    static void PrepareDocumentSet(CDocumentRecArray& documents, const CSortSpec& spec);

    /* Refreshing in place (CArqListCtrl_Refresh.cpp). */

    // No worker runs and every record of the sets has its row.
    BOOL AreRowsSettled() const;
    // Merges the new sets into the rows, keeping what the user sees of them,
    // and makes them the list's sets.
    void TakeRecordSets(std::unique_ptr<CNodeRecArray> pNodes, std::unique_ptr<CDocumentRecArray> pDocuments);
    // Makes the rows hold records, in their order, keeping the rows of the same records.
    void MergeRows(const std::vector<CCatalogRecord*>& records);
    RowPlace SaveRowPlace() const;
    void RestoreRowPlace(const RowPlace& place);
    // The data tip's text for a row: its name, then its description after a blank line.
    CString TipText(int nRow);
    // Feeds a mouse move to a running drag; FALSE when no drag runs.
    BOOL TrackDragMove(UINT nFlags, CPoint point);
    // Ends a drag whose tracker has its result, and frees what it used.
    void FinishDrag();
    // A document's expiry state (asked with bCheck) keeps it from being opened, edited or moved.
    static BOOL IsBlocked(const CDocumentRec& document, int bCheck);
    // The focused row's document when it is of the kind asked (a mail message
    // or a file) and not blocked (asked with bCheck); else null.
    CDocumentRec* GetFocusedDocumentOfKind(BOOL bMail, int bCheck) const;
    // The selected rows' documents that are not blocked (asked with check).
    std::vector<CDocumentRec*> GetSelectedUsableDocuments() const;
    // The selected rows' documents of the kind asked that are not blocked (asked with bCheck).
    std::vector<CDocumentRec*> GetSelectedDocuments(BOOL bMail, int bCheck) const;
    // After a dialog changed the document's record: the row reads it again
    // and the parent hears of the change.
    void DocumentRecordChanged(CDocumentRec& document);
    // Writes the document's information as fnChange changes it (false: no
    // change), then DocumentRecordChanged.
    void ChangeDocumentInfo(CDocumentRec& document, const std::function<bool(CDocumentInfo&)>& fnChange);
    // A group, or a file whose file can be reached.
    BOOL CanOpenRow(int nRow) const;
    // The selected rows, or the focused one without a selection.
    std::vector<int> GetRowsToOpen() const;
    // A group that is not a fixed node, or a document not blocked whose store lets it go.
    BOOL CanRecycleRow(int nRow) const;
    // The list shows one of the fixed top nodes of blocks 3 and 4.
    BOOL IsShownNodeFixedTop() const;
    // The edit rules of a document's cell (GetCellEditLimit).
    static int DocumentEditLimit(const CDocumentRec& document, LONG nColumnId);

    CDataTipWnd m_tip;
    BOOL m_bTipsEnabled { FALSE };
    BOOL m_bStateImagesOn { FALSE };
    CImageList m_stateImages; // the list's own (icon and list styles)
    CSysImageList m_sysImages;
    std::unique_ptr<CNodeRec> m_pShownNode;
    std::unique_ptr<CNodeRecArray> m_pNodes;         // the node rows, in sort order
    std::unique_ptr<CDocumentRecArray> m_pDocuments; // the document rows, in sort order
    int m_nNodeIcon { 0 };
    BOOL m_bShowExtension { TRUE };
    BOOL m_bSizeInKB { TRUE };
    CListFilter m_filter;
    std::shared_ptr<FillBlock> m_pFill; // shared with the worker while it runs
    int m_nIdleCursor { 0 };
    std::unique_ptr<CDragTracker> m_pTracker; // the row drag under way
    std::unique_ptr<CKadDragObj> m_pPayload;
    std::unique_ptr<CImageList> m_pDragImage;
    int m_nDropRow { -1 };        // highlighted as the drop's target
    CString m_strReopenText;      // the refused value, for MSG_REOPEN_EDIT
    BOOL m_bTakingEdit { FALSE }; // OnEndLabelEdit runs (and may show a message box)
};
