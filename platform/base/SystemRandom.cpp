#include "platform/base/SystemRandom.h"

#include <cerrno>
#include <cstddef>

#include <sys/random.h>

BOOLEAN RtlGenRandom(PVOID pBuffer, ULONG nLength)
{
    auto* pBytes = static_cast<unsigned char*>(pBuffer);
    size_t nDone = 0;
    while (nDone < nLength) {
        const ssize_t nRead = getrandom(pBytes + nDone, nLength - nDone, 0);
        if (nRead < 0) {
            if (errno == EINTR)
                continue;
            return FALSE;
        }
        nDone += static_cast<size_t>(nRead);
    }
    return TRUE;
}
