#include "ui/CStartMenuIndex.h"

#include "platform/window/Menu.h"
#include "ui/COpenWithMenu.h"

#include "platform/base/Com.h"
#include "platform/base/ShortNames.h"
#include "platform/shell/ShellLink.h"
#include "resources/ResourceIds.h"
#include "tests/platform/shell/LnkBuilder.h"
#include "tests/support/DriveTreeFixture.h"
#include "tests/ui/ClassesRootBuilder.h"

#include <fstream>

namespace {

class CStartMenuIndexTest : public DriveTreeTest {
protected:
    void SetUp() override
    {
        DriveTreeTest::SetUp();
        m_program = UseDesktopOfItsOwn();
        RegisterComClass(CLSID_ShellLink, CreateShellLink);
        std::filesystem::create_directories(m_program / "Start Menu" / "Accessories");
    }
    // A link of the desktop's kind in the Start menu to a program on C:.
    void WriteDesktopLink(const std::string& strName, const std::string& strProgram) const
    {
        std::ofstream(m_program / "Start Menu" / (strName + ".desktop"))
            << "[Desktop Entry]\nType=Link\nName=" << strName << "\nURL=file://" << (Root() / strProgram).string()
            << "\n";
    }
    void WriteLnk(const std::string& strRelative, const std::string& strTarget, const std::string& strArguments) const
    {
        LnkBuilder builder;
        builder.LocalPath(strTarget, "");
        if (!strArguments.empty())
            builder.Arguments(strArguments);
        const std::vector<BYTE> bytes = builder.Build();
        std::ofstream(m_program / "Start Menu" / strRelative, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static CString Short(const char* pszPath)
    {
        TCHAR szShort[MAX_PATH] {};
        EXPECT_NE(GetShortPathName(pszPath, szShort, MAX_PATH), 0u) << pszPath;
        CString strShort(szShort);
        return strShort.MakeLower();
    }

    std::filesystem::path m_program;
};

} // namespace

TEST(SplitCommandLineTest, ProgramEndsAfterItsExtensionAndCommandsWithoutOneRunNothing)
{
    CString strProgram;
    CString strArguments;
    // The short form of a path that does not exist is the path itself.
    CStartMenuIndex::SplitCommandLine("  \"C:\\Apps\\Text Editor.desktop\" \"%1\"  ", strProgram, strArguments);
    EXPECT_EQ(strProgram, "c:\\apps\\text editor.desktop");
    EXPECT_EQ(strArguments, "\"%1\"");
    CStartMenuIndex::SplitCommandLine("C:\\Program Files\\Viewer.EXE /view %1", strProgram, strArguments);
    EXPECT_EQ(strProgram, "c:\\program files\\viewer.exe");
    EXPECT_EQ(strArguments, "/view %1");
    CStartMenuIndex::SplitCommandLine("\"C:\\tools\\run.exe", strProgram, strArguments);
    EXPECT_EQ(strProgram, "c:\\tools\\run.exe");
    EXPECT_EQ(strArguments, "");
    // Relative programs and folders stay as written instead of becoming a
    // folder's short path without an extension.
    for (const char* pszCommand : { ".", "C:\\.", "\\\\?\\.", "\\\\?\\.git\\." }) {
        CStartMenuIndex::SplitCommandLine(pszCommand, strProgram, strArguments);
        EXPECT_EQ(strProgram, CString(pszCommand).MakeLower());
    }
    CStartMenuIndex::SplitCommandLine("Tools.Dir\\Run.exe -x", strProgram, strArguments);
    EXPECT_EQ(strProgram, "tools.dir\\run.exe");

    for (const char* pszCommand :
        { "rundll32.exe shimgvw.dll,ImageView_Fullscreen %1", "C:\\x\\%1.exe", "notepad %1", "", "   ", "\"" }) {
        CStartMenuIndex::SplitCommandLine(pszCommand, strProgram, strArguments);
        EXPECT_EQ(strProgram, "") << pszCommand;
    }
    EXPECT_EQ(CStartMenuIndex::GetFileTitle("C:\\menu\\Text Editor.desktop"), "Text Editor");
    EXPECT_EQ(CStartMenuIndex::GetFileTitle("Plain"), "Plain");
}

TEST_F(CStartMenuIndexTest, IndexesTypesWhoseProgramHasAShortcutWithoutArguments)
{
    WriteFile("apps/Text Editor.desktop", "[Desktop Entry]\nType=Application\nName=Text Editor\nExec=editor %F\n");
    WriteFile("apps/viewer.exe");
    WriteFile("apps/args.exe");
    WriteDesktopLink("Text Editor", "apps/Text Editor.desktop");
    WriteLnk("Accessories/Viewer.lnk", "C:\\apps\\viewer.exe", "");
    WriteLnk("Args.lnk", "C:\\apps\\args.exe", "--open");
    SetClassesKey("txtfile\\shell\\open\\command", { { "", "\"C:\\apps\\Text Editor.desktop\" \"%1\"" } });
    SetClassesKey("htmlfile\\shell\\open\\command", { { "", "\"C:\\apps\\Text Editor.desktop\" \"%1\"" } });
    SetClassesKey("imgfile\\shell\\open\\command", { { "", "C:\\apps\\viewer.exe %1" } });
    SetClassesKey("argsfile\\shell\\open\\command", { { "", "C:\\apps\\args.exe %1" } });
    SetClassesKey("dllfile\\shell\\open\\command", { { "", "rundll32.exe C:\\apps\\viewer.exe,Show %1" } });
    SetClassesKey(".txt\\shell\\open\\command", { { "", "C:\\apps\\viewer.exe %1" } });

    CStartMenuIndex index;
    index.Build();
    ASSERT_EQ(index.GetCount(), 2);
    EXPECT_EQ(index.GetEntry(0).strName, "Text Editor");
    EXPECT_EQ(index.GetEntry(0).strProgram, Short("C:\\apps\\Text Editor.desktop"));
    EXPECT_EQ(index.GetEntry(0).strCommandLine, Short("C:\\apps\\Text Editor.desktop") + " \"%1\"");
    EXPECT_EQ(index.GetEntry(1).strName, "Viewer");
    EXPECT_EQ(index.GetEntry(1).strCommandLine, Short("C:\\apps\\viewer.exe") + " %1");

    // Built once; Clear and Build see what changed meanwhile.
    std::filesystem::remove(Root() / "apps/viewer.exe");
    index.Build();
    EXPECT_EQ(index.GetCount(), 2);
    index.Clear();
    EXPECT_EQ(index.GetCount(), 0);
    index.Build();
    ASSERT_EQ(index.GetCount(), 1);
    EXPECT_EQ(index.GetEntry(0).strName, "Text Editor");
}

TEST_F(CStartMenuIndexTest, OpenWithMenuListsTheIndexedPrograms)
{
    WriteFile("apps/viewer.exe");
    WriteFile("apps/notes.exe");
    WriteLnk("Viewer.lnk", "C:\\apps\\viewer.exe", "");
    WriteLnk("Notes.lnk", "C:\\apps\\notes.exe", "");
    SetClassesKey("imgfile\\shell\\open\\command", { { "", "C:\\apps\\viewer.exe %1" } });
    SetClassesKey("notefile\\shell\\open\\command", { { "", "C:\\apps\\notes.exe %1" } });
    GetStartMenuIndex().Clear();

    COpenWithMenu menu;
    menu.Build();
    EXPECT_TRUE(GetStartMenuIndex().IsBuilt()) << "built on first use";
    ASSERT_EQ(menu.GetMenuItemCount(), 2u);
    EXPECT_EQ(menu.GetMenuItemID(0), static_cast<UINT>(ID_OPEN_WITH_FIRST));
    EXPECT_EQ(menu.GetMenuItemID(1), static_cast<UINT>(ID_OPEN_WITH_FIRST) + 1);
    EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_OWNERDRAW);
    menu.Build();
    EXPECT_EQ(menu.GetMenuItemCount(), 2u) << "a rebuild replaces the items";
    GetStartMenuIndex().Clear();
}

TEST_F(CStartMenuIndexTest, OpenWithMenuStopsBeforeTheFavouritesCommands)
{
    // One program more than the menu has commands for.
    constexpr int PROGRAMS = ID_OPEN_WITH_LAST - ID_OPEN_WITH_FIRST + 2;
    for (int i = 0; i < PROGRAMS; ++i) {
        const std::string strName = "tool" + std::to_string(100 + i);
        WriteFile("apps/" + strName + ".exe");
        WriteLnk(strName + ".lnk", "C:\\apps\\" + strName + ".exe", "");
        SetClassesKey(strName + "file\\shell\\open\\command", { { "", "C:\\apps\\" + strName + ".exe %1" } });
    }
    GetStartMenuIndex().Clear();
    COpenWithMenu menu;
    menu.Build();
    ASSERT_EQ(GetStartMenuIndex().GetCount(), PROGRAMS);
    ASSERT_EQ(menu.GetMenuItemCount(), static_cast<UINT>(PROGRAMS - 1));
    EXPECT_EQ(menu.GetMenuItemID(PROGRAMS - 2), static_cast<UINT>(ID_OPEN_WITH_LAST));
    GetStartMenuIndex().Clear();
}
