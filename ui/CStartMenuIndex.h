#pragma once

// The programs the user can open documents with: the file types of the
// classes root whose "open" command runs a program that also has a Start menu
// shortcut (without arguments). Each entry is {name of the shortcut, program
// (short form, lower case), command line}, sorted by name without regard to
// case, names unique. Built on first use and kept for the process; Clear
// followed by Build rebuilds it. User-interface thread only.

#include "platform/base/CString.h"
#include "platform/base/CollectionMaps.h"
#include "platform/shell/ShellFolder.h"

#include <vector>

class CStartMenuIndex {
public:
    struct CEntry {
        CString strName;
        CString strProgram;
        CString strCommandLine;
    };

    CStartMenuIndex();
    ~CStartMenuIndex();
    CStartMenuIndex(const CStartMenuIndex&) = delete;
    CStartMenuIndex& operator=(const CStartMenuIndex&) = delete;

    // Walks the Start menu, then indexes the file types; nothing when built.
    void Build();
    BOOL IsBuilt() const { return m_bBuilt; }
    // Empties the index and gives back what it holds; the next Build starts over.
    void Clear();

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const CEntry& GetEntry(int nIndex) const { return m_entries[static_cast<size_t>(nIndex)]; }

    /* Helpers with no state, for the readers of commands and paths. */

    // Splits an "open" command into the program it runs (short form, lower
    // case) and its arguments. The program is empty for commands that run
    // no program file of their own: one whose program part has no ".",
    // "%1" or "rundll32".
    static void SplitCommandLine(LPCTSTR pszCommand, CString& strProgram, CString& strArguments);
    // The text after the last "\" without its last extension.
    static CString GetFileTitle(LPCTSTR pszPath);

private:
    static int OnFolderItem(IShellFolder* pFolder, LPCITEMIDLIST pidlItem, void* pIndex);
    // A shortcut's target (short form) and arguments, MAX_PATH bytes each.
    HRESULT ResolveLink(LPCTSTR pszShortcut, LPTSTR pszTarget, LPTSTR pszArguments) const;
    void IndexFileTypes();
    // Inserts in name order; a name already there is dropped.
    void AddEntry(const CString& strName, const CString& strProgram, const CString& strCommandLine);
    void WalkFolder(IShellFolder* pFolder, LPCITEMIDLIST pidlItem);

    std::vector<CEntry> m_entries;
    CMapStringToString m_shortcuts; // lower-case program (short form) -> shortcut path
    BOOL m_bBuilt { FALSE };
    IShellFolder* m_pDesktop { nullptr };
    IMalloc* m_pMalloc { nullptr };
    int m_nPlatform { -1 };
    int m_nMajorVersion { -1 };
    int m_nMinorVersion { -1 };
};

// The program's one index.
CStartMenuIndex& GetStartMenuIndex();
