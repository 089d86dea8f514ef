#pragma once

// The resource module file and the compiled forms of the resources it holds:
// string blocks, dialog templates, menus and accelerator tables. The layout of
// every form is described in resources/FORMAT.md. All numbers are little-endian
// and all text is UTF-8.
//
// Each form has a writer, used by the resource compiler, and a reader, used by
// the loader and the window layer. Readers take untrusted bytes: they check
// every count, offset and length and reject anything malformed with a message,
// and they never read outside the span they are given.

#include "platform/base/TextFunctions.h"
#include "platform/base/WinTypes.h"

#include <compare>
#include <span>
#include <string>
#include <vector>

/* Module header and directory. */

constexpr char RESOURCE_MODULE_MAGIC[8] = { 'A', 'R', 'V', 'R', 'E', 'S', '\r', '\n' };
constexpr DWORD RESOURCE_MODULE_VERSION = 1;
constexpr DWORD RESOURCE_MODULE_HEADER_SIZE = 32;
constexpr DWORD RESOURCE_DIRECTORY_ENTRY_SIZE = 16;
// In a directory entry's type or name field: the rest of the value is an offset
// into the name pool instead of a number.
constexpr DWORD RESOURCE_KEY_NAMED = 0x80000000;

// The numeric resource types this module format knows.
// clang-format off
constexpr WORD RESOURCE_TYPE_CURSOR      = 1;
constexpr WORD RESOURCE_TYPE_BITMAP      = 2;
constexpr WORD RESOURCE_TYPE_ICON        = 3;
constexpr WORD RESOURCE_TYPE_MENU        = 4;
constexpr WORD RESOURCE_TYPE_DIALOG      = 5;
constexpr WORD RESOURCE_TYPE_STRING      = 6;
constexpr WORD RESOURCE_TYPE_ACCELERATOR = 9;
constexpr WORD RESOURCE_TYPE_RCDATA      = 10;
constexpr WORD RESOURCE_TYPE_HTML        = 23; // pages and the pictures they show, stored unchanged
constexpr WORD RESOURCE_TYPE_DLGINIT     = 240; // a dialog's initial control data, named as its dialog
constexpr WORD RESOURCE_TYPE_TOOLBAR     = 241;
// clang-format on
// Animation clips are filed under a named type.
constexpr const char* RESOURCE_TYPE_NAME_AVI = "AVI";

// A resource's type or name: a number from 1 to 0xFFFF (nId), or a name (nId 0).
// Names are stored upper-case, as lookups ignore case.
struct ResourceKey {
    WORD nId { 0 };
    std::string strName;

    static ResourceKey FromId(WORD nId) { return { nId, {} }; }
    static ResourceKey FromName(std::string strName) { return { 0, std::move(strName) }; }
    bool IsId() const { return nId != 0; }

    auto operator<=>(const ResourceKey&) const = default;
    bool operator==(const ResourceKey&) const = default;
};

// A resource to be written into a module.
struct ResourceItem {
    ResourceKey type;
    ResourceKey name;
    std::vector<BYTE> data;
};

// A resource found in a module: where its payload lies in the module's bytes.
struct ResourceEntry {
    ResourceKey type;
    ResourceKey name;
    DWORD nOffset { 0 };
    DWORD nSize { 0 };
};

// The bytes of a module holding `items`. Items are written sorted by type and
// name; each (type, name) pair must occur once.
std::vector<BYTE> WriteResourceModule(std::vector<ResourceItem> items);

// Checks a whole module and lists its resources. FALSE with a message in
// strError when anything is malformed: magic, version, size, directory bounds,
// payloads outside the file, bad names, or a (type, name) pair listed twice.
[[nodiscard]] bool ReadResourceModule(
    std::span<const BYTE> module, std::vector<ResourceEntry>& entries, std::string& strError);

/* String tables. Strings are kept in blocks of 16: string n is entry n % 16 of
   the block whose name is n / 16 + 1. An empty entry is a missing string. */

constexpr UINT STRINGS_PER_BLOCK = 16;
constexpr UINT MAX_RESOURCE_STRING_BYTES = 0xFFFF;

std::vector<BYTE> WriteStringBlock(const std::vector<std::string>& strings);
// Every entry of the block, exactly STRINGS_PER_BLOCK of them.
[[nodiscard]] bool ReadStringBlock(
    std::span<const BYTE> data, std::vector<std::string_view>& strings, std::string& strError);

/* Dialog templates, in dialog units. */

struct DialogControlTemplate {
    DWORD nID { 0 }; // (DWORD)-1 for controls without an ID
    DWORD dwStyle { 0 };
    DWORD dwExStyle { 0 };
    SHORT x { 0 };
    SHORT y { 0 };
    SHORT cx { 0 };
    SHORT cy { 0 };
    std::string strClass; // "Button", "Edit", "Static", "SysListView32", ...
    std::string strText;  // "#<n>" when the text names a resource by number
};

// One line of a dialog's initial data: a text sent to a control with a
// message once the controls exist, before WM_INITDIALOG. The only message is
// the combo box's add-string (CB_ADDSTRING), which fills a list.
constexpr WORD DIALOG_INIT_ADD_STRING = 0x0143;
struct DialogInitEntry {
    WORD nControlId { 0 };
    WORD nMessage { DIALOG_INIT_ADD_STRING };
    std::string strText;
};

