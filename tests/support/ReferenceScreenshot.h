#pragma once

// A window compared with its reference picture: the driver's screenshot of
// it, through PictureMismatch (ReferencePictures.h). Needs the test driver's
// library and ReferencePictures.cpp.

#include "platform/base/PathMap.h"
#include "platform/gdi/Pictures.h"
#include "platform/testing/TestDriver.h"
#include "tests/support/ReferencePictures.h"

#include <optional>
#include <string>

// What differs between the window as it shows and the reference PNG (a host
// path); nothing when they match. The shot is taken in `folder`.
inline std::optional<std::string> ScreenshotMismatch(
    HWND hWnd, const std::filesystem::path& reference, TempFolder& folder)
{
    const std::string strShot = ProgramPathFromHostPath((folder / "shot.png").string());
    if (!CTestDriver::Screenshot(hWnd, strShot.c_str()))
        return "no screenshot of the window";
    HBITMAP hbm = LoadPictureFile(strShot.c_str());
    if (!hbm)
        return "the screenshot cannot be read";
    return PictureMismatch(hbm, reference, folder);
}
