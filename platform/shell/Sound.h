#pragma once

// sndPlaySound: a WAV file (WavFile.h) played on the ALSA device "default",
// or the one ARCHIVORA_SOUND_DEVICE names. SND_ASYNC plays in the background
// and SND_SYNC returns when done; a new sound stops the one playing, and a
// NULL name stops it. A device that is missing or busy never holds the
// caller: the player thread opens it while the caller waits at most
// SOUND_OPEN_WAIT_MS, and every write is bounded by the sound's length plus
// SOUND_OVERRUN_MS. Nothing is shown.
//
// A sound in the program folder that is not there is looked for by its name
// where the read-only program files are (ResourceModule.h): the program folder
// holds data, the installation the sounds.

#include "platform/base/WinTypes.h"

#include <mutex>
#include <string>
#include <vector>

// clang-format off
constexpr UINT SND_SYNC      = 0x0000;
constexpr UINT SND_ASYNC     = 0x0001;
constexpr UINT SND_NODEFAULT = 0x0002; // accepted: there is no default sound
constexpr UINT SND_MEMORY    = 0x0004; // not supported
constexpr UINT SND_LOOP      = 0x0008; // not supported
constexpr UINT SND_NOSTOP    = 0x0010; // not supported

constexpr DWORD SOUND_OPEN_WAIT_MS = 1000;
constexpr DWORD SOUND_OVERRUN_MS   = 2000;
// clang-format on

// TRUE when the sound plays (or played, with SND_SYNC); FALSE with the last
// error set: ERROR_FILE_NOT_FOUND, ERROR_BAD_FORMAT, ERROR_NOT_SUPPORTED (a
// format or a flag not supported), ERROR_NOT_READY (no device could be had).
BOOL sndPlaySound(LPCSTR lpszSound, UINT fuSound);

// While one exists, sndPlaySound plays nothing: it records each call (the
// host path the sound's name maps to, or the name itself when it maps to
// none; the flags) and answers TRUE, or FALSE when told. Recorders do not nest.
class CSoundRecorder {
public:
    struct CPlayed {
        std::string strHostPath; // empty for a stop (a NULL name)
        UINT fuSound;
    };

    CSoundRecorder();
    ~CSoundRecorder();
    CSoundRecorder(const CSoundRecorder&) = delete;
    CSoundRecorder& operator=(const CSoundRecorder&) = delete;

    std::vector<CPlayed> GetPlayed() const;
    // Makes the following calls fail with ERROR_NOT_READY.
    void FailSounds();

private:
    friend BOOL sndPlaySound(LPCSTR lpszSound, UINT fuSound);
    BOOL Record(const std::string& strHostPath, UINT fuSound);

    mutable std::mutex m_mutex;
    std::vector<CPlayed> m_played;
    bool m_bFail { false };
};
