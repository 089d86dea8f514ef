#pragma once

// A catalog in the test's program folder and a fixed drive T: standing for a
// fresh temporary folder, set the way the user sets drive letters (the drive
// settings in the registry). The mount table is only the root file system, so
// C: (the root, whose walk covers the home folder) and T: are the only fixed
// drives, and the home folder is a fresh folder too. The program's resource
// module gives the strings. The drive table is put back after each test.

#include "tests/store/CatalogBuilder.h"
#include "tests/support/ScopedVariable.h"
#include "tests/ui/ProgramModule.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>

class CatalogDriveTest : public CatalogTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program path of a relative path ("docs/a.txt") on T: ("t:\docs\a.txt").
    static std::string OnT(std::string_view strRelative);
    // Writes a file below T: and returns its program path.
    std::string WriteOnT(std::string_view strRelative, std::string_view strContents) const;
    // The host path of a relative path on T:.
    std::filesystem::path HostOnT(std::string_view strRelative) const;
    const TempFolder& DriveT() const { return m_driveT; }

    /* The organisation: groups under the systems root, with their keywords
       and folder records. */

    // A group whose search-type word is wSearchType, linked to the keyword
    // pszKeyword when one is given.
    std::unique_ptr<CNodeRec> Group(const char* pszName, WORD wSearchType, const char* pszKeyword = nullptr);
    void AssignKeyword(CNodeRec& node, const char* pszKeyword);
    // Links the node to a new folder record of the text.
    void AssignFolder(CNodeRec& node, const char* pszText);
    // The names of nodes, in order.
    static std::vector<std::string> NodeNames(const CNodeRecArray& nodes);
    // Every document of a catalog as "path | description | nodes": the nodes it
    // is linked to by their paths of names ("Projects\Alpha"; the systems root
    // is "(systems)"), sorted and joined by ", ".
    static std::set<std::string> CatalogPicture(CCatalog& catalog);
    // Calls visit for every document of the catalog, in the order of its
    // directory chains, with the directory it is listed in.
    static void ForEachDocument(
        CCatalog& catalog, const std::function<void(const CDirectoryRec&, CDocumentRec&)>& visit);
    // The program path of a path below the home folder.
    std::string ProgramPathOfHome(std::string_view strRelative) const;
    const TempFolder& HomeFolder() const { return m_home; }

    // The test's catalog, with the extensions "txt", "odt" and "md".
    std::unique_ptr<CCatalog> m_pCatalog;

private:
    TempFolder m_driveT;
    TempFolder m_home;
    std::unique_ptr<ScopedVariable> m_setHome;
    ProgramModule m_module;
};
