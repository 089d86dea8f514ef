#include "platform/base/ResourceFormat.h"

#include "platform/base/TextFunctions.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

/******************************************************************************
** Byte streams
******************************************************************************/

// Appends little-endian numbers and length-prefixed strings to a byte vector.
class CByteWriter {
public:
    void Byte(BYTE n) { m_bytes.push_back(n); }
    void Word(WORD n)
    {
        Byte(static_cast<BYTE>(n));
        Byte(static_cast<BYTE>(n >> 8));
    }
    void Dword(DWORD n)
    {
        Word(static_cast<WORD>(n));
        Word(static_cast<WORD>(n >> 16));
    }
    void Short(SHORT n) { Word(static_cast<WORD>(n)); }
    // A 16-bit byte count, then the bytes. Longer strings are cut: the compiler
    // rejects them before they get here.
    void String(std::string_view text)
    {
        size_t nLength = std::min<size_t>(text.size(), MAX_RESOURCE_STRING_BYTES);
        Word(static_cast<WORD>(nLength));
        m_bytes.insert(m_bytes.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nLength));
    }
    void Bytes(std::span<const BYTE> bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
    void AlignTo4()
    {
        while (m_bytes.size() % 4)
            Byte(0);
    }
    void PatchDword(size_t nAt, DWORD n)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[nAt + i] = static_cast<BYTE>(n >> (8 * i));
    }

    size_t Size() const { return m_bytes.size(); }
    std::vector<BYTE> Take() { return std::move(m_bytes); }

private:
    std::vector<BYTE> m_bytes;
};

// Reads what CByteWriter writes, refusing to step past the end. After the first
// failure every further read fails too, so a parse can check once at the end of
// a group of reads.
class CByteReader {
public:
    explicit CByteReader(std::span<const BYTE> data)
        : m_data(data)
    {
    }

    bool Byte(BYTE& n)
    {
        if (!Need(1))
            return false;
        n = m_data[m_nPos++];
        return true;
    }
    bool Word(WORD& n)
    {
        if (!Need(2))
            return false;
        n = static_cast<WORD>(m_data[m_nPos] | (m_data[m_nPos + 1] << 8));
        m_nPos += 2;
        return true;
    }
    bool Dword(DWORD& n)
    {
        WORD nLow = 0;
        WORD nHigh = 0;
        if (!Word(nLow) || !Word(nHigh))
            return false;
        n = nLow | (static_cast<DWORD>(nHigh) << 16);
        return true;
    }
    bool Short(SHORT& n)
    {
        WORD nWord = 0;
        if (!Word(nWord))
            return false;
        n = static_cast<SHORT>(nWord);
        return true;
    }
    bool String(std::string_view& text)
    {
        WORD nLength = 0;
        if (!Word(nLength) || !Need(nLength))
            return false;
        text = std::string_view(reinterpret_cast<const char*>(m_data.data() + m_nPos), nLength);
        m_nPos += nLength;
        return true;
    }
    bool String(std::string& text)
    {
        std::string_view view;
        if (!String(view))
            return false;
        text.assign(view);
        return true;
    }

    bool Failed() const { return m_bFailed; }
    bool AtEnd() const { return m_nPos == m_data.size(); }
    size_t Remaining() const { return m_data.size() - m_nPos; }

private:
    bool Need(size_t nBytes)
    {
        if (m_bFailed || m_data.size() - m_nPos < nBytes)
            m_bFailed = true;
        return !m_bFailed;
    }

    std::span<const BYTE> m_data;
    size_t m_nPos { 0 };
    bool m_bFailed { false };
};

DWORD ReadDwordAt(std::span<const BYTE> data, size_t nAt)
{
    return data[nAt] | (data[nAt + 1] << 8) | (data[nAt + 2] << 16) | (static_cast<DWORD>(data[nAt + 3]) << 24);
}

bool Fail(std::string& strError, std::string strMessage)
{
    strError = std::move(strMessage);
    return false;
}

