#include "webaccess/server/CWALoginThrottle.h"

#include <algorithm>

namespace {

// Whether dwUntil lies after dwNow, across the wrap of the tick count.
bool IsBefore(DWORD dwNow, DWORD dwUntil)
{
    return static_cast<LONG>(dwUntil - dwNow) > 0;
}

} // namespace

bool CWALoginThrottle::IsHeld(const CString& strUserId, DWORD dwNow) const
{
    auto it = m_records.find(strUserId);
    return it != m_records.end() && it->second.nFailures > FREE_FAILURES && IsBefore(dwNow, it->second.dwHeldUntil);
}

void CWALoginThrottle::NoteFailure(const CString& strUserId, DWORD dwNow)
{
    auto it = m_records.find(strUserId);
    if (it == m_records.end()) {
        if (m_records.size() >= MAX_RECORDS)
            MakeRoom(dwNow);
        it = m_records.emplace(strUserId, CRecord {}).first;
    } else if (dwNow - it->second.dwLastFailure >= QUIET_RESET) {
        it->second = CRecord {};
    }
    CRecord& record = it->second;
    ++record.nFailures;
    record.dwLastFailure = dwNow;
    if (record.nFailures <= FREE_FAILURES)
        return;
    const int nShift = std::min(record.nFailures - FREE_FAILURES - 1, 20);
    record.dwHeldUntil = dwNow + std::min<DWORD>(FIRST_HOLD << nShift, LONGEST_HOLD);
}

void CWALoginThrottle::MakeRoom(DWORD dwNow)
{
    std::erase_if(m_records, [dwNow](const auto& entry) {
        return entry.second.nFailures <= FREE_FAILURES || !IsBefore(dwNow, entry.second.dwHeldUntil);
    });
    if (m_records.size() < MAX_RECORDS)
        return;
    auto itFirst = std::min_element(m_records.begin(), m_records.end(), [dwNow](const auto& a, const auto& b) {
        return static_cast<LONG>(a.second.dwHeldUntil - dwNow) < static_cast<LONG>(b.second.dwHeldUntil - dwNow);
    });
    m_records.erase(itFirst);
}
