// The main of every test program. Each test program runs with a program folder
// and a home folder of its own (ARCHIVORA_HOME and HOME set to a fresh
// temporary folder, removed at the end) unless the caller set ARCHIVORA_HOME, so
// no test writes settings, catalogs or logs into the user's real folders, nor
// reads the user's mail profiles.

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<TempFolder> pHome;
    if (!std::getenv("ARCHIVORA_HOME")) {
        pHome = std::make_unique<TempFolder>();
        setenv("ARCHIVORA_HOME", pHome->Path().c_str(), 1);
        setenv("HOME", pHome->Path().c_str(), 1);
    }
    return RUN_ALL_TESTS();
}
