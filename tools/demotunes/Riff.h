#pragma once
// A phrase of one measure: notes at beats within the measure.

#include <vector>

#include "Composer.h"

namespace dz::demo {

struct RiffNote {
    double at;      // beat within the measure
    double length;  // beats
    int midi;
};
using Riff = std::vector<RiffNote>;

inline void play(Composer& c, int unit, int measure, const Riff& riff, double gate = 0.92,
                 int velocity = 104) {
    for (const RiffNote& n : riff) {
        c.note(unit, c.bar(measure) + n.at, n.length * gate, n.midi, velocity);
    }
}

}  // namespace dz::demo
