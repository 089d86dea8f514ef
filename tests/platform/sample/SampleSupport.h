#pragma once

// What the sample tests share: compiling a resource script of this folder into
// a module, comparing a picture with a reference PNG of this folder, and the
// fixture that does both.

#include "platform/window/WindowTypes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

// Compiles tests/platform/sample/<pszScript> into a module in `folder` and loads it; NULL on failure.
HMODULE LoadSampleModule(const char* pszScript, const TempFolder& folder);

// Compares the picture (the bitmap is taken and deleted) with the reference
// tests/platform/sample/<pszReference>, allowing a few pixels of anti-aliased
// text to change their shade. On a mismatch the picture is written into
// `folder`, which is kept, and the failure is described.
std::optional<std::string> PictureMismatch(HBITMAP hbmPicture, const char* pszReference, TempFolder& folder);

// A test on the module compiled from a resource script of this folder, made
// the current resource module while the test runs.
class SampleModuleTest : public ::testing::Test {
protected:
    explicit SampleModuleTest(const char* pszScript)
        : m_pszScript(pszScript)
    {
    }
    void SetUp() override;
    void TearDown() override;

    // Compares a picture (a bitmap this takes over) with the reference.
    void ExpectPictureMatches(HBITMAP hbmPicture, const char* pszReference);

    TempFolder m_folder;
    HMODULE m_hModule { nullptr };
    HINSTANCE m_hPrevious { nullptr };

private:
    const char* m_pszScript;
};
