#include "tests/store/CatalogBuilder.h"

#include "platform/base/TextFunctions.h"

std::unique_ptr<CCatalog> CatalogTest::NewMainCatalog(const std::string& strName, BOOL bRecycle)
{
    EXPECT_TRUE(CCatalog::CreateFile(bRecycle, ProgramPath(strName).c_str(), BLOCK_SIZE));
    return OpenCatalog(strName);
}

std::unique_ptr<CCatalog> CatalogTest::OpenCatalog(const std::string& strName)
{
    return std::make_unique<CCatalog>(ProgramPath(strName).c_str(), 1);
}

std::unique_ptr<CNodeRec> CatalogTest::Root(CCatalog& catalog)
{
    return std::unique_ptr<CNodeRec>(CNodeRec::NewRootNodeRec(&catalog));
}

std::unique_ptr<CNodeRec> CatalogTest::Node(CCatalog& catalog, CRecordRef ref)
{
    auto pNode = std::make_unique<CNodeRec>(&catalog, ref.nBlock, ref.nSlot);
    EXPECT_TRUE(pNode->IsValid());
    return pNode;
}

std::unique_ptr<CDocumentRec> CatalogTest::Document(CCatalog& catalog, CRecordRef ref)
{
    auto pDocument = std::make_unique<CDocumentRec>(&catalog, ref.nBlock, ref.nSlot);
    EXPECT_TRUE(pDocument->IsValid());
    return pDocument;
}

std::unique_ptr<CNodeRec> CatalogTest::AddNode(CNodeRec& parent, const char* pszName, const char* pszInfo)
{
    CNodeInfo info;
    MakeDefaultNames(&info);
    Utf8CopyToField(info.szName, sizeof(info.szName), pszName, FieldEnd::NulTerminated);
    Utf8CopyToField(info.szInfo, sizeof(info.szInfo), pszInfo, FieldEnd::NulTerminated);
    info.nKind = 2;
    std::unique_ptr<CNodeRec> pNode(parent.FindOrAddChild(info));
    EXPECT_TRUE(pNode) << pszName;
    return pNode;
}

std::unique_ptr<CDocumentRec> CatalogTest::AddDocument(CCatalog& catalog, CNodeRec* pNode, const char* pszPath)
{
    std::unique_ptr<CDocumentRec> pDocument(catalog.FindOrAddPath(pNode, pszPath));
    EXPECT_TRUE(pDocument) << pszPath;
    return pDocument;
}

SampleTree CatalogTest::BuildSample(CCatalog& catalog)
{
    SampleTree tree;
    auto pRoot = Root(catalog);
    auto pProjects = AddNode(*pRoot, "Projects", "current work");
    auto pAlpha = AddNode(*pProjects, "Alpha");
    auto pBeta = AddNode(*pProjects, "beta");
    auto pGamma = AddNode(*pProjects, "Gamma");
    auto pArchive = AddNode(*pRoot, "Archive");
    tree.projects = pProjects->GetRef();
    tree.alpha = pAlpha->GetRef();
    tree.beta = pBeta->GetRef();
    tree.gamma = pGamma->GetRef();
    tree.archive = pArchive->GetRef();
    tree.aTxt = AddDocument(catalog, pAlpha.get(), "C:\\Work\\A.txt")->GetRef();
    tree.bTxt = AddDocument(catalog, pAlpha.get(), "c:\\work\\b.txt")->GetRef();
    tree.readme = AddDocument(catalog, pAlpha.get(), "c:\\docs\\readme.md")->GetRef();
    AddDocument(catalog, pBeta.get(), "c:\\work\\a.txt");
    AddDocument(catalog, pArchive.get(), "c:\\docs\\readme.md");
    tree.oldTxt = AddDocument(catalog, pArchive.get(), "c:\\old\\old.txt")->GetRef();
    return tree;
}

std::vector<std::string> CatalogTest::Names(const CNodeRecArray& nodes)
{
    std::vector<std::string> names;
    for (const auto& pNode : nodes)
        names.emplace_back(pNode->GetName());
    return names;
}

std::string CatalogTest::FullPath(const CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName);
    return std::string(document.GetDirectoryPath(FALSE)) + std::string(strName);
}

std::vector<std::string> CatalogTest::Paths(const CDocumentRecArray& documents)
{
    std::vector<std::string> paths;
    for (const auto& pDocument : documents)
        paths.push_back(FullPath(*pDocument));
    return paths;
}
