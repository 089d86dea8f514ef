// Kills a catalog writer in the middle of its writes again and again (see
// bench/CatalogSoak.h) and prints what the checks after the kills found, as
// "name: value" lines. Arguments: the number of kills (default 300) and, when
// given, a time limit in seconds that ends the run earlier, then a seed.
// The files live in a temporary program folder that is removed at the end.

#include "bench/CatalogSoak.h"
#include "tests/support/ScratchFolder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    const int nKills = argc > 1 ? std::atoi(argv[1]) : 300;
    const double dSeconds = argc > 2 ? std::atof(argv[2]) : 0;
    const unsigned nSeed = argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 1;
    const ScratchFolder folder("catalog_soak.");
    if (nKills < 1 || dSeconds < 0 || !folder.IsValid()) {
        std::fprintf(stderr, "usage: catalog_soak [kills [seconds [seed]]]\n");
        return 1;
    }
    setenv("ARCHIVORA_HOME", folder.Path().c_str(), 1);
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    int nStatus = 0;
    {
        CCatalogSoak soak(nSeed, 150);
        if (!soak.Start()) {
            std::fprintf(stderr, "catalog_soak: cannot create the catalogs\n");
            nStatus = 1;
        }
        while (nStatus == 0 && soak.GetFigures().nKills < nKills && (dSeconds == 0 || elapsed() < dSeconds)) {
            if (!soak.RunRound()) {
                std::fprintf(stderr, "catalog_soak: a round could not run\n");
                nStatus = 1;
            }
        }
        const CCatalogSoakFigures& figures = soak.GetFigures();
        std::printf("kills_tried: %d\n", figures.nKills);
        std::printf("kills_checked_in_a_copied_folder: %d\n", figures.nCopies);
        std::printf("writes_completed: %ld\n", figures.nWrites);
        std::printf("rebuilds_completed: %d\n", figures.nRebuilds);
        std::printf("kills_in_rebuilds: %d\n", figures.nRebuildKills);
        std::printf("losses_found: %d\n", figures.nLosses);
        std::printf("phantom_links: %d\n", figures.nPhantoms);
        std::printf("check_failures: %d\n", figures.nCheckFailures);
        std::printf("miscounted_directories: %d\n", figures.nMiscounts);
        std::printf("expiry_mismatches: %d\n", figures.nExpiryMismatches);
        std::printf("grant_errors: %d\n", figures.nGrantErrors);
        std::printf("session_leaks: %d\n", figures.nLeaks);
        std::printf("writer_failures: %d\n", figures.nWriterFailures);
        std::printf("seconds: %.1f\n", elapsed());
        if (!figures.IsClean())
            nStatus = 2;
    }
    return nStatus;
}