// Ends a template read: the reads must have stayed inside the data and used all of it.
bool FinishRead(const CByteReader& reader, const char* pszWhat, std::string& strError)
{
    if (reader.Failed())
        return Fail(strError, std::string(pszWhat) + " is cut short");
    if (!reader.AtEnd())
        return Fail(strError, std::string(pszWhat) + " has trailing bytes");
    return true;
}

bool CheckText(std::string_view text, const char* pszWhat, std::string& strError)
{
    if (!IsValidUtf8(text))
        return Fail(strError, std::string(pszWhat) + " is not valid UTF-8");
    return true;
}

}

/******************************************************************************
** Module
******************************************************************************/

std::vector<BYTE> WriteResourceModule(std::vector<ResourceItem> items)
{
    std::sort(items.begin(), items.end(), [](const ResourceItem& a, const ResourceItem& b) {
        return std::tie(a.type, a.name) < std::tie(b.type, b.name);
    });

    // The name pool holds each distinct name once, NUL-terminated.
    std::string strPool;
    std::map<std::string, DWORD> poolOffsets;
    auto encodeKey = [&](const ResourceKey& key) -> DWORD {
        if (key.IsId())
            return key.nId;
        auto [it, bInserted] = poolOffsets.emplace(key.strName, static_cast<DWORD>(strPool.size()));
        if (bInserted) {
            strPool += key.strName;
            strPool += '\0';
        }
        return RESOURCE_KEY_NAMED | it->second;
    };

    CByteWriter writer;
    writer.Bytes(std::span(reinterpret_cast<const BYTE*>(RESOURCE_MODULE_MAGIC), sizeof(RESOURCE_MODULE_MAGIC)));
    writer.Dword(RESOURCE_MODULE_VERSION);
    writer.Dword(static_cast<DWORD>(items.size()));
    size_t nPoolFields = writer.Size();
    writer.Dword(0); // name pool offset, patched below
    writer.Dword(0); // name pool size
    writer.Dword(0); // file size
    writer.Dword(0); // reserved

    std::vector<size_t> offsetFields;
    for (const ResourceItem& item : items) {
        writer.Dword(encodeKey(item.type));
        writer.Dword(encodeKey(item.name));
        offsetFields.push_back(writer.Size());
        writer.Dword(0); // payload offset, patched below
        writer.Dword(static_cast<DWORD>(item.data.size()));
    }

    writer.PatchDword(nPoolFields, static_cast<DWORD>(writer.Size()));
    writer.PatchDword(nPoolFields + 4, static_cast<DWORD>(strPool.size()));
    writer.Bytes(std::span(reinterpret_cast<const BYTE*>(strPool.data()), strPool.size()));

    for (size_t i = 0; i < items.size(); ++i) {
        writer.AlignTo4();
        writer.PatchDword(offsetFields[i], static_cast<DWORD>(writer.Size()));
        writer.Bytes(items[i].data);
    }
    writer.PatchDword(nPoolFields + 8, static_cast<DWORD>(writer.Size()));
    return writer.Take();
}

