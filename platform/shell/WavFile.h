#pragma once

// A reader of WAV sounds: a RIFF "WAVE" file with a "fmt " chunk of PCM
// (format 1: 8, 16, 24 or 32 bits), IEEE float (format 3: 32 bits) or the
// extensible format with such a subformat, 1 to 8 channels at 8 000 to 192 000
// samples a second, and a "data" chunk; other chunks are skipped. A data chunk
// that claims more than the file holds gives what is there. Damage and what
// cannot be played are refused whole with a reason, never read past.

#include "platform/base/WinTypes.h"

#include <span>
#include <vector>

// Sounds with more data than this are not played.
constexpr size_t WAV_MAX_DATA = 16 * 1024 * 1024;

struct CWavSound {
    WORD nChannels { 0 };
    DWORD nSampleRate { 0 };
    WORD nBitsPerSample { 0 };
    bool bFloat { false };
    std::vector<BYTE> samples; // interleaved frames, little-endian

    size_t FrameSize() const { return static_cast<size_t>(nChannels) * (nBitsPerSample / 8); }
    size_t FrameCount() const { return FrameSize() ? samples.size() / FrameSize() : 0; }
};

// ERROR_SUCCESS, ERROR_BAD_FORMAT (no WAV file, or a damaged one) or
// ERROR_NOT_SUPPORTED (a format, rate or size this player does not take).
DWORD ReadWavFile(std::span<const BYTE> data, CWavSound& sound);
