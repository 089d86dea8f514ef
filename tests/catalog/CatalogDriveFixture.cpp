#include "tests/catalog/CatalogDriveFixture.h"

#include "platform/base/DriveSettings.h"
#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/base/Registry.h"
#include "platform/base/TextFunctions.h"
#include "store/CDirectoryRec.h"
#include "store/CNodeFolderRec.h"

#include <algorithm>
#include <vector>

void CatalogDriveTest::SetUp()
{
    CatalogTest::SetUp();
    m_setHome = std::make_unique<ScopedVariable>("HOME", m_home.Path().c_str());
    ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
    const std::string strKey = std::string(DRIVE_SETTINGS_KEY) + "\\T";
    HKEY hKey = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
        ERROR_SUCCESS);
    const std::string strPath = m_driveT.Path().string();
    const DWORD dwType = DRIVE_FIXED;
    RegSetValueEx(hKey, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(strPath.c_str()),
        static_cast<DWORD>(strPath.size() + 1));
    RegSetValueEx(hKey, "Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwType), sizeof(dwType));
    RegCloseKey(hKey);
    ApplyDriveSettingsFromRegistry();
    m_pCatalog = NewMainCatalog();
    ASSERT_TRUE(m_pCatalog && m_pCatalog->IsOpen());
    for (const char* pszExtension : { "txt", "odt", "md" })
        ASSERT_TRUE(m_pCatalog->LoadExtensions(pszExtension));
}

void CatalogDriveTest::TearDown()
{
    m_pCatalog.reset();
    ResetDriveTable();
    m_setHome.reset();
    CatalogTest::TearDown();
}

std::string CatalogDriveTest::OnT(std::string_view strRelative)
{
    std::string strPath = "t:\\" + std::string(strRelative);
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    return strPath;
}

std::string CatalogDriveTest::WriteOnT(std::string_view strRelative, std::string_view strContents) const
{
    m_driveT.WriteFile(std::string(strRelative), strContents);
    return OnT(strRelative);
}

std::filesystem::path CatalogDriveTest::HostOnT(std::string_view strRelative) const
{
    return m_driveT / std::string(strRelative);
}

std::unique_ptr<CNodeRec> CatalogDriveTest::Group(const char* pszName, WORD wSearchType, const char* pszKeyword)
{
    std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    std::unique_ptr<CNodeRec> pNode = AddNode(*pSystems, pszName);
    CNodeInfo info;
    pNode->GetInfo(&info);
    info.wSearchType = wSearchType;
    EXPECT_TRUE(pNode->UpdateInfo(info));
    if (pszKeyword != nullptr)
        AssignKeyword(*pNode, pszKeyword);
    return pNode;
}

void CatalogDriveTest::AssignKeyword(CNodeRec& node, const char* pszKeyword)
{
    CStringArray keywords;
    keywords.Add(pszKeyword);
    EXPECT_TRUE(m_pCatalog->LoadKeywords(&node, keywords));
}

void CatalogDriveTest::AssignFolder(CNodeRec& node, const char* pszText)
{
    std::unique_ptr<CNodeFolderRec> pFolder(m_pCatalog->AddNodeFolder(pszText));
    EXPECT_TRUE(pFolder && node.LinkNodeFolder(pFolder.get()));
}

std::vector<std::string> CatalogDriveTest::NodeNames(const CNodeRecArray& nodes)
{
    std::vector<std::string> names;
    for (const auto& pNode : nodes)
        names.emplace_back(pNode->GetName());
    return names;
}

void CatalogDriveTest::ForEachDocument(
    CCatalog& catalog, const std::function<void(const CDirectoryRec&, CDocumentRec&)>& visit)
{
    std::vector<CRecordRef> directories;
    if (!catalog.ListRootChain(ROOT_BLOCK_DIRECTORY, &directories))
        return;
    for (const CRecordRef& ref : directories) {
        CDirectoryRec directory(&catalog, ref);
        for (std::unique_ptr<CDocumentRec> pDocument(directory.FirstDocument()); pDocument;
             pDocument.reset(directory.NextDocument()))
            visit(directory, *pDocument);
    }
}

std::set<std::string> CatalogDriveTest::CatalogPicture(CCatalog& catalog)
{
    std::set<std::string> picture;
    ForEachDocument(catalog, [&](const CDirectoryRec&, CDocumentRec& document) {
        CString strName;
        CString strDescription;
        document.GetFullPath(strName);
        document.GetNameWithLocation(strDescription);
        std::vector<std::string> nodes;
        for (const auto& pNode : document.GetLinkedNodes()) {
            if (pNode->GetBlock() == CNodeRec::SYSTEMS_NODE_BLOCK && pNode->GetSlot() == 0) {
                nodes.emplace_back("(systems)");
                continue;
            }
            CStringArray names;
            pNode->GetPathNames(names);
            std::string strPath;
            for (int i = 0; i < names.GetSize(); ++i)
                strPath += (strPath.empty() ? "" : "\\") + std::string(names[i]);
            nodes.push_back(strPath);
        }
        std::sort(nodes.begin(), nodes.end());
        std::string strNodes;
        for (const std::string& strNode : nodes)
            strNodes += (strNodes.empty() ? "" : ", ") + strNode;
        picture.insert(std::string(document.GetDirectoryPath(FALSE)) + std::string(strName) + " | "
            + std::string(strDescription) + " | " + strNodes);
    });
    return picture;
}

std::string CatalogDriveTest::ProgramPathOfHome(std::string_view strRelative) const
{
    return Utf8ToLower(ProgramPathFromHostPath(m_home.Path().string()) + "\\" + std::string(strRelative));
}
