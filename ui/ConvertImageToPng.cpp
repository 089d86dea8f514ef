#include "ui/ConvertImageToPng.h"

#include "platform/base/MulDiv.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "store/ContentReader.h"

#include <algorithm>

int ConvertImageToPng(LPCTSTR pszPath, int nWidth, int nHeight)
{
    CString strPicture, strFormat;
    if (nWidth <= 0 || nHeight <= 0 || !GetContentPicture(strPicture, strFormat))
        return 0;
    HBITMAP hbmPicture = LoadPictureFile(strPicture);
    if (!hbmPicture)
        return 0;
    BITMAP picture {};
    GetObject(hbmPicture, sizeof picture, &picture);

    // The zoom window's fit rule at zoom 0 with both scroll positions 0.
    int nDrawWidth = picture.bmWidth;
    int nDrawHeight = picture.bmHeight;
    if (nDrawWidth > nWidth || nDrawHeight > nHeight) {
        int nZoom = std::min(MulDiv(nWidth, 100, picture.bmWidth), MulDiv(nHeight, 100, picture.bmHeight));
        nZoom = std::max(nZoom, 1);
        nDrawWidth = MulDiv(picture.bmWidth, nZoom, 100);
        nDrawHeight = MulDiv(picture.bmHeight, nZoom, 100);
    }

    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hbmTarget = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HDC hdcTarget = CreateCompatibleDC(nullptr);
    HDC hdcPicture = CreateCompatibleDC(nullptr);
    int nResult = 0;
    if (hbmTarget && hdcTarget && hdcPicture) {
        HGDIOBJ hOldTarget = SelectObject(hdcTarget, hbmTarget);
        HGDIOBJ hOldPicture = SelectObject(hdcPicture, hbmPicture);
        PatBlt(hdcTarget, 0, 0, nWidth, nHeight, WHITENESS);
        SetStretchBltMode(hdcTarget, HALFTONE);
        StretchBlt(
            hdcTarget, 0, 0, nDrawWidth, nDrawHeight, hdcPicture, 0, 0, picture.bmWidth, picture.bmHeight, SRCCOPY);
        SelectObject(hdcPicture, hOldPicture);
        SelectObject(hdcTarget, hOldTarget);
        nResult = SaveBitmapAsPng(hbmTarget, pszPath) ? 1 : 0;
    }
    if (hdcPicture)
        DeleteDC(hdcPicture);
    if (hdcTarget)
        DeleteDC(hdcTarget);
    if (hbmTarget)
        DeleteObject(hbmTarget);
    DeleteObject(hbmPicture);
    return nResult;
}
