// Writes seed files for the reader fuzzer: small v5 projects and tunes with every woice kind
// but OGGV, effects and every event kind.

#include <filesystem>
#include <string>

#include "pxtone/Project.h"
#include "pxtone/Writer.h"

using namespace pxtone;

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
    return ok ? 0 : 1;
}
