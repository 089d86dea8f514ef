#pragma once

// A memory file whose buffer is one global memory block, so that what is
// written can be handed on by handle (to the clipboard, for instance). The
// block is made on the first write with the given GMEM_* flags, grows in
// steps of nGrowBytes, and stays locked while the file holds it.

#include "platform/base/CMemFile.h"
#include "platform/base/GlobalMemory.h"

class CSharedFile : public CMemFile {
    DECLARE_DYNAMIC(CSharedFile)

public:
    explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
    ~CSharedFile() override;

    // Hands the block over, cut to the file's length, and leaves the file
    // empty and closed; NULL when nothing was ever written. The block comes
    // back locked once, as the file held it: unlock it before handing it on.
    HGLOBAL Detach();

protected:
    BYTE* Alloc(SIZE_T nBytes) override;
    BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes) override;
    void Free(BYTE* lpMem) override;

private:
    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory { nullptr };
};
