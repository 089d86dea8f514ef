#pragma once

// Kills in the middle of catalog writes. Each round forks a writer that runs a
// long random sequence of writes on the main catalog of the program folder
// (documents added, linked, moved, unlinked and deleted, groups made and
// deleted, the catalogs rebuilt), logging each write before it starts and
// again once it is done, and kills it after a random time. Every other round
// then copies the folder's catalogs and journals (each becomes another file of
// the same name and bytes). The round then starts the program's side again (the web settings loaded and settled), and
// checks what a user would notice:
//   - both catalogs pass the whole-file check, which finds no directory
//     miscounted and no expiry date at odds with its expiring-documents link;
//   - every write the writer finished is there, and nothing else changed,
//     except what the write it was killed in touches;
//   - the web profile's grants name the granted groups of the catalog in
//     place, and a session under it sees no document outside them.
// The program folder (ARCHIVORA_HOME) is the caller's; the soak owns the
// catalogs and the web settings there.

#include <memory>

struct CCatalogSoakFigures {
    int nKills { 0 };            // writers killed in the middle of their writes
    int nCopies { 0 };           // kills checked in a copy of the folder (every file another)
    long nWrites { 0 };          // writes they finished before
    int nRebuilds { 0 };         // rebuilds among those
    int nRebuildKills { 0 };     // kills that landed in a rebuild
    int nWriterFailures { 0 };   // writers that stopped on their own: a write failed
    int nCheckFailures { 0 };    // kills after which a catalog failed the whole-file check
    int nMiscounts { 0 };        // directories the check found miscounted after a kill
    int nExpiryMismatches { 0 }; // documents whose expiry date and expiring-documents link disagreed
    int nLosses { 0 };           // finished writes whose result was missing
    int nPhantoms { 0 };         // links found that no write made
    int nGrantErrors { 0 };      // grants naming no granted group after a kill
    int nLeaks { 0 };            // documents a session saw outside its grants

    bool IsClean() const
    {
        return nWriterFailures == 0 && nCheckFailures == 0 && nMiscounts == 0 && nExpiryMismatches == 0 && nLosses == 0
            && nPhantoms == 0 && nGrantErrors == 0 && nLeaks == 0;
    }
};

class CCatalogSoak {
public:
    // nSeed drives every random choice; a kill lands within nMaxKillMs
    // milliseconds of the writer's start.
    CCatalogSoak(unsigned nSeed, int nMaxKillMs);
    ~CCatalogSoak();
    CCatalogSoak(const CCatalogSoak&) = delete;
    CCatalogSoak& operator=(const CCatalogSoak&) = delete;

    // Creates the catalogs with their groups, and web settings whose one
    // profile grants the public groups. False when that failed.
    bool Start();
    // One kill and its checks; false when the round could not run (a fork or
    // a file of the round failed), with the figures as far as they got.
    bool RunRound();
    const CCatalogSoakFigures& GetFigures() const;

private:
    class CState;
    std::unique_ptr<CState> m_pState;
};
