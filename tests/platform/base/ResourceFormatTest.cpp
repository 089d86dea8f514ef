#include "platform/base/ResourceFormat.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<BYTE> Bytes(std::string_view text)
{
    return std::vector<BYTE>(text.begin(), text.end());
}

std::string_view Payload(const std::vector<BYTE>& module, const ResourceEntry& entry)
{
    return std::string_view(reinterpret_cast<const char*>(module.data()) + entry.nOffset, entry.nSize);
}

DialogTemplate SampleDialog()
{
    DialogTemplate dialog;
    dialog.dwStyle = 0x80C80040;
    dialog.dwExStyle = 0x00000200;
    dialog.x = -5;
    dialog.y = 7;
    dialog.cx = 200;
    dialog.cy = 120;
    dialog.nPointSize = 8;
    dialog.nWeight = 700;
    dialog.bItalic = 1;
    dialog.strFaceName = "DejaVu Sans";
    dialog.strCaption = "Einstellungen – Größe";
    dialog.controls.push_back({ 0xFFFFFFFF, 0x50020000, 0, 7, 7, 40, 8, "Static", "&Name:" });
    dialog.controls.push_back({ 1001, 0x50810080, 0x200, 50, 7, 120, 12, "Edit", "" });
    dialog.controls.push_back({ 1, 0x50010001, 0, 65, 40, 50, 14, "Button", "OK" });
    return dialog;
}

std::vector<MenuItemTemplate> SampleMenu()
{
    MenuItemTemplate open { 0, 0xE101, "&Open...\tCtrl+O", {} };
    MenuItemTemplate separator { MF_SEPARATOR, 0, "", {} };
    MenuItemTemplate recent { MF_GRAYED, 0xE110, "Recent", {} };
    MenuItemTemplate more { MF_POPUP, 0, "&More", { recent } };
    MenuItemTemplate file { MF_POPUP, 0, "&File", { open, separator, more } };
    MenuItemTemplate help { MF_POPUP | MF_HELP, 0, "&Help", { { MF_CHECKED, 57664, "&About", {} } } };
    return { file, help };
}

void ExpectSameMenu(const std::vector<MenuItemTemplate>& actual, const std::vector<MenuItemTemplate>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].nFlags, expected[i].nFlags);
        EXPECT_EQ(actual[i].nID, expected[i].nID);
        EXPECT_EQ(actual[i].strText, expected[i].strText);
        ExpectSameMenu(actual[i].children, expected[i].children);
    }
}

// A menu whose popups nest `nDepth` levels deep, counting the menu bar as level 1.
std::vector<MenuItemTemplate> NestedMenu(UINT nDepth)
{
    std::vector<MenuItemTemplate> level { { 0, 1, "leaf", {} } };
    for (UINT i = 1; i < nDepth; ++i)
        level = { { MF_POPUP, 0, "popup", level } };
    return level;
}

}

TEST(ResourceFormatTest, ModuleListsEveryResourceWithItsPayload)
{
    std::vector<ResourceItem> items {
        { ResourceKey::FromId(RESOURCE_TYPE_RCDATA), ResourceKey::FromName("CONFIG"), Bytes("abc") },
        { ResourceKey::FromId(RESOURCE_TYPE_DIALOG), ResourceKey::FromId(100), Bytes("dialog") },
        { ResourceKey::FromName("MYTYPE"), ResourceKey::FromName("CONFIG"), Bytes("") },
        { ResourceKey::FromId(RESOURCE_TYPE_RCDATA), ResourceKey::FromId(7), Bytes("seven") },
    };
    std::vector<BYTE> module = WriteResourceModule(items);

    std::vector<ResourceEntry> entries;
    std::string strError;
    ASSERT_TRUE(ReadResourceModule(module, entries, strError)) << strError;
    ASSERT_EQ(entries.size(), items.size());
    for (const ResourceItem& item : items) {
        auto it = std::find_if(entries.begin(), entries.end(),
            [&](const ResourceEntry& entry) { return entry.type == item.type && entry.name == item.name; });
        ASSERT_NE(it, entries.end());
        EXPECT_EQ(
            Payload(module, *it), std::string_view(reinterpret_cast<const char*>(item.data.data()), item.data.size()));
        EXPECT_EQ(it->nOffset % 4, 0u) << "payloads are aligned for the readers of wider fields";
    }
}

