#include <gtest/gtest.h>

#include "Options.h"
#include "ShiftJis.h"

namespace dz::ptrender {
namespace {

std::optional<Options> parse(std::vector<std::string> args, std::string* error = nullptr) {
    std::string e;
    auto o = parse_options(args, e);
    if (error) *error = e;
    return o;
}

TEST(PtrenderOptions, DefaultsAndEveryOption) {
    auto o = parse({"in.ptcop", "out.wav"});
    ASSERT_TRUE(o);
    EXPECT_EQ("in.ptcop", o->input);
    EXPECT_EQ("out.wav", o->output);
    EXPECT_EQ(44100, o->rate);
    EXPECT_EQ(2, o->channels);
    EXPECT_EQ(16, o->bits);
    EXPECT_FALSE(o->seconds);
    EXPECT_EQ(1, o->loops);
    EXPECT_EQ(0, o->start_sample);

    o = parse({"--rate", "22050", "--channels", "1", "--bits", "8", "--start-sample", "1000",
               "--loops", "3", "a", "b"});
    ASSERT_TRUE(o);
    EXPECT_EQ(22050, o->rate);
    EXPECT_EQ(1, o->channels);
    EXPECT_EQ(8, o->bits);
    EXPECT_EQ(1000, o->start_sample);
    EXPECT_EQ(3, o->loops);

    o = parse({"a", "--seconds", "2.5", "b"});
    ASSERT_TRUE(o);
    EXPECT_DOUBLE_EQ(2.5, *o->seconds);

    o = parse({"--info", "x.pttune"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->info);
    EXPECT_EQ("x.pttune", o->input);

    o = parse({"--", "-odd-name.ptcop", "out.wav"});
    ASSERT_TRUE(o);
    EXPECT_EQ("-odd-name.ptcop", o->input);

    EXPECT_TRUE(parse({"--help"})->help);
}

TEST(PtrenderOptions, RejectsBadValuesWithAMessage) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"only-input"},
        {"a", "b", "c"},
        {"--info"},
        {"--info", "a", "b"},
        {"--bits", "12", "a", "b"},
        {"--bits", "16x", "a", "b"},
        {"--channels", "3", "a", "b"},
        {"--rate", "0", "a", "b"},
        {"--rate", "-44100", "a", "b"},
        {"--rate", "44100.5", "a", "b"},
        {"--rate", "99999999999999999999", "a", "b"},
        {"--seconds", "0", "a", "b"},
        {"--seconds", "nan", "a", "b"},
        {"--seconds", "inf", "a", "b"},
        {"--loops", "0", "a", "b"},
        {"--start-sample", "-1", "a", "b"},
        {"--seconds", "3", "--loops", "2", "a", "b"},
        {"--frobnicate", "a", "b"},
        {"a", "b", "--rate"},
        {"--jobs", "2", "a", "b"},
        {"--out-dir", "d"},
        {"--out-dir", "", "a"},
        {"--out-dir", "d", "--info", "a"},
        {"--out-dir", "d", "--jobs", "0", "a"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(parse(args, &error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty()) << ::testing::PrintToString(args);
    }
}

TEST(PtrenderOptions, OutDirTakesEveryInput) {
    auto o = parse({"--jobs", "3", "--out-dir", "wavs", "x/a.ptcop", "b.pttune", "--bits", "8"});
    ASSERT_TRUE(o);
    EXPECT_EQ("wavs", o->out_dir);
    EXPECT_EQ((std::vector<std::string>{"x/a.ptcop", "b.pttune"}), o->inputs);
    EXPECT_EQ(3, o->jobs);
    EXPECT_EQ(8, o->bits);
    EXPECT_EQ(0, parse({"--out-dir", "w", "one"})->jobs);
    EXPECT_EQ("wavs/a.wav", output_in_dir("wavs", "x/a.ptcop"));
    EXPECT_EQ("wavs/song.v2.wav", output_in_dir("wavs", "/t/song.v2.pttune"));
    EXPECT_EQ("wavs/noext.wav", output_in_dir("wavs", "noext"));
}

TEST(PtrenderOptions, FramesToRender) {
    // A play-through stops one frame before the end sample, as the engine does.
    Options o;
    EXPECT_EQ(999, frames_to_render(o, 1000, 200));
    EXPECT_EQ(0, frames_looping(o, 1000, 200));
    o.loops = 3;
    EXPECT_EQ(1000 + 2 * 800 - 1, frames_to_render(o, 1000, 200));
    EXPECT_EQ(1000 + 800, frames_looping(o, 1000, 200));
    o.start_sample = 300;
    EXPECT_EQ(700 + 2 * 800 - 1, frames_to_render(o, 1000, 200));
    EXPECT_EQ(700 + 800, frames_looping(o, 1000, 200));
    o.loops = 1;
    o.seconds = 1.5;
    o.rate = 22050;
    EXPECT_EQ(33075, frames_to_render(o, 1000, 200));
    EXPECT_EQ(33075, frames_looping(o, 1000, 200));
}

TEST(ShiftJis, ConvertsToUtf8AndReplacesBadBytes) {
    EXPECT_EQ("コンピク", cp932_to_utf8("\x83\x52\x83\x93\x83\x73\x83\x4E"));
    EXPECT_EQ("ｱｲ", cp932_to_utf8("\xB1\xB2"));  // half-width katakana
    EXPECT_EQ("a\nb\nc", cp932_to_utf8("a\r\nb\rc"));
    EXPECT_EQ("plain", cp932_to_utf8("plain"));
    EXPECT_EQ("", cp932_to_utf8(""));
    // A lead byte at the end, and an undefined byte, become '?' without losing the rest.
    EXPECT_EQ("ok?", cp932_to_utf8("ok\x83"));
    EXPECT_EQ("a?b", cp932_to_utf8("a\xA0"
                                   "b"));
}

}  // namespace
}  // namespace dz::ptrender
