#include "tools/rc/RcCompiler.h"

#include "platform/base/ResourceFormat.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view HEADER = R"rc(#pragma once
// IDs for the test scripts.
#define IDD_ABOUT        100
#define IDC_NAME         1001
#define IDC_LIST         (IDC_NAME + 1)
#define IDR_MAIN         128
#define ID_FILE_OPEN     0xE101
#define ID_FILE_SAVE     0xE103
#define ID_APP_ABOUT     0xE140
#define IDB_LOGO         200
)rc";

// A minimal PNG: the compiler only checks the signature, the rest is opaque.
const std::string PNG_BYTES = std::string("\x89PNG\r\n\x1A\n", 8) + "rest of the image";

// Compiles scripts written into a temporary folder beside ids.h and the images.
class RcCompilerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_temp.WriteFile("ids.h", HEADER);
        m_temp.WriteFile("images/logo.png", PNG_BYTES);
    }

    // The compiled module's resources; fails the test when the script does not compile.
    std::vector<ResourceEntry> Compile(std::string_view script)
    {
        std::string strError;
        EXPECT_TRUE(CompileResourceScript(m_temp.WriteFile("test.rc", script), m_output, strError)) << strError;
        std::vector<ResourceEntry> entries;
        EXPECT_TRUE(ReadResourceModule(m_output.module, entries, strError)) << strError;
        return entries;
    }

    // The error message for a script that must not compile.
    std::string CompileError(std::string_view script)
    {
        std::string strError;
        RcOutput output;
        EXPECT_FALSE(CompileResourceScript(m_temp.WriteFile("test.rc", script), output, strError)) << script;
        return strError;
    }

    std::span<const BYTE> Find(const std::vector<ResourceEntry>& entries, WORD nType, const ResourceKey& name)
    {
        return Find(entries, ResourceKey::FromId(nType), name);
    }
    std::span<const BYTE> Find(
        const std::vector<ResourceEntry>& entries, const ResourceKey& type, const ResourceKey& name)
    {
        for (const ResourceEntry& entry : entries) {
            if (entry.type == type && entry.name == name)
                return std::span(m_output.module).subspan(entry.nOffset, entry.nSize);
        }
        ADD_FAILURE() << "resource not found";
        return {};
    }

    std::string ScriptPath() const { return (m_temp / "test.rc").string(); }

    TempFolder m_temp;
    RcOutput m_output;
};

constexpr DWORD WS_CHILD_VISIBLE = 0x50000000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_BORDER = 0x00800000;

}

