#pragma once

// A fixture for the tests of launching and file types: launchers and
// mimeapps.list written into the test process's own XDG folders (its
// temporary home), which GIO reads; each test removes what it wrote. The
// folders stay the same for the whole process, since GIO reads them once.

#include "platform/base/PathNames.h"
#include "platform/base/XdgFolders.h"
#include "tests/platform/shell/ShellTreeFixture.h"

#include <filesystem>
#include <fstream>

class LauncherTest : public ShellTreeTest {
protected:
    void SetUp() override
    {
        const std::string& strProcessHome = ProcessHome(); // before the tree's home replaces it
        ShellTreeTest::SetUp();
        m_strProcessHome = strProcessHome;
        // The process's own home, not the tree's: GIO has read it already.
        m_restoreHome = std::make_unique<ScopedVariable>("HOME", m_strProcessHome);
        m_restoreData = std::make_unique<ScopedVariable>("XDG_DATA_HOME", m_strProcessHome + "/.local/share");
        m_restoreConfig = std::make_unique<ScopedVariable>("XDG_CONFIG_HOME", m_strProcessHome + "/.config");
        std::filesystem::create_directories(Applications());
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(Applications(), ec);
        std::filesystem::remove(m_strProcessHome + "/.config/mimeapps.list", ec);
        std::filesystem::remove(m_strProcessHome + "/.config/user-dirs.dirs", ec);
        m_restoreConfig.reset();
        m_restoreData.reset();
        m_restoreHome.reset();
        ShellTreeTest::TearDown();
    }

    std::string Applications() const { return m_strProcessHome + "/.local/share/applications"; }

    // Writes a launcher; returns its host path.
    std::string WriteLauncher(const std::string& strId, const std::string& strName, const std::string& strExec,
        const std::string& strMimeTypes = "", const std::string& strExtra = "") const
    {
        std::string strPath = Applications() + "/" + strId;
        std::ofstream(strPath) << "[Desktop Entry]\nType=Application\nName=" << strName << "\nExec=" << strExec
                               << "\nMimeType=" << strMimeTypes << "\n"
                               << strExtra;
        return strPath;
    }
    // Makes a launcher the default for a MIME type.
    void SetDefault(const std::string& strType, const std::string& strId)
    {
        m_strDefaults += strType + "=" + strId + "\n";
        std::filesystem::create_directories(m_strProcessHome + "/.config");
        std::ofstream(m_strProcessHome + "/.config/mimeapps.list") << "[Default Applications]\n" << m_strDefaults;
    }

    // Names the templates folder (a host folder) in user-dirs.dirs.
    void SetTemplatesFolder(const std::string& strFolder) const
    {
        std::filesystem::create_directories(m_strProcessHome + "/.config");
        std::ofstream(m_strProcessHome + "/.config/user-dirs.dirs") << "XDG_TEMPLATES_DIR=\"" << strFolder << "\"\n";
    }

private:
    static const std::string& ProcessHome()
    {
        static const std::string s_strHome = std::getenv("HOME") ? std::getenv("HOME") : "/nonexistent";
        return s_strHome;
    }

    std::string m_strProcessHome;
    std::string m_strDefaults;
    std::unique_ptr<ScopedVariable> m_restoreHome;
    std::unique_ptr<ScopedVariable> m_restoreData;
    std::unique_ptr<ScopedVariable> m_restoreConfig;
};
