#pragma once

// Global memory handles: blocks of bytes passed between parts of the program
// by handle, as the clipboard and data objects do.
//
// The handle of a fixed block is its address; a movable block's handle is a
// value of its own, never reused. GlobalLock gives the block's address (which
// changes only when GlobalReAlloc resizes it) and counts locks for movable
// blocks only. A freed handle is refused with ERROR_INVALID_HANDLE.

#include "platform/base/WinTypes.h"

// clang-format off
constexpr UINT GMEM_FIXED    = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_SHARE    = 0x2000; // accepted and ignored
constexpr UINT GMEM_DDESHARE = GMEM_SHARE;
constexpr UINT GHND          = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR          = GMEM_FIXED | GMEM_ZEROINIT;
// clang-format on

// A block of dwBytes (0 is allowed); NULL with ERROR_NOT_ENOUGH_MEMORY.
HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
// NULL on success, else the handle.
HGLOBAL GlobalFree(HGLOBAL hMem);
LPVOID GlobalLock(HGLOBAL hMem);
// TRUE while the block stays locked; FALSE with NO_ERROR once it is unlocked.
BOOL GlobalUnlock(HGLOBAL hMem);
SIZE_T GlobalSize(HGLOBAL hMem); // 0 for a bad handle
// Resizes the block, keeping its bytes (GMEM_ZEROINIT zeroes what is added).
// A movable block keeps its handle and its locks. A fixed block is resized in
// place only when it shrinks; otherwise GMEM_MOVEABLE lets it move to a new
// address, which is its new handle. NULL with the last error on failure, when
// the block is left as it was.
HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags);
