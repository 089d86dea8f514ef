#pragma once

// The document types the shell can create new: each type's description (the
// default value of its class key) with the extensions that belong to it, read
// from the classes root. A type counts when one of its extensions has a
// creatable "ShellNew" key (".rtf" always counts, ".lnk" never); every
// extension whose type has the description of a counted type joins its list.
//
// The classes root is the user's to edit, so the search for ShellNew keys is
// bounded in depth and in keys visited; a tree beyond the bounds counts as
// having none.

#include "platform/base/CollectionArrays.h"
#include "platform/base/CollectionMaps.h"
#include "platform/base/Registry.h"

class CFileTypeMap {
public:
    // Bounds of one ShellNew search below an extension's key.
    static constexpr int MAX_SEARCH_DEPTH = 32;
    static constexpr int MAX_SEARCH_KEYS = 4096;

    CFileTypeMap();
    virtual ~CFileTypeMap();
    CFileTypeMap(const CFileTypeMap&) = delete;
    CFileTypeMap& operator=(const CFileTypeMap&) = delete;

    // Reads the classes root: the counted types, then their extensions.
    void Build();

    /* Iteration, in the map's order. Lists (extensions with their leading ".")
       belong to the map. */

    // The first list and its description; null for an empty map.
    CStringArray* GetFirst(CString& strDescription);
    // The next list; null after the last.
    CStringArray* GetNext(CString& strDescription);

private:
    // Counts the type of an extension (its description given) unless already counted.
    void AddType(const CString& strExtension, const CString& strDescription);
    // Adds an extension to the list of its type's description, when that type counts.
    void AddExtension(const CString& strExtension, const CString& strDescription);
    // Searches the subkeys of hKey, depth first, for a creatable ShellNew key;
    // sets m_bFound. nDepth counts the levels below the extension's key.
    void FindShellNew(HKEY hKey, int nDepth);
    // The description of an extension's type; empty when it has none.
    static CString DescriptionOf(const CString& strExtension);
    void RemoveAll();

    CMapStringToPtr m_types; // description -> CStringArray* of extensions, owned
    POSITION m_position { nullptr };
    BOOL m_bEnd { TRUE };
    BOOL m_bFound { FALSE };
    int m_nKeysSearched { 0 };
};
