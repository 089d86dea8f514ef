#include "store/DocumentBackup.h"

#include "platform/base/FileFind.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TimeFunctions.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "store/AmbiguousPaths.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogError.h"
#include "store/FileHelpers.h"
#include "store/PathHelpers.h"

#include <cstring>
#include <functional>
#include <memory>

namespace {

constexpr char COPY_TITLE[] = "Copy documents";
constexpr char RENAME_TITLE[] = "Rename document";

void Report(
    const CString& strPath, LPCTSTR pszFormat, const CString& strOther = CString(), LPCTSTR pszTitle = COPY_TITLE)
{
    CString strText;
    strText.Format(pszFormat, static_cast<LPCTSTR>(strPath), static_cast<LPCTSTR>(strOther));
    ReportStoreMessage(strPath, strText, pszTitle, STORE_MESSAGE_WARNING_STYLE);
}

// Why a copy failed, in the user's words.
CString CopyFailureReason(DWORD dwError)
{
    switch (dwError) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "There is not enough space on the disk.";
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return "The target cannot be written to.";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "The file or the folder is not there.";
    default:
        return "The file could not be read or written.";
    }
}

bool IsRemovableDrive(const CString& strPath)
{
    UINT uType = GetDriveType(GetPathRoot(strPath));
    return uType == DRIVE_REMOVABLE || uType == DRIVE_CDROM;
}

bool IsWritableFolder(const CString& strFolder)
{
    return (CheckFolder(strFolder, FOLDER_WRITABLE) & (FOLDER_WRITABLE | FOLDER_MISSING | FOLDER_UNUSABLE))
        == FOLDER_WRITABLE;
}

// Copies one file to a path that must not exist yet; reports the failure.
bool CopyNewFile(const CString& strSource, const CString& strTarget)
{
    if (GetFileAttributes(strSource) == INVALID_FILE_ATTRIBUTES) {
        Report(strSource, "%s cannot be found or read.");
        return false;
    }
    if (GetFileAttributes(strTarget) != INVALID_FILE_ATTRIBUTES) {
        Report(strTarget, "%s already exists. The file was not copied over it.");
        return false;
    }
    if (!CopyFile(strSource, strTarget, TRUE)) {
        Report(strSource, "%s could not be copied. %s", CopyFailureReason(GetLastError()));
        return false;
    }
    return true;
}

// Takes a catalogued document out of its catalog (every link and the record).
void Uncatalog(CDocumentRec* pDocument)
{
    if (pDocument && pDocument->IsValid())
        (void)pDocument->ForEachLinkedNode(NO_BLOCK, -1, FALSE); // undoing: the failure already being reported
}

// Catalogs the file at strFolder + strName as a copy (or the moved or
// renamed form) of pSource: its information, and its links except to the service nodes (the
// favourites go along with a move). The new document, or null after undoing
// what was made.
std::unique_ptr<CDocumentRec> CatalogCopy(
    CCatalog* pCatalog, CDocumentRec* pSource, const CString& strFolder, const CString& strName, bool bMove)
{
    CString strPath = AddBackslash(strFolder) + strName;
    if (std::unique_ptr<CDocumentRec> pStale(pCatalog->FindPath(strPath)); pStale)
        Uncatalog(pStale.get()); // its file is not there any more: the copy takes its place
    CDocumentInfo info;
    if (!pSource->GetInfo(&info))
        return nullptr;
    Utf8CopyToField(info.szName, sizeof(info.szName), strName, FieldEnd::NulTerminated); // a rename's new name
    if (!bMove)
        GetSystemTimeAsFileTime(&info.ftCatalogTime);
    std::unique_ptr<CDocumentRec> pCopy(pCatalog->FindOrAddDocument(strFolder, strName, &info));
    if (!pCopy)
        return nullptr;
    bool bDone = pCopy->UpdateInfo(info);
    for (const auto& pNode : pSource->GetLinkedNodes()) {
        CRecordRef node = pNode->GetRef();
        bool bExpiring = node.nSlot == 0 && node.nBlock == CNodeRec::EXPIRING_NODE_BLOCK;
        bool bFavourite = node.nSlot == 0 && node.nBlock == CNodeRec::FAVOURITES_NODE_BLOCK;
        if (!bDone || bExpiring || (bFavourite && !bMove))
            continue; // the expiring node follows the expiry date (UpdateInfo)
        bDone = pNode->AddDocument(pCopy.get()) != FALSE;
    }
    if (!bDone) {
        Uncatalog(pCopy.get());
        return nullptr;
    }
    return pCopy;
}

