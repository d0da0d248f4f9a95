// "Morning Steps": C major, 96 BPM, 18 measures (45 s). Two measures of pads
// and arpeggio, then a bell melody over I-vi-IV-V style changes. Loops from
// measure 2.

#include <array>
#include <vector>

#include "Composer.h"
#include "Instruments.h"
#include "Tunes.h"

namespace dz::demo {
namespace {

struct Chord {
    std::array<int, 3> pad;  // three pad notes
    int bass;                // root, bass octave
};

// C, Am, F, G, C, Am, Dm, G, F, G, Em, Am, Dm, G, C, C after a C, Am intro.
const Chord kC{{60, 64, 67}, 36}, kAm{{57, 60, 64}, 45}, kF{{57, 60, 65}, 41}, kG{{55, 59, 62}, 43},
    kDm{{57, 62, 65}, 38}, kEm{{55, 59, 64}, 40};
const std::vector<Chord> kChords = {kC, kAm, kC, kAm, kF,  kG,  kC, kAm, kDm,
                                    kG, kF,  kG, kEm, kAm, kDm, kG, kC,  kC};

struct Note {
    double beats;
    int midi;
};

// The melody from measure 2, one line per measure (lengths sum to 4 beats).
const std::vector<std::vector<Note>> kMelody = {
    {{1, 76}, {0.5, 74}, {0.5, 72}, {1, 76}, {1, 79}},
    {{1.5, 81}, {0.5, 79}, {2, 76}},
    {{1, 77}, {0.5, 76}, {0.5, 74}, {1, 72}, {1, 69}},
    {{1, 71}, {1, 74}, {2, 79}},
    {{0.5, 76}, {0.5, 79}, {1, 84}, {0.5, 83}, {0.5, 81}, {1, 79}},
    {{1, 81}, {1, 76}, {2, 72}},
    {{1, 74}, {1, 77}, {1, 81}, {0.5, 79}, {0.5, 77}},
    {{1.5, 74}, {0.5, 71}, {2, 67}},
    {{1, 69}, {1, 72}, {1.5, 77}, {0.5, 76}},
    {{1, 74}, {1, 79}, {1, 83}, {0.5, 81}, {0.5, 79}},
    {{1.5, 79}, {0.5, 76}, {2, 71}},
    {{1, 72}, {1, 76}, {2, 81}},
    {{1, 77}, {0.5, 76}, {0.5, 74}, {1, 81}, {1, 77}},
    {{1, 79}, {0.5, 77}, {0.5, 76}, {1, 74}, {1, 71}},
    {{1, 72}, {1, 76}, {1, 79}, {1, 76}},
    {{4, 72}},
};

}  // namespace

pxtone::Project morning_steps() {
    pxtone::Project p;
    p.name = "Morning Steps";
    p.comment = "Demo tune for Dezidu.\r\nPTV voices only: bell lead, pads, bass, arpeggio.";
    p.master.tempo = 96.0f;
    p.master.beats = 4;
    p.master.repeat_meas = 2;
    p.woices = {bell_lead(), soft_pad(), round_bass(), square_pluck()};
    const char* woice_names[] = {"bell", "pad", "bass", "pluck"};
    for (std::size_t i = 0; i < p.woices.size(); ++i) p.woices[i].name = woice_names[i];

    Composer c(p, 0.5);
    const int lead = c.add_unit("lead", 0, 108);
    const int pads[3] = {c.add_unit("pad low", 1, 44, 52), c.add_unit("pad mid", 1, 40, 64),
                         c.add_unit("pad high", 1, 40, 76)};
    const int bass = c.add_unit("bass", 2, 76);
    const int arp = c.add_unit("arpeggio", 3, 46, 84);

    for (int m = 0; m < static_cast<int>(kChords.size()); ++m) {
        const Chord& ch = kChords[static_cast<std::size_t>(m)];
        const double bar = c.bar(m);
        for (int i = 0; i < 3; ++i)
            c.note(pads[i], bar, 3.9, ch.pad[static_cast<std::size_t>(i)], 96);
        // Bass: root, root, fifth, octave.
        c.note(bass, bar, 1.4, ch.bass, 110);
        c.note(bass, bar + 1.5, 0.9, ch.bass, 92);
        c.note(bass, bar + 2.5, 0.9, ch.bass + 7, 100);
        c.note(bass, bar + 3.5, 0.45, ch.bass + 12, 88);
        // Arpeggio: eighths up and down the chord an octave above the pad.
        const int order[8] = {0, 1, 2, 1, 0, 1, 2, 1};
        for (int e = 0; e < 8; ++e) {
            const int midi = ch.pad[static_cast<std::size_t>(order[e])] + 12;
            c.note(arp, bar + e * 0.5, 0.4, midi, e % 2 == 0 ? 100 : 80);
        }
    }
    for (std::size_t m = 0; m < kMelody.size(); ++m) {
        double at = c.bar(static_cast<int>(m) + 2);
        for (const Note& n : kMelody[m]) {
            const bool last = m + 1 == kMelody.size();
            c.note(lead, at, last ? n.beats * 0.98 : n.beats * 0.9, n.midi, last ? 88 : 104);
            at += n.beats;
        }
    }
    p.update_measures();
    return p;
}

}  // namespace dz::demo
