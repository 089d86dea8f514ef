#include "platform/shell/WavFile.h"

#include "platform/base/WinError.h"

#include <cstring>

namespace {

constexpr WORD FORMAT_PCM = 1;
constexpr WORD FORMAT_FLOAT = 3;
constexpr WORD FORMAT_EXTENSIBLE = 0xFFFE;
// The tail every extensible subformat GUID shares after its format number.
constexpr BYTE SUBFORMAT_TAIL[14]
    = { 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };

WORD U16(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

DWORD U32(const BYTE* p)
{
    return DWORD { p[0] } | (DWORD { p[1] } << 8) | (DWORD { p[2] } << 16) | (DWORD { p[3] } << 24);
}

DWORD ReadFormat(const BYTE* pChunk, size_t nSize, CWavSound& sound)
{
    if (nSize < 16)
        return ERROR_BAD_FORMAT;
    WORD nFormat = U16(pChunk);
    sound.nChannels = U16(pChunk + 2);
    sound.nSampleRate = U32(pChunk + 4);
    WORD nBlockAlign = U16(pChunk + 12);
    sound.nBitsPerSample = U16(pChunk + 14);
    if (nFormat == FORMAT_EXTENSIBLE) {
        if (nSize < 40 || U16(pChunk + 16) < 22 || std::memcmp(pChunk + 26, SUBFORMAT_TAIL, sizeof SUBFORMAT_TAIL) != 0)
            return ERROR_BAD_FORMAT;
        nFormat = U16(pChunk + 24);
    }
    sound.bFloat = nFormat == FORMAT_FLOAT;
    bool bBits = sound.bFloat ? sound.nBitsPerSample == 32
                              : nFormat == FORMAT_PCM && sound.nBitsPerSample % 8 == 0 && sound.nBitsPerSample >= 8
            && sound.nBitsPerSample <= 32;
    if (!bBits || sound.nChannels < 1 || sound.nChannels > 8 || sound.nSampleRate < 8000 || sound.nSampleRate > 192000)
        return ERROR_NOT_SUPPORTED;
    if (nBlockAlign != sound.FrameSize())
        return ERROR_BAD_FORMAT;
    return ERROR_SUCCESS;
}

} // namespace

DWORD ReadWavFile(std::span<const BYTE> data, CWavSound& sound)
{
    if (data.size() < 12 || std::memcmp(data.data(), "RIFF", 4) != 0 || std::memcmp(data.data() + 8, "WAVE", 4) != 0)
        return ERROR_BAD_FORMAT;
    CWavSound read;
    bool bFormat = false;
    size_t nPos = 12;
    while (data.size() - nPos >= 8) {
        const BYTE* pHeader = data.data() + nPos;
        size_t nSize = U32(pHeader + 4);
        size_t nAvailable = data.size() - nPos - 8;
        if (std::memcmp(pHeader, "fmt ", 4) == 0) {
            if (nSize > nAvailable)
                return ERROR_BAD_FORMAT;
            if (DWORD dwError = ReadFormat(pHeader + 8, nSize, read))
                return dwError;
            bFormat = true;
        } else if (std::memcmp(pHeader, "data", 4) == 0) {
            if (!bFormat)
                return ERROR_BAD_FORMAT;
            size_t nTaken = std::min(nSize, nAvailable); // a short file plays what it holds
            if (nTaken > WAV_MAX_DATA)
                return ERROR_NOT_SUPPORTED;
            nTaken -= nTaken % read.FrameSize();
            read.samples.assign(pHeader + 8, pHeader + 8 + nTaken);
            sound = std::move(read);
            return ERROR_SUCCESS;
        }
        if (nSize > nAvailable)
            break;
        nPos += 8 + nSize + (nSize & 1); // chunks are padded to an even size
        if (nPos > data.size())
            break;
    }
    return ERROR_BAD_FORMAT;
}
