// Links: platform_shell
// Feeds arbitrary bytes to the WAV reader.

#include "platform/shell/WavFile.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CWavSound sound;
    static_cast<void>(ReadWavFile(std::span<const BYTE>(pData, nSize), sound));
    return 0;
}