bool ReadResourceModule(std::span<const BYTE> module, std::vector<ResourceEntry>& entries, std::string& strError)
{
    entries.clear();
    if (module.size() < RESOURCE_MODULE_HEADER_SIZE)
        return Fail(strError, "the module is shorter than its header");
    if (std::memcmp(module.data(), RESOURCE_MODULE_MAGIC, sizeof(RESOURCE_MODULE_MAGIC)) != 0)
        return Fail(strError, "the file is not a resource module");
    if (ReadDwordAt(module, 8) != RESOURCE_MODULE_VERSION)
        return Fail(strError, "the module has an unknown format version");
    const DWORD nCount = ReadDwordAt(module, 12);
    const DWORD nPoolOffset = ReadDwordAt(module, 16);
    const DWORD nPoolSize = ReadDwordAt(module, 20);
    const DWORD nFileSize = ReadDwordAt(module, 24);
    if (nFileSize != module.size())
        return Fail(strError, "the module's recorded size does not match the file");

    // 64-bit sums: no count or offset from the file can wrap around.
    const ULONGLONG nDirectoryEnd
        = RESOURCE_MODULE_HEADER_SIZE + static_cast<ULONGLONG>(nCount) * RESOURCE_DIRECTORY_ENTRY_SIZE;
    if (nDirectoryEnd > nFileSize)
        return Fail(strError, "the module's directory runs past its end");
    if (nPoolOffset < nDirectoryEnd || static_cast<ULONGLONG>(nPoolOffset) + nPoolSize > nFileSize)
        return Fail(strError, "the module's name pool lies outside the file");
    std::string_view pool(reinterpret_cast<const char*>(module.data()) + nPoolOffset, nPoolSize);

    auto decodeKey = [&](DWORD nValue, ResourceKey& key) {
        if (!(nValue & RESOURCE_KEY_NAMED)) {
            if (nValue == 0 || nValue > 0xFFFF)
                return Fail(strError, "a resource number is out of range");
            key = ResourceKey::FromId(static_cast<WORD>(nValue));
            return true;
        }
        DWORD nAt = nValue & ~RESOURCE_KEY_NAMED;
        size_t nEnd = nAt < pool.size() ? pool.find('\0', nAt) : std::string_view::npos;
        if (nEnd == std::string_view::npos || nEnd == nAt)
            return Fail(strError, "a resource name lies outside the name pool");
        std::string_view name = pool.substr(nAt, nEnd - nAt);
        if (!CheckText(name, "a resource name", strError))
            return false;
        key = ResourceKey::FromName(std::string(name));
        return true;
    };

    entries.reserve(nCount);
    for (DWORD i = 0; i < nCount; ++i) {
        size_t nAt = RESOURCE_MODULE_HEADER_SIZE + static_cast<size_t>(i) * RESOURCE_DIRECTORY_ENTRY_SIZE;
        ResourceEntry entry;
        if (!decodeKey(ReadDwordAt(module, nAt), entry.type) || !decodeKey(ReadDwordAt(module, nAt + 4), entry.name))
            return false;
        entry.nOffset = ReadDwordAt(module, nAt + 8);
        entry.nSize = ReadDwordAt(module, nAt + 12);
        if (entry.nOffset < nDirectoryEnd || static_cast<ULONGLONG>(entry.nOffset) + entry.nSize > nFileSize)
            return Fail(strError, "a resource's data lies outside the module");
        entries.push_back(std::move(entry));
    }

    std::vector<const ResourceEntry*> sorted;
    sorted.reserve(entries.size());
    for (const ResourceEntry& entry : entries)
        sorted.push_back(&entry);
    auto keyOf = [](const ResourceEntry* p) { return std::tie(p->type, p->name); };
    std::sort(sorted.begin(), sorted.end(), [&](auto* a, auto* b) { return keyOf(a) < keyOf(b); });
    if (std::adjacent_find(sorted.begin(), sorted.end(), [&](auto* a, auto* b) { return keyOf(a) == keyOf(b); })
        != sorted.end())
        return Fail(strError, "the module lists a resource twice");
    return true;
}

/******************************************************************************
** String blocks
******************************************************************************/

std::vector<BYTE> WriteStringBlock(const std::vector<std::string>& strings)
{
    CByteWriter writer;
    for (UINT i = 0; i < STRINGS_PER_BLOCK; ++i)
        writer.String(i < strings.size() ? std::string_view(strings[i]) : std::string_view());
    return writer.Take();
}

bool ReadStringBlock(std::span<const BYTE> data, std::vector<std::string_view>& strings, std::string& strError)
{
    strings.assign(STRINGS_PER_BLOCK, {});
    CByteReader reader(data);
    for (std::string_view& text : strings) {
        if (!reader.String(text))
            break;
        if (!CheckText(text, "a string", strError))
            return false;
    }
    return FinishRead(reader, "the string block", strError);
}

