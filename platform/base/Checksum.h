#pragma once

// CRC-32 with the polynomial of zip and PNG, the checksum the program's own
// file formats store.

#include "platform/base/WinTypes.h"

#include <span>

// The CRC-32 of data, continuing from dwCrc (the CRC of the bytes before it;
// 0 to start).
DWORD Crc32(std::span<const BYTE> data, DWORD dwCrc = 0);
