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
               "--loops", "3", "--fade", "2.5", "a", "b.wav"});
    ASSERT_TRUE(o);
    EXPECT_EQ(22050, o->rate);
    EXPECT_EQ(1, o->channels);
    EXPECT_EQ(8, o->bits);
    EXPECT_EQ(1000, o->start_sample);
    EXPECT_EQ(3, o->loops);
    EXPECT_DOUBLE_EQ(2.5, o->fade);

    o = parse({"a", "--seconds", "2.5", "b.wav"});
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
        {"--bits", "12", "a", "b.wav"},
        {"--bits", "16x", "a", "b.wav"},
        {"--channels", "3", "a", "b.wav"},
        {"--rate", "0", "a", "b.wav"},
        {"--rate", "-44100", "a", "b.wav"},
        {"--rate", "44100.5", "a", "b.wav"},
        {"--rate", "99999999999999999999", "a", "b.wav"},
        {"--seconds", "0", "a", "b.wav"},
        {"--seconds", "nan", "a", "b.wav"},
        {"--seconds", "inf", "a", "b.wav"},
        {"--seconds", "1e15", "a", "b.wav"},
        {"--seconds", "1e300", "a", "b.wav"},
        {"--seconds", "1000000.5", "a", "b.wav"},
        {"--loops", "0", "a", "b.wav"},
        {"--start-sample", "-1", "a", "b.wav"},
        {"--seconds", "3", "--loops", "2", "a", "b.wav"},
        {"--frobnicate", "a", "b.wav"},
        {"a", "b.wav", "--rate"},
        {"--jobs", "2", "a", "b.wav"},
        {"--out-dir", "d"},
        {"--out-dir", "", "a"},
        {"--out-dir", "d", "--info", "a"},
        {"--out-dir", "d", "--jobs", "0", "a"},
        {"--rate", "48001", "a", "b.wav"},
        {"--fade", "-1", "a", "b.wav"},
        {"--fade", "nan", "a", "b.wav"},
        {"--fade", "1s", "a", "b.wav"},
        {"--format", "mp3", "a", "b.wav"},
        {"--format", "flac", "a", "b.wav"},
        {"a", "b.mp3"},
        {"a", "b"},
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

TEST(PtrenderOptions, FormatFromTheOptionOrTheExtension) {
    EXPECT_EQ(Format::Wav, parse({"a", "b.wav"})->format);
    EXPECT_EQ(Format::Flac, parse({"a", "dir.x/B.FLAC"})->format);
    EXPECT_EQ(Format::Ogg, parse({"a", "b.Ogg"})->format);
    EXPECT_EQ(Format::Ogg, parse({"--format", "ogg", "a", "b.bin"})->format);
    EXPECT_EQ(Format::Flac, parse({"--format", "flac", "a", "b.flac"})->format);
    EXPECT_EQ(Format::Wav, parse({"--out-dir", "d", "a"})->format);
    auto o = parse({"--format", "flac", "--out-dir", "d", "a.ptcop"});
    ASSERT_TRUE(o);
    EXPECT_EQ("d/a.flac", output_in_dir(o->out_dir, o->inputs[0], o->format));
    EXPECT_EQ("d/a.ogg", output_in_dir("d", "x/a.pttune", Format::Ogg));
}

TEST(PtrenderOptions, FadeFallsLinearlyToSilenceAtTheEnd) {
    Options o;
    o.rate = 8000;
    EXPECT_EQ(0, fade_frames(o, 1000));
    o.fade = 0.1;
    EXPECT_EQ(800, fade_frames(o, 1000));
    o.fade = 1e300;  // longer than the output: all of it
    EXPECT_EQ(1000, fade_frames(o, 1000));

    // 10 stereo frames, the last 4 fading, rendered in two pieces.
    std::vector<std::int16_t> s(20, 1000);
    s[1] = -1000;
    apply_fade(s.data(), 7, 2, 16, 0, 10, 4);
    apply_fade(s.data() + 14, 3, 2, 16, 7, 10, 4);
    EXPECT_EQ(
        (std::vector<std::int16_t>{1000, -1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000,
                                   1000, 1000,  750,  750,  500,  500,  250,  250,  0,    0}),
        s);
    // 8 bits are centred on 128; a fade over the whole output touches the first frame too.
    std::vector<std::uint8_t> u = {228, 28, 228, 28, 228, 28};
    apply_fade(u.data(), 3, 2, 8, 0, 3, 3);
    EXPECT_EQ((std::vector<std::uint8_t>{195, 61, 161, 95, 128, 128}), u);
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
