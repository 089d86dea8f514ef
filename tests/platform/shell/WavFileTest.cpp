#include "platform/shell/WavFile.h"

#include "platform/base/WinError.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace {

// Builds WAV files: a header, a format chunk, chunks of one's own, a data chunk.
class WavBuilder {
public:
    WavBuilder(WORD nFormat, WORD nChannels, DWORD nRate, WORD nBits)
    {
        std::vector<BYTE> format;
        U16(format, nFormat);
        U16(format, nChannels);
        U32(format, nRate);
        U32(format, nRate * nChannels * nBits / 8);
        U16(format, static_cast<WORD>(nChannels * nBits / 8));
        U16(format, nBits);
        m_format = format;
    }
    WavBuilder& Extensible(WORD nSubformat)
    {
        m_format[0] = 0xFE;
        m_format[1] = 0xFF;
        U16(m_format, 22);
        U16(m_format, U16At(m_format, 14));
        U32(m_format, 0x4);
        U16(m_format, nSubformat);
        for (BYTE b : { 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 })
            m_format.push_back(b);
        return *this;
    }
    WavBuilder& Chunk(const char* pszId, std::vector<BYTE> body)
    {
        m_chunks.emplace_back(pszId, std::move(body));
        return *this;
    }
    std::vector<BYTE> Build(const std::vector<BYTE>& samples, DWORD nClaimed = 0) const
    {
        std::vector<BYTE> out = { 'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E' };
        Append(out, "fmt ", m_format, static_cast<DWORD>(m_format.size()));
        for (const auto& [strId, body] : m_chunks)
            Append(out, strId.c_str(), body, static_cast<DWORD>(body.size()));
        Append(out, "data", samples, nClaimed ? nClaimed : static_cast<DWORD>(samples.size()));
        return out;
    }

private:
    static void U16(std::vector<BYTE>& out, WORD w)
    {
        out.push_back(static_cast<BYTE>(w));
        out.push_back(static_cast<BYTE>(w >> 8));
    }
    static void U32(std::vector<BYTE>& out, DWORD dw)
    {
        U16(out, static_cast<WORD>(dw));
        U16(out, static_cast<WORD>(dw >> 16));
    }
    static WORD U16At(const std::vector<BYTE>& data, size_t n)
    {
        return static_cast<WORD>(data[n] | (data[n + 1] << 8));
    }
    static void Append(std::vector<BYTE>& out, const char* pszId, const std::vector<BYTE>& body, DWORD nSize)
    {
        out.insert(out.end(), pszId, pszId + 4);
        U32(out, nSize);
        out.insert(out.end(), body.begin(), body.end());
        if (body.size() % 2)
            out.push_back(0);
    }

    std::vector<BYTE> m_format;
    std::vector<std::pair<std::string, std::vector<BYTE>>> m_chunks;
};

DWORD Read(const std::vector<BYTE>& data, CWavSound* pSound = nullptr)
{
    CWavSound sound;
    DWORD dwError = ReadWavFile(data, sound);
    if (pSound)
        *pSound = std::move(sound);
    return dwError;
}

} // namespace

TEST(WavFileTest, EachSupportedFormatReads)
{
    CWavSound sound;
    ASSERT_EQ(Read(WavBuilder(1, 2, 44100, 16).Chunk("LIST", { 1, 2, 3 }).Build(std::vector<BYTE>(400)), &sound), 0u)
        << "other chunks, of odd size too, are skipped";
    EXPECT_EQ(sound.FrameCount(), 100u);
    EXPECT_EQ(sound.nSampleRate, 44100u);
    ASSERT_EQ(Read(WavBuilder(3, 1, 48000, 32).Build(std::vector<BYTE>(40)), &sound), 0u);
    EXPECT_TRUE(sound.bFloat);
    ASSERT_EQ(Read(WavBuilder(1, 6, 96000, 24).Extensible(1).Build(std::vector<BYTE>(180)), &sound), 0u);
    EXPECT_EQ(sound.nBitsPerSample, 24u);
    EXPECT_EQ(Read(WavBuilder(1, 1, 8000, 8).Build(std::vector<BYTE>(1))), 0u);
    // A data chunk claiming more than the file holds gives what is there, whole frames only.
    ASSERT_EQ(Read(WavBuilder(1, 2, 22050, 16).Build(std::vector<BYTE>(10), 1000), &sound), 0u);
    EXPECT_EQ(sound.samples.size(), 8u);
}

TEST(WavFileTest, WhatCannotBePlayedIsRefused)
{
    EXPECT_EQ(Read(WavBuilder(2, 1, 22050, 4).Build({})), ERROR_NOT_SUPPORTED) << "ADPCM";
    EXPECT_EQ(Read(WavBuilder(1, 9, 22050, 16).Build({})), ERROR_NOT_SUPPORTED) << "nine channels";
    EXPECT_EQ(Read(WavBuilder(1, 1, 4000, 16).Build({})), ERROR_NOT_SUPPORTED) << "too slow";
    EXPECT_EQ(Read(WavBuilder(1, 1, 384000, 16).Build({})), ERROR_NOT_SUPPORTED) << "too fast";
    EXPECT_EQ(Read(WavBuilder(3, 1, 22050, 64).Build({})), ERROR_NOT_SUPPORTED) << "64-bit float";
    EXPECT_EQ(Read(WavBuilder(1, 1, 22050, 16).Extensible(2).Build({})), ERROR_NOT_SUPPORTED);
    std::vector<BYTE> big = WavBuilder(1, 1, 22050, 16).Build(std::vector<BYTE>(WAV_MAX_DATA + 2));
    EXPECT_EQ(Read(big), ERROR_NOT_SUPPORTED) << "more than the data limit";
}

TEST(WavFileTest, DamageIsRefusedAtEveryLength)
{
    std::vector<BYTE> good = WavBuilder(1, 2, 22050, 16).Chunk("junk", { 9 }).Build(std::vector<BYTE>(64));
    ASSERT_EQ(Read(good), 0u);
    size_t nDataStart = good.size() - 64;
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<BYTE> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        DWORD dwError = Read(cut);
        if (n < nDataStart) {
            EXPECT_EQ(dwError, ERROR_BAD_FORMAT) << "cut at " << n;
        }
    }
    std::vector<BYTE> foreign = good;
    std::memcpy(foreign.data() + 8, "AVI ", 4);
    EXPECT_EQ(Read(foreign), ERROR_BAD_FORMAT);
    std::vector<BYTE> oddBlock = good;
    oddBlock[12 + 8 + 12] = 3; // a block size that is no frame size
    EXPECT_EQ(Read(oddBlock), ERROR_BAD_FORMAT);
    EXPECT_EQ(Read(WavBuilder(1, 1, 22050, 16).Chunk("fmt ", { 1, 2 }).Build({})), ERROR_BAD_FORMAT);
}

TEST(WavFileTest, TheNewDocumentChimeIsShortMonoAndSixteenBits)
{
    std::ifstream file(SourceRoot() / "resources/newdoc.wav", std::ios::binary);
    std::vector<BYTE> data(std::istreambuf_iterator<char>(file), {});
    CWavSound sound;
    ASSERT_EQ(ReadWavFile(data, sound), 0u);
    EXPECT_EQ(sound.nChannels, 1u);
    EXPECT_EQ(sound.nBitsPerSample, 16u);
    EXPECT_LE(sound.FrameCount(), sound.nSampleRate / 2);
}
