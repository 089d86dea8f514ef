// Links: platform_display
// Decodes arbitrary bytes as a settings manager's XSETTINGS property: it must
// end without reading past the data, whatever the counts and lengths say.

#include "platform/display/XSettings.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    DecodeXSettingsIntegers(std::span(pData, nSize));
    return 0;
}
