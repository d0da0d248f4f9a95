#pragma once
// The program's one pseudo-random generator: values 0..32767, seeded once at
// start with the current time, shared by every thread that draws (the state is
// a single atomic word, so concurrent draws never tear it).

namespace dz {

void seed_random15(unsigned seed);
int random15();

}  // namespace dz
