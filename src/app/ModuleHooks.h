#pragma once
// The modules' entry points, as the program runs them.

#include "state/AppHooks.h"

namespace dz {

// Every module that has landed is plugged in here; the others stay empty.
AppHooks DefaultAppHooks();

}  // namespace dz
