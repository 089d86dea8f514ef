// The program's entry point. It shows its windows on the X display named by
// $DISPLAY and runs without one (headless) when there is none or it refuses,
// saying so in one line. Until the application object exists, it reports the
// state of the platform layer and exits.

#include "platform/display/X11Display.h"
#include "platform/window/DisplayLink.h"

#include <cstdio>
#include <memory>
#include <string>

int main()
{
    std::string strReason;
    std::unique_ptr<CX11Display> pDisplay = CX11Display::Open(nullptr, &strReason);
    if (pDisplay)
        SetDisplay(pDisplay.get());
    else
        std::fprintf(stderr, "Archivora: running without a display: %s.\n", strReason.c_str());
    std::printf("Archivora: platform layer only; the application is not built yet.\n");
    SetDisplay(nullptr);
    return 0;
}
