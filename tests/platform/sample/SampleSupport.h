#pragma once

// What the sample tests share: compiling a resource script of this folder into
// a module, and comparing a picture with a reference PNG of this folder.

#include "platform/window/WindowTypes.h"
#include "tests/support/TempFolder.h"

#include <optional>
#include <string>

// Compiles tests/platform/sample/<pszScript> into a module in `folder` and loads it; NULL on failure.
HMODULE LoadSampleModule(const char* pszScript, const TempFolder& folder);

// Compares the picture (the bitmap is taken and deleted) with the reference
// tests/platform/sample/<pszReference>, allowing a few pixels of anti-aliased
// text to change their shade. On a mismatch the picture is written into
// `folder`, which is kept, and the failure is described.
std::optional<std::string> PictureMismatch(HBITMAP hbmPicture, const char* pszReference, TempFolder& folder);
