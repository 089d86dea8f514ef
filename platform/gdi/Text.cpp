#include "platform/gdi/Text.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/TextEngine.h"
#include "platform/gdi/TextLayout.h"

#include <algorithm>
#include <cstring>

/*************************************************************************
 * Fonts
 *************************************************************************/

HFONT CreateFontIndirect(const LOGFONT* lplf)
{
    if (!lplf) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto lock = GdiLock();
    auto pFont = std::make_shared<CGdiFont>();
    pFont->m_log = *lplf;
    pFont->m_log.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(AddGdiObject(pFont));
}

HFONT CreateFont(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
    DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
    DWORD iPitchAndFamily, LPCTSTR pszFaceName)
{
    LOGFONT log {};
    log.lfHeight = cHeight;
    log.lfWidth = cWidth;
    log.lfEscapement = cEscapement;
    log.lfOrientation = cOrientation;
    log.lfWeight = cWeight;
    log.lfItalic = bItalic ? 1 : 0;
    log.lfUnderline = bUnderline ? 1 : 0;
    log.lfStrikeOut = bStrikeOut ? 1 : 0;
    log.lfCharSet = static_cast<BYTE>(iCharSet);
    log.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
    log.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
    log.lfQuality = static_cast<BYTE>(iQuality);
    log.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
    if (pszFaceName)
        std::strncpy(log.lfFaceName, pszFaceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&log);
}

BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC lptm)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc || !lptm)
        return FALSE;
    *lptm = FontMetrics(*pDc->m_state.font);
    return TRUE;
}

int GetTextFace(HDC hdc, int c, LPTSTR lpName)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return 0;
    const char* pszFace = pDc->m_state.font->m_log.lfFaceName;
    int nLength = static_cast<int>(strnlen(pszFace, LF_FACESIZE - 1));
    if (!lpName)
        return nLength + 1;
    if (c <= 0)
        return 0;
    int nCopied = std::min(nLength, c - 1);
    std::memcpy(lpName, pszFace, nCopied);
    lpName[nCopied] = '\0';
    return nCopied + 1;
}

/*************************************************************************
 * Measuring
 *************************************************************************/

namespace {

std::string_view TextOf(LPCTSTR psz, int c)
{
    if (!psz)
        return {};
    return c < 0 ? std::string_view(psz) : std::string_view(psz, static_cast<size_t>(c));
}

}

BOOL GetTextExtentPoint32(HDC hdc, LPCTSTR lpString, int c, LPSIZE psizl)
{
    return GetTextExtentExPoint(hdc, lpString, c, 0, nullptr, nullptr, psizl);
}

BOOL GetTextExtentPoint(HDC hdc, LPCTSTR lpString, int c, LPSIZE psizl)
{
    return GetTextExtentPoint32(hdc, lpString, c, psizl);
}

BOOL GetTextExtentExPoint(
    HDC hdc, LPCTSTR lpszString, int cchString, int nMaxExtent, LPINT lpnFit, LPINT lpnDx, LPSIZE lpSize)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    if (!lpSize || cchString < 0 || (cchString > 0 && !lpszString)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string_view text = TextOf(lpszString, cchString);
    CGdiFont& font = *pDc->m_state.font;
    if (!lpnFit && !lpnDx) {
        *lpSize = SIZE { LineWidth(font, text), FontMetrics(font).tmHeight };
        return TRUE;
    }
    std::shared_ptr<const CTextLine> pLine = ShapedLine(font, text);
    const CTextLine& line = *pLine;
    if (lpnFit || lpnDx) {
        int nFit = 0;
        size_t nCharStart = 0;
        for (size_t i = 1; i <= text.size(); ++i) {
            if (!IsCharacterStart(text, i))
                continue;
            int nExtent = line.WidthOf(i);
            if (lpnDx)
                std::fill(lpnDx + nCharStart, lpnDx + i, nExtent);
            if (nExtent <= nMaxExtent && nFit == static_cast<int>(nCharStart))
                nFit = static_cast<int>(i);
            nCharStart = i;
        }
        if (lpnFit)
            *lpnFit = nFit;
    }
    *lpSize = SIZE { line.Width(), FontMetrics(font).tmHeight };
    return TRUE;
}

