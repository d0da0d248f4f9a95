// Writes seed files for the reader fuzzer: small v5 projects and tunes with every woice kind
// but OGGV, effects and every event kind.

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pxtone/Project.h"
#include "pxtone/Writer.h"

using namespace pxtone;

namespace {

// Little-endian bytes for hand-made files of the older generations.
struct Bytes {
    std::vector<uint8_t> b;
    Bytes& raw(const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& u16(uint16_t v) {
        b.push_back(static_cast<uint8_t>(v));
        b.push_back(static_cast<uint8_t>(v >> 8));
        return *this;
    }
    Bytes& u32(uint32_t v) {
        return u16(static_cast<uint16_t>(v)).u16(static_cast<uint16_t>(v >> 16));
    }
    Bytes& var(uint32_t v) {
        do {
            uint8_t byte = v & 0x7F;
            v >>= 7;
            if (v) byte |= 0x80;
            b.push_back(byte);
        } while (v);
        return *this;
    }
    Bytes& chunk(const std::string& tag, const Bytes& payload) {
        raw(tag).u32(static_cast<uint32_t>(payload.b.size()));
        b.insert(b.end(), payload.b.begin(), payload.b.end());
        return *this;
    }
};

Bytes pcm8() {
    Bytes c;
    c.u16(0).u16(0x4500).u32(3).u16(1).u16(8).u32(11025).u32(0x3F800000).u32(4);
    c.raw(std::string("\x00\xff\x00\xff", 4));
    return c;
}

Bytes even_unit(uint16_t unit, uint16_t kind, uint32_t delta, uint32_t value) {
    return Bytes().u16(unit).u16(kind).u16(2).u16(0).u32(2).var(0).var(value).var(delta).var(value);
}

bool save(const std::filesystem::path& path, const Bytes& b) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.b.data()), static_cast<std::streamsize>(b.b.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    Project p;
    p.name = "seed";
    PcmSource pcm;
    pcm.bits = 8;
    pcm.rate = 22050;
    pcm.data = {128, 200, 56, 128, 140, 100};
    p.woices.push_back(Woice::make_pcm(pcm, 0x4500, VOICEFLAG_WAVELOOP | VOICEFLAG_SMOOTH));
    Voice v;
    v.basic_key = 0x2D00;
    v.voice_flags = VOICEFLAG_WAVELOOP | VOICEFLAG_SMOOTH;
    v.data_flags = DATAFLAG_WAVE | DATAFLAG_ENVELOPE;
    v.wave_type = 0;
    v.resolution = 200;
    v.wave = {{0, 0}, {50, 100}, {150, -100}};
    v.env_fps = 100;
    v.env_head = {{1, 128}, {5, 80}};
    v.env_release = 10;
    Voice o = v;
    o.wave_type = 1;
    o.wave = {{1, 128}, {3, -40}};
    o.data_flags = DATAFLAG_WAVE;
    p.woices.push_back(Woice::make_ptv({v, o}));
    NoiseDesign nd;
    nd.frames = 300;
    NoiseUnit u;
    u.envelope = {{0, 100}, {5, 0}};
    u.main = {4, false, 3000.0f, 100.0f, 0.0f};
    u.freq = {1, true, 10.0f, 50.0f, 30.0f};
    u.volume = {7, false, 20.0f, 80.0f, 0.0f};
    u.pan = 20;
    nd.units.push_back(u);
    p.woices.push_back(Woice::make_ptn(nd));
    p.set_unit_count(3);
    p.unit_names[0] = "one";
    p.delays.push_back({0, 1, 33.0f, 3.0f});
    p.overdrives.push_back({1, 90.0f, 2.0f});
    for (int unit = 0; unit < 3; ++unit) {
        p.add_event(0, unit, EVENTKIND_VOICENO, unit);
        p.add_event(0, unit, EVENTKIND_GROUPNO, unit % 2);
        p.add_event(0, unit, EVENTKIND_PAN_VOLUME, 40 + unit * 20);
        p.add_event(0, unit, EVENTKIND_PAN_TIME, 70);
        p.add_event(0, unit, EVENTKIND_VELOCITY, 100);
        p.add_event(0, unit, EVENTKIND_VOLUME, 90);
        p.add_event(0, unit, EVENTKIND_PORTAMENT, 20);
        p.add_event_f(0, unit, EVENTKIND_TUNING, 1.01f);
        for (int n = 0; n < 4; ++n) {
            p.add_event(n * 120, unit, EVENTKIND_KEY, 0x5000 + n * 0x300);
            p.add_event(n * 120, unit, EVENTKIND_ON, 100);
        }
    }
    p.master.repeat_meas = 0;
    p.update_measures();
    bool ok = write_file(p, (dir / "project.ptcop").string());
    p.master.beat_clock = 48;
    ok = write_file(p, (dir / "tune.pttune").string(), FileKind::Tune) && ok;
    Project tiny;
    ok = write_file(tiny, (dir / "empty.ptcop").string()) && ok;
    // Older generations: x4x and x2x projects, an x1x project.
    Bytes mast = Bytes()
                     .u16(3)
                     .u16(0)
                     .u32(3)
                     .var(7)
                     .var(0)
                     .var(480)
                     .var(9)
                     .var(0)
                     .var(4)
                     .var(10)
                     .var(1920)
                     .var(0);
    Bytes x4x;
    x4x.raw("PTCOLLAGE-060930").u16(815).u16(0).chunk("evenMAST", mast).chunk("matePCM ", pcm8());
    x4x.chunk("num UNIT", Bytes().u16(1).u16(0));
    x4x.chunk("evenUNIT", even_unit(0, 1, 480, 240))
        .chunk("evenUNIT", even_unit(0, 2, 480, 0x5000));
    x4x.raw("pxtoneND").u32(0);
    ok = save(dir / "x4x.ptcop", x4x) && ok;
    Bytes x2x;
    x2x.raw("PTCOLLAGE-050608").chunk("evenMAST", mast).chunk("pxtnUNIT", Bytes().u16(1).u16(0));
    x2x.chunk("matePCM ", pcm8()).chunk("evenUNIT", even_unit(0, 1, 480, 240)).raw("pxtoneND");
    ok = save(dir / "x2x.ptcop", x2x) && ok;
    Bytes x1x;
    x1x.raw("PTCOLLAGE-050227");
    x1x.chunk("PROJECT=", Bytes()
                              .raw(std::string(16, 'n'))
                              .u32(0x42F00000)
                              .u16(480)
                              .u16(4)
                              .u16(4)
                              .u16(8)
                              .u16(2)
                              .u16(16)
                              .u32(44100));
    x1x.chunk("UNIT====", Bytes().raw(std::string(16, 'u')).u16(1).u16(0))
        .chunk("matePCM=", pcm8());
    x1x.chunk("EVENT===", even_unit(0, 1, 480, 240)).raw("END=====");
    ok = save(dir / "x1x.ptcop", x1x) && ok;
    return ok ? 0 : 1;
}