/******************************************************************************
** Dialog templates
******************************************************************************/

std::vector<BYTE> WriteDialogTemplate(const DialogTemplate& dialog)
{
    CByteWriter writer;
    writer.Dword(dialog.dwStyle);
    writer.Dword(dialog.dwExStyle);
    writer.Short(dialog.x);
    writer.Short(dialog.y);
    writer.Short(dialog.cx);
    writer.Short(dialog.cy);
    writer.Word(dialog.nPointSize);
    writer.Word(dialog.nWeight);
    writer.Byte(dialog.bItalic);
    writer.Byte(0);
    writer.Word(static_cast<WORD>(dialog.controls.size()));
    writer.String(dialog.strFaceName);
    writer.String(dialog.strCaption);
    for (const DialogControlTemplate& control : dialog.controls) {
        writer.Dword(control.nID);
        writer.Dword(control.dwStyle);
        writer.Dword(control.dwExStyle);
        writer.Short(control.x);
        writer.Short(control.y);
        writer.Short(control.cx);
        writer.Short(control.cy);
        writer.String(control.strClass);
        writer.String(control.strText);
    }
    return writer.Take();
}

bool ReadDialogTemplate(std::span<const BYTE> data, DialogTemplate& dialog, std::string& strError)
{
    dialog = {};
    CByteReader reader(data);
    BYTE nReserved = 0;
    WORD nControls = 0;
    reader.Dword(dialog.dwStyle);
    reader.Dword(dialog.dwExStyle);
    reader.Short(dialog.x);
    reader.Short(dialog.y);
    reader.Short(dialog.cx);
    reader.Short(dialog.cy);
    reader.Word(dialog.nPointSize);
    reader.Word(dialog.nWeight);
    reader.Byte(dialog.bItalic);
    reader.Byte(nReserved);
    reader.Word(nControls);
    reader.String(dialog.strFaceName);
    reader.String(dialog.strCaption);
    if (reader.Failed())
        return FinishRead(reader, "the dialog template", strError);
    if (dialog.cx < 0 || dialog.cy < 0)
        return Fail(strError, "the dialog has a negative size");
    if (!CheckText(dialog.strFaceName, "the dialog's font name", strError)
        || !CheckText(dialog.strCaption, "the dialog's caption", strError))
        return false;

    // Each control takes at least 24 bytes, so a count the data cannot hold is
    // refused before anything is reserved for it.
    constexpr size_t MIN_CONTROL_BYTES = 24;
    if (nControls > reader.Remaining() / MIN_CONTROL_BYTES)
        return Fail(strError, "the dialog template holds fewer controls than it counts");
    dialog.controls.resize(nControls);
    for (DialogControlTemplate& control : dialog.controls) {
        reader.Dword(control.nID);
        reader.Dword(control.dwStyle);
        reader.Dword(control.dwExStyle);
        reader.Short(control.x);
        reader.Short(control.y);
        reader.Short(control.cx);
        reader.Short(control.cy);
        reader.String(control.strClass);
        reader.String(control.strText);
        if (reader.Failed())
            break;
        if (control.cx < 0 || control.cy < 0)
            return Fail(strError, "a dialog control has a negative size");
        if (control.strClass.empty())
            return Fail(strError, "a dialog control has no window class");
        if (!CheckText(control.strClass, "a control's class name", strError)
            || !CheckText(control.strText, "a control's text", strError))
            return false;
    }
    return FinishRead(reader, "the dialog template", strError);
}

/******************************************************************************
** Dialog initial data
******************************************************************************/

std::vector<BYTE> WriteDialogInit(const std::vector<DialogInitEntry>& entries)
{
    CByteWriter writer;
    for (const DialogInitEntry& entry : entries) {
        writer.Word(entry.nControlId);
        writer.Word(entry.nMessage);
        writer.String(entry.strText);
    }
    return writer.Take();
}

