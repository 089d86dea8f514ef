#pragma once

// For fuzz targets that measure or draw text: the font system keeps its
// caches until the process ends, which are no leaks of the target.
extern "C" const char* __lsan_default_suppressions() // NOLINT(bugprone-reserved-identifier): the sanitizer names it
{
    return "leak:libfontconfig\nleak:libgio\n";
}
