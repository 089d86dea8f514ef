// Power cuts in the middle of catalog writes (see bench/CatalogPowerCut.h):
// records a session of user actions, then checks crash states made from it
// and prints what the checks found, as "name: value" lines. Arguments: the
// number of actions (default 200), of crash states (default 5000) and the
// seed (default 1). The files live in a temporary program folder that is
// removed at the end. Flushes are recorded, not made: the states are what a
// disk could hold, and their checking is not timed.

#include "bench/CatalogPowerCut.h"
#include "platform/base/HostFile.h"
#include "tests/support/ScratchFolder.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    const int nActions = argc > 1 ? std::atoi(argv[1]) : 200;
    const int nStates = argc > 2 ? std::atoi(argv[2]) : 5000;
    const unsigned nSeed = argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 1;
    const ScratchFolder folder("catalog_powercut.");
    if (nActions < 1 || nStates < 1 || !folder.IsValid()) {
        std::fprintf(stderr, "usage: catalog_powercut [actions [states [seed]]]\n");
        return 1;
    }
    setenv("ARCHIVORA_HOME", folder.Path().c_str(), 1);
    SetHostFlushesSkipped(true);
    CCatalogPowerCut harness(nSeed);
    if (!harness.Record(nActions)) {
        std::fprintf(stderr, "catalog_powercut: the session could not be recorded\n");
        return 1;
    }
    if (!harness.CheckStates(nStates)) {
        std::fprintf(stderr, "catalog_powercut: a crash state could not be written\n");
        return 1;
    }
    const CPowerCutFigures& figures = harness.GetFigures();
    std::printf("actions: %d\n", figures.nActions);
    std::printf("events_recorded: %d\n", figures.nEvents);
    std::printf("states_checked: %d\n", figures.nStates);
    std::printf("states_in_a_copied_folder: %d\n", figures.nCopied);
    std::printf("writes_dropped: %d\n", figures.nDropped);
    std::printf("writes_torn: %d\n", figures.nTorn);
    std::printf("states_refused: %d\n", figures.nRefused);
    std::printf("states_damaged_silently: %d\n", figures.nDamaged);
    std::printf("states_losing_committed_actions: %d\n", figures.nLosses);
    std::printf("most_committed_actions_lost: %d\n", figures.nMostLost);
    std::printf("states_keeping_the_action_in_progress: %d\n", figures.nInProgressKept);
    return figures.IsClean() ? 0 : 2;
}
