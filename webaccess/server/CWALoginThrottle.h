#pragma once

// Slows down the guessing of profile passwords. After a few wrong passwords
// under one user ID, the ID is held for a while, each further wrong password
// doubling the hold up to a ceiling; while held, every LOGIN of that ID is
// refused without its password being tried, so guesses cost time without the
// user-interface thread ever waiting. A good password clears the ID's record.
// Times are tick counts (GetTickCount); the number of records is bounded, so
// made-up IDs cannot grow it without end.

#include "platform/base/CString.h"

#include <map>

class CWALoginThrottle {
public:
    // clang-format off
    static constexpr int FREE_FAILURES  = 3;      // wrong passwords before the first hold
    static constexpr DWORD FIRST_HOLD   = 1000;   // ms
    static constexpr DWORD LONGEST_HOLD = 300000; // ms
    static constexpr DWORD QUIET_RESET  = 3600000; // ms without a wrong password: the ID starts afresh
    static constexpr size_t MAX_RECORDS = 1024;
    // clang-format on

    // Whether LOGINs of the ID are refused at dwNow.
    bool IsHeld(const CString& strUserId, DWORD dwNow) const;
    // A wrong password for the ID at dwNow.
    void NoteFailure(const CString& strUserId, DWORD dwNow);
    // A good one: the ID starts afresh.
    void NoteSuccess(const CString& strUserId) { m_records.erase(strUserId); }

private:
    struct CRecord {
        int nFailures { 0 };
        DWORD dwHeldUntil { 0 };
        DWORD dwLastFailure { 0 };
    };
    // Makes room for one more record: first those no longer held go, then
    // the one whose hold ends first.
    void MakeRoom(DWORD dwNow);

    std::map<CString, CRecord> m_records;
};
