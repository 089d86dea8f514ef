// Links: platform_gdi
// Feeds arbitrary bytes to the picture decoder, as a picture file from outside
// would reach it, and frees what it accepts.

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (HBITMAP hBitmap = DecodePicture(pData, nSize))
        DeleteObject(hBitmap);
    return 0;
}
