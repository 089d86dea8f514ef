#include "platform/base/ResourceFormat.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr size_t FIRST_ENTRY = RESOURCE_MODULE_HEADER_SIZE;

std::vector<BYTE> SampleModule()
{
    return WriteResourceModule({
        { ResourceKey::FromId(RESOURCE_TYPE_RCDATA), ResourceKey::FromName("CONFIG"), { 'a', 'b', 'c' } },
        { ResourceKey::FromId(RESOURCE_TYPE_STRING), ResourceKey::FromId(1), WriteStringBlock({ "zero", "one" }) },
        { ResourceKey::FromId(RESOURCE_TYPE_ACCELERATOR), ResourceKey::FromId(2),
            WriteAcceleratorTable({ { FVIRTKEY, 'A', 9 } }) },
    });
}

DialogTemplate SampleDialog()
{
    DialogTemplate dialog;
    dialog.cx = 100;
    dialog.cy = 50;
    dialog.strCaption = "Caption";
    dialog.controls.push_back({ 1, 0, 0, 1, 2, 3, 4, "Button", "OK" });
    dialog.controls.push_back({ 2, 0, 0, 1, 2, 3, 4, "Edit", "" });
    return dialog;
}

void PatchDword(std::vector<BYTE>& bytes, size_t nAt, DWORD nValue)
{
    for (int i = 0; i < 4; ++i)
        bytes[nAt + i] = static_cast<BYTE>(nValue >> (8 * i));
}

DWORD DwordAt(const std::vector<BYTE>& bytes, size_t nAt)
{
    return bytes[nAt] | (bytes[nAt + 1] << 8) | (bytes[nAt + 2] << 16) | (static_cast<DWORD>(bytes[nAt + 3]) << 24);
}

// What every accepted module promises: each payload lies inside the file.
void ExpectEntriesInside(const std::vector<BYTE>& module, const std::vector<ResourceEntry>& entries)
{
    for (const ResourceEntry& entry : entries)
        EXPECT_LE(static_cast<ULONGLONG>(entry.nOffset) + entry.nSize, module.size());
}

bool Accepts(const std::vector<BYTE>& module)
{
    std::vector<ResourceEntry> entries;
    std::string strError;
    bool bAccepted = ReadResourceModule(module, entries, strError);
    if (bAccepted)
        ExpectEntriesInside(module, entries);
    else
        EXPECT_FALSE(strError.empty());
    return bAccepted;
}

}

TEST(ResourceFormatCorruptTest, CutModulesAreRefused)
{
    std::vector<BYTE> module = SampleModule();
    for (size_t nSize = 0; nSize < module.size(); ++nSize) {
        std::vector<BYTE> cut(module.begin(), module.begin() + static_cast<std::ptrdiff_t>(nSize));
        EXPECT_FALSE(Accepts(cut)) << "cut to " << nSize << " bytes";
        // Even when the recorded size is fixed up to match, payloads past the cut are caught.
        if (nSize >= RESOURCE_MODULE_HEADER_SIZE) {
            PatchDword(cut, 24, static_cast<DWORD>(nSize));
            EXPECT_FALSE(Accepts(cut)) << "cut to " << nSize << " bytes with a matching size";
        }
    }
}

TEST(ResourceFormatCorruptTest, WrongOffsetsAreRefused)
{
    const std::vector<BYTE> module = SampleModule();
    const size_t nOffsetField = FIRST_ENTRY + 8;
    const size_t nSizeField = FIRST_ENTRY + 12;
    struct Case {
        DWORD nOffset;
        DWORD nSize;
        const char* pszWhat;
    };
    const Case cases[] = {
        { static_cast<DWORD>(module.size()), 1, "one byte past the end" },
        { 0, 4, "inside the header" },
        { FIRST_ENTRY, 4, "inside the directory" },
        { 0xFFFFFFF0, 0x20, "wrapping around" },
        { DwordAt(module, nOffsetField), 0xFFFFFFFF, "huge size" },
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bad = module;
        PatchDword(bad, nOffsetField, c.nOffset);
        PatchDword(bad, nSizeField, c.nSize);
        EXPECT_FALSE(Accepts(bad)) << c.pszWhat;
    }

    std::vector<BYTE> badPool = module;
    PatchDword(badPool, 16, 0xFFFFFFF0); // name pool offset
    EXPECT_FALSE(Accepts(badPool));
    badPool = module;
    PatchDword(badPool, 20, static_cast<DWORD>(module.size())); // name pool size
    EXPECT_FALSE(Accepts(badPool));
}

