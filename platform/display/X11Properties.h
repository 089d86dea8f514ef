#pragma once

// Decoders of the window properties other X clients write (the window
// manager, panels, the tray and settings managers). Each checks type, format
// and length and gives nothing for anything else: these bytes are another
// program's, and a wrong or hostile value must end in defaults, never in a
// crash. Pure functions of the property's value, so they are fuzzed and
// tested without a server; X11PropertyReader.h fetches values from one.

#include "platform/base/WinTypes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A property value as the server returns it. Items of format 32 are kept as
// 32-bit values (Xlib hands them out as longs; the reader narrows them).
struct CX11Property {
    unsigned long nType { 0 };    // 0 (None): the property does not exist
    int nFormat { 0 };            // 8, 16 or 32
    std::vector<uint8_t> bytes;   // format 8
    std::vector<uint16_t> shorts; // format 16
    std::vector<uint32_t> longs;  // format 32
};

// A value made from raw bytes as a fuzzer or a test gives them: the first byte
// picks the format (8, 16 or 32), the next four are the type (little-endian),
// the rest the items.
CX11Property MakeX11Property(std::span<const uint8_t> raw);

/* Generic shapes. Each answers nothing (empty) unless type and format match. */

// Items of format 32 and the type (ATOM for atom lists, CARDINAL for numbers,
// WINDOW for windows).
std::vector<uint32_t> X11Longs(const CX11Property& property, unsigned long nType);
// The first item of format 32 and the type.
std::optional<uint32_t> X11Long(const CX11Property& property, unsigned long nType);

/* Particular properties. */

// _NET_WORKAREA (CARDINAL x, y, width, height per desktop) for one desktop, in
// root coordinates; nothing when the desktop has none or the rectangle is empty.
std::optional<RECT> DecodeWorkArea(const CX11Property& property, uint32_t nDesktop);

// _XEMBED_INFO (CARDINAL version, flags); nothing for a shorter value.
struct CXEmbedInfo {
    uint32_t nVersion { 0 };
    uint32_t nFlags { 0 }; // XEMBED_MAPPED 1
};
std::optional<CXEmbedInfo> DecodeXEmbedInfo(const CX11Property& property);

// WM_STATE (type WM_STATE, the state first): 0 withdrawn, 1 normal, 3 iconic.
std::optional<uint32_t> DecodeWmState(const CX11Property& property, unsigned long nWmStateAtom);

// The icon size of _NET_SYSTEM_TRAY_ICON_SIZE (CARDINAL), kept within 1..256.
std::optional<int> DecodeTrayIconSize(const CX11Property& property);
