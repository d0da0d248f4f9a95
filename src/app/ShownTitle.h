#pragma once
// The title of an entry as the window shows it, as UTF-8 text.

#include <string>

#include "player/TuneInfo.h"

namespace dz {

// A tune's name is code page 932 and is converted; a title taken from the file name is UTF-8
// already and stays as it is.
std::string ShownTitle(const tagTUNEINFO& entry);

}  // namespace dz