TEST(ResourceFormatCorruptTest, WrongCountsAreRefused)
{
    const std::vector<BYTE> module = SampleModule();
    const DWORD nCount = DwordAt(module, 12);
    for (DWORD nBad : { nCount + 1, nCount + 1000, 0x0FFFFFFFu, 0xFFFFFFFFu }) {
        std::vector<BYTE> bad = module;
        PatchDword(bad, 12, nBad);
        EXPECT_FALSE(Accepts(bad)) << "count " << nBad;
    }
}

TEST(ResourceFormatCorruptTest, BadKeysAndRepeatedEntriesAreRefused)
{
    const std::vector<BYTE> module = SampleModule();
    std::vector<BYTE> bad = module;
    PatchDword(bad, FIRST_ENTRY, 0); // type number 0
    EXPECT_FALSE(Accepts(bad));
    bad = module;
    PatchDword(bad, FIRST_ENTRY + 4, 0x10000); // name number past 0xFFFF
    EXPECT_FALSE(Accepts(bad));
    bad = module;
    PatchDword(bad, FIRST_ENTRY + 4, RESOURCE_KEY_NAMED | 0x7FFF); // name past the pool
    EXPECT_FALSE(Accepts(bad));

    // The second entry made a copy of the first.
    bad = module;
    for (size_t i = 0; i < 8; ++i)
        bad[FIRST_ENTRY + RESOURCE_DIRECTORY_ENTRY_SIZE + i] = bad[FIRST_ENTRY + i];
    EXPECT_FALSE(Accepts(bad));

    bad = module;
    bad[0] = 'X';
    EXPECT_FALSE(Accepts(bad));
    bad = module;
    PatchDword(bad, 8, RESOURCE_MODULE_VERSION + 1);
    EXPECT_FALSE(Accepts(bad));
}

TEST(ResourceFormatCorruptTest, CutTemplatesAreRefused)
{
    std::string strError;
    std::vector<BYTE> dialogBytes = WriteDialogTemplate(SampleDialog());
    std::vector<BYTE> menuBytes
        = WriteMenuTemplate({ { MF_POPUP, 0, "&File", { { 0, 1, "&Open", {} }, { MF_SEPARATOR, 0, "", {} } } } });
    for (size_t n = 0; n < dialogBytes.size(); ++n) {
        DialogTemplate dialog;
        EXPECT_FALSE(ReadDialogTemplate(std::span(dialogBytes).first(n), dialog, strError)) << n;
    }
    // An empty menu template is a valid empty menu; every other cut is refused.
    for (size_t n = 1; n < menuBytes.size(); ++n) {
        std::vector<MenuItemTemplate> menu;
        EXPECT_FALSE(ReadMenuTemplate(std::span(menuBytes).first(n), menu, strError)) << n;
    }
}

TEST(ResourceFormatCorruptTest, WrongControlCountsAreRefused)
{
    std::vector<BYTE> bytes = WriteDialogTemplate(SampleDialog());
    const size_t nCountField = 22; // after styles, rectangle, point size, weight, italic and a pad byte
    std::string strError;
    DialogTemplate dialog;
    for (WORD nCount : { WORD(1), WORD(3), WORD(0xFFFF) }) {
        bytes[nCountField] = static_cast<BYTE>(nCount);
        bytes[nCountField + 1] = static_cast<BYTE>(nCount >> 8);
        EXPECT_FALSE(ReadDialogTemplate(bytes, dialog, strError)) << nCount;
    }
}

TEST(ResourceFormatCorruptTest, DamagedToolbarsAreRefused)
{
    const std::vector<BYTE> bytes = WriteToolbarTemplate({ 16, 15, { 100, 0, 101 } });
    std::string strError;
    ToolbarTemplate toolbar;
    ASSERT_TRUE(ReadToolbarTemplate(bytes, toolbar, strError)) << strError;
    EXPECT_EQ(toolbar.commands, (std::vector<WORD> { 100, 0, 101 }));
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(ReadToolbarTemplate(std::span(bytes).first(n), toolbar, strError)) << n;
    std::vector<BYTE> longer = bytes;
    longer.push_back(0);
    longer.push_back(0);
    EXPECT_FALSE(ReadToolbarTemplate(longer, toolbar, strError)); // the count says three buttons
    // One field at a time: the version, the image width, the image height, the count.
    const std::pair<size_t, WORD> patches[] = { { 0, 2 }, { 2, 0 }, { 4, 0 }, { 6, 4 }, { 6, 0xFFFF } };
    for (const auto& [nAt, nValue] : patches) {
        std::vector<BYTE> patched = bytes;
        patched[nAt] = static_cast<BYTE>(nValue);
        patched[nAt + 1] = static_cast<BYTE>(nValue >> 8);
        EXPECT_FALSE(ReadToolbarTemplate(patched, toolbar, strError)) << nAt;
        EXPECT_TRUE(toolbar.commands.empty());
    }
}