TEST(ResourceFormatTest, ModuleBytesDoNotDependOnItemOrder)
{
    std::vector<ResourceItem> items {
        { ResourceKey::FromId(RESOURCE_TYPE_RCDATA), ResourceKey::FromName("B"), Bytes("1") },
        { ResourceKey::FromId(RESOURCE_TYPE_RCDATA), ResourceKey::FromName("A"), Bytes("2") },
        { ResourceKey::FromId(RESOURCE_TYPE_MENU), ResourceKey::FromId(3), Bytes("3") },
    };
    std::vector<ResourceItem> reversed(items.rbegin(), items.rend());
    EXPECT_EQ(WriteResourceModule(items), WriteResourceModule(reversed));
}

TEST(ResourceFormatTest, StringBlockHoldsSixteenEntries)
{
    std::vector<std::string> strings(STRINGS_PER_BLOCK);
    strings[0] = "first";
    strings[5] = "Größe";
    strings[15] = "last";
    std::vector<BYTE> block = WriteStringBlock(strings);
    std::vector<std::string_view> read; // views into `block`
    std::string strError;
    ASSERT_TRUE(ReadStringBlock(block, read, strError)) << strError;
    ASSERT_EQ(read.size(), STRINGS_PER_BLOCK);
    for (UINT i = 0; i < STRINGS_PER_BLOCK; ++i)
        EXPECT_EQ(read[i], strings[i]);
}

TEST(ResourceFormatTest, StringBlockRejectsBadTextAndBadLength)
{
    std::vector<std::string> strings(STRINGS_PER_BLOCK);
    strings[3] = "bad \xC3 text";
    std::vector<std::string_view> read;
    std::string strError;
    EXPECT_FALSE(ReadStringBlock(WriteStringBlock(strings), read, strError));
    EXPECT_NE(strError.find("UTF-8"), std::string::npos);

    std::vector<BYTE> block = WriteStringBlock({ "x" });
    block.push_back(0);
    EXPECT_FALSE(ReadStringBlock(block, read, strError));
    block.resize(block.size() - 2);
    EXPECT_FALSE(ReadStringBlock(block, read, strError));
}

TEST(ResourceFormatTest, DialogTemplateKeepsEveryField)
{
    DialogTemplate expected = SampleDialog();
    DialogTemplate dialog;
    std::string strError;
    ASSERT_TRUE(ReadDialogTemplate(WriteDialogTemplate(expected), dialog, strError)) << strError;
    EXPECT_EQ(dialog.dwStyle, expected.dwStyle);
    EXPECT_EQ(dialog.dwExStyle, expected.dwExStyle);
    EXPECT_EQ(dialog.x, expected.x);
    EXPECT_EQ(dialog.cy, expected.cy);
    EXPECT_EQ(dialog.nPointSize, expected.nPointSize);
    EXPECT_EQ(dialog.nWeight, expected.nWeight);
    EXPECT_EQ(dialog.bItalic, expected.bItalic);
    EXPECT_EQ(dialog.strFaceName, expected.strFaceName);
    EXPECT_EQ(dialog.strCaption, expected.strCaption);
    ASSERT_EQ(dialog.controls.size(), expected.controls.size());
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        const DialogControlTemplate& a = dialog.controls[i];
        const DialogControlTemplate& b = expected.controls[i];
        EXPECT_EQ(std::tie(a.nID, a.dwStyle, a.dwExStyle, a.x, a.y, a.cx, a.cy, a.strClass, a.strText),
            std::tie(b.nID, b.dwStyle, b.dwExStyle, b.x, b.y, b.cx, b.cy, b.strClass, b.strText));
    }
}