bool ReadDialogInit(std::span<const BYTE> data, std::vector<DialogInitEntry>& entries, std::string& strError)
{
    entries.clear();
    CByteReader reader(data);
    while (!reader.AtEnd() && !reader.Failed()) {
        DialogInitEntry entry;
        reader.Word(entry.nControlId);
        reader.Word(entry.nMessage);
        reader.String(entry.strText);
        if (reader.Failed())
            break;
        if (entry.nMessage != DIALOG_INIT_ADD_STRING)
            return Fail(strError, "the dialog's initial data sends a message other than add-string");
        if (!CheckText(entry.strText, "a text of the dialog's initial data", strError))
            return false;
        entries.push_back(std::move(entry));
    }
    return FinishRead(reader, "the dialog's initial data", strError);
}

/******************************************************************************
** Menus
******************************************************************************/

namespace {

void WriteMenuLevel(CByteWriter& writer, const std::vector<MenuItemTemplate>& items)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItemTemplate& item = items[i];
        writer.Word(static_cast<WORD>((item.nFlags & ~MF_END) | (i + 1 == items.size() ? MF_END : 0)));
        writer.Dword(item.nID);
        writer.String(item.strText);
        if (item.nFlags & MF_POPUP)
            WriteMenuLevel(writer, item.children);
    }
}

constexpr UINT KNOWN_MENU_FLAGS = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_MENUBARBREAK | MF_MENUBREAK
    | MF_END | MF_SEPARATOR | MF_HELP;

// Reads one level, up to and including its MF_END item. The depth bound keeps a
// hostile template from exhausting the stack.
bool ReadMenuLevel(CByteReader& reader, UINT nDepth, std::vector<MenuItemTemplate>& items, std::string& strError)
{
    if (nDepth > MAX_MENU_DEPTH)
        return Fail(strError, "the menu nests too deeply");
    for (;;) {
        WORD nFlags = 0;
        MenuItemTemplate item;
        reader.Word(nFlags);
        reader.Dword(item.nID);
        reader.String(item.strText);
        if (reader.Failed())
            return Fail(strError, "the menu template is cut short");
        if (nFlags & ~KNOWN_MENU_FLAGS)
            return Fail(strError, "a menu item has unknown flags");
        if (!CheckText(item.strText, "a menu item's text", strError))
            return false;
        item.nFlags = nFlags & ~MF_END;
        if ((item.nFlags & MF_POPUP) && !ReadMenuLevel(reader, nDepth + 1, item.children, strError))
            return false;
        items.push_back(std::move(item));
        if (nFlags & MF_END)
            return true;
    }
}

}

std::vector<BYTE> WriteMenuTemplate(const std::vector<MenuItemTemplate>& items)
{
    CByteWriter writer;
    WriteMenuLevel(writer, items);
    return writer.Take();
}

bool ReadMenuTemplate(std::span<const BYTE> data, std::vector<MenuItemTemplate>& items, std::string& strError)
{
    items.clear();
    CByteReader reader(data);
    if (!reader.AtEnd() && !ReadMenuLevel(reader, 1, items, strError))
        return false;
    return FinishRead(reader, "the menu template", strError);
}

/******************************************************************************
** Accelerator tables
******************************************************************************/

std::vector<BYTE> WriteAcceleratorTable(const std::vector<ACCEL>& accels)
{
    CByteWriter writer;
    for (const ACCEL& accel : accels) {
        writer.Byte(accel.fVirt);
        writer.Byte(0);
        writer.Word(accel.key);
        writer.Word(accel.cmd);
        writer.Word(0);
    }
    return writer.Take();
}