// Copies or moves one document's file into strFolder; true when done.
bool CopyOneDocument(CCatalog* pCatalog, CDocumentRec* pDocument, const CString& strFolder, bool bCatalog, bool bMove)
{
    CString strName;
    pDocument->GetFullPath(strName);
    CString strSource = pDocument->GetFilePath();
    CString strTarget = AddBackslash(strFolder) + strName;
    if (strName.IsEmpty() || !CheckPathUnambiguous(strSource, COPY_TITLE) || !CopyNewFile(strSource, strTarget))
        return false;
    if (bCatalog || bMove) {
        std::unique_ptr<CDocumentRec> pCopy = CatalogCopy(pCatalog, pDocument, strFolder, strName, bMove);
        if (!pCopy) {
            (void)DeleteFileForced(strTarget); // the original is untouched; the copy goes
            Report(strSource, "The catalog could not be updated for %s. The file was left where it was.");
            return false;
        }
        // The copy's entry holds every link now: when the original's entry
        // cannot be taken away whole, both files and the copy's entry stay.
        if (bMove && !pDocument->ForEachLinkedNode(NO_BLOCK, -1, FALSE)) {
            Report(strSource, "%s was copied to %s, but its old catalog entry could not be removed.", strFolder);
            return false;
        }
    }
    if (bMove && DeleteFileForced(strSource) && GetFileAttributes(strSource) != INVALID_FILE_ATTRIBUTES) {
        Report(strSource, "%s was copied to %s but could not be removed.", strFolder);
        return false;
    }
    return true;
}

// Copies or moves the documents; the count done in *pnDone. True when all were.
bool CopyDocuments(
    CCatalog* pCatalog, CPtrArray* pDocuments, const CString& strFolder, bool bCatalog, bool bMove, int* pnDone)
{
    *pnDone = 0;
    bool bAll = true;
    for (int n = 0; n < pDocuments->GetSize(); ++n) {
        auto* pDocument = static_cast<CDocumentRec*>(pDocuments->GetAt(n));
        if (!pDocument || !pDocument->IsValid() || pDocument->IsMail())
            continue;
        if (CopyOneDocument(pCatalog, pDocument, strFolder, bCatalog, bMove))
            ++*pnDone;
        else
            bAll = false;
    }
    return bAll;
}

// Calls onFile(program path, path relative to strFolder) for every file below
// strFolder; false when a level could not be listed or is too deep.
bool WalkFiles(const CString& strFolder, const CString& strRelative, int nDepth,
    const std::function<bool(const CString&, const CString&)>& onFile)
{
    if (nDepth > CBackupItem::MAX_FOLDER_DEPTH) {
        Report(strFolder, "%s lies too deep below the dropped folder and was left out.");
        return false;
    }
    WIN32_FIND_DATA data {};
    CString strBase = AddBackslash(strFolder);
    HANDLE hFind = FindFirstFile(strBase + "*", &data);
    if (hFind == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return true; // an empty folder
        Report(strFolder, "%s cannot be read.");
        return false;
    }
    bool bAll = true;
    do {
        CString strName(data.cFileName);
        if (strName == "." || strName == "..")
            continue;
        CString strChild = strRelative.IsEmpty() ? strName : strRelative + "\\" + strName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            bAll = WalkFiles(strBase + strName, strChild, nDepth + 1, onFile) && bAll;
        else
            bAll = onFile(strBase + strName, strChild) && bAll;
    } while (FindNextFile(hFind, &data));
    FindClose(hFind);
    return bAll;
}