TEST_F(RcCompilerTest, DialogControlsGetTheirClassesAndDefaultStyles)
{
    auto entries = Compile(R"rc(#include "ids.h"
IDD_ABOUT DIALOGEX 10, 20, 180, 90
STYLE DS_MODALFRAME | WS_POPUP
EXSTYLE WS_EX_CONTROLPARENT
CAPTION "About ""Archivora"""
FONT 8, "DejaVu Sans", 400, 0
BEGIN
    LTEXT           "&Name:", IDC_STATIC, 7, 7, 40, 8
    EDITTEXT        IDC_NAME, 50, 7, 120, 12, ES_AUTOHSCROLL | NOT WS_BORDER, WS_EX_CLIENTEDGE
    ICON            IDB_LOGO, IDC_STATIC, 7, 30
    CONTROL         "", IDC_LIST, "SysListView32", LVS_REPORT | WS_TABSTOP, 7, 40, 166, -(-30)
    DEFPUSHBUTTON   "OK", IDOK, 65, 72, 50, 14, NOT WS_TABSTOP
END
)rc");
    DialogTemplate dialog;
    std::string strError;
    ASSERT_TRUE(ReadDialogTemplate(Find(entries, RESOURCE_TYPE_DIALOG, ResourceKey::FromId(100)), dialog, strError))
        << strError;
    EXPECT_EQ(dialog.dwStyle, 0x80000000u | 0x80 | 0x00C00000 | 0x40) << "style, caption bar and DS_SETFONT";
    EXPECT_EQ(dialog.dwExStyle, 0x00010000u);
    EXPECT_EQ(std::tie(dialog.x, dialog.y, dialog.cx, dialog.cy), std::tuple(10, 20, 180, 90));
    EXPECT_EQ(dialog.strCaption, "About \"Archivora\"");
    EXPECT_EQ(dialog.strFaceName, "DejaVu Sans");
    EXPECT_EQ(dialog.nPointSize, 8);
    EXPECT_EQ(dialog.nWeight, 400);
    ASSERT_EQ(dialog.controls.size(), 5u);

    const DialogControlTemplate& label = dialog.controls[0];
    EXPECT_EQ(label.strClass, "Static");
    EXPECT_EQ(label.nID, 0xFFFFFFFFu);
    EXPECT_EQ(label.dwStyle, WS_CHILD_VISIBLE | WS_GROUP);
    EXPECT_EQ(label.strText, "&Name:");

    const DialogControlTemplate& edit = dialog.controls[1];
    EXPECT_EQ(edit.strClass, "Edit");
    EXPECT_EQ(edit.nID, 1001u);
    EXPECT_EQ(edit.dwStyle, WS_CHILD_VISIBLE | WS_TABSTOP | 0x80) << "NOT WS_BORDER removes a default";
    EXPECT_EQ(edit.dwExStyle, 0x200u);

    const DialogControlTemplate& icon = dialog.controls[2];
    EXPECT_EQ(icon.strText, "#200");
    EXPECT_EQ(icon.dwStyle, WS_CHILD_VISIBLE | 0x3);
    EXPECT_EQ(std::tie(icon.cx, icon.cy), std::tuple(0, 0));

    const DialogControlTemplate& list = dialog.controls[3];
    EXPECT_EQ(list.strClass, "SysListView32");
    EXPECT_EQ(list.nID, 1002u);
    EXPECT_EQ(list.dwStyle, WS_CHILD_VISIBLE | WS_TABSTOP | 0x1);
    EXPECT_EQ(list.cy, 30);

    const DialogControlTemplate& ok = dialog.controls[4];
    EXPECT_EQ(ok.strClass, "Button");
    EXPECT_EQ(ok.nID, 1u);
    EXPECT_EQ(ok.dwStyle, WS_CHILD_VISIBLE | 0x1);
    EXPECT_NE(ok.dwStyle & WS_BORDER, WS_BORDER);
}

TEST_F(RcCompilerTest, DialogWithoutStyleIsABorderedPopup)
{
    auto entries = Compile("#include \"ids.h\"\nIDD_ABOUT DIALOG 0, 0, 50, 20 { }");
    DialogTemplate dialog;
    std::string strError;
    ASSERT_TRUE(ReadDialogTemplate(Find(entries, RESOURCE_TYPE_DIALOG, ResourceKey::FromId(100)), dialog, strError));
    EXPECT_EQ(dialog.dwStyle, 0x80000000u | 0x00800000 | 0x00080000);
    EXPECT_TRUE(dialog.controls.empty());
    EXPECT_EQ(dialog.nPointSize, 0);
}

TEST_F(RcCompilerTest, MenusKeepTheirTreeAndOptions)
{
    auto entries = Compile(R"rc(#include "ids.h"
IDR_MAIN MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Open...\tCtrl+O", ID_FILE_OPEN
        MENUITEM "&Save", ID_FILE_SAVE, GRAYED CHECKED
        MENUITEM SEPARATOR
        POPUP "Recent", INACTIVE
        BEGIN
            MENUITEM "(none)", 0, GRAYED
        END
    END
    POPUP "&Help", HELP
    BEGIN
        MENUITEM "&About Archivora...", ID_APP_ABOUT, MENUBREAK
    END
END
)rc");
    std::vector<MenuItemTemplate> menu;
    std::string strError;
    ASSERT_TRUE(ReadMenuTemplate(Find(entries, RESOURCE_TYPE_MENU, ResourceKey::FromId(128)), menu, strError));
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].nFlags, MF_POPUP);
    ASSERT_EQ(menu[0].children.size(), 4u);
    EXPECT_EQ(menu[0].children[0].strText, "&Open...\tCtrl+O");
    EXPECT_EQ(menu[0].children[0].nID, 0xE101u);
    EXPECT_EQ(menu[0].children[1].nFlags, MF_GRAYED | MF_CHECKED);
    EXPECT_EQ(menu[0].children[2].nFlags, MF_SEPARATOR);
    EXPECT_EQ(menu[0].children[3].nFlags, MF_POPUP | MF_DISABLED);
    ASSERT_EQ(menu[0].children[3].children.size(), 1u);
    EXPECT_EQ(menu[1].nFlags, MF_POPUP | MF_HELP);
    EXPECT_EQ(menu[1].children[0].nFlags, MF_MENUBREAK);
}

