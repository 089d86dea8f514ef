#include "platform/base/PageRun.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace {

void* MapAnonymous(std::size_t nBytes)
{
    void* p = ::mmap(nullptr, nBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    return p;
}

} // namespace

CPageRun::CPageRun(std::size_t nBytes)
    : m_nSize(nBytes)
{
    if (nBytes == 0)
        throw std::bad_alloc();
    if (nBytes < LARGE_PAGE_SIZE) {
        m_nMapped = nBytes;
        m_pData = static_cast<BYTE*>(MapAnonymous(nBytes));
        return;
    }
    // Large pages need a large-page boundary: map one large page more than
    // asked and give back what lies before the boundary and after the run.
    m_nMapped = (nBytes + LARGE_PAGE_SIZE - 1) / LARGE_PAGE_SIZE * LARGE_PAGE_SIZE;
    auto* pMapped = static_cast<BYTE*>(MapAnonymous(m_nMapped + LARGE_PAGE_SIZE));
    std::size_t nHead
        = (LARGE_PAGE_SIZE - reinterpret_cast<std::uintptr_t>(pMapped) % LARGE_PAGE_SIZE) % LARGE_PAGE_SIZE;
    if (nHead != 0)
        ::munmap(pMapped, nHead);
    if (std::size_t nTail = LARGE_PAGE_SIZE - nHead; nTail != 0)
        ::munmap(pMapped + nHead + m_nMapped, nTail);
    m_pData = pMapped + nHead;
    (void)::madvise(m_pData, m_nMapped, MADV_HUGEPAGE); // a hint: refused, the run still works
}

CPageRun::~CPageRun()
{
    ::munmap(m_pData, m_nMapped);
}
