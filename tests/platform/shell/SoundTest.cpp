#include "platform/shell/Sound.h"

#include "platform/base/ProgramFolder.h"
#include "platform/base/WinError.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <chrono>
#include <filesystem>

namespace {

class SoundTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        std::filesystem::copy_file(SourceRoot() / "resources/newdoc.wav", m_sounds / "newdoc.wav");
        m_pModulePath = std::make_unique<ScopedVariable>("ARCHIVORA_MODULE_PATH", m_sounds.Path().string());
    }
    void TearDown() override
    {
        sndPlaySound(nullptr, 0);
        m_pModulePath.reset();
        ProgramFolderTest::TearDown();
    }

    // The chime as the program names it: in its program folder, where it is not.
    static std::string ProgramFolderChime()
    {
        char szProgram[MAX_PATH];
        GetModuleFileName(nullptr, szProgram, MAX_PATH);
        std::string strPath = szProgram;
        return strPath.substr(0, strPath.rfind('\\') + 1) + "newdoc.wav";
    }

    TempFolder m_sounds;
    std::unique_ptr<ScopedVariable> m_pModulePath;
};

} // namespace

TEST_F(SoundTest, TheNullDevicePlaysAndAMissingOneFailsWithinASecond)
{
    {
        ScopedVariable device("ARCHIVORA_SOUND_DEVICE", "null");
        EXPECT_TRUE(sndPlaySound(ProgramFolderChime().c_str(), SND_SYNC | SND_NODEFAULT))
            << "found where the read-only program files are";
        EXPECT_TRUE(sndPlaySound(ProgramFolderChime().c_str(), SND_ASYNC));
        EXPECT_TRUE(sndPlaySound(nullptr, 0)) << "a stop";
    }
    ScopedVariable device("ARCHIVORA_SOUND_DEVICE", "archivora-no-such-device");
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(sndPlaySound(ProgramFolderChime().c_str(), SND_SYNC));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

TEST_F(SoundTest, WhatCannotBePlayedFailsCleanly)
{
    ScopedVariable device("ARCHIVORA_SOUND_DEVICE", "null");
    EXPECT_FALSE(sndPlaySound("C:\\no\\such\\sound.wav", SND_SYNC));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    TempFolder folder;
    std::string strText = folder.WriteFile("text.wav", "not a sound").string();
    std::string strProgramPath = "C:" + strText;
    std::replace(strProgramPath.begin(), strProgramPath.end(), '/', '\\');
    EXPECT_FALSE(sndPlaySound(strProgramPath.c_str(), SND_SYNC));
    EXPECT_EQ(GetLastError(), ERROR_BAD_FORMAT);
    for (UINT fuFlag : { SND_MEMORY, SND_LOOP, SND_NOSTOP }) {
        EXPECT_FALSE(sndPlaySound(ProgramFolderChime().c_str(), SND_ASYNC | fuFlag));
        EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    }
}

TEST_F(SoundTest, ARecorderTakesTheCallsInstead)
{
    CSoundRecorder recorder;
    EXPECT_TRUE(sndPlaySound(ProgramFolderChime().c_str(), SND_ASYNC | SND_NODEFAULT));
    recorder.FailSounds();
    EXPECT_FALSE(sndPlaySound(ProgramFolderChime().c_str(), SND_ASYNC));
    std::vector<CSoundRecorder::CPlayed> played = recorder.GetPlayed();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].strHostPath, (m_sounds / "newdoc.wav").string());
    EXPECT_EQ(played[0].fuSound, SND_ASYNC | SND_NODEFAULT);
}
