#pragma once

// Builders for the catalog-model tests: a catalog in the test's program
// folder, nodes and documents added by name and path, and a sample tree with
// documents linked under several nodes.

#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "tests/store/CatalogFixture.h"

#include <memory>
#include <string>
#include <vector>

// The sample catalog of CatalogTest::BuildSample:
//   root
//     Projects         info "current work"
//       Alpha          a.txt, b.txt (c:\work\), readme.md (c:\docs\)
//       beta           a.txt
//       Gamma
//     Archive          readme.md, old.txt (c:\old\)
struct SampleTree {
    CRecordRef projects, alpha, beta, gamma, archive;
    CRecordRef aTxt, bTxt, readme, oldTxt; // documents
};

class CatalogTest : public CatalogFileTest {
protected:
    // Creates (replacing) and opens a catalog file of the program folder.
    std::unique_ptr<CCatalog> NewMainCatalog(const std::string& strName = "archiv.cat", BOOL bRecycle = FALSE);
    // A catalog object on an existing file; open when the file could be read.
    std::unique_ptr<CCatalog> OpenCatalog(const std::string& strName = "archiv.cat");

    std::unique_ptr<CNodeRec> Root(CCatalog& catalog);
    std::unique_ptr<CNodeRec> Node(CCatalog& catalog, CRecordRef ref);
    std::unique_ptr<CDocumentRec> Document(CCatalog& catalog, CRecordRef ref);
    // The child pszName of parent, created when missing.
    std::unique_ptr<CNodeRec> AddNode(CNodeRec& parent, const char* pszName, const char* pszInfo = "");
    // The document of a path, added when missing and linked under node.
    std::unique_ptr<CDocumentRec> AddDocument(CCatalog& catalog, CNodeRec* pNode, const char* pszPath);
    SampleTree BuildSample(CCatalog& catalog);

    // Names of nodes, in array order.
    static std::vector<std::string> Names(const CNodeRecArray& nodes);
    // Full paths (directory and name) of documents, in array order.
    static std::vector<std::string> Paths(const CDocumentRecArray& documents);
    static std::string FullPath(const CDocumentRec& document);
};
