#pragma once

// The documents the program opened from the catalog and still follows: one
// entry per file path, with flags and the file's last-write time. A protected
// document is unprotected in place to be opened (its record keeps the
// password) and listed with FLAG_UNPROTECTED until it is protected again: at
// the program's close when the user agrees, from the unprotected-documents
// list, or at the next start. The list is saved whenever such an entry comes
// or goes, so that a crash never leaves an unprotected file nobody knows of.
//
// Nothing protects a file by itself on a timer: nothing tells reliably when
// the program that has it open is done with it, and one that saved over a
// file just protected would leave plain bytes under a protected record.
// Used from the user-interface thread only.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <vector>

class CCatalog;
class CDocumentRec;

class CPendingDocs {
public:
    /* Entry flags. */
    static constexpr DWORD FLAG_UNPROTECTED = 0x1; // the file lacks the protection its record holds
    static constexpr DWORD FLAG_OPENED = 0x2;      // opened from the catalog

    // The main window's timer that runs CheckPendingFile, and its period.
    static constexpr UINT CHECK_TIMER = 92;
    static constexpr UINT CHECK_INTERVAL_MS = 5000;

    // Where the list is kept, below HKEY_CURRENT_USER: "Count", then
    // "Path000", "Flags000", "Word000", ... per entry.
    static constexpr char KEY_PATH[] = "SOFTWARE\\KD\\Archivora Plus\\Desktop\\PendingDocs";

    struct CEntry {
        CString strPath;
        DWORD dwFlags { 0 };
        DWORD dwWord { 0 }; // the file's last-write time in seconds, when known
    };

    // pCatalog is the main catalog, whose records hold the passwords.
    explicit CPendingDocs(CCatalog* pCatalog);

    /* Entries. Lookups compare paths exactly, from the last entry. */

    // Tracks a path with the flags, or adds the flags to its entry; the index.
    int AddEntry(LPCTSTR pszPath, DWORD dwFlags);
    // Tracks a catalogued document under its own path, as opening it does.
    int AddDocument(const CDocumentRec& document, DWORD dwFlags);
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    CString GetEntryPath(int nIndex) const;
    const CEntry& GetEntry(int nIndex) const { return m_entries[static_cast<size_t>(nIndex)]; }
    // The index of a path's entry, -1 for none.
    int FindEntry(LPCTSTR pszPath) const;
    // The entries holding every bit of dwMask; 0 counts all.
    int CountWithFlags(DWORD dwMask) const;

    /* Opening. */

    // Opens a catalogued file with the program given, or as the desktop opens
    // its type when pszProgram is empty; a protected one is unprotected first
    // when the user gives its password. Non-zero when it was opened. Mail
    // messages are opened elsewhere: 0.
    int OpenDocument(CDocumentRec& document, HWND hOwner, LPCTSTR pszProgram);
    // Sets a document's password: for a file listed unprotected only the
    // record changes (the file is protected again with the new password),
    // otherwise the file too. A PROTECT_ code.
    int ChangeProtection(CDocumentRec& document, LPCTSTR pszNewPassword);

    /* Protecting again and checking. */

    // ReloadFlagged(FLAG_UNPROTECTED, TRUE) protects every entry listed
    // unprotected; ReloadFlagged(FLAG_OPENED, TRUE) drops the entries opened
    // from the catalog. FALSE when an entry could not be protected (it stays,
    // and the failure is reported).
    BOOL ReloadFlagged(DWORD dwFlag, BOOL bValue);
    // At the program's close: with entries listed unprotected, asks whether to
    // protect them (Yes), keep them listed (No) or not close (Cancel: FALSE).
    BOOL ConfirmPending(HWND hOwner);
    // At start-up and when the window is shown again: offers once per run to
    // protect the files an earlier run left unprotected.
    void ShowPending(HWND hOwner);
    // Protects a file opened unprotected again with its record's password,
    // once the user gave that password; a failure is reported for the file.
    // TRUE when it was protected again; FALSE also when it is not listed
    // unprotected or the user cancelled.
    BOOL ProtectDocumentAgain(const CDocumentRec& document);
    // Notes the document's file as it is now when it is tracked, so that a
    // change made through the program itself counts as seen. TRUE when the
    // file had changed since it was last noted.
    BOOL RefreshDocument(const CDocumentRec& document);
    // One tick of CHECK_TIMER: drops the entries whose file or document is
    // gone, clears the flag of files protected by other means, and notes
    // changed files. TRUE when a file changed (the views should re-read).
    BOOL CheckPendingFile();

    /* Storage. */

    // Replaces the list by what the registry holds; malformed values are skipped.
    void LoadPending();
    BOOL SavePending() const;

private:
    int ProtectAgain(CEntry& entry);

    CCatalog* m_pCatalog;
    std::vector<CEntry> m_entries;
    // The paths of entries loaded from an earlier run and not yet offered.
    std::vector<CString> m_leftFromEarlierRun;
};
