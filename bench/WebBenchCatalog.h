#pragma once

// What the web access benchmarks share: a catalog in a scratch folder (also
// the program folder, through ARCHIVORA_HOME) with one group of 10 000 small
// documents, the web catalog set to it, and a settings block whose one
// profile ("bench", password "pw") sees every group and may download and
// upload. Any failure while making it ends the program.

#include "tests/support/ScratchFolder.h"
#include "webaccess/profiles/CWASettings.h"

#include <filesystem>
#include <memory>
#include <string>

class CCatalog;

class CWebBenchCatalog {
public:
    static constexpr int GROUP_DOCUMENTS = 10000;

    CWebBenchCatalog();
    ~CWebBenchCatalog();
    CWebBenchCatalog(const CWebBenchCatalog&) = delete;
    CWebBenchCatalog& operator=(const CWebBenchCatalog&) = delete;

    const std::filesystem::path& Folder() const { return m_folder.Path(); }
    CCatalog& Catalog() const { return *m_pCatalog; }
    CWASettings& Settings() { return m_settings; }
    // The WDIR token of the large group.
    const std::string& WdirToken() const { return m_strWdirToken; }
    // The profile's upload folder (a host path).
    std::filesystem::path UploadFolder() const { return m_folder.Path() / "uploads"; }

private:
    void FillGroup();

    ScratchFolder m_folder { "webbench-" };
    std::unique_ptr<CCatalog> m_pCatalog;
    CWASettings m_settings;
    std::string m_strWdirToken;
};
