#include "bench/BenchCatalogData.h"

#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CatalogError.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace bench {

namespace {

const char* g_pszProgram = "bench";
bool g_bFailed = false;
int g_nDocuments = 100000;

void OnCatalogError(LPCTSTR pszFileName, LPCTSTR pszText, LPCTSTR, UINT)
{
    std::fprintf(stderr, "%s: %s: %s\n", g_pszProgram, pszFileName, pszText);
    g_bFailed = true;
}

}

void BeginFailureReports(const char* pszProgram)
{
    g_pszProgram = pszProgram;
    SetCatalogErrorHandler(OnCatalogError);
}

void Fail(const char* pszWhat)
{
    std::fprintf(stderr, "%s: %s\n", g_pszProgram, pszWhat);
    g_bFailed = true;
}

bool HasFailed()
{
    return g_bFailed;
}

bool SetDocumentCount(int nDocuments)
{
    if (nDocuments < NODE_COUNT || nDocuments % NODE_COUNT != 0 || nDocuments % DOCUMENTS_PER_DIRECTORY != 0)
        return false;
    g_nDocuments = nDocuments;
    return true;
}

int DocumentCount()
{
    return g_nDocuments;
}

int DirectoryCount()
{
    return g_nDocuments / DOCUMENTS_PER_DIRECTORY;
}

std::string DirectoryPath(int nDirectory)
{
    char szPath[64];
    std::snprintf(szPath, sizeof(szPath), "c:\\archive\\volume%02d\\folder%04d\\", nDirectory / 100, nDirectory);
    return szPath;
}

std::string DocumentName(int nDocument)
{
    char szName[32];
    std::snprintf(szName, sizeof(szName), "report-%06d.txt", nDocument);
    return szName;
}

void FillInfo(int nDocument, CDocumentInfo* pInfo)
{
    *pInfo = {};
    pInfo->wType = DOCUMENT_FILE;
    std::snprintf(pInfo->szName, sizeof(pInfo->szName), "%s", DocumentName(nDocument).c_str());
    std::snprintf(pInfo->szDescription, sizeof(pInfo->szDescription), "Quarterly report number %d", nDocument);
    std::snprintf(pInfo->szSecondary, sizeof(pInfo->szSecondary), "finance, review %d", nDocument % 97);
    pInfo->ftCatalogTime = { static_cast<DWORD>(nDocument), 0x01DA0000 };
}

int DirectoryOf(int nDocument)
{
    return nDocument / DOCUMENTS_PER_DIRECTORY;
}

int NodeOf(int nDocument)
{
    return nDocument % NODE_COUNT;
}

bool FillCatalog(CCatalog& catalog, LONG nParentKind)
{
    // Long work: committed in batches of at most a second's work.
    CCatalogAction action(&catalog);
    std::vector<std::unique_ptr<CNodeRec>> nodes;
    const auto pRoot = std::make_unique<CNodeRec>(&catalog, nParentKind);
    for (int nSystem = 0; nSystem < SYSTEM_COUNT; ++nSystem) {
        CNodeInfo info {};
        std::snprintf(info.szName, sizeof(info.szName), "System %d", nSystem);
        info.nKind = 2;
        std::unique_ptr<CNodeRec> pSystem(pRoot->FindOrAddChild(info));
        for (int nGroup = 0; pSystem && nGroup < GROUPS_PER_SYSTEM; ++nGroup) {
            std::snprintf(info.szName, sizeof(info.szName), "Group %d", nGroup);
            nodes.emplace_back(pSystem->FindOrAddChild(info));
        }
    }
    if (nodes.size() != NODE_COUNT || !nodes.back()) {
        Fail("cannot add the nodes");
        return false;
    }
    CDocumentInfo info;
    for (int nDocument = 0; nDocument < g_nDocuments; ++nDocument) {
        FillInfo(nDocument, &info);
        std::unique_ptr<CDocumentRec> pDocument(catalog.FindOrAddDocument(
            DirectoryPath(DirectoryOf(nDocument)).c_str(), DocumentName(nDocument).c_str(), &info));
        if (!pDocument || !nodes[static_cast<std::size_t>(NodeOf(nDocument))]->AddDocument(pDocument.get())
            || !catalog.CommitIfDue()) {
            Fail("cannot add a document");
            return false;
        }
    }
    if (!action.End()) {
        Fail("cannot commit the documents");
        return false;
    }
    return true;
}

double Seconds(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}
