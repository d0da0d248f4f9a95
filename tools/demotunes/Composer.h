#pragma once
// A thin helper for writing music into a pxtone::Project: positions and
// lengths in beats, pitches as MIDI note numbers.

#include <cmath>
#include <string>

#include "pxtone/Project.h"

namespace dz::demo {

class Composer {
public:
    // `level` scales every unit volume (the mix level of the tune).
    explicit Composer(pxtone::Project& project, double level = 1.0) : p_(project), level_(level) {}

    static int key_of(int midi_note) { return 0x6000 + (midi_note - 69) * 256; }
    int clock(double beats) const {
        return static_cast<int>(std::lround(beats * p_.master.beat_clock));
    }
    double beats_per_measure() const { return p_.master.beats; }
    double bar(int measure) const { return measure * beats_per_measure(); }

    // Adds a unit that plays `woice`, with its name, volume and pan.
    int add_unit(const std::string& name, int woice, int volume, int pan = 64) {
        const int u = p_.unit_count();
        p_.set_unit_count(u + 1);
        p_.unit_names[static_cast<std::size_t>(u)] = name;
        p_.add_event(0, u, pxtone::EVENTKIND_VOICENO, woice);
        p_.add_event(0, u, pxtone::EVENTKIND_VOLUME,
                     static_cast<int>(std::lround(volume * level_)));
        p_.add_event(0, u, pxtone::EVENTKIND_PAN_VOLUME, pan);
        return u;
    }

    // A note at `at` beats lasting `length` beats.
    void note(int unit, double at, double length, int midi_note, int velocity = 104) {
        const int c = clock(at);
        p_.add_event(c, unit, pxtone::EVENTKIND_KEY, key_of(midi_note));
        p_.add_event(c, unit, pxtone::EVENTKIND_VELOCITY, velocity);
        p_.add_event(c, unit, pxtone::EVENTKIND_ON, std::max(1, clock(length)));
    }

    // A hit of an unpitched instrument (drums keep their natural pitch).
    void hit(int unit, double at, double length, int velocity = 104) {
        const int c = clock(at);
        p_.add_event(c, unit, pxtone::EVENTKIND_VELOCITY, velocity);
        p_.add_event(c, unit, pxtone::EVENTKIND_ON, std::max(1, clock(length)));
    }

    void set(int unit, double at, int kind, int value) {
        p_.add_event(clock(at), unit, kind, value);
    }

private:
    pxtone::Project& p_;
    double level_;
};

}  // namespace dz::demo
