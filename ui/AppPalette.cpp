#include "ui/AppPalette.h"

#include "platform/framework/CDC.h"

CPalette* g_appPalette = nullptr;

void RealizeAppPalette(CDC* pDC)
{
    if (!g_appPalette)
        return;
    pDC->SelectPalette(g_appPalette, FALSE);
    pDC->RealizePalette();
}
