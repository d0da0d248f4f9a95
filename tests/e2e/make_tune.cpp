// Writes a short tune for the end-to-end tests:
//   make_tune OUT MEASURES TEMPO REPEAT_MEASURE
// 4 beats of 480 clocks a measure; one sine-like voice, a note of a different key in every
// measure. Exit status 2 for a bad command line, 1 when the file cannot be written.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pxtone/Project.h"
#include "pxtone/Writer.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: make_tune OUT MEASURES TEMPO REPEAT_MEASURE\n");
        return 2;
    }
    const int measures = std::atoi(argv[2]);
    const float tempo = static_cast<float>(std::atof(argv[3]));
    const int repeat = std::atoi(argv[4]);
    if (measures < 1 || measures > 64 || !(tempo >= 20 && tempo <= 600) || repeat < 0 ||
        repeat >= measures) {
        std::fprintf(stderr, "make_tune: measures 1..64, tempo 20..600, repeat below measures\n");
        return 2;
    }
    pxtone::Voice v;
    v.wave_type = 1;
    v.wave = {{1, 128}, {3, 40}};
    v.data_flags = pxtone::DATAFLAG_WAVE;
    v.voice_flags = pxtone::VOICEFLAG_WAVELOOP | pxtone::VOICEFLAG_SMOOTH;
    pxtone::Project p;
    p.master.tempo = tempo;
    p.master.repeat_meas = repeat;
    p.woices.push_back(pxtone::Woice::make_ptv({v}));
    p.set_unit_count(1);
    for (int m = 0; m < measures; ++m) {
        p.add_event(m * 1920, 0, pxtone::EVENTKIND_KEY, 0x5800 + (m % 5) * 0x180);
        p.add_event(m * 1920, 0, pxtone::EVENTKIND_ON, 1700);
    }
    p.update_measures();
    if (!pxtone::write_file(p, argv[1])) {
        std::fprintf(stderr, "make_tune: %s: cannot be written\n", argv[1]);
        return 1;
    }
    return 0;
}