// The signature, an image header of the given size and colour type, and the
// chunks named in `chunks` (empty); CRCs are not checked by the reader.
std::vector<BYTE> PngStart(
    DWORD nWidth, DWORD nHeight, BYTE nColourType, const std::vector<std::string>& chunks = { "IEND" })
{
    std::vector<BYTE> bytes { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    const auto bigEndian = [&bytes](DWORD n) {
        for (int nShift = 24; nShift >= 0; nShift -= 8)
            bytes.push_back(static_cast<BYTE>(n >> nShift));
    };
    bigEndian(13);
    bytes.insert(bytes.end(), { 'I', 'H', 'D', 'R' });
    bigEndian(nWidth);
    bigEndian(nHeight);
    bytes.insert(bytes.end(), { 8, nColourType, 0, 0, 0 });
    bigEndian(0); // CRC
    for (const std::string& strType : chunks) {
        bigEndian(0);
        bytes.insert(bytes.end(), strType.begin(), strType.end());
        bigEndian(0);
    }
    return bytes;
}

TEST(ResourceFormatCorruptTest, PngHeadersGiveSizeAndTransparency)
{
    std::string strError;
    PngHeader png;
    ASSERT_TRUE(ReadPngHeader(PngStart(64, 16, 2), png, strError)) << strError;
    EXPECT_EQ(png.nWidth, 64u);
    EXPECT_EQ(png.nHeight, 16u);
    EXPECT_FALSE(png.bAlpha);
    ASSERT_TRUE(ReadPngHeader(PngStart(1, 1, 6), png, strError));
    EXPECT_TRUE(png.bAlpha);
    ASSERT_TRUE(ReadPngHeader(PngStart(1, 1, 3, { "PLTE", "tRNS", "IDAT" }), png, strError));
    EXPECT_TRUE(png.bAlpha) << "a palette with a transparency chunk";
    ASSERT_TRUE(ReadPngHeader(PngStart(1, 1, 3, { "PLTE", "IDAT", "tRNS" }), png, strError));
    EXPECT_FALSE(png.bAlpha) << "chunks after the image data are not looked at";

    const std::vector<BYTE> bytes = PngStart(4, 4, 2);
    for (size_t n = 0; n < 33; ++n)
        EXPECT_FALSE(ReadPngHeader(std::span(bytes).first(n), png, strError)) << n;
    EXPECT_FALSE(ReadPngHeader(PngStart(0, 4, 2), png, strError));
    EXPECT_FALSE(ReadPngHeader(PngStart(4, 4, 2, {}), png, strError)) << "no image data";
    std::vector<BYTE> notHeader = bytes;
    notHeader[12] = 'X';
    EXPECT_FALSE(ReadPngHeader(notHeader, png, strError));
    std::vector<BYTE> hugeChunk = bytes;
    hugeChunk[8] = 0xFF; // the header's length runs past the end
    EXPECT_FALSE(ReadPngHeader(hugeChunk, png, strError));
}

TEST(ResourceFormatCorruptTest, DamagedClipsAreRefused)
{
    const std::vector<BYTE> strip = PngStart(48, 16, 2);
    AnimationClipTemplate clip { 16, 16, 3, 100, ANIMATION_CLIP_TRANSPARENT_COLOUR, 0x00FF00FF, strip };
    const std::vector<BYTE> bytes = WriteAnimationClip(clip);
    std::string strError;
    AnimationClipTemplate read;
    ASSERT_TRUE(ReadAnimationClip(bytes, read, strError)) << strError;
    EXPECT_EQ(read.nFrameCount, 3);
    EXPECT_EQ(read.crTransparent, 0x00FF00FFu);
    EXPECT_TRUE(std::equal(read.strip.begin(), read.strip.end(), strip.begin(), strip.end()));
    for (size_t n = 0; n < 20 + 33; ++n)
        EXPECT_FALSE(ReadAnimationClip(std::span(bytes).first(n), read, strError)) << n;

    // One field at a time: magic, version, frame width (the strip no longer
    // matches), height, count (0, too many, not the strip's), rate, flags.
    const std::pair<size_t, WORD> patches[] = { { 0, 'X' }, { 4, 2 }, { 6, 0 }, { 6, 24 }, { 8, 0 }, { 8, 15 },
        { 10, 0 }, { 10, 1025 }, { 10, 4 }, { 12, 9 }, { 14, 2 } };
    for (const auto& [nAt, nValue] : patches) {
        std::vector<BYTE> patched = bytes;
        patched[nAt] = static_cast<BYTE>(nValue);
        patched[nAt + 1] = static_cast<BYTE>(nValue >> 8);
        EXPECT_FALSE(ReadAnimationClip(patched, read, strError)) << nAt << " = " << nValue;
    }
    clip.strip = std::span(bytes).first(8); // no image header
    EXPECT_FALSE(ReadAnimationClip(WriteAnimationClip(clip), read, strError));
}

// Random byte changes to valid inputs: every reader either refuses them or
// returns something consistent, and none reads outside its input (the
// sanitizer builds check that part).
TEST(ResourceFormatCorruptTest, FlippedBytesNeverBreakTheReaders)
{
    const std::vector<BYTE> inputs[] = {
        SampleModule(),
        WriteDialogTemplate(SampleDialog()),
        WriteMenuTemplate({ { MF_POPUP, 0, "P", { { 0, 1, "a", {} }, { MF_POPUP, 0, "Q", { { 0, 2, "b", {} } } } } } }),
        WriteStringBlock({ "one", "two" }),
        WriteAnimationClip({ 2, 2, 2, 50, 0, 0, PngStart(4, 2, 6) }),
    };
    std::mt19937 random(12345);
    for (const std::vector<BYTE>& input : inputs) {
        for (int nRound = 0; nRound < 2000; ++nRound) {
            std::vector<BYTE> bytes = input;
            int nFlips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < nFlips; ++i)
                bytes[random() % bytes.size()] = static_cast<BYTE>(random());
            std::string strError;
            Accepts(bytes);
            DialogTemplate dialog;
            std::vector<MenuItemTemplate> menu;
            std::vector<std::string_view> strings;
            if (ReadStringBlock(bytes, strings, strError)) {
                for (std::string_view text : strings)
                    EXPECT_TRUE(IsValidUtf8(text));
            }
            if (ReadDialogTemplate(bytes, dialog, strError)) {
                for (const DialogControlTemplate& control : dialog.controls)
                    EXPECT_FALSE(control.strClass.empty());
            }
            (void)ReadMenuTemplate(bytes, menu, strError); // verdict irrelevant: only that it returns
            AnimationClipTemplate clip;
            if (ReadAnimationClip(bytes, clip, strError)) {
                EXPECT_EQ(clip.strip.data() + clip.strip.size(), bytes.data() + bytes.size());
            }
        }
    }
}

