#pragma once

// X key events in the program's terms: virtual keys from keysyms and key
// positions. A pure function of what the event and the keymap say, so that it
// is tested without a server.

#include "platform/base/WinTypes.h"

#include <span>

// The virtual key of a key: `nScanCode` is its keycode less 8 (the kernel's
// key code, which fixes its position), `nKeysym` the keysym the event gives
// with its modifiers (so that keypad keys follow Num Lock), `groupSyms` the
// key's unshifted keysym in each group of the keymap, the event's group
// first. Letters come from the first group where the key is a Latin letter,
// else from the key's position on a US keyboard, as do digits and
// punctuation, so that Ctrl+C works on any layout. 0 for a key without one.
UINT VirtualKeyOfX11Key(UINT nScanCode, unsigned long nKeysym, std::span<const unsigned long> groupSyms);

// The keysym of AltGr, which the display reports as right Alt with Control.
bool IsAltGraphKeysym(unsigned long nKeysym);