struct DialogTemplate {
    DWORD dwStyle { 0 };
    DWORD dwExStyle { 0 };
    SHORT x { 0 };
    SHORT y { 0 };
    SHORT cx { 0 };
    SHORT cy { 0 };
    WORD nPointSize { 0 }; // 0 when the template sets no font
    WORD nWeight { 0 };
    BYTE bItalic { 0 };
    std::string strFaceName;
    std::string strCaption;
    std::vector<DialogControlTemplate> controls;
    // Not part of the template's bytes: the dialog's DLGINIT resource, added by the loader.
    std::vector<DialogInitEntry> initData;
};

std::vector<BYTE> WriteDialogTemplate(const DialogTemplate& dialog);
[[nodiscard]] bool ReadDialogTemplate(std::span<const BYTE> data, DialogTemplate& dialog, std::string& strError);

/* Dialog initial data: per entry the control ID, the message and the text (a
   string), until the data ends. Any other message, an entry cut short or text
   that is not UTF-8 refuses the whole resource. */

std::vector<BYTE> WriteDialogInit(const std::vector<DialogInitEntry>& entries);
[[nodiscard]] bool ReadDialogInit(
    std::span<const BYTE> data, std::vector<DialogInitEntry>& entries, std::string& strError);

/* Menus. Items are stored depth-first; MF_END marks the last item of each level. */

// clang-format off
constexpr UINT MF_GRAYED       = 0x0001;
constexpr UINT MF_DISABLED     = 0x0002;
constexpr UINT MF_CHECKED      = 0x0008;
constexpr UINT MF_POPUP        = 0x0010; // the item opens a submenu
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK    = 0x0040;
constexpr UINT MF_END          = 0x0080; // in templates only: last item of its level
constexpr UINT MF_SEPARATOR    = 0x0800;
constexpr UINT MF_HELP         = 0x4000;
// clang-format on

// Submenus nest at most this deep; deeper templates are rejected.
constexpr UINT MAX_MENU_DEPTH = 16;

struct MenuItemTemplate {
    UINT nFlags { 0 }; // MF_ flags without MF_END
    UINT nID { 0 };    // command ID; 0 for popups and separators
    std::string strText;
    std::vector<MenuItemTemplate> children; // the submenu of a popup, never empty
};

// A menu is the list of items of its bar; an empty menu is allowed, an empty popup is not.
std::vector<BYTE> WriteMenuTemplate(const std::vector<MenuItemTemplate>& items);
[[nodiscard]] bool ReadMenuTemplate(
    std::span<const BYTE> data, std::vector<MenuItemTemplate>& items, std::string& strError);

/* Accelerator tables. */

// clang-format off
constexpr BYTE FVIRTKEY  = 0x01; // key is a virtual-key code, else a character
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT    = 0x04;
constexpr BYTE FCONTROL  = 0x08;
constexpr BYTE FALT      = 0x10;
// clang-format on

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
using LPACCEL = ACCEL*;

std::vector<BYTE> WriteAcceleratorTable(const std::vector<ACCEL>& accels);
// A table holds at least one entry, and only the flags above.
[[nodiscard]] bool ReadAcceleratorTable(std::span<const BYTE> data, std::vector<ACCEL>& accels, std::string& strError);

/* Toolbars: the commands of a toolbar's buttons; its images are the bitmap of the same ID. */

struct ToolbarTemplate {
    WORD nImageWidth { 0 };
    WORD nImageHeight { 0 };
    std::vector<WORD> commands; // by button; 0 is a separator
};

std::vector<BYTE> WriteToolbarTemplate(const ToolbarTemplate& toolbar);
// Refuses version other than 1, a zero image size and a count that does not match the size.
[[nodiscard]] bool ReadToolbarTemplate(std::span<const BYTE> data, ToolbarTemplate& toolbar, std::string& strError);

/* PNG images, as bitmaps, icons and clips hold them. */

struct PngHeader {
    DWORD nWidth { 0 };
    DWORD nHeight { 0 };
    bool bAlpha { false }; // an alpha channel or a transparency chunk
};

// Reads the PNG signature, the image header and the chunks before the first
// image data. Refuses anything else and a zero size; the pixels are not checked.
[[nodiscard]] bool ReadPngHeader(std::span<const BYTE> data, PngHeader& header, std::string& strError);

/* Animation clips (type "AVI"): a header, then the frames side by side in one
   PNG strip. Transparent pixels are those of the transparent colour when the
   clip has one, else those the PNG's own transparency marks. */

constexpr DWORD ANIMATION_CLIP_MAX_FRAMES = 1024;
constexpr WORD ANIMATION_CLIP_MIN_MILLISECONDS = 10;
constexpr WORD ANIMATION_CLIP_TRANSPARENT_COLOUR = 0x0001; // AnimationClipTemplate::nFlags

struct AnimationClipTemplate {
    WORD nFrameWidth { 0 };
    WORD nFrameHeight { 0 };
    WORD nFrameCount { 0 };
    WORD nMilliseconds { 0 }; // per frame
    WORD nFlags { 0 };        // ANIMATION_CLIP_*
    COLORREF crTransparent { 0 };
    std::span<const BYTE> strip; // the PNG; a view into the bytes read or written
};

std::vector<BYTE> WriteAnimationClip(const AnimationClipTemplate& clip);
// Refuses a wrong magic or version, unknown flags, an empty frame, more than
// ANIMATION_CLIP_MAX_FRAMES frames, a rate below ANIMATION_CLIP_MIN_MILLISECONDS
// and a strip whose PNG header is damaged or whose size is not the frames' size.
[[nodiscard]] bool ReadAnimationClip(std::span<const BYTE> data, AnimationClipTemplate& clip, std::string& strError);