bool ReadAcceleratorTable(std::span<const BYTE> data, std::vector<ACCEL>& accels, std::string& strError)
{
    constexpr size_t ACCEL_BYTES = 8;
    constexpr BYTE KNOWN_FLAGS = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;
    accels.clear();
    if (data.empty() || data.size() % ACCEL_BYTES)
        return Fail(strError, "the accelerator table has a bad size");
    CByteReader reader(data);
    while (!reader.AtEnd()) {
        ACCEL accel {};
        BYTE nPad = 0;
        WORD nPadWord = 0;
        reader.Byte(accel.fVirt);
        reader.Byte(nPad);
        reader.Word(accel.key);
        reader.Word(accel.cmd);
        reader.Word(nPadWord);
        if (accel.fVirt & ~KNOWN_FLAGS)
            return Fail(strError, "an accelerator has unknown flags");
        accels.push_back(accel);
    }
    return FinishRead(reader, "the accelerator table", strError);
}

/******************************************************************************
** Toolbars
******************************************************************************/

namespace {

constexpr WORD TOOLBAR_VERSION = 1;

} // namespace

std::vector<BYTE> WriteToolbarTemplate(const ToolbarTemplate& toolbar)
{
    CByteWriter writer;
    writer.Word(TOOLBAR_VERSION);
    writer.Word(toolbar.nImageWidth);
    writer.Word(toolbar.nImageHeight);
    writer.Word(static_cast<WORD>(toolbar.commands.size()));
    for (WORD nCommand : toolbar.commands)
        writer.Word(nCommand);
    return writer.Take();
}

bool ReadToolbarTemplate(std::span<const BYTE> data, ToolbarTemplate& toolbar, std::string& strError)
{
    toolbar = ToolbarTemplate {};
    CByteReader reader(data);
    WORD nVersion = 0;
    WORD nCount = 0;
    reader.Word(nVersion);
    reader.Word(toolbar.nImageWidth);
    reader.Word(toolbar.nImageHeight);
    reader.Word(nCount);
    if (reader.Failed())
        return Fail(strError, "the toolbar is cut short");
    if (nVersion != TOOLBAR_VERSION)
        return Fail(strError, "the toolbar has an unknown version");
    if (toolbar.nImageWidth == 0 || toolbar.nImageHeight == 0)
        return Fail(strError, "the toolbar's images have no size");
    if (reader.Remaining() != 2 * static_cast<size_t>(nCount))
        return Fail(strError, "the toolbar's button count does not match its size");
    toolbar.commands.resize(nCount);
    for (WORD& nCommand : toolbar.commands)
        reader.Word(nCommand);
    return FinishRead(reader, "the toolbar", strError);
}

/******************************************************************************
** PNG headers and animation clips
******************************************************************************/

