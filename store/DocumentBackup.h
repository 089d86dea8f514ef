#pragma once

// Copying and moving documents' files to another folder with the catalog
// following them, and cataloguing files dropped on a node.
//
// Nothing is lost on failure: a file is never overwritten (a name already
// taken in the target folder is a failure of that document), a copy that
// cannot be completed or catalogued is removed again, and a moved document's
// original file is deleted only after its copy is complete and the catalog
// points at it. Each failure is reported through the store's message handler
// (ReportStoreMessage) with the file's path; the run goes on with the next
// document.

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"

#include <vector>

class CCatalog;
class CDocumentRec;
class CNodeRec;

/* Documents to a folder. */

// Copies, or with bMove moves, the files of pDocuments (elements are
// CDocumentRec*, owned by the caller; mail messages are skipped) into the
// folder pszFolder:
// - a copy into a folder on a fixed or network drive is catalogued with the
//   original's information and linked to the nodes the original is linked
//   to, favourites aside; with bRemovable the copies are not catalogued;
// - a moved document keeps its information and links under its new path, also
//   on a removable medium, and its former entry is removed.
// A protected file stays protected, as its copy's record says. An entry
// already catalogued at a copy's path (its file being gone) is replaced.
// Non-zero when every document was copied or moved.
int CopyDocumentsToFolder(CCatalog* pCatalog, CPtrArray* pDocuments, LPCTSTR pszFolder, BOOL bRemovable, BOOL bMove);

/* One document's file moved or renamed, the catalog following it. */

// Moves the document's file into pszFolder, as CopyDocumentsToFolder with
// bMove does for one document: the file keeps its name, its entry its
// information and links under the new path. The new document object (the
// caller's), or null with nothing changed: a mail message, a name already
// taken in the folder, a file or catalog write that fails.
CDocumentRec* MoveDocumentFiles(CDocumentRec* pDocument, LPCTSTR pszFolder);
// Renames the document's file within its folder to pszNewName (a name, not a
// path) and moves its entry to the new name with its information and links.
// The file is renamed back when the catalog cannot follow. The new document
// object (the caller's), or null with nothing changed, as above.
CDocumentRec* RenameDocumentFile(CDocumentRec* pDocument, LPCTSTR pszNewName);

// The documents of a send-to command or of a drop on a drive entry, and the
// folder they go to. The set holds the caller's document objects, not owning them.
class CBackupSet {
public:
    explicit CBackupSet(LPCTSTR pszTargetPath);

    const CString& GetTargetPath() const { return m_strTargetPath; }
    void Add(CDocumentRec* pDocument) { m_documents.Add(pDocument); }
    int GetCount() const { return m_documents.GetSize(); }

    // The document backup pass: checks the target folder (it must exist and be
    // writable; the failure is reported) and copies, or with bMove moves, the
    // set's documents into it, catalogued as CopyDocumentsToFolder says for a
    // target on a removable drive or not. Non-zero when something changed (a
    // file was copied or moved).
    int Run(CCatalog* pCatalog, BOOL bMove);

private:
    CString m_strTargetPath;
    CPtrArray m_documents;
};

/* Files dropped on a node. */

// The items of a drop from the shell: program paths of files and folders.
// The drag-and-drop payload of shell items is turned into this list.
struct CDroppedShellItems {
    std::vector<CString> paths;
};

// What a backup run asks the user, answered by the window layer (the backup
// folder dialog) and by tests.
class CBackupFolderPrompt {
public:
    virtual ~CBackupFolderPrompt() = default;
    // Asks for the folder that files from a removable or CD drive are copied
    // into before they are catalogued under pNode. strFolder comes in as the
    // folder first offered and holds the answer; FALSE when the user cancels.
    // An answer is only taken when it is an existing, writable folder.
    virtual BOOL AskBackupFolder(CNodeRec* pNode, CString& strFolder) = 0;
};

// The run that catalogs dropped shell items into a node.
class CBackupItem {
public:
    // pPrompt answers the backup folder question; strDefaultFolder is the
    // folder first offered (the preference "DefaultDirCopyRem").
    CBackupItem(CBackupFolderPrompt* pPrompt, const CString& strDefaultFolder);

    // Catalogs the items into pTarget: a file on a fixed or network drive is
    // catalogued where it is, a folder with every file below it (at most
    // MAX_FOLDER_DEPTH levels deep). Items on removable and CD drives go
    // through RunBackupToRemovable. Non-zero when every item was catalogued.
    int RunDocumentBackup(CNodeRec* pTarget, const CDroppedShellItems& items);
    // Asks for a folder (AskBackupFolder), copies the items into it (a folder
    // with its tree) and catalogs the copies into pTarget. Non-zero when every
    // item was copied and catalogued; zero when the user cancelled.
    int RunBackupToRemovable(CNodeRec* pTarget, const CDroppedShellItems& items);

    static constexpr int MAX_FOLDER_DEPTH = 32;

private:
    CBackupFolderPrompt* m_pPrompt;
    CString m_strDefaultFolder;
};
