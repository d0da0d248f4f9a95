#pragma once
// Small tunes built with the engine's writer for the player tests.

#include <unistd.h>

#include <filesystem>
#include <string>

#include "pxtone/Project.h"
#include "pxtone/Writer.h"

namespace dz::test {

inline std::filesystem::path temp_path(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("dz_player_" + std::to_string(::getpid()) + "_" + name);
}

// A sine-like PTV voice (one overtone), looping, without an envelope.
inline pxtone::Woice sine_woice() {
    pxtone::Voice v;
    v.wave_type = 1;
    v.wave = {{1, 128}};
    v.data_flags = pxtone::DATAFLAG_WAVE;
    v.voice_flags = pxtone::VOICEFLAG_WAVELOOP | pxtone::VOICEFLAG_SMOOTH;
    return pxtone::Woice::make_ptv({v});
}

// `measures` measures of 4 beats at `tempo`, 480 clocks per beat, one unit
// holding a note per measure (each a whole measure long).
inline pxtone::Project simple_tune(int measures, float tempo) {
    pxtone::Project p;
    p.master.tempo = tempo;
    p.woices.push_back(sine_woice());
    p.set_unit_count(1);
    for (int m = 0; m < measures; ++m) {
        p.add_event(m * 1920, 0, pxtone::EVENTKIND_KEY, 0x6000 + (m % 4) * 0x200);
        p.add_event(m * 1920, 0, pxtone::EVENTKIND_ON, 1920);
    }
    p.update_measures();
    return p;
}

inline std::string write_tune(const pxtone::Project& p, const std::string& name) {
    const auto path = temp_path(name);
    if (!pxtone::write_file(p, path.string())) return {};
    return path.string();
}

}  // namespace dz::test
