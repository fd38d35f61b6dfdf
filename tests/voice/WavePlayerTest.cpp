// The Qt Multimedia wave player against real wave files written by the test, on a machine
// with no sound device: what fails to open, and that the end of every playback is reported
// within the file's length plus a margin, whatever the sound output does.

#include "TempDir.h"
#include "WaveBytes.h"
#include "platform/audio/QtWavePlayer.h"

#include <QElapsedTimer>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

class WavePlayerTest : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = dir.file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // Plays `path` and waits for the end as the keyer does, polling; the time it took.
    std::int64_t playToEnd(QtWavePlayer& player, const std::string& path) {
        player.close();
        player.setFileName(path);
        if (!player.open() || !player.play()) {
            return -1;
        }
        QElapsedTimer took;
        took.start();
        while (player.isPlaying() && took.elapsed() < 20000) {
            QTest::qWait(20);
        }
        return took.elapsed();
    }

    TempDir dir;
};

TEST_F(WavePlayerTest, WithoutASoundOutputEveryOpenFailsQuietly) {
    QtWavePlayer player([] { return false; });
    const std::string good = write("good.wav", waveBytes(8000, 1, 16, 8000));
    player.setFileName(good);
    EXPECT_EQ(player.fileName(), good);
    EXPECT_FALSE(player.open());
    EXPECT_FALSE(player.play());
    EXPECT_FALSE(player.isPlaying());
    player.close();
    player.close(); // harmless twice
}

TEST_F(WavePlayerTest, FilesThatAreNoPlayableWaveFailToOpen) {
    QtWavePlayer player([] { return true; });
    const std::string whole = waveBytes(8000, 1, 16, 1600);
    const std::vector<std::string> bad = {
        write("empty.wav", ""),
        write("header only.wav", whole.substr(0, 44)),
        write("cut header.wav", whole.substr(0, 20)),
        write("text.wav", "this is not a wave file at all, just some text\r\n"),
        dir.file("missing.wav"),
        dir.path().string(),
    };
    for (const auto& path : bad) {
        player.setFileName(path);
        EXPECT_FALSE(player.open()) << path;
        EXPECT_FALSE(player.play()) << path;
        EXPECT_FALSE(player.isPlaying()) << path;
    }
}

TEST_F(WavePlayerTest, EveryPlaybackEndsWithinItsLengthAndMargin) {
    // Qt is told there is a sound output; on this machine there may be none behind it, so
    // Qt may fail the playback, end it, or report "playing" without end. Whichever it does,
    // the end is reported in time and never before a playback that really plays has ended.
    QtWavePlayer player([] { return true; });
    std::string huge = waveBytes(8000, 1, 8, 4000); // 500 ms
    huge.replace(40, 4, std::string("\xff\xff\xff\x7f", 4));
    const std::string cut = waveBytes(11025, 1, 16, 22050).substr(0, 44 + 11025); // 500 ms of 1 s
    const std::vector<std::string> files = {
        write("tone.wav", waveBytes(8000, 1, 16, 8000)),
        write("claims two gigabytes.wav", huge),
        write("cut short.wav", cut),
        write("with spaces and Grüße.wav", waveBytes(8000, 1, 16, 8000)),
    };
    for (const auto& path : files) {
        player.setFileName(path);
        ASSERT_TRUE(player.open()) << path;
        EXPECT_EQ(player.durationMs(), 500) << path;
        const std::int64_t took = playToEnd(player, path);
        ASSERT_GE(took, 0) << path;
        EXPECT_LE(took, 500 + kPlaybackMarginMs + 200) << path;
        EXPECT_FALSE(player.isPlaying());
    }
}

TEST_F(WavePlayerTest, ANewPlaybackAfterCloseIsNotEndedByTheOldOne) {
    QtWavePlayer player([] { return true; });
    const std::string a = write("a.wav", waveBytes(8000, 1, 16, 16000));
    player.setFileName(a);
    ASSERT_TRUE(player.open());
    ASSERT_TRUE(player.play());
    player.close();
    EXPECT_FALSE(player.isPlaying()) << "closed";
    EXPECT_EQ(player.durationMs(), 0);
    player.setFileName(a);
    ASSERT_TRUE(player.open());
    ASSERT_TRUE(player.play());
    const std::int64_t took = playToEnd(player, a);
    EXPECT_LE(took, 1000 + kPlaybackMarginMs + 200);
}

} // namespace