namespace {

constexpr BYTE PNG_SIGNATURE[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
constexpr size_t PNG_IHDR_SIZE = 13;
constexpr BYTE PNG_COLOUR_ALPHA = 0x04; // the colour type bit of grey + alpha and RGBA
constexpr char ANIMATION_CLIP_MAGIC[4] = { 'A', 'N', 'I', 'M' };
constexpr WORD ANIMATION_CLIP_VERSION = 1;

DWORD ReadBigEndianAt(std::span<const BYTE> data, size_t nAt)
{
    return (static_cast<DWORD>(data[nAt]) << 24) | (data[nAt + 1] << 16) | (data[nAt + 2] << 8) | data[nAt + 3];
}

} // namespace

bool ReadPngHeader(std::span<const BYTE> data, PngHeader& header, std::string& strError)
{
    header = PngHeader {};
    if (data.size() < sizeof(PNG_SIGNATURE)
        || !std::equal(std::begin(PNG_SIGNATURE), std::end(PNG_SIGNATURE), data.begin()))
        return Fail(strError, "the image is not a PNG");
    // Chunks: 4 bytes length, 4 bytes type, the data, 4 bytes CRC; IHDR first.
    size_t nAt = sizeof(PNG_SIGNATURE);
    bool bFirst = true;
    while (true) {
        if (data.size() - nAt < 8)
            return Fail(strError, "the PNG is cut short");
        const DWORD nLength = ReadBigEndianAt(data, nAt);
        const std::string_view type(reinterpret_cast<const char*>(data.data() + nAt + 4), 4);
        if (nLength > data.size() - nAt - 8 || data.size() - nAt - 8 - nLength < 4)
            return Fail(strError, "the PNG is cut short");
        const std::span<const BYTE> chunk = data.subspan(nAt + 8, nLength);
        if (bFirst) {
            if (type != "IHDR" || nLength != PNG_IHDR_SIZE)
                return Fail(strError, "the PNG does not start with its header");
            header.nWidth = ReadBigEndianAt(chunk, 0);
            header.nHeight = ReadBigEndianAt(chunk, 4);
            header.bAlpha = (chunk[9] & PNG_COLOUR_ALPHA) != 0;
            if (header.nWidth == 0 || header.nHeight == 0)
                return Fail(strError, "the PNG has no pixels");
            bFirst = false;
        } else if (type == "tRNS") {
            header.bAlpha = true;
        } else if (type == "IDAT" || type == "IEND") {
            return true;
        }
        nAt += 12 + static_cast<size_t>(nLength);
    }
}

std::vector<BYTE> WriteAnimationClip(const AnimationClipTemplate& clip)
{
    CByteWriter writer;
    writer.Bytes(std::span(reinterpret_cast<const BYTE*>(ANIMATION_CLIP_MAGIC), sizeof(ANIMATION_CLIP_MAGIC)));
    writer.Word(ANIMATION_CLIP_VERSION);
    writer.Word(clip.nFrameWidth);
    writer.Word(clip.nFrameHeight);
    writer.Word(clip.nFrameCount);
    writer.Word(clip.nMilliseconds);
    writer.Word(clip.nFlags);
    writer.Dword(clip.crTransparent);
    writer.Bytes(clip.strip);
    return writer.Take();
}

bool ReadAnimationClip(std::span<const BYTE> data, AnimationClipTemplate& clip, std::string& strError)
{
    clip = AnimationClipTemplate {};
    if (data.size() < sizeof(ANIMATION_CLIP_MAGIC)
        || !std::equal(std::begin(ANIMATION_CLIP_MAGIC), std::end(ANIMATION_CLIP_MAGIC), data.begin()))
        return Fail(strError, "the clip has no clip header");
    CByteReader reader(data.subspan(sizeof(ANIMATION_CLIP_MAGIC)));
    WORD nVersion = 0;
    reader.Word(nVersion);
    reader.Word(clip.nFrameWidth);
    reader.Word(clip.nFrameHeight);
    reader.Word(clip.nFrameCount);
    reader.Word(clip.nMilliseconds);
    reader.Word(clip.nFlags);
    reader.Dword(clip.crTransparent);
    if (reader.Failed())
        return Fail(strError, "the clip is cut short");
    if (nVersion != ANIMATION_CLIP_VERSION)
        return Fail(strError, "the clip has an unknown version");
    if (clip.nFlags & ~ANIMATION_CLIP_TRANSPARENT_COLOUR)
        return Fail(strError, "the clip has unknown flags");
    if (clip.nFrameWidth == 0 || clip.nFrameHeight == 0 || clip.nFrameCount == 0)
        return Fail(strError, "the clip has no frames");
    if (clip.nFrameCount > ANIMATION_CLIP_MAX_FRAMES)
        return Fail(strError, "the clip has too many frames");
    if (clip.nMilliseconds < ANIMATION_CLIP_MIN_MILLISECONDS)
        return Fail(strError, "the clip's frames follow too fast");
    clip.strip = data.subspan(data.size() - reader.Remaining());
    PngHeader png;
    if (!ReadPngHeader(clip.strip, png, strError))
        return false;
    if (png.nHeight != clip.nFrameHeight || png.nWidth != static_cast<DWORD>(clip.nFrameWidth) * clip.nFrameCount)
        return Fail(strError, "the clip's strip is not its frames side by side");
    return true;
}
