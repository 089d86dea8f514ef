#include "tests/store/CompactionFixture.h"

#include "store/CCleanUpFolderRec.h"
#include "store/CDirectoryRec.h"
#include "store/CLibFolderRec.h"
#include "store/CMailStoreRec.h"
#include "store/CRecentList.h"
#include "store/CTextEntryRec.h"

#include "platform/base/TextFunctions.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

namespace {

CNodeInfo Info(const char* pszName, LONG nKind, LONG nFlags, const char* pszText, WORD wSearchType)
{
    CNodeInfo info;
    MakeDefaultNames(&info);
    Utf8CopyToField(info.szName, sizeof(info.szName), pszName, FieldEnd::NulTerminated);
    Utf8CopyToField(info.szInfo, sizeof(info.szInfo), pszText, FieldEnd::NulTerminated);
    info.nKind = nKind;
    info.nFlags = nFlags;
    info.wSearchType = wSearchType;
    return info;
}

std::unique_ptr<CNodeRec> Child(CNodeRec& parent, const char* pszName, const char* pszText = "")
{
    std::unique_ptr<CNodeRec> pNode(parent.AddChild(Info(pszName, 5, 0, pszText, 0)));
    EXPECT_TRUE(pNode) << pszName;
    return pNode;
}

// A document of the folder with texts, numbers and a copy name.
std::unique_ptr<CDocumentRec> AddFile(CCatalog& catalog, CNodeRec* pNode, const char* pszFolder, const char* pszName,
    const char* pszDescription = "", LONG nExpiry = 0, const char* pszPassword = "")
{
    CDocumentInfo info {};
    Utf8CopyToField(info.szDescription, sizeof(info.szDescription), pszDescription, FieldEnd::NulTerminated);
    std::snprintf(info.szSecondary, sizeof(info.szSecondary), "second %s", pszName);
    std::snprintf(reinterpret_cast<char*>(info.id), sizeof(info.id), "DC%.8s", pszName);
    info.nExpiry = nExpiry;
    info.nVersion = 3;
    info.dwOpenAction = 0x1234;
    Utf8CopyToField(info.szPassword, sizeof(info.szPassword), pszPassword, FieldEnd::NulTerminated);
    info.ftCatalogTime = { 0x89ABCDEF, 0x01D12345 };
    info.dwAttributes = 0x21;
    std::unique_ptr<CDocumentRec> pDocument(catalog.FindOrAddDocument(pszFolder, pszName, &info));
    EXPECT_TRUE(pDocument) << pszName;
    if (pDocument && pNode) {
        EXPECT_TRUE(pNode->AddDocument(pDocument.get()));
    }
    return pDocument;
}

// Adds and deletes again nCount documents, nodes and keywords.
void Churn(CCatalog& catalog, int nCount)
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    auto pScratch = Child(*pRoot, "Scratch");
    std::vector<CRecordRef> documents;
    for (int n = 0; n < nCount; ++n) {
        std::string strName = "scratch" + std::to_string(n) + ".txt";
        auto pNode = Child(*pScratch, ("n" + std::to_string(n)).c_str(), "scratch node text");
        documents.push_back(AddFile(catalog, pNode.get(), "c:\\scratch\\", strName.c_str(),
            "a description long enough to need a location record of its own, surely")
                                ->GetRef());
        std::unique_ptr<CKeywordRec> pKeyword(catalog.CreateKeyword(("scratch keyword " + std::to_string(n)).c_str()));
        ASSERT_TRUE(pKeyword && pNode->LinkKeyword(pKeyword.get()));
        ASSERT_TRUE(pKeyword->Delete());
    }
    for (CRecordRef ref : documents) {
        CDocumentRec document(&catalog, ref.nBlock, ref.nSlot);
        ASSERT_TRUE(document.ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
    }
    ASSERT_TRUE(pScratch->DeleteSubtree(TRUE));
}

void BuildMain(CCatalog& catalog, int nChurn)
{
    Churn(catalog, nChurn);
    ASSERT_TRUE(catalog.SetHeaderStrings("Ana Lima", "Lima & Filhos"));
    ASSERT_TRUE(catalog.SetHeaderLinks(7, -9));
    ASSERT_TRUE(catalog.SetTimeStamp({ 0x12345678, 0x01D00000 }));
    ASSERT_TRUE(catalog.SetPlaceChoice(CCatalog::PLACE_BOTH));

    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    ASSERT_TRUE(pRoot->UpdateInfo(Info("", 0, 2, "the whole catalog", 0)));
    auto pProjects = Child(*pRoot, "Projects", "current work");
    ASSERT_TRUE(pProjects->UpdateInfo(Info("Projects", 7, 5, "current work", 0x0105)));
    auto pAlpha = Child(*pProjects, "Alpha");
    auto pBeta = Child(*pProjects, "beta");
    auto pGamma = Child(*pProjects, "Gamma", "first of two");
    auto pGamma2 = Child(*pProjects, "Gamma", "second of two");
    auto pArchive = Child(*pRoot, "Archive");
    std::unique_ptr<CNodeRec> pDeep(pArchive->Clone());
    for (int n = 0; n < 6; ++n)
        pDeep = Child(*pDeep, ("level " + std::to_string(n)).c_str());

    std::string strLong(200, 'd');
    AddFile(catalog, pAlpha.get(), "c:\\work\\", "a.txt", "plain");
    AddFile(catalog, pAlpha.get(), "c:\\work\\", "b.txt", strLong.c_str());
    auto pReadme = AddFile(catalog, pAlpha.get(), "c:\\docs\\", "readme.md", "", 1900000000);
    ASSERT_TRUE(pBeta->AddDocument(pReadme.get()));
    ASSERT_TRUE(pArchive->AddDocument(pReadme.get()));
    AddFile(catalog, pGamma2.get(), "\\\\server\\share\\reports\\",
        "q3 report with a name longer than sixty bytes, "
        "so that it continues.odt");
    AddFile(catalog, pDeep.get(), "c:\\deep\\", "bottom.txt");
    AddFile(catalog, nullptr, "c:\\protected\\", "secret.txt", "linked nowhere", 0, "pw123");
    for (LONG nFixed = 2; nFixed <= CNodeRec::FIXED_NODE_LAST; ++nFixed) {
        CNodeRec fixed(&catalog, nFixed);
        AddFile(catalog, &fixed, "c:\\fixed\\", ("under" + std::to_string(nFixed) + ".txt").c_str());
    }
    CDocumentInfo message {};
    message.wType = DOCUMENT_MAIL;
    std::snprintf(message.szName, sizeof(message.szName), "Quarterly numbers");
    message.nVersion = 2;
    message.dwAttributes = 1700000000;
    std::unique_ptr<CDocumentRec> pMail(catalog.AddAndLink(pBeta.get(), message, "c:\\mail\\inbox"));
    ASSERT_TRUE(pMail);

    const char* keywords[] = { "invoice", "2024",
        "a keyword long enough to take several pieces of text in its table, and then some more" };
    for (const char* pszKeyword : keywords) {
        std::unique_ptr<CKeywordRec> pKeyword(catalog.CreateKeyword(pszKeyword));
        ASSERT_TRUE(pKeyword && pAlpha->LinkKeyword(pKeyword.get()));
        if (pszKeyword == keywords[0]) {
            ASSERT_TRUE(pGamma2->LinkKeyword(pKeyword.get()));
        }
    }
    std::unique_ptr<CKeywordRec> pUnused(catalog.CreateKeyword("unused"));
    std::unique_ptr<CNodeFolderRec> pFolder(catalog.AddNodeFolder("c:\\work\\"));
    ASSERT_TRUE(pFolder && pProjects->LinkNodeFolder(pFolder.get()) && pAlpha->LinkNodeFolder(pFolder.get()));
    ASSERT_TRUE(catalog.LoadExtensions("txt"));
    ASSERT_TRUE(catalog.LoadExtensions("odt"));
    ASSERT_TRUE(std::unique_ptr<CLibFolderRec>(catalog.AddLibFolder("~*.tmp")));
    ASSERT_TRUE(std::unique_ptr<CCleanUpFolderRec>(catalog.AddCleanUpFolder("c:\\temp\\")));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(catalog.AddMailStore(LOCATION_LOCAL_DISK, "Local Disk")));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(catalog.AddMailStore(LOCATION_NETSCAPE, "c:\\mail\\inbox")));
    ASSERT_TRUE(catalog.SetLocationValue("c:\\mail\\inbox", 123456));

    CRecentList recent(&catalog);
    for (const char* pszPath : { "c:\\work\\b.txt", "c:\\protected\\secret.txt", "c:\\work\\a.txt" }) {
        std::unique_ptr<CDocumentRec> pDocument(catalog.FindPath(pszPath));
        ASSERT_TRUE(pDocument && recent.AddEntry(*pDocument)) << pszPath;
    }
    ASSERT_TRUE(recent.AddEntry(*pMail));
}