TEST_F(RcCompilerTest, AcceleratorKeysFollowTheirType)
{
    auto entries = Compile(R"rc(#include "ids.h"
IDR_MAIN ACCELERATORS
BEGIN
    "O",    ID_FILE_OPEN, VIRTKEY, CONTROL
    "s",    ID_FILE_SAVE, VIRTKEY, CONTROL, SHIFT, NOINVERT
    "^C",   ID_FILE_SAVE
    "a",    ID_APP_ABOUT, ASCII, ALT
    VK_F1,  ID_APP_ABOUT, VIRTKEY
    65,     ID_FILE_OPEN
END
)rc");
    std::vector<ACCEL> accels;
    std::string strError;
    ASSERT_TRUE(
        ReadAcceleratorTable(Find(entries, RESOURCE_TYPE_ACCELERATOR, ResourceKey::FromId(128)), accels, strError));
    ASSERT_EQ(accels.size(), 6u);
    auto flagsKeyCmd = [](const ACCEL& a) { return std::tuple(a.fVirt, a.key, a.cmd); };
    EXPECT_EQ(flagsKeyCmd(accels[0]), std::tuple(BYTE(FVIRTKEY | FCONTROL), WORD('O'), WORD(0xE101)));
    EXPECT_EQ(
        flagsKeyCmd(accels[1]), std::tuple(BYTE(FVIRTKEY | FCONTROL | FSHIFT | FNOINVERT), WORD('S'), WORD(0xE103)));
    EXPECT_EQ(flagsKeyCmd(accels[2]), std::tuple(BYTE(0), WORD(3), WORD(0xE103)));
    EXPECT_EQ(flagsKeyCmd(accels[3]), std::tuple(BYTE(FALT), WORD('a'), WORD(0xE140)));
    EXPECT_EQ(flagsKeyCmd(accels[4]), std::tuple(BYTE(FVIRTKEY), WORD(0x70), WORD(0xE140)));
    EXPECT_EQ(flagsKeyCmd(accels[5]), std::tuple(BYTE(0), WORD(65), WORD(0xE101)));
}

TEST_F(RcCompilerTest, ToolbarListsItsButtonCommands)
{
    auto entries = Compile(R"rc(#include "ids.h"
IDR_MAIN TOOLBAR 16, 15
BEGIN
    BUTTON ID_FILE_OPEN
    SEPARATOR
    BUTTON ID_FILE_SAVE
END
)rc");
    ToolbarTemplate toolbar;
    std::string strError;
    ASSERT_TRUE(ReadToolbarTemplate(Find(entries, RESOURCE_TYPE_TOOLBAR, ResourceKey::FromId(128)), toolbar, strError));
    EXPECT_EQ(toolbar.nImageWidth, 16);
    EXPECT_EQ(toolbar.nImageHeight, 15);
    EXPECT_EQ(toolbar.commands, (std::vector<WORD> { 0xE101, 0, 0xE103 }));
}

