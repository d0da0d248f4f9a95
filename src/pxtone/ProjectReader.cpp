#include "pxtone/Project.h"

namespace pxtone {

LoadResult Project::load(std::span<const uint8_t>) {
    LoadResult r;
    r.error.code = LoadError::Code::Unsupported;
    r.error.message = "reader not implemented yet";
    return r;
}

bool Project::prepare_tones(LoadError*) {
    return false;
}

}  // namespace pxtone
