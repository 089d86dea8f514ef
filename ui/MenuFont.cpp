#include "ui/MenuFont.h"

#include "platform/framework/CGdiObject.h"
#include "platform/window/SystemMetrics.h"

BOOL CreateMenuFont(CFont& font, LONG nWeight)
{
    NONCLIENTMETRICS metrics {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONT logFont = metrics.lfMenuFont;
    logFont.lfWeight = nWeight;
    return font.CreateFontIndirect(&logFont);
}
