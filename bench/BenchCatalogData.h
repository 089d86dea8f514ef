#pragma once

// The data set the catalog benchmarks share: by default 100 000 documents in
// 2 000 directories, linked under 500 groups (20 systems of 25 groups).
// Document d lies in directory d / 50 and is linked under group d % 500, so a
// group's documents are spread over as many directories as it has documents.

#include "store/CDocumentRec.h"

#include <functional>
#include <string>

class CCatalog;

namespace bench {

constexpr int DOCUMENTS_PER_DIRECTORY = 50;
constexpr int SYSTEM_COUNT = 20;
constexpr int GROUPS_PER_SYSTEM = 25;
constexpr int NODE_COUNT = SYSTEM_COUNT * GROUPS_PER_SYSTEM; // the nodes documents are linked under

// The size of the data set: nDocuments documents (a multiple of 50 and of 500,
// at least 500), set before anything else uses it. FALSE for a size it cannot
// take.
bool SetDocumentCount(int nDocuments);
int DocumentCount();
int DirectoryCount();

std::string DirectoryPath(int nDirectory);
std::string DocumentName(int nDocument);
void FillInfo(int nDocument, CDocumentInfo* pInfo);
int DirectoryOf(int nDocument);
int NodeOf(int nDocument);

// Adds the systems, groups and documents to an empty catalog, as long work:
// committed once a second. The systems go under the fixed node of kind
// nParentKind: the root (0), or the systems root (3) where the program's
// searches look. False, after a message on stderr, when a record cannot be
// added.
bool FillCatalog(CCatalog& catalog, LONG nParentKind = 0);

/* Failures: a timed program reports what went wrong on stderr and exits
   non-zero instead of printing figures of work it did not do. */

// Names the program in failure messages and reports catalog errors as failures.
void BeginFailureReports(const char* pszProgram);
void Fail(const char* pszWhat);
bool HasFailed();

// Seconds the work takes.
double Seconds(const std::function<void()>& work);

}
