#include "platform/base/Checksum.h"

#include <algorithm>
#include <climits>

#include <zlib.h>

DWORD Crc32(std::span<const BYTE> data, DWORD dwCrc)
{
    uLong nCrc = dwCrc;
    // zlib takes lengths of at most UINT_MAX bytes at a time.
    for (std::size_t nDone = 0; nDone < data.size();) {
        std::size_t nPart = std::min<std::size_t>(data.size() - nDone, UINT_MAX);
        nCrc = crc32(nCrc, data.data() + nDone, static_cast<uInt>(nPart));
        nDone += nPart;
    }
    return static_cast<DWORD>(nCrc);
}
