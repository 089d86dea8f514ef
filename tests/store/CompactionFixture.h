#pragma once

// Builders and probes for the catalog rebuild tests: a main and a recycle-bin
// catalog in the program folder holding a record of every kind, and a text
// picture of a catalog by names and paths (never by references), so that a
// catalog can be compared with its rebuilt copy.

#include "tests/store/CatalogBuilder.h"

#include <cstdint>
#include <string>
#include <vector>

class CompactionTest : public CatalogTest {
public:
    // The path of names of a node ("#0/Projects/Alpha"), for comparisons across files.
    static std::string NodePath(const CNodeRec& node);
    // The directory text and name of a document.
    static std::string DocumentPath(const CDocumentRec& document);

protected:
    static constexpr char MAIN_NAME[] = "archiv.cat";
    static constexpr char RECYCLE_NAME[] = "winrec.cat";

    std::string MainPath() const { return ProgramPath(MAIN_NAME); }
    std::string RecyclePath() const { return ProgramPath(RECYCLE_NAME); }
    std::string TempMainPath() const { return ProgramPath("ArchTemp.cat"); }
    std::string TempRecyclePath() const { return ProgramPath("ArchTemp.rec"); }

    // Writes both catalogs: nodes with information and duplicate sibling
    // names, documents with long texts, an expiry date, a password, a mail
    // message and one linked nowhere, keywords and node folders linked to
    // nodes, every entry table, and the recent list. With nChurn, that many
    // documents, nodes and keywords are added and deleted again first, so that
    // the file holds freed records. The catalogs are closed afterwards.
    void BuildCatalogs(int nChurn = 0);

    // Everything a catalog file holds, by names and paths, one line per record.
    std::string Snapshot(const std::string& strName);
    // Both catalogs' snapshots.
    std::string SnapshotBoth() { return Snapshot(MAIN_NAME) + Snapshot(RECYCLE_NAME); }

    std::uintmax_t FileSize(const std::string& strName) const;
    bool Exists(const std::string& strName) const;
};