void BuildRecycle(CCatalog& catalog, int nChurn)
{
    Churn(catalog, nChurn / 2);
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    auto pOld = Child(*pRoot, "Old projects");
    AddFile(catalog, pOld.get(), "c:\\work\\", "deleted.txt", "thrown away");
    CNodeRec systemsRoot(&catalog, 3);
    AddFile(catalog, &systemsRoot, "c:\\loose\\", "loose.txt");
}

} // namespace

void CompactionTest::BuildCatalogs(int nChurn)
{
    {
        auto pMain = NewMainCatalog(MAIN_NAME);
        BuildMain(*pMain, nChurn);
    }
    auto pRecycle = NewMainCatalog(RECYCLE_NAME, TRUE);
    BuildRecycle(*pRecycle, nChurn);
}

std::string CompactionTest::NodePath(const CNodeRec& node)
{
    CNodeRecArray ancestors = node.GetAncestors();
    std::string strPath = "#" + std::to_string(ancestors.empty() ? node.GetBlock() : ancestors.front()->GetBlock());
    for (std::size_t n = 1; n < ancestors.size(); ++n)
        strPath += "/" + std::string(ancestors[n]->GetName());
    if (!ancestors.empty())
        strPath += "/" + std::string(node.GetName());
    return strPath;
}

