// "Echo Hall": E minor, 128 BPM, 20 measures (37.5 s). A lead through a
// dotted-eighth delay (group 1), power chords through an overdrive (group 2),
// bass and PTN drums dry (group 0). Em-C-G-D; loops from measure 4.

#include <array>

#include "Composer.h"
#include "Instruments.h"
#include "Riff.h"
#include "Tunes.h"

namespace dz::demo {
namespace {

constexpr std::array<int, 4> kRoots = {52, 48, 55, 50};  // E3, C3, G3, D3

const std::array<Riff, 4> kLeadA = {{
    {{0, 1, 71}, {1, .5, 74}, {1.5, 1.5, 76}, {3, 1, 79}},
    {{0, 2, 79}, {2, 1, 76}, {3, 1, 72}},
    {{0, 1, 74}, {1, 1, 71}, {2, 2, 67}},
    {{0, 1.5, 69}, {1.5, .5, 71}, {2, 2, 74}},
}};
const std::array<Riff, 4> kLeadB = {{
    {{0, .5, 83}, {.5, .5, 81}, {1, 1, 79}, {2, 2, 76}},
    {{0, 1, 76}, {1, 1, 79}, {2, 1, 84}, {3, 1, 83}},
    {{0, 2, 79}, {2, 1, 74}, {3, 1, 71}},
    {{0, 3, 74}, {3, 1, 78}},
}};

}  // namespace

pxtone::Project echo_hall() {
    pxtone::Project p;
    p.name = "Echo Hall";
    p.comment =
        "Demo tune for Dezidu.\r\nA lead through a delay, power chords through an overdrive.";
    p.master.tempo = 128.0f;
    p.master.beats = 4;
    p.master.repeat_meas = 4;
    p.woices = {saw_lead(), power_tone(), round_bass(), kick(), snare(), hat()};
    const char* woice_names[] = {"lead", "power", "bass", "kick", "snare", "hat"};
    for (std::size_t i = 0; i < p.woices.size(); ++i) p.woices[i].name = woice_names[i];

    pxtone::Delay echo;
    echo.unit = 0;         // beats
    echo.freq = 4.0f / 3;  // a beat / (4/3) = a dotted eighth
    echo.rate = 42.0f;
    echo.group = 1;
    p.delays.push_back(echo);
    pxtone::Overdrive drive;
    drive.group = 2;
    drive.cut = 82.0f;
    drive.amp = 1.0f;
    p.overdrives.push_back(drive);

    Composer c(p, 0.42);
    const int lead = c.add_unit("lead", 0, 112, 70);
    const int power[3] = {c.add_unit("power root", 1, 88, 48), c.add_unit("power fifth", 1, 80, 80),
                          c.add_unit("power octave", 1, 64, 64)};
    const int bass = c.add_unit("bass", 2, 80);
    const int kick_u = c.add_unit("kick", 3, 112);
    const int snare_u = c.add_unit("snare", 4, 88, 60);
    const int hat_u = c.add_unit("hat", 5, 76, 80);
    c.set(lead, 0, pxtone::EVENTKIND_GROUPNO, 1);
    for (int u : power) c.set(u, 0, pxtone::EVENTKIND_GROUPNO, 2);

    constexpr int measures = 20;
    for (int m = 0; m < measures; ++m) {
        const bool last = m == measures - 1;
        const int root = last ? kRoots[0] : kRoots[static_cast<std::size_t>(m % 4)];
        const double bar = c.bar(m);
        const int offsets[3] = {0, 7, 12};
        if (last) {
            for (int i = 0; i < 3; ++i) c.note(power[i], bar, 3.8, root + offsets[i], 110);
            c.note(bass, bar, 3.8, root - 12, 112);
            c.hit(kick_u, bar, 0.5, 116);
            c.note(lead, bar, 3.8, 76, 104);
            break;
        }
        // Power chords: a held hit on 1, then eighth-note chugs.
        for (int i = 0; i < 3; ++i) {
            c.note(power[i], bar, 1.4, root + offsets[i], 112);
            for (int e = 3; e < 8; ++e) {
                c.note(power[i], bar + e * 0.5, 0.3, root + offsets[i], e % 2 == 0 ? 100 : 84);
            }
        }
        for (int e = 0; e < 8; ++e) c.note(bass, bar + e * 0.5, 0.4, root - 12, e == 0 ? 116 : 96);
        c.hit(kick_u, bar, 0.5, 116);
        c.hit(kick_u, bar + 1.5, 0.5, 96);
        c.hit(kick_u, bar + 2, 0.5, 108);
        c.hit(snare_u, bar + 1, 0.5, 108);
        c.hit(snare_u, bar + 3, 0.5, 108);
        for (int e = 0; e < 8; ++e) c.hit(hat_u, bar + e * 0.5, 0.25, e % 2 == 0 ? 92 : 64);
        if (m >= 4) {
            const auto& riffs = ((m - 4) / 4) % 2 == 0 ? kLeadA : kLeadB;
            play(c, lead, m, riffs[static_cast<std::size_t>(m % 4)], 0.85, 104);
        }
    }
    p.update_measures();
    return p;
}

}  // namespace dz::demo
