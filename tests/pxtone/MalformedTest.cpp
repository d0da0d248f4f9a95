// Malformed files: every truncation, wrong sizes, unknown tags and out-of-range fields are
// rejected with a clear error and without reading past the data.

#include <gtest/gtest.h>

#include <random>

#include "TestSongs.h"

namespace pxtone {
namespace {

using test::Bytes;
using Code = LoadError::Code;

// A small project using every v5 chunk kind.
std::vector<uint8_t> small_file() {
    Project p;
    p.name = "nm";
    p.comment = "c";
    p.woices.push_back(Woice::make_pcm(test::pcm16({1, 2, 3})));
    p.woices.back().name = "w";
    Voice v = test::overtone_voice();
    v.data_flags |= DATAFLAG_ENVELOPE;
    v.env_fps = 100;
    v.env_head = {{1, 128}};
    v.env_release = 2;
    p.woices.push_back(Woice::make_ptv({v}));
    NoiseDesign nd = test::simple_noise();
    nd.frames = 50;
    p.woices.push_back(Woice::make_ptn(nd));
    p.set_unit_count(2);
    p.unit_names[1] = "u";
    p.delays.push_back({});
    p.overdrives.push_back({});
    p.add_event(0, 0, EVENTKIND_ON, 480);
    p.add_event(0, 1, EVENTKIND_VOICENO, 2);
    p.add_event(10, 1, EVENTKIND_ON, 100);
    p.update_measures();
    return write_file(p);
}

// Offsets of each chunk tag in a v5 file.
std::vector<size_t> chunk_offsets(const std::vector<uint8_t>& f) {
    std::vector<size_t> out;
    LoadResult whole = Project::load(f);
    EXPECT_TRUE(whole);
    size_t at = 20;
    while (at + 12 <= f.size()) {
        out.push_back(at);
        if (std::memcmp(&f[at], "pxtoneND", 8) == 0) break;
        uint32_t size = f[at + 8] | (f[at + 9] << 8) | (f[at + 10] << 16) | (f[at + 11] << 24);
        at += 12 + size;
    }
    return out;
}

TEST(Malformed, EveryTruncationIsRejected) {
    const std::vector<uint8_t> f = small_file();
    ASSERT_TRUE(Project::load(f));
    // The reader stops right after the end tag, so only the final u32 may be missing.
    for (size_t n = 0; n + 4 < f.size(); ++n) {
        std::vector<uint8_t> cut(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(n));
        LoadResult r = Project::load(cut);
        ASSERT_FALSE(r) << "prefix of " << n << " bytes loaded";
        if (n == 0) {
            EXPECT_EQ(r.error.code, Code::NotPxtone);
        } else {
            EXPECT_EQ(r.error.code, Code::Truncated) << n << ": " << r.error.message;
            EXPECT_EQ(r.error.message, "truncated at byte " + std::to_string(n));
        }
    }
    for (size_t n = f.size() - 4; n <= f.size(); ++n) {
        std::vector<uint8_t> cut(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_TRUE(Project::load(cut)) << n;
    }
}

TEST(Malformed, TruncationAtEveryChunkBoundary) {
    const std::vector<uint8_t> f = small_file();
    const std::vector<size_t> at = chunk_offsets(f);
    ASSERT_GE(at.size(), 12u);
    for (size_t off : at) {
        for (size_t extra : {size_t{0}, size_t{8}, size_t{12}}) {
            if (off + extra >= f.size() - 4) continue;
            std::vector<uint8_t> cut(f.begin(),
                                     f.begin() + static_cast<std::ptrdiff_t>(off + extra));
            LoadResult r = Project::load(cut);
            ASSERT_FALSE(r);
            EXPECT_EQ(r.error.code, Code::Truncated) << off + extra;
        }
    }
}

TEST(Malformed, NotPxtone) {
    const std::string texts[] = {"", "RIFF....WAVEfmt ", "PTCOLLAGE-071118xxxx", "PTCOLLAGE-07111"};
    for (const std::string& t : texts) {
        std::vector<uint8_t> b(t.begin(), t.end());
        LoadResult r = Project::load(b);
        ASSERT_FALSE(r);
        if (t == "PTCOLLAGE-07111")
            EXPECT_EQ(r.error.code, Code::Truncated);  // a prefix of a real code
        else
            EXPECT_EQ(r.error.message, "not a pxtone tune") << t;
    }
}

// A v5 project with the given chunks and the terminator.
std::vector<uint8_t> v5(const std::vector<std::pair<std::string, Bytes>>& chunks) {
    Bytes b;
    b.raw("PTCOLLAGE-071119").u16(5).u16(0);
    for (const auto& [tag, payload] : chunks) b.chunk(tag, payload);
    b.raw("pxtoneND").u32(0);
    return b.b;
}

Bytes pcm_chunk(uint32_t flags, uint16_t channels, uint16_t bits, uint32_t rate, uint32_t bytes) {
    Bytes c;
    c.u16(0).u16(0x4500).u32(flags).u16(channels).u16(bits).u32(rate).f32(1.0f).u32(bytes);
    for (uint32_t i = 0; i < bytes; ++i) c.u8(0);
    return c;
}

Bytes ptv_chunk(const Bytes& voice_body, uint32_t version = 20060111, uint32_t voices = 1,
                uint32_t reserved = 0) {
    Bytes block;
    block.var(0).var(reserved).var(0).var(voices);
    block.b.insert(block.b.end(), voice_body.b.begin(), voice_body.b.end());
    Bytes full;
    full.raw("PTVOICE-").u32(version).u32(static_cast<uint32_t>(block.b.size()));
    full.b.insert(full.b.end(), block.b.begin(), block.b.end());
    Bytes c;
    c.u16(0).u16(0).f32(0).u32(static_cast<uint32_t>(full.b.size()));
    c.b.insert(c.b.end(), full.b.begin(), full.b.end());
    return c;
}

Bytes ptv_voice(uint32_t flags, uint32_t data_flags, uint32_t wave_type, const Bytes& wave) {
    Bytes v;
    v.var(0x2D00).var(128).var(64).var(0x3F800000).var(flags).var(data_flags);
    if (data_flags & 1) v.var(wave_type);
    v.b.insert(v.b.end(), wave.b.begin(), wave.b.end());
    return v;
}

Bytes ptn_chunk(int32_t marker, uint32_t version, int8_t units, const Bytes& unit_body) {
    Bytes c;
    c.u16(0).u16(0x4500).u32(2).f32(1.0f).u32(static_cast<uint32_t>(marker));
    c.raw("PTNOISE-").u32(version).var(100).u8(static_cast<uint8_t>(units));
    c.b.insert(c.b.end(), unit_body.b.begin(), unit_body.b.end());
    return c;
}

Bytes osc(uint32_t type) {
    return Bytes().var(type).var(0).var(4400).var(1000).var(0);
}

struct Case {
    const char* what;
    std::vector<uint8_t> file;
    Code code;
};

TEST(Malformed, OutOfRangeFieldsAreRejected) {
    const Bytes good_wave = Bytes().var(1).var(1).var(128);  // overtone: 1 point
    std::vector<Case> cases = {
        {"unknown tag", v5({{"mateXXXX", Bytes().u32(0)}}), Code::Invalid},
        {"protected", v5({{"antiOPER", Bytes()}}), Code::Unsupported},
        {"x1x tag in v5", v5({{"UNIT====", Bytes().name16("a").u16(1).u16(0)}}), Code::Invalid},
        {"master size", v5({{"MasterV5", Bytes().u16(480).u8(4).f32(120).u32(0).u16(0)}}), Code::Invalid},
        {"zero beats", v5({{"MasterV5", Bytes().u16(480).u8(0).f32(120).u32(0).u32(0)}}), Code::Invalid},
        {"zero clock", v5({{"MasterV5", Bytes().u16(0).u8(4).f32(120).u32(0).u32(0)}}), Code::Invalid},
        {"tiny tempo", v5({{"MasterV5", Bytes().u16(480).u8(4).f32(1e-40f).u32(0).u32(0)}}), Code::Invalid},
        {"zero tempo", v5({{"MasterV5", Bytes().u16(480).u8(4).f32(0).u32(0).u32(0)}}), Code::Invalid},
        {"negative event count", v5({{"Event V5", Bytes().u32(0xFFFFFFFF)}}), Code::Invalid},
        {"bad varint", v5({{"Event V5", Bytes().u32(1).u8(0x80).u8(0x80).u8(0x80).u8(0x80).u8(0x80).u8(0).u8(1).u8(1)}}), Code::Invalid},
        {"unit count 51", v5({{"num UNIT", Bytes().u16(51).u16(0)}}), Code::NewerFormat},
        {"negative units", v5({{"num UNIT", Bytes().u16(0xFFFF).u16(0)}}), Code::Invalid},
        {"unit reserved", v5({{"num UNIT", Bytes().u16(1).u16(1)}}), Code::Invalid},
        {"unit size", v5({{"num UNIT", Bytes().u16(1).u16(0).u8(0)}}), Code::Invalid},
        {"assiUNIT index", v5({{"num UNIT", Bytes().u16(1).u16(0)}, {"assiUNIT", Bytes().u16(1).u16(0).name16("x")}}), Code::Invalid},
        {"assiUNIT before units", v5({{"assiUNIT", Bytes().u16(0).u16(0).name16("x")}}), Code::Invalid},
        {"assiWOIC size", v5({{"assiWOIC", Bytes().u16(0).u16(0).name16("x").u8(0)}}), Code::Invalid},
        {"assiWOIC reserved", v5({{"effeDELA", Bytes().u16(0).u16(0).f32(33).f32(3)}, {"matePCM ", pcm_chunk(0, 1, 16, 44100, 2)}, {"assiWOIC", Bytes().u16(0).u16(3).name16("x")}}), Code::Invalid},
        {"delay unit", v5({{"effeDELA", Bytes().u16(3).u16(0).f32(33).f32(3)}}), Code::Invalid},
        {"overdrive cut", v5({{"effeOVER", Bytes().u16(0).u16(0).f32(49.9f).f32(2).f32(0)}}), Code::Invalid},
        {"overdrive cut high", v5({{"effeOVER", Bytes().u16(0).u16(0).f32(100.0f).f32(2).f32(0)}}), Code::Invalid},
        {"overdrive amp", v5({{"effeOVER", Bytes().u16(0).u16(0).f32(90).f32(8.5f).f32(0)}}), Code::Invalid},
        {"overdrive group", v5({{"effeOVER", Bytes().u16(0).u16(7).f32(90).f32(2).f32(0)}}), Code::Invalid},
        {"overdrive reserved", v5({{"effeOVER", Bytes().u16(1).u16(0).f32(90).f32(2).f32(0)}}), Code::Invalid},
        {"PCM flags", v5({{"matePCM ", pcm_chunk(8, 1, 16, 44100, 2)}}), Code::Invalid},
        {"PCM bits", v5({{"matePCM ", pcm_chunk(0, 1, 12, 44100, 2)}}), Code::Invalid},
        {"PCM channels", v5({{"matePCM ", pcm_chunk(0, 3, 16, 44100, 6)}}), Code::Invalid},
        {"PCM empty", v5({{"matePCM ", pcm_chunk(0, 2, 16, 44100, 2)}}), Code::Invalid},
        {"PCM rate 0", v5({{"matePCM ", pcm_chunk(0, 1, 16, 0, 2)}}), Code::Invalid},
        {"PCM too long", v5({{"matePCM ", pcm_chunk(0, 1, 8, 1, 2000)}}), Code::Invalid},
        {"PTV code", [&] { Bytes c = ptv_chunk(ptv_voice(0, 1, 1, good_wave)); c.b[12] = 'X'; return v5({{"matePTV ", c}}); }(), Code::Invalid},
        {"PTV version", v5({{"matePTV ", ptv_chunk(ptv_voice(0, 1, 1, good_wave), 20060112)}}), Code::NewerFormat},
        {"PTV reserved", v5({{"matePTV ", ptv_chunk(ptv_voice(0, 1, 1, good_wave), 20060111, 1, 1)}}), Code::Invalid},
        {"PTV 3 voices", v5({{"matePTV ", ptv_chunk(ptv_voice(0, 1, 1, good_wave), 20060111, 3)}}), Code::Invalid},
        {"PTV voice flags", v5({{"matePTV ", ptv_chunk(ptv_voice(8, 1, 1, good_wave))}}), Code::Invalid},
        {"PTV data flags", v5({{"matePTV ", ptv_chunk(ptv_voice(0, 5, 1, good_wave))}}), Code::Invalid},
        {"PTV sampling wave", v5({{"matePTV ", ptv_chunk(ptv_voice(0, 1, 3, good_wave))}}), Code::Unsupported},
        {"overtone harmonic 0", v5({{"matePTV ", ptv_chunk(ptv_voice(0, 1, 1, Bytes().var(1).var(0).var(128)))}}), Code::Invalid},
        {"coordinate no points", v5({{"matePTV ", ptv_chunk(ptv_voice(0, 1, 0, Bytes().var(0).var(200)))}}), Code::Invalid},
        {"coordinate first x", v5({{"matePTV ", ptv_chunk(ptv_voice(0, 1, 0, Bytes().var(1).var(200).u8(5).u8(0)))}}), Code::Invalid},
        {"envelope body", v5({{"matePTV ", ptv_chunk(ptv_voice(0, 3, 1, Bytes().var(1).var(1).var(128).var(100).var(0).var(1).var(1).var(0).var(0).var(0).var(0)))}}), Code::Invalid},
        {"envelope tail", v5({{"matePTV ", ptv_chunk(ptv_voice(0, 3, 1, Bytes().var(1).var(1).var(128).var(100).var(0).var(0).var(2).var(0).var(0).var(0).var(0)))}}), Code::Invalid},
        {"PTN marker", v5({{"matePTN ", ptn_chunk(2, 20120418, 0, Bytes())}}), Code::Invalid},
        {"PTN version", v5({{"matePTN ", ptn_chunk(1, 20120419, 0, Bytes())}}), Code::NewerFormat},
        {"PTN units", v5({{"matePTN ", ptn_chunk(1, 20120418, 5, Bytes())}}), Code::Invalid},
        {"PTN flag bit", v5({{"matePTN ", ptn_chunk(1, 20120418, 1, Bytes().var(0x05).var(0))}}), Code::Invalid},
        {"PTN points", v5({{"matePTN ", ptn_chunk(1, 20120418, 1, Bytes().var(0x04).var(4))}}), Code::Invalid},
        {"PTN wave type", [&] { Bytes u = Bytes().var(0x14).var(0); Bytes o = osc(17); u.b.insert(u.b.end(), o.b.begin(), o.b.end()); return v5({{"matePTN ", ptn_chunk(1, 20120418, 1, u)}}); }(), Code::Invalid},
        {"Ogg size 0", v5({{"mateOGGV", Bytes().u16(0).u16(0x4500).u32(0).f32(1).u32(1).u32(44100).u32(0).u32(0)}}), Code::Invalid},
        {"Ogg flags", v5({{"mateOGGV", Bytes().u16(0).u16(0x4500).u32(16).f32(1).u32(1).u32(44100).u32(0).u32(4).raw("OggS")}}), Code::Invalid},
        {"Ogg garbage", v5({{"mateOGGV", Bytes().u16(0).u16(0x4500).u32(0).f32(1).u32(1).u32(44100).u32(0).u32(4).raw("OggS")}}), Code::Invalid},
        {"negative text", v5({{"textNAME", Bytes()}}), Code::Invalid},
        {"old chunk in v5 rules", v5({{"evenMAST", Bytes().u16(2).u16(0).u32(0)}}), Code::Invalid},
    };
    // The negative text size: patch the size field of the textNAME chunk to -1.
    for (Case& c : cases)
        if (std::string(c.what) == "negative text") {
            c.file[28] = c.file[29] = c.file[30] = c.file[31] = 0xFF;
        }
    for (const Case& c : cases) {
        LoadResult r = Project::load(c.file);
        EXPECT_FALSE(r) << c.what;
        if (!r) {
            EXPECT_EQ(r.error.code, c.code) << c.what << ": " << r.error.message;
        }
    }
}

TEST(Malformed, TooManyEffectsAndWoices) {
    std::vector<std::pair<std::string, Bytes>> chunks;
    for (int i = 0; i < 5; ++i)
        chunks.push_back({"effeDELA", Bytes().u16(0).u16(0).f32(33).f32(3)});
    EXPECT_FALSE(Project::load(v5(chunks)));
    chunks.pop_back();
    EXPECT_TRUE(Project::load(v5(chunks)));
    chunks.clear();
    for (int i = 0; i < 3; ++i)
        chunks.push_back({"effeOVER", Bytes().u16(0).u16(0).f32(90).f32(2).f32(0)});
    EXPECT_FALSE(Project::load(v5(chunks)));
    chunks.clear();
    for (int i = 0; i < 101; ++i) chunks.push_back({"matePCM ", pcm_chunk(0, 1, 16, 44100, 2)});
    EXPECT_FALSE(Project::load(v5(chunks)));
    chunks.pop_back();
    LoadResult r = Project::load(v5(chunks));
    ASSERT_TRUE(r);
    EXPECT_EQ(r.project->woices.size(), 100u);
    // Delay groups of 7 or more become 0; group 6, the last one, stays. An overdrive may
    // take group 6 (7 is refused above).
    for (auto [stored, read] : {std::pair{9, 0}, {7, 0}, {6, 6}}) {
        r = Project::load(v5({{"effeDELA", Bytes().u16(0).u16(stored).f32(33).f32(3)}}));
        ASSERT_TRUE(r);
        EXPECT_EQ(r.project->delays[0].group, read) << stored;
    }
    r = Project::load(v5({{"effeOVER", Bytes().u16(0).u16(6).f32(90).f32(2).f32(0)}}));
    ASSERT_TRUE(r) << r.error.message;
    EXPECT_EQ(r.project->overdrives[0].group, 6);
}

TEST(Malformed, HugeDeclaredCountsDoNotAllocateOrHang) {
    // Counts far beyond the data end with "truncated", not with an allocation failure.
    EXPECT_EQ(Project::load(v5({{"Event V5", Bytes().u32(0x7FFFFFFF).u8(0)}})).error.code,
              Code::Truncated);
    Bytes big_text;
    big_text.raw("PTCOLLAGE-071119").u16(5).u16(0).raw("textCOMM").u32(0x7FFFFFF0).raw("abc");
    EXPECT_EQ(Project::load(big_text.b).error.code, Code::Truncated);
    EXPECT_EQ(
        Project::load(v5({{"matePTV ", ptv_chunk(ptv_voice(0, 1, 1, Bytes().var(0x7FFFFFF)))}}))
            .error.code,
        Code::Truncated);
}

TEST(Malformed, RandomMutationsNeverCrash) {
    const std::vector<uint8_t> f = small_file();
    std::mt19937 rng(12345);
    int loaded = 0;
    for (int iter = 0; iter < 3000; ++iter) {
        std::vector<uint8_t> m = f;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int k = 0; k < flips; ++k) m[rng() % m.size()] = static_cast<uint8_t>(rng());
        LoadResult r = Project::load(m);
        if (!r) {
            EXPECT_FALSE(r.error.message.empty());
            continue;
        }
        ++loaded;
        // Whatever loads must also render safely, at every format.
        for (OutputFormat fmt : {OutputFormat{44100, 2, 16}, OutputFormat{11025, 1, 8}}) {
            Renderer rd(*r.project);
            ASSERT_TRUE(rd.prepare(fmt));
            rd.set_loop(true);
            rd.start(0);
            std::vector<uint8_t> buf(4096 * 4);
            rd.render(buf.data(), 4096);
        }
    }
    EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace pxtone