// Catalogs one file under the node; reports a failure.
bool CatalogFile(CNodeRec* pTarget, const CString& strPath)
{
    std::unique_ptr<CDocumentRec> pDocument(pTarget->GetCatalog()->FindOrAddPath(pTarget, strPath, TRUE));
    if (!pDocument) {
        Report(strPath, "%s could not be catalogued.");
        return false;
    }
    return true;
}

} // namespace

int CopyDocumentsToFolder(CCatalog* pCatalog, CPtrArray* pDocuments, LPCTSTR pszFolder, BOOL bRemovable, BOOL bMove)
{
    if (!pCatalog || !pDocuments || !pszFolder || !*pszFolder) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CString strFolder(pszFolder);
    if (!IsWritableFolder(strFolder)) {
        Report(strFolder, "%s is not a folder that can be written to.");
        return FALSE;
    }
    int nDone = 0;
    return CopyDocuments(pCatalog, pDocuments, strFolder, !bRemovable, bMove != FALSE, &nDone) ? TRUE : FALSE;
}

/******************************************************************************
 * CBackupSet
 ******************************************************************************/

CDocumentRec* MoveDocumentFiles(CDocumentRec* pDocument, LPCTSTR pszFolder)
{
    if (!pDocument || !pDocument->IsValid() || pDocument->IsMail() || !pszFolder || !*pszFolder)
        return nullptr;
    CCatalog* pCatalog = pDocument->GetCatalog();
    CString strName;
    pDocument->GetFullPath(strName);
    CPtrArray documents;
    documents.Add(pDocument);
    int nDone = 0;
    if (!CopyDocuments(pCatalog, &documents, pszFolder, true, true, &nDone))
        return nullptr;
    return pCatalog->FindPath(AddBackslash(pszFolder) + strName);
}

CDocumentRec* RenameDocumentFile(CDocumentRec* pDocument, LPCTSTR pszNewName)
{
    if (!pDocument || !pDocument->IsValid() || pDocument->IsMail() || !pszNewName || !*pszNewName
        || std::strpbrk(pszNewName, "\\/:") != nullptr)
        return nullptr;
    CCatalog* pCatalog = pDocument->GetCatalog();
    const CString strOldPath = pDocument->GetFilePath();
    CString strFolder;
    CString strOldName;
    SplitPath(strOldPath, strFolder, strOldName);
    const CString strNewPath = AddBackslash(strFolder) + pszNewName;
    if (!CheckPathUnambiguous(strOldPath, RENAME_TITLE))
        return nullptr;
    if (!RenameFileSafe(strOldPath, strNewPath)) {
        Report(strOldPath, "%s could not be renamed to %s.", pszNewName, RENAME_TITLE);
        return nullptr;
    }
    std::unique_ptr<CDocumentRec> pRenamed = CatalogCopy(pCatalog, pDocument, strFolder, pszNewName, true);
    if (pRenamed && pDocument->ForEachLinkedNode(NO_BLOCK, -1, FALSE))
        return pRenamed.release();
    Uncatalog(pRenamed.get());
    if (!RenameFileSafe(strNewPath, strOldPath))
        Report(strNewPath, "The catalog could not be updated, and %s could not be given its old name %s again.",
            strOldName, RENAME_TITLE);
    else
        Report(
            strOldPath, "The catalog could not be updated for %s. The file keeps its name.", CString(), RENAME_TITLE);
    return nullptr;
}

CBackupSet::CBackupSet(LPCTSTR pszTargetPath)
    : m_strTargetPath(pszTargetPath ? pszTargetPath : "")
{
}

int CBackupSet::Run(CCatalog* pCatalog, BOOL bMove)
{
    if (!pCatalog || m_strTargetPath.IsEmpty())
        return 0;
    if (!IsWritableFolder(m_strTargetPath)) {
        Report(m_strTargetPath, "%s is not a folder that can be written to.");
        return 0;
    }
    int nDone = 0;
    (void)CopyDocuments(pCatalog, &m_documents, m_strTargetPath, !IsRemovableDrive(m_strTargetPath), bMove != FALSE,
        &nDone); // each failure was reported; the caller needs to know what changed
    return nDone > 0;
}

