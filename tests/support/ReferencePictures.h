#pragma once

// Resource scripts compiled at test time, and pictures compared with
// reference PNGs kept in the source tree. Test folders that use these add
// ReferencePictures.cpp to their sources (it needs the drawing layer).

#include "platform/window/WindowTypes.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// Compiles the resource script (a host path) into a module in `folder` and loads it; NULL on failure.
HMODULE LoadScriptModule(const std::filesystem::path& script, const TempFolder& folder);

// Compares the picture (the bitmap is taken and deleted) with the reference
// PNG (a host path), allowing a few pixels of anti-aliased text to change
// their shade; the difference described, nothing when they match.
std::optional<std::string> PictureDifference(HBITMAP hbmPicture, const std::filesystem::path& reference);
// The same, and on a mismatch the picture is written into `folder`, which is
// kept, and the failure is described.
std::optional<std::string> PictureMismatch(
    HBITMAP hbmPicture, const std::filesystem::path& reference, TempFolder& folder);

class CTestDriver;

// The same for a picture shown somewhere else (an X server) some time after
// the program drew it: `capture` (a new bitmap, NULL while there is nothing
// to take) is taken again, the driver pumping between, until it matches or
// 10 s have passed; then the last one counts.
std::optional<std::string> SettledPictureMismatch(CTestDriver& driver, const std::function<HBITMAP()>& capture,
    const std::filesystem::path& reference, TempFolder& folder);
