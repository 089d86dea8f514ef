#include "platform/base/XdgFolders.h"

#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

TEST(XdgFoldersTest, BaseFoldersFallBackToTheHome)
{
    TempFolder home;
    ScopedVariable setHome("HOME", home.Path().string());
    ScopedVariable relative("XDG_DATA_HOME", "relative/share");
    EXPECT_EQ(XdgDataHome(), home.Path().string() + "/.local/share") << "a relative value is ignored";
    ScopedVariable config("XDG_CONFIG_HOME", "/etc/../cfg/");
    EXPECT_EQ(XdgConfigHome(), "/cfg");
    ScopedVariable dirs("XDG_DATA_DIRS", "/opt/share::relative:/usr/share");
    EXPECT_EQ(XdgDataDirs(), (std::vector<std::string> { "/opt/share", "/usr/share" }));
}

TEST(XdgFoldersTest, UserFoldersComeFromTheUserDirsFile)
{
    TempFolder home;
    ScopedVariable setHome("HOME", home.Path().string());
    ScopedVariable config("XDG_CONFIG_HOME", home.Path().string() + "/.config");
    EXPECT_EQ(XdgUserDir("DESKTOP"), home.Path().string() + "/Desktop") << "the default without a file";
    EXPECT_EQ(XdgUserDir("TEMPLATES"), "");

    home.WriteFile(".config/user-dirs.dirs",
        "# written by xdg-user-dirs-update\n"
        "XDG_DESKTOP_DIR=\"$HOME/Schreib\\\"tisch\"\n"
        "XDG_TEMPLATES_DIR=\"/srv/templates\"\n"
        "XDG_MUSIC_DIR=\"$HOME/\"\n"
        "XDG_VIDEOS_DIR=Videos\n");
    EXPECT_EQ(XdgUserDir("DESKTOP"), home.Path().string() + "/Schreib\"tisch");
    EXPECT_EQ(XdgUserDir("TEMPLATES"), "/srv/templates");
    EXPECT_EQ(XdgUserDir("MUSIC"), "") << "the home folder itself means none";
    EXPECT_EQ(XdgUserDir("VIDEOS"), "") << "an unquoted value is malformed";
}
