#include "platform/gdi/PictureColorTable.h"

#include "platform/base/WinError.h"

#include <cstring>

#include <png.h>

namespace {

// The bytes libpng reads from; a read past their end is an error.
struct CMemoryReader {
    const png_byte* pData;
    size_t cbData;
    size_t nOffset;
};

void ReadFromMemory(png_structp pPng, png_bytep pOut, png_size_t cbWanted)
{
    auto* pReader = static_cast<CMemoryReader*>(png_get_io_ptr(pPng));
    if (cbWanted > pReader->cbData - pReader->nOffset)
        png_error(pPng, "read past the end");
    std::memcpy(pOut, pReader->pData + pReader->nOffset, cbWanted);
    pReader->nOffset += cbWanted;
}

void IgnoreWarning(png_structp, png_const_charp) { }

// Damage is the caller's to report: leave without a word.
[[noreturn]] void LeaveOnError(png_structp pPng, png_const_charp)
{
    png_longjmp(pPng, 1);
}

// The header and palette of the PNG; false when libpng refused them. Kept free
// of objects with destructors, as libpng leaves it by longjmp.
bool ReadHeader(CMemoryReader* pReader, int* pnColorType, int* pnBitDepth, png_color* pPalette, int* pnPalette)
{
    png_structp pPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, LeaveOnError, IgnoreWarning);
    if (!pPng)
        return false;
    png_infop pInfo = png_create_info_struct(pPng);
    if (!pInfo || setjmp(png_jmpbuf(pPng))) {
        png_destroy_read_struct(&pPng, pInfo ? &pInfo : nullptr, nullptr);
        return false;
    }
    png_set_read_fn(pPng, pReader, ReadFromMemory);
    png_read_info(pPng, pInfo);
    *pnColorType = png_get_color_type(pPng, pInfo);
    *pnBitDepth = png_get_bit_depth(pPng, pInfo);
    *pnPalette = 0;
    png_colorp pEntries = nullptr;
    int nEntries = 0;
    if (png_get_PLTE(pPng, pInfo, &pEntries, &nEntries) != 0 && nEntries > 0) {
        *pnPalette = nEntries > PNG_MAX_PALETTE_LENGTH ? PNG_MAX_PALETTE_LENGTH : nEntries;
        std::memcpy(pPalette, pEntries, sizeof(png_color) * static_cast<size_t>(*pnPalette));
    }
    png_destroy_read_struct(&pPng, &pInfo, nullptr);
    return true;
}

} // namespace

BOOL ReadPictureColorTable(const void* pData, size_t cbData, int* pnBitDepth, std::vector<RGBQUAD>* pColors)
{
    *pnBitDepth = 0;
    pColors->clear();
    static constexpr size_t SIGNATURE_SIZE = 8;
    if (!pData || cbData < SIGNATURE_SIZE || png_sig_cmp(static_cast<png_const_bytep>(pData), 0, SIGNATURE_SIZE) != 0) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CMemoryReader reader { static_cast<const png_byte*>(pData), cbData, 0 };
    int nColorType = 0;
    int nBitDepth = 0;
    png_color palette[PNG_MAX_PALETTE_LENGTH] {};
    int nPalette = 0;
    if (!ReadHeader(&reader, &nColorType, &nBitDepth, palette, &nPalette)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (nColorType != PNG_COLOR_TYPE_PALETTE)
        return TRUE;
    *pnBitDepth = nBitDepth;
    pColors->assign(size_t { 1 } << nBitDepth, RGBQUAD {});
    for (int i = 0; i < nPalette && i < static_cast<int>(pColors->size()); ++i)
        (*pColors)[static_cast<size_t>(i)] = RGBQUAD { palette[i].blue, palette[i].green, palette[i].red, 0 };
    return TRUE;
}