DWORD GetTabbedTextExtent(HDC hdc, LPCTSTR lpString, int chCount, int nTabPositions, const INT* lpnTabStopPositions)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return 0;
    CGdiFont& font = *pDc->m_state.font;
    const TEXTMETRIC& tm = FontMetrics(font);
    CTabStops tabs(8 * tm.tmAveCharWidth);
    if (nTabPositions == 1 && lpnTabStopPositions && lpnTabStopPositions[0] > 0)
        tabs = CTabStops(lpnTabStopPositions[0]);
    else if (nTabPositions > 1 && lpnTabStopPositions)
        tabs.SetStops(std::vector<int>(lpnTabStopPositions, lpnTabStopPositions + nTabPositions));
    int nWidth = MeasureTabbedLine(font, TextOf(lpString, std::max(chCount, 0)), tabs);
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(nWidth), static_cast<WORD>(tm.tmHeight)));
}

/*************************************************************************
 * Drawing
 *************************************************************************/

BOOL TextOut(HDC hdc, int x, int y, LPCTSTR lpString, int c)
{
    if (c < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ExtTextOut(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCTSTR lpString, UINT c, const INT* lpDx)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    if (c > 0 && !lpString) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DcState& state = pDc->m_state;
    CGdiFont& font = *state.font;
    const TEXTMETRIC& tm = FontMetrics(font);
    std::string_view text = TextOf(lpString, static_cast<int>(c));

    // Where each character starts, from lpDx or from the font.
    std::vector<std::pair<size_t, int>> characterStarts; // byte offset of a character and its x
    int nWidth = 0;
    std::shared_ptr<const CTextLine> pLine = ShapedLine(font, text);
    const CTextLine& line = *pLine;
    if (lpDx) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (IsCharacterStart(text, i))
                characterStarts.emplace_back(i, nWidth);
            nWidth += lpDx[i];
        }
    } else {
        nWidth = line.Width();
    }

    bool bUpdateCp = state.nTextAlign & TA_UPDATECP;
    POINT ptRef = bUpdateCp ? state.ptCurrent : POINT { x, y };
    int nLeft = ptRef.x;
    switch (state.nTextAlign & TA_CENTER) {
    case TA_RIGHT:
        nLeft -= nWidth;
        break;
    case TA_CENTER:
        nLeft -= nWidth / 2;
        break;
    default:
        break;
    }
    int nTop = ptRef.y;
    switch (state.nTextAlign & TA_BASELINE) {
    case TA_BASELINE:
        nTop -= tm.tmAscent;
        break;
    case TA_BOTTOM:
        nTop -= tm.tmHeight;
        break;
    default:
        break;
    }

    {
        CPixelTarget target(*pDc);
        std::optional<RECT> rcClip;
        if (lprect && (options & ETO_CLIPPED))
            rcClip = pDc->ToDevice(*lprect);
        // The background is a solid fill of whole spans, within the clip rectangle when there is one.
        CGdiBrush background;
        background.m_log = LOGBRUSH { BS_SOLID, state.crBk, 0 };
        auto fill = [&](RECT rcArea) {
            if (rcClip) {
                rcArea.left = std::max(rcArea.left, rcClip->left);
                rcArea.top = std::max(rcArea.top, rcClip->top);
                rcArea.right = std::min(rcArea.right, rcClip->right);
                rcArea.bottom = std::min(rcArea.bottom, rcClip->bottom);
            }
            if (rcArea.right > rcArea.left && rcArea.bottom > rcArea.top)
                target.FillRect(rcArea, background, CPixelTarget::Mix::Copy);
        };
        if (lprect && (options & ETO_OPAQUE))
            fill(pDc->ToDevice(*lprect));
        else if (state.nBkMode == OPAQUE)
            fill(pDc->ToDevice(RECT { nLeft, nTop, nLeft + nWidth, nTop + tm.tmHeight }));
        POINT ptDevice = pDc->ToDevice(nLeft, nTop);
        const RECT* pClip = rcClip ? &*rcClip : nullptr;
        if (!lpDx) {
            line.Draw(target, ptDevice.x, ptDevice.y, state.crText, pClip);
        } else {
            for (size_t i = 0; i < characterStarts.size(); ++i) {
                size_t nEnd = i + 1 < characterStarts.size() ? characterStarts[i + 1].first : text.size();
                ShapedLine(font, text.substr(characterStarts[i].first, nEnd - characterStarts[i].first))
                    ->Draw(target, ptDevice.x + characterStarts[i].second, ptDevice.y, state.crText, pClip);
            }
        }
    }

    if (bUpdateCp) {
        if ((state.nTextAlign & TA_CENTER) == TA_LEFT)
            state.ptCurrent.x += nWidth;
        else if ((state.nTextAlign & TA_CENTER) == TA_RIGHT)
            state.ptCurrent.x -= nWidth;
    }
    return TRUE;
}