/******************************************************************************
 * CBackupItem
 ******************************************************************************/

CBackupItem::CBackupItem(CBackupFolderPrompt* pPrompt, const CString& strDefaultFolder)
    : m_pPrompt(pPrompt)
    , m_strDefaultFolder(strDefaultFolder)
{
}

int CBackupItem::RunDocumentBackup(CNodeRec* pTarget, const CDroppedShellItems& items)
{
    if (!pTarget || !pTarget->IsValid())
        return FALSE;
    bool bAll = true;
    CDroppedShellItems removable;
    {
        // Cataloguing what was dropped is long work: committed once a second.
        CCatalog* pCatalog = pTarget->GetCatalog();
        CCatalogAction action(pCatalog);
        auto catalog = [&](const CString& strFile) { return CatalogFile(pTarget, strFile) && pCatalog->CommitIfDue(); };
        for (const CString& strPath : items.paths) {
            DWORD dwAttributes = GetFileAttributes(strPath);
            if (dwAttributes == INVALID_FILE_ATTRIBUTES) {
                Report(strPath, "%s cannot be found or read.");
                bAll = false;
            } else if (IsRemovableDrive(strPath)) {
                removable.paths.push_back(strPath);
            } else if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                bAll = WalkFiles(strPath, CString(), 0, [&](const CString& strFile, const CString&) {
                    return catalog(strFile);
                }) && bAll;
            } else {
                bAll = catalog(strPath) && bAll;
            }
        }
        bAll = action.Finish(TRUE) && bAll;
    }
    // Each copy onto a removable disk is committed before the next, so that no copy outlives a failed entry.
    if (!removable.paths.empty())
        bAll = RunBackupToRemovable(pTarget, removable) && bAll;
    return bAll ? TRUE : FALSE;
}

int CBackupItem::RunBackupToRemovable(CNodeRec* pTarget, const CDroppedShellItems& items)
{
    if (!pTarget || !pTarget->IsValid() || !m_pPrompt)
        return FALSE;
    CString strFolder = m_strDefaultFolder;
    if (!m_pPrompt->AskBackupFolder(pTarget, strFolder))
        return FALSE;
    strFolder.TrimLeft();
    if (strFolder.IsEmpty() || !IsWritableFolder(strFolder)) {
        Report(strFolder, "%s is not a folder that can be written to.");
        return FALSE;
    }
    CString strBase = AddBackslash(strFolder);
    auto copyAndCatalog = [&](const CString& strSource, const CString& strRelative) {
        CString strTarget = strBase + strRelative;
        CString strTargetFolder, strName;
        SplitPath(strTarget, strTargetFolder, strName);
        if (!CreateFolderPath(strTargetFolder)) {
            Report(strTargetFolder, "%s could not be created.");
            return false;
        }
        if (!CopyNewFile(strSource, strTarget))
            return false;
        if (!CatalogFile(pTarget, strTarget)) {
            (void)DeleteFileForced(strTarget); // an uncatalogued copy is not kept; the original is untouched
            return false;
        }
        return true;
    };
    bool bAll = true;
    for (const CString& strItem : items.paths) {
        // A folder's name is what follows its last backslash, a trailing one aside.
        CString strPath = strItem;
        while (strPath.GetLength() > GetPathRoot(strPath).GetLength() && strPath.Right(1) == "\\")
            strPath = strPath.Left(strPath.GetLength() - 1);
        CString strParent, strName;
        SplitPath(strPath, strParent, strName);
        DWORD dwAttributes = GetFileAttributes(strPath);
        if (dwAttributes == INVALID_FILE_ATTRIBUTES) {
            Report(strPath, "%s cannot be found or read.");
            bAll = false;
        } else if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            bAll = WalkFiles(strPath, strName, 0, copyAndCatalog) && bAll;
        } else {
            bAll = copyAndCatalog(strPath, strName) && bAll;
        }
    }
    return bAll ? TRUE : FALSE;
}