TEST(ResourceFormatCorruptTest, DamagedDialogInitialDataIsRefused)
{
    const std::vector<BYTE> bytes = WriteDialogInit(
        { { 1567, DIALOG_INIT_ADD_STRING, "(Choose)" }, { 1567, DIALOG_INIT_ADD_STRING, "Peru PE" } });
    std::string strError;
    std::vector<DialogInitEntry> entries;
    ASSERT_TRUE(ReadDialogInit(bytes, entries, strError)) << strError;
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[1].strText, "Peru PE");
    // Every cut but the one between the entries leaves an entry short; the
    // entries before a damaged one are not handed out either.
    const size_t nFirstEntry = 6 + std::string("(Choose)").size();
    for (size_t n = 1; n < bytes.size(); ++n) {
        if (n == nFirstEntry)
            continue;
        EXPECT_FALSE(ReadDialogInit(std::span(bytes).first(n), entries, strError)) << n;
    }
    std::vector<BYTE> otherMessage = bytes;
    otherMessage[2] = 0x80; // a message that would take the text for something else
    EXPECT_FALSE(ReadDialogInit(otherMessage, entries, strError));
    std::vector<BYTE> overlong = bytes;
    overlong[4] = 0xFF; // the first text's length runs past the end
    EXPECT_FALSE(ReadDialogInit(overlong, entries, strError));
    std::vector<BYTE> notUtf8 = bytes;
    notUtf8[6] = 0xFF;
    EXPECT_FALSE(ReadDialogInit(notUtf8, entries, strError));
}
