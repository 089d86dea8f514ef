#pragma once

// A catalog in the program folder and two drives of real files for the tests
// of document files: T: a fixed drive and R: a removable one, each standing
// for a fresh temporary folder. The drive table is put back after each test.

#include "tests/store/CatalogBuilder.h"
#include "tests/support/SpecialFiles.h"

#include <string>
#include <string_view>

class DocumentFilesTest : public CatalogTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file below the fixed drive ("docs/a.txt") and returns its program path ("T:\docs\a.txt").
    std::string WriteOnT(const std::string& strRelative, std::string_view strContents) const;
    std::string WriteOnR(const std::string& strRelative, std::string_view strContents) const;
    // The program path of a relative path on a drive, and whether a file is there.
    static std::string OnT(const std::string& strRelative);
    static std::string OnR(const std::string& strRelative);
    bool ExistsOnT(const std::string& strRelative) const;
    bool ExistsOnR(const std::string& strRelative) const;
    // The bytes of a file below the fixed drive; empty when it cannot be read.
    std::string ReadOnT(const std::string& strRelative) const;
    void MakeFolderOnT(const std::string& strRelative) const;
    // A FIFO, a device and a socket below the fixed drive (MakeSpecialFiles); their names.
    std::vector<std::string> MakeSpecialFilesOnT() const;
    // Every file below the fixed drive's folder, relative, sorted.
    std::vector<std::string> FilesOnT() const;

    std::unique_ptr<CCatalog> m_pCatalog;

private:
    TempFolder m_fixed;
    TempFolder m_removable;
};
