#pragma once

// A catalog with groups and documents, profiles granting some of its groups,
// sessions logged in under them, and commands run through CreateWebCommand
// and the session with the reply read back out of its zip archive.

#include "platform/base/Clock.h"
#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "tests/support/TempFolder.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWACatalogLists.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/WebCommands.h"

#include <gtest/gtest.h>
#include <minizip/unzip.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

// The catalog of these tests:
//   root
//     Projects          info "current work"
//       Alpha           big.bin (1,500,000 bytes), empty.txt (0), one.txt (1)
//         Deep          deep.txt
//       Beta <b>
//     Archive           old.txt
class CatalogSessionTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        MoveProgramFolderApart();
        thePreferences.m_nNumDayFileNew = 0; // no document counts as new unless a test says so
        const std::string strCatalog = ProgramPath("archiv.cat");
        ASSERT_TRUE(CCatalog::CreateFile(FALSE, strCatalog.c_str(), BLOCK_SIZE));
        m_pCatalog = std::make_unique<CCatalog>(strCatalog.c_str(), 1);
        ASSERT_TRUE(m_pCatalog->Acquire());
        SetWebCatalog(m_pCatalog.get());
        const std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
        auto pProjects = AddNode(*pRoot, "Projects", "current work");
        auto pAlpha = AddNode(*pProjects, "Alpha");
        auto pDeep = AddNode(*pAlpha, "Deep");
        auto pBeta = AddNode(*pProjects, "Beta <b>");
        auto pArchive = AddNode(*pRoot, "Archive");
        m_projects = pProjects->GetRef();
        m_alpha = pAlpha->GetRef();
        m_deep = pDeep->GetRef();
        m_beta = pBeta->GetRef();
        m_archive = pArchive->GetRef();
        AddFile(*pAlpha, "big.bin", 1500000);
        AddFile(*pAlpha, "empty.txt", 0);
        AddFile(*pAlpha, "one.txt", 1);
        AddFile(*pDeep, "deep.txt", 3);
        AddFile(*pArchive, "old.txt", 3);
    }
    void TearDown() override
    {
        SetWebCatalog(nullptr);
        if (m_pCatalog != nullptr)
            static_cast<void>(m_pCatalog->Release());
        m_pCatalog.reset();
        thePreferences.SetDefaults();
        ProgramFolderTest::TearDown();
    }

    std::string ProgramPath(const std::string& strName) const
    {
        return ProgramPathFromHostPath((Home() / strName).string());
    }
    std::unique_ptr<CNodeRec> AddNode(CNodeRec& parent, const char* pszName, const char* pszInfo = "")
    {
        CNodeInfo info;
        MakeDefaultNames(&info);
        std::snprintf(info.szName, sizeof(info.szName), "%s", pszName);
        std::snprintf(info.szInfo, sizeof(info.szInfo), "%s", pszInfo);
        info.nKind = 2;
        std::unique_ptr<CNodeRec> pNode(parent.FindOrAddChild(info));
        EXPECT_NE(pNode, nullptr) << pszName;
        return pNode;
    }
    void AddFile(CNodeRec& node, const char* pszName, std::uintmax_t nSize)
    {
        std::ofstream(Home() / pszName).close();
        std::filesystem::resize_file(Home() / pszName, nSize);
        const std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindOrAddPath(&node, ProgramPath(pszName).c_str()));
        EXPECT_NE(pDocument, nullptr) << pszName;
    }

    // The document of the node whose name is pszName.
    CRecordRef DocumentRef(CRecordRef node, const char* pszName) const
    {
        const CNodeRec group(m_pCatalog.get(), node.nBlock, node.nSlot);
        for (const auto& pDocument : group.GetDocuments()) {
            CString strName;
            pDocument->GetFullPath(strName);
            if (strName == pszName)
                return pDocument->GetRef();
        }
        ADD_FAILURE() << "no document " << pszName;
        return {};
    }
    // Gives the document an expiry date, in seconds since 1970.
    void SetExpiry(CRecordRef document, LONG nExpiry)
    {
        CDocumentRec record(m_pCatalog.get(), document.nBlock, document.nSlot);
        CDocumentInfo info {};
        ASSERT_NE(record.GetInfo(&info), nullptr);
        info.nExpiry = nExpiry;
        ASSERT_TRUE(record.UpdateInfo(info));
    }
    // Dates the document's cataloguing nDaysAgo days back.
    void SetCatalogued(CRecordRef document, int nDaysAgo)
    {
        CDocumentRec record(m_pCatalog.get(), document.nBlock, document.nSlot);
        CDocumentInfo info {};
        ASSERT_NE(record.GetInfo(&info), nullptr);
        ULONGLONG nTime
            = (static_cast<ULONGLONG>(std::time(nullptr) - nDaysAgo * 86400LL) + FILETIME_UNIX_EPOCH_SECONDS)
            * FILETIME_UNITS_PER_SECOND;
        info.ftCatalogTime = { static_cast<DWORD>(nTime), static_cast<DWORD>(nTime >> 32) };
        ASSERT_TRUE(record.UpdateInfo(info));
    }

    // A session whose profile grants rights (and every command).
    using Grants = std::vector<std::pair<WA_GROUP_KEY, WORD>>;
    std::unique_ptr<CWASession> Login(const Grants& grants, const char* pszBrowser = "x")
    {
        CWAGroupRightsMap rights;
        for (const auto& [key, wValue] : grants)
            rights.SetAt(key, wValue);
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity("guest", "pw", "");
        pProfile->SetPermissions(TRUE, TRUE, 1);
        pProfile->SetGroupRights(rights);
        m_settings.m_profiles.clear();
        m_settings.m_profiles.push_back(std::move(pProfile));
        const auto pLogin = CreateWebCommand((std::string("<#LOGIN |7| |ana| |pw| |") + pszBrowser + "|#>").c_str());
        EXPECT_EQ(pLogin->GetStatus(), WA_STATUS_OK);
        return std::make_unique<CWASession>(static_cast<CWACmdLogin&>(*pLogin), m_settings, *m_pCatalog);
    }
    static Grants Rights(std::initializer_list<std::pair<CRecordRef, WORD>> entries)
    {
        Grants grants;
        for (const auto& [ref, wValue] : entries)
            grants.push_back({ { static_cast<DWORD>(ref.nBlock), static_cast<DWORD>(ref.nSlot) }, wValue });
        return grants;
    }
    static Grants AllGroups() { return { { WA_ALL_GROUPS, WA_GROUP_WHOLE } }; }
    // A grant of the root alone, without what lies below it: no group is visible.
    static Grants NoGroups() { return { { { 0, 0 }, WA_GROUP_PART } }; }

    // Runs a token in the session; the reply's content, or "" when the run failed.
    std::string Run(CWASession& session, const std::string& strToken, BOOL* pbResult = nullptr)
    {
        std::unique_ptr<CWACommand> pCommand = CreateWebCommand(strToken.c_str());
        EXPECT_NE(pCommand, nullptr);
        EXPECT_EQ(pCommand->GetStatus(), WA_STATUS_OK) << strToken;
        const std::string strReply = ProgramPath("7.~ou");
        CWAOutputFile reply;
        EXPECT_TRUE(reply.Open(strReply.c_str(), TRUE));
        const BOOL bResult = session.RunCommand(pCommand, reply);
        reply.Close();
        if (pbResult != nullptr)
            *pbResult = bResult;
        return ReadZipEntry((Home() / "7.~ou").string());
    }
    static std::string ReadZipEntry(const std::string& strPath)
    {
        std::string strContent;
        unzFile hZip = unzOpen(strPath.c_str());
        if (hZip == nullptr)
            return strContent;
        if (unzGoToFirstFile(hZip) == UNZ_OK && unzOpenCurrentFile(hZip) == UNZ_OK) {
            char buffer[4096];
            int nRead;
            while ((nRead = unzReadCurrentFile(hZip, buffer, sizeof buffer)) > 0)
                strContent.append(buffer, static_cast<size_t>(nRead));
            unzCloseCurrentFile(hZip);
        }
        unzClose(hZip);
        return strContent;
    }
    static std::string WdirToken(CRecordRef ref, const char* pszOrder = nullptr)
    {
        std::string strToken = "<#WDIR |" + std::to_string(ref.nBlock) + "| |" + std::to_string(ref.nSlot) + "|";
        if (pszOrder != nullptr)
            strToken += std::string(" |") + pszOrder + "|";
        return strToken + "#>";
    }
    std::vector<std::string> ChildNames(CWASession& session, CRecordRef ref)
    {
        const CNodeRec node(m_pCatalog.get(), ref.nBlock, ref.nSlot);
        std::vector<std::string> names;
        for (const auto& pChild : session.GetCatalogLists().GetChildList(node))
            names.emplace_back(pChild->GetName());
        return names;
    }
    int DocumentCount(CWASession& session, CRecordRef ref)
    {
        const CNodeRec node(m_pCatalog.get(), ref.nBlock, ref.nSlot);
        const int nCount = session.GetCatalogLists().CountDocuments(node);
        EXPECT_EQ(static_cast<size_t>(nCount), session.GetCatalogLists().GetDocumentList(node).size());
        return nCount;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    CWASettings m_settings;
    CRecordRef m_projects, m_alpha, m_deep, m_beta, m_archive;
    const CRecordRef m_root { 0, 0 };
};
