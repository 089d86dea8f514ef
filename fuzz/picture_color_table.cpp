// Links: platform_gdi
// Feeds arbitrary bytes to the reader of a picture's colour table, as a
// bitmap resource or picture file from outside would reach it.

#include "platform/gdi/PictureColorTable.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    int nBitDepth = 0;
    std::vector<RGBQUAD> colors;
    if (ReadPictureColorTable(pData, nSize, &nBitDepth, &colors) && colors.size() != (nBitDepth ? 1u << nBitDepth : 0u))
        __builtin_trap();
    return 0;
}
