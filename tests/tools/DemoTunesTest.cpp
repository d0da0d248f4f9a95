// The committed demo tunes load, last 30-90 seconds, are audible throughout
// and do not clip.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "pxtone/Project.h"
#include "pxtone/Renderer.h"

namespace {

struct Level {
    double rms_dbfs = -200;
    int peak = 0;
    double clipped_fraction = 0;
};

Level measure(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    Level l;
    double sum = 0;
    std::size_t clipped = 0;
    for (std::size_t i = from; i < to; ++i) {
        sum += static_cast<double>(s[i]) * s[i];
        l.peak = std::max(l.peak, std::abs(static_cast<int>(s[i])));
        clipped += std::abs(static_cast<int>(s[i])) >= 32767;
    }
    const double n = static_cast<double>(to - from);
    if (sum > 0) l.rms_dbfs = 20 * std::log10(std::sqrt(sum / n) / 32768.0);
    l.clipped_fraction = static_cast<double>(clipped) / n;
    return l;
}

class DemoTune : public ::testing::TestWithParam<std::string> {};

TEST_P(DemoTune, IsAudibleAndDoesNotClip) {
    const std::string path = std::string(DEMO_DIR) + "/" + GetParam();
    auto loaded = pxtone::Project::load_file(path);
    ASSERT_TRUE(loaded) << path << ": " << loaded.error.message;
    const pxtone::TuneInfo info = loaded.project->info();
    EXPECT_FALSE(info.name.empty());
    EXPECT_GE(info.length_seconds, 30.0);
    EXPECT_LE(info.length_seconds, 90.0);
    EXPECT_GT(info.repeat_meas, 0) << "the demo tunes loop after their intro";

    pxtone::Renderer r(*loaded.project);
    ASSERT_TRUE(r.prepare({44100, 2, 16}));
    r.start(0);
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(r.end_sample()) * 2);
    const int frames = r.render(pcm.data(), static_cast<int>(r.end_sample()));
    ASSERT_GT(frames, 30 * 44100);

    const Level whole = measure(pcm, 0, static_cast<std::size_t>(frames) * 2);
    EXPECT_GT(whole.rms_dbfs, -24.0);
    EXPECT_LT(whole.rms_dbfs, -8.0);
    EXPECT_LT(whole.clipped_fraction, 0.001);
    // Every two-second stretch has sound in it.
    for (std::size_t at = 0; at + 2 * 88200 <= static_cast<std::size_t>(frames) * 2; at += 88200) {
        EXPECT_GT(measure(pcm, at, at + 2 * 88200).rms_dbfs, -36.0)
            << GetParam() << " is quiet at " << at / 88200 << " s";
    }
    // Both channels carry sound (pans and time pans differ, the mix is stereo).
    double left = 0, right = 0, diff = 0;
    for (int i = 0; i < frames; ++i) {
        left += std::abs(pcm[2 * static_cast<std::size_t>(i)]);
        right += std::abs(pcm[2 * static_cast<std::size_t>(i) + 1]);
        diff += std::abs(pcm[2 * static_cast<std::size_t>(i)] -
                         pcm[2 * static_cast<std::size_t>(i) + 1]);
    }
    EXPECT_GT(left, 0);
    EXPECT_GT(right, 0);
    EXPECT_GT(diff, 0.01 * (left + right));
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoTune,
                         ::testing::Values("morning-steps.ptcop", "backyard-groove.ptcop",
                                           "echo-hall.ptcop"));

}  // namespace
