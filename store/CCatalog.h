#pragma once

// A catalog: the main catalog ("archiv.cat") or the recycle-bin catalog
// ("winrec.cat"), a catalog file with the record sizes of tables 0 to 20, the
// root blocks of every table and the fixed nodes, and the in-memory map from
// directory paths to directory records that path lookups use.
//
// The map is built when the catalog is opened and kept up to date by the
// calls that add directories; Reload builds it again. It has its own lock, so
// several threads may look paths up while one adds documents.

#include "store/CCatalogFile.h"

#include "platform/base/CString.h"

#include <map>
#include <mutex>
#include <span>
#include <string>

class CDirectoryRec;
class CDocumentRec;
class CNodeRec;
struct CDocumentInfo;

class CCatalog : public CCatalogFile {
public:
    // Opens the catalog file at the program path pszPath and keeps one
    // reference. With nInitialise 1 a missing file is created first. A file
    // that is there but cannot be read is left alone: IsOpen is FALSE and the
    // fatal catalog error was reported.
    CCatalog(LPCTSTR pszPath, int nInitialise);

    // Writes a new, empty catalog at pszPath (replacing a file there): the root
    // blocks of every table, the root node with "not set up" in its flags and
    // the fixed nodes of kinds 1 to 4. nBlockSize must be BLOCK_SIZE.
    static BOOL CreateFile(BOOL bRecycle, LPCTSTR pszPath, int nBlockSize);
    // The record size of each table, indexed by table type.
    static std::span<const int> RecordSizes();

    BOOL IsOpen() const { return GetOpenCount() > 0; }
    // Builds the directory map again from the file.
    BOOL Reload();

    /* Documents by path. Paths are lower-cased before they are looked up; the
       documents returned belong to the caller; null when there is none. */

    CDocumentRec* FindPath(LPCTSTR pszPath);
    CDocumentRec* FindPath(LPCTSTR pszFolder, LPCTSTR pszName);
    // The document of pszPath, added when missing, and linked under pNode
    // (when given and bLink).
    CDocumentRec* FindOrAddPath(CNodeRec* pNode, LPCTSTR pszPath, BOOL bLink = TRUE);
    // The document pszName in the folder pszFolder, with the folder's
    // directory record added when missing. A new document takes pInfo's
    // texts and numbers (its name stays pszName); an existing one is returned as it is.
    CDocumentRec* FindOrAddDocument(LPCTSTR pszFolder, LPCTSTR pszName, const CDocumentInfo* pInfo);

    /* Directories. */

    // The directory record of a folder path (lower-cased, a backslash added), or null.
    CDirectoryRec* FindDirectory(LPCTSTR pszFolder);
    CDirectoryRec* FindOrAddDirectory(LPCTSTR pszFolder);

    // The lower-cased folder text a directory record keeps for pszFolder: a
    // backslash is added unless it is a mail store ("*" first).
    static CString NormalizeFolder(LPCTSTR pszFolder);

private:
    [[nodiscard]] BOOL LoadDirectoryMap();
    // Splits a lower-cased full path into its folder (with the backslash) and name.
    static bool SplitDocumentPath(const CString& strPath, CString* pFolder, CString* pName);

    std::mutex m_mapMutex;
    std::map<std::string, CRecordRef> m_directories; // normalized folder text -> directory record
};