TEST_F(RcCompilerTest, DialogInitialDataListsItsTextsInOrder)
{
    auto entries = Compile(R"rc(#include "ids.h"
IDD_ABOUT DLGINIT
BEGIN
    IDC_LIST, "(Choose)"
    IDC_LIST "Åland Islands AX"
END
)rc");
    std::vector<DialogInitEntry> initData;
    std::string strError;
    ASSERT_TRUE(ReadDialogInit(Find(entries, RESOURCE_TYPE_DLGINIT, ResourceKey::FromId(100)), initData, strError));
    ASSERT_EQ(initData.size(), 2U);
    EXPECT_EQ(initData[0].nControlId, 1002);
    EXPECT_EQ(initData[0].nMessage, DIALOG_INIT_ADD_STRING);
    EXPECT_EQ(initData[1].strText, "Åland Islands AX");
    EXPECT_NE(CompileError("IDD_ABOUT DLGINIT BEGIN 70000, \"x\" END\n"), "");
    EXPECT_NE(CompileError("100 DLGINIT BEGIN 1001 END\n"), "");
}

// A PNG whose image header gives the size and colour type (2 RGB, 6 RGBA); the rest is opaque.
std::string PngWithHeader(int nWidth, int nHeight, char nColourType)
{
    const auto bigEndian = [](int n) {
        return std::string { static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
            static_cast<char>(n) };
    };
    return PNG_BYTES.substr(0, 8) + bigEndian(13) + "IHDR" + bigEndian(nWidth) + bigEndian(nHeight) + '\x08'
        + nColourType + std::string(3, '\0') + bigEndian(0) + bigEndian(0) + "IEND" + bigEndian(0);
}

TEST_F(RcCompilerTest, AnimationClipsCountTheirFramesFromTheStrip)
{
    m_temp.WriteFile("images/strip.png", PngWithHeader(64, 16, 2));
    m_temp.WriteFile("images/alpha.png", PngWithHeader(30, 10, 6));
    auto entries = Compile(R"rc(#include "ids.h"
395 AVI "images/strip.png", 16, 100
"ALPHA" AVI "images/alpha.png", 10, 40
)rc");
    const ResourceKey avi = ResourceKey::FromName("AVI");
    AnimationClipTemplate clip;
    std::string strError;
    ASSERT_TRUE(ReadAnimationClip(Find(entries, avi, ResourceKey::FromId(395)), clip, strError)) << strError;
    EXPECT_EQ(clip.nFrameCount, 4);
    EXPECT_EQ(clip.nFrameHeight, 16);
    EXPECT_EQ(clip.nMilliseconds, 100);
    EXPECT_EQ(clip.nFlags, ANIMATION_CLIP_TRANSPARENT_COLOUR);
    EXPECT_EQ(clip.crTransparent, 0x00FF00FFu) << "magenta for a strip without alpha";
    ASSERT_TRUE(ReadAnimationClip(Find(entries, avi, ResourceKey::FromName("ALPHA")), clip, strError)) << strError;
    EXPECT_EQ(clip.nFrameCount, 3);
    EXPECT_EQ(clip.nFlags, 0) << "the strip's own alpha marks what is transparent";

    EXPECT_NE(CompileError("1 AVI \"images/strip.png\", 24, 100\n").find("whole number of frames"), std::string::npos);
    EXPECT_NE(CompileError("1 AVI \"images/strip.png\", 16, 5\n").find("milliseconds"), std::string::npos);
    EXPECT_NE(CompileError("1 AVI \"images/logo.png\", 16, 100\n").find("PNG"), std::string::npos);
}

