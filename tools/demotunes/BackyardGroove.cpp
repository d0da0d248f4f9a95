// "Backyard Groove": A minor, 110 BPM, 24 measures (52 s). PTN drums, a PCM
// plucked string for melody and chord stabs, a PTV bass. Am-F-C-G throughout;
// four measures of groove, then two melodies in turn. Loops from measure 4.

#include <array>

#include "Composer.h"
#include "Instruments.h"
#include "Riff.h"
#include "Tunes.h"

namespace dz::demo {
namespace {

struct Chord {
    std::array<int, 3> stab;
    int bass;
};
const std::array<Chord, 4> kChords = {{
    {{57, 60, 64}, 45},  // Am
    {{57, 60, 65}, 41},  // F
    {{55, 60, 64}, 48},  // C
    {{55, 59, 62}, 43},  // G
}};

const std::array<Riff, 4> kMelodyA = {{
    {{0, .5, 69}, {.5, .5, 72}, {1, .5, 76}, {2, .5, 74}, {2.5, 1, 72}, {3.5, .5, 69}},
    {{0, .5, 72}, {.5, .5, 69}, {1, 1, 65}, {2, .5, 67}, {2.5, .5, 69}, {3, 1, 72}},
    {{0, .5, 76}, {.5, .5, 79}, {1, 1, 76}, {2, .5, 74}, {2.5, .5, 72}, {3, 1, 74}},
    {{0, 1.5, 71}, {1.5, .5, 74}, {2, 1, 79}, {3, .5, 77}, {3.5, .5, 76}},
}};
const std::array<Riff, 4> kMelodyB = {{
    {{0, 1, 81}, {1, .5, 79}, {1.5, .5, 76}, {2, 1, 72}, {3, 1, 76}},
    {{0, .5, 77}, {.5, .5, 76}, {1, 1, 72}, {2, 1.5, 69}, {3.5, .5, 72}},
    {{0, 1, 79}, {1, .5, 76}, {1.5, .5, 74}, {2, 1, 72}, {3, .5, 74}, {3.5, .5, 76}},
    {{0, 2, 74}, {2, 1, 71}, {3, 1, 67}},
}};

}  // namespace

pxtone::Project backyard_groove() {
    pxtone::Project p;
    p.name = "Backyard Groove";
    p.comment = "Demo tune for Dezidu.\r\nPTN drums, a PCM plucked string and a PTV bass.";
    p.master.tempo = 110.0f;
    p.master.beats = 4;
    p.master.repeat_meas = 4;
    p.woices = {string_pluck(), kick(), snare(), hat(), round_bass()};
    const char* woice_names[] = {"string", "kick", "snare", "hat", "bass"};
    for (std::size_t i = 0; i < p.woices.size(); ++i) p.woices[i].name = woice_names[i];

    Composer c(p, 0.5);
    const int melody = c.add_unit("melody", 0, 128, 60);
    const int stabs[3] = {c.add_unit("stab 1", 0, 52, 44), c.add_unit("stab 2", 0, 48, 64),
                          c.add_unit("stab 3", 0, 48, 84)};
    const int kick_u = c.add_unit("kick", 1, 112);
    const int snare_u = c.add_unit("snare", 2, 84, 60);
    const int hat_u = c.add_unit("hat", 3, 112, 76);
    const int bass = c.add_unit("bass", 4, 68);

    constexpr int measures = 24;
    for (int m = 0; m < measures; ++m) {
        const bool last = m == measures - 1;
        const Chord& ch = kChords[static_cast<std::size_t>(last ? 0 : m % 4)];
        const double bar = c.bar(m);
        // Drums.
        c.hit(kick_u, bar, 0.5, 116);
        if (last) break;
        c.hit(kick_u, bar + 2, 0.5, 108);
        c.hit(kick_u, bar + 2.5, 0.5, 92);
        c.hit(snare_u, bar + 1, 0.5, 104);
        c.hit(snare_u, bar + 3, 0.5, 104);
        for (int e = 0; e < 8; ++e) c.hit(hat_u, bar + e * 0.5, 0.25, e % 2 == 0 ? 96 : 68);
        if (m % 4 == 3) {  // a small fill into the next phrase
            c.hit(snare_u, bar + 3.5, 0.25, 80);
            c.hit(snare_u, bar + 3.75, 0.25, 92);
        }
        // Bass.
        const double pattern[][3] = {{0, .9, 0}, {1, .4, 0}, {1.5, .4, 0},
                                     {2, .9, 0}, {3, .4, 7}, {3.5, .4, 12}};
        for (const auto& b : pattern) {
            c.note(bass, bar + b[0], b[1], ch.bass + static_cast<int>(b[2]), b[0] == 0 ? 112 : 96);
        }
        // Chord stabs on 1, the "and" of 2, and 4.
        for (int i = 0; i < 3; ++i) {
            const int midi = ch.stab[static_cast<std::size_t>(i)] + 12;
            for (double at : {0.0, 1.5, 3.0}) c.note(stabs[i], bar + at, 0.45, midi, 92);
        }
        // Melody: A, B, A, B from measure 4; the last phrase before the end rests.
        if (m >= 4 && m < 20) {
            const auto& riffs = ((m - 4) / 4) % 2 == 0 ? kMelodyA : kMelodyB;
            play(c, melody, m, riffs[static_cast<std::size_t>(m % 4)], 0.95, 108);
        }
    }
    // The ending: an A minor chord and a low A ringing out.
    const double end = c.bar(measures - 1);
    c.note(melody, end, 3.5, 69, 100);
    for (int i = 0; i < 3; ++i)
        c.note(stabs[i], end, 3.5, kChords[0].stab[static_cast<std::size_t>(i)] + 12, 96);
    c.note(bass, end, 3.5, 45, 112);
    p.update_measures();
    return p;
}

}  // namespace dz::demo