std::string CompactionTest::DocumentPath(const CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName, TRUE);
    return std::string(document.GetDirectoryPath(FALSE, TRUE)) + std::string(strName);
}

namespace {

void DumpNode(std::ostream& out, const CNodeRec& node, int nDepth)
{
    CNodeInfo info;
    node.GetInfo(&info);
    out << "node " << CompactionTest::NodePath(node) << " kind " << info.nKind << " flags " << info.nFlags << " search "
        << info.wSearchType << " info '" << info.szInfo << "'\n";
    for (const auto& pKeyword : node.GetKeywords())
        out << "  keyword " << pKeyword->GetText() << "\n";
    for (const auto& pFolder : node.GetNodeFolders())
        out << "  folder " << pFolder->GetText() << "\n";
    for (const auto& pDocument : node.GetDocuments())
        out << "  document " << CompactionTest::DocumentPath(*pDocument) << "\n";
    if (nDepth < 50) {
        for (const auto& pChild : node.GetChildren())
            DumpNode(out, *pChild, nDepth + 1);
    }
}

void DumpDocument(std::ostream& out, const CDocumentRec& document)
{
    CDocumentInfo info;
    document.GetInfo(&info);
    out << "  " << CompactionTest::DocumentPath(document) << " type " << info.wType << " id";
    for (BYTE b : info.id)
        out << ' ' << int { b };
    out << " '" << info.szDescription << "' '" << info.szSecondary << "' expiry " << info.nExpiry << " version "
        << info.nVersion << " action " << info.dwOpenAction << " password '" << info.szPassword << "' time "
        << info.ftCatalogTime.dwHighDateTime << ":" << info.ftCatalogTime.dwLowDateTime << " attributes "
        << info.dwAttributes << " nodes";
    // A document's list of links follows the tree walk after a rebuild: compared as a set.
    std::vector<std::string> nodes;
    for (const auto& pNode : document.GetLinkedNodes())
        nodes.push_back(CompactionTest::NodePath(*pNode));
    std::sort(nodes.begin(), nodes.end());
    for (const std::string& strNode : nodes)
        out << " [" << strNode << "]";
    out << "\n";
}

} // namespace

