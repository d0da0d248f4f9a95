#pragma once
// The demo tunes. Each builds a complete project (measures updated).

#include "pxtone/Project.h"

namespace dz::demo {

pxtone::Project morning_steps();    // PTV voices: bell lead, pads, bass, arpeggio
pxtone::Project backyard_groove();  // PTN drums and a PCM plucked string
pxtone::Project echo_hall();        // delay on the lead, overdrive on the chords

}  // namespace dz::demo