TEST_F(RcCompilerTest, StringsAreGroupedInBlocksOfSixteen)
{
    auto entries = Compile(R"rc(STRINGTABLE
BEGIN
    15, "fifteen"
    16  "sixteen"
    0x11 "seventeen\twith a tab"
END
STRINGTABLE { 4453 "catalog %s" }
)rc");
    std::vector<std::string_view> strings;
    std::string strError;
    ASSERT_TRUE(ReadStringBlock(Find(entries, RESOURCE_TYPE_STRING, ResourceKey::FromId(1)), strings, strError));
    EXPECT_EQ(strings[15], "fifteen");
    ASSERT_TRUE(ReadStringBlock(Find(entries, RESOURCE_TYPE_STRING, ResourceKey::FromId(2)), strings, strError));
    EXPECT_EQ(strings[0], "sixteen");
    EXPECT_EQ(strings[1], "seventeen\twith a tab");
    EXPECT_EQ(std::count_if(strings.begin(), strings.end(), [](auto s) { return !s.empty(); }), 2);
    ASSERT_TRUE(
        ReadStringBlock(Find(entries, RESOURCE_TYPE_STRING, ResourceKey::FromId(4453 / 16 + 1)), strings, strError));
    EXPECT_EQ(strings[4453 % 16], "catalog %s");
}

TEST_F(RcCompilerTest, ImagesAndDataAreStoredAsGiven)
{
    m_temp.WriteFile("data/blob.bin", std::string("\0\1\2\3", 4));
    auto entries = Compile(R"rc(#include "ids.h"
IDB_LOGO BITMAP "images/logo.png"
IDB_LOGO ICON   "images/logo.png"
1 CURSOR "images/logo.png"
"Blob" RCDATA "data/blob.bin"
"Inline" RCDATA BEGIN "AB", 0x4443, -1, 0x12345678L END
"wa_logo.gif" HTML "images/logo.png"
)rc");
    auto asString = [](std::span<const BYTE> data) { return std::string(data.begin(), data.end()); };
    EXPECT_EQ(asString(Find(entries, RESOURCE_TYPE_BITMAP, ResourceKey::FromId(200))), PNG_BYTES);
    EXPECT_EQ(asString(Find(entries, RESOURCE_TYPE_ICON, ResourceKey::FromId(200))), PNG_BYTES);
    EXPECT_EQ(asString(Find(entries, RESOURCE_TYPE_CURSOR, ResourceKey::FromId(1))), PNG_BYTES);
    EXPECT_EQ(asString(Find(entries, RESOURCE_TYPE_RCDATA, ResourceKey::FromName("BLOB"))), std::string("\0\1\2\3", 4));
    EXPECT_EQ(asString(Find(entries, RESOURCE_TYPE_RCDATA, ResourceKey::FromName("INLINE"))),
        std::string("ABCD\xFF\xFF\x78\x56\x34\x12", 10));
    // A page's picture keeps its bytes under its name in capitals.
    EXPECT_EQ(asString(Find(entries, RESOURCE_TYPE_HTML, ResourceKey::FromName("WA_LOGO.GIF"))), PNG_BYTES);

    // Every file read is listed, so the build can rebuild the module when one changes.
    auto listed = [&](const fs::path& path) {
        return std::find(m_output.inputs.begin(), m_output.inputs.end(), path) != m_output.inputs.end();
    };
    EXPECT_TRUE(listed(m_temp / "test.rc"));
    EXPECT_TRUE(listed(m_temp / "ids.h"));
    EXPECT_TRUE(listed(m_temp / "images/logo.png"));
    EXPECT_TRUE(listed(m_temp / "data/blob.bin"));
}

TEST_F(RcCompilerTest, TheProgramsScriptCompiles)
{
    fs::path script = SourceRoot() / "resources" / "archivora.rc";
    std::string strError;
    RcOutput output;
    ASSERT_TRUE(CompileResourceScript(script, output, strError)) << strError;
    std::vector<ResourceEntry> entries;
    EXPECT_TRUE(ReadResourceModule(output.module, entries, strError)) << strError;
    RcOutput again;
    ASSERT_TRUE(CompileResourceScript(script, again, strError));
    EXPECT_EQ(output.module, again.module) << "the same sources give the same module";
}

