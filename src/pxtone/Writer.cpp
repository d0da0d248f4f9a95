#include "pxtone/Writer.h"

namespace pxtone {

std::vector<uint8_t> write_file(const Project&, FileKind) {
    return {};
}
bool write_file(const Project&, const std::string&, FileKind) {
    return false;
}

}  // namespace pxtone