TEST(ResourceFormatTest, DialogTemplateRejectsImpossibleValues)
{
    std::string strError;
    DialogTemplate dialog;
    DialogTemplate negative = SampleDialog();
    negative.controls[1].cx = -1;
    EXPECT_FALSE(ReadDialogTemplate(WriteDialogTemplate(negative), dialog, strError));

    DialogTemplate noClass = SampleDialog();
    noClass.controls[0].strClass.clear();
    EXPECT_FALSE(ReadDialogTemplate(WriteDialogTemplate(noClass), dialog, strError));

    DialogTemplate badCaption = SampleDialog();
    badCaption.strCaption = "\xED\xA0\x80"; // an encoded surrogate
    EXPECT_FALSE(ReadDialogTemplate(WriteDialogTemplate(badCaption), dialog, strError));
}

TEST(ResourceFormatTest, MenuTemplateKeepsItsTree)
{
    std::vector<MenuItemTemplate> expected = SampleMenu();
    std::vector<MenuItemTemplate> menu;
    std::string strError;
    ASSERT_TRUE(ReadMenuTemplate(WriteMenuTemplate(expected), menu, strError)) << strError;
    ExpectSameMenu(menu, expected);

    ASSERT_TRUE(ReadMenuTemplate(WriteMenuTemplate({}), menu, strError)) << strError;
    EXPECT_TRUE(menu.empty());
}

TEST(ResourceFormatTest, MenuTemplateNestingIsBounded)
{
    std::vector<MenuItemTemplate> menu;
    std::string strError;
    EXPECT_TRUE(ReadMenuTemplate(WriteMenuTemplate(NestedMenu(MAX_MENU_DEPTH)), menu, strError)) << strError;
    EXPECT_FALSE(ReadMenuTemplate(WriteMenuTemplate(NestedMenu(MAX_MENU_DEPTH + 1)), menu, strError));
    EXPECT_NE(strError.find("deep"), std::string::npos);
}

TEST(ResourceFormatTest, MenuTemplateRejectsUnknownFlagsAndMissingEnd)
{
    std::vector<MenuItemTemplate> menu;
    std::string strError;
    EXPECT_FALSE(ReadMenuTemplate(WriteMenuTemplate({ { 0x0100, 5, "odd", {} } }), menu, strError));

    // Without its MF_END the last item promises more items that never come.
    std::vector<BYTE> bytes = WriteMenuTemplate({ { 0, 5, "only", {} } });
    bytes[0] &= static_cast<BYTE>(~MF_END);
    EXPECT_FALSE(ReadMenuTemplate(bytes, menu, strError));
}

TEST(ResourceFormatTest, AcceleratorTableKeepsEntriesAndRejectsUnknownFlags)
{
    std::vector<ACCEL> expected { { FVIRTKEY | FCONTROL, 'O', 0xE101 }, { 0, 3, 0xE122 }, { FVIRTKEY, 0x70, 0xE146 } };
    std::vector<ACCEL> accels;
    std::string strError;
    ASSERT_TRUE(ReadAcceleratorTable(WriteAcceleratorTable(expected), accels, strError)) << strError;
    ASSERT_EQ(accels.size(), expected.size());
    for (size_t i = 0; i < accels.size(); ++i)
        EXPECT_EQ(std::tie(accels[i].fVirt, accels[i].key, accels[i].cmd),
            std::tie(expected[i].fVirt, expected[i].key, expected[i].cmd));

    EXPECT_FALSE(ReadAcceleratorTable(WriteAcceleratorTable({ { 0x80, 'A', 1 } }), accels, strError));
    EXPECT_FALSE(ReadAcceleratorTable(WriteAcceleratorTable({}), accels, strError));
    std::vector<BYTE> odd = WriteAcceleratorTable(expected);
    odd.pop_back();
    EXPECT_FALSE(ReadAcceleratorTable(odd, accels, strError));
}

TEST(ResourceFormatTest, Utf8CheckRefusesMalformedSequences)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xC3\xB6\xE2\x82\xAC\xF0\x9D\x84\x9E")); // ö € 𝄞
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));                            // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));                        // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));                        // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));                    // past U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));                            // cut short
    EXPECT_FALSE(IsValidUtf8("\x80"));                                // lone continuation byte
    EXPECT_FALSE(IsValidUtf8("\xFF"));
}
