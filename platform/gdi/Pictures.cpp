#include "platform/gdi/Pictures.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/GdiObjects.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <png.h>

/*************************************************************************
 * Decoding
 *************************************************************************/

namespace {

// The loader's name of a format whose signature begins the bytes; null when
// none does and the loader must guess (which asks the MIME database: slow).
const char* FormatBySignature(const void* pData, size_t cbData)
{
    struct CSignature {
        std::string_view signature;
        const char* pszFormat;
    };
    static constexpr CSignature SIGNATURES[] = {
        { "\x89PNG\r\n\x1a\n", "png" },
        { "GIF87a", "gif" },
        { "GIF89a", "gif" },
        { "\xff\xd8\xff", "jpeg" },
        { "BM", "bmp" },
    };
    const std::string_view bytes(static_cast<const char*>(pData), cbData);
    for (const CSignature& format : SIGNATURES)
        if (bytes.starts_with(format.signature))
            return format.pszFormat;
    return nullptr;
}

// A loader for the bytes: the one of their format when known, else one that guesses.
GdkPixbufLoader* NewLoaderFor(const void* pData, size_t cbData)
{
    if (const char* pszFormat = FormatBySignature(pData, cbData)) {
        GError* pError = nullptr;
        GdkPixbufLoader* pLoader = gdk_pixbuf_loader_new_with_type(pszFormat, &pError);
        g_clear_error(&pError);
        if (pLoader)
            return pLoader;
    }
    return gdk_pixbuf_loader_new();
}

// The decoded picture, or nullptr for bytes no loader accepts.
GdkPixbuf* DecodePixbuf(const void* pData, size_t cbData)
{
    if (!pData || cbData == 0)
        return nullptr;
    GdkPixbufLoader* pLoader = NewLoaderFor(pData, cbData);
    GError* pError = nullptr;
    bool bWritten = gdk_pixbuf_loader_write(pLoader, static_cast<const guchar*>(pData), cbData, &pError);
    g_clear_error(&pError);
    bool bClosed = gdk_pixbuf_loader_close(pLoader, &pError);
    g_clear_error(&pError);
    GdkPixbuf* pPixbuf = bWritten && bClosed ? gdk_pixbuf_loader_get_pixbuf(pLoader) : nullptr;
    if (pPixbuf)
        g_object_ref(pPixbuf);
    g_object_unref(pLoader);
    return pPixbuf;
}

// Copies the picture's colours into a bitmap's surface.
void CopyPixbuf(GdkPixbuf* pPixbuf, CGdiBitmap& bitmap)
{
    int nChannels = gdk_pixbuf_get_n_channels(pPixbuf);
    int nStride = gdk_pixbuf_get_rowstride(pPixbuf);
    const guchar* pPixels = gdk_pixbuf_read_pixels(pPixbuf);
    for (int y = 0; y < bitmap.m_nHeight; ++y) {
        uint32_t* pRow = bitmap.Row(y);
        const guchar* pSource = pPixels + static_cast<size_t>(y) * nStride;
        for (int x = 0; x < bitmap.m_nWidth; ++x) {
            const guchar* p = pSource + x * nChannels;
            pRow[x] = (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
        }
    }
    bitmap.PushBits();
}

bool IsUsablePixbuf(GdkPixbuf* pPixbuf)
{
    return pPixbuf && gdk_pixbuf_get_bits_per_sample(pPixbuf) == 8 && gdk_pixbuf_get_n_channels(pPixbuf) >= 3;
}

bool ReadHostFile(LPCTSTR lpszPath, std::vector<char>& bytes)
{
    std::string strHostPath;
    if (!lpszPath || !HostPathFromProgramPath(lpszPath, strHostPath))
        return false;
    std::ifstream file(strHostPath, std::ios::binary);
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

}

HBITMAP DecodePicture(const void* pData, size_t cbData)
{
    GdkPixbuf* pPixbuf = DecodePixbuf(pData, cbData);
    if (!IsUsablePixbuf(pPixbuf)) {
        if (pPixbuf)
            g_object_unref(pPixbuf);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    auto lock = GdiLock();
    HBITMAP hBitmap = CreateDibSection32(gdk_pixbuf_get_width(pPixbuf), gdk_pixbuf_get_height(pPixbuf));
    if (hBitmap)
        CopyPixbuf(pPixbuf, *LookupGdi<CGdiBitmap>(hBitmap));
    g_object_unref(pPixbuf);
    return hBitmap;
}

HBITMAP LoadPictureFile(LPCTSTR lpszPath)
{
    std::vector<char> bytes;
    if (!ReadHostFile(lpszPath, bytes))
        return nullptr;
    return DecodePicture(bytes.data(), bytes.size());
}

HBITMAP DecodePictureWithMask(const void* pData, size_t cbData, HBITMAP* phbmMask)
{
    if (!phbmMask) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    *phbmMask = nullptr;
    HBITMAP hColor = DecodePicture(pData, cbData);
    if (!hColor)
        return nullptr;
    GdkPixbuf* pPixbuf = DecodePixbuf(pData, cbData);
    auto lock = GdiLock();
    auto pColor = LookupGdi<CGdiBitmap>(hColor);
    std::shared_ptr<CGdiBitmap> pMask = CGdiBitmap::Make(pColor->m_nWidth, pColor->m_nHeight, 1);
    if (!pPixbuf || !pMask) {
        if (pPixbuf)
            g_object_unref(pPixbuf);
        DeleteObject(hColor);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bool bAlpha = gdk_pixbuf_get_has_alpha(pPixbuf);
    int nChannels = gdk_pixbuf_get_n_channels(pPixbuf);
    int nStride = gdk_pixbuf_get_rowstride(pPixbuf);
    const guchar* pPixels = gdk_pixbuf_read_pixels(pPixbuf);
    pColor->PullBits();
    for (int y = 0; y < pMask->m_nHeight; ++y) {
        uint32_t* pMaskRow = pMask->Row(y);
        uint32_t* pColorRow = pColor->Row(y);
        for (int x = 0; x < pMask->m_nWidth; ++x) {
            bool bClear = bAlpha && pPixels[static_cast<size_t>(y) * nStride + x * nChannels + 3] < 128;
            pMaskRow[x] = bClear ? 0xFFFFFF : 0;
            if (bClear)
                pColorRow[x] = 0;
        }
    }
    g_object_unref(pPixbuf);
    pColor->PushBits();
    pMask->PushBits();
    *phbmMask = static_cast<HBITMAP>(AddGdiObject(pMask));
    return hColor;
}

HBITMAP LoadPictureFileWithMask(LPCTSTR lpszPath, HBITMAP* phbmMask)
{
    std::vector<char> bytes;
    if (!ReadHostFile(lpszPath, bytes))
        return nullptr;
    return DecodePictureWithMask(bytes.data(), bytes.size(), phbmMask);
}

HBITMAP LoadBitmap(HINSTANCE hInstance, LPCTSTR lpBitmapName)
{
    HRSRC hResource = FindResource(hInstance, lpBitmapName, RT_BITMAP);
    if (!hResource)
        return nullptr;
    HGLOBAL hData = LoadResource(hInstance, hResource);
    const void* pData = hData ? LockResource(hData) : nullptr;
    DWORD cbData = SizeofResource(hInstance, hResource);
    GdkPixbuf* pPixbuf = DecodePixbuf(pData, cbData);
    if (!IsUsablePixbuf(pPixbuf)) {
        if (pPixbuf)
            g_object_unref(pPixbuf);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    auto lock = GdiLock();
    std::shared_ptr<CGdiBitmap> pBitmap
        = CGdiBitmap::Make(gdk_pixbuf_get_width(pPixbuf), gdk_pixbuf_get_height(pPixbuf), 32);
    if (pBitmap)
        CopyPixbuf(pPixbuf, *pBitmap);
    g_object_unref(pPixbuf);
    if (!pBitmap) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return static_cast<HBITMAP>(AddGdiObject(pBitmap));
}

/*************************************************************************
 * Writing PNG
 *************************************************************************/

namespace {

// Writes the rows with libpng; false on any failure, which libpng reports by longjmp.
bool WritePng(FILE* pFile, int nWidth, int nHeight, const std::vector<png_byte>& rgb)
{
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!pPng)
        return false;
    png_infop pInfo = png_create_info_struct(pPng);
    if (!pInfo || setjmp(png_jmpbuf(pPng))) {
        png_destroy_write_struct(&pPng, &pInfo);
        return false;
    }
    png_init_io(pPng, pFile);
    png_set_IHDR(pPng, pInfo, static_cast<png_uint_32>(nWidth), static_cast<png_uint_32>(nHeight), 8,
        PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(pPng, pInfo);
    for (int y = 0; y < nHeight; ++y)
        png_write_row(pPng, rgb.data() + static_cast<size_t>(y) * nWidth * 3);
    png_write_end(pPng, pInfo);
    png_destroy_write_struct(&pPng, &pInfo);
    return true;
}

BOOL SavePixels(CGdiBitmap& bitmap, LPCTSTR lpszPath)
{
    std::string strHostPath;
    if (!lpszPath || !HostPathFromProgramPath(lpszPath, strHostPath))
        return FALSE;
    bitmap.PullBits();
    std::vector<png_byte> rgb;
    rgb.reserve(static_cast<size_t>(bitmap.m_nWidth) * bitmap.m_nHeight * 3);
    for (int y = 0; y < bitmap.m_nHeight; ++y) {
        const uint32_t* pRow = bitmap.Row(y);
        for (int x = 0; x < bitmap.m_nWidth; ++x)
            rgb.insert(rgb.end(),
                { static_cast<png_byte>(pRow[x] >> 16), static_cast<png_byte>(pRow[x] >> 8),
                    static_cast<png_byte>(pRow[x]) });
    }
    FILE* pFile = std::fopen(strHostPath.c_str(), "wb");
    if (!pFile) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    bool bWritten = WritePng(pFile, bitmap.m_nWidth, bitmap.m_nHeight, rgb);
    bool bClosed = std::fclose(pFile) == 0;
    if (!bWritten || !bClosed) {
        std::remove(strHostPath.c_str());
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return TRUE;
}

}

BOOL SaveBitmapAsPng(HBITMAP hbm, LPCTSTR lpszPath)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiBitmap> pBitmap = LookupGdi<CGdiBitmap>(hbm);
    return pBitmap && SavePixels(*pBitmap, lpszPath);
}

BOOL SaveDcAsPng(HDC hdc, LPCTSTR lpszPath)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    return pDc && SavePixels(*pDc->m_state.bitmap, lpszPath);
}
