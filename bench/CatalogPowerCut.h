#pragma once

// Power cuts in the middle of catalog writes. A session of user actions on
// the main catalog (documents added, linked, moved, unlinked, given an expiry
// date and deleted, groups made and deleted; each action one commit) runs
// from opening the catalogs to a clean close (every other action writing the
// blocks it appends in place before its journal, as a long update does)
// while every write, flush, creation and removal of their files is recorded
// through the store's write seam. Crash states are then made from the recording as a disk could hold
// them after a power cut at any point: everything each file had flushed
// before the cut, and of its later writes a random subset, applied in random
// order, some torn after a random number of their first 512-byte sectors.
// Each state is written into the catalog files (every other one as new files
// that take the names, as a copy of the folder holds them) and checked as a
// start-up after an unclean exit checks it:
//   - both catalogs pass the whole-file check (their journals replayed);
//   - the main catalog holds exactly what the actions committed before the
//     cut left, or that and the action in progress.
// The program folder (ARCHIVORA_HOME) is the caller's; the harness owns the
// catalogs there. Every random choice comes from the seed.

#include <memory>

struct CPowerCutFigures {
    int nActions { 0 };        // user actions in the recorded session
    int nEvents { 0 };         // writes, flushes, creations and removals recorded
    int nStates { 0 };         // crash states checked
    int nCopied { 0 };         // of those, checked in a copy of the folder (every file another)
    int nRefused { 0 };        // states in which a catalog failed the whole-file check
    int nDamaged { 0 };        // states that passed the check but hold what no action left
    int nLosses { 0 };         // states without an action committed before the cut
    int nMostLost { 0 };       // the most committed actions one state lacked
    int nInProgressKept { 0 }; // states that kept the action in progress too (allowed)
    int nTorn { 0 };           // writes torn in the states checked
    int nDropped { 0 };        // unflushed writes lost in the states checked

    bool IsClean() const { return nRefused == 0 && nDamaged == 0 && nLosses == 0; }
};

class CCatalogPowerCut {
public:
    explicit CCatalogPowerCut(unsigned nSeed);
    ~CCatalogPowerCut();
    CCatalogPowerCut(const CCatalogPowerCut&) = delete;
    CCatalogPowerCut& operator=(const CCatalogPowerCut&) = delete;

    // Creates the catalogs and records a session of nActions actions. The
    // journal starts a new generation every few actions, so that states fall
    // on both sides of those steps too. False when the session failed.
    bool Record(int nActions);
    // Makes and checks nStates crash states, their cuts spread over the whole
    // recording. False when a state could not be written.
    bool CheckStates(int nStates);
    const CPowerCutFigures& GetFigures() const;

private:
    class CState;
    std::unique_ptr<CState> m_pState;
};
