#pragma once

// Builders shared by the backup tests: a pair of catalog files ("archiv.cat"
// and "winrec.cat") in the program folder whose state is told by a marker text
// in each file's header, so that a test sees which pair a file came from.

#include "store/CCatalogFiles.h"
#include "tests/store/CatalogBuilder.h"

#include <map>
#include <string>
#include <vector>

class CatalogFilesTest : public CatalogTest {
protected:
    // Writes both catalog files with the marker: the main catalog also holds
    // a system of that name with one document.
    void WritePair(const std::string& strMarker);
    // Writes the pair with the marker and makes a generation of it.
    void MakeGeneration(const std::string& strMarker, int nKeep = 3);
    // The marker in a file's header; empty when the file is missing.
    std::string Marker(const std::string& strName) const;
    // Both files of generation n hold the marker.
    void ExpectGeneration(int nGeneration, const std::string& strMarker) const;
    // Whether the main catalog opens undamaged and holds the marker's system.
    bool HoldsSystem(const std::string& strMarker);

    CCatalogFiles Files() const;

    // Every file of the program folder with its bytes, and back.
    using Snapshot = std::map<std::string, std::vector<BYTE>>;
    Snapshot TakeSnapshot() const;
    void RestoreSnapshot(const Snapshot& snapshot) const;
};
