#pragma once
// The instruments of the demo tunes: PTV voices, PTN drums and a PCM pluck,
// all made here from numbers (no recorded material).

#include "pxtone/Project.h"

namespace dz::demo {

pxtone::Woice bell_lead();     // PTV: bright bell-like lead with a decaying envelope
pxtone::Woice soft_pad();      // PTV: two slightly detuned voices spread left and right
pxtone::Woice round_bass();    // PTV: round bass
pxtone::Woice square_pluck();  // PTV: short hollow pluck for arpeggios
pxtone::Woice saw_lead();      // PTV: bright lead for the echo tune
pxtone::Woice power_tone();    // PTV: sustained rich tone to be overdriven

pxtone::Woice kick();   // PTN: sine with a falling pitch
pxtone::Woice snare();  // PTN: noise burst over a short tone
pxtone::Woice hat();    // PTN: short bright noise

// PCM: a plucked string (Karplus-Strong) near A4, 44100 Hz mono 16-bit.
pxtone::Woice string_pluck();

}  // namespace dz::demo
