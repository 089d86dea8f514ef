#pragma once

// The test seam of the writers that can be made to fail: armed with n, the
// n-th call of Fire from then on (1 = the next one) returns true, once. Safe
// to arm and fire from several threads; a process-wide instance per writer.

#include <atomic>

class CFailureCountdown {
public:
    // n above 0 arms the n-th call from now; 0 (or below) disarms.
    void Arm(int nCall) { m_nLeft.store(nCall > 0 ? nCall : 0); }
    // True when this call is the one armed.
    bool Fire()
    {
        int nLeft = m_nLeft.load();
        while (nLeft > 0) {
            if (m_nLeft.compare_exchange_weak(nLeft, nLeft - 1))
                return nLeft == 1;
        }
        return false;
    }

private:
    std::atomic<int> m_nLeft { 0 };
};
