// Links: webaccess_server
// Serves arbitrary bytes as request files of the communication folder, one
// after another (the input split at each 0x1E byte, at most eight), with a
// small catalog and a profile that sees its one group, so a login can be
// followed by the commands of its session: as a relay, the target puts the
// key of the last login's SESSION token wherever a request says "$KEY".
// Whatever a file holds, the request
// is consumed, no partial reply stays behind, and a reply (every exchange but
// a logout writes one) is a zip reply ending in the END line. Sessions and
// pending uploads end after each input.

#include "fuzz/FontSystemLeaks.h"
#include "platform/base/PathMap.h"
#include "platform/base/ZipReader.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/FileHelpers.h"
#include "tests/support/ScratchFolder.h"
#include "tests/webaccess/server/SilentServicePrompts.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWAServer.h"
#include "webaccess/server/WebCommands.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

// The program folder with the catalog, the communication folder and the
// server. The server is not started: no window, no timers, no log file.
struct CRequestSetup {
    ScratchFolder folder { "fuzz-request-" };
    std::unique_ptr<CCatalog> pCatalog;
    CWASettings settings;
    CSilentServicePrompts prompts;
    std::unique_ptr<CWAServer> pServer;
    fs::path commFolder;

    CRequestSetup()
    {
        if (!folder.IsValid())
            std::abort();
        ::setenv("ARCHIVORA_HOME", folder.Path().c_str(), 1);
        const std::string strCatalog = ProgramPathFromHostPath((folder.Path() / "archiv.cat").string());
        if (!CCatalog::CreateFile(FALSE, strCatalog.c_str(), BLOCK_SIZE))
            std::abort();
        pCatalog = std::make_unique<CCatalog>(strCatalog.c_str(), 1);
        if (!pCatalog->Acquire())
            std::abort();
        SetWebCatalog(pCatalog.get());
        const std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pCatalog.get()));
        CNodeInfo info;
        MakeDefaultNames(&info);
        std::snprintf(info.szName, sizeof(info.szName), "%s", "Group");
        info.nKind = 2;
        const std::unique_ptr<CNodeRec> pGroup(pRoot->FindOrAddChild(info));
        const fs::path document = folder.Path() / "note.txt";
        std::ofstream(document) << "a note";
        const std::unique_ptr<CDocumentRec> pDocument(
            pCatalog->FindOrAddPath(pGroup.get(), ProgramPathFromHostPath(document.string()).c_str()));
        if (pGroup == nullptr || pDocument == nullptr)
            std::abort();

        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity("ana", "pw", ProgramPathFromHostPath((folder.Path() / "uploads").string()).c_str());
        pProfile->SetPermissions(TRUE, TRUE, 1);
        CWAGroupRightsMap rights; // one group, so the explorer stays closed
        rights.SetAt({ static_cast<DWORD>(pGroup->GetBlock()), static_cast<DWORD>(pGroup->GetSlot()) }, WA_GROUP_WHOLE);
        pProfile->SetGroupRights(rights);
        settings.m_profiles.push_back(std::move(pProfile));
        settings.m_strCatCode = "FUZZ01";
        settings.m_strCommFolder = BuildCommFolderPath(GetProgramFolder(), "FUZZ01");
        thePreferences.AttachWebSettings(&settings);
        std::string strHost;
        if (!CreateFolderPath(settings.m_strCommFolder) || !HostPathFromProgramPath(settings.m_strCommFolder, strHost))
            std::abort();
        commFolder = strHost;
        pServer = std::make_unique<CWAServer>(settings, prompts);
    }
    ~CRequestSetup()
    {
        pServer.reset();
        thePreferences.AttachWebSettings(nullptr);
        SetWebCatalog(nullptr);
        static_cast<void>(pCatalog->Release());
    }
};

std::string ZipText(const fs::path& path)
{
    CZipReader zip;
    if (!zip.OpenFirstEntry(ProgramPathFromHostPath(path.string()).c_str()))
        std::abort();
    std::string strText;
    char buffer[4096];
    int nRead;
    while ((nRead = zip.Read(buffer, sizeof buffer)) > 0)
        strText.append(buffer, static_cast<size_t>(nRead));
    if (nRead < 0)
        std::abort();
    return strText;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static CRequestSetup s_setup;
    const std::string_view input(reinterpret_cast<const char*>(pData), nSize);
    const fs::path request = s_setup.commFolder / "f.in";
    const fs::path reply = s_setup.commFolder / "f.out";
    size_t nStart = 0;
    std::string strKey;
    for (int nRequest = 0; nRequest < 8 && nStart <= input.size(); ++nRequest) {
        const size_t nEnd = std::min(input.find('\x1e', nStart), input.size());
        std::string strBytes(input.substr(nStart, nEnd - nStart));
        for (size_t nAt = strBytes.find("$KEY"); nAt != std::string::npos; nAt = strBytes.find("$KEY", nAt))
            strBytes.replace(nAt, 4, strKey);
        {
            std::ofstream file(request, std::ios::binary | std::ios::trunc);
            file.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
        }
        nStart = nEnd + 1;
        s_setup.pServer->ProcessRequestFile(CString(s_setup.settings.m_strCommFolder), "f.in");
        std::error_code ec;
        if (fs::exists(request, ec) || fs::exists(s_setup.commFolder / "f.~ou", ec))
            std::abort();
        if (fs::exists(reply, ec)) {
            const std::string strText = ZipText(reply);
            if (!strText.ends_with("\r\n<#END#>"))
                std::abort();
            if (const size_t nToken = strText.find("<#SESSION |"); nToken != std::string::npos)
                strKey = strText.substr(nToken + 11, strText.find('|', nToken + 11) - nToken - 11);
            fs::remove(reply, ec);
        }
    }
    s_setup.pServer->StopScan(); // sessions and pending uploads end
    return 0;
}
