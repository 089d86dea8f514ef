#pragma once

// The colour table of a picture file, for callers that realise a palette
// for the picture (a display of 256 colours or fewer). Only PNG files carry
// one here: colour type 3 (indexed) at a bit depth of 1, 2, 4 or 8.

#include "platform/gdi/GdiTypes.h"

#include <cstddef>
#include <vector>

// Reads the PNG header and palette chunk of the bytes. An indexed picture
// gives its bit depth in *pnBitDepth and 2^depth colours in *pColors, in
// table order (entries the file's table lacks are black); any other PNG
// gives depth 0 and no colours. FALSE with ERROR_INVALID_DATA for bytes that
// are no PNG or whose header or palette chunk is damaged.
BOOL ReadPictureColorTable(const void* pData, size_t cbData, int* pnBitDepth, std::vector<RGBQUAD>* pColors);
