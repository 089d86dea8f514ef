#include "bench/WebBenchCatalog.h"

#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "webaccess/pages/WebText.h"
#include "webaccess/server/WebCommands.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

CWebBenchCatalog::CWebBenchCatalog()
{
    if (!m_folder.IsValid())
        std::abort();
    ::setenv("ARCHIVORA_HOME", m_folder.Path().c_str(), 1);
    const std::string strCatalog = ProgramPathFromHostPath((m_folder.Path() / "archiv.cat").string());
    if (!CCatalog::CreateFile(FALSE, strCatalog.c_str(), BLOCK_SIZE))
        std::abort();
    m_pCatalog = std::make_unique<CCatalog>(strCatalog.c_str(), 1);
    if (!m_pCatalog->Acquire())
        std::abort();
    SetWebCatalog(m_pCatalog.get());
    FillGroup();
    std::filesystem::create_directory(UploadFolder());
    auto pProfile = std::make_unique<CWAProfiles>();
    pProfile->SetIdentity("bench", "pw", ProgramPathFromHostPath(UploadFolder().string()).c_str());
    pProfile->SetPermissions(TRUE, TRUE, 1);
    CWAGroupRightsMap rights;
    rights.SetAt(WA_ALL_GROUPS, WA_GROUP_WHOLE);
    pProfile->SetGroupRights(rights);
    m_settings.m_profiles.push_back(std::move(pProfile));
}

CWebBenchCatalog::~CWebBenchCatalog()
{
    SetWebCatalog(nullptr);
    static_cast<void>(m_pCatalog->Release());
}

void CWebBenchCatalog::FillGroup()
{
    const std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
    CNodeInfo info;
    MakeDefaultNames(&info);
    std::snprintf(info.szName, sizeof(info.szName), "%s", "Bench");
    info.nKind = 2;
    const std::unique_ptr<CNodeRec> pGroup(pRoot->FindOrAddChild(info));
    if (pGroup == nullptr)
        std::abort();
    const std::filesystem::path documents = m_folder.Path() / "docs";
    std::filesystem::create_directory(documents);
    for (int i = 0; i < GROUP_DOCUMENTS; ++i) {
        const std::filesystem::path path = documents / ("doc" + std::to_string(i) + ".txt");
        std::ofstream(path) << i;
        const std::unique_ptr<CDocumentRec> pDocument(
            m_pCatalog->FindOrAddPath(pGroup.get(), ProgramPathFromHostPath(path.string()).c_str()));
        if (pDocument == nullptr)
            std::abort();
    }
    m_strWdirToken = static_cast<LPCTSTR>(
        FormatWdirToken(static_cast<int>(pGroup->GetBlock()), static_cast<int>(pGroup->GetSlot())));
}
