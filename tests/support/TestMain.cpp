// The main of every test program. Each test program runs with a program folder
// and a home folder of its own (ARCHIVORA_HOME and HOME set to a fresh
// temporary folder, removed at the end) unless the caller set ARCHIVORA_HOME, so
// no test writes settings, catalogs or logs into the user's real folders, nor
// reads the user's mail profiles. The user's own data and configuration
// folders (XDG_DATA_HOME, ...) are unset, so they too fall back into that home:
// no test reaches the real Trash, desktop or launchers.
//
// Flushes to the disk are skipped: the test programs' files live in temporary
// folders, and what a flush promises is checked through recorded writes.
//
// Under LeakSanitizer (the address sanitizer build), the leaks that are the
// system libraries' own caches are suppressed by lsan-suppressions.txt. Under
// ThreadSanitizer, races inside fontconfig are suppressed: it guards its shared
// caches with atomic operations of its own, which the sanitizer cannot see in
// a library not built with it, so every first use from a second thread looks
// like a race. The same holds for glib and gio, whose worker thread (started by
// the desktop's application lookup) shares memory with the window thread
// behind glib's own futex locks.

#include "platform/base/HostFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

extern "C" const char* __lsan_default_options() // NOLINT(bugprone-reserved-identifier): the sanitizer names it
{
    return "suppressions=" ARCHIVORA_SOURCE_DIR "/tests/support/lsan-suppressions.txt";
}

extern "C" const char* __tsan_default_suppressions() // NOLINT(bugprone-reserved-identifier): the sanitizer names it
{
    return "race:libfontconfig.so\n"
           "race:libglib-2.0.so\n"
           "race:libgio-2.0.so\n";
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    SetHostFlushesSkipped(true);
    std::unique_ptr<TempFolder> pHome;
    if (!std::getenv("ARCHIVORA_HOME")) {
        pHome = std::make_unique<TempFolder>();
        setenv("ARCHIVORA_HOME", pHome->Path().c_str(), 1);
        setenv("HOME", pHome->Path().c_str(), 1);
        for (const char* pszName : { "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME" })
            unsetenv(pszName);
    }
    return RUN_ALL_TESTS();
}
