// Wave file headers: what is playable, and how long the audio really lasts.

#include "voice/WaveFile.h"

#include "TempDir.h"
#include "WaveBytes.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

TEST(WaveHeader, PcmFilesGiveTheirFormatAndLength) {
    // 8 kHz mono 16-bit: 16000 bytes a second; 4000 bytes are 250 ms.
    const std::string mono16 = waveBytes(8000, 1, 16, 4000);
    const auto a = parseWaveHeader(mono16, mono16.size());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->sampleRate, 8000u);
    EXPECT_EQ(a->channels, 1);
    EXPECT_EQ(a->dataOffset, 44u);
    EXPECT_EQ(a->dataBytes, 4000u);
    EXPECT_EQ(a->durationMs, 250);

    // 11025 Hz stereo 8-bit, 1001 frames: 90.79 ms, rounded up.
    const std::string stereo8 = waveBytes(11025, 2, 8, 2002);
    const auto b = parseWaveHeader(stereo8, stereo8.size());
    ASSERT_TRUE(b);
    EXPECT_EQ(b->durationMs, 91);
}

TEST(WaveHeader, ChunksBeforeTheAudioAreSkippedWithTheirPadding) {
    std::string bytes = waveBytes(8000, 1, 8, 800);
    // A LIST chunk of odd size (one pad byte) between "fmt " and "data".
    const std::string list = std::string("LIST") + std::string("\x05\0\0\0", 4) + "INFOx" + std::string(1, '\0');
    bytes.insert(36, list);
    const auto info = parseWaveHeader(bytes, bytes.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataOffset, 44u + list.size());
    EXPECT_EQ(info->durationMs, 100);
}

TEST(WaveHeader, ACutFileOrAHeaderClaimingTooMuchLastsAsLongAsTheBytesThatAreThere) {
    const std::string whole = waveBytes(8000, 1, 16, 16000); // 1 s
    // Cut after 4001 audio bytes: 2000 whole frames, 250 ms.
    const std::string cut = whole.substr(0, 44 + 4001);
    const auto a = parseWaveHeader(cut, cut.size());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->dataBytes, 4000u);
    EXPECT_EQ(a->durationMs, 250);

    // A header that claims 4 GB of audio in a file of 800 bytes of it.
    std::string huge = waveBytes(8000, 1, 8, 800);
    huge.replace(40, 4, std::string("\xff\xff\xff\xff", 4));
    const auto b = parseWaveHeader(huge, huge.size());
    ASSERT_TRUE(b);
    EXPECT_EQ(b->durationMs, 100);
}

TEST(WaveHeader, WhatCannotBePlayedIsRefused) {
    const std::string good = waveBytes(8000, 1, 16, 1600);
    EXPECT_FALSE(parseWaveHeader("", 0)) << "empty file";
    EXPECT_FALSE(parseWaveHeader(good.substr(0, 30), 30)) << "header cut inside fmt";
    EXPECT_FALSE(parseWaveHeader(good.substr(0, 44), 44)) << "no audio at all";
    EXPECT_FALSE(parseWaveHeader(good.substr(0, 45), 45)) << "half a frame of audio";
    EXPECT_FALSE(parseWaveHeader("ID3\x03 this is an mp3 file, not a wave file.....", 48));

    std::string riffNotWave = good;
    riffNotWave.replace(8, 4, "AVI ");
    EXPECT_FALSE(parseWaveHeader(riffNotWave, riffNotWave.size()));

    std::string noRate = good;
    noRate.replace(24, 4, std::string(4, '\0'));
    EXPECT_FALSE(parseWaveHeader(noRate, noRate.size())) << "sample rate 0 would divide by zero";

    std::string badAlign = good;
    badAlign[32] = 7;
    EXPECT_FALSE(parseWaveHeader(badAlign, badAlign.size())) << "block align does not match the format";

    std::string compressed = good;
    compressed[20] = 0x55; // MPEG layer 3 inside a wave file
    EXPECT_FALSE(parseWaveHeader(compressed, compressed.size()));

    // The data chunk before the format.
    std::string dataFirst = std::string("RIFF\0\0\0\0WAVE", 12) + good.substr(36) + good.substr(12, 24);
    EXPECT_FALSE(parseWaveHeader(dataFirst, dataFirst.size()));

    // A chunk before the audio larger than the file.
    std::string bigChunk = good;
    bigChunk.insert(36, std::string("junk\x00\x00\x10\x00", 8));
    EXPECT_FALSE(parseWaveHeader(bigChunk, bigChunk.size()));
}

TEST(WaveHeader, FilesAreReadByTheirNamesWhateverLettersTheyHold) {
    TempDir dir;
    const std::string bytes = waveBytes(8000, 1, 16, 8000);
    for (const std::string name : {"plain.wav", "with spaces in it.wav", "Grüße ñandú.wav"}) {
        std::ofstream(dir.file(name), std::ios::binary) << bytes;
        const auto info = readWaveInfo(dir.file(name));
        ASSERT_TRUE(info) << name;
        EXPECT_EQ(info->durationMs, 500) << name;
    }
    EXPECT_FALSE(readWaveInfo(dir.file("missing.wav")));
    EXPECT_FALSE(readWaveInfo(dir.path().string())) << "a folder";
    EXPECT_FALSE(readWaveInfo(""));
    std::ofstream(dir.file("empty.wav"), std::ios::binary);
    EXPECT_FALSE(readWaveInfo(dir.file("empty.wav")));
}
