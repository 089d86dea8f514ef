#pragma once

// A fixture for the tests of launching and file types: launchers,
// mimeapps.list and the user folders file written into the tree's home
// (XDG_DATA_HOME and XDG_CONFIG_HOME below it), which the desktop services read
// at every call.

#include "platform/base/XdgFolders.h"
#include "tests/platform/shell/ShellTreeFixture.h"

#include <filesystem>
#include <fstream>

class LauncherTest : public ShellTreeTest {
protected:
    void SetUp() override
    {
        ShellTreeTest::SetUp();
        std::filesystem::create_directories(Applications());
        std::filesystem::create_directories(XdgConfigHome());
    }

    static std::string Applications() { return XdgDataHome() + "/applications"; }

    // Writes a launcher; returns its host path.
    static std::string WriteLauncher(const std::string& strId, const std::string& strName, const std::string& strExec,
        const std::string& strMimeTypes = "", const std::string& strExtra = "")
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
        std::ofstream(XdgConfigHome() + "/mimeapps.list") << "[Default Applications]\n" << m_strDefaults;
    }
    // Names the templates folder (a host folder) in user-dirs.dirs.
    static void SetTemplatesFolder(const std::string& strFolder)
    {
        std::ofstream(XdgConfigHome() + "/user-dirs.dirs") << "XDG_TEMPLATES_DIR=\"" << strFolder << "\"\n";
    }

private:
    std::string m_strDefaults;
};
