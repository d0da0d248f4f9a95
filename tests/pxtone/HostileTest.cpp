// Inputs that once crashed, overflowed or exhausted memory: odd paths given to load_file,
// small files asking for huge tables, extreme fade lengths, and projects built in code with
// values no file can hold.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "TestSongs.h"
#include "pxtone/Project.h"
#include "pxtone/Renderer.h"
#include "pxtone/Writer.h"

namespace pxtone {
namespace {

std::string temp(const std::string& name) {
    return ::testing::TempDir() + "/pxtone_hostile_" + std::to_string(::getpid()) + "_" + name;
}

TEST(LoadFile, RefusesWhatIsNotARegularFileOfSaneSize) {
    auto expect_io = [](const std::string& path, const std::string& message) {
        LoadResult r = Project::load_file(path);
        EXPECT_FALSE(r) << path;
        EXPECT_EQ(r.error.code, LoadError::Code::Io) << path;
        EXPECT_EQ(r.error.message, message) << path;
    };
    // A directory opens as a stream whose first read throws.
    expect_io(::testing::TempDir(), "not a regular file");
    // Endless streams: a device and a pipe without a writer.
    expect_io("/dev/zero", "not a regular file");
    const std::string fifo = temp("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expect_io(fifo, "not a regular file");
    std::remove(fifo.c_str());
    // A sparse file just over the limit is refused before anything is read.
    const std::string big = temp("big.ptcop");
    {
        std::ofstream out(big, std::ios::binary);
        out << "PTCOLLAGE-071119";
    }
    std::filesystem::resize_file(big, static_cast<uintmax_t>(Project::kMaxFileBytes) + 1);
    expect_io(big, "file too large");
    std::remove(big.c_str());
    expect_io(temp("missing.ptcop"), "cannot open file");
}

Voice long_envelope_voice() {
    Voice v = test::overtone_voice();
    v.data_flags = DATAFLAG_WAVE | DATAFLAG_ENVELOPE;
    v.env_fps = 1;
    v.env_head = {{699, 128}};  // 699 s: 33.5M entries at 48 kHz, just under one body's limit
    return v;
}

// A few hundred bytes of file asked for about 640 MB: envelope tables counted at half their
// size, delay lines counted nowhere.
TEST(Budget, LongEnvelopesCountInFull) {
    Project p;
    for (int i = 0; i < 3; ++i) p.woices.push_back(Woice::make_ptv({long_envelope_voice()}));
    p.set_unit_count(1);
    p.update_measures();
    const std::vector<uint8_t> bytes = write_file(p);
    EXPECT_LT(bytes.size(), 1000u);
    LoadResult r = Project::load(bytes);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error.code, LoadError::Code::Invalid);
    EXPECT_EQ(r.error.message, "woice 2: tones too large");
}

TEST(Budget, EnvelopesAndDelayLinesTogetherAreBounded) {
    Project p;
    p.woices.push_back(Woice::make_ptv({long_envelope_voice()}));
    p.set_unit_count(1);
    for (int i = 0; i < 4; ++i) p.delays.push_back({2, i, 50.0f, 0.0058f});  // 172 s each
    p.update_measures();
    LoadResult r = Project::load(write_file(p));
    ASSERT_TRUE(r) << r.error.message;
    Renderer big(*r.project);
    EXPECT_FALSE(big.prepare({48000, 2, 16}));  // 134 MB of envelope + 265 MB of delay lines
    // Mono needs one line per delay; 22050 Hz halves everything: that fits.
    EXPECT_TRUE(big.prepare({22050, 1, 16}));
    // Without the envelope the same delays fit at the highest rate.
    p.woices[0] = Woice::make_ptv({test::overtone_voice()});
    LoadResult small = Project::load(write_file(p));
    ASSERT_TRUE(small) << small.error.message;
    Renderer r2(*small.project);
    EXPECT_TRUE(r2.prepare({48000, 2, 16}));
}

Project steady_song() {
    Project p = test::one_unit_song(
        Woice::make_pcm(test::pcm16(std::vector<int16_t>(100, 1000)), 0x4500, VOICEFLAG_WAVELOOP));
    p.add_event(0, 0, EVENTKIND_ON, 480 * 4 * 8);
    p.update_measures();
    EXPECT_TRUE(p.prepare_tones());
    return p;
}

TEST(Fade, LongestFadesNeitherOverflowNorSkip) {
    Project p = steady_song();
    Renderer r(p);
    ASSERT_TRUE(r.prepare({44100, 2, 16}));
    std::vector<int16_t> buf(2000 * 2);
    // A fade-in of INT_MAX ms (shortened to a day) starts silent and stays so for a while.
    r.start(0, INT_MAX);
    ASSERT_EQ(r.render(buf.data(), 2000), 2000);
    for (int16_t s : buf) ASSERT_EQ(s, 0);
    // A fade-out of INT_MAX ms from full volume starts at full volume and keeps playing.
    r.start(0, 0);
    r.fade_out(INT_MAX);
    ASSERT_EQ(r.render(buf.data(), 2000), 2000);
    EXPECT_EQ(buf[0], 1000);
    for (int16_t s : buf) ASSERT_GE(s, 999);
    EXPECT_FALSE(r.ended());
    // Switching from a long fade-in to a long fade-out keeps the level.
    r.start(0, INT_MAX);
    r.render(buf.data(), 2000);
    r.fade_out(INT_MAX);
    ASSERT_EQ(r.render(buf.data(), 2000), 2000);
    for (int16_t s : buf) ASSERT_EQ(s, 0);
}

TEST(CodeBuiltProject, OverdriveGroupOutOfRangeIsRefused) {
    Project p = steady_song();
    for (int group : {7, 100, -1}) {
        p.overdrives = {{group, 80.0f, 2.0f}};
        Renderer r(p);
        EXPECT_FALSE(r.prepare({44100, 2, 16})) << group;
        EXPECT_FALSE(r.prepare({44100, 1, 8})) << group;
    }
    p.overdrives = {{6, 80.0f, 2.0f}};
    Renderer r(p);
    EXPECT_TRUE(r.prepare({44100, 2, 16}));
}

TEST(CodeBuiltProject, NegativeEnvelopeTimeIsRefused) {
    Voice v = test::overtone_voice();
    v.data_flags = DATAFLAG_WAVE | DATAFLAG_ENVELOPE;
    v.env_fps = 100;
    v.env_head = {{-5000, 128}, {10, 64}};
    Project p = test::one_unit_song(Woice::make_ptv({v}));
    LoadError error;
    EXPECT_FALSE(p.prepare_tones(&error));
    EXPECT_EQ(error.message, "woice 0: negative envelope time");
    Renderer r(p);
    EXPECT_FALSE(r.prepare({44100, 2, 16}));
}

TEST(CodeBuiltProject, RenderAfterAFailedPrepareWritesNothing) {
    Project p = steady_song();
    Renderer r(p);
    ASSERT_TRUE(r.prepare({44100, 2, 16}));
    r.start(0);
    // The caller now asks for 8-bit mono at a rate the engine does not render: one byte per
    // frame in its buffer, while the last good format had four.
    EXPECT_FALSE(r.prepare({96000, 1, 8}));
    std::vector<uint8_t> buf(64, 0xAB);
    EXPECT_EQ(r.render(buf.data(), 16), 0);
    for (uint8_t b : buf) ASSERT_EQ(b, 0xAB);
    // Prepared but not started: silence in the prepared format.
    ASSERT_TRUE(r.prepare({44100, 1, 8}));
    EXPECT_EQ(r.render(buf.data(), 16), 0);
    for (size_t i = 0; i < buf.size(); ++i) ASSERT_EQ(buf[i], i < 16 ? 128 : 0xAB) << i;
}

}  // namespace
}  // namespace pxtone
