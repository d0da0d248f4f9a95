#pragma once
// Writes a Project as a current-generation (v5) file: `PTCOLLAGE-071119` for projects,
// `PTTUNE--20071119` for tunes (tunes carry no woice or unit names). Numbers are written as
// stored; a tune is expected to hold its clocks already divided by 10 (beat clock 48).
// Chunk order: MasterV5, Event V5, textNAME, textCOMM, effeDELA*, effeOVER*, woices (each
// followed by its assiWOIC in projects), num UNIT, assiUNIT*, pxtoneND.

#include <cstdint>
#include <string>
#include <vector>

#include "pxtone/Project.h"

namespace pxtone {

std::vector<uint8_t> write_file(const Project& project, FileKind kind = FileKind::Project);

// Writes the file to `path`; false when it cannot be written.
bool write_file(const Project& project, const std::string& path, FileKind kind = FileKind::Project);

}  // namespace pxtone