TEST_F(RcCompilerTest, ScriptErrorsNameTheFileAndLine)
{
    struct Case {
        std::string_view script;
        int nLine;
        std::string_view message;
    };
    // clang-format off
    const Case cases[] = {
        { "#include \"ids.h\"\nIDD_MISSING DIALOG 0, 0, 10, 10 {}",                  2, "IDD_MISSING is not defined" },
        { "STRINGTABLE BEGIN\n1 \"one\"\n1 \"again\"\nEND",                            3, "already defined at line 2" },
        { "1 RCDATA { 1 }\n\n1 RCDATA { 2 }",                                          3, "already defined at line 1" },
        { "STRINGTABLE BEGIN\n1 \"not closed\nEND",                                    2, "not closed" },
        { "1 FONT 16, 15 {}",                                                          1, "unknown resource type FONT" },
        { "STRINGTABLE BEGIN\n1 \"one\"\n",                                            3, "END is missing" },
        { "1 BITMAP \"ids.h\"",                                                        1, "not a PNG image" },
        { "1 BITMAP\n\"images/missing.png\"",                                          2, "cannot read images/missing.png" },
        { "0 RCDATA { 1 }",                                                            1, "outside 1..65535" },
        { "STRINGTABLE { 70000 \"x\" }",                                               1, "outside 0..65535" },
        { "1 MENU BEGIN\n POPUP \"&File\" BEGIN END\nEND",                             2, "popup has no items" },
        { "1 ACCELERATORS BEGIN\n \"A\", 5, SHIFT\nEND",                               2, "need VIRTKEY" },
        { "1 ACCELERATORS BEGIN\n \"AB\", 5\nEND",                                     2, "one ASCII character" },
        { "1 ACCELERATORS BEGIN END",                                                  1, "table is empty" },
        { "1 TOOLBAR 0, 15 BEGIN END",                                                 1, "image width 0 is outside" },
        { "1 TOOLBAR 16, 15\nBEGIN\n BUTTON 0\nEND",                                   3, "command ID 0 is outside" },
        { "1 TOOLBAR 16, 15\nBEGIN\n ITEM 5\nEND",                                     3, "expected BUTTON or SEPARATOR" },
        { "1 DIALOG 0, 0, 10, 10\nBEGIN\n  BUTTON \"x\", 1, 0, 0, 1, 1\nEND",          3, "expected a control statement" },
        { "1 DIALOG 0, 0, -10, 10 {}",                                                 1, "width -10 is outside" },
        { "STRINGTABLE { 1 \"bad \\xC3 text\" }",                                      1, "not valid UTF-8" },
        { "1 RCDATA { 0xFFFFFFFF + 1 }",                                               1, "does not fit in 32 bits" },
        { "/* never closed\n\n",                                                       1, "comment is not closed" },
        { "#if 0\n",                                                                   1, "unsupported directive #if" },
        { "#include \"absent.h\"",                                                     1, "cannot read" },
        { "1 RCDATA { 1 } @",                                                          1, "unexpected character '@'" },
    };
    // clang-format on
    for (const Case& c : cases) {
        std::string strError = CompileError(c.script);
        std::string strWhere = ScriptPath() + ":" + std::to_string(c.nLine) + ": ";
        EXPECT_EQ(strError.substr(0, strWhere.size()), strWhere) << c.script << "\n -> " << strError;
        EXPECT_NE(strError.find(c.message), std::string::npos) << c.script << "\n -> " << strError;
    }
}

TEST_F(RcCompilerTest, HeaderErrorsNameTheHeaderAndLine)
{
    m_temp.WriteFile("bad.h", "#define A 1\n\nint x = 2;\n");
    std::string strError = CompileError("#include \"bad.h\"\n");
    EXPECT_EQ(strError.rfind((m_temp / "bad.h").string() + ":3: ", 0), 0u) << strError;

    m_temp.WriteFile("clash.h", "#define A 1\n#define A 2\n");
    strError = CompileError("#include \"clash.h\"\n");
    EXPECT_EQ(strError.rfind((m_temp / "clash.h").string() + ":2: ", 0), 0u) << strError;

    m_temp.WriteFile("self.h", "#include \"self.h\"\n");
    strError = CompileError("#include \"self.h\"\n");
    EXPECT_NE(strError.find("too deeply"), std::string::npos) << strError;
}
