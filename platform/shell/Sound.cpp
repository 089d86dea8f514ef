#include "platform/shell/Sound.h"

#include "platform/base/PathMap.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/WavFile.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>

#include <alsa/asoundlib.h>
#include <sys/stat.h>

namespace {

std::atomic<CSoundRecorder*> g_pRecorder { nullptr };

// One sound being played, shared by the caller and its player thread.
struct CPlayback {
    enum class EState {
        Opening,
        Playing,
        Failed,
        Done,
    };

    std::mutex mutex;
    std::condition_variable changed;
    EState eState { EState::Opening };
    bool bStop { false }; // the caller wants it to end (a new sound, a stop, a caller that gave up)
    CWavSound sound;
    std::string strDevice;

    void SetState(EState eNew)
    {
        {
            std::lock_guard lock(mutex);
            eState = eNew;
        }
        changed.notify_all();
    }
    bool Stopped()
    {
        std::lock_guard lock(mutex);
        return bStop;
    }
};

snd_pcm_format_t FormatOf(const CWavSound& sound)
{
    if (sound.bFloat)
        return SND_PCM_FORMAT_FLOAT_LE;
    switch (sound.nBitsPerSample) {
    case 8:
        return SND_PCM_FORMAT_U8;
    case 16:
        return SND_PCM_FORMAT_S16_LE;
    case 24:
        return SND_PCM_FORMAT_S24_3LE;
    default:
        return SND_PCM_FORMAT_S32_LE;
    }
}

void QuietAlsa(const char*, int, const char*, int, const char*, ...) { }

// Plays on the player thread: opens the device (without blocking on a busy
// one), writes the frames in short runs, and never runs past the sound's
// length plus the overrun.
void PlayOnThread(const std::shared_ptr<CPlayback>& pPlayback)
{
    snd_pcm_t* pPcm = nullptr;
    const CWavSound& sound = pPlayback->sound;
    if (snd_pcm_open(&pPcm, pPlayback->strDevice.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        pPlayback->SetState(CPlayback::EState::Failed);
        return;
    }
    if (snd_pcm_set_params(
            pPcm, FormatOf(sound), SND_PCM_ACCESS_RW_INTERLEAVED, sound.nChannels, sound.nSampleRate, 1, 200000)
        < 0) {
        snd_pcm_close(pPcm);
        pPlayback->SetState(CPlayback::EState::Failed);
        return;
    }
    pPlayback->SetState(CPlayback::EState::Playing);
    auto length = std::chrono::milliseconds(sound.FrameCount() * 1000 / sound.nSampleRate);
    auto deadline = std::chrono::steady_clock::now() + length + std::chrono::milliseconds(SOUND_OVERRUN_MS);
    size_t nRun = std::max<size_t>(sound.nSampleRate / 20, 1); // 50 ms a write
    size_t nFrame = 0;
    while (nFrame < sound.FrameCount() && std::chrono::steady_clock::now() < deadline && !pPlayback->Stopped()) {
        size_t nCount = std::min(nRun, sound.FrameCount() - nFrame);
        snd_pcm_sframes_t nWritten = snd_pcm_writei(pPcm, sound.samples.data() + nFrame * sound.FrameSize(), nCount);
        if (nWritten == -EAGAIN) {
            snd_pcm_wait(pPcm, 50);
            continue;
        }
        if (nWritten < 0 && snd_pcm_recover(pPcm, static_cast<int>(nWritten), 1) < 0)
            break;
        nFrame += nWritten > 0 ? static_cast<size_t>(nWritten) : 0;
    }
    // What was written plays out, within the same bound.
    snd_pcm_sframes_t nDelay = 0;
    while (!pPlayback->Stopped() && std::chrono::steady_clock::now() < deadline && snd_pcm_delay(pPcm, &nDelay) == 0
        && nDelay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    snd_pcm_drop(pPcm);
    snd_pcm_close(pPcm);
    pPlayback->SetState(CPlayback::EState::Done);
}

// The sound playing now, so a new one or a stop can end it.
struct CPlayer {
    std::mutex mutex;
    std::shared_ptr<CPlayback> pCurrent;

    void StopCurrent()
    {
        std::shared_ptr<CPlayback> pOld;
        {
            std::lock_guard lock(mutex);
            pOld.swap(pCurrent);
        }
        if (pOld) {
            std::lock_guard lock(pOld->mutex);
            pOld->bStop = true;
        }
    }
};

CPlayer& Player()
{
    static auto* pPlayer = new CPlayer;
    return *pPlayer;
}

BOOL Fail(DWORD dwError)
{
    SetLastError(dwError);
    return FALSE;
}

bool IsFile(const std::string& strHostPath)
{
    struct stat info { };
    return stat(strHostPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The host path of a sound: its own, or, for a sound of the program folder
// that is not there, the read-only program file of that name.
std::string SoundHostPath(const std::string& strName)
{
    std::string strHostPath;
    if (HostPathFromProgramPath(strName.c_str(), strHostPath) && IsFile(strHostPath))
        return strHostPath;
    char szProgram[MAX_PATH];
    DWORD nLength = GetModuleFileName(nullptr, szProgram, MAX_PATH);
    std::string strProgramFolder(szProgram, nLength);
    strProgramFolder.resize(strProgramFolder.rfind('\\') + 1);
    size_t nSeparator = strName.find_last_of("\\/");
    std::string strFolder = nSeparator == std::string::npos ? std::string() : strName.substr(0, nSeparator + 1);
    if (Utf8CompareNoCase(strFolder, strProgramFolder) == 0) {
        std::string strData = FindProgramDataFile(strName.substr(nSeparator + 1));
        if (!strData.empty())
            return strData;
    }
    return strHostPath;
}

} // namespace

CSoundRecorder::CSoundRecorder()
{
    g_pRecorder = this;
}

CSoundRecorder::~CSoundRecorder()
{
    g_pRecorder = nullptr;
}

std::vector<CSoundRecorder::CPlayed> CSoundRecorder::GetPlayed() const
{
    std::lock_guard lock(m_mutex);
    return m_played;
}

void CSoundRecorder::FailSounds()
{
    std::lock_guard lock(m_mutex);
    m_bFail = true;
}

BOOL CSoundRecorder::Record(const std::string& strHostPath, UINT fuSound)
{
    std::lock_guard lock(m_mutex);
    m_played.push_back({ strHostPath, fuSound });
    return m_bFail ? Fail(ERROR_NOT_READY) : TRUE;
}

BOOL sndPlaySound(LPCSTR lpszSound, UINT fuSound)
{
    if (fuSound & (SND_MEMORY | SND_LOOP | SND_NOSTOP))
        return Fail(ERROR_NOT_SUPPORTED);
    std::string strHostPath;
    if (lpszSound) {
        strHostPath = SoundHostPath(lpszSound);
        if (strHostPath.empty())
            strHostPath = lpszSound;
    }
    if (CSoundRecorder* pRecorder = g_pRecorder.load())
        return pRecorder->Record(strHostPath, fuSound);
    Player().StopCurrent();
    if (!lpszSound)
        return TRUE;

    std::ifstream file(strHostPath, std::ios::binary);
    if (!file || !IsFile(strHostPath))
        return Fail(ERROR_FILE_NOT_FOUND);
    std::vector<BYTE> data(WAV_MAX_DATA + 64 * 1024);
    file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<size_t>(file.gcount()));
    auto pPlayback = std::make_shared<CPlayback>();
    if (DWORD dwError = ReadWavFile(data, pPlayback->sound))
        return Fail(dwError);
    const char* pszDevice = std::getenv("ARCHIVORA_SOUND_DEVICE");
    pPlayback->strDevice = pszDevice && *pszDevice ? pszDevice : "default";

    static std::once_flag s_quiet;
    std::call_once(s_quiet, [] { snd_lib_error_set_handler(QuietAlsa); }); // failures are reported, not printed
    {
        std::lock_guard lock(Player().mutex);
        Player().pCurrent = pPlayback;
    }
    std::thread([pPlayback] { PlayOnThread(pPlayback); }).detach();

    std::unique_lock lock(pPlayback->mutex);
    bool bOpened = pPlayback->changed.wait_for(lock, std::chrono::milliseconds(SOUND_OPEN_WAIT_MS),
        [&] { return pPlayback->eState != CPlayback::EState::Opening; });
    if (!bOpened || pPlayback->eState == CPlayback::EState::Failed) {
        pPlayback->bStop = true; // the thread gives up on its own once its open returns
        return Fail(ERROR_NOT_READY);
    }
    if (!(fuSound & SND_ASYNC))
        pPlayback->changed.wait(lock, [&] { return pPlayback->eState == CPlayback::EState::Done; });
    return TRUE;
}