std::string CompactionTest::Snapshot(const std::string& strName)
{
    std::ostringstream out;
    CCatalog catalog(ProgramPath(strName).c_str(), 0);
    EXPECT_TRUE(catalog.IsOpen()) << strName;
    if (!catalog.IsOpen())
        return "unreadable";
    FILETIME ftStamp = catalog.GetTimeStamp();
    out << strName << " kind " << catalog.GetKind() << " header '" << catalog.GetHeaderString(0) << "' '"
        << catalog.GetHeaderString(1) << "' " << catalog.GetHeaderLink(0) << " " << catalog.GetHeaderLink(1) << " "
        << ftStamp.dwHighDateTime << ":" << ftStamp.dwLowDateTime << " place " << catalog.GetPlaceChoice() << "\n";

    for (LONG nTable : { TABLE_KEYWORD, TABLE_NODE_FOLDER, TABLE_EXTENSION, TABLE_LIB_FOLDER, TABLE_CLEANUP_FOLDER,
             TABLE_MAIL_STORE }) {
        CRecordRef cursor { EntryRootBlock(nTable), NO_SLOT };
        while (catalog.NextRecord(&cursor)) {
            out << "entry " << nTable << " '" << CTextEntryRec(&catalog, nTable, cursor).GetText() << "'";
            if (nTable == TABLE_MAIL_STORE) {
                CMailStoreRec store(&catalog, cursor.nBlock, cursor.nSlot);
                out << " kind " << store.GetKind() << " value " << store.GetValue();
            }
            out << "\n";
        }
    }
    CRecordRef cursor { ROOT_BLOCK_DIRECTORY, NO_SLOT };
    while (catalog.NextRecord(&cursor)) {
        CDirectoryRec directory(&catalog, cursor);
        out << "directory " << directory.GetPath() << " store " << directory.GetStoreKind() << " count "
            << directory.GetDocumentCount() << "\n";
        for (std::unique_ptr<CDocumentRec> pDocument(directory.FirstDocument()); pDocument;
             pDocument.reset(directory.NextDocument()))
            DumpDocument(out, *pDocument);
    }
    for (LONG nFixed = 0; nFixed <= CNodeRec::FIXED_NODE_LAST; ++nFixed)
        DumpNode(out, CNodeRec(&catalog, nFixed), 0);
    CRecentList recent(&catalog);
    for (int i = 0; i < recent.GetStoredCount(); ++i) {
        std::unique_ptr<CDocumentRec> pDocument(recent.CreateItemObject(i));
        out << "recent " << (pDocument ? DocumentPath(*pDocument) : "(gone)") << "\n";
    }
    EXPECT_TRUE(catalog.IsWritable()) << strName << " was found damaged";
    return out.str();
}

std::uintmax_t CompactionTest::FileSize(const std::string& strName) const
{
    return std::filesystem::file_size(HostPath(strName));
}

bool CompactionTest::Exists(const std::string& strName) const
{
    return std::filesystem::exists(HostPath(strName));
}
